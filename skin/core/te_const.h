#pragma once
// Constants shared by every unit of the skin library: the key colour, the
// private window messages and the texts of the library's own errors.

#include <cstdint>

namespace tarvel {

// A pixel whose low 24 bits are this value is left out by transparent drawing.
constexpr uint32_t teKeyColor = 0x007F007Fu;
constexpr uint32_t teKeyMask = 0x00FFFFFFu;
constexpr bool IsKeyColored(uint32_t pixel) { return (pixel & teKeyMask) == teKeyColor; }

// Private window messages of the library.
constexpr uint32_t SNM_THEMEMESSAGE = 0x800;
constexpr uint32_t SNM_LINKCHANGED = 0x801;
constexpr uint32_t WM_DISABLEDRAWING = 0x21D2;
constexpr uint32_t WM_BACKGROUNDDESCRIPTION = 0x5AD;
constexpr uint32_t MM_POPUPSUBMENU = 0x46F;
constexpr uint32_t FM_TRAYNOTIFY = 0x56C;
constexpr uint32_t FM_UPDATENCAREA = 0x56D;
constexpr uint32_t FM_MAXIMIZE = 0x56E;
constexpr uint32_t FM_STARTACTION = 0x56F;
constexpr uint32_t FM_UPDATEFRAME = 0x570;
constexpr uint32_t MM_ITEMCLICK = 0x8BA;
constexpr uint32_t FM_TRAYQUERY = 0x4514;
constexpr uint32_t HM_REHOOK = 0xB0DE;
constexpr uint32_t HM_FREEHOOK = 0xB0DF;
constexpr uint32_t CM_PAINTTOBITMAP = 0xB1C8;

// Error texts.
inline constexpr const char* SCantAllocateDib = "Can't allocate the DIB handle";
inline constexpr const char* SCantCreateDC = "Can't create compatible DC";
inline constexpr const char* SCantSelectObject = "Can't select an object into DC";
inline constexpr const char* SZlibError = "error";
inline constexpr const char* SInvalidStreamOp = "Invalid stream operation";
inline constexpr const char* SBitmapStreamError = "Bitmap stream is malformed";

}  // namespace tarvel
