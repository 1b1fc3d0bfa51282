// Equipment and check media on a game folder: the newest savegame changed
// and written back whole, or left alone when a command fails; a check
// list's AND, OR and AND NOT and the media of its branch.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/LevelVariables.h"
#include "core/MediaConfig.h"
#include "core/MediaTrigger.h"
#include "core/ModuleInit.h"
#include "runservices/RunHooks.h"
#include "savegames/EquipmentMedia.h"
#include "savegames/SavegameFile.h"
#include "tests/savegames/SavegameFolder.h"

namespace {

std::vector<int32_t> MediaEseguiti;

bool RegistraMedia(int32_t codice, bool&) {
    MediaEseguiti.push_back(codice);
    return true;
}

std::string Record(int32_t precedente, const std::string& tag) {
    return "#PREVIOUS_OPERATOR#=" + std::to_string(precedente) + "\r\n" + tag;
}

// An EQUIPMENT section in a media's parameter text.
std::string Parametri(int32_t flags, const std::vector<std::string>& record, int32_t vero = -1, int32_t falso = -1) {
    std::string s = "<EQUIPMENT>\r\n#FLAGS#=" + std::to_string(flags) + "\r\n#MEDIA_TRUE#=" + std::to_string(vero) +
                    "\r\n#MEDIA_FALSE#=" + std::to_string(falso) + "\r\n#TOT_RECORDS#=" +
                    std::to_string(record.size()) + "\r\n";
    for (size_t i = 0; i < record.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        s += "<RECORD" + n + ">\r\n" + record[i] + "\r\n<END_RECORD" + n + ">\r\n";
    }
    return s + "<END_EQUIPMENT>\r\n";
}

// A test of byte 512 against a value: True when it equals it.
std::string Uguale(int32_t precedente, int32_t valore) {
    return Record(precedente, "#COMMAND_TYPE#=0\r\n#OFFSET#=512\r\n#OFFSET_SIZE#=1\r\n#OPERATION#=3\r\n#VALUE#=" +
                                  std::to_string(valore));
}

class EquipMediaTest : public CartellaSavegame {
protected:
    void SetUp() override {
        CartellaSavegame::SetUp();
        ImpostaTabelleLingueCampi();
        PercorsoStore = trle.Percorso();
        MediaCorrente = MediaTrigger{};
        MediaCorrente.MediaCode = 40;
        ganci = Ganci;
        Ganci.EseguiMediaCode = RegistraMedia;
        MediaEseguiti.clear();
    }
    void TearDown() override {
        Ganci = ganci;
        PercorsoStore.clear();
        MediaCorrente = MediaTrigger{};
        EquipmentHeader = IntestazioneEquipment{};
        CartellaSavegame::TearDown();
    }
    // The newest savegame, number 5 in slot 2 with 7 at 512, and an older one.
    void DueSavegame() {
        std::string s = Gioco(5);
        s[512] = 7;
        s[589] = 1;
        mano::Chiudi(s);
        Metti(2, s);
        Metti(3, Gioco(3));
    }
    std::vector<std::string> Istruzioni() const {
        std::vector<std::string> righe;
        for (const std::string& r : Righe())
            if (r.rfind("Perform instruction: ", 0) == 0) righe.push_back(r.substr(21));
        return righe;
    }
    GanciRun ganci;
};

TEST_F(EquipMediaTest, TheChangedSavegameIsWrittenWhenTheMediaEnds) {
    DueSavegame();
    MediaCorrente.Syntax = Parametri(StoreResults, {Record(0, "#COMMAND_TYPE#=0\r\n#OFFSET#=361\r\n#OFFSET_SIZE#=1\r\n"
                                                              "#OPERATION#=7\r\n#VALUE#=1"),
                                                    Record(0, "#COMMAND_TYPE#=12\r\n#VALUE#=3")});
    std::string atteso = Leggi(2);
    atteso[361] = 1;
    atteso[589] = 0;
    mano::Chiudi(atteso);
    const std::string vecchio = Leggi(3);
    ASSERT_TRUE(EseguiEquipmentMedia());
    EXPECT_EQ(mano::Differenza(Leggi(2), atteso), -1);
    EXPECT_EQ(Leggi(3), vecchio);
    EXPECT_TRUE(HaRiga("Perform Equipment media (code=40)"));
    EXPECT_TRUE(HaRiga("Load last savegame: savegame.2 [5: Level 5]"));
    EXPECT_TRUE(HaRiga("Save changed savegame: savegame.2 [5: Level 5]"));
    EXPECT_EQ(Istruzioni(), (std::vector<std::string>{"{Pistols} [B] Set to 1 (0x1)", "ClearUsedCD 003"}));
    // A later refresh reads what was written.
    AggiornaCacheSavegame(0);
    SavegameBin cache;
    ASSERT_TRUE(LeggiSavegameCache(Slot(2), cache));
    EXPECT_EQ(mano::Differenza(cache, atteso), -1);
}

TEST_F(EquipMediaTest, AFailedCommandLeavesTheSavegameAsItWas) {
    DueSavegame();
    const std::string prima = Leggi(2);
    MediaCorrente.Syntax = Parametri(0, {Record(0, "#COMMAND_TYPE#=9"), Record(0, "#COMMAND_TYPE#=12\r\n#VALUE#=-1"),
                                         Uguale(0, 8), Record(0, "#COMMAND_TYPE#=8")});
    EXPECT_FALSE(EseguiEquipmentMedia());
    EXPECT_EQ(Leggi(2), prima);
    EXPECT_TRUE(HaRiga("Abort command sequence"));
    EXPECT_EQ(Istruzioni().size(), 3u);
    EXPECT_FALSE(SavegameCambiatoInCache(Slot(2)));
}

TEST_F(EquipMediaTest, VariablesAloneNeedNoSavegame) {
    ImpostaBit(ModificheAvvio, FaseSpecialMedia);
    VarA = "4";
    MediaCorrente.Syntax = Parametri(StoreResults, {Record(0, "#COMMAND_TYPE#=0\r\n#OFFSET#=766\r\n#OFFSET_SIZE#=4\r\n"
                                                              "#OPERATION#=8\r\n#VALUE#=3"),
                                                    Record(0, "#COMMAND_TYPE#=3\r\n#ENABLED_MEDIA#=40")});
    ListaMedia.assign(1, MediaTrigger{});
    ListaMedia[0].MediaCode = 40;
    HeaderMcf.TriggerCount = 1;
    EXPECT_TRUE(EseguiEquipmentMedia());
    EXPECT_EQ(VarA, "7");
    EXPECT_TRUE(HaRiga("Current equip media doesn't use savegame files"));
    EXPECT_FALSE(EsisteFileProva(Slot(0)));
    TogliBit(ModificheAvvio, FaseSpecialMedia);
    VarA.clear();
    ListaMedia.clear();
    HeaderMcf.TriggerCount = 0;
}

TEST_F(EquipMediaTest, AnEmptyFolderWithACommandOnASavegame) {
    // A moveable code needs the savegame too.
    MediaCorrente.Syntax = Parametri(0, {Record(0, "#COMMAND_TYPE#=0\r\n#OFFSET#=769\r\n#OFFSET_SIZE#=2\r\n"
                                                   "#OPERATION#=3\r\n#VALUE#=1")});
    EXPECT_FALSE(EseguiEquipmentMedia());
    EXPECT_TRUE(HaRiga("ERROR: missing savegames in trle folder"));
    bool errore = false;
    EXPECT_FALSE(EseguiCheckMedia(errore));
    EXPECT_TRUE(errore);
}

TEST_F(EquipMediaTest, AWholeRestoreMakesTheFirstSavegame) {
    std::string backup = Gioco(7);
    backup[488] = static_cast<char>(~static_cast<uint8_t>(backup[488]));
    ASSERT_TRUE(ScriviFileProva(trle / "BackS2", backup));
    MediaCorrente.Syntax = Parametri(0, {Record(0, "#COMMAND_TYPE#=11\r\n#VALUE#=2\r\n#RESTORE_FLAGS#=1")});
    ASSERT_TRUE(EseguiEquipmentMedia());
    EXPECT_TRUE(HaRiga("Savegame will be created by previous full savegame backup"));
    // The backup's number, and a checksum the game accepts.
    EXPECT_EQ(mano::Differenza(Leggi(0), Gioco(7)), -1);
}

// A savegame.0 the finder could not take (here one of number 0) is no
// savegame a whole restore may take the place of without keeping it.
TEST_F(EquipMediaTest, AWholeRestoreKeepsAnUnreadableFirstSlotAside) {
    std::string backup = Gioco(7);
    ASSERT_TRUE(ScriviFileProva(trle / "BackS2", backup));
    const std::string illeggibile = Gioco(0);
    Metti(0, illeggibile);
    MediaCorrente.Syntax = Parametri(0, {Record(0, "#COMMAND_TYPE#=11\r\n#VALUE#=2\r\n#RESTORE_FLAGS#=1")});
    ASSERT_TRUE(EseguiEquipmentMedia());
    EXPECT_EQ(mano::Differenza(Leggi(0), Gioco(7)), -1);
    EXPECT_TRUE(LeggiFileProva(trle / "Old_Savegames\\savegame.0.1") == illeggibile);
    EXPECT_TRUE(HaRiga("Kept savegame.0 of the game folder as " + (trle / "Old_Savegames\\savegame.0.1")));
}

// The write of an edit the game's hold refused is reported as failed: the
// edit reaches neither the cache nor, through the end of the run's
// write-back, the file later.
TEST_F(EquipMediaTest, AnEditWhoseWriteFailedNeverLandsLater) {
    DueSavegame();
    const std::string prima = Leggi(2);
    MediaCorrente.Syntax = Parametri(StoreResults, {Record(0, "#COMMAND_TYPE#=0\r\n#OFFSET#=361\r\n#OFFSET_SIZE#=1\r\n"
                                                              "#OPERATION#=7\r\n#VALUE#=1")});
    // Held past the bound of the write.
    HANDLE h = CreateFileA(Slot(2).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(EseguiEquipmentMedia());
    CloseHandle(h);
    EXPECT_FALSE(HaRiga("Abort command sequence"));
    EXPECT_TRUE(HaRiga("ERROR in SalvaSavegameBin(): cannot write " + Slot(2)));
    EXPECT_TRUE(Leggi(2) == prima);
    EXPECT_FALSE(SavegameCambiatoInCache(Slot(2)));
    const int32_t i = IndiceSavegameCache(CacheSavegame, Slot(2));
    ASSERT_GE(i, 0);
    EXPECT_TRUE(CacheSavegame.Entries[static_cast<size_t>(i)].Bytes == prima);
    EXPECT_TRUE(ScriviCacheSavegame());
    EXPECT_TRUE(Leggi(2) == prima);
}

// A record whose value cannot be read would store 0 into the medipacks.
TEST_F(EquipMediaTest, AListThatCannotBeReadTouchesNoSavegame) {
    DueSavegame();
    const std::string prima = Leggi(2);
    MediaCorrente.Syntax = Parametri(StoreResults, {Record(0, "#COMMAND_TYPE#=0\r\n#OFFSET#=400\r\n#OFFSET_SIZE#=2\r\n"
                                                              "#OPERATION#=7")}, 11, 12);
    EXPECT_FALSE(EseguiEquipmentMedia());
    bool errore = false;
    EXPECT_FALSE(EseguiCheckMedia(errore));
    EXPECT_TRUE(errore);
    EXPECT_EQ(Leggi(2), prima);
    EXPECT_TRUE(Istruzioni().empty());
    EXPECT_TRUE(MediaEseguiti.empty());
}

// Only a whole restore has a savegame to make in an empty folder.
TEST_F(EquipMediaTest, APartialRestoreInAnEmptyFolderMakesNoSavegame) {
    std::string backup = Gioco(7);
    backup[488] = static_cast<char>(~static_cast<uint8_t>(backup[488]));
    ASSERT_TRUE(ScriviFileProva(trle / "BackS2", backup));
    MediaCorrente.Syntax = Parametri(0, {Record(0, "#COMMAND_TYPE#=11\r\n#VALUE#=2\r\n#RESTORE_FLAGS#=65")});
    EXPECT_FALSE(EseguiEquipmentMedia());
    EXPECT_TRUE(HaRiga("ERROR: missing savegames in trle folder"));
    EXPECT_FALSE(EsisteFileProva(Slot(0)));
}

// A backup that cannot be written is an error, not a False condition.
TEST_F(EquipMediaTest, ABackupThatCannotBeWrittenAbortsTheCheck) {
    DueSavegame();
    ASSERT_TRUE(CreateDirectoryA((trle / "BackS4").c_str(), nullptr));
    MediaCorrente.Syntax = Parametri(0, {Record(0, "#COMMAND_TYPE#=10\r\n#VALUE#=4"), Uguale(1, 7)}, 11, 12);
    bool errore = false;
    EXPECT_FALSE(EseguiCheckMedia(errore));
    EXPECT_TRUE(errore);
    EXPECT_TRUE(MediaEseguiti.empty());
    RemoveDirectoryA((trle / "BackS4").c_str());
}

TEST_F(EquipMediaTest, CheckSkipsTheRestOfAnOrChain) {
    DueSavegame();
    // A False, OR B True: C is not run, AND D is.
    MediaCorrente.Syntax =
        Parametri(0, {Uguale(0, 1), Uguale(2, 7), Uguale(2, 2), Uguale(1, 7)}, 11, 12);
    bool errore = true;
    EXPECT_FALSE(EseguiCheckMedia(errore));
    EXPECT_FALSE(errore);
    const std::string d = "Offset 0x0200 [B] Equal to 7 (0x7)";
    EXPECT_EQ(Istruzioni(), (std::vector<std::string>{"Offset 0x0200 [B] Equal to 1 (0x1)", d, d}));
    EXPECT_EQ(MediaEseguiti, std::vector<int32_t>{11});
    EXPECT_TRUE(HaRiga("Condition list is True"));
    EXPECT_TRUE(HaRiga("Last savegame: savegame.2 [5: Level 5]"));
}

struct CasoCheck {
    const char* nome;
    int32_t flags;
    std::vector<std::string> record;
    int32_t vero, falso;
    bool risultato;
    std::vector<int32_t> media;
    size_t eseguite;
};

class CheckTest : public EquipMediaTest, public testing::WithParamInterface<CasoCheck> {};

TEST_P(CheckTest, Evaluates) {
    DueSavegame();
    const CasoCheck& c = GetParam();
    MediaCorrente.Syntax = Parametri(c.flags, c.record, c.vero, c.falso);
    bool errore = true;
    EXPECT_EQ(EseguiCheckMedia(errore), c.risultato);
    EXPECT_FALSE(errore);
    EXPECT_EQ(MediaEseguiti, c.media);
    EXPECT_EQ(Istruzioni().size(), c.eseguite);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, CheckTest,
    testing::Values(CasoCheck{"FalseThenAndStops", 0, {Uguale(0, 1), Uguale(1, 7)}, 11, 12, false, {12}, 1},
                    CasoCheck{"TrueWithoutMedia", 0, {Uguale(0, 7)}, -1, 12, true, {}, 1},
                    CasoCheck{"AndNot", 0, {Uguale(0, 7), Uguale(3, 1)}, 11, 12, false, {11}, 2},
                    CasoCheck{"NoRecordsIsFalse", 0, {}, 11, 12, false, {12}, 0},
                    CasoCheck{"ContinueAlways", ContinueAlways, {Uguale(0, 1)}, 11, 12, true, {12}, 1}),
    [](const testing::TestParamInfo<CasoCheck>& info) { return std::string(info.param.nome); });

// The branch media, performed as the dispatcher does: an equipment or check
// media reads its own list.
struct Ramo {
    bool check = false;
    std::string sintassi;
};
Ramo RamoCorrente;

bool EseguiRamo(int32_t codice, bool& TestError) {
    MediaEseguiti.push_back(codice);
    const MediaTrigger salvata = MediaCorrente;
    MediaCorrente.MediaCode = codice;
    MediaCorrente.Syntax = RamoCorrente.sintassi;
    bool errore = false;
    const bool esito = RamoCorrente.check ? EseguiCheckMedia(errore) : EseguiEquipmentMedia();
    TestError = RamoCorrente.check ? errore : !esito;
    MediaCorrente = salvata;
    return esito;
}

TEST_F(EquipMediaTest, WhetherTheSequenceGoesOnIsTheChecksOwnFlag) {
    struct Caso {
        const char* nome;
        int32_t flags;  // of the check
        Ramo ramo;
        bool risultato;
    };
    const Caso casi[] = {
        {"continues, its branch an equipment media", ContinueAlways, {false, Parametri(0, {})}, true},
        {"continues, its branch a check media", ContinueAlways, {true, Parametri(0, {})}, true},
        {"stops, its branch an equipment media that would continue", 0, {false, Parametri(ContinueAlways, {})},
         false},
        {"stops, its branch a check media that continues", 0, {true, Parametri(ContinueAlways, {})}, false},
    };
    DueSavegame();
    Ganci.EseguiMediaCode = EseguiRamo;
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        RamoCorrente = c.ramo;
        MediaEseguiti.clear();
        MediaCorrente.Syntax = Parametri(c.flags, {Uguale(0, 7)}, 11, 12);
        bool errore = true;
        EXPECT_EQ(EseguiCheckMedia(errore), c.risultato);
        EXPECT_FALSE(errore);
        EXPECT_EQ(MediaEseguiti, std::vector<int32_t>{11});
    }
}

TEST_F(EquipMediaTest, AnErrorAbortsTheCheck) {
    DueSavegame();
    MediaCorrente.Syntax = Parametri(0, {Record(0, "#COMMAND_TYPE#=20"), Uguale(1, 7)}, 11, 12);
    bool errore = false;
    EXPECT_FALSE(EseguiCheckMedia(errore));
    EXPECT_TRUE(errore);
    EXPECT_TRUE(MediaEseguiti.empty());
    EXPECT_TRUE(HaRiga("WARNING: detected error, abort check media"));
}

}  // namespace
