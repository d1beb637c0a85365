// Skin files: the four formats, the filter registry, and damaged files that
// must fail cleanly and change nothing.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

#include "platform/classlib/BmpFiles.h"
#include "skin/core/te_compress.h"
#include "skin/themes/theme_se3source.h"
#include "tests/skin/themes/HeapPeakFixture.h"
#include "tests/skin/themes/Se3FileFixture.h"

namespace tarvel::testing {
namespace {

std::vector<uint8_t> Bytes(TMemoryStream& s) { return {s.Memory(), s.Memory() + s.Size()}; }

void Fill(TMemoryStream& s, const std::vector<uint8_t>& bytes) {
    if (!bytes.empty()) s.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    s.SetPosition(0);
}

std::vector<uint8_t> Inflate(const std::vector<uint8_t>& file, size_t from) {
    TMemoryStream s;
    Fill(s, file);
    s.SetPosition(static_cast<int64_t>(from));
    TDecompressionStream z(s);
    std::vector<uint8_t> out(1 << 20);
    out.resize(static_cast<size_t>(z.Read(out.data(), static_cast<int64_t>(out.size()))));
    return out;
}

TteBitmap* AddImage(TSeSkinSource& src, const String& name, int w, int h, uint32_t pixel) {
    auto* image = new TteBitmap;
    image->SetSize(w, h);
    image->Clear(pixel);
    image->Name = name;
    src.Bitmaps().Add(image);
    return image;
}

// A source with images, a small object tree and changed colours and fonts.
void FillSample(TSeSkinSource& src) {
    src.SkinName = "Sample";
    src.Author = "Us";
    AddImage(src, "Frame", 4, 3, 0xFF102030)->Transparent = true;
    AddImage(src, "Glyphs", 2, 2, 0x80405060)->AlphaBlend = true;
    auto* form = new TSeSkinObject(nullptr);
    form->SetName("Form");
    form->SetKind(skForm);
    form->SetBoundsRect(TRect{0, 0, 300, 200});
    form->SetColor(clNone);
    auto* title = new TSeTextObject(form);
    title->SetName("Title");
    title->SetKind(skTitle);
    title->SetAlign(saTop);
    title->SetHeight(20);
    title->FontHot()->SetStyle(TFontStyles{fsItalic});
    title->FontHot()->SetColor(0x123456);
    auto* close = new TSeSystemButton(title);
    close->SetName("Close");
    close->SetAction(sbaClose);
    close->GetBitmap()->Name = "Glyphs";
    close->GetBitmap()->SetRect(TRect{0, 0, 2, 2});
    src.Add(form);
    src.Colors().SetColor(ktcHint, 0x00ABCDEF);
    src.Fonts().GetFont(ktfButtonTextHot)->SetStyle(TFontStyles{fsUnderline});
}

void ExpectSample(TSeSkinSource& src) {
    EXPECT_EQ(src.SkinName, "Sample");
    EXPECT_EQ(src.Author, "Us");
    ASSERT_EQ(src.Bitmaps().Count(), 2);
    TteBitmap* frame = src.Bitmaps().GetImage(0);
    EXPECT_EQ(frame->Name, "Frame");
    EXPECT_EQ(frame->Width(), 4);
    EXPECT_EQ(frame->GetPixel(3, 2), 0xFF102030u);
    EXPECT_TRUE(src.Bitmaps().GetImage(1)->AlphaBlend);
    ASSERT_EQ(src.GetCount(), 1);
    TSeSkinObject* form = src.GetForm();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->GetColor(), clNone);
    EXPECT_EQ(form->GetBoundsRect(), (TRect{0, 0, 300, 200}));
    auto* title = dynamic_cast<TSeTextObject*>(src.GetObjectByName("Form\\Title"));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->GetHeight(), 20);
    EXPECT_EQ(title->FontHot()->Style(), TFontStyles{fsItalic});
    EXPECT_EQ(title->FontHot()->Color(), 0x123456);
    EXPECT_EQ(title->Font()->Name(), "Tahoma");
    auto* close = dynamic_cast<TSeSystemButton*>(form->FindObjectByAction(sbaClose));
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->Parent(), title);
    EXPECT_TRUE(close->GetBitmap()->GetAssigned());
    EXPECT_EQ(src.Colors().GetColor(ktcHint), 0x00ABCDEFu);
    EXPECT_EQ(src.Fonts().GetFont(ktfButtonTextHot)->Style(), TFontStyles{fsUnderline});
}

TEST(Se3SourceTest, SourceRoundTripsThroughEveryFormat) {
    for (TClass filter : SkinFilters()) {
        SCOPED_TRACE(filter->ClassName());
        TSeSkinSource src(nullptr);
        FillSample(src);
        TMemoryStream file;
        src.SaveToStream(file, filter);
        file.SetPosition(0);
        TSeSkinSource back(nullptr);
        ASSERT_TRUE(back.LoadFromStream(file));
        ExpectSample(back);
    }
}

TEST(Se3SourceTest, MaximumFileStartsWithSignatureTagAndZlibHeader) {
    TSeSkinSource src(nullptr);
    for (const char* name : {"a", "b", "c"}) AddImage(src, name, 1, 1, 0xFF000000);
    src.Add(new TSeSkinObject(nullptr));
    TMemoryStream file;
    src.SaveToStream(file, TSeSkinFilterMaxCompression::StaticClass());
    const std::vector<uint8_t> bytes = Bytes(file);
    const std::vector<uint8_t> head{0x5F, 0x4D, 0x43, 0x54, 0x00, 0x51, 0x56, 0x4C, 0x5A, 0x78, 0x9C};
    ASSERT_GE(bytes.size(), head.size());
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 11), head);
    const std::vector<uint8_t> body = Inflate(bytes, 9);
    // Five strings: "Orvanta Theme", "6.0" and three empty ones.
    const size_t imageWord = 4 + 13 + 4 + 3 + 12;
    uint32_t word;
    std::memcpy(&word, body.data() + imageWord, 4);
    EXPECT_EQ(word, 0x00FFF003u);
    // Each image: name, width, height, one pixel, two flag bytes.
    const size_t objectWord = imageWord + 4 + 3 * (5 + 8 + 4 + 2);
    std::memcpy(&word, body.data() + objectWord, 4);
    EXPECT_EQ(word, 0x00FF0001u);
}

TEST(Se3SourceTest, ChildlessObjectStoresTheObjectsWord) {
    TSeSkinObject object(nullptr);
    TMemoryStream record;
    SaveSkinObjectBinary(record, &object);
    const std::vector<uint8_t> bytes = Bytes(record);
    const std::vector<uint8_t> tail{'O', 'b', 'j', 'e', 'c', 't', 's', 0x0A, 4, 0, 0, 0, 0, 0, 0x0F, 0, 0, 0};
    ASSERT_GT(bytes.size(), tail.size());
    EXPECT_EQ(std::vector<uint8_t>(bytes.end() - static_cast<long>(tail.size()), bytes.end()), tail);
}

TEST(Se3SourceTest, FileOfTheFixtureWriterLoads) {
    SkinBytes props;
    props.Ss("Kind").Raw({0x07}).Ss("skForm");
    props.Ss("Width").Raw({0x03}).I16(300).Ss("Height").Raw({0x03}).I16(200);
    props.Ss("Color").Raw({0x07}).Ss("clNone");
    props.Ss("Font.Style").Raw({0x0B}).Ss("fsBold").Ss("");
    props.Ss("SomethingNew").Raw({0x02, 7});  // a property we do not know is passed over
    SkinBytes body;
    body.Strings().I32(0x00FFF001).Image("Pic", 2, 1, 0xFF00FF00).Raw({1, 0});
    body.I32(0x00000001).Record("TSeSkinObject", "Form", props);
    TMemoryStream file;
    Fill(file, MaximumFile(body.data));
    TSeSkinSource src(nullptr);
    ASSERT_TRUE(src.LoadFromStream(file));
    EXPECT_EQ(src.SkinName, "Fixture");
    ASSERT_EQ(src.Bitmaps().Count(), 1);
    EXPECT_TRUE(src.Bitmaps().GetImage(0)->Transparent);
    TSeSkinObject* form = src.GetObjectByName("FORM");
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->GetKind(), skForm);
    EXPECT_EQ(form->GetWidth(), 300);
    EXPECT_EQ(form->GetColor(), clNone);
    EXPECT_EQ(form->Font()->Style(), TFontStyles{fsBold});
    // No sections: colours come from the objects.
    EXPECT_EQ(src.Colors().GetColor(ktcWindow), clNone);
    EXPECT_EQ(src.Colors().GetColor(ktcHint), clInfoBk);
}

TEST(Se3SourceTest, ImageWordsOfTheMaximumBody) {
    std::vector<uint8_t> bmp;
    {
        Surface pixels(2, 2);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x) pixels.SetPixel(x, y, 0xFF7F007F);
        TMemoryStream s;
        WriteBmp(s, pixels, false);
        bmp = Bytes(s);
    }
    struct Case {
        const char* what;
        SkinBytes images;
        bool transparent;
        int width;
    };
    Case cases[] = {
        {"tested again", SkinBytes().I32(0x000F0001).Image("m", 1, 1, 0xFFFE01FD), true, 1},
        {"as a BMP file", SkinBytes().I32(1).Lps("b").I32(static_cast<uint32_t>(bmp.size())).Bytes(bmp), true,
         2},
        {"a BMP we cannot read stays empty", SkinBytes().I32(1).Lps("x").I32(3).Raw({'B', 'M', 9}), false, 0},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        SkinBytes body;
        body.Strings().Bytes(c.images.data).I32(0);
        TMemoryStream file;
        Fill(file, MaximumFile(body.data));
        TSeSkinSource src(nullptr);
        ASSERT_TRUE(src.LoadFromStream(file));
        ASSERT_EQ(src.Bitmaps().Count(), 1);
        EXPECT_EQ(src.Bitmaps().GetImage(0)->Transparent, c.transparent);
        EXPECT_EQ(src.Bitmaps().GetImage(0)->Width(), c.width);
        if (c.width) {
            EXPECT_EQ(src.Bitmaps().GetImage(0)->GetPixel(0, 0) & 0xFFFFFF, 0x7F007Fu);
        }
    }
}

TEST(Se3SourceTest, StoredClassNamesAndUnknownClasses) {
    SkinBytes body;
    body.Strings().I32(0x00FFF000).I32(2);
    body.Record("TXxBitmapObject", "Renamed", SkinBytes());
    body.Record("TNoSuchThing", "Skipped", SkinBytes());
    TMemoryStream file;
    Fill(file, MaximumFile(body.data));
    TSeSkinSource src(nullptr);
    ASSERT_TRUE(src.LoadFromStream(file));
    ASSERT_EQ(src.GetCount(), 1);
    EXPECT_EQ(src.GetObject(0)->ClassName(), "TSeBitmapObject");
}

TEST(Se3SourceTest, FiltersByExtensionAndSignature) {
    struct Case {
        const char* file;
        TClass filter;
    };
    const Case cases[] = {
        {"skin/X.MSKN", TSeSkinFilterMaxCompression::StaticClass()},
        {"a.uskn", TSeSkinFilterUncompressed::StaticClass()},
        {"a.kskn", TSeSkinFilterCompressed::StaticClass()},
        {"a.xSkn", TSeSkinFilterUltraCompressed::StaticClass()},
        {"mskn", nullptr},
        {"a.mskn.bak", nullptr},
    };
    for (const Case& c : cases) EXPECT_EQ(GetSkinFilterByExtension(c.file), c.filter) << c.file;

    TMemoryStream shortStream;
    Fill(shortStream, {'_', 'M', 'C'});
    shortStream.SetPosition(1);
    EXPECT_EQ(GetThemeFilterBySign(shortStream), nullptr);
    EXPECT_EQ(shortStream.Position(), 1);
    TMemoryStream signed_;
    Fill(signed_, {'x', '_', 'T', 'C', 'T', 0, 1});
    signed_.SetPosition(1);
    EXPECT_EQ(GetThemeFilterBySign(signed_), TSeSkinFilterUltraCompressed::StaticClass());
    EXPECT_EQ(signed_.Position(), 1);

    EXPECT_EQ(GetDialogFilter3(),
              "Uncompressed Skin (*.uskn)|*.uskn|Compressed Skin (*.kskn)|*.kskn|Ultra Compressed Skin "
              "(*.xskn)|*.xskn|Maximum Compressed (*.mskn)|*.mskn");
}

TEST(Se3SourceTest, UncompressedFileReadAsCompressedFails) {
    TSeSkinSource src(nullptr);
    FillSample(src);
    TMemoryStream file;
    src.SaveToStream(file, TSeSkinFilterUncompressed::StaticClass());
    file.SetPosition(0);
    TSeSkinSource other(nullptr);
    EXPECT_FALSE(other.LoadFromStream(file, TSeSkinFilterCompressed::StaticClass()));
    EXPECT_EQ(other.SkinName, "Orvanta Theme");
}

// A damaged file may cost a load this much heap at its worst, and no more
// (the corpus below needs well under 1 MiB).
constexpr int64_t kLoadHeapBudget = int64_t{16} << 20;

// Each damaged file answers false quickly, within the heap budget, and
// leaves the loaded skin alone.
void ExpectRefused(const std::vector<uint8_t>& bytes, const char* what) {
    TSeSkinSource src(nullptr);
    FillSample(src);
    TMemoryStream file;
    Fill(file, bytes);
    const auto start = std::chrono::steady_clock::now();
    bool loaded = true;
    const int64_t peak = HeapPeakOf([&] { loaded = src.LoadFromStream(file); });
    EXPECT_FALSE(loaded) << what;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << what;
    EXPECT_GE(peak, 0) << what;
    EXPECT_LT(peak, kLoadHeapBudget) << what << ": " << (peak >> 20) << " MiB";
    ExpectSample(src);
}

TEST(Se3SourceTest, EveryTruncationOfAValidFileIsRefused) {
    for (TClass filter :
         {TSeSkinFilterMaxCompression::StaticClass(), TSeSkinFilterUncompressed::StaticClass()}) {
        TSeSkinSource src(nullptr);
        FillSample(src);
        TMemoryStream file;
        src.SaveToStream(file, filter);
        const std::vector<uint8_t> whole = Bytes(file);
        for (size_t n = 1; n < whole.size(); ++n) {
            TSeSkinSource target(nullptr);
            FillSample(target);
            TMemoryStream cut;
            Fill(cut, std::vector<uint8_t>(whole.begin(), whole.begin() + static_cast<long>(n)));
            ASSERT_FALSE(target.LoadFromStream(cut)) << filter->ClassName() << " cut at " << n;
            ExpectSample(target);
        }
    }
}

TEST(Se3SourceTest, LyingAndHugeFilesAreRefused) {
    SkinBytes deep;  // objects nested far deeper than we allow
    {
        SkinBytes inner;
        inner.Record("TSeSkinObject", "Leaf", SkinBytes());
        for (int level = 0; level < 40; ++level) {
            SkinBytes props;
            props.Ss("Objects").Raw({0x0A}).I32(static_cast<uint32_t>(4 + inner.data.size()));
            props.I32(0x000F0001).Bytes(inner.data);
            SkinBytes body;
            body.Text("TPF0").Ss("TSeSkinObject").Ss("N").Bytes(props.data).Raw({0, 0});
            SkinBytes record;
            record.Lps("TSeSkinObject").I32(static_cast<uint32_t>(body.data.size())).Bytes(body.data);
            inner = record;
        }
        deep.Strings().I32(0x00FFF000).I32(1).Bytes(inner.data);
    }
    SkinBytes longRecord;  // S claims one byte more than the object uses
    {
        SkinBytes good;
        good.Record("TSeSkinObject", "A", SkinBytes());
        std::vector<uint8_t> rec = good.data;
        uint32_t s;
        std::memcpy(&s, rec.data() + 4 + 13, 4);
        ++s;
        std::memcpy(rec.data() + 4 + 13, &s, 4);
        rec.push_back(0);
        longRecord.Strings().I32(0x00FFF000).I32(1).Bytes(rec);
    }
    std::vector<uint8_t> bomb;  // a valid empty body followed by 512 MiB of zeros
    {
        SkinBytes body;
        body.Strings().I32(0x00FFF000).I32(0);
        z_stream zs{};
        deflateInit(&zs, 9);
        std::vector<uint8_t> zeros(1 << 20, 0), out(1 << 20);
        SkinBytes head;
        head.Text("_MCT").Raw({0}).Text("QVLZ");
        bomb = head.data;
        const auto pump = [&](uint8_t* in, size_t n, int flush) {
            zs.next_in = in;
            zs.avail_in = static_cast<uInt>(n);
            do {
                zs.next_out = out.data();
                zs.avail_out = static_cast<uInt>(out.size());
                deflate(&zs, flush);
                bomb.insert(bomb.end(), out.data(), out.data() + (out.size() - zs.avail_out));
            } while (zs.avail_out == 0);
        };
        pump(body.data.data(), body.data.size(), Z_NO_FLUSH);
        for (int i = 0; i < 512; ++i) pump(zeros.data(), zeros.size(), Z_NO_FLUSH);
        pump(nullptr, 0, Z_FINISH);
        deflateEnd(&zs);
    }
    struct Case {
        const char* what;
        std::vector<uint8_t> file;
    };
    const Case cases[] = {
        {"image count beyond the maximum body", MaximumFile(SkinBytes().Strings().I32(0x00FFFFFF).data)},
        {"image count the data cannot hold", MaximumFile(SkinBytes().Strings().I32(0x00FFF200).data)},
        {"a 65536 x 65536 image",
         MaximumFile(SkinBytes().Strings().I32(0x00FFF001).Lps("big").I32(65536).I32(65536).data)},
        {"a 16385 x 1 image",
         MaximumFile(SkinBytes().Strings().I32(0x00FFF001).Lps("w").I32(16385).I32(1).data)},
        {"a negative string length", MaximumFile(SkinBytes().I32(0x80000000).data)},
        {"object count beyond 65535",
         MaximumFile(SkinBytes().Strings().I32(0x00FFF000).I32(0x00FF0000 | 0xFFFF).data)},
        {"an object record longer than it says", MaximumFile(longRecord.data)},
        {"a record size beyond the data",
         MaximumFile(SkinBytes().Strings().I32(0x00FFF000).I32(1).Lps("TSeSkinObject").I32(0x7FFFFFFF).data)},
        {"an unknown value tag",
         MaximumFile(SkinBytes()
                         .Strings()
                         .I32(0x00FFF000)
                         .I32(1)
                         .Record("TSeSkinObject", "A", SkinBytes().Ss("Width").Raw({0x33, 1}))
                         .data)},
        {"an unknown identifier",
         MaximumFile(SkinBytes()
                         .Strings()
                         .I32(0x00FFF000)
                         .I32(1)
                         .Record("TSeSkinObject", "A", SkinBytes().Ss("Kind").Raw({0x07}).Ss("skBogus"))
                         .data)},
        {"a value of the wrong type",
         MaximumFile(SkinBytes()
                         .Strings()
                         .I32(0x00FFF000)
                         .I32(1)
                         .Record("TSeSkinObject", "A", SkinBytes().Ss("Width").Raw({0x09}))
                         .data)},
        {"nesting deeper than allowed", MaximumFile(deep.data)},
        {"bytes after the body", bomb},
        {"corrupt zlib data",
         SkinBytes().Text("_MCT").Raw({0}).Text("QVLZ").Raw({0x78, 0x9C, 0xFF, 0xFF}).data},
    };
    // The measure must see a large allocation, or the budget proves nothing.
    if (HeapPeakIsExact()) {
        const int64_t probe = HeapPeakOf([] {
            std::vector<uint8_t> big(64 << 20, 1);
            volatile uint8_t keep = big.back();
            (void)keep;
        });
        EXPECT_GE(probe, int64_t{64} << 20);
    }
    for (const Case& c : cases) ExpectRefused(c.file, c.what);
}

TEST(Se3SourceTest, MissingFilesAndUnknownExtensionsChangeNothing) {
    TSeSkinSource src(nullptr);
    FillSample(src);
    EXPECT_FALSE(src.LoadFromFile(""));
    EXPECT_FALSE(src.LoadFromFile("/no/such/folder/skin.mskn"));
    EXPECT_FALSE(src.LoadFromFile("no_such_skin_anywhere.mskn"));
    ExpectSample(src);
}

TEST(Se3SourceTest, ClearKeepsColoursFontsAndStrings) {
    TSeSkinSource src(nullptr);
    FillSample(src);
    src.Clear();
    EXPECT_EQ(src.GetCount(), 0);
    EXPECT_EQ(src.Bitmaps().Count(), 0);
    EXPECT_EQ(src.SkinName, "Sample");
    EXPECT_EQ(src.Colors().GetColor(ktcHint), 0x00ABCDEFu);
}

// A file without colour and font sections takes them from the objects the
// controls are known to use; with no "hint" the hint is the system's.
TEST(Se3SourceTest, ColoursAndFontsComeFromTheWellKnownObjects) {
    for (const bool withHint : {true, false}) {
        TSeSkinSource src(nullptr);
        const auto top = [&](const char* name, TColor color) {
            auto* o = new TSeSkinObject(nullptr);
            o->SetName(name);
            o->SetColor(color);
            src.Add(o);
            return o;
        };
        const auto child = [](auto* o, const char* name, TColor color) {
            o->SetName(name);
            o->SetColor(color);
            return o;
        };
        TSeSkinObject* form = top("Form", 0x000001);
        auto* title = child(new TSeActiveObject(form), "Title", 0x000002);
        title->SetKind(skTitle);
        title->Font()->SetColor(0x0000A2);
        title->ActiveFont()->SetColor(0x0000A1);
        child(new TSeSkinObject(form), "Left", 0x000003)->SetKind(skLeft);
        top("ListBox", 0x000004);
        top("Grid", 0x000005);
        top("Container", 0x000006);
        TSeSkinObject* button = top("Button", 0x000007);
        auto* buttonText = child(new TSeTextObject(button), "Text", clNone);
        buttonText->Font()->SetColor(0x0000B1);
        buttonText->FontPressed()->SetColor(0x0000B2);
        TSeSkinObject* edit = top("Edit", 0x000008);
        child(new TSeSkinObject(edit), "text", clNone)->Font()->SetColor(0x0000C1);
        TSeSkinObject* popup = top("PopupMenu", clNone);
        child(new TSeActiveObject(popup), "Item", clNone)->DisabledFont()->SetColor(0x0000D1);
        if (withHint) top("Hint", 0x000009);
        src.Colors().SetColor(ktcBorder, 0x123456);
        src.Fonts().GetFont(ktfWindowTextNormal)->SetName("Other");

        src.FillColorsAndFonts();
        const std::pair<TteThemeColor, TColor> colours[] = {
            {ktcWindow, 0x000001},
            {ktcCaptionNormal, 0x000002},
            {ktcCaptionInactive, 0x000002},
            {ktcWindowBorder, 0x000003},
            {ktcList, 0x000004},
            {ktcTree, 0x000004},
            {ktcGrid, 0x000005},
            {ktcBorder, 0},
            {ktcPanelNormal, 0x000006},
            {ktcPanelDisabled, 0x000006},
            {ktcButtonNormal, 0x000007},
            {ktcButtonDisabled, 0x000007},
            {ktcEditNormal, 0x000008},
            {ktcEditDisabled, 0x000008},
            {ktcEditSelection, clHighlight},
            {ktcHint, withHint ? TColor(0x000009) : TColor(0x80000018)},
        };
        for (auto [which, colour] : colours) EXPECT_EQ(src.Colors().GetColor(which), colour) << int{which};
        const std::pair<TteThemeFont, TColor> fonts[] = {
            {ktfCaptionTextNormal, 0x0000A1},         {ktfCaptionTextInactive, 0x0000A2},
            {ktfButtonTextNormal, 0x0000B1},          {ktfButtonTextPressed, 0x0000B2},
            {ktfEditBoxTextNormal, 0x0000C1},         {ktfEditBoxTextSelected, clWhite},
            {ktfPopupMenuItemTextDisabled, 0x808080}, {ktfWindowTextNormal, clBlack},
        };
        for (auto [which, colour] : fonts)
            EXPECT_EQ(src.Fonts().GetFont(which)->Color(), colour) << int{which};
        EXPECT_EQ(src.Fonts().GetFont(ktfWindowTextNormal)->Name(), "Tahoma");
    }
}

// The new image takes the old one's name and place, and the links find it;
// an old image that is not in the list only renames the new one, which the
// caller keeps (it is neither taken into the list nor freed).
TEST(Se3SourceTest, ReplacingAnImageRelinksTheObjects) {
    TSeSkinSource src(nullptr);
    FillSample(src);
    TteBitmap* old = src.Bitmaps().GetImage(1);
    auto* fresh = new TteBitmap;
    fresh->SetSize(2, 2);
    fresh->Clear(0xFF00FF00);
    src.ReplaceBitmap(old, fresh);
    ASSERT_EQ(src.Bitmaps().Count(), 2);
    EXPECT_EQ(src.Bitmaps().GetImage(1), fresh);
    EXPECT_EQ(fresh->Name, "Glyphs");
    auto* close = dynamic_cast<TSeSystemButton*>(src.GetForm()->FindObjectByAction(sbaClose));
    ASSERT_NE(close, nullptr);
    EXPECT_TRUE(close->GetBitmap()->GetAssigned());
    EXPECT_EQ(src.Bitmaps().GetBitmapByName("glyphs"), fresh);

    TteBitmap stranger;
    stranger.Name = "Stranger";
    TteBitmap kept;
    src.ReplaceBitmap(&stranger, &kept);
    EXPECT_EQ(kept.Name, "Stranger");
    EXPECT_EQ(src.Bitmaps().Count(), 2);
    EXPECT_EQ(src.Bitmaps().IndexOf(&kept), -1);
    EXPECT_EQ(src.Bitmaps().GetImage(1), fresh);
}

// A copy holds its own images and objects: changing the original afterwards
// leaves it as it was.
TEST(Se3SourceTest, AssignCopiesTheWholeSource) {
    TSeSkinSource original(nullptr);
    FillSample(original);
    TSeSkinSource copy(nullptr);
    AddImage(copy, "Leftover", 1, 1, 0xFF000000);
    copy.Assign(&original);
    original.Bitmaps().GetImage(0)->Clear(0xFFFFFFFF);
    original.GetForm()->SetBoundsRect(TRect{0, 0, 10, 10});
    original.Colors().SetColor(ktcHint, clBlack);
    original.Fonts().GetFont(ktfButtonTextHot)->SetStyle(TFontStyles{});
    original.Clear();
    ExpectSample(copy);
    EXPECT_EQ(copy.Bitmaps().GetBitmapByName("Leftover"), nullptr);
}

TEST(Se3SourceTest, NamesWithABackslashSearchOnlyTheFirstHead) {
    TSeSkinSource src(nullptr);
    auto* a = new TSeSkinObject(nullptr);
    a->SetName("A");
    auto* grandchild = new TSeSkinObject(new TSeSkinObject(a));
    grandchild->SetName("Deep");
    src.Add(a);
    auto* late = new TSeSkinObject(nullptr);
    late->SetName("A2");
    src.Add(late);
    EXPECT_EQ(src.GetObjectByName("a\\deep"), grandchild);
    EXPECT_EQ(src.GetObjectByName("A\\Missing"), nullptr);
    EXPECT_EQ(src.GetObject(-1), nullptr);
    EXPECT_EQ(src.GetObject(src.GetCount()), nullptr);
}

}  // namespace
}  // namespace tarvel::testing
