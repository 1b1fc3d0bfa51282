#include "eventlogger/WavFile.h"

#include <cstdio>
#include <cstring>

#include "core/FileUtils.h"
#include "eventlogger/LoggerLog.h"

namespace {
void Metti32(std::vector<uint8_t>& v, uint32_t x) {
    for (int i = 0; i < 4; ++i) v.push_back(static_cast<uint8_t>(x >> (8 * i)));
}
void MettiTesto(std::vector<uint8_t>& v, const char* testo) {
    for (; *testo; ++testo) v.push_back(static_cast<uint8_t>(*testo));
}
void Metti16(std::vector<uint8_t>& v, uint16_t x) {
    v.push_back(static_cast<uint8_t>(x));
    v.push_back(static_cast<uint8_t>(x >> 8));
}
}  // namespace

bool LoadWavFile(const std::string& percorso, std::vector<uint8_t>& immagine, FormatoWav& formato,
                 const uint8_t*& dati, uint32_t& dimensione) {
    dati = nullptr;
    dimensione = 0;
    FILE* f = ApriFile(percorso, "rb");
    if (!f) {
        LogWrite("ERROR opening wav sound file: " + percorso);
        return false;
    }
    std::fseek(f, 0, SEEK_END);
    const long lunghezza = std::ftell(f);
    std::fseek(f, 0, SEEK_SET);
    if (lunghezza < 0 || lunghezza > 256L * 1024 * 1024) {
        std::fclose(f);
        LogWrite("ERROR allocating memory for wav sound file: " + percorso);
        return false;
    }
    immagine.assign(static_cast<size_t>(lunghezza), 0);
    const size_t letti = std::fread(immagine.data(), 1, immagine.size(), f);
    std::fclose(f);
    immagine.resize(letti);
    if (!ParseWaveChunks(immagine.data(), immagine.size(), formato, dati, dimensione)) {
        LogWrite("ERROR parsing chunks of wav sound file: " + percorso);
        return false;
    }
    return true;
}

std::vector<uint8_t> CreaWav(uint16_t canali, uint32_t frequenza, uint16_t bit, const std::vector<uint8_t>& campioni) {
    std::vector<uint8_t> v;
    const uint16_t blocco = static_cast<uint16_t>(canali * bit / 8);
    const uint32_t pari = static_cast<uint32_t>(campioni.size() & 1);
    MettiTesto(v, "RIFF");
    Metti32(v, static_cast<uint32_t>(4 + 8 + 16 + 8 + campioni.size() + pari));
    MettiTesto(v, "WAVEfmt ");
    Metti32(v, 16);
    Metti16(v, 1);
    Metti16(v, canali);
    Metti32(v, frequenza);
    Metti32(v, frequenza * blocco);
    Metti16(v, blocco);
    Metti16(v, bit);
    MettiTesto(v, "data");
    Metti32(v, static_cast<uint32_t>(campioni.size()));
    v.insert(v.end(), campioni.begin(), campioni.end());
    if (pari) v.push_back(0);
    return v;
}
