// Splash screens in whole runs with the game stand-in: a splash that saves
// the game, performs a media and loads the save back through the game's own
// keys, and one that turns the player's newest savegame into one leading to
// the titles and loads it. The savegames are read as the stand-in wrote and
// loaded them.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/process/GameRunFolder.h"
#include "tests/savegames/SavegameBytes.h"

namespace {

constexpr int32_t LogForzato = 0x8;
constexpr int TracciaTitoli = 97;

const std::string AvvioLivello =
    "levels title.tr4 level1.tr4\nboot 1024 768\nload title.tr4 300\ncd 97\nwait 600\nload level1.tr4 300\n"
    "level 1\ncd 3\nwait 1000\n";

// A splash on track 5 of level 1 with operation <modo>, and the action media
// 41 (which only logs) that operation 32 performs between save and load.
std::string TriggerSplash(int32_t modo) {
    return "[Trigger]\r\nTypeFlags=0x800000\r\nMediaCode=30\r\nTriggerCd=5\r\nLevel=1\r\nDuration=1\r\n"
           "Syntax=<SPLASH>\\r\\n#FLAGS#=0\\r\\n#MODE#=" +
           std::to_string(modo) +
           "\\r\\n#CD_SOUND#=-1\\r\\n#END_TEXT_TIME#=1\\r\\n#MEDIA#=41\\r\\n#TIME_OUT#=60\\r\\n"
           "#TOT_ANIMATIONS#=0\\r\\n<END_SPLASH>\\r\\n\r\n"
           "[Trigger]\r\nTypeFlags=0x1000\r\nMediaCode=41\r\n";
}

std::string Titolo(const std::string& savegame) {
    const size_t fine = savegame.find('\0');
    return savegame.substr(0, std::min<size_t>(fine, 65));
}

uint32_t Numero(const std::string& savegame) {
    uint32_t n = 0;
    if (savegame.size() > 79) std::memcpy(&n, savegame.data() + 75, 4);
    return n;
}

int Byte(const std::string& savegame, size_t offset) {
    return offset < savegame.size() ? static_cast<uint8_t>(savegame[offset]) : -1;
}

// A file read without standing in the way of its writers, which replace it.
std::string LeggiCondiviso(const std::string& percorso) {
    HANDLE h = CreateFileA(percorso.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return std::string();
    std::string s;
    char buf[4096];
    DWORD n = 0;
    while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n > 0) s.append(buf, n);
    CloseHandle(h);
    return s;
}

// Every content a file has had while a run goes on, read every 20 ms.
class OsservatoreFile {
public:
    explicit OsservatoreFile(std::string percorso)
        : percorso_(std::move(percorso)), filo_([this] {
              while (!finito_) {
                  const std::string dati = LeggiCondiviso(percorso_);
                  {
                      std::lock_guard<std::mutex> l(m_);
                      if (!dati.empty() && (visti_.empty() || visti_.back() != dati)) visti_.push_back(dati);
                  }
                  Sleep(20);
              }
          }) {}
    ~OsservatoreFile() { Ferma(); }
    void Ferma() {
        finito_ = true;
        if (filo_.joinable()) filo_.join();
    }
    std::vector<std::string> Visti() {
        std::lock_guard<std::mutex> l(m_);
        return visti_;
    }

private:
    std::string percorso_;
    std::atomic<bool> finito_{false};
    std::mutex m_;
    std::vector<std::string> visti_;
    std::thread filo_;
};

class SplashRun : public CartellaRun {
protected:
    void Prepara(const std::string& trigger, const std::string& script) {
        OpzioniCartellaGioco o;
        o.condiviso = true;
        o.altreOpzioni = LogForzato;
        o.tracce = {5};
        o.trigger = trigger;
        o.scriptGioco = script;
        ASSERT_TRUE(Costruisci(o));
    }
    // The lines of the game's log in order: true when <righe> appear in it
    // in this order.
    bool GiocoHaScrittoInOrdine(const std::vector<std::string>& righe) const {
        const std::string log = LogGioco();
        size_t da = 0;
        for (const std::string& r : righe) {
            da = log.find("\n" + r + "\n", da);
            if (da == std::string::npos) return false;
            ++da;
        }
        return true;
    }
};

TEST_F(SplashRun, ASplashSavesTheGamePerformsItsMediaAndLoadsTheSaveBackThroughTheGamesKeys) {
    Prepara(TriggerSplash(32), AvvioLivello + "cd 5\nwait 20000\ntitle after the splash\nwait 500\nquit\n");
    const std::string prima = mano::SavegameGioco("Before", 10, 1, 3);
    ASSERT_TRUE(ScriviFileProva(trle / "savegame.0", prima));
    EXPECT_EQ(Run(), 0);
    const std::string log = Log();
    EXPECT_TRUE(GiocoHaScritto("title after the splash")) << LogGioco();

    // The game saved over its newest slot from its save screen, then loaded
    // that save from its load screen.
    EXPECT_TRUE(GiocoHaScrittoInOrdine({"save screen", "savegame savegame.0 number 11 level 1", "load screen",
                                        "loadgame savegame.0 level 1", "load data\\level1.tr4"}))
        << LogGioco() << log;
    EXPECT_TRUE(HaRiga("Show Splash Screen Media")) << log;
    EXPECT_TRUE(HaRiga("Current operation: Perform media (Save the game, Perform media 41 and load savegame)"));
    EXPECT_TRUE(HaRiga("Saving operation is complete. Detected new savegame: savegame.0 [11: Sim save 11]")) << log;
    EXPECT_TRUE(HaRiga("Perform media code = 41"));
    EXPECT_TRUE(HaRiga("ShowMedia() for media code = 41"));
    EXPECT_TRUE(HaRiga("Media has been performed: Initialize for load game operation"));
    EXPECT_TRUE(HaRiga("Loading operation is complete")) << log;
    EXPECT_FALSE(HaRigaCheInizia("ERROR")) << log;

    // The slot holds the stand-in's save: its title, number and level, whole.
    const std::string dopo = LeggiFileProva(trle / "savegame.0");
    ASSERT_EQ(dopo.size(), 15954u);
    EXPECT_EQ(Titolo(dopo), "Sim save 11");
    EXPECT_EQ(Numero(dopo), 11u);
    EXPECT_EQ(Byte(dopo, 487), 1);
    EXPECT_EQ(Byte(dopo, 714), 5);
    EXPECT_EQ(mano::SommaChecksum(dopo), 0u);
    VerificaRipristino("save, media and load");
}

TEST_F(SplashRun, GoingBackToTheTitlesLoadsTheNewestSavegameMadeToLeadThereAndPutsItBack) {
    Prepara(TriggerSplash(16), AvvioLivello + "cd 5\nwait 20000\ntitle after the splash\nwait 500\nquit\n");
    std::vector<std::string> slot;
    for (int n = 0; n < 3; ++n) {
        slot.push_back(mano::SavegameGioco("Save " + std::to_string(n), 10 + n, 1, 3));
        // A level's progress, which the titles do not keep.
        mano::Byte(slot.back(), 437, {2});
        mano::Chiudi(slot.back());
        ASSERT_TRUE(ScriviFileProva(trle / ("savegame." + std::to_string(n)), slot.back()));
    }
    OsservatoreFile osservatore(trle / "savegame.2");
    EXPECT_EQ(Run(), 0);
    osservatore.Ferma();
    const std::string log = Log();
    EXPECT_TRUE(GiocoHaScritto("title after the splash")) << LogGioco();

    // The game loaded the newest slot and, by its level byte, the titles.
    EXPECT_TRUE(GiocoHaScrittoInOrdine({"load screen", "loadgame savegame.2 level 0", "load data\\title.tr4"}))
        << LogGioco() << log;
    EXPECT_TRUE(HaRiga("Current operation: Kill Lara (go back to titles)")) << log;
    EXPECT_TRUE(HaRiga("Modify last savegame " + (trle / "savegame.2") + " to go to title")) << log;
    EXPECT_TRUE(HaRiga("Loading operation is complete")) << log;
    EXPECT_TRUE(HaRiga("Send 'Escape' key to close further 'load game' screen"));
    EXPECT_FALSE(HaRigaCheInizia("ERROR")) << log;

    // The file the game loaded: the same savegame with its title, leading to
    // the titles, with a checksum the game accepts.
    bool visto = false;
    for (const std::string& dati : osservatore.Visti()) {
        if (dati == slot[2]) continue;
        visto = true;
        ASSERT_EQ(dati.size(), 15954u);
        EXPECT_EQ(Titolo(dati), "Save 2");
        EXPECT_EQ(Numero(dati), 12u);
        EXPECT_EQ(Byte(dati, 437), 0);
        EXPECT_EQ(Byte(dati, 487), 0);
        EXPECT_EQ(Byte(dati, 714), TracciaTitoli);
        EXPECT_EQ(mano::SommaChecksum(dati), 0u);
        std::string attesa = slot[2];
        attesa[437] = 0;
        attesa[487] = 0;
        attesa[714] = static_cast<char>(TracciaTitoli);
        attesa[488] = dati[488];
        EXPECT_EQ(mano::Differenza(dati, attesa), -1);
    }
    EXPECT_TRUE(visto) << log;
    // The player's savegames are as they were.
    for (int n = 0; n < 3; ++n)
        EXPECT_EQ(mano::Differenza(LeggiFileProva(trle / ("savegame." + std::to_string(n))), slot[n]), -1) << n << log;
    VerificaRipristino("back to the titles");
}

// The game names no savegame it loads; the splash that has it load the
// newest one knows the slot and reads the level's variables back from it.
TEST_F(SplashRun, ASplashsLoadReadsTheVariablesOfTheSavegameItLoads) {
    Prepara(TriggerSplash(2), AvvioLivello + "cd 5\nwait 12000\ntitle after the splash\nwait 500\nquit\n");
    std::string salvato = mano::SavegameGioco("Before", 10, 1, 3);
    mano::Byte(salvato, 15936, {77, 0, 0, 0});
    mano::Chiudi(salvato);
    ASSERT_TRUE(ScriviFileProva(trle / "savegame.0", salvato));
    ASSERT_TRUE(ScriviFileProva(trle / "store\\Var_A.txt", "5"));
    EXPECT_EQ(Run(), 0);
    const std::string log = Log();
    EXPECT_TRUE(GiocoHaScritto("title after the splash")) << LogGioco();
    EXPECT_TRUE(GiocoHaScrittoInOrdine({"load screen", "loadgame savegame.0 level 1", "load data\\level1.tr4"}))
        << LogGioco() << log;
    EXPECT_TRUE(HaRiga("Loading operation is complete")) << log;
    EXPECT_TRUE(HaRiga("Loaded private variables from savegame: savegame.0")) << log;
    std::string varA = LeggiFileProva(trle / "store\\Var_A.txt");
    varA.erase(varA.find_last_not_of("\r\n") + 1);
    EXPECT_EQ(varA, "77");
    VerificaRipristino("splash load");
}

}  // namespace
