#pragma once
// TTeThemeMsStyles, the theme that draws from a visual style: either a
// resource-only module (the style's name lists, its ini text and its
// bitmaps as resources) or the library's own container, a ".theme" file:
//
//   "QVMSSTL"   7 bytes
//   zlib data   to the end (written at the fastest level), holding:
//                 the theme name (int32 byte count, bytes)
//                 the style text (the same; its lines each end with CR LF)
//                 int32 image count N
//                 N x [image stream, image name, Transparent byte, AlphaBlend byte]
//
// From the style text it makes one TmsuxThemeObject per style class it
// draws with; the element operations pick an object by its section name
// and draw it with a state index.
//
// Loading is all or nothing: a file or stream that cannot be read, a
// damaged container, a module without what it needs or a malformed number
// in the style text answers false and leaves the theme as it was.

#include <array>
#include <memory>
#include <span>
#include <vector>

#include "platform/classlib/Streams.h"
#include "platform/system/ResourceModule.h"
#include "skin/core/te_theme.h"
#include "skin/themes/theme_msuxobjects.h"

namespace tarvel {

constexpr int kMsStylesObjectCount = 100;
// The style classes of the object table, in slot order.
std::span<const char* const> MsStylesClassNames();

class TTeThemeMsStyles : public TteTheme {
    TTE_THEME_CLASS(TTeThemeMsStyles, TteTheme)

public:
    static constexpr std::array<uint8_t, 7> Signature{'Q', 'V', 'M', 'S', 'S', 'T', 'L'};

    TTeThemeMsStyles();
    ~TTeThemeMsStyles() override;

    static String GetThemeName() { return "Microsoft msstyles"; }
    static TteThemeConfig GetThemeConfig();
    // Reads 7 bytes: the container's signature?
    static bool CheckStream(TStream& stream);

    void Assign(TPersistent* source) override;
    void ResetThemeColors() override;
    void ResetThemeSysColors() override;
    void ResetThemeFonts() override;
    bool LoadFromStream(TStream& stream) override;
    bool SaveToStream(TStream& stream) override;
    // A ".theme" container, else a module.
    bool LoadFromFile(const String& fileName) override;
    // Only to a ".theme" file.
    bool SaveToFile(const String& fileName) override;
    // The objects anew from the style as loaded, then colours and fonts.
    void ResetTheme() override;

    // Reads a container without making the objects. Damage raises; a
    // stream without the signature leaves no images and nothing else changed.
    void OnlyLoadFromStream(TStream& stream);
    // The module's bitmap of that name (upper-cased) into the image list,
    // once; one that cannot be loaded stays there empty.
    void AddImage(const String& name);
    // Raises EConvertError for a malformed number in the style text.
    void LoadObjects();
    // True unless there are images and "Button.Pushbutton" has keys.
    bool IsThemeEmpty() const;

    // Which colour and size scheme of a module the next load takes.
    void SetColorSchemeIndex(int index) { colorSchemeIndex_ = index; }
    void SetFontSchemeIndex(int index) { fontSchemeIndex_ = index; }

    // The object of a style class (case ignored), null before the first reset.
    TmsuxThemeObject* Object(std::string_view section) const;
    TmsuxThemeObject* ObjectAt(int slot) const { return objects_[static_cast<size_t>(slot)].get(); }
    const TmsuxStyleText& StyleText() const { return styleText_; }
    TmsuxStyleText& StyleText() { return styleText_; }
    TteBitmapList& Images() { return *images_; }
    const String& StyleName() const { return styleName_; }
    const String& ModuleFile() const { return moduleFile_; }
    const std::vector<String>& ColorNames() const { return colorNames_; }
    const std::vector<String>& SizeNames() const { return sizeNames_; }
    const std::vector<String>& FileNames() const { return fileNames_; }
    int CaptionBarHeight() const { return captionBarHeight_; }
    int SmCaptionBarHeight() const { return smCaptionBarHeight_; }
    int BorderWidth() const { return borderWidth_; }
    int SmBorderWidth() const { return smBorderWidth_; }
    TColor MenuColor() const { return menuColor_; }
    TColor MenuHilightColor() const { return menuHilightColor_; }
    TFont* MenuFont() const { return menuFont_.get(); }
    TFont* StatusFont() const { return statusFont_.get(); }
    TFont* MsgBoxFont() const { return msgBoxFont_.get(); }

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

    // ---- Panel, Splitter ----
    bool IsPanelDefined(TtePanelSubclass s, const String& obj) override;
    TRect PanelGetClientRect(TtePanelSubclass s, const TtePanelInfo& info, const String& obj) override;
    void PanelDraw(TtePanelSubclass s, TCanvas& c, const TtePanelInfo& info, const String& obj) override;
    bool IsSplitterDefined(TteSplitterSubclass s, const String& obj) override;
    void SplitterDraw(TteSplitterSubclass s, TCanvas& c, const TteSplitterInfo& info,
                      const String& obj) override;

    // ---- Button, Check ----
    bool IsButtonDefined(TteButtonSubclass s, const String& obj) override;
    bool IsButtonTransparent(TteButtonSubclass s, const String& obj) override;
    void ButtonDraw(TteButtonSubclass s, TCanvas& c, const TteButtonInfo& info, const String& obj) override;
    bool IsCheckDefined(TteCheckSubclass s, const String& obj) override;
    bool IsCheckTransparent(TteCheckSubclass s, const String& obj) override;
    void CheckDraw(TteCheckSubclass s, TCanvas& c, const TteCheckInfo& info, const String& obj) override;

    // ---- Scroll, Progress, Track ----
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
    TPoint TrackGetThumbSize(TteTrackSubclass s, TCanvas& c, const TteTrackThumbInfo& info,
                             const String& obj) override;

    // ---- Group, Edit, Memo ----
    bool IsGroupDefined(TteGroupSubclass s, const String& obj) override;
    bool IsGroupTransparent(TteGroupSubclass s, const String& obj) override;
    void GroupDraw(TteGroupSubclass s, TCanvas& c, const TteGroupInfo& info, const String& obj) override;
    bool IsEditDefined(TteEditSubclass s, const String& obj) override;
    TRect EditGetClientRect(TteEditSubclass s, TCanvas& c, const TteEditInfo& info,
                            const String& obj) override;
    void EditDraw(TteEditSubclass s, TCanvas& c, const TteEditInfo& info, const String& obj) override;
    void EditDrawButton(TteEditSubclass s, TCanvas& c, const TteEditButtonInfo& info,
                        const String& obj) override;
    bool IsMemoDefined(TteMemoSubclass s, const String& obj) override;
    bool IsMemoTransparent(TteMemoSubclass s, const String& obj) override;
    TRect MemoGetClientRect(TteMemoSubclass s, TCanvas& c, const TteMemoInfo& info,
                            const String& obj) override;
    void MemoDraw(TteMemoSubclass s, TCanvas& c, const TteMemoInfo& info, const String& obj) override;

    // ---- Menu ----
    bool IsMenuDefined(TteMenuSubclass s, const String& obj) override;
    bool IsMenuTransparent(TteMenuSubclass s, const String& obj) override;
    TRect MenuGetClientRect(TteMenuSubclass s, const TteMenuInfo& info, const String& obj) override;
    void MenuDraw(TteMenuSubclass s, TCanvas& c, const TteMenuInfo& info, const String& obj) override;
    void MenuDrawItem(TteMenuSubclass s, TCanvas& c, const TteMenuItemInfo& info, const String& obj) override;
    void MenuDrawItemGlyph(TteMenuSubclass s, TCanvas& c, const TteMenuItemInfo& info,
                           const TteMenuGlyphInfo& glyph, const String& obj) override;

    // ---- Header, Status, Box ----
    bool IsHeaderDefined(TteHeaderSubclass s, const String& obj) override;
    void HeaderDraw(TteHeaderSubclass s, TCanvas& c, const TteHeaderInfo& info, const String& obj) override;
    void HeaderDrawSection(TteHeaderSubclass s, TCanvas& c, const TteHeaderSectionInfo& info,
                           const String& obj) override;
    bool IsStatusDefined(TteStatusSubclass s, const String& obj) override;
    TRect StatusGetClientRect(TteStatusSubclass s, const TteStatusInfo& info, const String& obj) override;
    void StatusDraw(TteStatusSubclass s, TCanvas& c, const TteStatusInfo& info, const String& obj) override;
    void StatusDrawPanel(TteStatusSubclass s, TCanvas& c, const TteStatusPanelInfo& info,
                         const String& obj) override;
    bool IsBoxDefined(TteBoxSubclass s, const String& obj) override;
    bool IsBoxTransparent(TteBoxSubclass s, const String& obj) override;
    TRect BoxGetClientRect(TteBoxSubclass s, TCanvas& c, const TteBoxInfo& info, const String& obj) override;
    void BoxDraw(TteBoxSubclass s, TCanvas& c, const TteBoxInfo& info, const String& obj) override;

    // ---- Dock, Tool, BarDock, Bar ----
    bool IsDockDefined(TteDockSubclass s, const String& obj) override;
    TRect DockGetClientRect(TteDockSubclass s, const TteDockInfo& info, const String& obj) override;
    void DockDraw(TteDockSubclass s, TCanvas& c, const TteDockInfo& info, const String& obj) override;
    bool IsToolDefined(TteToolSubclass s, const String& obj) override;
    void ToolDraw(TteToolSubclass s, TCanvas& c, const TteToolInfo& info, const String& obj) override;
    void ToolDrawItem(TteToolSubclass s, TCanvas& c, const TteToolItemInfo& info, const String& obj) override;
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

private:
    // The content a load replaces, handed over whole once a load succeeded.
    void TakeContent(TTeThemeMsStyles& from);
    // Loads into a fresh theme (raising on any damage), then takes its content.
    template <class Load>
    bool LoadGuarded(Load&& load);
    void LoadModule(const String& fileName);
    void WriteContainer(TStream& stream);

    // Draws the object of `section` with `state` into r; nothing when missing.
    void DrawPart(std::string_view section, TCanvas& c, const TRect& r, int state);
    bool HasProps(std::string_view section) const { return uxAssigned(Object(section)); }
    // The frame widths and objects of standard and tool windows.
    struct TFrameParts {
        const char* Caption;
        const char* Left;
        const char* Right;
        const char* Bottom;
    };
    static const TFrameParts* FrameParts(TteWindowSubclass s);
    void DrawSlider(TCanvas& c, const TteScrollButtonInfo& info, int state);
    void DrawRaised(TCanvas& c, const TRect& r, bool sunken, bool fill);
    // Calls the object's Draw with its fill colour replaced by that of `with`.
    void DrawWithFillOf(std::string_view section, std::string_view with, TCanvas& c, const TRect& r);

    String styleName_;
    String moduleFile_;
    TmsuxStyleText styleText_;
    std::vector<String> colorNames_, sizeNames_, fileNames_;
    int colorSchemeIndex_ = 0;
    int fontSchemeIndex_ = 0;
    std::unique_ptr<TteBitmapList> images_;
    std::array<std::unique_ptr<TmsuxThemeObject>, kMsStylesObjectCount> objects_;
    int captionBarHeight_ = 25;
    int smCaptionBarHeight_ = 17;
    int borderWidth_ = 4;
    int smBorderWidth_ = 3;
    TColor menuColor_ = clBtnFace;
    TColor menuHilightColor_ = clHighlight;
    std::unique_ptr<TFont> menuFont_, statusFont_, msgBoxFont_;
    TMemoryStream pristine_;
    TteBitmap scratch_;
    // The module being loaded, open while its objects ask for images.
    const ResourceModule* module_ = nullptr;
};

// Registers the class with the theme manager.
void InitThemeMsStyles();

}  // namespace tarvel
