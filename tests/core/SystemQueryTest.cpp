// Version, language and folder queries, the message box and the notice window.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include "core/FileUtils.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"
#include "tests/support/TestFolders.h"
#include "tests/support/TestProcesses.h"

namespace {

struct CasoVersione {
    uint32_t piattaforma, maggiore, minore;
    int32_t codice;
    const char* nome;
    int32_t famiglia;
};

class VersioneTest : public testing::TestWithParam<CasoVersione> {};

TEST_P(VersioneTest, NamesTheVersion) {
    const CasoVersione& c = GetParam();
    std::string nome;
    EXPECT_EQ(NomeVersioneWindows(c.piattaforma, c.maggiore, c.minore, nome), c.codice);
    EXPECT_EQ(nome, c.nome);
    EXPECT_EQ(PiattaformaDaVersione(c.piattaforma, c.maggiore, c.minore), c.famiglia);
}

INSTANTIATE_TEST_SUITE_P(
    Versions, VersioneTest,
    testing::Values(CasoVersione{1, 4, 0, 1, "Windows 95", 1}, CasoVersione{1, 4, 10, 2, "Windows 98", 4},
                    CasoVersione{1, 4, 90, 3, "Windows ME", 4}, CasoVersione{2, 4, 0, 6, "Windows NT", 6},
                    CasoVersione{2, 3, 51, 6, "Windows NT", 6}, CasoVersione{2, 5, 0, 5, "Windows 2000", 5},
                    CasoVersione{2, 5, 1, 4, "Windows Xp", 5},
                    // Later NT versions belong to the NT family, not to an error.
                    CasoVersione{2, 5, 2, 7, "Windows NT", 5}, CasoVersione{2, 6, 0, 7, "Windows NT", 6},
                    CasoVersione{2, 10, 0, 7, "Windows NT", 6}, CasoVersione{3, 0, 0, 7, "Windows NT", 0},
                    CasoVersione{9, 1, 0, 7, "Windows NT", 0},
                    CasoVersione{1, 4, 20, 0, "ERROR finding windows version", 4},
                    CasoVersione{0, 3, 1, 0, "ERROR finding windows version", 0},
                    CasoVersione{10, 1, 0, 0, "ERROR finding windows version", 0}));

TEST(SistemaTest, TheWinePrefixReportsWindowsXp) {
    std::string nome;
    EXPECT_EQ(VersioneWindows(nome), 4);
    EXPECT_EQ(nome, "Windows Xp");
    EXPECT_EQ(PiattaformaWindows(), 5);
    EXPECT_TRUE(IsWindowsNT());
}

TEST(SistemaTest, LanguageIsTheLowByteOfTheLocaleLanguage) {
    EXPECT_EQ(LinguaSistema(), static_cast<int32_t>(GetUserDefaultLangID() & 0xFF));
}

TEST(SistemaTest, TemporaryAndSpecialFolders) {
    const std::string temp = CartellaTemp();
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(temp.back(), '\\');
    EXPECT_EQ(CartellaSpeciale(-1), temp.substr(0, temp.size() - 1));

    char sistema[MAX_PATH] = {};
    GetSystemDirectoryA(sistema, MAX_PATH);
    EXPECT_TRUE(UgualeSenzaCaso(CartellaSpeciale(37), sistema)) << CartellaSpeciale(37);
    // The current user's desktop, where the uninstall looks for shortcuts.
    char desktop[MAX_PATH] = {};
    ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, desktop), S_OK);
    EXPECT_EQ(CartellaSpeciale(16), desktop);
    EXPECT_EQ(CartellaSpeciale(0x7F), "");
}

TEST(SistemaTest, FileVersionFromTheVersionResource) {
    EXPECT_EQ(VersioneFile(CartellaProgrammi() + "\\Ludovane.exe"), "1.5.0");
    CartellaProva dir;
    ASSERT_TRUE(ScriviFileProva(dir / "plain.exe", "MZ no resource"));
    EXPECT_EQ(VersioneFile(dir / "plain.exe"), "");
    EXPECT_EQ(VersioneFile(dir / "missing.exe"), "");
}

TEST(SistemaTest, MessageBoxTakesTheProgramCaptionWhenNoTitle) {
    CartellaProva dir;
    Osservatore osservatore(dir.Percorso(), "OK", 2, 20000);
    EXPECT_EQ(Messaggio("first text", StileOk), IDOK);
    EXPECT_EQ(Messaggio("second text", StileAttenzione, "Own title"), IDOK);
    const std::vector<BoxRegistrato> boxes = osservatore.Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].titolo, "Vorn Media Module");
    EXPECT_EQ(boxes[0].testo, "first text");
    EXPECT_EQ(boxes[1].titolo, "Own title");
}

TEST(SistemaTest, NoticeWindowIsReusedAndClosed) {
    EXPECT_FALSE(AvvisoAperto());
    MostraAvviso("Auto-calibration joystick in progress. Please don't move the joystick");
    ASSERT_TRUE(AvvisoAperto());
    HWND finestra = FindWindowA("LudovaneAvviso", nullptr);
    ASSERT_NE(finestra, nullptr);
    EXPECT_TRUE(IsWindowVisible(finestra));
    MostraAvviso("second");
    EXPECT_EQ(FindWindowA("LudovaneAvviso", nullptr), finestra);
    EXPECT_EQ(TestoAvviso(), "second");
    HWND label = FindWindowExA(finestra, nullptr, "STATIC", nullptr);
    ASSERT_NE(label, nullptr);
    char testo[64] = {};
    GetWindowTextA(label, testo, sizeof testo);
    EXPECT_STREQ(testo, "second");
    ChiudiAvviso();
    EXPECT_FALSE(AvvisoAperto());
    EXPECT_EQ(FindWindowA("LudovaneAvviso", nullptr), nullptr);
}

TEST(SistemaTest, MemoryContextHoldsABitmapOfTheClientSize) {
    HWND finestra = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 123, 45, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(finestra, nullptr);
    HDC dc = GetDC(finestra);
    void* precedente = nullptr;
    void* memoria = CreaDCMemoria(finestra, dc, precedente);
    ASSERT_NE(memoria, nullptr);
    EXPECT_NE(precedente, nullptr);
    BITMAP bm{};
    ASSERT_NE(GetObjectA(GetCurrentObject(static_cast<HDC>(memoria), OBJ_BITMAP), sizeof bm, &bm), 0);
    EXPECT_EQ(bm.bmWidth, 123);
    EXPECT_EQ(bm.bmHeight, 45);
    DistruggiDCMemoria(memoria, precedente);
    ReleaseDC(finestra, dc);
    DestroyWindow(finestra);
}

TEST(SistemaTest, EmptyHooksDoNothing) { EXPECT_TRUE(Extra_InitGameConfig(false)); }

}  // namespace
