#include "patcher/PatchSets.h"

#include <cstdint>
#include <string>

// Only a few bytes of these tables are known here: the loop of the fast
// loading patch, the texts it writes, the code the signature probes, the
// texts and the zero run of the mapping fix, and the Alt_Enter bytes. Every
// other byte is a stand-in drawn from its offset. Each set keeps at least
// one record whose expected bytes are stand-ins, so that no set can match a
// real executable and write code that is not the real patch: such a set is
// not recognised and the executable stays as it is.

namespace {

// A stand-in for an unknown expected byte; an unknown new byte is the
// expected one with its bits flipped, so that the record always changes.
char Ignoto(int32_t offset, int32_t i) {
    uint32_t x = static_cast<uint32_t>(offset + i) * 2654435761u;
    x ^= x >> 15;
    x *= 2246822519u;
    x ^= x >> 13;
    return static_cast<char>(x & 0xFF);
}

struct Bozza {
    RecordPatch r;
    Bozza(int32_t offset, int32_t n) {
        r.Offset = offset;
        r.Lunghezza = n;
        r.Originali.resize(static_cast<size_t>(n));
        r.Nuovi.resize(static_cast<size_t>(n));
        noti.assign(static_cast<size_t>(n), false);
        for (int32_t i = 0; i < n; ++i) r.Originali[static_cast<size_t>(i)] = Ignoto(offset, i);
        Nuovi();
    }
    // The unknown new bytes follow the expected ones.
    void Nuovi() {
        for (size_t i = 0; i < r.Nuovi.size(); ++i)
            if (!noti[i]) r.Nuovi[i] = static_cast<char>(r.Originali[i] ^ 0xA5);
    }
    Bozza& Originali(size_t da, const std::string& byte) {
        r.Originali.replace(da, byte.size(), byte);
        Nuovi();
        return *this;
    }
    Bozza& NuoviNoti(size_t da, const std::string& byte) {
        r.Nuovi.replace(da, byte.size(), byte);
        for (size_t i = da; i < da + byte.size(); ++i) noti[i] = true;
        return *this;
    }
    operator RecordPatch() const { return r; }
    std::vector<bool> noti;
};

std::string B(std::initializer_list<uint8_t> b) { return std::string(b.begin(), b.end()); }
std::string Nul(const char* testo) { return std::string(testo) + '\0'; }
std::string Run(size_t n, char c) { return std::string(n, c); }

std::vector<RecordPatch> Ignoti(std::initializer_list<std::pair<int32_t, int32_t>> voci) {
    std::vector<RecordPatch> v;
    for (const auto& [offset, n] : voci) v.push_back(Bozza(offset, n));
    return v;
}

std::vector<RecordPatch> FastUE() {
    std::vector<RecordPatch> v;
    v.push_back(Bozza(0x74BAB, 9)
                    .Originali(0, B({0xA1, 0x7C, 0x32, 0x53, 0x00, 0x85, 0xC0, 0x75, 0xF7}))
                    .NuoviNoti(0, B({0xE8, 0x71, 0xDB, 0x00, 0x00, 0x90, 0x90, 0x90, 0x90})));
    for (const RecordPatch& r : Ignoti({{0x82721, 13}, {0x82F91, 13}, {0x866C1, 13}, {0x8D1C2, 9}, {0x8D1D5, 9}}))
        v.push_back(r);
    v.push_back(Bozza(0x8D611, 14).NuoviNoti(6, B({0x59, 0x8B, 0x01, 0x85, 0xC0, 0x74, 0xF3, 0xC3})));
    for (const RecordPatch& r : Ignoti({{0x8D631, 14}, {0x8D651, 15}, {0x8E7A1, 12}, {0x8E961, 13}})) v.push_back(r);
    v.push_back(Bozza(0x917D1, 13).Originali(0, Run(13, '\x90')).NuoviNoti(0, Nul("kernel32.dll")));
    v.push_back(Bozza(0x922B1, 6).Originali(0, Run(6, '\x90')).NuoviNoti(0, Nul("Sleep")));
    return v;
}

std::vector<RecordPatch> FastInt4() {
    return {Bozza(0x74BDB, 9).Originali(5, B({0x85, 0xC0, 0x75, 0xF7})).NuoviNoti(0, B({0xE8})),
            Bozza(0x8D1F2, 9).NuoviNoti(0, Run(9, '\x90')), Bozza(0x922E1, 6).NuoviNoti(0, Nul("Sleep")),
            Bozza(0x9DEEA, 37)};
}

std::vector<RecordPatch> MappaturaUK() {
    std::vector<RecordPatch> v =
        Ignoti({{0x99E66, 6}, {0x99EDF, 2}, {0x99F01, 1}, {0x99FD0, 31}, {0x9A034, 8}, {0x9F1BB, 6}});
    v.push_back(Bozza(0xA6FB2, 47).Originali(0, Run(47, '\0')).NuoviNoti(0, Nul("UnmapViewOfFile")));
    return v;
}

// The LE_INT4 build holds the LE_UK bytes, stand-ins and all, <spostamento>
// bytes higher.
std::vector<RecordPatch> AltEnter(int32_t spostamento) {
    std::vector<RecordPatch> v = {Bozza(0x9164F, 1).Originali(0, B({0x84})).NuoviNoti(0, B({0x85})),
                                  Bozza(0x91668, 40).NuoviNoti(0, Run(40, '\x90')),
                                  Bozza(0x9172F, 23).NuoviNoti(0, Run(23, '\x90'))};
    for (RecordPatch& r : v) r.Offset += spostamento;
    return v;
}

}  // namespace

const std::vector<RecordPatch>& RecordSet(SetPatch set) {
    static const std::vector<RecordPatch> fastUE = FastUE();
    static const std::vector<RecordPatch> fastInt4 = FastInt4();
    static const std::vector<RecordPatch> mappaturaUK = MappaturaUK();
    static const std::vector<RecordPatch> mappaturaInt4 =
        Ignoti({{0x1E31, 13}, {0x99E96, 6}, {0x99F0F, 2}, {0x99F31, 1}, {0x9A000, 31}, {0x9A064, 8}, {0x9F1EB, 6},
                {0xA6FE2, 23}, {0xAD46C, 15}});
    static const std::vector<RecordPatch> caricamentoUK = Ignoti({{0x757F0, 24}, {0x9DEBA, 27}});
    static const std::vector<RecordPatch> caricamentoInt4 = Ignoti({{0x75820, 24}, {0xA6CBA, 28}});
    static const std::vector<RecordPatch> altEnterV1 = AltEnter(0);
    static const std::vector<RecordPatch> altEnterV2 = AltEnter(SpostamentoBuild);
    switch (set) {
        case SetPatch::FastPatchUE: return fastUE;
        case SetPatch::FastPatchLEInt4: return fastInt4;
        case SetPatch::MappaturaUK: return mappaturaUK;
        case SetPatch::MappaturaInt4: return mappaturaInt4;
        case SetPatch::CaricamentoUK: return caricamentoUK;
        case SetPatch::CaricamentoInt4: return caricamentoInt4;
        case SetPatch::AltEnterV1: return altEnterV1;
        case SetPatch::AltEnterV2: return altEnterV2;
    }
    return fastUE;
}
