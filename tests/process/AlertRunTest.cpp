// Alerts in whole runs with the game stand-in: the cover window over a
// windowed game ended by a break CD, an alert that the player's save and
// later load carry across, and the text drawn over a full-screen game.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "core/ImageLoading.h"
#include "core/MediaConfig.h"
#include "core/MediaTrigger.h"
#include "tests/process/GameRunFolder.h"

namespace {

constexpr int32_t LogForzato = 0x8;
constexpr COLORREF Blu = RGB(0, 0, 255);

// Where the alert draws: per mille of the game's window, which covers the screen.
constexpr int32_t Sinistra = 100, Alto = 100, Destra = 900, Basso = 500;

const std::string AvvioLivello =
    "levels title.tr4 level1.tr4\nboot 1024 768\nload title.tr4 300\ncd 97\nwait 600\nload level1.tr4 300\n"
    "level 1\ncd 3\nwait 1000\n";

// An alert on track 5 with a blue background, white text, and an action
// media (which only logs) for each of its ends.
std::string TriggerAlert(int32_t flag, int32_t durata, const std::string& altro = "", int32_t opzioni = 0) {
    return "[Trigger]\r\nTypeFlags=0x8000000\r\nMediaCode=30\r\nTriggerCd=5\r\nLevel=1\r\nOptions=" +
           std::to_string(opzioni) + "\r\nDuration=" +
           std::to_string(durata) + "\r\nColor=16777215\r\nCharRow=29\r\nBoundRect=" + std::to_string(Sinistra) + ":" +
           std::to_string(Alto) + ":" + std::to_string(Destra) + ":" + std::to_string(Basso) + "\r\n" +
           "Text=<TEXT>ALERT<END_TEXT>\r\nSyntax=<ALERT>\\r\\n#REFRESH#=20\\r\\n#FLAGS#=" + std::to_string(flag) +
           "\\r\\n" + altro + "#BACK_COLOR#=16711680\\r\\n#STOP_PERFORM#=41\\r\\n#END_PERFORM#=42\\r\\n<END_ALERT>\\r\\n\r\n"
           "[Trigger]\r\nTypeFlags=0x1000\r\nMediaCode=41\r\n"
           "[Trigger]\r\nTypeFlags=0x1000\r\nMediaCode=42\r\n";
}

// Counts, while a run goes on, the reads of the screen that show the
// alert's blue. Each time the blue has stayed for <letture>
// reads in a row since it last was missing, it sets the auto-reset event
// <evento>, which the game's script waits for: the game goes on only once
// the test has seen what it checks, however slowly the machine runs.
class OsservatoreBlu {
public:
    OsservatoreBlu(const std::string& evento, int32_t letture)
        : evento_(CreateEventA(nullptr, FALSE, FALSE, evento.c_str())), filo_([this, letture] {
              CopiaSchermo copia;
              const int32_t w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
              // Only the start of the alert's first line, which its text
              // covers: a read of the whole screen is slow enough, emulated
              // on a busy machine, to miss a short alert, and it takes the
              // time the game and the logger need to start.
              const int32_t x0 = w * Sinistra / 1000, y0 = h * Alto / 1000;
              const int32_t larghezza = w * 15 / 100, altezza = h * 5 / 100;
              int32_t diFila = 0;
              while (!finito_) {
                  if (LeggiSchermo(copia, x0, y0, larghezza, altezza)) {
                      int32_t blu = 0;
                      for (int32_t y = 0; y < altezza; y += 8)
                          for (int32_t x = 0; x < larghezza; x += 8)
                              if (PixelCopia(copia, x, y) == Blu) ++blu;
                      if (blu > 20) {
                          ++conBlu_;
                          if (++diFila == letture && evento_) SetEvent(evento_);
                      } else {
                          diFila = 0;
                      }
                  }
                  Sleep(100);
              }
              LiberaDibMemoria(copia.dib);
          }) {}
    ~OsservatoreBlu() {
        Ferma();
        if (evento_) CloseHandle(evento_);
    }
    void Ferma() {
        finito_ = true;
        if (filo_.joinable()) filo_.join();
    }
    int32_t ConBlu() const { return conBlu_; }

private:
    HANDLE evento_;
    std::atomic<bool> finito_{false};
    std::atomic<int32_t> conBlu_{0};
    std::thread filo_;
};

// The name of the event of this test's observer, for the game's script.
std::string EventoAlert() { return "AlertRunBlu" + std::to_string(GetCurrentProcessId()); }
// The script line that waits for it; the bound only keeps a run whose alert
// never shows from hanging, and the test then fails on what it saw.
std::string AttendiAlert() { return "waitevent " + EventoAlert() + " 60000\n"; }

class AlertRun : public CartellaRun {
protected:
    void Prepara(bool condiviso, const std::string& trigger, const std::string& script) {
        OpzioniCartellaGioco o;
        o.condiviso = condiviso;
        o.altreOpzioni = LogForzato;
        o.tracce = {5, 8};
        o.trigger = trigger;
        o.scriptGioco = script;
        ASSERT_TRUE(Costruisci(o));
    }
    int32_t Conta(const std::string& riga) const {
        int32_t n = 0;
        for (const std::string& r : Righe())
            if (r == riga) ++n;
        return n;
    }
    // The number after <inizio> in the first line that starts with it; -1.
    int32_t NumeroDopo(const std::string& inizio) const {
        for (const std::string& r : Righe())
            if (r.rfind(inizio, 0) == 0) return std::atoi(r.c_str() + inizio.size());
        return -1;
    }
};

TEST_F(AlertRun, TheCoverShowsTheAlertOverAWindowedGameUntilTheBreakCdStarts) {
    // The break CD starts once the test has seen the cover.
    OsservatoreBlu osservatore(EventoAlert(), 4);
    Prepara(true, TriggerAlert(0x20 | 0x200, 30, "#CD_BREAK#=8\\r\\n"),
            AvvioLivello + "cd 5\n" + AttendiAlert() + "cd 8\nwait 1500\ntitle after the alert\nwait 500\nquit\n");
    EXPECT_EQ(Run(), 0);
    osservatore.Ferma();
    EXPECT_GT(osservatore.ConBlu(), 3) << Log();
    EXPECT_TRUE(HaRiga("Perform Alert Media"));
    EXPECT_TRUE(HaRiga("Operation: simple text: \"ALERT\""));
    EXPECT_TRUE(HaRiga("Detected start of 'break cd' 8 break media alert"));
    EXPECT_TRUE(HaRiga("Exit with value = True for: Alert was interrupted by end cd sound trigger"));
    EXPECT_TRUE(HaRiga("Required to perform media code=41"));
    EXPECT_TRUE(HaRiga("ShowMedia() for media code = 41"));
    EXPECT_EQ(Conta("ShowMedia() for media code = 42"), 0);
    EXPECT_FALSE(HaRigaCheInizia("ERROR"));
    EXPECT_TRUE(GiocoHaScritto("title after the alert")) << LogGioco();
    VerificaRipristino("break cd");
}

TEST_F(AlertRun, AnAlertSavedWithTheGameResumesWhenThePlayerLoadsItAndLeavesNothingBehind) {
    // An alert that lasts while its track sounds: 3.5 s after the test sees
    // it, the player saves from the save screen; 2 s later loads that
    // savegame, and the level's track 5 starts again. The game plays on
    // after that only once the test sees the alert back.
    const std::string salva = "press f5 100\nwait 300\npress enter 100\nwait 200\npress enter 100\nwait 1500\n";
    const std::string carica = "press f6 100\nwait 300\npress enter 100\nwait 200\npress enter 100\nwait 200\n";
    OsservatoreBlu osservatore(EventoAlert(), 1);
    Prepara(true, TriggerAlert(0x20, 12, "", WhileCdSounds),
            AvvioLivello + "cd 5\n" + AttendiAlert() + "wait 3500\n" + salva + "wait 2000\n" + carica + "cd 5\n" +
                AttendiAlert() + "wait 12000\ntitle after the alert\nwait 500\nquit\n");
    EXPECT_EQ(Run(), 0);
    osservatore.Ferma();
    const std::string log = Log();
    EXPECT_TRUE(GiocoHaScritto("title after the alert")) << LogGioco();
    // While its track sounds on, the alert may start again after its end.
    EXPECT_GE(Conta("Perform Alert Media"), 2) << log;
    // The time shown when the player entered the save screen, kept in the
    // trigger, resumes the alert started again by the loaded level's track.
    EXPECT_TRUE(HaRiga("Current trigger cd was in progress and previous suspended: set 'Suspended' flag")) << log;
    const int32_t salvato = NumeroDopo("Current Alert media was suspended: correct start time with old elapsed time: ");
    EXPECT_GE(salvato, 2500) << log;
    EXPECT_LE(salvato, 6000);
    EXPECT_TRUE(HaRiga("Exit with value = False for: Abort on loading new game or title phase"));
    EXPECT_TRUE(HaRiga("Exit with value = True for: Time is complete"));
    EXPECT_GE(Conta("ShowMedia() for media code = 42"), 1);

    // The configuration saved at the end holds the trigger as the author made it.
    ASSERT_TRUE(CaricaMediaMcf(trle / "media.mcf"));
    const int32_t i = IndiceMediaDaCodice(30);
    ASSERT_GE(i, 0);
    EXPECT_EQ(ListaMedia[static_cast<size_t>(i)].Syntax.find("SUSPENDED"), std::string::npos);
    EXPECT_FALSE(HaBit(ListaMedia[static_cast<size_t>(i)].Options, Suspended));
    VerificaRipristino("save and load");
}

TEST_F(AlertRun, TheTextIsDrawnOverAFullScreenGame) {
    // The game plays on once the test has seen the text, for longer than
    // the alert's 3 s.
    OsservatoreBlu osservatore(EventoAlert(), 4);
    Prepara(false, TriggerAlert(0, 3),
            AvvioLivello + "cd 5\n" + AttendiAlert() + "wait 5000\ntitle after the alert\nwait 500\nquit\n");
    EXPECT_EQ(Run(), 0);
    osservatore.Ferma();
    EXPECT_GT(osservatore.ConBlu(), 3) << Log();
    EXPECT_TRUE(HaRiga("Exit with value = True for: Time is complete"));
    EXPECT_TRUE(HaRiga("ShowMedia() for media code = 42"));
    EXPECT_FALSE(HaRigaCheInizia("ERROR"));
    VerificaRipristino("full screen");
}

}  // namespace
