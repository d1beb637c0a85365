// The style text held in memory and the style objects: how a section's keys
// become fields, which frame of an image a state draws, the nine parts and
// their transparency.
#include <gtest/gtest.h>

#include "MsStylesFixture.h"
#include "platform/base/Exceptions.h"
#include "skin/themes/theme_msuxobjects.h"
#include "tests/skin/PaperFixture.h"

namespace tarvel::testing {
namespace {

constexpr uint32_t kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kMagenta = 0xFFFF00FF;

class MsuxObjectsTest : public BuiltInThemeTest {
protected:
    TmsuxThemeObject& Read(const std::string& section) {
        text.SetText(section);
        object = std::make_unique<TmsuxThemeObject>(text, "Part", &images, nullptr);
        return *object;
    }
    void Add(const TStyleImage& image) { images.Add(ToBitmap(image)); }

    TmsuxStyleText text;
    TteBitmapList images;
    std::unique_ptr<TmsuxThemeObject> object;
};

TEST_F(MsuxObjectsTest, TheStyleTextFindsSectionsAndKeysWithoutRegardToCase) {
    const std::string lines =
        "ignored=before any section\r\n[Part]\r\n; a comment=no key\r\nFillColor = 1 2 3\r\n"
        "no equals sign\nfillcolor=9 9 9\r[other]\r\nkey=x\r\n[PART]\r\nTextColor=4 5 6";
    text.SetText(lines);
    EXPECT_TRUE(text.SectionExists("part"));
    EXPECT_FALSE(text.SectionExists("missing"));
    EXPECT_EQ(text.ReadSection("Part"), (std::vector<String>{"FillColor", "TextColor"}));
    EXPECT_EQ(text.ReadString("PART", "fillcolor", "-"), "1 2 3");  // the first of a repeated key
    EXPECT_EQ(text.ReadString("part", "TEXTCOLOR", "-"), "4 5 6");  // a repeated section continues
    EXPECT_EQ(text.ReadString("part", "nothing", "-"), "-");
    // Written back line for line, every line ending in CR LF.
    EXPECT_EQ(text.Lines().size(), 10u);
    TmsuxStyleText again;
    again.SetText(text.GetText());
    EXPECT_EQ(again.Lines(), text.Lines());
}

TEST_F(MsuxObjectsTest, KeysBecomeFieldsAndEveryKeyAProperty) {
    Add(StateStrip());
    std::string section =
        "[Part]\r\nImageFile = states.bmp\r\nImageCount=16\r\nBorderSize=3\r\nContentMargins=1,2,3,4\r\n"
        "TextShadowOffset=1 2\r\nGlyphType=ImageGlyph\r\nUnknownKey= kept  \r\n";
    for (int i = 0; i < 60; ++i) section += "extra" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    section += "FillColor=0 0 255\r\n";  // the 68th key still counts
    TmsuxThemeObject& o = Read(section);
    EXPECT_EQ(o.BgType, msbtImage);  // an image file without "bgtype"
    EXPECT_EQ(o.Image.Bitmap, images.GetImage(0));
    EXPECT_EQ(o.Image.Rect(), (TRect{0, 0, 64, 4}));
    EXPECT_EQ(o.ImageCount, 16);
    EXPECT_EQ(o.BorderSize, 3);
    EXPECT_EQ(o.ContentMargins, (TRect{1, 3, 2, 4}));
    EXPECT_EQ(o.TextShadowOffset, (TPoint{1, 2}));
    EXPECT_EQ(o.GlyphType, msgtImage);
    EXPECT_EQ(o.FillColor, TColor(0xFF0000));
    EXPECT_EQ(o.PropCount(), 68);
    ASSERT_NE(o.GetProp("imagefile"), nullptr);
    EXPECT_EQ(o.GetProp("imagefile")->Name, "imagefile");
    EXPECT_EQ(o.GetValue("UNKNOWNKEY"), "kept");
    EXPECT_EQ(o.GetProp("extra59")->AsInteger(), 59);
    EXPECT_EQ(o.GetPropByIndex(67)->Name, "fillcolor");
    EXPECT_EQ(o.GetPropByIndex(68), nullptr);
    EXPECT_TRUE(uxAssigned(&o));
}

TEST_F(MsuxObjectsTest, ObjectsFormATreeSearchedFromItsTop) {
    text.SetText("[Part]\r\nFillColor=1 2 3\r\n[Empty]\r\n");
    TmsuxThemeObject root(text, "Part", &images, nullptr);
    auto* child = new TmsuxThemeObject(text, "Part", &images, nullptr);
    auto* leaf = new TmsuxThemeObject(text, "Empty", &images, nullptr);
    root.SetName("Button");
    child->SetName("Pushbutton");
    root.Add(child);
    child->Add(leaf);  // both freed with root

    EXPECT_EQ(root.FindObjectByName("BUTTON"), &root);
    EXPECT_EQ(leaf->FindObjectByName("button"), nullptr) << "only the object itself answers";
    EXPECT_EQ(leaf->GlobalFindObjectByName("button"), &root);
    EXPECT_EQ(leaf->GlobalFindObjectByName("pushbutton"), nullptr)
        << "the top of the tree answers, not a parent";
    child->Remove(leaf);
    EXPECT_EQ(leaf->GlobalFindObjectByName("button"), nullptr);
    child->Add(leaf);

    EXPECT_TRUE(uxAssigned(child));
    EXPECT_FALSE(uxAssigned(leaf)) << "a section without keys";
    EXPECT_FALSE(uxAssigned(nullptr));
}

TEST_F(MsuxObjectsTest, ImageSettersCopyTheLink) {
    Add(StateStrip());
    TmsuxThemeObject& o = Read("[Part]\r\n");
    TteBitmapLink given;
    given.Name = "states.bmp";
    given.Bitmap = images.GetImage(0);
    given.SetRect(TRect{0, 0, 4, 4});
    using Setter = void (TmsuxThemeObject::*)(TteBitmapLink*);
    const std::pair<Setter, TteBitmapLink TmsuxThemeObject::*> setters[] = {
        {&TmsuxThemeObject::SetImage, &TmsuxThemeObject::Image},
        {&TmsuxThemeObject::SetGlyphImage, &TmsuxThemeObject::GlyphImage},
        {&TmsuxThemeObject::SetImage1, &TmsuxThemeObject::Image1},
        {&TmsuxThemeObject::SetImage2, &TmsuxThemeObject::Image2},
        {&TmsuxThemeObject::SetImage3, &TmsuxThemeObject::Image3},
        {&TmsuxThemeObject::SetImage4, &TmsuxThemeObject::Image4},
        {&TmsuxThemeObject::SetImage5, &TmsuxThemeObject::Image5},
    };
    for (const auto& [set, link] : setters) {
        (o.*set)(&given);
        EXPECT_EQ((o.*link).Name, "states.bmp");
        EXPECT_EQ((o.*link).Bitmap, images.GetImage(0));
        EXPECT_EQ((o.*link).Rect(), (TRect{0, 0, 4, 4}));
    }
    given.SetRect(TRect{4, 0, 8, 4});
    EXPECT_EQ(o.Image4.Rect(), (TRect{0, 0, 4, 4})) << "a copy, not the caller's link";
}

TEST_F(MsuxObjectsTest, AMalformedNumberStopsTheSection) {
    for (const char* bad : {"BorderSize=wide", "ImageCount=", "FillColor=1 two 3", "TextShadowOffset=1"}) {
        text.SetText(std::string("[Part]\r\n") + bad + "\r\n");
        EXPECT_THROW(TmsuxThemeObject(text, "Part", &images, nullptr), EConvertError) << bad;
    }
}

TEST_F(MsuxObjectsTest, TheStateIndexPicksTheFrame) {
    Add(TStyleImage::Paint("BAR_BMP", 100, 20, [](int x, int) { return StateColour(x / 25 + 1); }));
    Add(TStyleImage::Paint("COLUMN_BMP", 20, 100, [](int, int y) { return StateColour(y / 25 + 1); }));
    const struct {
        const char* layout;
        const char* image;
        int state;
        TRect frame;
    } cases[] = {
        {"horizontal", "bar.bmp", 2, {25, 0, 50, 20}},
        {"horizontal", "bar.bmp", 1, {0, 0, 25, 20}},
        {"horizontal", "bar.bmp", 9, {75, 0, 100, 20}},  // past the last: the last
        {"vertical", "column.bmp", 3, {0, 50, 20, 75}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        TmsuxThemeObject& o = Read(std::string("[Part]\r\nimagefile=") + c.image +
                                   "\r\nimagecount=4\r\nimagelayout=" + c.layout + "\r\n");
        TPaper paper(40, 40);
        o.Draw(paper.canvas, TRect{0, 0, 40, 40}, NullRect, c.state);
        ASSERT_NE(o.LastImage, nullptr);
        EXPECT_EQ(o.LastImage->Rect(), c.frame);
        EXPECT_EQ(StateOf(paper.At(20, 20)), std::min(c.state, 4));
    }
    // State 0 leaves the frame as it was.
    TmsuxThemeObject& o = Read("[Part]\r\nimagefile=bar.bmp\r\nimagecount=4\r\nimagelayout=horizontal\r\n");
    TPaper paper(10, 10);
    o.Draw(paper.canvas, TRect{0, 0, 10, 10}, NullRect, 0);
    EXPECT_EQ(o.LastImage->Rect(), (TRect{0, 0, 100, 20}));
}

TEST_F(MsuxObjectsTest, APartWithoutWidthIsWidenedByOne) {
    const TRect r{0, 0, 10, 10}, m{5, 2, 5, 2};  // the margins fill the width
    EXPECT_EQ(UxMarginPart(r, m, umCenter), (TRect{5, 2, 6, 8}));
    EXPECT_EQ(UxMarginPart(r, m, umTop), (TRect{5, 0, 6, 2}));
    EXPECT_EQ(UxMarginPart(r, m, umBottom), (TRect{5, 8, 6, 10}));
    EXPECT_EQ(UxMarginPart(r, m, umLeft), (TRect{0, 2, 5, 8}));
    EXPECT_EQ(UxMarginPart(TRect{0, 0, 10, 10}, TRect{0, 0, 10, 0}, umLeft), (TRect{0, 0, 1, 10}));
}

TEST_F(MsuxObjectsTest, NinePartsKeepTheCornersAndStretchTheRest) {
    // 6 x 6: corners red, edges blue, centre green (2-pixel margins).
    Add(TStyleImage::Paint("BOX_BMP", 6, 6, [](int x, int y) {
        const bool edgeX = x < 2 || x >= 4, edgeY = y < 2 || y >= 4;
        return edgeX && edgeY ? kRed : edgeX || edgeY ? kBlue : 0xFF00FF00;
    }));
    TmsuxThemeObject& o =
        Read("[Part]\r\nimagefile=box.bmp\r\nsizingmargins=2,2,2,2\r\nsizingtype=stretch\r\n");
    TPaper paper(30, 20);
    o.Draw(paper.canvas, TRect{0, 0, 30, 20}, NullRect, 1);
    EXPECT_EQ(paper.At(1, 1), 0xFF0000u);
    EXPECT_EQ(paper.At(28, 18), 0xFF0000u);
    EXPECT_EQ(paper.At(15, 1), 0x0000FFu);
    EXPECT_EQ(paper.At(1, 10), 0x0000FFu);
    EXPECT_EQ(paper.At(15, 10), 0x00FF00u);
}

TEST_F(MsuxObjectsTest, AClientOpaqueImageDrawsItsCentreWithTheKeyAndItsBorderWithout) {
    Add(TStyleImage::Paint("KEYED_BMP", 6, 6, [](int, int) { return kMagenta; }));
    TmsuxThemeObject& o = Read("[Part]\r\nimagefile=keyed.bmp\r\nsizingmargins=2,2,2,2\r\n");
    EXPECT_TRUE(o.Transparent);  // the image's magenta became the key colour
    EXPECT_EQ(o.TransparentStyle, uxtsFullTransparent);
    o.TransparentStyle = uxtsClientOpaque;
    TPaper paper(20, 20);
    o.Draw(paper.canvas, TRect{0, 0, 20, 20}, NullRect, 1);
    EXPECT_EQ(paper.At(10, 10), 0x7F007Fu);    // centre: the key drawn as a colour
    EXPECT_EQ(paper.At(10, 1), 0xFFFFFFu);     // border: left out
    EXPECT_EQ(paper.At(1, 1), 0xFFFFFFu);      // corner: left out
    EXPECT_TRUE(o.Image.Bitmap->Transparent);  // the flags are back afterwards
}

TEST_F(MsuxObjectsTest, NoneDrawsNothingAndBorderFillDrawsRings) {
    Add(TStyleImage::Paint("GLYPH_BMP", 4, 4, [](int, int) { return kRed; }));
    TmsuxThemeObject& none =
        Read("[Part]\r\nbgtype=none\r\nglyphtype=imageglyph\r\nglyphimagefile=glyph.bmp\r\n");
    TPaper paper(20, 20);
    none.Draw(paper.canvas, TRect{0, 0, 20, 20}, NullRect, 1);
    EXPECT_FALSE(paper.Ink());
    TmsuxThemeObject& glyph =
        Read("[Part]\r\nfillcolor=0 0 255\r\nglyphtype=imageglyph\r\nglyphimagefile=glyph.bmp\r\n");
    glyph.Draw(paper.canvas, TRect{0, 0, 20, 20}, NullRect, 1);
    EXPECT_EQ(paper.At(10, 10), 0xFF0000u);  // the glyph, centred
    EXPECT_EQ(paper.At(2, 2), 0x0000FFu);
    EXPECT_EQ(glyph.LastImage, nullptr);

    TmsuxThemeObject& rings =
        Read("[Part]\r\nbgtype=borderfill\r\nbordersize=2\r\nbordercolor=255 0 0\r\nfillcolor=0 255 0\r\n");
    TPaper framed(10, 10);
    rings.Draw(framed.canvas, TRect{0, 0, 10, 10}, NullRect, 1);
    EXPECT_EQ(framed.At(0, 5), 0xFF0000u);
    EXPECT_EQ(framed.At(1, 5), 0xFF0000u);
    EXPECT_EQ(framed.At(2, 5), 0x00FF00u);
}

TEST_F(MsuxObjectsTest, TrueSizeCentresTheFrame) {
    Add(TStyleImage::Paint("THUMB_BMP", 8, 6, [](int x, int) { return x < 4 ? kRed : kBlue; }));
    TmsuxThemeObject& o = Read("[Part]\r\nimagefile=thumb.bmp\r\nimagecount=2\r\nsizingtype=truesize\r\n");
    TPaper paper(20, 20);
    o.Draw(paper.canvas, TRect{0, 0, 20, 20}, NullRect, 2);
    EXPECT_EQ(*paper.Ink(), (TRect{8, 7, 12, 13}));
    EXPECT_EQ(paper.At(10, 10), 0x0000FFu);  // blue, frame 2
}

}  // namespace
}  // namespace tarvel::testing
