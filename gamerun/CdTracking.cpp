#include "gamerun/CdTracking.h"

#include "core/MediaLog.h"
#include "core/MediaTrigger.h"

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
