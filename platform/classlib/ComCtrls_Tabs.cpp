// TCustomTabControl, TTabControl, TTabSheet and TPageControl.

#include "platform/classlib/ComCtrls_Tabs.h"

#include <algorithm>

#include "platform/classlib/ComCtrlMessages.h"
#include "platform/classlib/ControlPaint.h"

namespace tarvel {

namespace {
constexpr int kMargin = 2;      // around the band of tabs
constexpr int kRaise = 2;       // how far the selected tab stands out
constexpr int kPageInset = 4;   // page frame and gap inside it
constexpr int kArrowSize = 16;  // each half of the scroll arrows
}  // namespace

// ---- TCustomTabControl ---------------------------------------------------------------------

void TCustomTabControl::DeclareMessages(TMessageTable& t) {
    t.Add<&TCustomTabControl::WMHScroll>(WM_HSCROLL);
    t.Add<&TCustomTabControl::WMGetDlgCode>(WM_GETDLGCODE);
    t.Add<&TCustomTabControl::CMDialogKeyTabs>(CM_DIALOGKEY);
}

TCustomTabControl::TCustomTabControl(TComponent* owner) : TCustomControl(owner) {
    ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
    SetBounds(0, 0, 289, 193);
    SetTabStop(true);
    SetColor(clBtnFace);
    scroller_ = new TUpDown(this);
    scroller_->SetOrientation(udHorizontal);
    scroller_->SetVisible(false);
    scroller_->SetBounds(0, 0, 2 * kArrowSize, kArrowSize);
    scroller_->SetParent(this);
}

TCustomTabControl::~TCustomTabControl() = default;

void TCustomTabControl::SetTabPosition(TTabPosition p) {
    tabPosition_ = p;
    TabsChanged();
}

void TCustomTabControl::SetMultiLine(bool v) {
    multiLine_ = v;
    firstTab_ = 0;
    TabsChanged();
}

void TCustomTabControl::SetTabHeight(int h) {
    tabHeight_ = std::max(0, h);
    TabsChanged();
}

void TCustomTabControl::SetTabWidth(int w) {
    tabWidth_ = std::max(0, w);
    TabsChanged();
}

void TCustomTabControl::SetImages(TCustomImageList* images) {
    if (images_) images_->RemoveFreeNotification(this);
    images_ = images;
    if (images) images->FreeNotification(this);
    TabsChanged();
}

void TCustomTabControl::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == images_) {
        images_ = nullptr;
        TabsChanged();
    }
}

void TCustomTabControl::TabsChanged() {
    layout_.reset();
    const int n = TabCount();
    if (tabIndex_ >= n) tabIndex_ = n - 1;
    firstTab_ = std::clamp(firstTab_, 0, std::max(0, n - 1));
    UpdateScroller();
    Realign();
    Invalidate();
}

void TCustomTabControl::Resize() {
    TCustomControl::Resize();
    layout_.reset();
    UpdateScroller();
}

int TCustomTabControl::RowThickness() {
    if (tabHeight_ > 0) return tabHeight_;
    int h = MeasureText(Font(), "Wg", 0, false).cy + 6;
    if (images_) h = std::max(h, images_->Height() + 4);
    return h;
}

int TCustomTabControl::NaturalTabLength(int index) {
    if (tabWidth_ > 0) return tabWidth_;
    int w = MeasureText(Font(), TabCaption(index), 0, true).cx + 12;
    if (images_ && TabImageIndex(index) >= 0) w += images_->Width() + 3;
    return w;
}

TCustomTabControl::Layout& TCustomTabControl::CurrentLayout() {
    if (layout_) return *layout_;
    layout_ = std::make_unique<Layout>();
    Layout& l = *layout_;
    const int n = TabCount();
    const int thick = RowThickness();
    const int w = Width(), h = Height();
    const bool horizontal = tabPosition_ == tpTop || tabPosition_ == tpBottom;
    if (horizontal) {
        const int avail = w - 2 * kMargin;
        int x = 0, row = 0;
        std::vector<std::pair<int, int>> placed;  // (x, row)
        for (int i = 0; i < n; ++i) {
            const int len = NaturalTabLength(i);
            if (multiLine_ && x > 0 && x + len > avail) {
                ++row;
                x = 0;
            }
            placed.emplace_back(x, row);
            x += len;
            const int top = tabPosition_ == tpTop ? kMargin + row * thick : h - kMargin - (row + 1) * thick;
            l.tabs.push_back(TRect{kMargin + placed.back().first, top, kMargin + x, top + thick});
        }
        l.rows = row + 1;
        l.overflow = !multiLine_ && n > 0 && x > avail;
        l.bandSize = l.rows * thick + kMargin;
    } else {
        int colWidth = 0;
        for (int i = 0; i < n; ++i) colWidth = std::max(colWidth, NaturalTabLength(i));
        const int avail = h - 2 * kMargin;
        int y = 0, col = 0;
        for (int i = 0; i < n; ++i) {
            if (multiLine_ && y > 0 && y + thick > avail) {
                ++col;
                y = 0;
            }
            const int left =
                tabPosition_ == tpLeft ? kMargin + col * colWidth : w - kMargin - (col + 1) * colWidth;
            l.tabs.push_back(TRect{left, kMargin + y, left + colWidth, kMargin + y + thick});
            y += thick;
        }
        l.rows = col + 1;
        l.bandSize = l.rows * colWidth + kMargin;
    }
    if (n == 0) l.bandSize = thick + kMargin;
    return l;
}

TRect TCustomTabControl::TabRect(int index) {
    Layout& l = CurrentLayout();
    if (index < 0 || index >= static_cast<int>(l.tabs.size())) return TRect{};
    TRect r = l.tabs[static_cast<size_t>(index)];
    if (!l.overflow) return r;
    if (index < firstTab_) return TRect{};
    r.Offset(-(l.tabs[static_cast<size_t>(firstTab_)].left - kMargin), 0);
    // The scroll arrows cover the end of the row.
    if (r.right > Width() - kMargin - 2 * kArrowSize) return TRect{};
    return r;
}

int TCustomTabControl::IndexOfTabAt(int x, int y) {
    for (int i = 0; i < TabCount(); ++i)
        if (TabRect(i).Contains(TPoint{x, y})) return i;
    return -1;
}

TRect TCustomTabControl::DisplayRect() {
    TRect r{0, 0, Width(), Height()};
    const int band = CurrentLayout().bandSize;
    switch (tabPosition_) {
        case tpTop: r.top += band; break;
        case tpBottom: r.bottom -= band; break;
        case tpLeft: r.left += band; break;
        case tpRight: r.right -= band; break;
    }
    return InflatedRect(r, -kPageInset, -kPageInset);
}

void TCustomTabControl::AdjustClientRect(TRect& r) { r = DisplayRect(); }

void TCustomTabControl::UpdateScroller() {
    if (!scroller_) return;
    Layout& l = CurrentLayout();
    const bool show = l.overflow && (tabPosition_ == tpTop || tabPosition_ == tpBottom);
    if (show) {
        // The last first-tab that still leaves the row's end in sight.
        const int n = static_cast<int>(l.tabs.size());
        const int room = Width() - 2 * kMargin - 2 * kArrowSize;
        int lastFirst = n - 1;
        while (lastFirst > 0 && l.tabs.back().right - l.tabs[static_cast<size_t>(lastFirst - 1)].left <= room)
            --lastFirst;
        firstTab_ = std::min(firstTab_, lastFirst);
        scroller_->SetMin(0);
        scroller_->SetMax(lastFirst);
        scroller_->SetPosition(firstTab_);
        const TRect first = l.tabs.front();
        scroller_->SetBounds(Width() - kMargin - 2 * kArrowSize, first.top + first.Height() - kArrowSize - 1,
                             2 * kArrowSize, kArrowSize);
    } else {
        firstTab_ = 0;
    }
    scroller_->SetVisible(show);
}

void TCustomTabControl::ScrollTabs(int delta) {
    if (!CurrentLayout().overflow) return;
    firstTab_ = std::clamp(firstTab_ + delta, 0, std::max(0, TabCount() - 1));
    UpdateScroller();
    Invalidate();
}

void TCustomTabControl::WMHScroll(TMessage& m) {
    if (reinterpret_cast<HWND>(m.LParam) != (scroller_->HandleAllocated() ? scroller_->Handle() : nullptr))
        return;
    if (LOWORD(m.WParam) != SB_THUMBPOSITION) return;
    ScrollTabs(static_cast<int16_t>(HIWORD(m.WParam)) - firstTab_);
}

TRect TCustomTabControl::UiItemRect(int index) {
    if (index >= 0 && index < TabCount() && CurrentLayout().overflow) {
        if (index < firstTab_) ScrollTabs(index - firstTab_);
        while (TabRect(index).IsEmpty() && firstTab_ < index) ScrollTabs(1);
    }
    return TabRect(index);
}

bool TCustomTabControl::CanChange() {
    if (NotifyParent(this, TCN_SELCHANGING) != 0) return false;
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    return allow;
}

void TCustomTabControl::Change() {
    NotifyParent(this, TCN_SELCHANGE);
    if (OnChange) OnChange(this);
}

bool TCustomTabControl::SelectTab(int index) {
    if (index < 0 || index >= TabCount() || index == tabIndex_) return false;
    if (!CanChange()) return false;
    SetTabIndexQuiet(index);
    Change();
    return true;
}

void TCustomTabControl::SetTabIndexQuiet(int index) {
    if (index < -1 || index >= TabCount()) return;
    tabIndex_ = index;
    if (index >= 0 && CurrentLayout().overflow) {
        if (index < firstTab_) ScrollTabs(index - firstTab_);
        while (TabRect(index).IsEmpty() && firstTab_ < index) ScrollTabs(1);
    }
    Invalidate();
}

void TCustomTabControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    const int index = IndexOfTabAt(x, y);
    if (index >= 0) SelectTab(index);
}

void TCustomTabControl::KeyDown(WORD& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    const bool horizontal = tabPosition_ == tpTop || tabPosition_ == tpBottom;
    const WORD back = horizontal ? VK_LEFT : VK_UP, next = horizontal ? VK_RIGHT : VK_DOWN;
    if (key == back && tabIndex_ > 0)
        SelectTab(tabIndex_ - 1);
    else if (key == next && tabIndex_ + 1 < TabCount())
        SelectTab(tabIndex_ + 1);
}

void TCustomTabControl::WMGetDlgCode(TMessage& m) { m.Result = DLGC_WANTARROWS; }

void TCustomTabControl::CMDialogKeyTabs(TMessage& m) {
    // Ctrl+Tab and Ctrl+Shift+Tab go through the tabs from anywhere inside.
    if (m.WParam == VK_TAB && (GetKeyState(VK_CONTROL) & 0x8000) && TabCount() > 0 &&
        (Focused() || ContainsControl(FindControl(GetFocus())))) {
        const bool back = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
        const int n = TabCount();
        SelectTab(((tabIndex_ < 0 ? 0 : tabIndex_) + (back ? n - 1 : 1)) % n);
        m.Result = 1;
        return;
    }
    DispatchFrom(inherited::StaticClass(), m);
}

void TCustomTabControl::Paint() {
    HDC dc = Canvas()->Handle();
    const TRect c = ClientRect();
    FillColor(dc, c, Color());
    TRect page = InflatedRect(DisplayRect(), kPageInset, kPageInset);
    DrawEdge(dc, &page, EDGE_RAISED, BF_RECT);
    // The side of a tab that meets the page is left open.
    static const unsigned kOpen[] = {BF_LEFT | BF_TOP | BF_RIGHT, BF_LEFT | BF_BOTTOM | BF_RIGHT,
                                     BF_LEFT | BF_TOP | BF_BOTTOM, BF_TOP | BF_RIGHT | BF_BOTTOM};
    const unsigned sides = kOpen[tabPosition_];
    auto drawTab = [&](int i, bool selected) {
        TRect r = TabRect(i);
        if (r.IsEmpty()) return;
        if (selected) {
            const bool horizontal = tabPosition_ == tpTop || tabPosition_ == tpBottom;
            r = horizontal ? TRect{r.left - kRaise, r.top, r.right + kRaise, r.bottom}
                           : TRect{r.left, r.top - kRaise, r.right, r.bottom + kRaise};
            switch (tabPosition_) {
                case tpTop:
                    r.top -= kRaise;
                    r.bottom += 1;
                    break;
                case tpBottom:
                    r.bottom += kRaise;
                    r.top -= 1;
                    break;
                case tpLeft:
                    r.left -= kRaise;
                    r.right += 1;
                    break;
                case tpRight:
                    r.right += kRaise;
                    r.left -= 1;
                    break;
            }
        }
        FillColor(dc, r, Color());
        TRect edge = r;
        DrawEdge(dc, &edge, EDGE_RAISED, sides | BF_SOFT);
        TRect inner = InflatedRect(r, -3, -2);
        if (images_ && TabImageIndex(i) >= 0) {
            images_->Draw(Canvas(), inner.left + 2, inner.top + (inner.Height() - images_->Height()) / 2,
                          TabImageIndex(i), Enabled());
            inner.left += images_->Width() + 3;
        }
        DrawCaption(dc, Font(), TabCaption(i), inner, DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                    Enabled() ? Font()->Color() : clGrayText);
        if (selected && Focused()) DrawFocusRect(dc, InflatedRect(r, -3, -3));
    };
    for (int i = 0; i < TabCount(); ++i)
        if (i != tabIndex_) drawTab(i, false);
    if (tabIndex_ >= 0) drawTab(tabIndex_, true);
}

// ---- TTabControl ---------------------------------------------------------------------------

TTabControl::TTabControl(TComponent* owner)
    : TCustomTabControl(owner), tabs_(std::make_unique<TStringList>()) {
    tabs_->OnChange = [this](TObject*) {
        TabsChanged();
        if (TabIndex() < 0 && TabCount() > 0) SetTabIndexQuiet(0);
    };
}

TTabControl::~TTabControl() { tabs_->OnChange = nullptr; }

int TTabControl::TabImageIndex(int index) { return OnGetImageIndex ? OnGetImageIndex(index) : index; }

// ---- TTabSheet -------------------------------------------------------------------------------

void TTabSheet::DeclareMessages(TMessageTable& t) { t.Add<&TTabSheet::CMTextChangedSheet>(CM_TEXTCHANGED); }

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
    ControlStyle = {csAcceptsControls, csClickEvents, csDoubleClicks, csOpaque};
    SetVisible(false);
    SetParentColor(true);
}

TTabSheet::~TTabSheet() {
    if (pageControl_) pageControl_->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* control) {
    if (control == pageControl_) return;
    if (pageControl_) pageControl_->RemovePage(this);
    pageControl_ = control;
    TWinControl::SetParent(control);
    if (control) control->InsertPage(this);
}

void TTabSheet::SetParent(TWinControl* parent) {
    if (auto* pc = dynamic_cast<TPageControl*>(parent)) {
        SetPageControl(pc);
        return;
    }
    if (pageControl_) {
        pageControl_->RemovePage(this);
        pageControl_ = nullptr;
    }
    TWinControl::SetParent(parent);
}

int TTabSheet::PageIndex() const {
    if (!pageControl_) return -1;
    auto& pages = pageControl_->pages_;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int index) {
    if (!pageControl_) return;
    auto& pages = pageControl_->pages_;
    index = std::clamp(index, 0, static_cast<int>(pages.size()) - 1);
    pages.erase(std::find(pages.begin(), pages.end(), this));
    pages.insert(pages.begin() + index, this);
    pageControl_->PagesChanged();
}

int TTabSheet::TabIndex() const {
    if (!pageControl_ || !tabVisible_) return -1;
    const auto tabs = pageControl_->VisibleTabs();
    return static_cast<int>(std::find(tabs.begin(), tabs.end(), this) - tabs.begin());
}

void TTabSheet::SetTabVisible(bool v) {
    if (v == tabVisible_) return;
    tabVisible_ = v;
    if (pageControl_) pageControl_->PagesChanged();
}

void TTabSheet::SetImageIndex(int i) {
    imageIndex_ = i;
    if (pageControl_) pageControl_->TabsChanged();
}

void TTabSheet::CMTextChangedSheet(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    if (pageControl_) pageControl_->TabsChanged();
}

void TTabSheet::PaintWindow(HDC dc) { FillColor(dc, ClientRect(), Color()); }

// ---- TPageControl ----------------------------------------------------------------------------

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {}

TPageControl::~TPageControl() {
    for (TTabSheet* p : pages_) p->pageControl_ = nullptr;
    pages_.clear();
    activePage_ = nullptr;
}

TTabSheet* TPageControl::Pages(int index) const {
    if (index < 0 || index >= PageCount())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return pages_[static_cast<size_t>(index)];
}

std::vector<TTabSheet*> TPageControl::VisibleTabs() const {
    std::vector<TTabSheet*> out;
    for (TTabSheet* p : pages_)
        if (p->tabVisible_) out.push_back(p);
    return out;
}

int TPageControl::TabCount() { return static_cast<int>(VisibleTabs().size()); }
String TPageControl::TabCaption(int index) { return VisibleTabs().at(static_cast<size_t>(index))->Caption(); }
int TPageControl::TabImageIndex(int index) {
    return VisibleTabs().at(static_cast<size_t>(index))->imageIndex_;
}

void TPageControl::InsertPage(TTabSheet* page) {
    pages_.push_back(page);
    page->SetBounds(DisplayRect().left, DisplayRect().top, DisplayRect().Width(), DisplayRect().Height());
    PagesChanged();
}

void TPageControl::RemovePage(TTabSheet* page) {
    std::erase(pages_, page);
    if (activePage_ == page) activePage_ = FindNextPage(page, true, true);
    if (activePage_ == page) activePage_ = nullptr;
    PagesChanged();
}

void TPageControl::PagesChanged() {
    TabsChanged();
    if (activePage_ && !activePage_->tabVisible_) {
        // The shown page lost its tab: the next one with a tab takes over.
        TTabSheet* next = FindNextPage(activePage_, true, true);
        activePage_ = next && next->tabVisible_ ? next : nullptr;
    }
    if (!activePage_) {
        auto tabs = VisibleTabs();
        if (!tabs.empty()) activePage_ = tabs.front();
    }
    ShowOnly(activePage_);
    TCustomTabControl::SetTabIndexQuiet(activePage_ ? activePage_->TabIndex() : -1);
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) {
    const int n = PageCount();
    if (n == 0) return nullptr;
    auto it = std::find(pages_.begin(), pages_.end(), current);
    int start = it == pages_.end() ? (goForward ? n - 1 : 0) : static_cast<int>(it - pages_.begin());
    int i = start;
    for (int step = 0; step < n; ++step) {
        i = goForward ? (i + 1) % n : (i + n - 1) % n;
        TTabSheet* p = pages_[static_cast<size_t>(i)];
        if (!checkTabVisible || p->tabVisible_) return p;
    }
    return nullptr;
}

void TPageControl::SelectNextPage(bool goForward) {
    TTabSheet* next = FindNextPage(activePage_, goForward, true);
    if (next && next != activePage_ && CanChange()) {
        SetActivePage(next);
        Change();
    }
}

void TPageControl::ShowOnly(TTabSheet* page) {
    for (TTabSheet* p : pages_) {
        const bool show = p == page;
        if (p->Visible() == show) continue;
        if (show) {
            const TRect d = DisplayRect();
            p->SetBounds(d.left, d.top, d.Width(), d.Height());
        }
        p->SetVisible(show);
        if (show && p->OnShow) p->OnShow(p);
        if (!show && p->OnHide) p->OnHide(p);
    }
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page && (page->pageControl_ != this || !page->tabVisible_)) return;
    activePage_ = page;
    ShowOnly(page);
    TCustomTabControl::SetTabIndexQuiet(page ? page->TabIndex() : -1);
}

int TPageControl::ActivePageIndex() const { return activePage_ ? activePage_->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int index) {
    if (index < 0 || index >= PageCount())
        SetActivePage(nullptr);
    else
        SetActivePage(pages_[static_cast<size_t>(index)]);
}

void TPageControl::SetTabIndexQuiet(int index) {
    auto tabs = VisibleTabs();
    if (index < 0 || index >= static_cast<int>(tabs.size())) return;
    SetActivePage(tabs[static_cast<size_t>(index)]);
}

void TPageControl::AlignControls(TControl* control, TRect& rect) {
    TCustomTabControl::AlignControls(control, rect);
    const TRect d = DisplayRect();
    for (TTabSheet* p : pages_) p->SetBounds(d.left, d.top, d.Width(), d.Height());
}

}  // namespace tarvel
