#include "skin/forms/te_forms_resources.h"

#include <array>
#include <memory>

#include "platform/classlib/Bitmaps.h"
#include "platform/winsys/SystemApi.h"
#include "skin/forms/te_forms_hooks.h"
#include "skin/forms/te_forms_menus.h"
#include "skin/forms/te_forms_options.h"

namespace tarvel {

TFont* CaptionFont = nullptr;
TFont* SmCaptionFont = nullptr;
TImageList* SysMenuImages = nullptr;
int DefaultBorderWidth = 0;
int DefaultCaptionHeight = 0;
int DefaultToolCaptionHeight = 0;
int DefaultButtonWidth = 0;
int DefaultButtonHeight = 0;

namespace {

int gStarts = 0;

constexpr TColor kMask = 0x00FF00FF;

// The glyphs: black shapes on the mask colour, one per system-menu command.
void DrawGlyph(TCanvas* c, int index) {
    c->Brush()->SetColor(kMask);
    c->FillRect(TRect{0, 0, 16, 16});
    c->Brush()->SetColor(clBlack);
    c->Pen()->SetColor(clBlack);
    switch (index) {
        case kimClose:
            for (int i = 0; i < 8; ++i) {
                c->FillRect(TRect{4 + i, 4 + i, 6 + i, 5 + i});
                c->FillRect(TRect{10 - i, 4 + i, 12 - i, 5 + i});
            }
            break;
        case kimMinimize: c->FillRect(TRect{4, 10, 11, 12}); break;
        case kimMaximize:
            c->FillRect(TRect{3, 3, 13, 5});
            c->FillRect(TRect{3, 3, 4, 13});
            c->FillRect(TRect{12, 3, 13, 13});
            c->FillRect(TRect{3, 12, 13, 13});
            break;
        case kimRestore:
            for (int o : {0, 3}) {
                const int x = 6 - o, y = 3 + o;
                c->FillRect(TRect{x, y, x + 7, y + 2});
                c->FillRect(TRect{x, y, x + 1, y + 6});
                c->FillRect(TRect{x + 6, y, x + 7, y + 6});
                c->FillRect(TRect{x, y + 5, x + 7, y + 6});
            }
            break;
        case kimRollup:
            for (int i = 0; i < 4; ++i) c->FillRect(TRect{4 + i, 6 + i, 12 - i, 7 + i});
            break;
        case kimTray: c->Ellipse(6, 9, 11, 14); break;
    }
}

}  // namespace

void FontFromLogFont(TFont* font, const LOGFONTW& lf) {
    font->SetName(WideToUtf8(lf.lfFaceName));
    font->SetHeight(lf.lfHeight);
    TFontStyles style;
    if (lf.lfWeight >= FW_BOLD) style.Include(fsBold);
    if (lf.lfItalic) style.Include(fsItalic);
    font->SetStyle(style);
}

void InitCaptionFonts() {
    delete CaptionFont;
    delete SmCaptionFont;
    CaptionFont = new TFont();
    SmCaptionFont = new TFont();
    NONCLIENTMETRICSW ncm;
    if (!SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0)) return;
    FontFromLogFont(CaptionFont, ncm.lfCaptionFont);
    FontFromLogFont(SmCaptionFont, ncm.lfSmCaptionFont);
}

void InitSysMenuImages() {
    delete SysMenuImages;
    SysMenuImages = new TImageList(nullptr);
    SysMenuImages->SetSize(16, 16);
    for (int i = kimClose; i <= kimTray; ++i) {
        TBitmap glyph;
        glyph.SetSize(16, 16);
        DrawGlyph(glyph.Canvas(), i);
        SysMenuImages->AddMasked(&glyph, kMask);
    }
}

void InitFrameMetrics() {
    DefaultBorderWidth = GetSystemMetrics(SM_CXFRAME);
    DefaultCaptionHeight = GetSystemMetrics(SM_CYCAPTION);
    DefaultToolCaptionHeight = GetSystemMetrics(SM_CYSMCAPTION);
    DefaultButtonWidth = GetSystemMetrics(SM_CXSIZE);
    DefaultButtonHeight = GetSystemMetrics(SM_CYSIZE);
}

void InitForms() {
    if (gStarts++ > 0) return;
    RegisterClasses({TTeBlending::StaticClass(), TTeShadow::StaticClass(), TTeGravitation::StaticClass(),
                     TTeDragging::StaticClass(), TTeFormOptions::StaticClass(),
                     TTePopupMenuOptions::StaticClass()});
    HookList = nullptr;
    InitCaptionFonts();
    InitSysMenuImages();
    InitFrameMetrics();
    InitMenus();
    RegisterFormPainters();
}

void DoneForms() {
    if (gStarts == 0 || --gStarts > 0) return;
    DoneMenus();
    delete SysMenuImages;
    SysMenuImages = nullptr;
    delete SmCaptionFont;
    SmCaptionFont = nullptr;
    delete CaptionFont;
    CaptionFont = nullptr;
    FreeHookList();
    for (TClass c :
         {TTeBlending::StaticClass(), TTeShadow::StaticClass(), TTeGravitation::StaticClass(),
          TTeDragging::StaticClass(), TTeFormOptions::StaticClass(), TTePopupMenuOptions::StaticClass()})
        UnRegisterClass(c);
}

}  // namespace tarvel
