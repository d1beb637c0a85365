#pragma once
// TTeHeaderPanel: a container with a caption strip across its top and a
// small button at the strip's right end, which either hides the panel or
// rolls it up to the strip and back down. The roll may be animated; it runs
// on a timer, one shown height per tick, so nothing is re-entered while it
// runs and the panel can be freed half-way.

#include <functional>

#include "platform/classlib/Timers.h"
#include "skin/core/te_forms.h"
#include "skin/core/te_forms_link.h"

namespace tarvel {

enum TTePanelButtonKind : uint8_t { kpbkClose, kpbkRollUp };

using TRollEvent = std::function<void(TObject* sender, bool isRollUp, bool& allowed)>;

class TTeHeaderPanel : public TTeControl, public TTeThemeLinked {
    TARVEL_CLASS(TTeHeaderPanel, TTeControl)

public:
    // One shown height of an animated roll per tick.
    static constexpr unsigned kRollStepMs = 10;

    explicit TTeHeaderPanel(TComponent* owner);
    ~TTeHeaderPanel() override;

    const WideString& Caption() const { return caption_; }
    void SetCaption(const WideString& value);
    int CaptionHeight() const { return captionHeight_; }
    void SetCaptionHeight(int value);
    bool ShowCaption() const { return showCaption_; }
    void SetShowCaption(bool value);
    bool ShowButton() const { return showButton_; }
    void SetShowButton(bool value);
    TTePanelButtonKind ButtonKind() const { return buttonKind_; }
    void SetButtonKind(TTePanelButtonKind value);
    bool ShowBevel() const { return showBevel_; }
    void SetShowBevel(bool value);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int value);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int value);
    bool Rolled() const { return rolled_; }
    void SetRolled(bool value);
    bool AnimateRoll = false;
    int AniSpeed() const { return aniSpeed_; }
    // Values below 1 count as 1.
    void SetAniSpeed(int value);
    bool LinkPanels = false;
    bool ParentRoll = false;
    String ButtonHint, CaptionHint;
    TCursor ButtonCursor = crDefault;
    TCursor CaptionCursor = crDefault;
    int NormalHeight() const { return normalHeight_; }
    void SetNormalHeight(int value) { normalHeight_ = value; }

    bool ButtonHot() const { return hot_; }
    bool ButtonPressed() const { return pressed_; }
    // Whether an animated roll is under way.
    bool Rolling() const { return rolling_; }
    // The hint for a point: the button's, the caption's, or empty elsewhere.
    String HintAt(TPoint p);

    virtual TRect GetCaptionRect();
    virtual void DrawCaption();
    virtual void DrawFace();
    TRect GetButtonRect();
    TRect GetClientRect() override;
    void SetBounds(int left, int top, int width, int height) override;
    void PaintBuffer() override;

    void RollUp();
    void RollDown();
    void DoButtonClick();

    TNotifyEvent OnButtonClick, OnRollup, OnHide;
    TRollEvent OnBeforeRoll;
    // After every completed roll; the explorer bar hooks it.
    TNotifyEvent OnPanelChange;

protected:
    static void DeclareMessages(TMessageTable& t);
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseLeave() override;

private:
    void SNMThemeMessage(TMessage& m);
    void SNMLinkChanged(TMessage& m);
    void CMTextChanged(TMessage& m);

    bool Themed();
    int RolledHeight();
    void SetHeightDirect(int height);
    void BeginRoll(bool up);
    void RollTick(TObject*);
    void FinishRoll();
    void MovePanelsBelow(int edge, int by);
    void InvalidateButton();
    void SetShownCursor(TCursor cursor);

    WideString caption_;
    int captionHeight_ = 20;
    bool showCaption_ = true;
    bool showButton_ = true;
    TTePanelButtonKind buttonKind_ = kpbkRollUp;
    bool showBevel_ = true;
    int bevelWidth_ = 1;
    int borderWidth_ = 1;
    bool rolled_ = false;
    int aniSpeed_ = 10;
    int normalHeight_ = 0;
    bool hot_ = false;
    bool pressed_ = false;
    bool rolling_ = false;
    bool rollingUp_ = false;
    int heightBefore_ = 0;
    int target_ = 0;
    TTimer* timer_ = nullptr;
    bool cursorSet_ = false;
    TCursor ownCursor_ = crDefault;
};

}  // namespace tarvel
