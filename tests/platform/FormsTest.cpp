#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/Forms.h"
#include "tests/support/TestFolders.h"

namespace {

class Registrata : public Form {
public:
    explicit Registrata(std::vector<std::string>& eventi) : Form("TestForm", "test"), eventi_(eventi) {}
    int16_t rifiuta = 0;
    int16_t ultimoModo = -1;

protected:
    void Form_Load() override { eventi_.push_back("load"); }
    void Form_QueryUnload(int16_t& Cancel, int16_t UnloadMode) override {
        eventi_.push_back("query");
        ultimoModo = UnloadMode;
        Cancel = rifiuta;
    }
    void Form_Unload(int16_t&) override { eventi_.push_back("unload"); }

private:
    std::vector<std::string>& eventi_;
};

// Pumps messages for about <ms> of real time.
void Pompa(DWORD ms) {
    const DWORD inizio = GetTickCount();
    while (GetTickCount() - inizio < ms) {
        DoEvents();
        Sleep(5);
    }
}

TEST(Forms, LoadAndUnloadRunTheirEventsInOrder) {
    std::vector<std::string> eventi;
    Registrata f(eventi);
    ASSERT_TRUE(f.Load());
    EXPECT_TRUE(f.Loaded());
    EXPECT_EQ(FormsAperti().size(), 1u);
    EXPECT_TRUE(f.Unload());
    EXPECT_FALSE(f.Loaded());
    EXPECT_TRUE(FormsAperti().empty());
    EXPECT_EQ(eventi, (std::vector<std::string>{"load", "query", "unload"}));
    EXPECT_EQ(f.ultimoModo, UnloadDaCodice);
}

TEST(Forms, QueryUnloadCanRefuse) {
    std::vector<std::string> eventi;
    Registrata f(eventi);
    f.Load();
    f.rifiuta = 1;
    EXPECT_FALSE(f.Unload());
    EXPECT_TRUE(f.Loaded());
    f.rifiuta = 0;
    EXPECT_TRUE(f.Unload());
}

TEST(Forms, CloseFromOutsideOfAHiddenWindowIsTheTaskManager) {
    std::vector<std::string> eventi;
    Registrata f(eventi);
    f.Load();
    PostMessageA(f.hWnd(), WM_CLOSE, 0, 0);
    Pompa(100);
    EXPECT_FALSE(f.Loaded());
    EXPECT_EQ(f.ultimoModo, UnloadDaTaskManager);
}

TEST(Forms, TimersFireOnlyWhileEnabledWithAnInterval) {
    std::vector<std::string> eventi;
    Registrata f(eventi);
    int scatti = 0, maiScatti = 0, spento = 0;
    Timer t(f, 20, true, [&] { ++scatti; });
    Timer zero(f, 0, true, [&] { ++maiScatti; });
    Timer disattivo(f, 20, false, [&] { ++spento; });
    f.Load();
    Pompa(300);
    EXPECT_GT(scatti, 2);
    EXPECT_EQ(maiScatti, 0);
    EXPECT_EQ(spento, 0);
    t.SetEnabled(false);
    const int fermo = scatti;
    Pompa(100);
    EXPECT_EQ(scatti, fermo);
    f.Unload();
}

TEST(Forms, UnloadInsideTheLoadEventEndsTheWindow) {
    class SubitoChiusa : public Form {
    protected:
        void Form_Load() override { Unload(); }
    } f;
    EXPECT_TRUE(f.Load());
    EXPECT_FALSE(f.Loaded());
    EXPECT_EQ(EseguiApplicazione(), 0);  // no window left: returns at once
}

TEST(Clock, ManualClockMakesWaitsInstant) {
    ClockUseManual(true, 100);
    ClockSleep(60000);
    EXPECT_EQ(ClockTick(), 60100u);
    ClockAdvance(5);
    EXPECT_EQ(ClockTick(), 60105u);
    ClockUseManual(false);
    const uint32_t prima = ClockTick();
    ClockSleep(100);
    EXPECT_GE(ClockTick() - prima, 50u);
}

TEST(Forms, InstanceNameIsTheSameForEverySpellingOfTheProgramPath) {
    CartellaProva dir{"ist"};
    const std::string cartella = dir / "Tomb Raider Level Editor";
    const std::string lungo = cartella + "\\Ludovane Level Launcher.exe";
    ASSERT_TRUE(CreateDirectoryA(cartella.c_str(), nullptr));
    ASSERT_TRUE(ScriviFileProva(lungo, "MZ"));
    char corto[MAX_PATH] = {};
    ASSERT_GT(GetShortPathNameA(lungo.c_str(), corto, MAX_PATH), 0u);
    ASSERT_EQ(std::string(corto).find("Launcher"), std::string::npos) << corto;
    std::string minuscolo = lungo;
    for (char& c : minuscolo) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));

    const std::string nome = NomeIstanza(lungo);
    for (const std::string& altro :
         {std::string(corto), minuscolo, cartella + "\\..\\Tomb Raider Level Editor\\Ludovane Level Launcher.exe"})
        EXPECT_EQ(NomeIstanza(altro), nome) << altro;
    EXPECT_NE(NomeIstanza(dir / "Ludovane.exe"), nome);
    EXPECT_LT(nome.size(), static_cast<size_t>(MAX_PATH));
    EXPECT_EQ(nome.find('\\'), std::string::npos) << "a backslash would name a namespace";
}

}  // namespace
