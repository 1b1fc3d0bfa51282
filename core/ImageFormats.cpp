#include "core/ImageFormats.h"

#include "core/ByteStream.h"
#include "core/FileUtils.h"
#include "core/MediaLog.h"

bool LeggiImageSequence(const std::string& dati, FileSequenzaImmagini& s) {
    LettoreByte file(dati);
    int32_t count = 0;
    int16_t parola = 0;
    if (!file.LeggiI32(count) || !file.LeggiI16(parola)) return false;
    if (count < 0 || static_cast<uint64_t>(count) > file.Rimanenti() / LunghezzaRecordSequenza) return false;
    s.Count = count;
    s.SequenceWord = parola;
    s.Immagini.assign(static_cast<size_t>(count) + 1, ImmagineFileSequenza{std::string(LunghezzaNomeSequenza, ' '), 0});
    for (int32_t i = 0; i < count; ++i) {
        ImmagineFileSequenza& im = s.Immagini[static_cast<size_t>(i)];
        if (!file.LeggiByte(im.FileName.data(), LunghezzaNomeSequenza) || !file.LeggiI32(im.Value)) return false;
    }
    return true;
}

std::string ComponiImageSequence(const FileSequenzaImmagini& s) {
    ScrittoreByte file;
    file.ScriviI32(s.Count);
    file.ScriviI16(s.SequenceWord);
    for (int32_t i = 0; i < s.Count && static_cast<size_t>(i) < s.Immagini.size(); ++i) {
        std::string nome = s.Immagini[static_cast<size_t>(i)].FileName;
        nome.resize(LunghezzaNomeSequenza, ' ');
        file.ScriviByte(nome.data(), nome.size());
        file.ScriviI32(s.Immagini[static_cast<size_t>(i)].Value);
    }
    return file.Dati();
}

std::string ComponiBmp24(int32_t larghezza, int32_t altezza, const std::string& pixel) {
    if (larghezza <= 0 || altezza <= 0) return "";
    const uint64_t riga = static_cast<uint64_t>(larghezza) * 3;
    const uint64_t passo = (riga + 3) / 4 * 4;
    const uint64_t immagine = passo * static_cast<uint64_t>(altezza);
    if (pixel.size() != riga * static_cast<uint64_t>(altezza) || immagine > 0x7FFFFFFF - 54) return "";
    ScrittoreByte f;
    f.ScriviByte("BM", 2);
    f.ScriviI32(static_cast<int32_t>(54 + immagine));
    f.ScriviI32(0);
    f.ScriviI32(54);
    f.ScriviI32(40);
    f.ScriviI32(larghezza);
    f.ScriviI32(altezza);
    f.ScriviI16(1);
    f.ScriviI16(24);
    f.ScriviI32(0);  // no compression
    f.ScriviI32(static_cast<int32_t>(immagine));
    f.ScriviI32(2835);  // 72 dpi
    f.ScriviI32(2835);
    f.ScriviI32(0);
    f.ScriviI32(0);
    const std::string riempimento(static_cast<size_t>(passo - riga), '\0');
    for (int32_t y = altezza - 1; y >= 0; --y) {
        f.ScriviByte(pixel.data() + static_cast<size_t>(riga) * static_cast<size_t>(y), static_cast<size_t>(riga));
        f.ScriviByte(riempimento.data(), riempimento.size());
    }
    return f.Dati();
}

bool CaricaImageSequence(const std::string& percorso, FileSequenzaImmagini& sequenza) {
    sequenza.Count = 0;
    if (!EsisteFile(percorso)) {
        return RigaErrore("Image sequence file \"" + percorso + "\" not found");
    }
    std::string dati;
    FileSequenzaImmagini letta;
    if (!LeggiFileIntero(percorso, dati) || !LeggiImageSequence(dati, letta)) {
        return RigaErrore("Error loading image sequence file: " + percorso);
    }
    sequenza = letta;
    return true;
}

namespace {
uint32_t U32(const std::string& d, size_t i) {
    return static_cast<uint8_t>(d[i]) | static_cast<uint8_t>(d[i + 1]) << 8 | static_cast<uint8_t>(d[i + 2]) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(d[i + 3])) << 24;
}
uint16_t U16(const std::string& d, size_t i) {
    return static_cast<uint16_t>(static_cast<uint8_t>(d[i]) | static_cast<uint8_t>(d[i + 1]) << 8);
}
}  // namespace

bool StrutturaBmpDisegnabile(const std::string& dati, StrutturaBmp& bmp) {
    bmp = StrutturaBmp{};
    constexpr size_t Testa = 14, InfoMinima = 40;
    if (dati.size() < Testa + InfoMinima || dati[0] != 'B' || dati[1] != 'M') return false;
    const uint32_t inizioPixel = U32(dati, 10);
    const uint32_t info = U32(dati, 14);
    const auto larghezza = static_cast<int32_t>(U32(dati, 18));
    const auto altezza = static_cast<int32_t>(U32(dati, 22));
    const uint16_t piani = U16(dati, 26), bit = U16(dati, 28);
    const uint32_t compressione = U32(dati, 30), colori = U32(dati, 46);
    if (info < InfoMinima || info > dati.size() - Testa) return false;
    if (larghezza <= 0 || larghezza > 32768 || altezza == 0 || altezza < -32768 || altezza > 32768 || piani != 1)
        return false;
    if (bit != 1 && bit != 4 && bit != 8 && bit != 16 && bit != 24 && bit != 32) return false;
    constexpr uint32_t SenzaCompressione = 0, CampiBit = 3;
    if (compressione != SenzaCompressione && !(compressione == CampiBit && (bit == 16 || bit == 32))) return false;
    uint64_t tabella = 0;
    if (bit <= 8) {
        const uint32_t massimo = 1u << bit;
        if (colori > massimo) return false;
        tabella = static_cast<uint64_t>(colori ? colori : massimo) * 4;
    } else if (compressione == CampiBit && info == InfoMinima) {
        tabella = 12;  // the three masks follow the header
    }
    const uint64_t testate = Testa + static_cast<uint64_t>(info) + tabella;
    const uint64_t passo = (static_cast<uint64_t>(larghezza) * bit + 31) / 32 * 4;
    const uint64_t pixel = passo * static_cast<uint64_t>(altezza < 0 ? -static_cast<int64_t>(altezza) : altezza);
    if (inizioPixel < testate || inizioPixel > dati.size() || pixel > dati.size() - inizioPixel) return false;
    bmp.LunghezzaInfo = static_cast<size_t>(testate - Testa);
    bmp.InizioPixel = inizioPixel;
    bmp.LunghezzaPixel = static_cast<size_t>(pixel);
    bmp.Larghezza = larghezza;
    bmp.Altezza = altezza;
    return true;
}
