// The built-in patch sets against the game's two builds as written out by
// hand: where every record sits, how long it is and its place in its set,
// and the bytes known of it. The other tests take their images from these
// tables, so only this one sees a table that moved away from the builds.
// Built for the host as well.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "patcher/PatchSets.h"

namespace {

std::string B(std::initializer_list<uint8_t> b) { return std::string(b.begin(), b.end()); }
std::string Run(size_t n, uint8_t b) { return std::string(n, static_cast<char>(b)); }
std::string Nul(const char* testo) { return std::string(testo) + '\0'; }

struct Posto {
    int32_t offset, lunghezza;
};

// Bytes known of one record from byte <da> on ("" where not known).
struct Noti {
    size_t record, da;
    std::string originali, nuovi;
};

struct CasoSet {
    const char* nome;
    SetPatch set;
    std::vector<Posto> posti;
    std::vector<Noti> noti;
};

std::vector<Noti> AltEnter() {
    return {{0, 0, B({0x84}), B({0x85})}, {1, 0, "", Run(40, 0x90)}, {2, 0, "", Run(23, 0x90)}};
}

const std::vector<CasoSet>& Casi() {
    static const std::vector<CasoSet> casi = {
        {"fast loading, LE_UK", SetPatch::FastPatchUE,
         {{0x74BAB, 9}, {0x82721, 13}, {0x82F91, 13}, {0x866C1, 13}, {0x8D1C2, 9}, {0x8D1D5, 9}, {0x8D611, 14},
          {0x8D631, 14}, {0x8D651, 15}, {0x8E7A1, 12}, {0x8E961, 13}, {0x917D1, 13}, {0x922B1, 6}},
         {// The loop that spins on a memory word becomes a call.
          {0, 0, B({0xA1, 0x7C, 0x32, 0x53, 0x00, 0x85, 0xC0, 0x75, 0xF7}),
           B({0xE8, 0x71, 0xDB, 0x00, 0x00, 0x90, 0x90, 0x90, 0x90})},
          // The code that the version signature looks for at 0x8D617.
          {6, 6, "", B({0x59, 0x8B, 0x01, 0x85, 0xC0, 0x74, 0xF3, 0xC3})},
          {11, 0, Run(13, 0x90), Nul("kernel32.dll")},
          {12, 0, Run(6, 0x90), Nul("Sleep")}}},
        {"fast loading, LE_INT4", SetPatch::FastPatchLEInt4,
         {{0x74BDB, 9}, {0x8D1F2, 9}, {0x922E1, 6}, {0x9DEEA, 37}},
         {// The same loop, tested and jumped back, turned into a call.
          {0, 5, B({0x85, 0xC0, 0x75, 0xF7}), ""},
          {0, 0, "", B({0xE8})},
          {1, 0, "", Run(9, 0x90)},
          {2, 0, "", Nul("Sleep")}}},
        {"close mapping file, LE_UK", SetPatch::MappaturaUK,
         {{0x99E66, 6}, {0x99EDF, 2}, {0x99F01, 1}, {0x99FD0, 31}, {0x9A034, 8}, {0x9F1BB, 6}, {0xA6FB2, 47}},
         {{6, 0, Run(47, 0x00), Nul("UnmapViewOfFile")}}},
        {"close mapping file, LE_INT4", SetPatch::MappaturaInt4,
         {{0x1E31, 13}, {0x99E96, 6}, {0x99F0F, 2}, {0x99F31, 1}, {0x9A000, 31}, {0x9A064, 8}, {0x9F1EB, 6},
          {0xA6FE2, 23}, {0xAD46C, 15}},
         {}},
        {"loading game, LE_UK", SetPatch::CaricamentoUK, {{0x757F0, 24}, {0x9DEBA, 27}}, {}},
        {"loading game, LE_INT4", SetPatch::CaricamentoInt4, {{0x75820, 24}, {0xA6CBA, 28}}, {}},
        {"Alt_Enter, LE_UK", SetPatch::AltEnterV1, {{0x9164F, 1}, {0x91668, 40}, {0x9172F, 23}}, AltEnter()},
        {"Alt_Enter, LE_INT4", SetPatch::AltEnterV2, {{0x9167F, 1}, {0x91698, 40}, {0x9175F, 23}}, AltEnter()},
    };
    return casi;
}

TEST(PatchSets, EveryRecordSitsWhereTheBuildsHaveIt) {
    for (const CasoSet& c : Casi()) {
        SCOPED_TRACE(c.nome);
        const std::vector<RecordPatch>& set = RecordSet(c.set);
        ASSERT_EQ(set.size(), c.posti.size());
        for (size_t i = 0; i < set.size(); ++i) {
            EXPECT_EQ(set[i].Offset, c.posti[i].offset) << "record " << i;
            EXPECT_EQ(set[i].Lunghezza, c.posti[i].lunghezza) << "record " << i;
            EXPECT_EQ(set[i].Originali.size(), static_cast<size_t>(c.posti[i].lunghezza)) << "record " << i;
            EXPECT_EQ(set[i].Nuovi.size(), static_cast<size_t>(c.posti[i].lunghezza)) << "record " << i;
            EXPECT_NE(set[i].Originali, set[i].Nuovi) << "record " << i;
        }
    }
}

TEST(PatchSets, TheKnownBytesAreTheBuilds) {
    for (const CasoSet& c : Casi()) {
        SCOPED_TRACE(c.nome);
        const std::vector<RecordPatch>& set = RecordSet(c.set);
        for (const Noti& n : c.noti) {
            ASSERT_LT(n.record, set.size());
            const RecordPatch& r = set[n.record];
            if (!n.originali.empty()) {
                EXPECT_EQ(r.Originali.substr(n.da, n.originali.size()), n.originali) << "record " << n.record;
            }
            if (!n.nuovi.empty()) {
                EXPECT_EQ(r.Nuovi.substr(n.da, n.nuovi.size()), n.nuovi) << "record " << n.record;
            }
        }
    }
}

// The LE_INT4 build has the Alt_Enter bytes of the LE_UK build, 0x30 higher.
TEST(PatchSets, BothAltEnterVariantsHaveTheSameBytes) {
    const std::vector<RecordPatch>& uk = RecordSet(SetPatch::AltEnterV1);
    const std::vector<RecordPatch>& int4 = RecordSet(SetPatch::AltEnterV2);
    ASSERT_EQ(uk.size(), int4.size());
    for (size_t i = 0; i < uk.size(); ++i) {
        EXPECT_EQ(int4[i].Offset, uk[i].Offset + 0x30) << i;
        EXPECT_EQ(int4[i].Originali, uk[i].Originali) << i;
        EXPECT_EQ(int4[i].Nuovi, uk[i].Nuovi) << i;
    }
}

}  // namespace
