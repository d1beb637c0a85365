#pragma once
// Pictures: a holder for any graphic, loaded from a file by its extension
// (.bmp, .jpg/.jpeg, .png), and the base of the graphics that are kept in a
// compressed file form and drawn from their decoded pixels.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/classlib/Bitmaps.h"

namespace tarvel {

// A graphic kept as the bytes of its file (saved back unchanged) and drawn
// through the bitmap decoded from them.
class TDecodedGraphic : public TGraphic {
    TARVEL_CLASS(TDecodedGraphic, TGraphic)

public:
    // Data larger than this is refused before it is read.
    static constexpr int64_t kMaxFileBytes = int64_t{64} << 20;

    // From the same kind of graphic, or null (empty).
    void Assign(TPersistent* source) override;

    int Width() const override { return bitmap_.Width(); }
    int Height() const override { return bitmap_.Height(); }
    // The size comes from the data.
    void SetWidth(int) override {}
    void SetHeight(int) override {}
    bool Empty() const override { return bitmap_.Empty(); }

    // Takes every byte left in the stream and decodes it at once.
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;
    // Decodes a block of memory (what LoadFromStream does with the bytes).
    void LoadFromMemory(const uint8_t* data, size_t size);

    // The decoded pixels.
    const TBitmap& Bitmap() const { return bitmap_; }

protected:
    // Fills `into` from the file bytes or raises EInvalidGraphic.
    virtual void Decode(const uint8_t* data, size_t size, TBitmap& into) = 0;
    void Draw(TCanvas& canvas, const TRect& rect) override;
    // To a TBitmap: a copy of the decoded pixels.
    void AssignTo(TPersistent* dest) override;

private:
    void Load(std::vector<uint8_t> bytes);

    std::vector<uint8_t> data_;
    TBitmap bitmap_;
};

class TPicture : public TPersistent {
    TARVEL_CLASS(TPicture, TPersistent)

public:
    TPicture();
    ~TPicture() override;

    // The graphic held, null for none.
    TGraphic* Graphic() const { return graphic_.get(); }
    // Holds a copy of `graphic` (of its own class); null empties the picture.
    void SetGraphic(TGraphic* graphic);
    // The graphic as a bitmap; a picture holding anything else (or nothing)
    // is emptied and given a new, empty bitmap first.
    TBitmap* Bitmap();

    int Width() const { return graphic_ ? graphic_->Width() : 0; }
    int Height() const { return graphic_ ? graphic_->Height() : 0; }

    // The class comes from the extension; an unknown one raises
    // EInvalidGraphic "Unknown picture file extension (.ext)". A file that
    // cannot be read leaves the picture as it was.
    void LoadFromFile(const String& fileName);
    // Raises EInvalidGraphic when the picture is empty.
    void SaveToFile(const String& fileName);

    // From another picture, a graphic or null.
    void Assign(TPersistent* source) override;

    TNotifyEvent OnChange;

protected:
    // Hands the graphic to `dest` (a TBitmap takes a bitmap, a decoded
    // graphic or an icon).
    void AssignTo(TPersistent* dest) override;

private:
    void Take(std::unique_ptr<TGraphic> graphic);
    void Changed();

    std::unique_ptr<TGraphic> graphic_;
};

// The file dialogs' filter for every format LoadFromFile reads: an entry
// for all of them first, then one per extension ("Bitmaps (*.bmp)|*.bmp").
String GraphicFilter();

}  // namespace tarvel
