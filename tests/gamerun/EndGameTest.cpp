// The end of a run: what is given back, what is reported and what is kept,
// on a registry key of the test's own under Wine.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/LevelVariables.h"
#include "core/MediaConfig.h"
#include "core/MediaTrigger.h"
#include "core/SystemUtils.h"
#include "platform/Clock.h"
#include "runservices/Desktop.h"
#include "runservices/KeyboardHook.h"
#include "gamerun/EndGame.h"
#include "media/AlertMedia.h"
#include "media/EmailMedia.h"
#include "media/MovieChecks.h"
#include "runservices/LoggerClient.h"
#include "gamerun/Principale.h"
#include "runservices/TombSettings.h"
#include "patcher/GamePatcher.h"
#include "patcher/PatchEngine.h"
#include "patcher/PatchFiles.h"
#include "tests/gamerun/RunFixture.h"
#include "tests/support/SyntheticExe.h"
#include "tests/support/TestProcesses.h"
#include "tests/support/TestRegistry.h"

namespace {

class FineRun : public ProvaRun {
protected:
    void SetUp() override {
        ProvaRun::SetUp();
        SchermoReale();
        radice = "Software\\LudovaneTest\\" + std::to_string(GetCurrentProcessId()) + "_end" +
                 std::to_string(++contatore);
        ChiaveRegistroTomb = radice + "\\";
        ListaMedia.assign(1, MediaTrigger{});
        ImpostazioniDaOldSettings = false;
        OldSettingsDiQuestaRun = false;
        FineGiocoSegnalata = false;
        AvviatoConOpzioneS = false;
        StatoSequenza = 0;
        PatchUtente.clear();
        NumPatchUtente = 0;
        hWndLogger = nullptr;
        ViewLogger = nullptr;
        hMapLogger = nullptr;
        ImpostazioniTombSalvate = ImpostazioniTomb{};
    }
    void TearDown() override {
        if (ProcessoGioco.hProcess && ProcessoGioco.hProcess != reinterpret_cast<void*>(1)) {
            TerminateProcess(ProcessoGioco.hProcess, 0);
            CloseHandle(ProcessoGioco.hProcess);
        }
        AccodaFileLog = AccodaNormale;
        CancellaAlberoRegistro(HKEY_CURRENT_USER, radice);
        ChiaveRegistroTomb = "Software\\Core Design\\Tomb Raider Level Editor\\";
        HeaderMcf = MediaConfigHeader{};
        ListaMedia.assign(1, MediaTrigger{});
        ModificheAvvio = 0;
        StatoGioco = 0;
        ImpostazioniDaOldSettings = false;
        OldSettingsDiQuestaRun = false;
        ProvaRun::TearDown();
    }

    // The settings of a run: the saved copy, and in the registry what the
    // run (or a crashed one) left there.
    void ImpostazioniDiProva(ImpostazioniTomb& salvate, ImpostazioniTomb& cambiate) {
        salvate = ImpostazioniTomb{};
        salvate.MusicVolume = 33;
        salvate.WindowX = 12;
        salvate.Window = 0;
        cambiate = salvate;
        cambiate.MusicVolume = 80;
        cambiate.Window = 1;
        cambiate.VMode = 4;
        ASSERT_TRUE(ScriviSettingsTomb(cambiate, false));
        ImpostazioniTombSalvate = salvate;
        ASSERT_TRUE(ScriviFileProva(store / "Old_Settings.trg", BytesOldSettings(salvate)));
    }
    static ImpostazioniTomb NelRegistro() {
        EXPECT_TRUE(ReadTombSettings());
        return ImpostazioniTombCorrenti;
    }

    static int Conta(const std::string& testo) {
        int n = 0;
        for (const std::string& r : RigheLog())
            if (r == testo) ++n;
        return n;
    }

    std::string radice;
    static inline int contatore = 0;
    static inline int64_t (*const AccodaNormale)(const std::string&, const std::string&) = AccodaFileLog;
};

bool Uguali(const ImpostazioniTomb& a, const ImpostazioniTomb& b) { return BytesOldSettings(a) == BytesOldSettings(b); }

TEST_F(FineRun, EndReportedByTheGameGivesNoAbnormalLineNorBoxes) {
    Osservatore osservatore(store.Percorso(), "OK", 2, GetCurrentProcessId(), 4000);
    ImpostaBit(ModificheAvvio, MediaTriggerAttivi | GiocoConfigurato | FlagSuoniLogger);
    ImpostaBit(StatoGioco, AbortSuErrore | CambioVideoAltEnter);
    FineGiocoSegnalata = true;
    EXPECT_TRUE(EndGameConfig());
    EXPECT_TRUE(osservatore.Boxes().empty());
    EXPECT_FALSE(HaRiga("WARNING: Tomb raider aborted (abnormal termination)"));
    // The logger is flushed and closed all the same.
    EXPECT_TRUE(HaRiga("Send message to get flush of log buffer of Scrivane"));
    EXPECT_TRUE(HaRiga("Send message to close Scrivane"));
    EXPECT_FALSE(HaBit(ModificheAvvio, FlagSuoniLogger | GiocoConfigurato));
    EXPECT_TRUE(FuoriGioco);
    EXPECT_FALSE(TimerAbilitato);
}

TEST_F(FineRun, GameClosedWithoutItsEndEventIsReportedAndItsBoxesFollowTheirBits) {
    struct Caso {
        int32_t stato;
        bool soloS;
        std::vector<std::string> boxes;
    };
    const std::string abort = "Tomb Raider game has been terminated because a special effect has been disturbed by user";
    const std::string altEnter =
        "Tomb Raider program has been terminated because you changed video mode using keys: ALT+ENTER";
    const std::string catture = "Remember that screenshots (captured game images) have been saved in folder: " +
                                CartellaTrle + "\\Captured_Images\r\n\r\n(You can capture game screen using PRINT key)";
    const std::vector<Caso> casi = {
        {0, false, {}},
        {AbortSuErrore, false, {abort}},
        {CambioVideoAltEnter, false, {altEnter}},
        {AbortSuErrore | CambioVideoAltEnter | ScreenshotCatturati, false, {abort, altEnter, catture}},
        {ScreenshotCatturati, true, {}},
    };
    std::vector<std::string> attesi;
    for (const Caso& c : casi) attesi.insert(attesi.end(), c.boxes.begin(), c.boxes.end());
    // Two more than expected: an extra box is seen, not left waiting.
    Osservatore osservatore(store.Percorso(), "OK", static_cast<int>(attesi.size()) + 2, GetCurrentProcessId(), 8000);
    LogAbilitato = false;
    InitMediaLog();
    for (const Caso& c : casi) {
        ModificheAvvio = MediaTriggerAttivi | GiocoConfigurato | FlagSuoniLogger;
        StatoGioco = c.stato;
        AvviatoConOpzioneS = c.soloS;
        EndGameConfig();
        EXPECT_FALSE(HaBit(StatoGioco, ScreenshotCatturati));
    }
    std::vector<std::string> visti;
    for (const BoxRegistrato& b : osservatore.Boxes()) visti.push_back(b.testo);
    EXPECT_EQ(visti, attesi);
    // The warning is an ordinary line: it reaches the log only while it is on.
    LogAbilitato = true;
    ModificheAvvio = MediaTriggerAttivi | GiocoConfigurato | FlagSuoniLogger;
    StatoGioco = 0;
    EndGameConfig();
    EXPECT_TRUE(HaRiga("WARNING: Tomb raider aborted (abnormal termination)"));
}

TEST_F(FineRun, StartFailedBeforeTheTriggersClosesTheGameAndRestoresNothing) {
    AvviaGioco();
    ASSERT_TRUE(ScriviFileProva(store / "Old_Settings.trg", BytesOldSettings(ImpostazioniTomb{})));
    ImpostaBit(StatoGioco, ScreenshotCatturati);
    Osservatore osservatore(store.Percorso(), "OK", 3, GetCurrentProcessId(), 5000);
    HANDLE gioco = nullptr;
    DuplicateHandle(GetCurrentProcess(), ProcessoGioco.hProcess, GetCurrentProcess(), &gioco, SYNCHRONIZE, FALSE, 0);
    EXPECT_TRUE(EndGameConfig());
    const std::vector<BoxRegistrato> boxes = osservatore.Boxes();
    EXPECT_EQ(WaitForSingleObject(gioco, 5000), static_cast<DWORD>(WAIT_OBJECT_0));
    CloseHandle(gioco);
    EXPECT_TRUE(HaRiga("Close tomb raider program"));
    EXPECT_EQ(ProcessoGioco.hThread, nullptr);
    EXPECT_EQ(ProcessoGioco.dwProcessId, 0u);
    EXPECT_EQ(ProcessoGioco.dwThreadId, 0u);
    EXPECT_FALSE(HaRiga("Verify for Send Email trigger"));
    EXPECT_FALSE(HaRiga("Deleting Old_Settings.trg"));
    // A copy this run never read belongs to a crash before it.
    EXPECT_TRUE(EsisteFileProva(store / "Old_Settings.trg"));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].testo.rfind("Remember that screenshots", 0), 0u);
    // The log was on: its numbered copy is made.
    EXPECT_TRUE(EsisteFileProva(store / "media_log1.txt"));
}

std::vector<std::string> EmailAperte;

// The e-mail kept during the run is written and opened at its end; a file
// that cannot be written is reported and nothing is opened.
TEST_F(FineRun, TheKeptEmailIsLeftForThePlayerOrItsFailureReported) {
    bool (*const apri)(const std::string&) = ApriFileEmail;
    ApriFileEmail = [](const std::string& percorso) {
        EmailAperte.push_back(percorso);
        return true;
    };
    MediaTrigger m;
    m.TypeFlags = BitEmail;
    m.MediaCode = 6;
    m.Syntax = "<SEND_EMAIL>#SENDTO#me@level.it#\r\n<END_SEND_EMAIL>";
    const std::string file = store / "email_data.txt";
    for (const bool scrivibile : {true, false}) {
        SCOPED_TRACE(scrivibile);
        EmailAperte.clear();
        HeaderMcf.TriggerCount = 1;
        ListaMedia = {m, MediaTrigger{}};
        IndiceEmailFinale = 0;
        ModificheAvvio = MediaTriggerAttivi | GiocoConfigurato;
        if (!scrivibile) {
            // No box at the end for the error line: the log is off.
            LogAbilitato = false;
            ASSERT_TRUE(ScriviFileProva(file, "earlier run"));
            SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
        }
        AzzeraLog();
        EXPECT_TRUE(EndGameConfig());
        EXPECT_EQ(IndiceEmailFinale, -1);
        EXPECT_EQ(EmailAperte, scrivibile ? std::vector<std::string>{file} : std::vector<std::string>{});
        EXPECT_EQ(LeggiFileProva(file).rfind(scrivibile ? "You should send an email to: me@level.it\r\n" : "earlier run", 0),
                  0u);
        EXPECT_EQ(HaRiga("ERROR creating email for <SEND EMAIL> trigger: unable to write file " + file), !scrivibile);
        SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    ApriFileEmail = apri;
}

TEST_F(FineRun, NumberedCopyAndErrorBoxFollowTheLogAndItsErrors) {
    struct Caso {
        bool log, errore, copia, box;
    };
    int copie = 0;
    for (const Caso& c : {Caso{true, false, true, false}, Caso{true, true, true, true}, Caso{false, false, false, false},
                          Caso{false, true, true, false}}) {
        LogAbilitato = c.log;
        InitMediaLog();
        Osservatore osservatore(store.Percorso(), "OK", 2, GetCurrentProcessId(), c.box ? 8000 : 2500);
        StampaLog("Start log file");
        if (c.errore) StampaLog("ERROR: something went wrong", true);
        EndGameConfig();
        const std::vector<BoxRegistrato> boxes = osservatore.Boxes();
        const std::string copia = store / ("media_log" + std::to_string(copie + 1) + ".txt");
        EXPECT_EQ(EsisteFileProva(copia), c.copia) << c.log << c.errore;
        if (c.copia) ++copie;
        if (c.copia && c.errore) {
            EXPECT_NE(LeggiFileProva(copia).find("ERROR: something went wrong"), std::string::npos);
        }
        ASSERT_EQ(boxes.size(), c.box ? 1u : 0u) << c.log << c.errore;
        if (c.box) {
            EXPECT_EQ(boxes[0].testo, "WARNING: There are 1 errors in log file: " + copia);
        }
        // The log afterwards is the one the run asked for.
        EXPECT_EQ(LogAbilitato, c.log);
    }
}

TEST_F(FineRun, OnlyAConfigurationOfThisVersionWithTriggersIsSavedBack) {
    struct Caso {
        const char* versione;
        int32_t triggers;
        bool salvata;
    };
    for (const Caso& c : {Caso{"VER1.4", 1, false}, Caso{"VER1.5", 0, false}, Caso{"VER1.5", 1, true}}) {
        DeleteFileA((store / "media.mcf").c_str());
        HeaderMcf = MediaConfigHeader{};
        HeaderMcf.Version = c.versione;
        HeaderMcf.CartellaMcf = store.Percorso();
        HeaderMcf.TriggerCount = c.triggers;
        MediaTrigger m;
        m.TypeFlags = 0x80;
        m.TriggerCd = 5;
        m.MediaCode = 41;
        m.Level = -1;
        m.Options = AlreadyShown;
        ListaMedia = {m, MediaTrigger{}};
        ModificheAvvio = MediaTriggerAttivi | GiocoConfigurato;
        AzzeraLog();
        EXPECT_TRUE(EndGameConfig()) << c.versione;
        EXPECT_EQ(EsisteFileProva(store / "media.mcf"), c.salvata) << c.versione << c.triggers;
        EXPECT_EQ(HaRiga("Save media configuration file in: " + store / "media.mcf"), c.salvata);
        EXPECT_EQ(HaRiga("Save variable values"), c.triggers > 0);
        if (c.salvata) {
            EXPECT_TRUE(HaRiga("Remove 'Already_Showed' flag from media code = 41"));
            ASSERT_TRUE(CaricaMediaMcf(store / "media.mcf"));
            EXPECT_EQ(ListaMedia[0].Options & AlreadyShown, 0);
            EXPECT_EQ(ListaMedia[0].MediaCode, 41);
        }
    }
}

// A movie disabled for good by VideoCodec.bin stays so in the saved
// configuration: no later run checks its codec again, since the first
// execution empties the store and the table with it.
TEST_F(FineRun, AMovieDisabledForGoodByTheCodecCheckIsSavedDisabled) {
    std::string bin = "\x01" + std::string(3, '\0') + "intro.wmv" + std::string(71, ' ') + "\x02" + std::string(3, '\0');
    ASSERT_TRUE(ScriviFileProva(store / "VideoCodec.bin", bin));
    HeaderMcf.Version = "VER1.5";
    HeaderMcf.CartellaMcf = store.Percorso();
    HeaderMcf.TriggerCount = 1;
    MediaTrigger m;
    m.TypeFlags = BitMovie;
    m.MediaFile = "fmv\\intro.wmv";
    m.Options = HasCodec;
    ListaMedia = {m, MediaTrigger{}};
    ModificheAvvio = MediaTriggerAttivi | GiocoConfigurato;
    ASSERT_TRUE(VerificaCodecFilmati());
    EXPECT_EQ(ListaMedia[0].Options, HasCodec | Disabled);
    EXPECT_TRUE(EndGameConfig());
    ASSERT_TRUE(CaricaMediaMcf(store / "media.mcf"));
    EXPECT_EQ(ListaMedia[0].Options, HasCodec | Disabled);
}

// An alert's time kept for a resume never reaches the next run.
TEST_F(FineRun, ASuspendedAlertIsSavedAsTheAuthorMadeIt) {
    HeaderMcf.Version = "VER1.5";
    HeaderMcf.CartellaMcf = store.Percorso();
    HeaderMcf.TriggerCount = 2;
    MediaTrigger m;
    m.TypeFlags = BitAlert;
    m.TriggerCd = 5;
    m.Options = WhileCdSounds;
    m.Syntax = "<ALERT>\r\n#DURATION#=30\r\n<END_ALERT>\r\n";
    m.MediaCode = 7;
    MediaTrigger altro = m;
    altro.MediaCode = 8;
    ListaMedia = {m, altro, MediaTrigger{}};
    ModificheAvvio = MediaTriggerAttivi | GiocoConfigurato;
    ASSERT_TRUE(ScriviElapsedSospeso(7, 4321));
    ASSERT_TRUE(ScriviElapsedSospeso(8, 99));
    EXPECT_TRUE(EndGameConfig());
    ASSERT_TRUE(CaricaMediaMcf(store / "media.mcf"));
    for (size_t i : {0u, 1u}) {
        EXPECT_EQ(ListaMedia[i].Syntax, m.Syntax);
        EXPECT_EQ(ListaMedia[i].Options, WhileCdSounds);
    }
}

TEST_F(FineRun, AFailedSaveOfTheConfigurationIsTheResult) {
    HeaderMcf.CartellaMcf = store / "missing_folder";
    HeaderMcf.TriggerCount = 1;
    ListaMedia = {MediaTrigger{}, MediaTrigger{}};
    ListaMedia[0].TypeFlags = 0x80;
    ModificheAvvio = MediaTriggerAttivi | GiocoConfigurato;
    Osservatore osservatore(store.Percorso(), "OK", 1, GetCurrentProcessId(), 8000);
    EXPECT_FALSE(EndGameConfig());
    const std::vector<BoxRegistrato> boxes = osservatore.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].testo.rfind("WARNING: There are 2 errors in log file: ", 0), 0u) << boxes[0].testo;
    EXPECT_TRUE(HaRiga("ERROR saving media configuration file in: " + store / "missing_folder\\media.mcf"));
    // The steps after it still ran.
    EXPECT_TRUE(HaRiga("Save variable values"));
}

// The last applied first: a later patch may lie over bytes of an earlier one.
TEST_F(FineRun, EveryUserPatchIsTakenOutLastAppliedFirst) {
    PatchUtente = {store / "first.ptc", "C:\\other\\second.ptc", "third.ptc"};
    NumPatchUtente = 3;
    ModificheAvvio = MediaTriggerAttivi | GiocoConfigurato;
    // None of them can come out: three error lines, and their count's box.
    Osservatore osservatore(store.Percorso(), "OK", 1, GetCurrentProcessId(), 8000);
    EXPECT_TRUE(EndGameConfig());
    EXPECT_EQ(osservatore.Boxes().size(), 1u);
    for (const char* nome : {"first.ptc", "second.ptc", "third.ptc"})
        EXPECT_TRUE(HaRiga(std::string("ERROR: Cann't remove user patch: ") + nome)) << nome;
    std::vector<std::string> rimosse;
    for (const std::string& r : RigheLog())
        if (r.rfind("Remove user patch: ", 0) == 0) rimosse.push_back(r);
    EXPECT_EQ(rimosse, (std::vector<std::string>{"Remove user patch: third.ptc", "Remove user patch: second.ptc",
                                                 "Remove user patch: first.ptc"}));
    // Each was asked to come out of the game folder's executable.
    ASSERT_EQ(avvisiPatch.size(), 3u);
    EXPECT_EQ(avvisiPatch[0], "ERROR: cann't find patch file: third.ptc");
    EXPECT_EQ(avvisiPatch[2], "ERROR: cann't find patch file: " + store / "first.ptc");
    EXPECT_EQ(NumPatchUtente, 0);
    EXPECT_TRUE(PatchUtente.empty());
}

// A user patch bound to the executable's signature comes out under the
// signature it went in with, though the built-in fixes changed the file's
// since; one that cannot come out is an error line.
TEST_F(FineRun, AUserPatchComesOutUnderTheSignatureItWentInWith) {
    const std::string gioco = store / "tomb4.exe";
    std::string dati = EseguibileSintetico({});
    ASSERT_TRUE(ScriviFileProva(gioco, dati));
    const std::string firma = FirmaEseguibile(gioco);
    ASSERT_EQ(ApplicaFastPatchUE(gioco, false), Applicata);
    ASSERT_NE(FirmaEseguibile(gioco), firma);
    constexpr int32_t Offset = 0x1000;
    FilePatch legata;
    legata.FlagPatch = VerificaFirma;
    legata.FirmaTarget = firma;
    legata.Record = {RecordPatch{Offset, 4, std::string(4, '\0'), "ABCD"}};
    legata.NumRecord = 1;
    FilePatch altrove = legata;
    altrove.FlagPatch = 0;
    altrove.Record = {RecordPatch{Offset + 16, 4, "WXYZ", "wxyz"}};
    ASSERT_TRUE(ScriviFileProva(store / "bound.ptc", ScriviFilePatch(legata)));
    ASSERT_TRUE(ScriviFileProva(store / "gone.ptc", ScriviFilePatch(altrove)));
    dati = LeggiFileProva(gioco);
    Poni(dati, Offset, "ABCD");
    ASSERT_TRUE(ScriviFileProva(gioco, dati));
    PatchUtente = {store / "bound.ptc", store / "gone.ptc"};
    FirmaPatchUtente = {firma, firma};
    NumPatchUtente = 2;
    ModificheAvvio = MediaTriggerAttivi | GiocoConfigurato;
    Osservatore osservatore(store.Percorso(), "OK", 1, GetCurrentProcessId(), 8000);
    EXPECT_TRUE(EndGameConfig());
    EXPECT_EQ(osservatore.Boxes().size(), 1u);
    EXPECT_EQ(LeggiFileProva(gioco).substr(Offset, 4), std::string(4, '\0'));
    EXPECT_TRUE(HaRiga("Remove user patch: bound.ptc"));
    EXPECT_FALSE(HaRiga("ERROR: Cann't remove user patch: bound.ptc"));
    EXPECT_TRUE(HaRiga("ERROR: Cann't remove user patch: gone.ptc"));
    EXPECT_TRUE(PatchUtente.empty());
    EXPECT_TRUE(FirmaPatchUtente.empty());
}

TEST_F(FineRun, SavedSettingsGoBackWheneverTheRegistryMayDiffer) {
    struct Caso {
        const char* nome;
        int32_t bit;
        bool daOldSettings;
        bool riscritte;
    };
    for (const Caso& c : {Caso{"changed by the run", ImpostazioniCambiate, false, true},
                          Caso{"taken from a crashed run", 0, true, true},
                          Caso{"never changed", 0, false, false}}) {
        ImpostazioniTomb salvate, cambiate;
        ImpostazioniDiProva(salvate, cambiate);
        ModificheAvvio = MediaTriggerAttivi | GiocoConfigurato | c.bit;
        ImpostazioniDaOldSettings = c.daOldSettings;
        OldSettingsDiQuestaRun = true;
        AzzeraLog();
        EXPECT_TRUE(EndGameConfig()) << c.nome;
        EXPECT_TRUE(Uguali(NelRegistro(), c.riscritte ? salvate : cambiate)) << c.nome;
        EXPECT_EQ(HaRiga("Restore previous tomb raider level editor settings"), c.riscritte) << c.nome;
        // This run's own copy goes in every case.
        EXPECT_FALSE(EsisteFileProva(store / "Old_Settings.trg")) << c.nome;
        EXPECT_FALSE(ImpostazioniDaOldSettings);
        EXPECT_FALSE(OldSettingsDiQuestaRun);
    }
}

// A start that stopped after it read a crash's copy and before it wrote its
// own: the crash's settings go back, and its copy stays for the next run.
TEST_F(FineRun, ACrashCopyOutlivesAStartThatStoppedBeforeItsOwn) {
    ImpostazioniTomb salvate, cambiate;
    ImpostazioniDiProva(salvate, cambiate);
    ModificheAvvio = MediaTriggerAttivi | GiocoConfigurato;
    ImpostazioniDaOldSettings = true;
    OldSettingsDiQuestaRun = false;
    EXPECT_TRUE(EndGameConfig());
    EXPECT_TRUE(Uguali(NelRegistro(), salvate));
    EXPECT_FALSE(HaRiga("Deleting Old_Settings.trg"));
    EXPECT_EQ(LeggiFileProva(store / "Old_Settings.trg"), BytesOldSettings(salvate));
}

TEST_F(FineRun, AFailedWriteBackKeepsOldSettingsForTheNextRun) {
    ImpostazioniTomb salvate, cambiate;
    ImpostazioniDiProva(salvate, cambiate);
    // The restore on a key that cannot be written.
    ChiaveRegistroTomb = radice + "\\" + std::string(300, 'k') + "\\";
    ModificheAvvio = MediaTriggerAttivi | GiocoConfigurato | ImpostazioniCambiate;
    OldSettingsDiQuestaRun = true;
    Osservatore osservatore(store.Percorso(), "OK", 1, GetCurrentProcessId(), 8000);
    EXPECT_TRUE(EndGameConfig());
    EXPECT_EQ(osservatore.Boxes().size(), 1u);
    EXPECT_TRUE(HaRiga("ERROR restoring previous tomb raider settings in windows registry"));
    EXPECT_FALSE(HaRiga("Deleting Old_Settings.trg"));
    EXPECT_EQ(LeggiFileProva(store / "Old_Settings.trg"), BytesOldSettings(salvate));
    // Tried once: the unload of the main window does not end the run again.
    EXPECT_FALSE(FineRunInSospeso());
    // The next run takes them from the file and gives them back.
    ChiaveRegistroTomb = radice + "\\";
    ImpostazioniTomb letta;
    ASSERT_TRUE(LeggiOldSettings(letta));
    EXPECT_TRUE(ImpostazioniDaOldSettings);
    EXPECT_TRUE(Uguali(letta, salvate));
}

// A logger window that records the commands it is sent.
std::vector<WPARAM> ComandiRicevuti;
LRESULT CALLBACK LoggerFinto(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == MessaggioComando) {
        ComandiRicevuti.push_back(wp);
        return 0;
    }
    return DefWindowProcA(h, msg, wp, lp);
}

TEST_F(FineRun, TheLoggerIsFlushedBeforeItIsClosedAndItsMappingIsReleased) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = LoggerFinto;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "LoggerFintoFine";
    RegisterClassA(&wc);
    HWND finestra = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance,
                                    nullptr);
    ASSERT_TRUE(finestra);
    ComandiRicevuti.clear();
    hWndLogger = finestra;
    hMapLogger = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 65536, nullptr);
    ASSERT_TRUE(hMapLogger);
    ViewLogger = static_cast<SwapMediaView*>(MapViewOfFile(hMapLogger, FILE_MAP_ALL_ACCESS, 0, 0, 65536));
    ASSERT_TRUE(ViewLogger);
    char indirizzo[24];
    snprintf(indirizzo, sizeof indirizzo, "%lX", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(ViewLogger)));
    ModificheAvvio = MediaTriggerAttivi | GiocoConfigurato | FlagSuoniLogger;
    FineGiocoSegnalata = true;
    EXPECT_TRUE(EndGameConfig());
    DestroyWindow(finestra);
    EXPECT_EQ(ComandiRicevuti, (std::vector<WPARAM>{CmdWriteLog, CmdCloseLogger}));
    EXPECT_TRUE(HaRiga(std::string("Unmap view of map file 0x") + indirizzo));
    EXPECT_TRUE(HaRiga("UnmapViewOfFile(): destroyed 1 views of media map file"));
    EXPECT_TRUE(HaRiga("Close map file"));
    EXPECT_FALSE(HaRiga("WARNING: error calling CloseHandle() with handle of map file"));
    EXPECT_EQ(ViewLogger, nullptr);
    EXPECT_EQ(hMapLogger, nullptr);
    EXPECT_FALSE(HaBit(ModificheAvvio, FlagSuoniLogger));
}

// A log writer that cannot write until the buffer holds <RigaCheFallisce>,
// then fails once with a run-time error, then keeps what it is given.
const char* const RigaCheFallisce = "Enable windows animations";
bool Fallito = false;
std::string Scritto;
int64_t AccodaCheFallisce(const std::string&, const std::string& dati) {
    if (!Fallito) {
        if (dati.find(RigaCheFallisce) == std::string::npos) return 0;
        Fallito = true;
        throw std::runtime_error("Disk not ready");
    }
    Scritto += dati;
    return static_cast<int64_t>(dati.size());
}

TEST_F(FineRun, AStepThatFailsLeavesTheLaterStepsToRun) {
    Fallito = false;
    Scritto.clear();
    AccodaFileLog = AccodaCheFallisce;
    // Past the write interval: every line tries the writer.
    ClockAdvance(10000);
    HeaderMcf.TriggerCount = 1;
    ListaMedia = {MediaTrigger{}, MediaTrigger{}};
    ListaMedia[0].TypeFlags = 0x80;
    PatchUtente = {"one.ptc"};
    NumPatchUtente = 1;
    ModificheAvvio = MediaTriggerAttivi | GiocoConfigurato | AnimazioniDisattivate;
    const int32_t tab = LivelloTab;
    EXPECT_FALSE(EndMediaMcf());
    ScriviBufferLog(true);
    EXPECT_TRUE(Fallito);
    EXPECT_EQ(LivelloTab, tab);
    const std::vector<std::string> righe = TestiRigheLog(Scritto);
    auto posizione = [&righe](const std::string& testo) {
        for (size_t i = 0; i < righe.size(); ++i)
            if (righe[i] == testo) return static_cast<int>(i);
        return -1;
    };
    const int errore = posizione("ERROR in EndMediaMcf() : Disk not ready");
    ASSERT_GE(errore, 0) << Scritto;
    EXPECT_EQ(posizione(RigaCheFallisce), errore - 1);
    for (const char* dopo : {"Verify for Send Email trigger", "Save media configuration file in: " , "Remove user patch: one.ptc",
                             "Save variable values"}) {
        int trovata = -1;
        for (size_t i = 0; i < righe.size(); ++i)
            if (righe[i].rfind(dopo, 0) == 0) trovata = static_cast<int>(i);
        EXPECT_GT(trovata, errore) << dopo;
    }
    EXPECT_TRUE(EsisteFileProva(store / "media.mcf"));
}

TEST_F(FineRun, AHookSuspendedWhenTheRunEndsIsRemovedAndNotRestoredLater) {
    SistemaNT = true;
    ImpostaBit(StatoGioco, GuardiaDozy);
    ASSERT_TRUE(InstallaHookTastiera());
    // The game ended while an alert held the hook off.
    SospendiHookTastiera();
    EndMediaMcf();
    EXPECT_FALSE(HaBit(StatoGioco, HookSospeso | HookTastieraAttivo));
    EXPECT_FALSE(ClockServeMessaggi());
    // The alert's end, later, finds nothing to restore.
    RipristinaHookTastiera();
    EXPECT_EQ(HandleHookTastiera, nullptr);
    EXPECT_FALSE(HaBit(StatoGioco, HookTastieraAttivo));
}

// The main window closed from outside while the start pumps events, before
// the run is configured: what the start already changed is given back.
class PrincipaleInAvvio : public Principale {
protected:
    void Form_Load() override {
        DisabilitaAnimazioni();
        ImpostaBit(ModificheAvvio, AnimazioniDisattivate);
        NascondiTaskBar();
        ImpostaBit(ModificheAvvio, TaskBarNascosta);
        // As the task manager closes a hidden window.
        PostMessageA(hWnd(), WM_CLOSE, 0, 0);
        DoEvents();
    }
};

TEST_F(FineRun, ACloseDuringTheStartGivesTheDesktopBack) {
    std::unique_ptr<TaskBarFinta> finta;
    HWND barra = FindWindowA("Shell_traywnd", "");
    if (!barra) {
        finta = std::make_unique<TaskBarFinta>();
        barra = finta->h;
    }
    ShowWindow(barra, SW_SHOW);
    ModificheAvvio = 0;
    {
        PrincipaleInAvvio principale;
        ASSERT_TRUE(principale.Load());
        EXPECT_FALSE(principale.Loaded());
    }
    EXPECT_TRUE(IsWindowVisible(barra));
    EXPECT_TRUE(HaRiga("Required to close program from task manager"));
    EXPECT_TRUE(HaRiga("WARNING: abnormal termination"));
    EXPECT_TRUE(HaRiga("Show Task Bar"));
    EXPECT_TRUE(HaRiga("Enable windows animations"));
    EXPECT_EQ(ModificheAvvio & ModificheDaRipristinare, 0);
    // Given back once: nothing is left for a later end.
    EXPECT_FALSE(FineRunInSospeso());
    EndGameConfig();
    EXPECT_EQ(Conta("Show Task Bar"), 1);
}

// The end of a run pumps events; a close of the main window that comes
// meanwhile must not start the end again inside itself.
class PrincipaleInEsecuzione : public Principale {
protected:
    void Form_Load() override {}
};

TEST_F(FineRun, ACloseWhileTheEndPumpsEventsEndsTheRunOnce) {
    std::unique_ptr<TaskBarFinta> finta;
    HWND barra = FindWindowA("Shell_traywnd", "");
    if (!barra) {
        finta = std::make_unique<TaskBarFinta>();
        barra = finta->h;
    }
    PrincipaleInEsecuzione principale;
    ASSERT_TRUE(principale.Load());
    NascondiTaskBar();
    ModificheAvvio = MediaTriggerAttivi | GiocoConfigurato | TaskBarNascosta;
    // As the task manager closes the hidden window while the end shows the task bar.
    PostMessageA(principale.hWnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(EndGameConfig());
    EXPECT_TRUE(HaRiga("Required to close program from task manager"));
    EXPECT_EQ(Conta("Show Task Bar"), 1);
    EXPECT_FALSE(HaRiga("WARNING: abnormal termination"));
    EXPECT_TRUE(IsWindowVisible(barra));
    // The window waits for the end, which unloads it as the tick does.
    EXPECT_TRUE(principale.Loaded());
    EXPECT_FALSE(FineRunInSospeso());
    EXPECT_TRUE(principale.Unload());
    EXPECT_EQ(Conta("Show Task Bar"), 1);
}

// A logger started but never connected holds no handle of the program: the
// end of the run ends it; one that answered ends by itself.
TEST_F(FineRun, ALoggerThatNeverAnsweredIsEndedWithTheRun) {
    for (bool risposto : {false, true}) {
        SCOPED_TRACE(risposto ? "answered" : "never answered");
        AzzeraLog();
        ASSERT_TRUE(CopyFileA((CartellaProgrammi() + "\\wizmo.exe").c_str(), (store / "logger.exe").c_str(), FALSE));
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        std::string riga = "logger.exe quiet monoff";
        ASSERT_TRUE(CreateProcessA((store / "logger.exe").c_str(), riga.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   store.Percorso().c_str(), &si, &pi));
        CloseHandle(pi.hThread);
        HANDLE copia = nullptr;
        ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), pi.hProcess, GetCurrentProcess(), &copia, 0, FALSE,
                                    DUPLICATE_SAME_ACCESS));
        hProcessLogger = copia;
        LoggerHaRisposto = risposto;
        ModificheAvvio = MediaTriggerAttivi | GiocoConfigurato;
        EXPECT_TRUE(EndGameConfig());
        EXPECT_EQ(hProcessLogger, nullptr);
        EXPECT_EQ(WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0, !risposto);
        EXPECT_EQ(HaRiga("WARNING: Scrivane never answered: terminate its process"), !risposto);
        TerminateProcess(pi.hProcess, 0);
        WaitForSingleObject(pi.hProcess, 10000);
        CloseHandle(pi.hProcess);
    }
    LoggerHaRisposto = false;
}

}  // namespace
