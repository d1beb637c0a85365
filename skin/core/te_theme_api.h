#pragma once
// The theme core's free functions: forwarders to the one theme manager, the
// choice of the theme an element draws with, the painting of what lies
// behind transparent controls, two small stores of what a theme overrode on
// an object, and the start and end of the theme core.

#include <cstdint>
#include <functional>

#include "platform/classlib/Controls.h"
#include "skin/core/te_theme.h"
#include "skin/core/te_theme_manager.h"

namespace tarvel {

// When set, a window's background request goes to its parent as one
// WM_BACKGROUNDDESCRIPTION message (WParam the canvas, LParam the record).
extern bool CustomBackroundDrawing;

// What a background painter receives.
struct TteBackground {
    TRect Rect;      // the control's bounds in its parent's client coordinates
    TRect ClipRect;  // the same bounds
    TControl* Control = nullptr;
    TWinControl* Parent = nullptr;  // the control the painter was registered for
};
using TteBackgroundPainter = std::function<bool(TCanvas* canvas, const TteBackground& background)>;

// Start: the manager, the base theme as the first registered class. End, in
// reverse: painters, manager (freeing the current theme), stores. Both may
// be called again.
void InitThemeCore();
void DoneThemeCore();

// ---- forwarders ---------------------------------------------------------------
void RegisterTheme(TteThemeClass cls);
void UnregisterTheme(TteThemeClass cls);
bool IsThemeAvailable(const TteTheme* theme);
bool IsThemeAvailable(std::string_view themeName);
void AddThemeNotification(TObject* subscriber);
void RemoveThemeNotification(TObject* subscriber);
void ChangeTheme(TteTheme* theme);
void ChangeTheme(std::string_view themeName);
void ChangeTheme(TteThemeClass cls);
TteThemeClass GetThemeByFileName(const String& fileName);
String GetDialogFilter();
TteTheme* LoadThemeFromFile(const String& fileName);
TteTheme* LoadThemeFromStream(TStream& stream);
void SaveThemeToFile(TteTheme* theme, const String& fileName);
void SaveThemeToStream(TteTheme* theme, TStream& stream);
void ReleaseTheme();
void ResetTheme();
void ResetThemeColors();
TteThemeClass GetThemeClass(std::string_view className);

// ---- notification -------------------------------------------------------------
void RepaintThemedControls();                         // tmSystemChanged
void UpdateThemedControls();                          // tmChanged
void UpdateLinkedControls(TteCustomThemeLink* link);  // SNM_LINKCHANGED
// On the current theme, when there is one and the shift is not 0.
void ChangeThemeHue(int delta);
void ChangeThemeBrightness(int delta);
void ChangeThemeHueAndBrightness(int hue, int brightness);

// ---- theme choice -------------------------------------------------------------
// The link's theme, else the current theme, else null.
TteTheme* GetThemeLink(TteCustomThemeLink* link);
// Through a link with a theme: that theme, for that object only. Else the
// current theme, for that object or else its "default".
bool IsObjectDefined(TteWindowSubclass s, const String& obj, TteCustomThemeLink* link);
bool IsObjectDefined(TteHintSubclass s, const String& obj, TteCustomThemeLink* link);
bool IsObjectDefined(TteLabelSubclass s, const String& obj, TteCustomThemeLink* link);
bool IsObjectDefined(TtePanelSubclass s, const String& obj, TteCustomThemeLink* link);
bool IsObjectDefined(TteButtonSubclass s, const String& obj, TteCustomThemeLink* link);
bool IsObjectDefined(TteCheckSubclass s, const String& obj, TteCustomThemeLink* link);
bool IsObjectDefined(TteSplitterSubclass s, const String& obj, TteCustomThemeLink* link);
bool IsObjectDefined(TteScrollSubclass s, const String& obj, TteCustomThemeLink* link);
bool IsObjectDefined(TteProgressSubclass s, const String& obj, TteCustomThemeLink* link);
bool IsObjectDefined(TteTrackSubclass s, const String& obj, TteCustomThemeLink* link);
bool IsObjectDefined(TteHeaderSubclass s, const String& obj, TteCustomThemeLink* link);
bool IsObjectDefined(TteStatusSubclass s, const String& obj, TteCustomThemeLink* link);
bool IsObjectDefined(TteEditSubclass s, const String& obj, TteCustomThemeLink* link);
bool IsObjectDefined(TteGroupSubclass s, const String& obj, TteCustomThemeLink* link);
bool IsObjectDefined(TteMemoSubclass s, const String& obj, TteCustomThemeLink* link);
bool IsObjectDefined(TteMenuSubclass s, const String& obj, TteCustomThemeLink* link);
bool IsObjectDefined(TteToolSubclass s, const String& obj, TteCustomThemeLink* link);
bool IsObjectDefined(TteBarSubclass s, const String& obj, TteCustomThemeLink* link);
bool IsObjectDefined(TteTabSubclass s, const String& obj, TteCustomThemeLink* link);
bool IsObjectDefined(TteListSubclass s, const String& obj, TteCustomThemeLink* link);
bool IsObjectDefined(TteTreeSubclass s, const String& obj, TteCustomThemeLink* link);
bool IsObjectDefined(TteGridSubclass s, const String& obj, TteCustomThemeLink* link);
bool IsObjectDefined(TteDockSubclass s, const String& obj, TteCustomThemeLink* link);
bool IsObjectDefined(TteBarDockSubclass s, const String& obj, TteCustomThemeLink* link);

// ---- backgrounds ------------------------------------------------------------------
void RegisterDrawControlBackground(TClass parentClass, TteBackgroundPainter painter);
// The painter of the most derived registered class the parent belongs to
// (the earliest of several registrations of one class); null when none.
const TteBackgroundPainter* FindBackgroundPainter(const TObject* parent);
// Paints what lies behind `control` (its parent's look at its place) into dc,
// in the control's coordinates.
void DrawControlBackground(TControl* control, HDC dc);
void DrawControlBackground(TControl* control, TCanvas& canvas);
void DrawControlBackground(HWND wnd, TCanvas& canvas);
// The client rectangle of the control (NullRect for none) as a background record.
TteBackgroundInfo BackgroundInfo(TControl* control);

// ---- stores -----------------------------------------------------------------------
// Fonts only: other objects are refused (nothing is stored).
void AddObjectToStore(TPersistent* object);
void RemoveObjectFromStore(TPersistent* object);
void AssignFromStoredObject(TPersistent* object);
// Names are compared in lower case.
void AddPropToStore(TObject* object, const String& name, int32_t value);
void RemovePropFromStore(TObject* object, const String& name);
int32_t GetPropFromStore(TObject* object, const String& name);
// A designed component is written with its own values, not the theme's.
void BeforeWriteState(TComponent* component);
void AfterWriteState(TComponent* component);

}  // namespace tarvel
