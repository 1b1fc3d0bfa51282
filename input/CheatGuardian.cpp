#include "input/CheatGuardian.h"

#include <exception>

#include "core/FileUtils.h"
#include "core/MediaLog.h"
#include "core/SharedState.h"
#include "core/TextUtils.h"
#include "platform/Clock.h"
#include "platform/Forms.h"
#include "runservices/CheatCapture.h"
#include "runservices/GameWindow.h"
#include "runservices/RunHooks.h"
#include "runservices/RunState.h"
#include "savegames/SavegameCache.h"
#include "savegames/SavegameValues.h"

namespace {

constexpr int32_t OffsetMedipack = 400;
constexpr int32_t OffsetMunizioni = 408;

// The author's media, unless an alert or a splash holds the screen.
void AvvisaGiocatore(int32_t codice) {
    if (codice == -1) return;
    if (!HaBit(ModificheAvvio, AlertInCorso) && !HaBit(ModificheAvvio, SplashAttivo)) {
        StampaLog("Perform media to notify player");
        bool errore = false;
        Ganci.EseguiMediaCode(codice, errore);
    } else {
        StampaLog("WARNING: it's impossible to show media code " + std::to_string(codice) +
                  " because a media or splash alert is in progress");
    }
}

// The author's media, then the game closes; the capture starts over. The
// media asks the game's progress, which comes back to the guardian: the
// cheat is acted on once, and nothing typed meanwhile counts.
void ChiudiPerTrucco(int32_t codice) {
    struct InAzione {
        InAzione() { TruccoInAzione = true; }
        ~InAzione() { TruccoInAzione = false; }
    } inAzione;
    TastiCatturati.clear();
    AvvisaGiocatore(codice);
    ChiudiGioco();
    TruccoRilevato.clear();
    TastiCatturati.clear();
}

// The trace a check looks for in a savegame's bytes.
using Traccia = bool (*)(const SavegameBin& immagine);

bool Medipack(const SavegameBin& immagine) { return LeggiValore(immagine, OffsetMedipack, 2) == -1; }
bool Munizioni(const SavegameBin& immagine) { return LeggiValore(immagine, OffsetMunizioni, 2) == -1; }
bool Editor(const SavegameBin& immagine) { return LeggiValore(immagine, OffsetMarcaEditor, 1) != 0; }

// True when the file is gone: removed now, or already by an earlier check.
// The cache's bytes may be older than a save the player has made since in
// that slot: the file is read and tested again right before it goes, and a
// slot saved again without the trace is kept. The game holds a slot for a
// moment while it saves or loads it: the reading or the deletion refused
// for that is tried again, a bounded time.
bool RimuoviSavegame(const std::string& percorso, Traccia traccia) {
    const uint32_t inizio = ClockTick();
    for (;;) {
        SavegameBin attuale;
        EsitoFile esito = EsitoFile::InUso;
        if (LeggiFileIntero(percorso, attuale, 16 * 1024 * 1024)) {
            if (!traccia(attuale)) {
                StampaLog("WARNING: " + DescrizioneSavegameBin(percorso, attuale) +
                          " was saved again without it: not removed");
                return false;
            }
            esito = CancellaFileEsito(percorso);
        } else if (!EsisteFile(percorso)) {
            return true;
        }
        if (esito == EsitoFile::Fatto) return true;
        if (esito == EsitoFile::Fallito) {
            StampaLog("ERROR: cannot remove savegame " + percorso, true);
            return false;
        }
        if (ClockTick() - inizio >= AttesaSavegameOccupato) {
            StampaLog("WARNING: savegame still in use by the game after " + std::to_string(AttesaSavegameOccupato) +
                      " ms: not removed " + percorso);
            return false;
        }
        DoEvents();
        ClockSleep(PassoAttesaSavegame);
    }
}

bool NumeroEstensione(const std::string& percorso, int32_t& numero) {
    const std::string estensione = EstensioneFile(NomeFileDaPercorso(percorso));
    const std::string cifre = estensione.empty() ? std::string() : estensione.substr(1);
    numero = 0;
    if (cifre.empty() || cifre.size() > 9 || cifre.find_first_not_of("0123456789") != std::string::npos) return false;
    numero = std::stoi(cifre);
    return true;
}

}  // namespace

int32_t EstensioneSavegame(const std::string& percorso) {
    int32_t numero = 0;
    if (!NumeroEstensione(percorso, numero))
        StampaLog("WARNING: not numeric extension for savegame: " + percorso);
    return numero;
}

bool RilevaTrucchi() {
    try {
        if (HaBit(StatoGioco, NoInheritCheat) || TruccoInAzione) return true;
        const std::string trovato = MaiuscoloAscii(TruccoRilevato);
        bool colto = false;
        int32_t codice = -1;
        for (const TruccoGuardian& t : TrucchiGuardian) {
            if (!HaBit(StatoGioco, t.Guardia) || trovato != t.Parola) continue;
            StampaLog(t.RigaRilevato);
            codice = *t.Codice;
            colto = true;
        }
        if (!colto) {
            // A word of a watch lifted since it was typed would block the
            // capture for the rest of the run.
            TruccoRilevato.clear();
            if (HaBit(StatoGioco, ControlloTrucchiSavegame) && ParseSavegameXCheats()) return false;
            return true;
        }
        ChiudiPerTrucco(codice);
        return false;
    } catch (const std::exception& e) {
        StampaLog(std::string("ERROR in RilevaTrucchi() : ") + e.what(), true);
        return true;
    }
}

bool ParseSavegameXCheats() {
    try {
        AggiornaCacheSavegame(2000);
        int32_t codice = -1;
        int32_t rimossi = 0;
        // The images stay as read: the refresh after a deletion must not
        // move the entries under the walk.
        const SavegameCache cache = CacheSavegame;
        const int32_t quanti = cache.Count < MaxSavegameCache ? cache.Count : MaxSavegameCache;
        for (int32_t i = 0; i < quanti; ++i) {
            const SavegameCacheEntry& voce = cache.Entries[static_cast<size_t>(i)];
            EstensioneSavegame(voce.Path);
            bool tolto = false;
            auto rileva = [&](const char* testo, Traccia traccia, int32_t codiceControllo) {
                if (!traccia(voce.Bytes)) return;
                StampaLog("Detected " + DescrizioneSavegameBin(voce.Path, voce.Bytes) + testo);
                if (!RimuoviSavegame(voce.Path, traccia)) return;
                if (!tolto) ++rimossi;
                tolto = true;
                codice = codiceControllo;
            };
            if (HaBit(StatoGioco, GuardiaGuns)) rileva(" with unlimited medipacks: remove it", Medipack, CodiceGuns);
            if (HaBit(StatoGioco, GuardiaWeapons) && !tolto)
                rileva(" with unlimited ammo: remove it", Munizioni, CodiceWeapons);
            rileva(" alterated by savegame editor: remove it", Editor, CodiceWeapons != -1 ? CodiceWeapons : codice);
        }
        if (rimossi == 0) return false;
        AggiornaCacheRichiesto = true;
        AggiornaCacheSavegame(0);
        ChiudiPerTrucco(codice);
        return true;
    } catch (const std::exception& e) {
        StampaLog(std::string("ERROR in ParseSavegameXCheats() : ") + e.what(), true);
        return false;
    }
}
