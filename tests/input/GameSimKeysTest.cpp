// The keys the program sends, as the game stand-in receives them: the
// synthetic inputs of a key list, a save and a load through the game's own
// screens, and the keys of a command media in the player's bindings.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/FileUtils.h"
#include "core/MediaTrigger.h"
#include "core/SharedState.h"
#include "runservices/Desktop.h"
#include "runservices/RunState.h"
#include "runservices/TombSettings.h"
#include "input/CommandMedia.h"
#include "input/GameOperation.h"
#include "input/KeyMacros.h"
#include "savegames/SavegameCache.h"
#include "tests/gamerun/RunFixture.h"
#include "tests/savegames/SavegameBytes.h"
#include "tests/support/TestProcesses.h"

namespace {

bool Attendi(DWORD ms, const auto& condizione) {
    const DWORD inizio = GetTickCount();
    while (!condizione()) {
        if (GetTickCount() - inizio > ms) return false;
        Sleep(20);
    }
    return true;
}

class ProvaStandIn : public ProvaRun {
protected:
    void SetUp() override {
        ProvaRun::SetUp();
        ClockUseManual(false);
        SistemaNT = true;
        FuoriGioco = false;
        NumMacro = 0;
        MacroCache.clear();
        ASSERT_TRUE(InitSendKeys());
        CacheSavegame = SavegameCache{};
        AggiornaCacheRichiesto = false;
        StatoSequenza = 0;
        ImpostazioniTombCorrenti = ImpostazioniTomb{};
        ASSERT_TRUE(CopyFileA((CartellaProgrammi() + "\\GameSim.exe").c_str(), (store / "tomb4.exe").c_str(), FALSE));
        CreateDirectoryA((store / "data").c_str(), nullptr);
        FileLivelli.clear();
        for (const char* nome : {"title.tr4", "level1.tr4"}) {
            ASSERT_TRUE(ScriviFileProva(store / (std::string("data\\") + nome), "tr4"));
            FileLivelli.push_back(store / (std::string("data\\") + nome));
        }
        NumLivelli = 2;
    }
    void TearDown() override {
        gioco.Termina();
        ProcessoGioco = InfoProcesso{};
        FinestraGioco = nullptr;
        FileLivelli.clear();
        NumLivelli = 0;
        ImpostazioniTombCorrenti = ImpostazioniTomb{};
        StatoGioco = 0;
        ProvaRun::TearDown();
    }

    // The stand-in runs the script with its window in front, as the game's.
    void AvviaStandIn(const std::string& script) {
        ASSERT_TRUE(ScriviFileProva(store / "gamesim.txt", script));
        ASSERT_TRUE(AvviaProva(gioco, store / "tomb4.exe", "", store.Percorso()));
        HWND finestra = nullptr;
        ASSERT_TRUE(Attendi(15000, [&] {
            finestra = FindWindowA("TombSimWindow", nullptr);
            return finestra != nullptr;
        }));
        ProcessoGioco.hProcess = gioco.handle;
        ProcessoGioco.dwProcessId = gioco.pid;
        FinestraGioco = finestra;
        SetForegroundWindow(finestra);
        SetFocus(finestra);
        ASSERT_TRUE(Attendi(5000, [&] { return GetForegroundWindow() == finestra; }));
    }
    std::string LogStandIn() const { return LeggiFileProva(store / "gamesim_log.txt"); }
    // The lines appear in this order in the stand-in's log.
    bool HaRighe(const std::vector<std::string>& righe, DWORD ms = 10000) const {
        return Attendi(ms, [&] {
            const std::string log = LogStandIn();
            size_t da = 0;
            for (const std::string& r : righe) {
                const size_t i = log.find(r + "\n", da);
                if (i == std::string::npos) return false;
                da = i + r.size();
            }
            return true;
        });
    }

    ProcessoProva gioco;
};

TEST_F(ProvaStandIn, TheGameGetsVirtualKeysScanCodesAndTheExtendedBit) {
    AvviaStandIn("wait 30000\n");
    ASSERT_TRUE(InviaCodici(false, {{224, 10}, {72, 100}, {224, 10}, {200, 50}, {30, 50}, {158, 50}}));
    EXPECT_TRUE(HaRighe({"key down vk 38 scan 72 extended", "key up vk 38 scan 72 extended", "key down vk 65 scan 30",
                         "key up vk 65 scan 30"}))
        << LogStandIn();
}

TEST_F(ProvaStandIn, TheGameSavesAndLoadsOnItsOwnKeys) {
    ASSERT_TRUE(ScriviFileProva(store / "savegame.0", mano::SavegameGioco("Cave", 3, 1, 0)));
    AvviaStandIn("levels title.tr4 level1.tr4\nlevel 1\nwait 60000\n");
    EXPECT_TRUE(EseguiSalvataggioPartita()) << LogStandIn();
    EXPECT_TRUE(HaRighe({"save screen", "savegame savegame.0 number 4 level 1"})) << LogStandIn();
    EXPECT_TRUE(HaRiga("Saving operation is complete. Detected new savegame: savegame.0 [4: Sim save 4]"));
    const std::string salvato = LeggiFileProva(store / "savegame.0");
    ASSERT_EQ(salvato.size(), 15954u);
    EXPECT_EQ(mano::SommaChecksum(salvato), 0u);

    EXPECT_TRUE(CaricaUltimoSavegame()) << LogStandIn();
    EXPECT_TRUE(HaRighe({"load screen", "loadgame savegame.0 level 1", "load data\\level1.tr4"})) << LogStandIn();
    EXPECT_TRUE(HaRiga("Loading operation is complete"));
    EXPECT_EQ(OperazioneGioco.Tentativi, 1);
}

TEST_F(ProvaStandIn, ACommandMediaSendsThePlayersKeys) {
    // Right bound to D; Down left on its default arrow.
    ImpostazioniTombCorrenti.Tasti[3] = 32;
    AvviaStandIn("wait 30000\n");
    MediaCorrente = MediaTrigger{};
    MediaCorrente.MediaCode = 12;
    MediaCorrente.Syntax = "<COMMAND>\r\n#FLAGS#=10\r\n#WAIT_SECONDS#=0\r\n#COMMANDS#=&H40001:&H20001\r\n<END_COMMAND>\r\n";
    EXPECT_TRUE(EseguiCommandMedia());
    EXPECT_TRUE(HaRighe({"key down vk 68 scan 32", "key up vk 68 scan 32", "key down vk 40 scan 80 extended",
                         "key up vk 40 scan 80 extended"}))
        << LogStandIn();
}

}  // namespace
