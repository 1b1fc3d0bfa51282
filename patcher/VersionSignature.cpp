#include "patcher/VersionSignature.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "core/TextUtils.h"

namespace {

std::string Nul(const char* testo) { return std::string(testo) + '\0'; }

std::string Byte(std::initializer_list<uint8_t> b) { return std::string(b.begin(), b.end()); }

bool LeggiI32(const std::string& dati, int64_t at, int32_t& valore) {
    if (at < 0 || at + 4 > static_cast<int64_t>(dati.size())) return false;
    uint32_t v = 0;
    for (int k = 3; k >= 0; --k) v = (v << 8) | static_cast<uint8_t>(dati[static_cast<size_t>(at) + k]);
    valore = static_cast<int32_t>(v);
    return true;
}

bool ByteA(const std::string& dati, int64_t at, const std::string& attesi) {
    return at >= 0 && at + static_cast<int64_t>(attesi.size()) <= static_cast<int64_t>(dati.size()) &&
           std::memcmp(dati.data() + at, attesi.data(), attesi.size()) == 0;
}

struct Programma {
    const char* nome;
    const char* prefisso;
    const char* marcatore;
    int64_t offset;
    int64_t dimensione;
};
const Programma Editor[] = {
    {"SCRIPT.EXE", "SC", "\\c\\script.c", 0x1692D, 0x1A9DC},
    {"TOM2PC.EXE", "TP", "PC Level Converter", 0x199C0, 0x20000},
    {"WINROOMEDIT.EXE", "WE", "Room Edit", 0x61C38, 0x69000},
};

struct Sonda {
    const char* etichetta;
    std::string cerca;
    int64_t offset;
};

// The body of the game executable's signature, up to the size.
std::string CorpoTomb4(const std::string& dati, std::string& prefisso, bool& deviazione) {
    const bool lr = dati.find(Nul("fmv\\fmv%02d.bik")) != std::string::npos;
    prefisso = lr ? "LR" : "LE";

    std::vector<std::string> lingue;
    const std::string logo = Nul("logo.pak");
    for (size_t p = dati.find(logo); p != std::string::npos; p = dati.find(logo, p + 1))
        if (p >= 2) lingue.push_back(MaiuscoloAscii(dati.substr(p - 2, 2)));
    std::string corpo;
    if (lingue.size() >= 3) corpo = "INT" + std::to_string(lingue.size());
    else if (lingue.size() == 2) corpo = lingue[0] + "/" + lingue[1];
    else if (lingue.size() == 1) corpo = lingue[0];
    else corpo = "UNKNOWN";
    corpo += "_";

    const Sonda sonde[] = {
        {"A", Byte({0x8B, 0x5C, 0x24, 0x40, 0x83, 0xC0, 0x0C, 0x43, 0x3B, 0x5E, 0x50, 0x89, 0x5C, 0x24,
                    0x40, 0x0F, 0x8C, 0x5C, 0xFF, 0xFF, 0xFF, 0x89, 0x54, 0x24, 0x20, 0x33, 0xDB}),
         0x6FAAD},
        {"B", Byte({0x8B, 0x4C, 0x24, 0x1C, 0x8B, 0x54, 0x24, 0x10, 0x5F, 0x5E, 0x89, 0x51,
                    0x0C, 0x89, 0x43, 0x30, 0x8B, 0x44, 0x24, 0x18, 0x5D, 0x5B, 0x59, 0xC3}),
         0x9C61A},
        {"C", Nul("OpenFileMappingA"), 0xA9F4C},
        {"D", Nul("oversubscribed distance tree"), 0xBC078},
    };
    size_t posizioni[4];
    for (int i = 0; i < 4; ++i) {
        posizioni[i] = dati.find(sonde[i].cerca);
        std::string segno = SegnoDeviazione(posizioni[i], sonde[i].offset, true);
        if (i == 0 && lr && posizioni[i] == std::string::npos) segno = "0";
        if (segno != "0") {
            corpo += std::string(sonde[i].etichetta) + ":" + segno + "_";
            deviazione = true;
        }
    }

    const bool aPosto = posizioni[0] == static_cast<size_t>(sonde[0].offset);
    const bool bPosto = posizioni[1] == static_cast<size_t>(sonde[1].offset);
    const bool bSpostata = posizioni[1] == static_cast<size_t>(sonde[1].offset + 0x30);
    if ((aPosto && (bPosto || bSpostata)) || lr) {
        const int64_t build = (aPosto && bSpostata && !lr) ? 0x30 : 0;
        std::string segno;
        if (!ByteA(dati, lr ? 0x76719 : 0x74BB0 + build, Byte({0x85, 0xC0, 0x75, 0xF7}))) {
            segno = "XP";
            if (!lr) {
                const bool sleep = dati.find(Nul("Sleep")) == static_cast<size_t>(0x922B1 + build);
                const bool codice = ByteA(dati, 0x8D617 + build, Byte({0x59, 0x8B, 0x01, 0x85, 0xC0, 0x74, 0xF3, 0xC3}));
                if (!(sleep && codice)) segno += "new";
            }
        }
        if (!segno.empty()) corpo += "P:" + segno + "_";
    }
    return corpo;
}

}  // namespace

std::string SegnoDeviazione(size_t trovato, int64_t atteso, bool segnoNegativo) {
    if (trovato == std::string::npos) return "M";
    const int64_t d = static_cast<int64_t>(trovato) - atteso;
    if (d == 0) return "0";
    if (d > 0) return Esadecimale(static_cast<uint64_t>(d));
    return (segnoNegativo ? "N" : "") + Esadecimale(static_cast<uint64_t>(-d));
}

DataOra DataDaSecondi(int64_t secondi) {
    int64_t giorni = secondi / 86400, resto = secondi % 86400;
    if (resto < 0) {
        resto += 86400;
        --giorni;
    }
    // Days to a civil date (proleptic Gregorian).
    const int64_t z = giorni + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    DataOra d;
    d.Giorno = static_cast<int32_t>(doy - (153 * mp + 2) / 5 + 1);
    d.Mese = static_cast<int32_t>(mp < 10 ? mp + 3 : mp - 9);
    d.Anno = static_cast<int32_t>(yoe + era * 400 + (d.Mese <= 2 ? 1 : 0));
    d.Ora = static_cast<int32_t>(resto / 3600);
    d.Minuto = static_cast<int32_t>(resto % 3600 / 60);
    d.Secondo = static_cast<int32_t>(resto % 60);
    return d;
}

std::string FormattaDataMese(const DataOra& data) {
    static const char* const mesi[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const char* mese = data.Mese >= 1 && data.Mese <= 12 ? mesi[data.Mese - 1] : "";
    char t[64];
    std::snprintf(t, sizeof t, "%d-%s-%04d  %02d:%02d", data.Giorno, mese, data.Anno, data.Ora, data.Minuto);
    return t;
}

bool DataEseguibileDaDati(const std::string& dati, DataOra& data, std::string& errore) {
    int32_t pe = 0, stampo = 0;
    if (!LeggiI32(dati, 60, pe) || !LeggiI32(dati, static_cast<int64_t>(pe) + 8, stampo)) {
        errore = "Input past end of file: no PE header";
        return false;
    }
    data = DataDaSecondi(stampo);
    return true;
}

bool FirmaDaDati(const std::string& nomeFile, const std::string& dati, std::string& firma, std::string& errore) {
    DataOra data;
    if (!DataEseguibileDaDati(dati, data, errore)) return false;
    const std::string nome = MaiuscoloAscii(nomeFile);
    std::string prefisso = "??", corpo;
    bool deviazione = false;
    int64_t riferimento = 0;
    if (nome == "TOMB4.EXE") {
        corpo = CorpoTomb4(dati, prefisso, deviazione);
        riferimento = DimensioneTomb4;
    } else {
        const Programma* programma = nullptr;
        for (const Programma& p : Editor)
            if (nome == p.nome) programma = &p;
        if (programma) {
            prefisso = programma->prefisso;
            riferimento = programma->dimensione;
            const std::string segno =
                SegnoDeviazione(dati.find(programma->marcatore), programma->offset, false);
            if (segno != "0") {
                corpo += segno + "_";
                deviazione = true;
            }
        } else {
            deviazione = true;
        }
    }
    if (riferimento != 0) {
        const int64_t d = static_cast<int64_t>(dati.size()) - riferimento;
        if (d != 0) {
            corpo += "S:" + SegnoDeviazione(static_cast<size_t>(static_cast<int64_t>(dati.size())), riferimento, true);
            deviazione = true;
        }
    }
    if (!corpo.empty() && corpo.back() == '_') corpo.pop_back();
    if (!deviazione) corpo += "_Standard";
    firma = prefisso + "_" + corpo + " (" + FormattaDataMese(data) + ")";
    // One pass, as the text is built: "___" keeps one pair.
    std::string unita;
    for (size_t i = 0; i < firma.size(); ++i) {
        unita += firma[i];
        if (firma[i] == '_' && i + 1 < firma.size() && firma[i + 1] == '_') ++i;
    }
    firma = unita;
    return true;
}
