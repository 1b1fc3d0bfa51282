#include "savegames/PrivateVariables.h"

#include <cmath>
#include <string>

#include "core/LevelVariables.h"
#include "core/MediaConfig.h"
#include "core/MediaLog.h"
#include "core/PathNames.h"
#include "core/SharedState.h"
#include "core/TextUtils.h"
#include "runservices/LoggerClient.h"
#include "savegames/SavegameCache.h"
#include "savegames/SavegameFile.h"

namespace {

// Only a run with the logger tells which savegame is new or loaded, and a
// configuration of the old format keeps no variables.
bool VariabiliPrivateUsate() { return LoggerAttivo() && !IsVersione14(); }

// The variable's text as a 32-bit number, rounded halves to even; a text
// that is no number is 0.
int32_t Numero(const std::string& testo) {
    double valore = 0;
    try {
        valore = std::nearbyint(std::stod(Trim(testo)));
    } catch (...) {
        return 0;
    }
    if (std::isnan(valore)) return 0;
    if (!(valore > -2147483649.0)) return static_cast<int32_t>(-2147483647 - 1);
    if (!(valore < 2147483648.0)) return 2147483647;
    return static_cast<int32_t>(valore);
}

void StampaValori(const std::string& intestazione, int32_t codice, int32_t tempo) {
    StampaLog(intestazione);
    CambiaTabulatoreLog(1);
    StampaLog("Var_A = " + VarA);
    StampaLog("Var_B = " + VarB);
    StampaLog("Var_C = " + VarC);
    StampaLog("Var_D = " + VarD);
    StampaLog("Code Alert = " + std::to_string(codice));
    StampaLog("Time Alert = " + std::to_string(tempo));
    CambiaTabulatoreLog(-1);
}

}  // namespace

void SetVariablesSaved() {
    if (!VariabiliPrivateUsate()) return;
    if (HaBit(StatoSequenza, RipristinaBackupSavegame)) {
        StampaLog("Don't update private variables in savegame because there is 'backup savegame' in progress");
        return;
    }
    const int32_t i = IndiceSavegamePiuRecente(CacheSavegame);
    if (i < 0) {
        StampaLog("WARNING: SetVariablesSaved() not found any savegame in savegame cache");
        return;
    }
    SavegameCacheEntry& voce = CacheSavegame.Entries[static_cast<size_t>(i)];
    std::string titolo;
    const int32_t numero = LeggiNumeroTitoloSavegame(voce.Bytes, titolo);
    if (numero == CacheSavegame.LastMaxInternalNumber) {
        StampaLog("Same max internal number: don't update private variables in savegame");
        return;
    }
    CacheSavegame.LastMaxInternalNumber = numero;
    const bool alert = HaBit(ModificheAvvio, AlertInCorso);
    const int32_t codice = alert ? CodeAlertCorrente : -1;
    const int32_t tempo = alert ? TimeAlertCorrente : 0;
    for (std::string* v : {&VarA, &VarB, &VarC, &VarD})
        if (v->empty()) *v = "0";
    ScriviValore(voce.Bytes, OffsetVarA, 4, Numero(VarA));
    ScriviValore(voce.Bytes, OffsetVarB, 4, Numero(VarB));
    ScriviValore(voce.Bytes, OffsetVarC, 4, Numero(VarC));
    ScriviValore(voce.Bytes, OffsetVarD, 4, Numero(VarD));
    ScriviValore(voce.Bytes, OffsetCodeAlert, 4, codice);
    ScriviValore(voce.Bytes, OffsetTimeAlert, 4, tempo);
    if (!SalvaSavegameBin(voce.Path, voce.Bytes, false))
        StampaLog("ERROR: saving savegame from cache to disk: " + voce.Path, true);
    StampaValori("Saved private variables in savegame: " + NomeFileDaPercorso(voce.Path), codice, tempo);
}

void SegnaSavegameIniziali() {
    const int32_t i = IndiceSavegamePiuRecente(CacheSavegame);
    std::string titolo;
    CacheSavegame.LastMaxInternalNumber =
        i < 0 ? 0 : LeggiNumeroTitoloSavegame(CacheSavegame.Entries[static_cast<size_t>(i)].Bytes, titolo);
}

void GetVariablesLoading() {
    if (!VariabiliPrivateUsate()) return;
    if (UltimoSavegameCaricato.empty()) {
        StampaLog("Detected new game: clear all private variables");
        VarA = VarB = VarC = VarD = "0";
        VarLastInput.clear();
        CodeAlertCaricato = -1;
        TimeAlertCaricato = 0;
        return;
    }
    if (HaBit(StatoSequenza, RipristinaBackupSavegame)) {
        StampaLog("Don't update private variables from savegame because there is 'backup savegame' in progress");
        return;
    }
    const int32_t i = IndiceSavegameCache(CacheSavegame, UltimoSavegameCaricato);
    if (i < 0) {
        StampaLog("WARNING: not found in savegame cache the last loaded savegame: " + UltimoSavegameCaricato);
        return;
    }
    const SavegameBin& immagine = CacheSavegame.Entries[static_cast<size_t>(i)].Bytes;
    VarA = std::to_string(LeggiValore(immagine, OffsetVarA, 4));
    VarB = std::to_string(LeggiValore(immagine, OffsetVarB, 4));
    VarC = std::to_string(LeggiValore(immagine, OffsetVarC, 4));
    VarD = std::to_string(LeggiValore(immagine, OffsetVarD, 4));
    CodeAlertCaricato = LeggiValore(immagine, OffsetCodeAlert, 4);
    TimeAlertCaricato = LeggiValore(immagine, OffsetTimeAlert, 4);
    StampaValori("Loaded private variables from savegame: " + NomeFileDaPercorso(UltimoSavegameCaricato),
                 CodeAlertCaricato, TimeAlertCaricato);
}
