// Old (version 1.4) media configurations as bytes: the layout, the mapping
// of their fields and flags, and the loader's handling of damaged files.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/MediaConfig.h"
#include "core/OldMediaConfig.h"
#include "tests/core/LogLines.h"
#include "tests/core/OldMcfBytes.h"

namespace {

const std::string Percorso = "C:\\Games\\trle\\media.mcf";

// Every field a different value, so that a field read from another's place
// shows.
MediaTriggerVecchio RecordPieno() {
    MediaTriggerVecchio v;
    v.FileFilmato = "C:\\films\\intro.avi";
    v.EscapeAbilitato = -1;
    v.Ritardo = 3;
    v.CdTrigger = 12;
    v.FlagVecchi = 0x1234567;
    v.NonUsato = -99;
    v.FileImmagine = "back.bmp";
    v.FileTesto = "C:\\texts\\story.txt";
    v.FileSuono = "music.wav";
    v.FileProgramma = "tool.exe";
    v.ScrollStep = 2;
    v.ScrollDelay = 40;
    v.Duration = 15;
    v.SuonoCiclico = -1;
    v.CharRow = 5;
    v.BackColor = 0x102030;
    v.Color = 0xFFFFFF;
    v.Align = 1;
    v.MargineX = 5;
    v.MargineY = 10;
    v.Repeat = 2;
    v.SoundCd = 13;
    v.AntiTriggerCd = 14;
    v.FadeTime = 4;
    v.EndWait = 6;
    return v;
}

std::string RecordPienoAMano() {
    using namespace vecchio;
    RecordAMano r;
    r.Testo(Filmato, "C:\\films\\intro.avi").I16(Escape, -1).I32(Ritardo, 3).I32(CdTrigger, 12);
    r.I32(Flag, 0x1234567).I32(NonUsato, -99).Testo(Immagine, "back.bmp").Testo(Testo, "C:\\texts\\story.txt");
    r.Testo(Suono, "music.wav").Testo(Programma, "tool.exe").I32(ScrollStep, 2).I32(ScrollDelay, 40);
    r.I32(Durata, 15).I16(Ciclico, -1).I32(CharRow, 5).I32(BackColor, 0x102030).I32(Colore, 0xFFFFFF);
    r.I32(Allinea, 1).I32(MargineX, 5).I32(MargineY, 10).I32(Ripeti, 2).I32(SoundCd, 13).I32(AntiCd, 14);
    r.I32(Fade, 4).I32(EndWait, 6);
    return r.Bytes();
}

TEST(OldMcfLayout, WriterAndHandLaidBytesAgreeAndReadBack) {
    MediaConfigVecchia c;
    c.TriggerCount = 1;
    std::memcpy(c.Reserved.data(), vecchio::Riservati.data(), 16);
    c.Record = {RecordPieno()};
    const std::string aMano = vecchio::Intestazione(1) + RecordPienoAMano();
    ASSERT_EQ(aMano.size(), 20u + 1356u);
    EXPECT_EQ(vecchio::Componi(c), aMano);

    MediaConfigVecchia letta;
    ASSERT_TRUE(LeggiMediaConfigVecchia(aMano, letta));
    EXPECT_EQ(letta.TriggerCount, 1);
    EXPECT_EQ(letta.Reserved, c.Reserved);
    ASSERT_EQ(letta.Record.size(), 1u);
    EXPECT_EQ(vecchio::Componi(letta), aMano);
    const MediaTriggerVecchio& v = letta.Record[0];
    EXPECT_EQ(v.FileFilmato, "C:\\films\\intro.avi");
    EXPECT_EQ(v.FileProgramma, "tool.exe");
    EXPECT_EQ(v.EscapeAbilitato, -1);
    EXPECT_EQ(v.SuonoCiclico, -1);
    EXPECT_EQ(v.NonUsato, -99);
    EXPECT_EQ(v.EndWait, 6);
}

// A path that fills its 256 characters has no terminator: it ends at the
// field's end, and the field after it is read from its own place. Zero
// bytes pad like blanks.
TEST(OldMcfLayout, FullAndZeroPaddedPathFields) {
    const std::string lungo = "C:\\" + std::string(249, 'x') + ".bmp";
    ASSERT_EQ(lungo.size(), 256u);
    vecchio::RecordAMano r;
    r.Testo(vecchio::Filmato, lungo).I16(vecchio::Escape, -1).I32(vecchio::Ritardo, 7);
    r.Testo(vecchio::Testo, std::string("  a.txt\0\0\0", 10) + std::string(246, '\0'));
    r.Testo(vecchio::Programma, std::string(256, '\0'));
    MediaConfigVecchia letta;
    ASSERT_TRUE(LeggiMediaConfigVecchia(vecchio::Intestazione(1) + r.Bytes(), letta));
    const MediaTriggerVecchio& v = letta.Record[0];
    EXPECT_EQ(v.FileFilmato, lungo);
    EXPECT_EQ(v.EscapeAbilitato, -1);
    EXPECT_EQ(v.Ritardo, 7);
    EXPECT_EQ(v.FileTesto, "a.txt");
    EXPECT_EQ(v.FileProgramma, "");
}

TEST(OldMcfLayout, CountsTheBytesCannotHoldAreRefused) {
    const std::string record = RecordPienoAMano();
    struct Caso {
        int64_t n;
        size_t record;
    };
    for (const Caso& c : {Caso{-1, 1}, Caso{2, 1}, Caso{0x7FFFFFFF, 1}, Caso{0x80000000, 0}, Caso{1, 0}}) {
        std::string dati = vecchio::Intestazione(c.n);
        for (size_t i = 0; i < c.record; ++i) dati += record;
        MediaConfigVecchia letta;
        letta.TriggerCount = 77;
        EXPECT_FALSE(LeggiMediaConfigVecchia(dati, letta)) << c.n;
        EXPECT_EQ(letta.TriggerCount, 77) << "nothing filled";
    }
    const std::string intero = vecchio::Intestazione(1) + record;
    for (size_t n = 0; n < intero.size(); ++n) {
        MediaConfigVecchia letta;
        EXPECT_FALSE(LeggiMediaConfigVecchia(intero.substr(0, n), letta)) << n;
    }
}

struct CasoFlag {
    int32_t vecchi;
    int32_t typeFlags;
    int32_t options;
    int32_t flagTesto;
};

class OldMcfFlag : public testing::TestWithParam<CasoFlag> {};

TEST_P(OldMcfFlag, MapsOntoTheNewWords) {
    MediaTriggerVecchio v;
    v.FlagVecchi = GetParam().vecchi;
    MediaTrigger m;
    m.Syntax = "left over";
    ConvertiCampiVecchi(v, 0, m);
    EXPECT_EQ(m.TypeFlags, GetParam().typeFlags);
    EXPECT_EQ(m.Options, GetParam().options);
    EXPECT_EQ(m.Formato.Flags, GetParam().flagTesto);
    EXPECT_EQ(m.Syntax, "");
}

INSTANTIATE_TEST_SUITE_P(
    OgniBit, OldMcfFlag,
    testing::Values(CasoFlag{0x1, 0x1, 0, 0}, CasoFlag{0x2, 0x2, 0, 0}, CasoFlag{0x4, 0x4, 0, 0},
                    CasoFlag{0x8, 0, 0, 0}, CasoFlag{0x10, 0x10, 0, 0}, CasoFlag{0x20, 0x20, 0, 0},
                    CasoFlag{0x40, 0x40, 0, 0}, CasoFlag{0x80, 0x80, 0, 0}, CasoFlag{0x88, 0x8, 0, 0},
                    CasoFlag{0x100, 0x100, 0, 0}, CasoFlag{0x200, 0x200, 0, 0}, CasoFlag{0x400, 0, 0x20, 0},
                    CasoFlag{0x800, 0, 0x2, 0}, CasoFlag{0x1000, 0, 0x4, 0}, CasoFlag{0x2000, 0, 0x8, 0},
                    CasoFlag{0x4000, 0, 0x10, 0}, CasoFlag{0x8000, 0, 0x40, 0}, CasoFlag{0x10000, 0, 0x80, 0},
                    CasoFlag{0x20000, 0x20000, 0, 0}, CasoFlag{0x40000, 0, 0x100, 0},
                    CasoFlag{0x80000, 0, 0x200, 0}, CasoFlag{0x100000, 0, 0, 0x4},
                    CasoFlag{0x200000, 0, 0x400, 0},
                    // A screen capture is no background image; an image
                    // sequence clears it only for the image bit's own step.
                    CasoFlag{0x50, 0x40, 0, 0}, CasoFlag{0x20010, 0x20010, 0, 0},
                    CasoFlag{0x20050, 0x20040, 0, 0},
                    // Bits the old program never set are not carried over.
                    CasoFlag{static_cast<int32_t>(0xFFC00000u), 0, 0, 0}));

TEST(OldMcfFields, NumbersBooleansAndMarginsAreMapped) {
    MediaTrigger m;
    ConvertiCampiVecchi(RecordPieno(), 4, m);
    EXPECT_EQ(m.MediaCode, 5);
    EXPECT_EQ(m.Level, -1);
    EXPECT_EQ(m.TriggerCd, 12);
    EXPECT_EQ(m.DelaySeconds, 3);
    EXPECT_EQ(m.SoundCd, 13);
    EXPECT_EQ(m.AntiTriggerCd, 14);
    EXPECT_EQ(m.Repeat, 2);
    EXPECT_EQ(m.BackColor, 0x102030);
    EXPECT_EQ(m.FadeTime, 4);
    EXPECT_EQ(m.EndWait, 6);
    EXPECT_EQ(m.Duration, 15);
    const TextFormat& f = m.Formato;
    EXPECT_EQ(f.BoundRect.Left, 50);
    EXPECT_EQ(f.BoundRect.Top, 100);
    EXPECT_EQ(f.BoundRect.Right, 950);
    EXPECT_EQ(f.BoundRect.Bottom, 900);
    EXPECT_EQ(f.Color, 0xFFFFFF);
    EXPECT_EQ(f.Align, 1);
    EXPECT_EQ(f.CharRow, 5);
    EXPECT_EQ(f.ScrollStep, 2);
    EXPECT_EQ(f.ScrollDelay, 40);
    EXPECT_EQ(f.Font, 0);
    EXPECT_EQ(f.Effect, 0);
    EXPECT_TRUE(m.Options & EscapeBreaks);
    EXPECT_TRUE(m.Options & LoopSound);
    EXPECT_TRUE(m.MediaFile.empty() && m.SoundFile.empty() && m.Text.empty());

    // Any value but 0 is True; absurd margins wrap as 32-bit numbers do.
    MediaTriggerVecchio v;
    v.EscapeAbilitato = 1;
    v.MargineX = 0x7FFFFFFF;
    ConvertiCampiVecchi(v, 0, m);
    EXPECT_EQ(m.Options, EscapeBreaks);
    EXPECT_EQ(m.Formato.BoundRect.Left, -10);
    EXPECT_EQ(m.Formato.BoundRect.Right, 1010);
}

class OldMcfLoad : public ConRigheLog {
protected:
    void SetUp() override {
        ConRigheLog::SetUp();
        HeaderMcf = MediaConfigHeader{};
        HeaderMcf.HeaderText = "kept";
        HeaderMcf.ScriptDatChecksum = 77;
        HeaderMcf.TriggerCount = 1;
        HeaderMcf.MediaFileCount = 1;
        HeaderMcf.MediaFiles = {"old.bmp", ""};
        HeaderMcf.MediaFileRefs = {1, 0};
        ListaMedia.assign(2, MediaTrigger{});
        ListaMedia[0].MediaCode = 55;
    }
    void TearDown() override {
        HeaderMcf = MediaConfigHeader{};
        ListaMedia.assign(1, MediaTrigger{});
        ConRigheLog::TearDown();
    }
    // The loader's safe defaults, with the old version kept so that no run
    // writes the empty table over the old file.
    static void DefaultSicuri() {
        EXPECT_EQ(HeaderMcf.Version, "VER1.4");
        EXPECT_TRUE(IsVersione14());
        EXPECT_EQ(HeaderMcf.TriggerCount, 0);
        EXPECT_EQ(HeaderMcf.MediaFileCount, 0);
        EXPECT_EQ(HeaderMcf.VideoMode, 2);
        EXPECT_EQ(HeaderMcf.HeaderOptions, 0x1000);
        EXPECT_EQ(HeaderMcf.CartellaMcf, "C:\\Games\\trle");
        ASSERT_EQ(ListaMedia.size(), 1u);
        EXPECT_EQ(ListaMedia[0].MediaCode, 0);
    }
};

TEST_F(OldMcfLoad, NoRecordsGivesAnEmptyConvertedTable) {
    ASSERT_TRUE(CaricaMediaMcfDaByte(Percorso, vecchio::Intestazione(0)));
    NessunErrore();
    EXPECT_EQ(UltimoErrore, "");
    EXPECT_TRUE(IsVersione14());
    EXPECT_EQ(HeaderMcf.Version, "VER1.4");
    EXPECT_EQ(HeaderMcf.TriggerCount, 0);
    EXPECT_EQ(HeaderMcf.HeaderOptions, 0x5000);
    EXPECT_EQ(HeaderMcf.VideoMode, 0);
    EXPECT_EQ(HeaderMcf.MediaFileCount, 0);
    EXPECT_EQ(0, std::memcmp(HeaderMcf.Reserved.data(), vecchio::Riservati.data(), 16));
    EXPECT_EQ(HeaderMcf.CartellaMcf, "C:\\Games\\trle");
    EXPECT_EQ(HeaderMcf.HeaderText, "kept");
    EXPECT_EQ(HeaderMcf.ScriptDatChecksum, 77);
    ASSERT_EQ(ListaMedia.size(), 1u);
    EXPECT_EQ(ListaMedia[0].MediaCode, 0);
}

// A cut file or a count its bytes cannot hold: one error line, False and
// the safe defaults, never a table of records half read.
TEST_F(OldMcfLoad, DamagedFilesLeaveTheSafeDefaults) {
    const std::string record = RecordPienoAMano();
    std::vector<std::string> casi;
    for (size_t taglio : {size_t{1}, size_t{255}, size_t{1355}})
        casi.push_back(vecchio::Intestazione(1) + record.substr(0, taglio));
    for (int64_t n : {int64_t{-1}, int64_t{2}, int64_t{0x7FFFFFFF}})
        casi.push_back(vecchio::Intestazione(n) + record);
    for (const std::string& dati : casi) {
        SetUp();
        EXPECT_FALSE(CaricaMediaMcfDaByte(Percorso, dati)) << dati.size();
        UnErrore("Error trying to load media configuration file: " + Percorso);
        DefaultSicuri();
    }
}

// Under the 20 bytes of the old header the file is no configuration: the
// loader puts its header back.
TEST_F(OldMcfLoad, ShortHeaderIsRefusedByTheLoader) {
    EXPECT_FALSE(CaricaMediaMcfDaByte(Percorso, vecchio::Intestazione(0).substr(0, 19)));
    UnErrore("Error trying to load 'media.mcf' file");
    EXPECT_EQ(HeaderMcf.Version, "VER1.5");
    EXPECT_EQ(HeaderMcf.TriggerCount, 1);
    EXPECT_EQ(ListaMedia[0].MediaCode, 55);
}

}  // namespace
