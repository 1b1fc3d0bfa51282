// The cheat guardian in whole runs with the game stand-in: a word typed
// while the level plays and one typed in the inventory, each performing the
// author's media and closing the game, and a cheated savegame removed once
// the game has let it go.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/process/GameRunFolder.h"
#include "tests/savegames/SavegameBytes.h"

namespace {

constexpr int32_t LogForzato = 0x8;

const std::string AvvioLivello =
    "levels title.tr4 level1.tr4\nboot 1024 768\nload title.tr4 300\ncd 97\nwait 600\nload level1.tr4 300\n"
    "level 1\ncd 3\nwait 2000\n";

// A guardian forbidding the cheats of <flag> in every level, and the
// author's media, an action media that only logs.
std::string TriggerGuardiano(int32_t flag) {
    return "[Trigger]\r\nTypeFlags=0x1\r\nMediaCode=50\r\nTriggerCd=999\r\nLevel=-1\r\n"
           "Syntax=<GUARDIAN>\\r\\n#FLAGS#=" +
           std::to_string(flag) +
           "\\r\\n#CODE#=51\\r\\n<END_GUARDIAN>\\r\\n\r\n"
           "[Trigger]\r\nTypeFlags=0x1000\r\nMediaCode=51\r\n";
}

constexpr int32_t Trucchi = 0x10;
constexpr int32_t Volo = 0x4;
constexpr int32_t Medipack = 0x20;
constexpr int32_t Savegame = 0x100;

class CheatRun : public CartellaRun {
protected:
    void Prepara(int32_t flag, const std::string& script) {
        OpzioniCartellaGioco o;
        o.condiviso = true;
        o.altreOpzioni = LogForzato;
        o.trigger = TriggerGuardiano(flag);
        o.scriptGioco = script;
        ASSERT_TRUE(Costruisci(o));
    }
    // The game was ended by the program before its script's end.
    void GiocoChiusoDalProgramma() {
        EXPECT_TRUE(HaRiga("Close tomb raider program")) << Log();
        EXPECT_FALSE(GiocoHaScritto("title not closed")) << LogGioco();
        EXPECT_TRUE(HaRiga("ShowMedia() for media code = 51")) << Log();
    }
};

TEST_F(CheatRun, TheFlyCheatTypedWhileThePlayerPlays) {
    Prepara(Trucchi | Volo, AvvioLivello +
                                "press d 80\nwait 150\npress o 80\nwait 150\npress z 80\nwait 150\npress y 80\n"
                                "wait 8000\ntitle not closed\nwait 500\nquit\n");
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(HaRiga("Inherit Fly cheat mode")) << Log();
    EXPECT_TRUE(HaRiga("Created keyboard hook"));
    EXPECT_TRUE(HaRiga("Last captured keys by guardian: \"DOZY\""));
    EXPECT_TRUE(HaRiga("Detected an attempt to enable Fly Cheat"));
    EXPECT_TRUE(HaRiga("Perform media to notify player"));
    GiocoChiusoDalProgramma();
    EXPECT_TRUE(HaRiga("Removed keyboard hook"));
    EXPECT_FALSE(HaRigaCheInizia("ERROR"));
    VerificaRipristino("fly cheat");
}

TEST_F(CheatRun, TheMedipacksCheatTypedInTheInventory) {
    Prepara(Trucchi | Medipack, AvvioLivello +
                                    "inventory open\nwait 1500\npress g 400\nwait 300\npress u 400\n"
                                    "wait 8000\ntitle not closed\ninventory close\nwait 500\nquit\n");
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(HaRiga("Inherit unlimited medipacks cheat mode")) << Log();
    EXPECT_TRUE(HaRiga("Detected cheat 'GUNS' (Fast control for inventory)"));
    EXPECT_TRUE(HaRiga("Detected an attempt to enable unlimited medipacks cheat"));
    EXPECT_TRUE(HaRiga("Perform media to notify player"));
    GiocoChiusoDalProgramma();
    EXPECT_FALSE(HaRigaCheInizia("ERROR"));
    VerificaRipristino("medipacks cheat");
}

TEST_F(CheatRun, ACheatedSavegameGoesOnlyOnceTheGameLetsItGo) {
    // The game holds the savegame open for 3 s of the level.
    Prepara(Trucchi | Medipack | Savegame, "open savegame.0\n" + AvvioLivello +
                                               "wait 3000\nclose savegame.0\nwait 8000\ntitle not closed\n"
                                               "wait 500\nquit\n");
    std::string cheat = mano::SavegameGioco("Cheat", 7, 1, 3);
    mano::Byte(cheat, 400, {0xFF, 0xFF});
    mano::Chiudi(cheat);
    ASSERT_TRUE(ScriviFileProva(trle / "savegame.0", cheat));
    ASSERT_TRUE(ScriviFileProva(trle / "savegame.1", mano::SavegameGioco("Clean", 8, 1, 3)));
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(HaRiga("Enable parsing savegames for cheats")) << Log();
    EXPECT_TRUE(HaRiga("Detected savegame.0 [7: Cheat] with unlimited medipacks: remove it"));
    EXPECT_TRUE(GiocoHaScritto("close savegame.0")) << LogGioco();
    EXPECT_FALSE(EsisteFileProva(trle / "savegame.0"));
    EXPECT_TRUE(EsisteFileProva(trle / "savegame.1"));
    EXPECT_FALSE(HaRigaCheInizia("WARNING: savegame still in use"));
    GiocoChiusoDalProgramma();
    EXPECT_FALSE(HaRigaCheInizia("ERROR"));
    VerificaRipristino("cheated savegame");
}

}  // namespace
