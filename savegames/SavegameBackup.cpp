#include "savegames/SavegameBackup.h"

#include <vector>

#include "core/FileUtils.h"
#include "core/MediaLog.h"
#include "core/SharedState.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"
#include "runservices/RunState.h"
#include "platform/Clock.h"
#include "savegames/SavegameFile.h"

SavegameCache SavegameCacheBackup;
SavegameCache SavegameCacheBloccata;

namespace {

// Written into the backup folder while the slots hold a normalised
// savegame or a backup is held: a run that ends in between leaves it, and
// the next start puts the savegames of the backup folder back, however many
// slots were written. While it is there the backup folder already holds
// what the slots must go back to, and nothing overwrites it.
std::string FileNormalizzazione() { return NellaCartella(CartellaOldSavegames(), "Normalized.txt"); }

bool ScriviMarcaNormalizzazione() {
    if (EsisteFile(FileNormalizzazione())) return true;
    if (!RiscriviConBackup(FileNormalizzazione(), "1")) return false;
    CancellaFile(PercorsoBackup(FileNormalizzazione()));
    return true;
}

// What a slot holds goes into the backup folder under a numbered name
// before the slot is overwritten or deleted: the game may have saved there
// since the mark was left.
bool ConservaSlot(const std::string& slot) {
    std::string copia;
    if (!ConservaSavegameInCartella(slot, CartellaOldSavegames(), copia)) return false;
    if (!copia.empty())
        StampaLog("Kept " + NomeFileDaPercorso(slot) + " of the game folder as " + copia);
    return true;
}

// Each slot the backup folder holds takes its copy; False when one of them
// could not be kept or written.
bool RimettiSlotDaOld(const std::string& old, const std::string& trle, std::string& fallito) {
    bool ok = true;
    for (int32_t n = 0; n < NumSlotSavegame; ++n) {
        const std::string copia = NellaCartella(old, "savegame." + std::to_string(n));
        const std::string slot = NellaCartella(trle, "savegame." + std::to_string(n));
        SavegameBin dati, attuale;
        if (!EsisteFile(copia)) continue;
        if (!LeggiFileIntero(copia, dati, 16 * 1024 * 1024)) {
            fallito = copia;
            ok = false;
            continue;
        }
        if (EsisteFile(slot)) {
            if (LeggiFileIntero(slot, attuale, 16 * 1024 * 1024) && attuale == dati) continue;
            if (!ConservaSlot(slot)) {
                fallito = slot;
                ok = false;
                continue;
            }
        }
        if (!SalvaSavegameBin(slot, dati, true)) {
            fallito = slot;
            ok = false;
        }
    }
    return ok;
}

// The slot files become those of the backup folder. Each is replaced by its
// copy before the slots the backup lacks go, so that no moment leaves a
// slot without a whole savegame in one of the two folders; the mark stays
// until the end, so that a repair cut short is done again. False when the
// repair could not finish.
bool RipristinaDaCartellaOld() {
    const std::string trle = Trim(CartellaTrle);
    const std::string old = CartellaOldSavegames();
    ScriviMarcaNormalizzazione();
    const std::string nonAvviato = "\r\nThe level is not started: close the programs that use the savegames of " + trle +
                                   " and start it again";
    // A slot another program holds open for a moment refuses its copy.
    std::string fallito;
    bool copiati = RimettiSlotDaOld(old, trle, fallito);
    for (int32_t tentativo = 1; !copiati && tentativo < 3; ++tentativo) {
        ClockSleep(100);
        copiati = RimettiSlotDaOld(old, trle, fallito);
    }
    if (!copiati) {
        StampaLog("ERROR: cannot copy the savegames of " + old + " back into " + trle +
                      ": they are copied again at the next start\r\nNot written: " + fallito + nonAvviato,
                  true);
        return false;
    }
    for (int32_t n = 0; n < NumSlotSavegame; ++n) {
        const std::string slot = NellaCartella(trle, "savegame." + std::to_string(n));
        if (EsisteFile(NellaCartella(old, "savegame." + std::to_string(n))) || !EsisteFile(slot)) continue;
        if (!ConservaSlot(slot) || !CancellaFile(slot)) {
            StampaLog("ERROR: cannot move " + slot + " into " + old + ": the savegames are repaired again at the next start" +
                          nonAvviato,
                      true);
            return false;
        }
    }
    CancellaFile(FileNormalizzazione());
    return true;
}

// The savegames of a held backup also wait in the backup folder, since a
// save the media forces may overwrite a slot and the copy in memory dies
// with the program.
void ScriviBackupSuDisco() {
    if (Trim(CartellaTrle).empty() || EsisteFile(FileNormalizzazione())) return;
    const std::string old = CartellaOldSavegames();
    if (!EsisteCartella(old) && !CreaCartella(old)) {
        StampaLog("ERROR: cannot create " + old + ": the savegame backup is held only in memory", true);
        return;
    }
    bool ok = true;
    for (int32_t i = 0; i < SavegameCacheBackup.Count; ++i) {
        const SavegameCacheEntry& voce = SavegameCacheBackup.Entries[static_cast<size_t>(i)];
        // An unreadable or half-written slot must never become the copy a
        // repair writes over the slot.
        if (voce.Bytes.size() != static_cast<size_t>(DimensioneSavegame)) {
            StampaLog("WARNING: " + voce.Path + " is not a whole savegame (" + std::to_string(voce.Bytes.size()) +
                      " bytes): the copy of " + old + " is kept");
            continue;
        }
        SavegameBin copia = voce.Bytes;
        ok = SalvaSavegameBin(NellaCartella(old, NomeFileDaPercorso(voce.Path)), copia, true) && ok;
    }
    // Without every copy the mark would make the next start restore too few.
    if (!ok || !ScriviMarcaNormalizzazione())
        StampaLog("ERROR: cannot write the savegame backup into " + old + ": it is held only in memory", true);
}

void SpostaInOld(const std::string& percorso) {
    if (SpostaSavegameInCartella(percorso, CartellaOldSavegames()))
        StampaLog("Moved " + NomeFileDaPercorso(percorso) + " into " + CartellaOldSavegames());
    else
        StampaLog("ERROR: cannot move " + percorso + " into " + CartellaOldSavegames() + ": the file is left", true);
}

// The slot a path names; NumSlotSavegame for any other file.
int32_t SlotDelPercorso(const std::string& percorso) {
    const std::string nome = NomeFileDaPercorso(percorso);
    for (int32_t n = 0; n < NumSlotSavegame; ++n)
        if (UgualeSenzaCaso(nome, "savegame." + std::to_string(n))) return n;
    return NumSlotSavegame;
}

}  // namespace

void AggiornaSavegameBloccato(const std::string& percorso, const SavegameBin& immagine) {
    if (!HaBit(StatoGioco, StopSave)) return;
    SavegameCache& bloccata = SavegameCacheBloccata;
    StampaLog("Update frozen savegame " + NomeFileDaPercorso(percorso) + " written by the program");
    const int32_t i = IndiceSavegameCache(bloccata, percorso);
    if (i >= 0) {
        bloccata.Entries[static_cast<size_t>(i)].Bytes = immagine;
        return;
    }
    if (bloccata.Count >= MaxSavegameCache) return;
    int32_t posto = 0;
    while (posto < bloccata.Count &&
           SlotDelPercorso(bloccata.Entries[static_cast<size_t>(posto)].Path) < SlotDelPercorso(percorso))
        ++posto;
    for (int32_t j = bloccata.Count; j > posto; --j)
        bloccata.Entries[static_cast<size_t>(j)] = bloccata.Entries[static_cast<size_t>(j - 1)];
    bloccata.Entries[static_cast<size_t>(posto)] = SavegameCacheEntry{immagine, percorso, false};
    ++bloccata.Count;
}

std::string CartellaOldSavegames() { return Trim(CartellaTrle) + "\\Old_Savegames"; }

bool CopiaSavegameInOld() {
    const std::string trle = Trim(CartellaTrle);
    const std::string old = CartellaOldSavegames();
    if (trle.empty() || (!EsisteCartella(old) && !CreaCartella(old))) return false;
    bool ok = true;
    for (int32_t n = 0; n < NumSlotSavegame; ++n) {
        const std::string slot = NellaCartella(trle, "savegame." + std::to_string(n));
        if (!EsisteFile(slot)) continue;
        SavegameBin dati;
        if (!LeggiFileIntero(slot, dati, 16 * 1024 * 1024)) {
            ok = false;
            continue;
        }
        if (dati.size() != static_cast<size_t>(DimensioneSavegame)) {
            // Kept aside all the same, since a normalisation may write over it.
            std::string copia;
            ConservaSavegameInCartella(slot, old, copia);
            StampaLog("WARNING: " + slot + " is not a whole savegame (" + std::to_string(dati.size()) +
                      " bytes): the copy of " + old + " is kept" + (copia.empty() ? "" : ", this file as " + copia));
            continue;
        }
        ok = SalvaSavegameBin(NellaCartella(old, "savegame." + std::to_string(n)), dati, true) && ok;
    }
    return ok;
}

bool SavegameInAttesaDiRipristino() { return !Trim(CartellaTrle).empty() && EsisteFile(FileNormalizzazione()); }

void BackupSavegames() {
    if (IsPreviewMode()) {
        StampaLog("Required backup savegames in preview mode: ignore backup");
        return;
    }
    if (HaBit(StatoSequenza, RipristinaBackupSavegame)) return;
    AggiornaCacheSavegame(1000);
    StampaLog("Perform backup current savegames");
    SavegameCacheBackup = CacheSavegame;
    ScriviBackupSuDisco();
    ImpostaBit(StatoSequenza, RipristinaBackupSavegame);
}

void RipristinaSavegames() {
    if (IsPreviewMode()) {
        StampaLog("Required restore savegames in preview mode: ignore restore savegames");
        return;
    }
    StampaLog("Restore previous savegames backup");
    CacheSavegame = SavegameCacheBackup;
    // The copies in the backup folder are the slots' until all are back.
    if (ScriviCacheSavegame(true) && !HaBit(StatoSequenza, SavegameNormalizzati) && !Trim(CartellaTrle).empty())
        CancellaFile(FileNormalizzazione());
    if (HaBit(StatoGioco, StopSave)) {
        StampaLog("Update frozen savegames for inherit save");
        SavegameCacheBloccata = CacheSavegame;
    }
}

void NormalizzaSavegame() {
    StampaLog("Normalize savegames");
    const int32_t i = Trim(CartellaTrle).empty() ? -1 : IndiceSavegamePiuRecente(CacheSavegame);
    if (i < 0) {
        StampaLog("ERROR: no savegames in savegame cache. It's not possible to normalize savegames", true);
        return;
    }
    // The slots about to be overwritten are kept first in the backup folder.
    const std::string old = CartellaOldSavegames();
    if ((!EsisteCartella(old) && !CreaCartella(old))) {
        StampaLog("ERROR: cannot create " + old + ": savegames not normalized", true);
        return;
    }
    // A held backup or a normalisation already there keeps the savegames
    // of before in the backup folder: the slots now may hold newer ones.
    if (!EsisteFile(FileNormalizzazione()) && !CopiaSavegameInOld()) {
        StampaLog("ERROR: cannot copy the savegames into " + old + ": savegames not normalized", true);
        return;
    }
    if (!ScriviMarcaNormalizzazione()) {
        StampaLog("ERROR: cannot write " + FileNormalizzazione() + ": savegames not normalized", true);
        return;
    }
    const SavegameBin immagine = CacheSavegame.Entries[static_cast<size_t>(i)].Bytes;
    for (int32_t n = 0; n < NumSlotSavegame; ++n) {
        SavegameBin copia = immagine;
        SalvaSavegameBin(PercorsoSavegame(n), copia, false);
    }
    ImpostaBit(StatoSequenza, SavegameNormalizzati);
    StampaLog("End normalization savegames");
}

void RimuoviSavegameNormalizzati() {
    StampaLog("Remove normalized savegames");
    if (!HaBit(StatoSequenza, SavegameNormalizzati)) {
        StampaLog("WARNING: savegame are not normalized");
        return;
    }
    // Until every slot is back the mark stays, for the next start to finish;
    // a held backup keeps it until its own restore.
    if (ScriviCacheSavegame(true) && !HaBit(StatoSequenza, RipristinaBackupSavegame))
        CancellaFile(FileNormalizzazione());
    TogliBit(StatoSequenza, SavegameNormalizzati);
}

bool AnalizzaSavegameTrle() {
    const std::string trle = Trim(CartellaTrle);
    if (trle.empty()) return true;
    StampaLog("Parse savegames in trle folder: " + trle);
    CambiaTabulatoreLog(1);
    if (EsisteFile(FileNormalizzazione())) {
        StampaLog("WARNING: savegames were left normalized. Remove normalized savegames and restore previous "
                  "savegame backup");
        if (!RipristinaDaCartellaOld()) {
            CambiaTabulatoreLog(-1);
            return false;
        }
    }
    int32_t conteggio = 0;
    const std::vector<std::string> elenco = ElencoSavegameCartella(trle, conteggio);
    std::vector<int32_t> numeri(elenco.size(), 0);
    for (size_t i = 0; i < elenco.size(); ++i) {
        const std::string& percorso = elenco[i];
        const std::string verifica = VerificaFileSavegame(percorso);
        StampaLog("Found savegame: " + verifica);
        SavegameBin dati;
        bool cattivo = false;
        // The list holds slot names only, so the extension is always a slot
        // number; what is left to test is the content.
        if (!LeggiFileIntero(percorso, dati, 16 * 1024 * 1024) || dati.size() != DimensioneSavegame) {
            StampaLog("WARNING: in trle folder there is a corrupted (wrong size) savegame: " + percorso +
                      "\r\nThis file will be removed");
            cattivo = true;
        } else {
            numeri[i] = LeggiValore(dati, OffsetNumeroSavegame, 4);
            // Without the level count every level would look foreign.
            if (NumLivelli > 0 && LeggiValore(dati, OffsetLivelloSavegame, 1) >= NumLivelli) {
                StampaLog("WARNING: savegame " + verifica + "is not of current game: it will be deleted");
                cattivo = true;
            }
        }
        // Kept, out of the game's sight, rather than deleted.
        if (cattivo) SpostaInOld(percorso);
    }
    if (conteggio == NumSlotSavegame) {
        bool uguali = true;
        for (int32_t n : numeri) uguali = uguali && n == numeri[0];
        if (uguali) {
            StampaLog("WARNING: all savegames have same internal number. Remove normalized savegames and restore "
                      "previous savegame backup");
            if (EsisteCartella(CartellaOldSavegames())) {
                if (!RipristinaDaCartellaOld()) {
                    CambiaTabulatoreLog(-1);
                    return false;
                }
            } else {
                Messaggio("WARNING: missing backup folder: " + CartellaOldSavegames(), StileAttenzione);
            }
        }
    }
    CambiaTabulatoreLog(-1);
    return true;
}
