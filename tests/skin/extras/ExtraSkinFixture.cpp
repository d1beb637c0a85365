#include "ExtraSkinFixture.h"

#include "tests/skin/themes/Se3SkinFixture.h"

namespace tarvel::testing {

TteTheme* MakeSkinTheme(const std::vector<TSkinPiece>& pieces) {
    TSeSkinSource src(nullptr);
    for (const TSkinPiece& p : pieces) {
        TSeSkinObject* top = Top(src, p.name, p.color, p.bounds);
        const TRect inner{0, 0, p.bounds.Width(), p.bounds.Height()};
        if (p.frameMargins != TRect{}) {
            TSeSkinObject* frame = Obj(top, "Frame", p.color, inner, saClient);
            frame->SetMarginLeft(p.frameMargins.left);
            frame->SetMarginTop(p.frameMargins.top);
            frame->SetMarginRight(p.frameMargins.right);
            frame->SetMarginBottom(p.frameMargins.bottom);
        }
        if (p.grabberWidth > 0) Obj(top, "Grabber", p.color, TRect{0, 0, p.grabberWidth, inner.bottom});
    }
    auto* theme = new TTeSkinFile();
    if (!LoadInto(*theme, src)) {
        delete theme;
        return nullptr;
    }
    return theme;
}

}  // namespace tarvel::testing
