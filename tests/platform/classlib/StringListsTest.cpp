#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/classlib/Streams.h"
#include "platform/classlib/StringLists.h"
#include "tests/TempFolderFixture.h"

namespace tarvel {
namespace {

std::vector<std::string> Lines(const TStrings& s) {
    std::vector<std::string> out;
    for (int i = 0; i < s.Count(); ++i) out.push_back(s.Strings(i));
    return out;
}

TEST(StringListsTest, CommaTextWritesQuotesWhereNeeded) {
    struct Case {
        std::vector<std::string> lines;
        std::string text;
    };
    const Case cases[] = {
        {{}, ""},
        {{""}, "\"\""},
        {{"a", "b", "c"}, "a,b,c"},
        {{"two words", "x"}, "\"two words\",x"},
        {{"a,b"}, "\"a,b\""},
        {{"say \"hi\""}, "\"say \"\"hi\"\"\""},
        {{"tab\there"}, "\"tab\there\""},
        {{"a", "", "b"}, "a,\"\",b"},
        {{"宋体", "9"}, "宋体,9"},
    };
    for (const auto& c : cases) {
        TStringList list;
        for (const auto& l : c.lines) list.Add(l);
        EXPECT_EQ(list.CommaText(), c.text);
        TStringList back;
        back.SetCommaText(c.text);
        EXPECT_EQ(Lines(back), c.lines) << c.text;
    }
}

TEST(StringListsTest, CommaTextReadsBlanksAsSeparators) {
    struct Case {
        std::string text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"  a , b  ", {"a", "b"}},
        {"a b", {"a", "b"}},
        {"a,,b", {"a", "", "b"}},
        {"a,", {"a"}},
        {",a", {"", "a"}},
        {"\"a b\"c", {"a b", "c"}},
        {"\"open ended", {"open ended"}},
        {"\"\"\"\"", {"\""}},
        {"   ", {}},
    };
    for (const auto& c : cases) {
        TStringList list;
        list.Add("old");
        list.SetCommaText(c.text);
        EXPECT_EQ(Lines(list), c.lines) << c.text;
    }
}

TEST(StringListsTest, TextSplitsAtEveryKindOfLineBreak) {
    struct Case {
        std::string text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"\r\n", {""}},
        {"a\n\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},
    };
    for (const auto& c : cases) {
        TStringList list;
        list.SetText(c.text);
        EXPECT_EQ(Lines(list), c.lines) << c.text;
    }
    TStringList list;
    list.SetText("x\ny");
    EXPECT_EQ(list.Text(), "x\r\ny\r\n");
    list.LineBreak = "\n";
    EXPECT_EQ(list.Text(), "x\ny\n");
}

TEST(StringListsTest, SortedListKeepsOrderAndHandlesDuplicates) {
    TStringList list;
    list.SetSorted(true);
    for (const char* s : {"delta", "Alpha", "charlie", "bravo", "ALPHA"}) list.Add(s);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"Alpha", "bravo", "charlie", "delta"}))
        << "case is ignored, so ALPHA is a duplicate and ignored";
    EXPECT_EQ(list.Add("alpha"), 0) << "an ignored duplicate answers the existing index";
    EXPECT_EQ(list.IndexOf("CHARLIE"), 2);
    EXPECT_EQ(list.IndexOf("echo"), -1);
    int index = -1;
    EXPECT_FALSE(list.Find("coffee", index));
    EXPECT_EQ(index, 3) << "where it would go";

    list.Duplicates = TDuplicates::dupError;
    try {
        list.Add("Bravo");
        FAIL();
    } catch (const EStringListError& e) {
        EXPECT_EQ(e.Message(), "String list does not allow duplicates");
    }
    list.Duplicates = TDuplicates::dupAccept;
    list.Add("Bravo");
    EXPECT_EQ(list.Count(), 5);
    EXPECT_EQ(list.Strings(1), "Bravo") << "goes before the equal line already there";

    EXPECT_THROW(list.Insert(0, "zulu"), EStringListError);
    EXPECT_THROW(list.Put(0, "zulu"), EStringListError);

    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf("alpha"), -1);
    EXPECT_EQ(list.IndexOf("Alpha"), 0);
}

TEST(StringListsTest, TurningSortedOnSortsAndKeepsObjects) {
    TObject one, two, three;
    TStringList list;
    list.AddObject("c", &three);
    list.AddObject("a", &one);
    list.AddObject("b", &two);
    list.SetSorted(true);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(list.Objects(0), &one);
    EXPECT_EQ(list.Objects(2), &three);
    EXPECT_EQ(list.IndexOfObject(&two), 1);
}

TEST(StringListsTest, CustomSortSeesTheListUnchanged) {
    TStringList list;
    list.SetCommaText("10,9,100,1");
    list.CustomSort(
        [](TStringList* l, int a, int b) { return StrToInt(l->Strings(a)) - StrToInt(l->Strings(b)); });
    EXPECT_EQ(list.CommaText(), "1,9,10,100");
}

TEST(StringListsTest, BadIndexRaisesTheListError) {
    TStringList list;
    list.Add("only");
    try {
        list.Strings(1);
        FAIL();
    } catch (const EStringListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (1)");
    }
    EXPECT_THROW(list.Delete(-1), EListError);
    EXPECT_THROW(list.Insert(3, "x"), EListError);
    EXPECT_NO_THROW(list.Insert(1, "end"));
}

TEST(StringListsTest, NamesAndValues) {
    TStringList list;
    list.SetText("ColorA=FFFFFF\nplain line\nColorB=00FF00=x\n");
    EXPECT_EQ(list.Names(0), "ColorA");
    EXPECT_EQ(list.Names(1), "");
    EXPECT_EQ(list.Values("colorb"), "00FF00=x");
    EXPECT_EQ(list.Values("ColorC"), "");
    list.SetValues("ColorC", "123");
    list.SetValues("ColorA", "0");
    list.SetValues("ColorB", "");
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"ColorA=0", "plain line", "ColorC=123"}));
    EXPECT_EQ(list.ValueFromIndex(2), "123");
}

TEST(StringListsTest, ChangeEventsAreBatchedByUpdates) {
    TStringList list;
    int changing = 0, changed = 0;
    list.OnChanging = [&](TObject* sender) {
        EXPECT_EQ(sender, &list);
        ++changing;
    };
    list.OnChange = [&](TObject*) { ++changed; };
    list.Add("a");
    list.Add("b");
    EXPECT_EQ(changed, 2);
    list.BeginUpdate();
    list.BeginUpdate();
    list.Add("c");
    list.Delete(0);
    list.EndUpdate();
    EXPECT_EQ(changed, 2);
    list.EndUpdate();
    EXPECT_EQ(changing, 3);
    EXPECT_EQ(changed, 3);
    list.SetCommaText("x,y,z");
    EXPECT_EQ(changed, 4) << "a whole text is one change";
}

TEST(StringListsTest, AssignCopiesLinesAndObjectsAndRefusesOthers) {
    TObject marker;
    TStringList source;
    source.AddObject("one", &marker);
    source.Add("two");
    TStringList copy;
    copy.Add("old");
    copy.Assign(&source);
    EXPECT_TRUE(copy.Equals(&source));
    EXPECT_EQ(copy.Objects(0), &marker);

    TPersistent other;
    try {
        copy.Assign(&other);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TPersistent to a TStringList");
    }
}

TEST(StringListsTest, ExchangeAndMove) {
    TStringList list;
    list.SetCommaText("a,b,c,d");
    list.Exchange(0, 3);
    EXPECT_EQ(list.CommaText(), "d,b,c,a");
    list.Move(0, 2);
    EXPECT_EQ(list.CommaText(), "b,c,d,a");
}

TEST(StringListsTest, FilesAndStreamsRoundTrip) {
    const tarvel::testing::TempFolder temp;
    const auto& dir = temp.Path();
    const std::string name = (dir / "list.txt").string();
    TStringList list;
    list.SetCommaText("True,False,\"模块 1\"");
    list.SaveToFile(name);
    TMemoryStream bytes;
    bytes.LoadFromFile(name);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.Memory()), static_cast<size_t>(bytes.Size())),
              "True\r\nFalse\r\n模块 1\r\n");

    TStringList back;
    back.LoadFromFile(name);
    EXPECT_TRUE(back.Equals(&list));

    // From the stream's position on.
    bytes.SetPosition(6);
    back.LoadFromStream(bytes);
    EXPECT_EQ(back.CommaText(), "False,\"模块 1\"");

    EXPECT_THROW(back.LoadFromFile((dir / "missing.txt").string()), EFOpenError);
}

}  // namespace
}  // namespace tarvel
