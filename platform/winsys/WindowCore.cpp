// Window handles, classes, procedures, creation and destruction, the tree.

#include <algorithm>
#include <cstring>

#include "platform/base/Strings.h"
#include "platform/winsys/GuiTasks.h"
#include "platform/winsys/InputApi.h"
#include "platform/winsys/MessageApi.h"
#include "platform/winsys/SystemApi.h"
#include "platform/winsys/WindowApi.h"
#include "platform/winsys/WinsysState.h"

namespace tarvel {

namespace {

std::unique_ptr<WinsysState>& StatePtr() {
    static std::unique_ptr<WinsysState> state;
    return state;
}

// Live procedure handles, kept apart from the shared owners so that a handle
// read back from a window can be checked before it is called.
std::unordered_map<WindowProcedure*, WindowProcedure*>& ProcRegistry() {
    static std::unordered_map<WindowProcedure*, WindowProcedure*> registry;
    return registry;
}

std::unordered_map<WindowProcedure*, std::shared_ptr<WindowProcedure>>& KeptProcs() {
    static std::unordered_map<WindowProcedure*, std::shared_ptr<WindowProcedure>> kept;
    return kept;
}

const char* const kMessageWindowClass = "TarvelMessageWindow";

HWND NewHandle() {
    WinsysState& s = State();
    s.nextHandle += 4;
    return reinterpret_cast<HWND>(s.nextHandle);
}

// Messages are delivered through this so that a procedure replaced during
// its own call stays alive until it returns.
LRESULT CallProc(Window* w, UINT msg, WPARAM wParam, LPARAM lParam) {
    std::shared_ptr<WindowProcedure> proc = w->proc;
    HWND hwnd = w->hwnd;
    if (!proc) return DefWindowProc(hwnd, msg, wParam, lParam);
    return proc->fn(hwnd, msg, wParam, lParam);
}

void RemoveFromParent(Window* w) {
    if (Window* p = FindWindow(w->parent)) {
        auto& c = p->children;
        c.erase(std::remove(c.begin(), c.end(), w->hwnd), c.end());
    }
}

void SendDestroyMessages(HWND hwnd) {
    Window* w = FindWindow(hwnd);
    if (!w) return;
    SendMessage(hwnd, WM_DESTROY, 0, 0);
    w = FindWindow(hwnd);
    if (!w) return;
    std::vector<HWND> children = w->children;
    for (HWND c : children) SendDestroyMessages(c);
}

void FreeWindowTree(HWND hwnd) {
    Window* w = FindWindow(hwnd);
    if (!w) return;
    std::vector<HWND> children = w->children;
    for (HWND c : children) FreeWindowTree(c);
    SendMessage(hwnd, WM_NCDESTROY, 0, 0);
    w = FindWindow(hwnd);
    if (!w) return;
    WinsysState& s = State();
    ForgetWindowInput(hwnd);
    ForgetWindowDcs(hwnd);
    KillWindowTimers(hwnd);
    RemoveTrayIconsOf(hwnd);
    DropMessagesFor(hwnd);
    if (IsTopLevel(w) && s.backend) s.backend->DestroySurface(hwnd);
    if (IsTopLevel(w)) LeaveBackBuffer(w);
    RemoveFromParent(w);
    s.windows.erase(hwnd);
}

std::string ClassKey(const std::string& name) { return UpperCase(name); }

TRect DefaultBounds(int x, int y, int cx, int cy, bool topLevel) {
    if (topLevel && x == CW_USEDEFAULT) {
        x = 40;
        y = 40;
    } else if (x == CW_USEDEFAULT) {
        x = y = 0;
    }
    if (topLevel && cx == CW_USEDEFAULT) {
        TRect work = State().backend->WorkArea();
        cx = work.Width() / 2;
        cy = work.Height() / 2;
    } else if (cx == CW_USEDEFAULT) {
        cx = cy = 0;
    }
    return Bounds(x, y, std::max(0, cx), std::max(0, cy));
}

}  // namespace

// ---- state ----

WinsysState& State() { return *StatePtr(); }
bool HasState() { return StatePtr() != nullptr; }
bool OnGuiThread() { return HasState() && std::this_thread::get_id() == State().guiThread; }

Window* FindWindow(HWND hwnd) {
    if (!HasState() || !hwnd) return nullptr;
    auto& map = State().windows;
    auto it = map.find(hwnd);
    return it == map.end() ? nullptr : it->second.get();
}

Window* TopLevelOf(Window* w) {
    while (w && !IsTopLevel(w)) {
        if (!w->parent) return nullptr;
        w = FindWindow(w->parent);
    }
    return w;
}

void InitWindowSystem(std::unique_ptr<DisplayBackend> backend) {
    if (HasState()) ShutdownWindowSystem();
    std::unique_lock<std::mutex> lock(WindowSystemLifeLock());
    StatePtr() = std::make_unique<WinsysState>();
    lock.unlock();
    WinsysState& s = State();
    s.backend = std::move(backend);
    s.guiThread = std::this_thread::get_id();
    s.cursor = LoadCursor(IDC_ARROW);

    auto desktop = std::make_unique<Window>();
    desktop->hwnd = NewHandle();
    desktop->style = WS_VISIBLE | WS_CLIPCHILDREN;
    desktop->rect = s.backend->ScreenRect();
    desktop->client = TRect{0, 0, desktop->rect.Width(), desktop->rect.Height()};
    s.desktop = desktop->hwnd;
    s.windows.emplace(desktop->hwnd, std::move(desktop));

    WNDCLASS message;
    message.lpszClassName = kMessageWindowClass;
    RegisterClass(message);
    RegisterMdiClientClass();
}

void ShutdownWindowSystem() {
    if (!HasState()) return;
    WinsysState& s = State();
    std::vector<HWND> all;
    for (auto& [h, w] : s.windows)
        if (h != s.desktop && (w->parent == s.desktop || w->messageOnly)) all.push_back(h);
    for (HWND h : all) DestroyWindow(h);
    std::lock_guard<std::mutex> lock(WindowSystemLifeLock());
    StatePtr().reset();
    DropGuiTasks();
}

DisplayBackend* CurrentBackend() { return HasState() ? State().backend.get() : nullptr; }

// ---- procedures ----

WindowProcedure::~WindowProcedure() { ProcRegistry().erase(this); }

std::shared_ptr<WindowProcedure> ShareWindowProc(WNDPROC proc) {
    auto& reg = ProcRegistry();
    auto it = reg.find(proc);
    if (it == reg.end()) return nullptr;
    return it->second->shared_from_this();
}

WNDPROC MakeWindowProc(WindowProcFn fn) {
    auto proc = std::make_shared<WindowProcedure>();
    proc->fn = std::move(fn);
    ProcRegistry()[proc.get()] = proc.get();
    KeptProcs()[proc.get()] = proc;
    return proc.get();
}

void FreeWindowProc(WNDPROC proc) { KeptProcs().erase(proc); }

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    std::shared_ptr<WindowProcedure> p = ShareWindowProc(proc);
    if (!p) return DefWindowProc(hwnd, msg, wParam, lParam);
    return p->fn(hwnd, msg, wParam, lParam);
}

LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!OnGuiThread()) return 0;
    Window* w = FindWindow(hwnd);
    if (!w || hwnd == State().desktop) return 0;
    return CallProc(w, msg, wParam, lParam);
}

// ---- classes ----

bool RegisterClass(const WNDCLASS& wc) {
    if (!HasState() || wc.lpszClassName.empty()) return false;
    std::string key = ClassKey(wc.lpszClassName);
    if (State().classes.count(key)) return false;
    auto cls = std::make_shared<WindowClass>();
    cls->wc = wc;
    cls->proc = ShareWindowProc(wc.lpfnWndProc);
    State().classes.emplace(key, std::move(cls));
    return true;
}

bool UnregisterClass(const std::string& className) {
    return HasState() && State().classes.erase(ClassKey(className)) > 0;
}

bool GetClassInfo(const std::string& className, WNDCLASS& out) {
    if (!HasState()) return false;
    auto it = State().classes.find(ClassKey(className));
    if (it == State().classes.end()) return false;
    out = it->second->wc;
    return true;
}

std::string GetClassName(HWND hwnd) {
    Window* w = FindWindow(hwnd);
    return w && w->cls ? w->cls->wc.lpszClassName : std::string();
}

// ---- creation and destruction ----

HWND CreateWindowEx(DWORD exStyle, const std::string& className, const std::string& windowName, DWORD style,
                    int x, int y, int width, int height, HWND parent, intptr_t id, void* param) {
    if (!OnGuiThread()) return nullptr;
    WinsysState& s = State();
    auto clsIt = s.classes.find(ClassKey(className));
    if (clsIt == s.classes.end()) return nullptr;

    bool messageOnly = parent == HWND_MESSAGE;
    bool child = !messageOnly && (style & WS_CHILD);
    if (child && !FindWindow(parent)) return nullptr;
    HWND owner = nullptr;
    if (!child && !messageOnly && parent) {
        if (!FindWindow(parent)) return nullptr;
        owner = GetAncestor(parent, GA_ROOT);
    }

    auto win = std::make_unique<Window>();
    Window* w = win.get();
    w->hwnd = NewHandle();
    w->cls = clsIt->second;
    w->proc = w->cls->proc;
    w->style = style & ~(WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
    w->exStyle = exStyle;
    w->messageOnly = messageOnly;
    w->parent = messageOnly ? nullptr : (child ? parent : s.desktop);
    w->owner = owner;
    w->id = child ? id : 0;
    w->rect = messageOnly ? TRect{} : DefaultBounds(x, y, width, height, !child);
    HWND hwnd = w->hwnd;
    s.windows.emplace(hwnd, std::move(win));

    if (IsTopLevel(w) && (style & (WS_CAPTION | WS_THICKFRAME))) {
        MINMAXINFO mmi = QueryMinMaxInfo(hwnd);
        if (!(w = FindWindow(hwnd))) return nullptr;
        int cx = std::clamp(w->rect.Width(), 0, std::max(0, mmi.ptMaxTrackSize.x));
        int cy = std::clamp(w->rect.Height(), 0, std::max(0, mmi.ptMaxTrackSize.y));
        w->rect = Bounds(w->rect.left, w->rect.top, cx, cy);
    }

    CREATESTRUCT cs;
    cs.lpCreateParams = param;
    cs.hwndParent = parent;
    cs.x = w->rect.left;
    cs.y = w->rect.top;
    cs.cx = w->rect.Width();
    cs.cy = w->rect.Height();
    cs.style = style;
    cs.dwExStyle = exStyle;
    cs.lpszName = windowName;
    cs.lpszClass = className;

    if (Window* p = FindWindow(w->parent)) ZOrderInsert(p, hwnd, HWND_TOP);
    if (!SendMessage(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (!(w = FindWindow(hwnd))) return nullptr;
    if (!w->messageOnly) RecalcClient(w, nullptr);
    if (IsTopLevel(w)) {
        ResizeBackBuffer(w);
        TopLevelInfo info;
        info.bounds = w->rect;
        info.title = w->text;
        info.pixels = w->buffer;
        s.backend->CreateSurface(hwnd, info);
        SyncTopLevel(w);
        RestackTopLevels();
    }
    if (SendMessage(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (!(w = FindWindow(hwnd))) return nullptr;
    if (!w->messageOnly) {
        SendMessage(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(w->client.Width(), w->client.Height()));
        if (!(w = FindWindow(hwnd))) return nullptr;
        SendMessage(hwnd, WM_MOVE, 0, MAKELPARAM(w->rect.left + w->client.left, w->rect.top + w->client.top));
        if (!FindWindow(hwnd)) return nullptr;
        if (style & WS_VISIBLE) {
            int cmd = (style & WS_MAXIMIZE)   ? SW_SHOWMAXIMIZED
                      : (style & WS_MINIMIZE) ? SW_SHOWMINIMIZED
                                              : SW_SHOW;
            ShowWindow(hwnd, cmd);
        }
    }
    return FindWindow(hwnd) ? hwnd : nullptr;
}

bool DestroyWindow(HWND hwnd) {
    if (!OnGuiThread()) return false;
    WinsysState& s = State();
    Window* w = FindWindow(hwnd);
    if (!w || hwnd == s.desktop || w->destroying) return false;
    w->destroying = true;
    if (!w->messageOnly && (w->style & WS_VISIBLE))
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Owned windows go first, as they cannot outlive their owner.
    std::vector<HWND> owned;
    for (auto& [h, other] : s.windows)
        if (other->owner == hwnd) owned.push_back(h);
    for (HWND h : owned) DestroyWindow(h);
    MdiChildGoing(hwnd);

    if (FindWindow(hwnd)) SendDestroyMessages(hwnd);
    if (s.active == hwnd) {
        s.active = nullptr;
        ActivateNextAfter(hwnd);
    }
    FreeWindowTree(hwnd);
    return true;
}

HWND AllocateMessageWindow(WindowProcFn fn) {
    WNDPROC proc = MakeWindowProc(std::move(fn));
    HWND hwnd = CreateWindowEx(0, kMessageWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE);
    if (hwnd) SetWindowProc(hwnd, proc);
    FreeWindowProc(proc);  // the window keeps it
    return hwnd;
}

// ---- queries ----

bool IsWindow(HWND hwnd) { return FindWindow(hwnd) != nullptr && hwnd != State().desktop; }

bool IsChild(HWND parent, HWND hwnd) {
    Window* w = FindWindow(hwnd);
    while (w && (w->style & WS_CHILD)) {
        if (w->parent == parent) return true;
        w = FindWindow(w->parent);
    }
    return false;
}

bool IsWindowVisible(HWND hwnd) {
    Window* w = FindWindow(hwnd);
    if (!w || w->messageOnly) return false;
    for (; w && w->hwnd != State().desktop; w = FindWindow(w->parent))
        if (!(w->style & WS_VISIBLE)) return false;
    return true;
}

bool IsWindowEnabled(HWND hwnd) {
    Window* w = FindWindow(hwnd);
    return w && !(w->style & WS_DISABLED);
}

bool EnableWindow(HWND hwnd, bool enable) {
    Window* w = FindWindow(hwnd);
    if (!w) return false;
    bool wasDisabled = w->style & WS_DISABLED;
    if (wasDisabled == !enable) return wasDisabled;
    if (enable) {
        w->style &= ~WS_DISABLED;
    } else {
        w->style |= WS_DISABLED;
        WinsysState& s = State();
        if (s.focus == hwnd || IsChild(hwnd, s.focus)) SetFocus(nullptr);
        if (s.capture == hwnd) ReleaseCapture();
    }
    SendMessage(hwnd, WM_ENABLE, enable ? 1 : 0, 0);
    return wasDisabled;
}

bool IsIconic(HWND hwnd) {
    Window* w = FindWindow(hwnd);
    return w && (w->style & WS_MINIMIZE);
}

bool IsZoomed(HWND hwnd) {
    Window* w = FindWindow(hwnd);
    return w && (w->style & WS_MAXIMIZE);
}

HWND GetDesktopWindow() { return HasState() ? State().desktop : nullptr; }

HWND GetParent(HWND hwnd) {
    Window* w = FindWindow(hwnd);
    if (!w) return nullptr;
    if (w->style & WS_CHILD) return w->parent;
    return (w->style & WS_POPUP) ? w->owner : nullptr;
}

HWND SetParent(HWND hwnd, HWND newParent) {
    WinsysState& s = State();
    Window* w = FindWindow(hwnd);
    if (!w || w->messageOnly || hwnd == s.desktop) return nullptr;
    if (!newParent) newParent = s.desktop;
    Window* np = FindWindow(newParent);
    if (!np || newParent == hwnd || IsChild(hwnd, newParent)) return nullptr;
    HWND old = w->parent;
    if (old == newParent) return old;
    bool visible = w->style & WS_VISIBLE;
    if (visible) ShowWindow(hwnd, SW_HIDE);
    if (!(w = FindWindow(hwnd))) return nullptr;
    bool wasTop = IsTopLevel(w);
    RemoveFromParent(w);
    w->parent = newParent;
    ZOrderInsert(np, hwnd, HWND_TOP);
    if (newParent == s.desktop) {
        w->style &= ~WS_CHILD;
        if (!wasTop) {
            ResizeBackBuffer(w);
            TopLevelInfo info;
            info.bounds = w->rect;
            info.pixels = w->buffer;
            s.backend->CreateSurface(hwnd, info);
        }
    } else {
        w->style |= WS_CHILD;
        if (wasTop) {
            s.backend->DestroySurface(hwnd);
            w->buffer.reset();
        }
    }
    RestackTopLevels();
    MoveWindowDcs();
    if (visible) ShowWindow(hwnd, SW_SHOWNA);
    return old;
}

HWND GetAncestor(HWND hwnd, UINT flags) {
    WinsysState& s = State();
    Window* w = FindWindow(hwnd);
    if (!w || hwnd == s.desktop) return nullptr;
    switch (flags) {
        case GA_PARENT: return w->parent;
        case GA_ROOT: {
            Window* top = w->messageOnly ? w : TopLevelOf(w);
            return top ? top->hwnd : nullptr;
        }
        case GA_ROOTOWNER: {
            Window* top = w->messageOnly ? w : TopLevelOf(w);
            while (top && top->owner) top = FindWindow(top->owner);
            return top ? top->hwnd : nullptr;
        }
    }
    return nullptr;
}

std::vector<HWND> GetChildWindows(HWND parent) {
    Window* w = FindWindow(parent);
    return w ? w->children : std::vector<HWND>{};
}

HWND FindWindowEx(HWND parent, HWND childAfter, const std::string& className, const std::string& windowName) {
    Window* w = FindWindow(parent ? parent : GetDesktopWindow());
    if (!w) return nullptr;
    const std::vector<HWND>& children = w->children;
    auto it = children.begin();
    if (childAfter) {
        it = std::find(children.begin(), children.end(), childAfter);
        if (it == children.end()) return nullptr;
        ++it;
    }
    const std::string key = className.empty() ? std::string() : ClassKey(className);
    for (; it != children.end(); ++it) {
        Window* c = FindWindow(*it);
        if (!c) continue;
        if (!key.empty() && (!c->cls || ClassKey(c->cls->wc.lpszClassName) != key)) continue;
        if (!windowName.empty() && c->text != windowName) continue;
        return *it;
    }
    return nullptr;
}

HWND GetTopWindow(HWND parent) {
    Window* w = FindWindow(parent ? parent : GetDesktopWindow());
    return w && !w->children.empty() ? w->children.front() : nullptr;
}

HWND GetWindow(HWND hwnd, UINT cmd) {
    Window* w = FindWindow(hwnd);
    if (!w) return nullptr;
    if (cmd == GW_OWNER) return w->owner;
    if (cmd == GW_CHILD) return w->children.empty() ? nullptr : w->children.front();
    Window* p = FindWindow(w->parent);
    if (!p) return nullptr;
    const auto& sib = p->children;
    auto it = std::find(sib.begin(), sib.end(), hwnd);
    switch (cmd) {
        case GW_HWNDFIRST: return sib.front();
        case GW_HWNDLAST: return sib.back();
        case GW_HWNDNEXT: return (it != sib.end() && it + 1 != sib.end()) ? *(it + 1) : nullptr;
        case GW_HWNDPREV: return (it != sib.end() && it != sib.begin()) ? *(it - 1) : nullptr;
    }
    return nullptr;
}

// ---- window data ----

WNDPROC GetWindowProc(HWND hwnd) {
    Window* w = FindWindow(hwnd);
    return w ? w->proc.get() : nullptr;
}

WNDPROC SetWindowProc(HWND hwnd, WNDPROC proc) {
    Window* w = FindWindow(hwnd);
    if (!w) return nullptr;
    std::shared_ptr<WindowProcedure> p = ShareWindowProc(proc);
    if (!p) return nullptr;
    WNDPROC old = w->proc.get();
    w->proc = std::move(p);
    return old;
}

LONG_PTR GetWindowLongPtr(HWND hwnd, int index) {
    Window* w = FindWindow(hwnd);
    if (!w) return 0;
    switch (index) {
        case GWL_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc.get());
        case GWL_HWNDPARENT: return reinterpret_cast<LONG_PTR>((w->style & WS_CHILD) ? w->parent : w->owner);
        case GWL_ID: return w->id;
        case GWL_STYLE: return static_cast<LONG_PTR>(w->style);
        case GWL_EXSTYLE: return static_cast<LONG_PTR>(w->exStyle);
        case GWL_USERDATA: return w->userData;
    }
    return 0;
}

LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value) {
    Window* w = FindWindow(hwnd);
    if (!w) return 0;
    LONG_PTR old = GetWindowLongPtr(hwnd, index);
    switch (index) {
        case GWL_WNDPROC:
            // An unknown value would be a dangling procedure: refuse it.
            if (!SetWindowProc(hwnd, reinterpret_cast<WNDPROC>(value))) return 0;
            break;
        case GWL_HWNDPARENT:
            if (!(w->style & WS_CHILD))
                w->owner =
                    FindWindow(reinterpret_cast<HWND>(value)) ? reinterpret_cast<HWND>(value) : nullptr;
            break;
        case GWL_ID: w->id = value; break;
        case GWL_STYLE: {
            // Visibility and state bits change only through ShowWindow and
            // EnableWindow; the frame bits are stored for the frames to read.
            constexpr DWORD kKept = WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE | WS_CHILD;
            w->style = (w->style & kKept) | (static_cast<DWORD>(value) & ~kKept);
            SyncTopLevel(w);  // the display's frame may size it, or no more
            break;
        }
        case GWL_EXSTYLE:
            w->exStyle = static_cast<DWORD>(value);
            if (!(w->exStyle & WS_EX_LAYERED)) ForgetLayering(w);
            SyncTopLevel(w);
            break;
        case GWL_USERDATA: w->userData = value; break;
        default: return 0;
    }
    return old;
}

bool SetWindowText(HWND hwnd, const std::string& text) {
    if (!FindWindow(hwnd)) return false;
    return SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) != 0;
}

int GetWindowTextLength(HWND hwnd) {
    return FindWindow(hwnd) ? static_cast<int>(SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0)) : 0;
}

std::string GetWindowText(HWND hwnd) {
    int len = GetWindowTextLength(hwnd);
    if (len <= 0) return std::string();
    std::string buf(static_cast<size_t>(len) + 1, '\0');
    LRESULT got = SendMessage(hwnd, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()));
    buf.resize(static_cast<size_t>(std::clamp<LRESULT>(got, 0, len)));
    return buf;
}

bool SetProp(HWND hwnd, const std::string& name, intptr_t value) {
    Window* w = FindWindow(hwnd);
    if (!w) return false;
    w->props[UpperCase(name)] = value;
    return true;
}

intptr_t GetProp(HWND hwnd, const std::string& name) {
    Window* w = FindWindow(hwnd);
    if (!w) return 0;
    auto it = w->props.find(UpperCase(name));
    return it == w->props.end() ? 0 : it->second;
}

intptr_t RemoveProp(HWND hwnd, const std::string& name) {
    Window* w = FindWindow(hwnd);
    if (!w) return 0;
    auto it = w->props.find(UpperCase(name));
    if (it == w->props.end()) return 0;
    intptr_t v = it->second;
    w->props.erase(it);
    return v;
}

}  // namespace tarvel
