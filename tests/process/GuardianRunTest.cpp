// The stop-save guardian through a whole run: the player saves from the
// game's save screen in a level that forbids saving; the run puts the slot
// back as it was and performs the author's media.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/process/GameRunFolder.h"
#include "tests/savegames/SavegameBytes.h"

namespace {

constexpr int32_t LogForzato = 0x8;

// Saving is forbidden in level 1; an action media (which only logs) tells
// the player.
const std::string TriggerGuardian =
    "[Trigger]\r\nTypeFlags=0x1\r\nMediaCode=20\r\nLevel=1\r\n"
    "Syntax=<GUARDIAN>\\r\\n#FLAGS#=2\\r\\n#CODE#=21\\r\\n<END_GUARDIAN>\\r\\n\r\n"
    "[Trigger]\r\nTypeFlags=0x1000\r\nMediaCode=21\r\n";

const std::string ScriptSalvataggio =
    "levels title.tr4 level1.tr4\nboot 1024 768\nload title.tr4 300\ncd 97\nwait 600\nload level1.tr4 300\n"
    "level 1\ncd 3\nwait 1000\npress f5 100\nwait 300\npress enter 100\nwait 200\npress enter 100\nwait 3000\n"
    "title after the save\nwait 500\nquit\n";

class GuardianRun : public CartellaRun {};

TEST_F(GuardianRun, TheSaveOfALevelThatForbidsSavingIsUndoneOnDisk) {
    OpzioniCartellaGioco o;
    o.altreOpzioni = LogForzato;
    o.trigger = TriggerGuardian;
    o.scriptGioco = ScriptSalvataggio;
    ASSERT_TRUE(Costruisci(o));
    const std::string zero = mano::SavegameGioco("Save", 10, 1, 3);
    const std::string uno = mano::SavegameGioco("Save", 11, 1, 3);
    ASSERT_TRUE(ScriviFileProva(trle / "savegame.0", zero));
    ASSERT_TRUE(ScriviFileProva(trle / "savegame.1", uno));

    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(GiocoHaScritto("savegame savegame.1 number 12 level 1")) << LogGioco();
    EXPECT_TRUE(GiocoHaScritto("title after the save")) << LogGioco();
    const std::string log = Log();
    EXPECT_TRUE(HaRiga("Inherit save the game operation")) << log;
    EXPECT_TRUE(HaRigaCheInizia("Detected new savegame: savegame.1 [12: Sim save 12] different than: savegame.1 [11: Save]"))
        << log;
    EXPECT_TRUE(HaRiga("Guardian requires to perform media code 21"));
    EXPECT_TRUE(HaRiga("ShowMedia() for media code = 21"));
    EXPECT_FALSE(HaRigaCheInizia("ERROR"));
    // The slots hold what they held, but for the variables the end of the
    // run stamps into the newest.
    for (const auto& [nome, dati] : {std::pair{"savegame.0", zero}, std::pair{"savegame.1", uno}}) {
        const std::string adesso = LeggiFileProva(trle / nome);
        EXPECT_EQ(adesso.size(), dati.size()) << nome;
        EXPECT_EQ(adesso.compare(0, 15928, dati, 0, 15928), 0) << nome;
        EXPECT_EQ(mano::SommaChecksum(adesso), 0u) << nome;
    }
    EXPECT_FALSE(EsisteFileProva(trle / "savegame.2"));
    VerificaRipristino("stop save");
}

}  // namespace
