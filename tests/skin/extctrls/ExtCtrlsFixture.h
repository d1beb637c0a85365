#pragma once
// What the extended-control tests share: the skinned-control fixture, and a
// page control on the form with one sheet per caption, whose OnChange calls
// are counted.

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "skin/extctrls/te_extctrls_pages.h"
#include "tests/skin/core/SkinControlFixture.h"

namespace tarvel::testing {

class ExtCtrlsTest : public SkinControlTest {
protected:
    TTePageControl* MakePages(std::initializer_list<const char*> captions) {
        auto* pages = Make<TTePageControl>(10, 10);
        pages->SetBounds(10, 10, 380, 260);
        for (const char* caption : captions) {
            auto* sheet = new TTeTabSheet(form_);
            sheet->SetText(caption);
            sheet->SetTabControl(pages);
            sheets_.push_back(sheet);
        }
        pages->OnChange = [this](TObject*) { ++changes_; };
        ui_.RunUntilIdle();
        return pages;
    }

    TTeTabSheet* Sheet(int i) { return sheets_[i]; }
    // The sheets that are visible now, by caption.
    std::vector<String> ShownSheets(TTeTabControl* control) {
        std::vector<String> out;
        for (int i = 0; i < control->GetPageCount(); ++i)
            if (control->GetPage(i)->Visible()) out.push_back(control->GetPage(i)->Text());
        return out;
    }
    static std::vector<String> TabsOf(TTeTabControl* control) {
        std::vector<String> out;
        for (int i = 0; i < control->GetTabCount(); ++i) out.push_back(control->Tabs()->Get(i));
        return out;
    }

    std::vector<TTeTabSheet*> sheets_;
    int changes_ = 0;
};

}  // namespace tarvel::testing
