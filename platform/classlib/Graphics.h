#pragma once
// Graphics of the class library: fonts, pens and brushes that keep their
// drawing-layer handles, the canvas that draws with them on any DC, and the
// abstract graphic (bitmaps, pictures, icons build on it).
//
// Colours are TColor values, system colours included; they are resolved
// through the system-colour table when an object is selected for drawing.

#include <cstdint>
#include <mutex>
#include <span>

#include "platform/base/Exceptions.h"
#include "platform/base/Strings.h"
#include "platform/classlib/Colors.h"
#include "platform/classlib/Persistent.h"
#include "platform/classlib/Sets.h"
#include "platform/classlib/Streams.h"
#include "platform/gdi/Gdi.h"

namespace tarvel {

class TBitmap;
class TCanvas;

// The colour a TColor is drawn in: system colours through the table; the
// marks clNone and clDefault fall to their low 24 bits.
inline COLORREF ColorToColorRef(TColor color) { return ColorToRGB(color) & 0x00FFFFFFu; }

// Drawing that cannot be done: a canvas without a DC, a scan line out of range.
class EInvalidGraphicOperation : public Exception {
public:
    using Exception::Exception;
};

// Picture data that is not what its format says, or a format we do not read.
class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

// The base of fonts, pens and brushes: a change is announced through OnChange
// (the canvas listens, to select the new handle before it next draws).
class TGraphicsObject : public TPersistent {
    TARVEL_CLASS(TGraphicsObject, TPersistent)

public:
    ~TGraphicsObject() override { FreeHandle(); }

    TNotifyEvent OnChange;

protected:
    // Drops the handle (made again when next asked for) and tells OnChange.
    void Changed();
    void FreeHandle();
    // Sets a property and announces it, when it changes.
    template <class T>
    void Change(T& field, const T& value) {
        if (field == value) return;
        field = value;
        Changed();
    }

    // The object of the drawing layer, made from the properties on demand.
    HGDIOBJ handle_;
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
enum TFontQuality { fqDefault, fqDraft, fqProof, fqNonAntialiased, fqAntialiased, fqClearType };
using TFontCharset = uint8_t;

class TFont : public TGraphicsObject {
    TARVEL_CLASS(TFont, TGraphicsObject)

public:
    // "MS Sans Serif", 8 pt (height -11), clWindowText, DEFAULT_CHARSET.
    TFont();

    void Assign(TPersistent* source) override;

    const String& Name() const { return name_; }
    void SetName(const String& name);
    // Points at 96 dpi; a positive Height gives a negative Size, as a cell
    // height rather than a character height.
    int Size() const;
    void SetSize(int points);
    int Height() const { return height_; }
    void SetHeight(int height) { Change(height_, height); }
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style) { Change(style_, style); }
    TColor Color() const { return color_; }
    void SetColor(TColor color) { Change(color_, color); }
    TFontCharset Charset() const { return charset_; }
    void SetCharset(TFontCharset charset) { Change(charset_, charset); }
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch pitch) { Change(pitch_, pitch); }
    TFontQuality Quality() const { return quality_; }
    void SetQuality(TFontQuality quality) { Change(quality_, quality); }

    // The font of the drawing layer for selection; made on first use.
    HFONT Handle();
    LOGFONTW LogFont() const;

private:
    String name_ = "MS Sans Serif";
    int height_ = -11;
    TFontStyles style_;
    TColor color_ = clWindowText;
    TFontCharset charset_ = DEFAULT_CHARSET;
    TFontPitch pitch_ = fpDefault;
    TFontQuality quality_ = fqDefault;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// How the pen and the brush meet what is drawn: pmCopy paints, pmNot inverts
// the colour bits under the shape, pmXor xors them with the colour. Drawing
// the same shape twice in pmNot or pmXor gives back the pixels.
enum TPenMode { pmCopy, pmNot, pmXor };

class TPen : public TGraphicsObject {
    TARVEL_CLASS(TPen, TGraphicsObject)

public:
    TPen() = default;

    void Assign(TPersistent* source) override;

    TColor Color() const { return color_; }
    void SetColor(TColor color) { Change(color_, color); }
    int Width() const { return width_; }
    void SetWidth(int width) { Change(width_, width < 1 ? 1 : width); }
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle style) { Change(style_, style); }
    TPenMode Mode() const { return mode_; }
    void SetMode(TPenMode mode) { Change(mode_, mode); }

    HPEN Handle();
    LOGPEN LogPen() const;

private:
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
    TPenMode mode_ = pmCopy;
};

// The hatches draw lines of the brush colour over what is there.
enum TBrushStyle {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};

class TBrush : public TGraphicsObject {
    TARVEL_CLASS(TBrush, TGraphicsObject)

public:
    TBrush() = default;

    void Assign(TPersistent* source) override;

    TColor Color() const { return color_; }
    void SetColor(TColor color);  // also makes a clear brush solid
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle style) { Change(style_, style); }
    bool Hatched() const { return style_ >= bsHorizontal && style_ <= bsDiagCross; }
    int Hatch() const { return HS_HORIZONTAL + (style_ - bsHorizontal); }  // of a hatched brush
    // Whether what the brush draws leaves the pixels between its lines alone.
    bool SeeThrough() const { return style_ == bsClear || Hatched(); }
    // A pattern brush from the top-left 8x8 pixels of the bitmap (not owned;
    // the brush takes a copy of the pattern when its handle is made). Null
    // goes back to the colour.
    TBitmap* Bitmap() const { return bitmap_; }
    void SetBitmap(TBitmap* bitmap);

    HBRUSH Handle();

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
    TBitmap* bitmap_ = nullptr;
};

// ---------------------------------------------------------------------------

// Raster operations of CopyRect.
using TCopyMode = uint32_t;
constexpr TCopyMode cmSrcCopy = SRCCOPY;
constexpr TCopyMode cmSrcPaint = SRCPAINT;
constexpr TCopyMode cmSrcAnd = SRCAND;
constexpr TCopyMode cmSrcInvert = SRCINVERT;
constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;
constexpr TCopyMode cmDstInvert = DSTINVERT;
constexpr TCopyMode cmBlackness = BLACKNESS;
constexpr TCopyMode cmWhiteness = WHITENESS;

// A picture that can be drawn through a canvas and kept in a stream.
class TGraphic : public TPersistent {
    TARVEL_CLASS(TGraphic, TPersistent)

public:
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetWidth(int width) = 0;
    virtual void SetHeight(int height) = 0;
    virtual bool Empty() const = 0;
    bool Transparent() const { return transparent_; }
    virtual void SetTransparent(bool transparent);
    bool Modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }

    // Reads from the stream's position; bad data raises (EReadError for a
    // stream that ends early, EInvalidGraphic for the rest) and leaves the
    // graphic empty.
    virtual void LoadFromStream(TStream& stream) = 0;
    virtual void SaveToStream(TStream& stream) = 0;
    void LoadFromFile(const String& fileName);
    void SaveToFile(const String& fileName);

    TNotifyEvent OnChange;

protected:
    friend class TCanvas;
    // Draws the whole graphic into `rect` of the canvas (stretched when the
    // sizes differ).
    virtual void Draw(TCanvas& canvas, const TRect& rect) = 0;
    void Changed();

private:
    bool transparent_ = false;
    bool modified_ = false;
};

// ---------------------------------------------------------------------------

// A drawing surface over whatever DC it is pointed at. The handle can be
// moved to another DC and back at any time: the pen, brush and font are
// selected into the current DC when it is next drawn on, and the objects the
// DC had before are put back when the canvas leaves it.
class TCanvas : public TPersistent {
    TARVEL_CLASS(TCanvas, TPersistent)

public:
    TCanvas();
    ~TCanvas() override;

    // The DC; a canvas that has none asks CreateHandle for one and raises
    // EInvalidGraphicOperation "Canvas does not allow drawing" if it gets none.
    HDC Handle();
    void SetHandle(HDC dc);
    bool HandleAllocated() const { return static_cast<bool>(handle_); }
    // The DC with the canvas's font, pen and brush selected and the text and
    // background set from them, for raw calls of the drawing layer. They stay
    // until one of them changes or the canvas leaves the DC.
    HDC SelectObjects();

    // Keeps other users of the canvas out while it draws; counts nesting.
    void Lock();
    bool TryLock();
    void Unlock();
    int LockCount() const { return lockCount_; }

    TFont* Font() { return &font_; }
    TPen* Pen() { return &pen_; }
    TBrush* Brush() { return &brush_; }
    void SetFont(TFont* font) { font_.Assign(font); }
    void SetPen(TPen* pen) { pen_.Assign(pen); }
    void SetBrush(TBrush* brush) { brush_.Assign(brush); }
    TCopyMode CopyMode() const { return copyMode_; }
    void SetCopyMode(TCopyMode mode) { copyMode_ = mode; }

    TPoint PenPos();
    void SetPenPos(TPoint p) { MoveTo(p.x, p.y); }
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
    void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const TRect& r) { Ellipse(r.left, r.top, r.right, r.bottom); }
    void RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight);
    void Polygon(std::span<const TPoint> points);
    void Polyline(std::span<const TPoint> points);
    void FillRect(const TRect& rect);
    void FrameRect(const TRect& rect);
    void DrawFocusRect(const TRect& rect);

    // Text in the font; the background is filled in the brush colour unless
    // the brush is clear. TextOut leaves the pen after the text.
    void TextOut(int x, int y, const String& text);
    // The text at (x, y), clipped to `rect`, which a solid brush fills first.
    void TextRect(const TRect& rect, int x, int y, const String& text);
    TSize TextExtent(const String& text);
    int TextWidth(const String& text) { return TextExtent(text).cx; }
    int TextHeight(const String& text) { return TextExtent(text).cy; }

    void Draw(int x, int y, TGraphic* graphic);
    void StretchDraw(const TRect& rect, TGraphic* graphic);
    // Copies `source` of another canvas into `dest` (stretched) with CopyMode.
    void CopyRect(const TRect& dest, TCanvas& canvas, const TRect& source);

    TColor Pixels(int x, int y);  // as 0x00BBGGRR; CLR_INVALID outside the DC
    void SetPixels(int x, int y, TColor color);

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    // Called when the handle is needed and there is none.
    virtual void CreateHandle() {}
    void Changing();
    void Changed();

private:
    enum TCanvasPart { cpFont, cpPen, cpBrush };
    using TCanvasParts = TSet<TCanvasPart>;

    // The DC with the named objects selected.
    HDC Require(TCanvasParts parts);
    void SelectFont(HDC dc);
    void SelectPen(HDC dc);
    void SelectBrush(HDC dc);
    void DeselectHandles();
    // Runs `shape` (which draws with the pen and brush of the DC it gets)
    // in the pen's mode; `bounds` holds everything it may touch.
    template <class Shape>
    void DrawShape(TRect bounds, Shape shape);
    TRect PenBounds(int x1, int y1, int x2, int y2) const;

    HDC handle_;
    TCanvasParts selected_;
    // What the DC had selected before the canvas put its own objects in.
    HFONT oldFont_;
    HPEN oldPen_;
    HBRUSH oldBrush_;
    TFont font_;
    TPen pen_;
    TBrush brush_;
    TPoint penPos_;
    TCopyMode copyMode_ = cmSrcCopy;
    std::recursive_mutex lock_;
    int lockCount_ = 0;
};

}  // namespace tarvel
