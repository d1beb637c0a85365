#include "skin/extctrls/te_extctrls_status.h"

#include <algorithm>
#include <vector>

#include "platform/classlib/Forms.h"
#include "platform/winsys/InputApi.h"
#include "platform/winsys/MessageApi.h"
#include "skin/core/te_const.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_theme_manager.h"
#include "skin/core/te_utils.h"
#include "skin/core/te_utils_draw.h"
#include "skin/extctrls/te_extctrls_refs.h"
#include "skin/forms/te_forms_frame.h"

namespace tarvel {

// ---- TTeStatusPanel -------------------------------------------------------------------------

TTeStatusPanel::TTeStatusPanel(TCollection* collection) : TCollectionItem(collection) {}

TTeStatusPanel::~TTeStatusPanel() {
    TControl* former = std::exchange(control_, nullptr);
    if (former) former->BringToFront();
}

TTeStatusBar* TTeStatusPanel::StatusBar() const {
    auto* panels = dynamic_cast<TTeStatusPanels*>(Collection());
    return panels ? panels->StatusBar() : nullptr;
}

String TTeStatusPanel::GetDisplayName() {
    if (!text_.empty()) return WideToUtf8(text_);
    if (control_) return "[ " + control_->Name() + " ]";
    return TCollectionItem::GetDisplayName();
}

void TTeStatusPanel::SetText(const WideString& value) {
    if (value == text_) return;
    text_ = value;
    Repaint();
}
void TTeStatusPanel::SetWidth(int value) {
    width_ = std::clamp(value, 0, maxWidth_);
    Relayout();
}
void TTeStatusPanel::SetMaxWidth(int value) {
    maxWidth_ = std::max(0, value);
    width_ = std::min(width_, maxWidth_);
    Relayout();
}
void TTeStatusPanel::SetViewPriority(int value) {
    viewPriority_ = std::clamp(value, 0, 100);
    Relayout();
}
void TTeStatusPanel::SetStretchPriority(int value) {
    stretchPriority_ = std::clamp(value, 0, 100);
    Relayout();
}
void TTeStatusPanel::SetAlignment(TAlignment value) {
    alignment_ = value;
    Repaint();
}
void TTeStatusPanel::SetLayout(TTeStatusGliphLayout value) {
    layout_ = value;
    Repaint();
}
void TTeStatusPanel::SetImageIndex(int value) {
    imageIndex_ = value;
    Repaint();
}
void TTeStatusPanel::SetShowImage(bool value) {
    showImage_ = value;
    Repaint();
}
void TTeStatusPanel::SetMargin(int value) {
    margin_ = value;
    Repaint();
}
void TTeStatusPanel::SetSpacing(int value) {
    spacing_ = value;
    Repaint();
}
void TTeStatusPanel::SetStyle(TTeStatusPanelstyle value) {
    style_ = value;
    Repaint();
}
void TTeStatusPanel::SetFramed(bool value) {
    framed_ = value;
    Repaint();
    UpdateControlBounds();
}

void TTeStatusPanel::SetControl(TControl* value) {
    if (value == control_) return;
    TTeStatusBar* bar = StatusBar();
    if (value && bar)
        for (TControl* c = bar; c; c = c->Parent())
            if (c == value) throw EInvalidOperation("Can't insert own parent");
    if (value && bar)
        if (TTeStatusPanel* other = bar->Panels()->FindPanel(value)) other->control_ = nullptr;
    control_ = value;
    if (value && bar) value->FreeNotification(bar);
    Relayout();
}

void TTeStatusPanel::UpdateControlBounds() {
    TTeStatusBar* bar = StatusBar();
    if (!control_ || !bar) return;
    control_->SetBoundsRect(bar->GetPanelClientRect(this));
    control_->SetVisible(shown_);
}

void TTeStatusPanel::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TTeStatusPanel*>(source);
    if (!other) {
        TCollectionItem::Assign(source);
        return;
    }
    SetAlignment(other->alignment_);
    SetImageIndex(other->imageIndex_);
    SetLayout(other->layout_);
    SetMargin(other->margin_);
    SetMaxWidth(other->maxWidth_);
    SetSpacing(other->spacing_);
    SetStyle(other->style_);
    SetShowImage(other->showImage_);
    SetText(other->text_);
    SetWidth(other->width_);
    SetFramed(other->framed_);
    SetViewPriority(other->viewPriority_);
    SetStretchPriority(other->stretchPriority_);
    TControl* same = nullptr;
    TTeStatusBar* bar = StatusBar();
    if (other->control_ && bar && bar->Owner())
        same = dynamic_cast<TControl*>(bar->Owner()->FindComponent(other->control_->Name()));
    SetControl(same);
}

// ---- TTeStatusPanels ------------------------------------------------------------------------

TTeStatusPanels::TTeStatusPanels(TTeStatusBar* bar) : TCollection(TTeStatusPanel::StaticClass()), bar_(bar) {}

TPersistent* TTeStatusPanels::GetOwner() { return bar_; }

TTeStatusPanel* TTeStatusPanels::Add() { return static_cast<TTeStatusPanel*>(TCollection::Add()); }

TTeStatusPanel* TTeStatusPanels::Insert(int index) {
    if (index < 0 || index >= Count()) return Add();
    return static_cast<TTeStatusPanel*>(TCollection::Insert(index));
}

TTeStatusPanel* TTeStatusPanels::AddItem(TTeStatusPanel* panel, int index) {
    if (!panel) return Add();
    panel->SetCollection(this);
    if (index >= 0 && index < Count()) panel->SetIndex(index);
    return panel;
}

TTeStatusPanel* TTeStatusPanels::FindPanel(TControl* control) const {
    for (int i = 0; i < Count(); ++i)
        if (GetItem(i)->Control() == control) return GetItem(i);
    return nullptr;
}

void TTeStatusPanels::Update(TCollectionItem* item) {
    if (!item) bar_->UpdatePanels();
    bar_->Invalidate();
}

// ---- TTeStatusBar ---------------------------------------------------------------------------

void TTeStatusBar::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeStatusBar::SNMThemeMessage>(SNM_THEMEMESSAGE);
    t.Add<&TTeStatusBar::CMInvalidate>(CM_FONTCHANGED);
    t.Add<&TTeStatusBar::CMInvalidate>(CM_SYSCOLORCHANGE);
    t.Add<&TTeStatusBar::WMNCHitTest>(WM_NCHITTEST);
}

TTeStatusBar::TTeStatusBar(TComponent* owner)
    : TTeControl(owner), panels_(std::make_unique<TTeStatusPanels>(this)) {
    SetBevelSides(TTeBevelSides{kbsLeft, kbsTop, kbsRight, kbsBottom});
    SetBevelInner(kbvSpace);
    SetBevelOuter(kbvRaised);
    SetBevelWidth(0);
    SetBorderWidth(2);
    SetPerformance(qvpDoubleBuffer);
    SetColor(clWindow);
    SetBounds(Left(), Top(), Width() > 0 ? Width() : 200, 22);
    ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks};
    measure_.SetSize(1, 1);
    AddThemeNotification(this);
}

TTeStatusBar::~TTeStatusBar() {
    RemoveThemeNotification(this);
    panels_.reset();
}

void TTeStatusBar::SetImages(TCustomImageList* value) {
    SetFreeNotified(this, images_, value);
    Invalidate();
}

void TTeStatusBar::SetSizeGrip(bool value) {
    sizeGrip_ = value;
    Invalidate();
}

void TTeStatusBar::SetThemeObject(const String& value) {
    if (value == themeObject_) return;
    themeObject_ = value;
    Invalidate();
}

void TTeStatusBar::SetThemeLink(TteCustomThemeLink* value) {
    if (value == themeLink_) return;
    SetFreeNotified(this, themeLink_, value);
    Invalidate();
}

void TTeStatusBar::Notification(TComponent* component, TOperation operation) {
    TTeControl::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == themeLink_) SetThemeLink(nullptr);
    if (component == images_) images_ = nullptr;
    if (!panels_ || ComponentState().Contains(csDestroying)) return;
    for (int i = 0; i < panels_->Count(); ++i)
        if (panels_->GetItem(i)->control_ == component) panels_->GetItem(i)->control_ = nullptr;
}

void TTeStatusBar::SNMThemeMessage(TMessage& m) {
    switch (m.WParam) {
        case tmChanged:
        case tmApply:
        case tmReleased:
            UpdatePanels();
            Invalidate();
            break;
        case tmSystemChanged: Invalidate(); break;
        default: break;
    }
}

TteTheme* TTeStatusBar::Theme() { return GetThemeLink(themeLink_); }

bool TTeStatusBar::Themed() { return IsObjectDefined(ksscStatusBar, themeObject_, themeLink_) && Theme(); }

TCanvas& TTeStatusBar::MeasureCanvas() {
    TCanvas& c = *measure_.GetCanvas();
    c.Font()->Assign(Font());
    return c;
}

void TTeStatusBar::Loaded() {
    TTeControl::Loaded();
    UpdatePanels();
    BringToFront();
}

void TTeStatusBar::AlignControls(TControl* control, TRect& rect) {
    TTeControl::AlignControls(control, rect);
    if (!ComponentState().Contains(csDestroying) && panels_ && (control || panels_->Count() > 0))
        UpdatePanels();
}

void TTeStatusBar::Resize() {
    TTeControl::Resize();
    UpdatePanels();
    Invalidate();
}

TTeStatusPanel* TTeStatusBar::CreatePanel() { return panels_->Add(); }

// ---- layout -------------------------------------------------------------------------------

TRect TTeStatusBar::GetBorderRect() {
    if (Themed())
        return Theme()->StatusGetClientRect(ksscStatusBar, StatusInfo(TRect{0, 0, Width(), Height()}),
                                            "default");
    return TTeControl::GetBorderRect();
}

bool TTeStatusBar::GetImageVisible(TTeStatusPanel* panel) const {
    return panel->showImage_ && images_ && panel->imageIndex_ >= 0 && panel->imageIndex_ < images_->Count();
}

// Priority sorts keep the collection order among equals.
void TTeStatusBar::UpdatePanels() {
    if (!panels_) return;
    const TRect b = GetBorderRect();
    const int available = b.Width();
    std::vector<TTeStatusPanel*> list;
    int sum = 0;
    for (int i = 0; i < panels_->Count(); ++i) {
        TTeStatusPanel* p = panels_->GetItem(i);
        p->shown_ = p->viewPriority_ > 0;
        p->currentWidth_ = p->width_;
        if (!p->shown_) continue;
        list.push_back(p);
        sum += p->width_;
    }
    std::stable_sort(list.begin(), list.end(), [](TTeStatusPanel* a, TTeStatusPanel* b) {
        return a->viewPriority_ > b->viewPriority_;
    });
    while (sum > available && list.size() >= 2 && list.back()->viewPriority_ < 100) {
        list.back()->shown_ = false;
        sum -= list.back()->GetCurrentWidth();
        list.pop_back();
    }
    int spare = available - sum;
    if (spare > 0) {
        std::erase_if(list, [](TTeStatusPanel* p) { return p->stretchPriority_ == 0; });
        std::stable_sort(list.begin(), list.end(), [](TTeStatusPanel* a, TTeStatusPanel* b) {
            return a->stretchPriority_ > b->stretchPriority_;
        });
        for (TTeStatusPanel* p : list) {
            if (spare <= 0) break;
            p->currentWidth_ += spare;
            spare = p->currentWidth_ - p->GetCurrentWidth();
        }
    }
    int offset = 0;
    const int count = panels_->Count();
    for (int i = 0; i < count; ++i) {
        TTeStatusPanel* p = panels_->GetItem(i);
        if (offset >= available) p->shown_ = false;
        p->left_ = b.left + offset;
        if (p->shown_) {
            p->right_ = p->left_ + p->GetCurrentWidth();
            offset += p->GetCurrentWidth();
            if ((offset >= available || i == count - 1) && p->stretchPriority_ > 0) p->right_ = b.right;
        } else {
            p->right_ = p->left_;
        }
        p->UpdateControlBounds();
    }
}

TRect TTeStatusBar::GetPanelRect(int index) {
    if (index < 0 || index >= panels_->Count()) return TRect{};
    const TTeStatusPanel* p = panels_->GetItem(index);
    const TRect b = GetBorderRect();
    return TRect{p->left_, b.top, p->right_, b.bottom};
}

TRect TTeStatusBar::GetPanelsRect() {
    const TRect b = GetBorderRect();
    if (panels_->Count() == 0) return TRect{b.left, b.top, b.left, b.bottom};
    return Intersect(
        TRect{panels_->GetItem(0)->left_, b.top, panels_->GetItem(panels_->Count() - 1)->right_, b.bottom},
        b);
}

TRect TTeStatusBar::GetPanelClientRect(TTeStatusPanel* panel) {
    TRect r = GetPanelRect(panel->Index());
    if (panel->framed_) {
        r = RectOffset(r, -1);
        r.right -= 2;
    }
    return r;
}

TSize TTeStatusBar::GetImageSize(TTeStatusPanel* panel) {
    return GetImageVisible(panel) ? TSize{images_->Width(), images_->Height()} : TSize{0, 0};
}

TSize TTeStatusBar::GetTextSize(TTeStatusPanel* panel) {
    TCanvas& c = MeasureCanvas();
    int cap = panel->GetCurrentWidth() - 2 * panel->margin_;
    if (GetImageVisible(panel)) cap -= images_->Width() + panel->spacing_;
    const int w = std::min(TextWidth(c, panel->text_), std::max(0, cap));
    return TSize{w, panel->text_.empty() ? 0 : TextHeight(c, u"Pq")};
}

TRect TTeStatusBar::GetImageRect(TTeStatusPanel* panel) {
    const TRect client = GetPanelClientRect(panel);
    const int cw = client.Width(), ch = client.Height();
    const TSize image = GetImageSize(panel), text = GetTextSize(panel);
    const int c = cw - image.cx - panel->spacing_ - text.cx;
    int x = 0;
    if (panel->layout_ == sglGlyphLeft)
        x = panel->alignment_ == taCenter ? c / 2 : panel->margin_;
    else
        x = panel->alignment_ == taCenter ? cw - c / 2 - image.cx : cw - panel->margin_ - image.cx;
    const int y = (ch - image.cy) / 2;
    return TRect{x, y, x + image.cx, y + image.cy};
}

TRect TTeStatusBar::GetTextRect(TTeStatusPanel* panel) {
    const TRect client = GetPanelClientRect(panel);
    const int cw = client.Width(), ch = client.Height();
    const bool image = GetImageVisible(panel);
    const TSize im = GetImageSize(panel), text = GetTextSize(panel);
    const int withImage = im.cx + panel->spacing_;
    int left = 0, right = 0;
    if (panel->layout_ == sglGlyphLeft) {
        if (panel->alignment_ == taCenter) {
            left = image ? (cw - withImage - text.cx) / 2 + withImage : (cw - text.cx) / 2;
            right = left + text.cx + 10;
        } else {
            left = panel->margin_ + (image ? withImage : 0);
            right = cw - panel->margin_;
        }
    } else if (panel->alignment_ == taCenter) {
        left = image ? (cw - withImage - text.cx) / 2 : (cw - text.cx) / 2;
        right = left + text.cx;
    } else {
        left = panel->margin_;
        right = cw - panel->margin_ - (image ? withImage : 0);
    }
    const int top = (ch - text.cy) / 2;
    return TRect{left, top, right, top + text.cy};
}

TTeStatusPanel* TTeStatusBar::GetPanelAt(TPoint p) {
    const TRect b = GetBorderRect();
    if (p.y < b.top || p.y >= b.bottom || p.x <= b.left || panels_->Count() == 0) return nullptr;
    int edge = b.left;
    for (int i = 0; i < panels_->Count(); ++i) {
        TTeStatusPanel* panel = panels_->GetItem(i);
        if (!panel->shown_) continue;
        edge += panel->GetCurrentWidth();
        if (edge >= p.x) return panel;
    }
    return nullptr;
}

// ---- size grip ----------------------------------------------------------------------------

bool TTeStatusBar::IsSizeGripVisible() {
    if (!sizeGrip_) return false;
    TCustomForm* form = GetParentForm(this);
    if (!form || form->WindowState() != wsNormal) return false;
    if (ClientToScreen(TPoint{Width(), Height()}) !=
        form->ClientToScreen(TPoint{form->ClientWidth(), form->ClientHeight()}))
        return false;
    if (form->BorderStyle() != bsSizeable && form->BorderStyle() != bsSizeToolWin) return false;
    if (TTeDefaultForm* skinned = GetParentQvForm(this))
        return skinned->Dragging()->Sizeable && skinned->WindowState() == kwsNormal;
    return true;
}

TRect TTeStatusBar::GetGripperRect() {
    const TRect b = GetBorderRect();
    return TRect{b.right - b.Height(), b.top, b.right, b.bottom};
}

void TTeStatusBar::WMNCHitTest(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    if (m.Result != HTCLIENT || !IsSizeGripVisible() || GetParentQvForm(this)) return;
    const TPoint p = ScreenToClient(
        TPoint{static_cast<int16_t>(m.LParam & 0xFFFF), static_cast<int16_t>((m.LParam >> 16) & 0xFFFF)});
    if (GetGripperRect().Contains(p)) m.Result = HTBOTTOMRIGHT;
}

// ---- mouse --------------------------------------------------------------------------------

void TTeStatusBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TTeControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !Enabled()) return;
    if (IsSizeGripVisible() && GetGripperRect().Contains({x, y}))
        if (TTeDefaultForm* skinned = GetParentQvForm(this)) {
            SendMessage(skinned->GetHandle(), WM_NCLBUTTONDOWN, 0, PointToLParam(ClientToScreen({x, y})));
            return;
        }
    pressedPanel_ = GetPanelAt({x, y});
}

void TTeStatusBar::MouseMove(TShiftState shift, int x, int y) {
    TTeControl::MouseMove(shift, x, y);
    if (IsSizeGripVisible()) SetCursor(GetGripperRect().Contains({x, y}) ? crSizeNWSE : crDefault);
}

// Any button's release over the panel pressed last clicks it.
void TTeStatusBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TTeControl::MouseUp(button, shift, x, y);
    if (pressedPanel_ && GetPanelAt({x, y}) == pressedPanel_) DoPanelClick(pressedPanel_);
}

void TTeStatusBar::DblClick() {
    TTeControl::DblClick();
    TPoint cursor;
    if (!GetCursorPos(cursor)) return;
    const TPoint p = ScreenToClient(cursor);
    if (TTeStatusPanel* panel = GetPanelAt(p)) DoPanelDblClick(panel);
}

void TTeStatusBar::DoPanelClick(TTeStatusPanel* panel) {
    if (OnPanelClick) OnPanelClick(this, panel);
}
void TTeStatusBar::DoPanelDblClick(TTeStatusPanel* panel) {
    if (OnPanelDblClick) OnPanelDblClick(this, panel);
}
void TTeStatusBar::DoDrawPanel(TTeStatusPanel* panel, const TRect& rect) {
    if (OnDrawPanel) OnDrawPanel(this, panel, rect);
}

// ---- painting -----------------------------------------------------------------------------

void TTeStatusBar::PaintBorder() { TTeControl::PaintBorder(); }

void TTeStatusBar::PaintBuffer() {
    PaintBackGround();
    for (int i = 0; i < panels_->Count(); ++i) PaintPanel(i);
    if (IsSizeGripVisible()) PaintGripper();
}

void TTeStatusBar::PaintBackGround() {
    if (Themed()) {
        Theme()->StatusDraw(ksscStatusBar, *Canvas(), StatusInfo(TRect{0, 0, Width(), Height()}), "default");
        return;
    }
    TTeControl::PaintBuffer();
}

void TTeStatusBar::PaintPanel(int index) {
    if (index < 0 || index >= panels_->Count()) return;
    const TRect r = GetPanelRect(index);
    if (r.IsEmpty()) return;
    DrawPanel(panels_->GetItem(index), r, index == panels_->Count() - 1);
}

void TTeStatusBar::DrawPanel(TTeStatusPanel* panel, const TRect& rect, bool isLast) {
    TCanvas& c = *Canvas();
    if (Themed()) {
        Theme()->StatusDrawPanel(ksscStatusBar, c,
                                 StatusPanelInfo(rect, isLast ? kspcGripperPanel : kspcNormal), "default");
    } else {
        FillRect(c, rect, Color());
        if (panel->framed_) DrawEdge(c, rect, clBtnShadow, clBtnHighlight);
    }
    if (panel->style_ == psOwnerDraw) {
        DoDrawPanel(panel, rect);
        return;
    }
    DrawPanelText(panel, rect);
    if (panel->showImage_) DrawPanelImage(panel, rect);
}

void TTeStatusBar::DrawPanelText(TTeStatusPanel* panel, const TRect& rect) {
    TCanvas& c = *Canvas();
    TRect r = GetTextRect(panel);
    r.Offset(rect.left, rect.top);
    r = Intersect(r, rect);
    unsigned flags = DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER;
    flags |= panel->alignment_ == taCenter         ? DT_CENTER
             : panel->alignment_ == taRightJustify ? DT_RIGHT
                                                   : DT_LEFT;
    if (Themed()) {
        if (TFont* font = Theme()->Fonts()->GetFontForObject(
                Enabled() ? ktfStatusPanelTextNormal : ktfStatusPanelTextDisabled, themeObject_))
            c.Font()->Assign(font);
        else
            c.Font()->Assign(Font());
    } else {
        c.Font()->Assign(Font());
    }
    const WideString text = FormatStr(c.Handle(), panel->text_, r.Width() - 4);
    if (Themed()) {
        Theme()->StatusDrawText(ksscStatusBar, c, StatusPanelInfo(rect, kspcNormal), TextInfo(r, text, flags),
                                "default");
        return;
    }
    DrawText(c, text, r, flags);
}

void TTeStatusBar::DrawPanelImage(TTeStatusPanel* panel, const TRect& rect) {
    if (!GetImageVisible(panel)) return;
    TRect r = GetImageRect(panel);
    r.Offset(rect.left, rect.top);
    if (Themed()) {
        Theme()->StatusDrawGlyph(ksscStatusBar, *Canvas(), StatusPanelInfo(rect, kspcNormal),
                                 GlyphInfo(r, images_, panel->imageIndex_, kgfaCenter), "default");
        return;
    }
    images_->Draw(Canvas(), r.left, r.top, panel->imageIndex_, true);
}

void TTeStatusBar::PaintGripper() {
    TCanvas& c = *Canvas();
    const TRect r = GetGripperRect();
    if (Themed()) {
        Theme()->StatusDrawPanel(ksscStatusBar, c, StatusPanelInfo(r, kspcGripper), "default");
        return;
    }
    // Three pairs of diagonal lines in the bottom-right corner.
    const TRect g = RectOffset(r, -1);
    for (int k = 0; k < 3; ++k) {
        const int d = 3 + k * 4;
        for (int i = 0; i < d && i < g.Width() && i < g.Height(); ++i) {
            FillRect(c, g.right - d + i, g.bottom - 1 - i, g.right - d + i + 1, g.bottom - i, clBtnHighlight);
            if (i + 1 < d)
                FillRect(c, g.right - d + i + 1, g.bottom - 1 - i, g.right - d + i + 2, g.bottom - i,
                         clBtnShadow);
        }
    }
}

}  // namespace tarvel
