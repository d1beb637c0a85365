#include "skin/controls/te_controls_views.h"

#include <algorithm>

#include "platform/classlib/Application.h"
#include "platform/gdi/Gdi.h"
#include "platform/winsys/MessageApi.h"
#include "platform/winsys/PaintApi.h"
#include "platform/winsys/WindowApi.h"
#include "skin/core/te_const.h"
#include "skin/core/te_forms.h"
#include "skin/core/te_theme_colors.h"
#include "skin/core/te_theme_manager.h"
#include "skin/core/te_utils_draw.h"

namespace tarvel {

namespace {

// The corner where both native bars meet, painted in the classic look.
constexpr int kViewCorner = 25;
// Room a header image takes before the caption in the plain looks.
constexpr int kHeaderImageRoom = 17;

// The classic frame of the views: corner, two edges, then the ring between
// the edges and the client in the view's colour.
void PaintClassicViewBorder(TCanvas& canvas, const TRect& rect, TColor color) {
    PaintClassicWrappedBorder(canvas, rect, kViewCorner, true);
    FillRect(canvas, TRect{rect.left + 2, rect.top + 2, rect.right - 2, rect.bottom - 2}, color);
}

// The view's colours from the theme, or the system's when it was released.
void TakeThemeColours(TControl* view, TteCustomThemeLink* link, TteThemeColor colour, UINT code) {
    if (code == tmReleased) {
        view->SetColor(clWindow);
        view->Font()->SetColor(clWindowText);
        return;
    }
    if (code != tmChanged && code != tmApply) return;
    TteTheme* theme = GetThemeLink(link);
    if (!theme) return;
    view->SetColor(theme->Colors()->GetColor(colour));
    if (TFont* font = theme->Fonts()->GetFont(ktfListItemTextNormal)) view->Font()->SetColor(font->Color());
}

TRect Shrunk(const TRect& r, int by) { return TRect{r.left + by, r.top + by, r.right - by, r.bottom - by}; }

bool IsFrameRepaintCode(WPARAM code) {
    return code == tmChanged || code == tmApply || code == tmReleased || code == tmSystemChanged;
}

bool IsOwnLink(const TMessage& m, TteCustomThemeLink* link) {
    return link && reinterpret_cast<TteCustomThemeLink*>(m.LParam) == link;
}

}  // namespace

// ---- tree view -------------------------------------------------------------------------------

void TTeTreeView::DeclareMessages(TMessageTable& t) {
    DeclareWrappedMessages(t);
    t.Add<&TTeTreeView::WMNCPaint>(WM_NCPAINT);
    t.Add<&TTeTreeView::WMEraseBkgnd>(WM_ERASEBKGND);
    t.Add<&TTeTreeView::SNMThemeMessage>(SNM_THEMEMESSAGE);
    t.Add<&TTeTreeView::SNMLinkChanged>(SNM_LINKCHANGED);
}

TTeTreeView::TTeTreeView(TComponent* owner) : TTeWrapped<TTreeView>(owner) { MakeSubScrollBar(); }

void TTeTreeView::ThemeLinkChanged() {
    HandThemeLinkToBars(SubScrollBar(), themeLink_);
    ApplyThemeBounds();
}

void TTeTreeView::ApplyThemeBounds() { UpdateThemeLink(this, themeLink_, themeObject_, true); }

void TTeTreeView::PaintBorder(TCanvas& canvas, const TRect& rect) {
    if (IsObjectDefined(ktscTreeList, themeObject_, themeLink_))
        if (TteTheme* theme = GetThemeLink(themeLink_)) {
            theme->TreeDraw(ktscTreeList, canvas, TreeInfo(rect), "default");
            return;
        }
    PaintClassicViewBorder(canvas, rect, Color());
}

void TTeTreeView::PaintBuffer(TCanvas& canvas, const TRect& rect) { FillRect(canvas, rect, Color()); }

void TTeTreeView::WMNCPaint(TMessage& m) {
    PaintFrame(false);
    m.Result = 0;
}

void TTeTreeView::SNMThemeMessage(TMessage& m) {
    if (!HandleAllocated() || !IsFrameRepaintCode(m.WParam)) return;
    TakeThemeColours(this, themeLink_, ktcTree, static_cast<UINT>(m.WParam));
    RepaintWrapped(this);
}

void TTeTreeView::SNMLinkChanged(TMessage& m) {
    if (IsOwnLink(m, themeLink_)) ApplyThemeBounds();
}

// ---- list view -------------------------------------------------------------------------------

struct TTeListView::THeaderLink {
    TTeListView* owner = nullptr;
    WNDPROC saved = nullptr;
};

void TTeListView::DeclareMessages(TMessageTable& t) {
    DeclareWrappedMessages(t);
    t.Add<&TTeListView::WMNCPaint>(WM_NCPAINT);
    t.Add<&TTeListView::WMEraseBkgnd>(WM_ERASEBKGND);
    t.Add<&TTeListView::WMPaint>(WM_PAINT);
    t.Add<&TTeListView::LMAutosizeColumns>(LM_AUTOSIZECOLUMNS);
    t.Add<&TTeListView::SNMThemeMessage>(SNM_THEMEMESSAGE);
    t.Add<&TTeListView::SNMLinkChanged>(SNM_LINKCHANGED);
}

TTeListView::TTeListView(TComponent* owner) : TTeWrapped<TListView>(owner) {
    MakeSubScrollBar();
    // A divider drag that ended.
    Header()->OnSectionResize = [this](THeaderControl*, THeaderSection*) {
        if (OnColumnResized) OnColumnResized(this);
        AutosizeColumns();
    };
}

TTeListView::~TTeListView() {
    Header()->OnSectionResize = nullptr;
    UnhookHeader();
}

void TTeListView::ThemeLinkChanged() {
    HandThemeLinkToBars(SubScrollBar(), themeLink_);
    UpdateThemeLink(this, themeLink_, themeObject_, true);
}

void TTeListView::SNMLinkChanged(TMessage& m) {
    if (IsOwnLink(m, themeLink_)) UpdateThemeLink(this, themeLink_, themeObject_, true);
}

void TTeListView::SetAutoSizeColumn(bool value) {
    if (value == autoSizeColumn_) return;
    autoSizeColumn_ = value;
    if (!ComponentState().Contains(csDesigning)) Header()->SetFullDrag(!value);
    AutosizeColumns();
    Invalidate();
}

TRect TTeListView::GetHeaderSectionRect(int place) {
    const std::vector<int> order = Header()->SectionOrder();
    if (place < 0 || place >= static_cast<int>(order.size())) return TRect{};
    return Header()->SectionRect(order[static_cast<size_t>(place)]);
}

void TTeListView::AutosizeColumns() {
    if (!autoSizeColumn_ || ViewStyle() != vsReport || Columns()->Count() == 0) return;
    // The column shown last fills the rest; never narrower than nothing.
    const std::vector<int> order = Header()->SectionOrder();
    if (order.empty()) return;
    const int last = order.back();
    if (last >= Columns()->Count()) return;
    const int width = std::max(0, ClientWidth() - Header()->SectionRect(last).left);
    if (Columns()->Items(last)->Width() != width) Columns()->Items(last)->SetWidth(width);
}

void TTeListView::Resize() {
    TTeWrapped<TListView>::Resize();
    if (HandleAllocated()) PostMessage(Handle(), LM_AUTOSIZECOLUMNS, 0, 0);
}

void TTeListView::CreateHandleDone() {
    TTeWrapped<TListView>::CreateHandleDone();
    HookHeader();
    AutosizeColumns();
    if (autoSizeColumn_) Header()->SetFullDrag(false);
}

void TTeListView::PaintBorder(TCanvas& canvas, const TRect& rect) {
    if (IsObjectDefined(klscListBox, themeObject_, themeLink_))
        if (TteTheme* theme = GetThemeLink(themeLink_)) {
            theme->ListDraw(klscListBox, canvas, ListInfo(rect), "default");
            return;
        }
    PaintClassicViewBorder(canvas, rect, Color());
}

void TTeListView::PaintBuffer(TCanvas& canvas, const TRect& rect) { FillRect(canvas, rect, Color()); }

void TTeListView::WMNCPaint(TMessage& m) {
    PaintFrame(false);
    m.Result = 0;
}

void TTeListView::WMEraseBkgnd(TMessage& m) {
    if (!disableEraseBkgnd_) {
        EraseWith(m, Inflated());
        return;
    }
    if (OnEraseBkgnd) {
        TCanvas canvas;
        canvas.SetHandle(DcFromWParam(m.WParam));
        OnEraseBkgnd(this, canvas);
        canvas.SetHandle(nullptr);
    }
    m.Result = 1;
}

void TTeListView::WMPaint(TMessage& m) {
    DispatchFrom(TListView::StaticClass(), m);
    SubScrollBar()->UpdateBars();
}

void TTeListView::SNMThemeMessage(TMessage& m) {
    if (!HandleAllocated() || !IsFrameRepaintCode(m.WParam)) return;
    TakeThemeColours(this, themeLink_, ktcList, static_cast<UINT>(m.WParam));
    RepaintWrapped(this);
    if (header_) RedrawWindow(header_, nullptr, nullptr, RDW_INVALIDATE);
}

// ---- the header, painted by us -------------------------------------------------------------

void TTeListView::HookHeader() {
    THeaderControl* header = Header();
    if (headerProc_ || !header->HandleAllocated()) return;
    auto link = std::make_shared<THeaderLink>();
    link->owner = this;
    headerProc_ = MakeWindowProc([link](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (!link->owner) return CallWindowProc(link->saved, hwnd, msg, wParam, lParam);
        TMessage m{msg, wParam, lParam, 0};
        link->owner->HeaderWndProc(m);
        return m.Result;
    });
    header_ = header->Handle();
    link->saved = SetWindowProc(header_, headerProc_);
    headerLink_ = link;
}

void TTeListView::UnhookHeader() {
    if (!headerProc_) return;
    if (IsWindow(header_) && GetWindowProc(header_) == headerProc_)
        SetWindowProc(header_, headerLink_->saved);
    // Subclassed again after us, our procedure stays in that chain and passes everything on.
    headerLink_->owner = nullptr;
    headerLink_.reset();
    FreeWindowProc(headerProc_);
    headerProc_ = nullptr;
    header_ = nullptr;
}

void TTeListView::HeaderWndProc(TMessage& message) {
    const std::shared_ptr<THeaderLink> link = headerLink_;
    const HWND header = header_;
    auto own = [&] {
        message.Result = CallWindowProc(link->saved, header, message.Msg, message.WParam, message.LParam);
    };
    try {
        switch (message.Msg) {
            case WM_PAINT: PaintHeader(nullptr); return;
            case WM_ERASEBKGND: message.Result = 1; return;
            case WM_NCDESTROY:
                own();
                UnhookHeader();
                return;
            case WM_LBUTTONDOWN: {
                const THeaderHit hit =
                    Header()->HitTest(TPoint{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)});
                pressedSection_ = hit.onDivider ? -1 : hit.section;
                InvalidateRect(header, nullptr, false);
                break;
            }
            case WM_LBUTTONUP:
            case WM_RBUTTONUP:
                pressedSection_ = -1;
                InvalidateRect(header, nullptr, false);
                break;
            default: break;
        }
        own();
        switch (message.Msg) {
            case WM_MOUSEMOVE:
            case WM_LBUTTONDOWN:
            case WM_LBUTTONUP:
            case WM_RBUTTONUP: AutosizeColumns(); break;
            default: break;
        }
    } catch (...) {
        if (Application) Application->HandleException(this);
    }
}

void TTeListView::PaintHeader(HDC dc) {
    PAINTSTRUCT ps;
    const bool own = dc == nullptr;
    if (own) dc = BeginPaint(header_, &ps);
    struct End {
        bool own;
        HWND h;
        PAINTSTRUCT* ps;
        ~End() {
            if (own) EndPaint(h, ps);
        }
    } end{own, header_, &ps};
    TCanvas canvas;
    canvas.SetHandle(dc);
    // Each section shows the caption of the column it stands for, wherever
    // that column was dragged to.
    const std::vector<int> order = Header()->SectionOrder();
    int right = 0;
    for (int index : order) {
        const TRect r = Header()->SectionRect(index);
        const String caption = index < Columns()->Count() ? Columns()->Items(index)->Caption()
                                                          : Header()->Sections()->Items(index)->Text();
        DrawHeaderSection(canvas, r, index, Utf8ToWide(caption), index == pressedSection_,
                          index == hotSection_, false);
        right = std::max(right, r.right);
    }
    const TRect trailing{right, 0, Header()->Width() + 2, Header()->Height()};
    if (!autoSizeColumn_ && !trailing.IsEmpty())
        DrawHeaderSection(canvas, trailing, -1, {}, false, false, true);
    canvas.SetHandle(nullptr);
}

void TTeListView::DrawHeaderImage(TCanvas& canvas, const TRect& rect, int index) {
    TCustomImageList* images = Header()->Images();
    if (!images || index < 0 || index >= Header()->Sections()->Count()) return;
    const int image = Header()->Sections()->Items(index)->ImageIndex();
    if (image >= 0 && image < images->Count()) images->Draw(&canvas, rect.left, rect.top, image);
}

void TTeListView::DrawHeaderSection(TCanvas& canvas, const TRect& rect, int index, const WideString& text,
                                    bool pressed, bool hot, bool trailing) {
    const TAlignment alignment =
        index >= 0 && index < Columns()->Count() ? Columns()->Items(index)->Alignment() : taLeftJustify;
    TteTheme* theme = IsObjectDefined(khscHeader, "default", themeLink_) ? GetThemeLink(themeLink_) : nullptr;
    if (theme) {
        const TteSectionDrawState state = trailing  ? khdsNormal
                                          : pressed ? khdsPressed
                                          : hot     ? khdsHot
                                                    : khdsNormal;
        TRect r = rect;
        TteSectionState position = khssMiddle;
        const TTeInplaceScrollBar* horz = SubScrollBar()->HorzBar();
        if (index == 0 && !trailing) {
            position = khssFirst;
        } else if (trailing) {
            r.right = Width();
            position = khssLast;
        } else if (index == Columns()->Count() - 1 && horz && horz->Visible()) {
            position = khssLast;
        }
        theme->HeaderDrawSection(khscHeader, canvas, HeaderSectionInfo(r, position, state), "default");
        r = Shrunk(r, 1);
        if (!trailing) DrawHeaderImage(canvas, r, index);
        r = Shrunk(r, 2);
        const TteThemeFont font = pressed ? ktfHeaderSectionTextPressed
                                  : hot   ? ktfHeaderSectionTextHot
                                          : ktfHeaderSectionTextNormal;
        if (TFont* f = theme->Fonts()->GetFont(font)) canvas.Font()->Assign(f);
        unsigned flags = DT_LEFT;
        if (!trailing && alignment == taRightJustify) flags = DT_RIGHT;
        if (!trailing && alignment == taCenter) flags = DT_CENTER;
        flags |= DT_VCENTER | DT_SINGLELINE;
        theme->HeaderDrawText(khscHeader, canvas, HeaderSectionInfo(r, khssMiddle, state),
                              TextInfo(r, text, flags), "default");
        return;
    }
    TRect r = rect;
    DrawFrameControl(canvas.Handle(), &r, DFC_BUTTON,
                     DFCS_BUTTONPUSH | (pressed && !trailing ? unsigned{DFCS_FLAT} : 0u));
    if (trailing) return;
    TRect inner = rect;
    inner = Shrunk(inner, 1);
    TCustomImageList* images = Header()->Images();
    if (images && index < Header()->Sections()->Count() &&
        Header()->Sections()->Items(index)->ImageIndex() >= 0) {
        DrawHeaderImage(canvas, inner, index);
        inner.left += kHeaderImageRoom;
    }
    if (pressed) inner.Offset(1, 1);
    inner = Shrunk(inner, 3);
    canvas.Font()->Assign(Font());
    canvas.Brush()->SetStyle(bsClear);
    DrawText(canvas, FormatStr(canvas.Handle(), text, inner.Width()), inner,
             DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}

}  // namespace tarvel
