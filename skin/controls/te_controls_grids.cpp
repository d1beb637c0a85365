#include "skin/controls/te_controls_grids.h"

#include <type_traits>

#include "platform/winsys/PaintApi.h"
#include "platform/winsys/WindowApi.h"
#include "skin/core/te_const.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_theme_colors.h"
#include "skin/core/te_theme_manager.h"
#include "skin/core/te_utils_draw.h"

namespace tarvel {

namespace {

// The corner where both native bars meet, painted in the classic look.
constexpr int kGridCorner = 20;

TteGridItemDrawState CellDrawState(bool enabled, TGridDrawState state, TGridOptions options) {
    if (!enabled) return kgidsDisabled;
    if (state.Contains(gdFocused)) return kgidsFocused;
    if (state.Contains(gdSelected))
        return options.Contains(goDrawFocusSelected) || options.Contains(goRowSelect) ? kgidsFocused
                                                                                      : kgidsHot;
    return kgidsNormal;
}

}  // namespace

template <class Base>
void TTeGridSkin<Base>::DeclareGridMessages(TMessageTable& t) {
    TTeWrapped<Base>::DeclareWrappedMessages(t);
    t.Add<&TTeGridSkin::WMNCPaint>(WM_NCPAINT);
    t.Add<&TTeGridSkin::WMEraseBkgnd>(WM_ERASEBKGND);
    t.Add<&TTeGridSkin::SNMThemeMessage>(SNM_THEMEMESSAGE);
}

// The grids make their own scroll bars: no factory.
template <class Base>
TTeGridSkin<Base>::TTeGridSkin(TComponent* owner) : TTeWrapped<Base>(owner) {
    this->MakeSubScrollBar(nullptr);
    if (CurrentTheme && IsThemeAvailable(CurrentTheme)) TakeThemeLook(GetThemeLink(this->themeLink_));
}

template <class Base>
void TTeGridSkin<Base>::TakeThemeLook(TteTheme* theme) {
    if (!theme) return;
    this->SetColor(theme->Colors()->GetColor(ktcGrid));
    this->SetDefaultDrawing(!theme->IsGridDefined(kgscGrid, "default"));
}

template <class Base>
void TTeGridSkin<Base>::Loaded() {
    Base::Loaded();
    TteTheme* theme = GetThemeLink(this->themeLink_);
    if (theme && IsThemeAvailable(theme)) TakeThemeLook(theme);
}

template <class Base>
void TTeGridSkin<Base>::WMNCPaint(TMessage& m) {
    this->PaintFrame();
    m.Result = 0;
}

template <class Base>
void TTeGridSkin<Base>::SNMThemeMessage(TMessage& m) {
    if (!this->HandleAllocated()) return;
    switch (m.WParam) {
        case tmChanged:
        case tmApply: TakeThemeLook(GetThemeLink(this->themeLink_)); break;
        case tmReleased:
            this->SetDefaultDrawing(true);
            this->SetColor(clWindow);
            break;
        case tmSystemChanged: this->Invalidate(); return;
        default: return;
    }
    RepaintWrapped(this);
}

template <class Base>
void TTeGridSkin<Base>::PaintBorder(TCanvas& canvas, const TRect& rect) {
    if (IsObjectDefined(kgscGrid, this->themeObject_, this->themeLink_))
        if (TteTheme* theme = GetThemeLink(this->themeLink_)) {
            theme->GridDraw(kgscGrid, canvas, GridInfo(rect), "default");
            return;
        }
    PaintClassicWrappedBorder(canvas, rect, this->ScrollBarStyle() == ssBoth ? kGridCorner : 0, false);
}

template <class Base>
void TTeGridSkin<Base>::PaintBuffer(TCanvas& canvas, const TRect& rect) {
    FillRect(canvas, rect, this->Color());
}

template <class Base>
void TTeGridSkin<Base>::DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {
    TteTheme* theme = IsObjectDefined(kgscGrid, this->themeObject_, this->themeLink_)
                          ? GetThemeLink(this->themeLink_)
                          : nullptr;
    if (!theme) {
        Base::DrawCell(col, row, rect, state);
        return;
    }
    TCanvas& canvas = *this->Canvas();
    const TteGridItemDrawState drawState = CellDrawState(this->Enabled(), state, this->Options());
    const TteGridItemClass itemClass = state.Contains(gdFixed) ? kgicFixed : kgicNormal;
    theme->GridDrawItem(kgscGrid, canvas, GridItemInfo(rect, drawState, itemClass), this->themeObject_);
    TRect shown = rect;
    if constexpr (std::is_base_of_v<TStringGrid, Base>) {
        shown = TRect{rect.left + 2, rect.top + 2, rect.right - 2, rect.bottom - 2};
        theme->GridDrawText(
            kgscGrid, canvas, GridItemInfo(shown, drawState, itemClass),
            TextInfo(shown, Utf8ToWide(this->Cells(col, row)), ktxaTopLeft, {ktxsSingleLine}, ktxoHorizontal),
            this->themeObject_);
    }
    if (this->OnDrawCell) this->OnDrawCell(this, col, row, shown, state);
}

template class TTeGridSkin<TDrawGrid>;
template class TTeGridSkin<TStringGrid>;

void TTeFrame::DeclareMessages(TMessageTable& t) { t.Add<&TTeFrame::WMEraseBkgnd>(WM_ERASEBKGND); }

void TTeFrame::WMEraseBkgnd(TMessage& m) {
    if (HDC dc = DcFromWParam(m.WParam)) DrawControlBackground(this, dc);
    m.Result = 1;
}

void TTeFrame::Paint() { DrawControlBackground(this, *Canvas()); }

}  // namespace tarvel
