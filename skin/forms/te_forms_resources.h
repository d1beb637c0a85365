#pragma once
// What the skinned frames and menus share for the life of the process: the
// caption fonts, the system-menu glyphs and the frame metrics of the
// window system, made once before the first form and freed after the last.

#include "platform/classlib/Graphics.h"
#include "platform/classlib/ImageLists.h"

namespace tarvel {

extern TFont* CaptionFont;
extern TFont* SmCaptionFont;
// Six 16 x 16 glyphs: close, minimize, maximize, restore, roll-up, tray.
extern TImageList* SysMenuImages;
enum TTeSysMenuImage { kimClose, kimMinimize, kimMaximize, kimRestore, kimRollup, kimTray };

extern int DefaultBorderWidth;
extern int DefaultCaptionHeight;
extern int DefaultToolCaptionHeight;
extern int DefaultButtonWidth;
extern int DefaultButtonHeight;

// The font takes the face, height and style of the logical font.
void FontFromLogFont(TFont* font, const LOGFONTW& lf);
void InitCaptionFonts();
void InitSysMenuImages();
void InitFrameMetrics();
// The background painters of forms and class-library frames.
void RegisterFormPainters();

// The start and end of the frames' unit; only the first start and the last
// end do anything. The theme core and the control bases start first.
void InitForms();
void DoneForms();

}  // namespace tarvel
