#include "skin/themes/theme_se3source.h"

#include <algorithm>
#include <cstring>

#include <zlib.h>

#include "platform/base/Paths.h"
#include "platform/classlib/BmpFiles.h"
#include "skin/core/te_compress.h"
#include "skin/core/te_utils.h"

namespace tarvel {

const std::array<uint8_t, 4> QvZSign{'Q', 'V', 'L', 'Z'};
TClass DefaultFilter = TSeSkinFilterCompressed::StaticClass();

namespace {

constexpr uint32_t kImageFlags = 0x00FFF000;
constexpr uint32_t kTestedImages = 0x000F0000;
constexpr uint32_t kAllSections = 0x00FF0000;
constexpr uint32_t kTwoSections = 0x000F0000;
constexpr TColor kMagenta = 0xFF00FF;
constexpr TColor kKey = 0x7F007F;

[[noreturn]] void Malformed(const char* what) { throw EReadError(String("Skin file damaged: ") + what); }

std::vector<TClass>& Filters() {
    static std::vector<TClass> filters{
        TSeSkinFilterUncompressed::StaticClass(), TSeSkinFilterCompressed::StaticClass(),
        TSeSkinFilterUltraCompressed::StaticClass(), TSeSkinFilterMaxCompression::StaticClass()};
    return filters;
}

void CheckSide(int64_t side) {
    if (side < 0 || side > kMaxSkinImageSide) Malformed("image size");
}

}  // namespace

// ---- bounded bodies and images ------------------------------------------------------

TSkinBodyStream::TSkinBodyStream(TStream& source) : source_(source) {
    if (inflateInit(&zs_) != Z_OK) throw EDecompressionError("Skin body: zlib cannot start");
}

TSkinBodyStream::~TSkinBodyStream() { inflateEnd(&zs_); }

int64_t TSkinBodyStream::Read(void* buffer, int64_t count) {
    if (count <= 0 || ended_) return 0;
    if (delivered_ + count > kMaxSkinBodyBytes) Malformed("body too large");
    zs_.next_out = static_cast<Bytef*>(buffer);
    zs_.avail_out = static_cast<uInt>(count);
    while (zs_.avail_out > 0 && !ended_) {
        if (zs_.avail_in == 0) {
            const int64_t n = source_.Read(input_, sizeof input_);
            if (n <= 0) Malformed("compressed data cut short");
            zs_.next_in = input_;
            zs_.avail_in = static_cast<uInt>(n);
        }
        const int rc = inflate(&zs_, Z_NO_FLUSH);
        if (rc == Z_STREAM_END) {
            ended_ = true;
        } else if (rc != Z_OK) {
            throw EDecompressionError("Skin body: corrupt compressed data");
        }
    }
    const int64_t n = count - zs_.avail_out;
    delivered_ += n;
    return n;
}

int64_t TSkinBodyStream::Write(const void*, int64_t) { throw EWriteError("A skin body is read only"); }

int64_t TSkinBodyStream::Seek(int64_t offset, TSeekOrigin origin) {
    if (offset == 0 && origin == soCurrent) return delivered_;
    throw EReadError("A skin body cannot seek");
}

int64_t TSkinBodyStream::Size() { throw EReadError("A skin body has no size"); }

void TSkinBodyStream::CheckEnd() {
    uint8_t more;
    if (Read(&more, 1) != 0 || !ended_) Malformed("data after the body");
}

std::unique_ptr<TteBitmap> ReadSkinImage(TStream& stream, int64_t& pixelBytes) {
    String name = ReadString(stream);
    const int32_t w = ReadInt32(stream);
    const int32_t h = ReadInt32(stream);
    CheckSide(w);
    CheckSide(std::abs(static_cast<int64_t>(h)));
    const int64_t rows = std::abs(static_cast<int64_t>(h));
    const int64_t bytes = int64_t{w} * rows * 4;
    pixelBytes += bytes;
    if (pixelBytes > kMaxSkinPixelBytes) Malformed("images too large");
    auto image = std::make_unique<TteBitmap>();
    if (bytes > 0) {
        const std::vector<uint8_t> data = ReadBoundedBytes(stream, bytes);
        image->SetSize(w, static_cast<int>(rows));
        std::memcpy(image->Bits(), data.data(), static_cast<size_t>(bytes));
        if (h < 0) image->FlipHorz();
    } else if (w != 0 || h != 0) {
        Malformed("image size");
    }
    image->Name = std::move(name);
    return image;
}

void ReadSkinImageFlags(TStream& stream, TteBitmap& image) {
    uint8_t flags[2];
    stream.ReadBuffer(flags, 2);
    if (flags[0] > 1 || flags[1] > 1) Malformed("image flags");
    image.Transparent = flags[0] != 0;
    image.AlphaBlend = flags[1] != 0;
}

void WriteSkinImageFlags(TStream& stream, const TteBitmap& image) {
    const uint8_t flags[2] = {image.Transparent ? uint8_t{1} : uint8_t{0},
                              image.AlphaBlend ? uint8_t{1} : uint8_t{0}};
    stream.WriteBuffer(flags, 2);
}

// ---- TSeSkinFilter ---------------------------------------------------------------

TSeSkinFilter::TSeSkinFilter() = default;

void TSeSkinFilter::ReadSignature(TStream& stream) {
    const int64_t start = stream.Position();
    TTeFilterSign read{};
    if (stream.Read(read.data(), 5) != 5 || read != sign_) stream.SetPosition(start);
}

void TSeSkinFilter::ReadSkin(TStream& stream) {
    ReadSignature(stream);
    ReadSkinSource(stream);
}

void TSeSkinFilter::WriteSkin(TStream& stream) {
    stream.WriteBuffer(sign_.data(), 5);
    WriteSkinSource(stream);
}

void TSeSkinFilter::ReadStrings(TStream& stream) {
    source_->SkinName = ReadString(stream);
    source_->SkinVersion = ReadString(stream);
    source_->Author = ReadString(stream);
    source_->AuthorEMail = ReadString(stream);
    source_->AuthorURL = ReadString(stream);
}

void TSeSkinFilter::WriteStrings(TStream& stream) {
    for (const String* s : {&source_->SkinName, &source_->SkinVersion, &source_->Author,
                            &source_->AuthorEMail, &source_->AuthorURL})
        WriteString(stream, *s);
}

void TSeSkinFilter::WriteSections(TStream& stream) {
    source_->Colors().SaveToStream(stream);
    source_->SysColors().SaveToStream(stream);
    source_->Fonts().SaveToStream(stream);
}

// An image as stored: name, width, height (negative: bottom row first), pixels.
void TSeSkinFilter::ReadImages(TStream& stream, uint32_t count, bool flagged, bool tested) {
    for (uint32_t i = 0; i < count; ++i) {
        std::unique_ptr<TteBitmap> image = ReadSkinImage(stream, pixelBytes_);
        if (flagged) ReadSkinImageFlags(stream, *image);
        if (tested && !image->Empty()) {
            image->CheckingTransparent(kMagenta);
            image->CheckingTransparent(kKey);
            image->CheckingAlphaBlend();
        }
        source_->Bitmaps().Add(image.release());
    }
}

// Old files keep each image as a BMP file; one we cannot decode stays empty.
void TSeSkinFilter::ReadLegacyImages(TStream& stream, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        String name = ReadString(stream);
        const int32_t size = ReadInt32(stream);
        if (size < 0 || size > kMaxSkinPixelBytes) Malformed("picture size");
        const std::vector<uint8_t> bytes = ReadBoundedBytes(stream, size);
        auto image = std::make_unique<TteBitmap>();
        try {
            TMemoryStream bmp;
            if (!bytes.empty()) bmp.WriteBuffer(bytes.data(), size);
            bmp.SetPosition(0);
            TPixelFormat format = pfDevice;
            std::shared_ptr<Surface> pixels = ReadBmp(bmp, format);
            if (pixels && pixels->Valid() && pixels->Width() <= kMaxSkinImageSide &&
                pixels->Height() <= kMaxSkinImageSide) {
                pixelBytes_ += int64_t{pixels->Width()} * pixels->Height() * 4;
                if (pixelBytes_ > kMaxSkinPixelBytes) Malformed("images too large");
                image->SetSize(pixels->Width(), pixels->Height());
                for (int y = 0; y < pixels->Height(); ++y) {
                    const uint32_t* from = pixels->Row(y);
                    uint32_t* to = image->GetScanLine(y);
                    for (int x = 0; x < pixels->Width(); ++x)
                        to[x] = format == pf32bit ? from[x] : (from[x] | 0xFF000000u);
                }
                image->CheckingTransparent(kKey);
                image->CheckingAlphaBlend();
            }
        } catch (const EReadError&) {
            if (pixelBytes_ > kMaxSkinPixelBytes) throw;
        } catch (const Exception&) {
        }
        image->Name = std::move(name);
        source_->Bitmaps().Add(image.release());
    }
}

void TSeSkinFilter::ReadObjects(TStream& stream, bool binary) {
    const uint32_t word = static_cast<uint32_t>(ReadInt32(stream));
    int sections = 0;
    uint32_t count = word;
    if ((word & kAllSections) == kAllSections) {
        count = word & ~kAllSections;
        sections = 3;
    } else if ((word & kTwoSections) == kTwoSections) {
        count = word & ~kTwoSections;
        sections = 2;
    }
    if (count > kMaxSkinObjectCount) Malformed("object count");
    for (uint32_t i = 0; i < count; ++i) {
        TSeSkinObject* object =
            binary ? LoadSkinObjectBinary(stream, nullptr) : LoadSkinObject(stream, nullptr);
        if (object) source_->Add(object);
    }
    if (sections == 0) {
        source_->FillColorsAndFonts();
        return;
    }
    source_->Colors().LoadFromStream(stream);
    if (sections == 3) source_->SysColors().LoadFromStream(stream);
    source_->Fonts().LoadFromStream(stream);
}

void TSeSkinFilter::ReadSkinSource(TStream& stream) {
    if (!source_) return;
    source_->Clear();
    pixelBytes_ = 0;
    ReadStrings(stream);
    const uint32_t count = static_cast<uint32_t>(ReadInt32(stream));
    if (count > kMaxSkinImagesBasic) Malformed("image count");
    ReadImages(stream, count, false, true);
    ReadObjects(stream, false);
}

void TSeSkinFilter::WriteSkinSource(TStream& stream) {
    if (!source_) return;
    WriteStrings(stream);
    TteBitmapList& images = source_->Bitmaps();
    WriteInt32(stream, images.Count());
    for (int i = 0; i < images.Count(); ++i) images.GetImage(i)->SaveToStream(stream);
    WriteInt32(stream, static_cast<int32_t>(static_cast<uint32_t>(source_->GetCount()) | kAllSections));
    for (int i = 0; i < source_->GetCount(); ++i) SaveSkinObject(stream, source_->GetObject(i));
    WriteSections(stream);
}

TSeSkinFilterUncompressed::TSeSkinFilterUncompressed() { sign_ = {'_', 'U', 'C', 'T', 0}; }

TSeSkinFilterCompressed::TSeSkinFilterCompressed() : level_(TCompressionLevel::clFastest) {
    sign_ = {'_', 'D', 'C', 'T', 0};
}

void TSeSkinFilterCompressed::ReadSkin(TStream& stream) {
    ReadSignature(stream);
    uint8_t tag[4];
    stream.ReadBuffer(tag, 4);
    TSkinBodyStream body(stream);
    ReadSkinSource(body);
    body.CheckEnd();
}

void TSeSkinFilterCompressed::WriteSkin(TStream& stream) {
    stream.WriteBuffer(sign_.data(), 5);
    stream.WriteBuffer(QvZSign.data(), 4);
    TCompressionStream packed(level_, stream);
    WriteSkinSource(packed);
    packed.Finish();
}

TSeSkinFilterUltraCompressed::TSeSkinFilterUltraCompressed() {
    sign_ = {'_', 'T', 'C', 'T', 0};
    level_ = TCompressionLevel::clDefault;
}

TSeSkinFilterMaxCompression::TSeSkinFilterMaxCompression() { sign_ = {'_', 'M', 'C', 'T', 0}; }

void TSeSkinFilterMaxCompression::ReadSkinSource(TStream& stream) {
    if (!source_) return;
    source_->Clear();
    pixelBytes_ = 0;
    ReadStrings(stream);
    const uint32_t word = static_cast<uint32_t>(ReadInt32(stream));
    if ((word & kImageFlags) == kImageFlags) {
        const uint32_t count = word & ~kImageFlags;
        if (count > kMaxSkinImagesMaximum) Malformed("image count");
        ReadImages(stream, count, true, false);
    } else if ((word & kTestedImages) == kTestedImages) {
        const uint32_t count = word & ~kTestedImages;
        if (count > kMaxSkinImagesMaximum) Malformed("image count");
        ReadImages(stream, count, false, true);
    } else {
        if (word > kMaxSkinImagesMaximum) Malformed("image count");
        ReadLegacyImages(stream, word);
    }
    ReadObjects(stream, true);
}

void TSeSkinFilterMaxCompression::WriteSkinSource(TStream& stream) {
    if (!source_) return;
    TteBitmapList& images = source_->Bitmaps();
    if (static_cast<uint32_t>(images.Count()) > kMaxSkinImagesMaximum)
        throw EWriteError("A skin holds at most 4095 images");
    WriteStrings(stream);
    WriteInt32(stream, static_cast<int32_t>(static_cast<uint32_t>(images.Count()) | kImageFlags));
    for (int i = 0; i < images.Count(); ++i) {
        TteBitmap* image = images.GetImage(i);
        image->SaveToStream(stream);
        WriteSkinImageFlags(stream, *image);
    }
    WriteInt32(stream, static_cast<int32_t>(static_cast<uint32_t>(source_->GetCount()) | kAllSections));
    for (int i = 0; i < source_->GetCount(); ++i) SaveSkinObjectBinary(stream, source_->GetObject(i));
    WriteSections(stream);
}

// ---- the registry -----------------------------------------------------------------

void RegisterSkinFilter(TClass filter) { Filters().push_back(filter); }

void UnregisterSkinFilter(TClass filter) {
    auto& f = Filters();
    if (auto it = std::find(f.begin(), f.end(), filter); it != f.end()) f.erase(it);
}

const std::vector<TClass>& SkinFilters() { return Filters(); }

std::unique_ptr<TSeSkinFilter> CreateSkinFilter(TClass filter) {
    return std::unique_ptr<TSeSkinFilter>(filter->Create<TSeSkinFilter>());
}

TClass GetSkinFilterByExtension(const String& fileName) {
    const String ext = LowerCase(ExtractFileExt(fileName));
    if (ext.empty()) return nullptr;
    for (TClass c : Filters()) {
        if (ext == "." + LowerCase(CreateSkinFilter(c)->GetFileExtension())) return c;
    }
    return nullptr;
}

TClass GetThemeFilterBySign(TStream& stream) {
    const int64_t start = stream.Position();
    TTeFilterSign read{};
    int64_t got = 0;
    try {
        got = stream.Read(read.data(), 5);
    } catch (...) {
        stream.SetPosition(start);
        throw;
    }
    stream.SetPosition(start);
    if (got != 5) return nullptr;
    for (TClass c : Filters()) {
        if (CreateSkinFilter(c)->Sign() == read) return c;
    }
    return nullptr;
}

String GetDialogFilter3() {
    String out;
    for (TClass c : Filters()) {
        auto f = CreateSkinFilter(c);
        if (!out.empty()) out += "|";
        const String mask = "*." + f->GetFileExtension();
        out += f->GetFilterName() + " (" + mask + ")|" + mask;
    }
    return out;
}

// ---- TSeSkinSource ------------------------------------------------------------------

TSeSkinSource::TSeSkinSource(TComponent* owner)
    : TComponent(owner),
      colors_(std::make_unique<TteThemeColors>()),
      sysColors_(std::make_unique<TteThemeSysColors>()),
      fonts_(std::make_unique<TteThemeFonts>()) {}

TSeSkinSource::~TSeSkinSource() { Clear(); }

void TSeSkinSource::Clear() {
    bitmaps_.Clear();
    for (TSeSkinObject* o : objects_) delete o;
    objects_.clear();
}

void TSeSkinSource::Swap(TSeSkinSource& other) {
    std::swap(SkinName, other.SkinName);
    std::swap(SkinVersion, other.SkinVersion);
    std::swap(Author, other.Author);
    std::swap(AuthorEMail, other.AuthorEMail);
    std::swap(AuthorURL, other.AuthorURL);
    std::swap(objects_, other.objects_);
    std::swap(colors_, other.colors_);
    std::swap(sysColors_, other.sysColors_);
    std::swap(fonts_, other.fonts_);
    std::vector<TteBitmap*> mine, theirs;
    for (int i = 0; i < bitmaps_.Count(); ++i) mine.push_back(bitmaps_.GetImage(i));
    for (int i = 0; i < other.bitmaps_.Count(); ++i) theirs.push_back(other.bitmaps_.GetImage(i));
    // Move the images across without freeing them.
    while (bitmaps_.Count() > 0) bitmaps_.Extract(bitmaps_.Items(0));
    while (other.bitmaps_.Count() > 0) other.bitmaps_.Extract(other.bitmaps_.Items(0));
    for (TteBitmap* b : theirs) bitmaps_.Add(b);
    for (TteBitmap* b : mine) other.bitmaps_.Add(b);
    for (TSeSkinObject* o : objects_) o->SetBitmaps(&bitmaps_);
    for (TSeSkinObject* o : other.objects_) o->SetBitmaps(&other.bitmaps_);
}

bool TSeSkinSource::LoadFromStream(TStream& stream) {
    TClass filter = nullptr;
    try {
        filter = GetThemeFilterBySign(stream);
    } catch (const Exception&) {
        return false;
    }
    return LoadFromStream(stream, filter ? filter : DefaultFilter);
}

bool TSeSkinSource::LoadFromStream(TStream& stream, TClass filterClass) {
    const int64_t start = stream.Position();
    try {
        TSeSkinSource fresh(nullptr);
        fresh.colors_->Assign(colors_.get());
        fresh.sysColors_->Assign(sysColors_.get());
        fresh.fonts_->Assign(fonts_.get());
        auto filter = CreateSkinFilter(filterClass);
        filter->SetSkinSource(&fresh);
        filter->ReadSkin(stream);
        fresh.CheckingObject();
        Swap(fresh);
        return true;
    } catch (const std::exception&) {
        try {
            stream.SetPosition(start);
        } catch (const std::exception&) {
        }
        return false;
    }
}

bool TSeSkinSource::LoadFromFile(const String& fileName) {
    if (fileName.empty()) return false;
    String name = NativePath(fileName);
    if (!FileExists(name)) {
        if (name.size() > 1 && name[1] == ':') return false;
        name = ApplicationFolder() + name;
        if (!FileExists(name)) return false;
    }
    TClass filter = GetSkinFilterByExtension(name);
    if (!filter) return false;
    try {
        TFileStream file(name, fmOpenRead | fmShareDenyNone, kMaxSkinFileBytes);
        return LoadFromStream(file, filter);
    } catch (const std::exception&) {
        return false;
    }
}

void TSeSkinSource::SaveToStream(TStream& stream) { SaveToStream(stream, DefaultFilter); }

void TSeSkinSource::SaveToStream(TStream& stream, TClass filterClass) {
    auto filter = CreateSkinFilter(filterClass);
    filter->SetSkinSource(this);
    filter->WriteSkin(stream);
}

void TSeSkinSource::SaveToFile(const String& fileName) {
    if (fileName.empty()) return;
    TClass filter = GetSkinFilterByExtension(fileName);
    TFileStream file(NativePath(fileName), fmCreate);
    SaveToStream(file, filter ? filter : DefaultFilter);
}

void TSeSkinSource::Assign(TPersistent* source) {
    auto* src = dynamic_cast<TSeSkinSource*>(source);
    if (!src) {
        TComponent::Assign(source);
        return;
    }
    if (src == this) return;
    Clear();
    SkinName = src->SkinName;
    SkinVersion = src->SkinVersion;
    Author = src->Author;
    AuthorEMail = src->AuthorEMail;
    AuthorURL = src->AuthorURL;
    for (int i = 0; i < src->bitmaps_.Count(); ++i) {
        auto copy = std::make_unique<TteBitmap>();
        copy->Assign(src->bitmaps_.GetImage(i));
        bitmaps_.Add(copy.release());
    }
    for (TSeSkinObject* o : src->objects_) {
        if (TSeSkinObject* copy = o->CreateCopy(nullptr)) {
            objects_.push_back(copy);
            copy->SetBitmaps(&bitmaps_);
            copy->AfterLoad();
        }
    }
    fonts_->Assign(src->fonts_.get());
    colors_->Assign(src->colors_.get());
    sysColors_->Assign(src->sysColors_.get());
}

void TSeSkinSource::Add(TSeSkinObject* object) {
    if (!object) return;
    objects_.push_back(object);
    object->SetBitmaps(&bitmaps_);
    object->AfterLoad();
}

void TSeSkinSource::Remove(TSeSkinObject* object) { std::erase(objects_, object); }

TSeSkinObject* TSeSkinSource::GetObject(int index) const {
    if (index < 0 || index >= GetCount()) return nullptr;
    return objects_[static_cast<size_t>(index)];
}

TSeSkinObject* TSeSkinSource::GetObjectByKind(TSeKind kind) const {
    for (TSeSkinObject* o : objects_) {
        if (o->GetKind() == kind) return o;
    }
    return nullptr;
}

TSeSkinObject* TSeSkinSource::GetObjectByName(std::string_view name) const {
    const size_t slash = name.find('\\');
    for (TSeSkinObject* o : objects_) {
        if (SameText(o->Name(), name)) return o;
        if (slash != std::string_view::npos && SameText(o->Name(), name.substr(0, slash)))
            return o->FindObjectByName(name.substr(slash + 1));
    }
    return nullptr;
}

TSeSkinObject* TSeSkinSource::GetForm() const {
    if (TSeSkinObject* form = GetObjectByName("Form")) return form;
    return GetObjectByKind(skForm);
}

void TSeSkinSource::ReplaceBitmap(TteBitmap* oldImage, TteBitmap* newImage) {
    if (!oldImage || !newImage || bitmaps_.Count() == 0 || objects_.empty()) return;
    newImage->Name = oldImage->Name;
    const int index = bitmaps_.IndexOf(oldImage);
    if (index < 0) return;
    bitmaps_.Extract(oldImage);
    bitmaps_.Insert(index, newImage);
    for (TSeSkinObject* o : objects_) o->AfterLoad();
    delete oldImage;
}

void TSeSkinSource::ChangeSkinSourceHue(int amount) {
    for (int i = 0; i < bitmaps_.Count(); ++i) bitmaps_.GetImage(i)->ChangeBitmapHue(amount);
    for (TSeSkinObject* o : objects_) o->ChangeHue(amount);
}

void TSeSkinSource::ChangeSkinSourceBrightness(int amount) {
    for (int i = 0; i < bitmaps_.Count(); ++i) bitmaps_.GetImage(i)->ChangeBitmapBrightness(amount);
    for (TSeSkinObject* o : objects_) o->ChangeBrightness(amount);
}

void TSeSkinSource::CheckingObject() {
    for (TSeSkinObject* o : objects_) {
        if (TSeSkinObject* client = o->FindObjectByKind(skClient)) client->SetMasked(false);
    }
}

void FillFont(TFont* font, TSeSkinObject* object, TSeState state) {
    font->Assign(object->Font());
    TFont* overlay = nullptr;
    if (auto* a = dynamic_cast<TSeActiveObject*>(object)) {
        if (state == ssHot || state == ssFocused) overlay = a->ActiveFont();
        if (state == ssDisabled) overlay = a->DisabledFont();
    } else if (auto* b = dynamic_cast<TSeActiveBitmap*>(object)) {
        if (state == ssHot || state == ssFocused) overlay = b->ActiveFont();
    } else if (auto* t = dynamic_cast<TSeTextObject*>(object)) {
        switch (state) {
            case ssHot: overlay = t->FontHot(); break;
            case ssPressed: overlay = t->FontPressed(); break;
            case ssFocused: overlay = t->FontFocused(); break;
            case ssDisabled: overlay = t->FontDisabled(); break;
            default: break;
        }
    }
    if (overlay) font->Assign(overlay);
}

void TSeSkinSource::FillColorsAndFonts() {
    TteThemeColors& c = *colors_;
    const auto set = [&](std::initializer_list<TteThemeColor> which, TColor color) {
        for (TteThemeColor w : which) c.SetColor(w, color);
    };
    TSeSkinObject* form = GetObjectByName("form");
    if (form) {
        set({ktcWindow}, form->GetColor());
        if (TSeSkinObject* title = form->FindObjectByKind(skTitle))
            set({ktcCaptionNormal, ktcCaptionInactive}, title->GetColor());
        if (TSeSkinObject* left = form->FindObjectByKind(skLeft)) set({ktcWindowBorder}, left->GetColor());
    }
    if (TSeSkinObject* o = GetObjectByName("listbox")) set({ktcList, ktcTree}, o->GetColor());
    if (TSeSkinObject* o = GetObjectByName("grid")) set({ktcGrid}, o->GetColor());
    set({ktcBorder}, clBlack);
    if (TSeSkinObject* o = GetObjectByName("container"))
        set({ktcPanelNormal, ktcPanelDisabled}, o->GetColor());
    if (TSeSkinObject* o = GetObjectByName("button"))
        set({ktcButtonNormal, ktcButtonHot, ktcButtonPressed, ktcButtonFocused, ktcButtonDisabled},
            o->GetColor());
    if (TSeSkinObject* o = GetObjectByName("edit")) {
        set({ktcEditNormal, ktcEditHot, ktcEditFocused, ktcEditDisabled}, o->GetColor());
        set({ktcEditSelection}, clHighlight);
    }
    TSeSkinObject* hint = GetObjectByName("hint");
    set({ktcHint}, hint ? hint->GetColor() : clInfoBk);

    TteThemeFonts& f = *fonts_;
    struct Entry {
        TteThemeFont font;
        TSeState state;
    };
    const auto fill = [&](TSeSkinObject* object, std::initializer_list<Entry> entries) {
        if (!object) return;
        for (const Entry& e : entries) FillFont(f.GetFont(e.font), object, e.state);
    };
    const auto child = [&](const char* top, const char* name) -> TSeSkinObject* {
        TSeSkinObject* o = GetObjectByName(top);
        return o ? o->FindObjectByName(name) : nullptr;
    };
    fill(form ? form->FindObjectByKind(skTitle) : nullptr,
         {{ktfCaptionTextNormal, ssFocused}, {ktfCaptionTextInactive, ssNormal}});
    fill(child("button", "text"), {{ktfButtonTextNormal, ssNormal},
                                   {ktfButtonTextPressed, ssPressed},
                                   {ktfButtonTextHot, ssHot},
                                   {ktfButtonTextFocused, ssFocused},
                                   {ktfButtonTextDisabled, ssDisabled}});
    fill(child("checkbox", "text"), {{ktfCheckBoxTextNormal, ssNormal},
                                     {ktfCheckBoxTextPressed, ssPressed},
                                     {ktfCheckBoxTextHot, ssHot},
                                     {ktfCheckBoxTextFocused, ssFocused},
                                     {ktfCheckBoxTextDisabled, ssDisabled}});
    fill(child("radiobutton", "text"), {{ktfRadioButtonTextNormal, ssNormal},
                                        {ktfRadioButtonTextPressed, ssPressed},
                                        {ktfRadioButtonTextHot, ssHot},
                                        {ktfRadioButtonTextFocused, ssFocused},
                                        {ktfRadioButtonTextDisabled, ssDisabled}});
    fill(child("groupbox", "caption"),
         {{ktfGroupBoxTextNormal, ssNormal}, {ktfGroupBoxTextDisabled, ssDisabled}});
    for (TteThemeFont w : {ktfWindowTextNormal, ktfWindowTextDisabled}) {
        TFont* font = f.GetFont(w);
        font->SetName("Tahoma");
        font->SetSize(8);
        font->SetStyle(TFontStyles{});
        font->SetColor(clBlack);
    }
    if (TSeSkinObject* edit = child("edit", "text")) {
        fill(edit, {{ktfEditBoxTextNormal, ssNormal},
                    {ktfEditBoxTextFocused, ssFocused},
                    {ktfEditBoxTextHot, ssHot},
                    {ktfEditBoxTextSelected, ssNormal}});
        f.GetFont(ktfEditBoxTextSelected)->SetColor(clWhite);
        fill(edit, {{ktfEditBoxTextDisabled, ssDisabled}});
    }
    fill(child("listbox", "item"), {{ktfListItemTextNormal, ssNormal},
                                    {ktfListItemTextHot, ssNormal},
                                    {ktfListItemTextSelected, ssFocused},
                                    {ktfListItemTextFocused, ssNormal},
                                    {ktfListItemTextDisabled, ssDisabled}});
    fill(child("menubar", "item"), {{ktfMenuItemTextNormal, ssNormal},
                                    {ktfMenuItemTextHot, ssHot},
                                    {ktfMenuItemTextSelected, ssFocused},
                                    {ktfMenuItemTextDisabled, ssDisabled}});
    fill(child("menubar", "toolbaritem"), {{ktfToolItemTextNormal, ssNormal},
                                           {ktfToolItemTextHot, ssHot},
                                           {ktfToolItemTextSelected, ssFocused},
                                           {ktfToolItemTextDisabled, ssDisabled}});
    if (TSeSkinObject* item = child("popupmenu", "item")) {
        fill(item, {{ktfPopupMenuItemTextNormal, ssNormal},
                    {ktfPopupMenuItemTextHot, ssHot},
                    {ktfPopupMenuItemTextSelected, ssFocused},
                    {ktfPopupMenuItemTextDisabled, ssDisabled}});
        f.GetFont(ktfPopupMenuItemTextDisabled)->SetColor(0x808080);
    }
}

}  // namespace tarvel
