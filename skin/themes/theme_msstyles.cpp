#include "skin/themes/theme_msstyles.h"

#include <unordered_map>

#include "platform/base/Exceptions.h"
#include "platform/base/Paths.h"
#include "skin/core/te_compress.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_utils.h"
#include "skin/themes/theme_se3source.h"

namespace tarvel {

namespace {

constexpr const char* kClassNames[] = {
    // window
    "Window", "Window.Caption", "Window.FrameLeft", "Window.FrameRight", "Window.FrameBottom",
    "Window.CloseButton", "Window.HelpButton", "Window.MaxButton", "Window.MinButton", "Window.RestoreButton",
    "Window.SmallCaption", "Window.SmallFrameLeft", "Window.SmallFrameRight", "Window.SmallFrameBottom",
    "Window.SmallCloseButton", "Window.SysButton", "Window.Caption(Active)", "Window.Caption(Inactive)",
    "Window.MDIMinButton", "Window.MDICloseButton", "Window.MDIRestoreButton",
    // button
    "Button.Pushbutton", "Button.Pushbutton(Disabled)", "Button.Pushbutton(Defaulted)",
    // spin
    "Spin", "Spin.Up", "Spin.Down", "Spin.Uphorz", "Spin.Downhorz",
    // check and radio
    "button.checkbox", "Button.checkbox(checkeddisabled)", "Button.checkbox(unchecked disabled)",
    "Button.checkbox(mixeddisabled)", "button.radiobutton", "Button.radiobutton(checkeddisabled)",
    "Button.radiobutton(unchecked disabled)",
    // scroll bar
    "ScrollBar.ArrowBtn", "ScrollBar.ThumbBtnHorz", "ScrollBar.ThumbBtnVert", "ScrollBar.LowerTrackHorz",
    "ScrollBar.UpperTrackHorz", "ScrollBar.LowerTrackVert", "ScrollBar.UpperTrackVert",
    "ScrollBar.GripperHorz", "ScrollBar.GripperVert",
    // progress
    "Progress", "Progress.Bar", "Progress.BarVert", "Progress.Chunk", "Progress.ChunkVert",
    // track bar
    "TrackBar", "TrackBar.Thumb", "TrackBar.ThumbTop", "TrackBar.ThumbBottom", "TrackBar.ThumbVert",
    "TrackBar.ThumbLeft", "TrackBar.ThumbRight", "TrackBar.Track", "TrackBar.TrackVert", "TrackBar.Tics",
    "TrackBar.Tics",
    // group box, edit, combo box
    "button.groupbox", "edit", "edit.edittext(disabled)", "edit.edittext(readonly)", "combobox",
    "combobox(disabled)", "combobox(hot)", "Combobox.DropDownButton",
    // header, status bar
    "header", "header.headeritem", "status", "status.pane", "status.gripperpane", "status.gripper",
    // rebar, tool bar
    "rebar", "rebar.band", "rebar.gripper", "rebar.grippervert", "rebar.chevron", "rebar.chevronvert",
    "toolbar", "toolbar.button", "toolbar.separator", "toolbar.dropdownbutton", "toolbar.splitbutton",
    "toolbar.splitbuttondropdown",
    // tab
    "tab", "tab.pane", "tab.toptabitem", "tab.body", "tab.toptabitemleftedge", "tab.toptabitemrightedge",
    // explorer bar, list view
    "explorerbar", "explorerbar.SpecialGroupBackground", "explorerbar.NormalGroupCollapse",
    "explorerbar.NormalGroupExpand", "explorerbar.NormalGroupHead", "explorerbar.headerclose", "listview"};
static_assert(std::size(kClassNames) == kMsStylesObjectCount);
constexpr int kFirstButtonSlot = 21;  // "Button.Pushbutton": the metrics are read before it

// Slot of a class name, the first of a repeated one.
int SlotOf(std::string_view section) {
    static const std::unordered_map<String, int> slots = [] {
        std::unordered_map<String, int> m;
        for (int i = 0; i < kMsStylesObjectCount; ++i) m.emplace(LowerCase(kClassNames[i]), i);
        return m;
    }();
    const auto it = slots.find(LowerCase(section));
    return it == slots.end() ? -1 : it->second;
}

[[noreturn]] void Refuse(const String& what) { throw EReadError("Visual style not loaded: " + what); }

// Zero-terminated UTF-16 names one after another, ended by an empty name or
// by the resource's end (an odd last byte is no character).
std::vector<String> ReadNameList(const std::vector<uint8_t>& bytes) {
    std::vector<String> names;
    std::u16string name;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const char16_t ch = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
        if (ch != 0) {
            name += ch;
            continue;
        }
        if (name.empty()) return names;
        names.push_back(WideToUtf8(name));
        name.clear();
    }
    if (!name.empty()) names.push_back(WideToUtf8(name));
    return names;
}

String Utf16Text(const std::vector<uint8_t>& bytes) {
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    if (!text.empty() && text[0] == 0xFEFF) text.erase(0, 1);
    return WideToUtf8(text);
}

std::vector<uint8_t> Resource(const ResourceModule& module, const char* type, const ResourceId& name) {
    std::optional<std::vector<uint8_t>> bytes = module.FindResource(type, name);
    if (!bytes) Refuse(String("no resource ") + type);
    return std::move(*bytes);
}

// The file name without folder and extension.
String StyleNameOf(const String& fileName) {
    const String name = ExtractFileName(NativePath(fileName));
    const size_t dot = name.rfind('.');
    return dot == String::npos ? name : name.substr(0, dot);
}

void ApplyFont(TFont* font, const String& text) {
    font->SetName(msux::StringToFontName(text));
    font->SetSize(msux::StringToFontSize(text));
    font->SetStyle(msux::StringToFontStyle(text));
}

}  // namespace

std::span<const char* const> MsStylesClassNames() { return kClassNames; }

void InitThemeMsStyles() { RegisterTheme(ThemeClassOf<TTeThemeMsStyles>()); }

// ---- life -------------------------------------------------------------------------------------

TTeThemeMsStyles::TTeThemeMsStyles()
    : images_(std::make_unique<TteBitmapList>()),
      menuFont_(std::make_unique<TFont>()),
      statusFont_(std::make_unique<TFont>()),
      msgBoxFont_(std::make_unique<TFont>()) {
    scratch_.SetSize(1, 1);
}

TTeThemeMsStyles::~TTeThemeMsStyles() = default;

TteThemeConfig TTeThemeMsStyles::GetThemeConfig() {
    TteThemeConfig config;
    config.CanSave = true;
    config.FileBased = true;
    config.Filter = GetThemeName() + " (*.msstyles)|*.msstyles|" + "Orvanta themes (*.theme)|*.theme";
    config.DefaultExt = "msstyles";
    return config;
}

bool TTeThemeMsStyles::CheckStream(TStream& stream) {
    std::array<uint8_t, 7> read{};
    return stream.Read(read.data(), 7) == 7 && read == Signature;
}

bool TTeThemeMsStyles::IsThemeEmpty() const {
    return images_->Count() == 0 || !uxAssigned(Object("Button.Pushbutton"));
}

TmsuxThemeObject* TTeThemeMsStyles::Object(std::string_view section) const {
    const int slot = SlotOf(section);
    return slot < 0 ? nullptr : objects_[static_cast<size_t>(slot)].get();
}

void TTeThemeMsStyles::Assign(TPersistent* source) {
    TteTheme::Assign(source);
    auto* other = dynamic_cast<TTeThemeMsStyles*>(source);
    if (!other || other == this) return;
    TMemoryStream copy;
    other->WriteContainer(copy);
    copy.SetPosition(0);
    OnlyLoadFromStream(copy);
    pristine_.Clear();
    ResetTheme();
}

// ---- the container ----------------------------------------------------------------------------

void TTeThemeMsStyles::OnlyLoadFromStream(TStream& stream) {
    images_->Clear();
    if (!CheckStream(stream)) return;
    TSkinBodyStream body(stream);
    String name = ReadString(body);
    const String text = ReadString(body);
    const uint32_t count = static_cast<uint32_t>(ReadInt32(body));
    if (count > kMaxSkinImagesBasic) Refuse("image count");
    auto images = std::make_unique<TteBitmapList>();
    int64_t pixelBytes = 0;
    for (uint32_t i = 0; i < count; ++i) {
        std::unique_ptr<TteBitmap> image = ReadSkinImage(body, pixelBytes);
        image->Name = ReadString(body);
        ReadSkinImageFlags(body, *image);
        images->Add(image.release());
    }
    body.CheckEnd();
    styleName_ = name;
    Name = std::move(name);
    styleText_.SetText(text);
    images_.swap(images);
}

void TTeThemeMsStyles::WriteContainer(TStream& stream) {
    stream.WriteBuffer(Signature.data(), Signature.size());
    TCompressionStream packed(TCompressionLevel::clFastest, stream);
    WriteString(packed, Name);
    WriteString(packed, styleText_.GetText());
    WriteInt32(packed, images_->Count());
    for (int i = 0; i < images_->Count(); ++i) {
        const TteBitmap* image = images_->GetImage(i);
        image->SaveToStream(packed);
        WriteString(packed, image->Name);
        WriteSkinImageFlags(packed, *image);
    }
    packed.Finish();
}

bool TTeThemeMsStyles::SaveToStream(TStream& stream) {
    WriteContainer(stream);
    return true;
}

bool TTeThemeMsStyles::SaveToFile(const String& fileName) {
    if (LowerCase(ExtractFileExt(fileName)) != ".theme") return false;
    TMemoryStream bytes;
    WriteContainer(bytes);
    WriteFileBytes(NativePath(fileName), bytes.Memory(), static_cast<size_t>(bytes.Size()));
    return true;
}

// ---- loading ----------------------------------------------------------------------------------

void TTeThemeMsStyles::TakeContent(TTeThemeMsStyles& from) {
    Name = from.Name;
    FileName = from.FileName;
    styleName_ = from.styleName_;
    moduleFile_ = from.moduleFile_;
    colorNames_ = from.colorNames_;
    sizeNames_ = from.sizeNames_;
    fileNames_ = from.fileNames_;
    styleText_ = from.styleText_;
    images_.swap(from.images_);
    pristine_.Clear();
    from.pristine_.SaveToStream(pristine_);
}

template <class Load>
bool TTeThemeMsStyles::LoadGuarded(Load&& load) {
    try {
        TTeThemeMsStyles fresh;
        fresh.colorSchemeIndex_ = colorSchemeIndex_;
        fresh.fontSchemeIndex_ = fontSchemeIndex_;
        load(fresh);
        TakeContent(fresh);
    } catch (const std::exception&) {
        return false;
    }
    // The content was made once already; making it again with this theme's
    // shifts cannot fail differently.
    ResetTheme();
    return true;
}

bool TTeThemeMsStyles::LoadFromStream(TStream& stream) {
    return LoadGuarded([&stream](TTeThemeMsStyles& fresh) {
        const int64_t start = stream.Position();
        if (!CheckStream(stream)) Refuse("no container");
        stream.SetPosition(start);
        fresh.OnlyLoadFromStream(stream);
        fresh.ResetTheme();
    });
}

bool TTeThemeMsStyles::LoadFromFile(const String& fileName) {
    const String path = NativePath(fileName);
    if (LowerCase(ExtractFileExt(path)) == ".theme") {
        return LoadGuarded([&](TTeThemeMsStyles& fresh) {
            const std::vector<uint8_t> bytes = ReadFileBytes(path, kMaxSkinFileBytes);
            TMemoryStream stream;
            if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
            stream.SetPosition(0);
            if (!CheckStream(stream)) Refuse("no container");
            stream.SetPosition(0);
            fresh.OnlyLoadFromStream(stream);
            fresh.moduleFile_ = fresh.FileName = fileName;
            fresh.ResetTheme();
        });
    }
    return LoadGuarded([&](TTeThemeMsStyles& fresh) { fresh.LoadModule(fileName); });
}

void TTeThemeMsStyles::LoadModule(const String& fileName) {
    ResourceModule module;
    if (!module.Open(NativePath(fileName))) Refuse("module cannot be opened");
    moduleFile_ = FileName = fileName;
    styleName_ = Name = StyleNameOf(fileName);
    colorNames_ = ReadNameList(Resource(module, "COLORNAMES", uint16_t{1}));
    sizeNames_ = ReadNameList(Resource(module, "SIZENAMES", uint16_t{1}));
    fileNames_ = ReadNameList(Resource(module, "FILERESNAMES", uint16_t{1}));
    const int64_t index =
        int64_t{static_cast<int64_t>(sizeNames_.size())} * colorSchemeIndex_ + fontSchemeIndex_;
    if (colorNames_.empty() || sizeNames_.empty() || fileNames_.empty() || index < 0 ||
        index >= static_cast<int64_t>(fileNames_.size()))
        Refuse("no style text for the schemes");
    const String text = Utf16Text(Resource(module, "TEXTFILE", fileNames_[static_cast<size_t>(index)]));
    styleText_.SetText(StringReplaceAll(text, " = ", "="));
    pristine_.Clear();
    // The objects ask for their images while the module is open: it is read once.
    module_ = &module;
    Restore close([this] { module_ = nullptr; });
    ResetTheme();
}

void TTeThemeMsStyles::AddImage(const String& name) {
    const String resource = UpperCase(name);
    if (images_->GetBitmapByName(resource)) return;
    auto image = std::make_unique<TteBitmap>();
    if (module_) image->LoadFromResource(*module_, resource);
    image->Name = resource;
    images_->Add(image.release());
}

// ---- the objects ------------------------------------------------------------------------------

void TTeThemeMsStyles::LoadObjects() {
    if (pristine_.Size() > 0) {
        pristine_.SetPosition(0);
        OnlyLoadFromStream(pristine_);
    }
    const auto metric = [this](const char* key, const char* fallback) {
        return msux::ClampCoordinate(StrToInt(styleText_.ReadString("SysMetrics", key, fallback)));
    };
    for (int slot = 0; slot < kMsStylesObjectCount; ++slot) {
        if (slot == kFirstButtonSlot) {
            captionBarHeight_ = metric("CaptionBarHeight", "25");
            smCaptionBarHeight_ = metric("SMCaptionBarHeight", "17");
            borderWidth_ = metric("BorderWidth", "4");
            smBorderWidth_ = metric("SMBorderWidth", "3");
        }
        objects_[static_cast<size_t>(slot)] =
            std::make_unique<TmsuxThemeObject>(styleText_, kClassNames[slot], images_.get(), this);
    }
    if (pristine_.Size() == 0) WriteContainer(pristine_);
    if (DeltaHue() == 0 && DeltaBrightness() == 0) return;
    for (int i = 0; i < images_->Count(); ++i) {
        images_->GetImage(i)->ChangeBitmapHue(DeltaHue());
        images_->GetImage(i)->ChangeBitmapBrightness(DeltaBrightness());
    }
    for (const auto& object : objects_) {
        if (!uxAssigned(object.get())) continue;
        object->ChangeHue(DeltaHue());
        object->ChangeBrightness(DeltaBrightness());
    }
}

void TTeThemeMsStyles::ResetTheme() {
    LoadObjects();
    TteTheme::ResetTheme();
}

// ---- colours and fonts ------------------------------------------------------------------------

void TTeThemeMsStyles::ResetThemeColors() {
    TteTheme::ResetThemeColors();
    if (IsThemeEmpty()) return;
    Colors()->SetColor(ktcButtonNormal, Object("Button.Pushbutton")->FillColorHint);
    if (const TmsuxThemeObject* list = Object("listview"))
        for (TteThemeColor c : {ktcList, ktcTree, ktcGrid, ktcBarDock})
            Colors()->SetColor(c, list->FillColor);
}

void TTeThemeMsStyles::ResetThemeSysColors() {
    SysColors()->RestoreBase();
    if (!IsThemeEmpty()) {
        const auto color = [this](const char* key) {
            return msux::StringToColor(styleText_.ReadString("SysMetrics", key, "100 100 100"));
        };
        const struct {
            const char* Key;
            TColor SysColor;
        } kSysColors[] = {{"Window", clWindow},
                          {"BtnFace", clBtnFace},
                          {"Highlight", clHighlight},
                          {"BtnShadow", clBtnShadow},
                          {"HighlightText", clHighlightText}};
        for (const auto& s : kSysColors) SysColors()->SetColor(s.SysColor, color(s.Key));
        menuColor_ = color("Menu");
        menuHilightColor_ = color("MenuHilight");
        for (TColor* c : {&menuColor_, &menuHilightColor_}) {
            *c = teColorToColor(ChangeHue(teColor(*c, 255), DeltaHue()));
            *c = teColorToColor(ChangeBrightness(teColor(*c, 255), DeltaBrightness()));
        }
    }
    SysColors()->ChangeColorsHue(DeltaHue());
    SysColors()->ChangeColorsBrightness(DeltaBrightness());
}

void TTeThemeMsStyles::ResetThemeFonts() {
    TteTheme::ResetThemeFonts();
    if (IsThemeEmpty()) return;
    const auto text = [this](const char* key, const char* fallback) {
        return styleText_.ReadString("SysMetrics", key, fallback);
    };
    const String caption = text("CaptionFont", "Tahoma,10");
    const TColor captionColors[] = {msux::StringToColor(text("CaptionText", "255 255 255")),
                                    msux::StringToColor(text("InactiveCaptionText", "255 255 255"))};
    int i = 0;
    for (TteThemeFont f : {ktfCaptionTextNormal, ktfCaptionTextInactive}) {
        TFont* font = Fonts()->GetFont(f);
        font->SetName(msux::StringToFontName(caption));
        font->SetSize(msux::StringToFontSize(caption));
        font->SetColor(captionColors[i++]);
    }
    ApplyFont(menuFont_.get(), text("MenuFont", "Tahoma, 8"));
    ApplyFont(statusFont_.get(), text("StatusFont", "Tahoma, 8"));
    ApplyFont(msgBoxFont_.get(), text("MsgBoxFont", "Tahoma, 8"));
    const TColor highlightText = msux::StringToColor(text("HighlightText", "100 100 100"));
    for (TteThemeFont f :
         {ktfMenuItemTextSelected, ktfMenuItemTextHot, ktfPopupMenuItemTextSelected, ktfPopupMenuItemTextHot})
        Fonts()->GetFont(f)->SetColor(highlightText);
    if (const TmsuxThemeObject* button = Object("Button.Pushbutton")) {
        for (TteThemeFont f : {ktfButtonTextNormal, ktfButtonTextHot, ktfButtonTextPressed,
                               ktfButtonTextFocused, ktfButtonTextDisabled})
            SetFont(Fonts()->GetFont(f), msgBoxFont_->Name(), msgBoxFont_->Size(), msgBoxFont_->Style(),
                    button->TextColor);
    }
    if (const TmsuxThemeObject* disabled = Object("Button.Pushbutton(Disabled)"))
        Fonts()->GetFont(ktfButtonTextDisabled)->SetColor(disabled->TextColor);
}

// ---- shared drawing steps ---------------------------------------------------------------------

void TTeThemeMsStyles::DrawPart(std::string_view section, TCanvas& c, const TRect& r, int state) {
    if (TmsuxThemeObject* object = Object(section)) object->Draw(c, r, NullRect, state);
}

void TTeThemeMsStyles::DrawWithFillOf(std::string_view section, std::string_view with, TCanvas& c,
                                      const TRect& r) {
    TmsuxThemeObject* object = Object(section);
    if (!object) return;
    const TColor own = object->FillColor;
    Restore putBack([object, own] { object->FillColor = own; });
    if (const TmsuxThemeObject* other = Object(with)) object->FillColor = other->FillColor;
    object->Draw(c, r, NullRect, 1);
}

}  // namespace tarvel
