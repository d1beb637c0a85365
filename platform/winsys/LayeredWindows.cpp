// Layered top-level windows: whole-window opacity, a colour key, and pixels
// given from outside with their own alpha.

#include "platform/winsys/PaintApi.h"
#include "platform/winsys/WindowApi.h"
#include "platform/winsys/WinsysState.h"

namespace tarvel {

namespace {

Window* FindLayered(HWND hwnd) {
    Window* w = FindWindow(hwnd);
    return w && IsTopLevel(w) && (w->exStyle & WS_EX_LAYERED) ? w : nullptr;
}

// Back to pixels of its own painting.
void EndOutsidePixels(Window* w) {
    if (!w->layeredUpdate) return;
    w->layeredUpdate = false;
    w->perPixelAlpha = false;
    MoveWindowDcs();
    InvalidateWhole(w, true);
}

}  // namespace

void FillLayeredInfo(const Window* w, TopLevelInfo& info) {
    const bool layered = w->exStyle & WS_EX_LAYERED;
    info.alpha = layered ? w->alpha : 255;
    info.colorKeyed = layered && w->layeredKey;
    info.colorKey = ColorRefToPixel(w->colorKey);
    info.perPixelAlpha = layered && w->perPixelAlpha;
    info.alphaMask.reset();
    if (layered && !w->layeredUpdate && w->alphaMask) {
        info.perPixelAlpha = true;
        info.alphaMask = w->alphaMask;
    }
}

void ForgetLayering(Window* w) {
    EndOutsidePixels(w);
    w->alpha = 255;
    w->layeredAlpha = false;
    w->layeredKey = false;
    w->colorKey = 0;
    w->alphaMask.reset();
}

bool SetLayeredWindowAttributes(HWND hwnd, uint32_t colorKey, uint8_t alpha, DWORD flags) {
    Window* w = FindWindow(hwnd);
    if (!w || !(w->exStyle & WS_EX_LAYERED)) return false;
    w->layeredAlpha = flags & LWA_ALPHA;
    w->alpha = w->layeredAlpha ? alpha : 255;
    w->layeredKey = flags & LWA_COLORKEY;
    w->colorKey = w->layeredKey ? colorKey & 0x00FFFFFFu : 0;
    EndOutsidePixels(w);
    SyncTopLevel(w);
    return true;
}

bool GetLayeredWindowAttributes(HWND hwnd, uint32_t* colorKey, uint8_t* alpha, DWORD* flags) {
    Window* w = FindWindow(hwnd);
    if (!w || !(w->exStyle & WS_EX_LAYERED) || w->layeredUpdate) return false;
    if (colorKey) *colorKey = w->colorKey;
    if (alpha) *alpha = w->alpha;
    if (flags) *flags = (w->layeredAlpha ? LWA_ALPHA : 0) | (w->layeredKey ? LWA_COLORKEY : 0);
    return true;
}

bool UpdateLayeredWindow(HWND hwnd, HDC, const TPoint* position, const TSize* size, HDC source,
                         const TPoint* sourceOrigin, COLORREF key, const BLENDFUNCTION* blend, DWORD flags) {
    Window* w = FindLayered(hwnd);
    if (!w) return false;
    if ((flags & ULW_ALPHA) && (!blend || blend->BlendOp != AC_SRC_OVER)) return false;
    if (size && (size->cx <= 0 || size->cy <= 0)) return false;
    // Set first: the move and size below must not paint over the pixels.
    if (!w->layeredUpdate) {
        w->layeredUpdate = true;
        MoveWindowDcs();  // kept DCs draw there no more
    }
    w->layeredAlpha = flags & ULW_ALPHA;
    w->alpha = w->layeredAlpha ? blend->SourceConstantAlpha : 255;
    w->perPixelAlpha = w->layeredAlpha && (blend->AlphaFormat & AC_SRC_ALPHA);
    w->layeredKey = flags & ULW_COLORKEY;
    w->colorKey = w->layeredKey ? key & 0x00FFFFFFu : 0;
    if (position || size) {
        const UINT how =
            SWP_NOZORDER | SWP_NOACTIVATE | (position ? 0 : SWP_NOMOVE) | (size ? 0 : SWP_NOSIZE);
        SetWindowPos(hwnd, nullptr, position ? position->x : 0, position ? position->y : 0,
                     size ? size->cx : 0, size ? size->cy : 0, how);
        if (!(w = FindLayered(hwnd))) return false;
    }
    if (source && w->buffer) {
        const TRect whole{0, 0, w->rect.Width(), w->rect.Height()};
        HDC into = CreateSurfaceDC(w->buffer, TPoint{}, whole);
        const TPoint from = sourceOrigin ? *sourceOrigin : TPoint{};
        const bool copied =
            BitBlt(into, 0, 0, whole.Width(), whole.Height(), source, from.x, from.y, SRCCOPY);
        DeleteDC(into);
        if (!copied) return false;
    }
    PresentWhole(w);
    SyncTopLevel(w);
    return true;
}

bool SetLayeredWindowAlphaMask(HWND hwnd, std::shared_ptr<const Surface> mask) {
    Window* w = FindLayered(hwnd);
    if (!w || w->layeredUpdate) return false;
    w->alphaMask = std::move(mask);
    SyncTopLevel(w);
    return true;
}

bool DesktopComposited() {
    DisplayBackend* backend = State().backend.get();
    return backend && backend->ComposesWindows();
}

}  // namespace tarvel
