#include "input/KeyboardRoutines.h"

#include <windows.h>

#include <cstdio>

#include "core/FileUtils.h"
#include "core/MediaLog.h"
#include "core/PathNames.h"
#include "core/SharedState.h"
#include "core/TextUtils.h"
#include "runservices/GameWindow.h"
#include "runservices/LoggerClient.h"
#include "runservices/RunState.h"
#include "runservices/ScriptDat.h"
#include "runservices/TombSettings.h"
#include "runservices/CheatCapture.h"
#include "input/KeyMacros.h"
#include "runservices/GameControls.h"
#include "runservices/LoadingState.h"
#include "runservices/RunHooks.h"
#include "platform/Clock.h"
#include "platform/KeyDriver.h"

namespace {

bool Giu(int32_t vk) { return (DriverTasti.StatoTasto(vk) & 0x8000) != 0; }

// The bound key unless it stands for the default, then the default when it
// differs; the key handled last.
int32_t RilasciaControllo(TastoGioco controllo) {
    const size_t k = static_cast<size_t>(controllo);
    const int32_t tasto = ImpostazioniTombCorrenti.Tasti[k];
    const int32_t predefinito = ImpostazioniTombCorrenti.TastiDefault[k];
    int32_t ultimo = tasto;
    if (!(tasto & TastoUsaDefault)) RilasciaTastiGiu(tasto);
    if (predefinito != tasto) {
        RilasciaTastiGiu(predefinito);
        ultimo = predefinito;
    }
    return ultimo;
}

}  // namespace

void BloccaInput(bool blocca) { DriverTasti.BloccaInput(blocca ? TRUE : FALSE); }

void SospendiInputUtente() {
    if (HaBit(StatoGioco, InputUtenteSospeso) || !SistemaNT) return;
    ImpostaBit(StatoGioco, InputUtenteSospeso);
    StampaLog("Suspend user input");
    BloccaInput(true);
    StampaLog("Remove down keys");
    CambiaTabulatoreLog(1);
    for (TastoGioco c : {TastoGioco::Up, TastoGioco::Down, TastoGioco::Left, TastoGioco::Right}) RilasciaControllo(c);
    if (Giu(VK_LMENU)) {
        StampaLog("Found left ALT key: send key up left alt key");
        InviaCodici(false, {{184, 50}});
    } else if (Giu(VK_RMENU)) {
        StampaLog("Found right ALT key: send key up right alt key");
        InviaCodici(false, {{224, 10}, {184, 50}});
    }
    if ((RilasciaControllo(TastoGioco::Action) & 127) != 28) RilasciaTastiGiu(28);
    RilasciaControllo(static_cast<TastoGioco>(13));
    // Every other control the player may hold: the block would keep it down
    // in the game until the player pressed it again.
    for (int32_t k = 0; k < NumeroTastiGioco; ++k)
        if (k > 3 && k != 8 && k != 13) RilasciaControllo(static_cast<TastoGioco>(k));
    CambiaTabulatoreLog(-1);
}

void AbilitaInputUtente() {
    if (!HaBit(StatoGioco, InputUtenteSospeso)) return;
    StampaLog("Enable user input");
    BloccaInput(false);
    TogliBit(StatoGioco, InputUtenteSospeso);
}

void RilasciaTastiGiu(int32_t tasto) {
    const int32_t vk = ScanCodeDaTasto(tasto);
    if (!vk || !Giu(vk)) return;
    StampaLog("Found down key with Vk_Code=0x" + Esadecimale(vk) + " and Scan_code=0x" + Esadecimale(tasto));
    const int32_t scan = tasto & 127;
    if (IsTastoEsteso(scan))
        InviaCodici(false, {{224, 10}, {scan + 128, 200}});
    else
        InviaCodici(false, {{scan + 128, 200}});
    if (scan == 29) {
        StampaLog("Found CTRL key down: send also key up for Right Ctrl key");
        InviaCodici(false, {{224, 10}, {157, 200}});
    }
}

bool SorvegliaCaricamento(int32_t millisecondi) {
    const uint32_t inizio = ClockTick();
    SegnaTempo();
    while (!IsLoadingMode()) {
        if (millisecondi > 0) AttendiDaSegno(100);
        if (ClockTick() - inizio >= static_cast<uint32_t>(millisecondi < 0 ? 0 : millisecondi)) return true;
        SegnaTempo();
    }
    Ganci.ControllaStartCd();
    return false;
}

void AttendiCaricamentoLivello() {
    if (LoggerAttivo() && StrutturaLogger.Livello == -1) {
        StampaLog("Wait to discover what level is loading");
        // A logger that never names the level must not hold the tick for ever.
        const uint32_t inizio = ClockTick();
        while (StrutturaLogger.Livello == -1 && LoggerAttivo() && RichiestaAbort()) {
            SegnaTempo();
            LeggiLogger();
            if (StrutturaLogger.Livello != -1) break;
            if (ClockTick() - inizio >= AttesaLivelloDalLogger) break;
            AttendiDaSegno(100);
        }
        if (StrutturaLogger.Livello == -1) {
            if (LogAbilitato) StampaLog("WARNING: not found what level is loading after preloading phase");
            return;
        }
    }
    StampaLog("Wait for end loading of level: " + NomeFileDaPercorso(PercorsoFileTr4(LivelloCorrente)));
    while (RichiestaAbort() && IsLoadingMode()) {
        SegnaTempo();
        AttendiDaSegno(100);
    }
    StampaLog("Detected end loading of level: " + PercorsoFileTr4(LivelloCorrente));
    TickFineCaricamento = ClockTick();
}

void CatturaTastiGuardian() {
    if (HaBit(StatoGioco, NoInheritCheat)) return;
    auto parola = [](int32_t bit, const char* lettere) {
        if (!HaBit(StatoGioco, bit)) return;
        for (const char* c = lettere; *c; ++c) {
            if (!Giu(*c)) continue;
            std::string lettera(1, *c);
            AggiungiTastoCatturato(lettera);
        }
    };
    parola(GuardiaGuns, "GUNS");
    parola(GuardiaHelp, "HELP");
    parola(GuardiaWeapons, "WEAPONS");
}
