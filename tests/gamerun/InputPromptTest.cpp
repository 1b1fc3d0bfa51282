// The splash input box's keys and the focus given back to the game.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/MediaConfig.h"
#include "core/MediaTrigger.h"
#include "runservices/GameFocus.h"
#include "gamerun/InputPrompt.h"
#include "runservices/Sounds.h"
#include "platform/Forms.h"
#include "input/GameOperation.h"
#include "tests/gamerun/RunFixture.h"

namespace {

const char* const NonDisegnato = "<not drawn>";

// The tones of the effects the box plays without the logger.
const std::vector<int32_t> Effetto1 = {100, 500, 300};
const int32_t Effetto3 = 600;
const int32_t Effetto5 = 400;

class PromptRun : public ProvaRun {
protected:
    void SetUp() override {
        ProvaRun::SetUp();
        toni.clear();
        EmettiTono = [](int32_t f, int32_t) { toni.push_back(f); };
        FormatoTestoCorrente.Flags = 0x1;  // the text's own sounds are on
    }
    void TearDown() override {
        EmettiTono = tonoSalvato;
        FormatoTestoCorrente = TextFormat{};
        MediaCorrente = MediaTrigger{};
        OperazioneGioco = OperazioneGiocoCorrente{};
        TestoPromptSplash.clear();
        InputSplash.clear();
        InputSplashConcluso = false;
        LunghezzaMaxInput = 0;
        TestoPromptMostrato.clear();
        for (HWND h : finestre) DestroyWindow(h);
        FinestraGioco = nullptr;
        HeaderMcf = MediaConfigHeader{};
        ProvaRun::TearDown();
    }

    static inline std::vector<int32_t> toni;
    void (*tonoSalvato)(int32_t, int32_t) = EmettiTono;
    std::vector<HWND> finestre;
};

struct CasoPrompt {
    const char* nome;
    int32_t flags;
    int32_t massimo;
    bool escapeInterrompe;
    bool boxAttivo;
    const char* iniziale;
    bool giaConcluso;
    std::vector<int16_t> tasti;
    const char* testo;
    bool concluso;
    const char* mostrato;
    std::vector<int32_t> toni;
};

std::vector<int32_t> Toni(std::initializer_list<std::vector<int32_t>> parti) {
    std::vector<int32_t> tutti;
    for (const auto& p : parti) tutti.insert(tutti.end(), p.begin(), p.end());
    return tutti;
}

TEST_F(PromptRun, TypedKeysReplaceThePrompt) {
    const std::vector<CasoPrompt> casi = {
        {"three at most, with sounds", 0x4000, 3, false, true, "", false, {'A', 'b', '1', '2'}, "Ab1", false,
         "Name: Ab1_ (Ab1_)", Toni({Effetto1, Effetto1, Effetto1, {Effetto3}})},
        {"backspace on empty input", 0, 5, false, true, "", false, {8}, "", false, "Name: _ (_)", {}},
        {"backspace without cursor, with sound", 0x4100, 5, false, true, "Ab", false, {8}, "A", false,
         "Name: A (A)", {Effetto5}},
        {"hash and minus are ignored", 0x4000, 5, false, true, "", false, {'#', '-'}, "", false, NonDisegnato, {}},
        {"space and full stop are taken", 0, 5, false, true, "", false, {' ', '.'}, " .", false,
         "Name:  ._ ( ._)", {}},
        {"lower case is kept", 0, 5, false, true, "", false, {'q', 'Z', '9'}, "qZ9", false, "Name: qZ9_ (qZ9_)", {}},
        {"no cursor while typing", 0x40, 5, false, true, "", false, {'a'}, "a", false, "Name: a (a)", {}},
        {"escape without EscapeBreaks", 0, 5, false, true, "Ab", false, {27}, "Ab", false, NonDisegnato, {}},
        {"escape with EscapeBreaks", 0, 5, true, true, "Ab", false, {27}, "", true, NonDisegnato, {}},
        {"enter ends the input", 0, 5, false, true, "Ab", false, {13, 'c'}, "Ab", true, NonDisegnato, {}},
        {"single key ends at the first", 0x80, 5, false, true, "", false, {'x', 'y'}, "x", true, "Name: x (x)", {}},
        {"single key without echo", 0xC0, 5, false, true, "", false, {'x'}, "x", true, NonDisegnato, {}},
        {"enter in single key mode", 0x80, 5, false, true, "", false, {13}, "", true, NonDisegnato, {}},
        {"keys after the end", 0, 5, false, true, "Ab", true, {'c', 8}, "Ab", true, NonDisegnato, {}},
        {"input box not active", 0, 5, false, false, "Ab", false, {'c', 8, 13}, "Ab", false, NonDisegnato, {}},
    };
    for (const CasoPrompt& c : casi) {
        SCOPED_TRACE(c.nome);
        toni.clear();
        TestoPromptSplash = "Name: #PROMPT# (#prompt#)";
        TestoPromptMostrato = NonDisegnato;
        OperazioneGioco.Flags = c.flags;
        LunghezzaMaxInput = c.massimo;
        MediaCorrente.Options = c.escapeInterrompe ? EscapeBreaks : 0;
        ModificheAvvio = c.boxAttivo ? InputBoxAttivo : 0;
        InputSplash = c.iniziale;
        InputSplashConcluso = c.giaConcluso;
        for (int16_t t : c.tasti) SostituisciPrompt(t);
        EXPECT_EQ(InputSplash, c.testo);
        EXPECT_EQ(InputSplashConcluso, c.concluso);
        EXPECT_EQ(TestoPromptMostrato, c.mostrato);
        EXPECT_EQ(toni, c.toni);
    }
}

TEST_F(PromptRun, ASingleKeyAnswerStaysInSightHalfASecond) {
    TestoPromptSplash = "#PROMPT#";
    OperazioneGioco.Flags = 0x80;
    LunghezzaMaxInput = 1;
    ModificheAvvio = InputBoxAttivo;
    uint32_t inizio = ClockTick();
    SostituisciPrompt('7');
    EXPECT_EQ(ClockTick() - inizio, 500u);
    // Without echo nothing is shown, so nothing waits.
    InputSplashConcluso = false;
    InputSplash.clear();
    OperazioneGioco.Flags = 0xC0;
    inizio = ClockTick();
    SostituisciPrompt('8');
    EXPECT_EQ(ClockTick() - inizio, 0u);
    EXPECT_EQ(InputSplash, "8");
}

// --- Focus ---

TEST_F(PromptRun, NoGameWindowYetOnlyWarns) {
    StatoSequenza = StandByAttivo;
    FocusFinestraTomb();
    EXPECT_TRUE(HaRiga("Set focus to tomb raider window"));
    EXPECT_TRUE(HaRiga("WARNING. handle of window tomb is not yet set"));
    EXPECT_FALSE(HaRiga("ShowWindowAsync for tomb raider"));
    EXPECT_TRUE(HaBit(StatoSequenza, StandByAttivo));
    StatoSequenza = 0;
}

class FocusRun : public PromptRun {
protected:
    HWND FinestraDiGioco() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "FocusGioco";
        RegisterClassA(&wc);
        HWND f = CreateWindowExA(0, "FocusGioco", "Tomb Raider", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                                 wc.hInstance, nullptr);
        finestre.push_back(f);
        FinestraGioco = f;
        ProcessoGioco.dwProcessId = GetCurrentProcessId();
        return f;
    }
};

TEST_F(FocusRun, TheGameWindowIsShownAndItsProcessActivated) {
    HWND f = FinestraDiGioco();
    StatoSequenza = StandByAttivo;
    // Exclusive mode: a stand-by does not stop the activation.
    ModificheAvvio = GiocoInStandBy;
    FocusFinestraTomb();
    DoEvents();
    EXPECT_TRUE(HaRiga("ShowWindowAsync for tomb raider"));
    EXPECT_FALSE(HaRigaCheInizia("Warning: tomb is in stand-by"));
    EXPECT_TRUE(IsWindowVisible(f));
    EXPECT_EQ(GetForegroundWindow(), f);
    EXPECT_FALSE(HaBit(StatoSequenza, StandByAttivo));
    StatoSequenza = 0;
}

TEST_F(FocusRun, AWindowedGameInStandByIsWokenInstead) {
    HWND f = FinestraDiGioco();
    HeaderMcf.HeaderOptions = ParolaOpzioni(OpzioneHeader::SharedMode);
    ModificheAvvio = GiocoInStandBy;
    StatoSequenza = StandByAttivo;
    FocusFinestraTomb();
    DoEvents();
    EXPECT_TRUE(IsWindowVisible(f));
    // Woken once, whatever the wake-up does with the focus afterwards.
    int avvisi = 0;
    for (const std::string& r : RigheLog())
        if (r == "Warning: tomb is in stand-by, to use RiattivaTomb() function") ++avvisi;
    EXPECT_EQ(avvisi, 1);
    StatoSequenza = 0;
}

}  // namespace
