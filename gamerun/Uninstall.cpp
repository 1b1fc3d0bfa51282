#include "gamerun/Uninstall.h"

#include <cstdio>

#include "core/FileUtils.h"
#include "core/MediaConfig.h"
#include "core/MediaLog.h"
#include "core/MediaSyntax.h"
#include "core/MediaTrigger.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"
#include "core/Utf8Text.h"
#include "gamerun/Principale.h"
#include "runservices/RunState.h"
#include "gamerun/Startup.h"
#include "savegames/SavegameFile.h"

int32_t NumFileInstallati = 0;
std::vector<std::string> FileInstallati;
std::string CartellaBackupCorrente;
std::vector<std::string> PercorsiSaltati;

namespace {

const char* const A_Capo = "\r\n";
constexpr int32_t CartellaDesktop = 16;

std::string Trle() { return Trim(CartellaTrle); }

std::string Lungo(const std::string& percorso) {
    std::string p = percorso;
    std::string lungo = PercorsoLungo(p);
    if (lungo.empty()) return percorso;
    while (lungo.size() > 3 && lungo.back() == '\\') lungo.pop_back();
    return lungo;
}

std::string FormaNT(const std::string& percorso) { return SistemaNT ? PercorsoCorto(percorso) : percorso; }

void RimuoviCartellaLog(const std::string& cartella) {
    StampaLog("Remove folder: " + cartella);
    RimuoviCartella(cartella);
}

bool InizioSenzaCaso(const std::string& testo, const std::string& inizio) {
    return testo.size() >= inizio.size() && UgualeSenzaCaso(testo.substr(0, inizio.size()), inizio);
}

// An ordinary line here, one error line for them all at the end: a hostile
// Extract.txt must not raise a box per file.
void Salta(const std::string& percorso) {
    for (const std::string& p : PercorsiSaltati)
        if (UgualeSenzaCaso(p, percorso)) return;
    PercorsiSaltati.push_back(percorso);
    StampaLog("WARNING: skipped path outside the game folder: " + percorso);
}

// Case-insensitive count of the #FILE tags, the most entries a text can fill.
int32_t ContaTagFile(const std::string& testo) {
    const std::string maiuscolo = MaiuscoloAscii(testo);
    int32_t n = 0;
    for (size_t p = maiuscolo.find("#FILE"); p != std::string::npos; p = maiuscolo.find("#FILE", p + 1)) ++n;
    return n;
}

}  // namespace

bool DentroCartellaGioco(const std::string& percorso) {
    if (percorso.find("/") != std::string::npos) return false;
    const std::string p = "\\" + percorso + "\\";
    if (p.find("\\..\\") != std::string::npos || p.find("\\.\\") != std::string::npos) return false;
    for (const std::string& cartella : {Trle(), Lungo(Trle()), PercorsoCorto(Trle())}) {
        if (cartella.empty()) continue;
        if (percorso.size() > cartella.size() + 1 && InizioSenzaCaso(percorso, cartella + "\\")) return true;
    }
    return false;
}

bool LeggiExtractTxt(const std::string& testo) {
    std::string resto = testo;
    const std::string totale = EstraiTag(resto, "#TOT_FILES#=");
    int32_t n = 0;
    if (!IsNumerico(totale) || !ValoreIntero32(totale, n) || n < 0 ||
        static_cast<size_t>(n) > testo.size()) {
        StampaLog("ERROR: missing #Tot_files# numeric field in extract.txt file", true);
        return false;
    }
    const int32_t tag = ContaTagFile(resto);
    if (n > tag) {
        if (LogAbilitato)
            StampaLog("WARNING: #TOT_FILES# is " + std::to_string(n) + " but extract.txt has " + std::to_string(tag) +
                          " #FILE fields",
                      true);
        n = tag;
    }
    NumFileInstallati = n;
    FileInstallati.assign(static_cast<size_t>(n), "");
    for (int32_t i = 1; i <= n; ++i) {
        const std::string tag = "#FILE" + std::to_string(i) + "#=";
        const std::string valore = EstraiTag(resto, tag);
        if (valore == "~" || valore.empty()) {
            if (LogAbilitato) StampaLog("WARNING: missing " + tag + " field in extract.txt file", true);
            continue;
        }
        FileInstallati[static_cast<size_t>(i - 1)] = Trim(valore);
    }
    return true;
}

bool RipristinaBackup(const std::string& percorsoExtract, const std::string& cartellaBackup) {
    if (!EsisteCartella(cartellaBackup)) {
        StampaLog("ERROR: missing backup folder: " + cartellaBackup, true);
        return false;
    }
    if (!LeggiExtractTxt(LeggiFileIntero(percorsoExtract))) {
        FormPrincipale().Unload();
        return false;
    }
    CartellaBackupCorrente = cartellaBackup;
    for (const std::string& f : FileInstallati) {
        if (f.empty() || !EsisteFile(f)) continue;
        if (!DentroCartellaGioco(f)) {
            Salta(f);
            continue;
        }
        StampaLog("Delete file: " + f);
        CancellaFile(f);
    }
    int32_t conteggio = 0;
    for (const std::string& salvato : ElencoFile(cartellaBackup, "*", conteggio)) {
        const std::string nome = NomeFileDaPercorso(salvato);
        std::string destinazione;
        for (const std::string& f : FileInstallati)
            if (!f.empty() && UgualeSenzaCaso(NomeFileDaPercorso(f), nome)) {
                destinazione = f;
                break;
            }
        if (destinazione.empty()) {
            if (UgualeSenzaCaso(nome, "extract.txt") || UgualeSenzaCaso(nome, "Thumbs.db")) continue;
            destinazione = NellaCartella(Trle(), nome);
        }
        if (!DentroCartellaGioco(destinazione)) {
            Salta(destinazione);
            continue;
        }
        StampaLog("Restore file from backup folder to: " + destinazione);
        CopiaFile(salvato, destinazione);
    }
    StampaLog("Remove backup folder: " + cartellaBackup);
    if (!RimuoviCartella(cartellaBackup))
        StampaLog("ERROR trying to remove folder: " + cartellaBackup + A_Capo + "Error mexage: the folder could not be removed");
    return true;
}

void RimuoviLinkDesktop(const std::string& percorsoEseguibile) {
    const std::string senzaDisco = percorsoEseguibile.size() > 2 ? percorsoEseguibile.substr(2) : "";
    const std::string largo = ConvertiInWide(senzaDisco);
    StampaLog("Remove desktop shortcuts to link: " + senzaDisco);
    if (senzaDisco.empty()) return;
    const std::string desktop = CartellaSpeciale(CartellaDesktop);
    if (desktop.empty()) return;
    int32_t conteggio = 0;
    for (const std::string& link : ElencoFile(desktop, "*.lnk", conteggio)) {
        std::FILE* f = std::fopen(link.c_str(), "rb");
        if (!f) continue;
        std::string dati(5000, '\0');
        const size_t letti = std::fread(dati.data(), 1, dati.size(), f);
        const bool piccolo = letti < 5000 && std::fgetc(f) == EOF;
        std::fclose(f);
        if (!piccolo) continue;
        dati.resize(letti);
        const std::string maiuscolo = MaiuscoloAscii(dati);
        if (maiuscolo.find(MaiuscoloAscii(senzaDisco)) == std::string::npos &&
            maiuscolo.find(MaiuscoloAscii(largo)) == std::string::npos)
            continue;
        StampaLog("Found and removed old desktop link: " + NomeSenzaEstensione(link));
        CancellaFile(link);
    }
}

void CreaRemoveLevelBat() {
    const std::string file = Trle() + "\\Remove_Level.bat";
    StampaLog("Create remove_level.bat file in:" + file);
    ScriviFileTesto(file, std::string("@echo off") + A_Capo + "echo Removing level files in progress" + A_Capo +
                              "start /w Ludovane.exe /V /U" + A_Capo + "del Ludovane.exe" + A_Capo +
                              "echo Level has been removed. All previous original files have been restored" + A_Capo +
                              "echo Now you can close this window" + A_Capo + "exit");
}

void DisinstallaLivello() {
    PercorsiSaltati.clear();
    const std::string programma = Lungo(Trle());
    const std::string extract = PercorsoStore + "\\Extract.txt";
    if (EsisteFile(extract)) {
        if (!RipristinaBackup(extract, FormaNT(programma + "\\MEDIA_BACKUP"))) {
            FormPrincipale().Unload();
            return;
        }
    } else {
        StampaLog("Missing 'extract.txt' file in folder: " + PercorsoStore);
        if (!EsisteCartella(programma + "\\data")) {
            StampaLog("Uninstall must be called when it is in TRLE folder", true);
            FormPrincipale().Unload();
            return;
        }
    }
    const std::string dravunel = programma + "\\LEVEL_BACKUP";
    if (EsisteFile(dravunel + "\\Extract.txt")) {
        StampaLog("Restore backup created by Dravunel");
        RipristinaBackup(dravunel + "\\Extract.txt", FormaNT(dravunel));
    }
    CancellaFiles(Trle(), "*.mcf");
    for (const std::string& nome : FileInstaller) {
        const std::string p = NellaCartella(Trle(), nome);
        if (EsisteFile(p)) {
            CancellaFile(p);
            StampaLog("Delete file: " + p);
        }
    }
    CancellaSavegameCartella(Trle());
    StampaLog("Removing old (previous) desktop link to Ludovane.exe program");
    CambiaTabulatoreLog(1);
    RimuoviLinkDesktop(programma + "\\Ludovane.exe");
    CambiaTabulatoreLog(-1);
    for (const char* cartella : {"old_savegames", "Captured_Images"})
        if (EsisteCartella(NellaCartella(Trle(), cartella))) RimuoviCartellaLog(NellaCartella(Trle(), cartella));
    if (EsisteFile(Trle() + "\\backup_tomb4.exe")) {
        StampaLog("Found previous backup of tomb4.exe: restore original tomb4.exe");
        CancellaFile(Trle() + "\\tomb4.exe");
        std::rename((Trle() + "\\backup_tomb4.exe").c_str(), (Trle() + "\\tomb4.exe").c_str());
    }
    if (!PercorsiSaltati.empty())
        StampaLog("ERROR: uninstall skipped " + std::to_string(PercorsiSaltati.size()) +
                      " path(s) outside the game folder",
                  true);
    ScriviBufferLog(true);
    CopiaFile(PercorsoFileLog, Trle() + "\\Unsinstall_log.txt");
    RimuoviCartellaLog(PercorsoStore);
    // The log file went with its folder: what is left or follows has
    // nowhere to go.
    BufferLog.clear();
    LogAbilitato = false;
    FormPrincipale().Unload();
}

std::string RigaListaMedia(int32_t indice) {
    if (indice < 0 || static_cast<size_t>(indice) >= ListaMedia.size()) return "";
    const MediaTrigger& m = ListaMedia[static_cast<size_t>(indice)];
    std::string tipo = NomeTipoMedia(TipoMediaDaFlags(m.TypeFlags));
    if (tipo.size() < 22) tipo.resize(22, ' ');
    char numeri[64];
    std::snprintf(numeri, sizeof numeri, " %s %3d   ", FormatoZeri(m.TriggerCd, 3).c_str(), m.MediaCode);
    std::string stato = (m.Options & Disabled) ? "Disabled" : "Enabled";
    stato.resize(9, ' ');
    std::string riga = tipo + numeri + stato + " ";
    // The list is an ANSI text file.
    for (const std::string* nome : {&m.MediaFile, &m.SoundFile}) {
        if (nome->empty()) continue;
        riga += '"';
        riga += AnsiDaUtf8(*nome);
        riga += "\"  ";
    }
    return riga;
}

std::string TestoListaMedia(const std::string& nomeMcf) {
    const std::string trattini(65, '-');
    std::string testo = "Content list of Media Configuration File: " + nomeMcf + A_Capo + A_Capo +
                        "Media-Type             CD   Code Status    Media-Files" + A_Capo + trattini + A_Capo;
    for (int32_t i = 0; i < HeaderMcf.TriggerCount && static_cast<size_t>(i) < ListaMedia.size(); ++i)
        testo += RigaListaMedia(i) + A_Capo;
    return testo + trattini;
}

void MostraListaMedia() {
    int32_t conteggio = 0;
    const std::vector<std::string> trovati = ElencoFile(Trle(), "*.mcf", conteggio);
    if (trovati.empty()) {
        Messaggio("Not found any Media Configuration File (.mcf) in trle folder", StileErroreCritico);
        FormPrincipale().Unload();
        return;
    }
    std::string nome = NomeFileDaPercorso(trovati[0]);
    // Saving a configuration leaves backup_media.mcf beside it: the level's
    // own media.mcf is listed whatever the folder's order.
    if (EsisteFile(Trle() + "\\media.mcf")) nome = "media.mcf";
    if (!CaricaMediaMcf(NellaCartella(Trle(), nome))) {
        HeaderMcf.TriggerCount = 0;
        ListaMedia.clear();
    }
    const std::string file = Trle() + "\\_temp_media_list.txt";
    ScriviFileTesto(file, TestoListaMedia(nome));
    ApriDocumento(file, "", false, "");
    FormPrincipale().Unload();
}
