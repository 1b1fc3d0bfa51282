#include "gamerun/Startup.h"

#include <windows.h>

#include "core/FileUtils.h"
#include "core/MediaLog.h"
#include "core/ModuleInit.h"
#include "core/OldMediaConfig.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"
#include "gamerun/CdTracking.h"
#include "gamerun/InputPrompt.h"
#include "gamerun/InventoryWatch.h"
#include "gamerun/MediaDispatcher.h"
#include "runservices/DisplayModes.h"
#include "runservices/RunHooks.h"
#include "gamerun/Principale.h"
#include "gamerun/Screenshots.h"
#include "runservices/RunState.h"
#include "gamerun/StartGame.h"
#include "gamerun/Uninstall.h"
#include "input/CheatGuardian.h"
#include "input/Guardian.h"
#include "media/EmailMedia.h"
#include "media/ImageSequence.h"
#include "input/KeyMacros.h"
#include "input/KeyboardRoutines.h"
#include "savegames/PrivateVariables.h"
#include "savegames/SavegameCache.h"

std::vector<std::string> FileInstaller;

namespace {

std::string CartellaEseguibile() {
    char percorso[MAX_PATH + 1] = {};
    const DWORD n = GetModuleFileNameA(nullptr, percorso, MAX_PATH);
    std::string cartella = CartellaDaPercorso(std::string(percorso, n));
    while (cartella.size() > 1 && cartella.back() == '\\') cartella.pop_back();
    return cartella;
}

// The command line less the program's own name, quoted or not.
std::string ArgomentiGrezzi(const std::string& riga) {
    size_t i = 0;
    while (i < riga.size() && (riga[i] == ' ' || riga[i] == '\t')) ++i;
    if (i < riga.size() && riga[i] == '"') {
        const size_t chiusa = riga.find('"', i + 1);
        i = chiusa == std::string::npos ? riga.size() : chiusa + 1;
    } else {
        while (i < riga.size() && riga[i] != ' ' && riga[i] != '\t') ++i;
    }
    while (i < riga.size() && (riga[i] == ' ' || riga[i] == '\t')) ++i;
    return riga.substr(i);
}

// "/f=" may stand anywhere in the argument; the language runs from the first
// "=" to the next one.
std::string LinguaDaOpzione(const std::string& argomento) {
    const size_t uguale = argomento.find('=');
    const size_t fine = argomento.find('=', uguale + 1);
    return Trim(argomento.substr(uguale + 1, fine == std::string::npos ? std::string::npos : fine - uguale - 1));
}

}  // namespace

std::vector<std::string> ArgomentiRigaComando(const std::string& rigaComando) {
    std::vector<std::string> argomenti;
    const std::string resto = ArgomentiGrezzi(rigaComando);
    size_t inizio = 0;
    while (inizio <= resto.size()) {
        size_t blank = resto.find(' ', inizio);
        if (blank == std::string::npos) blank = resto.size();
        argomenti.push_back(Trim(resto.substr(inizio, blank - inizio)));
        inizio = blank + 1;
    }
    return argomenti;
}

std::string TestoHelp() {
    const std::string a = "\r\n";
    return "Ludovane.exe: Internal Name: Vorn Media Module" + a +
           "Ludovane.exe usage:" + a +
           "Ludovane.exe must be in trle folder, e.g. same folder where is 'tomb4.exe' program. Ludovane.exe "
           "allows to custom level to trigger Text Media when a CD track audio will be sound" + a +
           "Command line options:" + a +
           "<NO OPTIONS> = Start tomb4.exe and verify if media triggers must be enabled" + a +
           "/q  (q=Quit : Don't launch tomb4.exe)" + a +
           "/v (v=Verbose) : Create a more descriptive media log file 'media.log' in TRLE folder" + a +
           "/u (u=Unistall): Uninstall current level: remove all media files and restore previous original files" + a +
           std::string(17, ' ') + "Remark: Ludovane.exe and media.log files should be removed manually when uninstall is complete" + a +
           "/l (l=List)    : Show list of media trigger in current media configuration file"
           "/f=LANGUAGE    : Force use of LANGUAGE in side of current computer language" + a +
           std::string(17, ' ') + "Example: Ludovane.exe /f=GERMAN" + a +
           " KEYBOARD GAME USEABLE IN RUNNING TIME:" + a +
           "/s (s=Started)  : Started by Kelvaro" + a +
           "SHIT+F8        : Write in log file the mexage: 'WARNING: tester signals a bug in this moment'" + a +
           "L+G            : Enable creation of log file" + a;
}

void CollegaServiziRun() {
    Ganci.EseguiMediaCode = EseguiMediaCode;
    Ganci.EseguiListaMedia = EseguiListaMedia;
    Ganci.AnalisiGameProgress = AnalisiGameProgress;
    Ganci.ControllaStartCd = ControllaStartCd;
    Ganci.ImpostaSospeso = ImpostaSospeso;
    Ganci.ImpostaMediaCdGiaMostrati = ImpostaMediaCdGiaMostrati;
    Ganci.AvviaCdAlert = AvviaCdAlert;
    Ganci.IsInventoryMode = IsInventoryMode;
    Ganci.InviaCodici = InviaCodici;
    Ganci.RilevaTrucchi = RilevaTrucchi;
    Ganci.ControllaStopSalvataggio = ControllaStopSalvataggio;
    Ganci.ImpostaGuardian = ImpostaGuardian;
    Ganci.GetVariablesLoading = GetVariablesLoading;
    Ganci.SospendiInputUtente = SospendiInputUtente;
    Ganci.AbilitaInputUtente = AbilitaInputUtente;
    Ganci.SostituisciPrompt = SostituisciPrompt;
    Ganci.CatturaSchermoGioco = CatturaSchermoGioco;
    Ganci.LeggiUltimoSavegame = [](std::string& percorso, std::string& immagine) {
        int32_t numero = -1;
        std::string descrizione;
        percorso = UltimoSavegame(numero, descrizione);
        immagine.clear();
        return !percorso.empty() && LeggiSavegameCache(percorso, immagine);
    };
}

void AvvioProgramma() {
    CollegaServiziRun();
    FileInstaller = {"Install_Level.txt", "Extract.txt", "Installer_log.txt", "Setup.exe"};
    TipoProgramma = 4;
    CodicePiattaforma = PiattaformaWindows();
    SistemaNT = IsWindowsNT();
    LogAbilitato = false;
    CartellaTrle = CartellaEseguibile();
    ConservaCatture = false;
    AvviatoConOpzioneS = false;
    ImpostaCartellaStore();
    CancellaFile(PercorsoStore + "\\media.log");
    ScanSchermoIniziale = ScanSchermoDesktop;
    SintassiGuardianConvertita = SintassiGuardianVecchia;
    SintassiEmailConvertita = SintassiEmailVecchia;
    SequenzaImmaginiConvertita = SequenzaImmaginiVecchia;
    if (!InitModMedia()) {
        FormPrincipale().Unload();
        return;
    }

    const std::vector<std::string> argomenti = ArgomentiRigaComando(GetCommandLineA());
    // The log must be detailed before any option of the second pass writes.
    for (const std::string& arg : argomenti)
        if (UgualeSenzaCaso(arg, "/V")) LogAbilitato = true;

    for (const std::string& arg : argomenti) {
        if (arg.empty()) continue;
        const std::string opzione = MaiuscoloAscii(arg);
        if (opzione == "/V") {
            LogAbilitato = true;
        } else if (opzione == "/H" || opzione == "/?") {
            const std::string help = TestoHelp();
            StampaLog(help);
            Messaggio(help, StileOk, "");
            FormPrincipale().Unload();
            return;
        } else if (opzione == "/U") {
            DisinstallaLivello();
            FormPrincipale().Unload();
            return;
        } else if (opzione == "/S") {
            AvviatoConOpzioneS = true;
        } else if (opzione == "/L") {
            MostraListaMedia();
            FormPrincipale().Unload();
            return;
        } else if (opzione.find("/F=") != std::string::npos) {
            LinguaForzata = LinguaDaOpzione(arg);
            StampaLog("Force as current language: " + LinguaForzata);
        } else {
            StampaLog("Command line error: unknown option: '" + arg + "'", true);
        }
    }

    if (EsisteFile(CartellaTrle + "\\tomb4.exe")) {
        if (!StartGame()) FormPrincipale().Unload();
        return;
    }
    StampaLog("Warning: missing tomb4.exe in current folder: " + CartellaTrle +
                  "\r\nYou must copy 'Ludovane.exe' in level editor folder before launching it",
              true);
    FormPrincipale().Unload();
}
