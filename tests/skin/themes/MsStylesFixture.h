#pragma once
// What the visual-style tests build for themselves (there are no visual
// styles on this system, and none is taken from elsewhere): images made
// pixel by pixel, style texts, a container writer of their own, byte by
// byte, and resource-only modules through the test PE builder.

#include <zlib.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "Se3FileFixture.h"
#include "ThemeFixture.h"
#include "skin/themes/theme_msstyles.h"
#include "tests/platform/system/PeBuilderFixture.h"

namespace tarvel::testing {

// An image as a test makes it: pixels 0xAARRGGBB, top row first.
struct TStyleImage {
    std::string Name;
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Pixels;
    bool Transparent = false;
    bool AlphaBlend = false;

    static TStyleImage Paint(std::string name, int w, int h, const std::function<uint32_t(int, int)>& pixel) {
        TStyleImage image{std::move(name), w, h, {}};
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) image.Pixels.push_back(pixel(x, y));
        return image;
    }
};

inline TteBitmap* ToBitmap(const TStyleImage& image) {
    auto* bitmap = new TteBitmap;
    bitmap->SetSize(image.Width, image.Height);
    std::copy(image.Pixels.begin(), image.Pixels.end(), bitmap->Bits());
    bitmap->Name = image.Name;
    bitmap->Transparent = image.Transparent;
    bitmap->AlphaBlend = image.AlphaBlend;
    return bitmap;
}

// The opaque colour that marks frame k (from 1) of a state strip.
inline uint32_t StateColour(int k) {
    return 0xFF000000u | (static_cast<uint32_t>(k * 13) << 16) | (static_cast<uint32_t>(240 - k * 9) << 8) |
           0x40u;
}
// The frame a drawn pixel shows, 0 for none.
inline int StateOf(uint32_t pixel) {
    for (int k = 1; k <= 16; ++k)
        if ((StateColour(k) & 0xFFFFFF) == (pixel & 0xFFFFFF)) return k;
    return 0;
}

// Sixteen frames of 4 x 4 side by side, each of its own colour: drawing an
// object that uses it shows which state index it was drawn with.
inline TStyleImage StateStrip(const std::string& name = "STATES_BMP") {
    return TStyleImage::Paint(name, 64, 4, [](int x, int) { return StateColour(x / 4 + 1); });
}

// A section that draws the state strip stretched.
inline std::string StripSection(const std::string& section) {
    return "[" + section + "]\r\nimagefile = states.bmp\r\nimagecount = 16\r\nsizingtype = stretch\r\n";
}

// The style text of every style class drawing the strip (but those left
// out), with metrics, and the extra text after it.
inline std::string StripStyle(const std::string& extra = "",
                              std::initializer_list<std::string> leaveOut = {}) {
    std::string text;
    for (const char* name : MsStylesClassNames())
        if (std::find(leaveOut.begin(), leaveOut.end(), name) == leaveOut.end()) text += StripSection(name);
    text +=
        "[SysMetrics]\r\nCaptionBarHeight=25\r\nBorderWidth=4\r\nSMCaptionBarHeight=17\r\nSMBorderWidth="
        "3\r\n";
    return text + extra;
}

// "QVMSSTL" and the rest deflated at the fastest level.
inline std::vector<uint8_t> Container(const std::string& name, const std::string& text,
                                      const std::vector<TStyleImage>& images, int level = 1) {
    SkinBytes body;
    body.Lps(name).Lps(text).I32(static_cast<uint32_t>(images.size()));
    for (const TStyleImage& image : images) {
        body.Lps(image.Name).I32(static_cast<uint32_t>(image.Width)).I32(static_cast<uint32_t>(image.Height));
        for (uint32_t p : image.Pixels) body.I32(p);
        body.Lps(image.Name)
            .Raw({image.Transparent ? uint8_t{1} : uint8_t{0}, image.AlphaBlend ? uint8_t{1} : uint8_t{0}});
    }
    SkinBytes file;
    file.Text("QVMSSTL").Bytes(Deflate(body.data, level));
    return file.data;
}

inline bool LoadContainer(TTeThemeMsStyles& theme, const std::vector<uint8_t>& bytes) {
    TMemoryStream stream;
    if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    stream.SetPosition(0);
    return theme.LoadFromStream(stream);
}

// UTF-16 bytes of a text, as a module keeps it.
inline std::vector<uint8_t> Utf16(const std::u16string& text) {
    std::vector<uint8_t> bytes;
    for (char16_t ch : text) {
        bytes.push_back(static_cast<uint8_t>(ch));
        bytes.push_back(static_cast<uint8_t>(ch >> 8));
    }
    return bytes;
}
// Zero-terminated names, then the empty name.
inline std::vector<uint8_t> NameList(const std::vector<std::u16string>& names) {
    std::u16string all;
    for (const auto& n : names) all += n + u'\0';
    return Utf16(all + u'\0');
}

// A 32-bit bitmap resource of the image.
inline std::vector<uint8_t> Dib(const TStyleImage& image) {
    std::vector<std::vector<uint8_t>> rows;
    for (int y = 0; y < image.Height; ++y) {
        std::vector<uint8_t> row;
        for (int x = 0; x < image.Width; ++x) {
            const uint32_t p = image.Pixels[static_cast<size_t>(y * image.Width + x)];
            row.insert(row.end(), {static_cast<uint8_t>(p), static_cast<uint8_t>(p >> 8),
                                   static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 24)});
        }
        rows.push_back(std::move(row));
    }
    return PeBuilder::Dib(32, image.Width, rows);
}

// The theme core running, with a paper to draw on.
class MsStylesTest : public BuiltInThemeTest {
protected:
    // The strip style (or the given text) in a container, loaded.
    void Load(const std::string& text = StripStyle(), std::vector<TStyleImage> images = {StateStrip()}) {
        ASSERT_TRUE(LoadContainer(theme, Container("Strips", text, images)));
    }
    TTeThemeMsStyles theme;
};

}  // namespace tarvel::testing
