#include "platform/system/Registry.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>

#include "platform/base/Paths.h"

namespace tarvel {
namespace {

std::span<const uint8_t> Bytes(std::string_view s) {
    return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

std::string Text(const RegistryValue* v) {
    return v ? std::string(v->data.begin(), v->data.end()) : "<none>";
}

class Registry : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tarvel-registry-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        file_ = dir_ + "/config/tarvel-bms/registry.txt";
        SetRegistryFilePath(file_);
    }
    void TearDown() override {
        SetRegistryFilePath("");
        std::filesystem::remove_all(dir_);
    }
    void WriteRaw(std::string_view text) {
        ForceDirectories(ExtractFileDir(file_));
        WriteFileText(file_, text);
    }
    std::vector<std::string> FolderNames() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(ExtractFileDir(file_)))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string dir_;
    std::string file_;
};

TEST_F(Registry, ValuesOfEveryTypeSurviveTheFile) {
    const std::string awkward = "a=b%c[d]e\\f\tg\nh 中文";
    const uint8_t blob[] = {0x00, 0xFF, 0x0A, 0x25};
    const uint8_t dword[] = {0x78, 0x56, 0x34, 0x12};
    ASSERT_TRUE(UpdateRegistry([&](RegistryFile& r) {
        return r.CreateKey(HKEY_CURRENT_USER, "Software\\Tarvel\\BMS") &&
               r.CreateKey(HKEY_CURRENT_USER, "Software\\Tarvel\\BMS\\Empty") &&
               r.CreateKey(HKEY_LOCAL_MACHINE, "Other") &&
               r.SetValue(HKEY_CURRENT_USER, "Software\\Tarvel\\BMS", "Port", REG_SZ, Bytes("COM3")) &&
               r.SetValue(HKEY_CURRENT_USER, "Software\\Tarvel\\BMS", awkward, REG_SZ, Bytes(awkward)) &&
               r.SetValue(HKEY_CURRENT_USER, "Software\\Tarvel\\BMS", "", REG_SZ, Bytes("")) &&
               r.SetValue(HKEY_CURRENT_USER, "Software\\Tarvel\\BMS", "Count", REG_DWORD, dword) &&
               r.SetValue(HKEY_CURRENT_USER, "Software\\Tarvel\\BMS", "Blob", REG_BINARY, blob) &&
               r.SetValue(HKEY_CURRENT_USER, "Software\\Tarvel\\BMS", "None", REG_BINARY, {});
    }));
    const RegistryFile r = ReadRegistry();
    ASSERT_FALSE(r.Damaged());
    const char* key = "\\software\\TARVEL\\bms\\";  // any case, outer "\" ignored
    EXPECT_EQ(Text(r.FindValue(HKEY_CURRENT_USER, key, "port")), "COM3");
    EXPECT_EQ(Text(r.FindValue(HKEY_CURRENT_USER, key, awkward)), awkward);
    ASSERT_NE(r.FindValue(HKEY_CURRENT_USER, key, ""), nullptr);
    EXPECT_EQ(r.FindValue(HKEY_CURRENT_USER, key, "Count")->type, REG_DWORD);
    EXPECT_EQ(r.FindValue(HKEY_CURRENT_USER, key, "Count")->data, std::vector<uint8_t>(dword, dword + 4));
    EXPECT_EQ(r.FindValue(HKEY_CURRENT_USER, key, "Blob")->data, std::vector<uint8_t>(blob, blob + 4));
    EXPECT_TRUE(r.FindValue(HKEY_CURRENT_USER, key, "None")->data.empty());
    EXPECT_EQ(r.ValueNames(HKEY_CURRENT_USER, key),
              (std::vector<std::string>{"Port", awkward, "", "Count", "Blob", "None"}));
    EXPECT_EQ(r.KeyNames(HKEY_CURRENT_USER, "Software\\Tarvel\\BMS"), std::vector<std::string>{"Empty"});
    EXPECT_TRUE(r.KeyExists(HKEY_LOCAL_MACHINE, "Other"));
    EXPECT_FALSE(r.KeyExists(HKEY_CURRENT_USER, "Other"));
    // The file stays readable text.
    const std::string text = ReadFileText(file_);
    EXPECT_NE(text.find("Port=s:COM3\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Count=d:305419896\n"), std::string::npos) << text;
}

TEST_F(Registry, KeyPaths) {
    RegistryFile r = RegistryFile::Load(file_);
    ASSERT_TRUE(r.CreateKey(HKEY_CURRENT_USER, "A\\B\\C"));
    ASSERT_TRUE(r.SetValue(HKEY_CURRENT_USER, "A\\B\\C", "v", REG_SZ, Bytes("x")));
    const std::string longName(kMaxRegKeyName + 1, 'k');
    const struct {
        HKEY root;
        std::string path;
        bool exists;
        bool creates;
    } cases[] = {
        {HKEY_CURRENT_USER, "", true, true},  // the root key itself
        {HKEY_CURRENT_USER, "A\\B", true, true},
        {HKEY_CURRENT_USER, "\\\\a\\b\\c\\\\", true, true},
        {HKEY_CURRENT_USER, "A\\\\B", false, false},  // an empty name inside
        {HKEY_CURRENT_USER, longName, false, false},
        {HKEY_CURRENT_USER, std::string(kMaxRegKeyName, 'k'), false, true},
        {0x12345678, "A", false, false},  // no root key
        {HKEY_USERS, "A", false, true},
    };
    for (const auto& c : cases) {
        RegistryFile copy = r;
        EXPECT_EQ(copy.KeyExists(c.root, c.path), c.exists) << c.path;
        EXPECT_EQ(copy.CreateKey(c.root, c.path), c.creates) << c.path;
        EXPECT_EQ(copy.KeyExists(c.root, c.path), c.creates) << c.path;
    }
    EXPECT_FALSE(r.DeleteKey(HKEY_CURRENT_USER, ""));
    EXPECT_FALSE(r.DeleteKey(HKEY_CURRENT_USER, "A\\X"));
    EXPECT_TRUE(r.DeleteKey(HKEY_CURRENT_USER, "a\\b"));  // with everything below
    EXPECT_FALSE(r.KeyExists(HKEY_CURRENT_USER, "A\\B\\C"));
    EXPECT_EQ(r.FindValue(HKEY_CURRENT_USER, "A\\B\\C", "v"), nullptr);
    EXPECT_TRUE(r.KeyExists(HKEY_CURRENT_USER, "A"));
}

TEST_F(Registry, ValuesThatCannotBeSet) {
    RegistryFile r = RegistryFile::Load(file_);
    ASSERT_TRUE(r.CreateKey(HKEY_CURRENT_USER, "K"));
    const std::vector<uint8_t> huge(kMaxRegData + 1), three(3);
    const std::string longName(kMaxRegValueName + 1, 'n');
    EXPECT_FALSE(r.SetValue(HKEY_CURRENT_USER, "Missing", "v", REG_SZ, Bytes("x")));
    EXPECT_FALSE(r.SetValue(HKEY_CURRENT_USER, "K", "v", REG_DWORD, three));
    EXPECT_FALSE(r.SetValue(HKEY_CURRENT_USER, "K", "v", REG_NONE, {}));
    EXPECT_FALSE(r.SetValue(HKEY_CURRENT_USER, "K", "v", REG_BINARY, huge));
    EXPECT_FALSE(r.SetValue(HKEY_CURRENT_USER, "K", longName, REG_SZ, Bytes("x")));
    EXPECT_TRUE(r.ValueNames(HKEY_CURRENT_USER, "K").empty());
    EXPECT_FALSE(r.DeleteValue(HKEY_CURRENT_USER, "K", "v"));
}

// A damaged file reads as empty, and the first write keeps it before
// replacing it.
TEST_F(Registry, DamagedFilesReadEmptyAndAreKeptBeforeTheFirstWrite) {
    const std::string good = "; tarvel-bms registry 1\n[HKEY_CURRENT_USER\\K]\nv=s:x\n";
    const char* const cases[] = {
        "garbage\x01\x02",
        "[HKEY_CURRENT_USER\\K]\nv=s:x\n; end\n",                    // no header
        "; tarvel-bms registry 1\n[HKEY_CURRENT_USER\\K]\nv=s:x\n",  // cut short
        "; tarvel-bms registry 1\nv=s:x\n; end\n",                   // a value outside any key
        "; tarvel-bms registry 1\n[HKEY_NOWHERE\\K]\n; end\n",
        "; tarvel-bms registry 1\n[HKEY_CURRENT_USER\\\\K]\n; end\n",
        "; tarvel-bms registry 1\n[HKEY_CURRENT_USER\\K\n; end\n",
        "; tarvel-bms registry 1\n[HKEY_CURRENT_USER\\K]\nv=s:%G0\n; end\n",
        "; tarvel-bms registry 1\n[HKEY_CURRENT_USER\\K]\nv=s:100%\n; end\n",
        "; tarvel-bms registry 1\n[HKEY_CURRENT_USER\\K]\nv=d:4294967296\n; end\n",
        "; tarvel-bms registry 1\n[HKEY_CURRENT_USER\\K]\nv=d:-1\n; end\n",
        "; tarvel-bms registry 1\n[HKEY_CURRENT_USER\\K]\nv=b:abc\n; end\n",
        "; tarvel-bms registry 1\n[HKEY_CURRENT_USER\\K]\nv=x:1\n; end\n",
        "; tarvel-bms registry 1\n[HKEY_CURRENT_USER\\K]\nv=s:a\nV=s:b\n; end\n",  // twice
        "; tarvel-bms registry 1\n[HKEY_CURRENT_USER\\K]\nnoequals\n; end\n",
    };
    for (const char* damaged : cases) {
        std::filesystem::remove_all(ExtractFileDir(file_));
        WriteRaw(damaged);
        const RegistryFile read = ReadRegistry();
        EXPECT_TRUE(read.Damaged()) << damaged;
        EXPECT_TRUE(read.KeyNames(HKEY_CURRENT_USER, "").empty()) << damaged;
        ASSERT_TRUE(UpdateRegistry([](RegistryFile& r) { return r.CreateKey(HKEY_CURRENT_USER, "New"); }));
        EXPECT_EQ(ReadFileText(file_ + ".bad"), damaged);
        const RegistryFile after = ReadRegistry();
        EXPECT_FALSE(after.Damaged());
        EXPECT_EQ(after.KeyNames(HKEY_CURRENT_USER, ""), std::vector<std::string>{"New"}) << damaged;
    }
    // The same file with its end line reads well: the cases above fail for
    // what they show, not for the test's own mistake.
    WriteRaw(good + "; end\n");
    EXPECT_EQ(Text(ReadRegistry().FindValue(HKEY_CURRENT_USER, "K", "v")), "x");
}

TEST_F(Registry, AnEarlierBackupIsNeverOverwritten) {
    WriteRaw("first damage");
    ASSERT_TRUE(UpdateRegistry([](RegistryFile& r) { return r.CreateKey(HKEY_CURRENT_USER, "A"); }));
    WriteRaw("second damage");
    ASSERT_TRUE(UpdateRegistry([](RegistryFile& r) { return r.CreateKey(HKEY_CURRENT_USER, "B"); }));
    EXPECT_EQ(ReadFileText(file_ + ".bad"), "first damage");
    EXPECT_EQ(ReadFileText(ChangeFileExt(file_, ".1.bad")), "second damage");
    EXPECT_EQ(FolderNames(),
              (std::vector<std::string>{"registry.1.bad", "registry.txt", "registry.txt.bad"}));
}

// Holds the process's file size limit at `bytes` while it lives, so a
// write past it fails as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldSignal_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldSignal_);
    }

private:
    rlimit old_{};
    void (*oldSignal_)(int) = nullptr;
};

TEST_F(Registry, AFailedWriteKeepsTheOldFile) {
    ASSERT_TRUE(UpdateRegistry([](RegistryFile& r) {
        return r.CreateKey(HKEY_CURRENT_USER, "K") &&
               r.SetValue(HKEY_CURRENT_USER, "K", "v", REG_SZ, Bytes("old"));
    }));
    const std::string before = ReadFileText(file_);
    const std::string big(4096, 'x');
    {
        FileSizeLimit limit(before.size() + 64);
        EXPECT_FALSE(UpdateRegistry(
            [&](RegistryFile& r) { return r.SetValue(HKEY_CURRENT_USER, "K", "v", REG_SZ, Bytes(big)); }));
    }
    EXPECT_EQ(ReadFileText(file_), before);
    EXPECT_EQ(FolderNames(), std::vector<std::string>{"registry.txt"});  // no temporary file left
    // A damaged file whose replacement fails stays where it was, and so does its backup.
    WriteRaw("damaged");
    {
        FileSizeLimit limit(4);
        EXPECT_FALSE(UpdateRegistry([](RegistryFile& r) { return r.CreateKey(HKEY_CURRENT_USER, "New"); }));
    }
    EXPECT_EQ(ReadFileText(file_), "damaged");
    EXPECT_EQ(ReadFileText(file_ + ".bad"), "damaged");
    // A change that refuses writes nothing.
    EXPECT_FALSE(UpdateRegistry([](RegistryFile&) { return false; }));
    EXPECT_EQ(ReadFileText(file_), "damaged");
}

TEST_F(Registry, TheUsersFileFollowsTheConfigFolder) {
    SetRegistryFilePath("");
    const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
    const char* oldHome = std::getenv("HOME");
    const std::string savedXdg = oldXdg ? oldXdg : "", savedHome = oldHome ? oldHome : "";
    const struct {
        const char* xdg;  // null: unset
        const char* home;
        const char* want;
    } cases[] = {
        {"/x/cfg", "/home/u", "/x/cfg/tarvel-bms/registry.txt"},
        {"/x/cfg/", "/home/u", "/x/cfg/tarvel-bms/registry.txt"},
        {nullptr, "/home/u", "/home/u/.config/tarvel-bms/registry.txt"},
        {"relative", "/home/u", "/home/u/.config/tarvel-bms/registry.txt"},  // not absolute: ignored
        {"", "/home/u", "/home/u/.config/tarvel-bms/registry.txt"},
    };
    for (const auto& c : cases) {
        if (c.xdg)
            setenv("XDG_CONFIG_HOME", c.xdg, 1);
        else
            unsetenv("XDG_CONFIG_HOME");
        setenv("HOME", c.home, 1);
        EXPECT_EQ(RegistryFilePath(), c.want) << (c.xdg ? c.xdg : "(unset)");
    }
    if (oldXdg)
        setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
    setenv("HOME", savedHome.c_str(), 1);
}

}  // namespace
}  // namespace tarvel
