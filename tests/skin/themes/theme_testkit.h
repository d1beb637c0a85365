#pragma once
// What the built-in theme tests share: the window system and theme core
// with the built-in themes registered, and a white bitmap to draw on.

#include <gtest/gtest.h>

#include "platform/classlib/testing/UiDriver.h"
#include "skin/core/te_theme_api.h"
#include "skin/themes/theme_flat.h"
#include "skin/themes/theme_officexp.h"

namespace tarvel::testing {

class BuiltInThemeTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitThemeCore();
        InitThemeFlat();
        InitThemeOfficeXP();
    }
    void TearDown() override { DoneThemeCore(); }

    TUiDriver ui_;
};

struct TPaper {
    TteBitmap bitmap;
    TCanvas canvas;
    TPaper(int w, int h) {
        bitmap.SetSize(w, h);
        bitmap.Clear(0xFFFFFFFF);
        canvas.SetHandle(bitmap.DC());
    }
    ~TPaper() { canvas.SetHandle(HDC{}); }
    uint32_t At(int x, int y) const { return bitmap.GetPixel(x, y) & 0xFFFFFF; }
    bool SameAs(const TPaper& other) const {
        for (int y = 0; y < bitmap.Height(); ++y)
            for (int x = 0; x < bitmap.Width(); ++x)
                if (At(x, y) != other.At(x, y)) return false;
        return true;
    }
};

// A colour as drawn into a bitmap.
inline uint32_t Rgb(TColor c) { return ColorRefToPixel(ColorToColorRef(c)) & 0xFFFFFF; }

}  // namespace tarvel::testing
