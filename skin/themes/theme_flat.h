#pragma once
// TTeFlatTheme, the built-in theme "Flat": every element drawn in code with
// plain fills, one-pixel frames and the system's frame-control glyphs, in a
// fixed palette with "Tahoma" fonts. It reads no files. The program's
// windows show it until their skin file is applied; the office-style theme
// derives from it.

#include <span>

#include "skin/core/te_theme.h"

namespace tarvel {

class TTeFlatTheme : public TteTheme {
    TTE_THEME_CLASS(TTeFlatTheme, TteTheme)

public:
    TTeFlatTheme();

    static String GetThemeName() { return "Flat"; }
    static TteThemeConfig GetThemeConfig();

    // The palette is not shifted by the deltas; the fonts are.
    void ResetThemeColors() override;
    void ResetThemeFonts() override;

    // Width of the glyph column of popup menus, less 2.
    int GutterWidth = 0;

    // ---- Window ----
    bool IsWindowDefined(TteWindowSubclass s, const String& obj) override;
    TRect WindowGetClientRect(TteWindowSubclass s, const TRect& rect, const String& obj) override;
    TRect WindowGetTitleRect(TteWindowSubclass s, const TteWindowInfo& info, const String& obj) override;
    TRect WindowGetButtonRect(TteWindowSubclass s, const TteWindowInfo& info, TteWindowButtonClass button,
                              const String& obj) override;
    void WindowDraw(TteWindowSubclass s, TCanvas& c, const TteWindowInfo& info, const String& obj) override;
    void WindowDrawText(TteWindowSubclass s, TCanvas& c, const TteWindowInfo& info, const TRect& rect,
                        const String& obj) override;
    void WindowDrawButton(TteWindowSubclass s, TCanvas& c, const TteWindowButtonInfo& info,
                          const String& obj) override;

    // ---- Hint, Label, Panel ----
    bool IsLabelDefined(TteLabelSubclass s, const String& obj) override;
    bool IsPanelDefined(TtePanelSubclass s, const String& obj) override;
    TRect PanelGetClientRect(TtePanelSubclass s, const TtePanelInfo& info, const String& obj) override;
    void PanelDraw(TtePanelSubclass s, TCanvas& c, const TtePanelInfo& info, const String& obj) override;

    // ---- Button, Check, Splitter ----
    bool IsButtonDefined(TteButtonSubclass s, const String& obj) override;
    bool IsButtonTransparent(TteButtonSubclass s, const String& obj) override;
    void ButtonDraw(TteButtonSubclass s, TCanvas& c, const TteButtonInfo& info, const String& obj) override;
    bool IsCheckDefined(TteCheckSubclass s, const String& obj) override;
    void CheckDraw(TteCheckSubclass s, TCanvas& c, const TteCheckInfo& info, const String& obj) override;
    bool IsSplitterDefined(TteSplitterSubclass s, const String& obj) override;
    void SplitterDraw(TteSplitterSubclass s, TCanvas& c, const TteSplitterInfo& info,
                      const String& obj) override;

    // ---- Scroll, Progress, Track ----
    bool IsScrollDefined(TteScrollSubclass s, const String& obj) override;
    void ScrollDrawButton(TteScrollSubclass s, TCanvas& c, const TteScrollButtonInfo& info,
                          const String& obj) override;
    void ScrollDrawArea(TteScrollSubclass s, TCanvas& c, const TteScrollAreaInfo& info,
                        const String& obj) override;
    bool IsProgressDefined(TteProgressSubclass s, const String& obj) override;
    void ProgressDraw(TteProgressSubclass s, TCanvas& c, const TteProgressInfo& info,
                      const String& obj) override;
    bool IsTrackDefined(TteTrackSubclass s, const String& obj) override;
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
    void HeaderDrawText(TteHeaderSubclass s, TCanvas& c, const TteHeaderSectionInfo& info,
                        const TteTextInfo& text, const String& obj) override;
    void HeaderDrawGlyph(TteHeaderSubclass s, TCanvas& c, const TteHeaderSectionInfo& info,
                         const TteGlyphInfo& glyph, const String& obj) override;
    bool IsStatusDefined(TteStatusSubclass s, const String& obj) override;
    void StatusDraw(TteStatusSubclass s, TCanvas& c, const TteStatusInfo& info, const String& obj) override;
    void StatusDrawPanel(TteStatusSubclass s, TCanvas& c, const TteStatusPanelInfo& info,
                         const String& obj) override;

    // ---- Edit, Group, Memo, Box ----
    bool IsEditDefined(TteEditSubclass s, const String& obj) override;
    TRect EditGetClientRect(TteEditSubclass s, TCanvas& c, const TteEditInfo& info,
                            const String& obj) override;
    void EditDraw(TteEditSubclass s, TCanvas& c, const TteEditInfo& info, const String& obj) override;
    void EditDrawButton(TteEditSubclass s, TCanvas& c, const TteEditButtonInfo& info,
                        const String& obj) override;
    bool IsGroupDefined(TteGroupSubclass s, const String& obj) override;
    TRect GroupGetClientRect(TteGroupSubclass s, const TteGroupInfo& info, const String& obj) override;
    void GroupDraw(TteGroupSubclass s, TCanvas& c, const TteGroupInfo& info, const String& obj) override;
    bool IsMemoDefined(TteMemoSubclass s, const String& obj) override;
    void MemoDraw(TteMemoSubclass s, TCanvas& c, const TteMemoInfo& info, const String& obj) override;
    bool IsBoxDefined(TteBoxSubclass s, const String& obj) override;
    TRect BoxGetClientRect(TteBoxSubclass s, TCanvas& c, const TteBoxInfo& info, const String& obj) override;
    void BoxDraw(TteBoxSubclass s, TCanvas& c, const TteBoxInfo& info, const String& obj) override;

    // ---- Menu (also the office-style theme's) ----
    bool IsMenuDefined(TteMenuSubclass s, const String& obj) override;
    TRect MenuGetClientRect(TteMenuSubclass s, const TteMenuInfo& info, const String& obj) override;
    void MenuDraw(TteMenuSubclass s, TCanvas& c, const TteMenuInfo& info, const String& obj) override;
    void MenuDrawItem(TteMenuSubclass s, TCanvas& c, const TteMenuItemInfo& info, const String& obj) override;
    void MenuDrawItemGlyph(TteMenuSubclass s, TCanvas& c, const TteMenuItemInfo& info,
                           const TteMenuGlyphInfo& glyph, const String& obj) override;

    // ---- Dock, Tool, BarDock, Bar ----
    bool IsDockDefined(TteDockSubclass s, const String& obj) override;
    void DockDraw(TteDockSubclass s, TCanvas& c, const TteDockInfo& info, const String& obj) override;
    bool IsToolDefined(TteToolSubclass s, const String& obj) override;
    void ToolDraw(TteToolSubclass s, TCanvas& c, const TteToolInfo& info, const String& obj) override;
    void ToolDrawItem(TteToolSubclass s, TCanvas& c, const TteToolItemInfo& info, const String& obj) override;
    void ToolDrawItemGlyph(TteToolSubclass s, TCanvas& c, const TteToolItemInfo& info,
                           const TteToolGlyphInfo& glyph, const String& obj) override;
    bool IsBarDockDefined(TteBarDockSubclass s, const String& obj) override;
    TRect BarDockGetClientRect(TteBarDockSubclass s, TCanvas& c, const TteBarDockInfo& info,
                               const String& obj) override;
    void BarDockDraw(TteBarDockSubclass s, TCanvas& c, const TteBarDockInfo& info,
                     const String& obj) override;
    bool IsBarDefined(TteBarSubclass s, const String& obj) override;
    TRect BarGetClientRect(TteBarSubclass s, TCanvas& c, const TteBarInfo& info, const String& obj) override;
    void BarDraw(TteBarSubclass s, TCanvas& c, const TteBarInfo& info, const String& obj) override;
    void BarDrawCaption(TteBarSubclass s, TCanvas& c, const TteBarInfo& info,
                        const TteBarCaptionInfo& caption, const String& obj) override;
    void BarDrawButton(TteBarSubclass s, TCanvas& c, const TteBarButtonInfo& info,
                       const String& obj) override;

    // ---- Tab ----
    bool IsTabDefined(TteTabSubclass s, const String& obj) override;
    bool IsTabTransparent(TteTabSubclass s, const String& obj) override;
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
    void TreeDraw(TteTreeSubclass s, TCanvas& c, const TteTreeInfo& info, const String& obj) override;
    void TreeDrawItem(TteTreeSubclass s, TCanvas& c, const TteTreeItemInfo& info, const String& obj) override;
    bool IsGridDefined(TteGridSubclass s, const String& obj) override;
    void GridDraw(TteGridSubclass s, TCanvas& c, const TteGridInfo& info, const String& obj) override;
    void GridDrawItem(TteGridSubclass s, TCanvas& c, const TteGridItemInfo& info, const String& obj) override;

protected:
    struct TPaletteEntry {
        TteThemeColor Index;
        TColor Color;
    };
    void SetPalette(std::span<const TPaletteEntry> palette);
    // The flat fonts; the office-style theme leaves the static-text fonts
    // alone and has captions of its own colours.
    void SetFlatFonts(bool staticText, TColor captionNormal, TColor captionInactive);

    TColor Color(TteThemeColor index) const { return Colors()->GetColor(index); }
    TColor Border() const { return Color(ktcBorder); }
};

// Registers the class with the theme manager (after the theme core starts).
void InitThemeFlat();

}  // namespace tarvel
