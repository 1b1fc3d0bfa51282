// Game controls tested by their bound and default keys, with keys pressed
// through the system's input queue.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "runservices/GameControls.h"
#include "runservices/TombSettings.h"
#include "core/MediaLog.h"
#include "core/SharedState.h"
#include "core/SystemUtils.h"
#include "platform/Clock.h"
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
    // The stick and its buttons are not read yet: said once each, and the
    // keys still count.
    for (const std::string riga : {"LeggiDirezioniGioco (joystick): not performed yet",
                                   "TastoGiocoPremuto (joystick button): not performed yet"}) {
        size_t volte = 0;
        for (size_t da = BufferLog.find(riga); da != std::string::npos; da = BufferLog.find(riga, da + 1)) ++volte;
        EXPECT_EQ(volte, 1u) << riga;
    }
    LogAbilitato = false;
    BufferLog.clear();
    ClockUseManual(false);
    PercorsoStore.clear();
    imp = prima;
}

}  // namespace
