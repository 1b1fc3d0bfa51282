#include "gamerun/MediaPreparation.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <string>
#include <utility>

#include "core/FileUtils.h"
#include "core/ImageLoading.h"
#include "core/LevelVariables.h"
#include "core/MediaConfig.h"
#include "core/MediaExtraction.h"
#include "core/MediaLog.h"
#include "core/MediaPacket.h"
#include "core/MediaSyntax.h"
#include "core/MediaTrigger.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"
#include "core/Utf8Files.h"
#include "core/Utf8Text.h"
#include "runservices/Desktop.h"
#include "runservices/DisplayModes.h"
#include "runservices/LoggerClient.h"
#include "runservices/RunState.h"
#include "runservices/ScriptDat.h"
#include "runservices/TombSettings.h"
#include "gamerun/Uninstall.h"
#include "runservices/VideoList.h"
#include "input/Guardian.h"
#include "media/Joystick.h"
#include "media/MovieChecks.h"
#include "patcher/GamePatcher.h"
#include "patcher/PatchFiles.h"
#include "platform/Clock.h"
#include "platform/Forms.h"
#include "input/KeyMacros.h"
#include "savegames/PrivateVariables.h"
#include "savegames/SavegameBackup.h"
#include "savegames/SavegameCache.h"
#include "savegames/SavegameFile.h"

std::vector<int32_t> ListaMediaWorking;
int32_t NumMediaWorking = 0;
std::vector<int32_t> ListaCdGuardian;
int32_t NumCdGuardian = 0;
std::vector<CdLivello> ListaCdAlert;
int32_t NumCdAlert = 0;
std::vector<CdLivello> ListaCdTrigger;
int32_t NumCdTrigger = 0;
std::vector<int32_t> ListaCdSuoni;
int32_t NumCdSuoni = 0;

namespace {

// The companion programs that ship beside Ludovane.exe; found in the game
// folder they belong in the store.
constexpr const char* FileAusiliari[] = {"Scrivane.exe", "Vistrelo.exe", "Vantrek.VXD", "Tonvell.dll"};

// Files of a previous run that emptying the store must keep: the settings
// of before a crash, which the end of this run gives back, this run's own
// log, the companion programs an earlier level moved there and the cached
// list of the machine's video modes.
bool DaConservare(const std::string& nome) {
    const std::string n = MaiuscoloAscii(nome);
    if (n == "OLD_SETTINGS.TRG" || n == "BACKUP_OLD_SETTINGS.TRG" || n == "MEDIA_LOG.TXT" || n == "VIDEOLIST.BIN")
        return true;
    for (const char* ausiliario : FileAusiliari)
        if (n == MaiuscoloAscii(ausiliario)) return true;
    return false;
}

std::string CartellaGioco() { return Trim(CartellaTrle); }
std::string NelGioco(const std::string& nome) { return CartellaGioco() + "\\" + nome; }
std::string NelloStore(const std::string& nome) { return PercorsoStore + "\\" + nome; }

bool Windows98Me() { return !SistemaNT && CodicePiattaforma == 4; }

bool QualcheRecord(int32_t bits) {
    for (const MediaTrigger& m : ListaMedia)
        if (m.TypeFlags & bits) return true;
    return false;
}

// The loaded records, without the spare empty one at the end of the table:
// its CD 0 would otherwise count as a track in use.
size_t NumRecord() { return NumTriggerCaricati(); }

// The records bound to a CD track: those before the first without one.
template <class F>
void PerTriggerCd(F f) {
    for (size_t i = 0; i < NumRecord(); ++i) {
        if (ListaMedia[i].TriggerCd == TriggerCdNessuno) break;
        f(ListaMedia[i]);
    }
}

void ElaboraEventi() { DoEvents(); }

void RaccogliMediaSpeciali() {
    StampaLog("Checking for presence of special medias");
    CambiaTabulatoreLog(1);
    bool antiTrigger = false;
    bool ereditaTrucchi = false;
    bool ereditaSalvataggio = false;
    for (size_t i = 0; i < NumRecord(); ++i) {
        const MediaTrigger& m = ListaMedia[i];
        if (m.TypeFlags & (BitKeyboard | BitSensory)) {
            StampaLog("Found media for working flags: media code = " + std::to_string(m.MediaCode));
            AggiungiTastoPremuto(static_cast<int32_t>(i), ListaMediaWorking, NumMediaWorking, true);
        }
        if (m.Options & AntiTrigger) antiTrigger = true;
        if (m.TypeFlags & BitGuardian) {
            LeggiCodiceGuardian(EstraiSezione(m.Syntax, "GUARDIAN"), m.MediaCode);
            if (FlagGuardian & GuardianEreditaTrucchi) ereditaTrucchi = true;
            if (FlagGuardian & GuardianEreditaSalvataggio) ereditaSalvataggio = true;
        }
    }
    CambiaTabulatoreLog(-1);
    if (!antiTrigger) {
        StampaLog("No antitriggers in current mcf file: disable check for antitriggers");
        ImpostaBit(ModificheAvvio, NoAntiTrigger);
    } else {
        StampaLog("Found medias with antitriggers");
    }
    if (!ereditaTrucchi) {
        StampaLog("No guardian media to inherit cheats: disable check for inherit cheats");
        ImpostaBit(StatoGioco, NoInheritCheat);
    } else {
        StampaLog("Found guardian media with inherit cheats");
    }
    if (!ereditaSalvataggio) {
        StampaLog("No guardian media with inherit save game operation: disable check for inherit save the game");
        ImpostaBit(StatoGioco, NoInheritSave);
    } else {
        StampaLog("Found guardian media with inherit saving game");
    }
}

// Every file of the store folder but those a run must keep.
void SvuotaStore() {
    for (const std::string& f : ElencoFileUtf8(Utf8DaAnsi(PercorsoStore), "*")) {
        if (DaConservare(NomeFileDaPercorso(f))) continue;
        CancellaFileUtf8(f);
    }
}

bool EstraiPacchetto() {
    const std::string pacchetto = NelGioco("media.mpf");
    if (!EsisteFile(pacchetto)) return true;
    StampaLog("Found media packet file in: " + pacchetto);
    StampaLog("First execution: remove all files from trle\\store folder");
    ImpostaBit(StatoGioco, PrimaEsecuzione);
    SvuotaStore();
    StampaLog("Extract all files in folder: " + PercorsoStore);
    MediaPacketHeader header;
    if (!GestionePacchettoMedia(Utf8DaAnsi(pacchetto), EstraiTutto, "", Utf8DaAnsi(PercorsoStore), header, false)) {
        StampaLog("ERROR exstracting files: " + UltimoErrore, true);
        return false;
    }
    CancellaFile(pacchetto);
    StampaLog("Extracted files list: \r\n" + LeggiFileIntero(NelloStore("extract.txt")));
    CreaRemoveLevelBat();
    return true;
}

bool VerificaWav() {
    StampaLog("Check for presence of wav files used by media triggers");
    bool ok = true;
    PerTriggerCd([&](const MediaTrigger& m) {
        if (!ok) return;
        const std::string wav = NomeWavTraccia(m.TriggerCd);
        if (!EsisteFile(wav)) {
            StampaLog("ERROR: missing file: " + wav, true);
            ok = false;
        }
    });
    if (!ok) return false;
    const std::string titolo = NomeWavTraccia(CercaCdTitolo());
    if (!EsisteFile(titolo)) {
        StampaLog("ERROR: missing CD for title: " + titolo, true);
        return false;
    }
    return true;
}

void SpostaFileAusiliari() {
    for (const char* nome : FileAusiliari) {
        const std::string sorgente = NelGioco(nome);
        if (!EsisteFile(sorgente)) continue;
        const std::string destinazione = NelloStore(nome);
        StampaLog(std::string("WARNING: found file ") + nome + " in bad position. Move it in store folder: " +
                  destinazione);
        // Deleted only once the store holds it: the logger and the
        // enumerator are started from there.
        if (CopiaFile(sorgente, destinazione)) CancellaFile(sorgente);
    }
}

bool VerificaScriptDat() {
    if (!HaOpzione(OpzioniGioco, OpzioneHeader::VerifyScriptDat)) return true;
    StampaLog("Verify blinding script.dat file");
    bool errore = false;
    const int32_t somma = ComputeCheckSumScriptDat(errore);
    if (errore || somma != HeaderMcf.ScriptDatChecksum) {
        StampaLog("ERROR: violated blinding script.dat. Script.dat file has been changed. If you are the author of "
                  "current level, remember to update your media.mcf file everytime you change script.dat file. Use "
                  "menu command [Preferences->Media module settings] and then click on [ok] button to update "
                  "checksum value for script.dat blinding",
                  true);
        return false;
    }
    return true;
}

bool ConvertiLoadJpg() {
    const std::string jpg = NelGioco("load.jpg");
    if (!EsisteFile(jpg)) return true;
    StampaLog("Found 'Load.jpg' file: convert it in .bmp format");
    const std::string backup = NelGioco("MEDIA_BACKUP\\load.bmp");
    StampaLog("Backup of old 'load.bmp' in: " + backup);
    CreaCartella(NelGioco("MEDIA_BACKUP"));
    if (EsisteFile(NelGioco("load.bmp"))) CopiaFile(NelGioco("load.bmp"), backup);
    if (!CaricaImmagineFile(jpg, NelGioco("load.bmp"))) return false;
    CancellaFile(jpg);
    StampaLog("Converted 'load.jpg' in 'load.bmp'. Removed 'load.jpg'");
    return true;
}

bool VerificaFilmati() {
    if (!HaBit(StatoGioco, PrimaEsecuzione)) return true;
    StampaLog("Verify for presence of movies");
    if (!QualcheRecord(BitMovie)) return true;
    StampaLog("There are one or more movie medias in current. Checking for movie capability of media player ocx "
              "installed on this computer");
    bool temporaneo = false;
    const std::string codec = EstraiFileMedia("Codec_MP_6_4_all.exe", temporaneo, false, true);
    if (!codec.empty()) {
        StampaLog("Found codec to install: " + codec);
        Messaggio("Now you should install video codec to show correctly the movies present in current level", StileOk);
        EseguiEAttendi(codec, "", false);
        ImpostaBit(StatoGioco, CodecGiaRichiesto);
        if (temporaneo) CancellaFile(codec);
    }
    if (!VerificaMediaPlayer()) {
        StampaLog("On current computer missing one or more component necessary to play movies", true);
        return false;
    }
    StampaLog("Movies capabilities ok:\r\nStart analyse for codec of movies used in current level");
    return VerificaCodecFilmati();
}

bool ImpostazioniGioco(bool daCrash, const ImpostazioniTomb& vecchie) {
    StampaLog("ReadTombSettings()");
    if (!ReadTombSettings()) {
        StampaLog("ERROR reading/writing level editor settings from/in windows registry", true);
        return false;
    }
    if (daCrash) {
        StampaLog("WARNING: Previous crash: using old tomb settings from file 'Old_Settings.trg'");
        ImpostazioniTombCorrenti = vecchie;
    }
    ImpostazioniTombSalvate = ImpostazioniTombCorrenti;
    SalvaOldSettings(ImpostazioniTombSalvate);
    if (ImpostazioniTombCorrenti.ControlMethod == 1) InitJoystick();
    return true;
}

bool ListaVideo() {
    StampaLog("Enum Resolution Video Mode");
    if (!EnumerateVideoMode()) return false;
    if (LogAbilitato) {
        StampaLog(LogVideoList(ListaModiVideo, NumModiVideo));
        StampaLog("Tomb Raider settings:");
        StampaLog(LogImpostazioniVideo(ImpostazioniTombSalvate));
    }
    return true;
}

bool PreparaInvioTasti() {
    bool driver = false;
    if (Windows98Me())
        driver = !IsModoFinestra() || QualcheRecord(BitCheck | BitEquipment | BitSplash | BitCommand);
    if (driver) {
        StampaLog("Detected Window98/Me: Verify for installation of Vantrek.vxd");
        const std::string percorso = CartellaSpeciale(37) + "\\Vantrek.vxd";
        if (EsisteFile(percorso)) {
            StampaLog("Vantrek.vxd is already installed");
        } else {
            bool temporaneo = false;
            const std::string estratto = EstraiFileMedia("Vantrek.vxd", temporaneo, false, true);
            const bool copiato = !estratto.empty() && CopiaFile(estratto, percorso) && EsisteFile(percorso);
            if (temporaneo) CancellaFile(estratto);
            if (!copiato) {
                StampaLog("ERROR missing Vantrek.vxd. This file it's necessary", true);
                return false;
            }
            StampaLog("Installed Vantrek.vxd");
        }
    }
    if (!SistemaNT && !driver) return true;
    StampaLog("InitSendKeys()");
    if (!InitSendKeys()) {
        StampaLog("ERROR in InitSendKeys", true);
        return false;
    }
    ImpostaBit(ModificheAvvio, DriverTastiCaricato);
    return true;
}

bool InstallaTonvell() {
    if (IsVersione14()) return true;
    StampaLog("Verify installation of Tonvell.dll");
    const std::string percorso = CartellaSpeciale(37) + "\\Tonvell.dll";
    if (EsisteFile(percorso)) {
        StampaLog("Tonvell.dll installed in: " + percorso);
        return true;
    }
    StampaLog("Missing Tonvell.dll: install it now");
    bool temporaneo = false;
    const std::string estratto = EstraiFileMedia("Tonvell.dll", temporaneo, false, true);
    if (estratto.empty()) {
        StampaLog("ERROR missing Tonvell.dll. This file it's necessary", true);
        return false;
    }
    const bool copiato = CopiaFile(estratto, percorso) && EsisteFile(percorso);
    if (temporaneo) CancellaFile(estratto);
    // A system folder the player may not write: the run goes on, only the
    // beeps are lost.
    if (!copiato) {
        StampaLog("WARNING: failed copying Tonvell.dll in: " + percorso + " (beeps are silent without it)");
        return true;
    }
    StampaLog("Installed Tonvell.dll in: " + percorso);
    return true;
}

void DesktopNascosto() {
    if (Windows98Me() && !IsModoFinestra() && QualcheRecord(BitCheck | BitEquipment)) VerificaScreenSaver();
    StampaLog("Disable window animations");
    DisabilitaAnimazioni();
    ImpostaBit(ModificheAvvio, AnimazioniDisattivate);
    ElaboraEventi();
    StampaLog("Hide Task Bar");
    NascondiTaskBar();
    ImpostaBit(ModificheAvvio, TaskBarNascosta);
    ElaboraEventi();
    StampaLog("Show Blank Screen (back-cover)");
    MostraBackCover();
    ImpostaBit(ModificheAvvio, SchermoNeroMostrato);
    ElaboraEventi();
}

void ModoGioco(int32_t& larghezza, int32_t& altezza) {
    RequiredResolution(TombSchermoX, TombSchermoY);
    larghezza = TombSchermoX;
    altezza = TombSchermoY;
    int32_t bits = 0;
    const int32_t indice = ScegliModoGioco(larghezza, altezza, bits);
    StampaLog("Video mode available in tomb raider is: " + std::to_string(larghezza) + " x " +
              std::to_string(altezza) + "  Bits=" + std::to_string(bits) + "  (VMode=" + std::to_string(indice) + ")");
    if (indice >= 0) ImpostazioniTombCorrenti.VMode = static_cast<uint8_t>(indice);
}

// The level's own tomb4.exe, shipped in its packet, takes the place of the
// game folder's. True when it did.
bool EseguibileDelLivello() {
    const std::string delLivello = NelloStore("tomb4.exe");
    if (!EsisteFile(delLivello)) return false;
    StampaLog("Found tomb4.exe in level files: replace program");
    const std::string gioco = NelGioco("tomb4.exe");
    const std::string backup = NelGioco("backup_tomb4.exe");
    // A backup already there is the original of an earlier install: keep it.
    if (!EsisteFile(backup)) RinominaFile(gioco, backup);
    if (!CopiaFile(delLivello, gioco)) {
        StampaLog("ERROR: copying " + delLivello + " in " + gioco, true);
        if (!EsisteFile(gioco) && EsisteFile(backup)) CopiaFile(backup, gioco);
        return false;
    }
    CancellaFile(delLivello);
    return true;
}

// The signature of the executable as it was before any patch: the one that
// user patches check. It is taken once and kept, since later runs find the
// executable already patched; only a new executable of the level is signed
// again.
std::string VersioneEseguibile(bool eseguibileNuovo) {
    const std::string file = NelloStore("TombVersion.txt");
    std::string firma;
    if (!eseguibileNuovo && EsisteFile(file)) {
        firma = LeggiFileIntero(file);
        while (!firma.empty() && (firma.back() == '\n' || firma.back() == '\r')) firma.pop_back();
    }
    // An empty file keeps nothing: signed again. A file that could not be
    // signed is not kept either: the next run tries again.
    if (firma.empty()) {
        firma = FirmaEseguibile(NelGioco("tomb4.exe"));
        if (firma != "ERROR") RiscriviConBackup(file, firma + "\r\n");
    }
    StampaLog("Tomb_Version: \"" + firma + "\"");
    return firma;
}

void Patch(const std::string& firma) {
    if (HaOpzione(OpzioniGioco, OpzioneHeader::TombExePatched)) {
        StampaLog("Tomb4.exe had already all patches");
        ImpostaBit(StatoGioco, PatchAltEnterApplicata);
        ImpostaBit(StatoGioco, PatchLoadingBugApplicata);
    } else {
        PatchTomb4(firma);
    }
}

void RisoluzioneDesktop(int32_t larghezza, int32_t altezza) {
    const std::string w = std::to_string(larghezza);
    const std::string h = std::to_string(altezza);
    if (!IsModoFinestra()) {
        SchermoX = larghezza;
        SchermoY = altezza;
        return;
    }
    if (SchermoOrigX == larghezza && SchermoOrigY == altezza) {
        StampaLog("It's not necessary change Windows resolution: tomb video requires same resolution of current screen");
        return;
    }
    StampaLog("Shared mode: it's necessary change windows resolution to: " + w + " x " + h);
    if (!CambiaModoVideo(larghezza, altezza, 32)) {
        StampaLog("WARNING: error switching Windows resolution to " + w + "x" + h + "32 bits");
        if (!CambiaModoVideo(larghezza, altezza, 16)) {
            StampaLog("WARNING: error switching Windows resolution to " + w + "x" + h + "16 bits");
            StampaLog("ERROR: it's not possible set windows resolution to " + w + " x " + h, true);
            return;
        }
    }
    LeggiModoVideo();
    StampaLog("Set Windows screen resolution to " + std::to_string(ModoVideoCorrente.dmPelsWidth) + "x" +
              std::to_string(ModoVideoCorrente.dmPelsHeight) + "x" + std::to_string(ModoVideoCorrente.dmBitsPerPel) +
              " bits ");
    SchermoX = larghezza;
    SchermoY = altezza;
    ImpostaBit(ModificheAvvio, RisoluzioneCambiata);
}

bool ScriviRegistro() {
    StampaLog("Change Tomb Raider settings in windows registry");
    ImpostazioniTomb& imp = ImpostazioniTombCorrenti;
    if (HaOpzione(OpzioniGioco, OpzioneHeader::DisableBumpMapping)) {
        StampaLog("Disable Bump Mapping");
        imp.BumpMap = 0;
    }
    if (HaOpzione(OpzioniGioco, OpzioneHeader::DisableVolumetricEffects)) {
        StampaLog("Disable Volumetric Effects");
        imp.Volumetric = 0;
    }
    if (HaOpzione(OpzioniGioco, OpzioneHeader::EnableBumpMapping)) {
        StampaLog("Enable Bump Mapping");
        imp.BumpMap = 1;
    }
    if (HaOpzione(OpzioniGioco, OpzioneHeader::EnableVolumetricEffects)) {
        StampaLog("Enable Volumetric Effects");
        imp.Volumetric = 1;
    }
    if (IsModoFinestra()) {
        imp.Window = 1;
        imp.WindowX = 0;
        imp.WindowY = 0;
    } else {
        imp.Window = 0;
    }
    if (LogAbilitato) {
        StampaLog("New settings:");
        StampaLog(LogImpostazioniVideo(imp));
    }
    // Set before the first write: a write cut short leaves the registry
    // unlike the saved copy all the same, and the end must give it back.
    ImpostaBit(ModificheAvvio, ImpostazioniCambiate);
    if (!ScriviSettingsTomb(imp, true)) {
        StampaLog("ERROR: writing tomb raider settings in windows registry", true);
        return false;
    }
    return true;
}

void CoverEMouse() {
    if (IsModoFinestra()) {
        ImpostaBit(ModificheAvvio, CoverMostrata);
        RettCover = RettangoloDim{0, 0, SchermoX, SchermoY};
        StampaLog("Set default size for cover screen: " + std::to_string(SchermoX) + " x " + std::to_string(SchermoY));
        StampaLog("Show Cover Screen (Front-Cover)");
        MostraCoverTopMost();
        ElaboraEventi();
        SpostaMouseNascosto();
    } else {
        NascondiMouse();
    }
}

void LogSchermo() {
    if (!LogAbilitato) return;
    StampaLog("Screen settings:");
    CambiaTabulatoreLog(1);
    StampaLog("VB_ScreenX=" + std::to_string(GetSystemMetrics(SM_CXSCREEN)));
    StampaLog("VB_ScreenY=" + std::to_string(GetSystemMetrics(SM_CYSCREEN)));
    StampaLog("OldScreenX=" + std::to_string(SchermoOrigX));
    StampaLog("OldScreenY=" + std::to_string(SchermoOrigY));
    StampaLog("ScreenX=" + std::to_string(SchermoX));
    StampaLog("ScreenY=" + std::to_string(SchermoY));
    StampaLog("TombScreenX=" + std::to_string(TombSchermoX));
    StampaLog("TombScreenY=" + std::to_string(TombSchermoY));
    StampaLog(std::string("Shared mode = ") + (IsModoFinestra() ? "True" : "False"));
    CambiaTabulatoreLog(-1);
}

bool InitMediaMcfCorpo() {
    if (HaOpzione(OpzioniGioco, OpzioneHeader::ForceLogFile)) {
        LogAbilitato = true;
        LogFileRichiesto = true;
        StampaLog("Force creation of log file (found ForceLogFile option in media header)");
    }

    if (!AnalizzaSavegameTrle()) return false;
    if (!Trim(CartellaTrle).empty() && !SavegameInAttesaDiRipristino()) CopiaSavegameInOld();
    AggiornaCacheRichiesto = true;
    AggiornaCacheSavegame(0);
    SegnaSavegameIniziali();

    StampaLog("Search for previous variable values");
    bool errore = false;
    VarA = LeggiVariabile(IdVariabileA, errore, false, true);
    VarB = LeggiVariabile(IdVariabileB, errore, false, true);
    VarC = LeggiVariabile(IdVariabileC, errore, false, true);
    VarD = LeggiVariabile(IdVariabileD, errore, false, true);
    VarLastInput = LeggiVariabile(IdUltimoInput, errore, false, true);
    ImpostaBit(ModificheAvvio, FaseSpecialMedia);

    RaccogliMediaSpeciali();

    // The settings of before a crash are read before a first execution
    // empties the store folder they lie in.
    ImpostazioniTomb vecchie;
    const bool daCrash = LeggiOldSettings(vecchie);
    // From here a start that stops gives these back to the registry.
    if (daCrash) ImpostazioniTombSalvate = vecchie;

    if (!EstraiPacchetto()) return false;
    if (!VerificaWav()) return false;
    SpostaFileAusiliari();
    if (!VerificaScriptDat()) return false;
    CostruisciTabelleCd();
    if (!ConvertiLoadJpg()) return false;
    if (!VerificaFilmati()) return false;
    if (!ImpostazioniGioco(daCrash, vecchie)) return false;
    if (!ListaVideo()) return false;
    if (!PreparaInvioTasti()) return false;
    if (!InstallaTonvell()) return false;

    StampaLog("Initialize random sequence");
    InizializzaRandom();

    DesktopNascosto();

    int32_t larghezza = 0;
    int32_t altezza = 0;
    ModoGioco(larghezza, altezza);

    AvviaScrivane();

    const bool eseguibileNuovo = EseguibileDelLivello();
    Patch(VersioneEseguibile(eseguibileNuovo));

    RisoluzioneDesktop(larghezza, altezza);
    if (!ScriviRegistro()) return false;
    CoverEMouse();
    LogSchermo();
    return true;
}

}  // namespace

int32_t ScegliModoGioco(int32_t& larghezza, int32_t& altezza, int32_t& bits) {
    if (larghezza < 640 || altezza < 480) {
        larghezza = 640;
        altezza = 480;
    }
    for (;;) {
        for (int32_t b : {32, 16}) {
            const int32_t indice = VerificaRisoluzione(larghezza, altezza, b);
            if (indice >= 0) {
                bits = b;
                return indice;
            }
        }
        if (larghezza >= 1024) {
            larghezza = 800;
            altezza = 600;
        } else if (larghezza > 640) {
            larghezza = 640;
            altezza = 480;
        } else {
            break;
        }
    }
    const int32_t ultimo = std::min(NumModiVideo, static_cast<int32_t>(ListaModiVideo.size())) - 1;
    if (ultimo < 0) {
        bits = 0;
        return -1;
    }
    const VideoMode& m = ListaModiVideo[static_cast<size_t>(ultimo)];
    larghezza = m.Width;
    altezza = m.Height;
    bits = m.Bits;
    return ultimo;
}

void CostruisciTabelleCd() {
    CdTitoli = CercaCdTitolo();
    if (CdTitoli == -1)
        StampaLog("WARNING: failed scanning for audio cd title.tr4 in script.dat");
    else
        StampaLog("Title.tr4 use CD audio track = " + std::to_string(CdTitoli));
    NumCdGuardian = 0;
    ListaCdGuardian.clear();
    NumCdSuoni = 0;
    ListaCdSuoni.clear();

    StampaLog("Find CD used by Guardian Media for inherit saving operation");
    CambiaTabulatoreLog(1);
    for (const MediaTrigger& m : ListaMedia) {
        if (!(m.TypeFlags & BitGuardian) || m.TriggerCd == TriggerCdNessuno) continue;
        LeggiCodiceGuardian(EstraiSezione(m.Syntax, "GUARDIAN"), m.MediaCode);
        if ((FlagGuardian & GuardianEreditaSalvataggio) && (FlagGuardian & GuardianControllaCd)) {
            StampaLog("Found CD = " + std::to_string(m.TriggerCd));
            AggiungiTastoPremuto(m.TriggerCd, ListaCdGuardian, NumCdGuardian, true);
        }
    }
    CambiaTabulatoreLog(-1);

    StampaLog("Find CD tracks used by Alert media");
    CambiaTabulatoreLog(1);
    PerTriggerCd([](const MediaTrigger& m) {
        if (!(m.TypeFlags & BitAlert) || !(m.Options & WhileCdSounds)) return;
        StampaLog("Found Media Code=" + std::to_string(m.MediaCode) + " CD=" + std::to_string(m.TriggerCd) +
                  "  for level=" + std::to_string(m.Level));
        ListaCdAlert.push_back({m.TriggerCd, m.Level});
        NumCdAlert = static_cast<int32_t>(ListaCdAlert.size());
    });
    CambiaTabulatoreLog(-1);

    StampaLog("Find common cd triggers (no action required, no special activation)");
    CambiaTabulatoreLog(1);
    PerTriggerCd([](const MediaTrigger& m) {
        if (m.Options & (RequiresAction | WhileCdSounds)) return;
        const CdLivello coppia{m.TriggerCd, m.Level};
        for (int32_t i = 0; i < NumCdTrigger; ++i)
            if (ListaCdTrigger[static_cast<size_t>(i)] == coppia) return;
        ListaCdTrigger.push_back(coppia);
        NumCdTrigger = static_cast<int32_t>(ListaCdTrigger.size());
        StampaLog("Found media code=" + std::to_string(m.MediaCode) + "  CD=" + std::to_string(m.TriggerCd) +
                  "  Level=" + std::to_string(m.Level));
    });
    CambiaTabulatoreLog(-1);

    StampaLog("Find all cd sounds used by media triggers");
    PerTriggerCd([](const MediaTrigger& m) { AggiungiTastoPremuto(m.TriggerCd, ListaCdSuoni, NumCdSuoni, true); });
    AggiungiTastoPremuto(CdTitoli, ListaCdSuoni, NumCdSuoni, true);
    for (int32_t cd : {97, 102, 105, 106, 107, 108, 109, 110, 111})
        if (EsisteFile(NomeWavTraccia(cd))) AggiungiTastoPremuto(cd, ListaCdSuoni, NumCdSuoni, true);
    for (int32_t i = 0; i < NumCdSuoni; ++i)
        for (int32_t j = i + 1; j < NumCdSuoni; ++j)
            if (ListaCdSuoni[static_cast<size_t>(j)] > ListaCdSuoni[static_cast<size_t>(i)])
                std::swap(ListaCdSuoni[static_cast<size_t>(i)], ListaCdSuoni[static_cast<size_t>(j)]);
    if (LogAbilitato) {
        std::string riga = "Cd list: ";
        for (int32_t i = 0; i < NumCdSuoni; ++i)
            riga += (i ? ", " : "") + std::to_string(ListaCdSuoni[static_cast<size_t>(i)]);
        StampaLog(riga);
    }
}

bool InitMediaMcf() {
    const int32_t tabulatore = LivelloTab;
    bool esito = false;
    try {
        esito = InitMediaMcfCorpo();
    } catch (const std::exception& e) {
        StampaLog(std::string("ERROR in InitMediaMcf(): ") + e.what(), true);
        esito = false;
    }
    CambiaTabulatoreLog(tabulatore - LivelloTab);
    return esito;
}

void InizializzaRandom() {
    const uint32_t n = ClockTick() % 16 + 4;
    for (uint32_t i = 0; i <= n; ++i) {
        srand(static_cast<unsigned>(GetTickCount()));
        static_cast<void>(rand());
    }
}
