#pragma once
// The objects of a visual style: the style's ini text held in memory, and
// one TmsuxThemeObject per style class (one section of that text, such as
// "Button.Pushbutton"), which reads its keys into typed fields, resolves the
// images the section names and draws itself into a rectangle for a state
// index (counted from 1).
//
// Every key of a section is kept as a property, however many there are.

#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/base/Strings.h"
#include "platform/classlib/Components.h"
#include "platform/classlib/Graphics.h"
#include "skin/core/te_bitmap_links.h"
#include "skin/themes/theme_msuxtypes.h"

namespace tarvel {

class TTeThemeMsStyles;

// The style text: "[section]" lines and "key=value" lines. Sections and keys
// match without regard to ASCII case; the first of a repeated key wins and a
// repeated section continues the first. Lines before the first section,
// lines starting with ';' and lines without '=' hold no key. The lines
// themselves are kept as given, so the text is written back unchanged.
class TmsuxStyleText {
public:
    // Lines end with CR LF, LF or CR.
    void SetText(std::string_view text);
    // Each line followed by CR LF.
    String GetText() const;
    const std::vector<String>& Lines() const { return lines_; }
    void Clear();

    bool SectionExists(std::string_view section) const;
    // The section's keys in the order of the text, each once.
    std::vector<String> ReadSection(std::string_view section) const;
    String ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;

private:
    struct TSection {
        std::vector<std::pair<String, String>> Keys;  // key, value; both trimmed
        std::unordered_map<String, size_t> Index;     // lower-cased key -> its first entry
    };
    const TSection* Find(std::string_view section) const;

    std::vector<String> lines_;
    std::vector<TSection> sections_;
    std::unordered_map<String, size_t> index_;  // lower-cased name -> section
};

// One key of a section.
struct TmsuxObjectProp {
    String Name;   // lower-cased
    String Value;  // trimmed
    // 0 for a value that is not a number.
    int AsInteger() const;
    float AsFloat() const;
    void SetAsInteger(int value) { Value = IntToStr(value); }
    void SetAsFloat(float value) { Value = FloatToStr(value); }
};

// The margin parts of a rectangle.
enum TUxMarginType : uint8_t { umLeft, umTop, umRight, umBottom, umCenter };
// Part `part` of r split by margins (left, top, right, bottom); a part of
// no width or height is widened by one pixel.
TRect UxMarginPart(const TRect& r, const TRect& margins, TUxMarginType part);

class TmsuxThemeObject : public TComponent {
    TARVEL_CLASS(TmsuxThemeObject, TComponent)

public:
    // Reads the section at once. `theme` (may be null) is asked for the
    // images the section names; `images` is where they are looked up.
    // Neither is owned. A malformed number raises EConvertError.
    TmsuxThemeObject(const TmsuxStyleText& ini, const String& section, TteBitmapList* images,
                     TTeThemeMsStyles* theme);

    // Objects form a tree of their own: Add makes this object the child's
    // owner (which then frees it), Remove gives the child back.
    void Add(TmsuxThemeObject* child) { InsertComponent(child); }
    void Remove(TmsuxThemeObject* child) { RemoveComponent(child); }
    // This object when its component name is `name` (ignoring case), else null.
    TmsuxThemeObject* FindObjectByName(std::string_view name);
    // Asked of the topmost object of the tree this one is in.
    TmsuxThemeObject* GlobalFindObjectByName(std::string_view name);

    void LoadFromIni(const TmsuxStyleText& ini, const String& section);
    // Interprets one key and keeps it as a property.
    void SetValue(const String& key, const String& value);
    String GetValue(const String& key) const;
    TmsuxObjectProp* GetProp(const String& key);
    TmsuxObjectProp* GetPropByIndex(int index);
    int PropCount() const { return static_cast<int>(props_.size()); }
    const String& SectionName() const { return section_; }

    // Draws for state index `state`. The clip rectangle counts only when it
    // is not empty (the theme's operations pass NullRect).
    void Draw(TCanvas& c, const TRect& dst, const TRect& clip, int state);
    // Binds the image links again to the images of their names.
    void Loaded() override;
    // Copies of the given links (Image4 and Image5 have no key of their own).
    void SetImage(TteBitmapLink* value) { Image.Assign(value); }
    void SetGlyphImage(TteBitmapLink* value) { GlyphImage.Assign(value); }
    void SetImage1(TteBitmapLink* value) { Image1.Assign(value); }
    void SetImage2(TteBitmapLink* value) { Image2.Assign(value); }
    void SetImage3(TteBitmapLink* value) { Image3.Assign(value); }
    void SetImage4(TteBitmapLink* value) { Image4.Assign(value); }
    void SetImage5(TteBitmapLink* value) { Image5.Assign(value); }
    // Fill, border and text colours.
    void ChangeHue(int amount);
    void ChangeBrightness(int amount);

    TmsuxBgType BgType = msbtFill;
    TColor FillColor = clNone;
    TColor FillColorHint = 0;
    TColor TextColor = 0;
    TColor BorderColor = 0;
    int BorderSize = 0;
    TColor TransparentColor = 0xFF00FF;
    bool Transparent = false;
    TmsuxTransparentStyle TransparentStyle = uxtsFullOpaque;
    TmsuxImageSelectType ImageSelectType = msisNone;
    TteBitmapLink Image, Image1, Image2, Image3, Image4, Image5;
    int ImageCount = 1;
    TmsuxImageLayout ImageLayout = msilHorizontal;
    TmsuxTileStyle SizingType = uxtlsStretchAll;
    TRect SizingMargins{};  // left, top, right, bottom
    bool GlyphTransparent = false;
    TmsuxGlyphType GlyphType = msgtNone;
    TteBitmapLink GlyphImage;
    TmsuxAlignment ContentAlignment = msaLeft;
    TRect ContentMargins{};
    TRect CaptionMargins{};
    TmsuxTextShadow TextShadowType = uxtsNone;
    TColor TextShadowColor = 0x282828;
    TPoint TextShadowOffset{};
    // The background image link Draw used last; null after a fill.
    TteBitmapLink* LastImage = nullptr;

private:
    TteBitmapLink* LinkForKey(const String& key);
    void TakeImage(TteBitmapLink& link, const String& value, bool background);
    void PrepareTransparency();
    // The link among Image1 to Image5 that suits a destination of that width.
    TteBitmapLink* SizedImage(int width);
    void SelectFrame(TteBitmapLink& link, int state) const;
    void DrawImage(TCanvas& c, TteBitmapLink& link, const TRect& dst, const TRect& clip);
    void DrawNinePart(TCanvas& c, TteBitmap& bitmap, const TRect& frame, const TRect& dst, const TRect& clip,
                      bool savedTransparent, bool savedAlpha);
    void DrawGlyph(TCanvas& c, TteBitmapLink& link, const TRect& dst, int state);

    String section_;
    std::vector<TmsuxObjectProp> props_;
    std::unordered_map<String, size_t> propIndex_;  // lower-cased name -> props_
    TteBitmapList* images_;
    TTeThemeMsStyles* theme_;
};

// The object exists and its section held at least one key.
bool uxAssigned(const TmsuxThemeObject* object);

// A link whose bitmap has pixels.
inline bool HoldsBitmap(const TteBitmapLink& link) { return link.Bitmap && !link.Bitmap->Empty(); }

}  // namespace tarvel
