// Arbitrary bytes as an old (version 1.4) media.mcf: the reader must never
// crash or read out of bounds; what it accepts maps onto trigger records,
// and laid out again it reads back to the same records.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/MediaTrigger.h"
#include "core/OldMediaConfig.h"
#include "tests/core/OldMcfBytes.h"

namespace {

bool Uguali(const MediaTriggerVecchio& a, const MediaTriggerVecchio& b) {
    return a.FileFilmato == b.FileFilmato && a.FileImmagine == b.FileImmagine && a.FileTesto == b.FileTesto &&
           a.FileSuono == b.FileSuono && a.FileProgramma == b.FileProgramma &&
           a.EscapeAbilitato == b.EscapeAbilitato && a.SuonoCiclico == b.SuonoCiclico && a.Ritardo == b.Ritardo &&
           a.CdTrigger == b.CdTrigger && a.FlagVecchi == b.FlagVecchi && a.NonUsato == b.NonUsato &&
           a.ScrollStep == b.ScrollStep && a.ScrollDelay == b.ScrollDelay && a.Duration == b.Duration &&
           a.CharRow == b.CharRow && a.BackColor == b.BackColor && a.Color == b.Color && a.Align == b.Align &&
           a.MargineX == b.MargineX && a.MargineY == b.MargineY && a.Repeat == b.Repeat && a.SoundCd == b.SoundCd &&
           a.AntiTriggerCd == b.AntiTriggerCd && a.FadeTime == b.FadeTime && a.EndWait == b.EndWait;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
    const std::string file(reinterpret_cast<const char*>(dati), n);
    MediaConfigVecchia letta;
    if (!LeggiMediaConfigVecchia(file, letta)) return 0;
    if (letta.TriggerCount < 0 || letta.Record.size() != static_cast<size_t>(letta.TriggerCount)) std::abort();
    if (file.size() < LunghezzaHeaderVecchio + LunghezzaTriggerVecchio * letta.Record.size()) std::abort();
    for (size_t i = 0; i < letta.Record.size(); ++i) {
        const MediaTriggerVecchio& v = letta.Record[i];
        for (const std::string* p : {&v.FileFilmato, &v.FileImmagine, &v.FileTesto, &v.FileSuono, &v.FileProgramma})
            if (p->size() > LunghezzaPercorsoVecchio) std::abort();
        MediaTrigger m;
        ConvertiCampiVecchi(v, static_cast<int32_t>(i), m);
        if (m.MediaCode != static_cast<int32_t>(i) + 1 || m.Level != -1) std::abort();
        if ((m.TypeFlags & ScreenCapture) && (m.TypeFlags & BackgroundImage)) std::abort();
        if ((m.TypeFlags & ScrollText) && (m.TypeFlags & FixedText)) std::abort();
    }
    MediaConfigVecchia riletta;
    const std::string composto = vecchio::Componi(letta);
    if (!LeggiMediaConfigVecchia(composto, riletta) || riletta.TriggerCount != letta.TriggerCount ||
        riletta.Reserved != letta.Reserved)
        std::abort();
    for (size_t i = 0; i < letta.Record.size(); ++i)
        if (!Uguali(letta.Record[i], riletta.Record[i])) std::abort();
    return 0;
}
