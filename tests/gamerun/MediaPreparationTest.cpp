// The media preparation of a run in a game folder of its own: the roads
// that stop it and what each leaves, the CD tables, the game's video mode
// and a first execution.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "core/FileUtils.h"
#include "core/MediaConfig.h"
#include "core/MediaPacket.h"
#include "core/MediaTrigger.h"
#include "core/SystemUtils.h"
#include "core/Utf8Text.h"
#include "displaymodes/VideoListFile.h"
#include "runservices/Desktop.h"
#include "gamerun/MediaPreparation.h"
#include "runservices/TombSettings.h"
#include "runservices/VideoList.h"
#include "patcher/GamePatcher.h"
#include "patcher/PatchFiles.h"
#include "input/KeyMacros.h"
#include "platform/KeyDriver.h"
#include "tests/media/DownloadPages.h"
#include "tests/support/SyntheticExe.h"
#include "tests/support/TestProcesses.h"
#include "tests/support/TestRegistry.h"
#include "tests/gamerun/RunFixture.h"
#include "tools/mcfwriter/McfDescription.h"

namespace {

void I16(std::string& b, size_t p, int v) {
    b[p] = static_cast<char>(v & 0xFF);
    b[p + 1] = static_cast<char>((v >> 8) & 0xFF);
}

// A script.dat of a title and one level, laid out by hand: header, path
// offsets, path block, level block offsets, level blocks; the title's block
// holds its CD track at byte 36.
std::string ScriptDat(int cdTitolo) {
    const std::string percorsi("DATA\\TITLE\0DATA\\LEVEL1\0", 23);
    std::string b(56, '\0');
    b[9] = 2;
    I16(b, 10, 2);
    I16(b, 12, static_cast<int>(percorsi.size()));
    b += std::string(4, '\0');
    I16(b, 56, 0);
    I16(b, 58, 11);
    b += percorsi;
    const size_t livelli = b.size();
    b += std::string(4, '\0');
    I16(b, livelli, 0);
    I16(b, livelli + 2, 40);
    for (int blocco = 0; blocco < 2; ++blocco) {
        std::string l(40, '\0');
        l[0] = static_cast<char>(0x91);
        l[36] = static_cast<char>(blocco == 0 ? cdTitolo : 99);
        b += l;
    }
    return b;
}

// The checksum the configuration keeps: first byte, low byte of the sum
// and that byte XOR 0x55.
int32_t SommaScriptDat(const std::string& b) {
    uint32_t s = 0;
    for (char c : b) s += static_cast<uint8_t>(c);
    s &= 0xFF;
    return static_cast<int32_t>(static_cast<uint8_t>(b[0]) * 65536u + s * 256u + (s ^ 0x55u));
}

constexpr int CdTitolo = 104;

class Preparazione : public ProvaRun {
public:
    void SetUp() override {
        ProvaRun::SetUp();
        ASSERT_TRUE(CreaCartella(trle / "store"));
        ASSERT_TRUE(CreaCartella(trle / "audio"));
        ASSERT_TRUE(CreaCartella(trle / "data"));
        CartellaTrle = trle.Percorso();
        PercorsoStore = trle / "store";
        InitMediaLog();
        TipoProgramma = 4;
        SistemaNT = true;
        CodicePiattaforma = 5;
        ModificheAvvio = 0;
        StatoGioco = 0;
        CdTitoli = -1;
        ListaMediaWorking.clear();
        NumMediaWorking = 0;
        ListaCdAlert.clear();
        NumCdAlert = 0;
        ListaCdTrigger.clear();
        NumCdTrigger = 0;
        ScriviFileProva(trle / "script.dat", ScriptDat(CdTitolo));
        // The game's settings go to a key of the test's own.
        ChiaveRegistroTomb = radice + "\\";
    }
    void TearDown() override {
        CancellaAlberoRegistro(HKEY_CURRENT_USER, radice);
        ChiaveRegistroTomb = "Software\\Core Design\\Tomb Raider Level Editor\\";
        HeaderMcf = MediaConfigHeader{};
        ListaMedia.clear();
        ProvaRun::TearDown();
    }
    // The configuration as the start of a run leaves it loaded.
    void Configurazione(const std::string& descrizione) {
        std::string errore;
        ASSERT_TRUE(LeggiDescrizioneMcf(descrizione, errore)) << errore;
        HeaderMcf.CartellaMcf = CartellaTrle;
        OpzioniGioco = HeaderMcf.HeaderOptions;
    }
    void Wav(int cd) { ASSERT_TRUE(ScriviFileProva(trle / ("audio\\" + NomeWav(cd)), "RIFF")); }
    static std::string NomeWav(int cd) {
        char n[8];
        snprintf(n, sizeof n, "%03d.wav", cd);
        return n;
    }
    // Files a run keeps in the store across a first execution.
    void StoreDiPrima() {
        ImpostazioniTomb vecchie;
        vecchie.VMode = 7;
        vecchie.Volumetric = 1;
        SalvaOldSettings(vecchie);
        SalvaOldSettings(vecchie);  // and its backup_ copy
        ASSERT_TRUE(EsisteFileProva(store2("backup_Old_Settings.trg")));
        ASSERT_TRUE(ScriviFileProva(store2("media_log.txt"), "earlier lines\r\n"));
        ASSERT_TRUE(ScriviFileProva(store2("stale.bmp"), "old"));
    }
    std::string store2(const std::string& nome) const { return trle / ("store\\" + nome); }

    CartellaProva trle{"trle"};
    const std::string radice = "Software\\LudovaneTest\\Prep" + std::to_string(GetCurrentProcessId());
};

const char* const UnTriggerCd =
    "[Trigger]\nTypeFlags=0x80\nTriggerCd=12\nMediaCode=1\nLevel=1\n"
    "[Trigger]\nTypeFlags=0x80\nMediaCode=2\n";

// Each road that stops the preparation, and the bits it may leave: only
// those of the steps done before it.
struct CasoArresto {
    const char* nome;
    std::string descrizione;
    std::function<void(Preparazione&)> prepara;
    std::string riga;  // the error line, or its beginning
    int32_t statoGioco;
};

class Arresti : public Preparazione, public testing::WithParamInterface<int> {};

std::vector<CasoArresto> CasiArresto() {
    return {
        {"missing trigger wav", UnTriggerCd, [](Preparazione& p) { p.Wav(CdTitolo); }, "ERROR: missing file: ",
         NoInheritCheat | NoInheritSave},
        {"missing title wav", UnTriggerCd, [](Preparazione& p) { p.Wav(12); }, "ERROR: missing CD for title: ",
         NoInheritCheat | NoInheritSave},
        {"script.dat changed", std::string("HeaderOptions=0x10\nScriptDatChecksum=12345\n") + UnTriggerCd,
         [](Preparazione& p) {
             p.Wav(12);
             p.Wav(CdTitolo);
         },
         "ERROR: violated blinding script.dat. Script.dat file has been changed.", NoInheritCheat | NoInheritSave},
        {"damaged packet", UnTriggerCd,
         [](Preparazione& p) {
             ASSERT_TRUE(ScriviFileProva(p.trle / "media.mpf", "this is no media packet at all"));
         },
         "ERROR exstracting files: ", NoInheritCheat | NoInheritSave | PrimaEsecuzione},
    };
}

TEST_P(Arresti, StopAndLeaveOnlyWhatWasDone) {
    const CasoArresto c = CasiArresto()[static_cast<size_t>(GetParam())];
    SCOPED_TRACE(c.nome);
    Configurazione(c.descrizione);
    c.prepara(*this);
    StoreDiPrima();
    ImpostazioniTombSalvate = ImpostazioniTomb{};
    const int32_t errori = NumErroriLog;
    EXPECT_FALSE(InitMediaMcf());
    EXPECT_TRUE(HaRigaCheInizia(c.riga));
    EXPECT_GT(NumErroriLog, errori);
    // Nothing of the desktop, the registry, the keys or the screen.
    EXPECT_EQ(ModificheAvvio, FaseSpecialMedia | NoAntiTrigger);
    EXPECT_EQ(StatoGioco, c.statoGioco);
    EXPECT_EQ(LivelloTab, 0);
    // The copy of before a crash is neither rewritten nor lost.
    ImpostazioniTomb letta;
    ASSERT_TRUE(LeggiOldSettings(letta));
    EXPECT_EQ(letta.VMode, 7);
    // They are what the end of the run writes back to the registry.
    EXPECT_EQ(BytesOldSettings(ImpostazioniTombSalvate), BytesOldSettings(letta));
    EXPECT_TRUE(EsisteFileProva(store2("media_log.txt")));
    if (c.statoGioco & PrimaEsecuzione) {
        // A packet that cannot be extracted stays for the next try.
        EXPECT_TRUE(EsisteFileProva(trle / "media.mpf"));
        EXPECT_FALSE(EsisteFileProva(trle / "Remove_Level.bat"));
    }
}

INSTANTIATE_TEST_SUITE_P(Strade, Arresti, testing::Range(0, 4));

TEST_F(Preparazione, MissingTriggerWavNamesThePath) {
    Configurazione(UnTriggerCd);
    Wav(CdTitolo);
    EXPECT_FALSE(InitMediaMcf());
    EXPECT_TRUE(HaRiga("ERROR: missing file: " + trle / "audio\\012.wav"));
    EXPECT_TRUE(HaRiga("Check for presence of wav files used by media triggers"));
}

TEST_F(Preparazione, FirstExecutionExtractsThePacketAndKeepsTheRunsOwnFiles) {
    Configurazione(UnTriggerCd);
    CartellaProva sorgenti;
    ScriviFileProva(sorgenti / "012.wav", "track twelve");
    ScriviFileProva(sorgenti / "intro.bmp", "intro");
    MediaPacketHeader h;
    const std::string mpf = Utf8DaAnsi(trle / "media.mpf");
    ASSERT_TRUE(GestionePacchettoMedia(mpf, CreaPacchetto, "", "", h, false)) << UltimoErrore;
    for (const char* n : {"012.wav", "intro.bmp"})
        ASSERT_TRUE(GestionePacchettoMedia(mpf, AggiungiFile, Utf8DaAnsi(sorgenti / n), "", h, false)) << n;
    StoreDiPrima();
    // What an earlier level moved into the store.
    const char* const ausiliari[] = {"Scrivane.exe", "Vistrelo.exe", "Vantrek.VXD", "Tonvell.dll", "videolist.bin"};
    for (const char* n : ausiliari) ASSERT_TRUE(ScriviFileProva(store2(n), n));
    // The title's track is missing: the run stops right after the packet's steps.
    EXPECT_FALSE(InitMediaMcf());
    EXPECT_TRUE(HaRiga("ERROR: missing CD for title: " + trle / "audio\\104.wav"));

    EXPECT_TRUE(HaRiga("Found media packet file in: " + trle / "media.mpf"));
    EXPECT_TRUE(HaRiga("First execution: remove all files from trle\\store folder"));
    EXPECT_TRUE(HaRiga("Extract all files in folder: " + trle / "store"));
    EXPECT_TRUE(HaRigaCheInizia("Extracted files list: "));
    EXPECT_TRUE(HaBit(StatoGioco, PrimaEsecuzione));
    EXPECT_EQ(LeggiFileProva(trle / "audio\\012.wav"), "track twelve");
    EXPECT_EQ(LeggiFileProva(store2("intro.bmp")), "intro");
    EXPECT_FALSE(EsisteFileProva(trle / "media.mpf"));
    EXPECT_TRUE(EsisteFileProva(trle / "Remove_Level.bat"));
    EXPECT_TRUE(EsisteFileProva(store2("Extract.txt")));
    EXPECT_TRUE(HaRiga("#TOT_FILES#=2"));
    // Emptied, but for the settings of before a crash and the run's log.
    EXPECT_FALSE(EsisteFileProva(store2("stale.bmp")));
    EXPECT_TRUE(EsisteFileProva(store2("Old_Settings.trg")));
    EXPECT_TRUE(EsisteFileProva(store2("backup_Old_Settings.trg")));
    EXPECT_EQ(LeggiFileProva(store2("media_log.txt")).rfind("earlier lines\r\n", 0), 0u);
    for (const char* n : ausiliari) EXPECT_EQ(LeggiFileProva(store2(n)), n);
}

TEST_F(Preparazione, CompanionFilesAreMovedIntoTheStore) {
    Configurazione(std::string("HeaderOptions=0x10\nScriptDatChecksum=1\n") + UnTriggerCd);
    Wav(12);
    Wav(CdTitolo);
    ScriviFileProva(trle / "Scrivane.exe", "logger");
    ScriviFileProva(trle / "Vantrek.VXD", "driver");
    EXPECT_FALSE(InitMediaMcf());
    for (const char* n : {"Scrivane.exe", "Vantrek.VXD"}) {
        EXPECT_TRUE(HaRiga(std::string("WARNING: found file ") + n + " in bad position. Move it in store folder: " +
                           store2(n)));
        EXPECT_FALSE(EsisteFileProva(trle / n)) << n;
        EXPECT_TRUE(EsisteFileProva(store2(n))) << n;
    }
    EXPECT_EQ(LeggiFileProva(store2("Scrivane.exe")), "logger");
    EXPECT_FALSE(HaRigaCheInizia("WARNING: found file Vistrelo.exe"));
}

TEST_F(Preparazione, MatchingScriptDatPassesTheCheck) {
    const int32_t somma = SommaScriptDat(ScriptDat(CdTitolo));
    Configurazione("HeaderOptions=0x10\nScriptDatChecksum=" + std::to_string(somma) + "\n" + UnTriggerCd);
    Wav(12);
    Wav(CdTitolo);
    // No video list and no enumerator: the run stops at the video list,
    // past the check and the CD tables.
    EXPECT_FALSE(InitMediaMcf());
    EXPECT_TRUE(HaRiga("Verify blinding script.dat file"));
    EXPECT_FALSE(HaRigaCheInizia("ERROR: violated blinding script.dat."));
    EXPECT_TRUE(HaRiga("Title.tr4 use CD audio track = 104"));
    EXPECT_TRUE(HaRiga("Enum Resolution Video Mode"));
    EXPECT_EQ(CdTitoli, CdTitolo);
}

// A level with a movie on a computer without the media player control:
// the player is told, and the run stops before the game's settings.
TEST_F(Preparazione, AMovieWithoutTheMediaPlayerStopsTheFirstExecution) {
    if (EsisteFile(CartellaSpeciale(37) + "\\msdxm.ocx") || EsisteFile(CartellaSpeciale(37) + "32\\msdxm.ocx"))
        GTEST_SKIP() << "the prefix has a media player control";
    Configurazione(std::string(UnTriggerCd) + "[Trigger]\nTypeFlags=0x4\nMediaFile=intro.wmv\nMediaCode=3\n");
    Wav(12);
    Wav(CdTitolo);
    CartellaProva sorgenti;
    ScriviFileProva(sorgenti / "intro.wmv", "movie");
    MediaPacketHeader h;
    const std::string mpf = Utf8DaAnsi(trle / "media.mpf");
    ASSERT_TRUE(GestionePacchettoMedia(mpf, CreaPacchetto, "", "", h, false)) << UltimoErrore;
    ASSERT_TRUE(GestionePacchettoMedia(mpf, AggiungiFile, Utf8DaAnsi(sorgenti / "intro.wmv"), "", h, false));
    PagineAperte pagine(sorgenti.Percorso());
    ASSERT_TRUE(pagine.Pronta());
    std::vector<BoxRegistrato> boxes;
    {
        Osservatore osservatore(sorgenti.Percorso(), "OK", 1, GetCurrentProcessId(), 30000);
        EXPECT_FALSE(InitMediaMcf());
        boxes = osservatore.Boxes();
    }
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].testo.substr(0, 36), "Media Player (msdxm.ocx): not found\r");
    EXPECT_EQ(pagine.Indirizzi(1), std::vector<std::string>{IndirizzoMediaPlayer});
    EXPECT_TRUE(HaRiga("There are one or more movie medias in current. Checking for movie capability of media player "
                       "ocx installed on this computer"));
    EXPECT_TRUE(HaRiga("WARNING: Media Player version too low: asked to user to download Windows Media Player 7.1 "
                       "for windows98"));
    EXPECT_TRUE(HaRiga("On current computer missing one or more component necessary to play movies"));
    EXPECT_FALSE(HaRigaCheInizia("Movies capabilities ok"));
    EXPECT_FALSE(HaRiga("Enum Resolution Video Mode"));
}

// Old_Settings.trg of a crash is read before the first execution empties
// the store, and its settings, not the registry's, are the ones kept.
TEST_F(Preparazione, SettingsOfACrashSurviveAFirstExecution) {
    Configurazione(UnTriggerCd);
    Wav(12);
    Wav(CdTitolo);
    CartellaProva sorgenti;
    ScriviFileProva(sorgenti / "intro.bmp", "intro");
    MediaPacketHeader h;
    const std::string mpf = Utf8DaAnsi(trle / "media.mpf");
    ASSERT_TRUE(GestionePacchettoMedia(mpf, CreaPacchetto, "", "", h, false)) << UltimoErrore;
    ASSERT_TRUE(GestionePacchettoMedia(mpf, AggiungiFile, Utf8DaAnsi(sorgenti / "intro.bmp"), "", h, false));
    StoreDiPrima();
    EXPECT_FALSE(InitMediaMcf());  // stops at the video list
    EXPECT_TRUE(HaRiga("WARNING: Previous crash: using old tomb settings from file 'Old_Settings.trg'"));
    EXPECT_EQ(ImpostazioniTombSalvate.VMode, 7);
    EXPECT_EQ(ImpostazioniTombSalvate.Volumetric, 1);
    ImpostazioniTomb letta;
    ASSERT_TRUE(LeggiOldSettings(letta));
    EXPECT_EQ(letta.VMode, 7);
    EXPECT_FALSE(EsisteFileProva(store2("stale.bmp")));
    EXPECT_FALSE(HaBit(ModificheAvvio, ImpostazioniCambiate));
}

// The CD tables from a table of triggers.
TEST_F(Preparazione, CdTablesFromTheTriggers) {
    Configurazione(
        // alert while its CD sounds, twice on one pair: both kept
        "[Trigger]\nTypeFlags=0x8000000\nOptions=0x10000\nTriggerCd=20\nMediaCode=1\nLevel=2\n"
        "[Trigger]\nTypeFlags=0x8000000\nOptions=0x10000\nTriggerCd=20\nMediaCode=2\nLevel=2\n"
        // common triggers: one pair twice, once more for any level
        "[Trigger]\nTypeFlags=0x80\nTriggerCd=15\nMediaCode=3\nLevel=1\n"
        "[Trigger]\nTypeFlags=0x80\nTriggerCd=15\nMediaCode=4\nLevel=1\n"
        "[Trigger]\nTypeFlags=0x80\nTriggerCd=15\nMediaCode=5\nLevel=-1\n"
        // needs the action key: neither alert nor common
        "[Trigger]\nTypeFlags=0x80\nOptions=0x80000\nTriggerCd=30\nMediaCode=6\nLevel=1\n"
        // guardian inheriting the saving (0x2 and 0x8), and one not
        "[Trigger]\nTypeFlags=0x1\nOptions=0x80000\nTriggerCd=40\nMediaCode=7\n"
        "Syntax=<GUARDIAN>#FLAGS#=10\\r\\n<END_GUARDIAN>\n"
        "[Trigger]\nTypeFlags=0x1\nOptions=0x80000\nTriggerCd=41\nMediaCode=8\n"
        "Syntax=<GUARDIAN>#FLAGS#=2\\r\\n<END_GUARDIAN>\n"
        // not bound to a CD: in no table
        "[Trigger]\nTypeFlags=0x80\nMediaCode=9\n");
    Wav(97);
    Wav(110);
    Wav(103);  // not one of the special tracks
    CostruisciTabelleCd();
    EXPECT_EQ(CdTitoli, CdTitolo);
    EXPECT_EQ(ListaCdAlert, (std::vector<CdLivello>{{20, 2}, {20, 2}}));
    EXPECT_EQ(NumCdAlert, 2);
    EXPECT_EQ(ListaCdTrigger, (std::vector<CdLivello>{{15, 1}, {15, -1}}));
    EXPECT_EQ(NumCdTrigger, 2);
    EXPECT_EQ(ListaCdGuardian, (std::vector<int32_t>{40}));
    EXPECT_EQ(NumCdGuardian, 1);
    EXPECT_EQ(ListaCdSuoni, (std::vector<int32_t>{110, 104, 97, 41, 40, 30, 20, 15}));
    EXPECT_EQ(NumCdSuoni, 8);
    EXPECT_TRUE(HaRiga("Cd list: 110, 104, 97, 41, 40, 30, 20, 15"));
    EXPECT_TRUE(HaRiga("Found Media Code=1 CD=20  for level=2"));
    EXPECT_TRUE(HaRiga("Found media code=5  CD=15  Level=-1"));
    EXPECT_TRUE(HaRiga("Found CD = 40"));
}

TEST_F(Preparazione, WithoutCdTriggersOnlyTitleAndSpecialTracks) {
    Configurazione("[Trigger]\nTypeFlags=0x80\nMediaCode=1\n[Trigger]\nTypeFlags=0x8000000\nOptions=0x10000\n");
    Wav(102);
    ScriviFileProva(trle / "script.dat", "short");
    CostruisciTabelleCd();
    EXPECT_EQ(CdTitoli, -1);
    EXPECT_TRUE(HaRiga("WARNING: failed scanning for audio cd title.tr4 in script.dat"));
    EXPECT_TRUE(ListaCdAlert.empty());
    EXPECT_TRUE(ListaCdTrigger.empty());
    EXPECT_EQ(ListaCdSuoni, (std::vector<int32_t>{102, -1}));
}

// The whole preparation on the Xvfb desktop, full screen, without the
// logger: the game's settings go to a key of the test's own, the beep
// library comes from the store when the system folder lacks it.
class CorsaIntera : public Preparazione {
public:
    void SetUp() override {
        Preparazione::SetUp();
        SchermoReale();
        TaskBarAutoNascosta = false;
        ListaModiVideo.clear();
        NumModiVideo = 0;
        ASSERT_TRUE(ScriviFileProva(
            store2("videolist.bin"),
            ScriviVideoListFile({{0, 0, 1, {{640, 480, 32}, {800, 600, 32}, {1024, 768, 32}}}})));
        ASSERT_TRUE(ScriviFileProva(trle / "tomb4.exe", EseguibileSintetico({})));
        tonvell = CartellaSpeciale(37) + "\\Tonvell.dll";
        vantrek = CartellaSpeciale(37) + "\\Vantrek.vxd";
        // An earlier run may have installed the library: set aside meanwhile.
        tonvellPresente = EsisteFile(tonvell);
        if (tonvellPresente) {
            ASSERT_TRUE(MoveFileExA(tonvell.c_str(), (tonvell + ".test").c_str(), MOVEFILE_REPLACE_EXISTING));
        }
        ASSERT_TRUE(CopyFileA((CartellaProgrammi() + "\\Tonvell.dll").c_str(), store2("Tonvell.dll").c_str(), FALSE));
    }
    void TearDown() override {
        FuoriGioco = true;
        NascondiBackCover();
        ChiudiCover();
        if (HaBit(ModificheAvvio, AnimazioniDisattivate)) RipristinaAnimazioni();
        if (HaBit(ModificheAvvio, TaskBarNascosta)) MostraTaskBar();
        MostraMouse();
        CancellaFile(tonvell);
        if (tonvellPresente) MoveFileExA((tonvell + ".test").c_str(), tonvell.c_str(), MOVEFILE_REPLACE_EXISTING);
        CancellaFile(vantrek);
        ListaModiVideo.clear();
        NumModiVideo = 0;
        Preparazione::TearDown();
    }
    std::string tonvell, vantrek;
    bool tonvellPresente = false;
};

TEST_F(CorsaIntera, PreparesTheRunAndSignsTheExecutableThatIsPatched) {
    // Both the enabling and the disabling bits: enabled wins.
    Configurazione(std::string("HeaderOptions=0x3C0\n") + UnTriggerCd);
    Wav(12);
    Wav(CdTitolo);
    // The level's own executable: another build date, the same patch sites.
    OpzioniEseguibile proprio;
    proprio.dataPe = 1100000000;
    const std::string delLivello = EseguibileSintetico(proprio);
    ASSERT_TRUE(ScriviFileProva(store2("tomb4.exe"), delLivello));
    ASSERT_TRUE(ScriviFileProva(store2("TombVersion.txt"), "signature of another executable\r\n"));
    ASSERT_TRUE(InitMediaMcf());
    EXPECT_EQ(LivelloTab, 0);
    EXPECT_EQ(ModificheAvvio, FaseSpecialMedia | NoAntiTrigger | DriverTastiCaricato | AnimazioniDisattivate |
                                  TaskBarNascosta | SchermoNeroMostrato | ImpostazioniCambiate | MouseNascosto);
    // The level's executable in place, the original kept beside it.
    EXPECT_EQ(LeggiFileProva(trle / "backup_tomb4.exe"), EseguibileSintetico({}));
    EXPECT_FALSE(EsisteFileProva(store2("tomb4.exe")));
    // Signed before the patches, then patched: every set of its build.
    const std::string firma = "LE_UK_Standard (9-Nov-2004  11:33)";
    EXPECT_EQ(LeggiFileProva(store2("TombVersion.txt")), firma + "\r\n");
    EXPECT_TRUE(HaRiga("Tomb_Version: \"" + firma + "\""));
    EXPECT_TRUE(HaRiga("Fast patch set: ok"));
    EXPECT_TRUE(HaRiga("Ok patch for loading bug"));
    EXPECT_TRUE(HaBit(StatoGioco, PatchAltEnterApplicata));
    EXPECT_TRUE(HaBit(StatoGioco, PatchLoadingBugApplicata));
    EXPECT_EQ(FirmaEseguibile(trle / "tomb4.exe"), "LE_UK_P:XP_Standard (9-Nov-2004  11:33)");
    EXPECT_TRUE(avvisiPatch.empty());
    // The beep library is installed and checked.
    EXPECT_TRUE(EsisteFile(tonvell));
    EXPECT_TRUE(HaRiga("Installed Tonvell.dll in: " + tonvell));
    // Full screen: the desktop keeps its mode, the screen takes the game's.
    EXPECT_TRUE(HaRigaCheInizia("Video mode available in tomb raider is: " + std::to_string(SchermoX) + " x " +
                                std::to_string(SchermoY) + "  Bits=32"));
    EXPECT_FALSE(HaBit(ModificheAvvio, RisoluzioneCambiata));
    EXPECT_EQ(LeggiValoreRegistro("System\\Window"), 0);
    EXPECT_EQ(LeggiValoreRegistro("System\\BumpMap"), 1);
    EXPECT_EQ(LeggiValoreRegistro("System\\Volumetric"), 1);
    EXPECT_EQ(LeggiValoreRegistro("System\\VMode"), ImpostazioniTombCorrenti.VMode);
    EXPECT_TRUE(EsisteFileProva(store2("Old_Settings.trg")));
    EXPECT_TRUE(HaRiga("Shared mode = False"));
    EXPECT_TRUE(DialogBlank().Loaded());
}

// A system folder the beep library cannot be copied into only leaves the
// beeps silent: the run goes on.
TEST_F(CorsaIntera, ABeepLibraryThatCannotBeInstalledIsAWarning) {
    // A folder of that name: the library looks missing and cannot be copied.
    ASSERT_TRUE(CreateDirectoryA(tonvell.c_str(), nullptr));
    Configurazione(UnTriggerCd);
    Wav(12);
    Wav(CdTitolo);
    const int32_t errori = NumErroriLog;
    const bool esito = InitMediaMcf();
    RemoveDirectoryA(tonvell.c_str());
    EXPECT_TRUE(esito);
    EXPECT_TRUE(HaRiga("Missing Tonvell.dll: install it now"));
    EXPECT_TRUE(HaRiga("WARNING: failed copying Tonvell.dll in: " + tonvell + " (beeps are silent without it)"));
    EXPECT_FALSE(HaRigaCheInizia("Installed Tonvell.dll"));
    EXPECT_EQ(NumErroriLog, errori);
    EXPECT_TRUE(HaBit(ModificheAvvio, SchermoNeroMostrato));
}

// The README has players copy the beep library beside Ludovane.exe: there it
// is a companion program, moved into the store and installed from there.
// Found nowhere, the run stops with a line that says so.
TEST_F(CorsaIntera, TheBeepLibraryOfTheGameFolderIsMovedIntoTheStoreAndInstalled) {
    const std::string libreria = LeggiFileProva(store2("Tonvell.dll"));
    ASSERT_TRUE(MoveFileA(store2("Tonvell.dll").c_str(), (trle / "Tonvell.dll").c_str()));
    Configurazione(UnTriggerCd);
    Wav(12);
    Wav(CdTitolo);
    EXPECT_TRUE(InitMediaMcf());
    EXPECT_TRUE(HaRiga("WARNING: found file Tonvell.dll in bad position. Move it in store folder: " +
                       store2("Tonvell.dll")));
    EXPECT_FALSE(EsisteFileProva(trle / "Tonvell.dll"));
    EXPECT_EQ(LeggiFileProva(store2("Tonvell.dll")), libreria);
    EXPECT_TRUE(HaRiga("Installed Tonvell.dll in: " + tonvell));
    EXPECT_EQ(LeggiFileProva(tonvell), libreria);
}

TEST_F(CorsaIntera, AMissingBeepLibraryStopsWithItsLine) {
    ASSERT_TRUE(DeleteFileA(store2("Tonvell.dll").c_str()));
    Configurazione(UnTriggerCd);
    Wav(12);
    Wav(CdTitolo);
    EXPECT_FALSE(InitMediaMcf());
    EXPECT_TRUE(HaRiga("ERROR missing Tonvell.dll. This file it's necessary"));
    EXPECT_EQ(ModificheAvvio, FaseSpecialMedia | NoAntiTrigger | DriverTastiCaricato);
}

// A later run finds the executable patched by the first: the signature kept
// is still the one of before the patches, which user patches check.
TEST_F(CorsaIntera, TheSignatureOfTheExecutableBeforeItsPatchesIsKept) {
    Configurazione(UnTriggerCd);
    Wav(12);
    Wav(CdTitolo);
    const std::string firma = FirmaEseguibile(trle / "tomb4.exe");
    ASSERT_EQ(ApplicaFastPatchUE(trle / "tomb4.exe", false), Applicata);
    ASSERT_NE(FirmaEseguibile(trle / "tomb4.exe"), firma);
    ASSERT_TRUE(ScriviFileProva(store2("TombVersion.txt"), firma + "\r\n"));
    FilePatch legata;
    legata.FlagPatch = VerificaFirma;
    legata.FirmaTarget = firma;
    legata.Record = {RecordPatch{0x1000, 4, std::string(4, '\0'), "ABCD"}};
    legata.NumRecord = 1;
    ASSERT_TRUE(ScriviFileProva(store2("bound.ptc"), ScriviFilePatch(legata)));
    ASSERT_TRUE(InitMediaMcf());
    EXPECT_EQ(LeggiFileProva(store2("TombVersion.txt")), firma + "\r\n");
    EXPECT_TRUE(HaRiga("Tomb_Version: \"" + firma + "\""));
    EXPECT_TRUE(HaRiga("Applied user patch: bound.ptc"));
    EXPECT_EQ(LeggiFileProva(trle / "tomb4.exe").substr(0x1000, 4), "ABCD");
    EXPECT_EQ(FirmaPatchUtente, std::vector<std::string>{firma});
    RimuoviPatchUtente();
    EXPECT_EQ(LeggiFileProva(trle / "tomb4.exe").substr(0x1000, 4), std::string(4, '\0'));
}

// Windows 98 and Me, chosen by the platform code: the key driver is needed
// full screen, and its absence stops the run before the desktop changes.
TEST_F(CorsaIntera, Windows98NeedsTheKeyDriver) {
    // This platform has no 98 driver to open: the installed file stands for it.
    static std::string installato;
    installato = vantrek;
    DriverTasti.Apri = [](const char*, DWORD, DWORD, DWORD, DWORD) {
        return GetFileAttributesA(installato.c_str()) == INVALID_FILE_ATTRIBUTES ? INVALID_HANDLE_VALUE
                                                                             : reinterpret_cast<HANDLE>(0x5A5A);
    };
    DriverTasti.Chiudi = [](HANDLE) { return TRUE; };
    for (bool presente : {false, true}) {
        SCOPED_TRACE(presente ? "driver in the level's files" : "no driver");
        Configurazione(UnTriggerCd);
        Wav(12);
        Wav(CdTitolo);
        ModificheAvvio = 0;
        StatoGioco = 0;
        SistemaNT = false;
        CodicePiattaforma = 4;
        CancellaFile(vantrek);
        if (presente) {
            ASSERT_TRUE(ScriviFileProva(store2("Vantrek.vxd"), "driver"));
        }
        EXPECT_EQ(InitMediaMcf(), presente);
        EXPECT_TRUE(HaRiga("Detected Window98/Me: Verify for installation of Vantrek.vxd"));
        if (presente) {
            EXPECT_TRUE(HaRiga("Installed Vantrek.vxd"));
            EXPECT_EQ(LeggiFileProva(vantrek), "driver");
            EXPECT_TRUE(HaBit(ModificheAvvio, DriverTastiCaricato));
        } else {
            EXPECT_TRUE(HaRiga("ERROR missing Vantrek.vxd. This file it's necessary"));
            EXPECT_EQ(ModificheAvvio, FaseSpecialMedia | NoAntiTrigger);
        }
    }
    TerminateSendKeys();
    DriverTasti = ChiamateDriverTastiDiSistema();
    SistemaNT = true;
    CodicePiattaforma = 5;
}

// The game's mode: the size asked for, else lowered step by step, else the
// last mode of the list.
struct CasoModo {
    const char* nome;
    std::vector<VideoMode> lista;
    int32_t w, h;
    int32_t attesoW, attesoH, attesoBits, attesoIndice;
};

TEST_F(Preparazione, GameModeIsFoundOrLowered) {
    const std::vector<CasoModo> casi = {
        {"exact, 32 before 16", {{1024, 768, 16}, {1024, 768, 32}}, 1024, 768, 1024, 768, 32, 1},
        {"exact at 16", {{800, 600, 32}, {1024, 768, 16}}, 1024, 768, 1024, 768, 16, 1},
        {"700 falls to 640x480", {{800, 600, 32}, {640, 480, 16}}, 700, 500, 640, 480, 16, 1},
        {"1280 falls to 800x600", {{640, 480, 32}, {800, 600, 32}}, 1280, 1024, 800, 600, 32, 1},
        {"1280 falls to 640x480", {{640, 480, 32}, {1024, 768, 16}}, 1280, 1024, 640, 480, 32, 0},
        {"too small becomes 640x480", {{640, 480, 32}}, 320, 200, 640, 480, 32, 0},
        {"none: the last mode", {{512, 384, 16}, {1600, 1200, 32}}, 1280, 1024, 1600, 1200, 32, 1},
        {"empty list", {}, 1024, 768, 640, 480, 0, -1},
    };
    for (const CasoModo& c : casi) {
        SCOPED_TRACE(c.nome);
        ListaModiVideo = c.lista;
        NumModiVideo = static_cast<int32_t>(c.lista.size());
        int32_t w = c.w, h = c.h, bits = -5;
        EXPECT_EQ(ScegliModoGioco(w, h, bits), c.attesoIndice);
        EXPECT_EQ(w, c.attesoW);
        EXPECT_EQ(h, c.attesoH);
        EXPECT_EQ(bits, c.attesoBits);
    }
    ListaModiVideo.clear();
    NumModiVideo = 0;
}

TEST_F(Preparazione, MissingResolutionIsAWarning) {
    ListaModiVideo = {{640, 480, 32}, {800, 600, 16}};
    NumModiVideo = 2;
    EXPECT_EQ(VerificaRisoluzione(800, 600, 16), 1);
    EXPECT_EQ(VerificaRisoluzione(800, 600, 32), -1);
    EXPECT_TRUE(HaRiga("WARNING: required resolution: 800x600  BitPerPixels=32  it's not available"));
    // Only the modes the count gives are searched.
    NumModiVideo = 1;
    EXPECT_EQ(VerificaRisoluzione(800, 600, 16), -1);
    ListaModiVideo.clear();
    NumModiVideo = 0;
}

}  // namespace
