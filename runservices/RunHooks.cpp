#include "runservices/RunHooks.h"

#include "core/MediaLog.h"

namespace {

bool EseguiMediaCodeMancante(int32_t, bool& TestError) {
    StampaNonCostruito("EseguiMediaCode");
    TestError = true;
    return false;
}

bool EseguiListaMediaMancante(const std::vector<int32_t>&, int32_t, bool& TestError) {
    StampaNonCostruito("EseguiListaMedia");
    TestError = true;
    return false;
}

// The game's progress cannot be read: the caller stops as on a game that ended.
int32_t AnalisiGameProgressMancante(bool& BreakFlag, int32_t, bool) {
    StampaNonCostruito("AnalisiGameProgress");
    BreakFlag = true;
    return 4;
}

void ControllaStartCdMancante() { StampaNonCostruito("ControllaStartCd"); }
void ImpostaSospesoMancante(int32_t) { StampaNonCostruito("ImpostaSospeso"); }
void ImpostaMediaCdGiaMostratiMancante(int32_t) { StampaNonCostruito("ImpostaMediaCdGiaMostrati"); }
void AvviaCdAlertMancante(int32_t) { StampaNonCostruito("AvviaCdAlert"); }

bool IsInventoryModeMancante(bool, bool& AllBlack, bool) {
    StampaNonCostruito("IsInventoryMode");
    AllBlack = false;
    return false;
}

bool InviaCodiciMancante(bool, const std::vector<std::pair<int32_t, int32_t>>&) {
    StampaNonCostruito("InviaCodici");
    return false;
}

// False would say that a cheat was acted on and stop the media: none was.
bool RilevaTrucchiMancante() {
    StampaNonCostruito("RilevaTrucchi");
    return true;
}

void ControllaStopSalvataggioMancante() { StampaNonCostruito("ControllaStopSalvataggio"); }
void ImpostaGuardianMancante() { StampaNonCostruito("ImpostaGuardian"); }
void GetVariablesLoadingMancante() { StampaNonCostruito("GetVariablesLoading"); }

bool LeggiUltimoSavegameMancante(std::string& percorso, std::string& immagine) {
    StampaNonCostruito("LeggiUltimoSavegame");
    percorso.clear();
    immagine.clear();
    return false;
}

void SospendiInputUtenteMancante() { StampaNonCostruito("SospendiInputUtente"); }
void AbilitaInputUtenteMancante() { StampaNonCostruito("AbilitaInputUtente"); }
void SostituisciPromptMancante(int16_t) { StampaNonCostruito("SostituisciPrompt"); }

bool CatturaSchermoGiocoMancante(std::string& percorso) {
    StampaNonCostruito("CatturaSchermoGioco");
    percorso.clear();
    return false;
}

// By name: a hook added to the table and not here stays empty, which the
// tests of both tables catch.
constexpr GanciRun GanciVuoti{
    .EseguiMediaCode = EseguiMediaCodeMancante,
    .EseguiListaMedia = EseguiListaMediaMancante,
    .AnalisiGameProgress = AnalisiGameProgressMancante,
    .ControllaStartCd = ControllaStartCdMancante,
    .ImpostaSospeso = ImpostaSospesoMancante,
    .ImpostaMediaCdGiaMostrati = ImpostaMediaCdGiaMostratiMancante,
    .AvviaCdAlert = AvviaCdAlertMancante,
    .IsInventoryMode = IsInventoryModeMancante,
    .InviaCodici = InviaCodiciMancante,
    .RilevaTrucchi = RilevaTrucchiMancante,
    .ControllaStopSalvataggio = ControllaStopSalvataggioMancante,
    .ImpostaGuardian = ImpostaGuardianMancante,
    .GetVariablesLoading = GetVariablesLoadingMancante,
    .LeggiUltimoSavegame = LeggiUltimoSavegameMancante,
    .SospendiInputUtente = SospendiInputUtenteMancante,
    .AbilitaInputUtente = AbilitaInputUtenteMancante,
    .SostituisciPrompt = SostituisciPromptMancante,
    .CatturaSchermoGioco = CatturaSchermoGiocoMancante,
};

}  // namespace

GanciRun Ganci = GanciVuoti;
