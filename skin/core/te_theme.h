#pragma once
// TteTheme: the abstract theme. Skinned windows, menus and controls never
// draw their own look: they fill an info record, pick a theme (their link's,
// else the current one) and call one of its operations. There is one family
// of operations per element kind; each takes the element's subclass first
// and the name of the theme object the control asks for last ("default" for
// the kind's usual look). The base class is a complete, plain theme of its
// own; the concrete themes override what they draw differently.

#include <cstdint>

#include "platform/base/Strings.h"
#include "platform/classlib/Components.h"
#include "platform/classlib/Graphics.h"
#include "platform/classlib/Persistent.h"
#include "platform/classlib/Streams.h"
#include "platform/gdi/Gdi.h"
#include "skin/core/te_theme_colors.h"
#include "skin/core/te_theme_types.h"

namespace tarvel {

class TteTheme;
class TteThemeDrawing;
class TteThemeMetrics;

// How a theme class describes itself.
struct TteThemeConfig {
    bool Building = false;   // built in code, chosen by its name
    bool CanSave = false;    // instances can be written to a file or stream
    bool FileBased = false;  // reads theme files: matched by extension, offered in the open dialog
    String Filter;           // "description|pattern|description|pattern..."
    String DefaultExt;       // without the dot
};

// A theme class reference: the class's identity and virtual constructor,
// and its class functions, which are asked without an instance.
struct TteThemeClassRec {
    TClass Class;
    String (*GetThemeName)();
    TteThemeConfig (*GetThemeConfig)();
    // Whether the stream, at its position, holds a theme of this class.
    bool (*CheckStream)(TStream& stream);

    const String& ClassName() const { return Class->ClassName(); }
    TteTheme* Create() const;
};
using TteThemeClass = const TteThemeClassRec*;

template <class T>
TteThemeClass ThemeClassOf() {
    static const TteThemeClassRec rec{T::StaticClass(), &T::GetThemeName, &T::GetThemeConfig,
                                      &T::CheckStream};
    return &rec;
}

// Written first in the body of every theme class, in place of TARVEL_CLASS.
#define TTE_THEME_CLASS(Self, Parent)                                                              \
    TARVEL_CLASS(Self, Parent)                                                                     \
public:                                                                                            \
    ::tarvel::TteThemeClass ThemeClass() const override { return ::tarvel::ThemeClassOf<Self>(); } \
                                                                                                   \
private:

class TteTheme : public TPersistent {
    TARVEL_CLASS(TteTheme, TPersistent)

public:
    TteTheme();
    ~TteTheme() override;

    virtual TteThemeClass ThemeClass() const { return ThemeClassOf<TteTheme>(); }

    // From another theme: the name, colours, system colours, fonts and
    // options (not the deltas, the file name, metrics or drawing settings).
    void Assign(TPersistent* source) override;
    virtual void ResetThemeColors();
    // From the system colours as last set or loaded, then the deltas.
    virtual void ResetThemeSysColors();
    virtual void ResetThemeFonts();
    // Makes `font` a copy of theme font `index`, adjusted for the object.
    virtual void SetFontForObject(TFont* font, TteThemeFont index, const String& objectName);

    static String GetThemeName() { return "Default"; }
    static TteThemeConfig GetThemeConfig() { return TteThemeConfig{}; }
    static bool CheckStream(TStream&) { return false; }

    virtual bool LoadFromStream(TStream& stream);
    virtual bool SaveToStream(TStream& stream);
    virtual bool LoadFromFile(const String& fileName);
    virtual bool SaveToFile(const String& fileName);
    // Colours, system colours and fonts, each from its base and shifted once.
    virtual void ResetTheme();
    virtual void DrawThemeText(TCanvas& c, const TteTextInfo& text);

    // ---- Window ----
    virtual bool IsWindowDefined(TteWindowSubclass s, const String& obj);
    virtual HRGN WindowGetRegion(TteWindowSubclass s, const TRect& rect, const String& obj);
    virtual TteWindowHitTest WindowGetHitTest(TteWindowSubclass s, const TteWindowInfo& info, int x, int y,
                                              const String& obj);
    virtual TRect WindowGetClientRect(TteWindowSubclass s, const TRect& rect, const String& obj);
    virtual TRect WindowGetTitleRect(TteWindowSubclass s, const TteWindowInfo& info, const String& obj);
    virtual TRect WindowGetButtonRect(TteWindowSubclass s, const TteWindowInfo& info,
                                      TteWindowButtonClass button, const String& obj);
    virtual void WindowDraw(TteWindowSubclass s, TCanvas& c, const TteWindowInfo& info, const String& obj);
    virtual void WindowDrawClient(TteWindowSubclass s, TCanvas& c, const TRect& rect, const String& obj);
    virtual void WindowDrawText(TteWindowSubclass s, TCanvas& c, const TteWindowInfo& info, const TRect& rect,
                                const String& obj);
    virtual void WindowDrawButton(TteWindowSubclass s, TCanvas& c, const TteWindowButtonInfo& info,
                                  const String& obj);
    virtual void WindowDrawGripper(TteWindowSubclass s, TCanvas& c, const TteWindowGripperInfo& info,
                                   const String& obj);

    // ---- Hint ----
    virtual bool IsHintDefined(TteHintSubclass s, const String& obj);
    virtual TRect HintGetClientRect(TteHintSubclass s, TCanvas& c, const TteHintInfo& info,
                                    const String& obj);
    virtual void HintDraw(TteHintSubclass s, TCanvas& c, const TteHintInfo& info, const String& obj);

    // ---- Label ----
    virtual bool IsLabelDefined(TteLabelSubclass s, const String& obj);
    virtual bool IsLabelTransparent(TteLabelSubclass s, const String& obj);
    virtual void LabelDrawText(TteLabelSubclass s, TCanvas& c, TteLabelInfo info, const TteTextInfo& text,
                               const String& obj);

    // ---- Panel ----
    virtual bool IsPanelDefined(TtePanelSubclass s, const String& obj);
    virtual bool IsPanelTransparent(TtePanelSubclass s, const String& obj);
    virtual TRect PanelGetClientRect(TtePanelSubclass s, const TtePanelInfo& info, const String& obj);
    virtual void PanelDraw(TtePanelSubclass s, TCanvas& c, const TtePanelInfo& info, const String& obj);
    virtual void PanelDrawButton(TtePanelSubclass s, TCanvas& c, const TtePanelButtonInfo& info,
                                 const String& obj);
    virtual void PanelDrawText(TtePanelSubclass s, TCanvas& c, const TtePanelInfo& info,
                               const TteTextInfo& text, const String& obj);

    // ---- Button ----
    virtual bool IsButtonDefined(TteButtonSubclass s, const String& obj);
    virtual bool IsButtonTransparent(TteButtonSubclass s, const String& obj);
    virtual void ButtonDraw(TteButtonSubclass s, TCanvas& c, const TteButtonInfo& info, const String& obj);
    virtual void ButtonDrawText(TteButtonSubclass s, TCanvas& c, const TteButtonInfo& info,
                                const TteTextInfo& text, const String& obj);
    virtual void ButtonDrawGlyph(TteButtonSubclass s, TCanvas& c, const TteButtonInfo& info,
                                 const TteGlyphInfo& glyph, const String& obj);

    // ---- Check ----
    virtual bool IsCheckDefined(TteCheckSubclass s, const String& obj);
    virtual bool IsCheckTransparent(TteCheckSubclass s, const String& obj);
    virtual void CheckDraw(TteCheckSubclass s, TCanvas& c, const TteCheckInfo& info, const String& obj);
    virtual void CheckDrawText(TteCheckSubclass s, TCanvas& c, const TteCheckInfo& info,
                               const TteTextInfo& text, const String& obj);
    virtual TSize CheckGetSize(TteCheckSubclass s, const String& obj);

    // ---- Splitter ----
    virtual bool IsSplitterDefined(TteSplitterSubclass s, const String& obj);
    virtual bool IsSplitterTransparent(TteSplitterSubclass s, const String& obj);
    virtual void SplitterDraw(TteSplitterSubclass s, TCanvas& c, const TteSplitterInfo& info,
                              const String& obj);

    // ---- Scroll ----
    virtual bool IsScrollDefined(TteScrollSubclass s, const String& obj);
    virtual bool IsScrollTransparent(TteScrollSubclass s, const String& obj);
    virtual void ScrollDraw(TteScrollSubclass s, TCanvas& c, const TteScrollInfo& info, const String& obj);
    virtual void ScrollDrawButton(TteScrollSubclass s, TCanvas& c, const TteScrollButtonInfo& info,
                                  const String& obj);
    virtual void ScrollDrawArea(TteScrollSubclass s, TCanvas& c, const TteScrollAreaInfo& info,
                                const String& obj);

    // ---- Progress ----
    virtual bool IsProgressDefined(TteProgressSubclass s, const String& obj);
    virtual bool IsProgressTransparent(TteProgressSubclass s, const String& obj);
    virtual TRect ProgressGetClientRect(TteProgressSubclass s, const TteProgressInfo& info,
                                        const String& obj);
    virtual void ProgressDraw(TteProgressSubclass s, TCanvas& c, const TteProgressInfo& info,
                              const String& obj);

    // ---- Track ----
    virtual bool IsTrackDefined(TteTrackSubclass s, const String& obj);
    virtual bool IsTrackTransparent(TteTrackSubclass s, const String& obj);
    virtual void TrackDraw(TteTrackSubclass s, TCanvas& c, const TteTrackInfo& info, const String& obj);
    virtual void TrackBarDraw(TteTrackSubclass s, TCanvas& c, const TteTrackBarInfo& info, const String& obj);
    virtual void TrackDrawThumb(TteTrackSubclass s, TCanvas& c, const TteTrackThumbInfo& info,
                                const String& obj);
    virtual TPoint TrackGetThumbSize(TteTrackSubclass s, TCanvas& c, const TteTrackThumbInfo& info,
                                     const String& obj);

    // ---- Header ----
    virtual bool IsHeaderDefined(TteHeaderSubclass s, const String& obj);
    virtual bool IsHeaderTransparent(TteHeaderSubclass s, const String& obj);
    virtual void HeaderDraw(TteHeaderSubclass s, TCanvas& c, const TteHeaderInfo& info, const String& obj);
    virtual void HeaderDrawSection(TteHeaderSubclass s, TCanvas& c, const TteHeaderSectionInfo& info,
                                   const String& obj);
    virtual void HeaderDrawText(TteHeaderSubclass s, TCanvas& c, const TteHeaderSectionInfo& info,
                                const TteTextInfo& text, const String& obj);
    virtual void HeaderDrawGlyph(TteHeaderSubclass s, TCanvas& c, const TteHeaderSectionInfo& info,
                                 const TteGlyphInfo& glyph, const String& obj);

    // ---- Status ----
    virtual bool IsStatusDefined(TteStatusSubclass s, const String& obj);
    virtual bool IsStatusTransparent(TteStatusSubclass s, const String& obj);
    virtual TRect StatusGetClientRect(TteStatusSubclass s, const TteStatusInfo& info, const String& obj);
    virtual void StatusDraw(TteStatusSubclass s, TCanvas& c, const TteStatusInfo& info, const String& obj);
    virtual void StatusDrawPanel(TteStatusSubclass s, TCanvas& c, const TteStatusPanelInfo& info,
                                 const String& obj);
    virtual void StatusDrawText(TteStatusSubclass s, TCanvas& c, const TteStatusPanelInfo& info,
                                const TteTextInfo& text, const String& obj);
    virtual void StatusDrawGlyph(TteStatusSubclass s, TCanvas& c, const TteStatusPanelInfo& info,
                                 const TteGlyphInfo& glyph, const String& obj);

    // ---- Edit ----
    virtual bool IsEditDefined(TteEditSubclass s, const String& obj);
    virtual bool IsEditTransparent(TteEditSubclass s, const String& obj);
    virtual TRect EditGetClientRect(TteEditSubclass s, TCanvas& c, const TteEditInfo& info,
                                    const String& obj);
    virtual void EditDraw(TteEditSubclass s, TCanvas& c, const TteEditInfo& info, const String& obj);
    virtual void EditDrawButton(TteEditSubclass s, TCanvas& c, const TteEditButtonInfo& info,
                                const String& obj);

    // ---- Group ----
    virtual bool IsGroupDefined(TteGroupSubclass s, const String& obj);
    virtual bool IsGroupTransparent(TteGroupSubclass s, const String& obj);
    virtual TRect GroupGetClientRect(TteGroupSubclass s, const TteGroupInfo& info, const String& obj);
    virtual void GroupDraw(TteGroupSubclass s, TCanvas& c, const TteGroupInfo& info, const String& obj);
    virtual void GroupDrawText(TteGroupSubclass s, TCanvas& c, const TteGroupInfo& info,
                               const TteTextInfo& text, const String& obj);

    // ---- Memo ----
    virtual bool IsMemoDefined(TteMemoSubclass s, const String& obj);
    virtual bool IsMemoTransparent(TteMemoSubclass s, const String& obj);
    virtual TRect MemoGetClientRect(TteMemoSubclass s, TCanvas& c, const TteMemoInfo& info,
                                    const String& obj);
    virtual void MemoDraw(TteMemoSubclass s, TCanvas& c, const TteMemoInfo& info, const String& obj);

    // ---- Box ----
    virtual bool IsBoxDefined(TteBoxSubclass s, const String& obj);
    virtual bool IsBoxTransparent(TteBoxSubclass s, const String& obj);
    virtual TRect BoxGetClientRect(TteBoxSubclass s, TCanvas& c, const TteBoxInfo& info, const String& obj);
    virtual void BoxDraw(TteBoxSubclass s, TCanvas& c, const TteBoxInfo& info, const String& obj);

    // ---- Menu ----
    virtual bool IsMenuDefined(TteMenuSubclass s, const String& obj);
    virtual bool IsMenuTransparent(TteMenuSubclass s, const String& obj);
    virtual TRect MenuGetClientRect(TteMenuSubclass s, const TteMenuInfo& info, const String& obj);
    virtual void MenuDraw(TteMenuSubclass s, TCanvas& c, const TteMenuInfo& info, const String& obj);
    virtual void MenuDrawItem(TteMenuSubclass s, TCanvas& c, const TteMenuItemInfo& info, const String& obj);
    virtual void MenuDrawItemText(TteMenuSubclass s, TCanvas& c, const TteMenuItemInfo& info,
                                  const TteTextInfo& text, const String& obj);
    virtual void MenuDrawItemGlyph(TteMenuSubclass s, TCanvas& c, const TteMenuItemInfo& info,
                                   const TteMenuGlyphInfo& glyph, const String& obj);

    // ---- Dock ----
    virtual bool IsDockDefined(TteDockSubclass s, const String& obj);
    virtual TRect DockGetClientRect(TteDockSubclass s, const TteDockInfo& info, const String& obj);
    virtual void DockDraw(TteDockSubclass s, TCanvas& c, const TteDockInfo& info, const String& obj);

    // ---- Tool ----
    virtual bool IsToolDefined(TteToolSubclass s, const String& obj);
    virtual TRect ToolGetClientRect(TteToolSubclass s, const TteToolInfo& info, const String& obj);
    virtual void ToolDraw(TteToolSubclass s, TCanvas& c, const TteToolInfo& info, const String& obj);
    virtual void ToolDrawItem(TteToolSubclass s, TCanvas& c, const TteToolItemInfo& info, const String& obj);
    virtual void ToolDrawItemText(TteToolSubclass s, TCanvas& c, const TteToolItemInfo& info,
                                  const TteTextInfo& text, const String& obj);
    virtual void ToolDrawItemGlyph(TteToolSubclass s, TCanvas& c, const TteToolItemInfo& info,
                                   const TteToolGlyphInfo& glyph, const String& obj);

    // ---- BarDock ----
    virtual bool IsBarDockDefined(TteBarDockSubclass s, const String& obj);
    virtual TRect BarDockGetClientRect(TteBarDockSubclass s, TCanvas& c, const TteBarDockInfo& info,
                                       const String& obj);
    virtual void BarDockDraw(TteBarDockSubclass s, TCanvas& c, const TteBarDockInfo& info, const String& obj);

    // ---- Bar ----
    virtual bool IsBarDefined(TteBarSubclass s, const String& obj);
    virtual bool IsBarTransparent(TteBarSubclass s, const String& obj);
    virtual TRect BarGetClientRect(TteBarSubclass s, TCanvas& c, const TteBarInfo& info, const String& obj);
    virtual void BarDraw(TteBarSubclass s, TCanvas& c, const TteBarInfo& info, const String& obj);
    virtual void BarDrawCaption(TteBarSubclass s, TCanvas& c, const TteBarInfo& info,
                                const TteBarCaptionInfo& caption, const String& obj);
    virtual void BarDrawButton(TteBarSubclass s, TCanvas& c, const TteBarButtonInfo& info, const String& obj);
    virtual void BarDrawItem(TteBarSubclass s, TCanvas& c, const TteBarItemInfo& info, const String& obj);
    virtual void BarDrawText(TteBarSubclass s, TCanvas& c, const TteTextInfo& text, const String& obj);

    // ---- Tab ----
    virtual bool IsTabDefined(TteTabSubclass s, const String& obj);
    virtual bool IsTabTransparent(TteTabSubclass s, const String& obj);
    virtual TRect TabGetClientRect(TteTabSubclass s, const TteTabInfo& info, const String& obj);
    virtual void TabDraw(TteTabSubclass s, TCanvas& c, const TteTabInfo& info, const String& obj);
    virtual void TabDrawItem(TteTabSubclass s, TCanvas& c, const TteTabItemInfo& info, const String& obj);
    virtual void TabDrawButton(TteTabSubclass s, TCanvas& c, const TteTabButtonInfo& info, const String& obj);
    virtual void TabDrawText(TteTabSubclass s, TCanvas& c, const TteTabItemInfo& info,
                             const TteTextInfo& text, const String& obj);
    virtual void TabDrawGlyph(TteTabSubclass s, TCanvas& c, const TteTabItemInfo& info,
                              const TteGlyphInfo& glyph, const String& obj);

    // ---- List ----
    virtual bool IsListDefined(TteListSubclass s, const String& obj);
    virtual bool IsListTransparent(TteListSubclass s, const String& obj);
    virtual TRect ListGetClientRect(TteListSubclass s, const TteListInfo& info, const String& obj);
    virtual void ListDraw(TteListSubclass s, TCanvas& c, const TteListInfo& info, const String& obj);
    virtual void ListDrawColumn(TteListSubclass s, TCanvas& c, const TteListColumnInfo& info,
                                const String& obj);
    virtual void ListDrawItem(TteListSubclass s, TCanvas& c, const TteListItemInfo& info, const String& obj);
    virtual void ListDrawText(TteListSubclass s, TCanvas& c, const TteListItemInfo& info,
                              const TteTextInfo& text, const String& obj);
    virtual void ListDrawGlyph(TteListSubclass s, TCanvas& c, const TteListItemInfo& info,
                               const TteListGlyphInfo& glyph, const String& obj);

    // ---- Tree ----
    virtual bool IsTreeDefined(TteTreeSubclass s, const String& obj);
    virtual bool IsTreeTransparent(TteTreeSubclass s, const String& obj);
    virtual TRect TreeGetClientRect(TteTreeSubclass s, const TteTreeInfo& info, const String& obj);
    virtual void TreeDraw(TteTreeSubclass s, TCanvas& c, const TteTreeInfo& info, const String& obj);
    virtual void TreeDrawItem(TteTreeSubclass s, TCanvas& c, const TteTreeItemInfo& info, const String& obj);
    virtual void TreeDrawText(TteTreeSubclass s, TCanvas& c, const TteTreeItemInfo& info,
                              const TteTextInfo& text, const String& obj);
    virtual void TreeDrawGlyph(TteTreeSubclass s, TCanvas& c, const TteTreeItemInfo& info,
                               const TteGlyphInfo& glyph, const String& obj);

    // ---- Grid ----
    virtual bool IsGridDefined(TteGridSubclass s, const String& obj);
    virtual bool IsGridTransparent(TteGridSubclass s, const String& obj);
    virtual TRect GridGetClientRect(TteGridSubclass s, const TteGridInfo& info, const String& obj);
    virtual void GridDraw(TteGridSubclass s, TCanvas& c, const TteGridInfo& info, const String& obj);
    virtual void GridDrawItem(TteGridSubclass s, TCanvas& c, const TteGridItemInfo& info, const String& obj);
    virtual void GridDrawText(TteGridSubclass s, TCanvas& c, const TteGridItemInfo& info,
                              const TteTextInfo& text, const String& obj);
    virtual void GridDrawGlyph(TteGridSubclass s, TCanvas& c, const TteGridItemInfo& info,
                               const TteGlyphInfo& glyph, const String& obj);

    // Bounds a theme gives a named object (NullRect in the base).
    virtual TRect GetBounds(const String& objectName);
    // A theme's named extra colour (clNone in the base).
    virtual TColor CustomColor(const String& colorName);

    // A new theme of this class (registered) with this one's contents; the
    // caller owns it. Null for an unregistered class.
    TteTheme* CreateCopy();
    // The deltas are absolute: a change resets once from the base values.
    void ChangeThemeHue(int delta);
    void ChangeThemeBrightness(int delta);
    void ChangeThemeHueAndBrightness(int hue, int brightness);

    TteThemeColors* Colors() const { return colors_; }
    TteThemeFonts* Fonts() const { return fonts_; }
    TteThemeSysColors* SysColors() const { return sysColors_; }
    TteThemeDrawing* Drawing() const { return drawing_; }
    TteThemeMetrics* Metrics() const { return metrics_; }
    TteThemeOptions* Options() const { return options_; }
    int DeltaHue() const { return deltaHue_; }
    int DeltaBrightness() const { return deltaBrightness_; }

    String Name = "Default theme";
    String FileName;

private:
    TteThemeColors* colors_ = nullptr;
    TteThemeFonts* fonts_ = nullptr;
    int deltaHue_ = 0;
    int deltaBrightness_ = 0;
    TteThemeSysColors* sysColors_ = nullptr;
    TteThemeDrawing* drawing_ = nullptr;
    TteThemeMetrics* metrics_ = nullptr;
    TteThemeOptions* options_ = nullptr;
};

// Drawing settings of a theme: a back pointer only.
class TteThemeDrawing : public TPersistent {
    TARVEL_CLASS(TteThemeDrawing, TPersistent)

public:
    explicit TteThemeDrawing(TteTheme* owner) : owner_(owner) {}
    TteTheme* Owner() const { return owner_; }

private:
    TteTheme* owner_;
};

enum TktlMarginId : uint8_t {
    ktmiWindowStandard,
    ktmiWindowDialog,
    ktmiWindowBorder,
    ktmiWindowMessage,
    ktmiWindowTextured,
    ktmiWindowToolWindow,
    ktmiWindowToolbarVert,
    ktmiWindowToolbarHorz
};

// Left, top, right and bottom margins in a rectangle's four fields.
inline TRect Margin(int left, int top, int right, int bottom) { return TRect{left, top, right, bottom}; }

// Window margins taken from the current theme.
class TteThemeMetrics : public TPersistent {
    TARVEL_CLASS(TteThemeMetrics, TPersistent)

public:
    explicit TteThemeMetrics(TteTheme* owner) : owner_(owner) {}
    TteTheme* Owner() const { return owner_; }
    TRect GetMargin(TktlMarginId id);

private:
    TteTheme* owner_;
};

// What controls keep a theme link by: something that may hold a theme.
class TteCustomThemeLink : public TComponent {
    TARVEL_CLASS(TteCustomThemeLink, TComponent)

public:
    explicit TteCustomThemeLink(TComponent* owner) : TComponent(owner) {}
    virtual TteTheme* GetTheme() = 0;
};

}  // namespace tarvel
