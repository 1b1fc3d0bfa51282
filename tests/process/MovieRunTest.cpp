// A movie in a whole run with the game stand-in: the first run verifies it
// unseen and records it in VideoCodec.bin, its CD track plays it full screen
// while the game stands by, and the game goes on afterwards.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/MediaLog.h"
#include "core/MediaPacket.h"
#include "core/MediaTrigger.h"
#include "core/SystemUtils.h"
#include "core/Utf8Text.h"
#include "tests/core/HandBytes.h"
#include "tests/media/MovieFiles.h"
#include "tests/process/GameRunFolder.h"

namespace {

constexpr int32_t LogForzato = 0x8;
constexpr COLORREF Rosso = RGB(255, 0, 0);
constexpr COLORREF Blu = RGB(0, 0, 255);

// The media player control and the Windows Media codec files the start of
// a run asks for, put into the prefix's system folder for the test alone.
class ComponentiFilmati {
public:
    ComponentiFilmati() {
        const std::string sistema = CartellaSpeciale(37);
        const struct {
            const char* nome;
            const char* sorgente;
        } file[] = {{"msdxm.ocx", "MsdxmV7.ocx"},
                    {"wmv8ds32.ax", "CodecV7.ax"},
                    {"msadds32.ax", "CodecV7.ax"},
                    {"wmvds32.ax", "CodecV7.ax"}};
        for (const auto& f : file)
            if (GetFileAttributesA((sistema + "\\" + f.nome).c_str()) != INVALID_FILE_ATTRIBUTES) return;
        for (const auto& f : file) {
            const std::string posto = sistema + "\\" + f.nome;
            if (!CopyFileA((CartellaProgrammi() + "\\" + f.sorgente).c_str(), posto.c_str(), TRUE)) return;
            posti_.push_back(posto);
        }
        pronti_ = true;
    }
    ~ComponentiFilmati() {
        for (const std::string& f : posti_) DeleteFileA(f.c_str());
    }
    ComponentiFilmati(const ComponentiFilmati&) = delete;
    ComponentiFilmati& operator=(const ComponentiFilmati&) = delete;
    // False where the prefix has files of its own: they are never replaced.
    bool Pronti() const { return pronti_; }

private:
    std::vector<std::string> posti_;
    bool pronti_ = false;
};

class MovieRun : public CartellaRun {};

TEST_F(MovieRun, AMovieOnItsTrackPlaysFullScreenWhileTheGameStandsBy) {
    ComponentiFilmati componenti;
    if (!componenti.Pronti()) GTEST_SKIP() << "the prefix has media player or codec files of its own";
    OpzioniCartellaGioco o;
    o.condiviso = true;
    o.altreOpzioni = LogForzato;
    o.tracce = {5};
    // Escape may end it, so no watchdog runs: its limit counts in real time,
    // in which the system's player, drawing every frame however late, falls
    // behind on a busy emulated machine.
    o.trigger = "[Trigger]\r\nTypeFlags=0x4\r\nOptions=0x800\r\nMediaCode=31\r\nTriggerCd=5\r\nLevel=1\r\n"
                "MediaFile=clip.avi\r\n";
    o.scriptGioco = "boot 1024 768\nload title.tr4 300\ncd 97\nwait 600\nload level1.tr4 300\ncd 3\nwait 1000\n"
                    "cd 5\nwait 6000\ntitle after the movie\nwait 500\nquit\n";
    ASSERT_TRUE(Costruisci(o));
    // In the level's packet, so that this is the level's first execution.
    CartellaProva lato{"mvl"};
    ASSERT_TRUE(ScriviFileProva(lato / "clip.avi", filmati::AviDueColori(Rosso, Blu, 1.0)));
    MediaPacketHeader h;
    const std::string mpf = Utf8DaAnsi(trle / "media.mpf");
    ASSERT_TRUE(GestionePacchettoMedia(mpf, CreaPacchetto, "", "", h, false)) << UltimoErrore;
    ASSERT_TRUE(GestionePacchettoMedia(mpf, AggiungiFile, Utf8DaAnsi(lato / "clip.avi"), "", h, false))
        << UltimoErrore;

    // The frames as other programs see the screen.
    std::atomic<bool> finito{false};
    std::mutex m;
    std::string sequenza;
    std::thread osservatore([&] {
        while (!finito) {
            HDC schermo = GetDC(nullptr);
            const COLORREF c = GetPixel(schermo, GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2);
            ReleaseDC(nullptr, schermo);
            const char k = c == Rosso ? 'R' : c == Blu ? 'B' : 0;
            if (k) {
                std::lock_guard<std::mutex> l(m);
                if (sequenza.empty() || sequenza.back() != k) sequenza += k;
            }
            Sleep(20);
        }
    });
    EXPECT_EQ(Run(), 0);
    finito = true;
    osservatore.join();
    EXPECT_EQ(sequenza, "RB");
    const std::string log = Log();
    // The first run: found, verified unseen, recorded.
    EXPECT_TRUE(HaRiga("First execution (found media.mpf file in trle folder)")) << log;
    EXPECT_TRUE(HaRiga("Found movie: clip.avi"));
    EXPECT_TRUE(HaRigaCheInizia("Verify video codec for movie: "));
    EXPECT_TRUE(HaRiga("Codec video ok"));
    EXPECT_EQ(LeggiFileProva(trle / "store\\VideoCodec.bin"),
              mano::I32(1) + "clip.avi" + std::string(72, ' ') + mano::I32(1));
    // Then played on its track while the game stood by.
    EXPECT_TRUE(HaRiga("ShowMedia() for media code = 31"));
    EXPECT_TRUE(HaRiga("Perform media Movie = clip.avi"));
    EXPECT_TRUE(HaRiga("Put in stand-by mode tomb raider process: ok"));
    EXPECT_TRUE(HaRiga("Wake up for tomb raider process"));
    EXPECT_TRUE(HaRiga("Exit from ShowMedia() with value = True  Break with Escape=False  TestError=False")) << log;
    EXPECT_FALSE(HaRigaCheInizia("ERROR")) << log;
    EXPECT_TRUE(GiocoHaScritto("title after the movie")) << LogGioco();
    VerificaRipristino("movie");
}

// The codec check runs only at the level's first execution, which empties
// the store and VideoCodec.bin with it: what the player disabled for good
// must stay disabled in media.mcf.
TEST_F(MovieRun, AMovieDisabledForGoodStaysDisabledInTheNextRun) {
    ComponentiFilmati componenti;
    if (!componenti.Pronti()) GTEST_SKIP() << "the prefix has media player or codec files of its own";
    OpzioniCartellaGioco o;
    o.condiviso = true;
    o.altreOpzioni = LogForzato;
    o.tracce = {5};
    // A movie that came back would fail and, with AbortGameOnFailure, end the game.
    o.trigger = "[Trigger]\r\nTypeFlags=0x4\r\nOptions=0x400000\r\nMediaCode=31\r\nTriggerCd=5\r\nLevel=1\r\n"
                "MediaFile=clip.avi\r\n";
    o.scriptGioco = "boot 1024 768\nload title.tr4 300\ncd 97\nwait 600\nload level1.tr4 300\ncd 3\nwait 1000\n"
                    "cd 5\nwait 3000\ntitle after the track\nwait 500\nquit\n";
    ASSERT_TRUE(Costruisci(o));
    CartellaProva lato{"mvd"};
    ASSERT_TRUE(ScriviFileProva(lato / "clip.avi", std::string("RIFF\x10\x00\x00\x00" "AVI LIST not a movie", 28)));
    MediaPacketHeader h;
    const std::string mpf = Utf8DaAnsi(trle / "media.mpf");
    ASSERT_TRUE(GestionePacchettoMedia(mpf, CreaPacchetto, "", "", h, false)) << UltimoErrore;
    ASSERT_TRUE(GestionePacchettoMedia(mpf, AggiungiFile, Utf8DaAnsi(lato / "clip.avi"), "", h, false))
        << UltimoErrore;

    // The first run: no codec opens it, and the player disables it for good.
    EXPECT_EQ(Run("/v", 90000, "OK,YES,OK"), 0);
    std::string log = Log();
    EXPECT_TRUE(HaRiga("First execution (found media.mpf file in trle folder)")) << log;
    EXPECT_TRUE(HaBoxCheInizia("Unluky, it's missing codec to play movie in this level.\r\n"
                               "Do you want disable permanently movie: clip.avi"));
    EXPECT_EQ(LeggiFileProva(trle / "store\\VideoCodec.bin"),
              mano::I32(1) + "clip.avi" + std::string(72, ' ') + mano::I32(2));
    EXPECT_FALSE(HaRiga("Perform media Movie = clip.avi")) << log;
    EXPECT_TRUE(GiocoHaScritto("title after the track")) << LogGioco();

    // The next run checks no codec: the configuration keeps the movie off.
    EXPECT_EQ(Run(), 0);
    log = Log();
    EXPECT_FALSE(HaRiga("First execution (found media.mpf file in trle folder)")) << log;
    EXPECT_TRUE(HaRiga("WARNING: media code 31 is disabled")) << log;
    EXPECT_FALSE(HaRiga("Perform media Movie = clip.avi")) << log;
    EXPECT_FALSE(HaRigaCheInizia("ERROR")) << log;
    EXPECT_TRUE(GiocoHaScritto("title after the track")) << LogGioco();
    VerificaRipristino("disabled movie");
}

}  // namespace
