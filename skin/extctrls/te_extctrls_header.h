#pragma once
// TTeHeaderControl: a column-header strip drawn here, with no native header
// window. Each section shows a text and an image, can be clicked, resized
// by dragging near its right edge and, with DragReorder, moved elsewhere.
// Without FullDrag a resize is tracked by an inverted line first.

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/classlib/Collections.h"
#include "platform/classlib/ImageLists.h"
#include "skin/core/te_forms.h"
#include "skin/core/te_forms_link.h"

namespace tarvel {

class TTeHeaderControl;

enum TTeHeaderGliphLayout : uint8_t { hglGlyphLeft, hglGlyphRight };
enum TTeHeaderSectionStyle : uint8_t { hsText, hsOwnerDraw };
enum TSectionTrackState : uint8_t { tsTrackBegin, tsTrackMove, tsTrackEnd };

class TTeHeaderSection : public TCollectionItem {
    TARVEL_CLASS(TTeHeaderSection, TCollectionItem)

public:
    explicit TTeHeaderSection(TCollection* collection);

    const WideString& Text() const { return text_; }
    void SetText(const WideString& value);
    // The stored width, or the automatic one while AutoSize is on.
    int Width();
    // Clamped into MinWidth..MaxWidth; ignored while AutoSize is on.
    void SetWidth(int value);
    int MinWidth() const { return minWidth_; }
    void SetMinWidth(int value);
    int MaxWidth() const { return maxWidth_; }
    void SetMaxWidth(int value);
    bool AutoSize() const { return autoSize_; }
    // Turning it off keeps the automatic width as the stored one.
    void SetAutoSize(bool value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    TTeHeaderGliphLayout Layout() const { return layout_; }
    void SetLayout(TTeHeaderGliphLayout value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    bool ShowImage() const { return showImage_; }
    void SetShowImage(bool value);
    int Margin() const { return margin_; }
    void SetMargin(int value);
    int Spacing() const { return spacing_; }
    void SetSpacing(int value);
    TTeHeaderSectionStyle Style() const { return style_; }
    void SetStyle(TTeHeaderSectionStyle value);
    bool AllowClick() const { return allowClick_; }
    void SetAllowClick(bool value) { allowClick_ = value; }

    int GetLeft();
    int GetRight() { return GetLeft() + Width(); }
    // min(width / 3, 10): how far from its right edge a resize catches.
    int GetResizeCatchAreaWidth() { return std::min(Width() / 3, 10); }
    // ShowImage, an image list, and the index inside it.
    bool ImageVisible() const;

    TTeHeaderControl* HeaderControl() const;
    void Assign(TPersistent* source) override;

protected:
    String GetDisplayName() override;

private:
    void Changed(bool repaintFollowing);

    WideString text_;
    int width_ = 50;
    int minWidth_ = 0;
    int maxWidth_ = 10000;
    bool autoSize_ = false;
    TAlignment alignment_ = taLeftJustify;
    TTeHeaderGliphLayout layout_ = hglGlyphLeft;
    int imageIndex_ = -1;
    bool showImage_ = true;
    int margin_ = 7;
    int spacing_ = 4;
    TTeHeaderSectionStyle style_ = hsText;
    bool allowClick_ = true;
};

class TTeHeaderSections : public TCollection {
    TARVEL_CLASS(TTeHeaderSections, TCollection)

public:
    explicit TTeHeaderSections(TTeHeaderControl* header);

    TTeHeaderSection* Add();
    // A new section at index; appended when index is outside the sections.
    TTeHeaderSection* Insert(int index);
    // Moves the section here to index (appended when index is outside);
    // without a section a new one is made there.
    TTeHeaderSection* AddItem(TTeHeaderSection* section, int index);
    TTeHeaderSection* GetItem(int index) const { return static_cast<TTeHeaderSection*>(Items(index)); }
    TPersistent* GetOwner() override;
    TTeHeaderControl* HeaderControl() const { return header_; }

protected:
    void Update(TCollectionItem* item) override;

private:
    TTeHeaderControl* header_;
};

using TSectionNotifyEvent = std::function<void(TTeHeaderControl* header, TTeHeaderSection* section)>;
using TSectionTrackEvent = std::function<void(TTeHeaderControl* header, TTeHeaderSection* section, int width,
                                              TSectionTrackState state)>;
using TSectionDragEvent =
    std::function<void(TObject* sender, TTeHeaderSection* from, TTeHeaderSection* to, bool& allowDrag)>;
using TDrawSectionEvent = std::function<void(TTeHeaderControl* header, TTeHeaderSection* section,
                                             const TRect& rect, TteSectionDrawState state)>;
using THCCreateSectionClassEvent = std::function<void(TObject* sender, TClass& sectionClass)>;

class TTeHeaderControl : public TTeControl, public TTeThemeLinked {
    TARVEL_CLASS(TTeHeaderControl, TTeControl)

public:
    explicit TTeHeaderControl(TComponent* owner);
    ~TTeHeaderControl() override;

    TTeHeaderSections* Sections() const { return sections_.get(); }
    void SetSections(TTeHeaderSections* value) { sections_->Assign(value); }
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* value);
    bool HotTrack() const { return hotTrack_; }
    void SetHotTrack(bool value);
    bool DragReorder() const { return dragReorder_; }
    void SetDragReorder(bool value) { dragReorder_ = value; }
    bool FullDrag() const { return fullDrag_; }
    void SetFullDrag(bool value) { fullDrag_ = value; }

    virtual TTeHeaderSection* CreateSection();
    virtual TRect GetImageRect(TTeHeaderSection* section);
    virtual TSize GetImageSize(TTeHeaderSection* section);
    virtual TSize GetTextSize(TTeHeaderSection* section);
    virtual TRect GetTextRect(TTeHeaderSection* section);
    virtual void DrawSectionImage(TTeHeaderSection* section, const TRect& rect, TPoint offset,
                                  TteSectionDrawState state);
    virtual void DrawSectionText(TTeHeaderSection* section, const TRect& rect, TPoint offset,
                                 TteSectionDrawState state);
    virtual void DrawSection(TTeHeaderSection* section, const TRect& rect, TteSectionDrawState state);
    virtual void DrawTailSection(const TRect& rect);
    virtual void PaintSection(int index);
    virtual TRect GetSectionRect(int index);
    virtual void SectionChanged(int index, bool repaintFollowing);

    // -1 left of the sections, the count right of them.
    int GetSectionIndexAtPoint(int x);
    // The section at a point (-1 for none) and whether the point is in a resize zone.
    void GetPtInSection(TPoint p, int& index, bool& resize);
    // Where a section dragged to x would be dropped: 0..count.
    int GetDropPosition(int x);
    // The section drawn pressed: -1 unless the pointer is still on the one pressed.
    int GetPressedSection();
    // The hot section as painting sees it.
    int GetMouseOnSectionIndex();

    int MouseDownOnSectionIndex() const { return mouseDownIndex_; }
    int DraggingSectionIndex() const { return draggingIndex_; }
    int UnderDragSectionIndex() const { return underDragIndex_; }
    int ResizingSectionIndex() const { return resizingIndex_; }
    bool MouseOnResizeArea() const { return onResizeArea_; }

    void PaintBuffer() override;

    TSectionNotifyEvent OnSectionClick;
    TSectionNotifyEvent OnSectionResize;
    TSectionTrackEvent OnSectionTrack;
    TSectionDragEvent OnSectionDrag;
    TNotifyEvent OnSectionEndDrag;
    TDrawSectionEvent OnDrawSection;
    THCCreateSectionClassEvent OnCreateSectionClass;

protected:
    static void DeclareMessages(TMessageTable& t);
    void Notification(TComponent* component, TOperation operation) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

    virtual void DoSectionClick(TTeHeaderSection* section);
    virtual bool DoSectionDrag(TTeHeaderSection* from, TTeHeaderSection* to);
    virtual void DoSectionEndDrag();
    virtual void DoSectionResize(TTeHeaderSection* section);
    virtual void DoSectionTrack(TTeHeaderSection* section, int width, TSectionTrackState state);
    virtual void DoDrawSection(TTeHeaderControl* control, TTeHeaderSection* section, const TRect& rect,
                               TteSectionDrawState state);

private:
    void CMInvalidate(TMessage&) { Invalidate(); }
    void CMMouseLeaveHeader(TMessage& m);
    void SNMThemeMessage(TMessage& m);

    void SetStateIndex(int& field, int value);
    void SetMouseOnSectionIndex(int value);
    void SetMouseDownOnSectionIndex(int value);
    void SetUnderDragSectionIndex(int value);
    void SetDraggingSectionIndex(int value);
    void SetMouseOnResizeArea(bool value);
    void RepaintSection(int index);
    void RepaintFrom(int index);
    void RepaintRect(const TRect& r);

    bool Themed();
    int Count() const { return sections_->Count(); }
    TTeHeaderSection* Section(int i) const { return sections_->GetItem(i); }
    void PaintBackground();
    void PaintTailSection();
    void PaintDraggedSection();
    void ResizeSection(TTeHeaderSection* section, int width);
    void EndDrag();
    void EndResize();
    void ToggleTrackLine();

    std::unique_ptr<TTeHeaderSections> sections_;
    TCustomImageList* images_ = nullptr;
    bool dragReorder_ = false;
    bool fullDrag_ = true;
    bool hotTrack_ = false;

    int downX_ = 0;
    int mouseDownIndex_ = -1;
    int mouseOnIndex_ = -1;
    bool onResizeArea_ = false;
    int resizingIndex_ = -1;
    int resizeGrab_ = 0;
    int trackedWidth_ = 0;
    int draggingIndex_ = -1;
    int dragGrab_ = 0;
    int dragLeft_ = 0;
    int underDragIndex_ = -1;
    bool dragRan_ = false;
    // The inverted line of a resize without FullDrag, and where it stands.
    HDC lineDC_{};
    int lineX_ = -1;
};

}  // namespace tarvel
