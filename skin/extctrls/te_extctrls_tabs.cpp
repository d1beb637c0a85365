#include "skin/extctrls/te_extctrls_tabs.h"

#include <algorithm>

#include "platform/classlib/Forms.h"
#include "skin/core/te_const.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_theme_manager.h"
#include "skin/core/te_utils.h"
#include "skin/core/te_utils_draw.h"
#include "skin/extctrls/te_extctrls_pages.h"
#include "skin/extctrls/te_extctrls_refs.h"

namespace tarvel {

namespace {

constexpr UINT kFirstRepeatMs = 300;
constexpr UINT kRepeatMs = 100;

bool Meets(const TRect& a, const TRect& b) { return !Intersect(a, b).IsEmpty(); }

TRect Unite(const TRect& a, const TRect& b) {
    if (a.IsEmpty()) return b;
    if (b.IsEmpty()) return a;
    return TRect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                 std::max(a.bottom, b.bottom)};
}

TTeTabPosition Opposite(TTeTabPosition p) {
    switch (p) {
        case kttpTop: return kttpBottom;
        case kttpBottom: return kttpTop;
        case kttpLeft: return kttpRight;
        case kttpRight: return kttpLeft;
    }
    return p;
}

void HLine(TCanvas& c, int x1, int x2, int y, TColor color) { FillRect(c, x1, y, x2, y + 1, color); }
void VLine(TCanvas& c, int x, int y1, int y2, TColor color) { FillRect(c, x, y1, x + 1, y2, color); }
void Dot(TCanvas& c, int x, int y, TColor color) { FillRect(c, x, y, x + 1, y + 1, color); }

}  // namespace

// ---- TTeTabStringList -----------------------------------------------------------------------

void TTeTabStringList::Put(int index, const String& s) {
    TStringList::Put(index, s);
    control_->TabsChanged();
}
void TTeTabStringList::Insert(int index, const String& s) { InsertObject(index, s, nullptr); }
void TTeTabStringList::InsertObject(int index, const String& s, TObject* object) {
    TStringList::InsertObject(index, s, object);
    control_->TabsChanged();
}
int TTeTabStringList::AddObject(const String& s, TObject* object) {
    const int index = TStringList::AddObject(s, object);
    control_->TabsChanged();
    return index;
}
void TTeTabStringList::Delete(int index) {
    TStringList::Delete(index);
    control_->TabsChanged();
}
void TTeTabStringList::Clear() {
    TStringList::Clear();
    control_->TabsChanged();
}

void TTeTabStringList::Assign(TPersistent* source) {
    auto* strings = dynamic_cast<TStrings*>(source);
    if (!strings) {
        TStringList::Assign(source);
        return;
    }
    BeginUpdate();
    try {
        TStringList::Clear();
        for (int i = 0; i < strings->Count(); ++i) TStringList::AddObject(strings->Get(i), nullptr);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TTeTabStringList::SetUpdateState(bool updating) {
    TStringList::SetUpdateState(updating);
    control_->updating_ = updating;
    if (!updating) {
        control_->Invalidate();
        control_->TabsChanged();
    }
}

// ---- construction -------------------------------------------------------------------------

void TTeTabControl::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeTabControl::SNMThemeMessage>(SNM_THEMEMESSAGE);
    t.Add<&TTeTabControl::SNMLinkChanged>(SNM_LINKCHANGED);
    t.Add<&TTeTabControl::WMGetDlgCode>(WM_GETDLGCODE);
    t.Add<&TTeTabControl::CMDialogChar>(CM_DIALOGCHAR);
    t.Add<&TTeTabControl::CMEnabledChanged>(CM_ENABLEDCHANGED);
}

TTeTabControl::TTeTabControl(TComponent* owner)
    : TTeControl(owner), tabs_(std::make_unique<TTeTabStringList>(this)) {
    ControlStyle.Include(csAcceptsControls);
    ControlStyle.Include(csClickEvents);
    ControlStyle.Include(csDoubleClicks);
    SetParentColor(true);
    SetBounds(Left(), Top(), 289, 193);
    SetTabStop(true);
    measure_.SetSize(1, 1);
    AddThemeNotification(this);
    Realign();
}

TTeTabControl::~TTeTabControl() {
    RemoveThemeNotification(this);
    for (TTeTabSheet* page : pages_) page->tabControl_ = nullptr;
    pages_.clear();
    activePage_ = nullptr;
    delete timer_;
}

// ---- properties ---------------------------------------------------------------------------

void TTeTabControl::SetTabPosition(TTeTabPosition value) {
    if (value == tabPosition_) return;
    tabPosition_ = value;
    if (!Horizontal()) multiLine_ = true;
    UpdateTabRows();
    Realign();
    if (TTeTabSheet* page = GetActivePage()) page->Invalidate();
    Invalidate();
}

void TTeTabControl::SetMultiLine(bool value) {
    if (value == multiLine_) return;
    if (!value && !Horizontal())
        throw EInvalidOperation("MultiLine must be True when TabPosition is kttpLeft or kttpRight");
    multiLine_ = value;
    UpdateTabRows();
    Realign();
    Invalidate();
}

void TTeTabControl::SetScrollOpposite(bool value) {
    if (value == scrollOpposite_) return;
    scrollOpposite_ = value;
    if (value) multiLine_ = true;
    Realign();
    Invalidate();
}

void TTeTabControl::SetRaggedRight(bool value) {
    raggedRight_ = value;
    Invalidate();
}
void TTeTabControl::SetHotTrack(bool value) {
    hotTrack_ = value;
    Invalidate();
}
void TTeTabControl::SetOwnerDraw(bool value) {
    ownerDraw_ = value;
    Invalidate();
}
void TTeTabControl::SetTabHeight(int value) {
    tabHeight_ = value;
    Invalidate();
    Realign();
}
void TTeTabControl::SetTabWidth(int value) {
    tabWidth_ = value;
    Invalidate();
    Realign();
}

void TTeTabControl::SetImages(TCustomImageList* value) {
    SetFreeNotified(this, images_, value);
    Invalidate();
}

void TTeTabControl::SetThemeObject(const String& value) {
    if (value == themeObject_) return;
    themeObject_ = value;
    UpdateThemeLink(this, themeLink_, themeObject_, true);
}

void TTeTabControl::SetThemeLink(TteCustomThemeLink* value) {
    if (value == themeLink_) return;
    SetFreeNotified(this, themeLink_, value);
    UpdateThemeLink(this, themeLink_, themeObject_, true);
}

void TTeTabControl::Notification(TComponent* component, TOperation operation) {
    TTeControl::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == images_) SetImages(nullptr);
    if (component == themeLink_) SetThemeLink(nullptr);
}

// ---- messages -----------------------------------------------------------------------------

void TTeTabControl::SNMThemeMessage(TMessage& m) {
    switch (m.WParam) {
        case tmChanged:
        case tmApply:
        case tmReleased:
            Invalidate();
            if (TTeTabSheet* page = GetActivePage()) page->Invalidate();
            break;
        case tmSystemChanged: Invalidate(); break;
        default: break;
    }
}

void TTeTabControl::SNMLinkChanged(TMessage& m) {
    if (reinterpret_cast<TteCustomThemeLink*>(m.LParam) == themeLink_)
        UpdateThemeLink(this, themeLink_, themeObject_, true);
}

void TTeTabControl::WMGetDlgCode(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    m.Result = DLGC_WANTARROWS;
}

void TTeTabControl::CMDialogChar(TMessage& m) {
    if (CanFocus())
        for (int i = 0; i < GetTabCount(); ++i)
            if (IsAccel(static_cast<char16_t>(m.WParam), tabs_->Get(i))) {
                SetTabIndex(i);
                m.Result = 1;
                return;
            }
    DispatchFrom(inherited::StaticClass(), m);
}

void TTeTabControl::CMEnabledChanged(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    Invalidate();
}

// ---- theme --------------------------------------------------------------------------------

TteTheme* TTeTabControl::GetThemeLinkOf() { return GetThemeLink(themeLink_); }

bool TTeTabControl::Themed() { return IsObjectDefined(ktscTab, themeObject_, themeLink_) && Theme(); }

TteTabItemDrawState TTeTabControl::TabState(int index) const {
    const bool hot = index == hotTab_;
    if (index == tabIndex_) return !Enabled() ? ktidsActiveDisabled : hot ? ktidsActiveHot : ktidsActive;
    return !Enabled() ? ktidsDisabled : hot ? ktidsHot : ktidsNormal;
}

TFont* TTeTabControl::TabFont(int index) {
    if (!Themed()) return Font();
    static const TteThemeFont fonts[] = {ktfTabTextInactiveNormal,   ktfTabTextInactiveHot,
                                         ktfTabTextInactiveDisabled, ktfTabTextActiveNormal,
                                         ktfTabTextActiveHot,        ktfTabTextActiveDisabled};
    TFont* font = Theme()->Fonts()->GetFontForObject(fonts[TabState(index)], themeObject_);
    return font ? font : Font();
}

TSize TTeTabControl::MeasureText(TFont* font, const WideString& text) {
    const TFontStyles style = font->Style();
    std::string key = font->Name();
    key += '\x01' + std::to_string(font->Height()) + '\x01' + std::to_string(font->Charset());
    for (TFontStyle f : {fsBold, fsItalic, fsUnderline, fsStrikeOut}) key += style.Contains(f) ? '1' : '0';
    key += '\x01' + WideToUtf8(text);
    if (const auto it = extents_.find(key); it != extents_.end()) return it->second;
    if (extents_.size() > 1024) extents_.clear();
    TCanvas& c = *measure_.GetCanvas();
    c.Font()->Assign(font);
    const TSize size{TextWidth(c, text), TextHeight(c, text)};
    extents_.emplace(std::move(key), size);
    return size;
}

// ---- layout -------------------------------------------------------------------------------

int TTeTabControl::GetTabHeight() {
    if (tabHeight_ > 0) return tabHeight_;
    int h = MeasureText(Font(), u"Pq").cy + 4;
    if (images_) h = std::max(h, images_->Height() + 4);
    return h;
}

TTeTabSheet* TTeTabControl::PageOfTab(int index) const { return GetPage(GetPageIndexFromTabIndex(index)); }

bool TTeTabControl::TabHasGlyph(int index) const {
    if (!usePages_ || !images_) return false;
    const TTeTabSheet* page = PageOfTab(index);
    return page && page->ImageIndex() >= 0;
}

int TTeTabControl::GetTabWidth(int index) {
    if (index < 0 || index >= GetTabCount()) return 0;
    if (tabWidth_ != 0) return tabWidth_;
    int w = MeasureText(TabFont(index), Utf8ToWide(tabs_->Get(index))).cx + 12;
    if (TabHasGlyph(index)) w += images_->Width();
    return std::max(w, 2 * (GetTabHeight() + 2));
}

TSize TTeTabControl::GetScrollBtnSize() {
    const int s = 2 * Font()->Size();
    return TSize{s, s};
}

int TTeTabControl::AvailableLength() {
    return Horizontal() ? Width() - GetLeftMargin() - GetRightMargin()
                        : Height() - GetTopMargin() - GetBottomMargin();
}

// The table grows with the rows: any number of tabs wider than half the strip fits.
void TTeTabControl::UpdateTabRows() {
    rows_.clear();
    const int count = GetTabCount();
    if (count == 0) return;
    const int available = AvailableLength();
    auto close = [&](int last, int rowWidth, int tabsInRow) {
        const int spare = available - rowWidth;
        const int extra = tabsInRow > 0 ? spare / tabsInRow : 0;
        rows_.push_back(TRow{last, extra, spare - extra * tabsInRow});
    };
    int rowWidth = GetTabWidth(0), inRow = 1;
    for (int i = 1; i < count; ++i) {
        const int w = GetTabWidth(i);
        if (rowWidth + w < available) {
            rowWidth += w;
            ++inRow;
        } else {
            close(i - 1, rowWidth, inRow);
            rowWidth = w;
            inRow = 1;
        }
    }
    if (rowWidth > 0) close(count - 1, rowWidth, inRow);
}

int TTeTabControl::GetTabRow(int index) {
    if (rows_.empty()) return -1;
    for (size_t r = 0; r < rows_.size(); ++r)
        if (index <= rows_[r].last) return static_cast<int>(r);
    return 0;
}

int TTeTabControl::SelectedRow() { return multiLine_ ? std::max(0, GetTabRow(tabIndex_)) : 0; }

int TTeTabControl::GetTabRowCount() { return multiLine_ ? static_cast<int>(rows_.size()) : 1; }

int TTeTabControl::RowCount() {
    if (GetTabCount() == 0) return 0;
    UpdateTabRows();
    return GetTabRowCount();
}

bool TTeTabControl::IsTabLastInRow(int index) {
    UpdateTabRows();
    return std::any_of(rows_.begin(), rows_.end(), [index](const TRow& r) { return r.last == index; });
}

int TTeTabControl::GetTabExtendedWidth(int index) {
    const int w = GetTabWidth(index);
    if (raggedRight_ || tabWidth_ != 0 || !multiLine_) return w;
    const int r = GetTabRow(index);
    if (r < 0) return w;
    return w + rows_[r].extra + (index == rows_[r].last ? rows_[r].rest : 0);
}

int TTeTabControl::GetTabRowHeight(int row) {
    const int a = SelectedRow(), rows = GetTabRowCount();
    int n = 0;
    if (row >= a)
        n = row - a + 1;
    else
        n = scrollOpposite_ ? a - row : row + rows - a + 1;
    return n * GetTabHeight();
}

bool TTeTabControl::IsTabOnOpositeSide(int index) {
    return multiLine_ && scrollOpposite_ && GetTabRow(index) < SelectedRow();
}

int TTeTabControl::GetTabLineHeight() {
    if (GetTabCount() == 0) return 0;
    const int rows = GetTabRowCount();
    const int lines = scrollOpposite_ ? rows - SelectedRow() : rows;
    return GetTabHeight() * lines + (Horizontal() ? GetTopMargin() : GetLeftMargin());
}

int TTeTabControl::GetOppositeTabLineHeight() { return scrollOpposite_ ? SelectedRow() * GetTabHeight() : 0; }

TRect TTeTabControl::GetTabRect(int index) {
    UpdateTabRows();
    if (index < 0 || index >= GetTabCount()) return TRect{};
    int p = 0;
    if (multiLine_) {
        const int r = std::max(0, GetTabRow(index));
        for (int i = r == 0 ? 0 : rows_[r - 1].last + 1; i < index; ++i) p += GetTabExtendedWidth(i);
    } else if (index >= firstVisibleTab_) {
        for (int i = firstVisibleTab_; i < index; ++i) p += GetTabExtendedWidth(i);
    } else {
        for (int i = index; i < firstVisibleTab_; ++i) p -= GetTabExtendedWidth(i);
    }
    const bool opposite = IsTabOnOpositeSide(index);
    const int line = opposite ? GetOppositeTabLineHeight() : GetTabLineHeight();
    const int d = line - GetTabRowHeight(multiLine_ ? std::max(0, GetTabRow(index)) : 0);
    const int ext = GetTabExtendedWidth(index);
    const int w = Width(), h = Height();
    TRect r;
    switch (opposite ? Opposite(tabPosition_) : tabPosition_) {
        case kttpTop: r = TRect{p + 2, d, p + 2 + ext, line + 2}; break;
        case kttpBottom: r = TRect{p + 2, h - line - 2, p + 2 + ext, h - d}; break;
        case kttpLeft: r = TRect{d, p + 2, line + 2, p + 2 + ext}; break;
        case kttpRight: r = TRect{w - line - 2, p + 2, w - d, p + 2 + ext}; break;
    }
    return r;
}

TRect TTeTabControl::GetFrameRect() {
    UpdateTabRows();
    TRect r{0, 0, Width(), Height()};
    const int line = GetTabLineHeight(), opposite = GetOppositeTabLineHeight();
    switch (tabPosition_) {
        case kttpTop:
            r.top += line;
            r.bottom -= opposite;
            break;
        case kttpBottom:
            r.bottom -= line;
            r.top += opposite;
            break;
        case kttpLeft:
            r.left += line;
            r.right -= opposite;
            break;
        case kttpRight:
            r.right -= line;
            r.left += opposite;
            break;
    }
    return r;
}

void TTeTabControl::AdjustClientRect(TRect& rect) {
    rect = GetFrameRect();
    rect = RectOffset(rect, -(GetLeftMargin() + 1));
}

int TTeTabControl::GetLastVisibleTab(bool checkButtons) {
    const int count = GetTabCount();
    if (count == 0) return -1;
    UpdateTabRows();
    const int available = AvailableLength();
    int sum = 0, i = std::max(0, firstVisibleTab_);
    while (i < count && sum + GetTabWidth(i) <= available) sum += GetTabWidth(i++);
    int last = std::min(i, count - 1);
    if (!checkButtons) return last;
    const bool buttons = GetScrlBtnsVisible();
    const TRect left = GetLeftBtnRect(), right = GetRightBtnRect();
    while (last > 0) {
        const TRect r = GetTabRect(last);
        const bool beyond = Horizontal() ? r.right > Width() : r.bottom > Height();
        if (!beyond && !(buttons && (Meets(r, left) || Meets(r, right)))) break;
        --last;
    }
    return last;
}

bool TTeTabControl::GetScrlBtnsVisible() {
    if (!Horizontal() || GetTabCount() < 2 || multiLine_) return false;
    return firstVisibleTab_ > 0 || GetTabRect(GetTabCount() - 1).right > Width();
}

TRect TTeTabControl::GetRightBtnRect() {
    const int s = GetScrollBtnSize().cx;
    const int top =
        tabPosition_ == kttpBottom ? Height() + 2 - GetTabLineHeight() : GetTabLineHeight() - s - 2;
    return TRect{Width() - s, top, Width(), top + s};
}

TRect TTeTabControl::GetLeftBtnRect() {
    TRect r = GetRightBtnRect();
    r.Offset(-GetScrollBtnSize().cx, 0);
    return r;
}

bool TTeTabControl::PtInLeftBtn(int x, int y) {
    return GetScrlBtnsVisible() && GetLeftBtnRect().Contains({x, y});
}
bool TTeTabControl::PtInRightBtn(int x, int y) {
    return GetScrlBtnsVisible() && GetRightBtnRect().Contains({x, y});
}

bool TTeTabControl::GetLeftBtnPressed() const {
    return pressedLeft_ && (hoverLeft_ || ComponentState().Contains(csDesigning));
}
bool TTeTabControl::GetRightBtnPressed() const {
    return pressedRight_ && (hoverRight_ || ComponentState().Contains(csDesigning));
}

void TTeTabControl::ScrollTabs(int delta) {
    if (delta == 0) return;
    const int count = GetTabCount();
    if (count == 0) {
        firstVisibleTab_ = 0;
        return;
    }
    firstVisibleTab_ = std::clamp(firstVisibleTab_ + delta, 0, count - 1);
    bool stepped = false;
    while (firstVisibleTab_ > 0 && GetLastVisibleTab(true) == count - 1) {
        --firstVisibleTab_;
        stepped = true;
    }
    if (stepped) ++firstVisibleTab_;
    InvalidateTabs();
}

int TTeTabControl::PtInTab(int x, int y) {
    const int count = GetTabCount();
    if (count == 0) return -1;
    UpdateTabRows();
    const TPoint p{x, y};
    if (GetScrlBtnsVisible() && x >= Width() - 2 * GetScrollBtnSize().cx && x < Width()) {
        const int line = GetTabLineHeight();
        const bool inLine =
            tabPosition_ == kttpBottom ? y >= Height() - line && y < Height() : y >= 0 && y < line;
        if (inLine) return -1;
    }
    if (tabIndex_ >= 0 && GetTabRect(tabIndex_).Contains(p)) return tabIndex_;
    if (multiLine_) {
        const int a = SelectedRow(), rows = GetTabRowCount();
        std::vector<int> order;
        if (scrollOpposite_) {
            for (int r = a - 1; r >= 0; --r) order.push_back(r);
            for (int r = a; r < rows; ++r) order.push_back(r);
        } else {
            for (int r = a; r < rows; ++r) order.push_back(r);
            for (int r = 0; r < a; ++r) order.push_back(r);
        }
        for (int r : order)
            for (int i = r == 0 ? 0 : rows_[r - 1].last + 1; i <= rows_[r].last; ++i)
                if (GetTabRect(i).Contains(p)) return i;
        return -1;
    }
    const int last = GetLastVisibleTab(false);
    for (int i = firstVisibleTab_; i <= last; ++i) {
        TRect r = GetTabRect(i);
        switch (tabPosition_) {
            case kttpTop: r.bottom -= 2; break;
            case kttpBottom: r.top += 2; break;
            case kttpLeft: r.right -= 2; break;
            case kttpRight: r.left += 2; break;
        }
        if (r.Contains(p)) return i;
    }
    return -1;
}

// ---- selection ----------------------------------------------------------------------------

void TTeTabControl::Change() {
    if (OnChange) OnChange(this);
}

bool TTeTabControl::CanChange() {
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    return allow;
}

void TTeTabControl::DoDrawTab(int index, const TRect& rect, bool active) {
    if (OnDrawTab) OnDrawTab(this, index, rect, active);
}

void TTeTabControl::ScrollIntoView() {
    if (multiLine_ || tabIndex_ < 0) return;
    const int count = GetTabCount();
    while (
        GetScrlBtnsVisible() && firstVisibleTab_ < tabIndex_ &&
        (Meets(GetTabRect(tabIndex_), GetLeftBtnRect()) || Meets(GetTabRect(tabIndex_), GetRightBtnRect())))
        ++firstVisibleTab_;
    while (tabIndex_ < firstVisibleTab_) --firstVisibleTab_;
    for (int last = GetLastVisibleTab(true); last != 0 && last < tabIndex_ && firstVisibleTab_ < count - 1;
         last = GetLastVisibleTab(true))
        ++firstVisibleTab_;
}

void TTeTabControl::SetTabIndex(int value) {
    if (ComponentState().Contains(csLoading)) {
        storedTabIndex_ = value;
        return;
    }
    if (value == tabIndex_ || value < 0 || value > GetTabCount() - 1) return;
    const int old = tabIndex_;
    tabIndex_ = value;  // OnChanging reads the new index
    if (!CanChange()) {
        tabIndex_ = old;
        InvalidateTabs();
        return;
    }
    ScrollIntoView();
    InvalidateTabs();
    if (usePages_) {
        SetActivePageIndex(GetPageIndexFromTabIndex(tabIndex_));
        Realign();
    } else {
        Change();
    }
}

// ---- mouse and keys -----------------------------------------------------------------------

void TTeTabControl::KeyDown(WORD& key, TShiftState shift) {
    TTeControl::KeyDown(key, shift);
    if (key == VK_LEFT || key == VK_UP)
        SetTabIndex(tabIndex_ - 1);
    else if (key == VK_RIGHT || key == VK_DOWN)
        SetTabIndex(tabIndex_ + 1);
}

void TTeTabControl::MouseMove(TShiftState shift, int x, int y) {
    TTeControl::MouseMove(shift, x, y);
    const bool left = PtInLeftBtn(x, y), right = PtInRightBtn(x, y);
    const int hot = PtInTab(x, y);
    if (left == hoverLeft_ && right == hoverRight_ && hot == hotTab_) return;
    hoverLeft_ = left;
    hoverRight_ = right;
    hotTab_ = hot;
    InvalidateTabs();
}

void TTeTabControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TTeControl::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    const bool wasPressed = GetLeftBtnPressed() || GetRightBtnPressed();
    pressedLeft_ = PtInLeftBtn(x, y);
    pressedRight_ = PtInRightBtn(x, y);
    hoverLeft_ = hoverLeft_ || pressedLeft_;
    hoverRight_ = hoverRight_ || pressedRight_;
    if (!wasPressed && (GetLeftBtnPressed() || GetRightBtnPressed())) {
        InvalidateTabs();
        PartPress(true);
        return;
    }
    if (!ComponentState().Contains(csDesigning) && CanFocus() && !Focused()) SetFocus();
    SetTabIndex(PtInTab(x, y));
}

void TTeTabControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TTeControl::MouseUp(button, shift, x, y);
    if (button != mbLeft) return;
    pressedLeft_ = pressedRight_ = false;
    if (timer_) timer_->SetEnabled(false);
    InvalidateTabs();
}

void TTeTabControl::MouseLeave() {
    TTeControl::MouseLeave();
    if (!hoverLeft_ && !hoverRight_ && hotTab_ < 0) return;
    hoverLeft_ = hoverRight_ = false;
    hotTab_ = -1;
    InvalidateTabs();
}

void TTeTabControl::HasFocus() {
    TTeControl::HasFocus();
    InvalidateTabs();
}

void TTeTabControl::KillFocus() {
    TTeControl::KillFocus();
    InvalidateTabs();
}

void TTeTabControl::PartPress(bool first) {
    if (ComponentState().Contains(csDesigning)) {
        ScrollTabs(GetLeftBtnPressed() ? -1 : 1);
        return;
    }
    if (!timer_) {
        timer_ = new TTimer(nullptr);
        timer_->SetEnabled(false);
        timer_->OnTimer = [this](TObject* sender) { TimerExpired(sender); };
    }
    if (first) {
        TimerExpired(timer_);
        timer_->SetInterval(kFirstRepeatMs);
    } else {
        timer_->SetInterval(kRepeatMs);
    }
    timer_->SetEnabled(true);
}

void TTeTabControl::TimerExpired(TObject*) {
    timer_->SetInterval(kRepeatMs);
    try {
        if (GetLeftBtnPressed())
            ScrollTabs(-1);
        else if (GetRightBtnPressed())
            ScrollTabs(1);
    } catch (...) {
        timer_->SetEnabled(false);
        throw;
    }
}

// ---- size ---------------------------------------------------------------------------------

void TTeTabControl::SetBounds(int left, int top, int width, int height) {
    const int before = multiLine_ ? static_cast<int>(rows_.size()) : 0;
    TTeControl::SetBounds(left, top, width, height);
    if (!multiLine_) return;
    UpdateTabRows();
    if (static_cast<int>(rows_.size()) != before) {
        Realign();
        Invalidate();
    }
}

void TTeTabControl::Resize() {
    TTeControl::Resize();
    if (TTeTabSheet* page = GetActivePage()) page->Invalidate();
}

void TTeTabControl::Loaded() {
    TTeControl::Loaded();
    UpdateThemeLink(this, themeLink_, themeObject_, false);
    if (!usePages_) return;
    SetActivePageIndex(GetPageIndexFromTabIndex(storedTabIndex_));
    UpdateTabRows();
    Realign();
}

// ---- painting -----------------------------------------------------------------------------

void TTeTabControl::InvalidateTabs() {
    if (!Parent() || !HandleAllocated()) return;
    if (ComponentState().Contains(csDesigning) || scrollOpposite_) {
        Invalidate();
        return;
    }
    TRect strip;
    for (int i = 0; i < GetTabCount(); ++i) strip = Unite(strip, GetTabRect(i));
    if (strip.IsEmpty()) return;
    if (Horizontal()) {
        strip.top -= 2;
        strip.bottom += 2;
        strip.left = 0;
        strip.right = Width();
    } else {
        strip.left -= 2;
        strip.right += 2;
        strip.top = 0;
        strip.bottom = Height();
    }
    InvalidateRect(strip);
}

void TTeTabControl::PaintBuffer() {
    TCanvas& c = *Canvas();
    if (usePages_ && !pages_.empty()) {
        TRect page{};
        AdjustClientRect(page);
        ExcludeClipRect(c.Handle(), page.left, page.top, page.right, page.bottom);
    }
    DrawControlBackground(this, c);
    DrawTabs(false);
    DrawBorder();
    DrawTabs(true);
    if (GetScrlBtnsVisible()) {
        DrawLeftScrlBtn();
        DrawRightScrlBtn();
    }
}

void TTeTabControl::DrawTabs(bool selectedOnly) {
    UpdateTabRows();
    const int count = GetTabCount();
    if (count == 0) return;
    if (selectedOnly) {
        if (tabIndex_ >= 0 && tabIndex_ < count) DrawTab(tabIndex_);
        return;
    }
    if (multiLine_ && !rows_.empty()) {
        const int a = SelectedRow(), rows = static_cast<int>(rows_.size());
        auto drawRow = [&](int r) {
            for (int i = r == 0 ? 0 : rows_[r - 1].last + 1; i <= rows_[r].last; ++i) DrawTab(i);
        };
        if (!scrollOpposite_) {
            for (int r = a - 1; r >= 0; --r) drawRow(r);
            for (int r = rows - 1; r >= a; --r) drawRow(r);
        } else {
            for (int r = rows - 1; r >= a; --r) drawRow(r);
            for (int r = 0; r < a; ++r) drawRow(r);
        }
        return;
    }
    const int last = GetLastVisibleTab(false);
    for (int i = firstVisibleTab_; i <= last; ++i)
        if (i != tabIndex_) DrawTab(i);
}

void TTeTabControl::DrawTab(int index) {
    if (index < 0) return;
    SelectTabFont(*Canvas(), index);
    TRect r = GetTabRect(index);
    const TTeTabPosition position = IsTabOnOpositeSide(index) ? Opposite(tabPosition_) : tabPosition_;
    if (ownerDraw_) {
        DoDrawTab(index, r, index == tabIndex_);
        return;
    }
    DrawTabFace(index, position, r);
    if (TabHasGlyph(index)) {
        DrawTabGlyph(index, position, r);
        const int th = GetTabHeight();
        switch (position) {
            case kttpTop:
            case kttpBottom: r.left += th; break;
            case kttpLeft: r.bottom -= th; break;
            case kttpRight: r.top += th; break;
        }
    }
    const bool horizontal = position == kttpTop || position == kttpBottom;
    if ((horizontal ? r.Width() : r.Height()) > 8) DrawTabText(index, position, r);
}

void TTeTabControl::DrawTabFace(int index, TTeTabPosition position, const TRect& rect) {
    TCanvas& c = *Canvas();
    if (Themed()) {
        SelectTabFont(c, index);
        TteTabItemClass cls = ktisTopMiddle;
        switch (position) {
            case kttpTop:
                cls = index == firstVisibleTab_          ? ktisTopFirst
                      : index == GetLastVisibleTab(true) ? ktisTopLast
                                                         : ktisTopMiddle;
                break;
            case kttpBottom: cls = ktisBottomMiddle; break;
            case kttpLeft: cls = ktisLeftMiddle; break;
            case kttpRight: cls = ktisRightMiddle; break;
        }
        Theme()->TabDrawItem(ktscTab, c, TabItemInfo(rect, cls, TabState(index)), themeObject_);
        return;
    }
    DrawClassicTabFace(index, position, rect);
}

void TTeTabControl::DrawClassicTabFace(int index, TTeTabPosition position, TRect r) {
    TCanvas& c = *Canvas();
    c.Font()->Assign(Font());
    if (index == tabIndex_) {
        r = RectOffset(r, -2);
        switch (position) {
            case kttpTop: r.bottom -= 2; break;
            case kttpBottom: r.top += 2; break;
            case kttpLeft: r.right -= 2; break;
            case kttpRight: r.left += 2; break;
        }
    }
    const int L = r.left, T = r.top, R = r.right, B = r.bottom;
    const TColor light = clBtnHighlight, dark = cl3DDkShadow, shadow = clBtnShadow;
    switch (position) {
        case kttpTop:
            FillRoundRect(c, TRect{L + 1, T + 1, R - 1, B}, 4, clBtnFace);
            FillRect(c, L + 1, T + 2, R - 1, B, clBtnFace);
            break;
        case kttpBottom:
            FillRoundRect(c, TRect{L + 1, T, R - 1, B}, 4, clBtnFace);
            FillRect(c, L + 1, T, R - 1, B - 2, clBtnFace);
            break;
        case kttpLeft:
            FillRoundRect(c, TRect{L, T + 1, R, B - 1}, 4, clBtnFace);
            FillRect(c, L + 2, T + 1, R, B, clBtnFace);
            break;
        case kttpRight:
            FillRoundRect(c, TRect{L, T + 1, R, B - 1}, 4, clBtnFace);
            FillRect(c, L, T + 1, R - 2, B - 1, clBtnFace);
            break;
    }
    if (Focused() && index == tabIndex_) DrawFocusRect(c, TRect{L + 3, T + 3, R - 3, B - 3}, clBtnShadow);
    auto topEdge = [&](int x1, int x2) { HLine(c, x1, x2, T, light); };
    auto leftEdge = [&](int y1, int y2) { VLine(c, L, y1, y2, light); };
    auto rightEdge = [&](int y1, int y2) {
        VLine(c, R - 1, y1, y2, dark);
        VLine(c, R - 2, y1, y2, shadow);
    };
    auto bottomEdge = [&](int x1, int x2) {
        HLine(c, x1, x2, B - 1, dark);
        HLine(c, x1, x2, B - 2, shadow);
    };
    auto topLeft = [&] {
        Dot(c, L, T + 2, light);
        Dot(c, L + 1, T + 1, light);
        Dot(c, L + 2, T, light);
    };
    auto topRight = [&] {
        Dot(c, R - 3, T, light);
        Dot(c, R - 2, T + 1, dark);
        Dot(c, R - 1, T + 2, dark);
        Dot(c, R - 2, T + 2, shadow);
    };
    auto bottomLeft = [&] {
        Dot(c, L, B - 3, light);
        Dot(c, L + 1, B - 2, light);
        Dot(c, L + 2, B - 1, dark);
        Dot(c, L + 2, B - 2, shadow);
    };
    auto bottomRight = [&] {
        Dot(c, R - 1, B - 3, dark);
        Dot(c, R - 2, B - 2, dark);
        Dot(c, R - 3, B - 1, dark);
        Dot(c, R - 2, B - 3, shadow);
        Dot(c, R - 3, B - 2, shadow);
    };
    switch (position) {
        case kttpTop:
            topEdge(L + 3, R - 3);
            leftEdge(T + 3, B - 1);
            rightEdge(T + 3, B - 1);
            topLeft();
            topRight();
            break;
        case kttpBottom:
            leftEdge(T, B - 3);
            rightEdge(T + 1, B - 3);
            bottomEdge(L + 3, R - 3);
            bottomLeft();
            bottomRight();
            break;
        case kttpLeft:
            topEdge(L + 3, R - 1);
            leftEdge(T + 3, B - 3);
            bottomEdge(L + 3, R - 1);
            topLeft();
            bottomLeft();
            break;
        case kttpRight:
            topEdge(L, R - 3);
            rightEdge(T + 3, B - 3);
            bottomEdge(L + 1, R - 3);
            topRight();
            bottomRight();
            break;
    }
}

void TTeTabControl::DrawTabGlyph(int index, TTeTabPosition position, const TRect& rect) {
    TRect r = rect;
    if (index == tabIndex_) r = RectOffset(r, -1);
    TTeTabSheet* page = PageOfTab(index);
    if (!page || !images_) return;
    r = RectOffset(r, 3);
    const int th = GetTabHeight();
    TPoint at{r.left, r.top};
    if (position == kttpLeft) at = {r.left, r.bottom - th};
    if (position == kttpRight) at = {r.right - th, r.top};
    images_->Draw(Canvas(), at.x, at.y, page->ImageIndex(), true);
}

void TTeTabControl::DrawTabText(int index, TTeTabPosition position, const TRect& rect) {
    TCanvas& c = *Canvas();
    const int th = GetTabHeight();
    TRect band = rect;
    switch (position) {
        case kttpTop: band.bottom = band.top + th; break;
        case kttpBottom: band.top = band.bottom - th; break;
        case kttpLeft: band.right = band.left + th; break;
        case kttpRight: band.left = band.right - th; break;
    }
    const WideString caption = Utf8ToWide(tabs_->Get(index));
    const unsigned flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (Themed()) {
        SelectTabFont(c, index);
        static const TteTabItemClass middle[] = {ktisTopMiddle, ktisBottomMiddle, ktisLeftMiddle,
                                                 ktisRightMiddle};
        Theme()->TabDrawText(ktscTab, c, TabItemInfo(rect, middle[position], ktidsNormal),
                             TextInfo(band, caption, flags), themeObject_);
        return;
    }
    c.Font()->Assign(Font());
    if (hotTrack_ && index == hotTab_) c.Font()->SetColor(clHighlight);
    if (position == kttpTop && index != tabIndex_) band.Offset(0, 1);
    if (position == kttpTop || position == kttpBottom)
        DrawText(c, caption, band, flags);
    else
        DrawVerticalText(c, caption, band, flags, position == kttpRight);
}

void TTeTabControl::DrawBorder() {
    TCanvas& c = *Canvas();
    TRect r = GetFrameRect();
    if (Themed()) {
        Theme()->TabDraw(ktscTab, c, TabInfo(r), themeObject_);
        return;
    }
    FillRect(c, r, clBtnFace);
    DrawEdge(c, r, clBtnHighlight, cl3DDkShadow);
    DrawEdge(c, RectOffset(r, -1), clBtnFace, clBtnShadow);
}

namespace {

TteTabButtonDrawState ButtonState(bool enabled, bool pressed, bool hot) {
    if (!enabled) return ktbdsDisabled;
    if (pressed) return ktbdsPressed;
    return hot ? ktbdsHot : ktbdsNormal;
}

}  // namespace

void TTeTabControl::DrawLeftScrlBtn() {
    TRect r = GetLeftBtnRect();
    if (Themed()) {
        Theme()->TabDrawButton(
            ktscTab, *Canvas(),
            TabButtonInfo(r, ktbcLeft, ButtonState(Enabled(), GetLeftBtnPressed(), hoverLeft_)),
            themeObject_);
        return;
    }
    DrawFrameControl(Canvas()->Handle(), &r, DFC_SCROLL,
                     DFCS_SCROLLLEFT | (GetLeftBtnPressed() ? unsigned{DFCS_PUSHED} : 0u));
}

void TTeTabControl::DrawRightScrlBtn() {
    TRect r = GetRightBtnRect();
    if (Themed()) {
        Theme()->TabDrawButton(
            ktscTab, *Canvas(),
            TabButtonInfo(r, ktbcRight, ButtonState(Enabled(), GetRightBtnPressed(), hoverRight_)),
            themeObject_);
        return;
    }
    DrawFrameControl(Canvas()->Handle(), &r, DFC_SCROLL,
                     DFCS_SCROLLRIGHT | (GetRightBtnPressed() ? unsigned{DFCS_PUSHED} : 0u));
}

}  // namespace tarvel
