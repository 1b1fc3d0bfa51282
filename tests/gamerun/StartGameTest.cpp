// The start of a run in a game folder of the test's own: the script.dat
// readers on disk, and InitGameConfig's roads with their exact log lines
// and boxes. The media preparation is a stand-in here: the real one changes
// the desktop and starts the logger.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "core/MediaConfig.h"
#include "core/MediaLog.h"
#include "core/MediaTrigger.h"
#include "runservices/LoggerClient.h"
#include "gamerun/MediaPreparation.h"
#include "runservices/ScriptDat.h"
#include "gamerun/StartGame.h"
#include "patcher/GamePatcher.h"
#include "patcher/PatchFiles.h"
#include "tests/gamerun/RunFixture.h"
#include "tests/gamerun/ScriptDatWriter.h"
#include "tests/support/TestProcesses.h"

namespace {

int ChiamatePreparazione = 0;
bool EsitoPreparazione = true;
bool PreparazioneProva() {
    ++ChiamatePreparazione;
    return EsitoPreparazione;
}

MediaTrigger Trigger(int32_t codice, int32_t opzioni) {
    MediaTrigger m;
    m.TypeFlags = 1;
    m.Options = opzioni;
    m.TriggerCd = 10 + codice;
    m.MediaCode = codice;
    m.Level = QualsiasiLivello;
    return m;
}

// A configuration's bytes from our writer.
std::string Configurazione(const std::vector<MediaTrigger>& triggers) {
    const MediaConfigHeader prima = HeaderMcf;
    const std::vector<MediaTrigger> listaPrima = ListaMedia;
    HeaderMcf = MediaConfigHeader{};
    HeaderMcf.TriggerCount = static_cast<int32_t>(triggers.size());
    ListaMedia = triggers;
    std::string dati;
    EXPECT_TRUE(ComponiMediaConfig("media.mcf", dati));
    HeaderMcf = prima;
    ListaMedia = listaPrima;
    return dati;
}

class StartGameTest : public ProvaRun {
protected:
    void SetUp() override {
        ProvaRun::SetUp();
        // Each road starts from a folder of its own.
        RimuoviAlbero(trle.Percorso());
        ASSERT_TRUE(CreateDirectoryA(trle.Percorso().c_str(), nullptr));
        CartellaTrle = trle.Percorso();
        PercorsoStore = trle / "store";
        ASSERT_TRUE(CreateDirectoryA(PercorsoStore.c_str(), nullptr));
        InitMediaLog();
        PreparazioneMediaRun = PreparazioneProva;
        ChiamatePreparazione = 0;
        EsitoPreparazione = true;
        // A good game folder: three levels, the last one's file missing.
        ASSERT_TRUE(CreateDirectoryA((trle / "data").c_str(), nullptr));
        Scrivi("script.dat", scriptdat::Componi({{"DATA\\TITLE", "DATA\\JUNGLE", "DATA\\TEMPLE"}}));
        Scrivi("data\\title.tr4", "t");
        Scrivi("data\\jungle.tr4", "j");
        Scrivi("english.dat", "e");
        Scrivi("media.mcf", Configurazione({Trigger(1, 0), Trigger(2, Disabled)}));
    }
    void TearDown() override {
        PreparazioneMediaRun = InitMediaMcf;
        HeaderMcf = MediaConfigHeader{};
        ListaMedia.assign(1, MediaTrigger{});
        FileLivelli.clear();
        NumLivelli = 0;
        ProvaRun::TearDown();
    }
    void Scrivi(const std::string& nome, const std::string& dati) { ASSERT_TRUE(ScriviFileProva(trle / nome, dati)); }
    void Togli(const std::string& nome) { ASSERT_TRUE(DeleteFileA((trle / nome).c_str())); }

    // InitGameConfig with the dialog watcher answering <boxes> boxes; with
    // none expected it watches briefly for a box that should not come.
    bool Avvia(int boxes, std::vector<BoxRegistrato>& registrati) {
        Osservatore osservatore(trle.Percorso(), "OK", boxes == 0 ? 1 : boxes, GetCurrentProcessId(),
                                boxes == 0 ? 2000 : 20000);
        const bool esito = InitGameConfig();
        registrati = osservatore.Boxes();
        return esito;
    }
    std::vector<std::string> TestiBox(const std::vector<BoxRegistrato>& boxes) {
        std::vector<std::string> testi;
        for (const BoxRegistrato& b : boxes) testi.push_back(b.testo);
        return testi;
    }

    CartellaProva trle{"trle"};
};

TEST_F(StartGameTest, AGoodFolderStartsFromAFreshRunState) {
    CdCorrente = 7;
    ModificheAvvio = TaskBarNascosta;
    StatoGioco = PrimaEsecuzione | AbortSuErrore;
    NumPatchUtente = 3;
    FineGiocoSegnalata = true;
    LivelloCorrente = 4;

    std::vector<BoxRegistrato> boxes;
    ASSERT_TRUE(Avvia(0, boxes));
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(ChiamatePreparazione, 1);
    EXPECT_EQ(ModificheAvvio, MediaTriggerAttivi | GiocoConfigurato);
    EXPECT_EQ(StatoGioco, 0);
    EXPECT_EQ(CdCorrente, -1);
    EXPECT_EQ(LivelloCorrente, -2);
    EXPECT_EQ(NumPatchUtente, 0);
    EXPECT_FALSE(FineGiocoSegnalata);
    EXPECT_FALSE(FuoriGioco);
    EXPECT_EQ(LivelloTab, 0);
    EXPECT_EQ(NumErroriLog, 0);
    EXPECT_EQ(HeaderMcf.CartellaMcf, trle.Percorso());
    ASSERT_EQ(NumLivelli, 3);
    EXPECT_EQ(FileLivelli[2], trle / "DATA\\TEMPLE.tr4");

    const std::vector<std::string> righe = RigheLog();
    ASSERT_GE(righe.size(), 3u);
    EXPECT_EQ(righe[0].rfind("Start log file (", 0), 0u) << righe[0];
    EXPECT_EQ(righe[1], "InitGameConfig()");
    for (const std::string& attesa :
         {std::string("Find levels.tr4 used by script.dat"), std::string("Level 0 = TITLE.tr4"),
          std::string("Level 1 = JUNGLE.tr4"), "WARNING: missing file for level 2:" + (trle / "DATA\\TEMPLE.tr4"),
          "Searching for media.mcf file in trle folder: " + trle.Percorso(),
          "Found media configuration file in: " + (trle / "media.mcf"),
          "Loaded media configuration file \"" + (trle / "media.mcf") + "\"", std::string("Media file version = \"VER1.5\""),
          std::string("WARNING: media code 2 is disabled"), std::string("Windows style settings:"),
          std::string("Extra_InitGameConfig()"), std::string("Call InitMediaMcf()")})
        EXPECT_TRUE(HaRiga(attesa)) << attesa;
    EXPECT_FALSE(HaRiga("WARNING: media code 1 is disabled"));
    EXPECT_FALSE(HaRigaCheInizia("WARNING: there are "));
    EXPECT_TRUE(HaRigaCheInizia("Current screen resolution: "));
    EXPECT_TRUE(HaRigaCheInizia("Current application: Media Module Ludovane.exe Version "));
    EXPECT_TRUE(HaRigaCheInizia("Auto-Hide task bar="));
}

TEST_F(StartGameTest, EachRoadOfTheFolderGivesItsLinesAndBoxes) {
    struct Strada {
        const char* nome;
        std::function<void()> prepara;
        bool esito;
        std::vector<std::string> boxes;
        std::vector<std::string> righe;  // lines the log must hold besides the boxes'
        bool preparazione;               // the media preparation was reached
    };
    const std::string mcf = trle / "media.mcf";
    const std::vector<Strada> strade = {
        {"script.dat missing", [&] { Togli("script.dat"); }, false, {"ERROR missing Script.dat in trle folder"}, {}, false},
        {"no language file", [&] { Togli("english.dat"); }, false,
         {"ERROR missing any 'language'.dat file in trle folder"}, {}, false},
        {"two language files", [&] { Scrivi("ITALIAN.DAT", "i"); }, true, {},
         {"WARNING: there are 2 'language'.dat files in trle folder"}, true},
        {"another configuration", [&] { ASSERT_TRUE(MoveFileA(mcf.c_str(), (trle / "old.mcf").c_str())); }, true, {},
         {"media.mcf not found in trle folder. Try loading any.mcf file (for backward compatibility with 1.4 version",
          "Found media configuration file in: " + (trle / "old.mcf")},
         true},
        {"no configuration", [&] { Togli("media.mcf"); }, false, {"ERROR: missing media.mcf file in trle folder"},
         {"Not found *.mcf files in folder: " + trle.Percorso(), "Missing media configuration file in trle folder"},
         false},
        {"media preparation fails", [&] { EsitoPreparazione = false; }, false, {}, {"Call InitMediaMcf()"}, true},
        {"script.dat damaged", [&] { Scrivi("script.dat", LeggiFileProva(trle / "script.dat").substr(0, 70)); }, true,
         {"ERROR damaged script.dat file in : " + (trle / "script.dat") +
          ": its path block runs past the end of the file"},
         {}, true},
    };
    for (const Strada& s : strade) {
        SCOPED_TRACE(s.nome);
        TearDown();
        SetUp();
        s.prepara();
        std::vector<BoxRegistrato> boxes;
        EXPECT_EQ(Avvia(static_cast<int>(s.boxes.size()), boxes), s.esito);
        EXPECT_EQ(TestiBox(boxes), s.boxes);
        for (const std::string& b : s.boxes) EXPECT_TRUE(HaRiga(b)) << b;
        for (const std::string& r : s.righe) EXPECT_TRUE(HaRiga(r)) << r;
        EXPECT_EQ(ChiamatePreparazione, s.preparazione ? 1 : 0);
        EXPECT_EQ(HaBit(ModificheAvvio, GiocoConfigurato), s.esito);
        EXPECT_EQ(NumErroriLog, static_cast<int32_t>(s.boxes.size()));
        EXPECT_EQ(LivelloTab, 0);
    }
}

TEST_F(StartGameTest, AConfigurationThatFailsToLoadAbandonsTheStart) {
    Scrivi("media.mcf", "VER9.9 not a configuration");
    std::vector<BoxRegistrato> boxes;
    // The loader's own line comes first.
    EXPECT_FALSE(Avvia(2, boxes));
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].testo, "ERROR: loading media file from: " + (trle / "media.mcf"));
    EXPECT_EQ(HeaderMcf.TriggerCount, 0);
    EXPECT_EQ(HeaderMcf.MediaFileCount, 0);
    EXPECT_EQ(HeaderMcf.HeaderOptions, 0);
    EXPECT_EQ(ChiamatePreparazione, 0);
    EXPECT_EQ(LivelloTab, 0);
}

TEST_F(StartGameTest, ATriggerStoredAsAlreadyShownStartsClearedWithAnErrorLine) {
    Scrivi("media.mcf", Configurazione({Trigger(1, 0), Trigger(7, AlreadyShown | Disabled)}));
    std::vector<BoxRegistrato> boxes;
    ASSERT_TRUE(Avvia(1, boxes));
    EXPECT_EQ(TestiBox(boxes), std::vector<std::string>{"ERROR: media code 7 has flag 'AlreadyShoed'"});
    ASSERT_EQ(HeaderMcf.TriggerCount, 2);
    EXPECT_EQ(ListaMedia[1].Options, Disabled);
    EXPECT_TRUE(HaRiga("WARNING: media code 7 is disabled"));
    EXPECT_EQ(NumErroriLog, 1);
}

TEST_F(StartGameTest, AnErrorLineOfTheStartUpIsCarriedIntoTheRunsLog) {
    ProcessoGioco.hProcess = reinterpret_cast<void*>(1);
    LogAbilitato = false;
    InitMediaLog();
    StampaLog("Command line error: unknown option: '/x'", true);
    // The user saw its box already: no second one.
    std::vector<BoxRegistrato> boxes;
    ASSERT_TRUE(Avvia(0, boxes));
    EXPECT_TRUE(boxes.empty());
    const std::vector<std::string> righe = RigheLog();
    ASSERT_GE(righe.size(), 3u);
    EXPECT_EQ(righe[0].rfind("Start log file (", 0), 0u);
    EXPECT_EQ(righe[1], "Command line error: unknown option: '/x'");
    EXPECT_EQ(righe[2], "InitGameConfig()");
    EXPECT_EQ(NumErroriLog, 1);
    EXPECT_TRUE(ErroreLoggato);
}

class ScriptDatSuDisco : public StartGameTest {};

TEST_F(ScriptDatSuDisco, LevelPathsComeWholeFromTheGameFolder) {
    const std::string lungo = "DATA\\" + std::string(45, 'L');
    Scrivi("script.dat", scriptdat::Componi({{"DATA\\TITLE", lungo}}));
    int32_t numero = -1;
    EXPECT_EQ(LeggiScriptDat(numero), (std::vector<std::string>{trle / "DATA\\TITLE.tr4", trle / (lungo + ".tr4")}));
    EXPECT_EQ(numero, 2);
}

TEST_F(ScriptDatSuDisco, AMissingOrDamagedFileGivesNoLevelsAndItsErrorLine) {
    const std::string percorso = trle / "script.dat";
    struct Caso {
        std::string dati;  // "" removes the file
        std::string errore;
    };
    for (const Caso& c :
         {Caso{"", "ERROR missing script.dat file in : " + percorso},
          Caso{"short", "ERROR damaged script.dat file in : " + percorso +
                            ": the file has 5 bytes, fewer than its 56-byte header"},
          Caso{scriptdat::Componi({{"A", "B", "C"}, 2}),
               "ERROR damaged script.dat file in : " + percorso + ": it names 3 level paths but only 2 levels"}}) {
        if (c.dati.empty())
            DeleteFileA(percorso.c_str());
        else
            Scrivi("script.dat", c.dati);
        NumErroriLog = 0;
        int32_t numero = -1;
        EXPECT_TRUE(LeggiScriptDat(numero).empty()) << c.errore;
        EXPECT_EQ(numero, 0);
        EXPECT_EQ(UltimoErrore, c.errore);
        EXPECT_TRUE(HaRiga(c.errore));
        EXPECT_EQ(NumErroriLog, 1);
    }
}

TEST_F(ScriptDatSuDisco, TheTitleTrackOrMinusOneWithItsLine) {
    const std::string percorso = trle / "script.dat";
    EXPECT_EQ(CercaCdTitolo(), 104);
    Scrivi("script.dat", scriptdat::Componi({{"DATA\\TITLE"}, 1, scriptdat::BloccoTitolo(112)}));
    EXPECT_EQ(CercaCdTitolo(), -1);
    EXPECT_TRUE(HaRiga("ERROR: searching title cd in: " + percorso + ": the title level's CD track 112 is not a track"));
    Togli("script.dat");
    EXPECT_EQ(CercaCdTitolo(), -1);
    EXPECT_TRUE(HaRiga("ERROR: non found script.dat in : " + percorso));
}

TEST_F(ScriptDatSuDisco, TheChecksumOfTheFileOrItsFailure) {
    const std::string percorso = trle / "script.dat";
    Scrivi("script.dat", "abc");
    bool errore = true;
    EXPECT_EQ(ComputeCheckSumScriptDat(errore), 0x612673);
    EXPECT_FALSE(errore);

    Scrivi("script.dat", "");
    EXPECT_EQ(ComputeCheckSumScriptDat(errore), 0);
    EXPECT_TRUE(errore);
    EXPECT_TRUE(HaRiga("ERROR: in ComputeCheckSumScriptDat(): the file is empty: " + percorso));

    Togli("script.dat");
    Osservatore osservatore(trle.Percorso(), "OK", 1, GetCurrentProcessId(), 20000);
    errore = false;
    EXPECT_EQ(ComputeCheckSumScriptDat(errore), 0);
    const std::vector<BoxRegistrato> boxes = osservatore.Boxes();
    EXPECT_TRUE(errore);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].testo, "ERROR: not found script.dat file in: " + percorso);
}

TEST_F(ScriptDatSuDisco, ALevelNumberOutsideTheListHasNoFile) {
    FileLivelli = {"a.tr4", "b.tr4"};
    NumLivelli = 2;
    EXPECT_EQ(PercorsoFileTr4(1), "b.tr4");
    for (const int32_t livello : {-1, 2}) {
        EXPECT_EQ(PercorsoFileTr4(livello), "");
        EXPECT_TRUE(HaRiga("WARNING: not valid level number in PercorsoFileTr4(): " + std::to_string(livello)));
    }
}

}  // namespace
