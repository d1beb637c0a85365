#pragma once
// What a skinned element asks a theme to draw: the element kinds and their
// variants, draw states and classes, and the small info records (rectangle,
// state, text or picture) a control fills with the builders below and hands
// to the theme's operations. Every enumeration is one byte; a set is a bit
// set over its enumeration.

#include <cstdint>
#include <memory>

#include "platform/base/Strings.h"
#include "platform/classlib/Graphics.h"
#include "platform/classlib/ImageLists.h"
#include "platform/classlib/Sets.h"
#include "platform/gdi/Gdi.h"
#include "skin/core/te_bitmap.h"

namespace tarvel {

class TControl;

// ---- element subclasses --------------------------------------------------

enum TteWindowSubclass : uint8_t {
    kwscStandard,
    kwscDialog,
    kwscBorder,
    kwscMessage,
    kwscNoBorder,
    kwscTextured,
    kwscToolWindow
};
enum TteHintSubclass : uint8_t { khscHintWindow };
enum TteLabelSubclass : uint8_t { klscLabel, klscHyperlink, klscHighlight };
enum TtePanelSubclass : uint8_t { kpscPanel, kpscHeader };
enum TteButtonSubclass : uint8_t {
    kbscButton,
    kbscComboButton,
    kbscComboDropDown,
    kbscDropDown,
    kbscSpinUp,
    kbscSpinDown,
    kbscSpinLeft,
    kbscSpinRight,
    kbscSpinPlus,
    kbscSpinMinus
};
enum TteCheckSubclass : uint8_t { kcscCheckBox, kcscRadioButton };
enum TteSplitterSubclass : uint8_t { ksscSplitter };
enum TteScrollSubclass : uint8_t { ksscScrollBar };
enum TteProgressSubclass : uint8_t { kpscProgressBar, kpscSingleProgressBar };
enum TteTrackSubclass : uint8_t { ktscTrackBar, ktscRangeBar };
enum TteHeaderSubclass : uint8_t { khscHeader };
enum TteStatusSubclass : uint8_t { ksscStatusBar };
enum TteEditSubclass : uint8_t {
    kescEdit,
    kescEditLeft,
    kescEditRight,
    kescEditBoth,
    kescComboBox,
    kescComboBoxLeft,
    kescComboBoxRight,
    kescSingleEdit,
    kescSingleComboBox
};
enum TteGroupSubclass : uint8_t { kgscGroupBox, kgscRadioGroup };
enum TteMemoSubclass : uint8_t { kmscMemo };
enum TteBoxSubclass : uint8_t { kbscBox };
enum TteMenuSubclass : uint8_t { kmscMenuBar, kmscPopupMenu };
enum TteDockSubclass : uint8_t { kdscDock };
enum TteToolSubclass : uint8_t { ktscToolMenu, ktscToolBar, ktscToolPopup, ktscToolWindow, ktscRebar };
enum TteBarDockSubclass : uint8_t { kbdscBarDock };
enum TteBarSubclass : uint8_t { kbscOutlookBar, kbscExplorerBar, kbscGroupBar };
enum TteTabSubclass : uint8_t { ktscTab, ktscPage };
enum TteListSubclass : uint8_t { klscListBox };
enum TteTreeSubclass : uint8_t { ktscTreeList };
enum TteGridSubclass : uint8_t { kgscGrid };

// ---- states, classes and other values ------------------------------------

enum TteWindowDrawState : uint8_t { kwdsActive, kwdsMaximized, kwdsMinimized, kwdsRolled, kwdsTopmost };
using TteWindowDrawStates = TSet<TteWindowDrawState>;
enum TteWindowButtonClass : uint8_t {
    kwbSysMenu,
    kwbClose,
    kwbHelp,
    kwbMin,
    kwbMinRestore,
    kwbMax,
    kwbMaxRestore,
    kwbRoll,
    kwbRollRestore,
    kwbTray,
    kwbTopmost,
    kwbTopmostRestore,
    kwbCustom
};
using TteWindowButtons = TSet<TteWindowButtonClass>;
enum TteWindowButtonDrawState : uint8_t { kwbdsNormal, kwbdsHot, kwbdsPressed, kwbdsInactive };
enum TteWindowHitTest : uint8_t {
    kwhtClient,
    kwhtCaption,
    kwhtLeft,
    kwhtTop,
    kwhtRight,
    kwhtBottom,
    kwhtBorder,
    kwhtTopLeft,
    kwhtTopRight,
    kwhtBottomLeft,
    kwhtBottomRight,
    kwhtCloseButton,
    kwhtHelpButton,
    kwhtMinButton,
    kwhtMaxButton,
    kwhtRollButton,
    kwhtTrayButton,
    kwhtSysMenu,
    kwhtNonClient,
    kwhtMenu
};
enum TteLabelDrawState : uint8_t { kldsNormal, kldsHot, kldsDisabled };
enum TteButtonDrawState : uint8_t {
    kbdsNormal,
    kbdsHot,
    kbdsPressed,
    kbdsDisabled,
    kbdsFocused,
    kbdsFocusedHot,
    kbdsDefault,
    kbdsDefaultHot,
    kbdsChecked,
    kbdsCheckedDisabled,
    kbdsCheckedHot,
    kbdsCheckedFocused
};
enum TteCheckDrawState : uint8_t {
    kcdsCheckedNormal,
    kcdsCheckedHot,
    kcdsCheckedPressed,
    kcdsCheckedDisabled,
    kcdsCheckedFocused,
    kcdsUncheckedNormal,
    kcdsUncheckedHot,
    kcdsUncheckedPressed,
    kcdsUncheckedDisabled,
    kcdsUncheckedFocused,
    kcdsMixedNormal,
    kcdsMixedHot,
    kcdsMixedPressed,
    kcdsMixedDisabled,
    kcdsMixedFocused
};
enum TteEditDrawState : uint8_t {
    kedsNormal,
    kedsHot,
    kedsFocused,
    kedsFocusedHot,
    kedsDisabled,
    kedsReadOnly,
    kedsSelection
};
enum TteEditButtonClass : uint8_t {
    kebcDropDown,
    kebcUpDown,
    kebcUp,
    kebcDown,
    kebcLeft,
    kebcRight,
    kebcPlus,
    kebcMinus,
    kebcDialog,
    kebcCustom
};
enum TteEditButtonDrawState : uint8_t { kebdsNormal, kebdsHot, kebdsPressed, kebdsFocused, kebdsDisabled };
enum TteScrollButtonClass : uint8_t {
    ksbcUp,
    ksbcDown,
    ksbcPageUp,
    ksbcPageDown,
    ksbcLeft,
    ksbcRight,
    ksbcPageLeft,
    ksbcPageRight,
    ksbcHorzSlider,
    ksbcVertSlider,
    ksbcPlus,
    ksbcMinus,
    ksbcCustom
};
enum TteScrollButtonDrawState : uint8_t { ksbdsNormal, ksbdsPressed, ksbdsHot, ksbdsDisabled };
enum TteScrollAreaClass : uint8_t { ksacVertical, ksacHorizontal };
enum TteScrollAreaDrawState : uint8_t { ksadsNormal, ksadsPressed, ksadsHot, ksadsDisabled };
enum TteProgressPart : uint8_t {
    kppBarVert,
    kppBarHorz,
    kppChunkVert,
    kppChunkHorz,
    kppSolidVert,
    kppSolidHorz
};
enum TteProgressDrawState : uint8_t { kpdsNormal, kpdsDisabled };
enum TtePanelButtonClass : uint8_t {
    kpbcRollUp,
    kpbcRollDown,
    kpbcRollLeft,
    kpbcRollRight,
    kpbcClose,
    kpbcCustom
};
enum TtePanelButtonDrawState : uint8_t { kpbdsNormal, kpbdsHot, kpbdsPressed, kpbdsDiabled };
enum TteTrackBarClass : uint8_t { ktbcVertical, ktbcHorizontal };
enum TteTrackBarDrawState : uint8_t { ktrbdsNormal, ktrbdsDisabled };
enum TteTrackThumbClass : uint8_t {
    ktbmVertBoth,
    ktbmVertRight,
    ktbmVertLeft,
    ktbmHorzBoth,
    ktbmHorzBottom,
    ktbmHorzTop
};
enum TteTrackThumbDrawState : uint8_t { kttdsNormal, kttdsHot, kttdsPressed, kttdsFocused, kttdsDisabled };
enum TteSplitterButtonClass : uint8_t { kspbcLeft, kspbcUp, kspbcDown, kspbcRight };
enum TteGroupDrawState : uint8_t { kgdsNormal, kgdsDisabled };
enum TteMemoDrawState : uint8_t {
    kmdsNormal,
    kmdsHot,
    kmdsFocused,
    kmdsDisabled,
    kmdsReadOnly,
    kmdsSelection
};
enum TteBoxDrawState : uint8_t { kbxdsNormal, kbxdsDisabled };
enum TteTabItemClass : uint8_t {
    ktisTopMiddle,
    ktisTopFirst,
    ktisTopLast,
    ktisLeftMiddle,
    ktisLeftFirst,
    ktisLeftLast,
    ktisRightMiddle,
    ktisRightFirst,
    ktisRightLast,
    ktisBottomMiddle,
    ktisBottomFirst,
    ktisBottomLast
};
enum TteTabItemDrawState : uint8_t {
    ktidsNormal,
    ktidsHot,
    ktidsDisabled,
    ktidsActive,
    ktidsActiveHot,
    ktidsActiveDisabled
};
enum TteTabButtonClass : uint8_t { ktbcClose, ktbcLeft, ktbcDown, ktbcUp, ktbcRight, ktbcCustom };
enum TteTabButtonDrawState : uint8_t { ktbdsNormal, ktbdsHot, ktbdsPressed, ktbdsDisabled };
enum TteSectionState : uint8_t { khssFirst, khssMiddle, khssLast };
enum TteSectionDrawState : uint8_t {
    khdsNormal,
    khdsPressed,
    khdsDraggedOut,
    khdsDragging,
    khdsHot,
    khdsUnderDrag,
    khdsDisabled
};
enum TteStatusPanelClass : uint8_t { kspcNormal, kspcDisabled, kspcGripperPanel, kspcGripper };
enum TteBarCaptionDrawState : uint8_t { kbcdsNormal, kbcdsHot, kbcdsPressed, kbcdsDisabled, kbcdsRolled };
enum TteBarButtonClass : uint8_t { kbbcText, kbbcUp, kbbcDown, kbbcClose };
enum TteBarButtonDrawState : uint8_t { kbbdsNormal, kbbdsHot, kbbdsPressed, kbbdsDisabled };
enum TteBarItemClass : uint8_t { kbicNormal };
enum TteBarItemDrawState : uint8_t { kbidsNormal, kbidsHot, kbidsPressed, kbidsDisabled };
enum TteMenuItemClass : uint8_t {
    kmicNormal,
    kmicSeparator,
    kmicSpace,
    kmicHomeButton,
    kmicEndButton,
    kmicExpandButton,
    kmicSysMenu,
    kmicMin,
    kmicRestore,
    kmicClose
};
enum TteMenuItemDrawState : uint8_t { kmidsNormal, kmidsHot, kmidsSelected, kmidsDisabled, kmidsUnused };
enum TteMenuGlyph : uint8_t {
    kmgCheckGlyph,
    kmgRadioGlyph,
    kmgSubMenuGlyph,
    kmgGlyph,
    kmgSysMenu,
    kmgClose,
    kmgMin,
    kmgMax,
    kmgRoll,
    kmgMinRestore,
    kmgMaxRestore,
    kmgRollRestore,
    kmgTray,
    kmgNone
};
enum TteToolButtonClass : uint8_t { ktlbcCaption, ktlbcGripper, ktlbcClose, ktlbcPick };
enum TteToolItemClass : uint8_t {
    kticNormal,
    kticSeparator,
    kticSpace,
    kticComboButton,
    kticComboDropDown,
    kticDropDown,
    kticHomeButton,
    kticendButton,
    kticExpandButton,
    kticSysMenu,
    kticMin,
    kticRestore,
    kticClose,
    kticGripper,
    kticGripperVert
};
enum TteToolItemDrawState : uint8_t {
    mtidsNormal,
    mtidsHot,
    mtidsPressed,
    mtidsDisabled,
    mtidsUnused,
    mtidsChecked,
    mtidsCheckedHot,
    mtidsCheckedPressed
};
enum TteToolGlyph : uint8_t {
    ktigCheckGlyph,
    ktigRadioGlyph,
    ktigSubMenuGlyph,
    ktigGlyph,
    ktigSysMenu,
    ktigClose,
    ktigMin,
    ktigMax,
    ktigRoll,
    ktigMinRestore,
    ktigMaxRestore,
    ktigRollRestore,
    ktigTray,
    ktgNone
};
enum TteListItemDrawState : uint8_t { klidsNormal, klidsHot, klidsSelected, klidsFocused, klidsDisabled };
enum TteListGlyph : uint8_t { klgChecked, klgUnchecked, klgMixed, klgCustom };
enum TteTreeItemDrawState : uint8_t { kridsNormal, kridsHot, kridsSelected, kridsFocused, kridsDisabled };
enum TteGridItemDrawState : uint8_t { kgidsNormal, kgidsHot, kgidsSelected, kgidsFocused, kgidsDisabled };
enum TteGridItemClass : uint8_t { kgicNormal, kgicFixed };
enum TteGlyphAlign : uint8_t { kgfaTopLeft, kgfaTopRight, kgfaBottomLeft, kgfaBottomRight, kgfaCenter };
enum TteTextAlign : uint8_t {
    ktxaTopLeft,
    ktxaMiddleLeft,
    ktxaBottomLeft,
    ktxaTopCenter,
    ktxaMiddleCenter,
    ktxaBottomCenter,
    ktxaTopRight,
    ktxaMiddleRight,
    ktxaBottomRight
};
enum TteTextStyle : uint8_t { ktxsDropShadow, ktxsRTLReading, ktxsNoPrefix, ktxsWordBreak, ktxsSingleLine };
using TteTextStyles = TSet<TteTextStyle>;
enum TteTextOrientation : uint8_t { ktxoHorizontal, ktxoVerticalTop, ktxoVerticalBottom };

// The caption buttons of a skinned frame (and of the theme preview).
enum TTeBorderIcon : uint8_t {
    kbiClose,
    kbiSystemMenu,
    kbiMinimize,
    kbiMaximize,
    kbiHelp,
    kbiRollup,
    kbiTray,
    kbiTop,
    kbiCustom
};
using TTeBorderIcons = TSet<TTeBorderIcon>;

// The rectangle of "no rectangle".
inline constexpr TRect NullRect{-1, -1, -1, -1};

// ---- records ---------------------------------------------------------------

struct TteBackgroundInfo {
    TRect Rect;
    TControl* Control = nullptr;  // not owned
    TRect ClipRect;
};

struct TteTextInfo {
    TRect Rect;
    WideString Text;
    TteTextAlign Align = ktxaTopLeft;
    TteTextStyles Style;
    TteTextOrientation Orientation = ktxoHorizontal;
};

// The picture records hold the bitmap they draw through Bitmap; when a
// builder made that bitmap from a graphic or an image list, the record (and
// every copy of it) shares its ownership, so it lives as long as they do.
struct TteGlyphRecord {
    TRect Rect;
    TteBitmap* Bitmap = nullptr;
    std::shared_ptr<TteBitmap> Owned;
};

struct TteGlyphInfo : TteGlyphRecord {
    TteGlyphAlign Align = kgfaTopLeft;
};

struct TteWindowInfo {
    TRect Rect;
    TteWindowDrawStates DrawState;
    TteWindowButtons Buttons;
    TRect ClipRect;
    WideString Caption;
    bool DisabledNCArea = false;
};

struct TteWindowButtonInfo {
    TRect Rect;
    TteWindowButtonClass ButtonClass = kwbSysMenu;
    TteWindowButtonDrawState DrawState = kwbdsNormal;
    TteBitmap* Bitmap = nullptr;
};

struct TteWindowGripperInfo {
    TRect Rect;
    bool Sizeable = false;
};

// Records that carry only the rectangle.
struct TteRectInfo {
    TRect Rect;
};
struct TteHintInfo : TteRectInfo {};
struct TteScrollInfo : TteRectInfo {};
struct TtePanelInfo : TteRectInfo {};
struct TteTrackInfo : TteRectInfo {};
struct TteSplitterInfo : TteRectInfo {};
struct TteMemoGutterInfo : TteRectInfo {};
struct TteTabInfo : TteRectInfo {};
struct TteHeaderInfo : TteRectInfo {};
struct TteStatusInfo : TteRectInfo {};
struct TteBarDockInfo : TteRectInfo {};
struct TteMenuInfo : TteRectInfo {};
struct TteDockInfo : TteRectInfo {};
struct TteToolInfo : TteRectInfo {};
struct TteListInfo : TteRectInfo {};
struct TteListColumnInfo : TteRectInfo {};
struct TteTreeInfo : TteRectInfo {};
struct TteGridInfo : TteRectInfo {};

struct TteLabelInfo {
    TteLabelDrawState DrawState = kldsNormal;
};

// A rectangle with one draw state.
template <class State>
struct TteStateInfo {
    TRect Rect;
    State DrawState{};
};
using TteButtonInfo = TteStateInfo<TteButtonDrawState>;
using TteCheckInfo = TteStateInfo<TteCheckDrawState>;
using TteEditInfo = TteStateInfo<TteEditDrawState>;
using TteMemoInfo = TteStateInfo<TteMemoDrawState>;
using TteBoxInfo = TteStateInfo<TteBoxDrawState>;
using TteListItemInfo = TteStateInfo<TteListItemDrawState>;
using TteTreeItemInfo = TteStateInfo<TteTreeItemDrawState>;
using TteBarCaptionInfo = TteStateInfo<TteBarCaptionDrawState>;

struct TteEditButtonInfo {
    TRect Rect;
    TteEditButtonDrawState DrawState = kebdsNormal;
    TteEditButtonClass ButtonClass = kebcDropDown;
};
struct TteScrollButtonInfo {
    TRect Rect;
    TteScrollButtonClass ButtonClass = ksbcUp;
    TteScrollButtonDrawState DrawState = ksbdsNormal;
};
struct TteScrollAreaInfo {
    TRect Rect;
    TteScrollAreaClass AreaClass = ksacVertical;
    TteScrollAreaDrawState DrawState = ksadsNormal;
};
struct TteProgressInfo {
    TRect Rect;
    TteProgressPart Part = kppBarVert;
    TteProgressDrawState DrawState = kpdsNormal;
};
struct TtePanelButtonInfo {
    TRect Rect;
    TtePanelButtonClass ButtonClass = kpbcRollUp;
    TtePanelButtonDrawState DrawState = kpbdsNormal;
};
struct TteTrackBarInfo {
    TRect Rect;
    TteTrackBarClass BarClass = ktbcVertical;
    TteTrackBarDrawState DrawState = ktrbdsNormal;
};
struct TteTrackThumbInfo {
    TRect Rect;
    TteTrackThumbClass ThumbClass = ktbmVertBoth;
    TteTrackThumbDrawState DrawState = kttdsNormal;
};
struct TteSplitterButtonInfo {
    TRect Rect;
    TteSplitterButtonClass ButtonClass = kspbcLeft;
};
struct TteGroupInfo {
    TRect Rect;
    TRect TextRect;
    TteGroupDrawState DrawState = kgdsNormal;
};
struct TteTabItemInfo {
    TRect Rect;
    TteTabItemClass ItemClass = ktisTopMiddle;
    TteTabItemDrawState DrawState = ktidsNormal;
};
struct TteTabButtonInfo {
    TRect Rect;
    TteTabButtonClass ButtonClass = ktbcClose;
    TteTabButtonDrawState DrawState = ktbdsNormal;
};
struct TteHeaderSectionInfo {
    TRect Rect;
    TteSectionState SectionState = khssFirst;
    TteSectionDrawState DrawState = khdsNormal;
};
struct TteStatusPanelInfo {
    TRect Rect;
    TteStatusPanelClass PanelClass = kspcNormal;
};
struct TteBarInfo {
    TRect Rect;
    bool ShowCaption = false;
    bool ShowBevel = false;
};
struct TteBarButtonInfo {
    TRect Rect;
    TteBarButtonClass ButtonClass = kbbcText;
    TteBarButtonDrawState DrawState = kbbdsNormal;
};
struct TteBarItemInfo {
    TRect Rect;
    TteBarItemClass ItemClass = kbicNormal;
    TteBarItemDrawState DrawState = kbidsNormal;
};
struct TteMenuItemInfo {
    TRect Rect;
    TteMenuItemClass ItemClass = kmicNormal;
    TteMenuItemDrawState DrawState = kmidsNormal;
};
struct TteMenuGlyphInfo : TteGlyphRecord {
    TteGlyphAlign Align = kgfaTopLeft;
    TteMenuGlyph Glyph = kmgNone;
};
struct TteToolItemInfo {
    TRect Rect;
    TteToolItemClass ItemClass = kticNormal;
    TteToolItemDrawState DrawState = mtidsNormal;
};
struct TteToolGlyphInfo : TteGlyphRecord {
    TteGlyphAlign Align = kgfaTopLeft;
    TteToolGlyph Glyph = ktgNone;
};
struct TteListGlyphInfo : TteGlyphRecord {
    TteGlyphAlign Align = kgfaTopLeft;
    TteListGlyph Glyph = klgChecked;
};
struct TteGridItemInfo {
    TRect Rect;
    TteGridItemDrawState DrawState = kgidsNormal;
    TteGridItemClass ItemClass = kgicNormal;
};

// ---- builders --------------------------------------------------------------

TteBackgroundInfo BackgroundInfo(const TRect& r);
TteBackgroundInfo BackgroundInfo(const TRect& r, TControl* control, const TRect& clip);

TteTextInfo TextInfo(const TRect& r, const WideString& text, TteTextAlign align, TteTextStyles style,
                     TteTextOrientation orientation);
// DT_ flags turned into alignment and styles.
TteTextInfo TextInfo(const TRect& r, const WideString& text, unsigned flags);

// A new bitmap holding the graphic (or image Index of the list), owned by
// whoever keeps the pointer.
std::shared_ptr<TteBitmap> GraphicToBitmap(TGraphic* graphic);
std::shared_ptr<TteBitmap> ImagesToBitmap(TCustomImageList* images, int index, bool enabled);

TteGlyphInfo GlyphInfo();
TteGlyphInfo GlyphInfo(const TRect& r, TteBitmap* bitmap, TteGlyphAlign align);
TteGlyphInfo GlyphInfo(const TRect& r, TGraphic* graphic, TteGlyphAlign align);
TteGlyphInfo GlyphInfo(const TRect& r, TCustomImageList* images, int index, TteGlyphAlign align);

TteWindowInfo WindowInfo(const TRect& r, TteWindowDrawStates drawState, const TRect& clip,
                         TteWindowButtons buttons, const WideString& caption, bool disabledNCArea);
TteWindowButtonInfo WindowButtonInfo(const TRect& r, TteWindowButtonClass buttonClass,
                                     TteWindowButtonDrawState drawState, TteBitmap* bitmap);
TteWindowGripperInfo WindowGripperInfo(const TRect& r, bool sizeable);

TteHintInfo HintInfo(const TRect& r);
TteScrollInfo ScrollInfo(const TRect& r);
TtePanelInfo PanelInfo(const TRect& r);
TteTrackInfo TrackInfo(const TRect& r);
TteSplitterInfo SplitterInfo(const TRect& r);
TteMemoGutterInfo MemoGutterInfo(const TRect& r);
TteTabInfo TabInfo(const TRect& r);
TteHeaderInfo HeaderInfo(const TRect& r);
TteStatusInfo StatusInfo(const TRect& r);
TteBarDockInfo BarDockInfo(const TRect& r);
TteMenuInfo MenuInfo(const TRect& r);
TteDockInfo DockInfo(const TRect& r);
TteToolInfo ToolInfo(const TRect& r);
TteListInfo ListInfo(const TRect& r);
TteListColumnInfo ListColumnInfo(const TRect& r);
TteTreeInfo TreeInfo(const TRect& r);
TteGridInfo GridInfo(const TRect& r);

TteLabelInfo LabelInfo(TteLabelDrawState drawState);
TteButtonInfo ButtonInfo(const TRect& r, TteButtonDrawState drawState);
TteCheckInfo CheckInfo(const TRect& r, TteCheckDrawState drawState);
TteEditInfo EditInfo(const TRect& r, TteEditDrawState drawState);
TteEditButtonInfo EditButtonInfo(const TRect& r, TteEditButtonDrawState drawState,
                                 TteEditButtonClass buttonClass);
TteScrollButtonInfo ScrollButtonInfo(const TRect& r, TteScrollButtonDrawState drawState,
                                     TteScrollButtonClass buttonClass);
TteScrollAreaInfo ScrollAreaInfo(const TRect& r, TteScrollAreaDrawState drawState,
                                 TteScrollAreaClass areaClass);
TteProgressInfo ProgressInfo(const TRect& r, TteProgressPart part, TteProgressDrawState drawState);
TtePanelButtonInfo PanelButtonInfo(const TRect& r, TtePanelButtonClass buttonClass,
                                   TtePanelButtonDrawState drawState);
TteTrackBarInfo TrackBarInfo(const TRect& r, TteTrackBarClass barClass, TteTrackBarDrawState drawState);
TteTrackThumbInfo TrackThumbInfo(const TRect& r, TteTrackThumbClass thumbClass,
                                 TteTrackThumbDrawState drawState);
TteSplitterButtonInfo SplitterButtonInfo(const TRect& r, TteSplitterButtonClass buttonClass);
TteGroupInfo GroupInfo(const TRect& r, const TRect& textRect, TteGroupDrawState drawState);
TteMemoInfo MemoInfo(const TRect& r, TteMemoDrawState drawState);
TteBoxInfo BoxInfo(const TRect& r, TteBoxDrawState drawState);
TteTabItemInfo TabItemInfo(const TRect& r, TteTabItemClass itemClass, TteTabItemDrawState drawState);
TteTabButtonInfo TabButtonInfo(const TRect& r, TteTabButtonClass buttonClass,
                               TteTabButtonDrawState drawState);
TteHeaderSectionInfo HeaderSectionInfo(const TRect& r, TteSectionState sectionState,
                                       TteSectionDrawState drawState);
TteStatusPanelInfo StatusPanelInfo(const TRect& r, TteStatusPanelClass panelClass);
// The second argument is ShowBevel, the third ShowCaption.
TteBarInfo BarInfo(const TRect& r, bool showBevel, bool showCaption);
// The caption text is not kept.
TteBarCaptionInfo BarCaptionInfo(const TRect& r, const WideString& caption);
TteBarButtonInfo BarButtonInfo(const TRect& r, TteBarButtonClass buttonClass,
                               TteBarButtonDrawState drawState);
TteBarItemInfo BarItemInfo(const TRect& r, TteBarItemClass itemClass, TteBarItemDrawState drawState);
TteMenuItemInfo MenuItemInfo(const TRect& r, TteMenuItemClass itemClass, TteMenuItemDrawState drawState);

TteMenuGlyphInfo MenuGlyphInfo();
TteMenuGlyphInfo MenuGlyphInfo(const TRect& r, TteBitmap* bitmap, TteGlyphAlign align, TteMenuGlyph glyph);
TteMenuGlyphInfo MenuGlyphInfo(const TRect& r, TteMenuGlyph glyph);
TteMenuGlyphInfo MenuGlyphInfo(const TRect& r, TGraphic* graphic, TteGlyphAlign align);
TteMenuGlyphInfo MenuGlyphInfo(const TRect& r, TCustomImageList* images, int index, TteGlyphAlign align,
                               bool enabled);

TteToolItemInfo ToolItemInfo(const TRect& r, TteToolItemClass itemClass, TteToolItemDrawState drawState);
TteToolGlyphInfo ToolGlyphInfo();
TteToolGlyphInfo ToolGlyphInfo(const TRect& r, TteBitmap* bitmap, TteGlyphAlign align, TteToolGlyph glyph);
TteToolGlyphInfo ToolGlyphInfo(const TRect& r, TteToolGlyph glyph);
TteToolGlyphInfo ToolGlyphInfo(const TRect& r, TGraphic* graphic, TteGlyphAlign align);
TteToolGlyphInfo ToolGlyphInfo(const TRect& r, TCustomImageList* images, int index, TteGlyphAlign align,
                               bool enabled);

TteListItemInfo ListItemInfo(const TRect& r, TteListItemDrawState drawState);
TteListGlyphInfo ListGlyphInfo(const TRect& r, TteBitmap* bitmap, TteGlyphAlign align, TteListGlyph glyph);
TteListGlyphInfo ListGlyphInfo(const TRect& r, TteListGlyph glyph);
TteListGlyphInfo ListGlyphInfo(const TRect& r, TGraphic* graphic, TteGlyphAlign align);
TteListGlyphInfo ListGlyphInfo(const TRect& r, TCustomImageList* images, int index, TteGlyphAlign align);
TteTreeItemInfo TreeItemInfo(const TRect& r, TteTreeItemDrawState drawState);
TteGridItemInfo GridItemInfo(const TRect& r, TteGridItemDrawState drawState, TteGridItemClass itemClass);

TteWindowHitTest WindowButtonToHitTest(TteWindowButtonClass button);

}  // namespace tarvel
