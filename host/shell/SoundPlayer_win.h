#pragma once

#include "host/shell/SoundPlayer.h"

namespace qv {

// PlaySoundW with SND_FILENAME | SND_NODEFAULT | SND_ASYNC: the path as it
// is, relative ones against the current folder, in any language.
class WaveSoundPlayer final : public SoundPlayer {
public:
    bool PlayWaveFile(const Text& path) override;
};

}  // namespace qv
