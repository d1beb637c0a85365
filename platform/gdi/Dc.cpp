// Device contexts: creation, the state stack, colours and modes, the window
// origin and the clip.

#include <algorithm>
#include <utility>

#include "platform/gdi/Objects.h"

namespace tarvel {

namespace {

TRect ToDevice(const DcObject& dc, int left, int top, int right, int bottom) {
    TRect r{left, top, right, bottom};
    // Saturating: the region clamps what lies beyond anything drawable.
    auto shift = [](int v, int by) {
        return static_cast<int>(std::clamp<int64_t>(int64_t{v} - by, INT32_MIN, INT32_MAX));
    };
    r.left = shift(r.left, dc.state.windowOrg.x);
    r.right = shift(r.right, dc.state.windowOrg.x);
    r.top = shift(r.top, dc.state.windowOrg.y);
    r.bottom = shift(r.bottom, dc.state.windowOrg.y);
    return r;
}

// What "no clip" means for ExcludeClipRect and ExtSelectClipRgn: the whole
// device.
Region DeviceArea(DcObject& dc) {
    const Surface* s = dc.Target();
    if (!s) return Region(TRect{0, 0, 1, 1});
    const TRect area = dc.memory ? s->BoundsRect() : Intersect(dc.deviceClip, s->BoundsRect());
    const int64_t dx = dc.deviceOrigin.x, dy = dc.deviceOrigin.y;
    return Region::FromBounds(area.left - dx, area.top - dy, area.right - dx, area.bottom - dy);
}

int SetClip(DcObject& dc, std::optional<Region> clip) {
    dc.state.clip = std::move(clip);
    dc.ClipChanged();
    return dc.state.clip ? dc.state.clip->Complexity() : SIMPLEREGION;
}

}  // namespace

Surface* DcObject::Target() const {
    if (fixedTarget) return fixedTarget.get();
    return state.bitmap ? state.bitmap->surface.get() : nullptr;
}

void DcObject::Reuse() {
    memory = true;
    fixedTarget.reset();
    deviceOrigin = TPoint{};
    deviceClip = TRect{};
    systemRegion.SetRect(TRect{});
    hasSystemRegion = false;
    state = DcState{};
    saved.clear();
    damage = TRect{};
    clipValid_ = false;
    clipFor_ = nullptr;
}

// Worked out in regions the DC keeps, so a DC reused for every paint does
// not allocate here.
const Region& DcObject::SurfaceClip() {
    const Surface* s = Target();
    if (clipValid_ && clipFor_ == s) return clipCache_;
    clipFor_ = s;
    clipValid_ = true;
    if (!s) {
        clipCache_.SetRect(TRect{});
        return clipCache_;
    }
    TRect box = s->BoundsRect();
    if (!memory) box = Intersect(box, deviceClip);
    if (hasSystemRegion) {
        clipCache_ = systemRegion;
        clipCache_.Offset(deviceOrigin.x, deviceOrigin.y);
        clipCache_.IntersectWith(box);
    } else {
        clipCache_.SetRect(box);
    }
    if (state.clip) {
        clipScratch_ = *state.clip;
        clipScratch_.Offset(deviceOrigin.x, deviceOrigin.y);
        Region::Combine(clipCache_, clipScratch_, RegionOp::And, clipCombined_);
        clipCache_.swap(clipCombined_);
    }
    return clipCache_;
}

// ---------------------------------------------------------------------------
// Creation

HDC CreateCompatibleDC(HDC) {
    auto dc = NewDcObject();
    dc->state = DefaultDcState();
    HDC handle(AddObject(dc));
    SetSelectedBitmap(*dc, handle.Value(), StockBitmapHandle(), FindBitmap(StockBitmapHandle()));
    return handle;
}

HDC CreateSurfaceDC(std::shared_ptr<Surface> target, TPoint deviceOrigin, TRect deviceClip) {
    if (!target || !target->Valid()) return nullptr;
    auto dc = NewDcObject();
    dc->memory = false;
    dc->fixedTarget = std::move(target);
    dc->deviceOrigin = deviceOrigin;
    dc->deviceClip = deviceClip;
    dc->state = DefaultDcState();
    return HDC(AddObject(dc));
}

bool RetargetSurfaceDC(HDC dc, std::shared_ptr<Surface> target, TPoint deviceOrigin, TRect deviceClip) {
    auto d = FindDc(dc);
    if (!d || d->memory || !target || !target->Valid()) return false;
    d->fixedTarget = std::move(target);
    d->deviceOrigin = deviceOrigin;
    d->deviceClip = deviceClip;
    d->ClipChanged();
    return true;
}

int SetDCSystemRegion(HDC dc, HRGN region) {
    auto d = FindDc(dc);
    if (!d) return RGN_ERROR;
    if (!region) {
        d->hasSystemRegion = false;
        d->ClipChanged();
        return SIMPLEREGION;
    }
    auto r = FindRegion(region);
    if (!r) return RGN_ERROR;
    d->systemRegion = r->region;
    d->hasSystemRegion = true;
    d->ClipChanged();
    return r->region.Complexity();
}

int GetDCSystemRegion(HDC dc, HRGN into) {
    auto d = FindDc(dc);
    auto r = FindRegion(into);
    if (!d || !r) return -1;
    if (!d->hasSystemRegion) return 0;
    r->region = d->systemRegion;
    return 1;
}

TRect TakeDCDamage(HDC dc) {
    auto d = FindDc(dc);
    return d ? std::exchange(d->damage, TRect{}) : TRect{};
}

bool DeleteDC(HDC dc) {
    {
        auto d = FindDc(dc);
        if (!d) return false;
        if (d->state.bitmap) d->state.bitmap->selectedInto = 0;
    }  // the table's reference alone is left, so the object can be reused
    RemoveObject(dc.Value());
    return true;
}

std::shared_ptr<Surface> GetDCSurface(HDC dc) {
    auto d = FindDc(dc);
    if (!d) return nullptr;
    if (d->fixedTarget) return d->fixedTarget;
    return d->state.bitmap ? d->state.bitmap->surface : nullptr;
}

TPoint GetDCDeviceOrigin(HDC dc) {
    auto d = FindDc(dc);
    return d ? d->deviceOrigin : TPoint{};
}

int GetDeviceCaps(HDC dc, int index) {
    auto d = FindDc(dc);
    if (!d) return 0;
    const Surface* s = d->Target();
    switch (index) {
        case BITSPIXEL: return 32;
        case PLANES: return 1;
        case LOGPIXELSX:
        case LOGPIXELSY: return 96;
        case HORZRES: return s ? s->Width() : 1;
        case VERTRES: return s ? s->Height() : 1;
        default: return 0;
    }
}

// ---------------------------------------------------------------------------
// State

int SaveDC(HDC dc) {
    auto d = FindDc(dc);
    if (!d) return 0;
    d->saved.push_back(d->state);
    return static_cast<int>(d->saved.size());
}

bool RestoreDC(HDC dc, int saved) {
    auto d = FindDc(dc);
    if (!d || saved == 0) return false;
    const int64_t depth = static_cast<int64_t>(d->saved.size());
    const int64_t level = saved > 0 ? saved : depth + 1 + saved;
    if (level < 1 || level > depth) return false;
    DcState state = std::move(d->saved[static_cast<size_t>(level - 1)]);
    d->saved.resize(static_cast<size_t>(level - 1));
    // The bitmap comes back too; keep the record of which DC holds it.
    if (d->state.bitmap) d->state.bitmap->selectedInto = 0;
    const HBITMAP bitmapHandle = state.bitmapHandle;
    auto bitmap = std::move(state.bitmap);
    d->state = std::move(state);
    if (d->memory) SetSelectedBitmap(*d, dc.Value(), bitmapHandle, std::move(bitmap));
    d->ClipChanged();
    return true;
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
    auto d = FindDc(dc);
    if (!d) return CLR_INVALID;
    return std::exchange(d->state.textColor, color & 0xFFFFFF);
}

COLORREF GetTextColor(HDC dc) {
    auto d = FindDc(dc);
    return d ? d->state.textColor : CLR_INVALID;
}

COLORREF SetBkColor(HDC dc, COLORREF color) {
    auto d = FindDc(dc);
    if (!d) return CLR_INVALID;
    return std::exchange(d->state.bkColor, color & 0xFFFFFF);
}

COLORREF GetBkColor(HDC dc) {
    auto d = FindDc(dc);
    return d ? d->state.bkColor : CLR_INVALID;
}

int SetBkMode(HDC dc, int mode) {
    auto d = FindDc(dc);
    if (!d || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    return std::exchange(d->state.bkMode, mode);
}

int GetBkMode(HDC dc) {
    auto d = FindDc(dc);
    return d ? d->state.bkMode : 0;
}

int SetStretchBltMode(HDC dc, int mode) {
    auto d = FindDc(dc);
    if (!d || mode < BLACKONWHITE || mode > HALFTONE) return 0;
    return std::exchange(d->state.stretchMode, mode);
}

int GetStretchBltMode(HDC dc) {
    auto d = FindDc(dc);
    return d ? d->state.stretchMode : 0;
}

int SetPolyFillMode(HDC dc, int mode) {
    auto d = FindDc(dc);
    if (!d || (mode != ALTERNATE && mode != WINDING)) return 0;
    return std::exchange(d->state.polyFillMode, mode);
}

int GetPolyFillMode(HDC dc) {
    auto d = FindDc(dc);
    return d ? d->state.polyFillMode : 0;
}

bool SetWindowOrgEx(HDC dc, int x, int y, TPoint* previous) {
    auto d = FindDc(dc);
    if (!d) return false;
    if (previous) *previous = d->state.windowOrg;
    d->state.windowOrg = TPoint{x, y};
    return true;
}

bool GetWindowOrgEx(HDC dc, TPoint* origin) {
    auto d = FindDc(dc);
    if (!d || !origin) return false;
    *origin = d->state.windowOrg;
    return true;
}

bool MoveWindowOrg(HDC dc, int dx, int dy) {
    auto d = FindDc(dc);
    if (!d) return false;
    d->state.windowOrg.x = static_cast<int>(int64_t{d->state.windowOrg.x} - dx);
    d->state.windowOrg.y = static_cast<int>(int64_t{d->state.windowOrg.y} - dy);
    return true;
}

bool MoveToEx(HDC dc, int x, int y, TPoint* previous) {
    auto d = FindDc(dc);
    if (!d) return false;
    if (previous) *previous = d->state.position;
    d->state.position = TPoint{x, y};
    return true;
}

bool GetCurrentPositionEx(HDC dc, TPoint* position) {
    auto d = FindDc(dc);
    if (!d || !position) return false;
    *position = d->state.position;
    return true;
}

// ---------------------------------------------------------------------------
// Clip

int SelectClipRgn(HDC dc, HRGN region) { return ExtSelectClipRgn(dc, region, RGN_COPY); }

int ExtSelectClipRgn(HDC dc, HRGN region, int mode) {
    auto d = FindDc(dc);
    if (!d) return RGN_ERROR;
    if (mode == RGN_COPY && !region) return SetClip(*d, std::nullopt);
    auto r = FindRegion(region);
    if (!r) return RGN_ERROR;
    if (mode == RGN_COPY) return SetClip(*d, r->region);
    const Region current = d->state.clip ? *d->state.clip : DeviceArea(*d);
    static constexpr RegionOp kOps[] = {RegionOp::And, RegionOp::Or, RegionOp::Xor, RegionOp::Diff};
    if (mode < RGN_AND || mode > RGN_DIFF) return RGN_ERROR;
    return SetClip(*d, current.Combine(r->region, kOps[mode - RGN_AND]));
}

int IntersectClipRect(HDC dc, int left, int top, int right, int bottom) {
    auto d = FindDc(dc);
    if (!d) return RGN_ERROR;
    const Region rect(ToDevice(*d, left, top, right, bottom));
    return SetClip(*d, d->state.clip ? d->state.clip->Combine(rect, RegionOp::And) : rect);
}

int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom) {
    auto d = FindDc(dc);
    if (!d) return RGN_ERROR;
    const Region rect(ToDevice(*d, left, top, right, bottom));
    const Region current = d->state.clip ? *d->state.clip : DeviceArea(*d);
    return SetClip(*d, current.Combine(rect, RegionOp::Diff));
}

int OffsetClipRgn(HDC dc, int dx, int dy) {
    auto d = FindDc(dc);
    if (!d) return RGN_ERROR;
    if (!d->state.clip) return SIMPLEREGION;
    d->state.clip->Offset(dx, dy);
    d->ClipChanged();
    return d->state.clip->Complexity();
}

int GetClipBox(HDC dc, TRect* box) {
    auto d = FindDc(dc);
    if (!d || !box) return RGN_ERROR;
    const Region& clip = d->SurfaceClip();
    const TRect b = clip.Bounds();
    const int64_t dx = int64_t{d->state.windowOrg.x} - d->deviceOrigin.x;
    const int64_t dy = int64_t{d->state.windowOrg.y} - d->deviceOrigin.y;
    auto fit = [](int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
    *box = clip.IsEmpty() ? TRect{}
                          : TRect{fit(b.left + dx), fit(b.top + dy), fit(b.right + dx), fit(b.bottom + dy)};
    return clip.Complexity();
}

int GetClipRgn(HDC dc, HRGN into) {
    auto d = FindDc(dc);
    auto r = FindRegion(into);
    if (!d || !r) return -1;
    if (!d->state.clip) return 0;
    r->region = *d->state.clip;
    return 1;
}

bool PtVisible(HDC dc, int x, int y) {
    auto d = FindDc(dc);
    if (!d) return false;
    const int64_t sx = int64_t{x} - d->state.windowOrg.x + d->deviceOrigin.x;
    const int64_t sy = int64_t{y} - d->state.windowOrg.y + d->deviceOrigin.y;
    if (sx < INT32_MIN || sx > INT32_MAX || sy < INT32_MIN || sy > INT32_MAX) return false;
    return d->SurfaceClip().Contains(static_cast<int>(sx), static_cast<int>(sy));
}

}  // namespace tarvel
