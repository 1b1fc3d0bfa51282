// Programs started the way the game and the logger are, checked by a child
// that records what it received; waits; files held open by another process.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <map>

#include "core/FileUtils.h"
#include "core/SharedState.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"
#include "platform/Clock.h"
#include "tests/support/TestFolders.h"

namespace {

struct Registro {
    std::map<std::string, std::string> campi;
    std::vector<std::string> variabili;
};

Registro LeggiRegistro(const std::string& file) {
    Registro r;
    const std::string s = LeggiFileProva(file);
    size_t i = 0;
    while (i < s.size()) {
        size_t fine = s.find("\r\n", i);
        if (fine == std::string::npos) fine = s.size();
        const std::string riga = s.substr(i, fine - i);
        if (riga.compare(0, 4, "VAR ") == 0)
            r.variabili.push_back(riga.substr(4));
        else if (riga.find('=') != std::string::npos)
            r.campi[riga.substr(0, riga.find('='))] = riga.substr(riga.find('=') + 1);
        i = fine + 2;
    }
    return r;
}

// The child's variables but those the Wine loader adds to every process.
std::vector<std::string> VariabiliPassate(const Registro& r) {
    std::vector<std::string> passate;
    for (const std::string& v : r.variabili)
        if (v.compare(0, 4, "WINE") != 0 && v.compare(0, 12, "SystemDrive=") != 0 && v.compare(0, 11, "SystemRoot=") != 0)
            passate.push_back(v);
    return passate;
}

class AvvioTest : public testing::Test {
protected:
    void SetUp() override {
        // A variable of ours that an empty environment must not carry.
        SetEnvironmentVariableA("LUDOVANE_PROVA", "yes");
        ASSERT_TRUE(CreateDirectoryA(cartella.c_str(), nullptr));
        ASSERT_TRUE(CopyFileA((CartellaProgrammi() + "\\TestChild.exe").c_str(), figlio.c_str(), FALSE));
    }
    // Waits for the child's record, which it writes once its window exists.
    Registro AttendiRegistro(DWORD ms = 20000) {
        const DWORD inizio = GetTickCount();
        while (!EsisteFileProva(registro) && GetTickCount() - inizio < ms) Sleep(20);
        return LeggiRegistro(registro);
    }

    void TearDown() override { SetEnvironmentVariableA("LUDOVANE_PROVA", nullptr); }

    CartellaProva dir{"pr"};
    // A folder and a name with blanks, so that the 8.3 form differs.
    const std::string cartella = dir / "Game Folder";
    const std::string figlio = cartella + "\\Test Child.exe";
    const std::string registro = cartella + "\\child_record.txt";
};

TEST_F(AvvioTest, RunAndWaitUsesShortPathOwnFolderAndEmptyEnvironment) {
    EXPECT_TRUE(EseguiEAttendi(figlio, "first second", false));
    // The child has ended: its record is complete.
    const Registro r = LeggiRegistro(registro);
    const std::string corto = PercorsoCorto(figlio);
    ASSERT_NE(corto, figlio);
    EXPECT_EQ(r.campi.at("CMDLINE"), "\"" + corto + "\" first second");
    EXPECT_TRUE(UgualeSenzaCaso(r.campi.at("CWD"), cartella)) << r.campi.at("CWD");
    EXPECT_EQ(VariabiliPassate(r), std::vector<std::string>{});
    EXPECT_EQ(r.campi.at("WINDOW"), "1");
    EXPECT_EQ(r.campi.at("VISIBLE"), "1");
    EXPECT_EQ(r.campi.at("SCREEN"), std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "x" +
                                        std::to_string(GetSystemMetrics(SM_CYSCREEN)));
}

TEST_F(AvvioTest, EmptyArgumentsStillEndInABlankAndHiddenStartHides) {
    EXPECT_TRUE(EseguiEAttendi(figlio, "", true));
    const Registro r = LeggiRegistro(registro);
    EXPECT_EQ(r.campi.at("CMDLINE"), "\"" + PercorsoCorto(figlio) + "\" ");
    EXPECT_EQ(r.campi.at("WINDOW"), "1");
    EXPECT_EQ(r.campi.at("VISIBLE"), "0");
}

TEST_F(AvvioTest, StartKeepingProcessInformation) {
    InfoProcesso info;
    void* h = AvviaProcessoInfo(figlio, "exit=7", false, info, false);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h, info.hProcess);
    EXPECT_NE(info.hThread, nullptr);
    EXPECT_NE(info.dwProcessId, 0u);
    EXPECT_NE(info.dwThreadId, 0u);
    ASSERT_EQ(WaitForSingleObject(h, 20000), WAIT_OBJECT_0);
    DWORD codice = 0;
    GetExitCodeProcess(h, &codice);
    EXPECT_EQ(codice, 7u);
    const Registro r = LeggiRegistro(registro);
    EXPECT_EQ(r.campi.at("CMDLINE"), "\"" + PercorsoCorto(figlio) + "\" exit=7");
    EXPECT_EQ(VariabiliPassate(r), std::vector<std::string>{});
    EXPECT_EQ(r.campi.at("VISIBLE"), "1");
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

TEST_F(AvvioTest, SuspendedStartRunsOnlyWhenResumed) {
    InfoProcesso info;
    void* h = AvviaProcessoInfo(figlio, "", true, info, true);
    ASSERT_NE(h, nullptr);
    Sleep(300);
    EXPECT_FALSE(EsisteFileProva(registro));
    ResumeThread(info.hThread);
    ASSERT_EQ(WaitForSingleObject(h, 20000), WAIT_OBJECT_0);
    EXPECT_EQ(LeggiRegistro(registro).campi.at("VISIBLE"), "0");
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

TEST_F(AvvioTest, StartWithoutWaitInheritsTheEnvironment) {
    void* h = nullptr;
    const int32_t thread = AvviaProcesso(figlio, "sleep=100", h, false);
    ASSERT_GT(thread, 0);
    ASSERT_NE(h, reinterpret_cast<void*>(static_cast<intptr_t>(-1)));
    ASSERT_EQ(WaitForSingleObject(h, 20000), WAIT_OBJECT_0);
    CloseHandle(h);
    const Registro r = LeggiRegistro(registro);
    EXPECT_EQ(r.campi.at("CMDLINE"), "\"" + PercorsoCorto(figlio) + "\" sleep=100");
    EXPECT_NE(std::find(r.variabili.begin(), r.variabili.end(), "LUDOVANE_PROVA=yes"), r.variabili.end());
}

// Where the system keeps no short name the program's own path, blanks and
// all, starts the command line: the child still reads its first argument,
// as the exec media's program reads the path of trdata.bin.
TEST_F(AvvioTest, APathWithBlanksAndNoShortFormStillLeavesTheArgumentsWhole) {
    // Folders deep enough that the 8.3 form of the path no longer fits, the
    // long one still does.
    std::string lungo = figlio;
    while (PercorsoCorto(lungo) != lungo) {
        ASSERT_LT(lungo.size(), 220u) << "the short form still fits";
        const std::string sotto = lungo.substr(0, lungo.rfind('\\')) + "\\A B";
        ASSERT_TRUE(CreateDirectoryA(sotto.c_str(), nullptr)) << sotto;
        ASSERT_TRUE(MoveFileA(lungo.c_str(), (sotto + "\\Test Child.exe").c_str()));
        lungo = sotto + "\\Test Child.exe";
    }
    const std::string dati = cartella + "\\trdata.bin";
    ASSERT_TRUE(ScriviFileProva(dati, std::string(280, ' ')));
    const std::string argomento = "\"" + PercorsoCorto(dati) + "\"";
    InfoProcesso info;
    ASSERT_NE(AvviaProcessoInfo(lungo, argomento + " exit=3", false, info, false), nullptr);
    ASSERT_EQ(WaitForSingleObject(info.hProcess, 20000), WAIT_OBJECT_0);
    DWORD codice = 0;
    GetExitCodeProcess(info.hProcess, &codice);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    EXPECT_EQ(codice, 3u);
    const Registro r = LeggiRegistro(lungo.substr(0, lungo.rfind('\\')) + "\\child_record.txt");
    EXPECT_EQ(r.campi.at("CMDLINE"), "\"" + lungo + "\" " + argomento + " exit=3");
    EXPECT_EQ(r.campi.at("ARGSIZE"), "280");
}

TEST_F(AvvioTest, MissingProgramFailsAtOnce) {
    const std::string mancante = cartella + "\\missing.exe";
    const DWORD inizio = GetTickCount();
    EXPECT_FALSE(EseguiEAttendi(mancante, "", false));
    void* h = nullptr;
    EXPECT_EQ(AvviaProcesso(mancante, "", h, false), -1);
    EXPECT_EQ(h, reinterpret_cast<void*>(static_cast<intptr_t>(-1)));
    InfoProcesso info;
    EXPECT_EQ(AvviaProcessoInfo(mancante, "", false, info, false), nullptr);
    EXPECT_EQ(info.hProcess, nullptr);
    EXPECT_LT(GetTickCount() - inizio, 5000u);
}

TEST_F(AvvioTest, ThreadWindowsListsTheTitledWindowsOfTheChild) {
    InfoProcesso info;
    ASSERT_NE(AvviaProcessoInfo(figlio, "sleep=5000", false, info, false), nullptr);
    AttendiRegistro();
    ElencaFinestreThread(info.dwThreadId);
    // Wine may add titled windows of its own (the input method's).
    int trovate = 0;
    for (int32_t i = 0; i < NumFinestreThread; ++i) {
        EXPECT_FALSE(FinestreThread[i].Titolo.empty());
        if (FinestreThread[i].Titolo == "Test child") {
            ++trovate;
            EXPECT_EQ(TitoloFinestra(FinestreThread[i].hWnd), "Test child");
        }
    }
    EXPECT_EQ(trovate, 1);
    // A thread without windows.
    ElencaFinestreThread(GetCurrentThreadId() + 100000);
    EXPECT_EQ(NumFinestreThread, 0);
    TerminateProcess(info.hProcess, 0);
    WaitForSingleObject(info.hProcess, 5000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

TEST_F(AvvioTest, FileHeldOpenByAnotherProcessIsInUse) {
    const std::string trle = cartella;
    CartellaTrle = trle + "  ";
    const std::string sav = PercorsoSavegame(4);
    ASSERT_EQ(sav, trle + "\\savegame.4");
    ASSERT_TRUE(ScriviFileProva(sav, "save"));
    ASSERT_TRUE(ScriviFileProva(trle + "\\ro.dat", "ro"));
    SetFileAttributesA((trle + "\\ro.dat").c_str(), FILE_ATTRIBUTE_READONLY);

    // Not held: neither is in use, nor is a missing file.
    EXPECT_FALSE(EsisteFileOpenFile(sav));
    EXPECT_FALSE(EsisteFileOpenFile(trle + "\\ro.dat"));
    EXPECT_FALSE(EsisteFileOpenFile(trle + "\\missing.dat"));
    EXPECT_FALSE(IsFileOccupato(4, FileSavegame, true));
    EXPECT_FALSE(IsFileOccupato(5, FileSavegame, true));

    for (const std::string& tenuto : {sav, trle + "\\ro.dat"}) {
        InfoProcesso info;
        ASSERT_NE(AvviaProcessoInfo(figlio, "hold=" + PercorsoCorto(tenuto) + " sleep=10000", true, info, false),
                  nullptr);
        ASSERT_EQ(AttendiRegistro().campi.at("HOLD"), "1");
        EXPECT_TRUE(EsisteFileOpenFile(tenuto)) << tenuto;
        if (tenuto == sav) {
            EXPECT_TRUE(IsFileOccupato(4, FileSavegame, false));
        }
        TerminateProcess(info.hProcess, 0);
        WaitForSingleObject(info.hProcess, 5000);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
        DeleteFileA(registro.c_str());
        EXPECT_FALSE(EsisteFileOpenFile(tenuto)) << tenuto;
    }
    SetFileAttributesA((trle + "\\ro.dat").c_str(), FILE_ATTRIBUTE_NORMAL);
    CartellaTrle.clear();
}

TEST_F(AvvioTest, OpenedDocumentRunsInItsOwnFolder) {
    ASSERT_TRUE(ApriDocumento(figlio, "exit=3", false, ""));
    EXPECT_EQ(AttendiRegistro().campi.count("CWD"), 1u);
    EXPECT_TRUE(UgualeSenzaCaso(LeggiRegistro(registro).campi.at("CWD"), cartella));
    EXPECT_FALSE(ApriDocumento(cartella + "\\missing.exe", "", false, ""));
}

TEST(FileOccupatoTest, TrackAndLevelFilesAndTheLoggerSeam) {
    CartellaProva trle;
    CartellaTrle = trle.Percorso();
    ASSERT_TRUE(CreateDirectoryA((trle / "audio").c_str(), nullptr));
    ASSERT_TRUE(ScriviFileProva(trle / "audio\\012.wav", "RIFF"));
    ASSERT_TRUE(ScriviFileProva(trle / "level.tr4", "tr4"));
    FileLivelli = {trle / "title.tr4", trle / "level.tr4"};
    NumLivelli = 2;

    EXPECT_FALSE(IsFileOccupato(12, FileTracciaCd, false));
    HANDLE traccia = CreateFileA((trle / "audio\\012.wav").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    HANDLE livello = CreateFileA((trle / "level.tr4").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    EXPECT_TRUE(IsFileOccupato(12, FileTracciaCd, false));
    EXPECT_FALSE(IsFileOccupato(7, FileTracciaCd, false));
    EXPECT_TRUE(IsFileOccupato(1, FileLivello, false));
    // The title's file is missing: not in use.
    EXPECT_FALSE(IsFileOccupato(0, FileLivello, false));
    // Level numbers outside the script's levels, or beyond the listed files.
    EXPECT_FALSE(IsFileOccupato(2, FileLivello, false));
    EXPECT_FALSE(IsFileOccupato(-1, FileLivello, false));
    NumLivelli = 5;
    EXPECT_FALSE(IsFileOccupato(3, FileLivello, false));
    EXPECT_FALSE(IsFileOccupato(1, 9, false));

    // With the logger in use it answers, unless forced to look at the file.
    RispostaLoggerFileOccupato = [](int32_t numero, int32_t tipo) -> int32_t {
        if (tipo == FileSavegame) return 2;
        return numero == 99 ? 1 : 0;
    };
    EXPECT_TRUE(IsFileOccupato(99, FileTracciaCd, false));
    EXPECT_FALSE(IsFileOccupato(12, FileTracciaCd, false));
    EXPECT_TRUE(IsFileOccupato(12, FileTracciaCd, true));
    EXPECT_FALSE(IsFileOccupato(1, FileSavegame, false));
    RispostaLoggerFileOccupato = [](int32_t, int32_t) -> int32_t { return -1; };
    EXPECT_TRUE(IsFileOccupato(1, FileLivello, false));
    RispostaLoggerFileOccupato = nullptr;

    CloseHandle(traccia);
    CloseHandle(livello);
    EXPECT_FALSE(IsFileOccupato(12, FileTracciaCd, false));
    FileLivelli.clear();
    NumLivelli = 0;
    CartellaTrle.clear();
}

TEST(AttesaTest, SleepAndBusyWaits) {
    ClockUseManual(true, 1000);
    AttendiDecimi(5, true);
    EXPECT_EQ(ClockTick(), 1500u);
    AttendiSecondi(2, true);
    EXPECT_EQ(ClockTick(), 3500u);
    AttendiMs(7, true);
    EXPECT_EQ(ClockTick(), 3507u);
    // A count of 0 returns at once in both modes, even on a clock that
    // does not move by itself.
    AttendiDecimi(0, false);
    AttendiSecondi(0, true);
    EXPECT_EQ(ClockTick(), 3507u);
    // A busy wait on the manual clock must not spin for ever.
    AttendiDecimi(2, false);
    EXPECT_EQ(ClockTick(), 3707u);
    ClockUseManual(false);

    const DWORD inizio = GetTickCount();
    AttendiDecimi(3, false);
    EXPECT_GE(GetTickCount() - inizio, 300u);
    const DWORD dopo = GetTickCount();
    AttendiMs(120, true);
    EXPECT_GE(GetTickCount() - dopo, 100u);
}

}  // namespace
