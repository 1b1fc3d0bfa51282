// media.mcf read from and written to bytes assembled by hand.
#include <gtest/gtest.h>

#include "core/MediaConfig.h"
#include "core/MediaSyntax.h"
#include "tests/core/HandBytes.h"
#include "tests/core/LogLines.h"

namespace {

const std::string Percorso = "C:\\Games\\trle\\media.mcf";

void Controlla(const mano::Record& r, const MediaTrigger& m) {
    EXPECT_EQ(m.TypeFlags, r.typeFlags);
    EXPECT_EQ(m.Options, r.options);
    EXPECT_EQ(m.MediaFile, r.mediaFile);
    EXPECT_EQ(m.SoundFile, r.soundFile);
    const TextFormat& f = m.Formato;
    const int32_t formato[13] = {f.Color, f.Align, f.CharRow, f.BoundRect.Left, f.BoundRect.Top,
                                 f.BoundRect.Right, f.BoundRect.Bottom, f.Effect, f.ScrollStep,
                                 f.ScrollDelay, f.DelayMicros, f.Flags, f.Font};
    for (int i = 0; i < 13; ++i) EXPECT_EQ(formato[i], r.formato[i]) << "format field " << i;
    EXPECT_EQ(m.Text, r.text);
    EXPECT_EQ(m.Syntax, r.syntax);
    const int32_t numeri[11] = {m.TriggerCd, m.SoundCd, m.AntiTriggerCd, m.Repeat,   m.BackColor, m.FadeTime,
                                m.EndWait,   m.DelaySeconds, m.Duration, m.MediaCode, m.Level};
    for (int i = 0; i < 11; ++i) EXPECT_EQ(numeri[i], r.numeri[i]) << "number field " << i;
}

bool Vuoto(const MediaTrigger& m) {
    return m.TypeFlags == 0 && m.Options == 0 && m.MediaFile.empty() && m.SoundFile.empty() && m.Text.empty() &&
           m.Syntax.empty() && m.TriggerCd == 0 && m.MediaCode == 0 && m.Level == 0 && m.Formato.Font == 0;
}

class McfByte : public ConRigheLog {
protected:
    void SetUp() override {
        ConRigheLog::SetUp();
        // The state a run sets before loading.
        HeaderMcf = MediaConfigHeader{};
        HeaderMcf.HeaderText = "before";
        HeaderMcf.CartellaMcf = "C:\\before";
        HeaderMcf.TriggerCount = 1;
        HeaderMcf.VideoMode = 1;
        ListaMedia.assign(2, MediaTrigger{});
        ListaMedia[0].MediaCode = 55;
        prima = HeaderMcf;
    }
    void TearDown() override {
        HeaderMcf = MediaConfigHeader{};
        ListaMedia.assign(1, MediaTrigger{});
        ConRigheLog::TearDown();
    }
    static void IntestazioneRipristinata(const MediaConfigHeader& h) {
        EXPECT_EQ(HeaderMcf.HeaderText, h.HeaderText);
        EXPECT_EQ(HeaderMcf.CartellaMcf, h.CartellaMcf);
        EXPECT_EQ(HeaderMcf.TriggerCount, h.TriggerCount);
        EXPECT_EQ(HeaderMcf.VideoMode, h.VideoMode);
        EXPECT_EQ(HeaderMcf.Version, h.Version);
        EXPECT_EQ(HeaderMcf.MediaFileCount, h.MediaFileCount);
    }
    MediaConfigHeader prima;
};

TEST_F(McfByte, LoadsEveryFieldOfHeaderFileListAndRecords) {
    ASSERT_TRUE(CaricaMediaMcfDaByte(Percorso, mano::FileCompleto()));
    NessunErrore();
    EXPECT_EQ(UltimoErrore, "");
    const MediaConfigHeader& h = HeaderMcf;
    EXPECT_EQ(h.Version, "VER1.5");
    EXPECT_EQ(h.TriggerCount, 2);
    EXPECT_EQ(std::string(h.Reserved.begin(), h.Reserved.end()), mano::Riservati);
    // Every option bit is kept, the ones without meaning too.
    EXPECT_EQ(static_cast<uint32_t>(h.HeaderOptions), 0xA000D03Bu);
    EXPECT_EQ(h.VideoMode, 3);
    EXPECT_EQ(h.ScriptDatChecksum, 123456);
    EXPECT_EQ(h.ReservedLong, -7);
    EXPECT_EQ(h.HeaderText, "Level by hand");
    EXPECT_EQ(h.CartellaMcf, "C:\\Games\\trle");
    ASSERT_EQ(h.MediaFileCount, 2);
    ASSERT_EQ(h.MediaFiles.size(), 3u);
    EXPECT_EQ(h.MediaFiles[0], "intro.bmp");
    EXPECT_EQ(h.MediaFiles[1], "music.wav");
    EXPECT_EQ(h.MediaFileRefs[0], 1);
    EXPECT_EQ(h.MediaFileRefs[1], 2);
    ASSERT_EQ(ListaMedia.size(), 3u);
    Controlla(mano::PrimoRecord(), ListaMedia[0]);
    Controlla(mano::SecondoRecord(), ListaMedia[1]);
    EXPECT_TRUE(Vuoto(ListaMedia[2]));
    EXPECT_FALSE(IsVersione14());
}

TEST_F(McfByte, WritesTheLoadedConfigurationBackByteForByte) {
    ASSERT_TRUE(CaricaMediaMcfDaByte(Percorso, mano::FileCompleto()));
    std::string scritto;
    ASSERT_TRUE(ComponiMediaConfig(Percorso, scritto));
    EXPECT_EQ(scritto, mano::FileCompleto());
}

TEST_F(McfByte, RecordsKeepTheFileOrder) {
    // Out of the usual order (a record without a CD track first): the loader
    // keeps it, and the writer gives the same bytes back.
    const std::string primo = mano::Bytes(mano::PrimoRecord());
    std::string file = mano::FileCompleto();
    file = file.substr(0, file.size() - primo.size() - mano::Bytes(mano::SecondoRecord()).size()) +
           mano::Bytes(mano::SecondoRecord()) + primo;
    ASSERT_TRUE(CaricaMediaMcfDaByte(Percorso, file));
    EXPECT_EQ(ListaMedia[0].MediaCode, 202);
    EXPECT_EQ(ListaMedia[1].MediaCode, 101);
    std::string scritto;
    ASSERT_TRUE(ComponiMediaConfig(Percorso, scritto));
    EXPECT_EQ(scritto, file);
}

TEST_F(McfByte, WrittenConfigurationLoadsBackWithStateBits) {
    HeaderMcf = MediaConfigHeader{};
    HeaderMcf.Version = "VER1";  // padded to six characters in the file
    HeaderMcf.TriggerCount = 1;
    HeaderMcf.HeaderOptions = static_cast<int32_t>(0xFFFFFFFFu);
    ListaMedia.assign(2, MediaTrigger{});
    ListaMedia[0].Options = Disabled | AlreadyShown | Working | Suspended | static_cast<int32_t>(0x80000001u);
    ListaMedia[0].Text = std::string(5000, 'x');
    ListaMedia[0].Level = -1;
    std::string scritto;
    ASSERT_TRUE(ComponiMediaConfig(Percorso, scritto));
    EXPECT_EQ(scritto.substr(0, 6), "VER1  ");
    ASSERT_TRUE(CaricaMediaMcfDaByte(Percorso, scritto));
    EXPECT_EQ(HeaderMcf.HeaderOptions, -1);
    EXPECT_EQ(static_cast<uint32_t>(ListaMedia[0].Options), 0x80063001u);
    EXPECT_EQ(ListaMedia[0].Text, std::string(5000, 'x'));
    EXPECT_EQ(ListaMedia[0].Level, -1);
}

// A configuration whose texts the ANSI code page cannot all hold: "Ω" and
// CJK beside a stored "?", and a lone surrogate, all as the file stores them.
std::string FileStraniero(const std::u16string& sintassi) {
    const mano::Record r = mano::PrimoRecord();
    std::string record = mano::I32(r.typeFlags) + mano::I32(r.options) + mano::Stringa(u"\u4E16\u754C.bmp") +
                         mano::Stringa(u"?.wav");
    for (int32_t v : r.formato) record += mano::I32(v);
    record += mano::Stringa(u"<ENGLISH>\u03A9 ?\r\n<END_ENGLISH>") + mano::Stringa(sintassi);
    for (int32_t v : r.numeri) record += mano::I32(v);
    return "VER1.5" + mano::I32(1) + mano::Riservati + mano::I32(0) + mano::I32(2) + mano::I32(0) + mano::I32(0) +
           mano::Stringa(u"\u03A9 level ?") + mano::I32(2) + mano::Stringa(u"\u4E16\u754C.bmp") + mano::I32(1) +
           mano::Stringa(u"?\xDC00") + mano::I32(1) + record;
}

const std::u16string SintassiStraniera = u"<ALERT>#CODE#=7\r\n<END_ALERT><TEXT>\xD800 ? \u03A9 \u4E16<END_TEXT>";

TEST_F(McfByte, ForeignTextsAreHeldAsUtf8AndWrittenBackByteForByte) {
    const std::string file = FileStraniero(SintassiStraniera);
    ASSERT_TRUE(CaricaMediaMcfDaByte(Percorso, file));
    EXPECT_EQ(HeaderMcf.HeaderText, "\xCE\xA9 level ?");
    ASSERT_EQ(HeaderMcf.MediaFileCount, 2);
    EXPECT_EQ(HeaderMcf.MediaFiles[0], "\xE4\xB8\x96\xE7\x95\x8C.bmp");
    EXPECT_EQ(HeaderMcf.MediaFiles[1], "?\xED\xB0\x80");
    const MediaTrigger& m = ListaMedia[0];
    EXPECT_EQ(m.MediaFile, "世界.bmp");
    EXPECT_EQ(m.SoundFile, "?.wav");
    EXPECT_EQ(m.Text, "<ENGLISH>Ω ?\r\n<END_ENGLISH>");
    EXPECT_EQ(m.Syntax, "<ALERT>#CODE#=7\r\n<END_ALERT><TEXT>\xED\xA0\x80 ? Ω 世<END_TEXT>");
    std::string scritto;
    ASSERT_TRUE(ComponiMediaConfig(Percorso, scritto));
    EXPECT_EQ(scritto, file);
}

TEST_F(McfByte, EditedSectionKeepsEveryOtherCharacter) {
    ASSERT_TRUE(CaricaMediaMcfDaByte(Percorso, FileStraniero(SintassiStraniera)));
    // As a suspended alert rewrites its own section during a run.
    MediaTrigger& m = ListaMedia[0];
    m.Syntax = ImpostaSezione(m.Syntax, "ALERT", "#CODE#=8\r\n#NOTE#=è\r\n");
    std::string scritto;
    ASSERT_TRUE(ComponiMediaConfig(Percorso, scritto));
    EXPECT_EQ(scritto, FileStraniero(u"<ALERT>#CODE#=8\r\n#NOTE#=\u00E8\r\n<END_ALERT><TEXT>\xD800 ? \u03A9 "
                                     u"\u4E16<END_TEXT>"));
    NessunErrore();
}

struct CasoVersione {
    const char* versione;
    bool caricato;
    bool versione14;
};

class VersioneAccettata : public McfByte, public testing::WithParamInterface<CasoVersione> {};

TEST_P(VersioneAccettata, LoadsWithTheCurrentLayout) {
    std::string file = mano::FileCompleto();
    file.replace(0, 6, GetParam().versione);
    EXPECT_EQ(CaricaMediaMcfDaByte(Percorso, file), GetParam().caricato);
    EXPECT_EQ(HeaderMcf.Version, GetParam().versione);
    EXPECT_EQ(HeaderMcf.TriggerCount, 2);
    EXPECT_EQ(IsVersione14(), GetParam().versione14);
    NessunErrore();
}

INSTANTIATE_TEST_SUITE_P(Versions, VersioneAccettata,
                         testing::Values(CasoVersione{"ver1.5", true, false}, CasoVersione{"VER0.9", true, false},
                                         CasoVersione{"VER1.0", true, false}, CasoVersione{"VER1.4", true, true},
                                         CasoVersione{"vEr1x4", true, false}, CasoVersione{"VERx.9", true, false},
                                         CasoVersione{"VER1-5", true, false}));

TEST_F(McfByte, NoTriggersGivesOnlyTheSpareRecord) {
    const std::string file = "VER1.5" + mano::I32(0) + mano::Riservati + mano::I32(0) + mano::I32(0) +
                             mano::I32(0) + mano::I32(0) + mano::I32(0) + mano::I32(0);
    ASSERT_TRUE(CaricaMediaMcfDaByte(Percorso, file));
    EXPECT_EQ(HeaderMcf.TriggerCount, 0);
    ASSERT_EQ(ListaMedia.size(), 1u);
    EXPECT_TRUE(Vuoto(ListaMedia[0]));
    ASSERT_EQ(HeaderMcf.MediaFiles.size(), 1u);
    std::string scritto;
    ASSERT_TRUE(ComponiMediaConfig(Percorso, scritto));
    EXPECT_EQ(scritto, file);
}

TEST_F(McfByte, SoundsOfTheLoggerNeedItsBitAndTheCurrentVersion) {
    const int32_t modifiche = ModificheAvvio;
    for (const char* versione : {"VER1.5", "ver1.4"}) {
        for (bool bit : {false, true}) {
            HeaderMcf.Version = versione;
            ModificheAvvio = bit ? FlagSuoniLogger | MediaTriggerAttivi : MediaTriggerAttivi;
            EXPECT_EQ(SuoniLoggerUsabili(), bit && versione[5] == '5') << versione << bit;
        }
    }
    ModificheAvvio = modifiche;
}

// Every cut of the file fails cleanly: an error line, the header put back or
// the safe defaults, never a half-filled table.
TEST_F(McfByte, EveryTruncationFailsCleanly) {
    const std::string intero = mano::FileCompleto();
    const size_t inizioRecord = intero.size() - mano::Bytes(mano::PrimoRecord()).size() -
                                mano::Bytes(mano::SecondoRecord()).size();
    const size_t inizioTesto = 42;
    for (size_t n = 0; n < intero.size(); ++n) {
        SetUp();
        ASSERT_FALSE(CaricaMediaMcfDaByte(Percorso, intero.substr(0, n))) << n;
        ASSERT_EQ(NumErroriLog, 1) << n;
        ASSERT_EQ(Righe().size(), 1u) << n;
        const std::string riga = Righe()[0];
        EXPECT_EQ(UltimoErrore, riga);
        if (n >= inizioRecord) {
            EXPECT_EQ(riga, "Error trying to load media configuration file: " + Percorso) << n;
            EXPECT_EQ(HeaderMcf.TriggerCount, 0);
            EXPECT_EQ(HeaderMcf.MediaFileCount, 0);
            EXPECT_EQ(HeaderMcf.VideoMode, 2);
            EXPECT_EQ(HeaderMcf.HeaderOptions, 0x1000);
            EXPECT_EQ(HeaderMcf.HeaderText, "Level by hand");
            EXPECT_EQ(HeaderMcf.ScriptDatChecksum, 123456);
            ASSERT_EQ(ListaMedia.size(), 1u);
            EXPECT_TRUE(Vuoto(ListaMedia[0]));
        } else {
            if (n < inizioTesto)
                EXPECT_EQ(riga, "Error trying to load 'media.mcf' file") << n;
            else
                EXPECT_TRUE(riga == "Error loading media file: " + Percorso ||
                            riga == "Error trying to load 'media.mcf' file")
                    << n << riga;
            IntestazioneRipristinata(prima);
            ASSERT_EQ(ListaMedia.size(), 2u);
            EXPECT_EQ(ListaMedia[0].MediaCode, 55);
        }
    }
}

struct CasoDanno {
    const char* nome;
    std::string file;
    bool header;  // true: header restored; false: the defaults after a record
    std::string riga;
};

class FileDanneggiato : public McfByte, public testing::WithParamInterface<CasoDanno> {};

TEST_P(FileDanneggiato, FailsWithItsErrorLine) {
    EXPECT_FALSE(CaricaMediaMcfDaByte(Percorso, GetParam().file));
    UnErrore(GetParam().riga);
    if (GetParam().header) {
        IntestazioneRipristinata(prima);
    } else {
        EXPECT_EQ(HeaderMcf.TriggerCount, 0);
        EXPECT_EQ(HeaderMcf.MediaFileCount, 0);
        EXPECT_EQ(HeaderMcf.VideoMode, 2);
        EXPECT_EQ(HeaderMcf.HeaderOptions, 0x1000);
        EXPECT_EQ(ListaMedia.size(), 1u);
    }
}

std::string Testa(int32_t triggers, const std::string& testo, int32_t file) {
    return "VER1.5" + mano::I32(triggers) + mano::Riservati + mano::I32(0x1234) + mano::I32(1) + mano::I32(0) +
           mano::I32(0) + testo + mano::I32(file);
}

const std::string Carico = "Error loading media file: " + Percorso;
const std::string Lettura = "Error trying to load 'media.mcf' file";
const std::string Record = "Error trying to load media configuration file: " + Percorso;
const std::string UnRecord = mano::Bytes(mano::PrimoRecord());

std::string ConTesto(const std::string& stringa) {
    mano::Record r = mano::PrimoRecord();
    const std::string prima = mano::I32(r.typeFlags) + mano::I32(r.options) + mano::Stringa(r.mediaFile) +
                              mano::Stringa(r.soundFile);
    std::string formato;
    for (int32_t v : r.formato) formato += mano::I32(v);
    std::string dopo = mano::Stringa(r.syntax);
    for (int32_t v : r.numeri) dopo += mano::I32(v);
    return prima + formato + stringa + dopo;
}

INSTANTIATE_TEST_SUITE_P(
    Damage, FileDanneggiato,
    testing::Values(
        CasoDanno{"Empty", "", true, Lettura}, CasoDanno{"ShortVersion", "VER1.", true, Lettura},
        CasoDanno{"OldLayoutShort", std::string(19, 'x'), true, Lettura},
        CasoDanno{"HeaderTextNegative", Testa(0, mano::I32(-4) + "abcd", 0), true, Carico},
        CasoDanno{"HeaderTextOdd", Testa(0, mano::I32(3) + "abcd", 0), true, Carico},
        CasoDanno{"HeaderTextPastEnd", Testa(0, mano::I32(400) + "abcd", 0), true, Carico},
        CasoDanno{"FileCountNegative", Testa(0, mano::Stringa("t"), -1), true, Carico},
        CasoDanno{"FileCountHuge", Testa(0, mano::Stringa("t"), 0x7FFFFFFF) + mano::Stringa("a") + mano::I32(1),
                  true, Carico},
        CasoDanno{"FileCountBeyondEntries",
                  Testa(0, mano::Stringa("t"), 3) + mano::Stringa("a") + mano::I32(1) + mano::Stringa("b") +
                      mano::I32(1),
                  true, Carico},
        CasoDanno{"FileNameOdd", Testa(0, mano::Stringa("t"), 1) + mano::I32(5) + "abcdefgh", true, Carico},
        CasoDanno{"FileRefMissing", Testa(0, mano::Stringa("t"), 1) + mano::I32(4) + "abcd" + "ab", true, Lettura},
        CasoDanno{"TriggerCountNegative", Testa(-1, mano::Stringa("t"), 0) + UnRecord, false, Record},
        CasoDanno{"TriggerCountHuge", Testa(0x7FFFFFFF, mano::Stringa("t"), 0) + UnRecord, false, Record},
        CasoDanno{"TriggerCountOneTooMany", Testa(2, mano::Stringa("t"), 0) + UnRecord, false, Record},
        CasoDanno{"RecordTextNegative", Testa(1, mano::Stringa("t"), 0) + ConTesto(mano::I32(-2)), false, Record},
        CasoDanno{"RecordTextOdd", Testa(1, mano::Stringa("t"), 0) + ConTesto(mano::I32(7) + "abcdefgh"), false,
                  Record},
        CasoDanno{"RecordTextPastEnd", Testa(1, mano::Stringa("t"), 0) + ConTesto(mano::I32(1000000)), false,
                  Record}),
    [](const auto& info) { return std::string(info.param.nome); });

TEST_F(McfByte, WriterRefusesCountsItHasNoEntriesFor) {
    HeaderMcf = MediaConfigHeader{};
    HeaderMcf.MediaFileCount = 2;
    HeaderMcf.MediaFiles = {"a.bmp"};
    HeaderMcf.MediaFileRefs = {1};
    std::string dati = "untouched";
    EXPECT_FALSE(ComponiMediaConfig(Percorso, dati));
    UnErrore("Error trying to save header of " + Percorso);
    EXPECT_EQ(dati, "untouched");

    SetUp();
    HeaderMcf = MediaConfigHeader{};
    HeaderMcf.TriggerCount = 3;
    ListaMedia.assign(2, MediaTrigger{});
    EXPECT_FALSE(ComponiMediaConfig(Percorso, dati));
    UnErrore("Error trying to save media configuration file to: " + Percorso);
}

}  // namespace
