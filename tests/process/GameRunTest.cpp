// Whole game runs of Ludovane.exe with the game stand-in: what a run
// changes is given back at its end, after a crash of the game or of
// Ludovane itself, and a level that cannot start ends cleanly.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/core/OldMcfBytes.h"
#include "tests/process/GameRunFolder.h"

namespace {

const std::string ScriptNormale =
    "boot 1024 768\nload title.tr4 300\ncd 97\nwait 500\nload level1.tr4 300\ncd 3\nwait 500\nquit\n";

class GameRun : public CartellaRun {
protected:
    // media.mcf as the end of a run must write it back: the same level
    // without the working flag.
    std::string McfAtteso() {
        CartellaProva c("mcf");
        OpzioniCartellaGioco o = opzioni;
        o.flagWorking = false;
        EXPECT_TRUE(ScriviMcfDaDescrizione(CartellaProgrammi(), c.Percorso(), DescrizioneMcfGioco(o), c / "m.mcf"));
        return LeggiFileProva(c / "m.mcf");
    }

    OpzioniCartellaGioco opzioni;
};

TEST_F(GameRun, AWholeRunGivesBackRegistryDesktopAndConfiguration) {
    struct Caso {
        const char* nome;
        bool logger;
        bool condiviso;
        std::string script;
        bool anormale;
    };
    const std::vector<Caso> casi = {
        {"logger, windowed", true, true, ScriptNormale, false},
        {"no logger, full screen", false, false, ScriptNormale, false},
        {"logger, the game crashes", true, false, "boot 1024 768\nload title.tr4 300\ncd 97\nwait 500\ncrash\n", true},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.nome);
        RimuoviAlbero(trle.Percorso());
        CreateDirectoryA(trle.Percorso().c_str(), nullptr);
        opzioni = OpzioniCartellaGioco{};
        opzioni.logger = caso.logger;
        opzioni.condiviso = caso.condiviso;
        opzioni.flagWorking = true;
        opzioni.scriptGioco = caso.script;
        ASSERT_TRUE(Costruisci(opzioni));
        const std::string mcfAtteso = McfAtteso();
        ASSERT_NE(LeggiFileProva(trle / "media.mcf"), mcfAtteso) << "the stored level must hold its working flag";

        EXPECT_EQ(Run(), 0);

        // The game ran with the settings of the run, in the level's mode.
        const std::string gioco = LogGioco();
        // Started as every program is: its short path quoted, a blank, no
        // arguments.
        char corto[MAX_PATH] = {};
        GetShortPathNameA((trle / "tomb4.exe").c_str(), corto, MAX_PATH);
        EXPECT_NE(gioco.find("\ncommandline \"" + std::string(corto) + "\" \n"), std::string::npos) << gioco;
        EXPECT_NE(gioco.find("\nfolder " + trle.Percorso() + "\n"), std::string::npos);
        // The run's settings: its mode and the video list's index of 1024 x 768 x 32.
        EXPECT_TRUE(GiocoHaScritto(std::string("registry Window ") + (caso.condiviso ? "1" : "0") + " VMode 4"))
            << gioco;
        EXPECT_TRUE(GiocoHaScritto(caso.condiviso ? "start windowed" : "start full screen")) << gioco;
        EXPECT_TRUE(GiocoHaScritto("loaded data\\title.tr4")) << gioco;

        for (const char* riga : {"InitGameConfig()", "Call InitMediaMcf()", "Start Tomb Raider program", "Enable timer",
                                 "Save variable values"})
            EXPECT_TRUE(HaRiga(riga)) << riga;
        EXPECT_TRUE(HaRigaCheInizia("Start log file (")) << Log();
        EXPECT_TRUE(HaRiga("Save media configuration file in: " + (trle / "media.mcf")));
        EXPECT_EQ(HaRiga("Send tomb raider process to Scrivane"), caso.logger);
        EXPECT_EQ(HaRiga("Send message to get flush of log buffer of Scrivane"), caso.logger);
        EXPECT_EQ(HaRiga("WARNING: Tomb raider aborted (abnormal termination)"), caso.anormale) << Log();
        EXPECT_FALSE(HaRigaCheInizia("ERROR")) << Log();

        // A run without error lines shows no box; the numbered copy is made
        // because the log was asked for.
        for (const BoxRegistrato& b : boxes) ADD_FAILURE() << b.titolo << ": " << b.testo;
        const std::string copia = LeggiFileProva(trle / "store\\media_log1.txt");
        EXPECT_NE(copia.find("Start Tomb Raider program"), std::string::npos);
        EXPECT_EQ(LeggiFileProva(trle / "media.mcf"), mcfAtteso);
        VerificaRipristino(caso.nome);
    }
}

// Old_Settings.trg of the registry ScriviRegistroDelGioco writes, from the
// file's byte layout.
std::string OldSettingsDelGioco() {
    std::string b(103, '\0');
    const auto i16 = [&](size_t at, int v) {
        b[at] = static_cast<char>(v & 0xFF);
        b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
    };
    const auto i32 = [&](size_t at, int v) {
        for (int k = 0; k < 4; ++k) b[at + k] = static_cast<char>((static_cast<unsigned>(v) >> (8 * k)) & 0xFF);
    };
    b[0] = 0;  // AutoTarget
    b[1] = 1;  // ControlMethod
    const int difetto[18] = {200, 208, 203, 205, 52, 53, 54, 184, 157, 57, 51, 82, 207, 1, 211, 209, 25, 28};
    for (int k = 0; k < 18; ++k) {
        i16(2 + 2 * k, difetto[k]);
        i16(38 + 2 * k, 300 + k);
    }
    i16(74, 55);
    i16(76, -1);
    i16(78, 2);
    i32(80, -37);
    i32(84, 70000);
    // BumpLow to Window: 1, 0, 200, 0, 1, 200, ...
    for (int n = 1; n <= 15; ++n) b[87 + n] = static_cast<char>(n % 3 == 0 ? 200 : n % 2);
    return b;
}

TEST_F(GameRun, LudovaneKilledDuringTheGameIsRecoveredByTheNextRun) {
    opzioni.scriptGioco = "boot 1024 768\nload title.tr4 100\ncd 97\nwait 60000\nquit\n";
    ASSERT_TRUE(Costruisci(opzioni));
    {
        ProcessoProva p;
        ASSERT_TRUE(AvviaProva(p, Exe(), "/v", trle.Percorso()));
        Osservatore osservatore(trle.Percorso(), "OK", 20, p.pid, 60000);
        bool inGioco = false;
        for (DWORD inizio = GetTickCount(); !inGioco && GetTickCount() - inizio < 60000; Sleep(50))
            inGioco = GiocoHaScritto("play audio\\097.wav");
        ASSERT_TRUE(inGioco) << Log();
        EXPECT_TRUE(GiocoHaScritto("registry Window 0 VMode 4")) << LogGioco();
        p.Termina();
        osservatore.Interrompi();
    }
    // The logger ends a game whose launcher died; the test does it otherwise.
    if (HANDLE gioco = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, PidGioco())) {
        if (WaitForSingleObject(gioco, 10000) != WAIT_OBJECT_0) TerminateProcess(gioco, 99);
        CloseHandle(gioco);
    }
    EXPECT_EQ(LeggiFileProva(trle / "store\\Old_Settings.trg"), OldSettingsDelGioco());
    EXPECT_NE(FotografiaRegistro(ChiaveGiocoRegistro), registroPrima) << "the run's own settings are still there";

    ASSERT_TRUE(ScriviFileProva(trle / "gamesim.txt", ScriptNormale));
    DeleteFileA((trle / "gamesim_log.txt").c_str());
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(HaRiga("WARNING: Previous crash: using old tomb settings from file 'Old_Settings.trg'")) << Log();
    EXPECT_TRUE(GiocoHaScritto("loaded data\\level1.tr4"));
    VerificaRipristino("the run after the crash");
}

TEST_F(GameRun, AWindowClosedDuringTheStartGivesBackWhatTheStartChanged) {
    // A logger that never opens its window keeps the start waiting for it,
    // pumping events, for about two seconds.
    opzioni.scriptGioco = ScriptNormale;
    ASSERT_TRUE(Costruisci(opzioni));
    ASSERT_TRUE(CopyFileA((CartellaProgrammi() + "\\TestChild.exe").c_str(), (trle / "store\\Scrivane.exe").c_str(),
                          FALSE));
    HWND barraVera = FindWindowA("Shell_traywnd", "");
    ASSERT_TRUE(barraVera && IsWindowVisible(barraVera));

    ProcessoProva p;
    ASSERT_TRUE(AvviaProva(p, Exe(), "/v", trle.Percorso()));
    Osservatore osservatore(trle.Percorso(), "OK", 20, p.pid, 60000);
    // The task bar hidden: the start is changing the desktop.
    bool nascosta = false;
    for (DWORD inizio = GetTickCount(); !nascosta && GetTickCount() - inizio < 30000; Sleep(10))
        nascosta = !IsWindowVisible(barraVera);
    ASSERT_TRUE(nascosta) << Log();
    HWND principale = nullptr;
    while ((principale = FindWindowExA(nullptr, principale, "LudovaneMain", "Ludovane"))) {
        DWORD pid = 0;
        GetWindowThreadProcessId(principale, &pid);
        if (pid == p.pid) break;
    }
    ASSERT_TRUE(principale);
    PostMessageA(principale, WM_CLOSE, 0, 0);
    EXPECT_EQ(p.Attendi(30000), 0);
    osservatore.Interrompi();

    EXPECT_TRUE(HaRiga("WARNING: abnormal termination")) << Log();
    EXPECT_FALSE(EsisteFileProva(trle / "gamesim_log.txt")) << "the game must not be launched";
    VerificaRipristino("closed during the start");
}

std::string ScriptDatTroncato() { return ScriptDatAMano({"data\\title", "data\\level1"}, 97).substr(0, 30); }

std::string ScriptDatConConti(int livelli, int percorsi, int blocco) {
    std::string s = ScriptDatAMano({"data\\title", "data\\level1"}, 97);
    if (livelli >= 0) s[9] = static_cast<char>(livelli);
    if (percorsi >= 0) s[10] = static_cast<char>(percorsi & 0xFF), s[11] = static_cast<char>(percorsi >> 8);
    if (blocco >= 0) s[12] = static_cast<char>(blocco & 0xFF), s[13] = static_cast<char>(blocco >> 8);
    return s;
}

// The settings a crashed run left in Old_Settings.trg go back to the
// registry even when the next start stops before it takes its own copy
// (here at the title CD, which a damaged script.dat hides), and the file
// stays for the run that starts.
TEST_F(GameRun, ACrashCopyOfTheSettingsOutlivesAStartThatStops) {
    opzioni.scriptGioco = ScriptNormale;
    ASSERT_TRUE(Costruisci(opzioni));
    ASSERT_TRUE(ScriviFileProva(trle / "script.dat", ScriptDatTroncato()));
    ASSERT_TRUE(ScriviFileProva(trle / "store\\Old_Settings.trg", OldSettingsDelGioco()));
    // What the crashed run had changed for itself.
    ASSERT_TRUE(MettiValoreRegistro(ChiaveGiocoRegistro, "System", "Window", 1));
    ASSERT_TRUE(MettiValoreRegistro(ChiaveGiocoRegistro, "System", "VMode", 4));
    ASSERT_TRUE(MettiValoreRegistro(ChiaveGiocoRegistro, "Game", "MusicVolume", 80));

    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(HaRigaCheInizia("ERROR: missing CD for title: ")) << Log();
    EXPECT_FALSE(EsisteFileProva(trle / "gamesim_log.txt")) << "the game must not start";
    EXPECT_EQ(FotografiaRegistro(ChiaveGiocoRegistro), registroPrima) << Log();
    EXPECT_EQ(LeggiFileProva(trle / "store\\Old_Settings.trg"), OldSettingsDelGioco());
    EXPECT_EQ(LeggiScrivania(), scrivaniaPrima);
    EXPECT_TRUE(NessunProcessoRimasto());
}

// A level of the old version 1.4: its configuration is converted for the
// run and never written back, so the old file stays byte for byte.
TEST_F(GameRun, AnOldConfigurationRunsAndStaysAsItWas) {
    opzioni.scriptGioco = ScriptNormale;
    opzioni.tracce = {99};
    ASSERT_TRUE(Costruisci(opzioni));
    // The old file asks for the game's own mode: the desktop's 1024 x 768,
    // which the virtual display keeps.
    ASSERT_TRUE(MettiValoreRegistro(ChiaveGiocoRegistro, "System", "VMode", 4));
    registroPrima = FotografiaRegistro(ChiaveGiocoRegistro);
    ScriviFileProva(trle / "intro.bmp", "picture");
    ScriviFileProva(trle / "story.txt", "A story");
    // A text over a picture on a track the game never plays.
    vecchio::RecordAMano r;
    r.I32(vecchio::CdTrigger, 99).I32(vecchio::Flag, 0x10 | 0x80).I32(vecchio::Durata, 5);
    r.Testo(vecchio::Immagine, "intro.bmp").Testo(vecchio::Testo, "story.txt");
    const std::string mcf = vecchio::Intestazione(1) + r.Bytes();
    ScriviFileProva(trle / "media.mcf", mcf);

    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(GiocoHaScritto("loaded data\\title.tr4")) << LogGioco();
    EXPECT_TRUE(GiocoHaScritto("registry Window 1 VMode 4")) << LogGioco();
    EXPECT_TRUE(HaRiga("Start Tomb Raider program")) << Log();
    EXPECT_FALSE(HaRigaCheInizia("ERROR")) << Log();
    EXPECT_FALSE(HaRigaCheInizia("Save media configuration file in: ")) << Log();
    for (const BoxRegistrato& b : boxes) ADD_FAILURE() << b.titolo << ": " << b.testo;
    EXPECT_EQ(LeggiFileProva(trle / "media.mcf"), mcf);
    VerificaRipristino("old configuration");
}

TEST_F(GameRun, ALevelThatCannotStartEndsCleanly) {
    struct Caso {
        const char* nome;
        std::function<void(const CartellaProva&)> guasto;
        std::function<std::string(const CartellaProva&)> riga;  // the start of the line the log must hold
    };
    const auto scriviScript = [](const std::string& byte) {
        return [byte](const CartellaProva& t) { ScriviFileProva(t / "script.dat", byte); };
    };
    const auto titoloMancante = [](const CartellaProva&) { return std::string("ERROR: missing CD for title: "); };
    const std::vector<Caso> casi = {
        {"no script.dat", [](const CartellaProva& t) { DeleteFileA((t / "script.dat").c_str()); },
         [](const CartellaProva&) { return std::string("ERROR missing Script.dat in trle folder"); }},
        {"truncated script.dat", scriviScript(ScriptDatTroncato()), titoloMancante},
        {"absurd counts", scriviScript(ScriptDatConConti(255, 32767, -1)), titoloMancante},
        {"negative count", scriviScript(ScriptDatConConti(-1, 0xFFFF, -1)), titoloMancante},
        {"path block past the file", scriviScript(ScriptDatConConti(-1, -1, 30000)), titoloMancante},
        {"no language file", [](const CartellaProva& t) { DeleteFileA((t / "english.dat").c_str()); },
         [](const CartellaProva&) { return std::string("ERROR missing any 'language'.dat file in trle folder"); }},
        {"missing trigger wav", [](const CartellaProva& t) { DeleteFileA((t / "audio\\003.wav").c_str()); },
         [](const CartellaProva& t) { return "ERROR: missing file: " + (t / "audio\\003.wav"); }},
        {"damaged configuration",
         [](const CartellaProva& t) { ScriviFileProva(t / "media.mcf", LeggiFileProva(t / "media.mcf").substr(0, 20)); },
         [](const CartellaProva& t) { return "ERROR: loading media file from: " + (t / "media.mcf"); }},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.nome);
        RimuoviAlbero(trle.Percorso());
        CreateDirectoryA(trle.Percorso().c_str(), nullptr);
        opzioni.scriptGioco = ScriptNormale;
        ASSERT_TRUE(Costruisci(opzioni));
        caso.guasto(trle);
        const std::string mcfGuasto = LeggiFileProva(trle / "media.mcf");

        EXPECT_EQ(Run(), 0);
        EXPECT_TRUE(HaRigaCheInizia(caso.riga(trle))) << Log();
        EXPECT_TRUE(HaRiga("ERROR in InitGameConfig: abort game"));
        EXPECT_FALSE(EsisteFileProva(trle / "gamesim_log.txt")) << "the game must not start";
        // The log was asked for and holds errors: their count in a box.
        EXPECT_TRUE(HaBoxCheInizia("WARNING: There are ")) << boxes.size();
        // A configuration is never rewritten by a run that did not start.
        EXPECT_EQ(LeggiFileProva(trle / "media.mcf"), mcfGuasto);
        VerificaRipristino(caso.nome);
    }
}

}  // namespace
