// The shared tables built at start-up, the language index and the numbered
// copy of the log.
#include <gtest/gtest.h>

#include <windows.h>

#include "core/MediaLog.h"
#include "core/ModuleInit.h"
#include "core/SharedState.h"
#include "platform/Clock.h"
#include "tests/support/TestFolders.h"

namespace {

class ModuleInitTest : public testing::Test {
protected:
    void SetUp() override {
        ClockUseManual(true, 1000);
        ProcessoGioco.hProcess = reinterpret_cast<void*>(1);
        CartellaTrle = trle.Percorso();
        ASSERT_TRUE(CreateDirectoryA((trle / "store").c_str(), nullptr));
        ASSERT_TRUE(ScriviFileProva(trle / "store\\tr_capture_screen.bmp", "old capture"));
        LinguaForzata = "GERMAN";
        FuoriGioco = false;
        ConservaCatture = false;
        // The game run's display-mode routine stands behind the hook; here
        // a screen of our own shows what the initialiser keeps of it.
        ScanSchermoIniziale = [] {
            SchermoX = 800;
            SchermoY = 600;
        };
        ASSERT_TRUE(InitModMedia());
    }
    void TearDown() override {
        ScanSchermoIniziale = nullptr;
        ProcessoGioco.hProcess = nullptr;
        LogAbilitato = false;
        ClockUseManual(false);
        CartellaTrle.clear();
        PercorsoStore.clear();
    }
    std::string Log() {
        ScriviBufferLog(true);
        return LeggiFileProva(PercorsoFileLog);
    }

    CartellaProva trle{"trle"};
};

TEST_F(ModuleInitTest, LanguagesFontsAndPriorities) {
    const std::vector<std::string> lingue = {"ENGLISH", "FRENCH", "JAPAN",      "ITALIAN", "DUTCH",   "RUSSIAN",
                                             "SPANISH", "GERMAN", "GREEK",      "PORTUGUESE", "TURKISH", "CHINESE"};
    EXPECT_EQ(NomiLingue, lingue);
    EXPECT_EQ(NumLingue, 12);
    EXPECT_EQ(NomiFont, (std::vector<std::string>{"Courier New", "Arial"}));
    EXPECT_EQ(NumFont, 2);

    // Level - 1 indexes the pairs the game's priority is set from.
    const int32_t classi[14] = {64, 64, 64, 64, 32, 32, 32, 32, 32, 128, 128, 128, 128, 256};
    const int32_t thread[14] = {-15, -2, -1, 0, -2, -1, 0, 1, 2, -1, 0, 1, 15, -15};
    ASSERT_EQ(NumLivelliPriorita, 14);
    ASSERT_EQ(ClassiPriorita.size(), 14u);
    ASSERT_EQ(PrioritaThread.size(), 14u);
    for (int i = 0; i < 14; ++i) {
        EXPECT_EQ(ClassiPriorita[i], classi[i]) << "level " << i + 1;
        EXPECT_EQ(PrioritaThread[i], thread[i]) << "level " << i + 1;
    }
}

TEST_F(ModuleInitTest, SavegameFieldTable) {
    ASSERT_EQ(TotCampiSavegame, 136);
    ASSERT_EQ(TabellaCampiSavegame.size(), 136u);
    const std::pair<int, const char*> righe[] = {
        {0, "004B:D:Savegame Number"},
        {36, "018A:B:Pickup items 1 - 8 "},
        {51, "01E7:B:Level Number"},
        {61, "0196:W:Pistol Ammo"},
        {82, "01E9:D:Game-Time Absolute"},
        {83, "02FF:D:Variable Last Input Value"},
        {87, "02FB:D:Variable D"},
        {88, "0300:w:Lara.Mark"},
        {92, "0304:b:Lara.Room"},
        {111, "0317:w:Lara.ew_1000"},
        {112, "0400:w:Enemy.Mark"},
        {115, "0403:w:Enemy.PosZ"},
        {135, "0417:w:Enemy.ew_1000"},
    };
    for (const auto& [indice, riga] : righe) EXPECT_EQ(TabellaCampiSavegame[indice], riga) << indice;
    // Every row is OFFS:T:Name with four upper-case hexadecimal digits.
    for (const std::string& r : TabellaCampiSavegame) {
        ASSERT_GE(r.size(), 8u) << r;
        EXPECT_EQ(r[4], ':') << r;
        EXPECT_EQ(r[6], ':') << r;
        EXPECT_NE(std::string("DWBwb").find(r[5]), std::string::npos) << r;
        EXPECT_EQ(r.find_first_not_of("0123456789ABCDEF"), 4u) << r;
    }
}

TEST_F(ModuleInitTest, StoreFolderScreenAndIdleGlobals) {
    EXPECT_EQ(PercorsoStore, trle / "store");
    EXPECT_EQ(FileCatturaSchermo, trle / "store\\tr_capture_screen.bmp");
    EXPECT_FALSE(EsisteFileProva(FileCatturaSchermo));
    EXPECT_EQ(PercorsoFileLog, trle / "store\\media_log.txt");
    EXPECT_EQ(SchermoX, 800);
    EXPECT_EQ(SchermoY, 600);
    EXPECT_EQ(SchermoOrigX, 800);
    EXPECT_EQ(SchermoOrigY, 600);
    EXPECT_TRUE(FuoriGioco);
    EXPECT_EQ(IndiceEmailFinale, -1);
    EXPECT_EQ(LinguaForzata, "");
}

TEST_F(ModuleInitTest, StoreFolderIsCreatedWhenMissing) {
    CartellaProva altro{"trle"};
    CartellaTrle = altro.Percorso() + "  ";
    ASSERT_TRUE(InitModMedia());
    EXPECT_EQ(PercorsoStore, altro / "store");
    const DWORD attributi = GetFileAttributesA((altro / "store").c_str());
    EXPECT_TRUE(attributi != INVALID_FILE_ATTRIBUTES && (attributi & FILE_ATTRIBUTE_DIRECTORY));
}

TEST_F(ModuleInitTest, LanguageIndexIgnoresCaseAndReportsUnknownNames) {
    LogAbilitato = true;
    EXPECT_EQ(IndiceLingua("italian"), 3);
    EXPECT_EQ(IndiceLingua("CHINESE"), 11);
    const int32_t errori = NumErroriLog;
    EXPECT_EQ(IndiceLingua("Klingon"), -1);
    EXPECT_EQ(NumErroriLog, errori + 1);
    const std::string log = Log();
    EXPECT_NE(log.find("Current language=ITALIAN\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("ERROR: unknown language: Klingon\r\n"), std::string::npos) << log;

    // With the log off only the error is written.
    LogAbilitato = false;
    InitMediaLog();
    EXPECT_EQ(IndiceLingua("Dutch"), 4);
    EXPECT_EQ(Log(), "");
}

TEST_F(ModuleInitTest, NumberedLogCopyTakesTheFirstFreeNumber) {
    LogAbilitato = true;
    ASSERT_TRUE(ScriviFileProva(trle / "store\\media_log1.txt", "run 1"));
    ASSERT_TRUE(ScriviFileProva(trle / "store\\media_log3.txt", "run 3"));
    StampaLog("End of run");
    CopiaLogNumerato();
    EXPECT_EQ(NumeroCopiaLog, 2);
    EXPECT_EQ(PercorsoCopiaLog, trle / "store\\media_log2.txt");
    // The buffered line is in the copy.
    const std::string copia = LeggiFileProva(PercorsoCopiaLog);
    EXPECT_NE(copia.find("End of run\r\n"), std::string::npos);
    EXPECT_EQ(copia, LeggiFileProva(PercorsoFileLog));
    EXPECT_EQ(LeggiFileProva(trle / "store\\media_log1.txt"), "run 1");

    CopiaLogNumerato();
    EXPECT_EQ(NumeroCopiaLog, 4);
    EXPECT_EQ(PercorsoCopiaLog, trle / "store\\media_log4.txt");
}

}  // namespace
