#pragma once
// TTeColorPanel: the body of the skinned colour dialog. 48 basic and 16
// custom swatches and, opened full, a hue-saturation spectrum, a luminance
// bar, a preview and six numeric edits. Every part shows the one selected
// colour and changes it.

#include <array>

#include "platform/classlib/Bitmaps.h"
#include "skin/controls/te_controls_label.h"
#include "skin/controls/te_controls_panel.h"
#include "skin/extctrls/te_extctrls_edits.h"
#include "skin/extras/te_dialogs_base.h"

namespace tarvel {

// What the six edits show for a colour: hue, saturation and luminance scaled
// to 0..255 (to nearest, ties to even), and the colour's bytes.
struct TColorEditValues {
    int hue = 0, sat = 0, lum = 0;
    int red = 0, green = 0, blue = 0;
    bool operator==(const TColorEditValues&) const = default;
};
TColorEditValues ColorEditValues(TColor color);

class TTeColorPanel : public TTeDialogPanel {
    TARVEL_CLASS(TTeColorPanel, TTeDialogPanel)

public:
    static constexpr int kFullWidth = 430, kSwatchWidth = 210, kHeight = 297;
    static constexpr int kBasicCount = 48, kCustomCount = 16;
    static const std::array<TColor, kBasicCount> kBasicColors;

    explicit TTeColorPanel(TComponent* owner);
    ~TTeColorPanel() override;

    TColor Color() const { return color_; }
    void SetColor(TColor value);
    // "ColorA" .. "ColorP" = six hexadecimal digits of the colour value.
    TStrings* CustomColors() const { return customColors_.get(); }
    void SetCustomColors(TStrings* value);
    TColorDialogOptions Options() const { return options_; }
    void SetOptions(TColorDialogOptions value);

    // Told after Options changed the panel's width.
    TNotifyEvent OnWidthChange;

    float Luminance() const { return luminance_; }
    TPoint Marker() const { return marker_; }
    int NextCustomSlot() const { return nextCustom_; }
    TColor CustomColor(int index) const { return custom_[index]; }

    // The cell of a swatch grid at a point, -1 outside every cell.
    static int SwatchAt(TPoint p, int count);
    static TRect SwatchRect(int index);

private:
    template <class T>
    T* Add(TWinControl* parent, const char* name, const TRect& bounds);
    void BuildSpectrum();
    void RebuildCustomSwatches();
    void PaintSwatches(TCanvas& canvas, const TColor* colors, int count);
    void PickSwatch(const TColor* colors, int count, int x, int y);
    void PaintSpectrum(TCanvas& canvas);
    void SpectrumMouse(TShiftState shift, int x, int y);
    void PaintLuminance(TCanvas& canvas);
    void LuminanceMouse(TShiftState shift, int y);
    // The marker and luminance follow `color_`; the boxes repaint.
    void FollowColor();
    void RepaintBoxes();
    void FillEdits();
    // The value of an edit clamped to 0..255; false for text that is not
    // yet a whole number, which is ignored while the user types.
    bool EditValue(TTeMaskEdit* edit, int& value) const;
    void HslEdited(int part);
    void RgbEdited(int shift);
    void ShowFullColors(TObject*);
    void AddCustomColor(TObject*);

    TColor color_ = clBlack;
    std::unique_ptr<TStringList> customColors_;
    std::array<TColor, kCustomCount> custom_{};
    TColorDialogOptions options_;
    float luminance_ = 0;
    TPoint marker_{0, 0};
    int nextCustom_ = 0;
    bool updatingEdits_ = false;
    TBitmap spectrum_;

    TTeDialogPaintBox* basicPaint_ = nullptr;
    TTeDialogPaintBox* customPaint_ = nullptr;
    TTeDialogPaintBox* spectrPaint_ = nullptr;
    TTeDialogPaintBox* lumPaint_ = nullptr;
    TTeDialogPaintBox* selColorPaint_ = nullptr;
    TTeButton* showFull_ = nullptr;
    TTeButton* addCustom_ = nullptr;
    std::array<TTeMaskEdit*, 6> edits_{};  // hue, sat, lum, R, G, B
    std::vector<TControl*> fullPart_;
};

}  // namespace tarvel
