#include "gamerun/CdTracking.h"

#include "core/MediaLog.h"
#include "core/MediaTrigger.h"

int32_t CdAvvioAlert = -1;

bool IsLoadingMode() { return false; }

bool IsCdTitoliInCorso() { return false; }

int32_t AnalisiGameProgress(bool& BreakFlag, int32_t, bool) {
    BreakFlag = false;
    return 0;
}

void ControllaStartCd() {}

void ImpostaMediaCdGiaMostrati(int32_t) {}

void AvviaCdAlert(int32_t) {}

void AbilitaLogDaTastiera() {}

void ImpostaSospeso(int32_t cd) { StampaLog("Detected Start CD = " + std::to_string(cd)); }

void RimuoviFlagWorking() {
    for (MediaTrigger& media : ListaMedia) {
        const int32_t tipo = TipoMediaDaFlags(media.TypeFlags);
        if ((tipo == TipoAlert || tipo == TipoSensory) && HaBit(media.Options, Working)) {
            StampaLog("Removing Working flag for media code = " + std::to_string(media.MediaCode));
            TogliBit(media.Options, Working);
        }
        if (HaBit(media.Options, AlreadyShown)) {
            StampaLog("Remove 'Already_Showed' flag from media code = " + std::to_string(media.MediaCode));
            TogliBit(media.Options, AlreadyShown);
        }
    }
}
