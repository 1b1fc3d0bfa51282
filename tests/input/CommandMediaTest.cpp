// Command media: the keys of each command code in the player's bindings,
// the syntax of the COMMAND section and how often and when the macro goes
// to the game.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/MediaTrigger.h"
#include "core/SharedState.h"
#include "runservices/TombSettings.h"
#include "input/CommandMedia.h"
#include "input/KeyMacros.h"
#include "media/WorkingMedia.h"
#include "tests/gamerun/GameScript.h"
#include "tests/input/KeyLayer.h"

namespace {

using namespace tastiprova;

class ProvaComando : public ProvaGioco {
protected:
    void SetUp() override {
        ProvaGioco::SetUp();
        PreparaTasti();
        FuoriGioco = false;
        StatoSequenza = 0;
        ImpostazioniTombCorrenti = ImpostazioniTomb{};
    }
    void TearDown() override {
        Ripristina();
        ImpostazioniTombCorrenti = ImpostazioniTomb{};
        StatoGioco = 0;
        StatoSequenza = 0;
        ProvaGioco::TearDown();
    }
    // The codes and times of "temp.mcr" as one command code stores it.
    static std::vector<int> Macro(int32_t codice, std::vector<int>* tempi = nullptr) {
        std::vector<MacroEvent> eventi;
        int32_t conteggio = 0;
        CommandCodeToKeys(codice, eventi, conteggio);
        EXPECT_TRUE(SaveAdMacro("temp.mcr", conteggio, eventi));
        MacroCacheEntry m;
        EXPECT_TRUE(CaricaMacro("temp.mcr", m));
        std::vector<int> c;
        for (int32_t i = 0; i < m.NumEventi; ++i) {
            c.push_back(m.Eventi[static_cast<size_t>(i)].Codice);
            if (tempi) tempi->push_back(m.Eventi[static_cast<size_t>(i)].Tempo);
        }
        return c;
    }
    static void Media(const std::string& sezione) {
        MediaCorrente = MediaTrigger{};
        MediaCorrente.MediaCode = 12;
        MediaCorrente.Syntax = "<COMMAND>\r\n" + sezione + "<END_COMMAND>\r\n";
    }
};

constexpr int32_t Destra = 0x40000;
constexpr int32_t Su = 0x10000;

TEST_F(ProvaComando, CodesBecomeKeysOfThePlayersBindings) {
    struct Caso {
        const char* nome;
        int32_t codice;
        int16_t destra, destraDefault;  // bindings of Right
        std::vector<int> codici, tempi;
    };
    const std::vector<Caso> casi{
        {"right, arrow", Destra | 1, 205, 205, {224, 77, 224, 205, 0}, {50, 60, 160, 170, 270}},
        {"right, a letter", Destra | 1, 32, 205, {32, 160, 0}, {50, 150, 250}},
        {"right, the default", Destra | 1, 0x100 | 32, 205, {224, 77, 224, 205, 0}, {50, 60, 160, 170, 270}},
        {"up held 5 seconds", (1 << 30) | Su | 5, 205, 205, {224, 72, 224, 200, 0}, {50, 60, 5060, 5070, 5170}},
        {"dozy typed", 0x100 | 1, 205, 205, {32, 160, 24, 152, 44, 172, 21, 149, 0},
         {50, 250, 350, 550, 650, 850, 950, 1150, 1250}},
        {"action pressed, not released", (1 << 24) | 1, 205, 205, {29, 0}, {50, 150}},
        {"up twice, released twice", (1 << 29) | Su | 1, 205, 205,
         {224, 72, 56, 224, 72, 224, 200, 184, 224, 200, 0}, {}},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        ImpostazioniTombCorrenti.Tasti[3] = c.destra;
        ImpostazioniTombCorrenti.TastiDefault[3] = c.destraDefault;
        std::vector<int> tempi;
        EXPECT_EQ(Macro(c.codice, &tempi), c.codici);
        if (!c.tempi.empty()) {
            EXPECT_EQ(tempi, c.tempi);
        }
    }
    std::vector<MacroEvent> eventi;
    int32_t conteggio = 0;
    CommandCodeToKeys(0, eventi, conteggio);
    EXPECT_EQ(conteggio, 0);
}

TEST_F(ProvaComando, TheSectionGivesFlagsWaitAndCodes) {
    struct Caso {
        const char* testo;
        bool valido;
        int32_t flags, secondi;
        std::vector<int32_t> comandi;
        const char* errore;
    };
    const std::vector<Caso> casi{
        {"", true, 4, 1, {}, nullptr},
        {"#FLAGS#=2\r\n#WAIT_SECONDS#=3\r\n#COMMANDS#=&H40000:&H40000\r\n", true, 2, 3, {Destra, Destra}, nullptr},
        {"#FLAGS#=1\r\n#WAIT_SECONDS#=0\r\n", true, 1, 0, {}, nullptr},
        {"#WAIT_SECONDS#=3\r\n", false, 4, 1, {}, "Syntax error in Command Media: not present numeric value for Flags"},
        {"#FLAGS#=2\r\n#WAIT_SECONDS#=x\r\n", false, 2, 1, {},
         "Syntax error in Command Media: not present numeric value for #WAIT_SECONDS#"},
        {"#FLAGS#=2\r\n#WAIT_SECONDS#=1\r\n#COMMANDS#=&H40001:jump\r\n", false, 2, 1, {Destra | 1},
         "Syntax error in Command media: not numeric value for command code: jump"},
        {"#FLAGS#=2\r\n#WAIT_SECONDS#=1\r\n#COMMANDS#=&HFFFFFFFF:&H0000000040001\r\n", true, 2, 1, {-1, Destra | 1},
         nullptr},
        {"#FLAGS#=2\r\n#WAIT_SECONDS#=1\r\n#COMMANDS#=&H40001:&H100000000:&H40001\r\n", false, 2, 1, {Destra | 1},
         "Syntax error in Command media: command code out of 32 bits: &H100000000"},
        {"#FLAGS#=2\r\n#WAIT_SECONDS#=1\r\n#COMMANDS#=&H40001:99999999999\r\n", false, 2, 1, {Destra | 1},
         "Syntax error in Command media: command code out of 32 bits: 99999999999"},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.testo);
        EXPECT_EQ(SintassiCommandMedia(c.testo), c.valido);
        EXPECT_EQ(ParametriComando.FlagsComando, c.flags);
        EXPECT_EQ(ParametriComando.SecondiAttesa, c.secondi);
        EXPECT_EQ(ParametriComando.Comandi, c.comandi);
        if (c.errore) {
            EXPECT_TRUE(HaRiga(c.errore));
        }
    }
}

TEST_F(ProvaComando, EachWayOfWaitingSendsTheMacroOnce) {
    struct Caso {
        const char* nome;
        int32_t flags;
        std::string comandi;
        int macro;  // macros sent
        std::vector<BOOL> blocchi;
    };
    const std::vector<Caso> casi{
        {"no way", 0, "&H40001", 0, {}},
        {"seconds, two hits", 2, "&H40002", 2, {}},
        {"seconds, no hit", 2, "&H40000", 0, {}},
        {"seconds and quiet, input blocked", 0x16, "&H40001", 2, {TRUE, FALSE}},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        Inputs.clear();
        Blocchi.clear();
        Media("#FLAGS#=" + std::to_string(c.flags) + "\r\n#WAIT_SECONDS#=3\r\n#COMMANDS#=" + c.comandi + "\r\n");
        const uint32_t inizio = ClockTick();
        EXPECT_TRUE(EseguiCommandMedia());
        std::vector<int> attesi;
        for (int i = 0; i < c.macro; ++i) attesi.insert(attesi.end(), {224, 77, 224, 205, 0});
        EXPECT_EQ(Codici(), attesi);
        EXPECT_EQ(Blocchi, c.blocchi);
        EXPECT_FALSE(HaBit(StatoGioco, ComandoInCorso));
        if (c.macro > 0) {
            EXPECT_GE(ClockTick() - inizio, 3000u);
        }
    }
    // A code wider than 32 bits is an error of its own media, which runs the
    // codes read before it.
    Inputs.clear();
    Media("#FLAGS#=2\r\n#WAIT_SECONDS#=0\r\n#COMMANDS#=&H40001:&H100000000\r\n");
    EXPECT_TRUE(EseguiCommandMedia());
    EXPECT_EQ(Codici(), (std::vector<int>{224, 77, 224, 205, 0}));

    // The game in stand-by takes no command.
    Inputs.clear();
    ImpostaBit(StatoSequenza, StandByAttivo);
    Media("#FLAGS#=2\r\n#WAIT_SECONDS#=1\r\n#COMMANDS#=&H40001\r\n");
    EXPECT_FALSE(EseguiCommandMedia());
    EXPECT_TRUE(Inputs.empty());
    EXPECT_TRUE(HaRiga("ERROR: Tomb Raider is in stand-by. Command Media cann't work with Tomb Raider in stand-by"));
}

// A code that selects no key sends nothing, not the macro of the code before.
TEST_F(ProvaComando, ACodeWithoutKeysSendsNothing) {
    Media("#FLAGS#=2\r\n#WAIT_SECONDS#=0\r\n#COMMANDS#=&H40001:&H2:&H40001\r\n");
    EXPECT_TRUE(EseguiCommandMedia());
    EXPECT_EQ(Codici(), (std::vector<int>{224, 77, 224, 205, 0, 224, 77, 224, 205, 0}));
    EXPECT_TRUE(HaRiga("WARNING: command 2 (code 2) selects no key: nothing sent"));
}

// The waits of a media that blocks the player's input end with the game, so
// that a game gone does not keep the input blocked.
TEST_F(ProvaComando, WaitsWithTheInputBlockedEndWithTheGame) {
    // The game ends as the first macro reaches it.
    Gioco = [this](const InputInviato&) { FineGioco(); };
    Media("#FLAGS#=18\r\n#WAIT_SECONDS#=600\r\n#COMMANDS#=&H40001:&H40001\r\n");
    const uint32_t inizio = ClockTick();
    EXPECT_FALSE(EseguiCommandMedia());
    EXPECT_LT(ClockTick() - inizio, 5000u);
    EXPECT_TRUE(HaRiga("Tomb raider program is terminated"));
    EXPECT_EQ(Blocchi, (std::vector<BOOL>{TRUE, FALSE}));
    EXPECT_EQ(Codici(), (std::vector<int>{224, 77, 224, 205, 0}));

    // The blocked input is quiet at once; the game's end is for the media's
    // own look at the game before its next macro.
    ImpostaBit(StatoGioco, InputUtenteSospeso);
    EXPECT_TRUE(AttendiTastieraSilenziosa());
    TogliBit(StatoGioco, InputUtenteSospeso);
}

}  // namespace
