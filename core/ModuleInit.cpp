#include "core/ModuleInit.h"

#include <windows.h>

#include "core/FileUtils.h"
#include "core/MediaConfig.h"
#include "core/MediaLog.h"
#include "core/SharedState.h"
#include "core/TextUtils.h"

std::vector<std::string> NomiFont;

std::string NomeFontDaIndice(int32_t indice) {
    if (indice < 0 || indice >= static_cast<int32_t>(NomiFont.size())) return std::string();
    return NomiFont[static_cast<size_t>(indice)];
}
int32_t NumFont = 0;
std::vector<int32_t> ClassiPriorita;
std::vector<int32_t> PrioritaThread;
int32_t NumLivelliPriorita = 0;
std::string FileCatturaSchermo;
void (*ScanSchermoIniziale)() = nullptr;

bool ImpostaCartellaStore() {
    PercorsoStore = Trim(CartellaTrle) + "\\store";
    if (EsisteCartella(PercorsoStore)) return true;
    return CreaCartella(PercorsoStore);
}

bool InitModMedia() {
    ImpostaTabelleLingueCampi();

    ImpostaCartellaStore();

    NomiFont = {"Courier New", "Arial"};
    NumFont = static_cast<int32_t>(NomiFont.size());

    ClassiPriorita = {IDLE_PRIORITY_CLASS,   IDLE_PRIORITY_CLASS,   IDLE_PRIORITY_CLASS,   IDLE_PRIORITY_CLASS,
                      NORMAL_PRIORITY_CLASS, NORMAL_PRIORITY_CLASS, NORMAL_PRIORITY_CLASS, NORMAL_PRIORITY_CLASS,
                      NORMAL_PRIORITY_CLASS, HIGH_PRIORITY_CLASS,   HIGH_PRIORITY_CLASS,   HIGH_PRIORITY_CLASS,
                      HIGH_PRIORITY_CLASS,   REALTIME_PRIORITY_CLASS};
    PrioritaThread = {THREAD_PRIORITY_IDLE,         THREAD_PRIORITY_LOWEST,        THREAD_PRIORITY_BELOW_NORMAL,
                      THREAD_PRIORITY_NORMAL,       THREAD_PRIORITY_LOWEST,        THREAD_PRIORITY_BELOW_NORMAL,
                      THREAD_PRIORITY_NORMAL,       THREAD_PRIORITY_ABOVE_NORMAL,  THREAD_PRIORITY_HIGHEST,
                      THREAD_PRIORITY_BELOW_NORMAL, THREAD_PRIORITY_NORMAL,        THREAD_PRIORITY_ABOVE_NORMAL,
                      THREAD_PRIORITY_TIME_CRITICAL, THREAD_PRIORITY_IDLE};
    NumLivelliPriorita = static_cast<int32_t>(ClassiPriorita.size());

    if (ScanSchermoIniziale) ScanSchermoIniziale();
    SchermoOrigX = SchermoX;
    SchermoOrigY = SchermoY;
    FuoriGioco = true;

    InitMediaLog();

    FileCatturaSchermo = PercorsoStore + "\\tr_capture_screen.bmp";
    // No captured image of an earlier run may survive.
    if (!ConservaCatture) CancellaFile(FileCatturaSchermo);

    HeaderMcf.TriggerCount = 0;
    IndiceEmailFinale = -1;
    LinguaForzata.clear();
    return true;
}

