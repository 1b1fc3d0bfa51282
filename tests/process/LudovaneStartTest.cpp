// Ludovane.exe started for real in a game folder of its own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/process/LudovaneFolder.h"

namespace {

const char* const Titolo = "Vorn Media Module";

class LudovaneStart : public CartellaLudovane {
protected:
    void ConGioco() const { ASSERT_TRUE(ScriviFileProva(trle / "tomb4.exe", "game")); }
};

const std::string TestoHelpAtteso =
    "Ludovane.exe: Internal Name: Vorn Media Module\r\n"
    "Ludovane.exe usage:\r\n"
    "Ludovane.exe must be in trle folder, e.g. same folder where is 'tomb4.exe' program. Ludovane.exe allows to "
    "custom level to trigger Text Media when a CD track audio will be sound\r\n"
    "Command line options:\r\n"
    "<NO OPTIONS> = Start tomb4.exe and verify if media triggers must be enabled\r\n"
    "/q  (q=Quit : Don't launch tomb4.exe)\r\n"
    "/v (v=Verbose) : Create a more descriptive media log file 'media.log' in TRLE folder\r\n"
    "/u (u=Unistall): Uninstall current level: remove all media files and restore previous original files\r\n"
    "                 Remark: Ludovane.exe and media.log files should be removed manually when uninstall is "
    "complete\r\n"
    "/l (l=List)    : Show list of media trigger in current media configuration file/f=LANGUAGE    : Force use of "
    "LANGUAGE in side of current computer language\r\n"
    "                 Example: Ludovane.exe /f=GERMAN\r\n"
    " KEYBOARD GAME USEABLE IN RUNNING TIME:\r\n"
    "/s (s=Started)  : Started by Kelvaro\r\n"
    "SHIT+F8        : Write in log file the mexage: 'WARNING: tester signals a bug in this moment'\r\n"
    "L+G            : Enable creation of log file\r\n";

TEST_F(LudovaneStart, HelpShowsItsTextAndEnds) {
    ConGioco();
    for (const char* opzione : {"/h", "/?", "/H"}) {
        const auto boxes = Esegui(opzione, 1);
        ASSERT_EQ(boxes.size(), 1u) << opzione;
        EXPECT_EQ(boxes[0].titolo, Titolo);
        EXPECT_EQ(boxes[0].testo, TestoHelpAtteso);
        EXPECT_FALSE(HaRiga("InitGameConfig()")) << opzione;
    }
}

TEST_F(LudovaneStart, HelpWithTheLogOnIsLoggedAsOneLine) {
    ConGioco();
    Esegui("/h /v", 1);
    const std::string log = Log();
    EXPECT_NE(log.find(":  Ludovane.exe: Internal Name: Vorn Media Module\r\n......:  Ludovane.exe usage:\r\n"),
              std::string::npos);
    EXPECT_NE(log.find("......:  L+G            : Enable creation of log file\r\n......:  \r\n"), std::string::npos);
}

// A folder with the game alone: the run's start stops at the missing
// script.dat, with its box and the abandon's.
const char* const SenzaScriptDat = "ERROR missing Script.dat in trle folder";
const char* const RunAbbandonato = "ERROR in InitGameConfig: abort game";

TEST_F(LudovaneStart, UnknownOptionsAreReportedAndTheStartGoesOn) {
    ConGioco();
    for (const char* opzione : {"/q", "/x", "-v", "v"}) {
        // With the log on, the end of the run counts the errors in a box of its own.
        const auto boxes = Esegui(std::string(opzione) + " /v", 4);
        const std::string atteso = std::string("Command line error: unknown option: '") + opzione + "'";
        ASSERT_EQ(boxes.size(), 4u) << opzione;
        EXPECT_EQ(boxes[0].titolo, Titolo);
        EXPECT_EQ(boxes[0].testo, atteso);
        EXPECT_EQ(boxes[1].testo, SenzaScriptDat);
        EXPECT_EQ(boxes[2].testo, RunAbbandonato);
        EXPECT_EQ(boxes[3].testo.rfind("WARNING: There are ", 0), 0u) << boxes[3].testo;
        // The run's log, started afresh, still holds the start-up's error.
        EXPECT_TRUE(HaRiga(atteso)) << opzione;
        EXPECT_TRUE(HaRiga("InitGameConfig()")) << opzione;
        EXPECT_TRUE(HaRiga(SenzaScriptDat)) << opzione;
    }
}

TEST_F(LudovaneStart, ErrorLinesReachTheFileWithTheLogOff) {
    Esegui("/q", 2);
    const auto righe = Righe();
    ASSERT_EQ(righe.size(), 3u);
    EXPECT_EQ(righe[0], "Command line error: unknown option: '/q'");
    EXPECT_EQ(righe[1], "Warning: missing tomb4.exe in current folder: " + trle.Percorso());
}

TEST_F(LudovaneStart, VerboseOptionWorksBeforeOrAfterOtherOptions) {
    ConGioco();
    struct Caso {
        const char* argomenti;
        const char* riga;  // the start of a line the log must hold
        int boxes;
    };
    // "/u" outside a game folder and "/l" without a configuration end with a box.
    // An abandoned run with the log on ends with the box that counts its errors.
    for (const Caso& c : {Caso{"/v /s", "InitGameConfig()", 3},
                          Caso{"/S /V", "InitGameConfig()", 3},
                          Caso{"/u /v", "Missing 'extract.txt' file in folder: ", 1},
                          Caso{"/V /U", "Missing 'extract.txt' file in folder: ", 1},
                          Caso{"/L /v", nullptr, 1},
                          Caso{"/F=GERMAN /v /l", "Force as current language: GERMAN", 1},
                          Caso{"/v x/f=ITALIAN=y /l", "Force as current language: ITALIAN", 1}}) {
        EXPECT_EQ(Esegui(c.argomenti, c.boxes).size(), static_cast<size_t>(c.boxes)) << c.argomenti;
        if (!c.riga) continue;
        bool trovata = false;
        for (const std::string& r : Righe()) trovata = trovata || r.rfind(c.riga, 0) == 0;
        EXPECT_TRUE(trovata) << c.argomenti;
    }
}

TEST_F(LudovaneStart, WithoutTheVerboseOptionOrdinaryLinesAreNotWritten) {
    Esegui("/s /f=GERMAN", 1);
    const auto righe = Righe();
    ASSERT_EQ(righe.size(), 2u);
    EXPECT_EQ(righe[0], "Warning: missing tomb4.exe in current folder: " + trle.Percorso());
}

TEST_F(LudovaneStart, MissingGameGivesTheWarningAndEnds) {
    const auto boxes = Esegui("/v", 1);
    const std::string atteso = "Warning: missing tomb4.exe in current folder: " + trle.Percorso() +
                               "\r\nYou must copy 'Ludovane.exe' in level editor folder before launching it";
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].testo, atteso);
    const std::string log = Log();
    EXPECT_NE(log.find("Warning: missing tomb4.exe in current folder: " + trle.Percorso() +
                       "\r\n......:  You must copy 'Ludovane.exe' in level editor folder before launching it\r\n"),
              std::string::npos);
    // Nothing else in the folder was touched.
    EXPECT_FALSE(EsisteFileProva(trle / "tomb4.exe"));
    EXPECT_TRUE(EsisteFileProva(trle / "store"));
}

struct CercaBox {
    DWORD pid;
    HWND trovata;
};

BOOL CALLBACK SuFinestraCerca(HWND h, LPARAM l) {
    auto* c = reinterpret_cast<CercaBox*>(l);
    DWORD p = 0;
    GetWindowThreadProcessId(h, &p);
    char classe[16] = {};
    GetClassNameA(h, classe, sizeof classe);
    if (p == c->pid && IsWindowVisible(h) && std::string(classe) == "#32770") {
        c->trovata = h;
        return FALSE;
    }
    return TRUE;
}

// Finds a visible box of process <pid>.
HWND TrovaBox(DWORD pid, DWORD ms) {
    CercaBox cerca{pid, nullptr};
    const DWORD inizio = GetTickCount();
    while (GetTickCount() - inizio < ms) {
        EnumWindows(SuFinestraCerca, reinterpret_cast<LPARAM>(&cerca));
        if (cerca.trovata) return cerca.trovata;
        Sleep(50);
    }
    return nullptr;
}

TEST_F(LudovaneStart, ASecondInstanceEndsAtOnceWithoutDisturbingTheFirst) {
    // The first instance waits on the box of its unknown option.
    ProcessoProva prima;
    ASSERT_TRUE(AvviaProva(prima, Exe(), "/x", trle.Percorso()));
    ASSERT_NE(TrovaBox(prima.pid, 20000), nullptr);

    ProcessoProva seconda;
    ASSERT_TRUE(AvviaProva(seconda, Exe(), "/v /y", trle.Percorso()));
    EXPECT_EQ(seconda.Attendi(15000), 0);
    EXPECT_EQ(prima.Attendi(0), -1) << "the first instance must still run";
    EXPECT_NE(TrovaBox(prima.pid, 1000), nullptr);

    // Now the first goes on: the missing game's warning, then its end.
    Osservatore osservatore(trle.Percorso(), "OK", 2, prima.pid, 30000);
    const auto boxes = osservatore.Boxes();
    EXPECT_EQ(prima.Attendi(20000), 0);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].testo, "Command line error: unknown option: '/x'");
    EXPECT_EQ(boxes[1].testo.rfind("Warning: missing tomb4.exe in current folder: ", 0), 0u);
    const auto righe = Righe();
    ASSERT_EQ(righe.size(), 3u);
    EXPECT_EQ(righe[0], "Command line error: unknown option: '/x'");
    EXPECT_EQ(righe[1], "Warning: missing tomb4.exe in current folder: " + trle.Percorso());
}

TEST_F(LudovaneStart, ASecondInstanceInADeepFolderEndsAtOnceToo) {
    // The program's path takes 245 of the 259 characters a path may have.
    const std::string base = trle / "";
    ASSERT_LT(base.size(), 200u);
    const std::string profonda = base + std::string(245 - base.size() - 13, 'd');
    const std::string exe = profonda + "\\Ludovane.exe";
    ASSERT_TRUE(CreateDirectoryA(profonda.c_str(), nullptr));
    ASSERT_TRUE(CopyFileA(Exe().c_str(), exe.c_str(), FALSE));

    ProcessoProva prima;
    ASSERT_TRUE(AvviaProva(prima, exe, "/x", profonda));
    ASSERT_NE(TrovaBox(prima.pid, 20000), nullptr);
    ProcessoProva seconda;
    ASSERT_TRUE(AvviaProva(seconda, exe, "/y", profonda));
    EXPECT_EQ(seconda.Attendi(15000), 0) << "the second instance must not wait on a box of its own";
    EXPECT_EQ(prima.Attendi(0), -1) << "the first instance must still run";
}

TEST_F(LudovaneStart, AStartByTheShortPathIsTheSameInstanceAsOneByTheLongPath) {
    const std::string cartella = trle / "Tomb Raider Level Editor";
    const std::string lungo = cartella + "\\Ludovane Level Launcher.exe";
    ASSERT_TRUE(CreateDirectoryA(cartella.c_str(), nullptr));
    ASSERT_TRUE(CopyFileA(Exe().c_str(), lungo.c_str(), FALSE));
    char buffer[MAX_PATH] = {};
    ASSERT_GT(GetShortPathNameA(lungo.c_str(), buffer, MAX_PATH), 0u);
    const std::string corto = buffer;
    ASSERT_EQ(corto.find("Level Editor"), std::string::npos) << corto;
    ASSERT_EQ(corto.find("Launcher"), std::string::npos) << corto;

    for (const auto& [primo, secondo] : {std::pair{lungo, corto}, std::pair{corto, lungo}}) {
        ProcessoProva prima;
        ASSERT_TRUE(AvviaProva(prima, primo, "/x", cartella));
        ASSERT_NE(TrovaBox(prima.pid, 20000), nullptr) << primo;
        ProcessoProva seconda;
        ASSERT_TRUE(AvviaProva(seconda, secondo, "/y", cartella));
        EXPECT_EQ(seconda.Attendi(15000), 0) << "started as " << secondo;
        EXPECT_EQ(prima.Attendi(0), -1) << "the first instance must still run";
    }
}

}  // namespace
