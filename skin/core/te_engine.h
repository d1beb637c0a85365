#pragma once
// The components that choose themes from a form: the theme engine picks the
// application's current theme (from a file, a theme list entry or a built-in
// name, with hue and brightness shifts) and mirrors every change of it; the
// theme link owns a private theme that only its linked controls draw with;
// the theme list keeps themes inside form data as named items.

#include <cstdint>

#include "platform/classlib/Collections.h"
#include "platform/classlib/Components.h"
#include "platform/classlib/Streams.h"
#include "skin/core/te_theme.h"

namespace tarvel {

class TTeThemeList;

// What ThemeBuilding holds when no built-in theme is in use.
inline constexpr const char* SNoTheme = "No theme";
inline constexpr const char* TeVersion = "7.02";

// One theme kept in form data: the bytes its class writes, under a name.
class TTeThemeStream : public TCollectionItem {
    TARVEL_CLASS(TTeThemeStream, TCollectionItem)

public:
    explicit TTeThemeStream(TCollection* collection);
    ~TTeThemeStream() override;

    // A new theme read from the item (the caller owns it), or null.
    TteTheme* GetTheme();
    // Keeps what the theme's class writes (nothing for a class that cannot
    // save) under the theme's name.
    void SetTheme(TteTheme* theme);
    const String& GetThemeStore() const { return name_; }
    void SetThemeStore(const String&) {}

    // The item's bytes in form data: tag 0 (empty), 1 (a theme as its class
    // writes it), 2 (name, 64-bit size, data) or 3 (name, 32-bit size, data;
    // the kind written). A size beyond what the stream holds, or an old-kind
    // theme no class reads, leaves the item empty and raises EReadError.
    void ReadData(TStream& stream);
    void WriteData(TStream& stream);

    // From another item: its data, name and tag.
    void Assign(TPersistent* source) override;

    TMemoryStream& Data() { return data_; }
    // The theme read from an old-kind item, kept until the list's Loaded.
    TteTheme* TemporaryTheme() const { return temporary_; }
    void FreeTemporaryTheme();

    int Tag = 0;
    TNotifyEvent OnChange;

protected:
    String GetDisplayName() override { return name_; }

private:
    void MakeEmpty();

    TteTheme* temporary_ = nullptr;
    TMemoryStream data_;
    String name_ = "(empty)";
};

class TTeThemeCollection : public TOwnedCollection {
    TARVEL_CLASS(TTeThemeCollection, TOwnedCollection)

public:
    explicit TTeThemeCollection(TTeThemeList* owner);
    TTeThemeStream* Add() { return static_cast<TTeThemeStream*>(TCollection::Add()); }
    TTeThemeStream* GetItem(int index) const { return static_cast<TTeThemeStream*>(Items(index)); }
    void SetItem(int index, TTeThemeStream* item) { Items(index)->Assign(item); }
};

class TTeThemeList : public TComponent {
    TARVEL_CLASS(TTeThemeList, TComponent)

public:
    explicit TTeThemeList(TComponent* owner);
    ~TTeThemeList() override;

    TTeThemeCollection* Themes() const { return themes_; }
    String GetVersion() const { return TeVersion; }
    void SetVersion(const String&) {}

protected:
    // Frees the themes old-kind items kept while the form data were read.
    void Loaded() override;

private:
    TTeThemeCollection* themes_;
};

// A private theme for the controls linked to it; it does not follow the
// current theme. Every change of its theme is told with SNM_LINKCHANGED.
class TTeThemeLink : public TteCustomThemeLink {
    TARVEL_CLASS(TTeThemeLink, TteCustomThemeLink)

public:
    explicit TTeThemeLink(TComponent* owner);
    ~TTeThemeLink() override;  // frees the theme without telling anyone

    TteTheme* GetTheme() override { return theme_; }

    // Loads the file (beside the executable when relative); a file that does
    // not load leaves the theme as it was and sends nothing.
    void SetThemeFile(const String& name);
    // A built-in theme by its name (any case); an unknown name leaves the
    // theme and stores SNoTheme.
    void SetThemeBuilding(const String& name);
    // An entry of ThemeList (the last one for a larger index); no list, no
    // entries or a negative index release the theme (not while loading).
    void SetThemeIndex(int index);
    void SetThemeList(TTeThemeList* list);
    // Shift the theme and notify, even when nothing changed.
    void SetDeltaHue(int value);
    void SetDeltaBrightness(int value);
    void ReleaseTheme();

    const String& ThemeFile() const { return themeFile_; }
    const String& ThemeBuilding() const { return themeBuilding_; }
    int ThemeIndex() const { return themeIndex_; }
    TTeThemeList* ThemeList() const { return themeList_; }
    int DeltaHue() const { return deltaHue_; }
    int DeltaBrightness() const { return deltaBrightness_; }

protected:
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    // Frees the old theme, keeps the new one, applies the deltas, notifies.
    void TakeTheme(TteTheme* theme);
    void Notify();

    TteTheme* theme_ = nullptr;
    String themeFile_;
    String themeBuilding_ = SNoTheme;
    int themeIndex_ = -1;
    TTeThemeList* themeList_ = nullptr;
    int deltaHue_ = 0;
    int deltaBrightness_ = 0;
};

// Chooses the application's current theme and follows every change of it.
class TTeOrvanta : public TComponent {
    TARVEL_CLASS(TTeOrvanta, TComponent)

public:
    explicit TTeOrvanta(TComponent* owner);
    ~TTeOrvanta() override;

    void SetThemeFile(const String& name);
    void SetThemeIndex(int index);
    void SetThemeBuilding(const String& name);
    void SetThemeList(TTeThemeList* list);
    void SetDeltaHue(int value);
    void SetDeltaBrightness(int value);
    void ResetThemeColors();
    void ResetThemeHue();
    void ResetThemeBrightness();
    // "1,file,h,b", "2,index,h,b", "3,name,h,b" or "0".
    String GetState() const;

    const String& ThemeFile() const { return themeFile_; }
    const String& ThemeBuilding() const { return themeBuilding_; }
    int ThemeIndex() const { return themeIndex_; }
    TTeThemeList* ThemeList() const { return themeList_; }
    int DeltaHue() const { return deltaHue_; }
    int DeltaBrightness() const { return deltaBrightness_; }
    String GetVersion() const { return TeVersion; }
    void SetVersion(const String&) {}

    TNotifyEvent OnThemeChanged;

protected:
    static void DeclareMessages(TMessageTable& t);
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void SNMThemeMessage(TMessage& message);

private:
    void ApplyDeltas();
    bool DesigningOrLoading() const;

    int deltaHue_ = 0;
    int deltaBrightness_ = 0;
    String themeFile_;
    TTeThemeList* themeList_ = nullptr;
    int themeIndex_ = -1;
    String themeBuilding_ = SNoTheme;
};

// The first registered built-in class of that name (any case), or null.
TteThemeClass FindBuildingTheme(const String& name);

}  // namespace tarvel
