#include "platform/classlib/Pictures.h"

#include "platform/base/Paths.h"
#include "platform/classlib/JpegImage.h"
#include "platform/classlib/PngImage.h"

namespace tarvel {

// ---- TDecodedGraphic -------------------------------------------------------

void TDecodedGraphic::Assign(TPersistent* source) {
    if (source == nullptr) {
        data_.clear();
        bitmap_.Assign(nullptr);
        SetTransparent(false);
        Changed();
        return;
    }
    if (source->ClassType() != ClassType()) return inherited::Assign(source);
    auto* other = static_cast<TDecodedGraphic*>(source);
    data_ = other->data_;
    bitmap_.Assign(&other->bitmap_);
    SetTransparent(other->Transparent());
    Changed();
}

void TDecodedGraphic::AssignTo(TPersistent* dest) {
    if (auto* bitmap = dynamic_cast<TBitmap*>(dest)) return bitmap->Assign(&bitmap_);
    inherited::AssignTo(dest);
}

void TDecodedGraphic::LoadFromStream(TStream& stream) {
    const int64_t count = stream.Size() - stream.Position();
    if (count > kMaxFileBytes) {
        Assign(nullptr);
        throw EInvalidGraphic("Picture data is too large");
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(count > 0 ? count : 0));
    stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    Load(std::move(bytes));
}

void TDecodedGraphic::LoadFromMemory(const uint8_t* data, size_t size) {
    Load(std::vector<uint8_t>(data, data + size));
}

void TDecodedGraphic::Load(std::vector<uint8_t> bytes) {
    TBitmap decoded;
    try {
        Decode(bytes.data(), bytes.size(), decoded);
    } catch (...) {
        Assign(nullptr);
        throw;
    }
    data_ = std::move(bytes);
    bitmap_.TakeOver(decoded);
    Changed();
}

void TDecodedGraphic::SaveToStream(TStream& stream) {
    stream.WriteBuffer(data_.data(), static_cast<int64_t>(data_.size()));
}

void TDecodedGraphic::Draw(TCanvas& canvas, const TRect& rect) { canvas.StretchDraw(rect, &bitmap_); }

// ---- TPicture --------------------------------------------------------------

namespace {

struct PictureFormat {
    const char* extension;  // lower case, with the "."
    TClass (*graphicClass)();
    const char* description;
};

constexpr PictureFormat kPictureFormats[] = {
    {".bmp", &TBitmap::StaticClass, "Bitmaps"},
    {".jpg", &TJPEGImage::StaticClass, "JPEG Image File"},
    {".jpeg", &TJPEGImage::StaticClass, "JPEG Image File"},
    {".png", &TPngImage::StaticClass, "Portable Network Graphics"},
};

TClass GraphicClassOf(const String& fileName) {
    const String ext = LowerCase(ExtractFileExt(fileName));
    for (const PictureFormat& f : kPictureFormats)
        if (ext == f.extension) return f.graphicClass();
    throw EInvalidGraphic("Unknown picture file extension (" + ext + ")");
}

std::unique_ptr<TGraphic> NewGraphic(TClass cls) {
    return std::unique_ptr<TGraphic>(cls->Create<TGraphic>());
}

}  // namespace

String GraphicFilter() {
    String all, each;
    for (const PictureFormat& f : kPictureFormats) {
        const String mask = String("*") + f.extension;
        all += (all.empty() ? "" : ";") + mask;
        each += String("|") + f.description + " (" + mask + ")|" + mask;
    }
    return "All (" + all + ")|" + all + each;
}

TPicture::TPicture() = default;

TPicture::~TPicture() = default;

void TPicture::Changed() {
    if (OnChange) OnChange(this);
}

void TPicture::Take(std::unique_ptr<TGraphic> graphic) {
    graphic_ = std::move(graphic);
    if (graphic_) graphic_->OnChange = [this](TObject*) { Changed(); };
    Changed();
}

void TPicture::SetGraphic(TGraphic* graphic) {
    if (graphic == graphic_.get()) return;
    if (!graphic) return Take(nullptr);
    auto copy = NewGraphic(graphic->ClassType());
    copy->Assign(graphic);
    Take(std::move(copy));
}

TBitmap* TPicture::Bitmap() {
    if (!dynamic_cast<TBitmap*>(graphic_.get())) Take(std::make_unique<TBitmap>());
    return static_cast<TBitmap*>(graphic_.get());
}

void TPicture::LoadFromFile(const String& fileName) {
    auto graphic = NewGraphic(GraphicClassOf(fileName));
    graphic->LoadFromFile(fileName);
    Take(std::move(graphic));
}

void TPicture::SaveToFile(const String& fileName) {
    if (!graphic_ || graphic_->Empty()) throw EInvalidGraphic("The picture is empty");
    graphic_->SaveToFile(fileName);
}

void TPicture::Assign(TPersistent* source) {
    if (source == nullptr) return SetGraphic(nullptr);
    if (auto* picture = dynamic_cast<TPicture*>(source)) return SetGraphic(picture->Graphic());
    if (auto* graphic = dynamic_cast<TGraphic*>(source)) return SetGraphic(graphic);
    inherited::Assign(source);
}

void TPicture::AssignTo(TPersistent* dest) {
    if (graphic_ && dynamic_cast<TGraphic*>(dest)) return dest->Assign(graphic_.get());
    inherited::AssignTo(dest);
}

}  // namespace tarvel
