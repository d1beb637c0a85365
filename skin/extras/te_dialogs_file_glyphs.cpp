#include "skin/extras/te_dialogs_file_glyphs.h"

#include <string_view>

namespace tarvel {

namespace {

struct TPicture {
    const char* rows[16];
};

// '.' is the transparent key colour.
uint32_t PixelOf(char c) {
    switch (c) {
        case 'k': return 0xFF000000;
        case 'w': return 0xFFFFFFFF;
        case 'g': return 0xFF808080;
        case 'l': return 0xFFC0C0C0;
        case 'y': return 0xFFF0D070;
        case 'Y': return 0xFFB08820;
        case 'b': return 0xFF2858C0;
        case 'G': return 0xFF30A030;
        default: return 0xFFFF00FF;
    }
}

constexpr TPicture kBack{{"................", "................", "................", ".......k........",
                          "......kk........", ".....kGk........", "....kGGkkkkkkk..", "...kGGGGGGGGGk..",
                          "....kGGkkkkkkk..", ".....kGk........", "......kk........", ".......k........",
                          "................", "................", "................", "................"}};
constexpr TPicture kUp{{"................", "..YYYYY.........", ".YyyyyyY........", ".YyyyyyyYYYYYYY.",
                        ".Yyyyyykyyyyyyk.", ".Yyyyykkkyyyyyk.", ".Yyyykkkkkyyyyk.", ".Yyyyyykyyyyyyk.",
                        ".Yyyyyykyyyyyyk.", ".Yyyyyykkkkkyyk.", ".Yyyyyyyyyyyyyk.", ".Yyyyyyyyyyyyyk.",
                        ".kkkkkkkkkkkkkk.", "................", "................", "................"}};
constexpr TPicture kNewFolder{{"...........G....", "..YYYYY...GGG...", ".YyyyyyY...G....", ".YyyyyyyYYYYYYY.",
                               ".Yyyyyyyyyyyyyk.", ".Yyyyyyyyyyyyyk.", ".Yyyyyyyyyyyyyk.", ".Yyyyyyyyyyyyyk.",
                               ".Yyyyyyyyyyyyyk.", ".Yyyyyyyyyyyyyk.", ".Yyyyyyyyyyyyyk.", ".Yyyyyyyyyyyyyk.",
                               ".kkkkkkkkkkkkkk.", "................", "................",
                               "................"}};
constexpr TPicture kOpenFolder{{"................", "..YYYYY.........", ".YyyyyyY........",
                                ".YyyyyyyYYYYYY..", ".Yyyyyyyyyyyyk..", ".YyyyYYYYYYYYYYY",
                                ".YyyYyyyyyyyyyYk", ".YyYyyyyyyyyyYk.", ".YYyyyyyyyyyYk..",
                                ".Yyyyyyyyyyyk...", ".kkkkkkkkkkk....", "................",
                                "................", "................", "................", nullptr}};
constexpr TPicture kClosedFolder{{"................", "..YYYYY.........", ".YyyyyyY........",
                                  ".YyyyyyyYYYYYYY.", ".Yyyyyyyyyyyyyk.", ".Yyyyyyyyyyyyyk.",
                                  ".Yyyyyyyyyyyyyk.", ".Yyyyyyyyyyyyyk.", ".Yyyyyyyyyyyyyk.",
                                  ".Yyyyyyyyyyyyyk.", ".kkkkkkkkkkkkkk.", "................",
                                  "................", "................", "................", nullptr}};
constexpr TPicture kCurrentFolder{{"................", "..YYYYY.........", ".YyyyyyY........",
                                   ".YyyyyyyYYYYYYY.", ".Yyyyyyyyyyyyyk.", ".YyyyyyybbbbbYk.",
                                   ".Yyyyyyyyyyyyyk.", ".YyyyyyybbbbbYk.", ".Yyyyyyyyyyyyyk.",
                                   ".YyyyyyybbbbbYk.", ".kkkkkkkkkkkkkk.", "................",
                                   "................", "................", "................", nullptr}};
constexpr TPicture kExecutable{{"................", ".kkkkkkkkkkkkk..", ".kbbbbbbbbbbbk..",
                                ".kkkkkkkkkkkkk..", ".kwwwwwwwwwwwk..", ".kwGwwwwwwwwwk..",
                                ".kwwGwwwwwwwwk..", ".kwGwwGGGwwwwk..", ".kwwwwwwwwwwwk..",
                                ".kwwwwwwwwwwwk..", ".kkkkkkkkkkkkk..", "................",
                                "................", "................", "................", nullptr}};
constexpr TPicture kUnknownFile{{"................", "...kkkkkkk......", "...kwwwwwkk.....",
                                 "...kwwwwwklk....", "...kwwwwwkkkk...", "...kwgggwwwwk...",
                                 "...kwwwwwwwwk...", "...kwgggggwwk...", "...kwwwwwwwwk...",
                                 "...kwgggggwwk...", "...kwwwwwwwwk...", "...kkkkkkkkkk...",
                                 "................", "................", "................", nullptr}};
constexpr TPicture kFixedDrive{
    {"................", "................", "................", "................", "................",
     "..kkkkkkkkkkkk..", ".klllllllllllllk", ".kwwwwwwwwwwwwgk", ".kllllllllllGlgk", ".kggggggggggggk.",
     "..kkkkkkkkkkkk..", "................", "................", "................", "................",
     "................"}};
constexpr TPicture kEditButton{{"..............", "..YYYY........", ".YyyyyY.......", ".YyyyyyYYYYYY.",
                                ".Yyyyyyyyyyyk.", ".Yyyyyyyyyyyk.", ".Yyyyyyyyyyyk.", ".Yyyyyyyyyyyk.",
                                ".Yyyyyyyyyyyk.", ".kkkkkkkkkkkk.", "..............", "..............",
                                nullptr}};

constexpr TPicture kViewMenu{{"................", "................", "..kkk.kkkkkkk...", "..kbk...........",
                              "..kkk.kkkkkkk...", "................", "..kkk.kkkkkkk...", "..kbk...........",
                              "..kkk.kkkkkkk...", "................", "..kkk.kkkkkkk...", "..kbk...........",
                              "..kkk.kkkkkkk...", "................", "..........kkkkk.",
                              "...........kkk.."}};

const TPicture& PictureOf(TTeFileGlyph glyph) {
    static const TPicture* const kAll[] = {
        &kBack,       &kUp,          &kNewFolder,  &kOpenFolder, &kClosedFolder, &kCurrentFolder,
        &kExecutable, &kUnknownFile, &kFixedDrive, &kEditButton, &kViewMenu};
    return *kAll[static_cast<int>(glyph)];
}

}  // namespace

std::unique_ptr<TBitmap> MakeFileGlyph(TTeFileGlyph glyph, int scale) {
    const TPicture& picture = PictureOf(glyph);
    int height = 0;
    while (height < 16 && picture.rows[height]) ++height;
    const int width = static_cast<int>(std::string_view(picture.rows[0]).size());
    auto bitmap = std::make_unique<TBitmap>(width * scale, height * scale);
    for (int y = 0; y < height * scale; ++y) {
        const std::string_view line = picture.rows[y / scale];
        uint32_t* row = bitmap->ScanLine(y);
        for (int x = 0; x < width * scale; ++x) {
            const int source = x / scale;
            row[x] = PixelOf(source < static_cast<int>(line.size()) ? line[source] : '.');
        }
    }
    bitmap->SetTransparentMode(tmAuto);
    return bitmap;
}

}  // namespace tarvel
