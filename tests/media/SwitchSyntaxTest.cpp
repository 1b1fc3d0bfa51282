// The "SWITCH" section of a switch media: flags, the list of codes, and each
// fault with its lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/SwitchSyntax.h"
#include "tests/core/LogLines.h"

namespace {

class SintassiSwitch : public ConRigheLog {
protected:
    void TearDown() override {
        LeggiSintassiSwitch("");
        ConRigheLog::TearDown();
    }
};

TEST_F(SintassiSwitch, FlagsCodesAndEachFaultWithItsLines) {
    const std::string listaErrata = "Syntax error in MediaList: not numeric code values";
    struct Caso {
        const char* sezione;
        bool esito;
        int32_t flags;
        std::vector<int32_t> codici;
        std::vector<std::string> righe;
    };
    const Caso casi[] = {
        {"", true, 1, {}, {}},
        // Blanks around the codes; tags in any case and order.
        {"#codes#= 10 : 20:30 \r\n#Flags#=4\r\n", true, 4, {10, 20, 30}, {}},
        {"#CODES#=-5\r\n", true, 1, {-5}, {}},
        {"#FLAGS#=&H18\r\n#CODES#=\r\n", true, 0x18, {}, {}},
        {"#FLAGS#=8\r\n", true, 8, {}, {}},
        // A flags value that cannot be read initialises nothing.
        {"#FLAGS#=all\r\n#CODES#=1\r\n", false, 0, {},
         {"Error in switch trigger: not numeric value for #FLAGS#: all"}},
        {"#FLAGS#=\r\n#CODES#=1\r\n", false, 0, {}, {"Error in switch trigger: not numeric value for #FLAGS#: ~"}},
        {"#FLAGS#=4\r\n#CODES#=1:x:3\r\n", false, 4, {}, {listaErrata, "Error in switch trigger: " + listaErrata}},
        {"#FLAGS#=4\r\n#CODES#=1::3\r\n", false, 4, {}, {listaErrata, "Error in switch trigger: " + listaErrata}},
        {"#FLAGS#=4\r\n#CODES#=7:\r\n", false, 4, {}, {listaErrata, "Error in switch trigger: " + listaErrata}},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.sezione);
        BufferLog.clear();
        NumErroriLog = 0;
        ParametriSwitch.Codici = {{99}, 1};
        EXPECT_EQ(LeggiSintassiSwitch(c.sezione), c.esito);
        EXPECT_EQ(ParametriSwitch.Flags, c.flags);
        EXPECT_EQ(ParametriSwitch.Codici.Codici, c.codici);
        EXPECT_EQ(ParametriSwitch.Codici.Conteggio, static_cast<int32_t>(c.codici.size()));
        EXPECT_EQ(Righe(), c.righe);
        EXPECT_EQ(NumErroriLog, static_cast<int32_t>(c.righe.size()));
        if (!c.righe.empty()) {
            EXPECT_EQ(UltimoErrore, c.righe.back());
        }
    }
}

TEST_F(SintassiSwitch, ListTextJoinsTheCodes) {
    EXPECT_EQ(TestoListaMedia({}), "Medias=");
    EXPECT_EQ(TestoListaMedia({{1, -2, 30}, 3}), "Medias=1;-2;30");
    // The count rules, not the array behind it.
    EXPECT_EQ(TestoListaMedia({{1, 2, 3}, 2}), "Medias=1;2");
    NessunErrore();
}

}  // namespace
