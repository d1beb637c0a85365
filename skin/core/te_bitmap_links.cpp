#include "skin/core/te_bitmap_links.h"

#include "skin/core/te_utils.h"

namespace tarvel {

bool IsMaskedPixel(uint32_t pixel) { return pixel != teNone && (pixel >> 24) < 255; }

void TteBitmapLink::Assign(TPersistent* source) {
    if (auto* src = dynamic_cast<TteBitmapLink*>(source)) {
        Bitmap = src->Bitmap;
        SetRect(src->Rect());
        Name = src->Name;
        Masked = src->Masked;
        MaskedBorder = src->MaskedBorder;
        MaskedAngles = src->MaskedAngles;
        return;
    }
    inherited::Assign(source);
}

void TteBitmapLink::SetRect(const TRect& r) {
    Left = r.left;
    Top = r.top;
    Right = r.right;
    Bottom = r.bottom;
}

void TteBitmapLink::LoadFromStream(TStream& stream) {
    String name = ReadString(stream);
    TRect r;
    r.left = ReadInt32(stream);
    r.top = ReadInt32(stream);
    r.right = ReadInt32(stream);
    r.bottom = ReadInt32(stream);
    Name = std::move(name);
    SetRect(r);
}

void TteBitmapLink::SaveToStream(TStream& stream) const {
    WriteString(stream, Name);
    for (int v : {Left, Top, Right, Bottom}) WriteInt32(stream, v);
}

bool TteBitmapLink::GetAssigned() const {
    return Bitmap && static_cast<int64_t>(Right - Left) * (Bottom - Top) > 0;
}

void TteBitmapLink::Draw(HDC dc, int x, int y) const {
    if (Bitmap && !Bitmap->Empty() && !Rect().IsEmpty()) Bitmap->Draw(dc, x, y, Rect());
}

void TteBitmapLink::Draw(TteBitmap& target, int x, int y) const {
    if (Bitmap && !Bitmap->Empty() && !Rect().IsEmpty()) Bitmap->Draw(target, x, y, Rect());
}

void TteBitmapLink::CheckingMasked(const TRect& m) {
    Masked = MaskedBorder = MaskedAngles = false;
    if (!Bitmap) return;
    const int w = Right - Left, h = Bottom - Top;
    const bool noMargins = m == TRect{};
    const TRect angles[] = {{0, 0, m.left, m.top},
                            {w - m.right, 0, w, m.top},
                            {w - m.right, h - m.bottom, w, h},
                            {0, h - m.bottom, m.left, h}};
    const TRect borders[] = {{m.left, 0, w - m.right, m.top},
                             {m.left, h - m.bottom, w - m.right, h},
                             {0, m.top, m.left, h - m.bottom},
                             {w - m.right, m.top, w, h - m.bottom}};
    const TRect centre{m.left, m.top, w - m.right, h - m.bottom};
    auto inAny = [](const TRect(&rects)[4], TPoint p) {
        for (const TRect& r : rects)
            if (r.Contains(p)) return true;
        return false;
    };
    for (int x = Left; x < Right; ++x) {
        for (int y = Top; y < Bottom; ++y) {
            if (!IsMaskedPixel(Bitmap->GetPixel(x, y))) continue;
            if (noMargins) {
                Masked = true;
                break;
            }
            const TPoint p{x - Left, y - Top};
            if (inAny(angles, p)) MaskedAngles = true;
            if (inAny(borders, p)) MaskedBorder = true;
            if (centre.Contains(p)) Masked = true;
        }
    }
}

// ---------------------------------------------------------------------------

TteBitmapList::~TteBitmapList() { Clear(); }

void TteBitmapList::Clear() { TList::Clear(); }

void TteBitmapList::Notify(void* item, TListNotification action) {
    if (action == TListNotification::lnDeleted) delete static_cast<TteBitmap*>(item);
}

TteBitmap* TteBitmapList::GetImage(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return static_cast<TteBitmap*>(Items(index));
}

TteBitmap* TteBitmapList::GetBitmapByName(const String& name) const {
    for (int i = 0; i < Count(); ++i)
        if (SameText(GetImage(i)->Name, name)) return GetImage(i);
    return nullptr;
}

TteBitmapLink* TteBitmapList::GetBitmapLink(TteBitmap* bitmap, const TRect& rect) const {
    if (!bitmap || IndexOf(bitmap) < 0) return nullptr;
    return bitmap->GetBitmapLink(rect);
}

TteBitmapLink* TteBitmapList::GetBitmapLink(const String& name, const TRect& rect) const {
    TteBitmap* bitmap = GetBitmapByName(name);
    return bitmap ? bitmap->GetBitmapLink(rect) : nullptr;
}

TteBitmapLink* TteBitmapList::GetBitmapLink(const String& name, const String& rectText) const {
    return GetBitmapLink(name, StringToRect(rectText));
}

}  // namespace tarvel
