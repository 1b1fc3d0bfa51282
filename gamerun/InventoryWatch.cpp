#include "gamerun/InventoryWatch.h"

#include "core/MediaLog.h"
#include "eventlogger/LoggerProtocol.h"
#include "gamerun/LoggerClient.h"

uint32_t TickInizioInventario = 0;

int32_t StopInventoryMode() { return 0; }

bool IsInventoryMode(bool AcceptBlack, bool& AllBlack, bool ForceScreen) {
    AllBlack = false;
    if (!LoggerAttivo() || ForceScreen) return false;
    LeggiLogger();
    const bool inventario = HaFase(StrutturaLogger.Fasi, LoggerFase::Inventory);
    if (inventario) StampaLog("Inventory phase");
    return inventario;
}
