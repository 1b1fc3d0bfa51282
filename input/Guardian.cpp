#include "input/Guardian.h"

#include <exception>
#include <functional>

#include "core/FileUtils.h"
#include "core/MediaLog.h"
#include "core/MediaSyntax.h"
#include "core/MediaTrigger.h"
#include "core/SharedState.h"
#include "core/TextUtils.h"
#include "platform/Clock.h"
#include "runservices/CheatCapture.h"
#include "runservices/KeyboardHook.h"
#include "runservices/RunHooks.h"
#include "runservices/Sounds.h"
#include "savegames/SavegameBackup.h"
#include "savegames/SavegameCache.h"
#include "savegames/SavegameFile.h"
#include "savegames/SavegameValues.h"

int32_t FlagGuardian = 1;
int32_t CodiceGuardian = -1;
int32_t MediaStopSave = -1;
int32_t CodiceStopSave = -1;

namespace {

constexpr int32_t EffettoSalvataggioAnnullato = 3;

bool LeggiNumeroGuardian(std::string& testo, const char* tag, int32_t& valore, int32_t codiceMedia) {
    int32_t letto = 0;
    if (ValoreIntero32(EstraiTag(testo, tag), letto)) {
        valore = letto;
        return true;
    }
    StampaLog("ERROR in Guardian media code = " + std::to_string(codiceMedia) + " missing " + tag + " field", true);
    return false;
}

// Each enabled guardian trigger of the current level, or of any level, with
// its section read into FlagGuardian and CodiceGuardian; False from the
// visit stops the walk.
void PerOgniGuardian(const std::function<bool(MediaTrigger&)>& visita) {
    for (size_t i = 0; i < NumTriggerCaricati() && i < ListaMedia.size(); ++i) {
        MediaTrigger& t = ListaMedia[i];
        if (!HaBit(t.TypeFlags, BitGuardian) || HaBit(t.Options, Disabled)) continue;
        if (t.Level != QualsiasiLivello && t.Level != LivelloCorrente) continue;
        LeggiCodiceGuardian(EstraiSezione(t.Syntax, "GUARDIAN"), t.MediaCode);
        if (!visita(t)) return;
    }
}

// The save counter at offset 75, as far as the image holds it.
std::string NumeroSavegame(const SavegameBin& immagine) {
    if (immagine.size() <= static_cast<size_t>(OffsetNumeroSavegame)) return std::string();
    return immagine.substr(OffsetNumeroSavegame, 4);
}

// The frozen copy back on disk, byte for byte as it was read: a damaged
// savegame goes back damaged rather than not at all. Each goes through a file
// beside its slot; a slot the frozen copy lacks is deleted only once all of
// them are back, so that a failure never leaves the folder with fewer
// savegames.
bool RipristinaSavegameBloccati() {
    std::string falliti;
    try {
        CacheSavegame = SavegameCacheBloccata;
        for (int32_t i = 0; i < CacheSavegame.Count; ++i) {
            SavegameCacheEntry& voce = CacheSavegame.Entries[static_cast<size_t>(i)];
            // Unreadable when frozen: its file is left as it is.
            if (voce.Bytes.empty()) continue;
            if (SalvaSavegameBin(voce.Path, voce.Bytes, true))
                voce.ModificataDaSistema = false;
            else
                falliti += " " + voce.Path;
        }
        if (falliti.empty() && !Trim(CartellaTrle).empty()) {
            for (int32_t n = 0; n < NumSlotSavegame; ++n) {
                const std::string slot = PercorsoSavegame(n);
                if (IndiceSavegameCache(CacheSavegame, slot) < 0 && EsisteFile(slot) && !CancellaFile(slot))
                    falliti += " " + slot;
            }
        }
        CacheSavegame.LastUpdateTick = ClockTick();
        if (falliti.empty()) return true;
        StampaLog("ERROR while restoring frozen savegames: not restored" + falliti, true);
    } catch (const std::exception& e) {
        StampaLog(std::string("ERROR while restoring frozen savegames: ") + e.what(), true);
    }
    // The next refresh sees the difference again and retries.
    AggiornaCacheRichiesto = true;
    return false;
}

}  // namespace

bool LeggiCodiceGuardian(const std::string& sezione) { return LeggiCodiceGuardian(sezione, MediaCorrente.MediaCode); }

bool LeggiCodiceGuardian(const std::string& sezione, int32_t codiceMedia) {
    FlagGuardian = 1;
    CodiceGuardian = -1;
    if (sezione.empty()) return true;
    std::string testo = sezione;
    return LeggiNumeroGuardian(testo, "#FLAGS#=", FlagGuardian, codiceMedia) &&
           LeggiNumeroGuardian(testo, "#CODE#=", CodiceGuardian, codiceMedia);
}

std::string ComponiSintassiGuardian() {
    return "#FLAGS#=" + std::to_string(FlagGuardian) + "\r\n#CODE#=" + std::to_string(CodiceGuardian) + "\r\n";
}

std::string SintassiGuardianVecchia() {
    FlagGuardian = 1;
    return ComponiSintassiGuardian();
}

void ImpostaGuardian() {
    if (LivelloCorrente == 0 || HaBit(StatoGioco, NoInheritCheat)) return;
    const int32_t prima = StatoGioco;
    TogliBit(StatoGioco, GuardiaDozy | GuardiaGuns | GuardiaHelp | GuardiaWeapons | ControlloTrucchiSavegame);
    // A watch is announced once, when it starts.
    const auto guarda = [prima](int32_t bit, const char* riga) {
        const bool nuovo = !HaBit(prima, bit) && !HaBit(StatoGioco, bit);
        ImpostaBit(StatoGioco, bit);
        if (nuovo) StampaLog(riga);
        return nuovo;
    };
    PerOgniGuardian([&guarda](MediaTrigger&) {
        if (!HaBit(FlagGuardian, GuardianEreditaTrucchi)) return true;
        if (HaBit(FlagGuardian, GuardianControllaSavegame))
            guarda(ControlloTrucchiSavegame, "Enable parsing savegames for cheats");
        for (const TruccoGuardian& t : TrucchiGuardian) {
            if (!HaBit(FlagGuardian, t.FlagTrigger)) continue;
            *t.Codice = CodiceGuardian;
            // Only the flying word is typed outside the inventory: it needs the hook.
            if (guarda(t.Guardia, t.RigaEreditato) && t.Guardia == GuardiaDozy) InstallaHookTastiera();
        }
        return true;
    });
    for (const TruccoGuardian& t : TrucchiGuardian)
        if (HaBit(prima, t.Guardia) && !HaBit(StatoGioco, t.Guardia)) StampaLog(t.RigaPermesso);
    if (HaBit(prima, ControlloTrucchiSavegame) && !HaBit(StatoGioco, ControlloTrucchiSavegame))
        StampaLog("Disable parsing savegames for cheats");
    if (!HaBit(StatoGioco, GuardiaDozy)) RimuoviHookTastiera();
}

void ControllaStopSalvataggio() {
    if (HaBit(StatoGioco, NoInheritSave)) return;
    const int32_t prima = StatoGioco;
    TogliBit(StatoGioco, StopSave);
    StampaLog("Check for stop saving operation");
    bool deciso = false;
    PerOgniGuardian([&deciso](MediaTrigger& t) {
        if (!HaBit(FlagGuardian, GuardianEreditaSalvataggio)) return true;
        if (HaBit(FlagGuardian, GuardianControllaCd)) {
            if (!IsFileOccupato(t.TriggerCd, FileTracciaCd, false)) {
                MediaStopSave = -1;
                // Its track will sound again: the trigger may fire again.
                if (HaBit(t.Options, AlreadyShown)) {
                    StampaLog("Remove [Already played] flag for media code = " + std::to_string(t.MediaCode));
                    TogliBit(t.Options, AlreadyShown);
                }
                return true;
            }
            MediaStopSave = t.TriggerCd;
        }
        deciso = true;
        return false;
    });
    if (deciso) {
        ImpostaBit(StatoGioco, StopSave);
        CodiceStopSave = CodiceGuardian;
        if (!HaBit(prima, StopSave)) {
            StampaLog("Inherit save the game operation");
            CambiaStopSave(true);
        }
    } else if (HaBit(prima, StopSave)) {
        StampaLog("Enable save the game operation");
        CambiaStopSave(false);
    }
}

void CambiaStopSave(bool on) {
    StampaLog(std::string("ChangeStopSave=") + (on ? "True" : "False"));
    if (!on) return;
    // What the files hold now: with the logger the cache is read again only
    // on request, and the start of the level's load has just cleared it, so
    // a save made since the last read would be missing from the frozen copy
    // and undone on disk by the first check.
    AggiornaCacheRichiesto = true;
    AggiornaCacheSavegame(0);
    SavegameCacheBloccata = CacheSavegame;
}

bool ControllaSavegameBloccati() {
    if (!HaBit(StatoGioco, StopSave) || !CacheAggiornata) return false;
    if (HaBit(RequisitiSequenza, RichiedeBackupSavegame)) {
        StampaLog("WARNING: ignore check for frozen savegame because [backup savegames] is enabled");
        return false;
    }
    CacheAggiornata = false;
    const SavegameCache& viva = CacheSavegame;
    const SavegameCache& bloccata = SavegameCacheBloccata;
    if (viva.Count == bloccata.Count) {
        int32_t diversa = -1;
        // A savegame gone from one slot and written into another keeps the
        // count: the slot tells it as well as the number.
        for (int32_t i = 0; i < viva.Count && diversa < 0; ++i) {
            const SavegameCacheEntry& v = viva.Entries[static_cast<size_t>(i)];
            const SavegameCacheEntry& b = bloccata.Entries[static_cast<size_t>(i)];
            if (v.Path != b.Path) {
                diversa = i;
            } else if (b.Bytes.empty()) {
                // Unreadable when frozen: nothing to put back, and telling
                // the player on every refresh would not help.
                continue;
            } else if (NumeroSavegame(v.Bytes) != NumeroSavegame(b.Bytes)) {
                diversa = i;
            }
        }
        if (diversa < 0) return false;
        const SavegameCacheEntry& v = viva.Entries[static_cast<size_t>(diversa)];
        const SavegameCacheEntry& b = bloccata.Entries[static_cast<size_t>(diversa)];
        StampaLog("Detected new savegame: " + DescrizioneSavegameBin(v.Path, v.Bytes) + " different than: " +
                  DescrizioneSavegameBin(b.Path, b.Bytes) +
                  " while [save the game] operation is inherited: restore blocked savegames");
    } else {
        StampaLog("Detected new savegame while [save the game] operation is inherited: restore blocked savegames");
    }
    if (!RipristinaSavegameBloccati()) return false;
    // The player hears it whatever text format the last media left.
    SuonaEffetto(EffettoSalvataggioAnnullato, true, false);
    if (CodiceStopSave != -1) {
        if (!HaBit(ModificheAvvio, AlertInCorso) && !HaBit(ModificheAvvio, SplashAttivo)) {
            StampaLog("Guardian requires to perform media code " + std::to_string(CodiceStopSave));
            bool errore = false;
            Ganci.EseguiMediaCode(CodiceStopSave, errore);
        } else {
            StampaLog("Cann't perform media code " + std::to_string(CodiceStopSave) +
                      " because an alert or splash media is in progress");
        }
    }
    return true;
}
