// The text menu: its "TEXT_MENU" section, the prompt as keys change it, and
// whole menus driven by keys sent to the media window, down to the media the
// dispatcher performs for the answer.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "core/LevelVariables.h"
#include "gamerun/MediaDispatcher.h"
#include "media/TextMenu.h"
#include "tests/core/LogLines.h"
#include "tests/media/MediaWindowFixture.h"

namespace {

// ---- The section ----

class SintassiMenu : public ConRigheLog {
protected:
    void TearDown() override {
        SintassiTextMenu("");
        ConRigheLog::TearDown();
    }
};

struct CasoSintassi {
    const char* nome;
    std::string sezione;
    bool esito;
    int32_t attempts, flags, failure, maxChars;
    std::vector<std::pair<std::string, int32_t>> voci;
    std::string errore;
};

TEST_F(SintassiMenu, ItemsAttemptsAndFlagsAndEachErrorText) {
    const std::string testa = "#ATTEMPTS#=3\r\n#FLAGS#=5\r\n#FAILURE_MEDIA#=40\r\n";
    const std::vector<CasoSintassi> casi = {
        {"empty section", "", true, -1, 16, -1, 12, {}, ""},
        {"two items",
         testa + "#MAX_CHARS#=6\r\n#TOT_MENU#=2\r\n<MENU1>#VALUE#=Nile\r\n#MEDIA_CODE#=7\r\n<END_MENU1>"
                 "<MENU2>\r\n#MEDIA_CODE#=8\r\n#VALUE#=Thebes\r\n<END_MENU2>",
         true, 3, 5, 40, 6, {{"Nile", 7}, {"Thebes", 8}}, ""},
        {"tags in any case, no #MAX_CHARS#",
         "#tot_menu#=1\r\n#Failure_Media#=-1\r\n#flags#=0\r\n#attempts#=0\r\n<menu1>#media_code#=3\r\n<end_menu1>",
         true, 0, 0, -1, 12, {{"", 3}}, ""},
        {"#MAX_CHARS# not a number", testa + "#MAX_CHARS#=many\r\n#TOT_MENU#=0\r\n", true, 3, 5, 40, 12, {}, ""},
        {"attempts missing", "#FLAGS#=5\r\n#FAILURE_MEDIA#=40\r\n#TOT_MENU#=0", false, -1, 16, -1, 12, {},
         "ERROR in Text_Menu media: missing #Attempts# value"},
        {"flags not a number", "#ATTEMPTS#=2\r\n#FLAGS#=x\r\n#FAILURE_MEDIA#=40\r\n#TOT_MENU#=0", false, 2, 16, -1, 12,
         {}, "ERROR in Text_Menu media: missing #Flags# value"},
        {"failure media missing", "#ATTEMPTS#=2\r\n#FLAGS#=1\r\n#TOT_MENU#=0", false, 2, 1, -1, 12, {},
         "ERROR in Text_Menu media: missing #FAILURE_MEDIA# value"},
        {"count missing", testa, false, 3, 5, 40, 12, {}, "ERROR in Text_Menu media: missing #TOT_MENU# value"},
        {"negative count", testa + "#TOT_MENU#=-2\r\n", false, 3, 5, 40, 12, {},
         "ERROR in Text_Menu media: wrong #TOT_MENU# value = -2"},
        {"absurd count", testa + "#TOT_MENU#=2000000000\r\n", false, 3, 5, 40, 12, {},
         "ERROR in Text_Menu media: wrong #TOT_MENU# value = 2000000000"},
        // The items read before the faulty one stay; the rest are not there.
        {"second item without code",
         testa + "#TOT_MENU#=3\r\n<MENU1>#VALUE#=a\r\n#MEDIA_CODE#=1\r\n<END_MENU1><MENU2>#VALUE#=b\r\n<END_MENU2>"
                 "<MENU3>#VALUE#=c\r\n#MEDIA_CODE#=3\r\n<END_MENU3>",
         false, 3, 5, 40, 12, {{"a", 1}}, "ERROR in Text_Menu media: missing #MEDIA_CODE# for MENU2"},
        {"fewer sections than the count", testa + "#TOT_MENU#=2\r\n<MENU1>#MEDIA_CODE#=1\r\n<END_MENU1>", false, 3, 5,
         40, 12, {{"", 1}}, "ERROR in Text_Menu media: missing #MEDIA_CODE# for MENU2"},
    };
    for (const CasoSintassi& c : casi) {
        BufferLog.clear();
        NumErroriLog = 0;
        EXPECT_EQ(SintassiTextMenu(c.sezione), c.esito) << c.nome;
        EXPECT_EQ(TextMenuParams.Attempts, c.attempts) << c.nome;
        EXPECT_EQ(TextMenuParams.Flags, c.flags) << c.nome;
        EXPECT_EQ(TextMenuParams.FailureMedia, c.failure) << c.nome;
        EXPECT_EQ(TextMenuParams.MaxChars, c.maxChars) << c.nome;
        ASSERT_EQ(VociTextMenu(), static_cast<int32_t>(c.voci.size())) << c.nome;
        EXPECT_EQ(TextMenuParams.Items.size(), c.voci.size() + 1) << c.nome << ": one spare";
        for (size_t i = 0; i < c.voci.size(); ++i) {
            EXPECT_EQ(TextMenuParams.Items[i].Value, c.voci[i].first) << c.nome;
            EXPECT_EQ(TextMenuParams.Items[i].MediaCode, c.voci[i].second) << c.nome;
        }
        if (c.errore.empty())
            NessunErrore();
        else
            UnErrore(c.errore);
    }
}

// ---- The prompt, key by key ----

class PromptMenu : public ProvaFinestraMedia {
protected:
    void TearDown() override {
        SintassiTextMenu("");
        ProvaFinestraMedia::TearDown();
    }
    // A window whose menu waits for keys, its text written over the picture.
    static void Prepara(Dialog_Titoli& f, const std::string& sezione) {
        MediaCorrente.Text = "<TEXT>Password: #PROMPT#<END_TEXT>";
        CaricaSenzaEseguire(f);
        SintassiTextMenu(sezione);
        f.ModelloTestoMenu = "Password: #prompt#";
        f.TestoPrompt = "";
        f.PromptAttivo = true;
        // The prompt as the start of the menu builds it: a Backspace on
        // nothing typed.
        f.TextMenu_KeyPress(8);
    }
};

struct CasoPrompt {
    const char* nome;
    int32_t flags;
    int32_t maxChars;
    std::string tasti;
    std::vector<std::string> prompt;  // at the start, then after each key
};

TEST_F(PromptMenu, TheMaskTheCursorAndTheLimitsOfTyping) {
    const std::vector<CasoPrompt> casi = {
        {"plain", 0, 12, "ab\b", {"_", "a_", "ab_", "a_"}},
        {"no cursor", 0x40, 12, "ab", {"", "a", "ab"}},
        {"mask of the first item", 0x1, 12, "abcde\b", {"_***", "a_**", "ab_*", "abc_", "abcd", "abcd", "abc_"}},
        {"mask without cursor", 0x41, 12, "ab", {"****", "a***", "ab**"}},
        {"at most MAX_CHARS", 0, 3, "abcd", {"_", "a_", "ab_", "abc_", "abc_"}},
        {"backspace on nothing", 0, 12, "\b\bx", {"_", "_", "_", "x_"}},
    };
    for (const CasoPrompt& c : casi) {
        Dialog_Titoli f;
        Prepara(f, "#ATTEMPTS#=0\r\n#FLAGS#=" + std::to_string(c.flags) + "\r\n#FAILURE_MEDIA#=-1\r\n#MAX_CHARS#=" +
                       std::to_string(c.maxChars) + "\r\n#TOT_MENU#=1\r\n<MENU1>#VALUE#=Nile\r\n#MEDIA_CODE#=4\r\n"
                                                    "<END_MENU1>");
        std::vector<std::string> visti = {f.TestoPrompt};
        for (char t : c.tasti) {
            f.TextMenu_KeyPress(static_cast<uint8_t>(t));
            visti.push_back(f.TestoPrompt);
        }
        EXPECT_EQ(visti, c.prompt) << c.nome;
        EXPECT_EQ(f.TestoDinamico, "Password: " + c.prompt.back()) << c.nome;
        EXPECT_FALSE(f.RispostaData) << c.nome;
        f.Unload();
    }
}

TEST_F(PromptMenu, AnAnswerChecksLengthAndCaseAndCountsTheAttempts) {
    struct Caso {
        const char* nome;
        int32_t attempts, flags;
        std::vector<std::string> risposte;
        bool risposta, esito;
        int32_t valore, tentativi;
    };
    const std::vector<Caso> casi = {
        {"without case the first of equals", 3, 0, {"abc"}, true, true, 5, 0},
        {"with case", 3, 0x2, {"abc"}, true, true, 6, 0},
        {"longer than every item", 3, 0, {"abcd"}, false, false, -1, 1},
        {"an empty answer matches no unparsed item", 1, 0, {""}, true, false, 40, 1},
        {"used up: the failure media", 2, 0, {"x", "y"}, true, false, 40, 2},
        {"used up with 0x10: nothing", 2, 0x10, {"x", "y"}, true, false, -1, 2},
        {"negative: the first wrong answer", -1, 0, {"x"}, true, false, 40, 1},
        {"0: never used up", 0, 0, {"x", "y", "z", "w", "ABC"}, true, true, 5, 4},
    };
    for (const Caso& c : casi) {
        Dialog_Titoli f;
        Prepara(f, "#ATTEMPTS#=" + std::to_string(c.attempts) + "\r\n#FLAGS#=" + std::to_string(c.flags) +
                       "\r\n#FAILURE_MEDIA#=40\r\n#TOT_MENU#=3\r\n<MENU1>#VALUE#=ABC\r\n#MEDIA_CODE#=5\r\n<END_MENU1>"
                       "<MENU2>#VALUE#=abc\r\n#MEDIA_CODE#=6\r\n<END_MENU2><MENU3>#VALUE#=\r\n<END_MENU3>");
        f.EsitoMedia = true;
        for (const std::string& r : c.risposte) {
            for (char t : r) f.TextMenu_KeyPress(static_cast<uint8_t>(t));
            f.TextMenu_KeyPress(13);
        }
        EXPECT_EQ(f.RispostaData, c.risposta) << c.nome;
        if (c.risposta) {
            EXPECT_EQ(f.EsitoMedia, c.esito) << c.nome;
        }
        EXPECT_EQ(f.ValoreMenu, c.valore) << c.nome;
        EXPECT_EQ(f.TentativiFatti, c.tentativi) << c.nome;
        if (!f.RispostaData) {
            EXPECT_EQ(f.TestoPrompt, "_") << c.nome << ": a new start";
        }
        f.Unload();
    }
}

TEST_F(PromptMenu, TheAnswerIsTheLastInputOfTheRunOrItsFile) {
    for (const bool inCorsa : {true, false}) {
        ModificheAvvio = inCorsa ? FaseSpecialMedia : 0;
        VarLastInput = "";
        DeleteFileA((store / "LastInput.txt").c_str());
        Dialog_Titoli f;
        Prepara(f, "#ATTEMPTS#=0\r\n#FLAGS#=0\r\n#FAILURE_MEDIA#=-1\r\n#TOT_MENU#=1\r\n<MENU1>#VALUE#=Nile\r\n"
                   "#MEDIA_CODE#=4\r\n<END_MENU1>");
        for (char t : std::string("nILE\r")) f.TextMenu_KeyPress(static_cast<uint8_t>(t));
        EXPECT_EQ(f.ValoreMenu, 4);
        bool errore = false;
        EXPECT_EQ(LeggiVariabile(IdUltimoInput, errore, false, true), "nILE") << inCorsa;
        EXPECT_EQ(VarLastInput, inCorsa ? "nILE" : "") << inCorsa;
        f.Unload();
    }
    ModificheAvvio = 0;
    VarLastInput = "";
}

// ---- Whole menus, keys sent to the window ----

void Tasto(WORD vk) {
    INPUT in[2]{};
    for (INPUT& i : in) {
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = vk;
        i.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, 0));
    }
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

void Digita(const std::string& testo) {
    for (char c : testo) {
        if (c == '\r') {
            Tasto(VK_RETURN);
        } else if (c == '\b') {
            Tasto(VK_BACK);
        } else if (c == '\x1b') {
            Tasto(VK_ESCAPE);
        } else {
            INPUT in[2]{};
            for (INPUT& i : in) {
                i.type = INPUT_KEYBOARD;
                i.ki.wScan = static_cast<uint8_t>(c);
                i.ki.dwFlags = KEYEVENTF_UNICODE;
            }
            in[1].ki.dwFlags |= KEYEVENTF_KEYUP;
            SendInput(2, in, sizeof(INPUT));
        }
    }
}

class MenuDiTesto : public ProvaFinestraMedia {
protected:
    void SetUp() override {
        ProvaFinestraMedia::SetUp();
        // Keys come at the system's pace: the clock is the real one.
        ClockUseManual(false);
        immagine = Bitmap("menu.bmp", 16, 12, RGB(0, 60, 0));
    }
    void TearDown() override {
        SintassiTextMenu("");
        ListaMedia.clear();
        HeaderMcf.TriggerCount = 0;
        ClockUseManual(true, 1000);
        ProvaFinestraMedia::TearDown();
    }

    static MediaTrigger Menu(const std::string& sezione, int32_t opzioni) {
        MediaTrigger m;
        m.MediaCode = 1;
        m.TypeFlags = static_cast<int32_t>(BitTextMenu) | FixedText | BackgroundImage;
        m.Options = opzioni;
        m.Level = -1;
        m.Text = "<TEXT>Where was the temple? #PROMPT#<END_TEXT>";
        m.Syntax = "<TEXT_MENU>" + sezione + "<END_TEXT_MENU>";
        m.Formato.BoundRect = Rettangolo{100, 100, 900, 500};
        return m;
    }

    // Runs <esegui> while another thread waits for the media window to
    // perform and types the keys: they wait in the queue for the menu's
    // prompt. A menu still open long after closes from outside.
    static void ConTasti(const std::string& tasti, const std::function<void()>& esegui) {
        std::atomic<bool> finito{false};
        std::thread giocatore([&] {
            const DWORD limite = GetTickCount() + 30000;
            HWND h = nullptr;
            while (!finito && GetTickCount() < limite) {
                h = FindWindowA("LudovaneTitoli", nullptr);
                if (h && IsWindowVisible(h) && std::atomic_ref<int32_t>(FinestraMediaTitoli).load() != -1) break;
                Sleep(5);
            }
            if (!finito && h) Digita(tasti);
            while (!finito && GetTickCount() < limite) Sleep(10);
            if (!finito && h) PostMessageA(h, WM_CLOSE, 0, 0);
        });
        esegui();
        finito = true;
        giocatore.join();
    }

    std::string immagine;
};

const std::string Voci =
    "#TOT_MENU#=3\r\n<MENU1>#VALUE#=Thebes\r\n#MEDIA_CODE#=11\r\n<END_MENU1>"
    "<MENU2>#VALUE#=Karnak\r\n#MEDIA_CODE#=12\r\n<END_MENU2><MENU3>#VALUE#=1\r\n#MEDIA_CODE#=13\r\n<END_MENU3>";

TEST_F(MenuDiTesto, KeysSentToTheWindowChooseAnItemOrEndTheMenu) {
    struct Caso {
        const char* nome;
        int32_t attempts, flags, opzioni;
        std::string tasti;
        bool esito, escape;
        int32_t valore;
        std::string ultimoInput;
        std::string prompt;  // as shown last
    };
    const std::vector<Caso> casi = {
        {"typed and entered", 0, 0, 0, "karnak\r", true, false, 12, "karnak", "karnak_"},
        {"corrected with backspace", 0, 0, 0, "Thebx\bes\r", true, false, 11, "Thebes", "Thebes_"},
        {"wrong answers until the right one", 0, 0, 0, "Giza\rLuxor\rthebes\r", true, false, 11, "thebes", "thebes_"},
        {"attempts used up", 2, 0, 0, "Giza\rLuxor\r", false, false, 40, "", "Luxor_"},
        {"attempts used up, no failure media", 1, 0x10, 0, "Giza\r", false, false, -1, "", "Giza_"},
        {"a single key is the answer", 0, 0x8, 0, "1", true, false, 13, "1", "_"},
        {"a single wrong key", 1, 0x8, 0, "7", false, false, 40, "", "_"},
        // A tap shorter than the poll still ends the menu.
        {"Escape", 0, 0, EscapeBreaks, "Kar\x1b", false, true, -1, "", "Kar_"},
        {"Escape the media does not allow", 0, 0, 0, "Kar\x1bnak\r", true, false, 12, "Karnak", "Karnak_"},
    };
    for (const Caso& c : casi) {
        AzzeraLog();
        ModificheAvvio = FaseSpecialMedia;
        VarLastInput = "";
        MediaCorrente = Menu("#ATTEMPTS#=" + std::to_string(c.attempts) + "\r\n#FLAGS#=" + std::to_string(c.flags) +
                                 "\r\n#FAILURE_MEDIA#=40\r\n" + Voci,
                             c.opzioni);
        MediaCorrente.MediaFile = immagine;
        Dialog_Titoli f;
        f.ImpostaValori();
        const DWORD inizio = GetTickCount();
        ConTasti(c.tasti, [&] { f.MostraModale(); });
        EXPECT_LT(GetTickCount() - inizio, 25000u) << c.nome << ": ended by its keys";
        EXPECT_FALSE(f.Loaded());
        EXPECT_EQ(f.EsitoMedia, c.esito) << c.nome;
        EXPECT_EQ(f.AbortEscape, c.escape) << c.nome;
        EXPECT_EQ(f.ValoreMenu, c.valore) << c.nome;
        EXPECT_FALSE(f.ErroreMedia) << c.nome;
        EXPECT_EQ(VarLastInput, c.ultimoInput) << c.nome;
        EXPECT_EQ(f.TestoDinamico, "Where was the temple? " + c.prompt) << c.nome;
    }
    ModificheAvvio = 0;
    VarLastInput = "";
}

TEST_F(MenuDiTesto, TheDispatcherPerformsTheChosenItemsMediaOrTheFailureMediaOrAborts) {
    struct Caso {
        const char* nome;
        std::string tasti;
        const char* scelta;
        const char* eseguita;  // nullptr: none
        bool risultato, escape;
    };
    const Caso casi[] = {
        {"chosen", "Karnak\r", "Perform menu media selected by user", "Perform media with code = 12", true, false},
        {"failed", "Giza\r", "Perform failure media code = 40", "Perform media with code = 40", true, false},
        {"escape", "Kar\x1b", "Abort media", nullptr, false, true},
    };
    for (const Caso& c : casi) {
        AzzeraLog();
        MediaTrigger azione;
        azione.TypeFlags = static_cast<int32_t>(BitAction);
        azione.Level = -1;
        MediaTrigger dodici = azione, quaranta = azione;
        dodici.MediaCode = 12;
        quaranta.MediaCode = 40;
        MediaTrigger menu = Menu("#ATTEMPTS#=1\r\n#FLAGS#=0\r\n#FAILURE_MEDIA#=40\r\n" + Voci, EscapeBreaks);
        menu.MediaFile = immagine;
        ListaMedia = {menu, dodici, quaranta};
        HeaderMcf.TriggerCount = 3;
        MediaCorrente = menu;
        bool escape = false, errore = true;
        bool esito = !c.risultato;
        ConTasti(c.tasti, [&] { esito = ShowMedia(escape, errore); });
        EXPECT_EQ(esito, c.risultato) << c.nome;
        EXPECT_EQ(escape, c.escape) << c.nome;
        EXPECT_FALSE(errore) << c.nome;
        EXPECT_EQ(HaRiga("Menu media: user has not typed correct item menu (or escape)"),
                  std::string(c.scelta) != "Perform menu media selected by user")
            << c.nome;
        EXPECT_TRUE(HaRiga(c.scelta)) << c.nome;
        EXPECT_EQ(HaRiga("Perform Action media: nothing to do"), c.eseguita != nullptr) << c.nome;
        if (c.eseguita) {
            EXPECT_TRUE(HaRiga(c.eseguita)) << c.nome;
        }
    }
}

}  // namespace
