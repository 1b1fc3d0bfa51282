#include "tests/support/SyntheticExe.h"

#include "patcher/PatchSets.h"

namespace {

std::string B(std::initializer_list<uint8_t> b) { return std::string(b.begin(), b.end()); }

std::string Le32(uint32_t v) {
    return B({static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
              static_cast<uint8_t>(v >> 24)});
}

}  // namespace

void Poni(std::string& dati, int64_t offset, const std::string& byte) {
    if (offset >= 0 && offset + static_cast<int64_t>(byte.size()) <= static_cast<int64_t>(dati.size()))
        dati.replace(static_cast<size_t>(offset), byte.size(), byte);
}

std::string ProgrammaSintetico(int64_t dimensione, const std::string& testo, int64_t offset, uint32_t dataPe) {
    std::string d(static_cast<size_t>(dimensione), '\0');
    Poni(d, 0, "MZ");
    Poni(d, 60, Le32(0x80));
    Poni(d, 0x80, std::string("PE\0\0", 4) + B({0x4C, 0x01}));
    Poni(d, 0x88, Le32(dataPe));
    if (offset >= 0) Poni(d, offset, testo);
    return d;
}

std::string EseguibileSintetico(const OpzioniEseguibile& o) {
    std::string d = ProgrammaSintetico(o.dimensione, "", -1, o.dataPe);
    for (size_t i = 0; i < o.lingue.size(); ++i)
        Poni(d, 0x2000 + 0x20 * static_cast<int64_t>(i), o.lingue[i] + std::string("logo.pak", 9));
    if (o.marchioFilmati) Poni(d, 0x3000, std::string("fmv\\fmv%02d.bik", 16));
    if (o.sondaA)
        Poni(d, 0x6FAAD, B({0x8B, 0x5C, 0x24, 0x40, 0x83, 0xC0, 0x0C, 0x43, 0x3B, 0x5E, 0x50, 0x89, 0x5C, 0x24,
                            0x40, 0x0F, 0x8C, 0x5C, 0xFF, 0xFF, 0xFF, 0x89, 0x54, 0x24, 0x20, 0x33, 0xDB}));
    Poni(d, 0x9C61A + o.spostamentoB, B({0x8B, 0x4C, 0x24, 0x1C, 0x8B, 0x54, 0x24, 0x10, 0x5F, 0x5E, 0x89, 0x51,
                                         0x0C, 0x89, 0x43, 0x30, 0x8B, 0x44, 0x24, 0x18, 0x5D, 0x5B, 0x59, 0xC3}));
    if (o.sondeCD) {
        Poni(d, 0xA9F4C, std::string("OpenFileMappingA", 17));
        Poni(d, 0xBC078, std::string("oversubscribed distance tree", 29));
    }
    std::vector<SetPatch> set;
    if (o.build == BuildGioco::LE_UK)
        set = {SetPatch::FastPatchUE, SetPatch::MappaturaUK, SetPatch::CaricamentoUK, SetPatch::AltEnterV1};
    else if (o.build == BuildGioco::LE_INT4)
        set = {SetPatch::FastPatchLEInt4, SetPatch::MappaturaInt4, SetPatch::CaricamentoInt4, SetPatch::AltEnterV2};
    for (const SetPatch s : set)
        for (const RecordPatch& r : RecordSet(s)) Poni(d, r.Offset, r.Originali);
    return d;
}
