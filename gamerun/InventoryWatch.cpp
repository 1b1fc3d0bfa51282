#include "gamerun/InventoryWatch.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <string>

#include "core/ImageLoading.h"
#include "core/MediaLog.h"
#include "core/MediaTrigger.h"
#include "core/SystemUtils.h"
#include "eventlogger/LoggerProtocol.h"
#include "gamerun/CdTracking.h"
#include "runservices/Desktop.h"
#include "runservices/DisplayModes.h"
#include "runservices/GameWindow.h"
#include "runservices/LoggerClient.h"
#include "runservices/RunState.h"
#include "input/CheatGuardian.h"
#include "input/Guardian.h"
#include "media/ActionMedia.h"
#include "platform/Clock.h"
#include "platform/Forms.h"
#include "input/KeyboardRoutines.h"
#include "savegames/SavegameCache.h"


namespace {

constexpr uint32_t CicloInventario = 50;
constexpr int32_t MaxCicliNeri = 3;

// The item name last captured in the inventory.
ImmagineAzione ImmagineCatturata;

bool ActionMediaDelLivello(const MediaTrigger& media) {
    return HaBit(media.TypeFlags, BitAction) && !HaBit(media.Options, Disabled) &&
           (media.Level == QualsiasiLivello || media.Level == LivelloCorrente);
}

bool ActionMediaApplicabili() {
    if (HaBit(ModificheAvvio, AlertInCorso)) return false;
    const auto inizio = ListaMedia.begin();
    return std::any_of(inizio, inizio + static_cast<std::ptrdiff_t>(NumTriggerCaricati()), ActionMediaDelLivello);
}

bool IsGrigio(COLORREF colore) {
    return GetRValue(colore) == GetGValue(colore) && GetGValue(colore) == GetBValue(colore);
}

std::string UltimoSavegameNumero(int32_t& numero) {
    std::string descrizione;
    return UltimoSavegame(numero, descrizione);
}

// False when the loop must end: the action key came with a level load.
bool ControllaAzione() {
    if (TastoAzioneAttivo() == 0) return true;
    StampaLog("Detected Action command");
    if (IsLoadingMode()) {
        StampaLog("Ignore: is action command for load game");
        return false;
    }
    if (!CatturaRettangolo(ImmagineCatturata)) {
        StampaLog("Failed capture: no yellow pixel");
        return true;
    }
    StampaLog("Captured pattern image");
    const size_t caricati = NumTriggerCaricati();
    for (size_t i = 0; i < caricati; ++i) {
        if (!ActionMediaDelLivello(ListaMedia[i])) continue;
        StampaLog("Verify for matching");
        CambiaTabulatoreLog(1);
        const bool trovato = ConfrontaActionMedia(static_cast<int32_t>(i), ImmagineCatturata);
        CambiaTabulatoreLog(-1);
        if (trovato) break;
    }
    return true;
}

}  // namespace

bool IsInventoryMode(bool AcceptBlack, bool& AllBlack, bool ForceScreen) {
    AllBlack = false;
    if (LoggerAttivo() && !ForceScreen) {
        LeggiLogger();
        const bool inventario = HaFase(StrutturaLogger.Fasi, LoggerFase::Inventory);
        if (inventario) StampaLog("Inventory phase");
        return inventario;
    }

    const uint32_t inizio = ClockTick();
    if (!DcSchermo()) {
        StampaLog("WARNING: not found screen hdc");
        return false;
    }
    LeggiClientRectTomb();
    const Rettangolo client = RettClientGioco;
    Rettangolo schermo = client;
    RettangoloClientGioco(schermo);

    const int32_t y = schermo.Top;
    const int32_t ultimo = std::min(schermo.Right, SchermoX) - 2;
    // The row in one copy, on a surface kept from tick to tick: an idle
    // level without the logger tests it on every tick.
    static CopiaSchermo riga;
    const int32_t larghezza = ultimo - schermo.Left + 1;
    if (larghezza > 0 && !LeggiSchermo(riga, schermo.Left, y, larghezza, 1)) {
        StampaLog("Warning: invalid screen pixel color at (" + std::to_string(schermo.Left) + ", " + std::to_string(y) +
                  ")");
        StampaLog("Client rect=" + std::to_string(client.Left) + "," + std::to_string(client.Top) + "-" +
                  std::to_string(client.Right) + "," + std::to_string(client.Bottom));
        return false;
    }
    bool grigioNonNero = false;
    for (int32_t x = 0; x < larghezza; ++x) {
        const COLORREF colore = PixelCopia(riga, x, 0);
        if (!IsGrigio(colore)) {
            RallentaInventario(inizio);
            return false;
        }
        if (colore != RGB(0, 0, 0)) grigioNonNero = true;
    }
    AllBlack = !grigioNonNero;
    const bool inventario = grigioNonNero || AcceptBlack;
    StampaLog(inventario ? "Inventory phase" : "All black");
    RallentaInventario(inizio);
    return inventario;
}

// The game stands still here; no key goes to it (an Escape would close its
// inventory).
int32_t StopInventoryMode() {
    const uint32_t inizio = ClockTick();
    // Decided once the inventory is found open: outside it the tick walks
    // no record.
    bool azioni = false;
    int32_t cicli = 0;
    int32_t cicliNeri = 0;
    bool tempoAvviato = false;
    bool coverNascosta = false;
    int32_t savegameIniziale = -1;

    for (;;) {
        bool tuttoNero = false;
        if (!IsInventoryMode(cicli > 0, tuttoNero, false)) break;
        if (cicliNeri >= MaxCicliNeri || !RichiestaAbort()) break;
        if (++cicli == 1) azioni = ActionMediaApplicabili();
        const uint32_t segno = ClockTick();
        CatturaTastiGuardian();

        if (tuttoNero) {
            ++cicliNeri;
            if (IsLoadingMode()) break;
        } else {
            cicliNeri = 0;
            if (!tempoAvviato && HaBit(ModificheAvvio, AlertInCorso)) {
                tempoAvviato = true;
                StampaLog("Set start time inventory");
                TickInizioInventario = ClockTick();
                ImpostaBit(ModificheAvvio, TempoInventarioInCorso);
                const std::string percorso = UltimoSavegameNumero(savegameIniziale);
                StampaLog(percorso.empty() ? "No savegame in trle folder" : "Current last savegame: " + percorso);
            }
        }

        if (HaBit(ModificheAvvio, AlertInCorso) && CoverVisibile()) {
            NascondiCover();
            coverNascosta = true;
        }
        AbilitaLogDaTastiera();

        if (azioni) {
            CambiaTabulatoreLog(1);
            const bool continua = ControllaAzione();
            CambiaTabulatoreLog(-1);
            if (!continua) break;
        }

        RilevaTrucchi();
        AggiornaCacheSavegame(1000);
        ControllaSavegameBloccati();
        const uint32_t passati = ClockTick() - segno;
        if (passati < CicloInventario) ClockSleep(CicloInventario - passati);
        DoEvents();
    }

    AggiornaCacheSavegame(1000);
    ControllaSavegameBloccati();

    if (HaBit(ModificheAvvio, TempoInventarioInCorso)) {
        int32_t numero = -1;
        const std::string percorso = UltimoSavegameNumero(numero);
        StampaLog("Exit from inventory with last savegame: " + percorso);
        if (numero <= savegameIniziale) {
            StampaLog("No saving game operation: ignore inventory time for suspend mode");
            TogliBit(ModificheAvvio, TempoInventarioInCorso);
        } else {
            StampaLog("User has saved the game: sign inventory time for suspend mode");
        }
    }

    if (coverNascosta && !(LoggerAttivo() && HaFase(StrutturaLogger.Fasi, LoggerFase::LoadingLevel))) {
        Dialog_Cover& cover = DialogCover();
        if (cover.Loaded()) ShowWindow(cover.hWnd(), SW_SHOWNA);
    }

    return cicli > 0 ? static_cast<int32_t>(ClockTick() - inizio) : 0;
}
