// The country boxes over a country reader: digits only from the dialling
// rules, a walk that ends on errors and on identifiers that come round
// again, sorted names, and empty answers for anything not selected.

#include <map>

#include "platform/classlib/Objects.h"
#include "platform/system/Locales.h"
#include "skin/core/te_theme_api.h"
#include "skin/extctrls/te_extctrls_country.h"
#include "skin/extctrls/te_extctrls_nativetabs.h"
#include "skin/extctrls/te_extctrls_pages.h"
#include "skin/extctrls/te_extctrls_progress.h"
#include "skin/extctrls/te_extctrls_startup.h"
#include "skin/extctrls/te_extctrls_toolbar.h"
#include "tests/skin/core/SkinControlFixture.h"

namespace tarvel {
namespace {

using testing::SkinControlTest;
using Entries = std::map<uint32_t, TCountryEntry>;

// Answers from `entries`; identifiers not in it fail with 7.
TLineGetCountry FakeReader(Entries entries) {
    return [entries = std::move(entries)](uint32_t id, TCountryEntry& entry) {
        const auto it = entries.find(id);
        if (it == entries.end()) return 7;
        entry = it->second;
        return 0;
    };
}

Entries ThreeCountries() {
    return {{1, {"49", "DE", "Germany", "0", "0", "00", 2}},
            {2, {"43", "AT", "Austria", "0", "0", "00", 3}},
            {3, {"41", "CH", "Switzerland", "", "0", "00 dial tone", 0}}};
}

class CountryBoxTest : public SkinControlTest {
protected:
    void SetUp() override {
        SkinControlTest::SetUp();
        saved_ = LineGetCountry();
    }
    void TearDown() override {
        SetLineGetCountry(saved_);
        SkinControlTest::TearDown();
    }
    TLineGetCountry saved_;
};

std::vector<String> Names(const std::vector<TCountryInfo>& list) {
    std::vector<String> names;
    for (const auto& c : list) names.push_back(c.Name);
    return names;
}

TEST(RemoveABCsTest, KeepsTheDigitsInOrder) {
    const struct {
        const char* text;
        const char* digits;
    } cases[] = {{"00EFG", "00"}, {"EFG", ""}, {"", ""}, {"1a2 b3+", "123"}, {"011", "011"}};
    for (const auto& c : cases) EXPECT_EQ(RemoveABCs(c.text), c.digits) << c.text;
}

TEST_F(CountryBoxTest, WalkEndsAtTheEndAnErrorOrACircle) {
    Entries circle = ThreeCountries();
    circle[3].nextCountryId = 1;
    Entries broken = ThreeCountries();
    broken.erase(2);
    Entries selfLoop = {{1, {"1", "", "Loop", "", "", "", 1}}};
    const struct {
        const char* name;
        Entries entries;
        std::vector<String> names;
    } cases[] = {
        {"whole walk, sorted", ThreeCountries(), {"Austria", "Germany", "Switzerland"}},
        {"identifiers in a circle", circle, {"Austria", "Germany", "Switzerland"}},
        {"error part way", broken, {"Germany"}},
        {"error at once", {}, {}},
        {"next is itself", selfLoop, {"Loop"}},
    };
    for (const auto& c : cases) {
        SetLineGetCountry(FakeReader(c.entries));
        EXPECT_EQ(Names(ReadCountries()), c.names) << c.name;
    }
}

TEST_F(CountryBoxTest, NoReaderAnswersMinusOne) {
    SetLineGetCountry(nullptr);
    TCountryInfo record;
    EXPECT_EQ(GetCountryAndCode(record), -1);
    SetLineGetCountry(FakeReader({}));
    EXPECT_EQ(GetCountryAndCode(record), 7);
    EXPECT_TRUE(record.Name.empty());
}

template <class Box>
void CheckSelection(Box* box) {
    EXPECT_TRUE(box->IsLoaded());
    ASSERT_EQ(box->Items()->Count(), 3);
    EXPECT_EQ(box->Items()->Strings(0), "Austria");

    const struct {
        const char* select;
        const char* name;
        const char* code;
        const char* international;
        const char* longDistance;
        const char* sameArea;
    } cases[] = {
        {"Germany", "Germany", "49", "00", "0", "0"},
        {"Switzerland", "Switzerland", "41", "00", "0", ""},
        {"Atlantis", "", "", "", "", ""},
        {"", "", "", "", "", ""},
    };
    for (const auto& c : cases) {
        box->SetCountryName(c.select);
        EXPECT_EQ(box->CountryName(), c.name) << c.select;
        EXPECT_EQ(box->CountryCode(), c.code) << c.select;
        EXPECT_EQ(box->International(), c.international) << c.select;
        EXPECT_EQ(box->LongDistance(), c.longDistance) << c.select;
        EXPECT_EQ(box->SameArea(), c.sameArea) << c.select;
    }
    EXPECT_EQ(box->ItemIndex(), -1);
}

TEST_F(CountryBoxTest, BothBoxesSelectByNameAndAnswerTheSelectedCountry) {
    SetLineGetCountry(FakeReader(ThreeCountries()));
    auto* combo = Make<TTeCountryComboBox>(10, 10);
    EXPECT_EQ(combo->Style(), csDropDownList);
    CheckSelection(combo);
    CheckSelection(Make<TTeCountryListBox>(10, 60));
}

TEST_F(CountryBoxTest, EachBoxReadsAtItsOwnConstruction) {
    SetLineGetCountry(FakeReader(ThreeCountries()));
    auto* first = Make<TTeCountryListBox>(10, 10);
    SetLineGetCountry(nullptr);
    auto* second = Make<TTeCountryListBox>(10, 60);
    EXPECT_EQ(first->Items()->Count(), 3);
    EXPECT_EQ(second->Items()->Count(), 0);
    second->SetCountryName("Germany");
    EXPECT_EQ(second->CountryCode(), "");
}

TEST_F(CountryBoxTest, StartUpGivesTheTableCountriesPaintersAndPageClasses) {
    SetLineGetCountry(nullptr);
    InitExtCtrls();
    InitExtCtrls();
    DoneExtCtrls();  // the inner end leaves everything in place
    ASSERT_TRUE(LineGetCountry());

    // The English names in the items, the ISO code in the record, and the
    // calling code and prefixes from the phone number metadata.
    auto* box = Make<TTeCountryComboBox>(10, 10);
    EXPECT_EQ(box->Items()->Count(), static_cast<int>(Countries().size()));
    const struct {
        const char* name;
        const char* iso;
        const char* code;
        const char* international;
        const char* longDistance;
    } cases[] = {
        {"Germany", "DE", "49", "00", "0"}, {"United States", "US", "1", "011", "1"},
        {"China", "CN", "86", "00", "0"},   {"United Kingdom", "GB", "44", "00", "0"},
        {"Japan", "JP", "81", "010", "0"},  {"Russian Federation", "RU", "7", "810", "8"},
        {"Antarctica", "AQ", "", "", ""},
    };
    for (const auto& c : cases) {
        box->SetCountryName(c.name);
        EXPECT_EQ(box->CountryName(), c.name);
        EXPECT_EQ(box->CountryInfo(c.name).IsoCode, c.iso) << c.name;
        EXPECT_EQ(box->CountryCode(), c.code) << c.name;
        EXPECT_EQ(box->International(), c.international) << c.name;
        EXPECT_EQ(box->LongDistance(), c.longDistance) << c.name;
        EXPECT_EQ(box->SameArea(), "") << c.name;
    }

    for (const char* name : {"TTePage", "TTeTabSheet", "TTeSTabSheet"})
        EXPECT_NO_THROW(FindClass(name)) << name;
    // Each has a painter of its own, not the one of the class it comes from.
    TTeTabSheet sheet(nullptr);
    TCustomControl plain(nullptr);
    TTeToolBar bar(nullptr);
    TTeProgressBar progress(nullptr);
    ASSERT_NE(FindBackgroundPainter(&sheet), nullptr);
    EXPECT_NE(FindBackgroundPainter(&sheet), FindBackgroundPainter(&plain));
    ASSERT_NE(FindBackgroundPainter(&bar), nullptr);
    EXPECT_NE(FindBackgroundPainter(&bar), FindBackgroundPainter(&progress));
    TTeSTabSheet nativeSheet(nullptr);
    TTabSheet plainSheet(nullptr);
    ASSERT_NE(FindBackgroundPainter(&nativeSheet), nullptr);
    EXPECT_NE(FindBackgroundPainter(&nativeSheet), FindBackgroundPainter(&plainSheet));

    DoneExtCtrls();
    EXPECT_FALSE(LineGetCountry());
    DoneExtCtrls();  // an unmatched end does nothing
    EXPECT_FALSE(LineGetCountry());
}

}  // namespace
}  // namespace tarvel
