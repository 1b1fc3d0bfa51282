// The waits on the player's keys: a silent keyboard judged by the game's
// controls, and the end of Escape, on the test clock.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <thread>
#include <atomic>
#include <vector>

#include "core/MediaLog.h"
#include "core/SharedState.h"
#include "platform/Clock.h"
#include "runservices/JoystickBin.h"
#include "runservices/PlayerKeys.h"
#include "runservices/TombSettings.h"
#include "tests/media/KeyPresses.h"
#include "tests/support/LogSoFar.h"
#include "tests/support/LogText.h"
#include "tests/support/ScriptedJoystick.h"
#include "tests/support/TestFolders.h"

namespace {

// Set-1 scan codes of Jump and Duck, and a key no control is bound to.
constexpr int16_t ScanJ = 0x24, ScanD = 0x20;
constexpr WORD TastoLibero = 'Q';

class AttesaTasti : public testing::Test {
protected:
    void SetUp() override {
        prima_ = ImpostazioniTombCorrenti;
        ImpostazioniTombCorrenti = ImpostazioniTomb{};
        for (int i = 0; i < NumeroTastiGioco; ++i) ImpostazioniTombCorrenti.Tasti[i] = 0;
        ImpostazioniTombCorrenti.Tasti[static_cast<int>(TastoGioco::Jump)] = ScanJ;
        ImpostazioniTombCorrenti.Tasti[static_cast<int>(TastoGioco::Duck)] = ScanD;
        for (int i = 0; i < NumeroTastiGioco; ++i) ImpostazioniTombCorrenti.TastiDefault[i] = 0;
        // A game that runs: the process never ends.
        fuoriGioco_ = FuoriGioco;
        FuoriGioco = false;
        ProcessoGioco.hProcess = GetCurrentProcess();
    }
    void TearDown() override {
        for (WORD vk : {WORD('J'), WORD('D'), TastoLibero, WORD(VK_ESCAPE)}) tasti::Tasto(vk, false);
        FuoriGioco = fuoriGioco_;
        TogliBit(StatoGioco, InputUtenteSospeso);
        ImpostazioniTombCorrenti = prima_;
    }
    static std::vector<std::string> Righe() { return TestiRigheLog(BufferLog); }
    static bool HaRiga(const std::string& testo) { return VolteRigaLog(testo) > 0; }

private:
    ImpostazioniTomb prima_;
    bool fuoriGioco_ = false;
    LogDiProva log_;
};

TEST_F(AttesaTasti, SilentAfterATenthWithoutTheGamesControls) {
    struct Caso {
        std::vector<WORD> tenuti;
        bool limite;  // held through the whole wait
    };
    const Caso casi[] = {
        {{}, false},
        // A key of no control is no activity.
        {{TastoLibero}, false},
        {{'J'}, true},
        {{'D', TastoLibero}, true},
    };
    for (const Caso& c : casi) {
        BufferLog.clear();
        for (WORD vk : c.tenuti) tasti::Tasto(vk, true);
        const uint32_t inizio = ClockTick();
        EXPECT_TRUE(AttendiTastieraSilenziosa());
        const uint32_t durata = ClockTick() - inizio;
        for (WORD vk : c.tenuti) tasti::Tasto(vk, false);
        if (c.limite) {
            EXPECT_GE(durata, 4000u);
            EXPECT_LT(durata, 4200u);
            EXPECT_TRUE(HaRiga("WARNING: time out wating silent user input"));
            EXPECT_TRUE(HaRiga("Detected player input activity"));
        } else {
            EXPECT_GE(durata, 100u);
            EXPECT_LT(durata, 200u);
            EXPECT_EQ(Righe(), std::vector<std::string>{});
        }
    }
}

TEST_F(AttesaTasti, TheStickOfTheGameIsActivityToo) {
    StickDiGioco stick;
    stick.Muovi(0, 32000, 65535);
    const uint32_t inizio = ClockTick();
    EXPECT_TRUE(AttendiTastieraSilenziosa());
    EXPECT_GE(ClockTick() - inizio, 4000u);
    EXPECT_TRUE(HaRiga("Detected movements with joystick"));
}

TEST_F(AttesaTasti, TheEndOfTheGameEndsTheWait) {
    tasti::Tasto('J', true);
    ProcessoGioco.hProcess = nullptr;
    EXPECT_FALSE(AttendiTastieraSilenziosa());
    EXPECT_TRUE(HaRiga("Tomb raider program is terminated: abort command"));
}

TEST_F(AttesaTasti, BlockedInputOnNtIsSilentAtOnce) {
    const bool nt = SistemaNT;
    SistemaNT = true;
    ImpostaBit(StatoGioco, InputUtenteSospeso);
    tasti::Tasto('J', true);
    const uint32_t inizio = ClockTick();
    EXPECT_TRUE(AttendiTastieraSilenziosa());
    EXPECT_EQ(ClockTick(), inizio);
    EXPECT_EQ(Righe(), std::vector<std::string>{"Don't wait for silent keyboard because user input is stopped"});
    // Nor does it look at the game: a quit message waiting, or a game that
    // has gone, is for the caller's own waits, and closes nothing here.
    void* gioco = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ProcessoGioco.hProcess = gioco;
    PostThreadMessageA(GetCurrentThreadId(), WM_QUIT, 0, 0);
    BufferLog.clear();
    EXPECT_TRUE(AttendiTastieraSilenziosa());
    EXPECT_EQ(ProcessoGioco.hProcess, gioco);
    EXPECT_EQ(Righe(), std::vector<std::string>{"Don't wait for silent keyboard because user input is stopped"});
    MSG m;
    EXPECT_TRUE(PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit message is left for the caller";
    ProcessoGioco.hProcess = nullptr;
    EXPECT_TRUE(AttendiTastieraSilenziosa());
    ProcessoGioco.hProcess = GetCurrentProcess();
    CloseHandle(gioco);
    // On 9x the input is not really blocked: the keys are waited for.
    SistemaNT = false;
    EXPECT_TRUE(AttendiTastieraSilenziosa());
    EXPECT_GE(ClockTick() - inizio, 4000u);
    SistemaNT = nt;
}

TEST_F(AttesaTasti, EscapeUpReturnsAtOnceAndTakesItsKeyDowns) {
    PostThreadMessageA(GetCurrentThreadId(), WM_KEYDOWN, VK_ESCAPE, 0);
    const uint32_t inizio = ClockTick();
    AttendiFineEscape(true);
    EXPECT_EQ(ClockTick(), inizio);
    MSG m;
    EXPECT_FALSE(PeekMessageA(&m, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE));
    EXPECT_EQ(Righe(), (std::vector<std::string>{"Wait for end escape", "Long method"}));
    BufferLog.clear();
    AttendiFineEscape(false);
    EXPECT_EQ(ClockTick(), inizio);
    EXPECT_EQ(Righe(), (std::vector<std::string>{"Wait for end escape", "Short method"}));
}

TEST_F(AttesaTasti, AnEscapeHeldForEverStopsNoRun) {
    tasti::Tasto(VK_ESCAPE, true);
    for (const bool lungo : {false, true}) {
        const uint32_t inizio = ClockTick();
        AttendiFineEscape(lungo);
        EXPECT_GE(ClockTick() - inizio, 10000u) << lungo;
        EXPECT_LT(ClockTick() - inizio, 10200u) << lungo;
    }
}

// Escape held returns only after its release, and the long method wants it
// up for a whole second more; the real clock, since the key is let go from
// another thread.
TEST_F(AttesaTasti, EscapeHeldWaitsForItsRelease) {
    ClockUseManual(false);
    for (const bool lungo : {false, true}) {
        tasti::Tasto(VK_ESCAPE, true);
        std::atomic<uint32_t> rilascio{0};
        std::thread mano([&] {
            Sleep(300);
            rilascio = ClockTick();
            tasti::Tasto(VK_ESCAPE, false);
        });
        AttendiFineEscape(lungo);
        const uint32_t fine = ClockTick();
        const uint32_t rilasciato = rilascio.load();
        mano.join();
        ASSERT_NE(rilasciato, 0u) << "returned with Escape down";
        EXPECT_GE(fine - rilasciato, lungo ? 1000u : 0u);
    }
}

}  // namespace
