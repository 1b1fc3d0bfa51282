#include "input/KeyboardRoutines.h"

#include <windows.h>

#include "core/FileUtils.h"
#include "core/MediaLog.h"
#include "core/PathNames.h"
#include "core/SharedState.h"
#include "eventlogger/LoggerProtocol.h"
#include "gamerun/CdTracking.h"
#include "gamerun/GameWindow.h"
#include "gamerun/LoggerClient.h"
#include "gamerun/RunState.h"
#include "gamerun/ScriptDat.h"
#include "platform/Clock.h"

namespace {
uint32_t Segno = 0;
}  // namespace

void SospendiInputUtente() { StampaNonCostruito("SospendiInputUtente"); }

void AbilitaInputUtente() {}

void SegnaTempo() { Segno = ClockTick(); }

void AttendiDaSegno(int32_t millisecondi) {
    const uint32_t passati = ClockTick() - Segno;
    if (millisecondi > 0 && passati < static_cast<uint32_t>(millisecondi))
        ClockSleep(static_cast<uint32_t>(millisecondi) - passati);
}

bool TastoSistemaInCoda() {
    MSG m;
    return PeekMessageA(&m, nullptr, WM_CLOSE, WM_CLOSE, PM_NOREMOVE) ||
           PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE);
}

void AttendiCaricamentoLivello() {
    if (LoggerAttivo() && StrutturaLogger.Livello == -1) {
        StampaLog("Wait to discover what level is loading");
        while (StrutturaLogger.Livello == -1 && LoggerAttivo() && RichiestaAbort()) {
            SegnaTempo();
            LeggiLogger();
            if (StrutturaLogger.Livello != -1) break;
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

void CatturaTastiGuardian() {}
