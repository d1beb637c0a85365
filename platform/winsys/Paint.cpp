// The paint cycle: update regions, WM_NCPAINT/WM_PAINT, window DCs over the
// top-level back buffer, window regions, and presenting to the display.

#include <algorithm>
#include <optional>
#include <unordered_map>

#include "platform/winsys/MessageApi.h"
#include "platform/winsys/PaintApi.h"
#include "platform/winsys/WindowApi.h"
#include "platform/winsys/WinsysState.h"

namespace tarvel {

namespace {

constexpr size_t kMaxUpdatePieces = 64;
constexpr int kMaxBufferSide = 8192;

// What a DC asked for beyond its window's visible part: the update area of
// BeginPaint, the regions of GetDCEx. DC coordinates.
struct DcLimits {
    std::optional<RectList> only;  // none: no further limit
    RectList excluded;
};

// A DC handed out for a window: where it draws in its top-level buffer, and
// what is needed to move it along when the window moves (GetDC may be held
// for a window's life).
struct WindowDc {
    uint64_t dc = 0;  // 0: a free record
    HWND hwnd = nullptr;
    HWND top = nullptr;
    TPoint origin;    // top-level window coordinates of the DC's (0, 0)
    RectList pieces;  // its system region, top-level window coordinates
    bool wholeWindow = false;
    DWORD flags = 0;
    bool forPaint = false;  // BeginPaint's, gone at EndPaint: never moved
    DcLimits limits;
};

// Where a window's DC lies in its top-level buffer and what it may touch.
struct DcPlacement {
    TPoint origin;  // top-level window coordinates of the DC's (0, 0)
    RectList visible;
};

// Records are reused, with what they hold, by the DCs that follow.
std::vector<WindowDc>& OpenDcs() {
    static std::vector<WindowDc> dcs;
    return dcs;
}

WindowDc* FindDcRecord(uint64_t dc) {
    for (WindowDc& rec : OpenDcs())
        if (rec.dc == dc) return &rec;
    return nullptr;
}

WindowDc& NewDcRecord(uint64_t dc) {
    WindowDc* rec = FindDcRecord(0);
    if (!rec) rec = &OpenDcs().emplace_back();
    rec->dc = dc;
    return *rec;
}

// Windows being printed: their DCs draw into a surface of the window's size
// (window coordinates) instead of their top-level buffer.
std::unordered_map<HWND, std::shared_ptr<Surface>>& Redirected() {
    static std::unordered_map<HWND, std::shared_ptr<Surface>> redirected;
    return redirected;
}

std::shared_ptr<Surface> RedirectionOf(HWND hwnd) {
    auto& r = Redirected();
    auto it = r.find(hwnd);
    return it == r.end() ? nullptr : it->second;
}

TPoint Sub(TPoint a, TPoint b) { return TPoint{a.x - b.x, a.y - b.y}; }

TRect ClientInWindow(const Window* w) { return w->client; }

void AddUpdate(Window* w, const TRect& clientArea, bool erase) {
    TRect c = Intersect(clientArea, TRect{0, 0, w->client.Width(), w->client.Height()});
    if (c.IsEmpty()) return;
    w->update.Add(c);
    if (w->update.Rects().size() > kMaxUpdatePieces) w->update = RectList(w->update.Bounds());
    if (erase) w->erase = true;
}

void InvalidateArea(Window* w, const TRect& windowArea, bool erase, bool intoChildren) {
    if (windowArea.IsEmpty()) return;
    TRect whole{0, 0, w->rect.Width(), w->rect.Height()};
    TRect area = Intersect(windowArea, whole);
    if (area.IsEmpty()) return;
    TRect client = ClientInWindow(w);
    if (!(Intersect(area, client) == area)) w->ncDirty = true;
    TRect inClient = area;
    inClient.Offset(-client.left, -client.top);
    AddUpdate(w, inClient, erase);
    if (!intoChildren) return;
    for (HWND h : w->children) {
        Window* c = FindWindow(h);
        if (!c || !(c->style & WS_VISIBLE)) continue;
        TRect childArea = inClient;  // the child's rect is in our client coordinates
        childArea.Offset(-c->rect.left, -c->rect.top);
        InvalidateArea(c, childArea, erase, !(c->style & WS_CLIPCHILDREN));
    }
}

// The pieces of `w` that its DC may touch, in top-level window coordinates.
void VisibleArea(Window* w, Window* top, bool wholeWindow, DWORD flags, RectList& vis) {
    vis.Clear();
    TPoint topOrigin = WindowOriginOnScreen(top);
    TPoint wo = Sub(WindowOriginOnScreen(w), topOrigin);
    TRect area = wholeWindow ? Bounds(wo.x, wo.y, w->rect.Width(), w->rect.Height())
                             : Bounds(wo.x + w->client.left, wo.y + w->client.top, w->client.Width(),
                                      w->client.Height());
    if (!IsWindowVisible(w->hwnd) || PaintingSuppressed(w)) return;
    // Up to the top-level window only: it has a buffer of its own, so its
    // parts beyond the screen are drawn too and shown when it moves there.
    for (Window* a = w == top ? nullptr : FindWindow(w->parent); a && a != top; a = FindWindow(a->parent)) {
        TPoint ao = Sub(ClientOriginOnScreen(a), topOrigin);
        area = Intersect(area, Bounds(ao.x, ao.y, a->client.Width(), a->client.Height()));
    }
    if (w != top) {
        TPoint to = Sub(ClientOriginOnScreen(top), topOrigin);
        area = Intersect(area, Bounds(to.x, to.y, top->client.Width(), top->client.Height()));
    }
    area = Intersect(area, TRect{0, 0, top->rect.Width(), top->rect.Height()});
    vis.Reset(area);
    if (vis.IsEmpty()) return;

    const bool useStyle = flags & DCX_USESTYLE;
    if ((useStyle && (w->style & WS_CLIPCHILDREN)) || (flags & DCX_CLIPCHILDREN)) {
        TPoint co = Sub(ClientOriginOnScreen(w), topOrigin);
        // Children show only within the client area: the frame stays ours.
        const TRect client = Bounds(co.x, co.y, w->client.Width(), w->client.Height());
        for (HWND h : w->children) {
            Window* c = FindWindow(h);
            if (c && (c->style & WS_VISIBLE))
                vis.Subtract(Intersect(client, Bounds(co.x + c->rect.left, co.y + c->rect.top,
                                                      c->rect.Width(), c->rect.Height())));
        }
    }
    if (((useStyle && (w->style & WS_CLIPSIBLINGS)) || (flags & DCX_CLIPSIBLINGS)) && w != top) {
        Window* p = FindWindow(w->parent);
        TPoint po = Sub(ClientOriginOnScreen(p), topOrigin);
        for (HWND h : p->children) {
            if (h == w->hwnd) break;  // only the siblings above
            Window* c = FindWindow(h);
            if (c && (c->style & WS_VISIBLE))
                vis.Subtract(
                    Bounds(po.x + c->rect.left, po.y + c->rect.top, c->rect.Width(), c->rect.Height()));
        }
    }
    if (!w->shape.empty()) vis.IntersectWith(ShapeArea(w, wo));
}

// What the DC asked for narrows what it may touch.
void ApplyLimits(DcPlacement& p, const DcLimits& limits) {
    if (limits.only) {
        RectList only = *limits.only;
        only.Offset(p.origin.x, p.origin.y);
        p.visible.IntersectWith(only);
    }
    for (TRect r : limits.excluded.Rects()) {
        r.Offset(p.origin.x, p.origin.y);
        p.visible.Subtract(r);
    }
}

// The placement is worked out in one place kept between DCs (nothing in
// between sends a message), so the pieces of a window with many children
// need no new memory each paint.
DcPlacement& PlaceDc(Window* w, Window* top, bool wholeWindow, const DcLimits& limits, DWORD flags) {
    static DcPlacement placement;
    DcPlacement& p = placement;
    VisibleArea(w, top, wholeWindow, flags, p.visible);
    TPoint wo = Sub(WindowOriginOnScreen(w), WindowOriginOnScreen(top));
    p.origin = wholeWindow ? wo : TPoint{wo.x + w->client.left, wo.y + w->client.top};
    ApplyLimits(p, limits);
    return p;
}

// The visible area becomes the DC's system region, out of the caller's
// reach: clearing or replacing its clip cannot paint over children,
// siblings or beyond the window.
void PlaceSurfaceDc(HDC dc, const std::shared_ptr<Surface>& buffer, const DcPlacement& p) {
    RetargetSurfaceDC(dc, buffer, p.origin, p.visible.Bounds());
    static RectList inDc;
    inDc = p.visible;
    inDc.Offset(-p.origin.x, -p.origin.y);
    HRGN rgn = ExtCreateRegion(inDc.Rects().data(), inDc.Rects().size());
    SetDCSystemRegion(dc, rgn);
    DeleteObject(rgn);
}

// A DC of a window being printed: all of its window or client area in the
// print surface, within its window region, and nothing kept to move along.
HDC MakePrintDc(Window* w, const std::shared_ptr<Surface>& target, bool wholeWindow, const DcLimits& limits) {
    const TRect whole{0, 0, w->rect.Width(), w->rect.Height()};
    DcPlacement p;
    p.origin = wholeWindow ? TPoint{} : TPoint{w->client.left, w->client.top};
    p.visible = RectList(wholeWindow ? whole : w->client);
    if (!w->shape.empty()) p.visible.IntersectWith(ShapeArea(w, TPoint{}));
    ApplyLimits(p, limits);
    HDC dc = CreateSurfaceDC(target, p.origin, p.visible.Bounds());
    if (dc) PlaceSurfaceDc(dc, target, p);
    return dc;
}

HDC MakeWindowDc(Window* w, bool wholeWindow, DcLimits limits, DWORD flags, bool forPaint) {
    if (std::shared_ptr<Surface> target = RedirectionOf(w->hwnd))
        return MakePrintDc(w, target, wholeWindow, limits);
    Window* top = w->messageOnly ? nullptr : TopLevelOf(w);
    if (!top || !top->buffer) return CreateCompatibleDC(nullptr);
    const DcPlacement& p = PlaceDc(w, top, wholeWindow, limits, flags);
    HDC dc = CreateSurfaceDC(top->buffer, p.origin, p.visible.Bounds());
    if (!dc) return dc;
    PlaceSurfaceDc(dc, top->buffer, p);
    WindowDc& rec = NewDcRecord(dc.Value());
    rec.hwnd = w->hwnd;
    rec.top = top->hwnd;
    rec.origin = p.origin;
    rec.pieces = p.visible;
    rec.wholeWindow = wholeWindow;
    rec.flags = flags;
    rec.forPaint = forPaint;
    rec.limits = std::move(limits);
    return dc;
}

// What the DC has drawn into its top-level buffer is shown at the next idle.
void MarkPresent(HDC dc, const WindowDc& rec) {
    const TRect drawn = TakeDCDamage(dc);
    Window* top = FindWindow(rec.top);
    if (!top || drawn.IsEmpty()) return;
    TRect& d = top->presentDirty;
    if (d.IsEmpty()) {
        d = drawn;
    } else {
        d = TRect{std::min(d.left, drawn.left), std::min(d.top, drawn.top), std::max(d.right, drawn.right),
                  std::max(d.bottom, drawn.bottom)};
    }
}

bool ReleaseWindowDc(HDC dc) {
    if (WindowDc* rec = dc ? FindDcRecord(dc.Value()) : nullptr) {
        MarkPresent(dc, *rec);
        rec->dc = 0;
    }
    return DeleteDC(dc);
}

HWND FindPaintIn(Window* w, HWND filter) {
    if (!(w->style & WS_VISIBLE) || (w->style & WS_MINIMIZE)) return nullptr;
    // What they need stays remembered for when painting comes back.
    if (w->redrawOff || w->layeredUpdate) return nullptr;
    if ((w->ncDirty || !w->update.IsEmpty()) && WindowInFilter(w->hwnd, filter)) return w->hwnd;
    // Lower siblings first: upper ones paint over them.
    for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) {
        Window* c = FindWindow(*it);
        if (!c) continue;
        if (HWND h = FindPaintIn(c, filter)) return h;
    }
    return nullptr;
}

// A snapshot of the screen, DC (0, 0) at the screen's (0, 0).
HDC ScreenDc() {
    DisplayBackend* backend = State().backend.get();
    std::shared_ptr<Surface> shot = backend->ScreenPixels();
    if (!shot) return CreateCompatibleDC(nullptr);
    const TRect screen = backend->ScreenRect();
    return CreateSurfaceDC(shot, TPoint{-screen.left, -screen.top}, shot->BoundsRect());
}

std::vector<TRect> RegionRects(HRGN region) {
    std::vector<TRect> rects;
    GetRegionRects(region, [&rects](const TRect& r) { rects.push_back(r); });
    return rects;
}

}  // namespace

// ---- invalidation ----

void InvalidateWindowArea(Window* w, const TRect& windowArea, bool erase) {
    InvalidateArea(w, windowArea, erase, !(w->style & WS_CLIPCHILDREN));
}

void InvalidateWhole(Window* w, bool erase) {
    w->ncDirty = true;
    InvalidateArea(w, TRect{0, 0, w->rect.Width(), w->rect.Height()}, erase, false);
    for (HWND h : w->children) {
        Window* c = FindWindow(h);
        if (c && (c->style & WS_VISIBLE)) InvalidateWhole(c, erase);
    }
}

void InvalidateParentArea(Window* w, const TRect& rectInParent) {
    Window* p = FindWindow(w->parent);
    if (!p || p->hwnd == State().desktop || !IsWindowVisible(p->hwnd)) return;
    TRect r = rectInParent;
    r.Offset(p->client.left, p->client.top);
    // Whatever lay under the old place shows again: the parent and the
    // siblings there.
    InvalidateArea(p, r, true, true);
}

bool NeedsPaint(const Window* w) { return w->ncDirty || !w->update.IsEmpty(); }

RectList ShapeArea(const Window* w, TPoint offset) {
    RectList area;
    for (TRect r : w->shape) {
        r.Offset(offset.x, offset.y);
        area.Add(r);
    }
    return area;
}

bool PaintingSuppressed(const Window* w) {
    for (const Window* a = w; a; a = FindWindow(a->parent)) {
        if (a->redrawOff) return true;
        if (IsTopLevel(a)) return a->layeredUpdate;
    }
    return false;
}

void SetRedraw(Window* w, bool on) {
    if (on == !w->redrawOff) return;
    w->redrawOff = !on;
    MoveWindowDcs();  // kept DCs lose or get back their window's part
    // Whatever was held back, and whatever was drawn on DCs meanwhile, shows
    // in one paint of each window.
    if (on && IsWindowVisible(w->hwnd)) InvalidateWhole(w, true);
}

void RedirectWindowDcs(HWND hwnd, std::shared_ptr<Surface> target) {
    if (target)
        Redirected()[hwnd] = std::move(target);
    else
        Redirected().erase(hwnd);
}

HWND FindWindowToPaint(HWND filter) {
    Window* desk = FindWindow(State().desktop);
    for (HWND h : desk->children) {
        Window* w = FindWindow(h);
        if (!w) continue;
        if (HWND found = FindPaintIn(w, filter)) return found;
    }
    return nullptr;
}

void PaintWindowNow(Window* w) {
    HWND hwnd = w->hwnd;
    if (w->ncDirty) {
        w->ncDirty = false;
        SendMessage(hwnd, WM_NCPAINT, 1, 0);
        if (!(w = FindWindow(hwnd))) return;
    }
    if (w->update.IsEmpty()) return;
    w->validatedInPaint = false;
    SendMessage(hwnd, WM_PAINT, 0, 0);
    if (!(w = FindWindow(hwnd))) return;
    // A handler that never validates would be painted forever.
    if (!w->validatedInPaint) {
        w->update.Clear();
        w->erase = false;
    }
}

bool InvalidateRect(HWND hwnd, const TRect* rect, bool erase) {
    if (!hwnd) {
        for (HWND h : GetChildWindows(GetDesktopWindow())) InvalidateRect(h, rect, erase);
        return true;
    }
    Window* w = FindWindow(hwnd);
    if (!w || w->messageOnly) return false;
    if (!IsWindowVisible(hwnd)) return true;
    TRect r = rect ? *rect : TRect{0, 0, w->client.Width(), w->client.Height()};
    r.Offset(w->client.left, w->client.top);
    InvalidateArea(w, Intersect(r, w->client), erase, !(w->style & WS_CLIPCHILDREN));
    return true;
}

bool InvalidateRgn(HWND hwnd, HRGN region, bool erase) {
    if (!region) return InvalidateRect(hwnd, nullptr, erase);
    for (const TRect& r : RegionRects(region)) InvalidateRect(hwnd, &r, erase);
    return IsWindow(hwnd);
}

bool ValidateRect(HWND hwnd, const TRect* rect) {
    Window* w = FindWindow(hwnd);
    if (!w) return false;
    w->validatedInPaint = true;
    if (rect) {
        w->update.Subtract(*rect);
    } else {
        w->update.Clear();
        w->ncDirty = false;
    }
    if (w->update.IsEmpty()) w->erase = false;
    return true;
}

bool ValidateRgn(HWND hwnd, HRGN region) {
    if (!region) return ValidateRect(hwnd, nullptr);
    for (const TRect& r : RegionRects(region)) ValidateRect(hwnd, &r);
    return IsWindow(hwnd);
}

bool GetUpdateRect(HWND hwnd, TRect* rect, bool erase) {
    Window* w = FindWindow(hwnd);
    if (!w) return false;
    if (rect) *rect = w->update.Bounds();
    bool any = !w->update.IsEmpty();
    if (any && erase && w->erase) {
        HDC dc = GetDC(hwnd);
        w->erase = SendMessage(hwnd, WM_ERASEBKGND, DcToWParam(dc), 0) == 0;
        ReleaseDC(hwnd, dc);
    }
    return any;
}

int GetUpdateRgn(HWND hwnd, HRGN region, bool erase) {
    Window* w = FindWindow(hwnd);
    if (!w || !region) return RGN_ERROR;
    const auto& rects = w->update.Rects();
    HRGN built = ExtCreateRegion(rects.data(), rects.size());
    int result = CombineRgn(region, built, nullptr, RGN_COPY);
    DeleteObject(built);
    GetUpdateRect(hwnd, nullptr, erase);
    return result;
}

bool RedrawWindow(HWND hwnd, const TRect* rect, HRGN region, UINT flags) {
    if (!hwnd) hwnd = GetDesktopWindow();
    Window* w = FindWindow(hwnd);
    if (!w) return false;
    RectList::Storage areas;
    if (region) {
        const std::vector<TRect> rects = RegionRects(region);
        areas.assign(rects.begin(), rects.end());
    } else {
        areas.push_back(rect ? *rect : TRect{0, 0, w->client.Width(), w->client.Height()});
    }
    if (hwnd == State().desktop) {
        for (HWND h : w->children) RedrawWindow(h, nullptr, nullptr, flags);
        return true;
    }
    if (flags & RDW_INVALIDATE) {
        bool intoChildren =
            (flags & RDW_ALLCHILDREN) || (!(flags & RDW_NOCHILDREN) && !(w->style & WS_CLIPCHILDREN));
        for (TRect r : areas) {
            r.Offset(w->client.left, w->client.top);
            InvalidateArea(w, r, flags & RDW_ERASE, intoChildren);
        }
        if (flags & RDW_FRAME) w->ncDirty = true;
    }
    if (flags & RDW_VALIDATE) {
        for (const TRect& r : areas) ValidateRect(hwnd, &r);
        if (flags & RDW_NOFRAME) w->ncDirty = false;
    }
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) {
        UpdateWindow(hwnd);
        // Painting may add or destroy windows: walk by index, looking the
        // list up again each time.
        if (flags & RDW_ALLCHILDREN)
            for (size_t i = 0;; ++i) {
                Window* now = FindWindow(hwnd);
                if (!now || i >= now->children.size()) break;
                RedrawWindow(now->children[i], nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            }
    }
    return true;
}

bool UpdateWindow(HWND hwnd) {
    Window* w = FindWindow(hwnd);
    if (!w) return false;
    if (IsWindowVisible(hwnd) && NeedsPaint(w) && !PaintingSuppressed(w)) PaintWindowNow(w);
    return true;
}

// ---- DCs ----

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
    Window* w = FindWindow(hwnd);
    if (!w || !ps) return nullptr;
    if (std::shared_ptr<Surface> target = RedirectionOf(hwnd)) {
        // Printed: all of the client, and the window's own update stays due.
        ps->rcPaint = TRect{0, 0, w->client.Width(), w->client.Height()};
        ps->fErase = false;
        ps->hdc = MakePrintDc(w, target, false, DcLimits{});
        return ps->hdc;
    }
    if (w->ncDirty) {
        w->ncDirty = false;
        SendMessage(hwnd, WM_NCPAINT, 1, 0);
        if (!(w = FindWindow(hwnd))) return nullptr;
    }
    HideCaretForPaint(hwnd);
    RectList area = w->update;
    bool erase = w->erase;
    w->update.Clear();
    w->erase = false;
    w->validatedInPaint = true;
    ps->rcPaint = area.Bounds();
    ps->hdc = MakeWindowDc(w, false, DcLimits{area, {}}, DCX_USESTYLE, true);
    ps->fErase = erase;
    if (erase && ps->hdc) ps->fErase = SendMessage(hwnd, WM_ERASEBKGND, DcToWParam(ps->hdc), 0) == 0;
    return ps->hdc;
}

bool EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
    if (!ps || !ps->hdc) return false;
    bool released = ReleaseWindowDc(ps->hdc);
    if (!RedirectionOf(hwnd)) ShowCaretAfterPaint(hwnd);
    return released;
}

HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags) {
    if (!hwnd) hwnd = GetDesktopWindow();
    Window* w = FindWindow(hwnd);
    if (!w) return nullptr;
    if (hwnd == State().desktop) return ScreenDc();
    DcLimits limits;
    if (clip && (flags & DCX_INTERSECTRGN)) {
        limits.only.emplace();
        for (const TRect& r : RegionRects(clip)) limits.only->Add(r);
    }
    if (clip && (flags & DCX_EXCLUDERGN))
        for (const TRect& r : RegionRects(clip)) limits.excluded.Add(r);
    return MakeWindowDc(w, flags & DCX_WINDOW, std::move(limits), flags, false);
}

HDC GetDC(HWND hwnd) { return GetDCEx(hwnd, nullptr, DCX_USESTYLE); }
HDC GetWindowDC(HWND hwnd) { return GetDCEx(hwnd, nullptr, DCX_WINDOW | DCX_USESTYLE); }

int ReleaseDC(HWND, HDC dc) { return ReleaseWindowDc(dc) ? 1 : 0; }

std::shared_ptr<Surface> GetWindowSurface(HWND hwnd) {
    Window* w = FindWindow(hwnd);
    return w && IsTopLevel(w) ? w->buffer : nullptr;
}

// ---- window regions ----

int SetWindowRgn(HWND hwnd, HRGN region, bool redraw) {
    if (!IsWindow(hwnd)) return 0;
    std::vector<TRect> shape;
    if (region) {
        shape = RegionRects(region);
        DeleteObject(region);
    }
    return SetWindowShape(hwnd, shape, redraw) ? 1 : 0;
}

int GetWindowRgn(HWND hwnd, HRGN region) {
    Window* w = FindWindow(hwnd);
    if (!w || !region || w->shape.empty()) return RGN_ERROR;
    HRGN built = ExtCreateRegion(w->shape.data(), w->shape.size());
    int result = CombineRgn(region, built, nullptr, RGN_COPY);
    DeleteObject(built);
    return result;
}

// ---- the back buffer and the display ----

namespace {

// The spare buffer if it has the size asked for, cleared where its last
// window drew: as new as a fresh one, without clearing a screen's worth.
std::shared_ptr<Surface> TakeSpareBuffer(int width, int height) {
    WinsysState& s = State();
    if (!s.spareBuffer || s.spareBuffer->Width() != width || s.spareBuffer->Height() != height)
        return nullptr;
    std::shared_ptr<Surface> buffer = std::move(s.spareBuffer);
    const int usedW = std::min(s.spareBufferUsed.cx, width), usedH = std::min(s.spareBufferUsed.cy, height);
    for (int y = 0; y < usedH; ++y) std::fill_n(buffer->Row(y), usedW, 0u);
    return buffer;
}

}  // namespace

void ResizeBackBuffer(Window* w) {
    int W = std::min(w->rect.Width(), kMaxBufferSide);
    int H = std::min(w->rect.Height(), kMaxBufferSide);
    if (w->buffer && w->buffer->Width() >= W && w->buffer->Height() >= H) {
        w->bufferUsed = TSize{std::max(w->bufferUsed.cx, W), std::max(w->bufferUsed.cy, H)};
        return;
    }
    // At least screen-sized, so that growing a window rarely replaces the
    // buffer under DCs that callers keep.
    TRect screen = State().backend->ScreenRect();
    int bw = std::clamp(std::max(W, screen.Width()), 1, kMaxBufferSide);
    int bh = std::clamp(std::max(H, screen.Height()), 1, kMaxBufferSide);
    std::shared_ptr<Surface> buffer = TakeSpareBuffer(bw, bh);
    if (!buffer) buffer = std::make_shared<Surface>(bw, bh);
    if (!buffer->Valid()) return;
    w->buffer = std::move(buffer);
    w->bufferUsed = TSize{W, H};
}

void LeaveBackBuffer(Window* w) {
    // Only a buffer nothing else holds: a DC kept open could still draw into it.
    if (!w->buffer || w->buffer.use_count() != 1) return;
    WinsysState& s = State();
    s.spareBuffer = std::move(w->buffer);
    s.spareBufferUsed = w->bufferUsed;
}

void PresentWhole(Window* w) { w->presentDirty = TRect{0, 0, w->rect.Width(), w->rect.Height()}; }

void PresentDirtyWindows() {
    WinsysState& s = State();
    // DCs that callers keep open may have drawn since the last look.
    for (const WindowDc& rec : OpenDcs())
        if (rec.dc) MarkPresent(HDC(rec.dc), rec);
    Window* desk = FindWindow(s.desktop);
    for (HWND h : desk->children) {
        Window* w = FindWindow(h);
        if (!w || w->presentDirty.IsEmpty()) continue;
        TRect dirty = w->presentDirty;
        w->presentDirty = TRect{};
        if (w->style & WS_VISIBLE) s.backend->Present(h, dirty);
    }
}

void MoveWindowDcs() {
    for (WindowDc& rec : OpenDcs()) {
        if (!rec.dc || rec.forPaint) continue;
        Window* w = FindWindow(rec.hwnd);
        Window* top = w ? TopLevelOf(w) : nullptr;
        if (!top || !top->buffer) continue;
        HDC dc(rec.dc);
        const DcPlacement& p = PlaceDc(w, top, rec.wholeWindow, rec.limits, rec.flags);
        if (top->hwnd == rec.top && GetDCSurface(dc) == top->buffer && p.origin == rec.origin &&
            p.visible == rec.pieces)
            continue;
        MarkPresent(dc, rec);  // drawn where the window was
        PlaceSurfaceDc(dc, top->buffer, p);
        rec.top = top->hwnd;
        rec.origin = p.origin;
        rec.pieces = p.visible;
    }
}

void ForgetWindowDcs(HWND hwnd) {
    for (WindowDc& rec : OpenDcs()) {
        if (!rec.dc || rec.hwnd != hwnd) continue;
        DeleteDC(HDC(rec.dc));
        rec.dc = 0;
    }
}

}  // namespace tarvel
