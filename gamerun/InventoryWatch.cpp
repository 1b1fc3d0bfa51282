#include "gamerun/InventoryWatch.h"

#include "core/MediaLog.h"
#include "eventlogger/LoggerProtocol.h"
#include "gamerun/LoggerClient.h"

bool IsInventoryMode(bool AcceptBlack, bool& AllBlack, bool ForceScreen) {
    AllBlack = false;
    if (!LoggerAttivo() || ForceScreen) return false;
    LeggiLogger();
    const bool inventario = HaFase(StrutturaLogger.Fasi, LoggerFase::Inventory);
    if (inventario) StampaLog("Inventory phase");
    return inventario;
}
