// Switch media over a loaded configuration: what each mode leaves in the
// triggers is read back from media.mcf as the end of the run saves it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/LevelVariables.h"
#include "core/MediaConfig.h"
#include "media/SwitchMedia.h"
#include "runservices/RunHooks.h"
#include "tests/core/LogLines.h"
#include "tests/support/TestFolders.h"

namespace {

constexpr int32_t D = Disabled;
constexpr int32_t W = Working;
constexpr int32_t ID = InitiallyDisabled;

MediaTrigger Trigger(int32_t codice, int32_t typeFlags, int32_t options, int32_t livello) {
    MediaTrigger m;
    m.TypeFlags = typeFlags;
    m.Options = options;
    m.TriggerCd = 5;
    m.MediaCode = codice;
    m.Level = livello;
    return m;
}

// What the stubs of the run's control were asked, and what the media they
// performed report.
std::vector<int32_t> IndiciChiesti;
std::vector<int32_t> CodiciChiesti;
bool EsitoAnnidato = true;
bool ErroreAnnidato = false;

class SwitchSuConfigurazione : public ConRigheLogTenute {
protected:
    void SetUp() override {
        ConRigheLogTenute::SetUp();
        ganci_ = Ganci;
        HeaderMcf = MediaConfigHeader{};
        HeaderMcf.CartellaMcf = trle.Percorso();
        HeaderMcf.TriggerCount = 5;
        ListaMedia = {Trigger(10, FixedText, 0, -1),          Trigger(20, BitKeyboard, D, -1),
                      Trigger(30, BitSensory, ID | W, -1),     Trigger(40, FixedText, D, 2),
                      Trigger(50, BitSwitch, 0, 2),            MediaTrigger{}};
        std::string percorso = Mcf();
        ASSERT_TRUE(SalvaMediaConfig(percorso));
        originale_ = LeggiFileProva(percorso);
        IndiciChiesti.clear();
        CodiciChiesti.clear();
        EsitoAnnidato = true;
        ErroreAnnidato = false;
    }
    void TearDown() override {
        Ganci = ganci_;
        HeaderMcf = MediaConfigHeader{};
        ListaMedia.assign(1, MediaTrigger{});
        MediaCorrente = MediaTrigger{};
        ConRigheLogTenute::TearDown();
    }
    std::string Mcf() const { return trle / "media.mcf"; }

    // The switch, the fifth trigger, with its section, out of the file.
    bool Esegui(const std::string& sezione, bool& errore) {
        BufferLog.clear();
        NumErroriLog = 0;
        EXPECT_TRUE(ScriviFileProva(Mcf(), originale_));
        EXPECT_TRUE(CaricaMediaMcf(Mcf()));
        MediaCorrente = ListaMedia[4];
        MediaCorrente.Syntax = sezione.empty() ? "" : "<SWITCH>" + sezione + "<END_SWITCH>";
        errore = false;
        return EseguiSwitchMedia(errore);
    }
    // The options as the saved file has them.
    std::vector<int32_t> OpzioniSalvate() {
        std::string percorso = Mcf();
        EXPECT_TRUE(SalvaMediaConfig(percorso));
        ListaMedia.assign(1, MediaTrigger{});
        EXPECT_TRUE(CaricaMediaMcf(Mcf()));
        std::vector<int32_t> opzioni;
        for (size_t i = 0; i < 5; ++i) opzioni.push_back(ListaMedia[i].Options);
        return opzioni;
    }

    CartellaProva trle{"trle"};
    GanciRun ganci_;
    std::string originale_;
};

TEST_F(SwitchSuConfigurazione, EachModeLeavesItsBitsInTheSavedTriggers) {
    struct Caso {
        const char* sezione;
        bool esito;
        std::vector<int32_t> opzioni;
        std::vector<std::string> righe;  // among the lines written
    };
    const std::vector<int32_t> prima = {0, D, ID | W, D, 0};
    const Caso casi[] = {
        // A keyboard trigger enabled starts its polling; an image never does.
        {"#FLAGS#=4\r\n#CODES#=20:40\r\n", true, {0, W, ID | W, 0, 0},
         {"Mode=Enable Medias=20;40", "Enable media code=20", "Enable media code=40"}},
        {"#FLAGS#=&H24\r\n#CODES#=20\r\n", true, {0, 0, ID | W, D, 0}, {"Mode=Enable Medias=20"}},
        {"#FLAGS#=8\r\n#CODES#=10:30\r\n", true, {D, D, ID | D, D, 0},
         {"Mode=Disable Medias=10;30", "Disable media code=10", "Disable media code=30"}},
        {"#FLAGS#=&H28\r\n#CODES#=30\r\n", true, {0, D, ID | W | D, D, 0}, {}},
        // Disabled first, then enabled: the mode is named for the last.
        {"#FLAGS#=12\r\n#CODES#=10\r\n", true, prima,
         {"Mode=Enable Medias=10", "Disable media code=10", "Enable media code=10"}},
        {"#FLAGS#=2\r\n#CODES#=20:30\r\n", true, {0, 0, ID | D, D, 0},
         {"Mode=Initialize Medias=20;30", "Enable media code=20", "Disable media code=30"}},
        // No flags: every trigger back to the author's state.
        {"#CODES#=20\r\n", true, {0, 0, ID | D, 0, 0}, {"Mode=Initialize all "}},
        {"", true, {0, 0, ID | D, 0, 0}, {"Mode=Initialize all "}},
        {"#FLAGS#=&H101\r\n", true, {0, D, ID | W, 0, 0},
         {"Ignore media with code= 10 (Not same level of current switch i.e. = 2)", "Enable media code=40"}},
        // Nothing half done: a code naming no trigger, unknown flags and
        // faulty sections fail and change nothing.
        {"#FLAGS#=4\r\n#CODES#=20:99\r\n", false, prima, {"ERROR: unknown media code = 99"}},
        {"#FLAGS#=&H40\r\n#CODES#=10\r\n", false, prima, {"ERROR: unknown flags for Switch media (Flags=0x40)"}},
        {"#FLAGS#=\r\n", false, prima, {"Error in switch trigger: not numeric value for #FLAGS#: ~"}},
        {"#FLAGS#=4\r\n#CODES#=20:y\r\n", false, prima,
         {"Error in switch trigger: Syntax error in MediaList: not numeric code values"}},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.sezione);
        bool errore = false;
        EXPECT_EQ(Esegui(c.sezione, errore), c.esito);
        EXPECT_EQ(errore, !c.esito);
        EXPECT_EQ(NumErroriLog > 0, !c.esito);
        EXPECT_TRUE(HaRiga("Perform Media Switch code = 50"));
        for (const std::string& riga : c.righe) EXPECT_TRUE(HaRiga(riga)) << riga;
        EXPECT_EQ(OpzioniSalvate(), c.opzioni);
    }
}

TEST_F(SwitchSuConfigurazione, InitializeAllCanClearTheVariables) {
    ImpostaBit(ModificheAvvio, FaseSpecialMedia);
    VarLastInput = VarA = VarB = VarC = VarD = "7";
    bool errore = false;
    EXPECT_TRUE(Esegui("#FLAGS#=&H201\r\n", errore));
    TogliBit(ModificheAvvio, FaseSpecialMedia);
    EXPECT_TRUE(HaRiga("Set = 0 all global variables (Last Input and A, B, C, D)"));
    for (const std::string* v : {&VarLastInput, &VarA, &VarB, &VarC, &VarD}) EXPECT_EQ(*v, "0");
    // Without initialise-all the bit is not read.
    VarA = "7";
    ImpostaBit(ModificheAvvio, FaseSpecialMedia);
    EXPECT_TRUE(Esegui("#FLAGS#=&H204\r\n#CODES#=10\r\n", errore));
    TogliBit(ModificheAvvio, FaseSpecialMedia);
    EXPECT_EQ(VarA, "7");
}

TEST_F(SwitchSuConfigurazione, PerformModeRunsTheListedTriggers) {
    Ganci.EseguiListaMedia = [](const std::vector<int32_t>& indici, int32_t conteggio, bool& TestError) {
        IndiciChiesti.assign(indici.begin(), indici.begin() + conteggio);
        TestError = ErroreAnnidato;
        return EsitoAnnidato;
    };
    Ganci.EseguiMediaCode = [](int32_t codice, bool& TestError) {
        CodiciChiesti.push_back(codice);
        TestError = ErroreAnnidato;
        return EsitoAnnidato;
    };
    struct Caso {
        const char* sezione;
        bool esito;
        bool errore;  // a fault of the switch, or the one its list reported
        std::vector<int32_t> indici;
        const char* riga;
        bool esitoAnnidato = true;
        bool erroreAnnidato = false;
    };
    const Caso casi[] = {
        {"#FLAGS#=16\r\n#CODES#=30:10\r\n", true, false, {2, 0}, "Mode=Perform : Medias=30;10"},
        // Disabled triggers kept, or left out when asked.
        {"#FLAGS#=16\r\n#CODES#=20\r\n", true, false, {1}, "Mode=Perform : Medias=20"},
        {"#FLAGS#=&H90\r\n#CODES#=20:10:40\r\n", true, false, {0}, "Mode=Perform : Medias=10"},
        // Nothing left to perform is no fault: a switch that closes the game
        // on failure leaves it running.
        {"#FLAGS#=&H90\r\n#CODES#=20:40\r\n", false, false, {}, "Warning: all medias are disabled"},
        {"#FLAGS#=16\r\n#CODES#=10:99\r\n", false, true, {}, "ERROR: unknown media code = 99"},
        {"#FLAGS#=16\r\n", false, false, {}, "Warning: all medias are disabled"},
        // The list's result and flag are its own: a menu left with Escape,
        // a media that failed.
        {"#FLAGS#=16\r\n#CODES#=10\r\n", false, false, {0}, "Performed media list: exit value = False", false,
         false},
        {"#FLAGS#=16\r\n#CODES#=10\r\n", false, true, {0}, "Performed media list: exit value = False", false,
         true},
        {"#FLAGS#=16\r\n#CODES#=10\r\n", true, true, {0}, "Performed media list: exit value = True", true, true},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.sezione);
        IndiciChiesti.clear();
        EsitoAnnidato = c.esitoAnnidato;
        ErroreAnnidato = c.erroreAnnidato;
        bool errore = false;
        EXPECT_EQ(Esegui(c.sezione, errore), c.esito);
        EXPECT_EQ(errore, c.errore);
        EXPECT_EQ(IndiciChiesti, c.indici);
        EXPECT_TRUE(HaRiga(c.riga)) << c.riga;
        // Performing changes no trigger.
        EXPECT_EQ(OpzioniSalvate(), (std::vector<int32_t>{0, D, ID | W, D, 0}));
    }
    EXPECT_TRUE(CodiciChiesti.empty());

    // One chosen at random among those left, its flag its own.
    IndiciChiesti.clear();
    EsitoAnnidato = true;
    for (int i = 0; i < 5; ++i) {
        ErroreAnnidato = i % 2 == 1;
        bool errore = false;
        EXPECT_TRUE(Esegui("#FLAGS#=&HD0\r\n#CODES#=10:20:30\r\n", errore));
        EXPECT_EQ(errore, ErroreAnnidato);
    }
    ErroreAnnidato = false;
    ASSERT_EQ(CodiciChiesti.size(), 5u);
    for (int32_t codice : CodiciChiesti) EXPECT_TRUE(codice == 10 || codice == 30) << codice;
    EXPECT_TRUE(IndiciChiesti.empty());
}

}  // namespace
