// The game stand-in on its own: what it records of its start, of the keys
// and priorities it gets, and of its records in the debug-log memory; what
// another process sees of its screen, keys, clipboard and window.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/process/LoggerFixture.h"
#include "tests/support/TestRegistry.h"

namespace {

using namespace loggertest;

TEST(GameSim, RecordsItsStartKeysAndPriorities) {
    CatenaLogger c;
    ScriviFileProva(c.trle / "data\\level.tr4", "x");
    ASSERT_TRUE(c.AvviaGioco("title Tomb Raider Sim\nopen data\\level.tr4\nopen data\\missing.tr4\nplay 7\n"
                             "log Playing audio\\007.wav\nwait 1500\nclose data\\level.tr4\nstop\nexit 5\n"));
    HWND finestra = nullptr;
    ASSERT_TRUE(AttendiCondizione(10000, [&] { return (finestra = FindWindowA(nullptr, "Tomb Raider Sim")) != nullptr; }));
    DWORD pid = 0;
    const DWORD thread = GetWindowThreadProcessId(finestra, &pid);
    EXPECT_EQ(pid, c.gioco.pid);
    EXPECT_NE(thread, 0u);
    PostMessageA(finestra, WM_KEYDOWN, 'L', (0x26 << 16) | 1);
    PostMessageA(finestra, WM_KEYUP, 'L', (0x26 << 16) | 0xC0000001);
    SetPriorityClass(c.gioco.handle, IDLE_PRIORITY_CLASS);
    EXPECT_EQ(c.gioco.Attendi(20000), 5);
    const std::string log = c.LogGioco();
    for (const std::string& riga : std::vector<std::string>{
             "commandline \"" + (c.trle / "tomb4.exe") + "\"", "folder " + c.trle.Percorso(), "window", "mapping",
          "title Tomb Raider Sim", "open data\\level.tr4", "open-failed data\\missing.tr4", "play-failed audio\\007.wav",
          "log-nologger 23 Playing audio\\007.wav", "key down vk 76 scan 38", "key up vk 76 scan 38",
          "priority class 0x40 thread 0", "close data\\level.tr4", "stop", "exit 5"})
        EXPECT_NE(log.find(riga + "\n"), std::string::npos) << riga;
    EXPECT_NE(log.find("\nenvironment "), std::string::npos);
}

TEST(GameSim, RecordsWrapToTheStartWhenTheMemoryIsFull) {
    CatenaLogger c;
    // Fill the memory to 40 bytes before its end, then one record of 50.
    const uint32_t lungo = 1048576 - 40 - 2;
    std::string script = "write " + std::string(lungo - 6, 'a') + "\nlog " + std::string(48, 'b') + "\nexit 0\n";
    ASSERT_TRUE(c.AvviaGioco(script));
    // Keep the memory alive to read it after the game's end.
    HANDLE mappa = nullptr;
    ASSERT_TRUE(AttendiCondizione(10000, [&] { return (mappa = OpenFileMappingA(FILE_MAP_READ, FALSE, NomeMappaTomb)); }));
    EXPECT_EQ(c.gioco.Attendi(20000), 0);
    const char* vista = static_cast<const char*>(MapViewOfFile(mappa, FILE_MAP_READ, 0, 0, DimensioneMappaTomb));
    ASSERT_NE(vista, nullptr);
    EXPECT_EQ(vista[0], 1);
    EXPECT_EQ(std::string(vista + 1), std::string(48, 'b'));
    EXPECT_NE(c.LogGioco().find("log-nologger 50 "), std::string::npos);
    UnmapViewOfFile(vista);
    CloseHandle(mappa);
}

// A file the game holds open cannot be opened alone, as the program tests it.
bool Trattenuto(const std::string& percorso) {
    HANDLE h = CreateFileA(percorso.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(h);
    return false;
}

// The debug-log records the game wrote, in order.
std::vector<std::string> RecordGioco(const std::string& log) {
    std::vector<std::string> r;
    size_t i = 0;
    while ((i = log.find("log-nologger ", i)) != std::string::npos) {
        const size_t inizio = log.find(' ', i + 13) + 1;
        const size_t fine = log.find('\n', inizio);
        r.push_back(log.substr(inizio, fine - inizio));
        i = fine;
    }
    return r;
}

TEST(GameSim, PlaysAWholeRunInTheModeOfTheRegistry) {
    ChiaveGiocoSalvata chiave;
    struct Caso {
        long window;  // -1: no value
        const char* boot;
        std::vector<std::string> modo;
    };
    for (const Caso& caso : {Caso{1, "boot 800 600", {"DXCreate: Windowed Mode", "w 800 h 600"}},
                             Caso{0, "boot 800 600", {"SetDisplayMode - 800x600x16"}},
                             Caso{-1, "boot", {"SetDisplayMode - 640x480x16"}}}) {
        CancellaAlberoRegistro(HKEY_CURRENT_USER, ChiaveGiocoRegistro);
        if (caso.window >= 0) {
            ASSERT_TRUE(MettiValoreRegistro(ChiaveGiocoRegistro, "System", "Window", static_cast<DWORD>(caso.window)));
        }
        CatenaLogger c;
        for (const char* f : {"data\\title.tr4", "data\\level1.tr4", "audio\\097.wav", "audio\\003.wav"})
            ScriviFileProva(c.trle / f, "x");
        ASSERT_TRUE(c.AvviaGioco(std::string(caso.boot) +
                                 "\nload title.tr4 1500\ncd 97\nwait 1500\nload level1.tr4 0\ncd 3\nquit\nlog never\n"));
        ASSERT_TRUE(c.GiocoHaScritto("load data\\title.tr4")) << c.LogGioco();
        EXPECT_TRUE(Trattenuto(c.trle / "data\\title.tr4"));
        ASSERT_TRUE(c.GiocoHaScritto("play audio\\097.wav"));
        EXPECT_FALSE(Trattenuto(c.trle / "data\\title.tr4"));
        EXPECT_TRUE(Trattenuto(c.trle / "audio\\097.wav"));
        EXPECT_EQ(c.gioco.Attendi(20000), 0);
        for (const char* f : {"data\\title.tr4", "data\\level1.tr4", "audio\\097.wav", "audio\\003.wav"})
            EXPECT_FALSE(Trattenuto(c.trle / f)) << f;

        std::vector<std::string> attesi{"do_boot_screen"};
        attesi.insert(attesi.end(), caso.modo.begin(), caso.modo.end());
        for (const char* r : {"TIME_Init", "S_LoadLevelFile", "FileOpen - DATA\\title.tr4", "CreateD3DLights",
                              "Playing audio\\097.wav", "S_LoadLevelFile", "FileOpen - DATA\\level1.tr4",
                              "CreateD3DLights", "Playing audio\\003.wav", "WinClose"})
            attesi.push_back(r);
        const std::string log = c.LogGioco();
        EXPECT_EQ(RecordGioco(log), attesi) << log;
        EXPECT_NE(log.find("\nregistry Window " + std::to_string(caso.window) + " VMode -1\n"), std::string::npos);
        EXPECT_NE(log.find(caso.window == 1 ? "\nstart windowed\n" : "\nstart full screen\n"), std::string::npos);
        EXPECT_EQ(log.rfind("start clock ", 0), 0u) << log;
        // Each track's clock line comes as it starts, before its record.
        for (const auto& [cd, wav] : {std::pair{"97", "097"}, std::pair{"3", "003"}}) {
            const size_t orologio = log.find(std::string("\ncd ") + cd + " clock ");
            EXPECT_NE(orologio, std::string::npos) << cd;
            EXPECT_LT(orologio, log.find(std::string("Playing audio\\") + wav + ".wav")) << cd;
        }
        EXPECT_NE(log.find("\nend clock "), std::string::npos);
    }
}

TEST(GameSim, CrashesAndHangsAsTheScriptSays) {
    {
        CatenaLogger c;
        ScriviFileProva(c.trle / "data\\level1.tr4", "x");
        ASSERT_TRUE(c.AvviaGioco("open data\\level1.tr4\ncrash\nquit\n"));
        EXPECT_EQ(static_cast<DWORD>(c.gioco.Attendi(20000)), 0xC0000005u);
        const std::string log = c.LogGioco();
        EXPECT_NE(log.find("\ncrash 3221225477\n"), std::string::npos) << log;
        EXPECT_EQ(log.find("WinClose"), std::string::npos);
        EXPECT_EQ(log.find("\nexit "), std::string::npos);
        EXPECT_FALSE(Trattenuto(c.trle / "data\\level1.tr4"));
    }
    {
        CatenaLogger c;
        ASSERT_TRUE(c.AvviaGioco("title Hanging Sim\nhang 4000\nquit\n"));
        ASSERT_TRUE(c.GiocoHaScritto("hang 4000"));
        HWND finestra = FindWindowA(nullptr, "Hanging Sim");
        ASSERT_NE(finestra, nullptr);
        DWORD_PTR r = 0;
        EXPECT_EQ(SendMessageTimeoutA(finestra, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 500, &r), 0);
        EXPECT_EQ(c.gioco.Attendi(20000), 0);
        EXPECT_NE(c.LogGioco().find("\nresume\n"), std::string::npos);
    }
}

long long Microsecondi() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return t.QuadPart / f.QuadPart * 1000000LL + t.QuadPart % f.QuadPart * 1000000LL / f.QuadPart;
}

// How many times the game wrote <riga> as a whole line.
int Volte(const std::string& log, const std::string& riga) {
    int n = 0;
    for (size_t i = 0; (i = log.find(riga + "\n", i)) != std::string::npos; i += riga.size())
        if (i == 0 || log[i - 1] == '\n') ++n;
    return n;
}

// The values of the lines "<quando> clock <us> us", in order.
std::vector<long long> Orologi(const std::string& log, const std::string& quando) {
    std::vector<long long> v;
    const std::string chiave = "\n" + quando + " clock ";
    for (size_t i = 0; (i = log.find(chiave, i)) != std::string::npos; i += chiave.size())
        v.push_back(std::strtoll(log.c_str() + i + chiave.size(), nullptr, 10));
    return v;
}

// The game's client area in screen coordinates.
RECT ClientSulloSchermo(HWND finestra) {
    RECT r{};
    GetClientRect(finestra, &r);
    POINT a{r.left, r.top}, b{r.right, r.bottom};
    ClientToScreen(finestra, &a);
    ClientToScreen(finestra, &b);
    return RECT{a.x, a.y, b.x, b.y};
}

// Row y of the screen from x0 to x1 - 1 through the screen's device
// context, as the program reads it: "" when every pixel is <colore>, else
// the first that is not.
std::string DiversoInRiga(int x0, int x1, int y, COLORREF colore) {
    HDC dc = GetDC(nullptr);
    std::string diverso;
    for (int x = x0; x < x1 && diverso.empty(); ++x) {
        const COLORREF c = GetPixel(dc, x, y);
        if (c != colore) {
            char t[80];
            std::snprintf(t, sizeof t, "pixel (%d, %d) is 0x%06lX", x, y, static_cast<unsigned long>(c));
            diverso = t;
        }
    }
    ReleaseDC(nullptr, dc);
    if (x0 >= x1) diverso = "empty row";
    return diverso;
}

HWND AttendiFinestra(const char* titolo) {
    HWND finestra = nullptr;
    AttendiCondizione(10000, [&] { return (finestra = FindWindowA(nullptr, titolo)) != nullptr; });
    return finestra;
}

TEST(GameSim, PaintsItsInventoryAndFillForAnotherProcessToRead) {
    CatenaLogger c;
    // Top-most, so that no window of another test covers it.
    ASSERT_TRUE(c.AvviaGioco("title Screen Sim\ntopmost on\nwait 1000\ninventory open\nwait 3000\ninventory close\nwait 3000\n"
                             "fill 0 0 200\nwait 3000\ninventory open\nwait 3000\ninventory sideways\nfill 0 300 0\n"
                             "exit 0\n"));
    HWND finestra = AttendiFinestra("Screen Sim");
    ASSERT_NE(finestra, nullptr);
    const COLORREF grigio = RGB(128, 128, 128), nero = RGB(0, 0, 0), blu = RGB(0, 0, 200);
    struct Fase {
        const char* riga;
        int volta;
        COLORREF banda;  // the top row, which the inventory watch reads
        COLORREF sotto;  // a row below the band
    };
    for (const Fase& fase : {Fase{"inventory open", 1, grigio, nero}, Fase{"inventory close", 1, nero, nero},
                             Fase{"fill 0 0 200", 1, blu, blu}, Fase{"inventory open", 2, grigio, blu}}) {
        SCOPED_TRACE(std::string(fase.riga) + " " + std::to_string(fase.volta));
        ASSERT_TRUE(AttendiCondizione(20000, [&] { return Volte(c.LogGioco(), fase.riga) >= fase.volta; }));
        const RECT r = ClientSulloSchermo(finestra);
        ASSERT_GT(r.bottom - r.top, 60);
        std::string banda, sotto;
        EXPECT_TRUE(AttendiCondizione(2500, [&] {
            banda = DiversoInRiga(r.left, r.right, r.top, fase.banda);
            sotto = DiversoInRiga(r.left, r.right, r.top + 50, fase.sotto);
            return banda.empty() && sotto.empty();
        })) << banda << " " << sotto;
    }
    EXPECT_EQ(c.gioco.Attendi(20000), 0);
    const std::string log = c.LogGioco();
    EXPECT_EQ(RecordGioco(log), (std::vector<std::string>{"DXCreateSurface", "Released Mono Screen", "DXCreateSurface"}));
    EXPECT_EQ(Volte(log, "unknown inventory sideways"), 1) << log;
    EXPECT_EQ(Volte(log, "unknown fill 0 300 0"), 1);
}

TEST(GameSim, KeysItHoldsAreDownForAnotherProcess) {
    struct Caso {
        const char* tasti;
        std::vector<int> vk;
    };
    const std::vector<Caso> casi = {{"shift+f8", {VK_SHIFT, VK_F8}},
                                    {"l+g", {'L', 'G'}},
                                    {"ctrl", {VK_CONTROL}},
                                    {"vk120+7+f12", {VK_F9, '7', VK_F12}}};
    // No key that could press a button of another program's box.
    std::string script = "title Keys Sim\nwait 500\npress shift+nokey 100\npress f13 100\n";
    for (const Caso& caso : casi) script += std::string("press ") + caso.tasti + " 2000\nwait 500\n";
    CatenaLogger c;
    ASSERT_TRUE(c.AvviaGioco(script + "exit 0\n"));
    const auto tutti = [](const std::vector<int>& vk, bool giu) {
        for (int k : vk)
            if (((GetAsyncKeyState(k) & 0x8000) != 0) != giu) return false;
        return true;
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.tasti);
        ASSERT_TRUE(c.GiocoHaScritto(std::string("press ") + caso.tasti));
        EXPECT_TRUE(AttendiCondizione(1500, [&] { return tutti(caso.vk, true); }));
        ASSERT_TRUE(c.GiocoHaScritto(std::string("release ") + caso.tasti));
        EXPECT_TRUE(AttendiCondizione(1500, [&] { return tutti(caso.vk, false); }));
    }
    EXPECT_EQ(c.gioco.Attendi(20000), 0);
    const std::string log = c.LogGioco();
    EXPECT_EQ(Volte(log, "unknown press shift+nokey 100"), 1) << log;
    EXPECT_EQ(Volte(log, "unknown press f13 100"), 1);
}

TEST(GameSim, ScreenshotsPutTheGamePictureOnTheClipboard) {
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    CatenaLogger c;
    ASSERT_TRUE(c.AvviaGioco("title Shot Sim\ntopmost on\nfill 0 200 0\nwait 1500\nscreenshot\nwait 3000\nscreenshot 200 100\n"
                             "wait 3000\nscreenshot 0 10\nexit 0\n"));
    HWND finestra = AttendiFinestra("Shot Sim");
    ASSERT_NE(finestra, nullptr);
    ASSERT_TRUE(c.GiocoHaScritto("fill 0 200 0"));
    const RECT client = ClientSulloSchermo(finestra);
    const int larghezza = GetSystemMetrics(SM_CXSCREEN), altezza = GetSystemMetrics(SM_CYSCREEN);
    struct Caso {
        int w, h;
        POINT verde;  // a point of the game's client area in the picture
    };
    for (const Caso& caso : {Caso{larghezza, altezza, {client.left + 10, client.top + 10}}, Caso{200, 100, {10, 10}}}) {
        const std::string riga = "screenshot " + std::to_string(caso.w) + "x" + std::to_string(caso.h);
        SCOPED_TRACE(riga);
        ASSERT_TRUE(c.GiocoHaScritto(riga)) << c.LogGioco();
        ASSERT_TRUE(AttendiCondizione(5000, [] { return OpenClipboard(nullptr) != 0; }));
        HBITMAP immagine = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
        BITMAP b{};
        ASSERT_TRUE(immagine && GetObjectA(immagine, sizeof b, &b)) << "no bitmap on the clipboard";
        EXPECT_EQ(b.bmWidth, caso.w);
        EXPECT_EQ(b.bmHeight, caso.h);
        HDC memoria = CreateCompatibleDC(nullptr);
        HGDIOBJ prima = SelectObject(memoria, immagine);
        EXPECT_EQ(GetPixel(memoria, caso.verde.x, caso.verde.y), RGB(0, 200, 0));
        SelectObject(memoria, prima);
        DeleteDC(memoria);
        CloseClipboard();
    }
    EXPECT_EQ(c.gioco.Attendi(20000), 0);
    EXPECT_EQ(Volte(c.LogGioco(), "unknown screenshot 0 10"), 1);
}

TEST(GameSim, ItsTopMostBitFollowsTheModeAndTheScript) {
    ChiaveGiocoSalvata chiave;
    CancellaAlberoRegistro(HKEY_CURRENT_USER, ChiaveGiocoRegistro);
    ASSERT_TRUE(MettiValoreRegistro(ChiaveGiocoRegistro, "System", "Window", 0));
    CatenaLogger c;
    ASSERT_TRUE(c.AvviaGioco("title Top Sim\nboot\nwait 1500\ntopmost off\nwait 1500\ntopmost on\nwait 1500\n"
                             "altenter\nwait 1500\naltenter\nwait 1500\ntopmost up\nexit 0\n"));
    HWND finestra = AttendiFinestra("Top Sim");
    ASSERT_NE(finestra, nullptr);
    struct Fase {
        const char* riga;
        int volta;
        bool topMost;
    };
    // Full screen from the registry: the boot sets the bit, windowed clears it.
    for (const Fase& fase : {Fase{"boot full screen 640x480", 1, true}, Fase{"topmost off", 1, false},
                             Fase{"topmost on", 2, true}, Fase{"mode windowed", 1, false},
                             Fase{"mode full screen", 1, true}}) {
        SCOPED_TRACE(fase.riga);
        ASSERT_TRUE(AttendiCondizione(20000, [&] { return Volte(c.LogGioco(), fase.riga) >= fase.volta; }));
        EXPECT_TRUE(AttendiCondizione(1000, [&] {
            return ((GetWindowLongA(finestra, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0) == fase.topMost;
        }));
    }
    EXPECT_EQ(c.gioco.Attendi(20000), 0);
    EXPECT_EQ(Volte(c.LogGioco(), "unknown topmost up"), 1);
}

TEST(GameSim, LogsWhatOthersDoToItsWindowAndLivesOnWithoutIt) {
    CatenaLogger c;
    ASSERT_TRUE(c.AvviaGioco("title Gone Sim\nwait 5000\nhide\nwait 2000\ndestroy\nwait 2000\nexit 0\n"));
    HWND finestra = AttendiFinestra("Gone Sim");
    ASSERT_NE(finestra, nullptr);
    EXPECT_TRUE(IsWindowVisible(finestra));
    EXPECT_TRUE(c.GiocoHaScritto("activated", 3000)) << c.LogGioco();
    ASSERT_EQ(Orologi(c.LogGioco(), "window shown").size(), 1u) << c.LogGioco();

    // Hidden and shown again as the program's stand-by does it: without
    // waiting for the game, timed on the clock of every process.
    struct Passo {
        int comando;
        const char* quando;
    };
    for (const Passo& passo : {Passo{SW_HIDE, "window hidden"}, Passo{SW_SHOWNA, "window shown"}}) {
        SCOPED_TRACE(passo.quando);
        const size_t prima = Orologi(c.LogGioco(), passo.quando).size();
        const long long t0 = Microsecondi();
        ShowWindowAsync(finestra, passo.comando);
        std::vector<long long> orologi;
        ASSERT_TRUE(AttendiCondizione(3000, [&] { return (orologi = Orologi(c.LogGioco(), passo.quando)).size() > prima; }));
        const long long t1 = Microsecondi();
        EXPECT_EQ(orologi.size(), prima + 1);
        EXPECT_GE(orologi.back(), t0);
        EXPECT_LE(orologi.back(), t1);
        // The line comes as the change begins, the style bit right after it.
        EXPECT_TRUE(AttendiCondizione(1000, [&] { return (IsWindowVisible(finestra) != 0) == (passo.comando != SW_HIDE); }));
    }

    ASSERT_TRUE(c.GiocoHaScritto("hide"));
    EXPECT_TRUE(AttendiCondizione(1000, [&] { return !IsWindowVisible(finestra); }));
    EXPECT_TRUE(IsWindow(finestra));
    EXPECT_EQ(Orologi(c.LogGioco(), "window hidden").size(), 2u);
    ASSERT_TRUE(c.GiocoHaScritto("destroy"));
    EXPECT_TRUE(AttendiCondizione(1000, [&] { return !IsWindow(finestra); }));
    EXPECT_EQ(FindWindowA(nullptr, "Gone Sim"), nullptr);
    EXPECT_EQ(WaitForSingleObject(c.gioco.handle, 500), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(c.gioco.Attendi(20000), 0);
}

TEST(GameSim, WaitsForTheEventATestSets) {
    CatenaLogger c;
    const std::string nome = "GameSimEvento" + std::to_string(GetCurrentProcessId());
    HANDLE evento = CreateEventA(nullptr, FALSE, FALSE, nome.c_str());
    ASSERT_NE(evento, nullptr);
    ASSERT_TRUE(c.AvviaGioco("title Event Sim\nwaitevent " + nome + " 60000\ntitle Event Seen\nwaitevent " + nome +
                             " 300\nwaitevent " + nome + "Altro 300\nexit 0\n"));
    ASSERT_TRUE(c.GiocoHaScritto("title Event Sim")) << c.LogGioco();
    // Held on the event, which nobody has set yet.
    EXPECT_EQ(WaitForSingleObject(c.gioco.handle, 1000), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(c.LogGioco().find("title Event Seen"), std::string::npos) << c.LogGioco();
    SetEvent(evento);
    EXPECT_EQ(c.gioco.Attendi(60000), 0);
    // One set lets one wait go: the next wait on it ends at its bound, and
    // so does a wait on an event nobody sets.
    const std::string log = c.LogGioco();
    const size_t visto = log.find("\nevent " + nome + "\n");
    EXPECT_NE(visto, std::string::npos) << log;
    EXPECT_LT(visto, log.find("\ntitle Event Seen\n")) << log;
    EXPECT_NE(log.find("\ntitle Event Seen\nevent-missing " + nome + "\nevent-missing " + nome + "Altro\n"),
              std::string::npos)
        << log;
    CloseHandle(evento);
}

}  // namespace
