#pragma once
// The skin source, the content of one skin file (information strings,
// images, skin object trees, colours and fonts), and the filters that read
// and write the four file formats:
//
//   "_UCT\0" .uskn  the basic body as it is
//   "_DCT\0" .kskn  "QVLZ", then the basic body in a zlib stream (level 1)
//   "_TCT\0" .xskn  the same at the default level
//   "_MCT\0" .mskn  the same with the maximum body (binary object records,
//                   image flags stored)
//
// A skin file is outside data: loading is all or nothing. A damaged,
// truncated or missing file leaves the source as it was and answers false;
// nothing raises out of the load functions.

#include <zlib.h>

#include <array>
#include <memory>
#include <vector>

#include "platform/classlib/Components.h"
#include "skin/core/te_bitmap_links.h"
#include "skin/core/te_compress.h"
#include "skin/core/te_theme_colors.h"
#include "skin/themes/theme_se3objects.h"

namespace tarvel {

class TSeSkinSource;

using TTeFilterSign = std::array<uint8_t, 5>;

// The tag after the signature of the compressed formats.
extern const std::array<uint8_t, 4> QvZSign;

// Limits on what a skin file may ask for.
constexpr int kMaxSkinImageSide = 16384;
constexpr int64_t kMaxSkinPixelBytes = int64_t{256} << 20;  // decoded pixels of one file
constexpr int64_t kMaxSkinBodyBytes = int64_t{320} << 20;   // a decompressed body
constexpr uint32_t kMaxSkinImagesMaximum = 4095;
constexpr uint32_t kMaxSkinImagesBasic = 65535;

// A zlib body of outside data: inflates what it is asked for, refuses more
// than kMaxSkinBodyBytes (a small file cannot unpack without end) and knows
// whether the zlib data ended properly, checksum included. Damage raises
// EReadError or EDecompressionError.
class TSkinBodyStream : public TStream {
public:
    explicit TSkinBodyStream(TStream& source);
    ~TSkinBodyStream() override;
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;  // raises
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;  // only the position
    int64_t Size() override;                                    // raises
    // The data must end exactly with the body: no more output, and the zlib
    // stream's own end reached.
    void CheckEnd();

private:
    TStream& source_;
    z_stream zs_{};
    uint8_t input_[16384];
    int64_t delivered_ = 0;
    bool ended_ = false;
};

// One image as stored (name, width, height, pixels; a negative height holds
// the bottom row first) within the limits above; `pixelBytes` adds up the
// decoded pixels of one file. Damage raises EReadError.
std::unique_ptr<TteBitmap> ReadSkinImage(TStream& stream, int64_t& pixelBytes);
// The Transparent and AlphaBlend bytes after an image, each 0 or 1.
void ReadSkinImageFlags(TStream& stream, TteBitmap& image);
void WriteSkinImageFlags(TStream& stream, const TteBitmap& image);

class TSeSkinFilter : public TPersistent {
    TARVEL_CLASS(TSeSkinFilter, TPersistent)

public:
    using TCreateArgs = std::tuple<>;

    TSeSkinFilter();

    void SetSkinSource(TSeSkinSource* source) { source_ = source; }
    TSeSkinSource* GetSkinSource() const { return source_; }
    const TTeFilterSign& Sign() const { return sign_; }

    // The bodies. Reading raises EReadError (or the decompressor's error) for
    // damaged data; the skin source's loads catch it.
    virtual void ReadSkinSource(TStream& stream);
    virtual void WriteSkinSource(TStream& stream);
    // Without the dot.
    virtual String GetFileExtension() const { return String(); }
    virtual String GetFilterName() const { return String(); }
    // Whole files: the signature (skipped when it matches, else the stream is
    // left where it was), then the body.
    virtual void ReadSkin(TStream& stream);
    virtual void WriteSkin(TStream& stream);

protected:
    void ReadSignature(TStream& stream);
    void ReadImages(TStream& stream, uint32_t count, bool flagged, bool tested);
    void ReadLegacyImages(TStream& stream, uint32_t count);
    void ReadObjects(TStream& stream, bool binary);
    void WriteStrings(TStream& stream);
    void ReadStrings(TStream& stream);
    void WriteSections(TStream& stream);

    TSeSkinSource* source_ = nullptr;
    TTeFilterSign sign_{'0', '0', '0', '0', 0};
    int64_t pixelBytes_ = 0;
};

class TSeSkinFilterUncompressed : public TSeSkinFilter {
    TARVEL_CLASS(TSeSkinFilterUncompressed, TSeSkinFilter)

public:
    TSeSkinFilterUncompressed();
    String GetFileExtension() const override { return "uskn"; }
    String GetFilterName() const override { return "Uncompressed Skin"; }
};

class TSeSkinFilterCompressed : public TSeSkinFilter {
    TARVEL_CLASS(TSeSkinFilterCompressed, TSeSkinFilter)

public:
    TSeSkinFilterCompressed();
    String GetFileExtension() const override { return "kskn"; }
    String GetFilterName() const override { return "Compressed Skin"; }
    void ReadSkin(TStream& stream) override;
    void WriteSkin(TStream& stream) override;

protected:
    TCompressionLevel level_;
};

class TSeSkinFilterUltraCompressed : public TSeSkinFilterCompressed {
    TARVEL_CLASS(TSeSkinFilterUltraCompressed, TSeSkinFilterCompressed)

public:
    TSeSkinFilterUltraCompressed();
    String GetFileExtension() const override { return "xskn"; }
    String GetFilterName() const override { return "Ultra Compressed Skin"; }
};

class TSeSkinFilterMaxCompression : public TSeSkinFilterUltraCompressed {
    TARVEL_CLASS(TSeSkinFilterMaxCompression, TSeSkinFilterUltraCompressed)

public:
    TSeSkinFilterMaxCompression();
    String GetFileExtension() const override { return "mskn"; }
    String GetFilterName() const override { return "Maximum Compressed"; }
    void ReadSkinSource(TStream& stream) override;
    void WriteSkinSource(TStream& stream) override;
};

// ---- the filter registry ----

void RegisterSkinFilter(TClass filter);
void UnregisterSkinFilter(TClass filter);
const std::vector<TClass>& SkinFilters();
std::unique_ptr<TSeSkinFilter> CreateSkinFilter(TClass filter);
// The first filter whose extension is the file's (case ignored), or null.
TClass GetSkinFilterByExtension(const String& fileName);
// The first filter whose signature starts the stream, or null; the stream
// is back where it was afterwards.
TClass GetThemeFilterBySign(TStream& stream);
// "Name (*.ext)|*.ext" for each filter, joined by "|".
String GetDialogFilter3();

// Used for streams no signature claims and for saving without a filter.
// Our own code names its filter instead of relying on this.
extern TClass DefaultFilter;

// ---- the skin source ----

class TSeSkinSource : public TComponent {
    TARVEL_CLASS(TSeSkinSource, TComponent)

public:
    explicit TSeSkinSource(TComponent* owner);
    ~TSeSkinSource() override;

    String SkinName = "Orvanta Theme";
    String SkinVersion = "6.0";
    String Author;
    String AuthorEMail;
    String AuthorURL;

    // Images and objects go; colours, fonts and strings stay.
    void Clear();
    // All or nothing; false (and nothing changed) for damaged data.
    bool LoadFromStream(TStream& stream);
    bool LoadFromStream(TStream& stream, TClass filter);
    bool LoadFromFile(const String& fileName);
    // Writing raises the stream's errors.
    void SaveToStream(TStream& stream);
    void SaveToStream(TStream& stream, TClass filter);
    void SaveToFile(const String& fileName);
    void Assign(TPersistent* source) override;

    void Add(TSeSkinObject* object);
    void Remove(TSeSkinObject* object);  // not freed
    int GetCount() const { return static_cast<int>(objects_.size()); }
    TSeSkinObject* GetObject(int index) const;
    TSeSkinObject* GetObjectByKind(TSeKind kind) const;
    // Case ignored; "head\tail" looks for tail under the first object named head.
    TSeSkinObject* GetObjectByName(std::string_view name) const;
    TSeSkinObject* GetForm() const;

    void ReplaceBitmap(TteBitmap* oldImage, TteBitmap* newImage);
    void ChangeSkinSourceHue(int amount);
    void ChangeSkinSourceBrightness(int amount);
    void CheckingObject();
    void FillColorsAndFonts();

    TteBitmapList& Bitmaps() { return bitmaps_; }
    TteThemeColors& Colors() { return *colors_; }
    TteThemeSysColors& SysColors() { return *sysColors_; }
    TteThemeFonts& Fonts() { return *fonts_; }

private:
    // Takes everything of other; other is left with this one's old content.
    void Swap(TSeSkinSource& other);

    std::vector<TSeSkinObject*> objects_;
    TteBitmapList bitmaps_;
    std::unique_ptr<TteThemeColors> colors_;
    std::unique_ptr<TteThemeSysColors> sysColors_;
    std::unique_ptr<TteThemeFonts> fonts_;
};

// font := the object's font, overlaid by the font of its class for state.
void FillFont(TFont* font, TSeSkinObject* object, TSeState state);

}  // namespace tarvel
