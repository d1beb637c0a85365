#pragma once
// Image lists: many small images of one size, kept with their masks and
// drawn by index, normally or with the greyed look of a disabled control.

#include <cstdint>
#include <vector>

#include "platform/classlib/Bitmaps.h"
#include "platform/classlib/Components.h"

namespace tarvel {

enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };

class TCustomImageList : public TComponent {
    TARVEL_CLASS(TCustomImageList, TComponent)

public:
    explicit TCustomImageList(TComponent* owner);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // A new size (of at least 1) empties the list.
    void SetWidth(int width) { SetSize(width, height_); }
    void SetHeight(int height) { SetSize(width_, height); }
    void SetSize(int width, int height);
    // An unmasked list draws every pixel of its images.
    bool Masked() const { return masked_; }
    void SetMasked(bool masked) { Change(masked_, masked); }
    // Drawn under the transparent pixels unless clNone or dsTransparent.
    TColor BkColor() const { return bkColor_; }
    void SetBkColor(TColor color) { Change(bkColor_, color); }
    TDrawingStyle DrawingStyle() const { return drawingStyle_; }
    void SetDrawingStyle(TDrawingStyle style) { Change(drawingStyle_, style); }

    int Count() const { return static_cast<int>(images_.size()); }

    // One image from the top-left of `image`; with a mask, the mask's
    // non-black pixels are transparent. Answers its index, -1 for no image.
    int Add(TBitmap* image, TBitmap* mask);
    // As many images as the bitmap holds side by side (at least one); pixels
    // of the key colour are transparent (clDefault: the colour of the
    // bitmap's bottom-left pixel). Answers the first index, -1 for no image.
    int AddMasked(TBitmap* image, TColor maskColor);
    void Delete(int index);  // EListError for a bad index
    void Clear();

    // Image `index` with its top-left at (x, y); nothing for a bad index.
    // Disabled, the image's shape (every pixel drawn that is not white)
    // shows as an etched glyph: clBtnHighlight one pixel down and right,
    // clBtnShadow on top.
    void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true);

    TNotifyEvent OnChange;

private:
    // 0xAARRGGBB, top row first; alpha 255 drawn, 0 transparent.
    using Image = std::vector<uint32_t>;

    Image Cut(TBitmap& bitmap, int left, uint32_t key, bool keyed) const;
    void DrawPixels(TCanvas* canvas, int x, int y, const Image& pixels);
    void Changed();
    template <class T>
    void Change(T& field, const T& value) {
        if (field == value) return;
        field = value;
        Changed();
    }

    int width_ = 16;
    int height_ = 16;
    bool masked_ = true;
    TColor bkColor_ = clNone;
    TDrawingStyle drawingStyle_ = dsNormal;
    std::vector<Image> images_;
};

class TImageList : public TCustomImageList {
    TARVEL_CLASS(TImageList, TCustomImageList)

public:
    using TCustomImageList::TCustomImageList;
};

}  // namespace tarvel
