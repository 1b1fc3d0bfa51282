#pragma once
// The game as the trigger loop sees it, for unit tests: level files and CD
// track waves the test holds open, a script of what the game holds open
// when (on the manual clock), a stand-in logger with its event records, and
// the beeps that would be heard.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/FileUtils.h"
#include "core/MediaExtraction.h"
#include "core/MediaTrigger.h"
#include "eventlogger/LoggerProtocol.h"
#include "gamerun/CdTracking.h"
#include "runservices/Desktop.h"
#include "runservices/LoggerClient.h"
#include "gamerun/MediaPreparation.h"
#include "runservices/Sounds.h"
#include "tests/gamerun/RunFixture.h"

namespace giocoprova {

// A file the game has in use from Da to A ms after the script starts; the
// kind FineDelGioco ends the game's process at Da.
constexpr int32_t FineDelGioco = 0;
struct Occupato {
    int32_t Tipo;  // FileTracciaCd, FileLivello or FineDelGioco
    int32_t Numero;
    uint32_t Da = 0;
    uint32_t A = 0xFFFFFFFF;
};

inline std::vector<Occupato> Copione;
inline uint32_t InizioCopione = 0;
inline std::vector<std::pair<int32_t, int32_t>> Toni;
inline HANDLE ProcessoFinto = nullptr;

inline int32_t RispostaCopione(int32_t numero, int32_t tipo) {
    const uint32_t t = ClockTick() - InizioCopione;
    for (const Occupato& o : Copione)
        if (o.Tipo == FineDelGioco && t >= o.Da && ProcessoFinto) SetEvent(ProcessoFinto);
    for (const Occupato& o : Copione)
        if (o.Tipo == tipo && o.Numero == numero && t >= o.Da && t < o.A) return 1;
    return 0;
}

inline void RegistraTono(int32_t frequenza, int32_t durata) { Toni.emplace_back(frequenza, durata); }

struct Comando {
    WPARAM Numero;
    LPARAM Argomento;
};
inline std::vector<Comando> ComandiLogger;

inline LRESULT CALLBACK ProceduraLoggerFinto(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == MessaggioComando) {
        ComandiLogger.push_back({wp, lp});
        return 0;
    }
    return DefWindowProcA(h, m, wp, lp);
}

inline LoggerStructure Record(LoggerFase fasi, uint8_t cd, uint8_t livello, uint8_t codice) {
    return LoggerStructure{0, fasi, cd, livello, codice, 0, 0};
}

inline MediaTrigger Trigger(int32_t codice, int32_t cd, int32_t opzioni = 0, int32_t livello = QualsiasiLivello,
                            int32_t tipo = FixedText) {
    MediaTrigger m;
    m.MediaCode = codice;
    m.TriggerCd = cd;
    m.Options = opzioni;
    m.Level = livello;
    m.TypeFlags = tipo;
    return m;
}

}  // namespace giocoprova

class ProvaGioco : public ProvaRun {
protected:
    void SetUp() override {
        ProvaRun::SetUp();
        SchermoReale();
        CreateDirectoryA((store / "audio").c_str(), nullptr);
        FileLivelli.clear();
        for (int i = 0; i < 3; ++i) {
            FileLivelli.push_back(store / ("level" + std::to_string(i) + ".tr4"));
            ASSERT_TRUE(ScriviFileProva(FileLivelli.back(), "tr4"));
        }
        NumLivelli = 3;
        ListaMedia.clear();
        ListaCdTrigger.clear();
        NumCdTrigger = 0;
        ListaCdAlert.clear();
        NumCdAlert = 0;
        CdAvvioAlert = -1;
        CdAvvioLivello = -1;
        BufferLogCaricamento.clear();
        giocoprova::Copione.clear();
        giocoprova::Toni.clear();
        giocoprova::ComandiLogger.clear();
        EmettiTono = giocoprova::RegistraTono;
        ViewLogger = nullptr;
        hMapLogger = nullptr;
        hProcessLogger = nullptr;
        // As at the start of a run: IsFileOccupato asks the logger while it is in use.
        AzzeraLoggerClient();
        GiocoFinto();
    }
    void TearDown() override {
        for (HANDLE h : tenuti) CloseHandle(h);
        giocoprova::ProcessoFinto = nullptr;
        if (gioco) CloseHandle(gioco);
        if (DialogCover().Loaded()) {
            FuoriGioco = true;
            ChiudiCover();
        }
        if (finestraLogger) DestroyWindow(finestraLogger);
        ViewLogger = nullptr;
        hWndLogger = nullptr;
        hProcessLogger = nullptr;
        RispostaLoggerFileOccupato = nullptr;
        EmettiTono = tonoOriginale;
        ListaMedia.clear();
        ListaCdTrigger.clear();
        NumCdTrigger = 0;
        ListaCdAlert.clear();
        NumCdAlert = 0;
        FileLivelli.clear();
        NumLivelli = 0;
        HeaderMcf = MediaConfigHeader{};
        ProvaRun::TearDown();
    }

    // The game holds the file open, as while it loads the level or plays the track.
    void Tieni(const std::string& percorso) {
        if (!EsisteFileProva(percorso)) {
            ASSERT_TRUE(ScriviFileProva(percorso, "RIFF"));
        }
        HANDLE h = CreateFileA(percorso.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        tenuti.push_back(h);
    }
    void SuonaTraccia(int32_t cd) { Tieni(NomeWavTraccia(cd)); }
    void CaricaLivello(int32_t livello) { Tieni(FileLivelli[static_cast<size_t>(livello)]); }

    // From now on the game's files follow the script instead of the disk.
    static void Segui(std::vector<giocoprova::Occupato> copione) {
        giocoprova::Copione = std::move(copione);
        giocoprova::InizioCopione = ClockTick();
        RispostaLoggerFileOccupato = giocoprova::RispostaCopione;
        giocoprova::RispostaCopione(-1, -1);
    }

    // The game's process as an event: set, it has ended.
    void GiocoFinto() {
        gioco = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        ASSERT_TRUE(gioco);
        ProcessoGioco.hProcess = gioco;
        giocoprova::ProcessoFinto = gioco;
    }
    void FineGioco() { SetEvent(gioco); }

    // The logger in use: its view, and a window that takes its commands.
    void ConLogger() {
        vista = std::make_unique<SwapMediaView>();
        std::memset(vista.get(), 0, sizeof(SwapMediaView));
        ViewLogger = vista.get();
        WNDCLASSA wc{};
        wc.lpfnWndProc = giocoprova::ProceduraLoggerFinto;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ProvaLoggerFinto";
        RegisterClassA(&wc);
        finestraLogger = CreateWindowExA(0, "ProvaLoggerFinto", "", 0, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                                         nullptr);
        ASSERT_TRUE(finestraLogger);
        hWndLogger = finestraLogger;
        hProcessLogger = GetCurrentProcess();
        ImpostaBit(StatoGioco, FlagLoggerInUso);
        TickAvvioGioco = static_cast<int32_t>(ClockTick());
    }
    void Registra(std::initializer_list<LoggerStructure> record) {
        for (LoggerStructure r : record) {
            r.TickEvento = ClockTick();
            vista->Structures[vista->StructureCount++] = r;
        }
    }

    static int32_t OpzioniDi(int32_t codice) {
        for (const MediaTrigger& m : ListaMedia)
            if (m.MediaCode == codice) return m.Options;
        ADD_FAILURE() << "no media code " << codice;
        return 0;
    }
    static int ContaRighe(const std::string& testo) {
        int n = 0;
        for (const std::string& r : RigheLog()) n += r == testo;
        return n;
    }

    std::vector<HANDLE> tenuti;
    HANDLE gioco = nullptr;
    HWND finestraLogger = nullptr;
    std::unique_ptr<SwapMediaView> vista;
    void (*tonoOriginale)(int32_t, int32_t) = EmettiTono;
};
