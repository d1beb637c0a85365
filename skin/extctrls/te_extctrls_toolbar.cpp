#include "skin/extctrls/te_extctrls_toolbar.h"

#include <vector>

#include "skin/controls/te_controls_speedbutton.h"
#include "skin/core/te_bitmap_colors.h"
#include "skin/core/te_canvas_state.h"
#include "skin/core/te_const.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_utils.h"
#include "skin/core/te_utils_draw.h"
#include "skin/extctrls/te_extctrls_controlbar.h"

namespace tarvel {

namespace {

bool PaintToolBarBackground(TCanvas* canvas, const TteBackground& background) {
    if (auto* bar = dynamic_cast<TTeToolBar*>(background.Parent)) bar->PaintAsBackground(canvas->Handle());
    return true;
}

}  // namespace

void RegisterToolBarBackground() {
    RegisterDrawControlBackground(TTeToolBar::StaticClass(), &PaintToolBarBackground);
}

void TTeToolBar::DeclareMessages(TMessageTable& t) { t.Add<&TTeToolBar::SNMThemeMessage>(SNM_THEMEMESSAGE); }

TTeToolBar::TTeToolBar(TComponent* owner)
    : TTeControl(owner), TTeThemeLinked(this, {ktlrSkipSame, ktlrRepaintOnly}) {
    ControlStyle.Include(csAcceptsControls);
    SetColor(clBtnFace);
    TTeControl::SetBounds(Left(), Top(), Width(), 29);
    AddThemeNotification(this);
}

TTeToolBar::~TTeToolBar() { RemoveThemeNotification(this); }

void TTeToolBar::Notification(TComponent* component, TOperation operation) {
    TTeControl::Notification(component, operation);
    ForgetThemeLink(component, operation);
}

void TTeToolBar::SNMThemeMessage(TMessage& m) {
    if (m.WParam == tmChanged || m.WParam == tmApply || m.WParam == tmReleased || m.WParam == tmSystemChanged)
        Invalidate();
}

void TTeToolBar::SetButtonAutoSize(bool value) {
    if (value == buttonAutoSize_) return;
    buttonAutoSize_ = value;
    if (value) Realign();
}

void TTeToolBar::SetButtonWidth(int value) {
    if (value == buttonWidth_) return;
    buttonWidth_ = value;
    Realign();
}

void TTeToolBar::SetDividerWidth(int value) {
    if (value == dividerWidth_) return;
    dividerWidth_ = value;
    Realign();
}

void TTeToolBar::SetBorderWidth(int value) {
    if (value == toolBorder_) return;
    toolBorder_ = value;
    Realign();
    Invalidate();
}

bool TTeToolBar::IsHorizontal() const {
    return Width() >= Height() || Align() == alTop || Align() == alBottom;
}

bool TTeToolBar::OnControlBar() const { return dynamic_cast<const TTeControlBar*>(Parent()) != nullptr; }

TRect TTeToolBar::GetClientRect() {
    const int w = Width(), h = Height();
    TRect r{11, 2, w - 2, h - 2};
    // The control bar's band carries the grabber and the frame.
    if (OnControlBar())
        r = TRect{0, 0, w, h};
    else if (IsObjectDefined(ktscToolBar, themeObject_, themeLink_))
        if (TteTheme* theme = GetThemeLink(themeLink_))
            r = theme->ToolGetClientRect(ktscToolBar, ToolInfo(TRect{0, 0, w, h}), "default");
    r = RectOffset(r, -toolBorder_);
    return r;
}

void TTeToolBar::SetBounds(int left, int top, int width, int height) {
    if (buttonAutoSize_) buttonWidth_ = IsHorizontal() ? height - 2 * toolBorder_ : width - 2 * toolBorder_;
    TTeControl::SetBounds(left, top, width, height);
    Realign();
}

void TTeToolBar::AlignControls(TControl* control, TRect& rect) {
    const bool horizontal = IsHorizontal();
    if (buttonAutoSize_) {
        for (int i = 0; i < ControlCount(); ++i) {
            TControl* c = Controls(i);
            if (!c->Visible()) continue;
            int along = -1;
            if (auto* button = dynamic_cast<TTeSpeedButton*>(c))
                along = buttonWidth_ + (button->ShowChevron() ? button->GetChevronWidth() : 0);
            else if (c->Is<TTeSpeedDivider>())
                along = dividerWidth_;
            if (along < 0) continue;
            if (horizontal)
                c->SetBounds(c->Left(), c->Top(), along, c->Height());
            else
                c->SetBounds(c->Left(), c->Top(), c->Width(), along);
        }
    }
    AdjustClientRect(rect);
    // Insertion by edge: the control being aligned leads among equal edges,
    // the others keep their child order.
    auto edge = [horizontal](const TControl* c) { return horizontal ? c->Left() : c->Top(); };
    std::vector<TControl*> order;
    if (control && control->Visible() && control->Parent() == this) order.push_back(control);
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (!c->Visible() || c == control) continue;
        auto at = order.begin();
        while (at != order.end() && edge(*at) <= edge(c)) ++at;
        order.insert(at, c);
    }
    for (TControl* c : order) {
        if (horizontal) {
            c->SetBounds(rect.left, rect.top, c->Width(), rect.Height());
            rect.left += c->Width();
        } else {
            c->SetBounds(rect.left, rect.top, rect.Width(), c->Height());
            rect.top += c->Height();
        }
    }
}

void TTeToolBar::PaintAsBackground(HDC dc) {
    TCanvasOnDC on(*Canvas(), dc);
    const bool was = paintingBackground_;
    paintingBackground_ = true;
    try {
        PaintBuffer();
    } catch (...) {
        paintingBackground_ = was;
        throw;
    }
    paintingBackground_ = was;
}

void TTeToolBar::PaintBuffer() {
    TCanvas& c = *Canvas();
    const int w = Width(), h = Height();
    TteTheme* theme = GetThemeLink(themeLink_);
    const bool themed = theme && IsObjectDefined(ktscToolBar, themeObject_, themeLink_);
    if (OnControlBar()) {
        // The face is the control bar's, themed or plain.
        if (themed)
            DrawControlBackground(this, c);
        else
            FillRect(c, 0, 0, w, h, Color());
        return;
    }
    if (themed) {
        theme->DockDraw(kdscDock, c, DockInfo(TRect{0, 0, w, h}), themeObject_);
        theme->ToolDraw(ktscToolBar, c, ToolInfo(TRect{0, 0, w, h}), themeObject_);
        theme->ToolDrawItem(ktscToolBar, c, ToolItemInfo(TRect{2, 4, 8, h - 4}, kticGripper, mtidsNormal),
                            themeObject_);
        return;
    }
    PaintClassic();
}

void TTeToolBar::PaintClassic() { DrawClassicToolBar(*Canvas(), Width(), Height(), Color()); }

void DrawClassicToolBar(TCanvas& c, int w, int h, TColor color) {
    FillRect(c, 0, 0, w, h, color);
    DrawEdge(c, TRect{2, 3, 4, h - 4}, clBtnHighlight, clBtnShadow);
    DrawEdge(c, TRect{5, 3, 7, h - 4}, clBtnHighlight, clBtnShadow);
    const TColor face = ColorToRGB(color);
    DrawEdge(c, TRect{0, 0, w, h}, StdChangeColor(face, 30), StdChangeColor(face, -30));
}

}  // namespace tarvel
