#pragma once
// Files dropped on our windows from other programs. A window that accepts
// files (DragAcceptFiles, or WS_EX_ACCEPTFILES) gets WM_DROPFILES with wParam
// an HDROP: the dropped files and the point, kept until DragFinish. A drop
// on a window that does not accept goes to its nearest ancestor that does,
// and is dropped when none does.

#include <string>
#include <vector>

#include "platform/winsys/WinTypes.h"

namespace tarvel {

struct HDROP__;
using HDROP = HDROP__*;

void DragAcceptFiles(HWND hwnd, bool accept);

constexpr UINT kDragQueryCount = 0xFFFFFFFF;
// With `index` kDragQueryCount: the number of files. Otherwise the length
// in bytes of the file's name (UTF-8), copied into `buffer` (null-ended,
// cut to `size` - 1 bytes) when there is one. 0 for a bad handle or index.
UINT DragQueryFile(HDROP drop, UINT index, char* buffer, UINT size);
std::string DragQueryFileName(HDROP drop, UINT index);  // "" for a bad handle or index
// Where the files were dropped, in the client coordinates of the window that
// got them; false for a bad handle.
bool DragQueryPoint(HDROP drop, TPoint* point);
// Frees the drop; its handle is no good afterwards.
void DragFinish(HDROP drop);

// For the displays: the user dropped `files` at a screen point. Safe from
// any thread; delivered on the GUI thread in order with other posted work.
void QueueFileDrop(TPoint screen, std::vector<std::string> files);

}  // namespace tarvel
