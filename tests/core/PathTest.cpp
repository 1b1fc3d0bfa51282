// Path and file routines, with the edge results callers rely on.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "core/FileUtils.h"
#include "core/SystemUtils.h"
#include "core/Utf8Text.h"
#include "tests/support/TestFolders.h"

namespace {

struct CasoPercorso {
    const char* percorso;
    const char* nomeFile;
    const char* cartella;
    const char* estensione;
    const char* senzaEstensione;
    const char* nomeSenzaEstensione;
};

class PercorsoTest : public testing::TestWithParam<CasoPercorso> {};

TEST_P(PercorsoTest, SplitsFromTheEnd) {
    const CasoPercorso& c = GetParam();
    EXPECT_EQ(NomeFileDaPercorso(c.percorso), c.nomeFile);
    EXPECT_EQ(CartellaDaPercorso(c.percorso), c.cartella);
    EXPECT_EQ(EstensioneFile(c.percorso), c.estensione);
    EXPECT_EQ(TogliEstensione(c.percorso), c.senzaEstensione);
    EXPECT_EQ(NomeSenzaEstensione(c.percorso), c.nomeSenzaEstensione);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, PercorsoTest,
    testing::Values(CasoPercorso{"C:\\a.txt", "a.txt", "C:", ".txt", "C:\\a", "a"},
                    CasoPercorso{"C:file.txt", "file.txt", "", ".txt", "C:file", "file"},
                    CasoPercorso{"name", "name", "", "", "name", "name"},
                    CasoPercorso{"archive.tar.gz", "archive.tar.gz", "", ".gz", "archive.tar", "archive.tar"},
                    // The extension search is not stopped by a folder separator.
                    CasoPercorso{"C:\\dir.x\\file", "file", "C:\\dir.x", ".x\\file", "C:\\dir", "file"},
                    CasoPercorso{"C:\\trle\\", "", "C:\\trle", "", "C:\\trle\\", ""},
                    CasoPercorso{"", "", "", "", "", ""}));

struct CasoCartella {
    const char* cartella;
    const char* nome;
    const char* atteso;
};

class NellaCartellaTest : public testing::TestWithParam<CasoCartella> {};

TEST_P(NellaCartellaTest, NeverPutsANameAtTheRootByAccident) {
    const CasoCartella& c = GetParam();
    EXPECT_EQ(NellaCartella(c.cartella, c.nome), c.atteso);
}

INSTANTIATE_TEST_SUITE_P(
    Joins, NellaCartellaTest,
    testing::Values(CasoCartella{"C:\\trle", "media.mpf", "C:\\trle\\media.mpf"},
                    CasoCartella{"", "media.mpf", "media.mpf"}, CasoCartella{"C:\\", "x.txt", "C:\\x.txt"},
                    CasoCartella{"C:", "x.txt", "C:\\x.txt"},
                    CasoCartella{"C:\\trle", "audio\\001.wav", "C:\\trle\\audio\\001.wav"},
                    CasoCartella{"\\\\server\\share", "a", "\\\\server\\share\\a"}));

TEST(PercorsoBackupTest, StaysBesideTheFile) {
    EXPECT_EQ(PercorsoBackup("C:\\trle\\media.mcf"), "C:\\trle\\backup_media.mcf");
    EXPECT_EQ(PercorsoBackup("media.mcf"), "backup_media.mcf");
}

struct CasoEstensione {
    const char* nome;
    const char* nuova;
    const char* atteso;
};

class CambiaEstensioneTest : public testing::TestWithParam<CasoEstensione> {};

TEST_P(CambiaEstensioneTest, ReplacesTheLastExtension) {
    const CasoEstensione& c = GetParam();
    EXPECT_EQ(CambiaEstensione(c.nome, c.nuova), c.atteso);
}

INSTANTIATE_TEST_SUITE_P(Extensions, CambiaEstensioneTest,
                         testing::Values(CasoEstensione{"load.jpg", ".bmp", "load.bmp"},
                                         CasoEstensione{"a.b.jpg", ".bmp", "a.b.bmp"},
                                         CasoEstensione{"C:\\x\\load.jpg", ".bmp", "C:\\x\\load.bmp"},
                                         // Names without an extension keep their text.
                                         CasoEstensione{"readme", ".bmp", "readme.bmp"},
                                         CasoEstensione{".bmp", ".bmp", ".bmp.bmp"}));

TEST(PulisciStringaTest, ZeroCharactersBecomeBlanksThenTrimmed) {
    EXPECT_EQ(PulisciStringa(std::string("  C:\\a\0\0", 8)), "C:\\a");
    EXPECT_EQ(PulisciStringa(std::string(" \0 \0", 4)), "");
    EXPECT_EQ(PulisciStringa(std::string("a\0b", 3)), "a b");
}

class FileTest : public testing::Test {
protected:
    CartellaProva dir{"fu"};
};

TEST_F(FileTest, ExistenceOfFilesFoldersAndPatterns) {
    ASSERT_TRUE(ScriviFileProva(dir / "level.mcf", "x"));
    EXPECT_TRUE(EsisteFile(dir / "level.mcf"));
    EXPECT_TRUE(EsisteFile(dir / "*.mcf"));
    EXPECT_FALSE(EsisteFile(dir / "*.mpf"));
    EXPECT_FALSE(EsisteFile(dir / "missing.txt"));
    EXPECT_FALSE(EsisteFile(dir.Percorso()));
    EXPECT_FALSE(EsisteFile(""));
    EXPECT_FALSE(EsisteFile(std::string("  \0 ", 4)));
    EXPECT_TRUE(EsisteCartella(dir.Percorso()));
    EXPECT_FALSE(EsisteCartella(dir / "level.mcf"));
    EXPECT_FALSE(EsisteCartella("   "));

    // Hidden, system and read-only files count as files too.
    ASSERT_TRUE(ScriviFileProva(dir / "hidden.txt", "x"));
    SetFileAttributesA((dir / "hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    EXPECT_TRUE(EsisteFile(dir / "hidden.txt"));
}

TEST_F(FileTest, DeleteClearsReadOnlyAndAcceptsMissingFiles) {
    ASSERT_TRUE(ScriviFileProva(dir / "ro.txt", "x"));
    SetFileAttributesA((dir / "ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(CancellaFile(dir / "ro.txt"));
    EXPECT_FALSE(EsisteFileProva(dir / "ro.txt"));
    EXPECT_TRUE(CancellaFile(dir / "never.txt"));
}

TEST_F(FileTest, CopyReplacesReadOnlyDestination) {
    ASSERT_TRUE(ScriviFileProva(dir / "src.txt", "new"));
    ASSERT_TRUE(ScriviFileProva(dir / "dst.txt", "old"));
    SetFileAttributesA((dir / "dst.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(CopiaFile(dir / "src.txt", dir / "dst.txt"));
    EXPECT_EQ(LeggiFileProva(dir / "dst.txt"), "new");
}

TEST_F(FileTest, FailedCopyIsFalseEvenWhenTheDestinationNameExists) {
    // The destination is held open without delete sharing: it can be
    // neither deleted nor overwritten, and an old file stays in its place.
    ASSERT_TRUE(ScriviFileProva(dir / "src.txt", "new"));
    ASSERT_TRUE(ScriviFileProva(dir / "dst.txt", "old"));
    HANDLE h = CreateFileA((dir / "dst.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(CopiaFile(dir / "src.txt", dir / "dst.txt"));
    CloseHandle(h);
    EXPECT_EQ(LeggiFileProva(dir / "dst.txt"), "old");
    EXPECT_FALSE(CopiaFile(dir / "missing.txt", dir / "other.txt"));
}

TEST_F(FileTest, CopyOntoItselfKeepsTheFile) {
    ASSERT_TRUE(ScriviFileProva(dir / "same.txt", "kept"));
    char corto[MAX_PATH] = {};
    GetShortPathNameA((dir / "same.txt").c_str(), corto, MAX_PATH);
    CreateDirectoryA((dir / "sub").c_str(), nullptr);
    for (const std::string& altro : {dir / "same.txt", dir / "SAME.TXT", std::string(corto),
                                     dir / "sub\\..\\same.txt"}) {
        EXPECT_TRUE(CopiaFile(dir / "same.txt", altro)) << altro;
        EXPECT_EQ(LeggiFileProva(dir / "same.txt"), "kept") << altro;
    }
    EXPECT_FALSE(CopiaFile(dir / "gone.txt", dir / "gone.txt"));
}

TEST_F(FileTest, WholeFileReadAndTextWrite) {
    EXPECT_TRUE(ScriviFileTesto(dir / "v.txt", "42"));
    EXPECT_EQ(LeggiFileProva(dir / "v.txt"), "42\r\n");
    const std::string binario("a\0\xff\r\nb", 6);
    ASSERT_TRUE(ScriviFileProva(dir / "b.bin", binario));
    EXPECT_EQ(LeggiFileIntero(dir / "b.bin"), binario);
    ASSERT_TRUE(ScriviFileProva(dir / "empty.txt", ""));
    EXPECT_EQ(LeggiFileIntero(dir / "empty.txt"), "");
    EXPECT_EQ(LeggiFileIntero(dir / "missing.txt"), "");
    EXPECT_FALSE(ScriviFileTesto(dir / "nofolder\\v.txt", "1"));

    // The checked form tells an empty file from a failure.
    std::string dati = "old";
    EXPECT_TRUE(LeggiFileIntero(dir / "empty.txt", dati));
    EXPECT_EQ(dati, "");
    EXPECT_TRUE(LeggiFileIntero(dir / "b.bin", dati, 6));
    EXPECT_EQ(dati, binario);
    EXPECT_FALSE(LeggiFileIntero(dir / "b.bin", dati, 5));
    EXPECT_EQ(dati, "");
    EXPECT_FALSE(LeggiFileIntero(dir / "missing.txt", dati));
    EXPECT_FALSE(LeggiFileIntero(dir.Percorso(), dati));
}

TEST_F(FileTest, FileTooLargeForMemoryReadsAsEmpty) {
    // A sparse file of almost 2 GB: no 32-bit process can hold it whole.
    if (sizeof(void*) > 4) GTEST_SKIP() << "a 64-bit process can hold it";
    HANDLE h = CreateFileA((dir / "huge.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    LARGE_INTEGER fine{};
    fine.QuadPart = 0x7FFFFFF0;
    const bool esteso = SetFilePointerEx(h, fine, nullptr, FILE_BEGIN) && SetEndOfFile(h);
    CloseHandle(h);
    ASSERT_TRUE(esteso);
    EXPECT_EQ(LeggiFileIntero(dir / "huge.txt"), "");
}

TEST_F(FileTest, ListDeleteAndRemoveFolders) {
    for (const char* n : {"a.wav", "b.wav", "c.txt"}) ASSERT_TRUE(ScriviFileProva(dir / n, "x"));
    ASSERT_TRUE(CreaCartella(dir / "sub.wav"));
    EXPECT_TRUE(CreaCartella(dir / "sub.wav"));
    EXPECT_FALSE(CreaCartella(dir / "no\\deeper"));

    int32_t n = -1;
    std::vector<std::string> elenco = ElencoFile(dir.Percorso(), "*.wav", n);
    ASSERT_EQ(n, 2);
    std::sort(elenco.begin(), elenco.end());
    EXPECT_EQ(elenco[0], dir / "a.wav");
    EXPECT_EQ(elenco[1], dir / "b.wav");
    EXPECT_TRUE(ElencoFile(dir.Percorso(), "*.mp3", n).empty());
    EXPECT_EQ(n, 0);

    EXPECT_TRUE(CancellaFiles(dir.Percorso(), "*.wav"));
    EXPECT_TRUE(EsisteFile(dir / "c.txt"));
    EXPECT_FALSE(EsisteFile(dir / "a.wav"));
    EXPECT_TRUE(CancellaFiles(dir.Percorso(), "*.none"));

    // A folder with a subfolder loses its files but stays.
    EXPECT_FALSE(RimuoviCartella(dir.Percorso()));
    EXPECT_FALSE(EsisteFile(dir / "c.txt"));
    EXPECT_TRUE(EsisteCartella(dir.Percorso()));
    ASSERT_TRUE(ScriviFileProva(dir / "sub.wav\\x.txt", "x"));
    SetFileAttributesA((dir / "sub.wav").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(RimuoviCartella(dir / "sub.wav"));
    EXPECT_FALSE(EsisteCartella(dir / "sub.wav"));
}

TEST_F(FileTest, AnsiRoutinesReachNamesTheCodePageLacks) {
    // Omega is outside the usual ANSI code pages; the file is made by its
    // UTF-16 name.
    const std::wstring cartella(dir.Percorso().begin(), dir.Percorso().end());
    HANDLE h = CreateFileW((cartella + L"\\\u03A9.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    ASSERT_TRUE(ScriviFileProva(dir / "plain.txt", "x"));

    int32_t n = 0;
    std::vector<std::string> elenco = ElencoFile(dir.Percorso(), "*.txt", n);
    std::sort(elenco.begin(), elenco.end());
    ASSERT_EQ(n, 2);
    // As the system's own ANSI search spells it: "?" where the code page
    // lacks the character.
    EXPECT_EQ(elenco[0], dir / AnsiDaUtf8("\xCE\xA9.txt"));
    EXPECT_EQ(elenco[1], dir / "plain.txt");

    // Case beyond ASCII is folded as the file system folds it.
    const std::string grande = AnsiDaUtf8("\xC3\x89"), piccola = AnsiDaUtf8("\xC3\xA9");
    if (Utf8DaAnsi(grande + piccola) == "\xC3\x89\xC3\xA9") {
        EXPECT_TRUE(StessoFile(dir / (grande + "t.txt"), dir / (piccola + "T.txt")));
    }
    EXPECT_FALSE(StessoFile(dir / "a.txt", dir / "b.txt"));

    // Deleted by their own names, not by the "?" spelling.
    EXPECT_TRUE(CancellaFiles(dir.Percorso(), "*.txt"));
    EXPECT_EQ(GetFileAttributesW((cartella + L"\\\u03A9.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(EsisteFile(dir / "plain.txt"));
}

TEST_F(FileTest, ShortAndLongPaths) {
    ASSERT_TRUE(CreaCartella(dir / "Long Folder Name"));
    ASSERT_TRUE(ScriviFileProva(dir / "Long Folder Name\\Some File.txt", "x"));
    const std::string lungo = dir / "Long Folder Name\\Some File.txt";
    const std::string corto = PercorsoCorto(lungo);
    EXPECT_EQ(corto.find(' '), std::string::npos) << corto;
    EXPECT_TRUE(EsisteFile(corto));
    EXPECT_EQ(PercorsoCorto(dir / "missing folder\\x.txt"), dir / "missing folder\\x.txt");

    std::string minuscolo = dir / "long folder name\\some file.txt";
    for (char& c : minuscolo) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::string atteso = lungo;
    atteso[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(atteso[0])));
    const std::string risultato = PercorsoLungo(minuscolo);
    EXPECT_EQ(risultato.substr(risultato.size() - 30), "Long Folder Name\\Some File.txt");
    EXPECT_EQ(minuscolo.back(), '\\');

    std::string mancante = dir / "nothere\\x";
    EXPECT_EQ(PercorsoLungo(mancante), "");
    EXPECT_EQ(mancante.back(), '\\');
}

TEST_F(FileTest, FileDateSetsAllThreeTimes) {
    ASSERT_TRUE(ScriviFileProva(dir / "d.txt", "x"));
    EXPECT_TRUE(ImpostaDataFile(dir / "d.txt", DataOra{2004, 5, 6, 7, 8, 9}));
    HANDLE h = CreateFileA((dir / "d.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    FILETIME c{}, a{}, w{}, locale{};
    ASSERT_TRUE(GetFileTime(h, &c, &a, &w));
    CloseHandle(h);
    FileTimeToLocalFileTime(&w, &locale);
    SYSTEMTIME st{};
    FileTimeToSystemTime(&locale, &st);
    EXPECT_EQ(st.wYear, 2004);
    EXPECT_EQ(st.wMonth, 5);
    EXPECT_EQ(st.wDay, 6);
    EXPECT_EQ(st.wHour, 7);
    EXPECT_EQ(st.wSecond, 9);
    EXPECT_EQ(CompareFileTime(&c, &w), 0);
    EXPECT_FALSE(ImpostaDataFile(dir / "missing.txt", DataOra{2004, 5, 6, 7, 8, 9}));
    EXPECT_FALSE(ImpostaDataFile("", DataOra{2004, 5, 6, 7, 8, 9}));
}

// A whole file rewritten on both roads: one replacing move on NT (code 5),
// two renames on Windows 98 and Me (code 4).
class SostituzioneTest : public FileTest, public testing::WithParamInterface<int32_t> {
protected:
    void SetUp() override {
        piattaforma = GetParam();
        PiattaformaSostituzione = [] { return piattaforma; };
    }
    void TearDown() override { PiattaformaSostituzione = PiattaformaWindows; }
    std::string File() const { return dir / "media.mcf"; }
    std::string Backup() const { return dir / "backup_media.mcf"; }
    std::string Temporaneo() const { return dir / "_tem_media.mcf"; }
    static inline int32_t piattaforma = 5;
};

TEST_P(SostituzioneTest, NewFileInPlaceAndThePreviousOneAsBackup) {
    struct Caso {
        const char* nome;
        const char* vecchio;        // nullptr: no file yet
        bool solaLettura;
        const char* backupVecchio;  // nullptr: no backup yet
        const char* backupAtteso;   // nullptr: no backup afterwards
    };
    const Caso casi[] = {
        {"no file yet", nullptr, false, nullptr, nullptr},
        {"an older file", "old", false, nullptr, "old"},
        {"a read-only older file", "old", true, nullptr, "old"},
        {"a read-only backup of an earlier save", "old", false, "older", "old"},
        // A save cut short between the renames left only the backup, which
        // is then the only copy: it stays.
        {"only the backup of a save cut short", nullptr, false, "saved", "saved"},
    };
    for (const Caso& c : casi) {
        CancellaFile(File());
        CancellaFile(Backup());
        if (c.vecchio) {
            ASSERT_TRUE(ScriviFileProva(File(), c.vecchio));
        }
        if (c.solaLettura) SetFileAttributesA(File().c_str(), FILE_ATTRIBUTE_READONLY);
        if (c.backupVecchio) {
            ASSERT_TRUE(ScriviFileProva(Backup(), c.backupVecchio));
            SetFileAttributesA(Backup().c_str(), FILE_ATTRIBUTE_READONLY);
        }
        EXPECT_EQ(PercorsoBackup(File()), Backup());
        EXPECT_TRUE(RiscriviConBackup(File(), std::string("new\0bytes", 9))) << c.nome;
        EXPECT_EQ(LeggiFileProva(File()), std::string("new\0bytes", 9)) << c.nome;
        if (c.backupAtteso)
            EXPECT_EQ(LeggiFileProva(Backup()), c.backupAtteso) << c.nome;
        else
            EXPECT_FALSE(EsisteFileProva(Backup())) << c.nome;
        EXPECT_FALSE(EsisteFileProva(Temporaneo())) << c.nome;
    }
}

TEST_P(SostituzioneTest, AFileHeldOpenIsLeftAsItWas) {
    ASSERT_TRUE(ScriviFileProva(File(), "old"));
    // Open without delete sharing: it can be neither renamed nor replaced.
    HANDLE h = CreateFileA(File().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(RiscriviConBackup(File(), "new"));
    CloseHandle(h);
    EXPECT_EQ(LeggiFileProva(File()), "old");
    EXPECT_FALSE(EsisteFileProva(Temporaneo()));
    // The finished file stays with the caller.
    ASSERT_TRUE(ScriviFileProva(Temporaneo(), "next"));
    EXPECT_FALSE(SostituisciFile(dir / "missing.tmp", File()));
    EXPECT_TRUE(SostituisciFile(Temporaneo(), File()));
    EXPECT_EQ(LeggiFileProva(File()), "next");
    EXPECT_EQ(LeggiFileProva(Backup()), "old");
}

INSTANTIATE_TEST_SUITE_P(Roads, SostituzioneTest, testing::Values(5, 4));

TEST_F(FileTest, ReplaceOnNTNeverLeavesTheFileMissing) {
    PiattaformaSostituzione = [] { return 5; };
    const std::string file = dir / "media.mpf";
    ASSERT_TRUE(ScriviFileProva(file, "0"));
    std::atomic<bool> fine{false};
    std::atomic<int> mancante{0}, visto{0};
    std::thread osservatore([&] {
        while (!fine) {
            if (GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES) ++mancante;
            ++visto;
        }
    });
    for (int i = 1; i <= 200; ++i)
        if (!RiscriviConBackup(file, std::to_string(i))) {
            ADD_FAILURE() << "rewrite " << i;
            break;
        }
    fine = true;
    osservatore.join();
    PiattaformaSostituzione = PiattaformaWindows;
    EXPECT_GT(visto, 0);
    EXPECT_EQ(mancante, 0);
    EXPECT_EQ(LeggiFileProva(file), "200");
    EXPECT_EQ(LeggiFileProva(dir / "backup_media.mpf"), "199");
}

}  // namespace
