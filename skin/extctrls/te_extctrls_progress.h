#pragma once
// TTeProgressBar: a position between Min and Max shown as the filled part
// of a bar, horizontal or vertical, smooth or in chunks, from the theme's
// progress element, else in the classic look.

#include <cstdint>

#include "skin/core/te_forms.h"
#include "skin/core/te_theme.h"

namespace tarvel {

enum TTeProgressOrientation : uint8_t { kpoHorizontal, kpoVertical };

class TTeProgressBar : public TTeControl {
    TARVEL_CLASS(TTeProgressBar, TTeControl)

public:
    explicit TTeProgressBar(TComponent* owner);
    ~TTeProgressBar() override;

    int Min() const { return min_; }
    void SetMin(int value);
    int Max() const { return max_; }
    void SetMax(int value);
    int Position() const { return position_; }
    // Not clamped: the fraction is taken of the position clamped to Min..Max.
    void SetPosition(int value);
    int Step() const { return step_; }
    // Lowered to Max.
    void SetStep(int value);
    TTeProgressOrientation Orientation() const { return orientation_; }
    void SetOrientation(TTeProgressOrientation value);
    bool Smooth() const { return smooth_; }
    void SetSmooth(bool value);
    bool ShowBorder() const { return showBorder_; }
    void SetShowBorder(bool value);
    int BarBorderWidth() const { return barBorderWidth_; }
    void SetBarBorderWidth(int value);
    const String& ThemeObject() const { return themeObject_; }
    void SetThemeObject(const String& value);
    TteCustomThemeLink* ThemeLink() const { return themeLink_; }
    void SetThemeLink(TteCustomThemeLink* value);

    // 0..1: the position clamped to Min..Max; 0 while Max is not above Min.
    float GetPercent(int value) const;
    // Position + Step, also past Max (the bar then stays full).
    void StepIt();

    virtual TRect GetBarRect();
    // The filled part of the bar rectangle.
    TRect GetFilledRect();
    // Chunks that fit the bar, and those the position fills.
    int ChunkSize();
    int ChunkCount();
    int FilledChunks();
    virtual void PaintBar();
    virtual void PaintFrame();
    void PaintBuffer() override;

protected:
    static void DeclareMessages(TMessageTable& t);
    void Notification(TComponent* component, TOperation operation) override;

private:
    void SNMThemeMessage(TMessage& m);
    bool Themed();
    bool Vertical() const { return orientation_ == kpoVertical; }

    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    int step_ = 10;
    TTeProgressOrientation orientation_ = kpoHorizontal;
    bool smooth_ = false;
    bool showBorder_ = true;
    int barBorderWidth_ = 0;
    String themeObject_ = "default";
    TteCustomThemeLink* themeLink_ = nullptr;
};

}  // namespace tarvel
