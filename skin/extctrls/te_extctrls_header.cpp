#include "skin/extctrls/te_extctrls_header.h"

#include <algorithm>

#include "platform/winsys/PaintApi.h"
#include "skin/core/te_canvas_state.h"
#include "skin/core/te_const.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_utils_draw.h"

namespace tarvel {

// ---- TTeHeaderSection ------------------------------------------------------------------------

TTeHeaderSection::TTeHeaderSection(TCollection* collection) : TCollectionItem(collection) {}

TTeHeaderControl* TTeHeaderSection::HeaderControl() const {
    auto* sections = dynamic_cast<TTeHeaderSections*>(Collection());
    return sections ? sections->HeaderControl() : nullptr;
}

String TTeHeaderSection::GetDisplayName() {
    return text_.empty() ? TCollectionItem::GetDisplayName() : WideToUtf8(text_);
}

void TTeHeaderSection::Changed(bool repaintFollowing) {
    if (TTeHeaderControl* header = HeaderControl()) header->SectionChanged(Index(), repaintFollowing);
}

bool TTeHeaderSection::ImageVisible() const {
    TTeHeaderControl* header = HeaderControl();
    return showImage_ && header && header->Images() && imageIndex_ >= 0 &&
           imageIndex_ < header->Images()->Count();
}

int TTeHeaderSection::Width() {
    if (!autoSize_) return width_;
    TTeHeaderControl* header = HeaderControl();
    if (!header) return width_;
    const int tw = header->GetTextSize(this).cx;
    if (ImageVisible()) return header->GetImageSize(this).cx + margin_ + spacing_ + tw + margin_;
    return tw + 2 * margin_;
}

void TTeHeaderSection::SetWidth(int value) {
    if (value == width_) return;
    width_ = std::max(std::min(value, maxWidth_), minWidth_);
    if (!autoSize_) Changed(true);
}

void TTeHeaderSection::SetMinWidth(int value) {
    minWidth_ = std::max(0, value);
    if (width_ < minWidth_) SetWidth(minWidth_);
    if (autoSize_) Changed(true);
}

void TTeHeaderSection::SetMaxWidth(int value) {
    maxWidth_ = value;
    if (width_ > maxWidth_) SetWidth(maxWidth_);
    if (autoSize_) Changed(true);
}

void TTeHeaderSection::SetAutoSize(bool value) {
    if (value == autoSize_) return;
    if (!value) width_ = Width();
    autoSize_ = value;
    Changed(true);
}

void TTeHeaderSection::SetText(const WideString& value) {
    text_ = value;
    Changed(autoSize_);
}

void TTeHeaderSection::SetAlignment(TAlignment value) {
    alignment_ = value;
    Changed(false);
}

void TTeHeaderSection::SetLayout(TTeHeaderGliphLayout value) {
    layout_ = value;
    Changed(false);
}

void TTeHeaderSection::SetImageIndex(int value) {
    imageIndex_ = value;
    Changed(autoSize_);
}

void TTeHeaderSection::SetShowImage(bool value) {
    showImage_ = value;
    Changed(autoSize_);
}

void TTeHeaderSection::SetMargin(int value) {
    margin_ = value;
    Changed(autoSize_);
}

void TTeHeaderSection::SetSpacing(int value) {
    spacing_ = value;
    Changed(autoSize_);
}

void TTeHeaderSection::SetStyle(TTeHeaderSectionStyle value) {
    style_ = value;
    Changed(false);
}

int TTeHeaderSection::GetLeft() {
    TTeHeaderControl* header = HeaderControl();
    return header ? header->GetSectionRect(Index()).left : 0;
}

void TTeHeaderSection::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TTeHeaderSection*>(source);
    if (!other) {
        TCollectionItem::Assign(source);
        return;
    }
    SetAlignment(other->alignment_);
    SetAllowClick(other->allowClick_);
    SetAutoSize(other->autoSize_);
    SetImageIndex(other->imageIndex_);
    SetLayout(other->layout_);
    SetMargin(other->margin_);
    SetMaxWidth(other->maxWidth_);
    SetMinWidth(other->minWidth_);
    SetSpacing(other->spacing_);
    SetStyle(other->style_);
    SetShowImage(other->showImage_);
    SetText(other->text_);
    SetWidth(other->width_);
}

// ---- TTeHeaderSections -----------------------------------------------------------------------

TTeHeaderSections::TTeHeaderSections(TTeHeaderControl* header)
    : TCollection(TTeHeaderSection::StaticClass()), header_(header) {}

TPersistent* TTeHeaderSections::GetOwner() { return header_; }

void TTeHeaderSections::Update(TCollectionItem*) {
    if (header_) header_->Invalidate();
}

// A copy of a header's sections kept elsewhere grows itself, not the header.
TTeHeaderSection* TTeHeaderSections::Add() {
    if (header_ && header_->Sections() == this) return header_->CreateSection();
    return static_cast<TTeHeaderSection*>(TCollection::Add());
}

TTeHeaderSection* TTeHeaderSections::Insert(int index) { return AddItem(nullptr, index); }

TTeHeaderSection* TTeHeaderSections::AddItem(TTeHeaderSection* section, int index) {
    const int before = Count();
    if (!section)
        section = Add();
    else if (section->Collection() != this)
        section->SetCollection(this);
    if (index >= 0 && index < before) section->SetIndex(index);
    Changed();
    return section;
}

// ---- TTeHeaderControl ------------------------------------------------------------------------

void TTeHeaderControl::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeHeaderControl::CMInvalidate>(CM_FONTCHANGED);
    t.Add<&TTeHeaderControl::CMInvalidate>(CM_SYSCOLORCHANGE);
    t.Add<&TTeHeaderControl::CMMouseLeaveHeader>(CM_MOUSELEAVE);
    t.Add<&TTeHeaderControl::SNMThemeMessage>(SNM_THEMEMESSAGE);
}

TTeHeaderControl::TTeHeaderControl(TComponent* owner)
    : TTeControl(owner),
      TTeThemeLinked(this, {ktlrSkipSame, ktlrRepaintOnly}),
      sections_(std::make_unique<TTeHeaderSections>(this)) {
    SetBevelSides(TTeBevelSides{kbsLeft, kbsTop, kbsRight, kbsBottom});
    SetBevelInner(kbvSpace);
    SetBevelOuter(kbvSpace);
    SetBevelWidth(0);
    TTeControl::SetBorderWidth(0);
    SetHeight(17);
    AddThemeNotification(this);
}

TTeHeaderControl::~TTeHeaderControl() {
    RemoveThemeNotification(this);
    if (lineDC_ && HandleAllocated()) ReleaseDC(Handle(), lineDC_);
    sections_.reset();
}

void TTeHeaderControl::Notification(TComponent* component, TOperation operation) {
    TTeControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == images_) images_ = nullptr;
    ForgetThemeLink(component, operation);
}

void TTeHeaderControl::SNMThemeMessage(TMessage& m) {
    if (m.WParam == tmChanged || m.WParam == tmApply || m.WParam == tmReleased || m.WParam == tmSystemChanged)
        Invalidate();
}

void TTeHeaderControl::CMMouseLeaveHeader(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    SetMouseOnSectionIndex(-1);
    SetMouseOnResizeArea(false);
    SetUnderDragSectionIndex(-1);
}

void TTeHeaderControl::SetImages(TCustomImageList* value) {
    if (images_) images_->RemoveFreeNotification(this);
    images_ = value;
    if (images_) images_->FreeNotification(this);
    RepaintFrom(0);
}

void TTeHeaderControl::SetHotTrack(bool value) {
    hotTrack_ = value;
    Invalidate();
}

TTeHeaderSection* TTeHeaderControl::CreateSection() {
    TClass cls = TTeHeaderSection::StaticClass();
    if (OnCreateSectionClass) OnCreateSectionClass(this, cls);
    if (!cls || !cls->InheritsFrom(TTeHeaderSection::StaticClass())) cls = TTeHeaderSection::StaticClass();
    auto* section = cls->Create<TTeHeaderSection>(static_cast<TCollection*>(sections_.get()));
    RepaintFrom(section->Index());
    return section;
}

// ---- state setters ---------------------------------------------------------------------------

void TTeHeaderControl::RepaintRect(const TRect& r) {
    if (HandleAllocated()) InvalidateRect(r);
}

void TTeHeaderControl::RepaintSection(int index) {
    if (index >= 0 && index < Count()) RepaintRect(GetSectionRect(index));
}

void TTeHeaderControl::RepaintFrom(int index) {
    const TRect b = GetBorderRect();
    const int left = index >= 0 && index < Count() ? GetSectionRect(index).left : b.left;
    RepaintRect(TRect{left, b.top, Width(), b.bottom});
}

void TTeHeaderControl::SectionChanged(int index, bool repaintFollowing) {
    if (repaintFollowing)
        RepaintFrom(index);
    else
        RepaintSection(index);
}

// Repaints the section the index named and the one it names now.
void TTeHeaderControl::SetStateIndex(int& field, int value) {
    if (value == field) return;
    const int old = field;
    field = value;
    RepaintSection(old);
    RepaintSection(value);
}

void TTeHeaderControl::SetMouseOnSectionIndex(int value) { SetStateIndex(mouseOnIndex_, value); }

void TTeHeaderControl::SetMouseDownOnSectionIndex(int value) { SetStateIndex(mouseDownIndex_, value); }

void TTeHeaderControl::SetUnderDragSectionIndex(int value) { SetStateIndex(underDragIndex_, value); }

void TTeHeaderControl::SetDraggingSectionIndex(int value) { SetStateIndex(draggingIndex_, value); }

void TTeHeaderControl::SetMouseOnResizeArea(bool value) {
    onResizeArea_ = value;
    RepaintSection(mouseOnIndex_);
}

// ---- geometry --------------------------------------------------------------------------------

TRect TTeHeaderControl::GetSectionRect(int index) {
    const TRect b = GetBorderRect();
    int left = b.left;
    for (int i = 0; i < index && i < Count(); ++i) left += Section(i)->Width();
    const int width = index >= 0 && index < Count() ? Section(index)->Width() : 0;
    return TRect{left, b.top, left + width, b.bottom};
}

int TTeHeaderControl::GetSectionIndexAtPoint(int x) {
    const TRect b = GetBorderRect();
    if (x < b.left) return -1;
    int left = b.left;
    for (int i = 0; i < Count(); ++i) {
        const int right = left + Section(i)->Width();
        if (x >= left && x < right) return i;
        left = right;
    }
    return Count();
}

void TTeHeaderControl::GetPtInSection(TPoint p, int& index, bool& resize) {
    index = -1;
    resize = false;
    const TRect b = GetBorderRect();
    if (p.y < b.top || p.y >= b.bottom || p.x < b.left || Count() == 0) return;
    int left = b.left;
    for (int k = 0; k < Count(); ++k) {
        TTeHeaderSection* s = Section(k);
        const int edge = left + s->Width();
        const int own = s->GetResizeCatchAreaWidth();
        const int next = k + 1 < Count() ? Section(k + 1)->GetResizeCatchAreaWidth() : own;
        if (p.x < edge + next) {
            index = k;
            resize = p.x > edge - own;
            return;
        }
        left = edge;
    }
    resize = p.x <= left + 10;
}

int TTeHeaderControl::GetDropPosition(int x) {
    const int i = GetSectionIndexAtPoint(x);
    if (i + 1 > Count()) return Count();
    if (i == -1) return 0;
    const TRect r = GetSectionRect(i);
    return x < r.left + r.Width() / 2 ? i : i + 1;
}

int TTeHeaderControl::GetPressedSection() {
    if (mouseDownIndex_ < 0 || mouseDownIndex_ >= Count()) return -1;
    if (!Section(mouseDownIndex_)->AllowClick() || mouseOnIndex_ != mouseDownIndex_ || onResizeArea_ ||
        draggingIndex_ == mouseDownIndex_)
        return -1;
    return mouseDownIndex_;
}

int TTeHeaderControl::GetMouseOnSectionIndex() {
    if (onResizeArea_ || draggingIndex_ >= 0) return -1;
    return mouseOnIndex_;
}

TSize TTeHeaderControl::GetImageSize(TTeHeaderSection* section) {
    if (images_ && section->ImageIndex() >= 0 && section->ImageIndex() < images_->Count())
        return TSize{images_->Width(), images_->Height()};
    return TSize{0, 0};
}

TSize TTeHeaderControl::GetTextSize(TTeHeaderSection* section) {
    TCanvas& c = *Canvas();
    c.Font()->Assign(Font());
    int tw = TextWidth(c, section->Text(), DT_NOPREFIX);
    if (!section->AutoSize()) {
        const int room = section->ImageVisible() ? section->Width() - GetImageSize(section).cx -
                                                       section->Spacing() - 2 * section->Margin()
                                                 : section->Width() - 2 * section->Margin();
        tw = std::min(tw, room);
    }
    const int th = section->Text().empty() ? 0 : TextHeight(c, u"Pq");
    return TSize{tw, th};
}

TRect TTeHeaderControl::GetImageRect(TTeHeaderSection* section) {
    const TRect r = GetSectionRect(section->Index());
    const int w = r.Width(), h = r.Height();
    const TSize image = GetImageSize(section);
    const int tw = GetTextSize(section).cx, m = section->Margin(), sp = section->Spacing();
    const bool centre = section->Alignment() == taCenter;
    int left = 0;
    if (section->Layout() == hglGlyphLeft)
        left = centre ? (w - (image.cx + sp + tw)) / 2 : m;
    else
        left = centre ? w - (w - (image.cx + sp + tw)) / 2 - image.cx : w - (m + image.cx);
    const int top = (h - image.cy) / 2;
    return TRect{left, top, left + image.cx, top + image.cy};
}

TRect TTeHeaderControl::GetTextRect(TTeHeaderSection* section) {
    const TRect r = GetSectionRect(section->Index());
    const int w = r.Width(), h = r.Height();
    const bool visible = section->ImageVisible();
    const int iw = visible ? GetImageSize(section).cx : 0;
    const TSize text = GetTextSize(section);
    const int tw = text.cx, m = section->Margin(), sp = section->Spacing();
    const bool centre = section->Alignment() == taCenter;
    int left = 0, right = 0;
    if (section->Layout() == hglGlyphLeft) {
        if (centre) {
            left = visible ? iw + sp + (w - (iw + sp + tw)) / 2 : (w - tw) / 2;
            right = left + tw;
        } else {
            left = visible ? m + iw + sp : m;
            right = w - m;
        }
    } else {
        if (centre) {
            left = visible ? (w - (iw + sp + tw)) / 2 : (w - tw) / 2;
            right = left + tw;
        } else {
            left = m;
            right = visible ? w - (m + iw + sp) : w - m;
        }
    }
    const int top = (h - text.cy) / 2;
    return TRect{left, top, right, top + text.cy};
}

// ---- painting --------------------------------------------------------------------------------

bool TTeHeaderControl::Themed() { return Theme() && IsObjectDefined(khscHeader, themeObject_, themeLink_); }

void TTeHeaderControl::PaintBuffer() {
    PaintBackground();
    for (int i = 0; i < Count(); ++i) PaintSection(i);
    PaintTailSection();
    PaintDraggedSection();
}

void TTeHeaderControl::PaintBackground() {
    TCanvas& c = *Canvas();
    TCanvasDCState state(c);
    const TRect b = GetBorderRect();
    if (Count() > 0) ExcludeClipRect(state.DC(), b.left, b.top, b.right, b.bottom);
    const TRect client{0, 0, Width(), Height()};
    if (Themed())
        Theme()->HeaderDraw(khscHeader, c, HeaderInfo(client), "default");
    else
        FillRect(c, client, clBtnFace);
}

void TTeHeaderControl::PaintSection(int index) {
    if (index < 0 || index >= Count()) return;
    TCanvas& c = *Canvas();
    TCanvasDCState state(c);
    const TRect r = GetSectionRect(index);
    IntersectClipRect(state.DC(), r.left, r.top, r.right, r.bottom);
    if (draggingIndex_ >= 0) {
        const TRect d = GetSectionRect(draggingIndex_);
        ExcludeClipRect(state.DC(), dragLeft_, d.top, dragLeft_ + d.Width(), d.bottom);
    }
    TteSectionDrawState s = khdsNormal;
    if (index == GetPressedSection())
        s = khdsPressed;
    else if (index == draggingIndex_)
        s = khdsDraggedOut;
    else if (index == GetMouseOnSectionIndex())
        s = khdsHot;
    else if (index == underDragIndex_)
        s = khdsUnderDrag;
    DrawSection(Section(index), r, s);
}

void TTeHeaderControl::DrawSection(TTeHeaderSection* section, const TRect& r, TteSectionDrawState state) {
    if (r.Width() < 2) return;
    TCanvas& c = *Canvas();
    TPoint offset{0, 0};
    unsigned flags = DFCS_BUTTONPUSH;
    if (state == khdsPressed || state == khdsDraggedOut || state == khdsUnderDrag) {
        offset = TPoint{1, 1};
        flags |= DFCS_FLAT;
    }
    const int index = section->Index();
    if (Themed()) {
        const TteSectionState position = index == 0             ? khssFirst
                                         : index == Count() - 1 ? khssLast
                                                                : khssMiddle;
        Theme()->HeaderDrawSection(khscHeader, c, HeaderSectionInfo(r, position, state), "default");
    } else if (state == khdsDraggedOut) {
        FillRect(c, r, cl3DDkShadow);
    } else {
        TRect frame = r;
        DrawFrameControl(c.Handle(), &frame, DFC_BUTTON, flags);
    }
    if (section->Style() == hsOwnerDraw) {
        DoDrawSection(this, section, r, state);
        return;
    }
    DrawSectionText(section, r, offset, state);
    if (section->ShowImage()) DrawSectionImage(section, r, offset, state);
}

void TTeHeaderControl::DrawSectionText(TTeHeaderSection* section, const TRect& r, TPoint offset,
                                       TteSectionDrawState state) {
    TCanvas& c = *Canvas();
    TRect t = GetTextRect(section);
    t.Offset(r.left + offset.x, r.top + offset.y);
    t = Intersect(t, r);
    const WideString text = FormatStr(c.Handle(), section->Text(), t.Width());
    static const unsigned kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    const unsigned flags = kAlign[section->Alignment()];
    if (Themed()) {
        if (TFont* f = Theme()->Fonts()->GetFont(static_cast<TteThemeFont>(
                static_cast<int>(ktfHeaderSectionTextNormal) + static_cast<int>(state))))
            c.Font()->Assign(f);
        Theme()->HeaderDrawText(khscHeader, c, HeaderSectionInfo(t, khssMiddle, state),
                                TextInfo(t, text, flags), "default");
        return;
    }
    c.Font()->Assign(Font());
    if ((state == khdsPressed || state == khdsHot) && hotTrack_)
        c.Font()->SetColor(clBlue);
    else if (state == khdsDraggedOut)
        c.Font()->SetColor(cl3DLight);
    c.Brush()->SetStyle(bsClear);
    DrawText(c, text, t, flags);
}

void TTeHeaderControl::DrawSectionImage(TTeHeaderSection* section, const TRect& r, TPoint offset,
                                        TteSectionDrawState state) {
    if (!section->ImageVisible()) return;
    TCanvas& c = *Canvas();
    TRect i = GetImageRect(section);
    i.Offset(r.left, r.top);
    if (Themed()) {
        Theme()->HeaderDrawGlyph(khscHeader, c, HeaderSectionInfo(i, khssMiddle, state),
                                 GlyphInfo(i, images_, section->ImageIndex(), kgfaCenter), "default");
        return;
    }
    i.Offset(offset.x, offset.y);
    images_->Draw(&c, i.left, i.top, section->ImageIndex(), true);
}

void TTeHeaderControl::PaintTailSection() {
    if (Count() == 0) return;
    const TRect b = GetBorderRect();
    const TRect tail{GetSectionRect(Count() - 1).right, b.top, Width(), b.bottom};
    if (tail.IsEmpty()) return;
    TCanvasDCState state(*Canvas());
    IntersectClipRect(state.DC(), tail.left, tail.top, tail.right, tail.bottom);
    DrawTailSection(tail);
}

void TTeHeaderControl::DrawTailSection(const TRect& rect) {
    TCanvas& c = *Canvas();
    if (Themed()) {
        Theme()->HeaderDrawSection(khscHeader, c, HeaderSectionInfo(rect, khssMiddle, khdsNormal), "default");
        return;
    }
    TRect frame = rect;
    DrawFrameControl(c.Handle(), &frame, DFC_BUTTON, DFCS_BUTTONPUSH);
}

void TTeHeaderControl::PaintDraggedSection() {
    if (draggingIndex_ < 0 || draggingIndex_ >= Count()) return;
    const TRect home = GetSectionRect(draggingIndex_);
    const TRect r{dragLeft_, home.top, dragLeft_ + home.Width(), home.bottom};
    TCanvasDCState state(*Canvas());
    IntersectClipRect(state.DC(), r.left, r.top, r.right, r.bottom);
    DrawSection(Section(draggingIndex_), r, khdsDragging);
}

// ---- events ----------------------------------------------------------------------------------

void TTeHeaderControl::DoSectionClick(TTeHeaderSection* section) {
    if (OnSectionClick) OnSectionClick(this, section);
}

bool TTeHeaderControl::DoSectionDrag(TTeHeaderSection* from, TTeHeaderSection* to) {
    bool allow = true;
    if (OnSectionDrag) OnSectionDrag(this, from, to, allow);
    return allow;
}

void TTeHeaderControl::DoSectionEndDrag() {
    if (OnSectionEndDrag) OnSectionEndDrag(this);
}

void TTeHeaderControl::DoSectionResize(TTeHeaderSection* section) {
    if (OnSectionResize) OnSectionResize(this, section);
}

void TTeHeaderControl::DoSectionTrack(TTeHeaderSection* section, int width, TSectionTrackState state) {
    if (OnSectionTrack) OnSectionTrack(this, section, width, state);
}

void TTeHeaderControl::DoDrawSection(TTeHeaderControl* control, TTeHeaderSection* section, const TRect& rect,
                                     TteSectionDrawState state) {
    if (OnDrawSection) OnDrawSection(control, section, rect, state);
}

// ---- mouse -----------------------------------------------------------------------------------

void TTeHeaderControl::ResizeSection(TTeHeaderSection* section, int width) {
    const int before = section->Width();
    section->SetWidth(width);
    if (section->Width() != before) DoSectionResize(section);
}

void TTeHeaderControl::ToggleTrackLine() {
    if (!lineDC_ || lineX_ < 0) return;
    const TRect b = GetBorderRect();
    PatBlt(lineDC_, lineX_, b.top, 1, b.Height(), DSTINVERT);
}

void TTeHeaderControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TTeControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !Enabled()) return;
    downX_ = x;
    dragRan_ = false;
    int index = -1;
    bool resize = false;
    GetPtInSection(TPoint{x, y}, index, resize);
    SetMouseOnSectionIndex(index);
    SetMouseOnResizeArea(resize);
    if (!resize) {
        SetMouseDownOnSectionIndex(index);
        return;
    }
    if (index < 0 || index >= Count()) return;
    resizingIndex_ = index;
    TTeHeaderSection* s = Section(index);
    resizeGrab_ = s->GetRight() - x;
    trackedWidth_ = s->Width();
    if (!fullDrag_ && HandleAllocated()) {
        lineDC_ = GetDCEx(Handle(), nullptr, DCX_CACHE | DCX_CLIPSIBLINGS | DCX_LOCKWINDOWUPDATE);
        lineX_ = -1;
    }
    DoSectionTrack(s, trackedWidth_, tsTrackBegin);
}

void TTeHeaderControl::MouseMove(TShiftState shift, int x, int y) {
    TTeControl::MouseMove(shift, x, y);
    if (resizingIndex_ >= 0 && resizingIndex_ < Count()) {
        TTeHeaderSection* s = Section(resizingIndex_);
        trackedWidth_ = std::max(x + resizeGrab_ - s->GetLeft(), s->MinWidth());
        if (fullDrag_) {
            ResizeSection(s, trackedWidth_);
        } else {
            ToggleTrackLine();
            lineX_ = s->GetLeft() + trackedWidth_;
            ToggleTrackLine();
        }
        DoSectionTrack(s, trackedWidth_, tsTrackMove);
        SetCursor(crSizeWE);
        return;
    }
    int index = -1;
    bool resize = false;
    GetPtInSection(TPoint{x, y}, index, resize);
    SetMouseOnSectionIndex(index);
    SetMouseOnResizeArea(resize);
    if (draggingIndex_ < 0 && mouseDownIndex_ >= 0 && mouseDownIndex_ < Count() && std::abs(x - downX_) > 5 &&
        dragReorder_) {
        const int left = Section(mouseDownIndex_)->GetLeft();
        dragGrab_ = left - downX_;
        dragLeft_ = left;
        dragRan_ = true;
        SetDraggingSectionIndex(mouseDownIndex_);
    }
    if (draggingIndex_ >= 0) {
        const TRect b = GetBorderRect();
        const int width = Section(draggingIndex_)->Width();
        const int oldLeft = dragLeft_;
        dragLeft_ = x + dragGrab_;
        SetUnderDragSectionIndex(GetDropPosition(dragLeft_));
        RepaintRect(
            TRect{std::min(oldLeft, dragLeft_), b.top, std::max(oldLeft, dragLeft_) + width, b.bottom});
    } else {
        SetUnderDragSectionIndex(-1);
    }
    SetCursor(resize ? crSizeWE : crDefault);
}

void TTeHeaderControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TTeControl::MouseUp(button, shift, x, y);
    if (button != mbLeft) return;
    if (mouseDownIndex_ >= 0) {
        const int pressed = GetPressedSection();
        SetMouseDownOnSectionIndex(-1);
        if (pressed >= 0 && pressed < Count() && !dragRan_) DoSectionClick(Section(pressed));
    }
    if (draggingIndex_ >= 0) EndDrag();
    if (resizingIndex_ >= 0) EndResize();
}

void TTeHeaderControl::EndDrag() {
    int target = underDragIndex_;
    if (target > draggingIndex_) --target;
    const int dragged = draggingIndex_;
    if (target >= 0 && target < Count() && dragged < Count() &&
        DoSectionDrag(Section(dragged), Section(target))) {
        if (target != dragged) Section(dragged)->SetIndex(target);
        draggingIndex_ = -1;
        underDragIndex_ = -1;
        DoSectionEndDrag();
    }
    draggingIndex_ = -1;
    underDragIndex_ = -1;
    Invalidate();
}

void TTeHeaderControl::EndResize() {
    const int index = resizingIndex_;
    if (lineDC_) {
        ToggleTrackLine();
        if (HandleAllocated()) ReleaseDC(Handle(), lineDC_);
        lineDC_ = HDC{};
        lineX_ = -1;
    }
    if (index < Count()) {
        TTeHeaderSection* s = Section(index);
        if (!fullDrag_) ResizeSection(s, trackedWidth_);
        DoSectionTrack(s, trackedWidth_, tsTrackEnd);
    }
    resizingIndex_ = -1;
}

}  // namespace tarvel
