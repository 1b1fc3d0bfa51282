// Random configurations of every media kind performed through the
// dispatcher in preview, a short run of a fixed seed (tools/mediafuzz runs
// longer ones), and the faults the run must catch, played by stand-in
// performers.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "gamerun/MediaDispatcher.h"
#include "media/SwitchMedia.h"
#include "platform/Clock.h"
#include "tests/support/TestFolders.h"
#include "tools/mediafuzz/FuzzConfig.h"
#include "tools/mediafuzz/FuzzRun.h"

namespace {

constexpr uint32_t SemeFisso = 20261211;
constexpr uint32_t CasiBrevi = 12;

std::string Programmi(const char* nome) { return CartellaProgrammi() + "\\" + nome; }

TEST(MediaFuzz, AShortRunOfAFixedSeedPassesEveryCase) {
    // The player steps in sooner than in a long run, which the media that
    // wait for him (menus, input boxes) would otherwise spend.
    LimitiFuzz limiti;
    limiti.TempoGiocatore = 60 * 1000;
    limiti.RealeGiocatore = 5 * 1000;
    CartellaProva cartella("mf");
    ASSERT_EQ(PreparaFuzz(cartella.Percorso(), Programmi("GameSim.exe"), Programmi("TestChild.exe"), limiti), "");
    for (uint32_t i = 0; i < CasiBrevi; ++i) {
        const std::string guasto = EseguiCasoFuzz(GeneraCasoFuzz(SemeFisso, i));
        EXPECT_EQ(guasto, "");
        if (!guasto.empty()) break;
    }
    ChiudiFuzz();
}

TEST(MediaFuzz, ACaseIsMadeAgainFromItsSeedAndIndex) {
    const CasoFuzz a = GeneraCasoFuzz(7, 3), b = GeneraCasoFuzz(7, 3), c = GeneraCasoFuzz(7, 4);
    ASSERT_EQ(a.Media.size(), b.Media.size());
    for (size_t i = 0; i < a.Media.size(); ++i) EXPECT_EQ(DescriviMedia(a.Media[i]), DescriviMedia(b.Media[i]));
    EXPECT_EQ(a.Ordine, b.Ordine);
    std::string tuttiA, tuttiC;
    for (const MediaTrigger& m : a.Media) tuttiA += DescriviMedia(m);
    for (const MediaTrigger& m : c.Media) tuttiC += DescriviMedia(m);
    EXPECT_NE(tuttiA, tuttiC);
}

// Performers standing in for faulty ones, in the switch's place.
HGDIOBJ Perduto = nullptr;
bool Sano(bool&) {
    ClockSleep(100);
    return true;
}
bool PerdeOggettoGdi(bool&) {
    Perduto = CreateSolidBrush(RGB(1, 2, 3));
    ClockSleep(100);
    return true;
}
bool PerdeHandle(bool&) {
    CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ClockSleep(100);
    return true;
}
bool GiraSenzaAttendere(bool&) {
    while (!FuzzFermato()) Sleep(5);
    return false;
}
bool NonFinisceMai(bool&) {
    while (!FuzzFermato()) ClockSleep(100);
    return false;
}

std::vector<std::string> Fermi;

TEST(MediaFuzz, TheRunCatchesLeaksSpinsAndMediaThatNeverEnd) {
    struct Caso {
        const char* nome;
        bool (*esecutore)(bool&);
        const char* atteso;  // in the report; nullptr: no fault
    };
    const Caso casi[] = {
        {"sound performer", Sano, nullptr},
        {"GDI object lost", PerdeOggettoGdi, "resources left behind"},
        {"handle lost", PerdeHandle, "resources left behind"},
        {"spins without waiting", GiraSenzaAttendere, "without one wait on the clock"},
        {"never ends", NonFinisceMai, "did not end within its bound"},
    };
    LimitiFuzz limiti;
    limiti.TempoGiocatore = 60 * 1000;
    limiti.TempoDopo = 10 * 1000;
    limiti.RealeGiocatore = 60 * 1000;
    limiti.RealeDopo = 60 * 1000;
    limiti.RealeSenzaAttesa = 3000;
    CartellaProva cartella("mf");
    ASSERT_EQ(PreparaFuzz(cartella.Percorso(), Programmi("GameSim.exe"), Programmi("TestChild.exe"), limiti), "");
    auto* const fermo = FermoFuzz;
    FermoFuzz = [](const std::string& rapporto) { Fermi.push_back(rapporto); };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        EsecutoreSwitch = c.esecutore;
        CasoFuzz caso;
        caso.Seme = 5;
        caso.Indice = 9;
        MediaTrigger m;
        m.MediaCode = 1;
        m.TypeFlags = BitSwitch;
        m.TriggerCd = TriggerCdNessuno;
        m.Level = QualsiasiLivello;
        m.Syntax = "<SWITCH>\r\n#FLAGS#=abc\r\n<END_SWITCH>\r\n";
        caso.Media = {m};
        caso.Ordine = {1};
        Fermi.clear();
        const std::string guasto = EseguiCasoFuzz(caso);
        if (!c.atteso) {
            EXPECT_EQ(guasto, "");
            continue;
        }
        EXPECT_NE(guasto.find(c.atteso), std::string::npos) << guasto;
        // The report makes the case again and shows its section.
        EXPECT_NE(guasto.find("seed 5 case 9"), std::string::npos) << guasto;
        EXPECT_NE(guasto.find("#FLAGS#=abc"), std::string::npos) << guasto;
    }
    if (Perduto) DeleteObject(Perduto);
    EsecutoreSwitch = EseguiSwitchMedia;
    FermoFuzz = fermo;
    ChiudiFuzz();
}

}  // namespace
