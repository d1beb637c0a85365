#pragma once
// Inside the drawing layer: the objects behind the handles and the table
// that checks every handle.

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Region.h"

namespace tarvel {

class FontInstance;

struct GdiObject {
    explicit GdiObject(GdiKind k) : kind(k) {}
    virtual ~GdiObject() = default;
    GdiKind kind;
    bool stock = false;
};

struct PenObject : GdiObject {
    PenObject() : GdiObject(GdiKind::Pen) {}
    LOGPEN log;
    bool IsNull() const { return log.lopnStyle == PS_NULL; }
    int Width() const { return log.lopnWidth < 1 ? 1 : log.lopnWidth; }
};

struct BrushObject : GdiObject {
    BrushObject() : GdiObject(GdiKind::Brush) {}
    LOGBRUSH log;
    std::array<uint32_t, 64> pattern{};  // pixels, alpha 0, row by row
    uint64_t hatch = 0;                  // BS_HATCHED: bit y * 8 + x set on the lines
    bool IsNull() const { return log.lbStyle == BS_NULL; }
};

struct FontObject : GdiObject {
    FontObject() : GdiObject(GdiKind::Font) {}
    LOGFONTW log;
    std::shared_ptr<FontInstance> Instance() const;  // realised on first use

private:
    mutable std::shared_ptr<FontInstance> instance_;
};

struct BitmapObject : GdiObject {
    BitmapObject() : GdiObject(GdiKind::Bitmap) {}
    std::shared_ptr<Surface> surface;  // null for the stock 1x1 bitmap
    bool dibSection = false;
    uint64_t selectedInto = 0;  // the DC handle value holding it, 0 for none
};

struct RegionObject : GdiObject {
    RegionObject() : GdiObject(GdiKind::Region) {}
    Region region;
};

struct IconObject : GdiObject {
    IconObject() : GdiObject(GdiKind::Icon) {}
    std::shared_ptr<Surface> image;  // alpha is the mask
    bool isIcon = true;
    TPoint hotspot;
};

// Everything SaveDC keeps.
struct DcState {
    HPEN penHandle;
    std::shared_ptr<const PenObject> pen;
    HBRUSH brushHandle;
    std::shared_ptr<const BrushObject> brush;
    HFONT fontHandle;
    std::shared_ptr<const FontObject> font;
    HBITMAP bitmapHandle;
    std::shared_ptr<BitmapObject> bitmap;
    COLORREF textColor = 0;
    COLORREF bkColor = 0xFFFFFF;
    int bkMode = OPAQUE;
    int stretchMode = BLACKONWHITE;
    int polyFillMode = ALTERNATE;
    TPoint windowOrg;
    TPoint position;
    std::optional<Region> clip;  // device coordinates; none = no clip
};

struct DcObject : GdiObject {
    DcObject() : GdiObject(GdiKind::Dc) {}
    bool memory = true;
    std::shared_ptr<Surface> fixedTarget;  // surface DCs
    TPoint deviceOrigin;
    TRect deviceClip;  // surface coordinates, surface DCs only
    // What the window system lets the DC touch (device coordinates); apart
    // from the caller's clip and outside the saved state.
    Region systemRegion;
    bool hasSystemRegion = false;
    DcState state;
    std::vector<DcState> saved;
    TRect damage;  // surface coordinates written since TakeDCDamage last asked

    Surface* Target() const;
    // The clip in surface coordinates: the DC clip, the system region, the
    // device clip and the surface bounds together. Cached until the state
    // changes.
    const Region& SurfaceClip();
    void ClipChanged() { clipValid_ = false; }
    // Back to a new DC's state, keeping the memory it has.
    void Reuse();
    // Row y, columns [x0, x1) of the surface were written.
    void Damage(int y, int x0, int x1) {
        if (x0 >= x1) return;
        if (damage.IsEmpty()) {
            damage = TRect{x0, y, x1, y + 1};
            return;
        }
        damage.left = std::min(damage.left, x0);
        damage.right = std::max(damage.right, x1);
        damage.top = std::min(damage.top, y);
        damage.bottom = std::max(damage.bottom, y + 1);
    }

private:
    Region clipCache_;
    Region clipScratch_, clipCombined_;  // kept for the next SurfaceClip
    bool clipValid_ = false;
    const Surface* clipFor_ = nullptr;
};

// The object table.
HGDIOBJ AddObject(std::shared_ptr<GdiObject> object);
// A new DC or region object: one whose handle was removed, when there is one,
// so that a DC or region made for every paint reuses the memory of the last.
std::shared_ptr<DcObject> NewDcObject();
std::shared_ptr<RegionObject> NewRegionObject();
std::shared_ptr<GdiObject> FindObject(uint64_t handle, GdiKind kind);
void RemoveObject(uint64_t handle);

template <class T>
std::shared_ptr<T> Find(uint64_t handle, GdiKind kind) {
    return std::static_pointer_cast<T>(FindObject(handle, kind));
}
inline std::shared_ptr<DcObject> FindDc(HDC dc) { return Find<DcObject>(dc.Value(), GdiKind::Dc); }
inline std::shared_ptr<PenObject> FindPen(HPEN h) { return Find<PenObject>(h.Value(), GdiKind::Pen); }
inline std::shared_ptr<BrushObject> FindBrush(HBRUSH h) {
    return Find<BrushObject>(h.Value(), GdiKind::Brush);
}
inline std::shared_ptr<FontObject> FindFont(HFONT h) { return Find<FontObject>(h.Value(), GdiKind::Font); }
inline std::shared_ptr<BitmapObject> FindBitmap(HBITMAP h) {
    return Find<BitmapObject>(h.Value(), GdiKind::Bitmap);
}
inline std::shared_ptr<IconObject> FindIcon(HICON h) { return Find<IconObject>(h.Value(), GdiKind::Icon); }
inline std::shared_ptr<RegionObject> FindRegion(HRGN h) {
    return Find<RegionObject>(h.Value(), GdiKind::Region);
}

// The defaults a new DC starts with.
DcState DefaultDcState();
// The 1x1 bitmap a memory DC starts with (it draws nowhere).
HBITMAP StockBitmapHandle();
// Makes `bitmap` the DC's bitmap, keeping the one-DC-per-bitmap record.
void SetSelectedBitmap(DcObject& dc, uint64_t dcHandle, HBITMAP handle, std::shared_ptr<BitmapObject> bitmap);

}  // namespace tarvel
