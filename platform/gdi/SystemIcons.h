#pragma once
// Inside the drawing layer: the pictures of the platform's standard icons.

#include <memory>

#include "platform/gdi/Surface.h"

namespace tarvel {

// A new 32 x 32 picture (alpha meant) of a standard icon, null for an id
// that names none.
std::shared_ptr<Surface> SystemIconPicture(int standardIcon);

}  // namespace tarvel
