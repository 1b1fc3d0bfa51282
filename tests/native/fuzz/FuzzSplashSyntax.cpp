// Arbitrary SPLASH sections through the splash syntax reader: the counts it
// takes stay bounded and match the arrays it makes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/MediaLog.h"
#include "core/SharedState.h"
#include "media/SplashSyntax.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
    ProcessoGioco.hProcess = reinterpret_cast<void*>(1);
    BufferLog.clear();
    const std::string testo(reinterpret_cast<const char*>(dati), n);
    const bool letto = SintassiSplash(testo);
    const ParametriSplashMedia& p = ParametriSplash;
    if (p.Limite < 0 || p.Limite > MassimoAnimazioniSplash) std::abort();
    if (p.Animazioni.size() != static_cast<size_t>(p.Limite)) std::abort();
    for (const DatiAnimazione& a : p.Animazioni) {
        if (a.TotClips < 0 || a.TotClips > MassimoClipAnimazione) std::abort();
        if (!a.Clips.empty() && a.Clips.size() != static_cast<size_t>(a.TotClips)) std::abort();
        // An animation read whole never asks for a sound every zero frames.
        if (letto && (a.Flags & AnimazioneSoundEveryFrames) && a.SoundFrames <= 0) std::abort();
    }
    return 0;
}
