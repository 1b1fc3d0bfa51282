#include "gamerun/StartGame.h"

#include <windows.h>

#include <cstdio>
#include <exception>

#include "core/FileUtils.h"
#include "core/MediaConfig.h"
#include "core/MediaLog.h"
#include "core/MediaSyntax.h"
#include "core/MediaTrigger.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"
#include "runservices/Desktop.h"
#include "runservices/DisplayModes.h"
#include "gamerun/EndGame.h"
#include "runservices/LoggerClient.h"
#include "gamerun/MediaPreparation.h"
#include "runservices/RunState.h"
#include "runservices/ScriptDat.h"
#include "gamerun/TimerTick.h"
#include "patcher/GamePatcher.h"
#include "platform/Clock.h"
#include "savegames/SavegameCache.h"

bool (*PreparazioneMediaRun)() = InitMediaMcf;

namespace {

const char* const A_Capo = "\r\n";

// Gives back, on every way out, the indentation the routine raised.
class RientroLog {
public:
    ~RientroLog() { CambiaTabulatoreLog(-livelli_); }
    void Su() {
        CambiaTabulatoreLog(1);
        ++livelli_;
    }
    void Giu() {
        CambiaTabulatoreLog(-1);
        --livelli_;
    }

private:
    int32_t livelli_ = 0;
};

std::string DataOraLog() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    char testo[32];
    std::snprintf(testo, sizeof testo, "%02u/%02u/%04u  %02u:%02u:%02u", st.wDay, st.wMonth, st.wYear, st.wHour,
                  st.wMinute, st.wSecond);
    return testo;
}

std::string PercorsoEseguibile() {
    char percorso[MAX_PATH + 1] = {};
    const DWORD n = GetModuleFileNameA(nullptr, percorso, MAX_PATH);
    const std::string completo(percorso, n);
    return CartellaDaPercorso(completo) + "\\" + NomeSenzaEstensione(completo) + ".exe";
}

void AzzeraConfigurazione() {
    HeaderMcf.TriggerCount = 0;
    HeaderMcf.MediaFileCount = 0;
    HeaderMcf.HeaderOptions = 0;
}

void AbbandonaRun() {
    StampaLog("EndGameConfig()");
    CambiaTabulatoreLog(1);
    EndGameConfig();
    CambiaTabulatoreLog(-1);
}

bool PassiInitGameConfig(RientroLog& rientro) {
    // 1. The run's state at its start values.
    AzzeraStatoRun();
    AzzeraLoggerClient();
    PatchUtente.clear();
    NumPatchUtente = 0;
    AggiornaCacheRichiesto = true;
    AzzeraConfigurazione();

    // 2.
    HeaderMcf.CartellaMcf = Trim(CartellaTrle);
    HeaderMcf.Version = "VER1.5";

    // 3.
    if (!EsisteCartella(PercorsoStore)) {
        PercorsoStore = Trim(CartellaTrle) + "\\Store";
        CreaCartella(PercorsoStore);
    }

    // 4. The run's own log; error lines of the start-up are not lost with it.
    const std::vector<std::string> erroriAvvio = RigheErroreLog;
    InitMediaLog();
    LogAbilitato = true;
    StampaLog("Start log file (" + DataOraLog() + ")");
    RiportaRigheErrore(erroriAvvio);
    StampaLog("InitGameConfig()");
    rientro.Su();

    // 5.
    const std::string cartella = Trim(CartellaTrle);
    if (EsisteFile(cartella + "\\media.mpf")) {
        StampaLog("First execution (found media.mpf file in trle folder)");
        ImpostaBit(StatoGioco, PrimaEsecuzione);
    }

    // 6.
    const std::string eseguibile = PercorsoEseguibile();
    StampaLog("Current application file name: " + eseguibile);
    if (!EsisteFile(eseguibile)) {
        StampaLog("ERROR changed name of application: unknown exe name", true);
        return false;
    }
    StampaLog("Current application: Media Module Ludovane.exe Version " + VersioneFile(eseguibile));

    // 7. Levels.
    StampaLog("Find levels.tr4 used by script.dat");
    if (!EsisteFile(cartella + "\\script.dat")) {
        StampaLog("ERROR missing Script.dat in trle folder", true);
        return false;
    }
    FileLivelli = LeggiScriptDat(NumLivelli);
    rientro.Su();
    for (int32_t i = 0; i < NumLivelli; ++i) {
        const std::string& file = FileLivelli[static_cast<size_t>(i)];
        if (EsisteFile(file))
            StampaLog("Level " + std::to_string(i) + " = " + NomeFileDaPercorso(file));
        else
            StampaLog("WARNING: missing file for level " + std::to_string(i) + ":" + file);
    }
    rientro.Giu();

    // 8. Language files.
    int32_t conteggio = 0;
    int32_t lingue = 0;
    for (const std::string& dat : ElencoFile(cartella, "*.dat", conteggio))
        if (!UgualeSenzaCaso(NomeFileDaPercorso(dat), "script.dat")) ++lingue;
    if (lingue == 0) {
        StampaLog("ERROR missing any 'language'.dat file in trle folder", true);
        return false;
    }
    if (lingue > 1) StampaLog("WARNING: there are " + std::to_string(lingue) + " 'language'.dat files in trle folder");

    // 9. Media configuration.
    StampaLog("Searching for media.mcf file in trle folder: " + cartella);
    std::string mcf = cartella + "\\media.mcf";
    if (!EsisteFile(mcf)) {
        StampaLog("media.mcf not found in trle folder. Try loading any.mcf file (for backward compatibility with 1.4 "
                  "version");
        const std::vector<std::string> altri = ElencoFile(cartella, "*.mcf", conteggio);
        mcf = altri.empty() ? std::string() : altri.front();
        if (mcf.empty()) StampaLog("Not found *.mcf files in folder: " + cartella);
    }
    if (mcf.empty()) {
        StampaLog("Missing media configuration file in trle folder");
        AzzeraConfigurazione();
        StampaLog("ERROR: missing media.mcf file in trle folder", true);
        return false;
    }
    StampaLog("Found media configuration file in: " + mcf);
    if (!CaricaMediaMcf(mcf)) {
        StampaLog("ERROR: loading media file from: " + mcf, true);
        AzzeraConfigurazione();
        return false;
    }
    StampaLog("Loaded media configuration file \"" + mcf + "\"");
    StampaLog("Media file version = \"" + HeaderMcf.Version + "\"");
    // The list keeps one spare record past the loaded ones.
    for (size_t i = 0; i < static_cast<size_t>(HeaderMcf.TriggerCount) && i < ListaMedia.size(); ++i) {
        MediaTrigger& media = ListaMedia[i];
        if (media.Options & AlreadyShown) {
            StampaLog("ERROR: media code " + std::to_string(media.MediaCode) + " has flag 'AlreadyShoed'", true);
            media.Options &= ~AlreadyShown;
        }
        if (media.Options & Disabled)
            StampaLog("WARNING: media code " + std::to_string(media.MediaCode) + " is disabled");
    }
    ImpostaBit(ModificheAvvio, MediaTriggerAttivi);

    // 10.
    OpzioniGioco = HeaderMcf.HeaderOptions;

    // 11. Screen.
    int32_t larghezza = 0, altezza = 0, bits = 0;
    ScanRisoluzioneCorrente(larghezza, altezza, bits);
    StampaLog("Current screen resolution: " + std::to_string(larghezza) + "x" + std::to_string(altezza) +
              " Color_Bits=" + std::to_string(bits));
    if (bits < 32 && HaBit(StatoGioco, PrimaEsecuzione) && HaBit(ModificheAvvio, MediaTriggerAttivi)) {
        const std::string prime = "WARNING: your current Windows screen resolution uses only " + std::to_string(bits) +
                                  " Bits for color" + A_Capo +
                                  std::string("This level to work correctly needs true color (32 bits per pixel)") + A_Capo;
        StampaLog(prime + "Set 32 bit color in Windows Screen Settings, please");
        Messaggio(prime + "Set 32 bit color in Windows Screen Settings the next time, please", StileOk);
    }

    // 12.
    std::string nomeVersione;
    const int32_t versione = VersioneWindows(nomeVersione);
    StampaLog("Current language: " + NomeLingua() + " ID=0x" + Esadecimale(LinguaSistema()));
    StampaLog("Current Windows version: " + nomeVersione + " (ID=" + std::to_string(versione) + ")");

    // 13.
    RiferimentoX = larghezza * TwipsPerPixel();
    RiferimentoY = altezza * TwipsPerPixel();
    SchermoOrigX = SchermoX = larghezza;
    SchermoOrigY = SchermoY = altezza;

    // 14.
    StampaLog("Windows style settings:");
    rientro.Su();
    StampaLog("Cy_Caption=" + std::to_string(GetSystemMetrics(SM_CYCAPTION) - 6));
    StampaLog("Cx_Border=" + std::to_string(GetSystemMetrics(SM_CXBORDER)));
    StampaLog("Cy_Border=" + std::to_string(GetSystemMetrics(SM_CYBORDER)));
    rientro.Giu();

    // 15.
    TaskBarAutoNascosta = StatoTaskBar();
    StampaLog(std::string("Auto-Hide task bar=") + (TaskBarAutoNascosta ? "True" : "False"));

    // 16.
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }

    // 17.
    StampaLog("Extra_InitGameConfig()");
    if (!Extra_InitGameConfig(true)) return false;

    // 18.
    StampaLog("Call InitMediaMcf()");
    rientro.Su();
    const bool preparata = PreparazioneMediaRun();
    rientro.Giu();
    if (!preparata) return false;

    // 19.
    ImpostaBit(ModificheAvvio, GiocoConfigurato);
    return true;
}

}  // namespace

bool InitGameConfig() {
    RientroLog rientro;
    try {
        return PassiInitGameConfig(rientro);
    } catch (const std::exception& e) {
        StampaLog(std::string("Error in InitGameConfig(): ") + e.what(), true);
    }
    return false;
}

bool StartGame() {
    try {
        if (!InitGameConfig()) {
            StampaLog("ERROR in InitGameConfig: abort game", true);
            AbbandonaRun();
            return false;
        }
        if (IsModoFinestra()) {
            StampaLog("Freeze swap task from cover and tomb");
            ImpostaBit(ModificheAvvio, SwapTaskBloccato);
        }
        StampaLog("Start Tomb Raider program");
        TickAvvioGioco = static_cast<int32_t>(ClockTick());
        if (!AvviaProcessoInfo(Trim(CartellaTrle) + "\\tomb4.exe", "", false, ProcessoGioco, false)) {
            ProcessoGioco = InfoProcesso{};
            StampaLog("ERROR: launching tomb raider", true);
            AbbandonaRun();
            return false;
        }
        if (LoggerAttivo()) {
            HANDLE copia = nullptr;
            if (hProcessLogger &&
                DuplicateHandle(GetCurrentProcess(), static_cast<HANDLE>(ProcessoGioco.hProcess),
                                static_cast<HANDLE>(hProcessLogger), &copia, 0, TRUE, DUPLICATE_SAME_ACCESS)) {
                StampaLog("Send tomb raider process to Scrivane");
                InviaComandoLogger(CmdTombProcessHandle, reinterpret_cast<intptr_t>(copia));
            } else {
                StampaLog("WARNING: error duplicating process handle of tomb raider");
            }
        }
        AttesaCaricamentoIniziale = true;
        StampaLog("Enable timer");
        AbilitaTimerPrincipale();
        return true;
    } catch (const std::exception& e) {
        StampaLog(std::string("ERROR in StartGame() : ") + e.what(), true);
    }
    return false;
}
