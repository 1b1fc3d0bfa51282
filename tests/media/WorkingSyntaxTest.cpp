// The "KEYBOARD" and "SENSORY" sections of the working media, the hot-key
// names and the log text of a command code.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/WorkingSyntax.h"
#include "tests/core/LogLines.h"

namespace {

class SintassiWorking : public ConRigheLog {};

struct CasoSintassi {
    const char* sezione;
    bool esito;
    int32_t codice, flags;
    const char* errore;  // "" none
};

TEST_F(SintassiWorking, KeyboardAndSensorySectionsWithTheirFaults) {
    const char* codiceK = "SYNTAX ERROR: in KeyBoard media not numeric value for #code#";
    const char* flagsK = "SYNTAX ERROR: in KeyBoard media not numeric value for #Flags#";
    const char* codiceS = "SYNTAX ERROR in Sensory Media: not numeric value for #code#";
    const char* flagsS = "SYNTAX ERROR in Sensory Media: not numeric value for #flags#";
    struct Caso {
        CasoSintassi k, s;
    };
    const Caso casi[] = {
        // An empty section is accepted with the defaults.
        {{"", true, -1, 0, ""}, {"", true, -1, 0, ""}},
        {{"#CODE#=12\r\n#FLAGS#=1\r\n#HOTKEY#=F5\r\n", true, 12, 1, ""},
         {"#CODE#=12\r\n#FLAGS#=1\r\n#HOTKEY#=F5\r\n", true, 12, 1, ""}},
        // Any order and case; hexadecimal.
        {{"#flags#=&H10\r\n#Code#=3\r\n", true, 3, 16, ""}, {"#flags#=&H10\r\n#Code#=3\r\n", true, 3, 16, ""}},
        // A missing or empty code is no number; the flags are then unread.
        {{"#FLAGS#=4\r\n", false, -1, 0, codiceK}, {"#FLAGS#=4\r\n", false, -1, 0, codiceS}},
        {{"#CODE#=\r\n#FLAGS#=4\r\n", false, -1, 0, codiceK}, {"#CODE#=\r\n#FLAGS#=4\r\n", false, -1, 0, codiceS}},
        {{"#CODE#=seven\r\n", false, -1, 0, codiceK}, {"#CODE#=seven\r\n", false, -1, 0, codiceS}},
        // What was read before the fault keeps its value.
        {{"#CODE#=9\r\n", false, 9, 0, flagsK}, {"#CODE#=9\r\n", false, 9, 0, flagsS}},
        {{"#CODE#=9\r\n#FLAGS#=x\r\n", false, 9, 0, flagsK}, {"#CODE#=9\r\n#FLAGS#=x\r\n", false, 9, 0, flagsS}},
        {{"#CODE#=9\r\n#FLAGS#=99999999999\r\n", false, 9, 0, flagsK},
         {"#CODE#=9\r\n#FLAGS#=99999999999\r\n", false, 9, 0, flagsS}},
    };
    for (const Caso& c : casi) {
        for (const bool tastiera : {true, false}) {
            const CasoSintassi& caso = tastiera ? c.k : c.s;
            SCOPED_TRACE(std::string(tastiera ? "keyboard: " : "sensory: ") + caso.sezione);
            BufferLog.clear();
            NumErroriLog = 0;
            UltimoErrore = "previous";
            ParametriKeyboard = {77, 77, "left"};
            ParametriSensory = {77, 77};
            const bool esito = tastiera ? LeggiSintassiKeyboard(caso.sezione) : LeggiSintassiSensory(caso.sezione);
            EXPECT_EQ(esito, caso.esito);
            EXPECT_EQ(tastiera ? ParametriKeyboard.Codice : ParametriSensory.Codice, caso.codice);
            EXPECT_EQ(tastiera ? ParametriKeyboard.Flags : ParametriSensory.Flags, caso.flags);
            if (caso.esito)
                NessunErrore();
            else
                UnErrore(caso.errore);
        }
    }
}

TEST_F(SintassiWorking, HotKeyIsAnyTextAndEmptyBecomesTilde) {
    EXPECT_TRUE(LeggiSintassiKeyboard("#CODE#=1\r\n#FLAGS#=0\r\n#HOTKEY#=Return\r\n"));
    EXPECT_EQ(ParametriKeyboard.HotKey, "Return");
    EXPECT_TRUE(LeggiSintassiKeyboard("#CODE#=1\r\n#FLAGS#=0\r\n#HOTKEY#=\r\n"));
    EXPECT_EQ(ParametriKeyboard.HotKey, "~");
    EXPECT_EQ(CodiceTastoDaNome(ParametriKeyboard.HotKey), -1);
    EXPECT_TRUE(LeggiSintassiKeyboard("#CODE#=1\r\n#FLAGS#=0\r\n"));
    EXPECT_EQ(ParametriKeyboard.HotKey, "");
    NessunErrore();
}

TEST(NomiTasti, HotKeyNamesGiveVirtualKeys) {
    const std::pair<const char*, int32_t> casi[] = {
        {"Escape", 27}, {"ESCAPE", 27}, {"end", 35},  {"Home", 36}, {"return", 13},
        {"F1", 112},    {"f1", 112},    {"F9", 120},  {"F10", 121}, {"f12", 123},
        {"A", 65},      {"Z", 90},      {"0", 48},    {"9", 57},
        // A letter is its key whichever way it is written: "z" is Z, not F11.
        {"a", 65},      {"z", 90},      {"q", 81},
        // The first character of a text in the ranges, as the names compare.
        {"Apple", 65},  {"10", 49},     {"F13", 70},  {"F0", 70},
        {"", -1},       {"~", -1},      {"Zoom", -1}, {"[", -1},    {"Space", 83},
        {"#", -1}};
    for (const auto& [nome, codice] : casi) EXPECT_EQ(CodiceTastoDaNome(nome), codice) << '"' << nome << '"';
}

TEST(NomiTasti, SensitivityBitsCountTheChecksAndTheLastWins) {
    const std::pair<int32_t, int32_t> casi[] = {
        {0, 0}, {0x1 | 0x2 | 0x20 | 0x40 | 0x80 | 0x100, 0}, {0x10, 1}, {0x8, 2}, {0x4, 3},
        {0x10 | 0x4, 3}, {0x10 | 0x8, 2}, {0x8 | 0x4, 3}, {0x1C, 3}};
    for (const auto& [flags, controlli] : casi) EXPECT_EQ(NumeroControlliSensory(flags), controlli) << flags;
}

TEST(NomiTasti, CommandCodeNamesWithAndWithoutCount) {
    EXPECT_EQ(NomeAzioneTasto((1 << 24) | (1 << 16) | 3, false), "3 hits   Action_Start+Up");
    EXPECT_EQ(NomeAzioneTasto((1 << 30) | (1 << 21) | (1 << 13) | 6, false), "6 secs   Dash+Look_End");
    EXPECT_EQ(NomeAzioneTasto((1 << 7) | (1 << 6), true), "F5_Key+F6_Key");
    EXPECT_EQ(NomeAzioneTasto(0, true), "");
}

}  // namespace
