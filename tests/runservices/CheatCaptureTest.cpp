// The letters the guardian captures: the words, the 2-second rule, the
// filter both hooks share, and the real low-level hook fed by SendInput.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/SharedState.h"
#include "platform/Clock.h"
#include "platform/KeyDriver.h"
#include "runservices/CheatCapture.h"
#include "runservices/KeyboardHook.h"
#include "runservices/LoggerClient.h"
#include "tests/media/KeyPresses.h"
#include "tests/support/LogSoFar.h"

namespace {

class CatturaTasti : public testing::Test {
protected:
    void SetUp() override {
        log_ = std::make_unique<LogDiProva>();
        StatoGioco = 0;
        ModificheAvvio = 0;
        FinestraSplash = -1;
        FinestraMediaTitoli = -1;
        StrutturaLogger = StatoLogger{};
        AzzeraCatturaTasti();
    }
    void TearDown() override {
        RimuoviHookTastiera();
        AzzeraCatturaTasti();
        StatoGioco = 0;
        FinestraSplash = -1;
        FinestraMediaTitoli = -1;
        StrutturaLogger = StatoLogger{};
        log_.reset();
    }
    std::unique_ptr<LogDiProva> log_;
};

struct Lettera {
    char c;
    uint32_t pausa;  // ms before it
};

TEST_F(CatturaTasti, TypedLettersAndPausesFindTheWatchedWords) {
    struct Caso {
        const char* nome;
        int32_t bit;
        std::vector<Lettera> lettere;
        const char* catturati;
        const char* trucco;
    };
    const std::vector<Caso> casi{
        {"dozy, pauses up to 2 s", GuardiaDozy, {{'D', 0}, {'O', 1900}, {'Z', 1999}, {'Y', 2000}}, "DOZY", "DOZY"},
        {"dozy, over 2 s before Y", GuardiaDozy, {{'D', 0}, {'O', 100}, {'Z', 100}, {'Y', 2001}}, "Y", ""},
        {"dozy in lower case", GuardiaDozy, {{'d', 0}, {'o', 10}, {'z', 10}, {'y', 10}}, "dozy", "DOZY"},
        {"dozy not watched", GuardiaGuns, {{'D', 0}, {'O', 10}, {'Z', 10}, {'Y', 10}}, "DOZY", ""},
        {"dozy after other letters", GuardiaDozy, {{'A', 0}, {'B', 10}, {'D', 10}, {'O', 10}, {'Z', 10}, {'Y', 10}},
         "ABDOZY", "DOZY"},
        {"GG is one G", GuardiaGuns, {{'G', 0}, {'g', 10}}, "G", ""},
        {"G then U", GuardiaGuns, {{'G', 0}, {'U', 10}}, "GU", "GUNS"},
        {"G, pause, U", GuardiaGuns, {{'G', 0}, {'U', 2500}}, "U", ""},
        {"HELLO, help watched", GuardiaHelp, {{'H', 0}, {'E', 10}, {'L', 10}, {'L', 10}, {'O', 10}}, "HE", "HELP"},
        {"HELLO, help not watched", GuardiaDozy, {{'H', 0}, {'E', 10}, {'L', 10}, {'L', 10}, {'O', 10}}, "HELO", ""},
        {"two of WEAPONS", GuardiaWeapons, {{'W', 0}, {'E', 10}}, "WE", ""},
        {"three of WEAPONS", GuardiaWeapons, {{'W', 0}, {'E', 10}, {'X', 10}, {'A', 10}}, "WEXA", "WEAPONS"},
        {"the last 7 letters", 0, {{'A', 0}, {'B', 1}, {'C', 1}, {'D', 1}, {'E', 1}, {'F', 1}, {'G', 1}, {'H', 1}, {'I', 1}},
         "CDEFGHI", ""},
        {"every word forbidden but none inherited", NoInheritCheat | GuardiaDozy,
         {{'D', 0}, {'O', 10}, {'Z', 10}, {'Y', 10}}, "DOZY", ""},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        AzzeraCatturaTasti();
        StatoGioco = c.bit;
        for (const Lettera& l : c.lettere) {
            ClockAdvance(l.pausa);
            std::string lettera(1, l.c);
            AggiungiTastoCatturato(lettera);
        }
        EXPECT_EQ(TastiCatturati, c.catturati);
        EXPECT_EQ(TruccoRilevato, c.trucco);
    }
}

TEST_F(CatturaTasti, EachLetterIsLoggedAndAFoundWordStopsTheCapture) {
    StatoGioco = GuardiaGuns;
    for (char c : std::string("GUX")) {
        std::string lettera(1, c);
        AggiungiTastoCatturato(lettera);
    }
    EXPECT_EQ(TastiCatturati, "GU");
    EXPECT_EQ(VolteRigaLog("Last captured keys by guardian: \"G\""), 1u);
    EXPECT_EQ(VolteRigaLog("Last captured keys by guardian: \"GU\""), 1u);
    EXPECT_EQ(VolteRigaLog("Detected cheat 'GUNS' (Fast control for inventory)"), 1u);
}

TEST_F(CatturaTasti, TheFilterTakesOnlyLettersWhileNothingCoversTheGame) {
    struct Caso {
        const char* nome;
        uint32_t messaggio, tasto;
        int32_t splash, media;
        bool logger;
        LoggerFase fasi;
        const char* trucco;
        bool preso;
    };
    const LoggerFase nessuna{};
    const std::vector<Caso> casi{
        {"a letter down", WM_KEYDOWN, 'D', -1, -1, false, nessuna, "", true},
        {"first letter", WM_KEYDOWN, 'A', -1, -1, false, nessuna, "", true},
        {"last letter", WM_KEYDOWN, 'Z', -1, -1, false, nessuna, "", true},
        {"before A", WM_KEYDOWN, '@', -1, -1, false, nessuna, "", false},
        {"after Z", WM_KEYDOWN, '[', -1, -1, false, nessuna, "", false},
        {"a digit", WM_KEYDOWN, '1', -1, -1, false, nessuna, "", false},
        {"a letter up", WM_KEYUP, 'D', -1, -1, false, nessuna, "", false},
        {"with Alt", WM_SYSKEYDOWN, 'D', -1, -1, false, nessuna, "", false},
        {"splash open", WM_KEYDOWN, 'D', 0x1234, -1, false, nessuna, "", false},
        {"media window open", WM_KEYDOWN, 'D', -1, 0x1234, false, nessuna, "", false},
        {"no window yet (0)", WM_KEYDOWN, 'D', 0, 0, false, nessuna, "", true},
        {"logger: inventory", WM_KEYDOWN, 'D', -1, -1, true, LoggerFase::Inventory, "", false},
        {"logger: game hung", WM_KEYDOWN, 'D', -1, -1, true, LoggerFase::HangGame, "", false},
        {"logger: loading", WM_KEYDOWN, 'D', -1, -1, true, LoggerFase::LoadingLevel, "", true},
        {"inventory, logger not in use", WM_KEYDOWN, 'D', -1, -1, false, LoggerFase::Inventory, "", true},
        {"a word found waits", WM_KEYDOWN, 'D', -1, -1, false, nessuna, "GUNS", false},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        AzzeraCatturaTasti();
        TruccoRilevato = c.trucco;
        StatoGioco = c.logger ? FlagLoggerInUso : 0;
        StrutturaLogger.Fasi = c.fasi;
        FinestraSplash = c.splash;
        FinestraMediaTitoli = c.media;
        EXPECT_EQ(CatturaTastoHook(c.messaggio, c.tasto), c.preso);
        EXPECT_EQ(TastiCatturati, c.preso ? std::string(1, static_cast<char>(c.tasto)) : std::string());
    }
}

TEST_F(CatturaTasti, TheJournalHookTakesKeyDownsUntilTheSystemPausesIt) {
    auto evento = [](UINT messaggio, UINT vk) {
        EVENTMSG e{};
        e.message = messaggio;
        e.paramL = vk | (0x20 << 8);  // the scan code rides above the key
        return e;
    };
    EVENTMSG d = evento(WM_KEYDOWN, 'D');
    EXPECT_EQ(HookJournalProc(HC_ACTION, 0, reinterpret_cast<intptr_t>(&d)), 0);
    EVENTMSG su = evento(WM_KEYUP, 'O');
    EXPECT_EQ(HookJournalProc(HC_ACTION, 0, reinterpret_cast<intptr_t>(&su)), 0);
    EXPECT_EQ(TastiCatturati, "D");
    EXPECT_EQ(HookJournalProc(HC_SYSMODALON, 0, 0), 0);
    EXPECT_TRUE(JournalSospeso);
    EVENTMSG o = evento(WM_KEYDOWN, 'O');
    EXPECT_EQ(HookJournalProc(HC_ACTION, 0, reinterpret_cast<intptr_t>(&o)), 0);
    EXPECT_EQ(TastiCatturati, "D");
    EXPECT_EQ(HookJournalProc(HC_SYSMODALOFF, 0, 0), 0);
    EXPECT_FALSE(JournalSospeso);
    EXPECT_EQ(HookJournalProc(HC_ACTION, 0, reinterpret_cast<intptr_t>(&o)), 0);
    EXPECT_EQ(TastiCatturati, "DO");
}

// Keys through the system's input, then the thread waits for messages as
// the main window's does. A hook of the test's own counts each key once the
// rest of the chain, the guardian's hook too, has seen it.
class HookReale : public CatturaTasti {
protected:
    void SetUp() override {
        CatturaTasti::SetUp();
        sistema_ = SistemaNT;
        SistemaNT = true;
        Visti = 0;
        Obiettivo = 0;
        Raggiunto = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        spia_ = SetWindowsHookExA(WH_KEYBOARD_LL, Spia, GetModuleHandleA(nullptr), 0);
        ASSERT_NE(spia_, nullptr);
    }
    void TearDown() override {
        if (Thread) {
            // A sender still held by a hook that never answered goes with it.
            if (spia_) UnhookWindowsHookEx(spia_);
            spia_ = nullptr;
            RimuoviHookTastiera();
            WaitForSingleObject(Thread, 20000);
            CloseHandle(Thread);
            Thread = nullptr;
        }
        if (spia_) UnhookWindowsHookEx(spia_);
        CatturaTasti::TearDown();
        CloseHandle(Raggiunto);
        Raggiunto = nullptr;
        SistemaNT = sistema_;
    }
    static LRESULT CALLBACK Spia(int codice, WPARAM wp, LPARAM lp) {
        const LRESULT r = CallNextHookEx(nullptr, codice, wp, lp);
        if (codice == HC_ACTION && ++Visti == Obiettivo) SetEvent(Raggiunto);
        return r;
    }
    using Invio = void (*)(WORD vk, bool giu);
    static void DelGiocatore(WORD vk, bool giu) { tasti::Tasto(vk, giu); }
    // As the key macros send them.
    static void DelProgramma(WORD vk, bool giu) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, 0));
        in.ki.dwFlags = giu ? 0 : KEYEVENTF_KEYUP;
        ChiamateDriverTastiDiSistema().InviaInput(in);
    }
    // Down and up of each letter, sent by a thread of their own as the
    // player's come from elsewhere (keys sent by the hook's own thread are
    // handed to the hook while they are sent); the number the chain will
    // have seen.
    static int Invia(const std::string& lettere, Invio invio = DelGiocatore) {
        // The system passes over the hooks of a thread that has asked for no
        // message for a while (5 s under Wine) and never gives it those
        // keys: the thread asks once before they go.
        MSG m;
        PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE);
        Obiettivo = Visti + 2 * static_cast<int>(lettere.size());
        ResetEvent(Raggiunto);
        Mittente = {lettere, invio};
        if (Thread) CloseHandle(Thread);
        Thread = CreateThread(nullptr, 0, Manda, nullptr, 0, nullptr);
        return Obiettivo;
    }
    static DWORD WINAPI Manda(void*) {
        for (char c : Mittente.first) {
            Mittente.second(static_cast<WORD>(c), true);
            Mittente.second(static_cast<WORD>(c), false);
        }
        return 0;
    }
    // Waits until the chain has seen them; the bound only keeps a broken
    // hook from hanging the test.
    static bool Attendi(int attesi, void (*attesa)()) {
        const DWORD inizio = GetTickCount();
        while (Visti < attesi && GetTickCount() - inizio < 20000) attesa();
        return Visti >= attesi;
    }
    static void Pompa() {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    }
    static bool Scrivi(const std::string& lettere, Invio invio = DelGiocatore) {
        return Attendi(Invia(lettere, invio), Pompa);
    }
    static inline int Visti = 0;
    static inline int Obiettivo = 0;
    static inline HANDLE Raggiunto = nullptr;
    static inline std::pair<std::string, Invio> Mittente;
    static inline HANDLE Thread = nullptr;
    HHOOK spia_ = nullptr;
    bool sistema_ = false;
};

TEST_F(HookReale, KeysSentReachTheCapture) {
    StatoGioco = GuardiaDozy;
    ASSERT_TRUE(InstallaHookTastiera());
    EXPECT_TRUE(HaBit(StatoGioco, HookTastieraAttivo));
    EXPECT_TRUE(InstallaHookTastiera());
    EXPECT_EQ(VolteRigaLog("Created keyboard hook"), 1u);
    ASSERT_TRUE(Scrivi("DOZY"));
    EXPECT_EQ(TastiCatturati, "DOZY");
    EXPECT_EQ(TruccoRilevato, "DOZY");
    RimuoviHookTastiera();
    EXPECT_FALSE(HaBit(StatoGioco, HookTastieraAttivo));
    EXPECT_EQ(TastiCatturati, "");
    EXPECT_EQ(VolteRigaLog("Removed keyboard hook"), 1u);
}

TEST_F(HookReale, ASuspendedHookTakesNothingUntilRestored) {
    ASSERT_TRUE(InstallaHookTastiera());
    SospendiHookTastiera();
    EXPECT_TRUE(HaBit(StatoGioco, HookSospeso));
    EXPECT_FALSE(HaBit(StatoGioco, HookTastieraAttivo));
    ASSERT_TRUE(Scrivi("AB"));
    EXPECT_EQ(TastiCatturati, "");
    RipristinaHookTastiera();
    EXPECT_FALSE(HaBit(StatoGioco, HookSospeso));
    EXPECT_TRUE(HaBit(StatoGioco, HookTastieraAttivo));
    ASSERT_TRUE(Scrivi("C"));
    EXPECT_EQ(TastiCatturati, "C");
    EXPECT_EQ(VolteRigaLog("Suspend keyboard hook"), 1u);
    EXPECT_EQ(VolteRigaLog("Restore keyboard hook"), 1u);
}

TEST_F(HookReale, AHookRemovedWhileSuspendedIsNotRestored) {
    ASSERT_TRUE(InstallaHookTastiera());
    SospendiHookTastiera();
    RimuoviHookTastiera();
    EXPECT_FALSE(HaBit(StatoGioco, HookSospeso));
    RipristinaHookTastiera();
    EXPECT_EQ(HandleHookTastiera, nullptr);
    EXPECT_FALSE(HaBit(StatoGioco, HookTastieraAttivo));
    EXPECT_EQ(VolteRigaLog("Restore keyboard hook"), 0u);
}

TEST_F(HookReale, TheHookTakesNothingWhileTheGameShowsItsInventory) {
    ASSERT_TRUE(InstallaHookTastiera());
    StatoGioco |= FlagLoggerInUso;
    StrutturaLogger.Fasi = LoggerFase::Inventory;
    ASSERT_TRUE(Scrivi("AB"));
    EXPECT_EQ(TastiCatturati, "");
    StrutturaLogger.Fasi = LoggerFase{};
    ASSERT_TRUE(Scrivi("C"));
    EXPECT_EQ(TastiCatturati, "C");
}

TEST_F(HookReale, KeysSentAfterTheThreadLongAskedForNoMessageReachTheCapture) {
    ASSERT_TRUE(InstallaHookTastiera());
    // As the tests before this one may keep the thread from messages.
    Sleep(5500);
    ASSERT_TRUE(Scrivi("AB"));
    EXPECT_EQ(TastiCatturati, "AB");
}

TEST_F(HookReale, TheProgramsOwnKeysAreNoLettersThePlayerTyped) {
    StatoGioco = GuardiaDozy;
    ASSERT_TRUE(InstallaHookTastiera());
    ASSERT_TRUE(Scrivi("DOZY", DelProgramma));
    EXPECT_EQ(TastiCatturati, "");
    EXPECT_EQ(TruccoRilevato, "");
    // The player's keys, injected by the test all the same, still count.
    ASSERT_TRUE(Scrivi("DOZY"));
    EXPECT_EQ(TastiCatturati, "DOZY");
    EXPECT_EQ(TruccoRilevato, "DOZY");
}

// The program's waits answer the hook while it is installed, so that the
// player's keys reach the game and the guardian meanwhile.
TEST_F(HookReale, ThePlayersKeysReachTheCaptureWhileTheProgramWaits) {
    ClockUseManual(false);
    struct Caso {
        const char* nome;
        const char* lettere;
        bool (*attendi)(int attesi);
    };
    const std::vector<Caso> casi{
        {"the clock's sleep", "AB", [](int attesi) { return Attendi(attesi, [] { ClockSleep(50); }); }},
        {"a wait for a handle", "CD", [](int) { return ClockAttendiOggetto(Raggiunto, 20000); }},
        {"a wait for the time alone", "EF", [](int attesi) {
             return Attendi(attesi, [] { ClockAttendiOggetto(nullptr, 50); });
         }},
    };
    ASSERT_TRUE(InstallaHookTastiera());
    EXPECT_TRUE(ClockServeMessaggi());
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        EXPECT_TRUE(c.attendi(Invia(c.lettere)));
        EXPECT_EQ(TastiCatturati, c.lettere);
        TastiCatturati.clear();
    }
    SospendiHookTastiera();
    EXPECT_FALSE(ClockServeMessaggi());
    RipristinaHookTastiera();
    EXPECT_TRUE(ClockServeMessaggi());
    RimuoviHookTastiera();
    EXPECT_FALSE(ClockServeMessaggi());
}

}  // namespace
