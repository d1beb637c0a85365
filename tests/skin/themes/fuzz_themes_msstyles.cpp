// Visual styles from untrusted bytes, two ways: the bytes as a container
// (loading answers true or false, never raises, and a refused one leaves the
// theme as it was), and the bytes as the style text of a well-formed
// container, whose objects are then all drawn.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "skin/themes/theme_msstyles.h"

using namespace tarvel;

namespace {

bool Load(TTeThemeMsStyles& theme, const uint8_t* data, size_t size) {
    TMemoryStream s;
    if (size > 0) s.WriteBuffer(data, static_cast<int64_t>(size));
    s.SetPosition(0);
    return theme.LoadFromStream(s);
}

void DrawEverything(TTeThemeMsStyles& theme) {
    TteBitmap target;
    target.SetSize(48, 32);
    TCanvas* c = target.GetCanvas();
    for (int slot = 0; slot < kMsStylesObjectCount; ++slot)
        for (int state : {0, 1, 3, 17}) theme.ObjectAt(slot)->Draw(*c, TRect{2, 3, 46, 30}, NullRect, state);
    TteWindowInfo window;
    window.Rect = TRect{0, 0, 200, 120};
    window.DrawState = {kwdsActive};
    window.Buttons = {kwbClose, kwbMax, kwbMin, kwbSysMenu};
    theme.WindowDraw(kwscStandard, *c, window, "default");
    theme.WindowGetTitleRect(kwscStandard, window, "default");
    if (HRGN region = theme.WindowGetRegion(kwscToolWindow, window.Rect, "default")) DeleteObject(region);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TTeThemeMsStyles theme;
    theme.Name = "before";
    if (!Load(theme, data, size) && (theme.Name != "before" || theme.Images().Count() != 0)) std::abort();

    TTeThemeMsStyles writer;
    writer.Name = "text";
    writer.StyleText().SetText(std::string_view(reinterpret_cast<const char*>(data), size));
    auto* strip = new TteBitmap;
    strip->SetSize(16, 4);
    for (int x = 0; x < 16; ++x)
        for (int y = 0; y < 4; ++y)
            strip->SetPixel(x, y, 0xFF000000u | (x * 0x0F0F0Fu) | (y == 0 ? 0xFF00FFu : 0));
    strip->Name = "STRIP_BMP";
    writer.Images().Add(strip);
    TMemoryStream container;
    writer.SaveToStream(container);
    container.SetPosition(0);
    TTeThemeMsStyles styled;
    if (styled.LoadFromStream(container)) DrawEverything(styled);
    return 0;
}
