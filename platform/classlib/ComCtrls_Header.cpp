// THeaderControl: sections in display order, hit testing, divider tracking
// and sections dragged to another place.

#include <algorithm>
#include <numeric>

#include "platform/classlib/ComCtrlMessages.h"
#include "platform/classlib/ComCtrls_ListView.h"
#include "platform/classlib/ControlPaint.h"

namespace tarvel {

namespace {
constexpr int kDividerSlop = 3;  // pixels either side of a divider that grab it
}  // namespace

void THeaderSection::Changed() { header_->SectionsChanged(); }
void THeaderSection::SetText(const String& text) {
    text_ = text;
    Changed();
}
void THeaderSection::SetWidth(int w) {
    width_ = std::clamp(w, minWidth_, std::max(minWidth_, maxWidth_));
    Changed();
}
void THeaderSection::SetMinWidth(int w) {
    minWidth_ = std::max(0, w);
    SetWidth(width_);
}
void THeaderSection::SetMaxWidth(int w) {
    maxWidth_ = w <= 0 ? 10000 : w;
    SetWidth(width_);
}
void THeaderSection::SetAlignment(TAlignment a) {
    alignment_ = a;
    Changed();
}
void THeaderSection::SetImageIndex(int i) {
    imageIndex_ = i;
    Changed();
}
int THeaderSection::Index() const { return header_->Sections()->IndexOf(this); }

THeaderSection* THeaderSections::Add() {
    THeaderSection* section = Append(new THeaderSection(header_));
    header_->order_.push_back(Count() - 1);
    header_->SectionsChanged();
    return section;
}

void THeaderSections::Delete(int index) {
    Remove(index);
    auto& order = header_->order_;
    std::erase(order, index);
    for (int& o : order)
        if (o > index) --o;
    header_->ForgetMouse();
    header_->SectionsChanged();
}

void THeaderSections::Clear() {
    RemoveAll();
    header_->order_.clear();
    header_->ForgetMouse();
    header_->SectionsChanged();
}

THeaderControl::THeaderControl(TComponent* owner) : TCustomControl(owner) {
    ControlStyle = {csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
    SetColor(clBtnFace);
    SetBounds(0, 0, 200, 17);
}

void THeaderControl::SectionsChanged() { Invalidate(); }

// A section went while the mouse held one: the indexes held are stale.
void THeaderControl::ForgetMouse() { tracking_ = pressed_ = down_ = dragging_ = dropPlace_ = -1; }

void THeaderControl::SetImages(TCustomImageList* images) {
    images_ = images;
    Invalidate();
}

std::vector<int> THeaderControl::SectionOrder() const { return order_; }

void THeaderControl::SetSectionOrder(const std::vector<int>& order) {
    // Only a permutation of the sections is taken.
    std::vector<int> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    std::vector<int> all(static_cast<size_t>(sections_.Count()));
    std::iota(all.begin(), all.end(), 0);
    if (sorted != all) return;
    order_ = order;
    Invalidate();
}

void THeaderControl::SetOffset(int offset) {
    offset_ = offset;
    Invalidate();
}

TRect THeaderControl::SectionRect(int index) {
    int x = -offset_;
    for (int i : order_) {
        const int w = sections_.Items(i)->Width();
        if (i == index) return TRect{x, 0, x + w, ClientHeight()};
        x += w;
    }
    return TRect{};
}

THeaderHit THeaderControl::HitTest(TPoint p) {
    THeaderHit hit;
    if (p.y < 0 || p.y >= ClientHeight()) return hit;
    for (int i : order_) {
        const TRect r = SectionRect(i);
        if (std::abs(p.x - r.right) <= kDividerSlop) return THeaderHit{i, true};
    }
    for (int i : order_)
        if (SectionRect(i).Contains(p)) return THeaderHit{i, false};
    return hit;
}

void THeaderControl::PaintSection(HDC dc, THeaderSection* s, TRect r, bool pressed) {
    if (OnDrawSection) {
        OnDrawSection(this, s, r, pressed);
        return;
    }
    static const unsigned kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    TRect face = r;
    DrawButtonFace(dc, face, pressed);
    if (pressed) face.Offset(1, 1);
    face = InflatedRect(face, -3, 0);
    if (images_ && s->ImageIndex() >= 0) {
        images_->Draw(Canvas(), face.left, face.top + (face.Height() - images_->Height()) / 2,
                      s->ImageIndex(), Enabled());
        face.left += images_->Width() + 3;
    }
    DrawCaption(dc, Font(), s->Text(), face,
                kAlign[s->Alignment()] | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS,
                Enabled() ? Font()->Color() : clGrayText);
}

void THeaderControl::Paint() {
    HDC dc = Canvas()->Handle();
    const TRect c = ClientRect();
    FillColor(dc, c, Color());
    int right = -offset_;
    for (int i : order_) {
        const TRect r = SectionRect(i);
        right = r.right;
        if (i == dragging_)
            FillColor(dc, r, clBtnShadow);  // the place it leaves
        else
            PaintSection(dc, sections_.Items(i), r, i == pressed_);
    }
    if (right < c.right) {
        TRect rest{right, 0, c.right, c.bottom};
        DrawButtonFace(dc, rest, false);
    }
    if (dragging_ >= 0) {
        // The dragged section follows the mouse, with a mark where it would go.
        const int w = sections_.Items(dragging_)->Width();
        PaintSection(dc, sections_.Items(dragging_), TRect{dragLeft_, 0, dragLeft_ + w, c.bottom}, true);
        if (dropPlace_ >= 0) {
            const int count = static_cast<int>(order_.size());
            const int x =
                dropPlace_ < count ? SectionRect(order_[static_cast<size_t>(dropPlace_)]).left : right;
            FillColor(dc, TRect{x - 1, 0, x + 1, c.bottom}, clHighlight);
        }
    }
}

int THeaderControl::DropPlace(int x) {
    int place = 0;
    for (int i : order_) {
        const TRect r = SectionRect(i);
        if (x < r.left + r.Width() / 2) return place;
        ++place;
    }
    return place;
}

void THeaderControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    const THeaderHit hit = HitTest(TPoint{x, y});
    if (hit.section < 0) return;
    if (hit.onDivider) {
        tracking_ = hit.section;
        trackStartX_ = x;
        trackStartWidth_ = trackWidth_ = sections_.Items(hit.section)->Width();
        if (OnSectionTrack) OnSectionTrack(this, sections_.Items(hit.section), trackWidth_, tsTrackBegin);
        return;
    }
    down_ = hit.section;
    downX_ = x;
    dragRefused_ = false;
    if (sections_.Items(hit.section)->AllowClick()) {
        pressed_ = hit.section;
        Invalidate();
    }
}

void THeaderControl::MouseMove(TShiftState shift, int x, int y) {
    TCustomControl::MouseMove(shift, x, y);
    if (dragging_ < 0 && down_ >= 0 && dragReorder_ && !dragRefused_ &&
        std::abs(x - downX_) > kDragThreshold) {
        if (NotifyParent(this, HDN_BEGINDRAG) != 0) {
            dragRefused_ = true;
        } else {
            dragging_ = down_;
            pressed_ = -1;
            dragGrab_ = SectionRect(down_).left - downX_;
        }
    }
    if (dragging_ >= 0) {
        dragLeft_ = x + dragGrab_;
        dropPlace_ = DropPlace(x);
        Invalidate();
        return;
    }
    if (tracking_ < 0) {
        const THeaderHit hit = HitTest(TPoint{x, y});
        SetCursor(hit.onDivider ? crSizeWE : crDefault);
        return;
    }
    THeaderSection* s = sections_.Items(tracking_);
    trackWidth_ = std::clamp(trackStartWidth_ + x - trackStartX_, s->MinWidth(),
                             std::max(s->MinWidth(), s->MaxWidth()));
    if (fullDrag_) s->SetWidth(trackWidth_);
    if (OnSectionTrack) OnSectionTrack(this, s, trackWidth_, tsTrackMove);
}

void THeaderControl::EndDrag() {
    const int dragged = dragging_;
    const int from = static_cast<int>(std::find(order_.begin(), order_.end(), dragged) - order_.begin());
    // The drop place counts the dragged section itself when it lies to its right.
    int to = dropPlace_ > from ? dropPlace_ - 1 : dropPlace_;
    to = std::clamp(to, 0, static_cast<int>(order_.size()) - 1);
    dragging_ = dropPlace_ = -1;
    Invalidate();
    bool allow = NotifyParent(this, HDN_ENDDRAG) == 0;
    if (OnSectionDrag)
        OnSectionDrag(this, sections_.Items(dragged), sections_.Items(order_[static_cast<size_t>(to)]),
                      allow);
    if (!allow) return;
    order_.erase(order_.begin() + from);
    order_.insert(order_.begin() + to, dragged);
    if (OnSectionEndDrag) OnSectionEndDrag(this);
}

void THeaderControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseUp(button, shift, x, y);
    if (button != mbLeft) return;
    down_ = -1;
    if (dragging_ >= 0) {
        EndDrag();
        return;
    }
    if (tracking_ >= 0) {
        THeaderSection* s = sections_.Items(tracking_);
        tracking_ = -1;
        s->SetWidth(trackWidth_);
        NotifyParent(this, HDN_ENDTRACK);
        if (OnSectionTrack) OnSectionTrack(this, s, trackWidth_, tsTrackEnd);
        if (OnSectionResize) OnSectionResize(this, s);
        return;
    }
    if (pressed_ >= 0) {
        const int section = pressed_;
        pressed_ = -1;
        Invalidate();
        if (!SectionRect(section).Contains(TPoint{x, y})) return;
        NotifyParent(this, HDN_ITEMCLICK);
        if (OnSectionClick) OnSectionClick(this, sections_.Items(section));
    }
}

}  // namespace tarvel
