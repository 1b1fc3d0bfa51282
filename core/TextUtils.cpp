#include "core/TextUtils.h"

#include <cctype>
#include <climits>
#include <cmath>
#include <cstdio>
#include <random>

#include "platform/Clock.h"

std::string Trim(const std::string& testo) {
    const size_t inizio = testo.find_first_not_of(' ');
    if (inizio == std::string::npos) return std::string();
    const size_t fine = testo.find_last_not_of(' ');
    return testo.substr(inizio, fine - inizio + 1);
}

namespace {
char Maiuscola(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
}  // namespace

std::string MaiuscoloAscii(const std::string& testo) {
    std::string s = testo;
    for (char& c : s) c = Maiuscola(c);
    return s;
}

bool UgualeSenzaCaso(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Maiuscola(a[i]) != Maiuscola(b[i])) return false;
    return true;
}

namespace {
bool Cifra(char c) { return c >= '0' && c <= '9'; }
}  // namespace

std::string EstraiNumero(const std::string& testo, int32_t& posizione) {
    const int32_t lunghezza = static_cast<int32_t>(testo.size());
    int32_t i = posizione < 1 ? 1 : posizione;
    while (i <= lunghezza && !Cifra(testo[i - 1])) ++i;
    if (i > lunghezza) {
        posizione = lunghezza + 1;
        return std::string();
    }
    const int32_t inizio = i;
    while (i <= lunghezza && Cifra(testo[i - 1])) ++i;
    posizione = i;
    return testo.substr(inizio - 1, i - inizio);
}

std::string EstraiRiga(const std::string& testo, int32_t& posizione) {
    const int32_t lunghezza = static_cast<int32_t>(testo.size());
    int32_t i = posizione < 1 ? 1 : posizione;
    const int32_t inizio = i;
    while (i <= lunghezza && testo[i - 1] != '\r' && testo[i - 1] != '\n') ++i;
    const std::string riga = inizio <= lunghezza ? testo.substr(inizio - 1, i - inizio) : std::string();
    while (i <= lunghezza && (testo[i - 1] == '\r' || testo[i - 1] == '\n')) ++i;
    posizione = i;
    return riga;
}

std::string FormatoZeri(int64_t valore, int32_t cifre) {
    // Unsigned, so that the most negative value has its digits too.
    uint64_t assoluto = valore < 0 ? 0 - static_cast<uint64_t>(valore) : static_cast<uint64_t>(valore);
    std::string s;
    do {
        s.insert(s.begin(), static_cast<char>('0' + assoluto % 10));
        assoluto /= 10;
    } while (assoluto > 0);
    if (cifre > 0 && s.size() < static_cast<size_t>(cifre)) s.insert(0, static_cast<size_t>(cifre) - s.size(), '0');
    return valore < 0 ? "-" + s : s;
}

std::string ConvertiInWide(const std::string& testo) {
    std::string s;
    s.reserve(testo.size() * 2);
    for (char c : testo) {
        s += c;
        s += '\0';
    }
    return s;
}

std::string Esadecimale(uint64_t valore) {
    char testo[24];
    std::snprintf(testo, sizeof testo, "%llX", static_cast<unsigned long long>(valore));
    return testo;
}

std::string Esadecimale(uint32_t valore) { return Esadecimale(static_cast<uint64_t>(valore)); }

std::string Esadecimale(int32_t valore) { return Esadecimale(static_cast<uint32_t>(valore)); }

bool IsEsadecimale(const std::string& testo) {
    if (testo.empty()) return false;
    for (size_t i = 0; i < testo.size(); ++i) {
        const char c = testo[i];
        if (i == 0 && c == '-') continue;
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

int32_t NumeroCasuale(int16_t n) {
    std::minstd_rand generatore(ClockTick());
    const double frazione = std::uniform_real_distribution<double>(0.0, 1.0)(generatore);
    const auto r = static_cast<int32_t>(frazione * n);
    // A rounding of the fraction up to 1 must not reach n.
    return (n > 0 && r >= n) ? n - 1 : r;
}

std::vector<int32_t> OrdinaIndici(const std::vector<int32_t>& valori, int32_t n, bool crescente) {
    if (n < 0) n = 0;
    if (n > static_cast<int32_t>(valori.size())) n = static_cast<int32_t>(valori.size());
    std::vector<int32_t> indici(static_cast<size_t>(n));
    for (int32_t i = 0; i < n; ++i) indici[i] = i;
    for (int32_t i = 0; i + 1 < n; ++i) {
        for (int32_t j = i + 1; j < n; ++j) {
            const int32_t va = valori[indici[i]], vb = valori[indici[j]];
            if (crescente ? va > vb : va < vb) std::swap(indici[i], indici[j]);
        }
    }
    return indici;
}

int32_t Arrotonda(double valore) {
    const double r = std::nearbyint(valore);
    if (!(r >= -2147483648.0)) return INT32_MIN;
    if (r > 2147483647.0) return INT32_MAX;
    return static_cast<int32_t>(r);
}

double PercentualeDi(double a, double b) { return a * b / 100.0; }
double PercentualeRapporto(double a, double b) { return a == 0 ? 0.0 : b * 100.0 / a; }
double MillesimiDi(double a, double b) { return a * b / 1000.0; }
// A zero base gives 0 rather than an infinity that callers would turn into pixels.
double MillesimiRapporto(double a, double b) { return a == 0 ? 0.0 : b * 1000.0 / a; }

std::string SostituisciSenzaCaso(const std::string& testo, const std::string& cerca, const std::string& con) {
    if (cerca.empty()) return testo;
    const std::string maiuscolo = MaiuscoloAscii(testo);
    const std::string cercato = MaiuscoloAscii(cerca);
    std::string risultato;
    size_t da = 0;
    for (size_t trovato = maiuscolo.find(cercato); trovato != std::string::npos;
         trovato = maiuscolo.find(cercato, da)) {
        risultato.append(testo, da, trovato - da).append(con);
        da = trovato + cercato.size();
    }
    return risultato.append(testo, da, std::string::npos);
}

std::vector<std::string> DividiTesto(const std::string& testo, char separatore) {
    std::vector<std::string> parti;
    size_t da = 0;
    for (;;) {
        const size_t a = testo.find(separatore, da);
        parti.push_back(testo.substr(da, a == std::string::npos ? std::string::npos : a - da));
        if (a == std::string::npos) return parti;
        da = a + 1;
    }
}
