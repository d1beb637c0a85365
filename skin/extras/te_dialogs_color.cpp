#include "skin/extras/te_dialogs_color.h"

#include <algorithm>
#include <cmath>

#include "platform/base/Strings.h"
#include "skin/core/te_bitmap_colors.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_theme_manager.h"

namespace tarvel {

const std::array<TColor, TTeColorPanel::kBasicCount> TTeColorPanel::kBasicColors = [] {
    // Row by row as RGB; TColor keeps blue in the high byte.
    constexpr uint32_t kRgb[kBasicCount] = {
        0x000000, 0x993300, 0x333300, 0x003300, 0x003366, 0x000080, 0x333399, 0x333333, 0x800000, 0xFF6600,
        0x808000, 0x008000, 0x008080, 0x0000FF, 0x666699, 0x808080, 0xFF0000, 0xFF9900, 0x99CC00, 0x339966,
        0x33CCCC, 0x3366FF, 0x800080, 0x969696, 0xFF9999, 0xFFCC00, 0xFFFF00, 0x00FF00, 0x00FFFF, 0x00CCFF,
        0x993366, 0xC0C0C0, 0xFF99CC, 0xFFCC99, 0xFFFF99, 0xCCFFCC, 0xCCFFFF, 0x99CCFF, 0xCC99FF, 0xDEDEDE,
        0xFFD5EA, 0xFFEAD5, 0xFFFFD5, 0xDFFFDF, 0xDFFFFF, 0xC1E0FF, 0xE0C1FF, 0xFFFFFF,
    };
    std::array<TColor, kBasicCount> colors{};
    for (int i = 0; i < kBasicCount; ++i) colors[i] = teColorToColor(kRgb[i]);
    return colors;
}();

namespace {

constexpr int kSwatchColumns = 8;
constexpr int kSpectrumSource = 255;

struct THsl {
    float h = 0, s = 0, l = 0;
};

THsl HslOf(TColor color) {
    THsl hsl;
    RGBtoHSL(teColor(ColorToRGB(color), 255), hsl.h, hsl.s, hsl.l);
    return hsl;
}

TColor ColorOfHsl(float h, float s, float l) {
    return teColorToColor(
        HSLtoRGB(std::clamp(h, 0.f, 1.f), std::clamp(s, 0.f, 1.f), std::clamp(l, 0.f, 1.f)));
}

int Scaled255(float part) { return static_cast<int>(std::nearbyint(part * 255)); }

}  // namespace

TColorEditValues ColorEditValues(TColor color) {
    const TColor rgb = ColorToRGB(color);
    const THsl hsl = HslOf(rgb);
    return TColorEditValues{Scaled255(hsl.h),
                            Scaled255(hsl.s),
                            Scaled255(hsl.l),
                            static_cast<int>(rgb & 0xFF),
                            static_cast<int>((rgb >> 8) & 0xFF),
                            static_cast<int>((rgb >> 16) & 0xFF)};
}

template <class T>
T* TTeColorPanel::Add(TWinControl* parent, const char* name, const TRect& bounds) {
    auto* control = new T(this);
    control->SetName(name);
    control->SetParent(parent);
    control->SetBoundsRect(bounds);
    return control;
}

TTeColorPanel::TTeColorPanel(TComponent* owner)
    : TTeDialogPanel(owner), customColors_(std::make_unique<TStringList>()) {
    SetBounds(0, 0, kFullWidth, kHeight);
    auto label = [&](const char* name, const char* caption, int left, int top, bool full) {
        auto* l = Add<TTeLabel>(this, name, TRect{left, top, left + 70, top + 13});
        l->SetCaption(Utf8ToWide(caption));
        if (full) fullPart_.push_back(l);
    };
    label("BasicColorLabel", "Basic colors:", 6, 8, false);
    basicPaint_ = Add<TTeDialogPaintBox>(this, "BasicPaint", TRect{6, 24, 207, 155});
    basicPaint_->OnPaint = [this](TTeDialogPaintBox*, TCanvas& c) {
        PaintSwatches(c, kBasicColors.data(), kBasicCount);
    };
    basicPaint_->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int x, int y) {
        PickSwatch(kBasicColors.data(), kBasicCount, x, y);
    };
    label("CustomColorLabel", "Custom colors:", 6, 158, false);
    customPaint_ = Add<TTeDialogPaintBox>(this, "CustomPaint", TRect{6, 174, 207, 223});
    customPaint_->OnPaint = [this](TTeDialogPaintBox*, TCanvas& c) {
        PaintSwatches(c, custom_.data(), kCustomCount);
    };
    customPaint_->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int x, int y) {
        PickSwatch(custom_.data(), kCustomCount, x, y);
    };
    showFull_ = AddDialogButton(this, "teShowFullColors", bkCustom, "Define Custom Colors >>",
                                TRect{6, 230, 206, 255}, TAnchors{akLeft, akTop});
    showFull_->OnClick = [this](TObject* s) { ShowFullColors(s); };

    // A sunken frame two pixels wide around a paint box filling it.
    auto framed = [&](const char* panelName, const char* boxName, const TRect& bounds) {
        auto* panel = Add<TTePanel>(this, panelName, bounds);
        panel->SetBevelOuter(bvLowered);
        panel->SetBorderWidth(2);
        panel->SetCaption("");
        fullPart_.push_back(panel);
        auto* box = Add<TTeDialogPaintBox>(panel, boxName, TRect{0, 0, bounds.Width(), bounds.Height()});
        box->SetAlign(alClient);
        return box;
    };
    spectrPaint_ = framed("TeSpectrPanel", "teSpectrPaint", TRect{220, 10, 395, 185});
    spectrPaint_->OnPaint = [this](TTeDialogPaintBox*, TCanvas& c) { PaintSpectrum(c); };
    spectrPaint_->OnMouseDown = [this](TObject*, TMouseButton b, TShiftState, int x, int y) {
        if (b == mbLeft) SpectrumMouse(TShiftState{ssLeft}, x, y);
    };
    spectrPaint_->OnMouseMove = [this](TObject*, TShiftState s, int x, int y) { SpectrumMouse(s, x, y); };
    selColorPaint_ = framed("teSelColorPanel", "teSelColorPaint", TRect{220, 190, 303, 243});
    selColorPaint_->OnPaint = [this](TTeDialogPaintBox*, TCanvas& c) {
        c.Brush()->SetColor(color_);
        c.FillRect(TRect{0, 0, selColorPaint_->Width(), selColorPaint_->Height()});
    };
    selColorPaint_->OnClick = [this](TObject*) { selColorPaint_->Invalidate(); };
    lumPaint_ = framed("teLumPanel", "teLumPaint", TRect{402, 10, 423, 185});
    lumPaint_->OnPaint = [this](TTeDialogPaintBox*, TCanvas& c) { PaintLuminance(c); };
    lumPaint_->OnMouseDown = [this](TObject*, TMouseButton b, TShiftState, int, int y) {
        if (b == mbLeft) LuminanceMouse(TShiftState{ssLeft}, y);
    };
    lumPaint_->OnMouseMove = [this](TObject*, TShiftState s, int, int y) { LuminanceMouse(s, y); };

    static constexpr struct {
        const char* label;
        const char* caption;
        const char* edit;
        int left;
        int top;
    } kEdits[] = {
        {"teHueLabel", "Hue:", "teColorHue", 308, 190}, {"teSatLabel", "Sat:", "teColorSat", 308, 214},
        {"teLumLabel", "Lum:", "teColorLum", 308, 238}, {"teRLabel", "R:", "teColorR", 376, 190},
        {"teGLabel", "G:", "teColorG", 376, 214},       {"teBLabel", "B:", "teColorB", 376, 238},
    };
    for (size_t i = 0; i < std::size(kEdits); ++i) {
        const auto& e = kEdits[i];
        label(e.label, e.caption, e.left, e.top + 4, true);
        const int editLeft = e.left + (i < 3 ? 26 : 12);
        auto* edit = Add<TTeMaskEdit>(this, e.edit, TRect{editLeft, e.top, editLeft + 35, e.top + 21});
        edit->SetText("0");
        fullPart_.push_back(edit);
        edits_[i] = edit;
        edit->OnChange = [this, i](TObject*) {
            if (updatingEdits_) return;
            if (i < 3)
                HslEdited(static_cast<int>(i));
            else
                RgbEdited(static_cast<int>(i - 3) * 8);
        };
    }
    addCustom_ = AddDialogButton(this, "teAddCustomButton", bkCustom, "Add to Custom Colors",
                                 TRect{220, 264, 423, 289}, TAnchors{akLeft, akTop});
    addCustom_->OnClick = [this](TObject* s) { AddCustomColor(s); };
    fullPart_.push_back(addCustom_);

    BuildSpectrum();
    RebuildCustomSwatches();
    SetOptions(options_);
}

TTeColorPanel::~TTeColorPanel() = default;

// ---- the swatches --------------------------------------------------------------------------------

TRect TTeColorPanel::SwatchRect(int index) {
    const int left = (index % kSwatchColumns) * 25, top = (index / kSwatchColumns) * 22;
    return TRect{left, top, left + 22, top + 19};
}

int TTeColorPanel::SwatchAt(TPoint p, int count) {
    for (int i = 0; i < count; ++i)
        if (SwatchRect(i).Contains(p)) return i;
    return -1;
}

void TTeColorPanel::RebuildCustomSwatches() {
    for (int i = 0; i < kCustomCount; ++i) {
        const String value = customColors_->Values(String("Color") + static_cast<char>('A' + i));
        custom_[i] = clWhite;
        if (value.empty()) continue;
        // A line that is no hexadecimal colour keeps its swatch white.
        try {
            custom_[i] = StringToColor("$" + value);
        } catch (const EConvertError&) {
        }
    }
}

void TTeColorPanel::PaintSwatches(TCanvas& canvas, const TColor* colors, int count) {
    const bool themed = CurrentTheme && IsObjectDefined(ktscToolBar, "default", nullptr);
    for (int i = 0; i < count; ++i) {
        const TRect r = SwatchRect(i);
        const bool selected = ColorToRGB(colors[i]) == ColorToRGB(color_);
        if (themed) {
            CurrentTheme->ToolDrawItem(ktscToolBar, canvas,
                                       ToolItemInfo(r, kticNormal, selected ? mtidsPressed : mtidsHot),
                                       "default");
        } else {
            const TColor topLeft = selected ? clBtnShadow : clBtnHighlight;
            const TColor bottomRight = selected ? clBtnHighlight : clBtnShadow;
            canvas.Pen()->SetColor(topLeft);
            canvas.MoveTo(r.left, r.bottom - 1);
            canvas.LineTo(r.left, r.top);
            canvas.LineTo(r.right - 1, r.top);
            canvas.Pen()->SetColor(bottomRight);
            canvas.LineTo(r.right - 1, r.bottom - 1);
            canvas.LineTo(r.left, r.bottom - 1);
        }
        canvas.Brush()->SetColor(colors[i]);
        canvas.FillRect(TRect{r.left + 3, r.top + 3, r.left + 19, r.top + 16});
    }
}

void TTeColorPanel::PickSwatch(const TColor* colors, int count, int x, int y) {
    const int cell = SwatchAt(TPoint{x, y}, count);
    if (cell < 0) return;
    color_ = colors[cell];
    basicPaint_->Invalidate();
    customPaint_->Invalidate();
    FollowColor();
    FillEdits();
}

// ---- spectrum and luminance ------------------------------------------------------------------------

void TTeColorPanel::BuildSpectrum() {
    // Hue left to right, full saturation at the top, grey at the bottom,
    // sampled from the 255-step source at the box's size.
    const int w = std::max(spectrPaint_->Width(), 1), h = std::max(spectrPaint_->Height(), 1);
    spectrum_.SetPixelFormat(pf32bit);
    spectrum_.SetSize(w, h);
    for (int y = 0; y < h; ++y) {
        uint32_t* row = spectrum_.ScanLine(y);
        const int sy = y * kSpectrumSource / h;
        for (int x = 0; x < w; ++x) {
            const int sx = x * kSpectrumSource / w;
            row[x] = HSLtoRGB(sx / 254.f, 1 - sy / 254.f, 0.5f) & 0x00FFFFFF;
        }
    }
}

void TTeColorPanel::PaintSpectrum(TCanvas& canvas) {
    canvas.Draw(0, 0, &spectrum_);
    canvas.Brush()->SetColor(clBlack);
    canvas.FrameRect(TRect{marker_.x - 2, marker_.y - 2, marker_.x + 3, marker_.y + 3});
}

void TTeColorPanel::SpectrumMouse(TShiftState shift, int x, int y) {
    if (!shift.Contains(ssLeft)) return;
    marker_ = TPoint{x, y};
    luminance_ = 0.5f;
    const bool inside = x >= 0 && y >= 0 && x < spectrum_.Width() && y < spectrum_.Height();
    color_ = inside ? teColorToColor(spectrum_.ScanLine(y)[x]) : clBlack;
    RepaintBoxes();
    FillEdits();
}

void TTeColorPanel::PaintLuminance(TCanvas& canvas) {
    const int w = lumPaint_->Width(), h = std::max(lumPaint_->Height(), 1);
    const THsl hsl = HslOf(color_);
    for (int r = 0; r < h; ++r) {
        canvas.Brush()->SetColor(ColorOfHsl(hsl.h, hsl.s, 1 - static_cast<float>(r) / h));
        canvas.FillRect(TRect{0, r, w, r + 1});
    }
    const int m = static_cast<int>(std::lround((1 - luminance_) * h));
    canvas.Brush()->SetColor(clBlack);
    canvas.FrameRect(TRect{0, m - 1, w, m + 2});
}

void TTeColorPanel::LuminanceMouse(TShiftState shift, int y) {
    if (!shift.Contains(ssLeft)) return;
    // The pointer may leave the bar while dragging: the luminance stays within it.
    const float h = static_cast<float>(std::max(lumPaint_->Height(), 1));
    luminance_ = std::clamp(1 - y / h, 0.f, 1.f);
    const THsl hsl = HslOf(color_);
    color_ = ColorOfHsl(hsl.h, hsl.s, luminance_);
    lumPaint_->Invalidate();
    selColorPaint_->Invalidate();
    FillEdits();
}

void TTeColorPanel::FollowColor() {
    const THsl hsl = HslOf(color_);
    luminance_ = hsl.l;
    marker_ = TPoint{static_cast<int>(std::lround(spectrum_.Width() * hsl.h)),
                     static_cast<int>(std::lround(spectrum_.Height() * (1 - hsl.s)))};
    RepaintBoxes();
}

void TTeColorPanel::RepaintBoxes() {
    spectrPaint_->Invalidate();
    lumPaint_->Invalidate();
    selColorPaint_->Invalidate();
}

// ---- the edits -------------------------------------------------------------------------------------

void TTeColorPanel::FillEdits() {
    const TColorEditValues v = ColorEditValues(color_);
    const int values[] = {v.hue, v.sat, v.lum, v.red, v.green, v.blue};
    updatingEdits_ = true;
    for (size_t i = 0; i < edits_.size(); ++i) edits_[i]->SetText(IntToStr(values[i]));
    updatingEdits_ = false;
}

bool TTeColorPanel::EditValue(TTeMaskEdit* edit, int& value) const {
    int32_t read = 0;
    if (!TryStrToInt(Trim(edit->Text()), read)) return false;
    value = std::clamp<int32_t>(read, 0, 255);
    return true;
}

void TTeColorPanel::HslEdited(int part) {
    int value = 0;
    if (!EditValue(edits_[part], value)) return;
    THsl hsl = HslOf(color_);
    const float scaled = value / 255.f;
    if (part == 0) hsl.h = scaled;
    if (part == 1) hsl.s = scaled;
    if (part == 2) hsl.l = luminance_ = scaled;
    if (part != 2) hsl.l = luminance_;
    color_ = ColorOfHsl(hsl.h, hsl.s, hsl.l);
    marker_ = TPoint{static_cast<int>(std::lround(spectrum_.Width() * hsl.h)),
                     static_cast<int>(std::lround(spectrum_.Height() * (1 - hsl.s)))};
    RepaintBoxes();
}

void TTeColorPanel::RgbEdited(int shift) {
    int value = 0;
    if (!EditValue(edits_[3 + shift / 8], value)) return;
    const TColor rgb = ColorToRGB(color_);
    color_ = (rgb & ~(0xFFu << shift)) | (static_cast<TColor>(value) << shift);
    FollowColor();
}

// ---- options and custom colours ----------------------------------------------------------------------

void TTeColorPanel::SetColor(TColor value) {
    color_ = value;
    FollowColor();
    basicPaint_->Invalidate();
    customPaint_->Invalidate();
    FillEdits();
}

void TTeColorPanel::SetCustomColors(TStrings* value) {
    customColors_->Assign(value);
    RebuildCustomSwatches();
    customPaint_->Invalidate();
}

void TTeColorPanel::SetOptions(TColorDialogOptions value) {
    options_ = value;
    const bool full = options_.Contains(cdFullOpen);
    showFull_->SetEnabled(!options_.Contains(cdPreventFullOpen));
    SetWidth(full ? kFullWidth : kSwatchWidth);
    if (OnWidthChange) OnWidthChange(this);
    for (TControl* c : fullPart_) c->SetVisible(full);
}

void TTeColorPanel::ShowFullColors(TObject*) { SetOptions(options_ + TColorDialogOptions{cdFullOpen}); }

void TTeColorPanel::AddCustomColor(TObject*) {
    customColors_->SetValues(String("Color") + static_cast<char>('A' + nextCustom_),
                             LowerCase(IntToHex(ColorToRGB(color_), 6)));
    RebuildCustomSwatches();
    nextCustom_ = (nextCustom_ + 1) % kCustomCount;
    customPaint_->Invalidate();
}

}  // namespace tarvel
