// The media window in a whole run with the game stand-in: a text over a
// picture, fired by its CD track, is performed while the game stands by and
// held for its time, and the game goes on afterwards.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <string>
#include <thread>

#include "core/ImageFormats.h"
#include "tests/process/GameRunFolder.h"

namespace {

const std::string AvvioLivello = "boot 1024 768\nload title.tr4 300\ncd 97\nwait 600\nload level1.tr4 300\ncd 3\nwait 1000\n";
constexpr int32_t LogForzato = 0x8;

// The stamp, in ms, of the first log line whose text is <testo>; -1 when
// there is none.
long StampaRiga(const std::string& log, const std::string& testo) {
    size_t inizio = 0;
    while (inizio < log.size()) {
        size_t fine = log.find('\n', inizio);
        if (fine == std::string::npos) fine = log.size();
        std::string riga = log.substr(inizio, fine - inizio);
        if (!riga.empty() && riga.back() == '\r') riga.pop_back();
        const size_t duepunti = riga.find(':');
        if (duepunti != std::string::npos && riga.size() >= testo.size() &&
            riga.compare(riga.size() - testo.size(), testo.size(), testo) == 0 &&
            riga.find_first_not_of(" \t", duepunti + 1) == riga.size() - testo.size())
            return std::lround(std::atof(riga.substr(0, duepunti).c_str()) * 1000);
        inizio = fine + 1;
    }
    return -1;
}

class MediaWindowRun : public CartellaRun {};

TEST_F(MediaWindowRun, ATextOverAPictureIsPerformedOnItsTrackWhileTheGameStandsBy) {
    OpzioniCartellaGioco o;
    o.condiviso = true;
    o.altreOpzioni = LogForzato;
    o.tracce = {5};
    o.trigger =
        "[Trigger]\r\nTypeFlags=0x90\r\nMediaCode=30\r\nTriggerCd=5\r\nLevel=1\r\nMediaFile=quadro.bmp\r\n"
        "Color=0xFFFFFF\r\nCharRow=19\r\nBoundRect=100:600:900:950\r\nDuration=3\r\n"
        "Text=<TEXT>Over the picture<END_TEXT>\r\n";
    // The game goes on once the test has seen the picture come and go: it
    // plays on during its stand-by, and a time of its own would hold only
    // as long as the run answers its track as fast as at native speed.
    const std::string evento = "MediaWindowRunFine" + std::to_string(GetCurrentProcessId());
    HANDLE fineQuadro = CreateEventA(nullptr, TRUE, FALSE, evento.c_str());
    ASSERT_NE(fineQuadro, nullptr);
    o.scriptGioco = AvvioLivello + "cd 5\nwaitevent " + evento + " 60000\ntitle after the media\nwait 500\nquit\n";
    ASSERT_TRUE(Costruisci(o));
    ASSERT_TRUE(ScriviFileProva(trle / "store\\quadro.bmp", ComponiBmp24(2, 1, std::string(6, '\x60'))));

    // The picture must reach the screen as other programs see it, not only
    // the window's own bitmap: watched from this process during the run.
    std::atomic<bool> finito{false}, visto{false};
    std::thread osservatore([&] {
        while (!finito) {
            HDC schermo = GetDC(nullptr);
            const bool adesso = GetPixel(schermo, GetSystemMetrics(SM_CXSCREEN) / 2, 100) == RGB(0x60, 0x60, 0x60);
            ReleaseDC(nullptr, schermo);
            if (adesso) visto = true;
            if (visto && !adesso) SetEvent(fineQuadro);
            Sleep(100);
        }
    });
    EXPECT_EQ(Run(), 0);
    finito = true;
    osservatore.join();
    CloseHandle(fineQuadro);
    EXPECT_TRUE(visto) << "the picture never showed on the screen";
    const std::string log = Log();
    EXPECT_TRUE(HaRiga("ShowMedia() for media code = 30")) << log;
    EXPECT_TRUE(HaRiga("Over the picture"));
    // The picture was found: no error line at all.
    EXPECT_FALSE(HaRigaCheInizia("ERROR"));
    // In order: the game stands by, the media is held for its three seconds
    // (rounded: from 2.5 s), the game wakes and goes on.
    const long standBy = StampaRiga(log, "Put in stand-by mode tomb raider process: ok");
    const long inizio = StampaRiga(log, "Start performing media");
    const long fine = StampaRiga(log, "End performing media");
    const long sveglia = StampaRiga(log, "Wake up for tomb raider process");
    ASSERT_GE(standBy, 0);
    EXPECT_LE(standBy, inizio);
    EXPECT_GE(fine - inizio, 2450);
    EXPECT_LT(fine - inizio, 6000);
    EXPECT_GE(sveglia, fine);
    EXPECT_TRUE(HaRiga("Exit from ShowMedia() with value = True  Break with Escape=False  TestError=False"));
    EXPECT_TRUE(GiocoHaScritto("title after the media")) << LogGioco();
    // A picture of the level's own store folder is no temporary copy.
    EXPECT_TRUE(EsisteFileProva(trle / "store\\quadro.bmp"));
    VerificaRipristino("text over a picture");
}

}  // namespace
