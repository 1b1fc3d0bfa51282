// The cheat guardian: what it does on a word the player typed, and the
// savegames it removes for the traces of cheats and editors.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/FileUtils.h"
#include "core/SharedState.h"
#include "input/CheatGuardian.h"
#include "runservices/CheatCapture.h"
#include "runservices/RunHooks.h"
#include "tests/savegames/SavegameFolder.h"

namespace {

std::vector<int32_t> MediaEseguiti;

class Guardiano : public CartellaSavegame {
protected:
    void SetUp() override {
        CartellaSavegame::SetUp();
        // A handle ChiudiGioco can close, standing for the game's process.
        gioco_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        ProcessoGioco.hProcess = gioco_;
        ModificheAvvio = 0;
        AzzeraCatturaTasti();
        MediaEseguiti.clear();
        esegui_ = Ganci.EseguiMediaCode;
        Ganci.EseguiMediaCode = [](int32_t codice, bool&) {
            MediaEseguiti.push_back(codice);
            return true;
        };
    }
    void TearDown() override {
        Ganci.EseguiMediaCode = esegui_;
        AzzeraCatturaTasti();
        ModificheAvvio = 0;
        // ChiudiGioco closed it when the game was closed.
        if (ProcessoGioco.hProcess) CloseHandle(ProcessoGioco.hProcess);
        CartellaSavegame::TearDown();
    }
    static bool GiocoChiuso() { return ProcessoGioco.hProcess == nullptr; }
    // A savegame of slot n with 16-bit words or bytes set by offset.
    static std::string Con(int n, std::initializer_list<std::pair<size_t, std::vector<int>>> valori) {
        std::string s = Gioco(n);
        for (const auto& v : valori) mano::Byte(s, v.first, v.second);
        mano::Chiudi(s);
        return s;
    }
    static std::string Descrizione(int n) {
        return "savegame." + std::to_string(n) + " [" + std::to_string(n) + ": Level " + std::to_string(n) + "]";
    }
    bool (*esegui_)(int32_t, bool&) = nullptr;
    HANDLE gioco_ = nullptr;
};

const std::vector<int> Meno1{0xFF, 0xFF};

TEST_F(Guardiano, AWordFoundIsActedOnOnce) {
    struct Caso {
        const char* nome;
        int32_t stato;
        const char* trucco;
        int32_t avvio;
        bool esito;
        std::vector<int32_t> media;
        std::vector<std::string> righe;
    };
    const std::vector<Caso> casi{
        {"fly cheat, no media", GuardiaDozy, "DOZY", 0, false, {},
         {"Detected an attempt to enable Fly Cheat", "Close tomb raider program"}},
        {"medipacks, its media", GuardiaGuns, "GUNS", 0, false, {21},
         {"Detected an attempt to enable unlimited medipacks cheat", "Perform media to notify player",
          "Close tomb raider program"}},
        {"skip level while an alert runs", GuardiaHelp, "HELP", AlertInCorso, false, {},
         {"Detected an attempt to enable skip level cheat",
          "WARNING: it's impossible to show media code 22 because a media or splash alert is in progress",
          "Close tomb raider program"}},
        {"all weapons while a splash runs", GuardiaWeapons, "WEAPONS", SplashAttivo, false, {},
         {"Detected an attempt to enable All weapons cheat",
          "WARNING: it's impossible to show media code 23 because a media or splash alert is in progress",
          "Close tomb raider program"}},
        {"no guardian forbids cheats", NoInheritCheat | GuardiaDozy, "DOZY", 0, true, {}, {}},
        {"nothing found", GuardiaDozy | GuardiaGuns, "", 0, true, {}, {}},
        {"a word no longer watched", GuardiaDozy, "GUNS", 0, true, {}, {}},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        BufferLog.clear();
        if (!ProcessoGioco.hProcess) ProcessoGioco.hProcess = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        StatoGioco = c.stato;
        ModificheAvvio = c.avvio;
        CodiceDozy = -1;
        CodiceGuns = 21;
        CodiceHelp = 22;
        CodiceWeapons = 23;
        TruccoRilevato = c.trucco;
        TastiCatturati = "XYZ";
        MediaEseguiti.clear();
        EXPECT_EQ(RilevaTrucchi(), c.esito);
        EXPECT_EQ(MediaEseguiti, c.media);
        EXPECT_EQ(Righe(), c.righe);
        EXPECT_EQ(GiocoChiuso(), !c.esito);
        // Acted on or not, a word never blocks the capture of the next.
        if (!HaBit(c.stato, NoInheritCheat)) {
            EXPECT_EQ(TruccoRilevato, "");
        }
        EXPECT_EQ(TastiCatturati, c.esito ? "XYZ" : "");
    }
}

// What the notify media does to the guardian while it runs: an alert asks
// the game's progress on every redraw, and that comes back here.
struct DuranteMedia {
    std::vector<bool> rilevaAnnidato;
    std::vector<bool> lettereprese;
    std::vector<bool> giocoAperto;
};
DuranteMedia Durante;

TEST_F(Guardiano, ACheatIsActedOnOnceWhileItsMediaAsksTheGameProgress) {
    Ganci.EseguiMediaCode = [](int32_t codice, bool&) {
        MediaEseguiti.push_back(codice);
        // Bounded, so that a guardian that starts the media again fails here
        // and not by overflowing the stack.
        if (MediaEseguiti.size() > 3) return true;
        Durante.giocoAperto.push_back(ProcessoGioco.hProcess != nullptr);
        Durante.lettereprese.push_back(CatturaTastoHook(WM_KEYDOWN, 'D'));
        Durante.rilevaAnnidato.push_back(RilevaTrucchi());
        return true;
    };
    struct Caso {
        const char* nome;
        int32_t stato;
        const char* trucco;
        bool savegame;
    };
    const std::vector<Caso> casi{
        {"a typed word", GuardiaGuns, "GUNS", false},
        {"a savegame's trace", GuardiaGuns | ControlloTrucchiSavegame, "", true},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        BufferLog.clear();
        if (!ProcessoGioco.hProcess) ProcessoGioco.hProcess = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        AzzeraCatturaTasti();
        if (c.savegame) Metti(0, Con(0, {{400, Meno1}}));
        CacheSavegame.LastUpdateTick = ClockTick() - 5000;
        StatoGioco = c.stato;
        CodiceGuns = 21;
        TruccoRilevato = c.trucco;
        MediaEseguiti.clear();
        Durante = DuranteMedia{};
        EXPECT_FALSE(RilevaTrucchi());
        EXPECT_EQ(MediaEseguiti, std::vector<int32_t>{21});
        // The media ran on the open game, took no letter, and its questions
        // were answered "go on".
        EXPECT_EQ(Durante.giocoAperto, std::vector<bool>{true});
        EXPECT_EQ(Durante.lettereprese, std::vector<bool>{false});
        EXPECT_EQ(Durante.rilevaAnnidato, std::vector<bool>{true});
        EXPECT_TRUE(GiocoChiuso());
        const std::vector<std::string> righe = Righe();
        EXPECT_EQ(std::count(righe.begin(), righe.end(), "Close tomb raider program"), 1);
        // The capture goes on (a game again, or a log line raises a box).
        ProcessoGioco.hProcess = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        EXPECT_TRUE(CatturaTastoHook(WM_KEYDOWN, 'D'));
        EXPECT_EQ(TastiCatturati, "D");
    }
}

TEST_F(Guardiano, SavegamesWithTracesAreRemovedAndTheGameCloses) {
    Metti(0, Con(0, {{400, Meno1}}));                  // medipacks
    Metti(1, Con(1, {{408, Meno1}}));                  // ammo
    Metti(2, Con(2, {{401, {0xFF}}, {409, {0xFF}}}));  // high bytes only: clean
    Metti(3, Con(3, {{400, Meno1}, {15953, {1}}}));    // medipacks and the editor
    Metti(4, Con(4, {{400, Meno1}, {408, Meno1}}));    // both, ammo not tested
    Metti(5, Con(5, {{15953, {0x80}}}));               // the editor alone
    StatoGioco = GuardiaGuns | GuardiaWeapons | ControlloTrucchiSavegame;
    CodiceGuns = 31;
    CodiceWeapons = -1;
    EXPECT_FALSE(RilevaTrucchi());
    for (int n : {0, 1, 3, 4, 5}) EXPECT_FALSE(EsisteFile(Slot(n))) << n;
    EXPECT_TRUE(EsisteFile(Slot(2)));
    EXPECT_TRUE(GiocoChiuso());
    EXPECT_EQ(MediaEseguiti, std::vector<int32_t>{31});
    for (const std::string& r : {
             "Detected " + Descrizione(0) + " with unlimited medipacks: remove it",
             "Detected " + Descrizione(1) + " with unlimited ammo: remove it",
             "Detected " + Descrizione(3) + " with unlimited medipacks: remove it",
             "Detected " + Descrizione(3) + " alterated by savegame editor: remove it",
             "Detected " + Descrizione(4) + " with unlimited medipacks: remove it",
             "Detected " + Descrizione(5) + " alterated by savegame editor: remove it",
         })
        EXPECT_TRUE(HaRiga(r)) << r;
    EXPECT_FALSE(HaRigaCheInizia("Detected " + Descrizione(2)));
    EXPECT_FALSE(HaRiga("Detected " + Descrizione(4) + " with unlimited ammo: remove it"));
    // The second check of savegame 3 found no file, which is no error.
    EXPECT_EQ(NumErroriLog, 0);
    // The cache was read again without them.
    EXPECT_EQ(CacheSavegame.Count, 1);
}

TEST_F(Guardiano, TheNotifyCodeFollowsTheLastCheckThatHit) {
    struct Caso {
        const char* nome;
        int32_t stato, guns, weapons;
        std::vector<std::pair<int, std::string>> slot;
        std::vector<int32_t> media;
    };
    const std::vector<Caso> casi{
        {"medipacks then the editor, weapons' code", GuardiaGuns, 5, 6, {{0, Con(0, {{400, Meno1}, {15953, {1}}})}},
         {6}},
        {"the editor keeps medipacks' code", GuardiaGuns, 5, -1, {{0, Con(0, {{400, Meno1}, {15953, {1}}})}}, {5}},
        {"the editor alone, no code", 0, 5, -1, {{0, Con(0, {{15953, {1}}})}}, {}},
        {"medipacks not watched", GuardiaWeapons, 5, 6, {{0, Con(0, {{400, Meno1}})}}, {}},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        if (!ProcessoGioco.hProcess) ProcessoGioco.hProcess = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        CacheSavegame.LastUpdateTick = ClockTick() - 5000;
        for (const auto& s : c.slot) Metti(s.first, s.second);
        StatoGioco = c.stato | ControlloTrucchiSavegame;
        CodiceGuns = c.guns;
        CodiceWeapons = c.weapons;
        MediaEseguiti.clear();
        const bool tolto = ParseSavegameXCheats();
        EXPECT_EQ(MediaEseguiti, c.media);
        EXPECT_EQ(tolto, !EsisteFile(Slot(0)));
        EXPECT_EQ(GiocoChiuso(), tolto);
        CancellaFile(Slot(0));
    }
}

TEST_F(Guardiano, ASavegameTheGameHoldsIsLeftForTheNextLookAfterABoundedWait) {
    Metti(0, Con(0, {{400, Meno1}}));
    StatoGioco = GuardiaGuns | ControlloTrucchiSavegame;
    HANDLE aperto = CreateFileA(Slot(0).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(aperto, INVALID_HANDLE_VALUE);
    const uint32_t inizio = ClockTick();
    EXPECT_TRUE(RilevaTrucchi());
    const uint32_t atteso = ClockTick() - inizio;
    EXPECT_GE(atteso, AttesaSavegameOccupato);
    EXPECT_LT(atteso, AttesaSavegameOccupato + 2 * PassoAttesaSavegame);
    EXPECT_TRUE(EsisteFile(Slot(0)));
    EXPECT_FALSE(GiocoChiuso());
    EXPECT_TRUE(HaRiga("WARNING: savegame still in use by the game after 10000 ms: not removed " + Slot(0)));
    CloseHandle(aperto);
    BufferLog.clear();
    EXPECT_FALSE(RilevaTrucchi());
    EXPECT_FALSE(EsisteFile(Slot(0)));
    EXPECT_TRUE(GiocoChiuso());
}

TEST_F(Guardiano, TheSavegameNumberIsItsExtension) {
    struct Caso {
        std::string percorso;
        int32_t numero;
        bool avviso;
    };
    const std::vector<Caso> casi{
        {"C:\\trle\\savegame.12", 12, false}, {"savegame.0", 0, false},       {"C:\\trle\\savegame.07", 7, false},
        {"C:\\trle\\savegame.x", 0, true},    {"C:\\trle\\savegame.", 0, true}, {"C:\\tr.5\\savegame", 0, true},
        {"savegame.-1", 0, true},             {"savegame.99999999999", 0, true},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.percorso);
        BufferLog.clear();
        EXPECT_EQ(EstensioneSavegame(c.percorso), c.numero);
        EXPECT_EQ(HaRiga("WARNING: not numeric extension for savegame: " + c.percorso), c.avviso);
    }
}

TEST_F(Guardiano, ASavegameWithoutANumberIsStillRemoved) {
    const std::string strano = trle / "savegame.x";
    const std::string immagine = Con(0, {{15953, {1}}});
    ASSERT_TRUE(ScriviFileProva(strano, immagine));
    // The cache as a caller filled it, fresh: the folder is not read again.
    CacheSavegame.Count = 1;
    CacheSavegame.Entries[0].Path = strano;
    CacheSavegame.Entries[0].Bytes = immagine;
    CacheSavegame.LastUpdateTick = ClockTick();
    StatoGioco = ControlloTrucchiSavegame;
    EXPECT_TRUE(ParseSavegameXCheats());
    EXPECT_FALSE(EsisteFile(strano));
    EXPECT_TRUE(HaRiga("WARNING: not numeric extension for savegame: " + strano));
    EXPECT_TRUE(HaRiga("Detected savegame.x [0: Level 0] alterated by savegame editor: remove it"));
}

// The cache may be older than a save the player has made since in the slot:
// the file is read and tested again right before it goes.
TEST_F(Guardiano, ASlotSavedAgainWithoutTheTraceIsKept) {
    struct Caso {
        const char* nome;
        std::string file;
        bool tolto;
    };
    const std::string letto = Con(3, {{400, Meno1}});
    for (const Caso& c : {Caso{"saved again clean", Con(3, {{75, {9}}}), false},
                          Caso{"saved again with the trace", Con(3, {{75, {9}}, {400, Meno1}}), true}}) {
        SCOPED_TRACE(c.nome);
        if (!ProcessoGioco.hProcess) ProcessoGioco.hProcess = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        BufferLog.clear();
        Metti(3, c.file);
        // The cache as read before that save, and fresh: the folder is not read again.
        CacheSavegame.Count = 1;
        CacheSavegame.Entries[0].Path = Slot(3);
        CacheSavegame.Entries[0].Bytes = letto;
        CacheSavegame.LastUpdateTick = ClockTick();
        StatoGioco = GuardiaGuns | ControlloTrucchiSavegame;
        CodiceGuns = 31;
        MediaEseguiti.clear();
        EXPECT_EQ(ParseSavegameXCheats(), c.tolto);
        EXPECT_TRUE(HaRiga("Detected " + Descrizione(3) + " with unlimited medipacks: remove it"));
        EXPECT_EQ(EsisteFile(Slot(3)), !c.tolto);
        EXPECT_EQ(GiocoChiuso(), c.tolto);
        EXPECT_EQ(MediaEseguiti, c.tolto ? std::vector<int32_t>{31} : std::vector<int32_t>{});
        EXPECT_EQ(HaRiga("WARNING: savegame.3 [9: Level 3] was saved again without it: not removed"), !c.tolto);
        CancellaFile(Slot(3));
    }
}

}  // namespace
