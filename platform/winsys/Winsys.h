#pragma once
// The window system: everything above the platform includes this.

#include "platform/winsys/DragDrop.h"
#include "platform/winsys/GuiTasks.h"
#include "platform/winsys/InputApi.h"
#include "platform/winsys/MdiApi.h"
#include "platform/winsys/MessageApi.h"
#include "platform/winsys/PaintApi.h"
#include "platform/winsys/ShellApi.h"
#include "platform/winsys/SystemApi.h"
#include "platform/winsys/WindowApi.h"
