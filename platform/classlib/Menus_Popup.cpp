// The popup windows of menus and the modal menu loop that runs them.

#include <algorithm>

#include "platform/classlib/Application.h"
#include "platform/classlib/ImageLists.h"
#include "platform/classlib/Menus.h"
#include "platform/classlib/StdCtrls.h"
#include "platform/classlib/StdCtrls_Draw.h"
#include "platform/winsys/Backend.h"

namespace tarvel {

namespace {

constexpr const char* kMenuWindowClass = "TarvelMenuWindow";
constexpr int kBorder = 3;
constexpr int kCheckColumn = 20;
constexpr int kArrowColumn = 16;
constexpr int kLineHeight = 8;

// How a popup opened from a menu bar ended, besides a choice.
enum class BarExit { none, previous, next, escape, all };

struct MenuLevel {
    TMenuItem* parent = nullptr;
    HWND window = nullptr;
    std::vector<TMenuItem*> items;  // the visible sub-items
    std::vector<TRect> rects;       // window coordinates
    int hot = -1;
};

class MenuLoop {
public:
    explicit MenuLoop(TCustomImageList* images, bool fromBar = false, bool selectFirst = false)
        : images_(images), fromBar_(fromBar), selectFirst_(selectFirst) {}
    TMenuItem* Run(TMenuItem* root, TPoint at);
    BarExit Exit() const { return exit_; }
    void Paint(HWND window);
    HWND Outermost() const { return levels_.empty() ? nullptr : levels_.front().window; }

private:
    void Open(TMenuItem* parent, TPoint at, int besideLeft);
    void CloseAbove(size_t level);
    void SetHot(size_t level, int index);
    void OpenSubmenu(size_t level);
    void Choose(size_t level, int index);
    bool Selectable(const TMenuItem* item) const { return !item->IsLine(); }
    void MoveHot(int step);
    void HandleMouse(const MSG& msg);
    void HandleKey(WPARAM key);
    void HandleChar(char16_t ch);
    bool Find(TPoint screen, size_t& level, int& index) const;

    TFont font_;
    TCustomImageList* images_;
    std::vector<MenuLevel> levels_;
    TMenuItem* chosen_ = nullptr;
    bool done_ = false;
    // Opened from a menu bar: Left/Right at the edge leave for the bar's
    // neighbours. Opened by a key, the first item starts selected.
    bool fromBar_ = false;
    bool selectFirst_ = false;
    BarExit exit_ = BarExit::none;
};

MenuLoop* gLoop = nullptr;

struct BarState {
    HWND window = nullptr;
    TMenuItem* hot = nullptr;
};
BarState* gBar = nullptr;

LRESULT MenuWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT:
            if (gLoop)
                gLoop->Paint(hwnd);
            else
                DefWindowProc(hwnd, msg, wParam, lParam);
            return 0;
        case WM_ERASEBKGND: return 1;
        case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

void EnsureMenuClass() {
    static WNDPROC proc = MakeWindowProc(&MenuWindowProc);
    WNDCLASS existing;
    if (GetClassInfo(kMenuWindowClass, existing)) return;
    WNDCLASS wc;
    wc.style = CS_SAVEBITS | CS_DROPSHADOW;
    wc.lpfnWndProc = proc;
    wc.lpszClassName = kMenuWindowClass;
    RegisterClass(wc);
}

void DrawArrow(HDC dc, const TRect& r, TColor color) {
    HBRUSH brush = CreateSolidBrush(ColorToColorRef(color));
    HPEN pen = CreatePen(PS_SOLID, 1, ColorToColorRef(color));
    HBRUSH oldBrush = SelectObject(dc, brush);
    HPEN oldPen = SelectObject(dc, pen);
    int cx = r.left + r.Width() / 2 - 1, cy = r.top + r.Height() / 2;
    TPoint pts[] = {{cx, cy - 3}, {cx + 3, cy}, {cx, cy + 3}};
    Polygon(dc, pts, 3);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

void DrawCheck(HDC dc, const TRect& r, TColor color) {
    HPEN pen = CreatePen(PS_SOLID, 1, ColorToColorRef(color));
    HPEN old = SelectObject(dc, pen);
    int x = r.left + (r.Width() - 7) / 2, y = r.top + r.Height() / 2 - 1;
    for (int d = 0; d < 3; ++d) {
        MoveToEx(dc, x, y + d, nullptr);
        LineTo(dc, x + 2, y + 2 + d);
        LineTo(dc, x + 7, y - 3 + d);
    }
    SelectObject(dc, old);
    DeleteObject(pen);
}

}  // namespace

void MenuLoop::Open(TMenuItem* parent, TPoint at, int besideLeft) {
    MenuLevel level;
    level.parent = parent;
    for (int i = 0; i < parent->Count(); ++i)
        if (parent->Items(i)->Visible()) level.items.push_back(parent->Items(i));
    if (level.items.empty()) return;

    const int textHeight = MeasureText(&font_, "Wg", 0, false).cy;
    const int itemHeight = std::max(textHeight + 6, 19);
    int captionWidth = 0, shortCutWidth = 0;
    for (TMenuItem* item : level.items) {
        captionWidth = std::max(captionWidth, MeasureText(&font_, item->Caption(), 0, true).cx);
        shortCutWidth =
            std::max(shortCutWidth, MeasureText(&font_, ShortCutToText(item->ShortCut()), 0, false).cx);
    }
    const int width =
        2 * kBorder + kCheckColumn + captionWidth + (shortCutWidth ? shortCutWidth + 16 : 0) + kArrowColumn;
    int y = kBorder;
    for (TMenuItem* item : level.items) {
        int h = item->IsLine() ? kLineHeight : itemHeight;
        level.rects.push_back(TRect{kBorder, y, width - kBorder, y + h});
        y += h;
    }
    const int height = y + kBorder;

    TRect area;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &area, 0);
    int x = at.x, top = at.y;
    if (x + width > area.right) x = besideLeft >= 0 ? besideLeft - width : area.right - width;
    if (top + height > area.bottom) top = area.bottom - height;
    x = std::max(area.left, x);
    top = std::max(area.top, top);

    EnsureMenuClass();
    level.window = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kMenuWindowClass, "",
                                  WS_POPUP, x, top, width, height, nullptr);
    if (!level.window) return;
    levels_.push_back(std::move(level));
    ShowWindow(levels_.back().window, SW_SHOWNA);
    UpdateWindow(levels_.back().window);
}

void MenuLoop::CloseAbove(size_t level) {
    while (levels_.size() > level + 1) {
        DestroyWindow(levels_.back().window);
        levels_.pop_back();
    }
}

void MenuLoop::SetHot(size_t level, int index) {
    MenuLevel& l = levels_[level];
    if (l.hot == index) return;
    l.hot = index;
    InvalidateRect(l.window, nullptr, false);
    if (levels_.size() > level + 1 &&
        (index < 0 || levels_[level + 1].parent != l.items[static_cast<size_t>(index)]))
        CloseAbove(level);
}

void MenuLoop::OpenSubmenu(size_t level) {
    MenuLevel& l = levels_[level];
    if (l.hot < 0) return;
    TMenuItem* item = l.items[static_cast<size_t>(l.hot)];
    if (item->Count() == 0 || !item->Enabled()) return;
    if (levels_.size() > level + 1 && levels_[level + 1].parent == item) return;
    CloseAbove(level);
    TRect wr = WindowRect(l.window);
    TRect r = l.rects[static_cast<size_t>(l.hot)];
    Open(item, TPoint{wr.right - kBorder, wr.top + r.top - kBorder}, wr.left + kBorder);
}

void MenuLoop::Choose(size_t level, int index) {
    if (index < 0) return;
    TMenuItem* item = levels_[level].items[static_cast<size_t>(index)];
    if (item->IsLine() || !item->Enabled()) return;
    if (item->Count() > 0) {
        SetHot(level, index);
        OpenSubmenu(level);
        if (levels_.size() > level + 1) levels_.back().hot = 0;
        return;
    }
    chosen_ = item;
    done_ = true;
}

bool MenuLoop::Find(TPoint screen, size_t& level, int& index) const {
    for (size_t l = levels_.size(); l-- > 0;) {
        TRect wr = WindowRect(levels_[l].window);
        if (!wr.Contains(screen)) continue;
        level = l;
        index = -1;
        TPoint p{screen.x - wr.left, screen.y - wr.top};
        for (size_t i = 0; i < levels_[l].rects.size(); ++i)
            if (levels_[l].rects[i].Contains(p)) index = static_cast<int>(i);
        return true;
    }
    return false;
}

void MenuLoop::HandleMouse(const MSG& msg) {
    size_t level = 0;
    int index = -1;
    const bool over = Find(msg.pt, level, index);
    switch (msg.message) {
        case WM_MOUSEMOVE:
        case WM_NCMOUSEMOVE:
            if (!over) return;
            SetHot(level,
                   index >= 0 && Selectable(levels_[level].items[static_cast<size_t>(index)]) ? index : -1);
            OpenSubmenu(level);
            return;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
            if (!over) done_ = true;
            return;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_NCLBUTTONUP:
        case WM_NCRBUTTONUP:
            if (over) Choose(level, index);
            return;
    }
}

void MenuLoop::MoveHot(int step) {
    MenuLevel& l = levels_.back();
    const int n = static_cast<int>(l.items.size());
    int i = l.hot;
    for (int tries = 0; tries < n; ++tries) {
        i = i < 0 ? (step > 0 ? 0 : n - 1) : (i + step + n) % n;
        if (Selectable(l.items[static_cast<size_t>(i)])) {
            SetHot(levels_.size() - 1, i);
            return;
        }
    }
}

void MenuLoop::HandleKey(WPARAM key) {
    const auto leave = [this](BarExit exit) {
        exit_ = exit;
        done_ = true;
    };
    switch (key) {
        case VK_ESCAPE:
            if (levels_.size() > 1)
                CloseAbove(levels_.size() - 2);
            else
                leave(BarExit::escape);
            break;
        case VK_MENU:
        case VK_F10:
            if (fromBar_) leave(BarExit::all);
            break;
        case VK_UP: MoveHot(-1); break;
        case VK_DOWN: MoveHot(1); break;
        case VK_RIGHT: {
            const size_t before = levels_.size();
            OpenSubmenu(levels_.size() - 1);
            if (fromBar_ && levels_.size() == before && levels_.back().hot >= 0) {
                leave(BarExit::next);
                break;
            }
            if (levels_.back().hot < 0) MoveHot(1);
            break;
        }
        case VK_LEFT:
            if (levels_.size() > 1)
                CloseAbove(levels_.size() - 2);
            else if (fromBar_)
                leave(BarExit::previous);
            break;
        case VK_RETURN: Choose(levels_.size() - 1, levels_.back().hot); break;
    }
}

void MenuLoop::HandleChar(char16_t ch) {
    MenuLevel& l = levels_.back();
    for (size_t i = 0; i < l.items.size(); ++i) {
        if (IsAccel(ch, l.items[i]->Caption())) {
            Choose(levels_.size() - 1, static_cast<int>(i));
            return;
        }
    }
}

TMenuItem* MenuLoop::Run(TMenuItem* root, TPoint at) {
    Open(root, at, -1);
    if (levels_.empty()) return nullptr;
    if (selectFirst_) MoveHot(1);
    const HWND outer = levels_.front().window;
    SetCapture(outer);
    while (!done_) {
        if (GetCapture() != outer) break;
        MSG msg;
        if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (Application)
                Application->Idle();
            else
                WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            exit_ = BarExit::all;
            break;
        }
        const UINT m = msg.message;
        if ((m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) || (m >= WM_NCMOUSEMOVE && m <= WM_NCMBUTTONDBLCLK)) {
            HandleMouse(msg);
        } else if (m == WM_KEYDOWN || m == WM_SYSKEYDOWN) {
            HandleKey(msg.wParam);
            if (!done_ && m == WM_KEYDOWN) TranslateMessage(&msg);
        } else if (m == WM_CHAR || m == WM_SYSCHAR) {
            HandleChar(static_cast<char16_t>(msg.wParam));
        } else if (m != WM_KEYUP && m != WM_SYSKEYUP) {
            DispatchMessage(&msg);
        }
    }
    if (GetCapture() == outer) ReleaseCapture();
    CloseAbove(0);
    DestroyWindow(levels_.front().window);
    levels_.clear();
    return chosen_;
}

void MenuLoop::Paint(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    if (!dc) return;
    auto level =
        std::find_if(levels_.begin(), levels_.end(), [&](const MenuLevel& l) { return l.window == window; });
    TRect client = ClientRect(window);
    FillColor(dc, client, clMenu);
    DrawEdge(dc, &client, EDGE_RAISED, BF_RECT);
    if (level != levels_.end()) {
        for (size_t i = 0; i < level->items.size(); ++i) {
            TMenuItem* item = level->items[i];
            TRect r = level->rects[i];
            if (item->IsLine()) {
                TRect line{r.left + 1, r.top + r.Height() / 2 - 1, r.right - 1, r.top + r.Height() / 2 + 1};
                DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
                continue;
            }
            const bool hot = static_cast<int>(i) == level->hot;
            TColor text = hot ? clHighlightText : clMenuText;
            if (hot) FillColor(dc, r, clHighlight);
            TRect caption{r.left + kCheckColumn, r.top, r.right - kArrowColumn, r.bottom};
            const String shortCut = ShortCutToText(item->ShortCut());
            if (!item->Enabled()) {
                if (!hot) {
                    TRect shadow = caption;
                    shadow.Offset(1, 1);
                    DrawCaption(dc, &font_, item->Caption(), shadow, DT_SINGLELINE | DT_VCENTER,
                                clBtnHighlight);
                    DrawCaption(dc, &font_, shortCut, shadow, DT_SINGLELINE | DT_VCENTER | DT_RIGHT,
                                clBtnHighlight);
                }
                text = clGrayText;
            }
            DrawCaption(dc, &font_, item->Caption(), caption, DT_SINGLELINE | DT_VCENTER, text);
            DrawCaption(dc, &font_, shortCut, caption, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX,
                        text);
            const TRect column{r.left, r.top, r.left + kCheckColumn, r.bottom};
            if (images_ && item->ImageIndex() >= 0 && item->ImageIndex() < images_->Count()) {
                TCanvas canvas;
                canvas.SetHandle(dc);
                images_->Draw(&canvas, column.left + (kCheckColumn - images_->Width()) / 2,
                              column.top + (column.Height() - images_->Height()) / 2, item->ImageIndex(),
                              item->Enabled());
                canvas.SetHandle(nullptr);
            } else if (item->Checked()) {
                DrawCheck(dc, column, text);
            }
            if (item->Count() > 0)
                DrawArrow(dc, TRect{r.right - kArrowColumn, r.top, r.right, r.bottom}, text);
        }
    }
    EndPaint(window, &ps);
}

TMenuItem* TrackMenu(TMenuItem* root, TPoint screen, TCustomImageList* images) {
    if (!root || !CurrentBackend()) return nullptr;
    MenuLoop loop(images);
    MenuLoop* outer = gLoop;
    gLoop = &loop;
    TMenuItem* chosen = nullptr;
    try {
        chosen = loop.Run(root, screen);
    } catch (...) {
        gLoop = outer;
        throw;
    }
    gLoop = outer;
    return chosen;
}

namespace {
TMenuWindowProbe gProbe = nullptr;
}  // namespace

void SetMenuWindowProbe(TMenuWindowProbe probe) { gProbe = probe; }

HWND ActiveMenuWindow() {
    if (gLoop) return gLoop->Outermost();
    if (gBar) return gBar->window;
    return gProbe ? gProbe() : nullptr;
}

TMenuItem* ActiveMenuBarItem() { return gBar ? gBar->hot : nullptr; }

// ---- the menu bar's loop ----------------------------------------------------------------------

namespace {

class MenuBarLoop {
public:
    MenuBarLoop(const TMenuBarSite& bar, TMenuBarStart start)
        : bar_(bar), escapeEnds_(start == mbsMouse), selectFirst_(start == mbsSelect) {}
    TMenuItem* Run(int hot, bool open);

private:
    void SetHot(int index) {
        hot_ = index;
        state_.hot = index >= 0 ? bar_.items[static_cast<size_t>(index)] : nullptr;
        if (bar_.showHot) bar_.showHot(index);
    }
    void Step(int step) {
        selectFirst_ = true;
        const int n = static_cast<int>(bar_.items.size());
        SetHot((hot_ + step + n) % n);
    }
    void OpenHot();
    void HandleKey(const MSG& msg);
    void Finish(BarState* outer);

    const TMenuBarSite& bar_;
    const bool escapeEnds_;
    bool selectFirst_;
    BarState state_;
    int hot_ = -1;
    bool open_ = false;
    bool done_ = false;
    TMenuItem* chosen_ = nullptr;
};

// Opens the hot item's popup, and the neighbours' while Left or Right leave it.
void MenuBarLoop::OpenHot() {
    while (open_ && !done_) {
        TMenuItem* item = bar_.items[static_cast<size_t>(hot_)];
        if (!item->Enabled()) {
            open_ = false;
            return;
        }
        item->Click();  // a top item's OnClick may fill its sub-items first
        if (item->Count() == 0) {
            done_ = true;
            return;
        }
        const TRect& r = bar_.rects[static_cast<size_t>(hot_)];
        MenuLoop loop(bar_.images, true, selectFirst_);
        MenuLoop* outer = gLoop;
        gLoop = &loop;
        try {
            chosen_ = loop.Run(item, TPoint{r.left, r.bottom});
        } catch (...) {
            gLoop = outer;
            throw;
        }
        gLoop = outer;
        if (chosen_) {
            done_ = true;
            return;
        }
        switch (loop.Exit()) {
            case BarExit::previous: Step(-1); break;
            case BarExit::next: Step(1); break;
            case BarExit::escape:
                open_ = false;
                done_ = escapeEnds_;
                break;
            case BarExit::none:
            case BarExit::all: done_ = true; break;
        }
    }
}

void MenuBarLoop::HandleKey(const MSG& msg) {
    switch (msg.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            switch (msg.wParam) {
                case VK_LEFT: Step(-1); return;
                case VK_RIGHT: Step(1); return;
                case VK_UP:
                case VK_DOWN:
                case VK_RETURN:
                    selectFirst_ = true;
                    open_ = true;
                    return;
                case VK_ESCAPE: done_ = true; return;
                case VK_MENU:
                case VK_F10: return;  // they end the loop when let go
            }
            TranslateMessage(&msg);
            return;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            if (msg.wParam == VK_MENU || msg.wParam == VK_F10) done_ = true;
            return;
        case WM_CHAR:
        case WM_SYSCHAR:
            for (size_t i = 0; i < bar_.items.size(); ++i) {
                if (IsAccel(static_cast<char16_t>(msg.wParam), bar_.items[i]->Caption())) {
                    SetHot(static_cast<int>(i));
                    open_ = true;
                    return;
                }
            }
            return;
    }
}

TMenuItem* MenuBarLoop::Run(int hot, bool open) {
    state_.window = bar_.window;
    BarState* outer = gBar;
    gBar = &state_;
    SetHot(hot);
    open_ = open;
    try {
        while (!done_) {
            if (open_) {
                OpenHot();
                continue;
            }
            if (GetCapture() != bar_.window) SetCapture(bar_.window);
            if (GetCapture() != bar_.window) break;
            MSG msg;
            if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (Application)
                    Application->Idle();
                else
                    WaitMessage();
                if (GetCapture() != bar_.window) break;  // someone took the mouse: the bar gives up
                continue;
            }
            const UINT m = msg.message;
            if (m == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            if (m >= WM_KEYFIRST && m <= WM_KEYLAST) {
                HandleKey(msg);
            } else if (m == WM_LBUTTONDOWN || m == WM_RBUTTONDOWN || m == WM_MBUTTONDOWN ||
                       m == WM_NCLBUTTONDOWN || m == WM_NCRBUTTONDOWN) {
                done_ = true;  // a click anywhere leaves the bar
            } else if (!(m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) && m != WM_NCMOUSEMOVE) {
                DispatchMessage(&msg);
            }
        }
    } catch (...) {
        Finish(outer);
        throw;
    }
    Finish(outer);
    return chosen_;
}

void MenuBarLoop::Finish(BarState* outer) {
    if (GetCapture() == bar_.window) ReleaseCapture();
    gBar = outer;
    if (bar_.showHot) bar_.showHot(-1);
}

}  // namespace

TMenuItem* TrackMenuBar(const TMenuBarSite& bar, int hot, TMenuBarStart start) {
    if (bar.items.empty() || bar.items.size() != bar.rects.size() || !CurrentBackend()) return nullptr;
    hot = std::clamp(hot, 0, static_cast<int>(bar.items.size()) - 1);
    MenuBarLoop loop(bar, start);
    return loop.Run(hot, start != mbsSelect);
}

}  // namespace tarvel
