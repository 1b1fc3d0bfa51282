#include "gamerun/CdTracking.h"

#include "core/MediaLog.h"

void ImpostaSospeso(int32_t cd) { StampaLog("Detected Start CD = " + std::to_string(cd)); }
