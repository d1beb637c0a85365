#pragma once
// Two thin panels over the class library's: TTePanel draws the theme's
// panel element when the theme has one and is a plain panel otherwise;
// TTeTransPanel shows only what lies behind it.

#include "platform/classlib/ExtCtrls.h"
#include "skin/core/te_forms_link.h"
#include "skin/core/te_theme.h"

namespace tarvel {

class TTePanel : public TPanel, public TTeThemeLinked {
    TARVEL_CLASS(TTePanel, TPanel)

public:
    explicit TTePanel(TComponent* owner);
    ~TTePanel() override;

    // The theme's content rectangle when it defines the panel object.
    TRect GetClientRect() override;

protected:
    static void DeclareMessages(TMessageTable& t);
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void Paint() override;

private:
    void SNMThemeMessage(TMessage& m);
    void SNMLinkChanged(TMessage& m);
    void WMEraseBkgnd(TMessage& m) { m.Result = 1; }
    bool Themed();
};

class TTeTransPanel : public TPanel {
    TARVEL_CLASS(TTeTransPanel, TPanel)

public:
    explicit TTeTransPanel(TComponent* owner);
    ~TTeTransPanel() override;

protected:
    static void DeclareMessages(TMessageTable& t);
    void Paint() override;

private:
    void SNMThemeMessage(TMessage& m);
    void WMEraseBkgnd(TMessage& m) { m.Result = 1; }
};

}  // namespace tarvel
