#include "savegames/SavegameFile.h"

#include <exception>

#include "core/MediaLog.h"
#include "core/SharedState.h"
#include "core/TextUtils.h"
#include "platform/Clock.h"

namespace {

std::string SlotCartella(const std::string& cartella, int32_t n) {
    return NellaCartella(cartella, "savegame." + std::to_string(n));
}

// A folder left empty would name the current folder's files.
bool SenzaCartella(const std::string& cartella) { return Trim(cartella).empty(); }

}  // namespace

bool CaricaSavegameBin(const std::string& percorso, SavegameBin& immagine) {
    if (!EsisteFile(percorso)) {
        return RigaErrore("ERROR in CaricaSavegameBin(): not found savegame: " + percorso);
    }
    // A savegame is small; anything far larger is not one and is not read.
    if (!LeggiFileIntero(percorso, immagine, 16 * 1024 * 1024)) {
        return RigaErrore("ERROR in CaricaSavegameBin(): cannot read " + percorso);
    }
    return true;
}

bool SalvaSavegameBin(const std::string& percorso, SavegameBin& immagine, bool comeE) {
    if (!comeE) {
        if (immagine.size() < DimensioneSavegame) {
            StampaLog("ERROR in SalvaSavegameBin(): savegame of " + std::to_string(immagine.size()) +
                          " bytes not written: " + percorso,
                      true);
            return false;
        }
        immagine[OffsetChecksumSavegame] = static_cast<char>(ChecksumSavegame(immagine));
    }
    // The old file stays whole until the new one is complete beside it; the
    // copy the replacement keeps of it is not needed afterwards.
    // The game holds a slot open for a moment after it loaded it: the write
    // waits for it, a bounded time, rather than leave the old bytes there.
    // Only the write's own refusal tells that it is held: a look of ours
    // after it may find the game already gone and give up a write that the
    // next try would make.
    EsitoFile esito = RiscriviConBackupEsito(percorso, immagine);
    for (uint32_t atteso = 0; esito == EsitoFile::InUso && atteso < AttesaSavegameInUso;
         atteso += PassoSavegameInUso) {
        ClockSleep(PassoSavegameInUso);
        esito = RiscriviConBackupEsito(percorso, immagine);
    }
    if (esito != EsitoFile::Fatto) {
        StampaLog("ERROR in SalvaSavegameBin(): cannot write " + percorso, true);
        return false;
    }
    CancellaFile(PercorsoBackup(percorso));
    return true;
}

std::vector<std::string> ElencoSavegameCartella(const std::string& cartella, int32_t& conteggio) {
    std::vector<std::string> elenco;
    conteggio = 0;
    if (SenzaCartella(cartella)) return elenco;
    // One look at the folder: the cache asks every second, and each slot
    // asked for by name costs a search of the folder when it is missing.
    int32_t trovati = 0;
    std::vector<bool> presente(NumSlotSavegame, false);
    for (const std::string& f : ElencoFile(cartella, "savegame.*", trovati)) {
        const std::string nome = NomeFileDaPercorso(f);
        for (int32_t n = 0; n < NumSlotSavegame; ++n)
            if (UgualeSenzaCaso(nome, "savegame." + std::to_string(n))) presente[static_cast<size_t>(n)] = true;
    }
    for (int32_t n = 0; n < NumSlotSavegame; ++n)
        if (presente[static_cast<size_t>(n)]) elenco.push_back(SlotCartella(cartella, n));
    conteggio = static_cast<int32_t>(elenco.size());
    return elenco;
}

void CancellaSavegameCartella(const std::string& cartella) {
    if (SenzaCartella(cartella)) return;
    for (int32_t n = 0; n < NumSlotSavegame; ++n) {
        const std::string file = SlotCartella(cartella, n);
        if (EsisteFile(file)) CancellaFile(file);
    }
}

bool CopiaSavegameCartella(const std::string& sorgente, const std::string& destinazione) {
    if (SenzaCartella(sorgente) || SenzaCartella(destinazione)) return false;
    bool ok = true;
    for (int32_t n = 0; n < NumSlotSavegame; ++n) {
        const std::string file = SlotCartella(sorgente, n);
        if (!EsisteFile(file)) continue;
        SavegameBin dati;
        // Written as any savegame is, so that a copy cut short never leaves
        // a damaged file in place of a whole one.
        if (!LeggiFileIntero(file, dati, 16 * 1024 * 1024) || !SalvaSavegameBin(SlotCartella(destinazione, n), dati, true))
            ok = false;
    }
    return ok;
}

bool SpostaSavegameInCartella(const std::string& percorso, const std::string& cartella) {
    if (!EsisteCartella(cartella) && !CreaCartella(cartella)) return false;
    SavegameBin dati, altro;
    if (!LeggiFileIntero(percorso, dati, 16 * 1024 * 1024)) return false;
    // A different file already there is kept too: this one takes the first
    // free name after it.
    const std::string nome = NomeFileDaPercorso(percorso);
    std::string destinazione = NellaCartella(cartella, nome);
    for (int32_t k = 1; EsisteFile(destinazione) && !(LeggiFileIntero(destinazione, altro) && altro == dati); ++k) {
        if (k > 999) return false;
        destinazione = NellaCartella(cartella, nome + "." + std::to_string(k));
    }
    // The source goes only once the copy holds every byte of it.
    if (!SalvaSavegameBin(destinazione, dati, true) || !LeggiFileIntero(destinazione, altro) || altro != dati)
        return false;
    return CancellaFile(percorso);
}

bool ConservaSavegameInCartella(const std::string& percorso, const std::string& cartella, std::string& copia) {
    copia.clear();
    if (SenzaCartella(cartella) || (!EsisteCartella(cartella) && !CreaCartella(cartella))) return false;
    SavegameBin dati, altro;
    if (!LeggiFileIntero(percorso, dati, 16 * 1024 * 1024)) return false;
    for (int32_t n = 0; n < NumSlotSavegame; ++n)
        if (LeggiFileIntero(SlotCartella(cartella, n), altro, 16 * 1024 * 1024) && altro == dati) return true;
    const std::string nome = NomeFileDaPercorso(percorso);
    for (int32_t k = 1; k <= 999; ++k) {
        const std::string destinazione = NellaCartella(cartella, nome + "." + std::to_string(k));
        if (EsisteFile(destinazione)) {
            if (LeggiFileIntero(destinazione, altro, 16 * 1024 * 1024) && altro == dati) return true;
            continue;
        }
        if (!SalvaSavegameBin(destinazione, dati, true) || !LeggiFileIntero(destinazione, altro) || altro != dati)
            return false;
        copia = destinazione;
        return true;
    }
    return false;
}

bool IsPathSavegame(const std::string& percorso, bool saltaCartella) {
    const bool valido = (saltaCartella || UgualeSenzaCaso(CartellaDaPercorso(percorso), Trim(CartellaTrle))) &&
                        IsNomeSavegame(percorso);
    // Outside a run (preview mode) nothing is reported.
    if (!valido && !saltaCartella && !FuoriGioco)
        StampaLog("WARNING: file path \"" + percorso + "\" is not a valid path for savegame");
    return valido;
}

int32_t LeggiTitoloSavegame(const std::string& percorso, std::string& titolo) {
    titolo = "<NOT READABLE>";
    SavegameBin dati;
    if (!LeggiFileIntero(percorso, dati, 16 * 1024 * 1024) || dati.size() < OffsetNumeroSavegame + 2) return -1;
    LeggiNumeroTitoloSavegame(dati, titolo);
    titolo = Trim(titolo);
    return LeggiValore(dati, OffsetNumeroSavegame, 2);
}

std::string VerificaFileSavegame(const std::string& percorso) {
    const std::string nome = NomeFileDaPercorso(percorso);
    if (!EsisteFile(percorso)) {
        StampaLog("\r\nERROR not found savegame: \"" + percorso + "\"", true);
        return "MISSING " + nome;
    }
    std::string titolo;
    const int32_t numero = LeggiTitoloSavegame(percorso, titolo);
    if (titolo == "<NOT READABLE>" || numero == 0)
        StampaLog("\r\nERROR: savegame file " + nome + " is corrupted", true);
    return nome + " [" + std::to_string(numero) + ": " + titolo + "]";
}
