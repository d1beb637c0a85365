#pragma once
// Pictures compared with small checked-in references under
// tests/fixtures/reference/. Antialiased edges may differ by a few levels,
// as glyph coverage does between FreeType versions; areas of one flat
// colour must match exactly, so a theme colour moved by one step shows.
// A missing reference is written by the first run, and
// TARVEL_UPDATE_REFERENCES=1 rewrites all of them on purpose.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/gdi/Gdi.h"

namespace tarvel::reference {

struct Tolerance {
    int channel = 24;  // levels an edge pixel may move in any channel
    int pixels = 24;   // pixels that may differ beyond that
};

struct Comparison {
    int differing = 0;  // pixels beyond the tolerance
    int tolerated = 0;  // edge pixels that moved within it
    // The reference washed out, differing pixels red, tolerated ones orange.
    std::shared_ptr<Surface> difference;
};

inline uint32_t Rgb(const Surface& s, int x, int y) { return s.Pixel(x, y) & 0xFFFFFF; }

// True when the pixel and its eight neighbours are of one colour: inside a
// fill, never at a glyph's soft edge.
inline bool InFlatArea(const Surface& s, int x, int y) {
    const uint32_t centre = Rgb(s, x, y);
    for (int ny = std::max(0, y - 1); ny <= std::min(s.Height() - 1, y + 1); ++ny)
        for (int nx = std::max(0, x - 1); nx <= std::min(s.Width() - 1, x + 1); ++nx)
            if (Rgb(s, nx, ny) != centre) return false;
    return true;
}

inline int ChannelDistance(uint32_t a, uint32_t b) {
    int most = 0;
    for (int shift : {0, 8, 16})
        most = std::max(
            most, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
    return most;
}

// Pictures of the same size only.
inline Comparison Compare(const Surface& actual, const Surface& expected, Tolerance tolerance) {
    Comparison result;
    result.difference = std::make_shared<Surface>(expected.Width(), expected.Height());
    for (int y = 0; y < expected.Height(); ++y)
        for (int x = 0; x < expected.Width(); ++x) {
            const uint32_t want = Rgb(expected, x, y);
            const int distance = ChannelDistance(Rgb(actual, x, y), want);
            uint32_t shown;
            if (distance == 0) {
                const uint32_t grey = (((want >> 16) & 0xFF) + ((want >> 8) & 0xFF) + (want & 0xFF)) / 3;
                const uint32_t washed = 192 + grey / 4;
                shown = washed * 0x010101u;
            } else if (distance <= tolerance.channel && !InFlatArea(expected, x, y)) {
                ++result.tolerated;
                shown = 0xFFA000;
            } else {
                ++result.differing;
                shown = 0xFF0000;
            }
            result.difference->SetPixel(x, y, 0xFF000000 | shown);
        }
    return result;
}

inline PngPicture ReadPngFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in.eof() && !in) return PngPicture{nullptr, false, "cannot read " + file.string()};
    return DecodePng(bytes.data(), bytes.size(), 1 << 14);
}

inline bool WritePngFile(const Surface& picture, const std::filesystem::path& file) {
    std::error_code ignored;
    std::filesystem::create_directories(file.parent_path(), ignored);
    return WritePng(picture, file.string().c_str());
}

inline bool UpdatingReferences() {
    const char* update = std::getenv("TARVEL_UPDATE_REFERENCES");
    return update && std::string(update) == "1";
}

// `name` is the reference's path below `referenceRoot`; a mismatch leaves
// the actual and the difference picture below `outputRoot`.
inline ::testing::AssertionResult MatchesReferenceIn(const std::filesystem::path& referenceRoot,
                                                     const std::filesystem::path& outputRoot,
                                                     const Surface& picture, const std::string& name,
                                                     Tolerance tolerance = {}) {
    const std::filesystem::path reference = referenceRoot / name;
    if (UpdatingReferences() || !std::filesystem::exists(reference)) {
        const bool missing = !std::filesystem::exists(reference);
        if (!WritePngFile(picture, reference))
            return ::testing::AssertionFailure() << "cannot write the reference " << reference;
        std::printf("[ reference ] %s %s\n", missing ? "wrote the missing" : "rewrote", reference.c_str());
        return ::testing::AssertionSuccess();
    }
    const PngPicture expected = ReadPngFile(reference);
    if (!expected.pixels) return ::testing::AssertionFailure() << reference << ": " << expected.error;

    std::filesystem::path stem = outputRoot / name;
    stem.replace_extension();
    const std::filesystem::path actualFile = stem.string() + ".actual.png";
    const std::filesystem::path differenceFile = stem.string() + ".difference.png";
    if (picture.Width() != expected.pixels->Width() || picture.Height() != expected.pixels->Height()) {
        WritePngFile(picture, actualFile);
        return ::testing::AssertionFailure()
               << name << " is " << picture.Width() << "x" << picture.Height() << ", its reference "
               << expected.pixels->Width() << "x" << expected.pixels->Height() << "; see " << actualFile;
    }
    const Comparison c = Compare(picture, *expected.pixels, tolerance);
    if (c.differing <= tolerance.pixels) return ::testing::AssertionSuccess();
    WritePngFile(picture, actualFile);
    WritePngFile(*c.difference, differenceFile);
    return ::testing::AssertionFailure()
           << name << ": " << c.differing << " pixels differ (at most " << tolerance.pixels << " may; "
           << c.tolerated << " edge pixels within " << tolerance.channel << " levels were let pass); see "
           << actualFile << " and " << differenceFile
           << " (regenerate on purpose with TARVEL_UPDATE_REFERENCES=1)";
}

inline ::testing::AssertionResult MatchesReference(const Surface& picture, const std::string& name,
                                                   Tolerance tolerance = {}) {
    return MatchesReferenceIn(std::filesystem::path(TARVEL_SOURCE_DIR) / "tests/fixtures/reference",
                              std::filesystem::path(TARVEL_BINARY_DIR) / "reference-mismatch", picture, name,
                              tolerance);
}

}  // namespace tarvel::reference
