#include "tests/support/GameFolder.h"

#include <windows.h>

#include <cstdio>

#include "displaymodes/VideoListFile.h"
#include "tests/support/TestFolders.h"

namespace {

void Metti16(std::string& s, size_t at, int16_t v) {
    s[at] = static_cast<char>(v & 0xFF);
    s[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

std::string Le16(int16_t v) {
    std::string s(2, '\0');
    Metti16(s, 0, v);
    return s;
}

std::string Le32(uint32_t v) {
    std::string s;
    for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return s;
}

bool Copia(const std::string& da, const std::string& a, std::string& errore) {
    if (CopyFileA(da.c_str(), a.c_str(), FALSE)) return true;
    errore = "cannot copy " + da + " to " + a;
    return false;
}

}  // namespace

std::string ScriptDatAMano(const std::vector<std::string>& percorsi, uint8_t cdTitolo) {
    constexpr int16_t Blocco = 40;
    const auto n = static_cast<int16_t>(percorsi.size());
    std::string testi;
    std::string offsetPercorsi;
    for (const std::string& p : percorsi) {
        offsetPercorsi += Le16(static_cast<int16_t>(testi.size()));
        testi += p;
        testi.push_back('\0');
    }
    std::string s(56, '\0');
    s[9] = static_cast<char>(n);  // one level per path
    Metti16(s, 10, n);
    Metti16(s, 12, static_cast<int16_t>(testi.size()));
    s += offsetPercorsi + testi;
    for (int16_t i = 0; i < n; ++i) s += Le16(static_cast<int16_t>(i * Blocco));
    for (int16_t i = 0; i < n; ++i) {
        std::string blocco(Blocco, '\0');
        blocco[0] = static_cast<char>(0x91);
        blocco[36] = static_cast<char>(i == 0 ? cdTitolo : 3);
        s += blocco;
    }
    return s;
}

std::string WavVuoto() {
    std::string s = "RIFF" + Le32(36) + "WAVEfmt " + Le32(16);
    s += Le16(1) + Le16(1) + Le32(22050) + Le32(44100) + Le16(2) + Le16(16);
    return s + "data" + Le32(0);
}

std::string DescrizioneMcfGioco(const OpzioniCartellaGioco& o) {
    std::string d = "Version=VER1.5\r\n";
    d += "HeaderOptions=" + std::to_string((o.condiviso ? 0x1000 : 0) | (o.exePatchato ? 0x800 : 0) | o.altreOpzioni) + "\r\n";
    d += "VideoMode=3\r\nHeaderText=Run level\r\n";
    if (!o.trigger.empty()) return d + o.trigger;
    d += "[Trigger]\r\nTypeFlags=0x8000000\r\n";
    d += std::string("Options=") + (o.flagWorking ? "0x21000" : "0x1000") + "\r\n";
    d += "Text=<TEXT>Hi<END_TEXT>\r\nTriggerCd=3\r\nMediaCode=1\r\nLevel=1\r\n";
    return d;
}

bool ScriviMcfDaDescrizione(const std::string& programmi, const std::string& cartella, const std::string& descrizione,
                            const std::string& mcf) {
    const std::string testo = cartella + "\\mcf_description.txt";
    if (!ScriviFileProva(testo, descrizione)) return false;
    std::string riga = "\"" + programmi + "\\McfWriter.exe\" \"" + testo + "\" \"" + mcf + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, riga.data(), nullptr, nullptr, FALSE, 0, nullptr, cartella.c_str(), &si, &pi))
        return false;
    DWORD codice = 1;
    if (WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &codice);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    DeleteFileA(testo.c_str());
    return codice == 0;
}

bool CostruisciCartellaGioco(const std::string& trle, const std::string& programmi, const OpzioniCartellaGioco& o,
                             std::string& errore) {
    const std::string store = trle + "\\store";
    for (const char* c : {"store", "data", "audio"}) CreateDirectoryA((trle + "\\" + c).c_str(), nullptr);
    if (!Copia(programmi + "\\Ludovane.exe", trle + "\\Ludovane.exe", errore) ||
        !Copia(programmi + "\\GameSim.exe", trle + "\\tomb4.exe", errore) ||
        !Copia(programmi + "\\Tonvell.dll", store + "\\Tonvell.dll", errore))
        return false;
    if (o.logger && !Copia(programmi + "\\Scrivane.exe", store + "\\Scrivane.exe", errore)) return false;

    // The list Vistrelo would write: one hardware device with the modes the
    // configuration may ask for.
    VideoList lista;
    lista.DD = 0;
    lista.D3D = 1;
    lista.Hardware = 1;
    lista.Modi = {{640, 480, 16}, {640, 480, 32}, {800, 600, 32}, {1024, 768, 16}, {1024, 768, 32}};
    bool ok = ScriviFileProva(store + "\\videolist.bin", ScriviVideoListFile({lista}));
    ok = ok && ScriviFileProva(trle + "\\script.dat", ScriptDatAMano({"data\\title", "data\\level1"}, 97));
    ok = ok && ScriviFileProva(trle + "\\english.dat", std::string(64, '\x01'));
    ok = ok && ScriviFileProva(trle + "\\data\\title.tr4", "title level");
    ok = ok && ScriviFileProva(trle + "\\data\\level1.tr4", "level one");
    ok = ok && ScriviFileProva(trle + "\\audio\\097.wav", WavVuoto());
    ok = ok && ScriviFileProva(trle + "\\audio\\003.wav", WavVuoto());
    for (int32_t traccia : o.tracce) {
        char nome[32];
        std::snprintf(nome, sizeof nome, "\\audio\\%03d.wav", static_cast<int>(traccia));
        ok = ok && ScriviFileProva(trle + nome, WavVuoto());
    }
    ok = ok && ScriviFileProva(trle + "\\gamesim.txt", o.scriptGioco);
    if (!ok) {
        errore = "cannot write the files of " + trle;
        return false;
    }
    if (!ScriviMcfDaDescrizione(programmi, trle, DescrizioneMcfGioco(o), trle + "\\media.mcf")) {
        errore = "McfWriter failed on the level's description";
        return false;
    }
    return true;
}
