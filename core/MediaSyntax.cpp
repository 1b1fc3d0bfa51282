#include "core/MediaSyntax.h"

#include "core/MediaLog.h"
#include "core/MediaTrigger.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"

namespace {

size_t Trova(const std::string& testo, const std::string& cosa, size_t da = 0) {
    return MaiuscoloAscii(testo).find(MaiuscoloAscii(cosa), da);
}

bool Spazio(char c) { return c == ' ' || c == '\t'; }

bool CifraEsadecimale(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int CifraValore(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return c - 'A' + 10;
}

// The parts of a number that passes the test.
struct Numero {
    bool esadecimale = false;
    bool negativo = false;
    std::string intera;   // digits before the point
    std::string decimali; // digits after it
};

bool Analizza(const std::string& testo, Numero& n) {
    size_t i = 0;
    size_t fine = testo.size();
    while (i < fine && Spazio(testo[i])) ++i;
    while (fine > i && Spazio(testo[fine - 1])) --fine;
    if (i == fine) return false;
    if (fine - i >= 2 && testo[i] == '&' && (testo[i + 1] == 'H' || testo[i + 1] == 'h')) {
        n.esadecimale = true;
        i += 2;
        if (i == fine) return false;
        for (; i < fine; ++i) {
            if (!CifraEsadecimale(testo[i])) return false;
            n.intera += testo[i];
        }
        return true;
    }
    if (testo[i] == '+' || testo[i] == '-') n.negativo = testo[i++] == '-';
    const char separatore = SeparatoreDecimale();
    bool punto = false;
    for (; i < fine; ++i) {
        const char c = testo[i];
        if (c >= '0' && c <= '9') {
            (punto ? n.decimali : n.intera) += c;
        } else if ((c == '.' || c == separatore) && !punto) {
            punto = true;
        } else {
            return false;
        }
    }
    return !n.intera.empty() || !n.decimali.empty();
}

}  // namespace

bool IsNumerico(const std::string& testo) {
    Numero n;
    return Analizza(testo, n);
}

bool ValoreIntero32(const std::string& testo, int32_t& valore) {
    Numero n;
    if (!Analizza(testo, n)) return false;
    const size_t primaCifra = n.intera.find_first_not_of('0');
    const std::string cifre = primaCifra == std::string::npos ? std::string() : n.intera.substr(primaCifra);
    if (n.esadecimale) {
        if (cifre.size() > 8) return false;
        uint32_t v = 0;
        for (char c : cifre) v = v << 4 | static_cast<uint32_t>(CifraValore(c));
        valore = static_cast<int32_t>(v);
        return true;
    }
    if (cifre.size() > 10) return false;
    int64_t v = 0;
    for (char c : cifre) v = v * 10 + (c - '0');
    if (!n.decimali.empty()) {
        const char prima = n.decimali[0];
        const bool oltre = n.decimali.find_first_not_of('0', 1) != std::string::npos;
        if (prima > '5' || (prima == '5' && (oltre || v % 2 != 0))) ++v;
    }
    if (n.negativo) v = -v;
    if (v < INT32_MIN || v > INT32_MAX) return false;
    valore = static_cast<int32_t>(v);
    return true;
}

std::string EstraiSezione(const std::string& testo, const std::string& sezione) {
    const std::string apertura = "<" + sezione + ">";
    const size_t p = Trova(testo, apertura);
    if (p == std::string::npos) return "";
    const size_t inizio = p + apertura.size();
    const size_t q = Trova(testo, "<END_" + sezione + ">", inizio);
    return testo.substr(inizio, q == std::string::npos ? std::string::npos : q - inizio);
}

std::string ImpostaSezione(const std::string& testo, const std::string& sezione, const std::string& contenuto) {
    const std::string apertura = "<" + sezione + ">";
    const std::string chiusura = "<END_" + sezione + ">";
    const size_t p = Trova(testo, apertura);
    if (p == std::string::npos) return testo + apertura + contenuto + chiusura;
    const size_t q = Trova(testo, chiusura, p + apertura.size());
    if (q == std::string::npos) {
        RigaErroreUtf8("Syntax error: missing " + chiusura + " section");
        return testo;
    }
    return testo.substr(0, p) + apertura + contenuto + testo.substr(q);
}

bool RimuoviSezione(std::string& testo, const std::string& sezione) {
    const std::string apertura = "<" + sezione + ">";
    const std::string chiusura = "<END_" + sezione + ">";
    for (size_t p; (p = Trova(testo, apertura)) != std::string::npos;) {
        const size_t q = Trova(testo, chiusura, p + apertura.size());
        if (q == std::string::npos) {
            RigaErroreUtf8("Syntax error: missing " + chiusura + " section");
            return false;
        }
        testo.erase(p, q + chiusura.size() - p);
    }
    return true;
}

std::string EstraiTag(std::string& testo, const std::string& tag) {
    const size_t p = Trova(testo, tag);
    if (p == std::string::npos || tag.empty()) return "";
    const size_t inizio = p + tag.size();
    size_t fine = testo.find_first_of("\r\n", inizio);
    if (fine == std::string::npos) fine = testo.size();
    std::string valore = testo.substr(inizio, fine - inizio);
    size_t dopo = fine;
    while (dopo < testo.size() && (testo[dopo] == '\r' || testo[dopo] == '\n')) ++dopo;
    testo = testo.substr(0, p) + testo.substr(dopo);
    return valore.empty() ? "~" : valore;
}

bool LeggiFormatoTesto(const std::string& testo) {
    UltimoErrore.clear();
    TextFormat& f = FormatoTestoCorrente;
    f.Font = 0;
    f.Effect = 0;
    f.Flags = 0;
    if (testo.empty()) {
        f = MediaCorrente.Formato;
        return true;
    }
    std::string copia = testo;
    auto errore = [](const char* tag) {
        RigaErroreUtf8(std::string("Syntax error in tag: ") + tag);
        return false;
    };
    auto numero = [&](const char* tag, int32_t& campo) {
        const std::string v = EstraiTag(copia, tag);
        if (v.empty()) return true;
        return ValoreIntero32(v, campo);
    };

    const std::string colore = EstraiTag(copia, "#COLOR#=");
    if (!colore.empty() && !ValoreIntero32("&H" + colore, f.Color)) return errore("#COLOR#");
    if (!numero("#CHAR_ROW#=", f.CharRow)) return errore("#CHAR_ROW#");
    if (!numero("#FONT#=", f.Font)) return errore("#FONT#");
    const std::string rett = EstraiTag(copia, "#BOUND_RECT#=");
    if (!rett.empty()) {
        int32_t valori[4];
        size_t inizio = 0;
        int parti = 0;
        for (;;) {
            const size_t due = rett.find(':', inizio);
            const std::string parte = rett.substr(inizio, due == std::string::npos ? std::string::npos : due - inizio);
            if (parti == 4 || !ValoreIntero32(parte, valori[parti])) return errore("#BOUND_RECT#");
            ++parti;
            if (due == std::string::npos) break;
            inizio = due + 1;
        }
        if (parti != 4) return errore("#BOUND_RECT#");
        f.BoundRect = Rettangolo{valori[0], valori[1], valori[2], valori[3]};
    }
    if (!numero("#ALIGN#=", f.Align)) return errore("#ALIGN#");
    if (!numero("#FLAGS#=", f.Flags)) return errore("#FLAGS#");
    if (!numero("#EFFECT#=", f.Effect)) return errore("#EFFECT#");
    if (!numero("#DELAY_MICROS#=", f.DelayMicros)) return errore("#delay_micros#");
    return true;
}

std::string TestoInLingua(const std::string& testo, std::string& lingua) {
    std::string apertura = "<" + lingua + ">";
    size_t p = Trova(testo, apertura);
    if (p == std::string::npos) {
        apertura = "<english>";
        p = Trova(testo, apertura);
        if (p == std::string::npos) {
            lingua = "<NONE>";
            return testo;
        }
        lingua = "english";
    }
    const size_t inizio = p + apertura.size();
    const size_t q = Trova(testo, "<END_" + lingua + ">", inizio);
    return testo.substr(inizio, q == std::string::npos ? std::string::npos : q - inizio);
}

std::string NomeLinguaDaIdentificatore(int32_t identificatore) {
    switch (identificatore) {
        case 4: return "CHINESE";
        case 7: return "GERMAN";
        case 8: return "GREEK";
        case 9: return "ENGLISH";
        case 10: return "SPANISH";
        case 12: return "FRENCH";
        case 16: return "ITALIAN";
        case 17: return "JAPAN";
        case 19: return "DUTCH";
        case 22: return "PORTUGUESE";
        case 25: return "RUSSIAN";
        case 31: return "TURKISH";
        default: return "<NONE>";
    }
}

int32_t CharsetLingua(const std::string& lingua) {
    const std::string nome = MaiuscoloAscii(lingua);
    if (nome == "GREEK") return 161;
    if (nome == "TURKISH") return 162;
    if (nome == "JAPAN" || nome == "CHINESE") return 128;
    if (nome == "RUSSIAN") return 204;
    return 0;
}
