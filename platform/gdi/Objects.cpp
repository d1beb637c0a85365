// The object table, stock objects, and creating, selecting, describing and
// deleting pens, brushes, fonts and bitmaps.

#include "platform/gdi/Objects.h"

#include <algorithm>
#include <cstdlib>

#include "platform/base/Strings.h"

namespace tarvel {

namespace {

struct Slot {
    std::shared_ptr<GdiObject> object;
    uint32_t generation = 1;
};

struct Table {
    std::vector<Slot> slots;
    std::vector<uint32_t> free;
    // Removed DC and region objects that nothing else holds, for reuse.
    std::vector<std::shared_ptr<DcObject>> spareDcs;
    std::vector<std::shared_ptr<RegionObject>> spareRegions;
};

Table& TheTable() {
    static Table table;
    return table;
}

// Enough for the DCs and regions one paint has open at once.
constexpr size_t kMaxSpares = 8;

void KeepSpare(std::shared_ptr<GdiObject> object) {
    if (!object || object->stock || object.use_count() != 1) return;
    Table& t = TheTable();
    if (object->kind == GdiKind::Dc && t.spareDcs.size() < kMaxSpares) {
        auto dc = std::static_pointer_cast<DcObject>(std::move(object));
        dc->Reuse();  // lets go of its surface and selected objects now
        t.spareDcs.push_back(std::move(dc));
    } else if (object->kind == GdiKind::Region && t.spareRegions.size() < kMaxSpares) {
        t.spareRegions.push_back(std::static_pointer_cast<RegionObject>(std::move(object)));
    }
}

template <class T>
std::shared_ptr<T> TakeSpare(std::vector<std::shared_ptr<T>>& spares) {
    if (spares.empty()) return std::make_shared<T>();
    std::shared_ptr<T> object = std::move(spares.back());
    spares.pop_back();
    return object;
}

uint64_t MakeHandle(uint32_t index, uint32_t generation) {
    return (uint64_t{generation} << 32) | (uint64_t{index} + 1);
}

template <class T>
std::shared_ptr<T> Stock() {
    auto object = std::make_shared<T>();
    object->stock = true;
    return object;
}

std::shared_ptr<PenObject> StockPen(int style, COLORREF color) {
    auto pen = Stock<PenObject>();
    pen->log = LOGPEN{style, 1, color};
    return pen;
}

std::shared_ptr<BrushObject> StockBrush(int style, COLORREF color) {
    auto brush = Stock<BrushObject>();
    brush->log.lbStyle = style;
    brush->log.lbColor = color;
    return brush;
}

std::shared_ptr<FontObject> StockFont(int weight) {
    auto font = Stock<FontObject>();
    font->log.lfHeight = -11;
    font->log.lfWeight = weight;
    SetFaceName(font->log, "MS Sans Serif");
    return font;
}

// Stock objects live in the table from the first use on and are never
// removed; index = the stock number, with the stock 1x1 bitmap after them.
constexpr int kStockCount = 18;
constexpr int kStockBitmap = kStockCount;

struct StockTable {
    HGDIOBJ handles[kStockCount + 1];
    StockTable() {
        std::shared_ptr<GdiObject> objects[kStockCount + 1];
        objects[WHITE_BRUSH] = StockBrush(BS_SOLID, RGB(255, 255, 255));
        objects[LTGRAY_BRUSH] = StockBrush(BS_SOLID, RGB(192, 192, 192));
        objects[GRAY_BRUSH] = StockBrush(BS_SOLID, RGB(128, 128, 128));
        objects[DKGRAY_BRUSH] = StockBrush(BS_SOLID, RGB(64, 64, 64));
        objects[BLACK_BRUSH] = StockBrush(BS_SOLID, 0);
        objects[NULL_BRUSH] = StockBrush(BS_NULL, 0);
        objects[WHITE_PEN] = StockPen(PS_SOLID, RGB(255, 255, 255));
        objects[BLACK_PEN] = StockPen(PS_SOLID, 0);
        objects[NULL_PEN] = StockPen(PS_NULL, 0);
        objects[SYSTEM_FONT] = StockFont(FW_BOLD);
        objects[DEFAULT_GUI_FONT] = StockFont(FW_NORMAL);
        objects[kStockBitmap] = Stock<BitmapObject>();
        for (int i = 0; i <= kStockCount; ++i)
            if (objects[i]) handles[i] = AddObject(objects[i]);
    }
};

const StockTable& Stocks() {
    static StockTable stocks;
    return stocks;
}

}  // namespace

HGDIOBJ AddObject(std::shared_ptr<GdiObject> object) {
    Table& t = TheTable();
    uint32_t index;
    if (!t.free.empty()) {
        index = t.free.back();
        t.free.pop_back();
    } else {
        index = static_cast<uint32_t>(t.slots.size());
        t.slots.emplace_back();
    }
    t.slots[index].object = std::move(object);
    return HGDIOBJ(MakeHandle(index, t.slots[index].generation));
}

std::shared_ptr<GdiObject> FindObject(uint64_t handle, GdiKind kind) {
    if (handle == 0) return nullptr;
    Table& t = TheTable();
    const uint64_t index = (handle & 0xFFFFFFFFu) - 1;
    if (index >= t.slots.size()) return nullptr;
    const Slot& slot = t.slots[index];
    if (slot.generation != (handle >> 32) || !slot.object) return nullptr;
    if (kind != GdiKind::Any && slot.object->kind != kind) return nullptr;
    return slot.object;
}

void RemoveObject(uint64_t handle) {
    if (!FindObject(handle, GdiKind::Any)) return;
    Table& t = TheTable();
    const uint32_t index = static_cast<uint32_t>((handle & 0xFFFFFFFFu) - 1);
    std::shared_ptr<GdiObject> object = std::move(t.slots[index].object);
    t.slots[index].generation = t.slots[index].generation == UINT32_MAX ? 1 : t.slots[index].generation + 1;
    t.free.push_back(index);
    KeepSpare(std::move(object));
}

std::shared_ptr<DcObject> NewDcObject() { return TakeSpare(TheTable().spareDcs); }

std::shared_ptr<RegionObject> NewRegionObject() { return TakeSpare(TheTable().spareRegions); }

DcState DefaultDcState() {
    const StockTable& s = Stocks();
    DcState st;
    st.penHandle = HPEN(s.handles[BLACK_PEN]);
    st.pen = FindPen(st.penHandle);
    st.brushHandle = HBRUSH(s.handles[WHITE_BRUSH]);
    st.brush = FindBrush(st.brushHandle);
    st.fontHandle = HFONT(s.handles[DEFAULT_GUI_FONT]);
    st.font = FindFont(st.fontHandle);
    return st;
}

HBITMAP StockBitmapHandle() { return HBITMAP(Stocks().handles[kStockBitmap]); }

HGDIOBJ GetStockObject(int which) {
    if (which < 0 || which >= kStockCount) return nullptr;
    return Stocks().handles[which];
}

void SetFaceName(LOGFONTW& font, std::string_view utf8Name) {
    const WideString wide = Utf8ToWide(utf8Name);
    const size_t n = std::min(wide.size(), static_cast<size_t>(kLfFaceSize - 1));
    std::fill(std::begin(font.lfFaceName), std::end(font.lfFaceName), u'\0');
    std::copy_n(wide.begin(), n, font.lfFaceName);
}

// ---------------------------------------------------------------------------
// Creation

HPEN CreatePenIndirect(const LOGPEN& log) {
    auto pen = std::make_shared<PenObject>();
    pen->log = log;
    if (log.lopnStyle < PS_SOLID || log.lopnStyle > PS_INSIDEFRAME) pen->log.lopnStyle = PS_SOLID;
    // No line is wider than this; a width read from a file must not make
    // every pixel a thousand stamps.
    pen->log.lopnWidth = std::clamp(log.lopnWidth, 1, 256);
    pen->log.lopnColor = log.lopnColor & 0xFFFFFF;
    return HPEN(AddObject(pen));
}

HPEN CreatePen(int style, int width, COLORREF color) {
    return CreatePenIndirect(LOGPEN{style, width, color});
}

HBRUSH CreateSolidBrush(COLORREF color) {
    LOGBRUSH log;
    log.lbStyle = BS_SOLID;
    log.lbColor = color;
    return CreateBrushIndirect(log);
}

HBRUSH CreatePatternBrush(HBITMAP pattern) {
    LOGBRUSH log;
    log.lbStyle = BS_PATTERN;
    log.lbPattern = pattern;
    return CreateBrushIndirect(log);
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
    LOGBRUSH log;
    log.lbStyle = BS_HATCHED;
    log.lbColor = color;
    log.lbHatch = hatch;
    return CreateBrushIndirect(log);
}

namespace {

// The cell of a hatch: the horizontal line on row 3, the vertical one on
// column 4, so that a crossing meets in the middle.
uint64_t HatchCell(int hatch) {
    uint64_t cell = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool across = y == 3, down = x == 4, falling = x == y, rising = x + y == 7;
            bool on = false;
            switch (hatch) {
                case HS_HORIZONTAL: on = across; break;
                case HS_VERTICAL: on = down; break;
                case HS_FDIAGONAL: on = falling; break;
                case HS_BDIAGONAL: on = rising; break;
                case HS_CROSS: on = across || down; break;
                case HS_DIAGCROSS: on = falling || rising; break;
                default: break;
            }
            if (on) cell |= uint64_t{1} << (y * 8 + x);
        }
    return cell;
}

}  // namespace

HBRUSH CreateBrushIndirect(const LOGBRUSH& log) {
    auto brush = std::make_shared<BrushObject>();
    brush->log = log;
    brush->log.lbColor = log.lbColor & 0xFFFFFF;
    switch (log.lbStyle) {
        case BS_SOLID: brush->pattern.fill(ColorRefToPixel(brush->log.lbColor)); break;
        case BS_NULL: break;
        case BS_HATCHED:
            if (log.lbHatch < HS_HORIZONTAL || log.lbHatch > HS_DIAGCROSS) return nullptr;
            brush->hatch = HatchCell(log.lbHatch);
            break;
        case BS_PATTERN: {
            auto bitmap = FindBitmap(log.lbPattern);
            if (!bitmap || !bitmap->surface) return nullptr;
            const Surface& s = *bitmap->surface;
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x)
                    brush->pattern[y * 8 + x] = s.Pixel(x % s.Width(), y % s.Height()) & 0xFFFFFF;
            break;
        }
        default: return nullptr;
    }
    return HBRUSH(AddObject(brush));
}

HFONT CreateFontIndirectW(const LOGFONTW& log) {
    auto font = std::make_shared<FontObject>();
    font->log = log;
    font->log.lfFaceName[kLfFaceSize - 1] = u'\0';
    return HFONT(AddObject(font));
}

HBITMAP CreateBitmapFromSurface(std::shared_ptr<Surface> surface, bool dibSection) {
    if (!surface || !surface->Valid()) return nullptr;
    auto bitmap = std::make_shared<BitmapObject>();
    bitmap->surface = std::move(surface);
    bitmap->dibSection = dibSection;
    return HBITMAP(AddObject(bitmap));
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, int, void** bits, void*, uint32_t) {
    if (bits) *bits = nullptr;
    if (!info) return nullptr;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biSize < 40 || h.biPlanes != 1 || h.biBitCount != 32 || h.biCompression != BI_RGB) return nullptr;
    const int64_t height = h.biHeight;
    if (h.biWidth <= 0 || height == 0 || std::llabs(height) > INT32_MAX) return nullptr;
    auto surface = std::make_shared<Surface>(h.biWidth, static_cast<int>(std::llabs(height)), height > 0);
    HBITMAP bitmap = CreateBitmapFromSurface(surface, true);
    if (bitmap && bits) *bits = surface->Bits();
    return bitmap;
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    return CreateBitmapFromSurface(std::make_shared<Surface>(width, height, false), false);
}

std::shared_ptr<Surface> GetBitmapSurface(HBITMAP bitmap) {
    auto b = FindBitmap(bitmap);
    return b ? b->surface : nullptr;
}

// ---------------------------------------------------------------------------
// Description and deletion

int GetObjectType(HGDIOBJ object) {
    auto o = FindObject(object.Value(), GdiKind::Any);
    if (!o) return 0;
    if (o->kind == GdiKind::Dc) return static_cast<DcObject&>(*o).memory ? OBJ_MEMDC : OBJ_DC;
    if (o->kind == GdiKind::Icon) return 0;
    return static_cast<int>(o->kind);
}

int GetObject(HBITMAP bitmap, BITMAP& out) {
    auto b = FindBitmap(bitmap);
    if (!b) return 0;
    out = BITMAP{};
    out.bmWidth = b->surface ? b->surface->Width() : 1;
    out.bmHeight = b->surface ? b->surface->Height() : 1;
    out.bmWidthBytes = out.bmWidth * 4;
    out.bmBits = (b->dibSection && b->surface) ? b->surface->Bits() : nullptr;
    return static_cast<int>(sizeof(BITMAP));
}

int GetObject(HBITMAP bitmap, DIBSECTION& out) {
    out = DIBSECTION{};
    const int size = GetObject(bitmap, out.dsBm);
    auto b = FindBitmap(bitmap);
    if (size == 0 || !b->dibSection || !b->surface) return size;
    out.dsBmih.biWidth = b->surface->Width();
    out.dsBmih.biHeight = b->surface->BottomUp() ? b->surface->Height() : -b->surface->Height();
    out.dsBmih.biSizeImage = static_cast<uint32_t>(b->surface->StrideBytes() * b->surface->Height());
    return static_cast<int>(sizeof(DIBSECTION));
}

int GetObject(HPEN pen, LOGPEN& out) {
    auto p = FindPen(pen);
    if (!p) return 0;
    out = p->log;
    return static_cast<int>(sizeof(LOGPEN));
}

int GetObject(HBRUSH brush, LOGBRUSH& out) {
    auto b = FindBrush(brush);
    if (!b) return 0;
    out = b->log;
    return static_cast<int>(sizeof(LOGBRUSH));
}

int GetObject(HFONT font, LOGFONTW& out) {
    auto f = FindFont(font);
    if (!f) return 0;
    out = f->log;
    return static_cast<int>(sizeof(LOGFONTW));
}

bool DeleteObject(HGDIOBJ object) {
    {
        auto o = FindObject(object.Value(), GdiKind::Any);
        if (!o || o->kind == GdiKind::Dc || o->kind == GdiKind::Icon) return false;
        if (o->stock) return true;
        if (o->kind == GdiKind::Bitmap) {
            const auto& b = static_cast<const BitmapObject&>(*o);
            if (b.selectedInto != 0 && FindObject(b.selectedInto, GdiKind::Dc)) return false;
        }
    }  // the table's reference alone is left, so the object can be reused
    RemoveObject(object.Value());
    return true;
}

// ---------------------------------------------------------------------------
// Selection

// Pens, brushes and fonts: the DC keeps the handle to answer with and the
// object to draw with (which outlives a DeleteObject while selected).
template <class H, class O>
H SelectDrawingObject(HDC dc, H handle, std::shared_ptr<O> object, H DcState::*handleField,
                      std::shared_ptr<const O> DcState::*objectField) {
    auto d = FindDc(dc);
    if (!d || !object) return nullptr;
    const H previous = d->state.*handleField;
    d->state.*handleField = handle;
    d->state.*objectField = std::move(object);
    return previous;
}

HPEN SelectObject(HDC dc, HPEN pen) {
    return SelectDrawingObject(dc, pen, FindPen(pen), &DcState::penHandle, &DcState::pen);
}

HBRUSH SelectObject(HDC dc, HBRUSH brush) {
    return SelectDrawingObject(dc, brush, FindBrush(brush), &DcState::brushHandle, &DcState::brush);
}

HFONT SelectObject(HDC dc, HFONT font) {
    return SelectDrawingObject(dc, font, FindFont(font), &DcState::fontHandle, &DcState::font);
}

void SetSelectedBitmap(DcObject& dc, uint64_t dcHandle, HBITMAP handle,
                       std::shared_ptr<BitmapObject> bitmap) {
    if (dc.state.bitmap) dc.state.bitmap->selectedInto = 0;
    dc.state.bitmapHandle = handle;
    dc.state.bitmap = std::move(bitmap);
    if (dc.state.bitmap && !dc.state.bitmap->stock) dc.state.bitmap->selectedInto = dcHandle;
    dc.ClipChanged();
}

HBITMAP SelectObject(HDC dc, HBITMAP bitmap) {
    auto d = FindDc(dc);
    auto b = FindBitmap(bitmap);
    if (!d || !b || !d->memory) return nullptr;
    if (!b->stock && b->selectedInto != 0 && b->selectedInto != dc.Value() &&
        FindObject(b->selectedInto, GdiKind::Dc))
        return nullptr;
    const HBITMAP previous = d->state.bitmapHandle;
    SetSelectedBitmap(*d, dc.Value(), bitmap, b);
    return previous;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    switch (GetObjectType(object)) {
        case OBJ_PEN: return SelectObject(dc, HPEN(object));
        case OBJ_BRUSH: return SelectObject(dc, HBRUSH(object));
        case OBJ_FONT: return SelectObject(dc, HFONT(object));
        case OBJ_BITMAP: return SelectObject(dc, HBITMAP(object));
        case OBJ_REGION: {
            const int result = SelectClipRgn(dc, HRGN(object));
            return result == RGN_ERROR ? HGDIOBJ() : HGDIOBJ(static_cast<uint64_t>(result));
        }
        default: return nullptr;
    }
}

HGDIOBJ GetCurrentObject(HDC dc, int objectType) {
    auto d = FindDc(dc);
    if (!d) return nullptr;
    switch (objectType) {
        case OBJ_PEN: return d->state.penHandle;
        case OBJ_BRUSH: return d->state.brushHandle;
        case OBJ_FONT: return d->state.fontHandle;
        case OBJ_BITMAP: return d->state.bitmapHandle;
        default: return nullptr;
    }
}

}  // namespace tarvel
