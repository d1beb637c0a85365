#include "skin/forms/te_forms_menuview.h"

#include <algorithm>

#include "platform/classlib/Application.h"
#include "platform/winsys/InputApi.h"
#include "platform/winsys/MessageApi.h"
#include "platform/winsys/SystemApi.h"
#include "platform/winsys/WindowApi.h"
#include "skin/core/te_const.h"
#include "skin/core/te_utils_system.h"

namespace tarvel {

TPoint LastMenuMousePos{0, 0};

namespace {

constexpr int kScrollButtonHeight = 10;
constexpr UINT kLoopTimerMs = 50;
constexpr int kRestMs = 500;
constexpr UINT kScrollMs = 100;

bool IsMDIButton(const TTeItem* item) {
    return item->MDIKind == mikClose || item->MDIKind == mikRestore || item->MDIKind == mikMinimize;
}

int gLoops = 0;
TTeItemView* gOutermost = nullptr;

}  // namespace

int MenuLoopLevel() { return gLoops; }
TTeItemView* OutermostMenuView() { return gOutermost; }

TTeItemView::TTeItemView(TComponent* owner, bool isMenuBar, TTeViewOrientation orientation)
    : TComponent(owner), isMenuBar_(isMenuBar), orientation_(orientation) {}

TTeItemView::~TTeItemView() {
    StopScroll();
    if (gOutermost == this) gOutermost = nullptr;
}

bool TTeItemView::IsScrolled() const {
    return orientation_ == voVertical && RootItem && RootItem->Scrolled() && RootItem->ScrollCount() > 0;
}

int TTeItemView::ShownCount(bool remainingOnly) const {
    if (!RootItem) return 0;
    const int count = RootItem->Count();
    if (!RootItem->Scrolled() || RootItem->ScrollCount() <= 0) return count;
    int n = RootItem->ScrollCount();
    if (remainingOnly) n = std::min(n, count - RootItem->TopItem());
    return n;
}

bool TTeItemView::IsShown(int index) const {
    const int top = RootItem ? RootItem->TopItem() : 0;
    return index >= top && index < top + ShownCount(false);
}

void TTeItemView::InitiateAction() {
    if (RootItem) RootItem->InitiateActions();
}

// ---- layout ------------------------------------------------------------------------------------

void TTeItemView::CalcSize() {
    if (!RootItem) return;
    TPoint size{0, IsScrolled() ? 2 * kScrollButtonHeight : 0};
    if (Canvas && MenuFont) Canvas->SetFont(MenuFont);
    const int count = RootItem->Count();
    for (int i = 0; i < count; ++i) RootItem->GetItem(i)->ItemRect = TRect{};
    TRect r;
    if (count > 0) GetItemRect(RootItem->GetItem(count - 1), r);
    const int top = RootItem->TopItem(), n = ShownCount(true);
    for (int i = std::max(top, 0); i < std::min(count, top + n); ++i) {
        TTeItem* item = RootItem->GetItem(i);
        if (!item->Visible()) continue;
        GetItemRect(item, r);
        if (orientation_ == voVertical) {
            size.x = std::max(size.x, r.Width());
            size.y += r.Height();
        } else {
            size.y = std::max(size.y, r.Height());
            size.x += r.Width();
        }
    }
    SetSize(size);
    ContentWidth = size.x;
    ContentHeight = size.y;
}

void TTeItemView::GetItemRect(TTeItem* item, TRect& rect) {
    if (item && item->ItemRect.Width() > 0 && item->ItemRect.Height() > 0) {
        rect = item->ItemRect;
        return;
    }
    rect = TRect{};
    if (!item || !item->Visible() || !RootItem) return;
    if (Canvas && MenuFont) Canvas->SetFont(MenuFont);
    int w = 0, h = 0;
    if (item->MDIKind != mikNone) {
        item->CalcSize(Canvas, this, w, h);
        const int W = LayoutControl ? LayoutControl->Width() : 0;
        TRect r;
        switch (item->MDIKind) {
            case mikClose: r = TRect{W - w, 0, W, h}; break;
            case mikRestore: r = TRect{W - 2 * w, 0, W - w, h}; break;
            case mikMinimize: r = TRect{W - 3 * w, 0, W - 2 * w, h}; break;
            default: r = TRect{0, 0, w, h}; break;
        }
        r.Offset(OriginX, OriginY);
        item->ItemRect = r;
        rect = r;
        return;
    }
    TPoint p{0, 0};
    int widest = 0;
    const int count = RootItem->Count();
    for (int i = 0; i < count; ++i) {
        TTeItem* it = RootItem->GetItem(i);
        if (!it->Visible() || IsMDIButton(it)) continue;
        it->CalcSize(Canvas, this, w, h);
        if (orientation_ == voVertical) {
            widest = std::max(widest, w);
            p.x = std::max(p.x, w);
            if (IsShown(i)) p.y += h;
            const int bottom = OriginY + p.y + (IsScrolled() ? kScrollButtonHeight : 0);
            it->ItemRect = TRect{OriginX, bottom - h, OriginX + p.x, bottom};
        } else {
            p.y = std::max(p.y, h);
            p.x += w;
            if (it == item) it->ItemRect = TRect{OriginX + p.x - w, OriginY, OriginX + p.x, OriginY + h};
        }
    }
    // Every entry of a vertical menu is as wide as the widest.
    if (orientation_ == voVertical)
        for (int i = 0; i < count; ++i) {
            TTeItem* it = RootItem->GetItem(i);
            if (it->Visible() && !IsMDIButton(it)) it->ItemRect.right = OriginX + widest;
        }
    rect = item->ItemRect;
}

void TTeItemView::GetScrollButtonRect(TTeMenuScrollButton button, TRect& rect) {
    rect = TRect{};
    if (!IsScrolled()) return;
    if (button == ksbUp)
        rect = TRect{OriginX, OriginY, OriginX + ContentWidth, OriginY + kScrollButtonHeight};
    else if (button == ksbDown)
        rect = TRect{OriginX, OriginY + ContentHeight - kScrollButtonHeight, OriginX + ContentWidth,
                     OriginY + ContentHeight};
}

void TTeItemView::Paint(TCanvas* canvas) {
    if (!RootItem || !canvas) return;
    if (MenuFont) canvas->SetFont(MenuFont);
    if (IsScrolled())
        for (TTeMenuScrollButton b : {ksbUp, ksbDown}) {
            TRect r;
            GetScrollButtonRect(b, r);
            RootItem->DrawScrollButton(canvas, this, r, b, b == HotScrollButton);
        }
    const int count = RootItem->Count(), top = RootItem->TopItem(), n = ShownCount(true);
    for (int i = std::max(top, 0); i < std::min(count, top + n); ++i) {
        TTeItem* item = RootItem->GetItem(i);
        if (!item->Visible() || item->DrawingDisabled()) continue;
        item->DrawItem(canvas, this, item->ItemRect, item == HotItem, !InLoop);
    }
}

// ---- hover and selection -----------------------------------------------------------------------

TPoint TTeItemView::ToCapture(TPoint screen) const { return CaptureControl->ScreenToClient(screen); }

void TTeItemView::UpdateHover(TPoint screen) {
    if (!CaptureControl || !RootItem) return;
    TTeItem* old = HotItem;
    const TPoint p = ToCapture(screen);
    if (!InLoop) {
        HotItem = nullptr;
        Application->SetHint(String());
    }
    if (IsScrolled()) {
        TRect up, down;
        GetScrollButtonRect(ksbUp, up);
        GetScrollButtonRect(ksbDown, down);
        if (up.Contains(p) || down.Contains(p)) {
            HotScrollButton = up.Contains(p) ? ksbUp : ksbDown;
            InvalidateScrollButton(HotScrollButton);
            StartScroll();
        } else if (HotScrollButton != ksbNone || scrollTimer_) {
            HotScrollButton = ksbNone;
            InvalidateScrollButton(ksbUp);
            InvalidateScrollButton(ksbDown);
            StopScroll();
        }
    }
    const int count = RootItem->Count(), top = RootItem->TopItem(), n = ShownCount(true);
    for (int i = std::max(top, 0); i < std::min(count, top + n); ++i) {
        TTeItem* item = RootItem->GetItem(i);
        if (item->Visible() && item->ItemRect.Contains(p)) {
            HotItem = item;
            Application->SetHint(item->Hint);
            break;
        }
    }
    if (HotItem != old) {
        if (old) InvalidateItem(old);
        if (HotItem) InvalidateItem(HotItem);
    }
    if (HotItem) HotItem->MouseMove(TShiftState{}, p.x, p.y);
}

void TTeItemView::StartScroll() {
    if (DroppedDown && ChildView && ChildView->CaptureControl)
        PostMessage(ChildView->CaptureControl->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    if (scrollTimer_) return;
    scrollTimer_ = std::make_unique<TTimer>(nullptr);
    scrollTimer_->SetInterval(kScrollMs);
    scrollTimer_->OnTimer = [this](TObject* sender) { DoScrollTimer(sender); };
    scrollTimer_->SetEnabled(true);
}

void TTeItemView::StopScroll() {
    if (scrollTimer_) scrollTimer_->SetEnabled(false);
    scrollTimer_.reset();
    HotScrollButton = ksbNone;
}

void TTeItemView::DoScrollTimer(TObject*) {
    if (!RootItem) return;
    if (HotScrollButton == ksbUp && RootItem->TopItem() > 0)
        SelectPrev();
    else if (HotScrollButton == ksbDown && RootItem->Count() > RootItem->TopItem() + RootItem->ScrollCount())
        SelectNext();
}

void TTeItemView::SelectNext() { Select(1); }
void TTeItemView::SelectPrev() { Select(-1); }

void TTeItemView::Select(int step) {
    // Nothing to select in an empty menu (Alt on a bar without items).
    if (!RootItem || RootItem->Count() == 0) return;
    const int count = RootItem->Count();
    TTeItem* old = HotItem;
    int i = old ? RootItem->IndexOf(old) : -1;
    TTeItem* found = nullptr;
    for (int tries = 0; tries < count && !found; ++tries) {
        i = i < 0 ? (step > 0 ? 0 : count - 1) : (i + step + count) % count;
        TTeItem* it = RootItem->GetItem(i);
        if (it->Visible() && !it->IsSeparator())
            found = it;
        else if (old)
            InvalidateItem(old);
    }
    // Without a selectable entry the selection stays where the cycle ended.
    TTeItem* now = found ? found : RootItem->GetItem(i);
    if (IsScrolled()) {
        const int index = RootItem->IndexOf(now), sc = RootItem->ScrollCount(), top = RootItem->TopItem();
        int newTop = top;
        if (step > 0) {
            if (index == 0)
                newTop = 0;
            else if (index >= top + sc)
                newTop = index - sc + 1;
        } else {
            if (index < top) newTop = index;
            if (index == count - 1) newTop = std::max(count - sc, 0);
        }
        if (newTop != top) {
            RootItem->SetTopItem(newTop);
            CalcSize();
            InvalidateView();
        }
    }
    HotItem = now;
    if (HotItem != old) {
        if (old) InvalidateItem(old);
        InvalidateItem(HotItem);
        Application->SetHint(HotItem->Hint);
    }
    if (DroppedDown) Popup();
}

bool TTeItemView::CheckDropDown() const { return HotItem && HotItem->Count() > 0; }

bool TTeItemView::Popup() {
    TTeItem* item = HotItem;
    if (!item || !item->Enabled() || item->Count() == 0 || HotScrollButton != ksbNone || !CaptureControl)
        return false;
    const TRect r = item->ItemRect;
    const TPoint at =
        CaptureControl->ClientToScreen(isMenuBar_ ? TPoint{r.left, r.bottom} : TPoint{r.right, r.top});
    const TPoint topLeft = CaptureControl->ClientToScreen(TPoint{r.left, r.top});
    const TRect screen{topLeft.x, topLeft.y, topLeft.x + r.Width(), topLeft.y + r.Height()};
    DroppedDown = true;
    InitiateAction();
    item->Popup(this, at.x, at.y, screen);
    return true;
}

// ---- the loop ----------------------------------------------------------------------------------

bool TTeItemView::HoldsPoint(TPoint screen) const {
    return HotItem && CaptureControl && HotItem->ItemRect.Contains(ToCapture(screen));
}

bool TTeItemView::PointOnThisLevel(TPoint screen) const {
    if (!CaptureControl) return false;
    const TPoint p = ToCapture(screen);
    return TRect{0, 0, CaptureControl->Width(), CaptureControl->Height()}.Contains(p);
}

bool TTeItemView::AnyLevelHoldsPoint(TPoint screen) const {
    for (const TTeItemView* v = this; v; v = v->ParentView)
        if (v->HoldsPoint(screen)) return true;
    return false;
}

void TTeItemView::PostToCapture(UINT msg, WPARAM wParam) {
    if (CaptureControl) PostMessage(CaptureControl->Handle(), msg, wParam, 0);
}

void TTeItemView::CloseAll() {
    for (TTeItemView* v = this; v; v = v->ParentView) {
        v->InLoop = false;
        v->HotItem = nullptr;
        v->DroppedDown = false;
        v->InvalidateView();
    }
}

void TTeItemView::CloseMenu() {
    TTeItemView* inner = this;
    while (inner->ChildView) inner = inner->ChildView;
    inner->CloseAll();
}

bool TTeItemView::HandleKey(UINT key) {
    switch (key) {
        case VK_TAB:
        case VK_SPACE: return true;
        case VK_RETURN: {
            TTeItem* item = HotItem;
            if (item) item->DoClick();
            if (!Popup() && item && item->Enabled() && !item->IsSeparator()) CloseAll();
            return true;
        }
        case VK_MENU:
        case VK_F10: CloseAll(); return true;
        case VK_ESCAPE:
            if (ParentView) ParentView->DroppedDown = false;
            HotItem = nullptr;
            InvalidateView();
            leave_ = true;
            return true;
        case VK_LEFT:
            if (isMenuBar_) {
                SelectPrev();
            } else if (ParentView) {
                if (ParentView->IsMenuBar()) {
                    ParentView->PostToCapture(WM_KEYDOWN, VK_LEFT);
                    leave_ = true;
                } else {
                    PostToCapture(WM_KEYDOWN, VK_ESCAPE);
                }
            }
            return true;
        case VK_RIGHT:
            if (isMenuBar_) {
                SelectNext();
            } else if (ParentView && !Popup()) {
                if (ParentView->IsMenuBar()) {
                    ParentView->PostToCapture(WM_KEYDOWN, VK_RIGHT);
                    leave_ = true;
                } else {
                    PostToCapture(WM_KEYDOWN, VK_ESCAPE);
                }
            }
            return true;
        case VK_UP:
            if (!isMenuBar_) SelectPrev();
            return true;
        case VK_DOWN:
            if (isMenuBar_)
                Popup();
            else
                SelectNext();
            return true;
        default: return false;
    }
}

namespace {

// The screen point of a mouse message as the queue routed it to its window.
TPoint MessageScreenPoint(const MSG& msg) {
    TPoint p{static_cast<int16_t>(msg.lParam & 0xFFFF), static_cast<int16_t>((msg.lParam >> 16) & 0xFFFF)};
    if (msg.hwnd) ClientToScreen(msg.hwnd, p);
    return p;
}

}  // namespace

bool TTeItemView::MessageLoop() {
    InLoop = true;
    leave_ = false;
    if (gLoops == 0) gOutermost = this;
    ++gLoops;
    SetCursor(LoadCursor(IDC_ARROW));
    int hover = 0;
    TPoint lastTimerPos{0, 0};
    const UINT_PTR timer = SetTimer(nullptr, 0, kLoopTimerMs);

    if (RootItem && RootItem->Count() > 0) {
        const int count = RootItem->Count();
        int index = RootItem->TopItem();
        if (index < 0 || index >= count) index = count - 1;
        if (RootItem->GetItem(index)->MDIKind != mikNone && index + 1 < count) ++index;
        HotItem = RootItem->GetItem(index);
        InvalidateItem(HotItem);
        TPoint cursor;
        if (GetCursorPos(cursor)) UpdateHover(cursor);
    }
    if (CaptureControl) CaptureMouse(CaptureControl->Handle());
    const HWND captured = GetCapture();

    auto finish = [&] {
        KillTimer(nullptr, timer);
        if (ParentView) ParentView->InvalidateView();
        InLoop = false;
        if (--gLoops == 0) gOutermost = nullptr;
        if (CaptureControl) EndCapture();
    };

    // The look at a message still queued: false ends the pass and leaves it
    // there for whoever reads it next.
    auto firstLook = [&](const MSG& msg) -> bool {
        switch (msg.message) {
            case WM_QUIT: CloseAll(); return false;
            case WM_WINDOWPOSCHANGING:
                CloseAll();
                leave_ = true;
                return false;
            case WM_TIMER: {
                if (msg.hwnd || msg.wParam != timer) return true;
                TPoint pos;
                if (!GetCursorPos(pos)) return true;
                hover += static_cast<int>(kLoopTimerMs);
                if (pos == lastTimerPos) {
                    if (hover >= kRestMs) {
                        if (PointOnThisLevel(pos)) PostToCapture(MM_POPUPSUBMENU, 0);
                        hover = 0;
                    }
                } else {
                    hover = 0;
                }
                lastTimerPos = pos;
                return true;
            }
            case WM_LBUTTONDOWN:
            case WM_RBUTTONDOWN: {
                const TPoint p = MessageScreenPoint(msg);
                if (HoldsPoint(p)) {
                    PostToCapture(WM_KEYDOWN, VK_RETURN);
                    return true;
                }
                if (!AnyLevelHoldsPoint(p)) {
                    CloseAll();
                    leave_ = true;
                    return false;
                }
                return true;
            }
            default:
                if (msg.message >= WM_NCLBUTTONDOWN && msg.message <= WM_NCMBUTTONDBLCLK) {
                    CloseAll();
                    return false;
                }
                return true;
        }
    };

    auto afterRemoval = [&](MSG& msg) {
        const UINT m = msg.message;
        if (m == WM_CONTEXTMENU) return;
        if (m >= WM_KEYDOWN && m <= 0x108) {
            if (GetKeyState(VK_LBUTTON) < 0) return;
            if (m == WM_KEYDOWN || m == WM_SYSKEYDOWN) {
                if (!HandleKey(static_cast<UINT>(msg.wParam))) TranslateMessage(&msg);
            } else if (m == WM_CHAR || m == WM_SYSCHAR) {
                if (TTeItem* item =
                        RootItem ? RootItem->FindItemByChar(static_cast<char16_t>(msg.wParam)) : nullptr) {
                    TTeItem* old = HotItem;
                    HotItem = item;
                    if (old && old != item) InvalidateItem(old);
                    InvalidateItem(item);
                    PostToCapture(WM_KEYDOWN, VK_RETURN);
                }
            }
            return;
        }
        if (m == WM_MOUSEMOVE) {
            hover = 0;
            const TPoint p = MessageScreenPoint(msg);
            if (p == LastMenuMousePos) return;
            if (PointOnThisLevel(p)) {
                UpdateHover(p);
            } else {
                TTeItemView* top = this;
                while (top->ParentView) top = top->ParentView;
                for (TTeItemView* v = top; v; v = v->ChildView) {
                    TTeItem* before = v->HotItem;
                    v->UpdateHover(p);
                    if (v == this || v->HotItem == before) continue;
                    // Another level's entry: close the levels below it, and
                    // it opens its entry's sub-menu.
                    for (TTeItemView* w = this; w && w != v; w = w->ParentView)
                        w->PostToCapture(WM_KEYDOWN, VK_ESCAPE);
                    v->PostToCapture(MM_POPUPSUBMENU, 0);
                    LastMenuMousePos = p;
                    leave_ = true;
                    return;
                }
            }
            LastMenuMousePos = p;
            return;
        }
        if (m == WM_LBUTTONUP) {
            const TPoint p = MessageScreenPoint(msg);
            if (HoldsPoint(p))
                PostToCapture(WM_KEYDOWN, VK_RETURN);
            else if (!AnyLevelHoldsPoint(p))
                CloseAll();
            return;
        }
        if (m == WM_LBUTTONDOWN || (m >= WM_LBUTTONDBLCLK && m <= 0x20A)) return;
        if (m == MM_POPUPSUBMENU) {
            Popup();
            return;
        }
        DispatchMessage(&msg);
    };

    try {
        for (bool firstPass = true; InLoop && !leave_ && GetCapture() == captured; firstPass = false) {
            if (!firstPass) {
                if (Application)
                    Application->Idle();
                else
                    WaitMessage();
            }
            MSG msg;
            while (InLoop && !leave_ && PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
                if (!firstLook(msg)) break;
                // What the look posted is read before queued input, so the
                // removal names the message looked at.
                if (!PeekMessage(&msg, nullptr, msg.message, msg.message, PM_REMOVE | PM_NOYIELD)) break;
                afterRemoval(msg);
            }
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
    return true;
}

}  // namespace tarvel
