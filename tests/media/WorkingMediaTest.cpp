// Keyboard and sensory media polled as the tick polls them, with the keys
// pressed through the system's input queue and the media they perform and
// the game's progress answered by the test.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "core/MediaLog.h"
#include "core/MediaTrigger.h"
#include "core/SharedState.h"
#include "media/WorkingMedia.h"
#include "platform/Clock.h"
#include "runservices/JoystickBin.h"
#include "runservices/RunHooks.h"
#include "runservices/TombSettings.h"
#include "tests/media/KeyPresses.h"
#include "tests/support/LogSoFar.h"
#include "tests/support/LogText.h"
#include "tests/support/ScriptedJoystick.h"
#include "tests/support/TestFolders.h"

namespace {

// What the poll asked of the run.
std::vector<int32_t> Eseguiti;   // media codes performed
std::vector<int32_t> CdGuardati;  // CD tracks watched by the progress checks
int32_t FermaAllaVerifica = 0;    // the progress check that says stop, 0 none

bool EseguiFinto(int32_t codice, bool& errore) {
    Eseguiti.push_back(codice);
    errore = false;
    return true;
}

int32_t AnalisiFinta(bool& ferma, int32_t cd, bool) {
    CdGuardati.push_back(cd);
    ferma = FermaAllaVerifica != 0 && static_cast<int32_t>(CdGuardati.size()) == FermaAllaVerifica;
    return ferma ? 1 : 0;
}

// Set-1 scan codes of the controls: Up, Down, Duck, Dash, Walk, Jump, Look
// and Roll on letters; their keys below.
struct Controllo {
    TastoGioco tasto;
    int16_t scan;
    WORD vk;
};
constexpr Controllo Controlli[] = {
    {TastoGioco::Up, 0x11, 'W'},    {TastoGioco::Down, 0x1F, 'S'}, {TastoGioco::Duck, 0x20, 'D'},
    {TastoGioco::Dash, 0x21, 'F'},  {TastoGioco::Walk, 0x2C, 'Z'}, {TastoGioco::Jump, 0x24, 'J'},
    {TastoGioco::Look, 0x26, 'L'},  {TastoGioco::Roll, 0x13, 'R'},
};
WORD Vk(TastoGioco t) {
    for (const Controllo& c : Controlli)
        if (c.tasto == t) return c.vk;
    return 0;
}

class MediaWorking : public testing::Test {
protected:
    void SetUp() override {
        ganci_ = Ganci;
        Ganci.EseguiMediaCode = EseguiFinto;
        Ganci.AnalisiGameProgress = AnalisiFinta;
        Eseguiti.clear();
        CdGuardati.clear();
        FermaAllaVerifica = 0;
        impostazioni_ = ImpostazioniTombCorrenti;
        ImpostazioniTombCorrenti = ImpostazioniTomb{};
        for (int i = 0; i < NumeroTastiGioco; ++i)
            ImpostazioniTombCorrenti.Tasti[i] = ImpostazioniTombCorrenti.TastiDefault[i] = 0;
        for (const Controllo& c : Controlli) ImpostazioniTombCorrenti.Tasti[static_cast<int>(c.tasto)] = c.scan;
        livello_ = LivelloCorrente;
        LivelloCorrente = 3;
        lista_ = ListaMedia;
        ListaMedia.clear();
    }
    void TearDown() override {
        for (const Controllo& c : Controlli) tasti::Tasto(c.vk, false);
        for (WORD vk : {WORD(VK_F7), WORD('K')}) tasti::Tasto(vk, false);
        ListaMedia = lista_;
        LivelloCorrente = livello_;
        ImpostazioniTombCorrenti = impostazioni_;
        Ganci = ganci_;
    }
    // A working trigger at the end of the list; its index.
    static int32_t Aggiungi(int32_t tipo, int32_t codice, const std::string& sintassi, int32_t opzioni = 0,
                            int32_t cd = TriggerCdNessuno, int32_t livello = QualsiasiLivello) {
        MediaTrigger m;
        m.TypeFlags = tipo;
        m.Options = opzioni | Working;
        m.MediaCode = codice;
        m.Syntax = sintassi;
        m.TriggerCd = cd;
        m.Level = livello;
        ListaMedia.push_back(m);
        return static_cast<int32_t>(ListaMedia.size()) - 1;
    }
    static bool Poll(int32_t indice) {
        bool rottura = true;
        return EseguiWorkingMedia(indice, rottura);
    }
    static bool Lavora(int32_t indice) { return HaBit(ListaMedia[static_cast<size_t>(indice)].Options, Working); }
    static size_t Volte(const std::string& testo) { return VolteRigaLog(testo); }

private:
    GanciRun ganci_{};
    ImpostazioniTomb impostazioni_;
    int32_t livello_ = 0;
    std::vector<MediaTrigger> lista_;
    LogDiProva log_;
};

std::string Tastiera(const std::string& corpo) { return "<KEYBOARD>\r\n" + corpo + "<END_KEYBOARD>\r\n"; }
std::string Sensori(const std::string& corpo) { return "<SENSORY>\r\n" + corpo + "<END_SENSORY>\r\n"; }

TEST_F(MediaWorking, HotKeyPerformsItsMediaOnEveryPollWhileDown) {
    const int32_t i = Aggiungi(BitKeyboard, 40, Tastiera("#CODE#=12\r\n#FLAGS#=0\r\n#HOTKEY#=F7\r\n"));
    EXPECT_FALSE(Poll(i));
    EXPECT_TRUE(Eseguiti.empty());
    tasti::Tasto(VK_F7, true);
    EXPECT_TRUE(Poll(i));
    EXPECT_TRUE(Poll(i));
    tasti::Tasto(VK_F7, false);
    EXPECT_FALSE(Poll(i));
    EXPECT_EQ(Eseguiti, (std::vector<int32_t>{12, 12}));
    EXPECT_TRUE(Lavora(i));
    EXPECT_EQ(Volte("Hot-key is hit"), 2u);
    EXPECT_EQ(Volte("Exit with result = True  Break with escape = False  TestError=False"), 2u);
    EXPECT_EQ(NumErroriLog, 0);
}

TEST_F(MediaWorking, HotKeyNamesOfEveryCaseAndNone) {
    // A lower-case letter is that letter's key.
    const int32_t k = Aggiungi(BitKeyboard, 41, Tastiera("#CODE#=5\r\n#FLAGS#=0\r\n#HOTKEY#=k\r\n"));
    const int32_t senza = Aggiungi(BitKeyboard, 42, Tastiera("#CODE#=6\r\n#FLAGS#=0\r\n"));
    const int32_t vuoto = Aggiungi(BitKeyboard, 43, Tastiera("#CODE#=7\r\n#FLAGS#=0\r\n#HOTKEY#=\r\n"));
    const int32_t ignoto = Aggiungi(BitKeyboard, 44, Tastiera("#CODE#=8\r\n#FLAGS#=0\r\n#HOTKEY#=Pause\r\n"));
    tasti::Tasto('K', true);
    tasti::Tasto(VK_F7, true);
    for (int32_t i : {k, senza, vuoto, ignoto}) Poll(i);
    EXPECT_EQ(Eseguiti, std::vector<int32_t>{5});
    for (int32_t i : {k, senza, vuoto, ignoto}) EXPECT_TRUE(Lavora(i));
}

TEST_F(MediaWorking, ATextChangedBetweenPollsIsReadAgain) {
    const int32_t i = Aggiungi(BitKeyboard, 40, Tastiera("#CODE#=12\r\n#FLAGS#=0\r\n#HOTKEY#=F7\r\n"));
    tasti::Tasto(VK_F7, true);
    EXPECT_TRUE(Poll(i));
    // The same index now holds another hot key and code, then a sensory
    // media that fires at once, then a faulty text.
    ListaMedia[0].Syntax = Tastiera("#CODE#=13\r\n#FLAGS#=0\r\n#HOTKEY#=K\r\n");
    EXPECT_FALSE(Poll(i));
    tasti::Tasto('K', true);
    EXPECT_TRUE(Poll(i));
    EXPECT_EQ(ParametriKeyboard.HotKey, "K");
    ListaMedia[0].TypeFlags = BitSensory;
    ListaMedia[0].Syntax = Sensori("#CODE#=14\r\n#FLAGS#=2\r\n");
    EXPECT_TRUE(Poll(i));
    EXPECT_EQ(Eseguiti, (std::vector<int32_t>{12, 13, 14}));
    ListaMedia[0].Options |= Working;
    ListaMedia[0].Syntax = Sensori("#CODE#=14\r\n#FLAGS#=two\r\n");
    EXPECT_FALSE(Poll(i));
    EXPECT_EQ(Volte("ERROR: SYNTAX ERROR in Sensory Media: not numeric value for #flags#"), 1u);
}

TEST_F(MediaWorking, ASyntaxErrorIsToldOnceAndStopsTheTrigger) {
    const int32_t i = Aggiungi(BitKeyboard, 45, Tastiera("#CODE#=twelve\r\n#FLAGS#=0\r\n#HOTKEY#=F7\r\n"));
    const int32_t s = Aggiungi(BitSensory, 46, Sensori("#CODE#=3\r\n#FLAGS#=high\r\n"));
    tasti::Tasto(VK_F7, true);
    // The tick polls only while the bit is set.
    for (int tick = 0; tick < 5; ++tick) {
        for (int32_t t : {i, s}) {
            if (Lavora(t)) {
                EXPECT_FALSE(Poll(t));
            }
        }
    }
    EXPECT_TRUE(Eseguiti.empty()) << "flags read wrong must not fire the sensory media at once";
    EXPECT_FALSE(Lavora(i));
    EXPECT_FALSE(Lavora(s));
    EXPECT_EQ(NumErroriLog, 4);
    EXPECT_EQ(Volte("ERROR: SYNTAX ERROR: in KeyBoard media not numeric value for #code#"), 1u);
    EXPECT_EQ(Volte("ERROR: SYNTAX ERROR in Sensory Media: not numeric value for #flags#"), 1u);
    EXPECT_EQ(Volte("Remove working flag for media code = 45"), 1u);
    EXPECT_EQ(Volte("Remove working flag for media code = 46"), 1u);
}

TEST_F(MediaWorking, ATriggerOfAnotherLevelIsLeftAloneAndAnUnknownKindStops) {
    const int32_t altro = Aggiungi(BitKeyboard, 47, Tastiera("#CODE#=9\r\n#FLAGS#=0\r\n#HOTKEY#=F7\r\n"), 0,
                                   TriggerCdNessuno, 5);
    const int32_t questo = Aggiungi(BitKeyboard, 48, Tastiera("#CODE#=10\r\n#FLAGS#=0\r\n#HOTKEY#=F7\r\n"), 0,
                                    TriggerCdNessuno, 3);
    const int32_t ignoto = Aggiungi(BitSplash, 49, "");
    tasti::Tasto(VK_F7, true);
    EXPECT_TRUE(Poll(altro));
    EXPECT_TRUE(Poll(questo));
    EXPECT_EQ(Eseguiti, std::vector<int32_t>{10});
    EXPECT_FALSE(Poll(ignoto));
    EXPECT_FALSE(Lavora(ignoto));
    EXPECT_EQ(Volte("ERROR: unknown Working media with code = 49"), 1u);
    EXPECT_FALSE(Poll(7)) << "an index past the list";
}

TEST_F(MediaWorking, SensoryChecksTheirNumberPaceAndCd) {
    struct Caso {
        int32_t flags, opzioni, cd;
        size_t verifiche;
        int32_t cdGuardato;
    };
    const Caso casi[] = {
        // No sensitivity: performed on the first poll, no check at all.
        {0x2, 0, 7, 0, 0},
        {0x10 | 0x2, 0, TriggerCdNessuno, 1, -1},
        {0x8 | 0x2, 0, 7, 2, -1},
        // Both 0x10 and 0x4: three checks. Only a media bound to its
        // track's sound watches that track.
        {0x10 | 0x4 | 0x2, WhileCdSounds, 7, 3, 7},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.flags);
        Eseguiti.clear();
        CdGuardati.clear();
        const int32_t i = Aggiungi(BitSensory, 50, Sensori("#CODE#=14\r\n#FLAGS#=" + std::to_string(c.flags) + "\r\n"),
                                   c.opzioni, c.cd);
        const uint32_t inizio = ClockTick();
        EXPECT_TRUE(Poll(i));
        EXPECT_EQ(Eseguiti, std::vector<int32_t>{14});
        EXPECT_EQ(CdGuardati.size(), c.verifiche);
        for (int32_t cd : CdGuardati) EXPECT_EQ(cd, c.cdGuardato);
        const uint32_t pause = c.verifiche > 0 ? static_cast<uint32_t>(c.verifiche - 1) * 300 : 0;
        EXPECT_EQ(ClockTick() - inizio, pause);
        EXPECT_FALSE(Lavora(i)) << "a sensory media fires once";
    }
    EXPECT_EQ(Volte("Check number 3"), 1u);
    EXPECT_EQ(Volte("Perform media with code: 14"), 4u);
    EXPECT_EQ(Volte("Exit from EseguiMediaCode() with value = True   Break with escape = False TestError=False"), 4u);
}

TEST_F(MediaWorking, SensoryStopsWhenTheGameSaysSoOrACheckFails) {
    const int32_t i = Aggiungi(BitSensory, 51, Sensori("#CODE#=15\r\n#FLAGS#=" + std::to_string(0x4 | 0x2) + "\r\n"));
    FermaAllaVerifica = 2;
    EXPECT_FALSE(Poll(i));
    EXPECT_EQ(CdGuardati.size(), 2u);
    // Checks A and B: A holds (Duck up), but Look held fails the whole pass.
    const int32_t ab = Aggiungi(BitSensory, 52, Sensori("#CODE#=16\r\n#FLAGS#=" + std::to_string(0x10 | 0x2 | 0x1) + "\r\n"));
    FermaAllaVerifica = 0;
    tasti::Tasto('L', true);
    EXPECT_FALSE(Poll(ab));
    tasti::Tasto('L', false);
    EXPECT_TRUE(Eseguiti.empty());
    EXPECT_TRUE(Lavora(i));
    EXPECT_TRUE(Lavora(ab));
    // Look let go: A's result stands and the media fires.
    EXPECT_TRUE(Poll(ab));
    EXPECT_EQ(Eseguiti, std::vector<int32_t>{16});
}

TEST_F(MediaWorking, MovementChecksByTheControlsHeld) {
    using T = TastoGioco;
    struct Caso {
        int32_t flags;
        std::vector<T> tenuti;
        bool esito;
    };
    const Caso casi[] = {
        // A: stands up while Duck is up.
        {0x2, {}, true},
        {0x2, {T::Duck}, false},
        // B: rolls, jumps or moves; Duck, Look or Walk spoil it.
        {0x1, {}, false},
        {0x1, {T::Roll}, true},
        {0x1, {T::Jump}, true},
        {0x1, {T::Up}, true},
        {0x1, {T::Down}, true},
        {0x1, {T::Jump, T::Walk}, false},
        {0x1 | 0x2, {T::Look}, false},
        // C: neither runs nor jumps.
        {0x100, {}, true},
        {0x100, {T::Up}, false},
        {0x100, {T::Up, T::Walk}, true},
        {0x100, {T::Up, T::Duck}, true},
        {0x100, {T::Jump}, false},
        {0x100 | 0x2, {T::Jump}, true},  // Jump keeps what A gave
        {0x100, {T::Dash, T::Up}, false},
        // D: dash with movement.
        {0x20, {T::Dash}, false},
        {0x20, {T::Dash, T::Down}, true},
        // E: jumps or rolls.
        {0x80, {T::Roll}, true},
        {0x80, {T::Jump}, true},
        {0x80, {T::Up}, false},
        // F: anything but a dash with movement.
        {0x40, {T::Up}, true},
        {0x40, {T::Dash, T::Up}, false},
    };
    for (const Caso& c : casi) {
        for (T t : c.tenuti) tasti::Tasto(Vk(t), true);
        ParametriSensory.Flags = c.flags;
        EXPECT_EQ(ControllaMovimentiLara(), c.esito) << "flags " << c.flags << ", " << c.tenuti.size() << " held";
        for (T t : c.tenuti) tasti::Tasto(Vk(t), false);
    }
}

TEST_F(MediaWorking, TheStickMovesLaraToo) {
    StickDiGioco stick;
    ParametriSensory.Flags = 0x1;
    EXPECT_FALSE(ControllaMovimentiLara());
    stick.Muovi(0, 32000, 0);
    EXPECT_TRUE(ControllaMovimentiLara());
    // Jump bound to button 2 of the stick.
    ImpostazioniTombCorrenti.Tasti[static_cast<int>(TastoGioco::Jump)] = 0x102;
    stick.Muovi(0, 32000, 32000, 1u << 2);
    ParametriSensory.Flags = 0x80;
    EXPECT_TRUE(ControllaMovimentiLara());
}

}  // namespace
