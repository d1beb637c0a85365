#pragma once
// A container whose children sit in bands with grabbers (the control bar of
// the extended controls). Code below that layer knows such a container only
// by this interface: a menu bar on one draws its entries as tool buttons
// over the container's face and leaves out its bevel.

#include "platform/classlib/Controls.h"

namespace tarvel {

class TTeBandHost {
public:
    virtual ~TTeBandHost() = default;
};

// Whether the control stands directly on a band container.
inline bool IsOnBandHost(const TControl* control) {
    return control && dynamic_cast<const TTeBandHost*>(control->Parent()) != nullptr;
}

}  // namespace tarvel
