// The game executable patched before a run: the built-in sets by the
// executable's build, then the user patches of the store folder. Built for
// the host as well.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/MediaConfig.h"
#include "patcher/PatchSets.h"
#include "tests/patcher/PatchFixture.h"
#include "tests/support/SyntheticExe.h"

namespace {

using PatchGioco = ProvaPatch;

TEST_F(PatchGioco, TheGameIsPatchedByItsBuildBeforeTheRun) {
    OpzioniEseguibile int4;
    int4.build = BuildGioco::LE_INT4;
    int4.lingue = {"us", "uk", "fr", "de"};
    int4.spostamentoB = 0x30;
    OpzioniEseguibile nessuna;
    nessuna.build = BuildGioco::Nessuna;
    struct Caso {
        const char* nome;
        std::string gioco;
        int32_t opzioni;
        std::vector<std::string> righe, assenti;
        int32_t bit;
        bool loggerSpento;
    };
    const int32_t bit = PatchLoadingBugApplicata | PatchAltEnterApplicata;
    const std::string fallita = "WARNING: Failed patch to remove bug in close mapping file";
    const std::vector<Caso> casi = {
        {"LE_UK", EseguibileSintetico({}), 0,
         {"Check for fast patch on: " + Gioco(), "Fast patch set: ok", "Ok patch for loading bug"},
         {"Failed patch for bug mapping file with LE_UK version. Try with LE_INT4 version patch"}, bit, false},
        {"LE_INT4", EseguibileSintetico(int4), 0,
         {"WARNING: failed fast loading patch (UE): try with fast loading LE_Int4", "Fast patch set: ok",
          "Failed patch for bug mapping file with LE_UK version. Try with LE_INT4 version patch",
          "Failed pach for bug loading game with LE_UK version. Try with LE_INT4 version", "Ok patch for loading bug"},
         {fallita}, bit, false},
        {"no fast loading patch", EseguibileSintetico({}), static_cast<int32_t>(OpzioneHeader::NoFastPatch),
         {"Ok patch for loading bug"}, {"Check for fast patch on: " + Gioco(), "Fast patch set: ok"}, bit, false},
        {"neither build", EseguibileSintetico(nessuna), 0,
         {"WARNING: failed to set fast loading patch", fallita, "WARNING: detected XP: disable logger",
          "WARNING: Failed to patch loading game", "WARNING: Failed to patch Alt_Enter sequence"},
         {"Ok patch for loading bug"}, 0, true},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        ASSERT_TRUE(ScriviFileProva(Gioco(), c.gioco));
        StatoGioco = FlagLoggerInUso;
        OpzioniGioco = c.opzioni;
        InitMediaLog();
        PatchTomb4(FirmaEseguibile(Gioco()));
        for (const std::string& r : c.righe) EXPECT_TRUE(HaRiga(r)) << r;
        for (const std::string& r : c.assenti) EXPECT_FALSE(HaRiga(r)) << r;
        EXPECT_EQ(StatoGioco & bit, c.bit);
        EXPECT_EQ(!HaBit(StatoGioco, FlagLoggerInUso), c.loggerSpento);

        // What changed is the sets' bytes and nothing else.
        std::string atteso = c.gioco;
        const bool uk = c.gioco == EseguibileSintetico({});
        if (c.bit) {
            std::vector<SetPatch> set = uk ? std::vector<SetPatch>{SetPatch::MappaturaUK, SetPatch::CaricamentoUK,
                                                                   SetPatch::AltEnterV1}
                                           : std::vector<SetPatch>{SetPatch::MappaturaInt4, SetPatch::CaricamentoInt4,
                                                                   SetPatch::AltEnterV2};
            if (!c.opzioni) set.push_back(uk ? SetPatch::FastPatchUE : SetPatch::FastPatchLEInt4);
            for (const SetPatch s : set) ASSERT_EQ(ApplicaRecordPatch(atteso, RecordSet(s), 0, false, false), Applicata);
        }
        EXPECT_TRUE(LeggiFileProva(Gioco()) == atteso);
        EXPECT_TRUE(PatchUtente.empty());
    }

    // The next run finds every set in place and rewrites nothing.
    ASSERT_TRUE(ScriviFileProva(Gioco(), EseguibileSintetico({})));
    OpzioniGioco = 0;
    PatchTomb4("");
    const std::string patchato = LeggiFileProva(Gioco());
    InitMediaLog();
    StatoGioco = 0;
    PatchTomb4("");
    EXPECT_TRUE(LeggiFileProva(Gioco()) == patchato);
    EXPECT_TRUE(HaRiga("Tomb4 was already patched"));
    EXPECT_TRUE(HaRiga("Ok patch for loading bug"));
    EXPECT_EQ(StatoGioco & bit, bit);
    EXPECT_EQ(FirmaEseguibile(Gioco()), "LE_UK_P:XP_Standard (9-Jun-2003  13:45)");
}

TEST_F(PatchGioco, TheStoresUserPatchesAreListedWhenTheyApply) {
    ASSERT_TRUE(ScriviFileProva(Gioco(), EseguibileSintetico({})));
    OpzioniGioco = 0;
    FilePatch secondo = Semplice();
    secondo.Record[0].Offset = 0x1010;
    FilePatch rotto = Semplice();
    rotto.Record[0].Offset = 0x1030;
    rotto.Record[0].Originali = "zzzz";
    FilePatch conFirma = Semplice(VerificaFirma);
    conFirma.Record[0].Offset = 0x1020;
    conFirma.FirmaTarget = "LE_UK_Standard (9-Jun-2003  13:45)";
    ASSERT_TRUE(ScriviFileProva(Store("a.ptc"), ScriviFilePatch(Semplice())));
    ASSERT_TRUE(ScriviFileProva(Store("b.ptc"), ScriviFilePatch(rotto)));
    ASSERT_TRUE(ScriviFileProva(Store("c.ptc"), ScriviFilePatch(conFirma)));
    ASSERT_TRUE(ScriviFileProva(Store("d.ptc"), ScriviFilePatch(secondo)));
    // Already in the program from a run that did not end.
    std::string gioco = LeggiFileProva(Gioco());
    gioco.replace(0x1010, 4, "new!");
    ASSERT_TRUE(ScriviFileProva(Gioco(), gioco));

    // The signature handed in is the one of the executable before the built-in sets.
    PatchTomb4("LE_UK_Standard (9-Jun-2003  13:45)");
    EXPECT_TRUE(HaRiga("Applied user patch: a.ptc"));
    EXPECT_TRUE(HaRiga("WARNING: Cann't apply user patch: b.ptc"));
    EXPECT_TRUE(HaRiga("Applied user patch: c.ptc"));
    EXPECT_TRUE(HaRiga("Tomb4 was already patched for user patch: d.ptc"));
    // In the folder listing's order, which the file system chooses.
    std::vector<std::string> elenco = PatchUtente;
    std::sort(elenco.begin(), elenco.end());
    EXPECT_EQ(elenco, (std::vector<std::string>{Store("a.ptc"), Store("c.ptc"), Store("d.ptc")}));
    EXPECT_EQ(NumPatchUtente, 3);
    const std::string patchato = LeggiFileProva(Gioco());
    EXPECT_EQ(patchato.substr(0x1000, 4), "new!");
    EXPECT_EQ(patchato.substr(0x1020, 4), "new!");
}

}  // namespace
