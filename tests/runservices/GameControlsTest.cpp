// Game controls tested by their bound and default keys, with keys pressed
// through the system's input queue.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "runservices/GameControls.h"
#include "runservices/TombSettings.h"
#include "core/MediaLog.h"
#include "core/PassaggioCondiviso.h"
#include "core/SharedState.h"
#include "core/SystemUtils.h"
#include "platform/Clock.h"
#include "runservices/JoystickBin.h"
#include "tests/support/LogSoFar.h"
#include "tests/support/LogText.h"
#include "tests/support/ScriptedJoystick.h"
#include "tests/support/TestFolders.h"

namespace {

// Set-1 scan codes of the game's key bindings.
constexpr int16_t ScanL = 0x26, ScanG = 0x22, ScanCtrl = 0x1D, ScanInvio = 0x1C, ScanSpazio = 0x39;

void Tasto(int16_t scan, bool giu) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = static_cast<WORD>(MapVirtualKeyA(scan, 1));
    in.ki.wScan = static_cast<WORD>(scan);
    in.ki.dwFlags = giu ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &in, sizeof in);
    Sleep(30);
}

class ControlliTest : public testing::Test {
protected:
    void TearDown() override {
        for (int16_t s : {ScanL, ScanG, ScanCtrl, ScanInvio, ScanSpazio}) Tasto(s, false);
    }
};

TEST_F(ControlliTest, ScanCodesBecomeVirtualKeys) {
    EXPECT_EQ(ScanCodeDaTasto(ScanL), 'L');
    EXPECT_EQ(ScanCodeDaTasto(ScanInvio), VK_RETURN);
    // Only the low 7 bits count.
    EXPECT_EQ(ScanCodeDaTasto(ScanL | 0x80), 'L');
}

TEST_F(ControlliTest, KeyCombinationUpToTheFirstZero) {
    EXPECT_FALSE(TastiPremuti('L', 'G'));
    Tasto(ScanL, true);
    EXPECT_TRUE(TastiPremuti('L'));
    EXPECT_FALSE(TastiPremuti('L', 'G'));
    Tasto(ScanG, true);
    EXPECT_TRUE(TastiPremuti('L', 'G', 0, 0));
    // The list ends at the first 0: the 5 is not looked at.
    EXPECT_TRUE(TastiPremuti('L', 0, '5', 0));
    EXPECT_FALSE(TastiPremuti(0, 'L'));
    EXPECT_FALSE(TastiPremuti(-1));
    Tasto(ScanG, false);
    EXPECT_FALSE(TastiPremuti('L', 'G'));
}

TEST_F(ControlliTest, APassOfTheTickReadsAKeyOnceUntilAPauseOrAMedia) {
    ClockUseManual(true, 1000);
    Tasto(ScanL, true);
    {
        PassaggioCondiviso passaggio;
        EXPECT_TRUE(TastiPremuti('L'));
        Tasto(ScanL, false);
        EXPECT_TRUE(TastiPremuti('L')) << "read once in the pass";
        // A media performed by the pass reads for itself, and after it the
        // pass reads anew.
        LivelloAnnidamento = 1;
        EXPECT_FALSE(TastiPremuti('L'));
        LivelloAnnidamento = 0;
        EXPECT_TRUE(TastiPremuti('L'));
        DimenticaCondivisi();
        EXPECT_FALSE(TastiPremuti('L'));
        Tasto(ScanL, true);
        EXPECT_FALSE(TastiPremuti('L'));
        // The pause between two sensory checks.
        ClockSleep(300);
        EXPECT_TRUE(TastiPremuti('L'));
    }
    Tasto(ScanL, false);
    EXPECT_FALSE(TastiPremuti('L'));
    ClockUseManual(false);
}

TEST_F(ControlliTest, BoundKeyThenDefaultKey) {
    EXPECT_EQ(TastoGiocoPremuto(ScanCtrl, ScanSpazio), 0);
    Tasto(ScanCtrl, true);
    EXPECT_NE(TastoGiocoPremuto(ScanCtrl, ScanSpazio), 0);
    Tasto(ScanCtrl, false);
    // A bound key that is up falls back to the default key.
    Tasto(ScanSpazio, true);
    EXPECT_NE(TastoGiocoPremuto(ScanCtrl, ScanSpazio), 0);
    // A joystick button binding: its default key stands for it.
    EXPECT_NE(TastoGiocoPremuto(0x103, ScanSpazio), 0);
    Tasto(ScanSpazio, false);
    Tasto(ScanCtrl, true);
    EXPECT_EQ(TastoGiocoPremuto(0x100 | ScanCtrl, ScanSpazio), 0);
}

TEST_F(ControlliTest, ActionControlFallsBackToEnter) {
    EXPECT_EQ(TastoAzioneAttivo(), 0);
    Tasto(ScanInvio, true);
    EXPECT_NE(TastoAzioneAttivo(), 0);
    Tasto(ScanInvio, false);

    ControlloGiocoPremuto = TastoGiocoPremuto;
    TastiAzioneGioco = [](int16_t& tasto, int16_t& predefinito) {
        tasto = ScanCtrl;
        predefinito = ScanSpazio;
        return true;
    };
    EXPECT_EQ(TastoAzioneAttivo(), 0);
    Tasto(ScanCtrl, true);
    EXPECT_NE(TastoAzioneAttivo(), 0);
    TastiAzioneGioco = nullptr;
    ControlloGiocoPremuto = nullptr;
}

TEST_F(ControlliTest, DirectionsOfTheFourControlsCombine) {
    // Up, Down, Left, Right on L, G, Ctrl and Space; Left bound to a joystick
    // button, so its default key stands for it.
    ImpostazioniTomb& imp = ImpostazioniTombCorrenti;
    const ImpostazioniTomb prima = imp;
    imp = ImpostazioniTomb{};
    imp.Tasti[0] = ScanL;
    imp.Tasti[1] = ScanG;
    imp.Tasti[2] = 0x105;
    imp.TastiDefault[2] = ScanCtrl;
    imp.Tasti[3] = ScanSpazio;
    struct Caso {
        std::vector<int16_t> tasti;
        int32_t direzioni;
    };
    const std::vector<Caso> casi = {
        {{}, 0},
        {{ScanL}, DirezioneSu},
        {{ScanG}, DirezioneGiu},
        {{ScanCtrl}, DirezioneSinistra},
        {{ScanSpazio}, DirezioneDestra},
        // Up and Down together are both there: the caller lets Up win.
        {{ScanL, ScanG}, DirezioneSu | DirezioneGiu},
        {{ScanL, ScanSpazio}, DirezioneSu | DirezioneDestra},
        {{ScanG, ScanCtrl, ScanSpazio}, DirezioneGiu | DirezioneSinistra | DirezioneDestra},
        // Another key is no direction.
        {{ScanInvio}, 0},
    };
    // The log in memory only: a clock that stands still never writes it.
    JoystickFinto stick;
    stick.Muovi(0, 0, 0, 0xFFFFFFFF);
    PortaJoystickAttiva = NessunJoystick;
    CartellaProva store;
    PercorsoStore = store.Percorso();
    ClockUseManual(true, 1000);
    LogAbilitato = true;
    InitMediaLog();
    for (const int metodo : {0, 1}) {
        imp.ControlMethod = static_cast<uint8_t>(metodo);
        for (const Caso& c : casi) {
            for (int16_t t : c.tasti) Tasto(t, true);
            EXPECT_EQ(LeggiDirezioniGioco(), c.direzioni) << "method " << metodo << ", " << c.tasti.size() << " keys";
            for (int16_t t : c.tasti) Tasto(t, false);
            EXPECT_EQ(TastoGiocoPremuto(0x105, ScanCtrl), 0);
        }
    }
    // No joystick was found: none is read and nothing is said, on every test.
    EXPECT_EQ(stick.Letture(), 0);
    EXPECT_EQ(BufferLog.find("joystick"), std::string::npos) << BufferLog;
    LogAbilitato = false;
    BufferLog.clear();
    ClockUseManual(false);
    PercorsoStore.clear();
    imp = prima;
}

// The game played with a joystick that the test moves, Up and Down on L
// and G.
class StickTest : public ControlliTest {
protected:
    void SetUp() override {
        prima_ = ImpostazioniTombCorrenti;
        ImpostazioniTombCorrenti = ImpostazioniTomb{};
        ImpostazioniTombCorrenti.ControlMethod = 1;
        ImpostazioniTombCorrenti.Tasti[0] = ScanL;
        ImpostazioniTombCorrenti.Tasti[1] = ScanG;
    }
    void TearDown() override {
        ControlliTest::TearDown();
        ImpostazioniTombCorrenti = prima_;
    }
    static size_t Volte(const std::string& testo) { return VolteRigaLog(testo); }
    static constexpr uint32_t Riposo = StickDiGioco::Riposo;
    LogDiProva log;
    StickDiGioco stick;

private:
    ImpostazioniTomb prima_;
};

TEST_F(StickTest, DirectionsOfTheStickPastTheTolerance) {
    struct Caso {
        uint32_t x, y;
        int32_t direzioni;
    };
    const Caso casi[] = {
        {Riposo, Riposo, 0},
        // Outside the calibrated range but within its tolerance: still rest.
        {29000, 35999, 0},
        {Riposo, 28999, DirezioneSu},
        {Riposo, 36001, DirezioneGiu},
        {36001, Riposo, DirezioneDestra},
        {28999, Riposo, DirezioneSinistra},
        {0, 0, DirezioneSu | DirezioneSinistra},
        {65535, 65535, DirezioneGiu | DirezioneDestra},
    };
    for (const Caso& c : casi) {
        stick.Muovi(0, c.x, c.y);
        EXPECT_EQ(LeggiDirezioniGioco(), c.direzioni) << c.x << ", " << c.y;
    }
    // The stick pushed down and the Up key held: both are there.
    stick.Muovi(0, Riposo, 65535);
    Tasto(ScanL, true);
    EXPECT_EQ(LeggiDirezioniGioco(), DirezioneSu | DirezioneGiu);
    // Pushed up and the Up key held: still up, not down.
    stick.Muovi(0, Riposo, 0);
    EXPECT_EQ(LeggiDirezioniGioco(), DirezioneSu);
    Tasto(ScanL, false);
    // Played with the keyboard, the stick is not read.
    ImpostazioniTombCorrenti.ControlMethod = 0;
    stick.AzzeraLetture();
    EXPECT_EQ(LeggiDirezioniGioco(), 0);
    EXPECT_EQ(stick.Letture(), 0);
    EXPECT_EQ(NumErroriLog, 0);
}

TEST_F(StickTest, ForwardOrBackByTheSticksYOrTheKeys) {
    stick.Muovi(0, 0, Riposo);
    EXPECT_FALSE(LeggiMovimentoJoystick()) << "X is not looked at";
    stick.Muovi(0, Riposo, 36001);
    EXPECT_TRUE(LeggiMovimentoJoystick());
    EXPECT_EQ(Volte("Detected movements with joystick"), 1u);
    stick.Muovi(0, Riposo, Riposo);
    Tasto(ScanG, true);
    EXPECT_TRUE(LeggiMovimentoJoystick());
    EXPECT_EQ(Volte("Detected movement with keyboard: move down"), 1u);
    Tasto(ScanL, true);
    EXPECT_TRUE(LeggiMovimentoJoystick());
    EXPECT_EQ(Volte("Detected movement with keyboard: move up"), 1u);
    Tasto(ScanL, false);
    Tasto(ScanG, false);
    EXPECT_FALSE(LeggiMovimentoJoystick());
}

TEST_F(StickTest, ButtonsInTheReportedWordThenTheDefaultKey) {
    struct Caso {
        int16_t legame;
        uint32_t pulsanti;
        bool premuto;
    };
    const Caso casi[] = {
        {0x103, 1u << 3, true},
        {0x103, 1u << 2, false},
        {0x100, 1u, true},
        {0x11F, 1u << 31, true},
        // Past the 32 bits the stick reports: never down, whatever is set.
        {0x120, 0xFFFFFFFF, false},
        {0x1FF, 0xFFFFFFFF, false},
    };
    for (const Caso& c : casi) {
        stick.Muovi(0, Riposo, Riposo, c.pulsanti);
        EXPECT_EQ(TastoGiocoPremuto(c.legame, ScanSpazio) != 0, c.premuto) << std::hex << c.legame;
    }
    // The button up, its default key down.
    stick.Muovi(0, Riposo, Riposo, 0);
    Tasto(ScanSpazio, true);
    EXPECT_NE(TastoGiocoPremuto(0x103, ScanSpazio), 0);
    Tasto(ScanSpazio, false);
    // Played with the keyboard, a button binding is its default key alone.
    ImpostazioniTombCorrenti.ControlMethod = 0;
    stick.Muovi(0, Riposo, Riposo, 0xFFFFFFFF);
    stick.AzzeraLetture();
    EXPECT_EQ(TastoGiocoPremuto(0x103, ScanSpazio), 0);
    EXPECT_EQ(stick.Letture(), 0);
    EXPECT_EQ(NumErroriLog, 0);
}

TEST_F(StickTest, AStickThatCannotBeReadFallsBackToTheKeys) {
    stick.Stacca(0);
    const std::string errore = "ERROR reading joystick on gameport = 0";
    Tasto(ScanSpazio, true);
    EXPECT_NE(TastoGiocoPremuto(0x103, ScanSpazio), 0);
    Tasto(ScanSpazio, false);
    EXPECT_EQ(Volte(errore), 1u);
    EXPECT_FALSE(LeggiMovimentoJoystick());
    EXPECT_EQ(Volte(errore), 2u);
    Tasto(ScanG, true);
    EXPECT_EQ(LeggiDirezioniGioco(), DirezioneGiu);
    EXPECT_EQ(Volte(errore), 3u);
    // The directions say it only while the log is on.
    LogAbilitato = false;
    const int32_t errori = NumErroriLog;
    EXPECT_EQ(LeggiDirezioniGioco(), DirezioneGiu);
    EXPECT_EQ(NumErroriLog, errori);
    Tasto(ScanG, false);
}

TEST_F(StickTest, NoJoystickFoundReadsNothingAndSaysNothing) {
    PortaJoystickAttiva = NessunJoystick;
    stick.Muovi(0, 0, 0, 0xFFFFFFFF);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(TastoGiocoPremuto(0x103, ScanSpazio), 0);
        EXPECT_FALSE(LeggiMovimentoJoystick());
        EXPECT_EQ(LeggiDirezioniGioco(), 0);
    }
    EXPECT_EQ(stick.Letture(), 0);
    EXPECT_EQ(NumErroriLog, 0);
    EXPECT_EQ(BufferLog.find("joystick"), std::string::npos) << BufferLog;
}

}  // namespace
