#include "platform/classlib/Graphics.h"

#include "platform/classlib/Bitmaps.h"

namespace tarvel {

void TGraphicsObject::Changed() {
    FreeHandle();
    if (OnChange) OnChange(this);
}

void TGraphicsObject::FreeHandle() {
    if (handle_) DeleteObject(handle_);
    handle_ = nullptr;
}

// ---- TFont -----------------------------------------------------------------

TFont::TFont() = default;

void TFont::Assign(TPersistent* source) {
    auto* font = dynamic_cast<TFont*>(source);
    if (!font) return inherited::Assign(source);
    name_ = font->name_;
    height_ = font->height_;
    style_ = font->style_;
    color_ = font->color_;
    charset_ = font->charset_;
    pitch_ = font->pitch_;
    quality_ = font->quality_;
    Changed();
}

void TFont::SetName(const String& name) {
    if (name.empty() || name == name_) return;
    name_ = name;
    Changed();
}

int TFont::Size() const { return FontHeightToPoints(height_); }

void TFont::SetSize(int points) { SetHeight(PointsToFontHeight(points)); }

LOGFONTW TFont::LogFont() const {
    // Pitch and quality have the drawing layer's numbering.
    static constexpr uint8_t kPitch[] = {0 /* DEFAULT_PITCH */, 2 /* VARIABLE_PITCH */, 1 /* FIXED_PITCH */};
    LOGFONTW log;
    log.lfHeight = height_;
    log.lfWeight = style_.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    log.lfItalic = style_.Contains(fsItalic);
    log.lfUnderline = style_.Contains(fsUnderline);
    log.lfStrikeOut = style_.Contains(fsStrikeOut);
    log.lfCharSet = charset_;
    log.lfQuality = static_cast<uint8_t>(quality_);
    log.lfPitchAndFamily = kPitch[pitch_];
    SetFaceName(log, name_);
    return log;
}

HFONT TFont::Handle() {
    if (!handle_) handle_ = CreateFontIndirectW(LogFont());
    return HFONT(handle_);
}

// ---- TPen ------------------------------------------------------------------

void TPen::Assign(TPersistent* source) {
    auto* pen = dynamic_cast<TPen*>(source);
    if (!pen) return inherited::Assign(source);
    color_ = pen->color_;
    width_ = pen->width_;
    style_ = pen->style_;
    mode_ = pen->mode_;
    Changed();
}

LOGPEN TPen::LogPen() const {
    static constexpr int kStyle[] = {PS_SOLID,      PS_DASH, PS_DOT,        PS_DASHDOT,
                                     PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
    LOGPEN log;
    log.lopnStyle = kStyle[style_];
    log.lopnWidth = width_;
    log.lopnColor = ColorToColorRef(color_);
    return log;
}

HPEN TPen::Handle() {
    if (!handle_) handle_ = CreatePenIndirect(LogPen());
    return HPEN(handle_);
}

// ---- TBrush ----------------------------------------------------------------

void TBrush::Assign(TPersistent* source) {
    auto* brush = dynamic_cast<TBrush*>(source);
    if (!brush) return inherited::Assign(source);
    color_ = brush->color_;
    style_ = brush->style_;
    bitmap_ = brush->bitmap_;
    Changed();
}

void TBrush::SetColor(TColor color) {
    if (color == color_ && style_ != bsClear) return;
    color_ = color;
    if (style_ == bsClear) style_ = bsSolid;  // a hatch keeps its lines
    Changed();
}

void TBrush::SetBitmap(TBitmap* bitmap) {
    bitmap_ = bitmap;
    Changed();
}

HBRUSH TBrush::Handle() {
    if (handle_) return HBRUSH(handle_);
    if (bitmap_ && !bitmap_->Empty()) {
        handle_ = CreatePatternBrush(bitmap_->Handle());
    } else if (style_ == bsClear) {
        LOGBRUSH log;
        log.lbStyle = BS_NULL;
        handle_ = CreateBrushIndirect(log);
    } else if (Hatched()) {
        handle_ = CreateHatchBrush(Hatch(), ColorToColorRef(color_));
    } else {
        handle_ = CreateSolidBrush(ColorToColorRef(color_));
    }
    return HBRUSH(handle_);
}

// ---- TGraphic --------------------------------------------------------------

void TGraphic::SetTransparent(bool transparent) {
    if (transparent == transparent_) return;
    transparent_ = transparent;
    Changed();
}

void TGraphic::Changed() {
    modified_ = true;
    if (OnChange) OnChange(this);
}

void TGraphic::LoadFromFile(const String& fileName) {
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite, kMaxPictureFileBytes);
    LoadFromStream(stream);
}

void TGraphic::SaveToFile(const String& fileName) {
    TFileStream stream(fileName, fmCreate);
    SaveToStream(stream);
}

}  // namespace tarvel
