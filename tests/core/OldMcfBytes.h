#pragma once
// Old (version 1.4) media configurations as bytes: a writer that lays the
// records field after field, and records laid by hand at the offsets of
// the old layout, so that reader and writer cannot share one mistake.
#include <cstdint>
#include <cstring>
#include <string>

#include "core/ByteStream.h"
#include "core/OldMediaConfig.h"

namespace vecchio {

// A path field: blank padded to 256 characters, cut when longer.
inline std::string Campo(const std::string& percorso) {
    std::string s = percorso.substr(0, LunghezzaPercorsoVecchio);
    s.resize(LunghezzaPercorsoVecchio, ' ');
    return s;
}

inline std::string Componi(const MediaConfigVecchia& c) {
    ScrittoreByte f;
    f.ScriviI32(c.TriggerCount);
    f.ScriviByte(c.Reserved.data(), c.Reserved.size());
    for (const MediaTriggerVecchio& v : c.Record) {
        const auto percorso = [&](const std::string& p) {
            const std::string s = Campo(p);
            f.ScriviByte(s.data(), s.size());
        };
        percorso(v.FileFilmato);
        f.ScriviI16(v.EscapeAbilitato);
        for (int32_t n : {v.Ritardo, v.CdTrigger, v.FlagVecchi, v.NonUsato}) f.ScriviI32(n);
        for (const std::string* p : {&v.FileImmagine, &v.FileTesto, &v.FileSuono, &v.FileProgramma}) percorso(*p);
        for (int32_t n : {v.ScrollStep, v.ScrollDelay, v.Duration}) f.ScriviI32(n);
        f.ScriviI16(v.SuonoCiclico);
        for (int32_t n : {v.CharRow, v.BackColor, v.Color, v.Align, v.MargineX, v.MargineY, v.Repeat, v.SoundCd,
                          v.AntiTriggerCd, v.FadeTime, v.EndWait})
            f.ScriviI32(n);
    }
    return f.Dati();
}

// One record of 1356 bytes, its fields put at their offsets.
class RecordAMano {
public:
    RecordAMano() : b_(1356, ' ') {
        // Numbers start at zero; only the path fields keep their blanks.
        for (size_t o : {256u, 1298u}) std::memset(&b_[o], 0, o == 256 ? 18 : 58);
    }
    RecordAMano& Testo(size_t offset, const std::string& p) {
        b_.replace(offset, 256, Campo(p));
        return *this;
    }
    RecordAMano& I32(size_t offset, int64_t v) {
        for (int i = 0; i < 4; ++i) b_[offset + i] = static_cast<char>(static_cast<uint32_t>(v) >> (8 * i));
        return *this;
    }
    RecordAMano& I16(size_t offset, int v) {
        b_[offset] = static_cast<char>(v & 0xFF);
        b_[offset + 1] = static_cast<char>((v >> 8) & 0xFF);
        return *this;
    }
    const std::string& Bytes() const { return b_; }

private:
    std::string b_;
};

// Offsets of the old record.
enum : size_t {
    Filmato = 0, Escape = 256, Ritardo = 258, CdTrigger = 262, Flag = 266, NonUsato = 270, Immagine = 274,
    Testo = 530, Suono = 786, Programma = 1042, ScrollStep = 1298, ScrollDelay = 1302, Durata = 1306,
    Ciclico = 1310, CharRow = 1312, BackColor = 1316, Colore = 1320, Allinea = 1324, MargineX = 1328,
    MargineY = 1332, Ripeti = 1336, SoundCd = 1340, AntiCd = 1344, Fade = 1348, EndWait = 1352,
};

const std::string Riservati("\x10\x20\x30\x40\x50\x60\x70\x80\x90\xA0\xB0\xC0\xD0\xE0\xF0\xFF", 16);

inline std::string Intestazione(int64_t n) {
    std::string s;
    for (int i = 0; i < 4; ++i) s += static_cast<char>(static_cast<uint32_t>(n) >> (8 * i));
    return s + Riservati;
}

}  // namespace vecchio
