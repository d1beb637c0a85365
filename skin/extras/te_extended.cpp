#include "skin/extras/te_extended.h"

#include "platform/classlib/Bitmaps.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_theme_manager.h"
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

}  // namespace tarvel
