#include "skin/extras/te_extended.h"

#include "platform/classlib/Bitmaps.h"
#include "skin/core/te_canvas_state.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_theme_manager.h"
#include "skin/core/te_utils.h"
#include "skin/extctrls/te_extctrls_toolbar.h"
#include "skin/extras/te_extended_skin.h"

namespace tarvel {

// ---- TTeCustomPicture ---------------------------------------------------------------------

TTeCustomPicture::TTeCustomPicture(TComponent* owner)
    : TTeGraphicControl(owner), TTeThemeLinked(this, {ktlrRepaintOnly}) {}

TTeCustomPicture::~TTeCustomPicture() = default;

void TTeCustomPicture::SetAutoSize(bool value) {
    autoSize_ = value;
    if (value) AdjustBounds();
}

void TTeCustomPicture::SetTransparent(bool value) {
    transparent_ = value;
    Invalidate();
}

void TTeCustomPicture::SetTranparentPicture(bool value) {
    tranparentPicture_ = value;
    if (TPicture* picture = GetPicture(); picture && picture->Graphic())
        picture->Graphic()->SetTransparent(value);
}

void TTeCustomPicture::SetPicture(std::unique_ptr<TPicture> picture) { picture_ = std::move(picture); }

void TTeCustomPicture::AdjustBounds() {
    if (TPicture* picture = GetPicture())
        SetBounds(Left(), Top(), picture->Width(), picture->Height());
    else
        SetBounds(Left(), Top(), Width(), Height());
    Invalidate();
}

void TTeCustomPicture::PaintBuffer() {
    if (transparent_)
        DrawControlBackground(this, *Canvas());
    else
        TTeGraphicControl::PaintBuffer();
}

void TTeCustomPicture::Loaded() {
    TTeGraphicControl::Loaded();
    AdjustBounds();
}

void TTeCustomPicture::Notification(TComponent* component, TOperation operation) {
    TTeGraphicControl::Notification(component, operation);
    ForgetThemeLink(component, operation);
}

// ---- TTePicture ---------------------------------------------------------------------------

void TTePicture::DeclareMessages(TMessageTable& t) { t.Add<&TTePicture::SNMThemeMessage>(SNM_THEMEMESSAGE); }

TTePicture::TTePicture(TComponent* owner) : TTeCustomPicture(owner) {
    themeObject_ = "Picture";
    AddThemeNotification(this);
}

TTePicture::~TTePicture() { RemoveThemeNotification(this); }

TPicture* TTePicture::GetPicture() {
    if (!skinObject_) return nullptr;
    if (!picture_) {
        const TRect bounds = SkinObjectBounds(skinObject_);
        auto bitmap = std::make_unique<TBitmap>(bounds.Width(), bounds.Height());
        // At the bitmap's origin: the object's own place may lie anywhere in the skin.
        DrawSkinObject(skinObject_, *bitmap->Canvas(), TRect{0, 0, bounds.Width(), bounds.Height()});
        picture_ = std::make_unique<TPicture>();
        picture_->SetGraphic(bitmap.get());
    }
    return picture_.get();
}

void TTePicture::PaintBuffer() {
    TTeCustomPicture::PaintBuffer();
    if (TteTheme* theme = Theme(); IsSkinSource(theme))
        if (TSeSkinObject* object = FindSkinObject(theme, themeObject_)) skinObject_ = object;
    if (skinObject_) DrawSkinObject(skinObject_, *Canvas(), ClientRect());
}

void TTePicture::SNMThemeMessage(TMessage& m) {
    switch (m.WParam) {
        // The skin the object belongs to is about to go.
        case tmBeforeChange:
        case tmReleased: skinObject_ = nullptr; break;
        case tmAfterChange:
            skinObject_ = nullptr;
            if (TteTheme* theme = Theme(); IsSkinSource(theme)) {
                skinObject_ = FindSkinObject(theme, themeObject_);
                picture_.reset();
                GetPicture();
                if (AutoSize()) AdjustBounds();
            }
            break;
        case tmSystemChanged: break;
        default: return;
    }
    Invalidate();
}

void TTePicture::Loaded() {
    TTeCustomPicture::Loaded();
    SetTranparentPicture(TranparentPicture());
}

// ---- TTeDivider ---------------------------------------------------------------------------

TTeDivider::TTeDivider(TComponent* owner) : TTePicture(owner) {
    themeObject_ = "Divider";
    SetOrientation(sdHorizontal);
}

void TTeDivider::SetOrientation(TTeDividerOrientation value) {
    orientation_ = value;
    static constexpr TAlign kAlign[] = {alNone, alTop, alLeft};
    SetAlign(kAlign[value]);
}

void TTeDivider::AdjustBounds() {
    TPicture* picture = GetPicture();
    if (!picture) {
        TTePicture::AdjustBounds();
        return;
    }
    const int across = 2 * space_;
    const int w = picture->Width() + (orientation_ == sdHorizontal ? 0 : across);
    const int h = picture->Height() + (orientation_ == sdVertical ? 0 : across);
    SetBounds(Left(), Top(), w, h);
    Invalidate();
}

TRect TTeDivider::GetClientRect() {
    TRect r = TTePicture::GetClientRect();
    if (orientation_ != sdVertical) {
        r.top += space_;
        r.bottom -= space_;
    }
    if (orientation_ != sdHorizontal) {
        r.left += space_;
        r.right -= space_;
    }
    return r;
}

// ---- TTeTransparentPanel ------------------------------------------------------------------

void TTeTransparentPanel::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeTransparentPanel::SNMThemeMessage>(SNM_THEMEMESSAGE);
}

TTeTransparentPanel::TTeTransparentPanel(TComponent* owner)
    : TTeControl(owner), TTeThemeLinked(this, {ktlrRepaintOnly}) {
    ControlStyle.Include(csAcceptsControls);
    AddThemeNotification(this);
}

TTeTransparentPanel::~TTeTransparentPanel() { RemoveThemeNotification(this); }

void TTeTransparentPanel::SetTransparent(bool value) {
    transparent_ = value;
    Invalidate();
}

void TTeTransparentPanel::PaintBuffer() {
    if (transparent_)
        DrawControlBackground(this, *Canvas());
    else
        TTeControl::PaintBuffer();
}

void TTeTransparentPanel::Notification(TComponent* component, TOperation operation) {
    TTeControl::Notification(component, operation);
    ForgetThemeLink(component, operation);
}

void TTeTransparentPanel::SNMThemeMessage(TMessage&) { Invalidate(); }

// ---- TTeSimpleToolBar ---------------------------------------------------------------------

void TTeSimpleToolBar::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeSimpleToolBar::SNMThemeMessage>(SNM_THEMEMESSAGE);
}

TTeSimpleToolBar::TTeSimpleToolBar(TComponent* owner)
    : TTeControl(owner), TTeThemeLinked(this, {ktlrRepaintOnly}) {
    ControlStyle.Include(csAcceptsControls);
    SetColor(clBtnFace);
    SetHeight(29);
    AddThemeNotification(this);
}

TTeSimpleToolBar::~TTeSimpleToolBar() { RemoveThemeNotification(this); }

void TTeSimpleToolBar::SetBorderWidth(int value) {
    if (value == toolBorder_) return;
    toolBorder_ = value;
    Realign();
    Invalidate();
}

void TTeSimpleToolBar::SetDrawAsControlBar(bool value) {
    drawAsControlBar_ = value;
    Invalidate();
}

void TTeSimpleToolBar::SetControlAlignWithClientRect(bool value) {
    controlAlignWithClientRect_ = value;
    Invalidate();
}

String TTeSimpleToolBar::ToolObjectName() const {
    // The current theme only: the bar follows no link.
    if (!CurrentTheme) return "";
    if (CurrentTheme->IsToolDefined(ktscToolBar, themeObject_)) return themeObject_;
    if (CurrentTheme->IsToolDefined(ktscToolBar, "default")) return "default";
    return "";
}

TRect TTeSimpleToolBar::GetClientRect() {
    const int w = Width(), h = Height();
    const String name = ToolObjectName();
    TRect r{0, 0, w, h};
    if (name.empty()) {
        r = TRect{9, 3, w, h - 3};
    } else if (controlAlignWithClientRect_) {
        if (IsSkinSource(CurrentTheme)) {
            TSeSkinObject* object =
                SameText(themeObject_, "default") ? nullptr : FindSkinObject(CurrentTheme, themeObject_);
            if (!object && !drawAsControlBar_) object = FindSkinObject(CurrentTheme, "ToolBar");
            if (!object) object = FindSkinObject(CurrentTheme, "ControlBar");
            if (object) {
                TSeSkinObject* frame = SkinObjectChild(object, "Frame");
                const TRect m = SkinObjectMargins(frame ? frame : object);
                r = TRect{r.left + m.left, r.top + m.top, r.right - m.right, r.bottom - m.bottom};
                if (drawAsControlBar_)
                    if (TSeSkinObject* grabber = SkinObjectChild(object, "Grabber"))
                        r.left += SkinObjectBounds(grabber).Width();
            }
        }
        if (CurrentTheme->ThemeClass()->GetThemeConfig().Building)
            r = CurrentTheme->ToolGetClientRect(ktscToolBar, ToolInfo(TRect{0, 0, w, h}), name);
    }
    return RectOffset(r, -toolBorder_);
}

void TTeSimpleToolBar::PaintBuffer() {
    TCanvas& c = *Canvas();
    const int w = Width(), h = Height();
    const String name = ToolObjectName();
    // No visual-style library on this platform: without a theme object the
    // bar takes its classic face.
    if (name.empty()) {
        DrawClassicToolBar(c, w, h, Color());
        return;
    }
    CurrentTheme->DockDraw(kdscDock, c, DockInfo(TRect{0, 0, w, h}), name);
    CurrentTheme->ToolDraw(ktscToolBar, c, ToolInfo(TRect{0, 0, w, h}), name);
    CurrentTheme->ToolDrawItem(ktscToolBar, c, ToolItemInfo(TRect{2, 4, 8, h - 4}, kticGripper, mtidsNormal),
                               name);
}

void TTeSimpleToolBar::PaintAsBackground(HDC dc, bool withChildren) {
    TCanvasOnDC on(*Canvas(), dc);
    const bool was = paintingBackground_;
    paintingBackground_ = !withChildren;
    try {
        PaintBuffer();
    } catch (...) {
        paintingBackground_ = was;
        throw;
    }
    paintingBackground_ = was;
}

void TTeSimpleToolBar::Notification(TComponent* component, TOperation operation) {
    TTeControl::Notification(component, operation);
    ForgetThemeLink(component, operation);
}

void TTeSimpleToolBar::SNMThemeMessage(TMessage& m) {
    if (m.WParam == tmAfterChange) Realign();
    Invalidate();
}

void RegisterSimpleToolBarBackground() {
    RegisterDrawControlBackground(
        TTeSimpleToolBar::StaticClass(), [](TCanvas* canvas, const TteBackground& bg) {
            if (auto* bar = dynamic_cast<TTeSimpleToolBar*>(bg.Parent))
                bar->PaintAsBackground(canvas->Handle(),
                                       bg.Control && bg.Control->ComponentState().Contains(csDesigning));
            return true;
        });
}

}  // namespace tarvel
