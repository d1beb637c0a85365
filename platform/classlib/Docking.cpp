#include "platform/classlib/Docking.h"

#include <algorithm>
#include <vector>

#include "platform/classlib/Application.h"
#include "platform/winsys/InputApi.h"
#include "platform/winsys/WindowApi.h"

namespace tarvel {

namespace {

// Every dock site, in the order they became one.
std::vector<TWinControl*>& DockSites() {
    static std::vector<TWinControl*> sites;
    return sites;
}

bool IsWithin(const TControl* control, const TControl* ancestor) {
    for (const TControl* c = control; c; c = c->Parent())
        if (c == ancestor) return true;
    return false;
}

// Moves the tool window so that its control's top-left comes to `at`.
void PlaceHost(TToolDockForm* host, TControl* control, TPoint at) {
    const TPoint now = control->ClientToScreen(TPoint{0, 0});
    host->SetBounds(host->Left() + at.x - now.x, host->Top() + at.y - now.y, host->Width(), host->Height());
}

}  // namespace

// ---- the tool window ------------------------------------------------------------------------------

TToolDockForm::TToolDockForm(TComponent* owner)
    : TCustomForm(owner), canvas_(std::make_unique<TControlCanvas>(this)) {
    SetBorderStyle(bsNone);
    SetColor(clBtnFace);
}

TToolDockForm::~TToolDockForm() = default;

TRect TToolDockForm::CaptionRect() {
    return TRect{kFrame, kFrame, ClientWidth() - kFrame, kFrame + GetSystemMetrics(SM_CYSMCAPTION)};
}

void TToolDockForm::Hold(TControl* control) {
    const TRect strip = CaptionRect();
    SetClientWidth(control->Width() + 2 * kFrame);
    SetClientHeight(control->Height() + strip.bottom + kFrame);
    control->SetAlign(alNone);
    control->SetParent(this);
    control->SetBounds(kFrame, strip.bottom, control->Width(), control->Height());
    SetCaption(control->Text().empty() ? control->Name() : control->Text());
}

void TToolDockForm::PaintWindow(HDC dc) {
    canvas_->PaintOn(dc, [this] {
        TCanvas& c = *canvas_;
        const TRect client = GetClientRect();
        c.Brush()->SetColor(clBtnFace);
        c.FillRect(client);
        // A raised frame, then the strip in the caption's colours.
        c.Pen()->SetColor(clBtnHighlight);
        c.MoveTo(client.left, client.bottom - 1);
        c.LineTo(client.left, client.top);
        c.LineTo(client.right - 1, client.top);
        c.Pen()->SetColor(clBtnShadow);
        c.LineTo(client.right - 1, client.bottom - 1);
        c.LineTo(client.left, client.bottom - 1);
        const TRect strip = CaptionRect();
        c.Brush()->SetColor(clActiveCaption);
        c.FillRect(strip);
        c.Font()->SetColor(clCaptionText);
        c.Font()->SetStyle(TFontStyles{fsBold});
        c.Brush()->SetStyle(bsClear);
        const TSize text = c.TextExtent(Caption());
        c.TextRect(strip, strip.left + 3, strip.top + (strip.Height() - text.cy) / 2, Caption());
        c.Brush()->SetStyle(bsSolid);
    });
}

void TToolDockForm::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomForm::MouseDown(button, shift, x, y);
    TControl* control = DockedControl();
    if (button != mbLeft || !control || control->DragKind() != dkDock) return;
    if (!CaptionRect().Contains(TPoint{x, y})) return;
    // The strip carries the control: the drag starts once the pointer moves.
    control->BeginDrag(false);
}

TToolDockForm* FloatingHost(const TControl* control) {
    return control ? dynamic_cast<TToolDockForm*>(control->Parent()) : nullptr;
}

TWinControl* FindDockSite(const TControl* dragged, TPoint screen) {
    const HWND under = WindowFromPoint(screen);
    const HWND underRoot = under ? GetAncestor(under, GA_ROOT) : nullptr;
    TToolDockForm* host = FloatingHost(dragged);
    const HWND hostRoot = host && host->HandleAllocated() ? host->Handle() : nullptr;
    TWinControl* best = nullptr;
    for (TWinControl* site : DockSites()) {
        if (!site->HandleAllocated() || !site->Showing() || IsWithin(site, dragged)) continue;
        if (host && IsWithin(site, host)) continue;
        if (!WindowRect(site->Handle()).Contains(screen)) continue;
        // Another window over the site hides it; the dragged one's own does not.
        const HWND root = GetAncestor(site->Handle(), GA_ROOT);
        if (underRoot && underRoot != root && underRoot != hostRoot) continue;
        if (!best || IsWithin(site, best)) best = site;
    }
    return best;
}

// ---- the dock site --------------------------------------------------------------------------------

void TWinControl::SetDockSite(bool value) {
    if (value == dockSite_) return;
    dockSite_ = value;
    std::vector<TWinControl*>& sites = DockSites();
    if (value)
        sites.push_back(this);
    else
        std::erase(sites, this);
}

void TWinControl::DockOver(TDragDockObject&, int, int, TDragState, bool& accept) { accept = dockSite_; }

void TWinControl::DockDrop(TDragDockObject& source, int, int) {
    source.Control->ManualDock(this, ScreenToClient(TPoint{source.DockRect.left, source.DockRect.top}));
}

// ---- the dragged control --------------------------------------------------------------------------

bool TControl::Floating() const { return FloatingHost(this) != nullptr; }

void TControl::ManualFloat(const TRect& screenRect) {
    TToolDockForm* host = FloatingHost(this);
    if (!host) {
        // The window goes with the control's owner, or lasts as long as the application.
        host = new TToolDockForm(Owner() ? Owner() : Application);
        host->Hold(this);
    }
    PlaceHost(host, this, TPoint{screenRect.left, screenRect.top});
    host->Show();
}

void TControl::ManualDock(TWinControl* site, TPoint at) {
    if (!site) return;
    TToolDockForm* host = FloatingHost(this);
    SetBounds(at.x, at.y, Width(), Height());
    SetParent(site);
    if (host) {
        // The window may be handling the very message that docks the control.
        host->Hide();
        host->Release();
    }
}

TWinControl* TDragDockObject::DockTarget() const { return static_cast<TWinControl*>(DragTarget); }

void TControl::DragDockMove(TPoint screen) {
    TDragDockObject& d = static_cast<TDragDockObject&>(*dragObject_);
    d.DockRect = Bounds(screen.x + d.GrabOffset.x, screen.y + d.GrabOffset.y, Width(), Height());
    // A floating control's window follows the pointer.
    if (TToolDockForm* host = FloatingHost(this))
        PlaceHost(host, this, TPoint{d.DockRect.left, d.DockRect.top});
    TWinControl* site = FindDockSite(this, screen);
    if (d.DragTarget && d.DragTarget != site) {
        bool accept = false;
        const TPoint at = d.DragTarget->ScreenToClient(screen);
        d.DockTarget()->DockOver(d, at.x, at.y, dsDragLeave, accept);
    }
    const TDragState state = site == d.DragTarget ? dsDragMove : dsDragEnter;
    d.DragTarget = site;
    d.Accepted = false;
    if (site) {
        bool accept = true;
        const TPoint at = site->ScreenToClient(screen);
        site->DockOver(d, at.x, at.y, state, accept);
        d.Accepted = accept;
    }
    // The site took the control on the way: the drag is done.
    if (dragObject_ && d.Docked) EndDrag(true);
}

void TControl::DragDockDrop(bool drop) {
    std::unique_ptr<TDragDockObject> d(static_cast<TDragDockObject*>(dragObject_.release()));
    if (!drop || d->Docked) return;
    if (d->DragTarget && d->Accepted) {
        const TPoint at = d->DragTarget->ScreenToClient(TPoint{d->DockRect.left, d->DockRect.top});
        d->DockTarget()->DockDrop(*d, at.x, at.y);
    } else {
        ManualFloat(d->DockRect);
    }
}

}  // namespace tarvel
