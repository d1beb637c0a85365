#include "skin/extras/te_dialogs_font.h"

#include "platform/base/Strings.h"
#include "platform/classlib/FontIdents.h"
#include "skin/core/te_theme_api.h"

namespace tarvel {

namespace {

constexpr const char* kStyles[] = {"Regular", "Italic", "Bold", "Bold Italic"};
constexpr const char* kSample = "AaBb";

int StyleEntry(TFontStyles style) {
    return (style.Contains(fsItalic) ? 1 : 0) + (style.Contains(fsBold) ? 2 : 0);
}

}  // namespace

std::vector<String> CharsetIdents() {
    std::vector<String> idents;
    for (int charset = 0; charset <= 255; ++charset)
        if (String ident; CharsetToIdent(charset, ident)) idents.push_back(ident);
    return idents;
}

template <class T>
T* TTeFontPanel::Add(TWinControl* parent, const char* name, const TRect& bounds) {
    auto* control = new T(this);
    control->SetName(name);
    control->SetParent(parent);
    control->SetBoundsRect(bounds);
    return control;
}

TTeFontPanel::TTeFontPanel(TComponent* owner) : TTeDialogPanel(owner), font_(std::make_unique<TFont>()) {
    SetBounds(0, 0, 352, 331);
    auto label = [&](TWinControl* parent, const char* name, const char* caption, int left, int top) {
        Add<TTeLabel>(parent, name, TRect{left, top, left + 100, top + 13})->SetCaption(Utf8ToWide(caption));
    };
    auto list = [&](const char* name, const TRect& bounds) {
        auto* l = Add<TTeListBox>(this, name, bounds);
        l->SetItemHeight(18);
        return l;
    };

    label(this, "FontLabel", "Font:", 6, 8);
    fontName_ = Add<TTeSEdit>(this, "teFontName", TRect{6, 24, 151, 45});
    fontList_ = list("teFontList", TRect{6, 48, 151, 160});
    fontList_->SetListStyle(lbsFonts);
    fontList_->SetSorted(true);
    fontList_->SetItemIndex(1);

    label(this, "FontStyleLabel", "Font Style:", 158, 8);
    fontStyle_ = Add<TTeSEdit>(this, "teFontStyle", TRect{158, 24, 269, 45});
    styleList_ = list("teStyleList", TRect{158, 48, 269, 160});
    for (const char* style : kStyles) styleList_->Items()->Add(style);

    label(this, "FontSizeLabel", "Size:", 276, 8);
    fontSize_ = Add<TTeSEdit>(this, "teFontSize", TRect{276, 24, 327, 45});
    sizeList_ = list("teSizeList", TRect{276, 48, 325, 160});
    for (int size = 4; size <= 24; size += 2) sizeList_->Items()->Add(IntToStr(size));

    effects_ = Add<TTeGroupBox>(this, "teEffectGroup", TRect{6, 166, 153, 289});
    effects_->SetCaption(u"Effects");
    effects_->SetTransparent(true);
    effects_->SetVisible(false);
    strikeout_ = Add<TTeCheckBox>(effects_, "teStrikeout", TRect{10, 20, 137, 40});
    strikeout_->SetCaption(u"Strikeout");
    underline_ = Add<TTeCheckBox>(effects_, "teUnderline", TRect{10, 44, 135, 64});
    underline_->SetCaption(u"Underline");
    label(effects_, "FontColorLabel", "Color:", 10, 70);
    fontColor_ = Add<TTeComboBox>(effects_, "teFontColor", TRect{10, 86, 135, 109});
    fontColor_->SetComboStyle(kcsDropDownList);
    fontColor_->SetListStyle(lbsColorNames);

    auto* sample = Add<TTeGroupBox>(this, "FontSample", TRect{156, 166, 329, 243});
    sample->SetCaption(u"Sample");
    sample->SetTransparent(true);
    samplePanel_ = Add<TTePanel>(sample, "teSamplePanel", TRect{12, 20, 161, 65});
    samplePanel_->SetBorderWidth(2);
    samplePanel_->SetBevelOuter(bvLowered);
    samplePanel_->SetCaption("");
    preview_ = Add<TTeDialogPaintBox>(samplePanel_, "tePreviewPaint", TRect{0, 0, 149, 45});
    preview_->SetAlign(alClient);
    preview_->OnPaint = [this](TTeDialogPaintBox*, TCanvas& c) { PaintSample(c); };

    label(this, "FontScriptLabel", "Script:", 158, 246);
    script_ = Add<TTeComboBox>(this, "teScript", TRect{158, 264, 327, 287});
    script_->SetComboStyle(kcsDropDownList);
    for (const String& ident : CharsetIdents()) script_->Items()->Add(ident);

    fontList_->OnClick = [this](TObject*) { ListClicked(fontList_, fontName_); };
    styleList_->OnClick = [this](TObject*) { ListClicked(styleList_, fontStyle_); };
    sizeList_->OnClick = [this](TObject*) { ListClicked(sizeList_, fontSize_); };
    strikeout_->OnClick = [this](TObject*) { TakeFontFromControls(); };
    underline_->OnClick = [this](TObject*) { TakeFontFromControls(); };
    fontColor_->OnChange = [this](TObject*) { TakeFontFromControls(); };
    script_->OnChange = [this](TObject*) { TakeFontFromControls(); };
}

TTeFontPanel::~TTeFontPanel() = default;

void TTeFontPanel::SetFont(TFont* value) {
    font_->Assign(value);
    updating_ = true;
    struct TDone {
        bool& flag;
        ~TDone() { flag = false; }
    } done{updating_};

    fontList_->SetItemIndex(fontList_->Items()->IndexOf(font_->Name()));
    fontName_->SetText(font_->Name());
    styleList_->SetItemIndex(StyleEntry(font_->Style()));
    fontStyle_->SetText(styleList_->Items()->Get(styleList_->ItemIndex()));
    const String size = IntToStr(font_->Size());
    sizeList_->SetItemIndex(sizeList_->Items()->IndexOf(size));
    fontSize_->SetText(size);
    strikeout_->SetChecked(font_->Style().Contains(fsStrikeOut));
    underline_->SetChecked(font_->Style().Contains(fsUnderline));
    const String colorName = ColorToString(font_->Color());
    const int colorEntry = fontColor_->Items()->IndexOf(colorName);
    fontColor_->SetItemIndex(colorEntry);
    if (colorEntry < 0) fontColor_->SetText(colorName);
    script_->SetItemIndex(script_->Items()->IndexOf("DEFAULT_CHARSET"));
    samplePanel_->Font()->Assign(font_.get());
    preview_->Invalidate();
}

void TTeFontPanel::SetDevice(TTeFontDevice value) {
    device_ = value;
    fontList_->SetFontDevice(value);
}

void TTeFontPanel::SetMinFontSize(int value) {
    minFontSize_ = value;
    BuildSizeList();
}

void TTeFontPanel::SetMaxFontSize(int value) {
    maxFontSize_ = value;
    BuildSizeList();
}

void TTeFontPanel::BuildSizeList() {
    const int first = minFontSize_ > 0 ? minFontSize_ : 8;
    const int last = maxFontSize_ > 0 ? maxFontSize_ : 128;
    TStrings* items = sizeList_->Items();
    items->BeginUpdate();
    items->Clear();
    for (int size = first; size <= last; size += 2) items->Add(IntToStr(size));
    items->EndUpdate();
}

void TTeFontPanel::SetOptions(TFontDialogOptions value) {
    options_ = value;
    TTeFontType type = ftAll;
    if (options_.Contains(fdTrueTypeOnly)) type = ftTrueType;
    if (options_.Contains(fdFixedPitchOnly)) type = ftFixedPitch;
    fontList_->SetFontType(type);
    const bool effects = options_.Contains(fdEffects);
    effects_->SetEnabled(effects);
    effects_->SetVisible(effects);
}

void TTeFontPanel::ListClicked(TTeListBox* list, TTeSEdit* edit) {
    if (list->ItemIndex() >= 0) edit->SetText(list->Items()->Get(list->ItemIndex()));
    TakeFontFromControls();
}

void TTeFontPanel::TakeFontFromControls() {
    if (updating_) return;
    if (fontList_->ItemIndex() >= 0) font_->SetName(fontList_->Items()->Get(fontList_->ItemIndex()));
    if (int size = 0;
        sizeList_->ItemIndex() >= 0 && TryStrToInt(sizeList_->Items()->Get(sizeList_->ItemIndex()), size))
        font_->SetSize(size);

    TFontStyles style = font_->Style();
    auto set = [&style](TFontStyle part, bool on) { on ? style.Include(part) : style.Exclude(part); };
    if (const int entry = styleList_->ItemIndex(); entry >= 0) {
        set(fsItalic, entry & 1);
        set(fsBold, entry & 2);
    }
    set(fsStrikeOut, strikeout_->Checked());
    set(fsUnderline, underline_->Checked());
    font_->SetStyle(style);

    // A colour that names no entry stays in the box's text (its hexadecimal
    // form) and keeps the colour; text that is no colour changes nothing.
    TColor color = font_->Color();
    const String colorText = fontColor_->ItemIndex() >= 0 ? fontColor_->Items()->Get(fontColor_->ItemIndex())
                                                          : String(fontColor_->Text());
    if (!colorText.empty()) {
        try {
            color = StringToColor(colorText);
        } catch (const EConvertError&) {
        }
    }
    font_->SetColor(color);
    if (int charset = 0; IdentToCharset(script_->Text(), charset))
        font_->SetCharset(static_cast<TFontCharset>(charset));

    samplePanel_->Font()->Assign(font_.get());
    preview_->Invalidate();
}

void TTeFontPanel::PaintSample(TCanvas& canvas) {
    DrawControlBackground(preview_, canvas);
    canvas.Font()->Assign(samplePanel_->Font());
    canvas.Brush()->SetStyle(bsClear);
    // One line, centred both ways.
    const TSize size = canvas.TextExtent(kSample);
    canvas.TextOut((preview_->Width() - size.cx) / 2, (preview_->Height() - size.cy) / 2, kSample);
}

}  // namespace tarvel
