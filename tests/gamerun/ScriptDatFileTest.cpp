// The script.dat byte reader: level paths, title CD track and checksum, on
// files written by hand from the layout and by the test writer, and on files
// whose counts and offsets do not fit.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "runservices/ScriptDatFile.h"
#include "tests/gamerun/ScriptDatWriter.h"

namespace {

using scriptdat::I16;

// Two levels and two paths, byte by byte from the layout.
std::string ScriptAMano() {
    std::string f(9, '\x07');                       // game header fields
    f += '\x02';                                    // 9: L
    f += std::string("\x02\x00", 2);                // 10: N
    f += std::string("\x17\x00", 2);                // 12: P = 23
    f += std::string(42, '\x05');                   // 14: rest of the header
    f += std::string("\x00\x00\x0B\x00", 4);        // 56: path offsets 0, 11
    f += std::string("DATA\\TITLE\0DATA\\JUNGL\0\0", 23);  // path block
    f += std::string("\x00\x00\x30\x00", 4);        // level offsets 0, 48
    std::string titolo(48, '\x09');
    titolo[0] = '\x91';
    titolo[36] = '\x68';                            // track 104
    return f + titolo + std::string(8, '\x0A');
}

TEST(ScriptDatFile, AFileWrittenByHandGivesItsPathsAndTitleTrack) {
    std::vector<std::string> percorsi;
    std::string motivo;
    ASSERT_TRUE(PercorsiScriptDat(ScriptAMano(), percorsi, motivo)) << motivo;
    EXPECT_EQ(percorsi, (std::vector<std::string>{"DATA\\TITLE", "DATA\\JUNGL"}));
    EXPECT_EQ(CdTitoloScriptDat(ScriptAMano(), motivo), 104) << motivo;
}

TEST(ScriptDatFile, EveryPathIsReadWholeHoweverLong) {
    const std::string lungo = "DATA\\" + std::string(60, 'x');
    const scriptdat::Script s{{"DATA\\TITLE", "DATA\\A", lungo}};
    std::vector<std::string> percorsi;
    std::string motivo;
    ASSERT_TRUE(PercorsiScriptDat(scriptdat::Componi(s), percorsi, motivo)) << motivo;
    EXPECT_EQ(percorsi, (std::vector<std::string>{"DATA\\TITLE", "DATA\\A", lungo}));
}

TEST(ScriptDatFile, APathWithoutItsNulEndsWithTheBlock) {
    std::string f = ScriptAMano();
    f[56 + 4 + 21] = 'Y';  // both NULs after the last path
    f[56 + 4 + 22] = 'Z';
    std::vector<std::string> percorsi;
    std::string motivo;
    ASSERT_TRUE(PercorsiScriptDat(f, percorsi, motivo)) << motivo;
    EXPECT_EQ(percorsi[1], "DATA\\JUNGLYZ");
}

// A change of the good file that the readers must refuse.
struct Danno {
    const char* nome;
    std::function<std::string(std::string)> applica;
};

TEST(ScriptDatFile, DamagedCountsAndOffsetsGiveNoLevelsAndNoTitleTrack) {
    const std::string buono = ScriptAMano();
    const std::vector<Danno> danni = {
        {"empty", [](std::string) { return std::string(); }},
        {"header cut", [](std::string f) { return f.substr(0, 55); }},
        {"no paths", [](std::string f) { return f.replace(10, 2, I16(0)); }},
        {"negative path count", [](std::string f) { return f.replace(10, 2, I16(-2)); }},
        {"more paths than levels", [](std::string f) { return f.replace(10, 2, I16(3)); }},
        {"no levels", [](std::string f) { f[9] = 0; return f; }},
        {"negative path block", [](std::string f) { return f.replace(12, 2, I16(-1)); }},
        {"absurd path block", [](std::string f) { return f.replace(12, 2, I16(0x7FFF)); }},
        {"path offsets cut", [](std::string f) { return f.substr(0, 58); }},
        {"path block cut", [](std::string f) { return f.substr(0, 70); }},
        {"level offsets cut", [](std::string f) { return f.substr(0, 56 + 4 + 23 + 3); }},
        {"negative path offset", [](std::string f) { return f.replace(58, 2, I16(-5)); }},
        {"path offset past the block", [](std::string f) { return f.replace(58, 2, I16(23)); }},
        {"level offsets equal", [](std::string f) { return f.replace(56 + 4 + 23 + 2, 2, I16(0)); }},
        {"level offsets descending", [](std::string f) { return f.replace(56 + 4 + 23, 2, I16(0x50)); }},
        {"absurd level count", [](std::string f) { f[9] = '\xFF'; return f; }},
    };
    for (const Danno& d : danni) {
        const std::string f = d.applica(buono);
        std::vector<std::string> percorsi{"old"};
        std::string motivo;
        EXPECT_FALSE(PercorsiScriptDat(f, percorsi, motivo)) << d.nome;
        EXPECT_TRUE(percorsi.empty()) << d.nome;
        EXPECT_FALSE(motivo.empty()) << d.nome;
        motivo.clear();
        EXPECT_EQ(CdTitoloScriptDat(f, motivo), -1) << d.nome;
        EXPECT_FALSE(motivo.empty()) << d.nome;
    }
}

TEST(ScriptDatFile, TheTitleTrackIsByte36OfABlockStartingWith0x91) {
    struct Caso {
        std::string titolo;
        int32_t atteso;
    };
    for (const Caso& c : {Caso{scriptdat::BloccoTitolo(104), 104}, Caso{scriptdat::BloccoTitolo(0), 0},
                          Caso{scriptdat::BloccoTitolo(111), 111}, Caso{scriptdat::BloccoTitolo(112), -1},
                          Caso{scriptdat::BloccoTitolo(255), -1}, Caso{scriptdat::BloccoTitolo(10, 0x90), -1},
                          Caso{scriptdat::BloccoTitolo(10).substr(0, 37), 10},
                          Caso{scriptdat::BloccoTitolo(10).substr(0, 36), -1}}) {
        // One level only, so that the title block ends the file.
        const std::string f = scriptdat::Componi(scriptdat::Script{{"DATA\\TITLE"}, 1, c.titolo});
        std::string motivo;
        EXPECT_EQ(CdTitoloScriptDat(f, motivo), c.atteso) << c.titolo.size() << " " << motivo;
        EXPECT_EQ(motivo.empty(), c.atteso >= 0);
    }
}

TEST(ScriptDatFile, ChecksumHoldsFirstByteAndTheLowByteOfTheSum) {
    struct Caso {
        std::string dati;
        int32_t atteso;
    };
    // 300 bytes of 0xFF: the sum 76500 keeps only its low byte 0xD4.
    for (const Caso& c : {Caso{"abc", 0x612673}, Caso{std::string(1, '\0'), 0x0055},
                          Caso{std::string(300, '\xFF'), 0xFFD481}}) {
        int32_t checksum = -1;
        ASSERT_TRUE(ChecksumScriptDat(c.dati, checksum));
        EXPECT_EQ(checksum, c.atteso);
    }
    int32_t checksum = -1;
    EXPECT_FALSE(ChecksumScriptDat("", checksum));
    EXPECT_EQ(checksum, 0);
}

}  // namespace
