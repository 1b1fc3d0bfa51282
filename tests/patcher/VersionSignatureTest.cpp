// Version signatures of synthetic programs: the game's builds with their
// probes in place or moved, patched or not, and the level editor's programs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "patcher/PatchEngine.h"
#include "patcher/PatchSets.h"
#include "patcher/VersionSignature.h"
#include "tests/support/SyntheticExe.h"

namespace {

const std::string Data = " (9-Jun-2003  13:45)";

std::string Firma(const std::string& nome, const std::string& dati) {
    std::string firma, errore;
    EXPECT_TRUE(FirmaDaDati(nome, dati, firma, errore)) << errore;
    return firma;
}

std::string Applica(std::string dati, std::initializer_list<SetPatch> set) {
    for (const SetPatch s : set) EXPECT_EQ(ApplicaRecordPatch(dati, RecordSet(s), 0, false, false), Applicata);
    return dati;
}

TEST(VersionSignature, TheGameBuildsAndTheirDepartures) {
    OpzioniEseguibile uk;
    OpzioniEseguibile int4;
    int4.build = BuildGioco::LE_INT4;
    int4.lingue = {"us", "uk", "fr", "de"};
    int4.spostamentoB = 0x30;
    OpzioniEseguibile lr = uk;
    lr.marchioFilmati = true;
    lr.sondaA = false;
    lr.lingue = {"us", "uk"};

    struct Caso {
        const char* nome;
        std::string file, dati, firma;
    };
    OpzioniEseguibile o;
    const auto con = [](OpzioniEseguibile o, auto cambia) {
        cambia(o);
        return EseguibileSintetico(o);
    };
    const std::vector<Caso> casi = {
        {"unpatched LE_UK", "tomb4.exe", EseguibileSintetico(uk), "LE_UK_Standard"},
        {"the name in capitals", "TOMB4.EXE", EseguibileSintetico(uk), "LE_UK_Standard"},
        {"after the fast loading patch", "tomb4.exe",
         Applica(EseguibileSintetico(uk), {SetPatch::FastPatchUE, SetPatch::AltEnterV1}), "LE_UK_P:XP_Standard"},
        {"LE_INT4", "tomb4.exe", EseguibileSintetico(int4), "LE_INT4_B:30"},
        {"LE_INT4 after its fast loading patch", "tomb4.exe",
         Applica(EseguibileSintetico(int4), {SetPatch::FastPatchLEInt4}), "LE_INT4_B:30_P:XPnew"},
        {"a loop gone without the sleep code", "tomb4.exe",
         con(uk, [](auto& o) { o.build = BuildGioco::Nessuna; }), "LE_UK_P:XPnew_Standard"},
        {"16 bytes short", "tomb4.exe", con(uk, [](auto& o) { o.dimensione -= 16; }), "LE_UK_S:N10"},
        {"longer by 0x123", "tomb4.exe", con(uk, [](auto& o) { o.dimensione += 0x123; }), "LE_UK_S:123"},
        {"no languages, probes C and D missing", "tomb4.exe",
         con(uk, [](auto& o) { o.lingue.clear(); o.sondeCD = false; }), "LE_UNKNOWN_C:M_D:M"},
        {"two languages", "tomb4.exe", con(uk, [](auto& o) { o.lingue = {"us", "Uk"}; }), "LE_US/UK_Standard"},
        {"three languages", "tomb4.exe", con(uk, [](auto& o) { o.lingue = {"us", "uk", "it"}; }),
         "LE_INT3_Standard"},
        {"probe B early: an unknown layout, no fast probe", "tomb4.exe",
         con(uk, [](auto& o) { o.spostamentoB = -0x30; o.build = BuildGioco::Nessuna; }), "LE_UK_B:N30"},
        {"an LR build without probe A", "tomb4.exe", EseguibileSintetico(lr), "LR_US/UK_P:XP_Standard"},
        {"another program", "game.exe", EseguibileSintetico(uk), "??_"},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        const std::string firma = Firma(c.file, c.dati);
        EXPECT_EQ(firma, c.firma + Data);
        EXPECT_EQ(Firma(c.file, c.dati), firma) << "the same file, the same signature";
    }
    // An LR build's fast-loading probe has its own place.
    std::string dati = EseguibileSintetico(lr);
    Poni(dati, 0x76719, std::string("\x85\xC0\x75\xF7", 4));
    EXPECT_EQ(Firma("tomb4.exe", dati), "LR_US/UK_Standard" + Data);
}

TEST(VersionSignature, TheLevelEditorsProgramsByTheirMarker) {
    struct Caso {
        const char* nome;
        const char* file;
        std::string dati, firma;
    };
    const uint32_t data = 1055166300;
    const std::vector<Caso> casi = {
        {"script.exe 0x20 late", "script.exe", ProgrammaSintetico(0x1A9DC, "\\c\\script.c", 0x1694D, data), "SC_20"},
        {"script.exe in place", "Script.EXE", ProgrammaSintetico(0x1A9DC, "\\c\\script.c", 0x1692D, data),
         "SC_Standard"},
        {"tom2pc.exe early, no N", "tom2pc.exe", ProgrammaSintetico(0x20000, "PC Level Converter", 0x199B0, data),
         "TP_10"},
        {"WinRoomEdit.exe without marker, short", "WinRoomEdit.exe", ProgrammaSintetico(0x68000, "", -1, data),
         "WE_M_S:N1000"},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        EXPECT_EQ(Firma(c.file, c.dati), c.firma + Data);
    }
}

TEST(VersionSignature, TheBuildDateFromThePeHeaderByHand) {
    // MZ, the header's offset 0x40 at 60, the time stamp 8 bytes into it.
    std::string d(0x50, '\0');
    d[60] = 0x40;
    const uint32_t stampo = 0x3EE48F0Cu;  // 2003-06-09 13:43:40
    for (int k = 0; k < 4; ++k) d[0x48 + k] = static_cast<char>((stampo >> (8 * k)) & 0xFF);
    DataOra data;
    std::string errore;
    ASSERT_TRUE(DataEseguibileDaDati(d, data, errore));
    EXPECT_EQ(FormattaDataMese(data), "9-Jun-2003  13:43");
    EXPECT_EQ(data.Secondo, 40);

    struct Corto {
        const char* nome;
        std::string dati;
    };
    std::string fuori = d;
    fuori[60] = 0x45;  // the stamp would end past the file
    std::string negativo = d;
    negativo[63] = static_cast<char>(0x80);
    for (const Corto& c : {Corto{"empty", ""}, Corto{"short of the offset", d.substr(0, 62)},
                           Corto{"stamp past the end", fuori}, Corto{"negative offset", negativo}}) {
        SCOPED_TRACE(c.nome);
        std::string firma;
        EXPECT_FALSE(DataEseguibileDaDati(c.dati, data, errore));
        EXPECT_FALSE(FirmaDaDati("tomb4.exe", c.dati, firma, errore));
        EXPECT_FALSE(errore.empty());
    }

    struct Giorno {
        int64_t secondi;
        const char* testo;
    };
    for (const Giorno& g : {Giorno{0, "1-Jan-1970  00:00"}, Giorno{951782400, "29-Feb-2000  00:00"},
                            Giorno{-1, "31-Dec-1969  23:59"}, Giorno{4102444799, "31-Dec-2099  23:59"}})
        EXPECT_EQ(FormattaDataMese(DataDaSecondi(g.secondi)), g.testo) << g.secondi;
}

}  // namespace
