// THeaderControl: sections in display order, hit testing and divider tracking.

#include <algorithm>
#include <numeric>

#include "platform/classlib/ComCtrlMessages.h"
#include "platform/classlib/ComCtrls_ListView.h"
#include "platform/classlib/ControlPaint.h"

namespace tarvel {

namespace {
constexpr int kDividerSlop = 3;  // pixels either side of a divider that grab it
}

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
    header_->SectionsChanged();
}

void THeaderSections::Clear() {
    RemoveAll();
    header_->order_.clear();
    header_->SectionsChanged();
}

THeaderControl::THeaderControl(TComponent* owner) : TCustomControl(owner) {
    ControlStyle = {csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
    SetColor(clBtnFace);
    SetBounds(0, 0, 200, 17);
}

void THeaderControl::SectionsChanged() { Invalidate(); }

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

void THeaderControl::Paint() {
    HDC dc = Canvas()->Handle();
    const TRect c = ClientRect();
    FillColor(dc, c, Color());
    static const unsigned kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    int right = 0;
    for (int i : order_) {
        THeaderSection* s = sections_.Items(i);
        TRect r = SectionRect(i);
        right = r.right;
        if (OnDrawSection) {
            OnDrawSection(this, s, r, i == pressed_);
            continue;
        }
        TRect face = r;
        DrawButtonFace(dc, face, i == pressed_);
        if (i == pressed_) face.Offset(1, 1);
        face = InflatedRect(face, -3, 0);
        if (images_ && s->ImageIndex() >= 0) {
            images_->Draw(Canvas(), face.left, face.top + (face.Height() - images_->Height()) / 2, s->ImageIndex(), Enabled());
            face.left += images_->Width() + 3;
        }
        DrawCaption(dc, Font(), s->Text(), face, kAlign[s->Alignment()] | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS,
                    Enabled() ? Font()->Color() : clGrayText);
    }
    if (right < c.right) {
        TRect rest{right, 0, c.right, c.bottom};
        DrawButtonFace(dc, rest, false);
    }
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
    if (sections_.Items(hit.section)->AllowClick()) {
        pressed_ = hit.section;
        Invalidate();
    }
}

void THeaderControl::MouseMove(TShiftState shift, int x, int y) {
    TCustomControl::MouseMove(shift, x, y);
    if (tracking_ < 0) {
        const THeaderHit hit = HitTest(TPoint{x, y});
        SetCursor(hit.onDivider ? crSizeWE : crDefault);
        return;
    }
    THeaderSection* s = sections_.Items(tracking_);
    trackWidth_ = std::clamp(trackStartWidth_ + x - trackStartX_, s->MinWidth(), std::max(s->MinWidth(), s->MaxWidth()));
    if (fullDrag_) s->SetWidth(trackWidth_);
    if (OnSectionTrack) OnSectionTrack(this, s, trackWidth_, tsTrackMove);
}

void THeaderControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseUp(button, shift, x, y);
    if (button != mbLeft) return;
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
