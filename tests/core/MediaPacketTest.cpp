// media.mpf: every operation in both formats, the store extraction with
// Extract.txt and MEDIA_BACKUP, and hostile packets.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "core/FileUtils.h"
#include "core/MediaConfig.h"
#include "core/MediaExtraction.h"
#include "core/MediaPacket.h"
#include "core/Utf8Files.h"
#include "core/Utf8Text.h"
#include "tests/core/HandBytes.h"
#include "tests/core/LogLines.h"
#include "tests/support/TestFolders.h"
#include "GoldenFiles.h"

namespace {

std::string LeggiUtf8(const std::string& percorso) {
    std::string s;
    if (std::FILE* f = ApriFileUtf8(percorso, "rb")) {
        char b[256];
        size_t n;
        while ((n = std::fread(b, 1, sizeof b, f)) > 0) s.append(b, n);
        std::fclose(f);
    }
    return s;
}

bool ScriviUtf8(const std::string& percorso, const std::string& contenuto) {
    std::FILE* f = ApriFileUtf8(percorso, "wb");
    if (!f) return false;
    const bool ok = std::fwrite(contenuto.data(), 1, contenuto.size(), f) == contenuto.size();
    return std::fclose(f) == 0 && ok;
}

std::string D64(double v) {
    std::string s(8, '\0');
    std::memcpy(s.data(), &v, 8);
    return s;
}

class Pacchetto : public ConRigheLog {
protected:
    void SetUp() override {
        ConRigheLog::SetUp();
        tipo_ = TipoProgramma;
        TipoProgramma = 4;
        ScriviFileProva(c / "a.txt", "alpha");
        ScriviFileProva(c / "B.bin", std::string("\0\1\2\3beta", 8));
        ScriviFileProva(c / "empty.dat", "");
        CreaCartella(c / "out");
    }
    void TearDown() override {
        TipoProgramma = tipo_;
        ConRigheLog::TearDown();
    }
    bool Op(int32_t op, const std::string& file = "", const std::string& dest = "", bool rinomina = false) {
        return GestionePacchettoMedia(mpf(), op, file, dest, h, rinomina);
    }
    std::string mpf() const { return c / "media.mpf"; }
    std::string Estrai(const std::string& nome) {
        const std::string out = c / ("out\\" + nome);
        CancellaFile(out);
        EXPECT_TRUE(Op(EstraiFile, nome, out)) << nome << " " << UltimoErrore;
        return LeggiFileProva(out);
    }
    // A packet holding the three files, in the given format.
    void Tre(bool virtuale) {
        ASSERT_TRUE(Op(virtuale ? CreaPacchettoVirtuale : CreaPacchetto));
        for (const char* f : {"a.txt", "B.bin", "empty.dat"}) ASSERT_TRUE(Op(AggiungiFile, c / f)) << UltimoErrore;
    }
    CartellaProva c;
    MediaPacketHeader h;
    int32_t tipo_ = 0;
};

TEST_F(Pacchetto, EmptyAbsolutePacketIsTenBytes) {
    ASSERT_TRUE(Op(CreaPacchetto));
    EXPECT_EQ(LeggiFileProva(mpf()), std::string("\0\0\0\0\0\0\0\0\0\0", 10));
    ASSERT_TRUE(Op(CaricaHeader));
    EXPECT_EQ(h.DataStart, 10);
    EXPECT_EQ(h.Count, 0);
}

TEST_F(Pacchetto, AbsoluteLayoutMatchesBytesMadeByHand) {
    Tre(false);
    ASSERT_TRUE(Op(CaricaHeader));
    std::string atteso = mano::I32(3) + std::string("\0\0", 2) + mano::I32(0);
    const char* nomi[] = {"a.txt", "B.bin", "empty.dat"};
    const int32_t dim[] = {5, 8, 0};
    for (int i = 0; i < 3; ++i)
        atteso += mano::Stringa(nomi[i]) + mano::I32(dim[i]) + D64(h.FileDates[i]) + D64(h.AddedDates[i]);
    EXPECT_EQ(h.DataStart, static_cast<int32_t>(atteso.size()));
    atteso += "alpha" + std::string("\0\1\2\3beta", 8);
    EXPECT_EQ(LeggiFileProva(mpf()), atteso);
    EXPECT_TRUE(EsisteFileProva(c / "backup_media.mpf"));
    EXPECT_FALSE(EsisteFileProva(c / "_tem_pack.mpf"));
    EXPECT_TRUE(Op(VerificaPacchetto));
}

TEST_F(Pacchetto, OperationsRoundTripInBothFormats) {
    for (bool virtuale : {false, true}) {
        SCOPED_TRACE(virtuale ? "virtual" : "absolute");
        ScriviFileProva(c / "a.txt", "alpha");
        Tre(virtuale);
        EXPECT_EQ(Estrai("a.txt"), "alpha");
        EXPECT_EQ(Estrai("b.BIN"), std::string("\0\1\2\3beta", 8));
        EXPECT_EQ(Estrai("empty.dat"), "");
        // Same name in another case: the entry is replaced, its name kept.
        ScriviFileProva(c / "A.TXT", "ALPHA-2");
        ASSERT_TRUE(Op(AggiungiFile, c / "A.TXT"));
        ASSERT_TRUE(Op(CaricaHeader));
        EXPECT_EQ(h.Count, 3);
        EXPECT_EQ(h.FileNames[0], "a.txt");
        EXPECT_EQ(Estrai("a.txt"), "ALPHA-2");
        ScriviFileProva(c / "new.txt", "renamed");
        ASSERT_TRUE(Op(AggiornaFile, c / "new.txt", "B.bin", true));
        ASSERT_TRUE(Op(CaricaHeader));
        EXPECT_EQ(h.FileNames[1], "new.txt");
        EXPECT_EQ(Estrai("new.txt"), "renamed");
        ASSERT_TRUE(Op(RimuoviFile, "a.txt"));
        EXPECT_EQ(Estrai("new.txt"), "renamed");
        EXPECT_TRUE(Op(VerificaPacchetto)) << UltimoErrore;
        ASSERT_TRUE(Op(RimuoviFile, "new.txt"));
        ASSERT_TRUE(Op(RimuoviFile, "empty.dat"));
        ASSERT_TRUE(Op(CaricaHeader));
        EXPECT_EQ(h.Count, 0);
        EXPECT_FALSE(Op(RimuoviFile, "none.txt"));
        EXPECT_EQ(UltimoErrore, "ERROR: Missing file named: none.txt\r\nIn media packet file: " + mpf());
        EXPECT_TRUE(Op(CancellaPacchetto));
        EXPECT_FALSE(EsisteFileProva(mpf()));
        EXPECT_FALSE(EsisteCartella(c / "V_FOLDER"));
    }
}

TEST_F(Pacchetto, ConversionsKeepTheContents) {
    Tre(false);
    ASSERT_TRUE(Op(InVirtuale)) << UltimoErrore;
    EXPECT_EQ(h.Folder, c / "V_FOLDER");
    EXPECT_EQ(LeggiFileProva(c / "V_FOLDER\\a.txt"), "alpha");
    EXPECT_FALSE(Op(InVirtuale));
    ScriviFileProva(c / "V_FOLDER\\stray.txt", "x");
    ASSERT_TRUE(Op(VerificaPacchetto));
    EXPECT_FALSE(EsisteFileProva(c / "V_FOLDER\\stray.txt"));
    ASSERT_TRUE(Op(InAssoluto)) << UltimoErrore;
    EXPECT_FALSE(EsisteCartella(c / "V_FOLDER"));
    EXPECT_TRUE(Op(VerificaPacchetto));
    EXPECT_EQ(Estrai("B.bin"), std::string("\0\1\2\3beta", 8));
    EXPECT_FALSE(Op(InAssoluto));
    EXPECT_EQ(UltimoErrore, "ERROR: current packet file is already in absolute format");
}

TEST_F(Pacchetto, VerifyFindsMissingAndChangedVirtualFiles) {
    Tre(true);
    ScriviFileProva(c / "V_FOLDER\\stray.txt", "x");
    ScriviFileProva(c / "V_FOLDER\\a.txt", "alphabet");
    CancellaFile(c / "V_FOLDER\\B.bin");
    BufferLog.clear();
    EXPECT_FALSE(Op(VerificaPacchetto));
    const auto righe = Righe();
    EXPECT_NE(std::find(righe.begin(), righe.end(), "ERROR: Missing file B.bin in virtual folder: " + c / "V_FOLDER"),
              righe.end());
    EXPECT_NE(std::find(righe.begin(), righe.end(),
                        "ERROR: File " + c / "V_FOLDER\\a.txt" + " not has the size present in packet header: 5"),
              righe.end());
    EXPECT_TRUE(EsisteFileProva(c / "V_FOLDER\\stray.txt"));
}

TEST_F(Pacchetto, AddFolderAddsEveryFile) {
    CreaCartella(c / "src");
    ScriviFileProva(c / "src\\one.wav", "1");
    ScriviFileProva(c / "src\\two.wav", "22");
    ASSERT_TRUE(Op(CreaPacchetto));
    ASSERT_TRUE(Op(AggiungiCartella, "", c / "src"));
    EXPECT_EQ(h.Count, 2);
    EXPECT_EQ(Estrai("two.wav"), "22");
    EXPECT_FALSE(Op(AggiungiCartella, "", c / "nothere"));
    EXPECT_EQ(UltimoErrore, "ERROR: folder to add not found: " + c / "nothere");
}

TEST_F(Pacchetto, StoreExtractionPlacesFilesAndWritesExtractTxt) {
    for (bool virtuale : {false, true}) {
        SCOPED_TRACE(virtuale ? "virtual" : "absolute");
        CartellaProva livello;
        for (const char* d : {"data", "audio", "store"}) CreaCartella(livello / d);
        const char* nomi[] = {"012.wav", "level.tr4", "load.bmp", "english.dat", "savegame.3", "intro.bmp"};
        ASSERT_TRUE(Op(virtuale ? CreaPacchettoVirtuale : CreaPacchetto));
        for (const char* n : nomi) {
            ScriviFileProva(c / n, std::string("new ") + n);
            ASSERT_TRUE(Op(AggiungiFile, c / n));
        }
        ScriviFileProva(livello / "data\\level.tr4", "old level");
        const std::string l = livello.Percorso();
        const std::string s = livello / "STORE";
        ASSERT_TRUE(Op(EstraiTutto, "", s)) << UltimoErrore;
        const std::string inLivello = virtuale ? s : l;
        const std::string attesi[] = {l + "\\AUDIO\\012.wav",       l + "\\DATA\\level.tr4",
                                      inLivello + "\\load.bmp",     inLivello + "\\english.dat",
                                      inLivello + "\\savegame.3",   s + "\\intro.bmp"};
        std::string lista = "#TOT_FILES#=6\r\n";
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(LeggiFileProva(attesi[i]), std::string("new ") + nomi[i]) << attesi[i];
            lista += "#FILE" + std::to_string(i + 1) + "#=" + attesi[i] + "\r\n";
        }
        EXPECT_EQ(LeggiFileProva(s + "\\Extract.txt"), lista);
        EXPECT_EQ(LeggiFileProva(l + "\\MEDIA_BACKUP\\level.tr4"), "old level");
        CancellaFile(mpf());
    }
}

TEST_F(Pacchetto, FolderEndingInStore2IsAPlainExtraction) {
    CartellaProva livello;
    CreaCartella(livello / "data");
    CreaCartella(livello / "store2");
    ScriviFileProva(c / "012.wav", "w");
    ASSERT_TRUE(Op(CreaPacchetto));
    ASSERT_TRUE(Op(AggiungiFile, c / "012.wav"));
    ASSERT_TRUE(Op(EstraiTutto, "", livello / "store2"));
    EXPECT_EQ(LeggiFileProva(livello / "store2\\012.wav"), "w");
    EXPECT_FALSE(EsisteFileProva(livello / "store2\\Extract.txt"));
    EXPECT_FALSE(EsisteCartella(livello / "MEDIA_BACKUP"));
}

TEST_F(Pacchetto, FailedWriteDuringExtractAllIsAFailure) {
    CartellaProva livello;
    CreaCartella(livello / "data");
    CreaCartella(livello / "store");  // no audio folder: the track cannot be written
    ScriviFileProva(c / "012.wav", "w");
    ASSERT_TRUE(Op(CreaPacchetto));
    ASSERT_TRUE(Op(AggiungiFile, c / "012.wav"));
    BufferLog.clear();
    NumErroriLog = 0;
    EXPECT_FALSE(Op(EstraiTutto, "", livello / "store"));
    EXPECT_EQ(NumErroriLog, 1);
    EXPECT_EQ(UltimoErrore, "ERROR extracting file: 012.wav\r\nfrom media packet file: " + mpf());
    EXPECT_FALSE(EsisteFileProva(livello / "store\\Extract.txt"));
    EXPECT_TRUE(EsisteFileProva(mpf()));
}

// Hostile packets made by hand: each fails with the loader's line and
// writes nothing.
TEST_F(Pacchetto, HostilePacketsFailCleanly) {
    const std::string data = D64(45000.5);
    auto entrata = [&](const std::string& nome, int64_t dim) {
        return mano::Stringa(nome) + mano::I32(dim) + data + data;
    };
    const std::string vuoto = std::string("\0\0", 2) + mano::I32(0);
    // <corto>: the header is sound but the contents are cut short, which
    // the verification reports with its own line.
    const struct {
        const char* caso;
        std::string byte;
        bool corto = false;
    } casi[] = {
        {"traversal", mano::I32(1) + vuoto + entrata("..\\..\\evil.txt", 1) + "x"},
        {"dot dot", mano::I32(1) + vuoto + entrata("..", 1) + "x"},
        {"drive", mano::I32(1) + vuoto + entrata("C:evil.txt", 1) + "x"},
        {"slash", mano::I32(1) + vuoto + entrata("sub/evil.txt", 1) + "x"},
        {"empty name", mano::I32(1) + vuoto + entrata("", 1) + "x"},
        {"device", mano::I32(1) + vuoto + entrata("CON", 1) + "x"},
        {"device with extension", mano::I32(1) + vuoto + entrata("lpt1.wav", 1) + "x"},
        {"refused character", mano::I32(1) + vuoto + entrata("a|b.txt", 1) + "x"},
        {"control character", mano::I32(1) + vuoto + entrata("a\x01.txt", 1) + "x"},
        {"negative count", mano::I32(-1) + vuoto},
        {"huge count", mano::I32(0x7FFFFFFF) + vuoto + entrata("a.txt", 1) + "x"},
        {"negative size", mano::I32(1) + vuoto + entrata("a.txt", -5)},
        {"size past the end", mano::I32(2) + vuoto + entrata("a.txt", 3) + entrata("b.txt", 1000) + "abcd", true},
        {"truncated header", (mano::I32(1) + vuoto + entrata("a.txt", 1)).substr(0, 20)},
        {"huge string", mano::I32(1) + vuoto + mano::I32(0x7FFFFFF0)},
        {"odd string", mano::I32(0) + std::string("\0\0", 2) + mano::I32(3) + "abc"},
        {"three bytes", std::string("\1\0\0", 3)},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.caso);
        CartellaProva livello;
        CreaCartella(livello / "data");
        CreaCartella(livello / "store");
        const std::string p = livello / "media.mpf";
        ScriviFileProva(p, caso.byte);
        for (int32_t op : {EstraiTutto, EstraiFile, AggiungiFile, VerificaPacchetto, InVirtuale}) {
            BufferLog.clear();
            NumErroriLog = 0;
            MediaPacketHeader hh;
            EXPECT_FALSE(GestionePacchettoMedia(p, op, "a.txt", livello / "store", hh, false)) << op;
            UnErrore((caso.corto && op == VerificaPacchetto ? "ERROR verifying media packet file: "
                                                            : "Error loading media packet header: ") +
                     p);
        }
        int32_t n = 0;
        EXPECT_EQ(ElencoFile(livello / "store", "*", n).size(), 0u);
        EXPECT_EQ(LeggiFileProva(p), caso.byte);
        EXPECT_FALSE(EsisteFileProva(livello / "evil.txt"));
        EXPECT_FALSE(EsisteFileProva(c / "evil.txt"));
    }
}

TEST_F(Pacchetto, PacketCutShortFailsVerificationAndCanBeDeleted) {
    Tre(false);
    const std::string intero = LeggiFileProva(mpf());
    ASSERT_TRUE(ScriviFileProva(mpf(), intero.substr(0, intero.size() - 3)));
    BufferLog.clear();
    NumErroriLog = 0;
    EXPECT_FALSE(Op(VerificaPacchetto));
    UnErrore("ERROR verifying media packet file: " + mpf());
    EXPECT_FALSE(Op(EstraiFile, "B.bin", c / "out\\B.bin"));
    EXPECT_FALSE(EsisteFileProva(c / "out\\B.bin"));
    EXPECT_TRUE(Op(CancellaPacchetto));
    EXPECT_FALSE(EsisteFileProva(mpf()));
}

TEST_F(Pacchetto, FilesOfTheVirtualFolderItselfAreNeverLost) {
    Tre(true);
    ScriviFileProva(c / "V_FOLDER\\new.txt", "dropped in");
    ASSERT_TRUE(Op(AggiungiFile, c / "V_FOLDER\\new.txt")) << UltimoErrore;
    EXPECT_EQ(LeggiFileProva(c / "V_FOLDER\\new.txt"), "dropped in");
    EXPECT_EQ(Estrai("new.txt"), "dropped in");
    // Edited in place, then updated from there under another spelling.
    ScriviFileProva(c / "V_FOLDER\\a.txt", "alpha edited");
    ASSERT_TRUE(Op(AggiornaFile, c / "v_folder\\A.TXT", "a.txt")) << UltimoErrore;
    EXPECT_EQ(Estrai("a.txt"), "alpha edited");
    ASSERT_TRUE(Op(EstraiFile, "B.bin", c / "V_FOLDER\\B.bin")) << UltimoErrore;
    EXPECT_EQ(LeggiFileProva(c / "V_FOLDER\\B.bin"), std::string("\0\1\2\3beta", 8));
    EXPECT_TRUE(Op(VerificaPacchetto)) << UltimoErrore;
}

// An author edits a file of V_FOLDER in place: extraction takes it as it
// is, and only the verification holds it to the header.
TEST_F(Pacchetto, VirtualFileEditedInPlaceIsExtracted) {
    Tre(true);
    ScriviFileProva(c / "V_FOLDER\\a.txt", "alpha, edited in place");
    ScriviFileProva(c / "V_FOLDER\\B.bin", "");
    BufferLog.clear();
    NumErroriLog = 0;
    EXPECT_EQ(Estrai("a.txt"), "alpha, edited in place");
    EXPECT_EQ(Estrai("B.bin"), "");
    ASSERT_TRUE(Op(EstraiTutto, "", c / "out")) << UltimoErrore;
    EXPECT_EQ(LeggiFileProva(c / "out\\a.txt"), "alpha, edited in place");
    NessunErrore();
    EXPECT_FALSE(Op(VerificaPacchetto));
    const auto righe = Righe();
    EXPECT_NE(std::find(righe.begin(), righe.end(),
                        "ERROR: File " + c / "V_FOLDER\\B.bin" + " not has the size present in packet header: 8"),
              righe.end());
}

// Sizes in a virtual header are never checked against a file; walking past
// two large ones must not overflow the data position.
TEST_F(Pacchetto, VirtualSizesPastTwoGigabytesStillExtract) {
    const std::string data = D64(45000.5);
    auto entrata = [&](const std::string& nome, int64_t dim) {
        return mano::Stringa(nome) + mano::I32(dim) + data + data;
    };
    CreaCartella(c / "V_FOLDER");
    ScriviFileProva(c / "V_FOLDER\\c.txt", "c");
    ScriviFileProva(mpf(), mano::I32(3) + std::string("\xFF\xFF", 2) + mano::Stringa(c / "V_FOLDER") +
                               entrata("big1.bin", 0x7FFFFFF0) + entrata("big2.bin", 0x7FFFFFF0) +
                               entrata("c.txt", 1));
    EXPECT_EQ(Estrai("c.txt"), "c");
}

// Every failure line of the manager, each reached by its own fixture: the
// text of the line, and whether it is also left in UltimoErrore.
TEST_F(Pacchetto, FailureLines) {
    // A packet that shares its name with the temporary file would be lost by
    // its own rewrite: it is refused and kept as it was.
    const std::string tem = c / "_tem_pack.mpf";
    auto comeTemporaneo = [&] {
        Tre(true);
        ASSERT_TRUE(CopiaFile(mpf(), tem));
        ScriviFileProva(c / "new.txt", "new");
    };
    const struct {
        const char* caso;
        std::function<void()> prepara;
        std::string pacchetto;
        int32_t op;
        std::string file, destinazione;
        std::function<std::string()> riga;
        bool ultimoErrore = true;
    } casi[] = {
        {"add, packet named as the temporary file", comeTemporaneo, tem, AggiungiFile, c / "new.txt", "",
         [&] { return "ERROR saving temporary media packet file: " + tem; }},
        {"update, packet named as the temporary file", comeTemporaneo, tem, AggiornaFile, c / "a.txt", "a.txt",
         [&] { return "ERROR saving temporaney media packet file: " + tem; }},
        {"remove, packet named as the temporary file", comeTemporaneo, tem, RimuoviFile, "a.txt", "",
         [&] { return "ERROR saving temporary media packet file: " + tem; }},
        {"add, missing file", [&] { Tre(false); }, mpf(), AggiungiFile, c / "missing.txt", "",
         [&] { return "ERROR Not found file to add: " + c / "missing.txt"; }},
        {"update, missing file", [&] { Tre(false); }, mpf(), AggiornaFile, c / "missing.txt", "a.txt",
         [&] { return "ERROR: Not found file to add: " + c / "missing.txt"; }},
        // The new content is the temporary packet itself, which the rewrite
        // starts by deleting: the copy comes up short.
        {"update, temporary packet", [&] { Tre(false); ScriviFileProva(tem, "stale"); }, mpf(), AggiornaFile, tem,
         "a.txt", [&] { return "ERROR saving temporaney media packet file: " + tem; }},
        {"add, temporary packet", [&] { Tre(false); ScriviFileProva(tem, "stale"); }, mpf(), AggiungiFile, tem, "",
         [&] { return "ERROR saving temporary media packet file: " + tem; }},
        {"extract all, missing virtual file", [&] { Tre(true); CancellaFile(c / "V_FOLDER\\B.bin"); }, mpf(),
         EstraiTutto, "", c / "out",
         [&] { return "ERROR missing file \"B.bin\" in virtual folder:  " + c / "V_FOLDER"; }, false},
        {"extract all, no destination", [&] { Tre(false); }, mpf(), EstraiTutto, "", c / "nothere",
         [&] { return "ERROR extracting all files: Destination folder doesn't exist: " + c / "nothere"; }},
        {"already virtual", [&] { Tre(true); }, mpf(), InVirtuale, "", "",
         [&] { return std::string("ERROR: current media packet is already in virtual format"); }},
        {"empty folder to add", [&] { Tre(false); CreaCartella(c / "empty"); }, mpf(), AggiungiCartella, "",
         c / "empty", [&] { return "WARNING: no file in folder: " + c / "empty"; }},
        {"create in a missing folder", [] {}, c / "missing\\media.mpf", CreaPacchetto, "", "",
         [&] { return "ERROR creating new media packet file: " + c / "missing\\media.mpf"; }},
        {"verify, date changed",
         [&] {
             Tre(true);
             ASSERT_TRUE(ImpostaDataFileOle(c / "V_FOLDER\\a.txt", h.FileDates[0] + 1.5));
         },
         mpf(), VerificaPacchetto, "", "",
         [&] {
             return "ERROR: File " + c / "V_FOLDER\\a.txt" + " not has the date present in packet header: " +
                    TestoDataOle(h.FileDates[0]);
         }},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.caso);
        for (const std::string& via : {mpf(), tem, c / "backup_media.mpf", c / "backup__tem_pack.mpf"})
            CancellaFile(via);
        RimuoviCartella(c / "V_FOLDER");
        caso.prepara();
        const std::string prima = LeggiFileProva(caso.pacchetto);
        const std::string riga = caso.riga();
        BufferLog.clear();
        NumErroriLog = 0;
        MediaPacketHeader hh;
        EXPECT_FALSE(GestionePacchettoMedia(caso.pacchetto, caso.op, caso.file, caso.destinazione, hh, false));
        EXPECT_EQ(NumErroriLog, 1);
        EXPECT_EQ(Righe(), std::vector<std::string>{riga});
        EXPECT_EQ(UltimoErrore, caso.ultimoErrore ? riga : "");
        // Whatever failed, a packet that was there is there still, unchanged.
        EXPECT_EQ(EsisteFileProva(caso.pacchetto), !prima.empty());
        EXPECT_EQ(LeggiFileProva(caso.pacchetto), prima);
    }
}

TEST_F(Pacchetto, ForeignVirtualFolderIsNeverUsed) {
    CartellaProva altrove;
    ScriviFileProva(altrove / "a.txt", "keep me");
    const std::string byte = mano::I32(1) + std::string("\xFF\xFF", 2) + mano::Stringa(altrove.Percorso()) +
                             mano::Stringa("a.txt") + mano::I32(7) + D64(1) + D64(1);
    ScriviFileProva(mpf(), byte);
    ASSERT_TRUE(Op(CaricaHeader));
    EXPECT_EQ(h.Folder, c / "V_FOLDER");
    EXPECT_FALSE(Op(InAssoluto));
    EXPECT_TRUE(Op(CancellaPacchetto));
    EXPECT_EQ(LeggiFileProva(altrove / "a.txt"), "keep me");
}

TEST_F(Pacchetto, TrackSoundNames) {
    const struct {
        const char* nome;
        bool atteso;
    } casi[] = {{"012.wav", true}, {"C:\\x\\999.MP3", true}, {"12.wav", false},  {"01a.wav", false},
                {"012.ogg", false}, {"0123.wav", false},     {"abc.wav", false}};
    for (const auto& k : casi) EXPECT_EQ(IsFileTracciaAudio(k.nome), k.atteso) << k.nome;
    EXPECT_EQ(NomeWavNumero(12), "012.wav");
    EXPECT_EQ(NomeWavNumero(0), "000.wav");
    EXPECT_EQ(NomeWavNumero(999), "999.wav");
    EXPECT_EQ(NomeWavNumero(1234), "1234.wav");
    EXPECT_EQ(NomeWavNumero(-5), "-005.wav");
}

class Estrazione : public Pacchetto {
protected:
    void SetUp() override {
        Pacchetto::SetUp();
        trle_ = CartellaTrle;
        store_ = PercorsoStore;
        mcf_ = HeaderMcf.CartellaMcf;
        CartellaTrle = c.Percorso() + "  ";
        PercorsoStore = c / "store";
        HeaderMcf.CartellaMcf = c.Percorso();
        CreaCartella(PercorsoStore);
        CreaCartella(c / "audio");
    }
    void TearDown() override {
        CartellaTrle = trle_;
        PercorsoStore = store_;
        HeaderMcf.CartellaMcf = mcf_;
        Pacchetto::TearDown();
    }
    std::string trle_, store_, mcf_;
};

// A configuration converted from the old version keeps its media beside it
// in the game's folder; a current one looks for them in the store folder.
TEST_F(Estrazione, ConvertedConfigurationFindsItsMediaInTheGameFolder) {
    ScriviFileProva(c / "pic.bmp", "p");
    const std::string versione = HeaderMcf.Version;
    bool temp = true;
    HeaderMcf.Version = "VER1.4";
    EXPECT_EQ(EstraiFileMedia("pic.bmp", temp, false, true), c / "pic.bmp");
    EXPECT_FALSE(temp);
    HeaderMcf.Version = "VER1.5";
    EXPECT_EQ(EstraiFileMedia("pic.bmp", temp, false, true), "");
    HeaderMcf.Version = versione;
    NessunErrore();
}

TEST_F(Estrazione, SearchOrderOfAMediaFile) {
    Tre(false);
    bool temp = false;
    EXPECT_EQ(EstraiFileMedia("a.txt", temp, false, false), c / "store\\a.txt");
    EXPECT_TRUE(temp);
    EXPECT_EQ(EstraiFileMedia("a.txt", temp, true, false), c / "store\\a.txt");
    EXPECT_FALSE(temp);
    ScriviFileProva(c / "audio\\020.mp3", "mp3");
    BufferLog.clear();
    NumErroriLog = 0;
    EXPECT_EQ(EstraiFileMedia("020.wav", temp, false, true), c / "audio\\020.mp3");
    EXPECT_FALSE(temp);
    BufferLog.clear();
    NumErroriLog = 0;
    EXPECT_EQ(EstraiFileMedia("Z:\\missing\\x.bmp", temp, false, true), "");
    NessunErrore();
    EXPECT_EQ(EstraiFileMedia("nothing.bmp", temp, false, false), "");
    EXPECT_EQ(Righe().back(), "ERROR: not found file: nothing.bmp");
    EXPECT_EQ(NomeWavTraccia(7), c / "audio\\007.wav");
    ScriviFileProva(c / "AUDIO\\030.wav", "w");
    EXPECT_EQ(PercorsoFileAudio("030.mp3"), c / "AUDIO\\030.wav");
}

TEST_F(Estrazione, MovedVirtualPacketGetsItsOwnFolder) {
    Tre(true);
    MediaPacketHeader hh;
    ASSERT_TRUE(GestionePacchettoMedia(mpf(), CaricaHeader, "", "", hh, false));
    hh.Folder = "C:\\elsewhere\\V_FOLDER";
    ASSERT_TRUE(SalvaHeaderPacchetto(mpf(), hh));
    CartellaVirtuale();
    const std::string byte = LeggiFileProva(mpf());
    EXPECT_EQ(byte.substr(6, 4 + 2 * (c / "V_FOLDER").size()), mano::Stringa(c / "V_FOLDER"));
}

TEST_F(Estrazione, LoadingTheConfigurationMendsAMovedVirtualFolder) {
    Tre(true);
    MediaPacketHeader hh;
    ASSERT_TRUE(GestionePacchettoMedia(mpf(), CaricaHeader, "", "", hh, false));
    hh.Folder = "C:\\elsewhere\\V_FOLDER";
    ASSERT_TRUE(SalvaHeaderPacchetto(mpf(), hh));
    ASSERT_TRUE(ScriviFileProva(c / "media.mcf", mano::FileCompleto()));
    const MediaConfigHeader prima = HeaderMcf;
    EXPECT_TRUE(CaricaMediaMcf(c / "media.mcf"));
    HeaderMcf = prima;
    ListaMedia.assign(1, MediaTrigger{});
    const std::string byte = LeggiFileProva(mpf());
    EXPECT_EQ(byte.substr(6, 4 + 2 * (c / "V_FOLDER").size()), mano::Stringa(c / "V_FOLDER"));
}

// Names the ANSI code page lacks, in the frozen golden packet: found without
// regard to ASCII case, extracted under their own names, and handed on in a
// form that the A functions open.
TEST_F(Estrazione, ForeignNamedEntriesOfTheGoldenPacketAreExtracted) {
    ASSERT_TRUE(ScriviFileProva(mpf(), GoldenMpf()));
    const std::string cartella = Utf8DaAnsi(c.Percorso());
    const std::string pacchetto = Utf8DaAnsi(mpf());
    ASSERT_TRUE(GestionePacchettoMedia(pacchetto, EstraiFile, "ΩMEGA.TXT", cartella + "\\out\\Ωmega.txt", h, false))
        << UltimoErrore;
    EXPECT_EQ(LeggiUtf8(cartella + "\\out\\Ωmega.txt"), "omega");
    bool temp = false;
    const std::string estratto = EstraiFileMedia("世界.wav", temp, false, false);
    ASSERT_NE(estratto, "");
    EXPECT_TRUE(temp);
    EXPECT_TRUE(EsisteFile(estratto));
    EXPECT_EQ(LeggiFileProva(estratto), "RIFF");
    EXPECT_TRUE(EsisteFileUtf8(cartella + "\\store\\世界.wav"));
    // The store extraction lists the foreign file so that the uninstaller,
    // which reads Extract.txt with the A functions, finds it.
    CreaCartella(c / "data");
    ASSERT_TRUE(GestionePacchettoMedia(pacchetto, EstraiTutto, "", cartella + "\\store", h, false)) << UltimoErrore;
    const std::string lista = LeggiFileProva(c / "store\\Extract.txt");
    const size_t inizio = lista.find("#FILE2#=") + 8;
    const std::string omega = lista.substr(inizio, lista.find("\r\n", inizio) - inizio);
    EXPECT_EQ(LeggiFileProva(omega), "omega") << omega;
    NessunErrore();
}

TEST_F(Estrazione, ForeignNamedFilesAreAddedConvertedAndRemoved) {
    const std::string cartella = Utf8DaAnsi(c.Percorso());
    const std::string pacchetto = Utf8DaAnsi(mpf());
    const std::string nome = "Città Ω 世界.wav";
    CreaCartella(c / "src");
    ASSERT_TRUE(ScriviUtf8(cartella + "\\src\\" + nome, "omega"));
    for (bool virtuale : {false, true}) {
        SCOPED_TRACE(virtuale ? "virtual" : "absolute");
        ASSERT_TRUE(Op(virtuale ? CreaPacchettoVirtuale : CreaPacchetto));
        // The folder is listed with the names as the disk holds them.
        ASSERT_TRUE(GestionePacchettoMedia(pacchetto, AggiungiCartella, "", cartella + "\\src", h, false))
            << UltimoErrore;
        ASSERT_TRUE(Op(AggiungiFile, c / "a.txt"));
        ASSERT_TRUE(Op(CaricaHeader));
        ASSERT_EQ(h.Count, 2);
        EXPECT_EQ(h.FileNames[0], nome);
        if (virtuale) {
            EXPECT_EQ(LeggiUtf8(cartella + "\\V_FOLDER\\" + nome), "omega");
        }
        // Verification keeps a virtual file whose name matches its entry.
        EXPECT_TRUE(Op(VerificaPacchetto)) << UltimoErrore;
        ASSERT_TRUE(Op(virtuale ? InAssoluto : InVirtuale)) << UltimoErrore;
        ASSERT_TRUE(GestionePacchettoMedia(pacchetto, EstraiFile, nome, cartella + "\\out\\" + nome, h, false))
            << UltimoErrore;
        EXPECT_EQ(LeggiUtf8(cartella + "\\out\\" + nome), "omega");
        ASSERT_TRUE(GestionePacchettoMedia(pacchetto, RimuoviFile, nome, "", h, false)) << UltimoErrore;
        ASSERT_TRUE(Op(CaricaHeader));
        EXPECT_EQ(h.Count, 1);
        EXPECT_FALSE(EsisteFileUtf8(cartella + "\\V_FOLDER\\" + nome));
        // A missing foreign entry is named in the ANSI error line.
        EXPECT_FALSE(GestionePacchettoMedia(pacchetto, RimuoviFile, nome, "", h, false));
        EXPECT_EQ(UltimoErrore, "ERROR: Missing file named: Citt\xE0 ? ??.wav\r\nIn media packet file: " + mpf());
        ASSERT_TRUE(Op(CancellaPacchetto));
    }
}

}  // namespace
