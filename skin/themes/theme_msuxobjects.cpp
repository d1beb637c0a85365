#include "skin/themes/theme_msuxobjects.h"

#include "skin/core/te_bitmap_colors.h"
#include "skin/core/te_utils.h"
#include "skin/core/te_utils_draw.h"
#include "skin/themes/theme_msstyles.h"
#include "skin/themes/theme_se3objects.h"

namespace tarvel {

// ---- the style text ---------------------------------------------------------------------------

void TmsuxStyleText::Clear() {
    lines_.clear();
    sections_.clear();
    index_.clear();
}

void TmsuxStyleText::SetText(std::string_view text) {
    Clear();
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = text.find_first_of("\r\n", at);
        const size_t stop = end == std::string_view::npos ? text.size() : end;
        lines_.emplace_back(text.substr(at, stop - at));
        at = stop;
        if (at < text.size() && text[at] == '\r') ++at;
        if (at < text.size() && text[at] == '\n') ++at;
    }
    TSection* current = nullptr;
    for (const String& raw : lines_) {
        const String line = Trim(raw);
        if (line.empty() || line[0] == ';') continue;
        if (line.front() == '[' && line.back() == ']') {
            const String name = LowerCase(Trim(std::string_view(line).substr(1, line.size() - 2)));
            auto [it, fresh] = index_.emplace(name, sections_.size());
            if (fresh) sections_.emplace_back();
            current = &sections_[it->second];
            continue;
        }
        const size_t equals = line.find('=');
        if (!current || equals == String::npos) continue;
        String key = Trim(std::string_view(line).substr(0, equals));
        if (current->Index.emplace(LowerCase(key), current->Keys.size()).second)
            current->Keys.emplace_back(std::move(key), Trim(std::string_view(line).substr(equals + 1)));
    }
}

String TmsuxStyleText::GetText() const {
    String text;
    for (const String& line : lines_) text += line + "\r\n";
    return text;
}

const TmsuxStyleText::TSection* TmsuxStyleText::Find(std::string_view section) const {
    const auto it = index_.find(LowerCase(section));
    return it == index_.end() ? nullptr : &sections_[it->second];
}

bool TmsuxStyleText::SectionExists(std::string_view section) const { return Find(section) != nullptr; }

std::vector<String> TmsuxStyleText::ReadSection(std::string_view section) const {
    std::vector<String> keys;
    if (const TSection* s = Find(section))
        for (const auto& [key, value] : s->Keys) keys.push_back(key);
    return keys;
}

String TmsuxStyleText::ReadString(std::string_view section, std::string_view key,
                                  std::string_view fallback) const {
    const TSection* s = Find(section);
    if (!s) return String(fallback);
    const auto it = s->Index.find(LowerCase(Trim(key)));
    return it == s->Index.end() ? String(fallback) : s->Keys[it->second].second;
}

// ---- properties and margin parts --------------------------------------------------------------

int TmsuxObjectProp::AsInteger() const {
    int32_t v = 0;
    return TryStrToInt(Value, v) ? v : 0;
}

float TmsuxObjectProp::AsFloat() const {
    double v = 0;
    return TryStrToFloat(Value, v) ? static_cast<float>(v) : 0.0f;
}

TRect UxMarginPart(const TRect& r, const TRect& m, TUxMarginType part) {
    TRect p;
    switch (part) {
        case umLeft: p = TRect{r.left, r.top + m.top, r.left + m.left, r.bottom - m.bottom}; break;
        case umTop: p = TRect{r.left + m.left, r.top, r.right - m.right, r.top + m.top}; break;
        case umRight: p = TRect{r.right - m.right, r.top + m.top, r.right, r.bottom - m.bottom}; break;
        case umBottom: p = TRect{r.left + m.left, r.bottom - m.bottom, r.right - m.right, r.bottom}; break;
        case umCenter:
            p = TRect{r.left + m.left, r.top + m.top, r.right - m.right, r.bottom - m.bottom};
            break;
    }
    if (p.Width() <= 0) {
        if (p.right < r.right)
            ++p.right;
        else if (p.left > r.left)
            --p.left;
    }
    if (p.Height() <= 0) {
        if (p.bottom < r.bottom)
            ++p.bottom;
        else if (p.top > 0)
            --p.top;
    }
    return p;
}

bool uxAssigned(const TmsuxThemeObject* object) { return object && object->PropCount() > 0; }

// ---- reading a section ------------------------------------------------------------------------

TmsuxThemeObject::TmsuxThemeObject(const TmsuxStyleText& ini, const String& section, TteBitmapList* images,
                                   TTeThemeMsStyles* theme)
    : TComponent(nullptr), images_(images), theme_(theme) {
    LoadFromIni(ini, section);
}

TmsuxThemeObject* TmsuxThemeObject::FindObjectByName(std::string_view name) {
    return SameText(Name(), name) ? this : nullptr;
}

TmsuxThemeObject* TmsuxThemeObject::GlobalFindObjectByName(std::string_view name) {
    TmsuxThemeObject* top = this;
    while (auto* up = dynamic_cast<TmsuxThemeObject*>(top->Owner())) top = up;
    return top->FindObjectByName(name);
}

void TmsuxThemeObject::LoadFromIni(const TmsuxStyleText& ini, const String& section) {
    section_ = section;
    for (const String& key : ini.ReadSection(section))
        SetValue(Trim(key), Trim(ini.ReadString(section, key, "")));
    PrepareTransparency();
}

// Pixels near TransparentColor become the key colour.
void TmsuxThemeObject::PrepareTransparency() {
    const TteColor key = FromRGB(TransparentColor);
    const auto mark = [key](TteBitmapLink& link) {
        if (!HoldsBitmap(link) || link.Bitmap->Transparent) return false;
        link.Bitmap->CheckingTransparent(key);
        return link.Bitmap->Transparent;
    };
    if (HoldsBitmap(Image)) {
        mark(Image);
        if (Image.Bitmap->Transparent) Transparent = true;
        if (Image.Bitmap->Transparent || Image.Bitmap->AlphaBlend) TransparentStyle = uxtsFullTransparent;
    }
    TteBitmapLink* const sized[] = {&Image1, &Image2, &Image3, &Image4, &Image5};
    if (GlyphTransparent) {
        mark(GlyphImage);
        for (TteBitmapLink* link : sized) mark(*link);
        return;
    }
    for (TteBitmapLink* link : sized) {
        if (mark(*link)) {
            Transparent = true;
            TransparentStyle = uxtsFullTransparent;
        }
    }
}

TteBitmapLink* TmsuxThemeObject::LinkForKey(const String& key) {
    if (key == "imagefile") return &Image;
    if (key == "imagefile1") return &Image1;
    if (key == "imagefile2") return &Image2;
    if (key == "imagefile3") return &Image3;
    if (key == "glyphimagefile") return &GlyphImage;
    return nullptr;
}

void TmsuxThemeObject::TakeImage(TteBitmapLink& link, const String& value, bool background) {
    const String name = msux::StringToImage(value);
    if (theme_) theme_->AddImage(name);
    TteBitmap* bitmap = images_ ? images_->GetBitmapByName(name) : nullptr;
    link.Name = name;
    link.SetRect(bitmap ? bitmap->BoundsRect() : TRect{});
    Loaded();
    if (!background) return;
    BgType = msbtImage;
    if (bitmap && (bitmap->AlphaBlend || bitmap->Transparent)) {
        TransparentStyle = uxtsFullTransparent;
        Transparent = true;
    }
}

namespace {

using TKeySetter = void (*)(TmsuxThemeObject&, const String&);

// The keys read into fields (the image keys aside).
const std::unordered_map<String, TKeySetter>& KeySetters() {
    using namespace msux;
    using O = TmsuxThemeObject;
    static const std::unordered_map<String, TKeySetter> setters{
        {"bgtype", [](O& o, const String& v) { o.BgType = StringToBgType(v); }},
        {"fillcolor", [](O& o, const String& v) { o.FillColor = StringToColor(v); }},
        {"fillcolorhint", [](O& o, const String& v) { o.FillColorHint = StringToColor(v); }},
        {"textcolor", [](O& o, const String& v) { o.TextColor = StringToColor(v); }},
        {"bordercolor", [](O& o, const String& v) { o.BorderColor = StringToColor(v); }},
        {"bordersize", [](O& o, const String& v) { o.BorderSize = ClampCoordinate(StrToInt(v)); }},
        {"transparentcolor", [](O& o, const String& v) { o.TransparentColor = StringToColor(v); }},
        {"transparent", [](O& o, const String& v) { o.Transparent = StringToBool(v); }},
        {"imageselecttype", [](O& o, const String& v) { o.ImageSelectType = StringToImageSelectType(v); }},
        {"imagecount", [](O& o, const String& v) { o.ImageCount = StrToInt(v); }},
        {"imagelayout", [](O& o, const String& v) { o.ImageLayout = StringToImageLayout(v); }},
        {"sizingtype", [](O& o, const String& v) { o.SizingType = StringToTileStyle(v); }},
        {"sizingmargins", [](O& o, const String& v) { o.SizingMargins = StringToMargin(v); }},
        {"glyphtransparent", [](O& o, const String& v) { o.GlyphTransparent = StringToBool(v); }},
        {"glyphtype", [](O& o, const String& v) { o.GlyphType = StringToGlyphType(v); }},
        {"contentalignment", [](O& o, const String& v) { o.ContentAlignment = StringToAligment(v); }},
        {"contentmargins", [](O& o, const String& v) { o.ContentMargins = StringToMargin(v); }},
        {"captionmargins", [](O& o, const String& v) { o.CaptionMargins = StringToMargin(v); }},
        {"textshadowtype", [](O& o, const String& v) { o.TextShadowType = StringToTextShadow(v); }},
        {"textshadowcolor", [](O& o, const String& v) { o.TextShadowColor = StringToColor(v); }},
        {"textshadowoffset", [](O& o, const String& v) { o.TextShadowOffset = StringToPoint(v); }},
    };
    return setters;
}

}  // namespace

void TmsuxThemeObject::SetValue(const String& key, const String& value) {
    const String k = LowerCase(key);
    const auto& setters = KeySetters();
    if (const auto it = setters.find(k); it != setters.end())
        it->second(*this, value);
    else if (TteBitmapLink* link = LinkForKey(k))
        TakeImage(*link, value, link != &GlyphImage);

    auto [it, fresh] = propIndex_.emplace(k, props_.size());
    if (fresh)
        props_.push_back(TmsuxObjectProp{k, value});
    else
        props_[it->second].Value = value;
}

String TmsuxThemeObject::GetValue(const String& key) const {
    const auto it = propIndex_.find(LowerCase(key));
    return it == propIndex_.end() ? String() : props_[it->second].Value;
}

TmsuxObjectProp* TmsuxThemeObject::GetProp(const String& key) {
    const auto it = propIndex_.find(LowerCase(key));
    return it == propIndex_.end() ? nullptr : &props_[it->second];
}

TmsuxObjectProp* TmsuxThemeObject::GetPropByIndex(int index) {
    return index >= 0 && index < PropCount() ? &props_[static_cast<size_t>(index)] : nullptr;
}

void TmsuxThemeObject::Loaded() {
    for (TteBitmapLink* link : {&Image, &Image1, &Image2, &Image3, &Image4, &Image5, &GlyphImage})
        link->Bitmap = images_ && !link->Name.empty() ? images_->GetBitmapByName(link->Name) : nullptr;
}

void TmsuxThemeObject::ChangeHue(int amount) {
    for (TColor* c : {&FillColor, &BorderColor, &TextColor})
        if (*c != clNone) *c = teColorToColor(tarvel::ChangeHue(teColor(*c, 255), amount));
}

void TmsuxThemeObject::ChangeBrightness(int amount) {
    for (TColor* c : {&FillColor, &BorderColor, &TextColor})
        if (*c != clNone) *c = teColorToColor(tarvel::ChangeBrightness(teColor(*c, 255), amount));
}

// ---- drawing ----------------------------------------------------------------------------------

TteBitmapLink* TmsuxThemeObject::SizedImage(int width) {
    TteBitmapLink* choice = &Image1;
    for (TteBitmapLink* link : {&Image2, &Image3, &Image4, &Image5})
        if (HoldsBitmap(*link) && link->Bitmap->Width() < width - ContentMargins.left - ContentMargins.right)
            choice = link;
    return choice;
}

// Frame k of ImageCount equal frames; an index past the last takes the last.
void TmsuxThemeObject::SelectFrame(TteBitmapLink& link, int state) const {
    const int n = ImageCount;
    if (n <= 0 || state <= 0 || !link.Bitmap) return;
    const int k = std::min(state, n);
    const int w = link.Bitmap->Width(), h = link.Bitmap->Height();
    if (ImageLayout == msilHorizontal)
        link.SetRect(TRect{w / n * (k - 1), 0, w / n * k, h});
    else
        link.SetRect(TRect{0, h / n * (k - 1), w, h / n * k});
}

namespace {

// A part that the clip rectangle (when there is one) allows.
bool PartAllowed(const TRect& clip, const TRect& dst) { return IsRectEmpty(clip) || RectInRect(clip, dst); }

void Place(TCanvas& c, TteBitmap& bitmap, const TRect& dst, const TRect& src, bool tiled) {
    if (IsRectEmpty(dst) || IsRectEmpty(src)) return;
    if (tiled)
        bitmap.Tile(c, dst, src);
    else
        bitmap.Draw(c, dst, src);
}

TRect Centred(const TRect& frame, const TRect& dst) {
    TRect own{0, 0, frame.Width(), frame.Height()};
    return RectCenter(own, dst);
}

}  // namespace

void TmsuxThemeObject::DrawNinePart(TCanvas& c, TteBitmap& bitmap, const TRect& frame, const TRect& dst,
                                    const TRect& clip, bool savedTransparent, bool savedAlpha) {
    const auto flags = [&](bool keep) {
        bitmap.Transparent = keep && savedTransparent;
        bitmap.AlphaBlend = keep && savedAlpha;
    };
    const bool tileEdges = SizingType == uxtlsTileAll || SizingType == uxtlsBorderTileClientStretch;
    const bool tileCentre = SizingType == uxtlsTileAll || SizingType == uxtlsBorderStretchClientTile;
    const TRect& m = SizingMargins;

    flags(TransparentStyle == uxtsFullTransparent);
    const TRect srcCentre = UxMarginPart(frame, m, umCenter);
    const TRect dstCentre = UxMarginPart(dst, m, umCenter);
    const bool centre = IsRectEmpty(clip) ? !IsRectEmpty(srcCentre) : RectInRect(clip, dstCentre);
    if (centre) Place(c, bitmap, dstCentre, srcCentre, tileCentre);

    flags(TransparentStyle == uxtsClientOpaque || TransparentStyle == uxtsFullTransparent);
    for (TUxMarginType part : {umTop, umBottom, umLeft, umRight}) {
        const TRect d = UxMarginPart(dst, m, part);
        if (PartAllowed(clip, d)) Place(c, bitmap, d, UxMarginPart(frame, m, part), tileEdges);
    }

    flags(TransparentStyle != uxtsFullOpaque);
    const struct {
        TRect src, dst;
    } corners[] = {
        {{frame.left, frame.top, frame.left + m.left, frame.top + m.top},
         {dst.left, dst.top, dst.left + m.left, dst.top + m.top}},
        {{frame.right - m.right, frame.top, frame.right, frame.top + m.top},
         {dst.right - m.right, dst.top, dst.right, dst.top + m.top}},
        {{frame.left, frame.bottom - m.bottom, frame.left + m.left, frame.bottom},
         {dst.left, dst.bottom - m.bottom, dst.left + m.left, dst.bottom}},
        {{frame.right - m.right, frame.bottom - m.bottom, frame.right, frame.bottom},
         {dst.right - m.right, dst.bottom - m.bottom, dst.right, dst.bottom}},
    };
    for (const auto& corner : corners) Place(c, bitmap, corner.dst, corner.src, false);
}

void TmsuxThemeObject::DrawImage(TCanvas& c, TteBitmapLink& link, const TRect& dst, const TRect& clip) {
    TteBitmap& bitmap = *link.Bitmap;
    const bool savedTransparent = bitmap.Transparent, savedAlpha = bitmap.AlphaBlend;
    Restore flags([&] {
        bitmap.Transparent = savedTransparent;
        bitmap.AlphaBlend = savedAlpha;
    });
    const TRect frame = link.Rect();
    switch (SizingType) {
        case uxtlsTrueSize: {
            const TRect at = Centred(frame, dst);
            if (TransparentStyle == uxtsFullOpaque) bitmap.Transparent = bitmap.AlphaBlend = false;
            if (PartAllowed(clip, at)) Place(c, bitmap, at, frame, false);
            break;
        }
        case uxtlsTileAll:
        case uxtlsStretchAll:
        case uxtlsBorderTileClientStretch:
        case uxtlsBorderStretchClientTile:
            DrawNinePart(c, bitmap, frame, dst, clip, savedTransparent, savedAlpha);
            break;
        case uxtlsTileVertical:
        case uxtlsTileHorizontal: break;
    }
}

void TmsuxThemeObject::DrawGlyph(TCanvas& c, TteBitmapLink& link, const TRect& dst, int state) {
    if (!HoldsBitmap(link)) return;
    SelectFrame(link, state);
    const TRect frame = link.Rect();
    if (GlyphTransparent) link.Bitmap->Transparent = true;
    Place(c, *link.Bitmap, Centred(frame, dst), frame, false);
}

void TmsuxThemeObject::Draw(TCanvas& c, const TRect& dst, const TRect& clip, int state) {
    const TRect noClip = IsRectEmpty(clip) ? TRect{} : clip;
    LastImage = nullptr;
    switch (BgType) {
        case msbtNone: return;
        case msbtFill:
            if (FillColor != clNone) FillRect(c, dst, FillColor);
            break;
        case msbtBorderFill: {
            TRect r = dst;
            for (int i = 0; i < BorderSize && !IsRectEmpty(r); ++i) {
                DrawRect(c, r, BorderColor);
                r = TRect{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
            }
            if (FillColor != clNone && !IsRectEmpty(r)) FillRect(c, r, FillColor);
            break;
        }
        case msbtImage: {
            const bool sized = ImageSelectType == msisDpi && GlyphType != msgtImage;
            TteBitmapLink* link = sized ? SizedImage(dst.Width()) : &Image;
            if (!HoldsBitmap(*link)) return;
            SelectFrame(*link, state);
            DrawImage(c, *link, dst, noClip);
            LastImage = link;
            break;
        }
    }
    if (GlyphType != msgtImage) return;
    DrawGlyph(c, GlyphImage, dst, state);
    if (ImageSelectType == msisDpi || ImageSelectType == msisSize)
        DrawGlyph(c, *SizedImage(dst.Width()), dst, state);
}

}  // namespace tarvel
