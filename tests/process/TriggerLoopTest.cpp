// The trigger loop in whole runs with the game stand-in: a trigger fires
// once when its track starts in its level, with and without the logger;
// the loop outlives a dead logger or a vanished game window, and keeps the
// player's screenshots.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "tests/process/GameRunFolder.h"

namespace {

// The title, then level 1 starting with its track 3.
const std::string AvvioLivello = "boot 1024 768\nload title.tr4 300\ncd 97\nwait 600\nload level1.tr4 300\ncd 3\nwait 1000\n";
constexpr int32_t LogForzato = 0x8;

// An action media performs nothing but its own log line: a clean witness.
// A second one, of a level never played, makes track 4 one the level uses,
// which the run follows without the logger.
std::string TriggerAzione(const std::string& campi) {
    return "[Trigger]\r\nTypeFlags=0x1000\r\nMediaCode=10\r\n" + campi +
           "[Trigger]\r\nTypeFlags=0x1000\r\nMediaCode=11\r\nTriggerCd=4\r\nLevel=2\r\n";
}

class TriggerLoop : public CartellaRun {
protected:
    void Prepara(bool logger, const std::string& trigger, const std::string& script, bool condiviso = true) {
        RimuoviAlbero(trle.Percorso());
        CreateDirectoryA(trle.Percorso().c_str(), nullptr);
        OpzioniCartellaGioco o;
        o.logger = logger;
        o.condiviso = condiviso;
        o.altreOpzioni = LogForzato;
        o.trigger = trigger;
        o.tracce = {4, 5, 6};
        o.scriptGioco = script;
        ASSERT_TRUE(Costruisci(o));
    }

    int Conta(const std::string& riga) const {
        int n = 0;
        for (const std::string& r : Righe())
            if (r == riga) ++n;
        return n;
    }
};

TEST_F(TriggerLoop, ATriggerFiresOnceWhenItsTrackStartsInItsLevel) {
    struct Caso {
        const char* nome;
        bool logger;
        std::string campi;
        std::string gioco;
        int attese;
    };
    const std::string cinque = "cd 5\nwait 1500\n";
    const std::vector<Caso> casi = {
        {"its track and level, logger", true, "TriggerCd=5\r\nLevel=1\r\n", cinque, 1},
        {"its track and level, no logger", false, "TriggerCd=5\r\nLevel=1\r\n", cinque, 1},
        {"any level", true, "TriggerCd=5\r\nLevel=-1\r\n", cinque, 1},
        {"another level", true, "TriggerCd=5\r\nLevel=2\r\n", cinque, 0},
        {"another track", false, "TriggerCd=6\r\nLevel=1\r\n", cinque, 0},
        {"disabled", true, "TriggerCd=5\r\nLevel=1\r\nOptions=0x1000\r\n", cinque, 0},
        {"enabled by its anti-trigger", true, "TriggerCd=5\r\nLevel=1\r\nOptions=0x1008\r\nAntiTriggerCd=4\r\n",
         "cd 4\nwait 1000\n" + cinque, 1},
        {"the title track", false, "TriggerCd=97\r\nLevel=-1\r\n", cinque, 0},
        {"the track the level starts with", true, "TriggerCd=3\r\nLevel=1\r\n", cinque, 0},
        {"its track again after another", false, "TriggerCd=5\r\nLevel=1\r\n", cinque + "cd 4\nwait 1000\n" + cinque,
         2},
        {"waits for the action key", true, "TriggerCd=5\r\nLevel=1\r\nOptions=0x80000\r\n",
         "cd 5\nwait 1500\npress ctrl 800\nwait 1000\n", 1},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.nome);
        Prepara(caso.logger, TriggerAzione(caso.campi), AvvioLivello + caso.gioco + "quit\n");
        EXPECT_EQ(Run(), 0);
        EXPECT_EQ(Conta("ShowMedia() for media code = 10"), caso.attese) << Log();
        EXPECT_EQ(Conta("Perform Action media: nothing to do"), caso.attese);
        if (caso.attese > 0 && std::string(caso.nome) == "waits for the action key") {
            // Not before the key: the track alone changed nothing.
            const std::string log = Log();
            EXPECT_NE(log.find("Current_Action=True"), std::string::npos);
        }
        VerificaRipristino(caso.nome);
    }
}

TEST_F(TriggerLoop, AFailedMediaThatAbortsOnFailureClosesTheGame) {
    // A media of no known kind (a background sound alone) fails, and asks to
    // end the game when it does.
    Prepara(true, "[Trigger]\r\nTypeFlags=0x100\r\nMediaCode=20\r\nTriggerCd=5\r\nLevel=1\r\nOptions=0x400000\r\n",
            AvvioLivello + "cd 5\nwait 4000\ntitle still running\nwait 500\nquit\n");
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(HaRiga("ShowMedia() for media code = 20")) << Log();
    EXPECT_TRUE(HaRiga("WARNING, current media requires 'abort on failure'"));
    EXPECT_TRUE(HaRiga("Tomb Raider program is terminated"));
    EXPECT_FALSE(GiocoHaScritto("title still running")) << LogGioco();
    VerificaRipristino("abort on failure");
}

TEST_F(TriggerLoop, TheRunOutlivesADeadLoggerAndAVanishedGameWindow) {
    {
        SCOPED_TRACE("the logger dies");
        Prepara(true, TriggerAzione("TriggerCd=5\r\nLevel=1\r\n"),
                AvvioLivello + "title kill logger\nwait 2000\ncd 5\nwait 1500\nquit\n");
        std::thread uccisore([this] {
            const DWORD inizio = GetTickCount();
            while (GetTickCount() - inizio < 60000 && !GiocoHaScritto("title kill logger")) Sleep(50);
            HWND logger = FindWindowA("DBLogWindowClass", "DBLog Server");
            DWORD pid = 0;
            if (logger) GetWindowThreadProcessId(logger, &pid);
            if (HANDLE h = pid ? OpenProcess(PROCESS_TERMINATE, FALSE, pid) : nullptr) {
                TerminateProcess(h, 9);
                CloseHandle(h);
            }
        });
        EXPECT_EQ(Run(), 0);
        uccisore.join();
        EXPECT_TRUE(GiocoHaScritto("exit 0")) << LogGioco();
        VerificaRipristino("the logger dies");
    }
    {
        SCOPED_TRACE("the game window vanishes");
        Prepara(false, TriggerAzione("TriggerCd=5\r\nLevel=1\r\n"),
                AvvioLivello + "destroy\nwait 1500\ncd 5\nwait 1500\nquit\n");
        EXPECT_EQ(Run(), 0);
        EXPECT_TRUE(GiocoHaScritto("exit 0")) << LogGioco();
        EXPECT_EQ(Conta("ShowMedia() for media code = 10"), 1) << Log();
        // A window the game destroyed is no fault of the run: no error line.
        for (const std::string& r : Righe()) EXPECT_NE(r.rfind("ERROR", 0), 0u) << r;
        EXPECT_TRUE(HaRiga("WARNING: tomb raider window no longer exists: try to get newly window handle")) << Log();
        VerificaRipristino("the game window vanishes");
    }
}

// Width and height of a .bmp from its header; 0 when it is none.
std::pair<int32_t, int32_t> MisureBmp(const std::string& dati) {
    if (dati.size() < 26 || dati.compare(0, 2, "BM") != 0) return {0, 0};
    const auto le32 = [&](size_t i) {
        return static_cast<int32_t>(static_cast<uint8_t>(dati[i]) | static_cast<uint8_t>(dati[i + 1]) << 8 |
                                    static_cast<uint8_t>(dati[i + 2]) << 16 | static_cast<uint8_t>(dati[i + 3]) << 24);
    };
    const int32_t altezza = le32(22);
    return {le32(18), altezza < 0 ? -altezza : altezza};
}

TEST_F(TriggerLoop, ThePlayersScreenshotsAreKeptNumbered) {
    Prepara(true, TriggerAzione("TriggerCd=5\r\nLevel=1\r\n"),
            AvvioLivello + "screenshot\nwait 600\nscreenshot\nwait 2600\nscreenshot 200 100\nwait 1000\nquit\n",
            false);
    EXPECT_EQ(Run(), 0);
    const std::string cartella = trle / "Captured_Images";
    EXPECT_EQ(MisureBmp(LeggiFileProva(cartella + "\\ScreenShot_0000.bmp")), std::make_pair(1024, 768)) << Log();
    EXPECT_EQ(MisureBmp(LeggiFileProva(cartella + "\\ScreenShot_0001.bmp")), std::make_pair(200, 100));
    EXPECT_FALSE(EsisteFileProva(cartella + "\\ScreenShot_0002.bmp"));
    EXPECT_EQ(Conta("This capturing phase is too near to previous capturing: ignore this image"), 1);
    VerificaRipristino("screenshots");
}

// Working media from the tick, with and without the logger: the hot key
// held in the game performs a sensory media that no track triggers, which
// watches no track and fires once the player lets Duck (its default key
// '.') go.
TEST_F(TriggerLoop, AHotKeyStartsASensoryMediaThatFiresWhenLaraStandsUp) {
    const std::string trigger =
        "[Trigger]\r\nTypeFlags=0x2000000\r\nMediaCode=20\r\nTriggerCd=5\r\nLevel=1\r\n"
        "Syntax=<KEYBOARD>\\r\\n#CODE#=21\\r\\n#FLAGS#=0\\r\\n#HOTKEY#=f7\\r\\n<END_KEYBOARD>\\r\\n\r\n"
        "[Trigger]\r\nTypeFlags=0x4000000\r\nMediaCode=21\r\nTriggerCd=999\r\nLevel=-1\r\n"
        "Syntax=<SENSORY>\\r\\n#CODE#=10\\r\\n#FLAGS#=18\\r\\n<END_SENSORY>\\r\\n\r\n"
        "[Trigger]\r\nTypeFlags=0x1000\r\nMediaCode=10\r\nTriggerCd=999\r\nLevel=-1\r\n";
    for (const bool logger : {true, false}) {
        SCOPED_TRACE(logger ? "logger" : "no logger");
        Prepara(logger, trigger, AvvioLivello + "cd 5\nwait 1000\npress vk190+f7 1500\nwait 1500\nquit\n");
        EXPECT_EQ(Run(), 0);
        EXPECT_GE(Conta("Hot-key is hit"), 1) << Log();
        EXPECT_GE(Conta("Perform Sensory: enabled working flag for media code = 21"), 1);
        // Polled while Duck was held, without firing; then fired once.
        EXPECT_GT(Conta("Check for Lara stands up"), Conta("PonyTail key not hit!"));
        EXPECT_EQ(Conta("PonyTail key not hit!"), 1);
        EXPECT_EQ(Conta("Perform Action media: nothing to do"), 1);
        EXPECT_EQ(Conta("Remove working flag for media code = 21"), 1);
        for (const std::string& r : Righe()) EXPECT_EQ(r.rfind("Cd sound ", 0), std::string::npos) << r;
        VerificaRipristino(logger ? "working media, logger" : "working media, no logger");
    }
}

}  // namespace
