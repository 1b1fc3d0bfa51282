// User patch files applied to and taken out of a program on disk, and the
// messages of faulty ones. Built for the host as well.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/patcher/PatchFixture.h"
#include "tests/support/SyntheticExe.h"

namespace {

using PatchFileSuDisco = ProvaPatch;

TEST_F(PatchFileSuDisco, AUserPatchGoesInAndOutWithoutATrace) {
    const std::string originale = EseguibileSintetico({});
    ASSERT_TRUE(ScriviFileProva(Gioco(), originale));
    ASSERT_TRUE(ScriviFileProva(Store("One.ptc"), ScriviFilePatch(Semplice())));
    std::string firma;
    EXPECT_EQ(ApplicaPatch(Store("One.ptc"), Gioco(), false, firma), Applicata);
    const std::string patchato = LeggiFileProva(Gioco());
    EXPECT_EQ(patchato.substr(0x1000, 4), "new!");
    EXPECT_EQ(patchato.size(), originale.size());
    EXPECT_FALSE(EsisteFileProva(trle / "_tem_tomb4.exe"));
    EXPECT_FALSE(EsisteFileProva(trle / "backup_tomb4.exe"));
    EXPECT_TRUE(firma.empty()) << "no signature needed";

    EXPECT_EQ(ApplicaPatch(Store("One.ptc"), Gioco(), false, firma), GiaApplicata);
    EXPECT_EQ(LeggiFileProva(Gioco()), patchato);

    EXPECT_EQ(ApplicaPatch(Store("One.ptc"), Gioco(), true, firma), Applicata);
    EXPECT_EQ(LeggiFileProva(Gioco()), originale);
    EXPECT_EQ(ApplicaPatch(Store("One.ptc"), Gioco(), true, firma), GiaApplicata);
    EXPECT_TRUE(avvisi.empty());
}

TEST_F(PatchFileSuDisco, FaultyPatchesShowTheirMessageAndLeaveTheTargetAlone) {
    const std::string originale = EseguibileSintetico({});
    ASSERT_TRUE(ScriviFileProva(Gioco(), originale));
    FilePatch conFirma = Semplice(VerificaFirma);
    conFirma.FirmaTarget = "le_uk_standard (9-JUN-2003  13:45)";
    FilePatch altraFirma = Semplice(VerificaFirma);
    altraFirma.FirmaTarget = "LE_INT4_B:30 (9-Jun-2003  13:45)";
    FilePatch conArgomento = Semplice(ConArgomento);
    conArgomento.TipoArgomento = 3;
    conArgomento.OffsetArgomento = {0x1002};
    conArgomento.NumOffsetArgomento = 1;
    const std::string troncato = ScriviFilePatch(Semplice()).substr(0, 30);

    struct Caso {
        const char* nome;
        std::string file, contenuto;
        int32_t esito;
        std::string avviso;
        std::string byte;  // at 0x1000 afterwards
    };
    const std::string zero(4, '\0');
    const std::vector<Caso> casi = {
        {"missing", "Missing.ptc", "", NonRiconosciuta, "ERROR: cann't find patch file: " + Store("Missing.ptc"), zero},
        {"truncated", "Cut.ptc", troncato, NonRiconosciuta,
         "Error trying to load binary patch from file: " + Store("Cut.ptc") + "\r\nError mexage: Input past end of file",
         zero},
        {"the signature in another case", "Sig.ptc", ScriviFilePatch(conFirma), Applicata, "", "new!"},
        {"another signature", "Other.ptc", ScriviFilePatch(altraFirma), NonRiconosciuta, "", zero},
        {"argument", "Byte#65#.ptc", ScriviFilePatch(conArgomento), Applicata, "", "neA!"},
        {"no argument in the name", "Byte.ptc", ScriviFilePatch(conArgomento), NonRiconosciuta,
         "Error trying to applicate patch: " + Store("Byte.ptc") + "\r\nMissing characters '#' used to delimite argument",
         zero},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        ASSERT_TRUE(ScriviFileProva(Gioco(), originale));
        if (!c.contenuto.empty()) ASSERT_TRUE(ScriviFileProva(Store(c.file), c.contenuto));
        avvisi.clear();
        std::string firma;
        EXPECT_EQ(ApplicaPatch(Store(c.file), Gioco(), false, firma), c.esito);
        EXPECT_EQ(LeggiFileProva(Gioco()).substr(0x1000, 4), c.byte);
        if (c.avviso.empty()) {
            EXPECT_TRUE(avvisi.empty()) << avvisi[0];
        } else {
            ASSERT_EQ(avvisi.size(), 1u);
            EXPECT_EQ(avvisi[0], c.avviso);
            // The log has it too, a two-line text on two lines.
            EXPECT_TRUE(HaRiga(c.avviso.substr(0, c.avviso.find("\r\n"))));
        }
    }
    // The signature computed for one patch is handed back for the next.
    std::string firma;
    ASSERT_TRUE(ScriviFileProva(Gioco(), originale));
    EXPECT_EQ(ApplicaPatch(Store("Other.ptc"), Gioco(), false, firma), NonRiconosciuta);
    EXPECT_EQ(firma, "LE_UK_Standard (9-Jun-2003  13:45)");
    EXPECT_EQ(FirmaEseguibile(Gioco()), firma);

    // A program that cannot be read, a target that is missing.
    avvisi.clear();
    EXPECT_EQ(FirmaEseguibile(trle / "none.exe"), "ERROR");
    ASSERT_TRUE(ScriviFileProva(trle / "short.exe", "MZ"));
    EXPECT_EQ(FirmaEseguibile(trle / "short.exe"), "ERROR");
    ASSERT_EQ(avvisi.size(), 2u);
    EXPECT_EQ(avvisi[0], "ERROR trying to compute version of file: " + (trle / "none.exe") +
                             "\r\nError mexage: File not found: " + (trle / "none.exe"));
    EXPECT_EQ(avvisi[1].rfind("ERROR trying to compute version of file: " + (trle / "short.exe") + "\r\n", 0), 0u);
    EXPECT_EQ(ApplicaPatch(Store("Sig.ptc"), trle / "none.exe", false, firma), NonRiconosciuta);
}

}  // namespace
