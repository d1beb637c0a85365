#include "skin/extctrls/te_extctrls_controlbar.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "platform/winsys/InputApi.h"
#include "skin/core/te_canvas_state.h"
#include "skin/core/te_const.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_utils_draw.h"

namespace tarvel {

namespace {

// The band insets are measured on a tool bar of this size.
constexpr TRect kInsetProbe{0, 0, 100, 30};
constexpr int kClassicGrabber = 11;
constexpr int kClassicInset = 2;

bool PaintControlBarBackground(TCanvas* canvas, const TteBackground& background) {
    if (auto* bar = dynamic_cast<TTeControlBar*>(background.Parent)) bar->PaintAsBackground(canvas->Handle());
    return true;
}

int HorzInsets(const TTeDockPos& r) { return r.Insets.left + r.Insets.right; }
int VertInsets(const TTeDockPos& r) { return r.Insets.top + r.Insets.bottom; }

// Takes `amount` out of the gaps between the placed bands of a row, from its
// right end: every gap closed moves the bands right of it left.
void ShiftLeft(std::vector<TTeDockPos*>& placed, int amount, int left) {
    for (size_t j = placed.size(); j-- > 0 && amount > 0;) {
        const int prevRight = j > 0 ? placed[j - 1]->TempPos.x + placed[j - 1]->TempWidth : left;
        const int step = std::min(amount, placed[j]->TempPos.x - prevRight);
        if (step <= 0) continue;
        for (size_t k = j; k < placed.size(); ++k) placed[k]->TempPos.x -= step;
        amount -= step;
    }
}

}  // namespace

void RegisterControlBarBackground() {
    RegisterDrawControlBackground(TTeControlBar::StaticClass(), &PaintControlBarBackground);
}

void TTeControlBar::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeControlBar::SNMThemeMessage>(SNM_THEMEMESSAGE);
    t.Add<&TTeControlBar::CNKeyDown>(CN_KEYDOWN);
}

TTeControlBar::TTeControlBar(TComponent* owner)
    : TTeControl(owner), TTeThemeLinked(this, {ktlrSkipSame, ktlrRepaintOnly}) {
    ControlStyle.Include(csAcceptsControls);
    ControlStyle.Include(csCaptureMouse);
    ControlStyle.Include(csClickEvents);
    ControlStyle.Include(csOpaque);
    ControlStyle.Include(csDoubleClicks);
    SetColor(clWindow);
    TTeControl::SetBounds(Left(), Top(), 100, 50);
    SetAutoSize(true);
    SetDockSite(true);
    AddThemeNotification(this);
}

TTeControlBar::~TTeControlBar() {
    RemoveThemeNotification(this);
    dragged_ = nullptr;
    items_.clear();
}

void TTeControlBar::Notification(TComponent* component, TOperation operation) {
    TTeControl::Notification(component, operation);
    ForgetThemeLink(component, operation);
}

void TTeControlBar::SNMThemeMessage(TMessage& m) {
    switch (static_cast<int>(m.WParam)) {
        case tmChanged:
        case tmApply:
        case tmReleased:
            // The insets come from the theme: every record is measured anew.
            ResetDockItems();
            Invalidate();
            break;
        case tmSystemChanged: Invalidate(); break;
        default: break;
    }
}

void TTeControlBar::CNKeyDown(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    if (m.WParam != VK_CONTROL || !dragged_ || !autoDrag_ || ComponentState().Contains(csDesigning)) return;
    TPoint p;
    if (!GetCursorPos(p)) return;
    p = ScreenToClient(p);
    DragControl(dragged_->Control, p.x, p.y, true);
}

// ---- records ------------------------------------------------------------------------------------

bool TTeControlBar::HasChild(const TControl* control) const {
    // By address only: the control may be gone.
    for (int k = 0; k < ControlCount(); ++k)
        if (Controls(k) == control) return true;
    return false;
}

bool TTeControlBar::IsShownBand(const TTeDockPos& record) const {
    // A record may outlive its control until the next layout drops it.
    return !record.Parent && record.Visible && HasChild(record.Control);
}

TTeDockPos* TTeControlBar::RecordOf(const TControl* control) const {
    for (const auto& r : items_)
        if (r->Control == control && !r->Parent) return r.get();
    return nullptr;
}

size_t TTeControlBar::IndexOf(const TTeDockPos* record) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].get() == record) return i;
    return items_.size();
}

std::vector<TTeControlBar::TRow> TTeControlBar::Rows() const {
    std::vector<TRow> rows;
    for (size_t i = 0; i < items_.size(); ++i) {
        if (rows.empty() || items_[i]->Break) rows.push_back(TRow{i, i});
        rows.back().last = i + 1;
    }
    return rows;
}

int TTeControlBar::GetGrabberSize() {
    if (TteTheme* theme = Theme(); theme && IsObjectDefined(ktscToolBar, themeObject_, themeLink_))
        return theme->ToolGetClientRect(ktscToolBar, ToolInfo(kInsetProbe), "default").left;
    return kClassicGrabber;
}

TRect TTeControlBar::DefaultInsets() {
    if (TteTheme* theme = Theme(); theme && IsObjectDefined(ktscToolBar, themeObject_, themeLink_)) {
        const TRect r = theme->ToolGetClientRect(ktscToolBar, ToolInfo(kInsetProbe), "default");
        return TRect{r.left, r.top, kInsetProbe.right - r.right, kInsetProbe.bottom - r.bottom};
    }
    return TRect{GetGrabberSize(), kClassicInset, kClassicInset, kClassicInset};
}

void TTeControlBar::GetControlInfo(TControl* control, TRect& insets, int& preferredSize, int& rowCount) {
    if (rowCount == 0) rowCount = 1;
    if (OnBandInfo) OnBandInfo(this, control, insets, preferredSize, rowCount);
}

void TTeControlBar::RemoveRecordsOf(TControl* control, bool* handedOn) {
    TTeDockPos* record = RecordOf(control);
    while (record) {
        const size_t index = IndexOf(record);
        TTeDockPos* next = record->SubItem;
        if (record->Break && index + 1 < items_.size() && !items_[index + 1]->Break) {
            items_[index + 1]->Break = items_[index + 1]->TempBreak = true;
            if (handedOn) *handedOn = true;
        }
        if (dragged_ == record) dragged_ = nullptr;
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
        record = next;
    }
}

void TTeControlBar::UnDockControl(TControl* control) {
    docking_ = control;
    RemoveRecordsOf(control, nullptr);
}

void TTeControlBar::DockControl(TControl* control, const TRect& rect, bool fixBreaks) {
    if (!control) return;
    TRect insets = DefaultInsets();
    int preferred = rect.Width(), rowCount = 1;
    GetControlInfo(control, insets, preferred, rowCount);
    TRect band{rect.left - insets.left, rect.top - insets.top, rect.left + preferred + insets.right,
               rect.bottom + insets.bottom};
    const int height = rect.Height() + insets.top + insets.bottom;
    int rows = 1;
    if (rowSnap_) {
        rows = std::max(1, height / rowSize_);
        if (fixBreaks && rows * rowSize_ < height) ++rows;
        band.bottom = band.top + rowSize_ * rows;
    }
    const bool visible = ComponentState().Contains(csDesigning) || control->Visible();

    TTeDockPos* above = nullptr;
    for (int k = 0; k < rows; ++k) {
        auto record = std::make_unique<TTeDockPos>();
        record->Control = control;
        record->Insets = insets;
        record->Visible = visible;
        record->Pos = TPoint{band.left, band.top + k * rowSize_};
        record->Width = band.Width();
        record->Height = rowSnap_ ? rowSize_ : band.Height();
        record->RowCount = k == 0 ? rows : 1;
        record->Parent = above;

        // The row whose lowest bottom lies below the probe line takes the
        // band, after the last band left of it whose top is above the line.
        const int probe = record->Pos.y + rowSize_ / 2;
        size_t index = items_.size();
        bool startsRow = true, ownRow = true;
        for (const TRow& row : Rows()) {
            int bottom = INT_MIN, top = INT_MAX;
            for (size_t i = row.first; i < row.last; ++i) {
                bottom = std::max(bottom, items_[i]->Pos.y + items_[i]->Height);
                top = std::min(top, items_[i]->Pos.y);
            }
            if (bottom <= probe) continue;
            index = row.first;
            for (size_t i = row.first; i < row.last; ++i)
                if (items_[i]->Pos.x < band.left && items_[i]->Pos.y < probe) index = i + 1;
            startsRow = index == row.first;
            ownRow = startsRow && index == 0 && probe < top;
            break;
        }
        if (ownRow) {
            record->Break = true;
        } else if (startsRow &&
                   (index == 0 || k > 0 || static_cast<int>(index) != redockIndex_ || breakHandedOn_)) {
            // The band takes over the row's break; the record there continues the row.
            record->Break = true;
            items_[index]->Break = false;
        }
        record->TempBreak = record->Break;
        record->TempPos = record->Pos;
        record->TempWidth = record->Width;
        TTeDockPos* placed = record.get();
        if (above) above->SubItem = placed;
        items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(index), std::move(record));
        above = placed;
    }
}

bool TTeControlBar::UpdateItems(TControl* control) {
    const bool designing = ComponentState().Contains(csDesigning);
    // Records of controls that left the bar go, as their removal would.
    std::vector<TControl*> gone;
    for (const auto& r : items_) {
        if (!HasChild(r->Control) && std::find(gone.begin(), gone.end(), r->Control) == gone.end())
            gone.push_back(r->Control);
    }
    for (TControl* c : gone) RemoveRecordsOf(c, nullptr);
    if (!gone.empty()) Invalidate();
    bool changed = false;
    for (const auto& r : items_) {
        const bool visible = designing || r->Control->Visible();
        if (r->Visible != visible) changed = true;
        r->Visible = visible;
    }

    const bool isChild = control && control->Parent() == this;
    TTeDockPos* own = isChild ? RecordOf(control) : nullptr;
    const bool newChild = isChild && !own;
    const bool wasDragged = own && dragged_ == own;
    TRect redock;
    if (own) {
        redock = wasDragged ? Bounds(own->Pos.x + own->Insets.left, own->Pos.y + own->Insets.top,
                                     control->Width(), control->Height())
                            : control->BoundsRect();
        redockIndex_ = static_cast<int>(IndexOf(own));
        breakHandedOn_ = false;
        RemoveRecordsOf(control, &breakHandedOn_);
    }

    std::vector<TControl*> fresh;
    for (int k = 0; k < ControlCount(); ++k) {
        TControl* c = Controls(k);
        if ((own && c == control) || RecordOf(c)) continue;
        fresh.push_back(c);
    }
    std::stable_sort(fresh.begin(), fresh.end(), [](const TControl* a, const TControl* b) {
        return a->Top() != b->Top() ? a->Top() < b->Top() : a->Left() < b->Left();
    });
    for (TControl* c : fresh) DockControl(c, c->BoundsRect());

    if (own) {
        DockControl(control, redock, true);
        if (wasDragged) dragged_ = RecordOf(control);
    }
    redockIndex_ = -1;
    breakHandedOn_ = false;
    if (changed) Invalidate();
    return newChild;
}

// ---- layout -------------------------------------------------------------------------------------

void TTeControlBar::PackRow(const TRect& area, size_t first, size_t& last, int top) {
    struct TSaved {
        TPoint pos;
        int width;
    };
    std::vector<TSaved> saved;
    for (size_t i = first; i < last; ++i) saved.push_back({items_[i]->TempPos, items_[i]->TempWidth});
    for (;;) {
        std::vector<TTeDockPos*> placed;
        int reached = area.left, gaps = 0;
        for (size_t i = first; i < last; ++i) {
            TTeDockPos* r = items_[i].get();
            if (!r->Visible) continue;
            if (r->Parent) {
                r->TempPos = TPoint{r->Parent->TempPos.x, r->Parent->TempPos.y + r->Parent->Height};
                r->TempWidth = r->Parent->TempWidth;
            } else {
                TRect insets = r->Insets;
                int preferred = r->Control->Width(), rowCount = r->RowCount;
                GetControlInfo(r->Control, insets, preferred, rowCount);
                TRect band = Bounds(r->TempPos.x, r->TempPos.y, preferred + HorzInsets(*r), r->Height);
                DoBandMove(r->Control, band);
                r->TempPos = TPoint{band.left, band.top};
                r->TempWidth = band.Width();
            }
            int x = r->TempPos.x;
            if (x < reached) {
                const int push = std::min(reached - x, gaps);
                ShiftLeft(placed, push, area.left);
                gaps -= push;
                reached -= push;
                x = reached;
            } else {
                gaps += x - reached;
            }
            r->TempPos = TPoint{x, top};
            reached = x + r->TempWidth;
            placed.push_back(r);
        }
        if (reached <= area.right) return;

        int excess = reached - area.right;
        const int push = std::min(excess, gaps);
        ShiftLeft(placed, push, area.left);
        excess -= push;
        for (size_t j = placed.size(); j-- > 0 && excess > 0;) {
            TTeDockPos* r = placed[j];
            const int least = r->Control->Constraints()->MinWidth() + HorzInsets(*r);
            const int narrow = std::min(excess, std::max(0, r->TempWidth - least));
            if (narrow <= 0) continue;
            r->TempWidth -= narrow;
            for (size_t k = j + 1; k < placed.size(); ++k) placed[k]->TempPos.x -= narrow;
            excess -= narrow;
        }
        if (excess <= 0 || placed.size() < 2) return;

        // Still too wide: the last band starts a row of its own at full width.
        TTeDockPos* wrapped = placed.back();
        for (size_t i = first; i < last; ++i) {
            items_[i]->TempPos = saved[i - first].pos;
            items_[i]->TempWidth = saved[i - first].width;
        }
        wrapped->TempBreak = true;
        wrapped->TempPos.x = area.left;
        wrapped->TempWidth = wrapped->Control->Width() + HorzInsets(*wrapped);
        last = IndexOf(wrapped);
        saved.resize(last - first);
    }
}

bool TTeControlBar::PackRows(const TRect& area) {
    for (const auto& r : items_) {
        r->TempBreak = r->Break || r.get() == items_.front().get();
        r->TempPos = r->Pos;
        r->TempWidth = r->Width;
    }
    bool resynced = false;
    for (int pass = 0; pass < 2; ++pass) {
        int top = area.top;
        for (size_t first = 0; first < items_.size();) {
            size_t last = first + 1;
            while (last < items_.size() && !items_[last]->TempBreak) ++last;
            PackRow(area, first, last, top);
            int bottom = top;
            for (size_t i = first; i < last; ++i)
                if (items_[i]->Visible) bottom = std::max(bottom, top + items_[i]->Height);
            top = bottom;
            first = last;
        }
        if (pass == 1) break;
        // A later row of a band pushed away from the row above takes the
        // whole band with it, and the rows are packed once more.
        bool outOfStep = false;
        for (const auto& r : items_) {
            if (!r->Parent || !r->Visible) continue;
            if (r->TempPos.x == r->Parent->TempPos.x && r->TempWidth == r->Parent->TempWidth) continue;
            TTeDockPos* head = r->Parent;
            while (head->Parent) head = head->Parent;
            for (TTeDockPos* p = head; p; p = p->SubItem) {
                if (p == r.get()) continue;
                p->TempPos.x = r->TempPos.x;
                p->TempWidth = r->TempWidth;
            }
            outOfStep = true;
        }
        if (!outOfStep) break;
        resynced = true;
    }
    return resynced;
}

void TTeControlBar::AlignControls(TControl* control, TRect& rect) {
    if (aligning_) return;
    aligning_ = true;
    try {
        UpdateItems(control);
        PackRows(rect);
        bool moved = false;
        for (const auto& r : items_) {
            if (!IsShownBand(*r)) continue;
            int extra = 0;
            for (TTeDockPos* s = r->SubItem; s; s = s->SubItem) extra += s->Height;
            TControl* c = r->Control;
            const int left = r->TempPos.x + r->Insets.left, top = r->TempPos.y + r->Insets.top;
            const int height = r->Height - VertInsets(*r) + extra;
            if (c->Left() == left && c->Top() == top && c->Height() == height) continue;
            c->SetBounds(left, top, c->Width(), height);
            moved = true;
        }
        if (moved || control) Invalidate();
        AdjustSize();
    } catch (...) {
        aligning_ = false;
        throw;
    }
    aligning_ = false;
}

void TTeControlBar::DoAlignControl() {
    if (!HandleAllocated() || ComponentState().Contains(csDestroying)) return;
    DisableAlign();
    TRect r = ClientRect();
    AlignControls(nullptr, r);
    ControlState.Exclude(csAlignmentNeeded);
    EnableAlign();
}

bool TTeControlBar::CanAutoSize(int& newWidth, int& newHeight) {
    if (!HandleAllocated()) return false;
    if (ControlCount() == 0 && !ComponentState().Contains(csDesigning)) return false;
    const bool sideways = Align() == alLeft || Align() == alRight;
    int extent = 0;
    for (const auto& r : items_) {
        if (!IsShownBand(*r)) continue;
        extent = sideways ? std::max(extent, r->TempPos.x + r->Control->Width() + HorzInsets(*r))
                          : std::max(extent, r->TempPos.y + r->Control->Height() + VertInsets(*r));
    }
    // The client rectangle follows the stored size, which a resize under
    // way has not reached yet: the frame is measured against that.
    if (sideways)
        newWidth = extent + StoredWidth() - ClientWidth();
    else
        newHeight = extent + StoredHeight() - ClientHeight();
    return true;
}

void TTeControlBar::StickControls() {
    for (const auto& r : items_) {
        if (r->Parent) {
            r->Pos = TPoint{r->Parent->Pos.x, r->Parent->Pos.y + r->Parent->Height};
            r->Width = r->Parent->Width;
        } else {
            const TControl* c = r->Control;
            r->Pos = TPoint{c->Left() - r->Insets.left, c->Top() - r->Insets.top};
            r->Width = c->Width() + HorzInsets(*r);
        }
        r->Break = r->TempBreak;
        r->TempPos = r->Pos;
        r->TempWidth = r->Width;
    }
}

void TTeControlBar::ResetDockItems() {
    dragged_ = nullptr;
    docking_ = nullptr;
    items_.clear();
    DoAlignControl();
}

TControl* TTeControlBar::HitTest(int x, int y) {
    for (const auto& r : items_) {
        if (!IsShownBand(*r)) continue;
        const TControl* c = r->Control;
        const TRect band{c->Left() - r->Insets.left, c->Top() - r->Insets.top,
                         c->Left() + c->Width() + r->Insets.right, c->Top() + c->Height() + r->Insets.bottom};
        if (band.Contains(TPoint{x, y})) return r->Control;
    }
    return nullptr;
}

// ---- mouse --------------------------------------------------------------------------------------

bool TTeControlBar::DragControl(TControl* control, int, int, bool keepCapture) {
    bool drag = true;
    if (OnBandDrag) OnBandDrag(this, control, drag);
    if (!drag) return false;
    // The control leaves the bar's hands: its own drag follows the mouse.
    dragged_ = nullptr;
    undocking_ = control;
    if (!keepCapture) SetMouseCapture(false);
    control->BeginDrag(true);
    return true;
}

void TTeControlBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TTeControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !MouseCapture()) return;
    ResetDockItems();
    TControl* control = HitTest(x, y);
    if (!control) return;
    if (shift.Contains(ssDouble) && !ComponentState().Contains(csDesigning)) {
        DragControl(control, x, y, false);
        return;
    }
    dragged_ = RecordOf(control);
    if (control == docking_)
        docking_ = nullptr;
    else
        StickControls();
    grabOffset_ = TPoint{dragged_->Pos.x - x, dragged_->Pos.y - y};
}

void TTeControlBar::MouseMove(TShiftState shift, int x, int y) {
    TTeControl::MouseMove(shift, x, y);
    if (!dragged_ || !MouseCapture()) return;
    TTeDockPos* r = dragged_;
    const TPoint pos{x + grabOffset_.x, y + grabOffset_.y};
    r->Pos = r->TempPos = pos;
    r->TempWidth = r->Control->Width() + HorzInsets(*r);
    if (autoDrag_ && !ComponentState().Contains(csDesigning)) {
        const int reach = r->Control->Height();
        const bool far = pos.x < -reach || pos.y < -reach || pos.x > ClientWidth() + reach ||
                         pos.y > ClientHeight() + reach;
        if (far && DragControl(r->Control, x, y, true)) return;
    }
    DisableAlign();
    TRect area = ClientRect();
    AlignControls(r->Control, area);
    ControlState.Exclude(csAlignmentNeeded);
    EnableAlign();
}

void TTeControlBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TTeControl::MouseUp(button, shift, x, y);
    // The bar held the mouse for the control it let go of: the release is that drag's drop.
    if (TControl* c = std::exchange(undocking_, nullptr); c && HasChild(c) && c->Dragging()) c->EndDrag(true);
    if (!dragged_) return;
    const bool wasDocking = dragged_->Control == docking_;
    dragged_ = nullptr;
    if (!wasDocking) StickControls();
}

void TTeControlBar::DockOver(TDragDockObject& source, int x, int y, TDragState state, bool& accept) {
    TTeControl::DockOver(source, x, y, state, accept);
    TControl* control = source.Control;
    if (!autoDrag_ || !autoDock_ || !accept || state != dsDragEnter || !control->Floating()) return;
    // Docked where it is, it is laid into the row under its probe line.
    control->ManualDock(this, ScreenToClient(TPoint{source.DockRect.left, source.DockRect.top}));
    source.Docked = true;
    if (!HasChild(control)) return;
    dragged_ = RecordOf(control);
    // The held button goes on dragging it, now as a band.
    PostMessage(Handle(), WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(TPoint{control->Left(), control->Top()}));
}

// ---- painting -----------------------------------------------------------------------------------

void TTeControlBar::DoBandMove(TControl* control, TRect& rect) {
    if (OnBandMove) OnBandMove(this, control, rect);
}

void TTeControlBar::DoBandPaint(TControl* control, TCanvas* canvas, TRect& rect, TBandPaintOptions& options) {
    if (OnBandPaint) OnBandPaint(this, control, canvas, rect, options);
}

void TTeControlBar::PaintBackground() {
    TCanvas& c = *Canvas();
    const TRect client{0, 0, Width(), Height()};
    TteTheme* theme = Theme();
    if (theme && IsObjectDefined(ktscToolBar, themeObject_, themeLink_))
        theme->DockDraw(kdscDock, c, DockInfo(client), "default");
    else
        FillRect(c, client, Color());
}

void TTeControlBar::PaintControlFrame(TCanvas& canvas, TControl* control, const TRect& rect) {
    TBandPaintOptions options{bpoGrabber, bpoFrame};
    TRect r = rect;
    DoBandPaint(control, &canvas, r, options);
    TteTheme* theme = Theme();
    if (theme && IsObjectDefined(ktscToolBar, themeObject_, themeLink_)) {
        theme->ToolDraw(ktscToolBar, canvas, ToolInfo(r), "default");
        if (options.Contains(bpoGrabber))
            theme->ToolDrawItem(ktscToolBar, canvas,
                                ToolItemInfo(TRect{r.left + 3, r.top + 2, r.left + 9, r.bottom - 2},
                                             kticGripper, mtidsNormal),
                                "default");
        return;
    }
    DrawClassicBand(canvas, r, options);
}

void TTeControlBar::PaintBuffer() {
    PaintBackground();
    if (OnPaint) OnPaint(this);
    for (const auto& r : items_) {
        if (!IsShownBand(*r)) continue;
        TControl* c = r->Control;
        PaintControlFrame(
            *Canvas(), c,
            TRect{c->Left() - r->Insets.left, c->Top() - r->Insets.top,
                  c->Left() + c->Width() + r->Insets.right, c->Top() + c->Height() + r->Insets.bottom});
    }
}

void TTeControlBar::PaintAsBackground(HDC dc) {
    TCanvasOnDC on(*Canvas(), dc);
    PaintBackground();
}

void DrawClassicBand(TCanvas& canvas, const TRect& r, TBandPaintOptions options) {
    if (options.Contains(bpoFrame)) DrawEdge(canvas, r, clBtnHighlight, clBtnShadow);
    if (!options.Contains(bpoGrabber)) return;
    const TRect g{r.left + 3, r.top + 2, r.left + 5, r.bottom - 3};
    for (int shift : {0, 3}) {
        const int left = g.left + shift, right = g.right + shift;
        canvas.Pen()->SetColor(clBtnHighlight);
        canvas.MoveTo(left + 2, g.top);
        canvas.LineTo(left, g.top);
        canvas.LineTo(left, g.bottom + 1);
        canvas.Pen()->SetColor(clBtnShadow);
        canvas.MoveTo(right, g.top);
        canvas.LineTo(right, g.bottom);
        canvas.LineTo(left, g.bottom);
    }
}

}  // namespace tarvel
