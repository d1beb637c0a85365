#pragma once
// A form on the headless screen for the tests of single controls, with the
// UI driver and a way to read the pixels a control shows.

#include <gtest/gtest.h>

#include "platform/classlib/Forms.h"
#include "platform/classlib/testing/UiDriver.h"

namespace tarvel {

class ControlFixture : public ::testing::Test {
protected:
    ControlFixture() {
        form = new TForm(Application);
        form->SetName("TestForm");
        form->SetBounds(20, 20, 480, 360);
        form->SetColor(clWhite);
    }

    template <class T>
    T* Add(const String& name, TRect bounds, TWinControl* parent = nullptr) {
        T* c = new T(form);
        c->SetName(name);
        c->SetParent(parent ? parent : form);
        c->SetBounds(bounds.left, bounds.top, bounds.Width(), bounds.Height());
        return c;
    }

    void ShowForm() {
        form->Show();
        Snap();
    }

    // The colour (0x00RRGGBB) shown at a client point of the control, from
    // a snapshot taken after the loop ran (Snap() takes a new one).
    uint32_t PixelAt(TControl* control, TPoint client) {
        if (!snapshot_) Snap();
        if (!snapshot_) return 0xFFFFFFFFu;
        const TPoint screen = control->ClientToScreen(client);
        const TRect w = WindowRect(form->Handle());
        return snapshot_->Pixel(screen.x - w.left, screen.y - w.top) & 0xFFFFFFu;
    }
    void Snap() {
        ui.RunUntilIdle();
        snapshot_ = ui.Backend().WindowPixels(form->Handle());
    }
    // Pixels of the control's client area that `match` accepts.
    template <class F>
    int CountPixels(TControl* control, F match) {
        Snap();
        int n = 0;
        for (int y = 0; y < control->ClientHeight(); ++y)
            for (int x = 0; x < control->ClientWidth(); ++x)
                if (match(PixelAt(control, TPoint{x, y}))) ++n;
        return n;
    }

    static uint32_t Rgb(TColor c) { return ColorRefToPixel(ColorToColorRef(c)); }

    TUiDriver ui;
    TForm* form = nullptr;

private:
    std::unique_ptr<Surface> snapshot_;
};

}  // namespace tarvel
