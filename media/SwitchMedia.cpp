#include "media/SwitchMedia.h"

#include <string>

#include "core/LevelVariables.h"
#include "core/MediaLog.h"
#include "core/MediaSyntax.h"
#include "core/MediaTrigger.h"
#include "core/TextUtils.h"
#include "runservices/RunHooks.h"

namespace {

bool IsWorkingMedia(const MediaTrigger& m) { return (m.TypeFlags & (BitKeyboard | BitSensory)) != 0; }

std::string NomeModo(int32_t flags) {
    if (HaBit(flags, SwitchInizializza)) return "Initialize";
    if (HaBit(flags, SwitchAbilita)) return "Enable";
    if (HaBit(flags, SwitchDisabilita)) return "Disable";
    if (HaBit(flags, SwitchInizializzaTutti)) return "Initialize all";
    return "";
}

void CambiaTrigger(MediaTrigger& t, int32_t flags) {
    const bool lasciaWorking = HaBit(flags, SwitchLasciaWorking);
    const std::string codice = std::to_string(t.MediaCode);
    if (HaBit(flags, SwitchDisabilita)) {
        ImpostaBit(t.Options, Disabled);
        StampaLog("Disable media code=" + codice);
        if (!lasciaWorking) TogliBit(t.Options, Working);
    }
    if (HaBit(flags, SwitchAbilita)) {
        TogliBit(t.Options, Disabled);
        StampaLog("Enable media code=" + codice);
        if (!lasciaWorking && IsWorkingMedia(t)) ImpostaBit(t.Options, Working);
    }
    if (HaBit(flags, SwitchInizializzaTutti | SwitchInizializza)) {
        if (!lasciaWorking) TogliBit(t.Options, Working);
        if (HaBit(t.Options, InitiallyDisabled)) {
            ImpostaBit(t.Options, Disabled);
            StampaLog("Disable media code=" + codice);
        } else {
            TogliBit(t.Options, Disabled);
            StampaLog("Enable media code=" + codice);
        }
    }
}

bool CambiaTriggers(int32_t flags, const ListaCodiciMedia& lista) {
    std::vector<int32_t> indici;
    std::string testoLista;
    if (HaBit(flags, SwitchInizializzaTutti)) {
        for (size_t i = 0; i < NumTriggerCaricati(); ++i) indici.push_back(static_cast<int32_t>(i));
    } else {
        int32_t conteggio = 0;
        indici = IndiciDaListaMedia(lista, conteggio);
        // A code naming no trigger changes none of them: the media fails.
        if (conteggio < lista.Conteggio) return false;
        testoLista = TestoListaMedia(lista);
    }
    const std::string modo = NomeModo(flags);
    if (modo.empty()) {
        StampaLog("ERROR: unknown flags for Switch media (Flags=0x" + Esadecimale(flags) + ")", true);
        return false;
    }
    StampaLog("Mode=" + modo + " " + testoLista);
    const bool tutti = HaBit(flags, SwitchInizializzaTutti);
    if (tutti && HaBit(flags, SwitchAzzeraVariabili)) {
        StampaLog("Set = 0 all global variables (Last Input and A, B, C, D)");
        for (int32_t id : {IdUltimoInput, IdVariabileA, IdVariabileB, IdVariabileC, IdVariabileD}) SalvaVariabile(id, "0");
    }
    const int32_t livello = MediaCorrente.Level;
    for (int32_t indice : indici) {
        MediaTrigger& t = ListaMedia[static_cast<size_t>(indice)];
        if (tutti && HaBit(flags, SwitchSoloLivello) && livello != QualsiasiLivello && t.Level != livello) {
            StampaLog("Ignore media with code= " + std::to_string(t.MediaCode) +
                      " (Not same level of current switch i.e. = " + std::to_string(livello) + ")");
            continue;
        }
        CambiaTrigger(t, flags);
    }
    Ganci.ControllaStopSalvataggio();
    Ganci.ImpostaGuardian();
    return true;
}

bool EseguiTriggers(int32_t flags, const ListaCodiciMedia& lista, bool& TestError) {
    const bool saltaDisabilitati = HaBit(flags, SwitchSaltaDisabilitati);
    if (saltaDisabilitati) StampaLog("Ignore disabled medias");
    ListaCodiciMedia nuova;
    std::vector<int32_t> indici;
    for (int32_t i = 0; i < lista.Conteggio && static_cast<size_t>(i) < lista.Codici.size(); ++i) {
        const int32_t codice = lista.Codici[static_cast<size_t>(i)];
        const int32_t indice = IndiceMediaDaCodice(codice);
        if (indice < 0) {
            TestError = true;
            return false;
        }
        if (saltaDisabilitati && HaBit(ListaMedia[static_cast<size_t>(indice)].Options, Disabled)) continue;
        nuova.Codici.push_back(codice);
        indici.push_back(indice);
    }
    nuova.Conteggio = static_cast<int32_t>(nuova.Codici.size());
    if (nuova.Conteggio == 0) {
        StampaLog("Warning: all medias are disabled");
        return false;
    }
    if (HaBit(flags, SwitchCasuale)) {
        const int32_t scelto = nuova.Codici[static_cast<size_t>(NumeroCasuale(static_cast<int16_t>(
            nuova.Conteggio > 0x7FFF ? 0x7FFF : nuova.Conteggio)))];
        StampaLog("Switch-Media in random mode: perform random media code: " + std::to_string(scelto));
        return Ganci.EseguiMediaCode(scelto, TestError);
    }
    StampaLog("Mode=Perform : " + TestoListaMedia(nuova));
    CambiaTabulatoreLog(1);
    const bool esito = Ganci.EseguiListaMedia(indici, nuova.Conteggio, TestError);
    CambiaTabulatoreLog(-1);
    StampaLog(std::string("Performed media list: exit value = ") + (esito ? "True" : "False"));
    return esito;
}

}  // namespace

std::vector<int32_t> IndiciDaListaMedia(const ListaCodiciMedia& lista, int32_t& conteggio) {
    std::vector<int32_t> indici;
    conteggio = 0;
    for (int32_t i = 0; i < lista.Conteggio && static_cast<size_t>(i) < lista.Codici.size(); ++i) {
        const int32_t indice = IndiceMediaDaCodice(lista.Codici[static_cast<size_t>(i)]);
        if (indice < 0) return {};
        indici.push_back(indice);
    }
    conteggio = static_cast<int32_t>(indici.size());
    return indici;
}

bool EseguiSwitchMedia(bool& TestError) {
    StampaLog("Perform Media Switch code = " + std::to_string(MediaCorrente.MediaCode));
    bool esito = LeggiSintassiSwitch(EstraiSezione(MediaCorrente.Syntax, "SWITCH"));
    if (!esito) {
        TestError = true;
        return false;
    }
    const ParametriSwitchMedia p = ParametriSwitch;
    // What the performed media report is theirs: a list that all its media
    // left out, or a menu left with Escape, is no fault of the switch.
    if (HaBit(p.Flags, SwitchEsegui)) return EseguiTriggers(p.Flags, p.Codici, TestError);
    esito = CambiaTriggers(p.Flags, p.Codici);
    if (!esito) TestError = true;
    return esito;
}
