#pragma once
// TTeFontPanel: the body of the skinned font dialog. Lists of the installed
// font families, the four styles and the sizes, each with an edit above it;
// effects (strikeout, underline, colour), the script and a live sample.

#include <memory>

#include "skin/controls/te_controls_check.h"
#include "skin/controls/te_controls_combo.h"
#include "skin/controls/te_controls_group.h"
#include "skin/controls/te_controls_label.h"
#include "skin/controls/te_controls_listbox.h"
#include "skin/controls/te_controls_panel.h"
#include "skin/extctrls/te_extctrls_edits.h"
#include "skin/extras/te_dialogs_base.h"

namespace tarvel {

// Every character-set identifier the class library knows, by value.
std::vector<String> CharsetIdents();

class TTeFontPanel : public TTeDialogPanel {
    TARVEL_CLASS(TTeFontPanel, TTeDialogPanel)

public:
    explicit TTeFontPanel(TComponent* owner);
    ~TTeFontPanel() override;

    TFont* Font() const { return font_.get(); }
    // Copies the font and fills every control from it.
    void SetFont(TFont* value);
    TTeFontDevice Device() const { return device_; }
    void SetDevice(TTeFontDevice value);
    int MinFontSize() const { return minFontSize_; }
    void SetMinFontSize(int value);
    int MaxFontSize() const { return maxFontSize_; }
    void SetMaxFontSize(int value);
    TFontDialogOptions Options() const { return options_; }
    void SetOptions(TFontDialogOptions value);

    TTeListBox* FontList() const { return fontList_; }
    TTeListBox* StyleList() const { return styleList_; }
    TTeListBox* SizeList() const { return sizeList_; }
    TTeComboBox* ColorBox() const { return fontColor_; }
    TTeComboBox* ScriptBox() const { return script_; }
    TTeSEdit* SizeEdit() const { return fontSize_; }

private:
    template <class T>
    T* Add(TWinControl* parent, const char* name, const TRect& bounds);
    void BuildSizeList();
    // A click in a list copies its entry to the edit above it first.
    void ListClicked(TTeListBox* list, TTeSEdit* edit);
    void TakeFontFromControls();
    void PaintSample(TCanvas& canvas);

    std::unique_ptr<TFont> font_;
    TTeFontDevice device_ = fdScreen;
    int minFontSize_ = 0;
    int maxFontSize_ = 0;
    TFontDialogOptions options_;
    bool updating_ = false;

    TTeSEdit* fontName_ = nullptr;
    TTeListBox* fontList_ = nullptr;
    TTeSEdit* fontStyle_ = nullptr;
    TTeListBox* styleList_ = nullptr;
    TTeSEdit* fontSize_ = nullptr;
    TTeListBox* sizeList_ = nullptr;
    TTeGroupBox* effects_ = nullptr;
    TTeCheckBox* strikeout_ = nullptr;
    TTeCheckBox* underline_ = nullptr;
    TTeComboBox* fontColor_ = nullptr;
    TTePanel* samplePanel_ = nullptr;
    TTeDialogPaintBox* preview_ = nullptr;
    TTeComboBox* script_ = nullptr;
};

}  // namespace tarvel
