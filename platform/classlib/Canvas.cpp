#include <algorithm>

#include "platform/classlib/Graphics.h"

namespace tarvel {

TCanvas::TCanvas() {
    font_.OnChange = [this](TObject*) { selected_.Exclude(cpFont); };
    pen_.OnChange = [this](TObject*) { selected_.Exclude(cpPen); };
    brush_.OnChange = [this](TObject*) { selected_.Exclude(cpBrush); };
}

TCanvas::~TCanvas() { SetHandle(nullptr); }

HDC TCanvas::Handle() {
    if (!handle_) CreateHandle();
    if (!handle_) throw EInvalidGraphicOperation("Canvas does not allow drawing");
    return handle_;
}

void TCanvas::SetHandle(HDC dc) {
    if (dc == handle_) return;
    if (handle_) {
        GetCurrentPositionEx(handle_, &penPos_);
        DeselectHandles();
        handle_ = nullptr;
    }
    if (dc) {
        handle_ = dc;
        MoveToEx(dc, penPos_.x, penPos_.y, nullptr);
    }
}

void TCanvas::Lock() {
    lock_.lock();
    ++lockCount_;
}

bool TCanvas::TryLock() {
    if (!lock_.try_lock()) return false;
    ++lockCount_;
    return true;
}

void TCanvas::Unlock() {
    --lockCount_;
    lock_.unlock();
}

void TCanvas::Changing() {
    if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
    if (OnChange) OnChange(this);
}

// ---- selection -------------------------------------------------------------

HDC TCanvas::Require(TCanvasParts parts) {
    HDC dc = Handle();
    const TCanvasParts missing = parts - selected_;
    if (missing.Contains(cpFont)) SelectFont(dc);
    if (missing.Contains(cpPen)) SelectPen(dc);
    if (missing.Contains(cpBrush)) SelectBrush(dc);
    return dc;
}

HDC TCanvas::SelectObjects() { return Require({cpFont, cpPen, cpBrush}); }

void TCanvas::SelectFont(HDC dc) {
    const HFONT old = SelectObject(dc, font_.Handle());
    if (!oldFont_) oldFont_ = old;
    SetTextColor(dc, ColorToColorRef(font_.Color()));
    selected_.Include(cpFont);
}

void TCanvas::SelectPen(HDC dc) {
    const HPEN old = SelectObject(dc, pen_.Handle());
    if (!oldPen_) oldPen_ = old;
    selected_.Include(cpPen);
}

void TCanvas::SelectBrush(HDC dc) {
    const HBRUSH old = SelectObject(dc, brush_.Handle());
    if (!oldBrush_) oldBrush_ = old;
    // Text and dashed lines fill their background from a solid brush; a
    // hatch would vanish in its own colour, so it leaves the gaps alone.
    SetBkColor(dc, ColorToColorRef(brush_.Color()));
    SetBkMode(dc, brush_.SeeThrough() ? TRANSPARENT : OPAQUE);
    selected_.Include(cpBrush);
}

void TCanvas::DeselectHandles() {
    if (oldFont_) SelectObject(handle_, oldFont_);
    if (oldPen_) SelectObject(handle_, oldPen_);
    if (oldBrush_) SelectObject(handle_, oldBrush_);
    oldFont_ = nullptr;
    oldPen_ = nullptr;
    oldBrush_ = nullptr;
    selected_ = {};
}

// ---- shapes ----------------------------------------------------------------

TRect TCanvas::PenBounds(int x1, int y1, int x2, int y2) const {
    const int margin = pen_.Width() + 1;
    return TRect{std::min(x1, x2) - margin, std::min(y1, y2) - margin, std::max(x1, x2) + margin,
                 std::max(y1, y2) + margin};
}

// pmNot and pmXor: the shape is drawn on black into a scratch bitmap (in
// white for pmNot, in its own colours for pmXor) and xored onto the DC, so
// black, what the shape left alone, changes nothing.
template <class Shape>
void TCanvas::DrawShape(TRect bounds, Shape shape) {
    HDC dc = Require({cpPen, cpBrush});
    Changing();
    if (pen_.Mode() == pmCopy) {
        shape(dc);
        Changed();
        return;
    }
    TRect clip;
    GetClipBox(dc, &clip);
    bounds = Intersect(bounds, clip);
    if (!bounds.IsEmpty()) {
        BITMAPINFO info;
        info.bmiHeader.biWidth = bounds.Width();
        info.bmiHeader.biHeight = -bounds.Height();
        HBITMAP scratch = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, nullptr, nullptr, 0);
        HDC tmp = CreateCompatibleDC(nullptr);
        SelectObject(tmp, scratch);
        SetWindowOrgEx(tmp, bounds.left, bounds.top, nullptr);
        SetBkMode(tmp, TRANSPARENT);
        HPEN whitePen;
        HBRUSH whiteBrush;
        if (pen_.Mode() == pmNot) {
            LOGPEN white = pen_.LogPen();
            white.lopnColor = 0xFFFFFF;
            whitePen = CreatePenIndirect(white);
            if (brush_.Hatched())
                whiteBrush = CreateHatchBrush(brush_.Hatch(), 0xFFFFFF);
            else if (brush_.Style() != bsClear)
                whiteBrush = CreateSolidBrush(0xFFFFFF);
            SelectObject(tmp, whitePen);
            SelectObject(tmp, whiteBrush ? whiteBrush : HBRUSH(GetStockObject(NULL_BRUSH)));
        } else {
            SelectObject(tmp, pen_.Handle());
            SelectObject(tmp, brush_.Handle());
        }
        TPoint pos;
        GetCurrentPositionEx(dc, &pos);
        MoveToEx(tmp, pos.x, pos.y, nullptr);
        shape(tmp);
        BitBlt(dc, bounds.left, bounds.top, bounds.Width(), bounds.Height(), tmp, bounds.left, bounds.top,
               SRCINVERT);
        DeleteDC(tmp);
        DeleteObject(scratch);
        if (whitePen) DeleteObject(whitePen);
        if (whiteBrush) DeleteObject(whiteBrush);
    }
    Changed();
}

TPoint TCanvas::PenPos() {
    TPoint p;
    GetCurrentPositionEx(Handle(), &p);
    return p;
}

void TCanvas::MoveTo(int x, int y) { MoveToEx(Handle(), x, y, nullptr); }

void TCanvas::LineTo(int x, int y) {
    const TPoint from = PenPos();
    DrawShape(PenBounds(from.x, from.y, x, y), [&](HDC dc) { ::tarvel::LineTo(dc, x, y); });
    MoveTo(x, y);  // in pmNot and pmXor the line was drawn on a scratch DC
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    DrawShape(PenBounds(x1, y1, x2, y2), [&](HDC dc) { ::tarvel::Rectangle(dc, x1, y1, x2, y2); });
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    DrawShape(PenBounds(x1, y1, x2, y2), [&](HDC dc) { ::tarvel::Ellipse(dc, x1, y1, x2, y2); });
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) {
    DrawShape(PenBounds(x1, y1, x2, y2),
              [&](HDC dc) { ::tarvel::RoundRect(dc, x1, y1, x2, y2, cornerWidth, cornerHeight); });
}

namespace {
TRect PointsBox(std::span<const TPoint> points) {
    if (points.empty()) return TRect{};
    TRect box{points[0].x, points[0].y, points[0].x, points[0].y};
    for (const TPoint& p : points) {
        box.left = std::min(box.left, p.x);
        box.top = std::min(box.top, p.y);
        box.right = std::max(box.right, p.x);
        box.bottom = std::max(box.bottom, p.y);
    }
    return box;
}
}  // namespace

void TCanvas::Polygon(std::span<const TPoint> points) {
    const TRect box = PointsBox(points);
    DrawShape(PenBounds(box.left, box.top, box.right, box.bottom),
              [&](HDC dc) { ::tarvel::Polygon(dc, points.data(), static_cast<int>(points.size())); });
}

void TCanvas::Polyline(std::span<const TPoint> points) {
    const TRect box = PointsBox(points);
    DrawShape(PenBounds(box.left, box.top, box.right, box.bottom),
              [&](HDC dc) { ::tarvel::Polyline(dc, points.data(), static_cast<int>(points.size())); });
}

void TCanvas::FillRect(const TRect& rect) {
    HDC dc = Require({cpBrush});
    Changing();
    ::tarvel::FillRect(dc, rect, brush_.Handle());
    Changed();
}

void TCanvas::FrameRect(const TRect& rect) {
    HDC dc = Require({cpBrush});
    Changing();
    ::tarvel::FrameRect(dc, rect, brush_.Handle());
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& rect) {
    HDC dc = Handle();
    Changing();
    ::tarvel::DrawFocusRect(dc, rect);
    Changed();
}

// ---- text ------------------------------------------------------------------

void TCanvas::TextOut(int x, int y, const String& text) {
    HDC dc = Require({cpFont, cpBrush});
    Changing();
    ExtTextOutA(dc, x, y, 0, nullptr, text);
    TSize size;
    GetTextExtentPoint32A(dc, text, &size);
    MoveToEx(dc, x + size.cx, y, nullptr);
    Changed();
}

void TCanvas::TextRect(const TRect& rect, int x, int y, const String& text) {
    HDC dc = Require({cpFont, cpBrush});
    Changing();
    const unsigned options = ETO_CLIPPED | (brush_.SeeThrough() ? 0u : ETO_OPAQUE);
    ExtTextOutA(dc, x, y, options, &rect, text);
    Changed();
}

TSize TCanvas::TextExtent(const String& text) {
    TSize size;
    GetTextExtentPoint32A(Require({cpFont}), text, &size);
    return size;
}

// ---- graphics and pixels ---------------------------------------------------

void TCanvas::Draw(int x, int y, TGraphic* graphic) {
    if (!graphic || graphic->Empty()) return;
    StretchDraw(Bounds(x, y, graphic->Width(), graphic->Height()), graphic);
}

void TCanvas::StretchDraw(const TRect& rect, TGraphic* graphic) {
    if (!graphic || graphic->Empty()) return;
    Require({});
    Changing();
    graphic->Draw(*this, rect);
    Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& canvas, const TRect& source) {
    HDC dc = Require({cpBrush});
    HDC src = canvas.Handle();
    Changing();
    StretchBlt(dc, dest.left, dest.top, dest.Width(), dest.Height(), src, source.left, source.top,
               source.Width(), source.Height(), copyMode_);
    Changed();
}

TColor TCanvas::Pixels(int x, int y) { return GetPixel(Handle(), x, y); }

void TCanvas::SetPixels(int x, int y, TColor color) {
    HDC dc = Handle();
    Changing();
    ::tarvel::SetPixel(dc, x, y, ColorToColorRef(color));
    Changed();
}

}  // namespace tarvel
