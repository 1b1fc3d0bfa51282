// The background sound of the media window.
#include <algorithm>
#include <cmath>

#include "core/MediaLog.h"
#include "core/MediaTrigger.h"
#include "core/SystemUtils.h"
#include "media/MediaWindow.h"
#include "platform/Clock.h"

namespace {
// Volume steps of the fade, in hundredths of a decibel; the last repeats.
constexpr int32_t PassiSfumatura[10] = {100, 120, 140, 160, 180, 200, 220, 240, 270, 300};
}  // namespace

void Dialog_Titoli::SuonaFileAudio(const std::string& percorso) {
    if (LogAbilitato) StampaLog("Sound file: " + percorso);
    MediaPlayer1.SetPlayCount(HaBit(MediaCorrente.Options, LoopSound) ? 0 : 1);
    MediaPlayer1.SetFileName(percorso);
    DoEvents();
    AttendiDecimi(1, true);
    DoEvents();
}

void Dialog_Titoli::SfumaSuonoSottofondo() {
    if (!HaBit(MediaCorrente.Options, FadeOutSound)) return;
    if (LogAbilitato) StampaLog("Perform fade out for background sound");
    if (MediaPlayer1.PlayState() != MediaPlayer::InRiproduzione) return;
    const int32_t volumeIniziale = MediaPlayer1.Volume();
    const int64_t totale = std::clamp<int64_t>(static_cast<int64_t>(MediaCorrente.FadeTime) * 1000, 0, INT32_MAX);
    const auto passo = static_cast<int32_t>(std::nearbyint(static_cast<double>(totale) / 10.0));
    const uint32_t inizio = ClockTick();
    int32_t volume = volumeIniziale;
    int32_t decremento = PassiSfumatura[0];
    for (size_t i = 0;; ++i) {
        if (i < std::size(PassiSfumatura)) decremento = PassiSfumatura[i];
        volume = std::max(volume - decremento, INT32_MIN / 2);
        MediaPlayer1.SetVolume(volume);
        AttendiMs(passo, true);
        if (static_cast<int64_t>(ClockTick() - inizio) >= totale ||
            MediaPlayer1.PlayState() != MediaPlayer::InRiproduzione) {
            MediaPlayer1.Pause();
            MediaPlayer1.SetVolume(volumeIniziale);
            break;
        }
    }
}
