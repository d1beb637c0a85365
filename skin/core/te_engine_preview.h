#pragma once
// TTeThemePreview: a miniature window (frame, caption, caption buttons and
// one button) drawn as the theme of its link would draw it, so a user can
// see a theme before choosing it. Without a theme it draws the miniature in
// the system's visual style when there is one, else in the classic look.

#include <memory>

#include "platform/classlib/Icons.h"
#include "skin/core/te_forms.h"
#include "skin/core/te_theme.h"

namespace tarvel {

// The frame metrics and caption font the preview shares with the skinned
// frames, read from the system as the frames read them.
struct TteFrameMetrics {
    int BorderWidth = 0;   // SM_CXFRAME
    int ButtonHeight = 0;  // SM_CYSIZE
};
TteFrameMetrics SystemFrameMetrics();
// The system caption font (the class library's default when the system has none).
void GetSystemCaptionFont(TFont& font);

class TTeThemePreview : public TTeControl {
    TARVEL_CLASS(TTeThemePreview, TTeControl)

public:
    // 100 x 100; hears the theme notifications.
    explicit TTeThemePreview(TComponent* owner);
    ~TTeThemePreview() override;

    TteCustomThemeLink* ThemeLink() const { return themeLink_; }
    void SetThemeLink(TteCustomThemeLink* link);

    // The whole miniature, onto the control's canvas.
    void PaintBuffer() override;
    // A fresh small copy of the application's icon (empty when it has none);
    // owned by the preview.
    TIcon* GetIcon();
    TRect GetCaptionButtonRect(TTeBorderIcon icon, const TRect& r) const;
    void DrawCaption(TCanvas& canvas, const TRect& r);
    void DrawCaptionButton(TCanvas& canvas, const TRect& r, TTeBorderIcon icon, bool pressed, bool hot);

protected:
    // Where the frame sizes and the caption font come from, whether the
    // system's visual style draws the plain miniature, and the pixels left
    // between a caption button and the one to its right (or the band's end).
    virtual TteFrameMetrics FrameMetrics() const;
    virtual void SetCaptionFont(TFont& font) const;
    virtual bool Styled() const;
    virtual int CaptionButtonGap(TTeBorderIcon icon, bool styled) const;

    static void DeclareMessages(TMessageTable& t);
    void Notification(TComponent* component, TOperation operation) override;
    void SNMThemeMessage(TMessage& message);
    void SNMLinkChanged(TMessage& message);

private:
    void PaintWithTheme(TCanvas& canvas, TteTheme& theme);
    void PaintPlain(TCanvas& canvas);

    TteCustomThemeLink* themeLink_ = nullptr;
    std::unique_ptr<TIcon> icon_;
};

}  // namespace tarvel
