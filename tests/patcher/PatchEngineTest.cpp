// Patch records on byte images: one record in either direction, a set all
// or nothing, and the search of a relocatable patch.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "patcher/PatchEngine.h"

namespace {

RecordPatch Record(int32_t offset, const std::string& originali, const std::string& nuovi) {
    return RecordPatch{offset, static_cast<int32_t>(originali.size()), originali, nuovi};
}

// 64 bytes: the position in each byte, "ABC" at 10, "XY" at 30.
std::string Immagine() {
    std::string d;
    for (int i = 0; i < 64; ++i) d += static_cast<char>(0x80 + i);
    d.replace(10, 3, "ABC");
    d.replace(30, 2, "XY");
    return d;
}

TEST(PatchEngine, OneRecordByDirectionAndMode) {
    struct Caso {
        const char* nome;
        RecordPatch record;
        bool rimuovi, soloVerifica, forza;
        int32_t esito;
        std::string dopo;  // the bytes at 10 afterwards
    };
    const std::vector<Caso> casi = {
        {"apply", Record(10, "ABC", "abc"), false, false, false, Applicata, "abc"},
        {"already applied", Record(10, "abc", "ABC"), false, false, false, GiaApplicata, "ABC"},
        {"neither", Record(10, "abc", "xyz"), false, false, false, NonRiconosciuta, "ABC"},
        {"remove", Record(10, "abc", "ABC"), true, false, false, Applicata, "abc"},
        {"already removed", Record(10, "ABC", "abc"), true, false, false, GiaApplicata, "ABC"},
        {"check only", Record(10, "ABC", "abc"), false, true, false, Applicata, "ABC"},
        {"force", Record(10, "xyz", "uvw"), false, false, true, Applicata, "uvw"},
        {"force, check only", Record(10, "xyz", "uvw"), false, true, true, Applicata, "ABC"},
        {"past the end", Record(62, "ABC", "abc"), false, false, true, NonRiconosciuta, "ABC"},
        {"negative offset", Record(-1, "ABC", "abc"), false, false, true, NonRiconosciuta, "ABC"},
        {"near the largest offset", Record(0x7FFFFFFF, "ABC", "abc"), false, false, true, NonRiconosciuta, "ABC"},
        {"length unlike its bytes", RecordPatch{10, 5, "ABC", "abc"}, false, false, false, NonRiconosciuta, "ABC"},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        std::string immagine = Immagine();
        EXPECT_EQ(VerificaPatchBytes(immagine, c.record, c.rimuovi, c.soloVerifica, c.forza), c.esito);
        EXPECT_EQ(immagine.substr(10, 3), c.dopo);
        EXPECT_EQ(immagine.substr(13), Immagine().substr(13));
    }
    std::string vuota;
    EXPECT_EQ(VerificaPatchBytes(vuota, Record(0, "A", "B"), false, false, true), NonRiconosciuta);
}

TEST(PatchEngine, StateAtAShiftLeavesImageAndRecord) {
    const RecordPatch r = Record(0, "ABC", "abc");
    const std::string immagine = Immagine();
    EXPECT_EQ(StatoRecordPatch(immagine, 10, r, false), Applicata);
    EXPECT_EQ(StatoRecordPatch(immagine, 9, r, false), NonRiconosciuta);
    EXPECT_EQ(StatoRecordPatch(immagine, 10, r, true), GiaApplicata);
    EXPECT_EQ(StatoRecordPatch(immagine, -1, r, false), NonRiconosciuta);
    EXPECT_EQ(r.Offset, 0);
    EXPECT_EQ(immagine, Immagine());
}

TEST(PatchEngine, ASetIsJudgedWholeBeforeAnythingIsWritten) {
    const RecordPatch primo = Record(10, "ABC", "abc"), secondo = Record(30, "XY", "xy");
    struct Caso {
        const char* nome;
        std::vector<RecordPatch> set;
        bool rimuovi;
        std::string prima;  // image bytes 10..12 and 30..31 before
        int32_t esito;
        std::string dopo;
    };
    std::string giaFatta = Immagine();
    giaFatta.replace(10, 3, "abc");
    giaFatta.replace(30, 2, "xy");
    std::string mezza = Immagine();
    mezza.replace(10, 3, "abc");
    std::string applicata = giaFatta;
    const std::vector<Caso> casi = {
        {"all expected", {primo, secondo}, false, Immagine(), Applicata, applicata},
        {"all in place", {primo, secondo}, false, giaFatta, GiaApplicata, giaFatta},
        {"first in place, second not", {primo, secondo}, false, mezza, NonRiconosciuta, mezza},
        {"the third does not match", {primo, secondo, Record(40, "??", "!!")}, false, Immagine(), NonRiconosciuta,
         Immagine()},
        {"a record past the end", {primo, Record(63, "zz", "ZZ")}, false, Immagine(), NonRiconosciuta, Immagine()},
        {"removed", {primo, secondo}, true, giaFatta, Applicata, Immagine()},
        {"removed already", {primo, secondo}, true, Immagine(), GiaApplicata, Immagine()},
        {"removal of half of it", {primo, secondo}, true, mezza, NonRiconosciuta, mezza},
        // Overlapping records see what the one before them wrote.
        {"overlapping", {Record(10, "ABC", "abc"), Record(12, "c", "!")}, false, Immagine(), Applicata,
         Immagine().replace(10, 3, "ab!")},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        std::string immagine = c.prima;
        EXPECT_EQ(ApplicaRecordPatch(immagine, c.set, 0, c.rimuovi, false), c.esito);
        EXPECT_EQ(immagine, c.dopo);
    }
    std::string immagine = Immagine();
    EXPECT_EQ(ApplicaRecordPatch(immagine, {Record(10, "zzz", "yyy")}, 0, false, true), Applicata);
    EXPECT_EQ(immagine.substr(10, 3), "yyy");
    EXPECT_EQ(ApplicaRecordPatch(immagine, {primo}, 1, false, false), NonRiconosciuta) << "no record from 1";
}

TEST(PatchEngine, RelocationTriesTheBuildShiftFirst) {
    std::string immagine(400, '.');
    const RecordPatch r = Record(200, "KEY!", "key!");
    struct Caso {
        const char* nome;
        std::vector<int32_t> dove;  // where "KEY!" lies
        std::vector<int32_t> doveNuovi;
        int32_t esito, spostamento;
    };
    const std::vector<Caso> casi = {
        {"in place", {200, 152}, {}, Applicata, 0},
        {"-48 before +48", {152, 248}, {}, Applicata, -48},
        {"+48 before -1", {248, 199}, {}, Applicata, 48},
        {"the nearest low one in the range", {90, 310}, {}, Applicata, -110},
        {"already applied at +48", {}, {248}, GiaApplicata, 48},
        {"outside the range", {87, 313}, {}, NonRiconosciuta, 0},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        std::string d = immagine;
        for (const int32_t p : c.dove) d.replace(static_cast<size_t>(p), 4, "KEY!");
        for (const int32_t p : c.doveNuovi) d.replace(static_cast<size_t>(p), 4, "key!");
        int32_t spostamento = 99;
        EXPECT_EQ(CercaRecordPatch(d, r, false, spostamento, false), c.esito);
        EXPECT_EQ(spostamento, c.spostamento);
    }
    // Removal looks for the new bytes.
    std::string d = immagine;
    d.replace(248, 4, "key!");
    int32_t spostamento = 0;
    EXPECT_EQ(CercaRecordPatch(d, r, true, spostamento, false), Applicata);
    EXPECT_EQ(spostamento, 48);
}

TEST(PatchEngine, AnAnchorIsFoundByItsOriginalBytesNearestToItsPlace) {
    const RecordPatch ancora = Record(200, "ANCHOR", "anchor");
    struct Caso {
        const char* nome;
        std::vector<int32_t> dove;
        int32_t esito, spostamento;
    };
    const std::vector<Caso> casi = {
        {"-16 and +40", {184, 240}, Applicata, -16},
        {"-100 and +3", {100, 203}, Applicata, 3},
        {"a tie goes to the lower", {190, 210}, Applicata, -10},
        {"far away", {5000}, Applicata, 4800},
        {"in place", {200, 260}, Applicata, 0},
        {"nowhere", {}, NonRiconosciuta, 0},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        std::string d(6000, '.');
        for (const int32_t p : c.dove) d.replace(static_cast<size_t>(p), 6, "ANCHOR");
        for (const bool rimuovi : {false, true}) {
            int32_t spostamento = 99;
            EXPECT_EQ(CercaRecordPatch(d, ancora, rimuovi, spostamento, true), c.esito);
            EXPECT_EQ(spostamento, c.spostamento);
        }
    }
    // Overlapping occurrences all count.
    std::string d(300, '.');
    d.replace(150, 7, "AAAAAAA");
    int32_t spostamento = 0;
    EXPECT_EQ(CercaRecordPatch(d, Record(152, "AAAA", "BBBB"), false, spostamento, true), Applicata);
    EXPECT_EQ(spostamento, 0);
}

}  // namespace
