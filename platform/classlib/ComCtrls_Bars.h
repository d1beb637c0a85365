#pragma once
// Progress bar, up-down, status bar and tool bar.

#include <memory>
#include <vector>

#include "platform/classlib/Buttons.h"
#include "platform/classlib/ImageLists.h"
#include "platform/classlib/OwnedList.h"
#include "platform/classlib/StdCtrlMessages.h"
#include "platform/classlib/StdCtrls.h"

namespace tarvel {

enum TProgressBarOrientation { pbHorizontal, pbVertical };

class TProgressBar : public TCustomControl, public IUiState {
    TARVEL_CLASS(TProgressBar, TCustomControl)

public:
    String UiState() override { return "position=" + IntToStr(position_); }
    explicit TProgressBar(TComponent* owner);
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    void SetMin(int v);
    void SetMax(int v);
    // Kept within Min .. Max.
    void SetPosition(int v);
    int Step() const { return step_; }
    void SetStep(int v) { step_ = v; }
    // Steps on, starting again at Min past Max.
    void StepIt();
    void StepBy(int delta);
    TProgressBarOrientation Orientation() const { return orientation_; }
    void SetOrientation(TProgressBarOrientation o);
    bool Smooth() const { return smooth_; }
    void SetSmooth(bool v);
    TColor BarColor() const { return barColor_; }
    void SetBarColor(TColor c);

protected:
    void Paint() override;

private:
    int min_ = 0, max_ = 100, position_ = 0, step_ = 10;
    TProgressBarOrientation orientation_ = pbHorizontal;
    bool smooth_ = false;
    TColor barColor_ = clDefault;
};

enum TUDOrientation { udHorizontal, udVertical };
enum TUDBtnType { btNext, btPrev };
enum TUDAlignButton { udLeft, udRight };
using TUDClickEvent = std::function<void(TObject* sender, TUDBtnType button)>;
using TUDChangingEvent = std::function<void(TObject* sender, bool& allowChange)>;

// The window class of every up-down, as its hosts find it among their children.
inline constexpr const char* kUpDownClassName = "msctls_updown32";

// Two arrow halves that step a position; the position also goes to the
// parent window as a scroll request and to the associated control's text.
class TUpDown : public TCustomControl, public IUiState {
    TARVEL_CLASS(TUpDown, TCustomControl)

public:
    String UiState() override { return "position=" + IntToStr(position_); }
    explicit TUpDown(TComponent* owner);
    ~TUpDown() override;
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    void SetMin(int v);
    void SetMax(int v);
    void SetPosition(int v);
    int Increment() const { return increment_; }
    void SetIncrement(int v) { increment_ = v == 0 ? 1 : v; }
    bool Wrap() const { return wrap_; }
    void SetWrap(bool v) { wrap_ = v; }
    bool ArrowKeys() const { return arrowKeys_; }
    void SetArrowKeys(bool v) { arrowKeys_ = v; }
    TUDOrientation Orientation() const { return orientation_; }
    void SetOrientation(TUDOrientation o);
    TWinControl* Associate() const { return associate_; }
    // Sits beside the control (on AlignButton's side) and writes the
    // position into its text.
    void SetAssociate(TWinControl* control);
    TUDAlignButton AlignButton() const { return alignButton_; }
    void SetAlignButton(TUDAlignButton a);
    // A user's step: OnChanging may refuse it; then OnClick.
    void Step(TUDBtnType button);
    // The half a client point lies in.
    TUDBtnType ButtonAt(TPoint p);
    TRect ButtonRect(TUDBtnType button);
    // The half held down and the half under the mouse, -1 for none.
    int PressedButton() const { return pressed_; }
    int HotButton() const { return hot_; }

    TUDClickEvent OnClick;
    TUDChangingEvent OnChanging;

protected:
    static void DeclareMessages(TMessageTable& t);
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Notification(TComponent* component, TOperation operation) override;
    void WMTimer(TMessage& m);
    void CMMouseLeaveUd(TMessage& m);

private:
    void UpdateAssociate();
    void PlaceBesideAssociate();

    int min_ = 0, max_ = 100, position_ = 0, increment_ = 1;
    bool wrap_ = false, arrowKeys_ = true;
    TUDOrientation orientation_ = udVertical;
    TUDAlignButton alignButton_ = udRight;
    TWinControl* associate_ = nullptr;
    std::function<void(TMessage&)> associateProc_;
    int pressed_ = -1;  // TUDBtnType held, -1 none
    int hot_ = -1;
};

// ---- status bar ----------------------------------------------------------------------

enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };
enum TStatusPanelStyle { psText, psOwnerDraw };

class TStatusBar;

class TStatusPanel {
public:
    const String& Text() const { return text_; }
    void SetText(const String& text);
    int Width() const { return width_; }
    void SetWidth(int w);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    TStatusPanelBevel Bevel() const { return bevel_; }
    void SetBevel(TStatusPanelBevel b);
    TStatusPanelStyle Style() const { return style_; }
    void SetStyle(TStatusPanelStyle s);
    int Index() const;

private:
    friend class TStatusPanels;
    explicit TStatusPanel(TStatusBar* bar) : bar_(bar) {}
    void Changed();
    TStatusBar* bar_;
    String text_;
    int width_ = 50;
    TAlignment alignment_ = taLeftJustify;
    TStatusPanelBevel bevel_ = pbLowered;
    TStatusPanelStyle style_ = psText;
};

class TStatusPanels : public TOwnedList<TStatusPanel> {
public:
    explicit TStatusPanels(TStatusBar* bar) : bar_(bar) {}
    TStatusPanel* Add();
    void Delete(int index);
    void Clear();

private:
    TStatusBar* bar_;
};

using TDrawPanelEvent = std::function<void(TStatusBar* bar, TStatusPanel* panel, const TRect& rect)>;

class TStatusBar : public TCustomControl {
    TARVEL_CLASS(TStatusBar, TCustomControl)

public:
    explicit TStatusBar(TComponent* owner);
    TStatusPanels* Panels() { return &panels_; }
    bool SimplePanel() const { return simplePanel_; }
    void SetSimplePanel(bool v);
    const String& SimpleText() const { return simpleText_; }
    void SetSimpleText(const String& text);
    bool SizeGrip() const { return sizeGrip_; }
    void SetSizeGrip(bool v);
    // The rectangle of a panel in client coordinates (the last one runs to the end).
    TRect PanelRect(int index);

    TDrawPanelEvent OnDrawPanel;

protected:
    void Paint() override;

private:
    friend class TStatusPanel;
    friend class TStatusPanels;
    TStatusPanels panels_{this};
    bool simplePanel_ = false;
    String simpleText_;
    bool sizeGrip_ = true;
};

// ---- tool bar -----------------------------------------------------------------------

enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };
class TToolBar;

class TToolButton : public TGraphicButton, public IUiState {
    TARVEL_CLASS(TToolButton, TGraphicButton)

public:
    String UiState() override { return down_ ? "down" : ""; }
    explicit TToolButton(TComponent* owner);
    TToolButtonStyle Style() const { return style_; }
    void SetStyle(TToolButtonStyle s);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int i);
    bool Down() const { return down_; }
    // Down in a group puts the other grouped check buttons of the bar up.
    void SetDown(bool v);
    bool Grouped() const { return grouped_; }
    void SetGrouped(bool v) { grouped_ = v; }
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool v) { allowAllUp_ = v; }
    TToolBar* ToolBar() const;
    void Click() override;

protected:
    void Paint() override;
    bool CanPress() override { return style_ != tbsSeparator && style_ != tbsDivider; }

private:
    TToolButtonStyle style_ = tbsButton;
    int imageIndex_ = -1;
    bool down_ = false, grouped_ = false, allowAllUp_ = false;
};

// Lays its buttons out in a row (wrapping when Wrapable).
class TToolBar : public TCustomControl {
    TARVEL_CLASS(TToolBar, TCustomControl)

public:
    explicit TToolBar(TComponent* owner);
    int ButtonWidth() const { return buttonWidth_; }
    void SetButtonWidth(int w);
    int ButtonHeight() const { return buttonHeight_; }
    void SetButtonHeight(int h);
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* images);
    bool ShowCaptions() const { return showCaptions_; }
    void SetShowCaptions(bool v);
    bool Flat() const { return flat_; }
    void SetFlat(bool v);
    bool Wrapable() const { return wrapable_; }
    void SetWrapable(bool v);
    int ButtonCount() const;
    TToolButton* Buttons(int index) const;

protected:
    void Paint() override;
    void AlignControls(TControl* control, TRect& rect) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    int buttonWidth_ = 23, buttonHeight_ = 22;
    TCustomImageList* images_ = nullptr;
    bool showCaptions_ = false, flat_ = true, wrapable_ = true;
};

}  // namespace tarvel
