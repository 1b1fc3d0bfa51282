// The routines of the layers above, reached through the hooks, in a program
// whose start-up did not connect them: each says once that it was not
// performed and reports failure, never a silent success or a crash.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/MediaLog.h"
#include "core/SharedState.h"
#include "platform/Clock.h"
#include "runservices/RunHooks.h"
#include "tests/runservices/HookSlots.h"
#include "tests/support/LogText.h"
#include "tests/support/TestFolders.h"

namespace {

struct CasoGancio {
    const char* nome;
    // True when the entry reported what a missing routine must.
    std::function<bool()> riporta;
};

class GanciVuoti : public testing::Test {
protected:
    void SetUp() override {
        ClockUseManual(true, 1000);
        ProcessoGioco.hProcess = reinterpret_cast<void*>(1);
        PercorsoStore = store.Percorso();
        LogAbilitato = true;
        InitMediaLog();
    }
    void TearDown() override {
        ProcessoGioco.hProcess = nullptr;
        LogAbilitato = false;
        BufferLog.clear();
        ClockUseManual(false);
    }
    CartellaProva store;
};

// Without the start-up every entry still holds its stand-in: none is a null
// routine that would crash the caller.
TEST_F(GanciVuoti, EveryEntryHasItsStandIn) { EXPECT_EQ(GanciVuotiDi(Ganci), std::vector<size_t>{}); }

TEST_F(GanciVuoti, EachSaysOnceThatItWasNotPerformedAndReportsFailure) {
    const CasoGancio casi[] = {
        {"EseguiMediaCode", [] { bool errore = false; return !Ganci.EseguiMediaCode(3, errore) && errore; }},
        {"EseguiListaMedia", [] { bool errore = false; return !Ganci.EseguiListaMedia({0}, 1, errore) && errore; }},
        // The caller stops as on a game that ended.
        {"AnalisiGameProgress",
         [] { bool ferma = false; return Ganci.AnalisiGameProgress(ferma, -1, false) == 4 && ferma; }},
        {"IsInventoryMode", [] { bool nero = true; return !Ganci.IsInventoryMode(true, nero, false) && !nero; }},
        {"InviaCodici", [] { return !Ganci.InviaCodici(false, {{1, 300}, {129, 200}}); }},
        // False would say that a cheat was acted on.
        {"RilevaTrucchi", [] { return Ganci.RilevaTrucchi(); }},
        {"ControllaStartCd", [] { Ganci.ControllaStartCd(); return true; }},
        {"ImpostaSospeso", [] { Ganci.ImpostaSospeso(5); return true; }},
        {"ImpostaMediaCdGiaMostrati", [] { Ganci.ImpostaMediaCdGiaMostrati(5); return true; }},
        {"AvviaCdAlert", [] { Ganci.AvviaCdAlert(5); return true; }},
        {"ControllaStopSalvataggio", [] { Ganci.ControllaStopSalvataggio(); return true; }},
        {"ImpostaGuardian", [] { Ganci.ImpostaGuardian(); return true; }},
        {"GetVariablesLoading", [] { Ganci.GetVariablesLoading(); return true; }},
        {"LeggiUltimoSavegame",
         [] {
             std::string percorso = "x", immagine = "y";
             return !Ganci.LeggiUltimoSavegame(percorso, immagine) && percorso.empty() && immagine.empty();
         }},
        {"SospendiInputUtente", [] { Ganci.SospendiInputUtente(); return true; }},
        {"AbilitaInputUtente", [] { Ganci.AbilitaInputUtente(); return true; }},
        {"SostituisciPrompt", [] { Ganci.SostituisciPrompt(13); return true; }},
        {"CatturaSchermoGioco",
         [] {
             std::string percorso = "x";
             return !Ganci.CatturaSchermoGioco(percorso) && percorso.empty();
         }},
    };
    for (const CasoGancio& c : casi) {
        BufferLog.clear();
        EXPECT_TRUE(c.riporta()) << c.nome;
        EXPECT_TRUE(c.riporta()) << c.nome;
        EXPECT_EQ(TestiRigheLog(BufferLog), std::vector<std::string>{std::string(c.nome) + ": not performed yet"})
            << c.nome;
    }
}

}  // namespace
