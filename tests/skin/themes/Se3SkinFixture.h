#pragma once
// A small test skin made of skin objects in code: a "Form" with caption,
// title, caption buttons, borders and client, a "ToolWindow", and the
// controls' objects in plain colours that tell which object and which
// state drew a pixel. Written with the production writer and loaded back.

#include <memory>

#include "platform/classlib/Streams.h"
#include "skin/themes/theme_se3.h"
#include "tests/skin/PaperFixture.h"

namespace tarvel::testing {

// Colours of the test skin (0x00BBGGRR).
namespace skin {
constexpr TColor kBorder = 0x404040;
constexpr TColor kCaption = 0x808080;
constexpr TColor kCaptionActive = 0x800000;
constexpr TColor kClient = 0xF0F0F0;
constexpr TColor kNormal = 0xC0C0C0;
constexpr TColor kHot = 0x00FFFF;
constexpr TColor kPressed = 0x606060;
constexpr TColor kFocused = 0xFF0000;
constexpr TColor kDisabled = 0xA0A0A0;
// The caption-button image: normal, hot and pressed cells of 16 x 16.
constexpr uint32_t kGlyphNormal = 0xFFFF0000;
constexpr uint32_t kGlyphHot = 0xFF00FF00;
constexpr uint32_t kGlyphPressed = 0xFF0000FF;
}  // namespace skin

template <class T = TSeSkinObject>
T* Obj(TSeSkinObject* parent, const char* name, TColor color, TRect bounds, TSeAlign align = saNone,
       TSeKind kind = skNone) {
    auto* o = new T(parent);
    o->SetName(name);
    o->SetColor(color);
    o->SetBoundsRect(bounds);
    o->SetAlign(align);
    o->SetKind(kind);
    return o;
}

// A top-level object, its own colour not drawn unless it has no children.
template <class T = TSeSkinObject>
T* Top(TSeSkinSource& src, const char* name, TColor color = clNone, TRect bounds = TRect{0, 0, 100, 40}) {
    auto* o = Obj<T>(nullptr, name, color, bounds);
    src.Add(o);
    return o;
}

// A plain object with the five state colours.
inline TSeColorButtonObject* States(TSeSkinObject* parent, const char* name,
                                    TRect bounds = TRect{0, 0, 100, 40}, TSeAlign align = saClient) {
    auto* o = Obj<TSeColorButtonObject>(parent, name, skin::kNormal, bounds, align);
    const TColor colors[] = {skin::kHot, skin::kPressed, skin::kFocused, skin::kDisabled};
    for (int i = 0; i < 4; ++i) o->SetStateColor(i, colors[i]);
    return o;
}

inline TSeSystemButton* CaptionButton(TSeSkinObject* caption, const char* name, TSeAction action, int left,
                                      TSeAlign align = saTopRight) {
    // A bitmap object of colour clNone draws no image.
    auto* b = Obj<TSeSystemButton>(caption, name, clWhite, TRect{left, 4, left + 16, 20}, align, skSysButton);
    b->SetAction(action);
    const std::pair<TteBitmapLink*, int> links[] = {
        {b->GetBitmap(), 0}, {b->GetBitmapHot(), 16}, {b->GetBitmapPressed(), 32}};
    for (auto [link, x] : links) {
        link->Name = "Buttons";
        link->SetRect(TRect{x, 0, x + 16, 16});
    }
    return b;
}

// A frame object: caption (with title and buttons), borders and client.
inline TSeSkinObject* AddFrame(TSeSkinSource& src, const char* name, int captionHeight, bool allButtons) {
    TSeSkinObject* form = Top(src, name, skin::kBorder, TRect{0, 0, 300, 200});
    form->SetKind(skForm);
    form->SetMasked(false);
    auto* caption = Obj<TSeActiveObject>(form, "Caption", skin::kCaption, TRect{0, 0, 300, captionHeight},
                                         saTop, skCaption);
    caption->SetActiveColor(skin::kCaptionActive);
    caption->SetDrawIfOwner(true);
    auto* title = Obj(caption, "Title", clNone, TRect{0, 0, 300, captionHeight}, saClient, skTitle);
    title->SetTextMarginLeft(4);
    title->SetTextMarginRightStretch(true);
    title->SetTextShiftSysIton(true);
    title->Font()->SetColor(clWhite);
    CaptionButton(caption, "Close", sbaClose, 278);
    if (allButtons) {
        // Left of the title, so the caption never ends at it.
        CaptionButton(caption, "SysMenu", sbaSysMenu, 0, saLeft);
        CaptionButton(caption, "Max", sbaMaximize, 260);
        CaptionButton(caption, "Restore", sbaRestore, 260);
        CaptionButton(caption, "Min", sbaMinimize, 242);
        CaptionButton(caption, "Help", sbaHelp, 224);
    }
    Obj(form, "Left", skin::kBorder, TRect{0, 0, 4, 200}, saLeft, skLeft);
    Obj(form, "Right", skin::kBorder, TRect{296, 0, 300, 200}, saRight, skRight);
    Obj(form, "Bottom", skin::kBorder, TRect{0, 196, 300, 200}, saBottom, skBottom);
    Obj(form, "Client", skin::kClient, TRect{4, captionHeight, 296, 196}, saClient, skClient);
    return form;
}

// The test skin. Every control object has the children the theme asks for.
inline void FillTestSkin(TSeSkinSource& src) {
    src.SkinName = "Test skin";
    auto image = std::make_unique<TteBitmap>();
    image->SetSize(48, 16);
    image->FillRect(TRect{0, 0, 16, 16}, skin::kGlyphNormal);
    image->FillRect(TRect{16, 0, 32, 16}, skin::kGlyphHot);
    image->FillRect(TRect{32, 0, 48, 16}, skin::kGlyphPressed);
    image->Name = "Buttons";
    src.Bitmaps().Add(image.release());

    AddFrame(src, "Form", 24, true);
    AddFrame(src, "ToolWindow", 16, false);

    States(Top(src, "Button"), "Face");
    States(Top(src, "SpinButton"), "Face");
    for (const char* name : {"Checkbox", "RadioButton"}) {
        TSeSkinObject* check = Top(src, name, skin::kBorder, TRect{0, 0, 15, 15});
        check->SetDrawIfOwner(true);
        States(check, "Checked", TRect{1, 1, 14, 14}, saCenter);
        auto* unchecked = States(check, "Unchecked", TRect{1, 1, 14, 14}, saCenter);
        unchecked->SetColor(clWhite);
        if (name[0] == 'C') States(check, "Mixed", TRect{1, 1, 14, 14}, saCenter)->SetColor(0x808000);
    }
    TSeSkinObject* group = Top(src, "GroupBox");
    Obj(group, "Frame", skin::kBorder, TRect{0, 0, 100, 40}, saClient);
    TSeSkinObject* scroll = Top(src, "ScrollBar");
    for (const char* part :
         {"TopButton", "BottomButton", "LeftButton", "RightButton", "HorzSlider", "HorzFrame", "VertFrame"})
        States(scroll, part);
    auto* thumb = States(scroll, "VertSlider");
    thumb->SetMarginTop(7);
    thumb->SetMarginBottom(7);
    TSeSkinObject* progress = Top(src, "ProgressBar");
    Obj(progress, "Frame", skin::kBorder, TRect{0, 0, 100, 40}, saClient);
    Obj(progress, "Bar", skin::kCaptionActive, TRect{0, 0, 100, 40}, saClient);
    TSeSkinObject* edit = Top(src, "Edit");
    States(edit, "Frame");
    States(edit, "Button");
    States(Top(src, "ComboBox"), "Button");
    TSeSkinObject* track = Top(src, "TrackBar");
    Obj(track, "Track", skin::kBorder, TRect{0, 0, 100, 40}, saClient);
    States(track, "Thumb", TRect{0, 0, 10, 18}, saNone);
    TSeSkinObject* menuBar = Top(src, "MenuBar");
    Obj(menuBar, "Frame", skin::kClient, TRect{0, 0, 100, 40}, saClient);
    States(menuBar, "Item");
    Obj(menuBar, "Separator", clNone, TRect{0, 0, 100, 40}, saClient)->Font()->SetColor(skin::kBorder);
    TSeSkinObject* popup = Top(src, "PopupMenu");
    auto* popupFrame = Obj(popup, "Frame", clWhite, TRect{0, 0, 100, 40}, saClient);
    popupFrame->SetMarginLeft(2);
    popupFrame->SetMarginTop(2);
    popupFrame->SetMarginRight(2);
    popupFrame->SetMarginBottom(2);
    States(popup, "Item");
    States(popup, "Big")->SetColor(0x00FF00);
    Obj(popup, "Separator", clNone, TRect{0, 0, 100, 40}, saClient)->Font()->SetColor(skin::kBorder);
    States(popup, "upbutton");
    TSeSkinObject* header = Top(src, "Header");
    Obj(header, "Frame", skin::kBorder, TRect{0, 0, 100, 40}, saClient);
    States(header, "Section");
    TSeSkinObject* status = Top(src, "StatusBar");
    Obj(status, "Frame", skin::kClient, TRect{0, 0, 100, 40}, saClient);
    auto* panel = Obj(status, "Panel", skin::kNormal, TRect{0, 0, 100, 40}, saClient);
    panel->SetTextMarginLeft(3);
    Obj(status, "Gripper", skin::kBorder, TRect{0, 0, 100, 40}, saClient);
    TSeSkinObject* tabs = Top(src, "Tabs");
    Obj(tabs, "Frame", skin::kClient, TRect{0, 0, 100, 40}, saClient);
    States(tabs, "TabTop");
    States(tabs, "LeftButton");
    States(tabs, "RightButton");
    TSeSkinObject* container = Top(src, "Container");
    Obj(container, "Panel", skin::kNormal, TRect{0, 0, 100, 40}, saClient)->SetMarginLeft(2);
    TSeSkinObject* bars = Top(src, "ControlBar");
    Obj(bars, "Back", skin::kClient, TRect{0, 0, 100, 40}, saClient);
    Obj(bars, "Frame", skin::kNormal, TRect{0, 0, 100, 40}, saClient);
    Obj(bars, "Grabber", skin::kBorder, TRect{0, 0, 100, 40}, saClient);
    TSeSkinObject* speed = Top(src, "SpeedButton");
    States(speed, "Face");
    Obj(speed, "Separator", skin::kBorder, TRect{0, 0, 100, 40}, saClient);
    TSeSkinObject* grid = Top(src, "Grid");
    Obj(grid, "Frame", skin::kBorder, TRect{0, 0, 100, 40}, saClient);
    States(grid, "Fixed")->SetColor(skin::kCaption);
    States(grid, "Cell")->SetColor(clWhite);
    TSeSkinObject* list = Top(src, "ListBox");
    Obj(list, "Frame", skin::kBorder, TRect{0, 0, 100, 40}, saClient);
    States(list, "Item")->SetColor(clWhite);
    Top(src, "Hint", 0xE1FFFF);
    Top(src, "Splitter", skin::kNormal);
    TSeSkinObject* scrollBox = Top(src, "ScrollBox");
    Obj(scrollBox, "Frame", skin::kBorder, TRect{0, 0, 100, 40}, saClient);
    TSeSkinObject* explorer = Top(src, "Panel");
    Obj(explorer, "Frame", skin::kClient, TRect{0, 0, 100, 40}, saClient);
    Obj(explorer, "Caption", skin::kCaptionActive, TRect{0, 0, 100, 40}, saClient);
    States(explorer, "ButtonRollup");
}

// The source written in the maximum-compressed format and loaded into the theme.
inline bool LoadInto(TTeSkinFile& theme, TSeSkinSource& src) {
    TMemoryStream stream;
    src.SaveToStream(stream, TSeSkinFilterMaxCompression::StaticClass());
    stream.SetPosition(0);
    return theme.LoadFromStream(stream);
}

inline bool LoadTestSkin(TTeSkinFile& theme) {
    TSeSkinSource src(nullptr);
    FillTestSkin(src);
    return LoadInto(theme, src);
}

}  // namespace tarvel::testing
