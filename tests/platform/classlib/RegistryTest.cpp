#include "platform/classlib/Registry.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "platform/base/Paths.h"

namespace tarvel {
namespace {

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tarvel-tregistry-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        SetRegistryFilePath(dir_ + "/registry.txt");
    }
    void TearDown() override {
        SetRegistryFilePath("");
        std::filesystem::remove_all(dir_);
    }
    std::string dir_;
};

TEST_F(RegistryTest, KeysOpenByPathBelowTheRootOrTheCurrentKey) {
    TRegistry reg;
    EXPECT_EQ(reg.RootKey(), HKEY_CURRENT_USER);
    EXPECT_FALSE(reg.OpenKey("Software\\Tarvel", false));
    EXPECT_EQ(reg.CurrentPath(), "");
    ASSERT_TRUE(reg.OpenKey("\\Software\\Tarvel\\", true));
    EXPECT_EQ(reg.CurrentPath(), "Software\\Tarvel");
    ASSERT_TRUE(reg.OpenKey("BMS", true));  // below the current key
    EXPECT_EQ(reg.CurrentPath(), "Software\\Tarvel\\BMS");
    ASSERT_TRUE(reg.OpenKey("\\Software", false));
    EXPECT_TRUE(reg.HasSubKeys());
    TStringList names;
    reg.GetKeyNames(&names);
    EXPECT_EQ(names.CommaText(), "Tarvel");
    EXPECT_TRUE(reg.KeyExists("tarvel\\bms"));
    EXPECT_TRUE(reg.KeyExists("\\SOFTWARE"));
    EXPECT_TRUE(reg.DeleteKey("Tarvel"));
    EXPECT_FALSE(reg.KeyExists("\\Software\\Tarvel\\BMS"));
    EXPECT_FALSE(reg.HasSubKeys());
    // Another root key is another tree.
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_EQ(reg.CurrentPath(), "");
    EXPECT_FALSE(reg.KeyExists("Software"));
}

TEST_F(RegistryTest, TypedValuesAndTheirMismatches) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Tarvel", true));
    reg.WriteString("Port", "COM3");
    reg.WriteInteger("Baud", -19200);
    reg.WriteBool("Sound", true);
    const uint8_t blob[] = {1, 2, 3};
    reg.WriteBinaryData("Blob", blob, 3);

    EXPECT_EQ(reg.ReadString("port"), "COM3");
    EXPECT_EQ(reg.ReadInteger("Baud"), -19200);
    EXPECT_TRUE(reg.ReadBool("Sound"));
    uint8_t back[8] = {};
    EXPECT_EQ(reg.ReadBinaryData("Blob", back, sizeof back), 3);
    EXPECT_EQ(std::vector<uint8_t>(back, back + 3), std::vector<uint8_t>(blob, blob + 3));
    EXPECT_EQ(reg.GetDataSize("Blob"), 3);
    EXPECT_EQ(reg.GetDataSize("Missing"), -1);
    EXPECT_EQ(reg.GetDataType("Port"), rdString);
    EXPECT_EQ(reg.GetDataType("Baud"), rdInteger);
    EXPECT_EQ(reg.GetDataType("Missing"), rdUnknown);
    EXPECT_EQ(reg.ReadString("Missing"), "");
    EXPECT_EQ(reg.ReadBinaryData("Missing", back, sizeof back), 0);

    const std::function<void()> mismatches[] = {
        [&] { reg.ReadString("Baud"); },
        [&] { reg.ReadInteger("Port"); },
        [&] { reg.ReadInteger("Missing"); },
        [&] { reg.ReadBool("Blob"); },
        [&] { reg.ReadBinaryData("Port", back, sizeof back); },
        [&] { reg.ReadBinaryData("Blob", back, 2); },  // too small a buffer
        [&] { reg.WriteBinaryData("Neg", blob, -1); },
        [&] { reg.WriteBinaryData("Null", nullptr, 3); },
    };
    for (size_t i = 0; i < std::size(mismatches); ++i) EXPECT_THROW(mismatches[i](), ERegistryException) << i;
    EXPECT_FALSE(reg.ValueExists("Neg"));

    TStringList names;
    reg.GetValueNames(&names);
    EXPECT_EQ(names.CommaText(), "Port,Baud,Sound,Blob");
    EXPECT_TRUE(reg.DeleteValue("Sound"));
    EXPECT_FALSE(reg.DeleteValue("Sound"));
    EXPECT_FALSE(reg.ValueExists("Sound"));
}

TEST_F(RegistryTest, WritesThatCannotBeMadeRaise) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("K", true));
    reg.WriteString("v", "kept");
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\K"));
    EXPECT_EQ(reg.ReadString("v"), "kept");
    EXPECT_THROW(reg.WriteString("v", "new"), ERegistryException);
    EXPECT_FALSE(reg.DeleteValue("v"));

    // The key went away under an open registry.
    TRegistry other;
    ASSERT_TRUE(other.OpenKey("\\K", false));
    ASSERT_TRUE(TRegistry().DeleteKey("K"));
    EXPECT_THROW(other.WriteInteger("v", 1), ERegistryException);

    // The registry's folder cannot be made: nothing is written anywhere.
    WriteFileText(dir_ + "/blocked", "a file where the folder should be");
    SetRegistryFilePath(dir_ + "/blocked/registry.txt");
    TRegistry blocked;
    EXPECT_FALSE(blocked.OpenKey("K", true));
    EXPECT_THROW(blocked.WriteString("v", "x"), ERegistryException);
    EXPECT_THROW(TRegistryIniFile("App").WriteString("S", "v", "x"), ERegistryException);
    EXPECT_EQ(TRegistryIniFile("App").ReadString("S", "v", "default"), "default");
}

TEST_F(RegistryTest, IniFileSectionsAreSubKeys) {
    TRegistryIniFile ini("Software\\Tarvel\\BMS");
    ini.WriteString("CommSeting", "commset", "COM3");
    ini.WriteInteger("CommSeting", "baudrate", 19200);
    ini.WriteBool("View", "Grid", true);
    ini.WriteString("View", "Columns", "12");

    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\Software\\Tarvel\\BMS\\CommSeting", false));
    EXPECT_EQ(reg.ReadString("commset"), "COM3");
    EXPECT_EQ(reg.ReadInteger("baudrate"), 19200);

    const struct {
        const char* section;
        const char* ident;
        const char* asString;  // ReadString with default "d"
        int asInteger;         // ReadInteger with default -1
    } cases[] = {
        {"CommSeting", "commset", "COM3", -1},  // text that is no number
        {"commseting", "BAUDRATE", "19200", 19200},
        {"View", "Grid", "1", 1},
        {"View", "Columns", "12", 12},  // text holding a number
        {"View", "Missing", "d", -1},
        {"Missing", "commset", "d", -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ini.ReadString(c.section, c.ident, "d"), c.asString) << c.section << "/" << c.ident;
        EXPECT_EQ(ini.ReadInteger(c.section, c.ident, -1), c.asInteger) << c.section << "/" << c.ident;
    }
    EXPECT_TRUE(ini.ReadBool("View", "Grid", false));
    EXPECT_TRUE(ini.ReadBool("View", "Missing", true));

    TStringList list;
    ini.ReadSections(&list);
    EXPECT_EQ(list.CommaText(), "CommSeting,View");
    ini.ReadSection("CommSeting", &list);
    EXPECT_EQ(list.CommaText(), "commset,baudrate");
    ini.ReadSectionValues("CommSeting", &list);
    EXPECT_EQ(list.CommaText(), "commset=COM3,baudrate=19200");
    ini.ReadSection("Missing", &list);
    EXPECT_EQ(list.Count(), 0);

    EXPECT_TRUE(ini.ValueExists("View", "Grid"));
    ini.DeleteKey("View", "Grid");
    EXPECT_FALSE(ini.ValueExists("View", "Grid"));
    EXPECT_TRUE(ini.SectionExists("View"));
    ini.EraseSection("View");
    EXPECT_FALSE(ini.SectionExists("View"));
    EXPECT_TRUE(ini.SectionExists("CommSeting"));
}

}  // namespace
}  // namespace tarvel
