// The movie window under Wine: small AVI movies of our own play full screen
// through the platform's MCI, watched by sampling the screen's centre while
// the window runs modally.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "gamerun/MediaDispatcher.h"
#include "media/MovieWindow.h"
#include "tests/media/MediaWindowFixture.h"
#include "tests/media/MovieFiles.h"
#include "tests/support/TestProcesses.h"

namespace {

constexpr COLORREF Rosso = RGB(255, 0, 0);
constexpr COLORREF Blu = RGB(0, 0, 255);

// 'R' and 'B' for the movie's two colours, each run of equal samples once.
class Campionatore {
public:
    // <escape> presses Escape once the first red frame is on screen.
    explicit Campionatore(bool escape = false) : escape_(escape), thread_([this] { Esegui(); }) {}
    ~Campionatore() {
        fine_ = true;
        thread_.join();
    }
    std::string Sequenza() {
        std::lock_guard<std::mutex> l(m_);
        return sequenza_;
    }

private:
    void Esegui() {
        const int x = GetSystemMetrics(SM_CXSCREEN) / 2, y = GetSystemMetrics(SM_CYSCREEN) / 2;
        bool premuto = false;
        while (!fine_) {
            HDC dc = GetDC(nullptr);
            const COLORREF c = GetPixel(dc, x, y);
            ReleaseDC(nullptr, dc);
            const char k = c == Rosso ? 'R' : c == Blu ? 'B' : 0;
            if (k) {
                std::lock_guard<std::mutex> l(m_);
                if (sequenza_.empty() || sequenza_.back() != k) sequenza_ += k;
            }
            if (escape_ && !premuto && k == 'R') {
                premuto = true;
                keybd_event(VK_ESCAPE, 0, 0, 0);
                Sleep(30);
                keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
            }
            Sleep(15);
        }
    }
    bool escape_;
    std::atomic<bool> fine_{false};
    std::mutex m_;
    std::string sequenza_;
    std::thread thread_;
};

// Runs <azione> on the test's own thread, inside the window's modal loop,
// every <ms> until it returns false.
class Ripetuto {
public:
    Ripetuto(UINT ms, std::function<bool()> azione) {
        corrente = std::move(azione);
        id_ = SetTimer(nullptr, 0, ms, Scatta);
    }
    ~Ripetuto() {
        KillTimer(nullptr, id_);
        corrente = nullptr;
    }

private:
    static void CALLBACK Scatta(HWND, UINT, UINT_PTR id, DWORD) {
        if (corrente && !corrente()) {
            KillTimer(nullptr, id);
            corrente = nullptr;
        }
    }
    static inline std::function<bool()> corrente;
    UINT_PTR id_;
};

// The player's own window cannot be made while this lives.
class SenzaFinestraPlayer {
public:
    SenzaFinestraPlayer() : gancio_(SetWindowsHookExA(WH_CBT, Gancio, nullptr, GetCurrentThreadId())) {}
    ~SenzaFinestraPlayer() { UnhookWindowsHookEx(gancio_); }
    bool Pronto() const { return gancio_ != nullptr; }

private:
    static LRESULT CALLBACK Gancio(int codice, WPARAM wp, LPARAM lp) {
        char classe[64] = {};
        if (codice == HCBT_CREATEWND && GetClassNameA(reinterpret_cast<HWND>(wp), classe, sizeof classe) &&
            std::string(classe) == "LudovaneMoviePlayer")
            return 1;
        return CallNextHookEx(nullptr, codice, wp, lp);
    }
    HHOOK gancio_;
};

HWND FinestraPlayer() { return FindWindowExA(DialogMovie().hWnd(), nullptr, "LudovaneMoviePlayer", nullptr); }

class FinestraFilmato : public ProvaFinestraMedia {
protected:
    void SetUp() override {
        ProvaFinestraMedia::SetUp();
        MediaCorrente.TypeFlags = BitMovie;
        MediaCorrente.MediaCode = 7;
    }
    // The movie written into the store folder and named by the media.
    std::string Poni(const std::string& nome, const std::string& byte) {
        const std::string percorso = store / nome;
        EXPECT_TRUE(ScriviFileProva(percorso, byte));
        MediaCorrente.MediaFile = percorso;
        return percorso;
    }
    // As the dispatcher shows a movie.
    static bool Mostra() {
        Dialog_Movie& f = DialogMovie();
        if (f.ImpostaValori(false, false)) f.MostraModale();
        return f.Risultato;
    }
};

TEST_F(FinestraFilmato, TheMoviePlaysFullScreenToItsEnd) {
    Poni("clip.avi", filmati::AviDueColori(Rosso, Blu, 0.5));
    Campionatore c;
    EXPECT_TRUE(Mostra());
    EXPECT_EQ(c.Sequenza(), "RB");
    EXPECT_FALSE(DialogMovie().AbortEscape);
    EXPECT_FALSE(DialogMovie().Loaded());
    EXPECT_TRUE(HaRiga("Resize Media Player screen (" + std::to_string(GetSystemMetrics(SM_CXSCREEN)) + " X " +
                       std::to_string(GetSystemMetrics(SM_CYSCREEN)) + ")"));
}

TEST_F(FinestraFilmato, EscapeEndsTheMovieOnlyWhenTheMediaAllowsIt) {
    const struct {
        int32_t opzioni;
        const char* sequenza;
        bool abort;
    } casi[] = {{EscapeBreaks, "R", true}, {0, "RB", false}};
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.opzioni);
        Poni("clip.avi", filmati::AviDueColori(Rosso, Blu, 1.0));
        MediaCorrente.Options = caso.opzioni;
        Campionatore c(true);
        EXPECT_TRUE(Mostra());
        EXPECT_EQ(c.Sequenza(), caso.sequenza);
        EXPECT_EQ(DialogMovie().AbortEscape, caso.abort);
    }
}

TEST_F(FinestraFilmato, RepeatPlaysTheMovieThatManyTimes) {
    const struct {
        int32_t repeat;
        const char* sequenza;
    } casi[] = {{0, "RB"}, {1, "RB"}, {3, "RBRBRB"}};
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.repeat);
        Poni("clip.avi", filmati::AviDueColori(Rosso, Blu, 0.3));
        MediaCorrente.Repeat = caso.repeat;
        Campionatore c;
        EXPECT_TRUE(Mostra());
        // The last frame stays only until the window closes, which a busy
        // sampler may not see: each play's red counts, and every blue
        // between two plays.
        const std::string visto = c.Sequenza();
        EXPECT_TRUE(visto == caso.sequenza || visto + "B" == caso.sequenza) << visto;
    }
}

TEST_F(FinestraFilmato, WaitAfterMovieHoldsTheEndForItsSeconds) {
    for (const bool attesa : {true, false}) {
        SCOPED_TRACE(attesa);
        Poni("clip.avi", filmati::AviDueColori(Rosso, Blu, 0.2));
        MediaCorrente.Options = attesa ? WaitAfterMovie : 0;
        MediaCorrente.EndWait = 7;
        const uint32_t prima = ClockTick();
        EXPECT_TRUE(Mostra());
        EXPECT_EQ(ClockTick() - prima >= 7000, attesa);
    }
}

TEST_F(FinestraFilmato, TheWatchdogLimitCountsEveryPlayAsked) {
    const struct {
        double durata;
        int32_t volte;
        int32_t limite;
    } casi[] = {{10.4, 1, 15},          {3, 1, 4},         {3, 0, 4},
                {10.4, 3, 45},          {2, 2, 6},         {0.4, 1, 0},
                // Past 32 bits the movie is never cut.
                {10.4, INT32_MAX, INT32_MAX}, {2, 715827883, INT32_MAX}, {1e12, 1, INT32_MAX}};
    for (const auto& c : casi) {
        SCOPED_TRACE(std::to_string(c.durata) + " x " + std::to_string(c.volte));
        EXPECT_EQ(Dialog_Movie::LimiteWatchdog(c.durata, c.volte), c.limite);
    }
}

TEST_F(FinestraFilmato, AStalledMovieIsClosedByTheWatchdogAsAFailure) {
    Poni("clip.avi", filmati::AviDueColori(Rosso, Blu, 2.0));
    // The program's clock jumps past the limit while the movie plays.
    Ripetuto salto(200, [] {
        ClockAdvance(10000);
        return false;
    });
    EXPECT_FALSE(Mostra());
    EXPECT_FALSE(DialogMovie().Loaded());
}

// The player has no window of its own to show the movie in: neither a
// length nor an end comes, and no key reaches it, so Escape cannot help.
TEST_F(FinestraFilmato, APlayerThatTellsNoLengthIsClosedAsAFailure) {
    for (const int32_t opzioni : std::initializer_list<int32_t>{0, EscapeBreaks}) {
        SCOPED_TRACE(opzioni);
        AzzeraLog();
        Poni("clip.avi", filmati::AviDueColori(Rosso, Blu, 2.0));
        MediaCorrente.Options = opzioni;
        SenzaFinestraPlayer senza;
        ASSERT_TRUE(senza.Pronto());
        // The program's clock runs fast; a window that never closes by
        // itself is closed from outside, so that the test ends.
        bool chiusaDaFuori = false;
        int passi = 0;
        Ripetuto salto(100, [&] {
            ClockAdvance(5000);
            if (++passi < 200) return true;
            chiusaDaFuori = true;
            PostMessageA(DialogMovie().hWnd(), WM_CLOSE, 0, 0);
            return false;
        });
        EXPECT_FALSE(Mostra());
        EXPECT_FALSE(chiusaDaFuori);
        EXPECT_FALSE(DialogMovie().Loaded());
        EXPECT_TRUE(HaRiga("Error: the media player has told no length of the movie in 15 seconds: " +
                           MediaCorrente.MediaFile));
    }
}

// On the program's clock: the system's player draws every frame however
// late, so on a slow machine a movie plays longer than its length in real
// time.
TEST_F(FinestraFilmato, ARepeatedMovieIsNotCutShortByOnePlaysLimit) {
    // One second a play: one play's limit is 2 s, three plays' 4 s.
    Poni("clip.avi", filmati::AviDueColori(Rosso, Blu, 0.5));
    MediaCorrente.Repeat = 3;
    // Once the window shows, the clock stands at 3 s for the rest of the plays.
    Ripetuto salto(50, [] {
        if (!DialogMovie().Loaded() || !IsWindowVisible(DialogMovie().hWnd())) return true;
        ClockAdvance(3000);
        return false;
    });
    Campionatore c;
    EXPECT_TRUE(Mostra());
    EXPECT_EQ(c.Sequenza(), "RBRBRB");
}

TEST_F(FinestraFilmato, APausedMoviePlaysOnAtOnce) {
    Poni("clip.avi", filmati::AviDueColori(Rosso, Blu, 0.5));
    int32_t statoDopo = -1;
    int passi = 0;
    Ripetuto pausa(150, [&] {
        MediaPlayer& p = DialogMovie().MediaPlayer1;
        if (passi++ == 0) {
            p.Pause();
            return true;
        }
        statoDopo = p.PlayState();
        return false;
    });
    Campionatore c;
    EXPECT_TRUE(Mostra());
    EXPECT_EQ(statoDopo, MediaPlayer::InRiproduzione);
    EXPECT_EQ(c.Sequenza(), "RB");
}

TEST_F(FinestraFilmato, OnlyACloseFromOutsideEndsTheMovieAndItIsAFailure) {
    Poni("clip.avi", filmati::AviDueColori(Rosso, Blu, 1.5));
    // The result of an earlier movie must not be reported for this one.
    DialogMovie().Risultato = true;
    bool visibileDopoMenu = false;
    int passi = 0;
    Ripetuto chiusure(200, [&] {
        HWND h = DialogMovie().hWnd();
        if (passi++ == 0) {
            SendMessageA(h, WM_SYSCOMMAND, SC_CLOSE, 0);
            visibileDopoMenu = IsWindow(h) && IsWindowVisible(h);
            return true;
        }
        PostMessageA(h, WM_CLOSE, 0, 0);
        return false;
    });
    EXPECT_FALSE(Mostra());
    EXPECT_TRUE(visibileDopoMenu);
    EXPECT_TRUE(HaRiga("Required to close program from task manager"));
    EXPECT_EQ(FinestraPlayer(), nullptr);
}

TEST_F(FinestraFilmato, AMissingOrDamagedMovieFailsTheMedia) {
    const struct {
        const char* nome;
        const char* contenuto;
        const char* riga;
    } casi[] = {{"missing.avi", nullptr, "ERROR: Not found file: "},
                {"damaged.avi", "RIFF\x10\x00\x00\x00" "AVI LIST not a movie", nullptr}};
    for (const auto& c : casi) {
        SCOPED_TRACE(c.nome);
        AzzeraLog();
        if (c.contenuto)
            Poni(c.nome, c.contenuto);
        else
            MediaCorrente.MediaFile = store / c.nome;
        bool escape = true, errore = false;
        EXPECT_FALSE(ShowMedia(escape, errore));
        EXPECT_TRUE(errore);
        EXPECT_FALSE(escape);
        EXPECT_TRUE(HaRiga("ERROR: loading movie: " + MediaCorrente.MediaFile));
        if (c.riga) {
            EXPECT_TRUE(HaRigaCheInizia(c.riga));
        }
        EXPECT_FALSE(DialogMovie().Loaded());
    }
}

TEST_F(FinestraFilmato, VerifyModeOpensTheMovieUnseenAfterTheDownloadMessage) {
    const struct {
        const char* nome;
        std::string contenuto;
        bool risultato;
    } casi[] = {{"good.avi", filmati::AviDueColori(Rosso, Blu, 1.0), true},
                {"bad.avi", std::string("RIFF\x10\x00\x00\x00" "AVI LIST not a movie", 28), false}};
    for (const auto& c : casi) {
        SCOPED_TRACE(c.nome);
        AzzeraLog();
        const std::string percorso = Poni(c.nome, c.contenuto);
        Dialog_Movie& f = DialogMovie();
        f.MessaggioDownload.clear();
        f.DurataFilmato = -1;
        {
            Osservatore osservatore(store.Percorso(), "OK", 1, GetCurrentProcessId(), 20000);
            EXPECT_TRUE(f.ImpostaValori(true, false));
            const std::vector<BoxRegistrato> boxes = osservatore.Boxes();
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].testo,
                      "Please open your internet connection NOW\r\nIt's necessary download a codec for current movie\r\n"
                      "WARNING: Click [OK] button in this window ONLY after you opened internet connection");
        }
        EXPECT_EQ(f.Risultato, c.risultato);
        EXPECT_FALSE(f.Loaded());
        EXPECT_TRUE(HaRiga("Verify video codec for movie: " + percorso));
        EXPECT_TRUE(HaRiga("Try automatic download with media player ocx"));
        EXPECT_EQ(HaRiga("Codec video ok"), c.risultato);
        if (c.risultato) {
            EXPECT_NEAR(f.DurataFilmato, 2.0, 0.15);
        } else {
            EXPECT_TRUE(HaRigaCheInizia("Error: missing video codec. Error from MediaPlayer.OCX: "));
        }
    }
}

}  // namespace
