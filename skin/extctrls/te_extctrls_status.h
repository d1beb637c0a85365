#pragma once
// TTeStatusBar: a row of panels drawn here, each with a text and an image
// or a hosted control. Panels give up room by ViewPriority and take spare
// room by StretchPriority; a size grip at the right end sizes the form.

#include <cstdint>
#include <functional>

#include "platform/classlib/Collections.h"
#include "platform/classlib/ComCtrls_Bars.h"
#include "platform/classlib/ImageLists.h"
#include "skin/core/te_forms.h"
#include "skin/core/te_theme.h"

namespace tarvel {

class TTeStatusBar;
class TTeStatusPanels;

enum TTeStatusGliphLayout : uint8_t { sglGlyphLeft, sglGlyphRight };
// The class library's panel styles (psText, psOwnerDraw).
using TTeStatusPanelstyle = TStatusPanelStyle;

class TTeStatusPanel : public TCollectionItem {
    TARVEL_CLASS(TTeStatusPanel, TCollectionItem)

public:
    explicit TTeStatusPanel(TCollection* collection);
    ~TTeStatusPanel() override;

    const WideString& Text() const { return text_; }
    void SetText(const WideString& value);
    int Width() const { return width_; }
    // Clamped to 0..MaxWidth.
    void SetWidth(int value);
    int MaxWidth() const { return maxWidth_; }
    void SetMaxWidth(int value);
    int ViewPriority() const { return viewPriority_; }
    void SetViewPriority(int value);
    int StretchPriority() const { return stretchPriority_; }
    void SetStretchPriority(int value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    TTeStatusGliphLayout Layout() const { return layout_; }
    void SetLayout(TTeStatusGliphLayout value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    bool ShowImage() const { return showImage_; }
    void SetShowImage(bool value);
    int Margin() const { return margin_; }
    void SetMargin(int value);
    int Spacing() const { return spacing_; }
    void SetSpacing(int value);
    TTeStatusPanelstyle Style() const { return style_; }
    void SetStyle(TTeStatusPanelstyle value);
    bool Framed() const { return framed_; }
    void SetFramed(bool value);
    TControl* Control() const { return control_; }
    // EInvalidOperation for the bar itself or one of its parents.
    void SetControl(TControl* value);

    // What the layout decided.
    int GetCurrentWidth() const { return std::min(maxWidth_, currentWidth_); }
    bool Shown() const { return shown_; }
    int PlacedLeft() const { return left_; }
    int PlacedRight() const { return right_; }

    void Assign(TPersistent* source) override;
    TTeStatusBar* StatusBar() const;

protected:
    String GetDisplayName() override;

private:
    friend class TTeStatusBar;
    void Repaint() { Changed(false); }
    void Relayout() { Changed(true); }
    void UpdateControlBounds();

    WideString text_;
    int width_ = 50;
    int maxWidth_ = 10000;
    int viewPriority_ = 100;
    int stretchPriority_ = 0;
    TAlignment alignment_ = taLeftJustify;
    TTeStatusGliphLayout layout_ = sglGlyphLeft;
    int imageIndex_ = -1;
    bool showImage_ = true;
    int margin_ = 2;
    int spacing_ = 4;
    TTeStatusPanelstyle style_ = psText;
    bool framed_ = true;
    TControl* control_ = nullptr;

    int currentWidth_ = 0;
    bool shown_ = false;
    int left_ = 0;
    int right_ = 0;
};

class TTeStatusPanels : public TCollection {
    TARVEL_CLASS(TTeStatusPanels, TCollection)

public:
    explicit TTeStatusPanels(TTeStatusBar* bar);

    TTeStatusPanel* Add();
    // A new panel at index (appended when index is outside the collection).
    TTeStatusPanel* Insert(int index);
    // Moves panel here at index, or appends it when index is outside; no panel adds a new one.
    TTeStatusPanel* AddItem(TTeStatusPanel* panel, int index);
    TTeStatusPanel* GetItem(int index) const { return static_cast<TTeStatusPanel*>(Items(index)); }
    TTeStatusPanel* FindPanel(TControl* control) const;
    TPersistent* GetOwner() override;
    TTeStatusBar* StatusBar() const { return bar_; }

protected:
    void Update(TCollectionItem* item) override;

private:
    TTeStatusBar* bar_;
};

using TPanelNotifyEvent = std::function<void(TTeStatusBar* bar, TTeStatusPanel* panel)>;
using TTeDrawPanelEvent = std::function<void(TTeStatusBar* bar, TTeStatusPanel* panel, const TRect& rect)>;

class TTeStatusBar : public TTeControl, public TTeSizeGripHost {
    TARVEL_CLASS(TTeStatusBar, TTeControl)

public:
    explicit TTeStatusBar(TComponent* owner);
    ~TTeStatusBar() override;

    TTeStatusPanels* Panels() const { return panels_.get(); }
    void SetPanels(TTeStatusPanels* value) { panels_->Assign(value); }
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* value);
    bool SizeGrip() const { return sizeGrip_; }
    void SetSizeGrip(bool value);
    const String& ThemeObject() const { return themeObject_; }
    void SetThemeObject(const String& value);
    TteCustomThemeLink* ThemeLink() const { return themeLink_; }
    void SetThemeLink(TteCustomThemeLink* value);

    virtual TTeStatusPanel* CreatePanel();
    virtual TRect GetImageRect(TTeStatusPanel* panel);
    virtual TSize GetImageSize(TTeStatusPanel* panel);
    virtual TSize GetTextSize(TTeStatusPanel* panel);
    virtual TRect GetTextRect(TTeStatusPanel* panel);
    TRect GetGripperRect() override;
    virtual TRect GetPanelClientRect(TTeStatusPanel* panel);
    virtual void DrawPanelImage(TTeStatusPanel* panel, const TRect& rect);
    virtual void DrawPanelText(TTeStatusPanel* panel, const TRect& rect);
    virtual void DrawPanel(TTeStatusPanel* panel, const TRect& rect, bool isLast);
    virtual void PaintGripper();
    virtual void PaintPanel(int index);
    virtual void PaintBackGround();
    virtual TRect GetPanelRect(int index);
    TRect GetBorderRect() override;
    void PaintBorder() override;
    void PaintBuffer() override;

    TTeStatusPanel* GetPanelAt(TPoint p);
    TRect GetPanelsRect();
    bool IsSizeGripVisible() override;
    void UpdatePanels();
    bool GetImageVisible(TTeStatusPanel* panel) const;

    TPanelNotifyEvent OnPanelClick;
    TPanelNotifyEvent OnPanelDblClick;
    TTeDrawPanelEvent OnDrawPanel;

protected:
    static void DeclareMessages(TMessageTable& t);
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void AlignControls(TControl* control, TRect& rect) override;
    void Resize() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DblClick() override;
    virtual void DoPanelClick(TTeStatusPanel* panel);
    virtual void DoPanelDblClick(TTeStatusPanel* panel);
    virtual void DoDrawPanel(TTeStatusPanel* panel, const TRect& rect);

private:
    friend class TTeStatusPanel;
    void SNMThemeMessage(TMessage& m);
    void CMInvalidate(TMessage&) { Invalidate(); }
    void WMNCHitTest(TMessage& m);

    bool Themed();
    TteTheme* Theme();
    TCanvas& MeasureCanvas();

    std::unique_ptr<TTeStatusPanels> panels_;
    TTeStatusPanel* pressedPanel_ = nullptr;
    TCustomImageList* images_ = nullptr;
    bool sizeGrip_ = true;
    String themeObject_ = "default";
    TteCustomThemeLink* themeLink_ = nullptr;
    TteBitmap measure_;
};

}  // namespace tarvel
