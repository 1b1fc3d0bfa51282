#pragma once
// A trle folder with Scrivane and the game stand-in, the test playing the
// main program: it maps "SWAPMEDIADAT", sends the commands and reads the
// records.
#include <windows.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "eventlogger/LoggerProtocol.h"
#include "tests/support/TestFolders.h"
#include "tests/support/TestProcesses.h"

namespace loggertest {

// Logger.bin written by hand from its byte layout.
inline std::string LoggerBinAMano(const std::vector<std::string>& nomi, uint32_t base) {
    std::string s;
    const int32_t n = static_cast<int32_t>(nomi.size());
    s.append(reinterpret_cast<const char*>(&n), 4);
    s.append(reinterpret_cast<const char*>(&base), 4);
    for (const std::string& nome : nomi) {
        std::string campo = nome;
        campo.push_back('\0');
        campo.resize(64, ' ');
        s += campo;
    }
    return s;
}

inline bool AttendiCondizione(DWORD ms, const auto& condizione) {
    const DWORD inizio = GetTickCount();
    while (!condizione()) {
        if (GetTickCount() - inizio > ms) return false;
        Sleep(20);
    }
    return true;
}

class CatenaLogger {
public:
    CatenaLogger() {
        CopyFileA((CartellaProgrammi() + "\\Scrivane.exe").c_str(), (trle / "Scrivane.exe").c_str(), FALSE);
        CopyFileA((CartellaProgrammi() + "\\GameSim.exe").c_str(), (trle / "tomb4.exe").c_str(), FALSE);
        CreateDirectoryA((trle / "audio").c_str(), nullptr);
        CreateDirectoryA((trle / "data").c_str(), nullptr);
    }
    ~CatenaLogger() {
        if (vista) UnmapViewOfFile(vista);
        if (mappa) CloseHandle(mappa);
        gioco.Termina();
        logger.Termina();
    }

    void ScriviLivelli(const std::vector<std::string>& nomi, uint32_t base = 0) {
        ScriviFileProva(trle / "Logger.bin", LoggerBinAMano(nomi, base));
    }

    // Starts Scrivane and maps its view; false when its window never came.
    bool AvviaLogger(const std::string& argomenti = "") {
        if (!AvviaProva(logger, trle / "Scrivane.exe", argomenti, trle.Percorso())) return false;
        if (!AttendiCondizione(15000, [&] { return (finestra = FindWindowA(ClasseLogger, TitoloLogger)) != nullptr; }))
            return false;
        mappa = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, NomeMappaSwap);
        if (!mappa) return false;
        vista = static_cast<SwapMediaView*>(MapViewOfFile(mappa, FILE_MAP_ALL_ACCESS, 0, 0, DimensioneSwapMedia));
        return vista != nullptr;
    }

    bool AvviaGioco(const std::string& script) {
        ScriviFileProva(trle / "gamesim.txt", script);
        return AvviaProva(gioco, trle / "tomb4.exe", "", trle.Percorso());
    }

    LRESULT Comando(uint32_t comando, LPARAM argomento = 0) {
        DWORD_PTR risultato = 0;
        SendMessageTimeoutA(finestra, MessaggioComando, comando, argomento, SMTO_ABORTIFHUNG, 5000, &risultato);
        return static_cast<LRESULT>(risultato);
    }

    uint32_t Conteggio() const { return static_cast<volatile uint32_t&>(vista->StructureCount); }
    std::vector<LoggerStructure> Record() const {
        const uint32_t n = Conteggio();
        return std::vector<LoggerStructure>(vista->Structures, vista->Structures + (n < MaxStrutture ? n : MaxStrutture));
    }
    std::string LogGioco() const { return LeggiFileProva(trle / "gamesim_log.txt"); }
    std::string LogLogger() const { return LeggiFileProva(trle / "tomb4_log.txt"); }
    bool GiocoHaScritto(const std::string& riga, DWORD ms = 20000) const {
        return AttendiCondizione(ms, [&] { return LogGioco().find(riga + "\n") != std::string::npos; });
    }

    // A handle of <processo> valid inside the logger's process.
    HANDLE DuplicaNelLogger(HANDLE processo) const {
        HANDLE copia = nullptr;
        DuplicateHandle(GetCurrentProcess(), processo, logger.handle, &copia, 0, FALSE, DUPLICATE_SAME_ACCESS);
        return copia;
    }

    CartellaProva trle{"lgr"};
    ProcessoProva logger;
    ProcessoProva gioco;
    HWND finestra = nullptr;
    HANDLE mappa = nullptr;
    SwapMediaView* vista = nullptr;
};

// The lines of a log without their stamps: "LOGGER: text" for logger lines.
inline std::vector<std::string> RigheLogger(const std::string& log) {
    std::vector<std::string> righe;
    size_t i = 0;
    while (i < log.size()) {
        size_t fine = log.find("\r\n", i);
        if (fine == std::string::npos) fine = log.size();
        std::string riga = log.substr(i, fine - i);
        if (!riga.empty() && riga[0] == '\t') riga.erase(0, 1);
        // "%7ld: " stamps, wider once the tick count passes seven digits
        size_t cifre = 0;
        while (cifre < riga.size() &&
               (riga[cifre] == ' ' || riga[cifre] == '-' || std::isdigit(static_cast<unsigned char>(riga[cifre]))))
            ++cifre;
        if (cifre >= 7 && riga.compare(cifre, 2, ": ") == 0) riga.erase(0, cifre + 2);
        righe.push_back(riga);
        i = fine + 2;
    }
    return righe;
}

inline bool HaRiga(const std::string& log, const std::string& riga) {
    for (const std::string& r : RigheLogger(log))
        if (r == riga) return true;
    return false;
}

}  // namespace loggertest
