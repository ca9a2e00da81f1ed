#pragma once

#include "host/base/Text.h"

namespace qv {

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Starts playing a wave file in the background and returns at once; a
    // missing or unplayable file plays nothing. True when playing started.
    virtual bool PlayWaveFile(const Text& path) = 0;
};

}  // namespace qv
