// Placeholders of media texts filled from the newest savegame of the game
// folder, laid out by hand, and from the level variables.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "core/LevelVariables.h"
#include "core/MediaTrigger.h"
#include "core/SystemUtils.h"
#include "media/MediaText.h"
#include "tests/savegames/SavegameFolder.h"

namespace {

class SegnapostoTesto : public CartellaSavegame {
protected:
    void SetUp() override {
        CartellaSavegame::SetUp();
        ImpostaBit(ModificheAvvio, FaseSpecialMedia);
        VarLastInput = "Nile";
        VarA = "12";
        VarB = "%VC";
        VarC = "three";
        VarD = "";
        MediaCorrente = MediaTrigger{};
        FormatoTestoCorrente = TextFormat{};
    }
    void TearDown() override {
        ModificheAvvio = 0;
        VarLastInput = VarA = VarB = VarC = VarD = "";
        MediaCorrente = MediaTrigger{};
        FormatoTestoCorrente = TextFormat{};
        CartellaSavegame::TearDown();
    }
    // The newest of two slots, the older one holding other values; the cache
    // reads the folder anew.
    void MettiSavegame(const std::vector<std::pair<size_t, std::vector<int>>>& byte) {
        std::string vecchio = mano::SavegameGioco("Old", 3, 1, 0);
        mano::Byte(vecchio, 404, {9, 9});
        mano::Chiudi(vecchio);
        Metti(0, vecchio);
        std::string s = mano::SavegameGioco("New", 8, 2, 0);
        for (const auto& [offset, valori] : byte) mano::Byte(s, offset, valori);
        mano::Chiudi(s);
        Metti(4, s);
        ClockAdvance(5000);
    }
};

struct CasoSegnaposto {
    const char* testo;
    std::vector<std::pair<size_t, std::vector<int>>> byte;
    std::string atteso;
};

TEST_F(SegnapostoTesto, EachPlaceholderReadsItsPlaceOfTheNewestSavegame) {
    const std::string d(1, SeparatoreDecimale());
    const std::vector<CasoSegnaposto> casi = {
        {"%A|%B|%C|%D|%E|%F", {{361, {1, 0, 1, 0, 7, 0}}}, "Pistols||ShotGun||Granade Gun|"},
        {"%A|%B|%C|%D|%E|%F", {{361, {0, 2, 0, 255, 0, 1}}}, "|Revolver||UZI||Crossbow"},
        // Ammunition, flares and medikits: signed 16-bit words.
        {"%01 %02 %03 %04 %05 %06 %07 %08 %09 %10",
         {{408, {4, 0, 1, 0, 2, 0, 3, 0, 5, 0, 6, 0, 7, 0, 8, 0, 9, 0, 0x10, 0x27}}},
         "1 2 3 4 5 6 7 8 9 10000"},
        {"flares %11, medikits %12 and %13", {{400, {0xFF, 0xFF, 2, 1, 40, 0}}}, "flares 40, medikits -1 and 258"},
        {"%14 secrets", {{507, {200}}}, "200 secrets"},
        {"%18d %17h %16m %15s", {{79, {1, 0, 2, 0, 3, 0, 59, 0}}}, "1d 2h 3m 59s"},
        // Distance: 419 units a metre.
        {"%19 m = %20 km", {{493, {0x46, 0x03, 0, 0}}}, "2 m = 0" + d + "0 km"},
        {"%19 m = %20 km", {{493, {0xB8, 0x64, 0x06, 0}}}, "1000 m = 1" + d + "0 km"},
        {"%19 m = %20 km", {{493, {0x54, 0x5C, 0xFF, 0xFF}}}, "-100 m = -0" + d + "1 km"},
        {"used %21 bullets and %22 medipacks", {{497, {0xE8, 0x03}}, {508, {3}}}, "used 1000 bullets and 3 medipacks"},
        // The screen timer: 30 frames a second.
        {"[%23]", {{509, {0x27, 0x07, 0, 0}}}, "[01:01:01]"},
        {"[%23]", {{509, {0xD9, 0xF8, 0xFF, 0xFF}}}, "[01:01:01]"},
        {"[%23]", {{509, {0, 0, 0, 0}}}, "[00:00:00]"},
        // Names in any case; the variables as the run holds them.
        {"%a %li %Va", {{361, {1}}}, "Pistols Nile 12"},
        // A value filled in is not searched again.
        {"%VB/%VC/%VD.", {}, "%VC/three/."},
        // Unknown names stay as typed.
        {"%1 %99 %G %V 100% %", {}, "%1 %99 %G %V 100% %"},
    };
    for (const CasoSegnaposto& c : casi) {
        MettiSavegame(c.byte);
        EXPECT_EQ(SostituisciSegnapostoSavegame(c.testo), c.atteso) << c.testo;
    }
    const std::vector<std::string> righe = Righe();
    EXPECT_NE(std::find(righe.begin(), righe.end(), "Compute for screen timer: Original value = -1831  TotSeconds=61"),
              righe.end());
}

TEST_F(SegnapostoTesto, WithoutASavegameTheTextStaysAsTyped) {
    const std::string testo = "Flares: %11, weapon %A, answer %LI";
    EXPECT_EQ(SostituisciSegnapostoSavegame(testo), testo);
    const std::vector<std::string> attese = {
        "Update savegame cache", "Missing savegames in trle folder: no replacement for placefolder savegame texts"};
    EXPECT_EQ(Righe(), attese);
    EXPECT_EQ(NumErroriLog, 0);
}

TEST_F(SegnapostoTesto, TheMediaTextIsFilledOnlyWhenItsFormatAsksForIt) {
    MettiSavegame({{404, {5, 0}}});
    MediaCorrente.Text = "<TEXT><ENGLISH>%11 flares<END_ENGLISH><END_TEXT>";
    struct Caso {
        int32_t formatoMedia, formatoCorrente;
        const char* atteso;
    };
    for (const Caso& c : {Caso{0, 0, "%11 flares"}, Caso{0x8, 0, "5 flares"}, Caso{0, 0x8, "5 flares"},
                          Caso{0x7, 0x10, "%11 flares"}}) {
        MediaCorrente.Formato.Flags = c.formatoMedia;
        FormatoTestoCorrente.Flags = c.formatoCorrente;
        EXPECT_EQ(TestoMedia(MediaCorrente.Text), c.atteso) << c.formatoMedia << " " << c.formatoCorrente;
    }
}

TEST_F(SegnapostoTesto, TheVoiceTagLeavesTheText) {
    struct Caso {
        const char* testo;
        const char* voce;
        const char* resto;
    };
    for (const Caso& c : {Caso{"#VOICE#=hello.wav\r\nHello", "hello.wav", "Hello"},
                          Caso{"Hi\r\n#voice#=~\r\nthere", "", "Hi\r\nthere"}, Caso{"No voice", "", "No voice"}}) {
        std::string voce = "old";
        EXPECT_EQ(LeggiTagVoice(c.testo, voce), c.resto) << c.testo;
        EXPECT_EQ(voce, c.voce) << c.testo;
    }
}

}  // namespace
