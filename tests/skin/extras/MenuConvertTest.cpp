// Converting a class-library menu into skinned items: the tree's shape and
// order, the names handed on, what the items keep, the log, and a name
// clash that stops the conversion where it is.

#include <gtest/gtest.h>

#include "skin/extras/te_menuconvert.h"

namespace tarvel {
namespace {

class MenuConvertTest : public ::testing::Test {
protected:
    TMenuItem* Item(TMenuItem* parent, const char* name, const char* caption) {
        auto* item = new TMenuItem(&form_);
        if (*name) item->SetName(name);
        item->SetCaption(caption);
        item->OnClick = [this, caption](TObject*) { clicked_.push_back(caption); };
        parent->Add(item);
        return item;
    }
    // File (Open, Save) and Help (About): five named items.
    void Build() {
        menu_ = new TMainMenu(&form_);
        TMenuItem* file = Item(menu_->Items(), "File", "&File");
        Item(file, "Open", "&Open");
        Item(file, "Save", "&Save")->SetShortCut(static_cast<TShortCut>('S' | scCtrl));
        TMenuItem* help = Item(menu_->Items(), "Help", "&Help");
        Item(help, "About", "&About")->SetEnabled(false);
    }
    static String Shape(TTeItem* item) {
        String out;
        for (int i = 0; i < item->Count(); ++i) {
            TTeItem* c = item->GetItem(i);
            out += c->Name() + (c->Count() ? "(" + Shape(c) + ")" : String()) +
                   (i + 1 < item->Count() ? String(" ") : String());
        }
        return out;
    }

    TComponent form_{nullptr};
    TComponent skinned_{nullptr};
    TMainMenu* menu_ = nullptr;
    TTeItem* root_ = new TTeItem(&skinned_);
    std::vector<String> clicked_;
};

TEST_F(MenuConvertTest, TheTreeIsRebuiltUnderTheOldNamesAndTheSourcesStepAside) {
    Build();
    TStringList log;
    DoConvert(root_, menu_, &skinned_, TTeItem::StaticClass(), &log);

    EXPECT_EQ(Shape(root_), "File(Open Save) Help(About)");
    for (const char* name : {"File", "Open", "Save", "Help", "About"}) {
        EXPECT_NE(form_.FindComponent(String(name) + "_old"), nullptr) << name;
        EXPECT_EQ(form_.FindComponent(name), nullptr) << name;
    }
    TTeItem* save = root_->GetItem(0)->GetItem(1);
    EXPECT_EQ(save->Caption(), u"&Save");
    EXPECT_EQ(save->ShortCut, static_cast<TShortCut>('S' | scCtrl));
    EXPECT_FALSE(root_->GetItem(1)->GetItem(0)->Enabled());
    // The new item and the renamed old one run the same handler.
    save->Click();
    menu_->Items()->Items(0)->Items(1)->Click();
    EXPECT_EQ(clicked_, (std::vector<String>{"&Save", "&Save"}));

    std::vector<String> lines;
    for (int i = 0; i < log.Count(); ++i) lines.push_back(log.Strings(i));
    EXPECT_EQ(lines, (std::vector<String>{"", "Start menu convetion", "", " Convertion item: File",
                                          " Convertion item: Open", " Convertion item: Save",
                                          " Convertion item: Help", " Convertion item: About",
                                          " Set Images property", "", "Menu convetion complete !"}));
}

TEST_F(MenuConvertTest, WithoutAnItemClassNothingChanges) {
    Build();
    TStringList log;
    DoConvert(root_, menu_, &skinned_, nullptr, &log);
    EXPECT_EQ(root_->Count(), 0);
    EXPECT_EQ(log.Count(), 0);
    EXPECT_NE(form_.FindComponent("File"), nullptr);
}

TEST_F(MenuConvertTest, UnnamedItemsStayUnnamedAndAClashStopsWhereItIs) {
    menu_ = new TMainMenu(&form_);
    TMenuItem* top = Item(menu_->Items(), "", "Unnamed");
    Item(top, "Inner", "Inner");
    Item(menu_->Items(), "Taken", "Taken");
    auto* taken = new TComponent(&skinned_);
    taken->SetName("Taken");
    EXPECT_THROW(DoConvert(root_, menu_, &skinned_, TTeItem::StaticClass(), nullptr), EComponentError);
    ASSERT_EQ(root_->Count(), 1) << "the clashing item is not put into the tree";
    EXPECT_EQ(root_->GetItem(0)->Name(), "");
    EXPECT_EQ(root_->GetItem(0)->GetItem(0)->Name(), "Inner");
    EXPECT_EQ(top->Name(), "");
}

}  // namespace
}  // namespace tarvel
