#include <gtest/gtest.h>

#include "core/MediaConfig.h"
#include "core/MediaTrigger.h"
#include "tests/core/LogLines.h"

namespace {

struct CasoTipo {
    uint32_t flags;
    int32_t tipo;
    const char* nome;
};

class TipoDaFlags : public testing::TestWithParam<CasoTipo> {};

TEST_P(TipoDaFlags, GivesKindAndName) {
    const CasoTipo& c = GetParam();
    EXPECT_EQ(TipoMediaDaFlags(static_cast<int32_t>(c.flags)), c.tipo);
    EXPECT_EQ(NomeTipoMedia(c.tipo), c.nome);
}

// Each kind from its own bit, with the presentation bits that never select
// a kind added where they do not change it.
INSTANTIATE_TEST_SUITE_P(
    AllKinds, TipoDaFlags,
    testing::Values(CasoTipo{0x8000000, 0, "Alert"}, CasoTipo{0x80, 1, "Image_Fixed_Text"},
                    CasoTipo{0x8, 2, "Image_Scroll_Text"}, CasoTipo{0x20000, 3, "Image_Sequence_Scroll"},
                    CasoTipo{0x2000000, 4, "Keyboard"}, CasoTipo{0x2, 5, "Email"},
                    CasoTipo{0x4000000, 6, "Sensory"}, CasoTipo{0x1, 7, "Guardian"},
                    CasoTipo{0x400000, 8, "Equipment"}, CasoTipo{0x4, 9, "Movie"},
                    CasoTipo{0x800000, 10, "Splash_Screen"}, CasoTipo{0x200, 11, "Exec"},
                    CasoTipo{0x1000000, 12, "Command"}, CasoTipo{0x20080, 13, "Image_Sequence_Fixed"},
                    CasoTipo{0x10000000, 14, "CountDown"}, CasoTipo{0x20000000, 15, "Comunicator"},
                    CasoTipo{0x40000000, 16, "Switch"}, CasoTipo{0x2000, 17, "Check"},
                    CasoTipo{0x1000, 18, "Action"}, CasoTipo{0x800, 19, "Text_Menu"},
                    CasoTipo{0x400, 20, "Graph_Menu"},
                    // The order of the tests decides between several kind bits.
                    CasoTipo{0x8000004, 0, "Alert"}, CasoTipo{0x88, 1, "Image_Fixed_Text"},
                    CasoTipo{0x20008, 3, "Image_Sequence_Scroll"}, CasoTipo{0x4 | 0x1 | 0x400, 9, "Movie"},
                    CasoTipo{0x2000 | 0x400000, 17, "Check"}, CasoTipo{0x400 | 0x1000, 20, "Graph_Menu"},
                    CasoTipo{0x1000 | 0x800, 18, "Action"}, CasoTipo{0x800 | 0x1000000, 19, "Text_Menu"},
                    CasoTipo{0x1000000 | 0x200, 12, "Command"}, CasoTipo{0x200 | 0x800000, 11, "Exec"},
                    CasoTipo{0x800000 | 0x4000000, 10, "Splash_Screen"}, CasoTipo{0x4000000 | 0x2, 6, "Sensory"},
                    CasoTipo{0x2 | 0x2000000, 5, "Email"}, CasoTipo{0x2000000 | 0x10000000, 4, "Keyboard"},
                    CasoTipo{0x10000000 | 0x20000000, 14, "CountDown"},
                    CasoTipo{0x20000000 | 0x40000000, 15, "Comunicator"}, CasoTipo{0x40000000 | 0x80, 16, "Switch"},
                    CasoTipo{0x80000000u | 0x40000000, 16, "Switch"},
                    // Bits that select no kind.
                    CasoTipo{0, -1, "UNKNOWN"}, CasoTipo{0x10, -1, "UNKNOWN"},
                    CasoTipo{0x10 | 0x20 | 0x40 | 0x100 | 0x4000 | 0x8000 | 0x10000 | 0x40000 | 0x80000 | 0x100000 |
                                 0x200000 | 0x80000000u,
                             -1, "UNKNOWN"}));

TEST(NomeTipoMedia, OutsideTheKindsIsUnknown) {
    for (int32_t t : {-1, 21, 1000, INT32_MIN}) EXPECT_EQ(NomeTipoMedia(t), "UNKNOWN");
}

class CodiceMedia : public ConRigheLog {
protected:
    void Tabella(std::initializer_list<int32_t> codici) {
        ListaMedia.assign(codici.size() + 1, MediaTrigger{});
        size_t i = 0;
        for (int32_t c : codici) ListaMedia[i++].MediaCode = c;
        HeaderMcf.TriggerCount = static_cast<int32_t>(codici.size());
    }
    void TearDown() override {
        ListaMedia.assign(1, MediaTrigger{});
        HeaderMcf.TriggerCount = 0;
        ConRigheLog::TearDown();
    }
};

TEST_F(CodiceMedia, FirstRecordWithTheCodeWins) {
    Tabella({5, 7, 7, 9});
    EXPECT_EQ(IndiceMediaDaCodice(5), 0);
    EXPECT_EQ(IndiceMediaDaCodice(7), 1);
    EXPECT_EQ(IndiceMediaDaCodice(9), 3);
    NessunErrore();
}

TEST_F(CodiceMedia, UnknownCodeLogsAndGivesMinusOne) {
    Tabella({5});
    EXPECT_EQ(IndiceMediaDaCodice(-12), -1);
    EXPECT_EQ(Righe(), std::vector<std::string>{"ERROR: unknown media code = -12"});
    EXPECT_EQ(NumErroriLog, 1);
}

TEST_F(CodiceMedia, SpareRecordAndEmptyTableNeverMatch) {
    Tabella({5});
    // The spare last record holds code 0.
    EXPECT_EQ(IndiceMediaDaCodice(0), -1);
    Tabella({});
    EXPECT_EQ(IndiceMediaDaCodice(0), -1);
    // A count larger than the table is not followed past its end.
    HeaderMcf.TriggerCount = 50;
    EXPECT_EQ(IndiceMediaDaCodice(3), -1);
    // A table made without its spare record still finds its last record.
    ListaMedia.assign(2, MediaTrigger{});
    ListaMedia[1].MediaCode = 8;
    HeaderMcf.TriggerCount = 2;
    EXPECT_EQ(IndiceMediaDaCodice(8), 1);
}

TEST(AggiungiNomeUnico, AppendsOnlyNewNamesKeepingTheirCase) {
    std::vector<std::string> lista;
    int32_t n = 0;
    AggiungiNomeUnico("Intro.BMP", lista, n);
    EXPECT_EQ(n, 1);
    AggiungiNomeUnico("intro.bmp", lista, n);
    EXPECT_EQ(n, 1);
    AggiungiNomeUnico("music.wav", lista, n);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(lista, (std::vector<std::string>{"Intro.BMP", "music.wav"}));
}

TEST(AggiungiNomeUnico, EntriesPastTheCountDoNotCount) {
    std::vector<std::string> lista{"a.bmp", "b.bmp", "c.bmp"};
    int32_t n = 1;
    AggiungiNomeUnico("B.BMP", lista, n);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(lista, (std::vector<std::string>{"a.bmp", "B.BMP"}));
}

}  // namespace
