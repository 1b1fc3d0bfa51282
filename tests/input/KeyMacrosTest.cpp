// Key macros: how they are stored, described and built, the driver's
// buffer and device calls on 98 and Me, the synthetic inputs of the NT
// family with their gaps, and the player's input held off meanwhile.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "core/SharedState.h"
#include "runservices/TombSettings.h"
#include "input/KeyMacros.h"
#include "input/KeyboardRoutines.h"
#include "tests/gamerun/RunFixture.h"
#include "tests/input/KeyLayer.h"

namespace {

using namespace tastiprova;

class ProvaTasti : public ProvaRun {
protected:
    void SetUp() override {
        ProvaRun::SetUp();
        PreparaTasti();
    }
    void TearDown() override {
        Ripristina();
        SistemaNT = true;
        HandleDriverTasti = nullptr;
        EventoDriverTasti = nullptr;
        StatoGioco = 0;
        ProvaRun::TearDown();
    }
    static int ContaLinee(const std::string& testo) {
        int n = 0;
        for (const std::string& r : RigheLog()) n += r == testo;
        return n;
    }
    static std::vector<int> CodiciMacro(const std::string& nome, std::vector<int>* tempi = nullptr) {
        MacroCacheEntry m;
        EXPECT_TRUE(CaricaMacro(nome, m)) << nome;
        std::vector<int> c;
        for (int32_t i = 0; i < m.NumEventi; ++i) {
            c.push_back(m.Eventi[static_cast<size_t>(i)].Codice);
            if (tempi) tempi->push_back(m.Eventi[static_cast<size_t>(i)].Tempo);
        }
        return c;
    }
};

// 6 bytes an event: kind, time (u32 little-endian), code.
std::string Evento(uint8_t tipo, uint32_t tempo, uint8_t codice) {
    return std::string{static_cast<char>(tipo), static_cast<char>(tempo & 0xFF), static_cast<char>((tempo >> 8) & 0xFF),
                       static_cast<char>((tempo >> 16) & 0xFF), static_cast<char>(tempo >> 24),
                       static_cast<char>(codice)};
}

TEST_F(ProvaTasti, StoresMacrosWithTheirEndEventAndLength) {
    ASSERT_TRUE(InviaCodici(false, {{1, 300}, {129, 200}}));
    std::vector<int> tempi;
    EXPECT_EQ(CodiciMacro("temp.MCR", &tempi), (std::vector<int>{1, 129, 0}));
    EXPECT_EQ(tempi, (std::vector<int>{0, 300, 350}));
    EXPECT_EQ(MacroCache[0].Durata, 400);
    EXPECT_EQ(DescriviMacro("Temp.mcr"), "&H1, 300, &H81, 50, &H0, 350");

    ASSERT_TRUE(SalvaMacro("macro_enter.mcr", 1, {MacroEvent{1, 0, 30}}));
    tempi.clear();
    EXPECT_EQ(CodiciMacro("macro_enter.mcr", &tempi), (std::vector<int>{30, 0}));
    EXPECT_EQ(tempi, (std::vector<int>{0, 50}));
    EXPECT_EQ(MacroCache[1].Durata, 100);
    ASSERT_TRUE(SalvaMacro("MACRO_ENTER.MCR", 2, {MacroEvent{1, 0, 31}, MacroEvent{0, 70, 0}}));
    EXPECT_EQ(NumMacro, 2);
    EXPECT_EQ(CodiciMacro("macro_enter.mcr"), (std::vector<int>{31, 0}));
    EXPECT_EQ(MacroCache[1].Durata, 140);

    // A list of delays: the first event at 50 ms, an end event 10 ms after the last.
    ASSERT_TRUE(SaveAdMacro("ad.mcr", 2, {MacroEvent{1, 100, 30}, MacroEvent{1, 200, 158}}));
    tempi.clear();
    EXPECT_EQ(CodiciMacro("ad.mcr", &tempi), (std::vector<int>{30, 158, 0}));
    EXPECT_EQ(tempi, (std::vector<int>{50, 150, 350}));

    EXPECT_FALSE(SalvaMacro("vuota.mcr", 0, {}));
    MacroCacheEntry m;
    EXPECT_FALSE(CaricaMacro("missing.mcr", m));
    EXPECT_TRUE(HaRiga("ERROR: not found keyboard macro named 'missing.mcr' in macro cache"));
    EXPECT_EQ(DescriviMacro("missing.mcr"), "");
    EXPECT_FALSE(InviaCodici(false, {}));
    EXPECT_TRUE(Inputs.size() == 3u);
}

TEST_F(ProvaTasti, TheDriverGetsTheWholeMacroInOneDeviceCall) {
    SistemaNT = false;
    Azzera();
    ASSERT_TRUE(InitSendKeys());
    ASSERT_EQ(Aperture.size(), 1u);
    EXPECT_EQ(Aperture[0].percorso, "\\\\.\\Vantrek.vxd");
    EXPECT_EQ(Aperture[0].accesso, 0u);
    EXPECT_EQ(Aperture[0].condivisione, 0u);
    EXPECT_EQ(Aperture[0].creazione, 0u);
    EXPECT_EQ(Aperture[0].flags, static_cast<DWORD>(FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OVERLAPPED));
    EXPECT_EQ(Eventi, (std::vector<std::pair<BOOL, BOOL>>{{TRUE, FALSE}}));

    const uint32_t prima = ClockTick();
    ASSERT_TRUE(InviaCodici(false, {{1, 300}, {129, 200}}));
    EXPECT_EQ(ClockTick() - prima, 450u);
    // An extended key's release keeps its prefix event.
    ASSERT_TRUE(InviaCodici(true, {{224, 10}, {72, 100}}));
    ASSERT_EQ(Controlli.size(), 2u);
    for (const ChiamataControllo& c : Controlli) {
        EXPECT_EQ(c.driver, DriverFinto);
        EXPECT_EQ(c.codice, 3u);
        EXPECT_EQ(c.lunghezzaUscita, 0u);
        EXPECT_EQ(c.uscita, "0");
        EXPECT_EQ(c.evento, EventoFinto);
    }
    EXPECT_EQ(Controlli[0].ingresso,
              Evento(1, 0, 1) + Evento(1, 300, 129) + Evento(0, 350, 0) + std::string(2, '\0'));
    EXPECT_EQ(Controlli[1].ingresso, Evento(1, 0, 224) + Evento(1, 10, 224 | 0x80) + Evento(1, 60, 72) +
                                         Evento(1, 160, 200) + Evento(0, 210, 0) + std::string(2, '\0'));
    EXPECT_EQ(BufferDriverTasti, Controlli[1].ingresso);
    EXPECT_TRUE(Inputs.empty());

    RispostaControllo = FALSE;
    EXPECT_FALSE(InviaCodici(false, {{1, 300}}));
    int32_t durata = -1;
    EXPECT_EQ(CaricaBufferCodici("nessuna.mcr", durata), std::string(1, '\0'));
    EXPECT_EQ(durata, 0);
    EXPECT_TRUE(HaRiga("ERROR: not found macro named 'nessuna.mcr' in macro cache"));

    TerminateSendKeys();
    EXPECT_EQ(Chiusi, (std::vector<HANDLE>{DriverFinto}));

    Azzera();
    RispostaApri = INVALID_HANDLE_VALUE;
    EXPECT_FALSE(InitSendKeys());
    EXPECT_TRUE(Eventi.empty());
    RispostaApri = DriverFinto;
    RispostaEvento = nullptr;
    EXPECT_FALSE(InitSendKeys());
}

TEST_F(ProvaTasti, TheNtFamilySendsOneInputAnEventAtItsTime) {
    // Up arrow pressed and released behind its prefixes, then Escape.
    ASSERT_TRUE(InviaCodici(false, {{224, 10}, {72, 100}, {224, 10}, {200, 50}, {1, 300}, {129, 20}}));
    struct Atteso {
        WORD vk, scan;
        DWORD flags;
        uint32_t dopo;  // ms after the first input
    };
    const std::vector<Atteso> attesi{{38, 72, KEYEVENTF_EXTENDEDKEY, 0},
                                     {38, 72, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP, 110},
                                     {27, 1, 0, 160},
                                     {27, 1, KEYEVENTF_KEYUP, 460},
                                     {0, 0, 0, 510}};
    ASSERT_EQ(Inputs.size(), attesi.size());
    for (size_t i = 0; i < attesi.size(); ++i) {
        EXPECT_EQ(Inputs[i].vk, attesi[i].vk) << i;
        EXPECT_EQ(Inputs[i].scan, attesi[i].scan) << i;
        EXPECT_EQ(Inputs[i].flags, attesi[i].flags) << i;
        EXPECT_EQ(Inputs[i].tick - Inputs[0].tick, attesi[i].dopo) << i;
    }
    // An input the system refuses ends the macro.
    Inputs.clear();
    RispostaInput = 0;
    EXPECT_FALSE(InviaCodici(false, {{30, 100}, {158, 100}}));
    EXPECT_TRUE(Inputs.empty());
}

// A refused input ends the macro, but no key it pressed stays down: every
// release still due goes out at once.
TEST_F(ProvaTasti, ARefusedInputLeavesNoKeyDown) {
    struct Caso {
        int rifiutato;
        std::vector<int> codici;
    };
    // A down, S down, A up, S up, the end.
    for (const Caso& c : {Caso{1, {30, 158}}, Caso{2, {30, 31, 158, 159}}, Caso{0, {}}}) {
        SCOPED_TRACE(c.rifiutato);
        Inputs.clear();
        ChiamateInput = 0;
        InputRifiutato = c.rifiutato;
        const uint32_t inizio = ClockTick();
        EXPECT_FALSE(InviaCodici(false, {{30, 100}, {31, 100}, {158, 100}, {159, 100}}));
        EXPECT_EQ(Codici(), c.codici);
        EXPECT_LE(ClockTick() - inizio, 100u * static_cast<uint32_t>(c.rifiutato));
    }
}

// Blocking the player's input releases every game control held down, the
// others as much as the movement and action keys; a key of no control stays
// as it is. The keys held are the sender's to ask, not the desktop's.
TEST_F(ProvaTasti, BlockingTheInputReleasesEveryGameControlHeld) {
    SistemaNT = true;
    ImpostazioniTombCorrenti = ImpostazioniTomb{};
    // Letters, which press no button of a box: Dash, Extract_Weapon, control 16.
    const std::vector<std::pair<int, int>> controlli{{5, 16}, {9, 44}, {16, 45}};
    for (const auto& [k, scan] : controlli) ImpostazioniTombCorrenti.Tasti[k] = static_cast<int16_t>(scan);
    // Q, Z and X of the controls, and T, of none (P is control 16's default).
    static std::set<int> giu;
    giu = {'Q', 'Z', 'X', 'T'};
    DriverTasti.StatoTasto = [](int vk) -> SHORT { return giu.count(vk) ? static_cast<SHORT>(0x8000) : 0; };
    Gioco = [](const InputInviato& i) {
        if (i.flags & KEYEVENTF_KEYUP) giu.erase(i.vk);
    };
    SospendiInputUtente();
    AbilitaInputUtente();
    ImpostazioniTombCorrenti = ImpostazioniTomb{};
    const std::vector<int> codici = Codici();
    for (const auto& [k, scan] : controlli)
        EXPECT_NE(std::find(codici.begin(), codici.end(), scan | 0x80), codici.end()) << "control " << k;
    EXPECT_EQ(giu, std::set<int>{'T'});
    EXPECT_EQ(std::find(codici.begin(), codici.end(), 20 | 0x80), codici.end());
}

TEST_F(ProvaTasti, ScanCodesMapToTheUsKeyboardsVirtualKeys) {
    int voci = 0;
    for (uint8_t vk : TabellaScanVk) voci += vk != 0;
    EXPECT_EQ(voci, 73);
    const std::vector<std::pair<int, int>> coppie{{1, 27},   {2, 49},  {10, 57}, {11, 48}, {14, 8},   {16, 81},
                                                  {25, 80},  {28, 13}, {29, 17}, {30, 65}, {38, 76},  {42, 16},
                                                  {44, 90},  {50, 77}, {55, 44}, {57, 32}, {58, 20},  {59, 112},
                                                  {68, 121}, {69, 144}, {71, 36}, {73, 33}, {75, 37}, {77, 39},
                                                  {79, 35},  {83, 46}, {87, 122}, {88, 123}, {93, 93}, {54, 0}};
    for (const auto& [scan, vk] : coppie) EXPECT_EQ(TabellaScanVk[scan], vk) << scan;
    for (int s : {80, 75, 77, 72, 83, 79, 71, 82, 74, 78, 81, 73, 55, 91, 92}) {
        EXPECT_TRUE(IsTastoEsteso(s)) << s;
        EXPECT_TRUE(IsTastoEsteso(s | 0x80)) << s;
    }
    EXPECT_FALSE(IsTastoEsteso(28));
}

TEST_F(ProvaTasti, BuildersFollowThePlatformsTiming) {
    struct Caso {
        bool nt;
        std::vector<int> codici, tempi;
    };
    for (const Caso& c : {Caso{true, {191, 28, 156, 28, 156, 0}, {0, 200, 400, 600, 800, 1000}},
                          Caso{false, {191, 28, 156, 28, 156, 0}, {0, 50, 100, 150, 200, 250}}}) {
        SistemaNT = c.nt;
        std::vector<int> tempi;
        EXPECT_EQ(CodiciMacro(CreateMacroSequenza("macro_enter.mcr", 63), &tempi), c.codici);
        EXPECT_EQ(tempi, c.tempi);
    }
    for (const Caso& c : {Caso{true, {224, 80, 224, 208, 224, 80, 224, 208, 0},
                                 {100, 110, 510, 520, 530, 540, 940, 950, 960}},
                          Caso{false, {224, 80, 224, 208, 0}, {100, 110, 310, 320, 330}}}) {
        SistemaNT = c.nt;
        std::vector<int> tempi;
        EXPECT_EQ(CodiciMacro(CreateMacroDirection(80, 1, "Macro_down.mcr"), &tempi), c.codici);
        EXPECT_EQ(tempi, c.tempi);
    }
    std::vector<int> tempi;
    EXPECT_EQ(CodiciMacro(CreateMacroTastoSingolo(63, "macro_F5_Start.mcr"), &tempi), (std::vector<int>{63, 0}));
    EXPECT_EQ(tempi, (std::vector<int>{0, 300}));
    tempi.clear();
    EXPECT_EQ(CodiciMacro(CreateMacroRilascio(28, "MacroEnter_End.mcr"), &tempi), (std::vector<int>{156, 0}));
    EXPECT_EQ(tempi, (std::vector<int>{50, 100}));
}

TEST_F(ProvaTasti, InputIsBlockedOnlyOnTheNtFamilyAndOnce) {
    for (bool nt : {false, true}) {
        SistemaNT = nt;
        Blocchi.clear();
        StatoGioco = 0;
        SospendiInputUtente();
        SospendiInputUtente();
        EXPECT_EQ(HaBit(StatoGioco, InputUtenteSospeso), nt);
        AbilitaInputUtente();
        AbilitaInputUtente();
        EXPECT_EQ(Blocchi, (nt ? std::vector<BOOL>{TRUE, FALSE} : std::vector<BOOL>{}));
        EXPECT_FALSE(HaBit(StatoGioco, InputUtenteSospeso));
    }
    EXPECT_EQ(ContaLinee("Suspend user input"), 1);
    EXPECT_EQ(ContaLinee("Enable user input"), 1);
}

TEST_F(ProvaTasti, APacedWaitCountsTheWorkDoneSinceTheMark) {
    SegnaTempo();
    ClockAdvance(150);
    uint32_t prima = ClockTick();
    AttendiDaSegno(100);
    EXPECT_EQ(ClockTick(), prima);
    SegnaTempo();
    ClockAdvance(30);
    prima = ClockTick();
    AttendiDaSegno(100);
    EXPECT_EQ(ClockTick() - prima, 70u);
}

}  // namespace
