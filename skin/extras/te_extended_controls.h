#pragma once
// The bases of the extra controls, one per base of the control set, each
// with the pack's version; and the labeled edit, a library-drawn edit that
// owns a label and keeps it beside itself.

#include "skin/controls/te_controls_combo.h"
#include "skin/controls/te_controls_edit.h"
#include "skin/controls/te_controls_label.h"
#include "skin/controls/te_controls_listbox.h"
#include "skin/core/te_forms.h"

namespace tarvel {

inline constexpr const char* ExtraVersion = "2.0.6";

// The version every extra control publishes: read-only, never stored.
#define TTE_EXTRA_VERSION                                   \
    String GetVersionExtra() const { return ExtraVersion; } \
    void SetVersionExtra(const String&) {}

class TTeExtraControl : public TTeControl {
    TARVEL_CLASS(TTeExtraControl, TTeControl)

public:
    explicit TTeExtraControl(TComponent* owner) : TTeControl(owner) {}
    TTE_EXTRA_VERSION

    const String& ThemeObject() const { return themeObject_; }
    virtual void SetThemeObject(const String& value);

protected:
    static void DeclareMessages(TMessageTable& t);

private:
    void SNMThemeMessage(TMessage& m);

    String themeObject_;
};

class TTeExtraGraphicControl : public TTeGraphicControl {
    TARVEL_CLASS(TTeExtraGraphicControl, TTeGraphicControl)

public:
    explicit TTeExtraGraphicControl(TComponent* owner) : TTeGraphicControl(owner) {}
    TTE_EXTRA_VERSION

    const String& ThemeObject() const { return themeObject_; }
    void SetThemeObject(const String& value);
    TteCustomThemeLink* ThemeLink() const { return themeLink_; }
    // Repaints; the control keeps its place.
    virtual void SetThemeLink(TteCustomThemeLink* value);

protected:
    static void DeclareMessages(TMessageTable& t);
    void Notification(TComponent* component, TOperation operation) override;

private:
    void SNMThemeMessage(TMessage& m);

    String themeObject_;
    TteCustomThemeLink* themeLink_ = nullptr;
};

class TTeExtraListBox : public TTeListBox {
    TARVEL_CLASS(TTeExtraListBox, TTeListBox)

public:
    explicit TTeExtraListBox(TComponent* owner) : TTeListBox(owner) {}
    TTE_EXTRA_VERSION
};

class TTeExtraComboBox : public TTeComboBox {
    TARVEL_CLASS(TTeExtraComboBox, TTeComboBox)

public:
    explicit TTeExtraComboBox(TComponent* owner) : TTeComboBox(owner) {}
    TTE_EXTRA_VERSION
};

#undef TTE_EXTRA_VERSION

enum TTeLabelPosition { lpAbove, lpBelow, lpLeft, lpRight };

// The label of a labeled edit, owned by it; the edit decides where it sits.
class TTeBoundLabel : public TTeLabel {
    TARVEL_CLASS(TTeBoundLabel, TTeLabel)

public:
    explicit TTeBoundLabel(TComponent* owner);

    void SetWidth(int value) { SetBounds(Left(), Top(), value, Height()); }
    void SetHeight(int value) { SetBounds(Left(), Top(), Width(), value); }
    // A label that grows with its caption stays aligned with its edit.
    void AdjustBounds() override;
};

class TTeCustomLabeledEdit : public TTeEdit {
    TARVEL_CLASS(TTeCustomLabeledEdit, TTeEdit)

public:
    explicit TTeCustomLabeledEdit(TComponent* owner);

    // Null only after the label was freed on its own.
    TTeBoundLabel* EditLabel() const { return editLabel_; }
    TTeLabelPosition LabelPosition() const { return labelPosition_; }
    virtual void SetLabelPosition(TTeLabelPosition value);
    int LabelSpacing() const { return labelSpacing_; }
    void SetLabelSpacing(int value);

    void SetBounds(int left, int top, int width, int height) override;
    void SetParent(TWinControl* parent) override;
    void SetName(const String& name) override;

protected:
    static void DeclareMessages(TMessageTable& t);
    void Notification(TComponent* component, TOperation operation) override;

private:
    void SetupInternalLabel();
    void CMVisibleChanged(TMessage& m);
    void CMEnabledChanged(TMessage& m);

    TTeBoundLabel* editLabel_ = nullptr;
    TTeLabelPosition labelPosition_ = lpAbove;
    int labelSpacing_ = 3;
};

class TTeLabeledEdit : public TTeCustomLabeledEdit {
    TARVEL_CLASS(TTeLabeledEdit, TTeCustomLabeledEdit)

public:
    explicit TTeLabeledEdit(TComponent* owner) : TTeCustomLabeledEdit(owner) {}
};

}  // namespace tarvel
