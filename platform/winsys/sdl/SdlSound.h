#pragma once
// Sounds through SDL's audio: one device opened for each sound in the
// sound's own format (SDL converts for the hardware). SDL's audio starts
// with the first sound; an output that cannot open a device refuses to play.

#include <memory>

#include "platform/system/Sound.h"

namespace tarvel {

std::shared_ptr<SoundOutput> MakeSdlSoundOutput();

}  // namespace tarvel
