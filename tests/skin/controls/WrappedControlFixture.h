#pragma once
// A recording theme that also has the grid, memo, tree, list and header
// elements, and the fixture of the tests of the wrapped class-library
// controls.

#include "RecordingThemeFixture.h"
#include "skin/controls/te_controls_memo.h"
#include "skin/controls/te_controls_subscroll.h"
#include "skin/core/te_theme_colors.h"
#include "tests/skin/controls/GalleryForms.h"

namespace tarvel::testing {

class TWrappedRecordingTheme : public TRecordingTheme {
    TARVEL_CLASS(TWrappedRecordingTheme, TRecordingTheme)

public:
    static constexpr TColor kGridColor = TColor(0x00C0FFEE);
    static constexpr TColor kEditColor = TColor(0x00E0F0D0);

    static constexpr TColor kTreeColor = TColor(0x00D0E0F0);
    static constexpr TColor kListColor = TColor(0x00F0E0D0);
    static constexpr TColor kListTextColor = TColor(0x00204060);

    TWrappedRecordingTheme() {
        Colors()->SetColor(ktcGrid, kGridColor);
        Colors()->SetColor(ktcEditNormal, kEditColor);
        Colors()->SetColor(ktcTree, kTreeColor);
        Colors()->SetColor(ktcList, kListColor);
        if (TFont* font = Fonts()->GetFont(ktfListItemTextNormal)) font->SetColor(kListTextColor);
    }

    bool IsGridDefined(TteGridSubclass, const String&) override { return true; }
    void GridDraw(TteGridSubclass, TCanvas&, const TteGridInfo& info, const String& obj) override {
        Calls().push_back({"GridDraw", 0, info.Rect, obj, {}, {}});
    }
    void GridDrawItem(TteGridSubclass, TCanvas& c, const TteGridItemInfo& info, const String& obj) override {
        Calls().push_back({"GridDrawItem", info.DrawState * 10 + info.ItemClass, info.Rect, obj, {}, {}});
        FillRect(c, info.Rect, FaceColor(info.DrawState));
    }
    void GridDrawText(TteGridSubclass, TCanvas&, const TteGridItemInfo& info, const TteTextInfo& text,
                      const String& obj) override {
        Calls().push_back({"GridDrawText", info.DrawState, text.Rect, obj, text.Text, {}});
    }
    bool IsTreeDefined(TteTreeSubclass, const String&) override { return true; }
    void TreeDraw(TteTreeSubclass, TCanvas&, const TteTreeInfo& info, const String& obj) override {
        Calls().push_back({"TreeDraw", 0, info.Rect, obj, {}, {}});
    }
    bool IsListDefined(TteListSubclass, const String&) override { return true; }
    void ListDraw(TteListSubclass, TCanvas&, const TteListInfo& info, const String& obj) override {
        Calls().push_back({"ListDraw", 0, info.Rect, obj, {}, {}});
    }
    // A header call's state is its draw state times 10 plus its section position.
    bool IsHeaderDefined(TteHeaderSubclass, const String&) override { return true; }
    void HeaderDrawSection(TteHeaderSubclass, TCanvas& c, const TteHeaderSectionInfo& info,
                           const String& obj) override {
        Calls().push_back(
            {"HeaderDrawSection", info.DrawState * 10 + info.SectionState, info.Rect, obj, {}, {}});
        FillRect(c, info.Rect, FaceColor(info.DrawState));
    }
    void HeaderDrawText(TteHeaderSubclass, TCanvas&, const TteHeaderSectionInfo& info,
                        const TteTextInfo& text, const String& obj) override {
        Calls().push_back(
            {"HeaderDrawText", info.DrawState * 10 + info.SectionState, text.Rect, obj, text.Text, {}});
    }
    bool IsMemoDefined(TteMemoSubclass, const String&) override { return true; }
    void MemoDraw(TteMemoSubclass, TCanvas& c, const TteMemoInfo& info, const String& obj) override {
        Calls().push_back({"MemoDraw", info.DrawState, info.Rect, obj, {}, {}});
        FillRect(c, info.Rect, FaceColor(info.DrawState));
    }
};

class WrappedControlTest : public SkinControlsTest {
protected:
    TWrappedRecordingTheme* UseWrappedTheme() {
        auto* theme = new TWrappedRecordingTheme();
        ChangeTheme(theme);
        ui_.RunUntilIdle();
        theme->Calls().clear();
        return theme;
    }
    // The tool's log: read-only, a line at a time, line i in LogColor(i).
    TTeRichEdit* ColouredLog(const TRect& bounds, int lines) {
        auto* log = Make<TTeRichEdit>(bounds.left, bounds.top);
        log->SetBoundsRect(bounds);
        FillLog(log, lines);
        ui_.RunUntilIdle();
        return log;
    }
    // A line, page or thumb request as the user's hand on the hosted bar makes it.
    static void ScrollHosted(TTeInplaceScrollBar* bar, TTeScrollCode code, int pos) {
        TTeScrollBar* hosted = bar->ScrollBar();
        if (hosted->OnScroll) hosted->OnScroll(hosted, code, pos);
        hosted->SetPosition(pos);
    }
};

}  // namespace tarvel::testing
