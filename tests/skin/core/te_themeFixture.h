#pragma once
// What the theme tests share: two small theme classes registered like real
// ones (a built-in "Flat" and a file-based skin with a signature), recording
// subscribers, and a fixture with the headless window system and the theme
// core started.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

#include "platform/base/Paths.h"
#include "platform/classlib/Controls.h"
#include "platform/classlib/Streams.h"
#include "platform/winsys/Backend.h"
#include "platform/winsys/headless/HeadlessBackend.h"
#include "skin/core/te_engine.h"
#include "skin/core/te_theme.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_utils.h"
#include "tests/TempFolderFixture.h"

namespace tarvel::testing {

// A theme built in code, chosen by the name "Flat". It defines windows of
// the object "default" only, and has a white window colour of its own.
class TTestFlatTheme : public TteTheme {
    TTE_THEME_CLASS(TTestFlatTheme, TteTheme)

public:
    TTestFlatTheme() { Name = "Flat"; }
    static String GetThemeName() { return "Flat"; }
    static TteThemeConfig GetThemeConfig() {
        TteThemeConfig c;
        c.Building = true;
        return c;
    }
    void ResetThemeColors() override {
        TteTheme::ResetThemeColors();
        Colors()->SetColor(ktcWindow, clWhite);
    }
    bool IsWindowDefined(TteWindowSubclass, const String& obj) override { return obj == "default"; }
    TRect WindowGetClientRect(TteWindowSubclass, const TRect& r, const String&) override {
        return TRect{r.left + 3, r.top + 20, r.right - 5, r.bottom - 6};
    }
};

// A theme read from files: "TSKN", the name, then the colour, system-colour,
// font and option sections. Counts its live instances, so tests can see
// that a failed load frees what it made.
class TTestSkinTheme : public TteTheme {
    TTE_THEME_CLASS(TTestSkinTheme, TteTheme)

public:
    static inline int Live = 0;
    static constexpr char kSignature[4] = {'T', 'S', 'K', 'N'};

    TTestSkinTheme() { ++Live; }
    ~TTestSkinTheme() override { --Live; }

    static String GetThemeName() { return "Test skin"; }
    static TteThemeConfig GetThemeConfig() {
        TteThemeConfig c;
        c.CanSave = true;
        c.FileBased = true;
        c.Filter = "Test skin (*.mskn)|*.mskn|";
        c.DefaultExt = "mskn";
        return c;
    }
    static bool CheckStream(TStream& stream) {
        char sig[4] = {};
        return stream.Read(sig, 4) == 4 && std::equal(sig, sig + 4, kSignature);
    }

    bool LoadFromStream(TStream& stream) override {
        if (!CheckStream(stream)) return false;
        Name = ReadString(stream);
        Colors()->LoadFromStream(stream);
        SysColors()->LoadFromStream(stream);
        Fonts()->LoadFromStream(stream);
        Options()->LoadFromStream(stream);
        return true;
    }
    bool SaveToStream(TStream& stream) override {
        stream.WriteBuffer(kSignature, 4);
        WriteString(stream, Name);
        Colors()->SaveToStream(stream);
        SysColors()->SaveToStream(stream);
        Fonts()->SaveToStream(stream);
        Options()->SaveToStream(stream);
        return true;
    }
    bool LoadFromFile(const String& fileName) override {
        TFileStream f(fileName, fmOpenRead);
        return LoadFromStream(f);
    }
    bool SaveToFile(const String& fileName) override {
        TFileStream f(fileName, fmCreate);
        return SaveToStream(f);
    }
};

struct TRecorded {
    uint32_t Msg;
    uintptr_t WParam;
    intptr_t LParam;
    friend bool operator==(const TRecorded&, const TRecorded&) = default;
};

// A subscriber that is no control: it hears the theme messages through Dispatch.
class TThemeRecorder : public TObject {
    TARVEL_CLASS(TThemeRecorder, TObject)

public:
    std::vector<TRecorded> Heard;
    std::function<void(const TMessage&)> OnHeard;

    std::vector<uintptr_t> Codes() const {
        std::vector<uintptr_t> codes;
        for (const TRecorded& r : Heard)
            if (r.Msg == SNM_THEMEMESSAGE) codes.push_back(r.WParam);
        return codes;
    }

protected:
    static void DeclareMessages(TMessageTable& t) {
        t.Add<&TThemeRecorder::Record>(SNM_THEMEMESSAGE);
        t.Add<&TThemeRecorder::Record>(SNM_LINKCHANGED);
    }
    void Record(TMessage& m) {
        Heard.push_back(TRecorded{m.Msg, m.WParam, m.LParam});
        if (OnHeard) OnHeard(m);
    }
};

// A control that hears them through its window procedure.
class TRecordingControl : public TControl {
    TARVEL_CLASS(TRecordingControl, TControl)

public:
    explicit TRecordingControl(TComponent* owner) : TControl(owner) {}
    std::vector<TRecorded> Heard;

protected:
    static void DeclareMessages(TMessageTable& t) {
        t.Add<&TRecordingControl::Record>(SNM_THEMEMESSAGE);
        t.Add<&TRecordingControl::Record>(SNM_LINKCHANGED);
    }
    void Record(TMessage& m) { Heard.push_back(TRecorded{m.Msg, m.WParam, m.LParam}); }
};

inline TteThemeClass FlatClass() { return ThemeClassOf<TTestFlatTheme>(); }
inline TteThemeClass SkinClass() { return ThemeClassOf<TTestSkinTheme>(); }

class ThemeCoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitWindowSystem(std::make_unique<HeadlessBackend>(TSize{800, 600}));
        InitThemeCore();
        RegisterTheme(SkinClass());
        RegisterTheme(FlatClass());
        folder_ = temp_.Path();
        SetApplicationFolder(folder_.string());
    }
    void TearDown() override {
        DoneThemeCore();
        SetApplicationFolder("");
        ShutdownWindowSystem();
        EXPECT_EQ(TTestSkinTheme::Live, 0) << "a skin theme was not freed";
    }

    String Folder() const { return folder_.string(); }
    String PathOf(const String& name) const { return (folder_ / name).string(); }

    // A good test skin file named `name` in the application folder.
    String WriteSkin(const String& name, const String& themeName = "Blue skin") {
        TTestSkinTheme skin;
        skin.Name = themeName;
        skin.Colors()->SetColor(ktcWindow, clNavy);
        skin.SaveToFile(PathOf(name));
        return PathOf(name);
    }
    void WriteBytes(const String& name, const std::vector<uint8_t>& bytes) {
        WriteFileBytes(PathOf(name), bytes.data(), bytes.size());
    }

private:
    TempFolder temp_;
    std::filesystem::path folder_;
};

}  // namespace tarvel::testing
