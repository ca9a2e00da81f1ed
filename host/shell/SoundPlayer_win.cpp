#include "host/shell/SoundPlayer_win.h"

#include "host/base/WideText_win.h"

#include <mmsystem.h>

namespace qv {

bool WaveSoundPlayer::PlayWaveFile(const Text& path)
{
    return PlaySoundW(Wide(path), nullptr, SND_FILENAME | SND_NODEFAULT | SND_ASYNC) != FALSE;
}

}  // namespace qv
