#include "savegames/EquipmentMedia.h"

#include "core/FileUtils.h"
#include "core/MediaLog.h"
#include "core/MediaSyntax.h"
#include "core/MediaTrigger.h"
#include "core/SharedState.h"
#include "runservices/Desktop.h"
#include "runservices/RunHooks.h"
#include "runservices/RunState.h"
#include "savegames/SavegameBackup.h"
#include "savegames/SavegameCache.h"
#include "savegames/SavegameFile.h"

namespace {

void Riga(const std::string& testo) {
    if (LogAbilitato) StampaLog(testo);
}

// One command, one log level deeper.
bool Istruzione(SavegameBin& immagine, int32_t indice, bool& errore) {
    CambiaTabulatoreLog(1);
    const bool esito = EseguiIstruzioneEquip(immagine, indice, errore);
    CambiaTabulatoreLog(-1);
    return esito;
}

// The start both media share: the command list of MediaCorrente and the
// savegame it needs (serve: True when it needs one). False when the list
// cannot be read: a half-read list must not touch a savegame.
bool Inizio(const char* tipo, std::string& percorso, bool& primoSlot, std::string& descrizione, bool& serve) {
    Riga(std::string("Perform ") + tipo + " media (code=" + std::to_string(MediaCorrente.MediaCode) + ")");
    serve = false;
    if (!LeggiEquipmentChunk(EstraiSezione(MediaCorrente.Syntax, "EQUIPMENT"))) return false;
    int32_t numero = 0;
    serve = TrovaSavegameEquip(percorso, numero, primoSlot, descrizione);
    return true;
}

}  // namespace

bool EseguiEquipmentMedia() {
    std::string percorso, descrizione;
    bool primoSlot = false;
    bool serve = false;
    if (!Inizio("Equipment", percorso, primoSlot, descrizione, serve)) return false;
    SavegameBin immagine;
    if (serve && percorso.empty()) {
        StampaLog("ERROR: missing savegames in trle folder", true);
        return false;
    }
    if (serve && primoSlot) {
        Riga("Savegame will be created by previous full savegame backup");
        immagine.assign(DimensioneSavegame, '\0');
    } else if (serve) {
        Riga("Load last savegame: " + VerificaFileSavegame(percorso));
        if (!LeggiSavegameCache(percorso, immagine)) return false;
    } else {
        Riga("Current equip media doesn't use savegame files");
    }
    for (int32_t i = 0; i < EquipmentHeader.TotRecords; ++i) {
        bool errore = false;
        if (!Istruzione(immagine, i, errore) || errore) {
            Riga("Abort command sequence");
            return false;
        }
    }
    if (!serve) return true;
    // A file there that the finder could not take is no savegame of the
    // player's that a whole restore may take the place of: it is kept aside
    // first, as the start-up check keeps what it removes.
    if (primoSlot && EsisteFile(percorso)) {
        std::string copia;
        if (!ConservaSavegameInCartella(percorso, CartellaOldSavegames(), copia)) {
            StampaLog("ERROR: cannot keep " + percorso + " in " + CartellaOldSavegames() + ": it is not written over",
                      true);
            return false;
        }
        if (!copia.empty()) Riga("Kept " + NomeFileDaPercorso(percorso) + " of the game folder as " + copia);
    }
    // Written before it is cached: an edit the media reports as failed must
    // not reach the file later, through the end of the run's write-back.
    if (!SalvaSavegameBin(percorso, immagine, false)) return false;
    if (!InserisciSavegameCache(percorso, immagine, true)) return false;
    AggiornaSavegameBloccato(percorso, immagine);
    Riga("Save changed savegame: " + VerificaFileSavegame(percorso));
    return true;
}

bool EseguiCheckMedia(bool& TestError) {
    TestError = false;
    std::string percorso, descrizione;
    bool primoSlot = false;
    bool serve = false;
    if (!Inizio("Check", percorso, primoSlot, descrizione, serve)) {
        TestError = true;
        return false;
    }
    SavegameBin immagine;
    if (serve && (percorso.empty() || primoSlot)) {
        // A check never saves: a savegame made by a restore would be lost.
        StampaLog("ERROR: missing savegames in trle folder", true);
        TestError = true;
        return false;
    }
    if (serve) {
        if (!LeggiSavegameCache(percorso, immagine)) {
            TestError = true;
            return false;
        }
        Riga("Last savegame: " + descrizione);
    } else {
        Riga("Current check media doesn't work really on savegame file");
    }
    const IntestazioneEquipment& h = EquipmentHeader;
    const auto operatore = [&](int32_t i) {
        return static_cast<size_t>(i) < h.Records.size() ? h.Records[static_cast<size_t>(i)].PreviousOperator : 0;
    };
    bool a = false;
    int32_t i = 0;
    // An empty list is False: its spare zero record names no value to test.
    if (h.TotRecords > 0) do {
        const int32_t prossimo = i + 1 < h.TotRecords ? operatore(i + 1) : 0;
        bool errore = false;
        const bool r = Istruzione(immagine, i, errore);
        if (errore) {
            Riga("WARNING: detected error, abort check media");
            TestError = true;
            return false;
        }
        if (i == 0) a = r;
        switch (operatore(i)) {
            case 1: a = a && r; break;
            case 2:
                if (a || r) {
                    a = true;
                    // The rest of the OR chain is not run.
                    while (i + 1 < h.TotRecords && operatore(i + 1) == 2) ++i;
                }
                break;
            case 3: a = !r; break;
            default: break;
        }
        if (!a && prossimo != 2) break;
        ++i;
    } while (i < h.TotRecords);
    const int32_t ramo = a ? h.MediaTrue : h.MediaFalse;
    // The branch may be an equipment or check media of its own, which reads
    // its list over this one's.
    const bool continuaSempre = (h.Flags & ContinueAlways) != 0;
    Riga(std::string("Condition list is ") + (a ? "True" : "False"));
    bool esito = true;
    if (ramo != -1) {
        Ganci.EseguiMediaCode(ramo, TestError);
        esito = false;
    }
    if (!TestError && continuaSempre) {
        Riga("Flag ContinueAlways: Exit with TRUE to perform always following medias of current sequence");
        esito = true;
    }
    return esito;
}

bool RiaccendiMonitorPerMedia() {
    if (IsPreviewMode() || !HaBit(StatoSequenza, MonitorSpento)) return false;
    AccendiMonitor(false);
    return true;
}
