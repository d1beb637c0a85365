#pragma once
// The public interface of the drawing layer: device contexts over 32-bit
// surfaces, pens, brushes, fonts, bitmaps and regions, clipping and the
// window origin, primitives, blits and text.
//
// Conventions:
// - Colours are COLORREF 0x00BBGGRR. Pixels are 0xAARRGGBB (see Surface.h).
//   Drawing (fills, lines, text, edges, frame controls) writes alpha 0;
//   SRCCOPY between surfaces copies all four bytes.
// - Rectangles are half-open; LineTo leaves out its end point.
// - Logical coordinates = device coordinates + window origin (MM_TEXT only).
//   Clip regions handed to SelectClipRgn are in device coordinates.
// - Fonts are 96 dpi: a height of -11 is an 8 pt font.
// - Handles are checked on every call: a null, deleted or wrong-kind handle
//   makes the call fail (false, 0, null or CLR_INVALID), never crash.
// - Everything runs on the GUI thread.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gdi/Geometry.h"
#include "platform/gdi/Surface.h"
#include "platform/gdi/SysColors.h"

namespace tarvel {

// ---------------------------------------------------------------------------
// Handles

enum class GdiKind : uint8_t {
    Any = 0,
    Pen = 1,
    Brush = 2,
    Dc = 3,
    Font = 6,
    Bitmap = 7,
    Region = 8,
    Icon = 16
};

// A checked handle: an index into the layer's object table plus a generation,
// so a deleted handle never reaches another object. Typed handles convert
// implicitly to HGDIOBJ; the way back is explicit (and checked when used).
template <GdiKind K>
class GdiHandle {
public:
    constexpr GdiHandle() = default;
    constexpr GdiHandle(std::nullptr_t) {}
    constexpr explicit GdiHandle(uint64_t value) : value_(value) {}
    template <GdiKind U>
    requires(K == GdiKind::Any && U != GdiKind::Any) constexpr GdiHandle(GdiHandle<U> other)
        : value_(other.Value()) {}
    template <GdiKind U>
    requires(K != GdiKind::Any && U == GdiKind::Any) constexpr explicit GdiHandle(GdiHandle<U> other)
        : value_(other.Value()) {}

    constexpr uint64_t Value() const { return value_; }
    constexpr explicit operator bool() const { return value_ != 0; }
    friend constexpr bool operator==(GdiHandle, GdiHandle) = default;

private:
    uint64_t value_ = 0;
};

using HGDIOBJ = GdiHandle<GdiKind::Any>;
using HPEN = GdiHandle<GdiKind::Pen>;
using HBRUSH = GdiHandle<GdiKind::Brush>;
using HDC = GdiHandle<GdiKind::Dc>;
using HFONT = GdiHandle<GdiKind::Font>;
using HBITMAP = GdiHandle<GdiKind::Bitmap>;
using HRGN = GdiHandle<GdiKind::Region>;
using HICON = GdiHandle<GdiKind::Icon>;

// ---------------------------------------------------------------------------
// Colours

constexpr COLORREF CLR_INVALID = 0xFFFFFFFFu;
constexpr COLORREF RGB(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(COLORREF c) { return static_cast<int>(c & 0xFF); }
constexpr int GetGValue(COLORREF c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int GetBValue(COLORREF c) { return static_cast<int>((c >> 16) & 0xFF); }
// 0x00BBGGRR <-> the 0x00RRGGBB of a pixel (alpha 0).
constexpr uint32_t ColorRefToPixel(COLORREF c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
constexpr COLORREF PixelToColorRef(uint32_t p) {
    return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}

// ---------------------------------------------------------------------------
// Objects and their descriptions

enum PenStyle : int {
    PS_SOLID = 0,
    PS_DASH = 1,
    PS_DOT = 2,
    PS_DASHDOT = 3,
    PS_DASHDOTDOT = 4,
    PS_NULL = 5,
    PS_INSIDEFRAME = 6
};
enum BrushStyle : int { BS_SOLID = 0, BS_NULL = 1, BS_HOLLOW = BS_NULL, BS_HATCHED = 2, BS_PATTERN = 3 };
// The lines of a hatched brush, in an 8x8 cell: a horizontal line, a
// vertical line, diagonals falling (forward) and rising (backward) from
// left to right, and the two crossings.
enum HatchStyle : int {
    HS_HORIZONTAL = 0,
    HS_VERTICAL = 1,
    HS_FDIAGONAL = 2,
    HS_BDIAGONAL = 3,
    HS_CROSS = 4,
    HS_DIAGCROSS = 5
};
enum StockObject : int {
    WHITE_BRUSH = 0,
    LTGRAY_BRUSH = 1,
    GRAY_BRUSH = 2,
    DKGRAY_BRUSH = 3,
    BLACK_BRUSH = 4,
    NULL_BRUSH = 5,
    HOLLOW_BRUSH = NULL_BRUSH,
    WHITE_PEN = 6,
    BLACK_PEN = 7,
    NULL_PEN = 8,
    SYSTEM_FONT = 13,
    DEFAULT_GUI_FONT = 17,
};
enum ObjectType : int {
    OBJ_PEN = 1,
    OBJ_BRUSH = 2,
    OBJ_DC = 3,
    OBJ_FONT = 6,
    OBJ_BITMAP = 7,
    OBJ_REGION = 8,
    OBJ_MEMDC = 10
};

struct LOGPEN {
    int lopnStyle = PS_SOLID;
    int lopnWidth = 1;
    COLORREF lopnColor = 0;
};

struct LOGBRUSH {
    int lbStyle = BS_SOLID;
    COLORREF lbColor = 0;
    HBITMAP lbPattern;            // BS_PATTERN only
    int lbHatch = HS_HORIZONTAL;  // BS_HATCHED only
};

enum FontWeight : int {
    FW_DONTCARE = 0,
    FW_THIN = 100,
    FW_LIGHT = 300,
    FW_NORMAL = 400,
    FW_MEDIUM = 500,
    FW_SEMIBOLD = 600,
    FW_BOLD = 700,
    FW_HEAVY = 900
};
enum FontQuality : uint8_t {
    DEFAULT_QUALITY = 0,
    DRAFT_QUALITY = 1,
    PROOF_QUALITY = 2,
    NONANTIALIASED_QUALITY = 3,
    ANTIALIASED_QUALITY = 4,
    CLEARTYPE_QUALITY = 5
};
enum FontCharset : uint8_t {
    ANSI_CHARSET = 0,
    DEFAULT_CHARSET = 1,
    SYMBOL_CHARSET = 2,
    GB2312_CHARSET = 134
};

constexpr int kLfFaceSize = 32;

// Height < 0: character (em) height in pixels; > 0: cell height (ascent +
// descent); 0: the default (-11). The face name is UTF-16, as callers store it.
struct LOGFONTW {
    int lfHeight = 0;
    int lfWidth = 0;  // stored, not used for drawing
    int lfEscapement = 0;
    int lfOrientation = 0;
    int lfWeight = FW_NORMAL;
    uint8_t lfItalic = 0;
    uint8_t lfUnderline = 0;
    uint8_t lfStrikeOut = 0;
    uint8_t lfCharSet = DEFAULT_CHARSET;  // stored, not used for drawing
    uint8_t lfOutPrecision = 0;
    uint8_t lfClipPrecision = 0;
    uint8_t lfQuality = DEFAULT_QUALITY;
    uint8_t lfPitchAndFamily = 0;
    char16_t lfFaceName[kLfFaceSize] = {};  // zero-terminated
};

// Fills lfFaceName from a UTF-8 name, cut to fit.
void SetFaceName(LOGFONTW& font, std::string_view utf8Name);

struct TEXTMETRICW {
    int tmHeight = 0;  // ascent + descent: the line height
    int tmAscent = 0;
    int tmDescent = 0;
    int tmInternalLeading = 0;
    int tmExternalLeading = 0;
    int tmAveCharWidth = 0;
    int tmMaxCharWidth = 0;
    int tmWeight = 0;
    int tmOverhang = 0;
    uint8_t tmItalic = 0;
    uint8_t tmUnderlined = 0;
    uint8_t tmStruckOut = 0;
    uint8_t tmPitchAndFamily = 0;
    uint8_t tmCharSet = 0;
};

enum BiCompression : uint32_t { BI_RGB = 0 };
enum DibUsage : int { DIB_RGB_COLORS = 0 };

struct BITMAPINFOHEADER {
    uint32_t biSize = 40;
    int32_t biWidth = 0;
    int32_t biHeight = 0;  // < 0 top-down, > 0 bottom-up
    uint16_t biPlanes = 1;
    uint16_t biBitCount = 32;
    uint32_t biCompression = BI_RGB;
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 0;
    int32_t biYPelsPerMeter = 0;
    uint32_t biClrUsed = 0;
    uint32_t biClrImportant = 0;
};

struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
};

struct BITMAP {
    int32_t bmType = 0;
    int32_t bmWidth = 0;
    int32_t bmHeight = 0;
    int32_t bmWidthBytes = 0;
    uint16_t bmPlanes = 1;
    uint16_t bmBitsPixel = 32;
    void* bmBits = nullptr;  // the pixels of a DIB section, null otherwise
};

struct DIBSECTION {
    BITMAP dsBm;
    BITMAPINFOHEADER dsBmih;
};

// ---------------------------------------------------------------------------
// Device contexts

// A memory DC; `like` is ignored (there is only one kind of surface). It
// starts with a 1x1 stock bitmap selected, so it can measure text at once.
HDC CreateCompatibleDC(HDC like);
// A DC drawing into `target`: DC point (0, 0) is `deviceOrigin` of the
// surface and every output is clipped to `deviceClip` (surface
// coordinates). The window system hands these out as window DCs. Release
// with DeleteDC; the surface stays alive while the DC exists. Bitmaps cannot
// be selected into it.
HDC CreateSurfaceDC(std::shared_ptr<Surface> target, TPoint deviceOrigin, TRect deviceClip);
// Moves a surface DC that a caller keeps to where its window now is: a new
// target (a replaced back buffer), origin and device clip, as in
// CreateSurfaceDC. Everything else of the DC (objects, clip, window origin,
// saved levels, system region) stays. False for a memory DC or a bad surface.
bool RetargetSurfaceDC(HDC dc, std::shared_ptr<Surface> target, TPoint deviceOrigin, TRect deviceClip);
bool DeleteDC(HDC dc);

// The system region of a DC: what the window system lets it touch (its
// window's visible part), in device coordinates, kept apart from the
// caller's clip. Every output is clipped to both; SelectClipRgn(dc, null)
// removes only the caller's; SaveDC and RestoreDC leave it alone; GetClipBox
// and PtVisible answer the two together. The region is copied; null removes
// it. Answers the region's complexity, RGN_ERROR on failure.
int SetDCSystemRegion(HDC dc, HRGN region);
// 1 with a system region (copied into `into`), 0 without, -1 on failure.
int GetDCSystemRegion(HDC dc, HRGN into);

// The bounds (surface coordinates) of the pixels that output through this
// DC has written since the last call; asking clears them. Empty for a bad
// handle. The window system presents only these.
TRect TakeDCDamage(HDC dc);

// The surface a DC draws into (for a memory DC, its selected bitmap's; null
// for the stock bitmap), and where DC (0, 0) lies in it.
std::shared_ptr<Surface> GetDCSurface(HDC dc);
TPoint GetDCDeviceOrigin(HDC dc);

enum DeviceCap : int {
    HORZRES = 8,
    VERTRES = 10,
    BITSPIXEL = 12,
    PLANES = 14,
    LOGPIXELSX = 88,
    LOGPIXELSY = 90
};
int GetDeviceCaps(HDC dc, int index);  // 32 bits, 1 plane, 96 dpi, the surface size

// Object selection. Each returns the previously selected object of that
// kind, null on failure. A bitmap can be selected into one memory DC at a
// time. Selecting a region sets the clip (as SelectClipRgn) and returns the
// region complexity as in SelectClipRgn, cast to the handle value.
HPEN SelectObject(HDC dc, HPEN pen);
HBRUSH SelectObject(HDC dc, HBRUSH brush);
HFONT SelectObject(HDC dc, HFONT font);
HBITMAP SelectObject(HDC dc, HBITMAP bitmap);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
HGDIOBJ GetCurrentObject(HDC dc, int objectType);  // OBJ_PEN, OBJ_BRUSH, OBJ_FONT, OBJ_BITMAP

// Objects that are still selected somewhere stay usable by that DC after
// DeleteObject; stock objects are never deleted. A bitmap selected into a
// DC is not deleted (false), as the system did.
bool DeleteObject(HGDIOBJ object);
HGDIOBJ GetStockObject(int which);
int GetObjectType(HGDIOBJ object);  // OBJ_..., 0 for a bad handle

// GetObject answers the size of what it filled, 0 on failure. For a
// bitmap, DIBSECTION is filled whole (sizeof(DIBSECTION)) only for a DIB
// section; a compatible bitmap fills dsBm and answers sizeof(BITMAP).
int GetObject(HBITMAP bitmap, DIBSECTION& out);
int GetObject(HBITMAP bitmap, BITMAP& out);
int GetObject(HPEN pen, LOGPEN& out);
int GetObject(HBRUSH brush, LOGBRUSH& out);
int GetObject(HFONT font, LOGFONTW& out);

HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN& pen);
HBRUSH CreateSolidBrush(COLORREF color);
// The pattern is the top-left 8x8 of the bitmap (a smaller bitmap repeats);
// the brush keeps its own copy.
HBRUSH CreatePatternBrush(HBITMAP pattern);
// The hatch lines take the colour; between them a hatch shows the DC's
// background colour when its background mode is OPAQUE and leaves the
// pixels alone when it is TRANSPARENT. The cell is aligned to the DC's
// device (0, 0), as patterns are. An unknown hatch gives null.
HBRUSH CreateHatchBrush(int hatch, COLORREF color);
HBRUSH CreateBrushIndirect(const LOGBRUSH& brush);
HFONT CreateFontIndirectW(const LOGFONTW& font);

// Bitmaps are 32-bit. A DIB section answers its pixels through `bits`; a
// compatible bitmap is the same thing, top-down, without a DIBSECTION.
// Both are zeroed. Sizes are checked; a bad header gives null.
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, int usage, void** bits, void* section,
                         uint32_t offset);
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
// A bitmap over an existing surface (shared, not copied).
HBITMAP CreateBitmapFromSurface(std::shared_ptr<Surface> surface, bool dibSection = true);
std::shared_ptr<Surface> GetBitmapSurface(HBITMAP bitmap);

// ---------------------------------------------------------------------------
// DC state

int SaveDC(HDC dc);                 // the new depth (>= 1), 0 on failure
bool RestoreDC(HDC dc, int saved);  // saved > 0: that level; < 0: relative (-1 the last)

constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
constexpr int BLACKONWHITE = 1, WHITEONBLACK = 2, COLORONCOLOR = 3, HALFTONE = 4;

COLORREF SetTextColor(HDC dc, COLORREF color);  // previous, CLR_INVALID on failure
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);  // previous, 0 on failure
int GetBkMode(HDC dc);
int SetStretchBltMode(HDC dc, int mode);
int GetStretchBltMode(HDC dc);

bool SetWindowOrgEx(HDC dc, int x, int y, TPoint* previous);
bool GetWindowOrgEx(HDC dc, TPoint* origin);
// origin := origin - (dx, dy)
bool MoveWindowOrg(HDC dc, int dx, int dy);
bool MoveToEx(HDC dc, int x, int y, TPoint* previous);
bool GetCurrentPositionEx(HDC dc, TPoint* position);

// ---------------------------------------------------------------------------
// Regions (coordinates are plain; as a DC's clip they are device coordinates)

enum RegionComplexity : int { RGN_ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3 };
enum RegionMode : int { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5 };
enum PolyFillMode : int { ALTERNATE = 1, WINDING = 2 };
constexpr uint32_t RDH_RECTANGLES = 1;

HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const TRect& rect);
// Rounded and elliptic regions leave out the right column and bottom row
// of their box, as callers expect (they pass right + 1 and bottom + 1).
HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
// Pixels whose centres lie inside. Shapes taller than 2^20 rows are refused.
HRGN CreatePolygonRgn(const TPoint* points, int count, int fillMode);

struct RGNDATAHEADER {
    uint32_t dwSize = 32;
    uint32_t iType = RDH_RECTANGLES;
    uint32_t nCount = 0;
    uint32_t nRgnSize = 0;
    TRect rcBound;
};
// Region data as the system laid it out: the header, then nCount TRects.
// `size` is the byte count of `data`; a count beyond it gives null.
HRGN ExtCreateRegion(const void* transform, uint32_t size, const void* data);
HRGN ExtCreateRegion(const TRect* rects, size_t count);

int CombineRgn(HRGN dest, HRGN a, HRGN b, int mode);  // complexity of dest, RGN_ERROR on failure
int OffsetRgn(HRGN region, int dx, int dy);
int GetRgnBox(HRGN region, TRect* box);
bool PtInRegion(HRGN region, int x, int y);
bool RectInRegion(HRGN region, const TRect& rect);
bool EqualRgn(HRGN a, HRGN b);
bool SetRectRgn(HRGN region, int left, int top, int right, int bottom);
// The rectangles of a region, top to bottom and left to right.
size_t GetRegionRects(HRGN region, std::function<void(const TRect&)> visit);

// Clipping. The *ClipRect calls take logical coordinates and narrow the clip
// cumulatively; SelectClipRgn copies the region (device coordinates), null
// removes the clip.
int SelectClipRgn(HDC dc, HRGN region);
int ExtSelectClipRgn(HDC dc, HRGN region, int mode);
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
int OffsetClipRgn(HDC dc, int dx, int dy);
int GetClipBox(HDC dc, TRect* box);  // logical coordinates
int GetClipRgn(HDC dc, HRGN into);   // 1 with a clip, 0 without, -1 on failure
bool PtVisible(HDC dc, int x, int y);

// ---------------------------------------------------------------------------
// Primitives

bool FillRect(HDC dc, const TRect& rect, HBRUSH brush);
bool FrameRect(HDC dc, const TRect& rect, HBRUSH brush);
bool InvertRect(HDC dc, const TRect& rect);
bool FillRgn(HDC dc, HRGN region, HBRUSH brush);
// Rectangle, Ellipse and RoundRect fill the box [left, right) x [top, bottom)
// with the brush and draw the pen inside its edge (a wide pen grows inwards).
// Pens are at most 256 pixels wide. A pen 1 pixel wide draws its dash style
// (PS_DASH 18 on, 6 off; PS_DOT 3, 3; PS_DASHDOT 9, 6, 3, 6; PS_DASHDOTDOT 9,
// 3, 3, 3, 3, 3), the gaps in the background colour when the background mode
// is OPAQUE; the pattern runs on along a polyline, a polygon's and a
// rectangle's outline, and starts afresh with each LineTo. Wider pens, and
// the outlines of ellipses and rounded rectangles, draw solid.
bool Rectangle(HDC dc, int left, int top, int right, int bottom);
bool Ellipse(HDC dc, int left, int top, int right, int bottom);
bool RoundRect(HDC dc, int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
bool Polygon(HDC dc, const TPoint* points, int count);
bool Polyline(HDC dc, const TPoint* points, int count);
bool LineTo(HDC dc, int x, int y);
int SetPolyFillMode(HDC dc, int mode);
int GetPolyFillMode(HDC dc);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);  // the colour set, CLR_INVALID when not drawn
COLORREF GetPixel(HDC dc, int x, int y);                  // CLR_INVALID outside the clip or surface
// A dotted frame inverting the colour bits; drawing it twice restores the
// pixels exactly.
bool DrawFocusRect(HDC dc, const TRect& rect);

// Raster operations of PatBlt, BitBlt and StretchBlt.
enum RasterOp : uint32_t {
    SRCCOPY = 0x00CC0020,
    SRCPAINT = 0x00EE0086,
    SRCAND = 0x008800C6,
    SRCINVERT = 0x00660046,
    NOTSRCCOPY = 0x00330008,
    PATCOPY = 0x00F00021,
    PATINVERT = 0x005A0049,
    DSTINVERT = 0x00550009,
    BLACKNESS = 0x00000042,
    WHITENESS = 0x00FF0062,
};
bool PatBlt(HDC dc, int x, int y, int width, int height, uint32_t rop);

// ---------------------------------------------------------------------------
// Blits. Source coordinates are logical in the source DC; source pixels
// outside the source surface are not drawn. The destination is clipped.

bool BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, uint32_t rop);
// Nearest neighbour, whatever the stretch mode.
bool StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                int srcHeight, uint32_t rop);

constexpr uint8_t AC_SRC_OVER = 0;
constexpr uint8_t AC_SRC_ALPHA = 1;
struct BLENDFUNCTION {
    uint8_t BlendOp = AC_SRC_OVER;
    uint8_t BlendFlags = 0;
    uint8_t SourceConstantAlpha = 255;
    uint8_t AlphaFormat = 0;  // AC_SRC_ALPHA: use each source pixel's alpha
};
// Straight (not premultiplied) alpha, as every pixel of this system holds:
// weight = constant alpha, times the pixel's alpha with AC_SRC_ALPHA;
// colour = src * w + dst * (1 - w), alpha = w + dst alpha * (1 - w).
bool AlphaBlend(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                int srcHeight, BLENDFUNCTION blend);
// Source pixels whose low 24 bits equal the key (a COLORREF) are left out;
// the others are copied whole.
bool TransparentBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                    int srcHeight, COLORREF key);

// ---------------------------------------------------------------------------
// Edges and frame controls (classic look from the system colours)

enum EdgeFlags : unsigned {
    BDR_RAISEDOUTER = 0x1,
    BDR_SUNKENOUTER = 0x2,
    BDR_RAISEDINNER = 0x4,
    BDR_SUNKENINNER = 0x8,
    EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER,
    EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER,
    EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER,
    EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER,
};
enum BorderFlags : unsigned {
    BF_LEFT = 0x1,
    BF_TOP = 0x2,
    BF_RIGHT = 0x4,
    BF_BOTTOM = 0x8,
    BF_RECT = 0xF,
    BF_MIDDLE = 0x800,
    BF_SOFT = 0x1000,
    BF_ADJUST = 0x2000,
    BF_FLAT = 0x4000,
    BF_MONO = 0x8000,
};
// With BF_ADJUST the rectangle is shrunk by the drawn borders.
bool DrawEdge(HDC dc, TRect* rect, unsigned edge, unsigned flags);

enum FrameControlType : unsigned { DFC_CAPTION = 1, DFC_MENU = 2, DFC_SCROLL = 3, DFC_BUTTON = 4 };
enum FrameControlState : unsigned {
    DFCS_CAPTIONCLOSE = 0x0,
    DFCS_CAPTIONMIN = 0x1,
    DFCS_CAPTIONMAX = 0x2,
    DFCS_CAPTIONRESTORE = 0x3,
    DFCS_CAPTIONHELP = 0x4,
    DFCS_MENUARROW = 0x0,
    DFCS_SCROLLUP = 0x0,
    DFCS_SCROLLDOWN = 0x1,
    DFCS_SCROLLLEFT = 0x2,
    DFCS_SCROLLRIGHT = 0x3,
    DFCS_BUTTONCHECK = 0x0,
    DFCS_BUTTONRADIO = 0x4,
    DFCS_BUTTON3STATE = 0x8,
    DFCS_BUTTONPUSH = 0x10,
    DFCS_INACTIVE = 0x100,
    DFCS_PUSHED = 0x200,
    DFCS_CHECKED = 0x400,
    DFCS_FLAT = 0x4000,
};
// Our own glyph shapes, scaled to the rectangle. The glyph of an active
// control is pure black (0x00000000) and nothing else drawn is; a menu
// glyph is drawn black on white.
bool DrawFrameControl(HDC dc, TRect* rect, unsigned type, unsigned state);

// ---------------------------------------------------------------------------
// Text. The W calls take UTF-16, the A calls UTF-8 (the system code page).

bool TextOutW(HDC dc, int x, int y, std::u16string_view text);
bool TextOutA(HDC dc, int x, int y, std::string_view text);

enum ExtTextOutFlags : unsigned { ETO_OPAQUE = 0x2, ETO_CLIPPED = 0x4 };
// ETO_OPAQUE fills `rect` with the background colour first, ETO_CLIPPED
// clips the text to it. `rect` may be null when neither flag is given.
bool ExtTextOutW(HDC dc, int x, int y, unsigned options, const TRect* rect, std::u16string_view text);
bool ExtTextOutA(HDC dc, int x, int y, unsigned options, const TRect* rect, std::string_view text);

enum DrawTextFormat : unsigned {
    DT_TOP = 0x0,
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,
    DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_EXPANDTABS = 0x40,
    DT_NOCLIP = 0x100,
    DT_CALCRECT = 0x400,
    DT_NOPREFIX = 0x800,
    DT_EDITCONTROL = 0x2000,
    DT_PATH_ELLIPSIS = 0x4000,
    DT_END_ELLIPSIS = 0x8000,
    DT_RTLREADING = 0x20000,
    DT_HIDEPREFIX = 0x100000,
};
// Returns the height of the text (with DT_VCENTER or DT_BOTTOM: the offset
// from rect.top to the bottom of the text), 0 on failure. DT_CALCRECT draws
// nothing and sets rect.right/bottom to the extent that drawing would cover.
int DrawTextW(HDC dc, std::u16string_view text, TRect* rect, unsigned format);
int DrawTextA(HDC dc, std::string_view text, TRect* rect, unsigned format);

// cx = sum of the advances, cy = the line height of the selected font.
bool GetTextExtentPoint32W(HDC dc, std::u16string_view text, TSize* size);
bool GetTextExtentPoint32A(HDC dc, std::string_view text, TSize* size);
bool GetTextMetricsW(HDC dc, TEXTMETRICW* metrics);

// Points at 96 dpi <-> font height: 8 pt <-> -11.
int PointsToFontHeight(int points);
int FontHeightToPoints(int height);

// ---------------------------------------------------------------------------
// Icons: small 32-bit pictures (at most 256 x 256) whose alpha is their
// mask. They are not drawing objects: DeleteObject refuses them and
// GetObjectType answers 0; DestroyIcon frees them.

struct ICONINFO {
    bool fIcon = true;
    uint32_t xHotspot = 0;
    uint32_t yHotspot = 0;
    HBITMAP hbmMask;   // where the colour bitmap has no alpha at all: set pixels are transparent
    HBITMAP hbmColor;  // 32-bit; its alpha is the mask when any pixel has some
};

// Copies the pixels; the bitmaps stay the caller's. Null for a missing or
// stock colour bitmap, a mask smaller than it, or a picture too large.
HICON CreateIconIndirect(const ICONINFO* info);
// New bitmaps the caller deletes: the colour with its alpha, and a mask
// white where the icon is transparent, black elsewhere.
bool GetIconInfo(HICON icon, ICONINFO* info);
bool DestroyIcon(HICON icon);  // true and nothing done for the standard icon

// The platform's own icons, 32 x 32 (shared: never destroyed); null for an
// unknown one. They come with no module: LoadIcon(nullptr, IDI_HAND).
constexpr int IDI_APPLICATION = 32512;
constexpr int IDI_HAND = 32513;  // errors
constexpr int IDI_QUESTION = 32514;
constexpr int IDI_EXCLAMATION = 32515;  // warnings
constexpr int IDI_ASTERISK = 32516;     // information
constexpr int IDI_ERROR = IDI_HAND;
constexpr int IDI_WARNING = IDI_EXCLAMATION;
constexpr int IDI_INFORMATION = IDI_ASTERISK;
HICON LoadIcon(int standardIcon);
inline HICON LoadIcon(std::nullptr_t, int standardIcon) { return LoadIcon(standardIcon); }

constexpr unsigned IMAGE_ICON = 1;
constexpr unsigned LR_COPYFROMRESOURCE = 0x4000;
// A new icon scaled (nearest neighbour) to cx x cy; 0 keeps that side.
// Icons hold no resource to reload, so LR_COPYFROMRESOURCE copies as well.
HICON CopyImage(HICON icon, unsigned type, int cx, int cy, unsigned flags);

enum DrawIconFlags : unsigned { DI_MASK = 1, DI_IMAGE = 2, DI_NORMAL = DI_MASK | DI_IMAGE };
// The icon at logical (x, y), scaled to cx x cy (0: its own size), through
// the clip. DI_NORMAL blends it by its alpha as AlphaBlend with
// AC_SRC_ALPHA does; DI_IMAGE copies its pixels; DI_MASK ANDs its mask.
// With `flickerFree` the rectangle is filled with that brush first; `step`
// (animation frames) is ignored.
bool DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, unsigned step, HBRUSH flickerFree,
                unsigned flags);
// At its own size, blended.
inline bool DrawIcon(HDC dc, int x, int y, HICON icon) {
    return DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL);
}

// ---------------------------------------------------------------------------
// Pictures

// Writes the surface as an 8-bit RGB PNG (or RGBA with `withAlpha`).
bool WritePng(const Surface& surface, const char* path, bool withAlpha = false);
// The same as the bytes of a PNG file; empty when it cannot be made.
std::vector<uint8_t> EncodePng(const Surface& surface, bool withAlpha = false);

// A decoded PNG: pixels as 0xAARRGGBB, or null with the reason in `error`.
struct PngPicture {
    std::shared_ptr<Surface> pixels;
    bool alpha = false;  // the file has an alpha channel or a transparent colour
    std::string error;
};
// Every colour type and depth; sides above `maxSide` and damaged data fail.
PngPicture DecodePng(const uint8_t* data, size_t size, int maxSide);

}  // namespace tarvel

template <tarvel::GdiKind K>
struct std::hash<tarvel::GdiHandle<K>> {
    size_t operator()(tarvel::GdiHandle<K> h) const noexcept { return std::hash<uint64_t>{}(h.Value()); }
};
