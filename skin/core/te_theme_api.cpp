#include "skin/core/te_theme_api.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/classlib/Bitmaps.h"
#include "platform/classlib/StdCtrls_Check.h"
#include "platform/winsys/Winsys.h"
#include "skin/core/te_canvas_state.h"
#include "skin/core/te_engine.h"
#include "skin/core/te_utils_system.h"

namespace tarvel {

bool CustomBackroundDrawing = false;

namespace {

struct TPainterEntry {
    TClass ParentClass;
    TteBackgroundPainter Painter;
};
std::vector<TPainterEntry>& Painters() {
    static std::vector<TPainterEntry> painters;
    return painters;
}

struct TStoredObject {
    TPersistent* Object;
    std::unique_ptr<TFont> Copy;
};
std::vector<TStoredObject>& ObjectStore() {
    static std::vector<TStoredObject> store;
    return store;
}

struct TStoredProp {
    TObject* Object;
    String Name;
    int32_t Value;
};
std::vector<TStoredProp>& PropStore() {
    static std::vector<TStoredProp> store;
    return store;
}

}  // namespace

void DeliverThemeMessage(TObject* subscriber, TMessage& message) {
    if (auto* control = dynamic_cast<TControl*>(subscriber)) {
        if (message.Msg == SNM_THEMEMESSAGE && message.WParam == tmSystemChanged && !control->Visible())
            return;
        message.Result = control->Perform(message.Msg, message.WParam, message.LParam);
        return;
    }
    subscriber->Dispatch(message);
}

// ---- start and end -------------------------------------------------------------

void InitThemeCore() {
    if (ThemeManager) return;
    // Double buffers follow the screen: alpha bitmaps on a 24- or 32-bit one.
    GetPixelFormat();
    ThemeManager = new TteThemeManager(nullptr);
    ThemeManager->RegisterTheme(ThemeClassOf<TteTheme>());
    // What lies behind a control on a group box is the box's colour.
    RegisterDrawControlBackground(TGroupBox::StaticClass(),
                                  [](TCanvas* canvas, const TteBackground& background) {
                                      if (auto* box = dynamic_cast<TGroupBox*>(background.Parent)) {
                                          canvas->Brush()->SetColor(box->Color());
                                          canvas->FillRect(background.Rect);
                                      }
                                      return true;
                                  });
    // Form data name the item class of theme lists.
    if (!GetClass(TTeThemeStream::StaticClass()->ClassName())) RegisterClass(TTeThemeStream::StaticClass());
}

void DoneThemeCore() {
    Painters().clear();
    delete ThemeManager;
    ThemeManager = nullptr;
    ObjectStore().clear();
    PropStore().clear();
}

// ---- forwarders -------------------------------------------------------------------

void RegisterTheme(TteThemeClass cls) {
    if (ThemeManager) ThemeManager->RegisterTheme(cls);
}
void UnregisterTheme(TteThemeClass cls) {
    if (ThemeManager) ThemeManager->UnregisterTheme(cls);
}
bool IsThemeAvailable(const TteTheme* theme) { return ThemeManager && ThemeManager->IsThemeAvailable(theme); }
bool IsThemeAvailable(std::string_view themeName) {
    return ThemeManager && ThemeManager->IsThemeAvailable(themeName);
}
void AddThemeNotification(TObject* subscriber) {
    if (ThemeManager) ThemeManager->AddNotification(subscriber);
}
void RemoveThemeNotification(TObject* subscriber) {
    if (ThemeManager) ThemeManager->RemoveNotification(subscriber);
}
void ChangeTheme(TteTheme* theme) {
    if (ThemeManager)
        ThemeManager->ChangeTheme(theme);
    else
        delete theme;  // nobody could own it
}
void ChangeTheme(std::string_view themeName) {
    if (ThemeManager) ThemeManager->ChangeTheme(themeName);
}
void ChangeTheme(TteThemeClass cls) {
    if (ThemeManager) ThemeManager->ChangeTheme(cls);
}
TteThemeClass GetThemeByFileName(const String& fileName) {
    return ThemeManager ? ThemeManager->GetThemeByFileName(fileName) : nullptr;
}
String GetDialogFilter() { return ThemeManager ? ThemeManager->GetDialogFilter() : String(); }
TteTheme* LoadThemeFromFile(const String& fileName) {
    return ThemeManager ? ThemeManager->LoadFromFile(fileName) : nullptr;
}
TteTheme* LoadThemeFromStream(TStream& stream) {
    return ThemeManager ? ThemeManager->LoadFromStream(stream) : nullptr;
}
void SaveThemeToFile(TteTheme* theme, const String& fileName) {
    if (ThemeManager) ThemeManager->SaveToFile(theme, fileName);
}
void SaveThemeToStream(TteTheme* theme, TStream& stream) {
    if (ThemeManager) ThemeManager->SaveToStream(theme, stream);
}
void ReleaseTheme() {
    if (ThemeManager) ThemeManager->ReleaseTheme();
}
void ResetTheme() {
    if (ThemeManager) ThemeManager->ResetTheme();
}
void ResetThemeColors() {
    if (ThemeManager) ThemeManager->ResetThemeColors();
}
TteThemeClass GetThemeClass(std::string_view className) {
    return ThemeManager ? ThemeManager->GetThemeClass(className) : nullptr;
}

// ---- notification -------------------------------------------------------------------

namespace {
void BroadcastThemeMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
    if (ThemeManager) ThemeManager->Broadcast(msg, wParam, lParam);
}
}  // namespace

void RepaintThemedControls() { BroadcastThemeMessage(SNM_THEMEMESSAGE, tmSystemChanged, 0); }
void UpdateThemedControls() { BroadcastThemeMessage(SNM_THEMEMESSAGE, tmChanged, 0); }
void UpdateLinkedControls(TteCustomThemeLink* link) {
    BroadcastThemeMessage(SNM_LINKCHANGED, reinterpret_cast<uintptr_t>(link),
                          reinterpret_cast<intptr_t>(link));
}

void ChangeThemeHue(int delta) {
    if (!CurrentTheme || delta == 0) return;
    CurrentTheme->ChangeThemeHue(delta);
    BroadcastThemeMessage(SNM_THEMEMESSAGE, tmSystemChanged, 1);
}

void ChangeThemeBrightness(int delta) {
    if (!CurrentTheme || delta == 0) return;
    CurrentTheme->ChangeThemeBrightness(delta);
    BroadcastThemeMessage(SNM_THEMEMESSAGE, tmSystemChanged, 1);
}

void ChangeThemeHueAndBrightness(int hue, int brightness) {
    if (!CurrentTheme || (hue == 0 && brightness == 0)) return;
    CurrentTheme->ChangeThemeHueAndBrightness(hue, brightness);
    BroadcastThemeMessage(SNM_THEMEMESSAGE, tmSystemChanged, 1);
}

// ---- theme choice -----------------------------------------------------------------------

TteTheme* GetThemeLink(TteCustomThemeLink* link) {
    if (link)
        if (TteTheme* theme = link->GetTheme()) return theme;
    return CurrentTheme;
}

namespace {

template <class S>
bool ObjectDefined(bool (TteTheme::*defined)(S, const String&), S s, const String& obj,
                   TteCustomThemeLink* link) {
    if (link)
        if (TteTheme* theme = link->GetTheme()) return (theme->*defined)(s, obj);
    if (!CurrentTheme) return false;
    return (CurrentTheme->*defined)(s, obj) || (CurrentTheme->*defined)(s, "default");
}

}  // namespace

#define TTE_OBJECT_DEFINED(Subclass, Operation)                                     \
    bool IsObjectDefined(Subclass s, const String& obj, TteCustomThemeLink* link) { \
        return ObjectDefined(&TteTheme::Operation, s, obj, link);                   \
    }
TTE_OBJECT_DEFINED(TteWindowSubclass, IsWindowDefined)
TTE_OBJECT_DEFINED(TteHintSubclass, IsHintDefined)
TTE_OBJECT_DEFINED(TteLabelSubclass, IsLabelDefined)
TTE_OBJECT_DEFINED(TtePanelSubclass, IsPanelDefined)
TTE_OBJECT_DEFINED(TteButtonSubclass, IsButtonDefined)
TTE_OBJECT_DEFINED(TteCheckSubclass, IsCheckDefined)
TTE_OBJECT_DEFINED(TteSplitterSubclass, IsSplitterDefined)
TTE_OBJECT_DEFINED(TteScrollSubclass, IsScrollDefined)
TTE_OBJECT_DEFINED(TteProgressSubclass, IsProgressDefined)
TTE_OBJECT_DEFINED(TteTrackSubclass, IsTrackDefined)
TTE_OBJECT_DEFINED(TteHeaderSubclass, IsHeaderDefined)
TTE_OBJECT_DEFINED(TteStatusSubclass, IsStatusDefined)
TTE_OBJECT_DEFINED(TteEditSubclass, IsEditDefined)
TTE_OBJECT_DEFINED(TteGroupSubclass, IsGroupDefined)
TTE_OBJECT_DEFINED(TteMemoSubclass, IsMemoDefined)
TTE_OBJECT_DEFINED(TteMenuSubclass, IsMenuDefined)
TTE_OBJECT_DEFINED(TteToolSubclass, IsToolDefined)
TTE_OBJECT_DEFINED(TteBarSubclass, IsBarDefined)
TTE_OBJECT_DEFINED(TteTabSubclass, IsTabDefined)
TTE_OBJECT_DEFINED(TteListSubclass, IsListDefined)
TTE_OBJECT_DEFINED(TteTreeSubclass, IsTreeDefined)
TTE_OBJECT_DEFINED(TteGridSubclass, IsGridDefined)
TTE_OBJECT_DEFINED(TteDockSubclass, IsDockDefined)
TTE_OBJECT_DEFINED(TteBarDockSubclass, IsBarDockDefined)
#undef TTE_OBJECT_DEFINED

// ---- metrics ------------------------------------------------------------------------------

TRect TteThemeMetrics::GetMargin(TktlMarginId id) {
    static constexpr TteWindowSubclass kSubclass[] = {kwscStandard, kwscDialog,   kwscBorder,
                                                      kwscMessage,  kwscTextured, kwscToolWindow,
                                                      kwscStandard, kwscStandard};
    TteWindowSubclass w = id < std::size(kSubclass) ? kSubclass[id] : kwscStandard;
    if (!IsObjectDefined(w, "default", nullptr)) {
        w = kwscStandard;
        if (!IsObjectDefined(w, "default", nullptr)) return Margin(0, 0, 0, 0);
    }
    const TRect c = CurrentTheme->WindowGetClientRect(w, TRect{0, 0, 400, 400}, "default");
    return Margin(c.left, c.top, 400 - c.right, 400 - c.bottom);
}

// ---- backgrounds --------------------------------------------------------------------------

void RegisterDrawControlBackground(TClass parentClass, TteBackgroundPainter painter) {
    if (parentClass && painter) Painters().push_back(TPainterEntry{parentClass, std::move(painter)});
}

const TteBackgroundPainter* FindBackgroundPainter(const TObject* parent) {
    if (!parent) return nullptr;
    const TPainterEntry* chosen = nullptr;
    auto& painters = Painters();
    for (auto it = painters.rbegin(); it != painters.rend(); ++it) {
        if (!parent->InheritsFrom(it->ParentClass)) continue;
        // Walking backwards, a later-visited entry of the same or a more
        // derived class wins: the most derived class, registered earliest.
        if (!chosen || it->ParentClass->InheritsFrom(chosen->ParentClass)) chosen = &*it;
    }
    return chosen ? &chosen->Painter : nullptr;
}

TteBackgroundInfo BackgroundInfo(TControl* control) {
    const TRect r = control ? control->ClientRect() : NullRect;
    return TteBackgroundInfo{r, control, r};
}

namespace {

// Reaches a custom control's protected Paint: the name is looked up
// through a class derived from it, which may name it.
struct TOwnPaint : TCustomControl {
    static void Run(TCustomControl* control) { (control->*&TOwnPaint::Paint)(); }
};

// Paints the parent's look into dc, whose origin already stands at the
// control's place in the parent. A custom control paints only its own face:
// its windowless children, the control itself among them, are not part of
// what lies behind.
void PaintParentInto(TWinControl* parent, HDC dc) {
    if (auto* custom = dynamic_cast<TCustomControl*>(parent)) {
        TCanvasOnDC on(*custom->Canvas(), dc);
        TOwnPaint::Run(custom);
        return;
    }
    parent->Perform(WM_ERASEBKGND, static_cast<WPARAM>(dc.Value()), 0);
    parent->Perform(WM_PAINT, static_cast<WPARAM>(dc.Value()), 0);
}

// csPaintCopy for the length of one call, also when the call raises.
template <class F>
void AsPaintCopy(TControl* control, F&& body) {
    control->ControlState.Include(csPaintCopy);
    try {
        body();
    } catch (...) {
        control->ControlState.Exclude(csPaintCopy);
        throw;
    }
    control->ControlState.Exclude(csPaintCopy);
}

}  // namespace

void DrawControlBackground(TControl* control, HDC dc) {
    if (!control || !control->Parent() || control->Width() <= 0 || control->Height() <= 0 ||
        control->ControlState.Contains(csPaintCopy))
        return;
    TWinControl* parent = control->Parent();
    const bool graphic = dynamic_cast<TGraphicControl*>(control) != nullptr;
    if (graphic) control->Perform(WM_DISABLEDRAWING, 1, 0);

    const int saved = SaveDC(dc);
    const TPoint p = parent->ScreenToClient(control->ClientOrigin());
    MoveWindowOrg(dc, -p.x, -p.y);
    // The parent's face is wanted behind this control alone: drawn whole
    // into a screen-sized shared buffer it cost a full page for each check box.
    IntersectClipRect(dc, p.x, p.y, p.x + control->Width(), p.y + control->Height());
    if (const TteBackgroundPainter* painter = FindBackgroundPainter(parent)) {
        const TteBackground background{control->BoundsRect(), control->BoundsRect(), control, parent};
        TCanvas canvas;
        canvas.SetHandle(dc);
        AsPaintCopy(control, [&] { (*painter)(&canvas, background); });
        canvas.SetHandle(HDC{});
    } else if (graphic) {
        TBitmap bitmap;
        bitmap.SetSize(control->Width(), control->Height());
        HDC memory = bitmap.Canvas()->Handle();
        MoveWindowOrg(memory, -p.x, -p.y);
        AsPaintCopy(control, [&] { PaintParentInto(parent, memory); });
        MoveWindowOrg(memory, p.x, p.y);
        BitBlt(dc, p.x, p.y, control->Width(), control->Height(), memory, 0, 0, SRCCOPY);
    } else {
        AsPaintCopy(control, [&] { PaintParentInto(parent, dc); });
    }
    MoveWindowOrg(dc, p.x, p.y);
    RestoreDC(dc, saved);
    if (graphic) control->Perform(WM_DISABLEDRAWING, 0, 0);
}

void DrawControlBackground(TControl* control, TCanvas& canvas) {
    // The DC is saved and restored underneath: the canvas steps out meanwhile.
    const TCanvasDCState state(canvas);
    DrawControlBackground(control, state.DC());
}

void DrawControlBackground(HWND wnd, TCanvas& canvas) {
    HWND parent = GetParent(wnd);
    if (!parent) return;
    TRect r = WindowRect(wnd);
    TPoint topLeft{r.left, r.top};
    ScreenToClient(parent, topLeft);
    r = Bounds(topLeft.x, topLeft.y, r.Width(), r.Height());
    HDC dc = canvas.Handle();
    MoveWindowOrg(dc, -r.left, -r.top);
    if (CustomBackroundDrawing) {
        TteBackground background{r, r, nullptr, nullptr};
        SendMessage(parent, WM_BACKGROUNDDESCRIPTION, reinterpret_cast<WPARAM>(&canvas),
                    reinterpret_cast<LPARAM>(&background));
    } else {
        SendMessage(parent, WM_ERASEBKGND, static_cast<WPARAM>(dc.Value()), 0);
        SendMessage(parent, WM_PAINT, static_cast<WPARAM>(dc.Value()), 0);
    }
    MoveWindowOrg(dc, r.left, r.top);
}

// ---- stores ---------------------------------------------------------------------------------

void AddObjectToStore(TPersistent* object) {
    auto* font = dynamic_cast<TFont*>(object);
    if (!font) return;  // only fonts can be copied faithfully
    auto& store = ObjectStore();
    auto it =
        std::find_if(store.begin(), store.end(), [&](const TStoredObject& s) { return s.Object == object; });
    if (it == store.end()) {
        store.push_back(TStoredObject{object, std::make_unique<TFont>()});
        it = std::prev(store.end());
    }
    it->Copy->Assign(font);
}

void RemoveObjectFromStore(TPersistent* object) {
    auto& store = ObjectStore();
    std::erase_if(store, [&](const TStoredObject& s) { return s.Object == object; });
}

void AssignFromStoredObject(TPersistent* object) {
    auto& store = ObjectStore();
    auto it =
        std::find_if(store.begin(), store.end(), [&](const TStoredObject& s) { return s.Object == object; });
    if (it != store.end()) object->Assign(it->Copy.get());
}

void AddPropToStore(TObject* object, const String& name, int32_t value) {
    const String key = LowerCase(name);
    for (TStoredProp& p : PropStore())
        if (p.Object == object && p.Name == key) {
            p.Value = value;
            return;
        }
    PropStore().push_back(TStoredProp{object, key, value});
}

void RemovePropFromStore(TObject* object, const String& name) {
    const String key = LowerCase(name);
    std::erase_if(PropStore(), [&](const TStoredProp& p) { return p.Object == object && p.Name == key; });
}

int32_t GetPropFromStore(TObject* object, const String& name) {
    const String key = LowerCase(name);
    for (const TStoredProp& p : PropStore())
        if (p.Object == object && p.Name == key) return p.Value;
    return 0;
}

namespace {
void TellDesigned(TComponent* component, TteThemeMessageCode code) {
    if (!component || !component->ComponentState().Contains(csDesigning) || !CurrentTheme) return;
    TMessage m{SNM_THEMEMESSAGE, code, 0, 0};
    DeliverThemeMessage(component, m);
}
}  // namespace

void BeforeWriteState(TComponent* component) { TellDesigned(component, tmReleased); }
void AfterWriteState(TComponent* component) { TellDesigned(component, tmApply); }

}  // namespace tarvel
