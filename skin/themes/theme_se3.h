#pragma once
// TTeSkinFile, the theme that draws every element from the skin objects of
// a skin file. It keeps the skin as loaded (LoadedSource, what is saved) and
// a working copy with the hue and brightness shifts applied (WorkSource,
// what is drawn), and a table of the working copy's top-level objects by
// element kind.
//
// How an element operation finds its object: a control's object name other
// than the exact "default" names a top-level object of the working copy (or
// a "head\tail" path); "default", or a name that finds nothing, takes the
// table entry of the element kind. Most operations then take a named child
// of that object ("Frame", "Face", "Item" ...), names compared without
// regard to case. SkinFileObjectNames() lists what the table looks for.
//
// Loading is all or nothing: a missing, damaged or empty file leaves the
// skin, the table and the file name as they were and answers false.

#include <array>
#include <memory>
#include <optional>
#include <span>

#include "skin/core/te_theme.h"
#include "skin/themes/theme_se3source.h"

namespace tarvel {

// The entries of TTeSkinFile's object table.
enum TSkinFileEntry : uint8_t {
    kseForm,                    // "Form", its caption buttons hidden
    kseFormClient,              // placeholder standing where the form's client object was
    kseFormButtonRects,         // copy of "Form" with buttons, for measuring
    kseFormButtons,             // copy of "Form" with buttons, for drawing them
    kseFormClientObject,        // copy of the form's client object
    kseButton,                  // "Button"
    kseCheckbox,                // "Checkbox"
    kseRadioButton,             // "RadioButton"
    kseGroupBox,                // "GroupBox"
    kseScrollBar,               // "ScrollBar"
    kseProgressBar,             // "ProgressBar"
    kseEdit,                    // "Edit"
    kseComboBox,                // "ComboBox"
    kseTrackBar,                // "TrackBar"
    kseMenuBar,                 // "MenuBar"
    ksePopupMenu,               // "PopupMenu"
    kseHeader,                  // "Header"
    kseStatusBar,               // "StatusBar"
    kseTabs,                    // "Tabs"
    kseContainer,               // "Container"
    kseFrame,                   // "Frame" (drawn by no operation)
    kseScrollBox,               // "ScrollBox"
    kseSplitter,                // "Splitter"
    kseSpinButton,              // "SpinButton"
    kseControlBar,              // "ControlBar"
    kseGrid,                    // "Grid"
    kseListBox,                 // "ListBox"
    kseHint,                    // "Hint"
    kseSpeedButton,             // "SpeedButton"
    kseToolBar,                 // "ToolBar" (drawn by no operation)
    kseToolWindow,              // "ToolWindow", as kseForm
    kseToolWindowClient,        // as kseFormClient
    kseToolWindowButtonRects,   // as kseFormButtonRects
    kseToolWindowButtons,       // as kseFormButtons
    kseToolWindowClientObject,  // as kseFormClientObject
    ksePanel,                   // "Panel"
    kseBarDock,                 // "ScrollBox" again
    kSkinFileEntryCount = 50    // entries past kseBarDock stay empty
};

// A table entry filled from a top-level object of that name.
struct TSkinFileObjectName {
    TSkinFileEntry Entry;
    const char* Name;
};
std::span<const TSkinFileObjectName> SkinFileObjectNames();

class TTeSkinFile : public TteTheme {
    TTE_THEME_CLASS(TTeSkinFile, TteTheme)

public:
    TTeSkinFile();
    ~TTeSkinFile() override;

    static String GetThemeName() { return "Belcour 3 theme"; }
    static TteThemeConfig GetThemeConfig();
    // A skin-file signature, or a compressed body's tag at the position.
    static bool CheckStream(TStream& stream);

    // From another skin-file theme: its loaded skin, then a reset.
    void Assign(TPersistent* source) override;
    void ResetThemeColors() override;
    void ResetThemeFonts() override;
    void SetFontForObject(TFont* font, TteThemeFont index, const String& objectName) override;
    bool LoadFromStream(TStream& stream) override;
    bool SaveToStream(TStream& stream) override;
    bool LoadFromFile(const String& fileName) override;
    bool SaveToFile(const String& fileName) override;
    // The working copy anew from the loaded skin, the table, the name, the
    // colours and fonts; shifts never accumulate.
    void ResetTheme() override;
    // Rebuilds the table from the working copy.
    virtual void ResetObjects();
    TRect GetBounds(const String& objectName) override;
    TColor CustomColor(const String& colorName) override;

    TSeSkinSource* WorkSource() const { return work_.get(); }
    TSeSkinSource* LoadedSource() const { return loaded_.get(); }
    TSeSkinObject* ObjectTable(TSkinFileEntry entry) const { return table_[entry]; }

    // ---- Window ----
    bool IsWindowDefined(TteWindowSubclass s, const String& obj) override;
    HRGN WindowGetRegion(TteWindowSubclass s, const TRect& rect, const String& obj) override;
    TteWindowHitTest WindowGetHitTest(TteWindowSubclass s, const TteWindowInfo& info, int x, int y,
                                      const String& obj) override;
    TRect WindowGetClientRect(TteWindowSubclass s, const TRect& rect, const String& obj) override;
    TRect WindowGetTitleRect(TteWindowSubclass s, const TteWindowInfo& info, const String& obj) override;
    TRect WindowGetButtonRect(TteWindowSubclass s, const TteWindowInfo& info, TteWindowButtonClass button,
                              const String& obj) override;
    void WindowDraw(TteWindowSubclass s, TCanvas& c, const TteWindowInfo& info, const String& obj) override;
    void WindowDrawClient(TteWindowSubclass s, TCanvas& c, const TRect& rect, const String& obj) override;
    void WindowDrawText(TteWindowSubclass s, TCanvas& c, const TteWindowInfo& info, const TRect& rect,
                        const String& obj) override;
    void WindowDrawButton(TteWindowSubclass s, TCanvas& c, const TteWindowButtonInfo& info,
                          const String& obj) override;
    void WindowDrawGripper(TteWindowSubclass s, TCanvas& c, const TteWindowGripperInfo& info,
                           const String& obj) override;

    // ---- Hint, Label, Panel ----
    bool IsHintDefined(TteHintSubclass s, const String& obj) override;
    TRect HintGetClientRect(TteHintSubclass s, TCanvas& c, const TteHintInfo& info,
                            const String& obj) override;
    void HintDraw(TteHintSubclass s, TCanvas& c, const TteHintInfo& info, const String& obj) override;
    bool IsLabelDefined(TteLabelSubclass s, const String& obj) override;
    bool IsPanelDefined(TtePanelSubclass s, const String& obj) override;
    TRect PanelGetClientRect(TtePanelSubclass s, const TtePanelInfo& info, const String& obj) override;
    void PanelDraw(TtePanelSubclass s, TCanvas& c, const TtePanelInfo& info, const String& obj) override;

    // ---- Button, Check ----
    bool IsButtonDefined(TteButtonSubclass s, const String& obj) override;
    bool IsButtonTransparent(TteButtonSubclass s, const String& obj) override;
    void ButtonDraw(TteButtonSubclass s, TCanvas& c, const TteButtonInfo& info, const String& obj) override;
    void ButtonDrawText(TteButtonSubclass s, TCanvas& c, const TteButtonInfo& info, const TteTextInfo& text,
                        const String& obj) override;
    bool IsCheckDefined(TteCheckSubclass s, const String& obj) override;
    bool IsCheckTransparent(TteCheckSubclass s, const String& obj) override;
    TSize CheckGetSize(TteCheckSubclass s, const String& obj) override;
    void CheckDraw(TteCheckSubclass s, TCanvas& c, const TteCheckInfo& info, const String& obj) override;

    // ---- Splitter, Scroll, Progress, Track ----
    bool IsSplitterDefined(TteSplitterSubclass s, const String& obj) override;
    void SplitterDraw(TteSplitterSubclass s, TCanvas& c, const TteSplitterInfo& info,
                      const String& obj) override;
    bool IsScrollDefined(TteScrollSubclass s, const String& obj) override;
    bool IsScrollTransparent(TteScrollSubclass s, const String& obj) override;
    void ScrollDraw(TteScrollSubclass s, TCanvas& c, const TteScrollInfo& info, const String& obj) override;
    void ScrollDrawButton(TteScrollSubclass s, TCanvas& c, const TteScrollButtonInfo& info,
                          const String& obj) override;
    void ScrollDrawArea(TteScrollSubclass s, TCanvas& c, const TteScrollAreaInfo& info,
                        const String& obj) override;
    bool IsProgressDefined(TteProgressSubclass s, const String& obj) override;
    bool IsProgressTransparent(TteProgressSubclass s, const String& obj) override;
    void ProgressDraw(TteProgressSubclass s, TCanvas& c, const TteProgressInfo& info,
                      const String& obj) override;
    bool IsTrackDefined(TteTrackSubclass s, const String& obj) override;
    bool IsTrackTransparent(TteTrackSubclass s, const String& obj) override;
    void TrackDraw(TteTrackSubclass s, TCanvas& c, const TteTrackInfo& info, const String& obj) override;
    void TrackBarDraw(TteTrackSubclass s, TCanvas& c, const TteTrackBarInfo& info,
                      const String& obj) override;
    void TrackDrawThumb(TteTrackSubclass s, TCanvas& c, const TteTrackThumbInfo& info,
                        const String& obj) override;

    // ---- Header, Status ----
    bool IsHeaderDefined(TteHeaderSubclass s, const String& obj) override;
    void HeaderDraw(TteHeaderSubclass s, TCanvas& c, const TteHeaderInfo& info, const String& obj) override;
    void HeaderDrawSection(TteHeaderSubclass s, TCanvas& c, const TteHeaderSectionInfo& info,
                           const String& obj) override;
    bool IsStatusDefined(TteStatusSubclass s, const String& obj) override;
    void StatusDraw(TteStatusSubclass s, TCanvas& c, const TteStatusInfo& info, const String& obj) override;
    void StatusDrawPanel(TteStatusSubclass s, TCanvas& c, const TteStatusPanelInfo& info,
                         const String& obj) override;
    void StatusDrawText(TteStatusSubclass s, TCanvas& c, const TteStatusPanelInfo& info,
                        const TteTextInfo& text, const String& obj) override;

    // ---- Edit, Group, Memo ----
    bool IsEditDefined(TteEditSubclass s, const String& obj) override;
    TRect EditGetClientRect(TteEditSubclass s, TCanvas& c, const TteEditInfo& info,
                            const String& obj) override;
    void EditDraw(TteEditSubclass s, TCanvas& c, const TteEditInfo& info, const String& obj) override;
    void EditDrawButton(TteEditSubclass s, TCanvas& c, const TteEditButtonInfo& info,
                        const String& obj) override;
    bool IsGroupDefined(TteGroupSubclass s, const String& obj) override;
    bool IsGroupTransparent(TteGroupSubclass s, const String& obj) override;
    void GroupDraw(TteGroupSubclass s, TCanvas& c, const TteGroupInfo& info, const String& obj) override;
    bool IsMemoDefined(TteMemoSubclass s, const String& obj) override;
    TRect MemoGetClientRect(TteMemoSubclass s, TCanvas& c, const TteMemoInfo& info,
                            const String& obj) override;
    void MemoDraw(TteMemoSubclass s, TCanvas& c, const TteMemoInfo& info, const String& obj) override;

    // ---- Box, Menu ----
    bool IsBoxDefined(TteBoxSubclass s, const String& obj) override;
    bool IsBoxTransparent(TteBoxSubclass s, const String& obj) override;
    TRect BoxGetClientRect(TteBoxSubclass s, TCanvas& c, const TteBoxInfo& info, const String& obj) override;
    bool IsMenuDefined(TteMenuSubclass s, const String& obj) override;
    TRect MenuGetClientRect(TteMenuSubclass s, const TteMenuInfo& info, const String& obj) override;
    void MenuDraw(TteMenuSubclass s, TCanvas& c, const TteMenuInfo& info, const String& obj) override;
    void MenuDrawItem(TteMenuSubclass s, TCanvas& c, const TteMenuItemInfo& info, const String& obj) override;
    void MenuDrawItemGlyph(TteMenuSubclass s, TCanvas& c, const TteMenuItemInfo& info,
                           const TteMenuGlyphInfo& glyph, const String& obj) override;

    // ---- Dock, Tool ----
    bool IsDockDefined(TteDockSubclass s, const String& obj) override;
    TRect DockGetClientRect(TteDockSubclass s, const TteDockInfo& info, const String& obj) override;
    void DockDraw(TteDockSubclass s, TCanvas& c, const TteDockInfo& info, const String& obj) override;
    bool IsToolDefined(TteToolSubclass s, const String& obj) override;
    void ToolDraw(TteToolSubclass s, TCanvas& c, const TteToolInfo& info, const String& obj) override;
    void ToolDrawItem(TteToolSubclass s, TCanvas& c, const TteToolItemInfo& info, const String& obj) override;

    // ---- BarDock, Bar ----
    bool IsBarDockDefined(TteBarDockSubclass s, const String& obj) override;
    TRect BarDockGetClientRect(TteBarDockSubclass s, TCanvas& c, const TteBarDockInfo& info,
                               const String& obj) override;
    void BarDockDraw(TteBarDockSubclass s, TCanvas& c, const TteBarDockInfo& info,
                     const String& obj) override;
    bool IsBarDefined(TteBarSubclass s, const String& obj) override;
    bool IsBarTransparent(TteBarSubclass s, const String& obj) override;
    TRect BarGetClientRect(TteBarSubclass s, TCanvas& c, const TteBarInfo& info, const String& obj) override;
    void BarDraw(TteBarSubclass s, TCanvas& c, const TteBarInfo& info, const String& obj) override;
    void BarDrawCaption(TteBarSubclass s, TCanvas& c, const TteBarInfo& info,
                        const TteBarCaptionInfo& caption, const String& obj) override;
    void BarDrawButton(TteBarSubclass s, TCanvas& c, const TteBarButtonInfo& info,
                       const String& obj) override;

    // ---- Tab ----
    bool IsTabDefined(TteTabSubclass s, const String& obj) override;
    TRect TabGetClientRect(TteTabSubclass s, const TteTabInfo& info, const String& obj) override;
    void TabDraw(TteTabSubclass s, TCanvas& c, const TteTabInfo& info, const String& obj) override;
    void TabDrawItem(TteTabSubclass s, TCanvas& c, const TteTabItemInfo& info, const String& obj) override;
    void TabDrawButton(TteTabSubclass s, TCanvas& c, const TteTabButtonInfo& info,
                       const String& obj) override;
    void TabDrawText(TteTabSubclass s, TCanvas& c, const TteTabItemInfo& info, const TteTextInfo& text,
                     const String& obj) override;

    // ---- List, Tree, Grid ----
    bool IsListDefined(TteListSubclass s, const String& obj) override;
    TRect ListGetClientRect(TteListSubclass s, const TteListInfo& info, const String& obj) override;
    void ListDraw(TteListSubclass s, TCanvas& c, const TteListInfo& info, const String& obj) override;
    void ListDrawItem(TteListSubclass s, TCanvas& c, const TteListItemInfo& info, const String& obj) override;
    void ListDrawGlyph(TteListSubclass s, TCanvas& c, const TteListItemInfo& info,
                       const TteListGlyphInfo& glyph, const String& obj) override;
    bool IsTreeDefined(TteTreeSubclass s, const String& obj) override;
    TRect TreeGetClientRect(TteTreeSubclass s, const TteTreeInfo& info, const String& obj) override;
    void TreeDraw(TteTreeSubclass s, TCanvas& c, const TteTreeInfo& info, const String& obj) override;
    void TreeDrawItem(TteTreeSubclass s, TCanvas& c, const TteTreeItemInfo& info, const String& obj) override;
    bool IsGridDefined(TteGridSubclass s, const String& obj) override;
    TRect GridGetClientRect(TteGridSubclass s, const TteGridInfo& info, const String& obj) override;
    void GridDraw(TteGridSubclass s, TCanvas& c, const TteGridInfo& info, const String& obj) override;
    void GridDrawItem(TteGridSubclass s, TCanvas& c, const TteGridItemInfo& info, const String& obj) override;

protected:
    // The working copy's top-level object of that name (or path); none for
    // the exact "default".
    TSeSkinObject* Named(const String& obj) const;
    // Named, else the table entry.
    TSeSkinObject* Pick(const String& obj, TSkinFileEntry entry) const;

private:
    void FreeObjects();
    // Entries form .. form + 4 from one top-level frame object.
    void TakeFrame(const char* name, TSkinFileEntry form);
    // Takes a freshly loaded skin; false (nothing changed) when it is empty.
    bool TakeLoaded(std::unique_ptr<TSeSkinSource> fresh);
    std::unique_ptr<TSeSkinSource> FreshSource() const;
    void CopyThemeIntoLoaded();

    // The frame objects of a window subclass (none for message and textured windows).
    struct TFrameSet {
        TSeSkinObject* Frame = nullptr;
        TSeSkinObject* ButtonRects = nullptr;
        TSeSkinObject* Buttons = nullptr;
        TSeSkinObject* Placeholder = nullptr;
        TSeSkinObject* Client = nullptr;
    };
    TFrameSet FrameSet(TteWindowSubclass s) const;
    void PrepareFrame(TSeSkinObject* frame, const TteWindowInfo& info);

    TSeSkinObject* MenuObject(TteMenuSubclass s) const;
    TSeSkinObject* BarFrame(const TteBarInfo& info, const String& obj) const;

    std::unique_ptr<TSeSkinSource> work_;
    std::unique_ptr<TSeSkinSource> loaded_;
    std::array<TSeSkinObject*, kSkinFileEntryCount> table_{};
};

// ---- what the element operations share ----

namespace se3 {

// The object's descendant of that name (case ignored), or null.
TSeSkinObject* Child(TSeSkinObject* object, const char* name);
// The first of the names found.
TSeSkinObject* FirstChild(TSeSkinObject* object, std::initializer_list<const char*> names);
// The draw step: state (when given), bounds, the whole object.
void DrawObject(TSeSkinObject* object, TCanvas& c, const TRect& r, std::optional<TSeState> state = {});
// At the object's own size, centred in r.
void DrawCentred(TSeSkinObject* object, TCanvas& c, const TRect& r, std::optional<TSeState> state = {});
// Disabled, pressed, hot, else normal.
TSeState StandardState(bool disabled, bool pressed, bool hot);
// The rectangle shrunk by the object's margins (after giving it r).
TRect ShrinkByMargins(TSeSkinObject* object, const TRect& r);

// The canvas's pixels under r, put back when this goes, whatever is drawn
// in between: a group box's frame must not cross its caption.
class TKeptPixels {
public:
    TKeptPixels(TCanvas& c, const TRect& r);
    ~TKeptPixels();
    TKeptPixels(const TKeptPixels&) = delete;
    TKeptPixels& operator=(const TKeptPixels&) = delete;

private:
    TCanvas& c_;
    TRect r_;
    TteBitmap saved_;
};

}  // namespace se3

// Registers the class with the theme manager.
void InitThemeSkinFile();

}  // namespace tarvel
