// Exec media: the program comes out of the level's packet, starts with the
// path of trdata.bin as its argument, and is waited for when the media asks;
// every failure leaves no process and no handle behind.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "core/FileUtils.h"
#include "core/MediaConfig.h"
#include "core/MediaPacket.h"
#include "core/MediaTrigger.h"
#include "core/Utf8Text.h"
#include "media/ExecMedia.h"
#include "platform/Clock.h"
#include "runservices/RunState.h"
#include "tests/core/LogLines.h"
#include "tests/support/TestFolders.h"

namespace {

std::string Le32(uint32_t v) {
    return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF), static_cast<char>((v >> 16) & 0xFF),
            static_cast<char>(v >> 24)};
}

// The child runs on its own time: its end is an event of the file system.
bool AttendiFile(const std::string& percorso) {
    for (int i = 0; i < 6000; ++i) {
        if (EsisteFileProva(percorso)) return true;
        Sleep(10);
    }
    return false;
}

// An ended thread can still be opened by its id while some handle keeps its
// object. (Wine keeps an ended process's object a while whatever its
// handles, so only the thread tells.)
bool ThreadVivo(const std::string& tid) {
    HANDLE t = OpenThread(SYNCHRONIZE, FALSE, static_cast<DWORD>(std::stoul(tid)));
    if (t) CloseHandle(t);
    return t != nullptr;
}

class ExecMedia : public ConRigheLogTenute {
protected:
    void SetUp() override {
        ConRigheLogTenute::SetUp();
        header_ = HeaderMcf;
        trlePrima_ = CartellaTrle;
        storePrima_ = PercorsoStore;
        HeaderMcf = MediaConfigHeader{};
        HeaderMcf.CartellaMcf = pacchetto.Percorso();
        CartellaTrle = trle.Percorso();
        PercorsoStore = store.Percorso();
        ProcessoGioco = {reinterpret_cast<void*>(0x1A4), reinterpret_cast<void*>(0x1B8), 0x321, 0xFEDC};
        FinestraGioco = reinterpret_cast<void*>(0x10044);
        ASSERT_TRUE(CopiaFile(CartellaProgrammi() + "\\TestChild.exe", sorgenti / "runner.exe"));
        MediaPacketHeader h;
        const std::string mpf = Utf8DaAnsi(pacchetto / "media.mpf");
        ASSERT_TRUE(GestionePacchettoMedia(mpf, CreaPacchetto, "", "", h, false)) << UltimoErrore;
        ASSERT_TRUE(GestionePacchettoMedia(mpf, AggiungiFile, Utf8DaAnsi(sorgenti / "runner.exe"), "", h, false));
        MediaCorrente = MediaTrigger{};
        MediaCorrente.TypeFlags = BitExec;
        MediaCorrente.MediaFile = "runner.exe";
        MediaCorrente.TriggerCd = 12;
    }
    void TearDown() override {
        HeaderMcf = header_;
        CartellaTrle = trlePrima_;
        PercorsoStore = storePrima_;
        FinestraGioco = nullptr;
        ProcessoGioco = InfoProcesso{};
        MediaCorrente = MediaTrigger{};
        ConRigheLogTenute::TearDown();
    }
    // The value of a line "NAME=value" of the child's record.
    std::string Registrato(const std::string& nome) const {
        const std::string registro = LeggiFileProva(store / "child_record.txt");
        const size_t p = registro.find(nome + "=");
        if (p == std::string::npos) return "<missing>";
        const size_t inizio = p + nome.size() + 1;
        return registro.substr(inizio, registro.find("\r\n", inizio) - inizio);
    }

    CartellaProva pacchetto{"exp"}, sorgenti{"exs"}, trle{"ext"}, store{"exd"};
    MediaConfigHeader header_;
    std::string trlePrima_, storePrima_;
};

TEST_F(ExecMedia, RunsWithTheRecordAsItsArgumentAndIsWaitedFor) {
    ASSERT_TRUE(ScriviFileProva(store / "child_args.txt", "sleep=300 endmark"));
    MediaCorrente.Options = WaitProgramEnd;
    EXPECT_TRUE(EseguiExecMedia());
    // Ended before the media did, its handles closed.
    EXPECT_TRUE(EsisteFileProva(store / "child_end.txt"));
    EXPECT_FALSE(ThreadVivo(Registrato("TID")));
    EXPECT_EQ(NumErroriLog, 0);
    for (const char* riga : {"Performing Exec Media", "Perform exe file: runner.exe", "Waiting that program ends",
                             "Program end", "Exec Media completed"})
        EXPECT_TRUE(HaRiga(riga)) << riga;

    const std::string dati = trle / "trdata.bin";
    EXPECT_EQ(Registrato("CMDLINE"),
              "\"" + PercorsoCorto(store / "runner.exe") + "\" \"" + PercorsoCorto(dati) + "\"");
    EXPECT_EQ(Registrato("ARGSIZE"), "280");
    EXPECT_EQ(Registrato("CWD"), store.Percorso());
    EXPECT_EQ(Registrato("VISIBLE"), "1");

    std::string atteso = Le32(0x1A4) + Le32(0x1B8) + Le32(0x10044) + Le32(0x321) + Le32(0xFEDC) + Le32(12) +
                         PercorsoCorto(trle.Percorso()) + "\\tomb4.exe";
    atteso += '\0';
    atteso.resize(280, ' ');
    EXPECT_EQ(LeggiFileProva(dati), atteso);
}

TEST_F(ExecMedia, WithoutWaitingTheMediaEndsWhileTheProgramRuns) {
    ASSERT_TRUE(ScriviFileProva(store / "child_args.txt", "waitfor=go.txt endmark"));
    MediaCorrente.Options = HideProgram;
    EXPECT_TRUE(EseguiExecMedia());
    EXPECT_FALSE(HaRiga("Waiting that program ends"));
    EXPECT_TRUE(HaRiga("Exec Media completed"));
    // The child cannot end before go.txt exists.
    EXPECT_FALSE(EsisteFileProva(store / "child_end.txt"));
    ASSERT_TRUE(AttendiFile(store / "child_record.txt"));
    EXPECT_EQ(Registrato("VISIBLE"), "0");
    const std::string pid = Registrato("PID"), tid = Registrato("TID");
    HANDLE figlio = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(std::stoul(pid)));
    ASSERT_TRUE(figlio);
    ASSERT_TRUE(ScriviFileProva(store / "go.txt", ""));
    EXPECT_EQ(WaitForSingleObject(figlio, 60000), WAIT_OBJECT_0);
    CloseHandle(figlio);
    EXPECT_TRUE(EsisteFileProva(store / "child_end.txt"));
    EXPECT_FALSE(ThreadVivo(tid));
}

TEST_F(ExecMedia, EachFailureStartsNothing) {
    const std::string dati = trle / "trdata.bin";
    const std::string lunga = "C:\\" + std::string(250, 'a');
    struct Caso {
        const char* nome;
        std::string mediaFile;
        std::string trle;
        bool bloccaDati;
        std::string errore;  // the start of the one error line
    };
    const Caso casi[] = {
        {"not in the packet", "absent.exe", trle.Percorso(), false, "ERROR: "},
        {"record not written", "runner.exe", trle.Percorso(), true, "ERROR: creating file in " + dati},
        {"game path too long", "runner.exe", lunga, false, "ERROR: path of game too long for trdata.bin (263"},
        {"not a program", "notes.exe", trle.Percorso(), false, "ERROR launching program: "},
    };
    ASSERT_TRUE(ScriviFileProva(sorgenti / "notes.exe", "just text"));
    MediaPacketHeader h;
    ASSERT_TRUE(GestionePacchettoMedia(Utf8DaAnsi(pacchetto / "media.mpf"), AggiungiFile,
                                       Utf8DaAnsi(sorgenti / "notes.exe"), "", h, false));
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        BufferLog.clear();
        NumErroriLog = 0;
        CartellaTrle = c.trle;
        MediaCorrente.MediaFile = c.mediaFile;
        MediaCorrente.Options = WaitProgramEnd;
        SetFileAttributesA(dati.c_str(), FILE_ATTRIBUTE_NORMAL);
        ASSERT_TRUE(ScriviFileProva(dati, "old"));
        if (c.bloccaDati) SetFileAttributesA(dati.c_str(), FILE_ATTRIBUTE_READONLY);
        EXPECT_FALSE(EseguiExecMedia());
        EXPECT_EQ(NumErroriLog, 1) << ::testing::PrintToString(Righe());
        EXPECT_TRUE(HaRigaCheInizia(c.errore)) << c.errore;
        EXPECT_FALSE(HaRiga("Exec Media completed"));
        EXPECT_FALSE(EsisteFileProva(store / "child_record.txt"));
        if (c.nome != std::string("not a program")) {
            EXPECT_EQ(LeggiFileProva(dati), "old");
        }
    }
    SetFileAttributesA(dati.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
