// Savegames through whole runs of Ludovane.exe killed at varied moments: at
// the start-up check of the savegames, in the level while the cache stamps
// new saves, as the run ends, while a media holds a backup of the
// savegames, in the end-of-run write that puts that backup back, and while
// it repairs slots left normalised. Afterwards, and after the next whole
// run, every savegame that existed is whole in its slot or in Old_Savegames.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/process/GameRunFolder.h"
#include "tests/savegames/SavegameBytes.h"

namespace {

// The level's time init tells the logger client to refresh the cache, which
// stamps the newest savegame with the private variables.
const std::string ScriptSavegame =
    "boot 1024 768\nload title.tr4 100\ncd 97\nwait 300\nlog TIME_Init\nload level1.tr4 100\ncd 3\nwait 600\nquit\n";

// Track 5 fires an action media that saves the game first, which backs the
// savegames up until the media's sequence ends: the game's save overwrites
// the newest slot meanwhile.
const std::string ScriptBackup =
    "levels title.tr4 level1.tr4\nboot 1024 768\nload title.tr4 100\ncd 97\nwait 300\nlog TIME_Init\n"
    "load level1.tr4 100\nlevel 1\ncd 3\nwait 600\ncd 5\nwait 4000\nquit\n";
const std::string TriggerBackup =
    "[Trigger]\r\nTypeFlags=0x1000\r\nMediaCode=10\r\nTriggerCd=5\r\nLevel=1\r\nOptions=0x200000\r\n";

// The game ends right after the media's save, while the backup is held: the
// end of the run writes every slot back from it.
const std::string ScriptFineConBackup =
    "levels title.tr4 level1.tr4\nboot 1024 768\nload title.tr4 100\ncd 97\nwait 300\nlog TIME_Init\n"
    "load level1.tr4 100\nlevel 1\ncd 3\nwait 600\ncd 5\nwaitsave 60000\nquit\n";

struct FileIniziale {
    std::string nome;  // in the game folder
    std::string dati;
    bool savegame;     // a whole savegame (else a damaged file kept as it is)
};

class SavegameRun : public CartellaRun {
protected:
    // Slots 0 to 4 hold savegames of the level, slot 5 one byte short and
    // slot 6 a savegame of a level script.dat does not have.
    std::vector<FileIniziale> FileNormali() {
        std::vector<FileIniziale> f;
        for (int n = 0; n < 5; ++n)
            f.push_back({"savegame." + std::to_string(n), mano::SavegameGioco("Save", 10 + n, 1, 3), true});
        f.push_back({"savegame.5", mano::SavegameGioco("Short", 20, 1, 3).substr(0, 15953), false});
        f.push_back({"savegame.6", mano::SavegameGioco("Other game", 21, 7, 3), true});
        return f;
    }

    bool Prepara(const std::vector<FileIniziale>& file, const std::string& script = ScriptSavegame,
                 const std::string& trigger = "") {
        RimuoviAlbero(trle.Percorso());
        CreateDirectoryA(trle.Percorso().c_str(), nullptr);
        OpzioniCartellaGioco o;
        o.scriptGioco = script;
        o.trigger = trigger;
        if (!trigger.empty()) o.tracce = {5};
        if (!Costruisci(o) || !CopyFileA((CartellaProgrammi() + "\\Ludovane.exe").c_str(), Exe().c_str(), FALSE))
            return false;
        for (const FileIniziale& f : file)
            if (!ScriviFileProva(trle / f.nome, f.dati)) return false;
        return true;
    }

    // A savegame is whole when it has its size and checksum and holds what
    // it held, but for the level's variables the cache stamps at its end.
    static bool Integro(const std::string& dati, const FileIniziale& f) {
        if (!f.savegame) return dati == f.dati;
        return dati.size() == 15954 && mano::SommaChecksum(dati) == 0 && dati.compare(0, 15928, f.dati, 0, 15928) == 0;
    }

    void VerificaSopravvissuti(const std::vector<FileIniziale>& file, const std::string& momento) {
        for (const FileIniziale& f : file) {
            const bool nelloSlot = Integro(LeggiFileProva(trle / f.nome), f);
            const bool inOld = Integro(LeggiFileProva(trle / ("Old_Savegames\\" + f.nome)), f);
            EXPECT_TRUE(nelloSlot || inOld) << f.nome << " lost " << momento;
        }
    }

    // A whole run after a killed one: the start-up check keeps the good
    // savegames of <file> in their slots.
    void ProssimaRun(const std::vector<FileIniziale>& file) {
        ASSERT_TRUE(ScriviFileProva(trle / "gamesim.txt", ScriptSavegame));
        DeleteFileA((trle / "gamesim_log.txt").c_str());
        EXPECT_EQ(Run(), 0);
        FineProcessiRimasti();
        VerificaSopravvissuti(file, "after the next run");
        for (int n = 0; n < 5; ++n) EXPECT_TRUE(Integro(LeggiFileProva(trle / file[n].nome), file[n])) << n;
    }

    // The game stand-in and the logger of a killed run end with it.
    void FineProcessiRimasti() {
        // A game launched just before the kill may not have named itself in
        // its log yet: it is found by its program, in this test's own prefix.
        TerminaProcessiDi("tomb4.exe");
        for (DWORD inizio = GetTickCount(); GetTickCount() - inizio < 10000; Sleep(50)) {
            HWND logger = FindWindowA("DBLogWindowClass", "DBLog Server");
            if (!logger) return;
            if (GetTickCount() - inizio > 5000) {
                DWORD pid = 0;
                GetWindowThreadProcessId(logger, &pid);
                if (HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
                    TerminateProcess(h, 99);
                    WaitForSingleObject(h, 5000);
                    CloseHandle(h);
                }
            }
        }
    }

    // What a killed run may have left of its changes to the desktop (the
    // logger gives them back only when it was running).
    void RipristinaScrivania() {
        if (scrivaniaPrima.taskBarVisibile)
            if (HWND barraTask = FindWindowA("Shell_traywnd", "")) ShowWindow(barraTask, SW_SHOWNA);
        ChangeDisplaySettingsA(nullptr, 0);
        ANIMATIONINFO a{sizeof a, scrivaniaPrima.animazioni};
        SystemParametersInfoA(SPI_SETANIMATION, sizeof a, &a, 0);
    }

    // Runs Ludovane.exe until <momento> holds, then <ritardo> ms more, and
    // kills it. False when the moment never came.
    bool UccidiA(const std::function<bool()>& momento, DWORD ritardo) {
        ProcessoProva p;
        if (!AvviaProva(p, Exe(), "/v", trle.Percorso())) return false;
        Osservatore osservatore(trle.Percorso(), "OK", 20, p.pid, 60000);
        bool visto = false;
        for (DWORD inizio = GetTickCount(); !visto && GetTickCount() - inizio < 60000; Sleep(2))
            visto = momento() || p.Attendi(0) != -1;
        if (ritardo) Sleep(ritardo);
        p.Termina();
        osservatore.Interrompi();
        FineProcessiRimasti();
        RipristinaScrivania();
        return visto;
    }

    // Runs Ludovane.exe and kills it in the middle of the end-of-run write.
    // Once the game has saved into the newest slot (its temporary file
    // gone), the test holds that slot: the write puts the other slots back,
    // then waits for it, its temporary file written anew at each try; at the
    // first such file the run is killed. False when that moment never came.
    bool UccidiNellaScritturaFinale(const std::string& slot) {
        HANDLE cartella = CreateFileA(trle.Percorso().c_str(), FILE_LIST_DIRECTORY,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
        if (cartella == INVALID_HANDLE_VALUE) return false;
        OVERLAPPED attesa{};
        attesa.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        alignas(DWORD) static char cambi[64 * 1024];
        const auto osserva = [&] {
            ResetEvent(attesa.hEvent);
            return ReadDirectoryChangesW(cartella, cambi, sizeof cambi, FALSE, FILE_NOTIFY_CHANGE_FILE_NAME, nullptr,
                                         &attesa, nullptr) != FALSE;
        };
        const std::wstring temporaneo = L"_tem_" + std::wstring(slot.begin(), slot.end());
        HANDLE tenuto = INVALID_HANDLE_VALUE;
        ProcessoProva p;
        bool visto = false;
        if (osserva() && AvviaProva(p, Exe(), "/v", trle.Percorso())) {
            Osservatore osservatore(trle.Percorso(), "OK", 20, p.pid, 60000);
            const DWORD inizio = GetTickCount();
            while (!visto && GetTickCount() - inizio < 60000) {
                HANDLE eventi[] = {attesa.hEvent, p.handle};
                if (WaitForMultipleObjects(2, eventi, FALSE, 60000 - (GetTickCount() - inizio)) != WAIT_OBJECT_0) break;
                DWORD n = 0;
                if (!GetOverlappedResult(cartella, &attesa, &n, FALSE)) break;
                for (DWORD da = 0; n > 0 && da < n;) {
                    const auto* c = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(cambi + da);
                    const std::wstring nome(c->FileName, c->FileNameLength / sizeof(WCHAR));
                    const bool via = c->Action == FILE_ACTION_REMOVED || c->Action == FILE_ACTION_RENAMED_OLD_NAME;
                    if (tenuto == INVALID_HANDLE_VALUE && via && nome == L"savegame.tmp")
                        tenuto = CreateFileA((trle / slot).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                             OPEN_EXISTING, 0, nullptr);
                    if (tenuto != INVALID_HANDLE_VALUE && c->Action == FILE_ACTION_ADDED && nome == temporaneo)
                        visto = p.Attendi(0) == -1;
                    if (!c->NextEntryOffset) break;
                    da += c->NextEntryOffset;
                }
                if (!visto && !osserva()) break;
            }
            p.Termina();
            osservatore.Interrompi();
        }
        if (tenuto != INVALID_HANDLE_VALUE) CloseHandle(tenuto);
        CancelIo(cartella);
        CloseHandle(attesa.hEvent);
        CloseHandle(cartella);
        FineProcessiRimasti();
        RipristinaScrivania();
        return visto;
    }

    bool GiocoFinito() const {
        const DWORD pid = PidGioco();
        if (!pid) return false;
        HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, pid);
        const bool finito = !h || WaitForSingleObject(h, 0) == WAIT_OBJECT_0;
        if (h) CloseHandle(h);
        return finito;
    }
};

TEST_F(SavegameRun, NoSavegameIsLostWhereverLudovaneIsKilled) {
    struct Caso {
        const char* nome;
        std::function<bool()> momento;
        DWORD ritardo;
    };
    const std::vector<Caso> casi = {
        {"in the start-up check", [this] { return EsisteFileProva(trle / "Old_Savegames"); }, 0},
        {"in the level", [this] { return GiocoHaScritto("loaded data\\level1.tr4"); }, 0},
        // The timer sees the game's end within 200 ms, then the run ends.
        {"as the run ends", [this] { return GiocoFinito(); }, 100},
        {"late in the end of the run", [this] { return GiocoFinito(); }, 500},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.nome);
        const std::vector<FileIniziale> file = FileNormali();
        ASSERT_TRUE(Prepara(file));
        EXPECT_TRUE(UccidiA(caso.momento, caso.ritardo)) << Log();
        VerificaSopravvissuti(file, "after the kill");

        ProssimaRun(file);
    }
    EXPECT_EQ(LeggiScrivania(), scrivaniaPrima);
}

TEST_F(SavegameRun, NoSavegameIsLostWhenLudovaneIsKilledWhileABackupIsHeld) {
    const auto salvato = [this] { return LogGioco().find("\nsavegame savegame.") != std::string::npos; };
    struct Caso {
        const char* nome;
        std::function<bool()> momento;
        DWORD ritardo;
    };
    const std::vector<Caso> casi = {
        {"right after the forced save", salvato, 0},
        // The run sees the save about half a second later, then restores.
        {"as the backup is restored", salvato, 500},
        {"after the restore", salvato, 900},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.nome);
        const std::vector<FileIniziale> file = FileNormali();
        ASSERT_TRUE(Prepara(file, ScriptBackup, TriggerBackup));
        EXPECT_TRUE(UccidiA(caso.momento, caso.ritardo)) << Log();
        VerificaSopravvissuti(file, "after the kill");
        // The media had begun its save.
        EXPECT_TRUE(GiocoHaScritto("save screen")) << LogGioco();

        // The next run finds the slots as the backup held them.
        ProssimaRun(file);
        EXPECT_FALSE(EsisteFileProva(trle / "Old_Savegames\\Normalized.txt"));
    }
    EXPECT_EQ(LeggiScrivania(), scrivaniaPrima);
}

// Killed while the end of the run writes the slots back from the backup of
// a media the game's end interrupted, the slot the game saved into still to
// come: every savegame of before is whole, and the next run has them all in
// their slots.
TEST_F(SavegameRun, NoSavegameIsLostWhenLudovaneIsKilledInTheEndOfRunWrite) {
    const std::vector<FileIniziale> file = FileNormali();
    ASSERT_TRUE(Prepara(file, ScriptFineConBackup, TriggerBackup));
    // The game saves into the newest slot, the last that the write puts back.
    EXPECT_TRUE(UccidiNellaScritturaFinale("savegame.4")) << "not killed in the end-of-run write\n" << Log();
    EXPECT_TRUE(GiocoHaScritto("savegame savegame.4 number 15 level 1")) << LogGioco();
    VerificaSopravvissuti(file, "after the kill");

    ProssimaRun(file);
    EXPECT_EQ(LeggiScrivania(), scrivaniaPrima);
}

TEST_F(SavegameRun, SlotsLeftNormalisedAreRepairedEvenWhenTheRepairIsKilled) {
    // A run killed while it normalised: the originals wait in Old_Savegames
    // with the mark, slots 0 to 3 already hold copies of the newest.
    std::vector<FileIniziale> originali;
    for (int n = 0; n < 6; ++n)
        originali.push_back({"savegame." + std::to_string(n), mano::SavegameGioco("Save", 30 + n, 1, 3), true});
    for (DWORD ritardo : {0u, 20u}) {
        SCOPED_TRACE(ritardo);
        ASSERT_TRUE(Prepara({}));
        ASSERT_TRUE(CreateDirectoryA((trle / "Old_Savegames").c_str(), nullptr));
        for (const FileIniziale& f : originali) ASSERT_TRUE(ScriviFileProva(trle / ("Old_Savegames\\" + f.nome), f.dati));
        ASSERT_TRUE(ScriviFileProva(trle / "Old_Savegames\\Normalized.txt", "1"));
        for (int n = 0; n < 6; ++n)
            ASSERT_TRUE(ScriviFileProva(trle / originali[n].nome, n < 4 ? originali[5].dati : originali[n].dati));

        // Killed as soon as the repair has begun.
        EXPECT_TRUE(UccidiA([this] { return !EsisteFileProva(trle / "Old_Savegames\\Normalized.txt") ||
                                            LeggiFileProva(trle / "savegame.0") != LeggiFileProva(trle / "savegame.5"); },
                            ritardo))
            << Log();
        VerificaSopravvissuti(originali, "after the kill");

        ASSERT_TRUE(ScriviFileProva(trle / "gamesim.txt", ScriptSavegame));
        DeleteFileA((trle / "gamesim_log.txt").c_str());
        EXPECT_EQ(Run(), 0);
        FineProcessiRimasti();
        for (const FileIniziale& f : originali)
            EXPECT_TRUE(Integro(LeggiFileProva(trle / f.nome), f)) << f.nome << "\n" << Log();
        EXPECT_FALSE(EsisteFileProva(trle / "Old_Savegames\\Normalized.txt"));
    }
    EXPECT_EQ(LeggiScrivania(), scrivaniaPrima);
}

// The savegames a run finds keep the variables their own saves stamped, and
// a level started from the title without a savegame is a new game, which
// starts the variables anew.
TEST_F(SavegameRun, ARunLeavesTheSavegamesItFoundAndANewGameClearsTheVariables) {
    std::vector<FileIniziale> file;
    for (int n = 0; n < 3; ++n)
        file.push_back({"savegame." + std::to_string(n), mano::SavegameGioco("Save", 10 + n, 1, 3), true});
    // The newest holds the variables of the run that saved it.
    mano::Byte(file[2].dati, 15928, {9, 0, 0, 0, 0x10, 0, 0, 0, 77, 0, 0, 0, 78, 0, 0, 0});
    mano::Chiudi(file[2].dati);
    // The inventory in the level refreshes the cache after the level's time init.
    ASSERT_TRUE(Prepara(file,
                        "boot 1024 768\nload title.tr4 100\ncd 97\nwait 300\nload level1.tr4 100\ncd 3\nwait 600\n"
                        "log TIME_Init\nwait 300\ninventory open\nwait 1500\ninventory close\nwait 600\nquit\n"));
    ASSERT_TRUE(ScriviFileProva(trle / "store\\Var_A.txt", "5"));

    EXPECT_EQ(Run(), 0);
    FineProcessiRimasti();
    EXPECT_TRUE(GiocoHaScritto("loaded data\\level1.tr4")) << Log();
    for (const FileIniziale& f : file)
        EXPECT_EQ(mano::Differenza(LeggiFileProva(trle / f.nome), f.dati), -1) << f.nome << "\n" << Log();
    EXPECT_TRUE(HaRiga("Detected new game: clear all private variables")) << Log();
    std::string varA = LeggiFileProva(trle / "store\\Var_A.txt");
    varA.erase(varA.find_last_not_of("\r\n") + 1);
    EXPECT_EQ(varA, "0");
}

// The game names no savegame it loads from its title menu: a level past the
// first entered from the title comes from a savegame, and the level's
// variables of the game in progress stay.
TEST_F(SavegameRun, ALoadFromTheTitleIntoALaterLevelKeepsTheVariables) {
    ASSERT_TRUE(Prepara({{"savegame.0", mano::SavegameGioco("Save", 10, 2, 3), true}},
                        "levels title.tr4 level1.tr4 level2.tr4\nboot 1024 768\nload title.tr4 100\ncd 97\n"
                        "wait 300\nload level2.tr4 100\nlevel 2\ncd 3\nwait 600\nquit\n"));
    ASSERT_TRUE(
        ScriviFileProva(trle / "script.dat", ScriptDatAMano({"data\\title", "data\\level1", "data\\level2"}, 97)));
    ASSERT_TRUE(ScriviFileProva(trle / "data\\level2.tr4", "level two"));
    ASSERT_TRUE(ScriviFileProva(trle / "store\\Var_A.txt", "5"));

    EXPECT_EQ(Run(), 0);
    FineProcessiRimasti();
    EXPECT_TRUE(GiocoHaScritto("loaded data\\level2.tr4")) << Log();
    EXPECT_TRUE(HaRiga("Loaded level 2 from the title: a savegame, not a new game: keep private variables")) << Log();
    EXPECT_FALSE(HaRiga("Detected new game: clear all private variables")) << Log();
    std::string varA = LeggiFileProva(trle / "store\\Var_A.txt");
    varA.erase(varA.find_last_not_of("\r\n") + 1);
    EXPECT_EQ(varA, "5");
}

// A restore that failed leaves the mark and the backup folder; the player
// goes on saving (the run goes on, or the game is played on its own). The
// next start puts the backup back and keeps every save of that session.
TEST_F(SavegameRun, TheSavesOfASessionAfterAFailedRestoreOutliveTheRepair) {
    std::vector<FileIniziale> backup, sessione;
    for (int n = 0; n < 5; ++n)
        backup.push_back({"savegame." + std::to_string(n), mano::SavegameGioco("Before", 30 + n, 1, 3), true});
    for (int n : {0, 2, 5, 9})
        sessione.push_back({"savegame." + std::to_string(n), mano::SavegameGioco("Session", 40 + n, 1, 3), true});
    ASSERT_TRUE(Prepara({}));
    ASSERT_TRUE(CreateDirectoryA((trle / "Old_Savegames").c_str(), nullptr));
    for (const FileIniziale& f : backup) {
        ASSERT_TRUE(ScriviFileProva(trle / ("Old_Savegames\\" + f.nome), f.dati));
        ASSERT_TRUE(ScriviFileProva(trle / f.nome, f.dati));
    }
    ASSERT_TRUE(ScriviFileProva(trle / "Old_Savegames\\Normalized.txt", "1"));
    for (const FileIniziale& f : sessione) ASSERT_TRUE(ScriviFileProva(trle / f.nome, f.dati));

    EXPECT_EQ(Run(), 0);
    FineProcessiRimasti();
    EXPECT_TRUE(GiocoHaScritto("loaded data\\level1.tr4")) << Log();
    EXPECT_FALSE(EsisteFileProva(trle / "Old_Savegames\\Normalized.txt"));
    // Every file of the two folders.
    std::vector<std::string> presenti;
    WIN32_FIND_DATAA dati;
    for (const std::string& cartella : {trle.Percorso(), trle / "Old_Savegames"}) {
        HANDLE h = FindFirstFileA((cartella + "\\savegame.*").c_str(), &dati);
        if (h == INVALID_HANDLE_VALUE) continue;
        do presenti.push_back(LeggiFileProva(cartella + "\\" + dati.cFileName));
        while (FindNextFileA(h, &dati));
        FindClose(h);
    }
    for (const FileIniziale& f : sessione) {
        bool trovato = false;
        for (const std::string& p : presenti) trovato = trovato || Integro(p, f);
        EXPECT_TRUE(trovato) << f.nome << " of the session lost\n" << Log();
    }
    // The slots are the backup's.
    for (const FileIniziale& f : backup) EXPECT_TRUE(Integro(LeggiFileProva(trle / f.nome), f)) << f.nome;
    for (const char* nome : {"savegame.5", "savegame.9"}) EXPECT_FALSE(EsisteFileProva(trle / nome)) << nome;
    EXPECT_EQ(LeggiScrivania(), scrivaniaPrima);
}

// A repair that a busy slot refuses stops the start with a box: the game,
// which would save over what is still to restore, is not launched. The next
// start, with the slot free, repairs and plays.
TEST_F(SavegameRun, ARepairThatCannotFinishStopsTheStart) {
    const std::string prima = mano::SavegameGioco("Before", 30, 1, 3);
    const std::string dopo = mano::SavegameGioco("Session", 40, 1, 3);
    ASSERT_TRUE(Prepara({}));
    ASSERT_TRUE(CreateDirectoryA((trle / "Old_Savegames").c_str(), nullptr));
    ASSERT_TRUE(ScriviFileProva(trle / "Old_Savegames\\savegame.1", prima));
    ASSERT_TRUE(ScriviFileProva(trle / "Old_Savegames\\Normalized.txt", "1"));
    ASSERT_TRUE(ScriviFileProva(trle / "savegame.1", dopo));
    HANDLE aperto = CreateFileA((trle / "savegame.1").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(aperto, INVALID_HANDLE_VALUE);
    const int codice = Run();
    CloseHandle(aperto);
    EXPECT_EQ(codice, 0);
    EXPECT_FALSE(EsisteFileProva(trle / "gamesim_log.txt")) << "the game must not start";
    EXPECT_TRUE(HaBoxCheInizia("ERROR: cannot copy the savegames of " + (trle / "Old_Savegames"))) << Log();
    EXPECT_TRUE(HaRiga("ERROR in InitGameConfig: abort game")) << Log();
    EXPECT_EQ(LeggiFileProva(trle / "savegame.1"), dopo);
    EXPECT_TRUE(EsisteFileProva(trle / "Old_Savegames\\Normalized.txt"));
    VerificaRipristino("start stopped by the repair");

    EXPECT_EQ(Run(), 0);
    FineProcessiRimasti();
    EXPECT_TRUE(GiocoHaScritto("loaded data\\level1.tr4")) << Log();
    EXPECT_TRUE(Integro(LeggiFileProva(trle / "savegame.1"), {"savegame.1", prima, true}));
    EXPECT_TRUE(Integro(LeggiFileProva(trle / "Old_Savegames\\savegame.1.1"), {"savegame.1", dopo, true}));
    EXPECT_FALSE(EsisteFileProva(trle / "Old_Savegames\\Normalized.txt"));
}

}  // namespace
