#pragma once
// Named rectangles of the skin's large bitmaps, and the list that owns those
// bitmaps. A link also records where its rectangle holds masked pixels,
// split like a nine-part frame by margins, so opaque parts can be drawn the
// fast way.

#include "platform/classlib/Lists.h"
#include "platform/classlib/Persistent.h"
#include "platform/classlib/Streams.h"
#include "skin/core/te_bitmap.h"

namespace tarvel {

class TteBitmapLink : public TPersistent {
    TARVEL_CLASS(TteBitmapLink, TPersistent)

public:
    void Assign(TPersistent* source) override;
    // Name, then Left, Top, Right, Bottom; neither the flags nor the bitmap.
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream) const;

    bool GetAssigned() const;
    void Draw(HDC dc, int x, int y) const;
    void Draw(TteBitmap& target, int x, int y) const;
    // Sets Masked, MaskedBorder and MaskedAngles from the pixels of the
    // rectangle, split by margins (Left, Top, Right, Bottom).
    void CheckingMasked(const TRect& margins);
    void CheckingMasked() { CheckingMasked(TRect{}); }

    int GetLeft() const { return Left; }
    int GetTop() const { return Top; }
    int GetRight() const { return Right; }
    int GetBottom() const { return Bottom; }
    void SetLeft(int v) { Left = v; }
    void SetTop(int v) { Top = v; }
    void SetRight(int v) { Right = v; }
    void SetBottom(int v) { Bottom = v; }
    TRect Rect() const { return TRect{Left, Top, Right, Bottom}; }
    void SetRect(const TRect& r);

    TteBitmap* Bitmap = nullptr;  // not owned
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    String Name;
    bool MaskedBorder = false;
    bool MaskedAngles = false;
    bool Masked = false;
};

// A pixel that lets the background through; teNone never counts.
bool IsMaskedPixel(uint32_t pixel);

// Owns its bitmaps.
class TteBitmapList : public TList {
    TARVEL_CLASS(TteBitmapList, TList)

public:
    TteBitmapList() = default;
    ~TteBitmapList() override;

    void Clear();
    int Add(TteBitmap* bitmap) { return TList::Add(bitmap); }
    TteBitmap* GetImage(int index) const;
    // ASCII case ignored.
    TteBitmap* GetBitmapByName(const String& name) const;
    // New links owned by the caller; null when the bitmap is not in the list.
    TteBitmapLink* GetBitmapLink(TteBitmap* bitmap, const TRect& rect) const;
    TteBitmapLink* GetBitmapLink(const String& name, const TRect& rect) const;
    TteBitmapLink* GetBitmapLink(const String& name, const String& rectText) const;

protected:
    void Notify(void* item, TListNotification action) override;
};

}  // namespace tarvel
