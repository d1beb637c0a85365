// The popup windows of menus and the modal menu loop that runs them.

#include <algorithm>

#include "platform/winsys/Backend.h"
#include "platform/classlib/Application.h"
#include "platform/classlib/ImageLists.h"
#include "platform/classlib/Menus.h"
#include "platform/classlib/StdCtrls.h"
#include "platform/classlib/StdCtrls_Draw.h"

namespace tarvel {

namespace {

constexpr const char* kMenuWindowClass = "TarvelMenuWindow";
constexpr int kBorder = 3;
constexpr int kCheckColumn = 20;
constexpr int kArrowColumn = 16;
constexpr int kLineHeight = 8;

struct MenuLevel {
    TMenuItem* parent = nullptr;
    HWND window = nullptr;
    std::vector<TMenuItem*> items;  // the visible sub-items
    std::vector<TRect> rects;       // window coordinates
    int hot = -1;
};

class MenuLoop {
public:
    explicit MenuLoop(TCustomImageList* images) : images_(images) {}
    TMenuItem* Run(TMenuItem* root, TPoint at);
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
};

MenuLoop* gLoop = nullptr;

LRESULT MenuWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT:
            if (gLoop) gLoop->Paint(hwnd);
            else DefWindowProc(hwnd, msg, wParam, lParam);
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
        shortCutWidth = std::max(shortCutWidth, MeasureText(&font_, ShortCutToText(item->ShortCut()), 0, false).cx);
    }
    const int width = 2 * kBorder + kCheckColumn + captionWidth + (shortCutWidth ? shortCutWidth + 16 : 0) + kArrowColumn;
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
    level.window = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kMenuWindowClass, "", WS_POPUP,
                                  x, top, width, height, nullptr);
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
    if (levels_.size() > level + 1 && (index < 0 || levels_[level + 1].parent != l.items[static_cast<size_t>(index)]))
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
            SetHot(level, index >= 0 && Selectable(levels_[level].items[static_cast<size_t>(index)]) ? index : -1);
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
    switch (key) {
        case VK_ESCAPE:
            if (levels_.size() > 1) CloseAbove(levels_.size() - 2);
            else done_ = true;
            break;
        case VK_UP: MoveHot(-1); break;
        case VK_DOWN: MoveHot(1); break;
        case VK_RIGHT:
            OpenSubmenu(levels_.size() - 1);
            if (levels_.back().hot < 0) MoveHot(1);
            break;
        case VK_LEFT:
            if (levels_.size() > 1) CloseAbove(levels_.size() - 2);
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
    const HWND outer = levels_.front().window;
    SetCapture(outer);
    while (!done_) {
        if (GetCapture() != outer) break;
        MSG msg;
        if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (Application) Application->Idle();
            else WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
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
    auto level = std::find_if(levels_.begin(), levels_.end(), [&](const MenuLevel& l) { return l.window == window; });
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
                    DrawCaption(dc, &font_, item->Caption(), shadow, DT_SINGLELINE | DT_VCENTER, clBtnHighlight);
                    DrawCaption(dc, &font_, shortCut, shadow, DT_SINGLELINE | DT_VCENTER | DT_RIGHT, clBtnHighlight);
                }
                text = clGrayText;
            }
            DrawCaption(dc, &font_, item->Caption(), caption, DT_SINGLELINE | DT_VCENTER, text);
            DrawCaption(dc, &font_, shortCut, caption, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX, text);
            const TRect column{r.left, r.top, r.left + kCheckColumn, r.bottom};
            if (images_ && item->ImageIndex() >= 0 && item->ImageIndex() < images_->Count()) {
                TCanvas canvas;
                canvas.SetHandle(dc);
                images_->Draw(&canvas, column.left + (kCheckColumn - images_->Width()) / 2,
                              column.top + (column.Height() - images_->Height()) / 2, item->ImageIndex(), item->Enabled());
                canvas.SetHandle(nullptr);
            } else if (item->Checked()) {
                DrawCheck(dc, column, text);
            }
            if (item->Count() > 0) DrawArrow(dc, TRect{r.right - kArrowColumn, r.top, r.right, r.bottom}, text);
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

HWND ActiveMenuWindow() { return gLoop ? gLoop->Outermost() : nullptr; }

}  // namespace tarvel
