// The frame's own window states: it maximizes, minimizes, rolls up and
// restores by moving the window itself and never reads the window system's
// state.

#include "platform/classlib/Application.h"
#include "platform/winsys/ShellApi.h"
#include "skin/forms/te_forms_frame.h"

namespace tarvel {

void TTeDefaultForm::Maximize() {
    hoverHit_ = kwhtNonClient;
    if (windowState_ == kwsMaximized) return Restore();
    if (!AskAction(OnMaximize)) return;
    prevState_ = windowState_;
    if (loadedState_ == kwsNormal && windowState_ != kwsRollup && windowState_ != kwsMinimized)
        restoreBounds_ = FormBounds();
    windowState_ = kwsMaximized;
    MoveWindow(GetMaximizedRect());
    loadedState_ = kwsNormal;
    if (TCustomForm* form = GetForm()) form->Invalidate();
    UpdateNonClientArea();
}

void TTeDefaultForm::Minimize() {
    hoverHit_ = kwhtNonClient;
    TCustomForm* form = GetForm();
    if (!form || Designing()) return;
    if (windowState_ == kwsMinimized) return Restore();
    if (form->FormState().Contains(fsModal) && !MinimizeApplication) return;
    if (!AskAction(OnMinimize)) return;
    const TTeWindowState was = windowState_;
    if (loadedState_ == kwsNormal && was != kwsRollup && was != kwsMaximized) restoreBounds_ = FormBounds();
    prevState_ = was;
    windowState_ = kwsMinimized;
    loadedState_ = kwsNormal;
    HWND h = GetHandle();
    if (!GetParent(h))
        ShowWindow(h, SW_MINIMIZE);
    else
        MoveWindow(GetMinimizedRect());
}

void TTeDefaultForm::Rollup() {
    hoverHit_ = kwhtNonClient;
    if (Designing()) return;
    if (windowState_ == kwsRollup) return Restore();
    if (!AskAction(OnRollup)) return;
    const TTeWindowState was = windowState_;
    if (was != kwsMinimized && was != kwsMaximized) restoreBounds_ = FormBounds();
    prevState_ = was;
    windowState_ = kwsRollup;
    loadedState_ = kwsNormal;
    MoveWindow(GetRollupRect());
}

void TTeDefaultForm::MinToTray() {
    hoverHit_ = kwhtNonClient;
    TCustomForm* form = GetForm();
    if (Designing() || !form || form->FormState().Contains(fsModal)) return;
    if (windowState_ == kwsTray) return Restore();
    if (!AskAction(OnMinToTray)) return;
    HWND h = GetHandle();
    if (SendMessage(h, FM_TRAYQUERY, reinterpret_cast<WPARAM>(h), 0) == 1) return;
    const TTeWindowState was = windowState_;
    if (loadedState_ == kwsNormal && was == kwsNormal) restoreBounds_ = FormBounds();
    prevState_ = was;
    windowState_ = kwsTray;
    loadedState_ = kwsNormal;
    // The tray shows the window as its icon: the window is iconified.
    ShowWindow(h, SW_MINIMIZE);
}

void TTeDefaultForm::Restore() {
    hoverHit_ = kwhtNonClient;
    HWND h = GetHandle();
    const TTeWindowState state = windowState_, prev = prevState_;
    auto toNormal = [&] {
        windowState_ = kwsNormal;
        if (h && IsIconic(h)) ShowWindow(h, SW_RESTORE);
        MoveWindow(restoreBounds_);
    };
    switch (state) {
        case kwsMaximized:
            if (prev == kwsMinimized) {
                if (MinimizeApplication) return;
                toNormal();
                Maximize();
                prevState_ = kwsNormal;
            } else if (prev == kwsRollup) {
                toNormal();
                Rollup();
                prevState_ = kwsNormal;
            } else {
                prevState_ = kwsMaximized;
                toNormal();
            }
            break;
        case kwsMinimized:
            if (h && IsIconic(h)) ShowWindow(h, SW_RESTORE);
            if (prev == kwsMaximized) {
                windowState_ = kwsNormal;
                Maximize();
                prevState_ = kwsNormal;
            } else if (prev == kwsRollup) {
                windowState_ = kwsNormal;
                Rollup();
                prevState_ = kwsNormal;
            } else {
                toNormal();
            }
            break;
        case kwsRollup:
            if (GetMaximizedRect().Width() == formWidth_ || prev == kwsMaximized) {
                windowState_ = kwsNormal;
                Maximize();
                prevState_ = kwsNormal;
            } else {
                // The rolled-up form may have been moved: keep its place.
                const TRect f = FormBounds();
                restoreBounds_ = Bounds(f.left, f.top, restoreBounds_.Width(), restoreBounds_.Height());
                toNormal();
            }
            break;
        case kwsTray: {
            if (h) {
                ShowWindow(h, SW_RESTORE);
                SetForegroundWindow(h);
            }
            const TRect saved = restoreBounds_;
            windowState_ = kwsNormal;
            if (prev == kwsMaximized)
                Maximize();
            else if (prev == kwsRollup)
                Rollup();
            else
                MoveWindow(saved);
            restoreBounds_ = saved;
            break;
        }
        case kwsNormal: break;
    }
    UpdateNonClientArea();
}

}  // namespace tarvel
