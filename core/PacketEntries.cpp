#include "core/PacketEntries.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {
int64_t GiorniCivili(int64_t a, int64_t m, int64_t g) {
    a -= m <= 2;
    const int64_t era = (a >= 0 ? a : a - 399) / 400;
    const int64_t ae = a - era * 400;
    const int64_t ga = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + g - 1;
    const int64_t ge = ae * 365 + ae / 4 - ae / 100 + ga;
    return era * 146097 + ge - 719468;
}
const int64_t Epoca = GiorniCivili(1899, 12, 30);

bool IsNomeDispositivo(const std::string& nome) {
    // The system takes the part before the first dot, blanks trimmed, as
    // the device whatever the extension.
    std::string base = nome.substr(0, nome.find('.'));
    base.erase(base.find_last_not_of(' ') + 1);
    if (base.size() != 3 && base.size() != 4) return false;
    std::string maiuscolo;
    for (char c : base) maiuscolo += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    if (maiuscolo == "CON" || maiuscolo == "PRN" || maiuscolo == "AUX" || maiuscolo == "NUL") return true;
    const std::string prefisso = maiuscolo.substr(0, 3);
    return maiuscolo.size() == 4 && (prefisso == "COM" || prefisso == "LPT") && maiuscolo[3] >= '1' &&
           maiuscolo[3] <= '9';
}

}  // namespace

bool IsNomeFileSemplice(const std::string& nome) {
    if (nome.empty() || nome == "." || nome == "..") return false;
    for (char c : nome)
        if (std::strchr("<>:\"/\\|?*", c) || static_cast<unsigned char>(c) < 0x20) return false;
    return nome.find_first_not_of(" .") != std::string::npos && !IsNomeDispositivo(nome);
}

bool ControllaVociPacchetto(const MediaPacketHeader& h, int64_t lunghezzaFile) {
    if (h.Count < 0 || static_cast<size_t>(h.Count) > h.FileNames.size() ||
        static_cast<size_t>(h.Count) > h.FileSizes.size())
        return false;
    for (size_t i = 0; i < static_cast<size_t>(h.Count); ++i)
        if (h.FileSizes[i] < 0 || !IsNomeFileSemplice(h.FileNames[i])) return false;
    if (h.IsVirtual) return true;
    return h.DataStart >= 0 && h.DataStart + TotaleDimensioni(h) <= lunghezzaFile;
}

int64_t TotaleDimensioni(const MediaPacketHeader& h) {
    int64_t totale = 0;
    for (int32_t i = 0; i < h.Count && static_cast<size_t>(i) < h.FileSizes.size(); ++i) totale += h.FileSizes[i];
    return totale;
}

double DataOle(const DataOra& d) {
    const double giorni = static_cast<double>(GiorniCivili(d.Anno, d.Mese, d.Giorno) - Epoca);
    const double frazione = (d.Ora * 3600.0 + d.Minuto * 60.0 + d.Secondo) / 86400.0;
    // Before the epoch the fraction counts away from zero, as the format has it.
    return giorni < 0 ? giorni - frazione : giorni + frazione;
}

DataOra DaDataOle(double data) {
    DataOra d;
    if (!std::isfinite(data) || data < -657434.0 || data > 2958465.999) data = 0;
    double giorni = std::trunc(data);
    int64_t secondi = std::llround(std::fabs(data - giorni) * 86400.0);
    if (secondi >= 86400) {
        secondi -= 86400;
        giorni += data < 0 ? -1 : 1;
    }
    int64_t z = static_cast<int64_t>(giorni) + Epoca + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t ge = z - era * 146097;
    const int64_t ae = (ge - ge / 1460 + ge / 36524 - ge / 146096) / 365;
    const int64_t ga = ge - (365 * ae + ae / 4 - ae / 100);
    const int64_t mp = (5 * ga + 2) / 153;
    d.Giorno = static_cast<int32_t>(ga - (153 * mp + 2) / 5 + 1);
    d.Mese = static_cast<int32_t>(mp < 10 ? mp + 3 : mp - 9);
    d.Anno = static_cast<int32_t>(ae + era * 400 + (d.Mese <= 2));
    d.Ora = static_cast<int32_t>(secondi / 3600);
    d.Minuto = static_cast<int32_t>(secondi / 60 % 60);
    d.Secondo = static_cast<int32_t>(secondi % 60);
    return d;
}

std::string TestoDataOle(double data) {
    const DataOra d = DaDataOle(data);
    char testo[40];
    std::snprintf(testo, sizeof testo, "%02d/%02d/%04d %02d:%02d:%02d", d.Giorno, d.Mese, d.Anno, d.Ora, d.Minuto,
                  d.Secondo);
    return testo;
}
