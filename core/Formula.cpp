#include "core/Formula.h"

#include <cmath>
#include <limits>

#include "core/MediaLog.h"

namespace {

bool Cifra(char c) { return c >= '0' && c <= '9'; }

char Maiuscola(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

void SostituisciTutti(std::string& testo, const std::string& cerca, const std::string& con) {
    size_t p = 0;
    while ((p = testo.find(cerca, p)) != std::string::npos) {
        testo.replace(p, cerca.size(), con);
        p += con.size();
    }
}

// Leading blanks, an optional sign, digits and an optional fraction; a text
// without a number is 0. False when the value is not finite.
bool LeggiNumero(const std::string& testo, double& valore) {
    size_t i = 0;
    while (i < testo.size() && testo[i] == ' ') ++i;
    bool negativo = false;
    if (i < testo.size() && (testo[i] == '-' || testo[i] == '+')) negativo = testo[i++] == '-';
    double v = 0;
    while (i < testo.size() && Cifra(testo[i])) v = v * 10 + (testo[i++] - '0');
    if (i < testo.size() && testo[i] == '.') {
        double peso = 0.1;
        for (++i; i < testo.size() && Cifra(testo[i]); ++i, peso /= 10) v += (testo[i] - '0') * peso;
    }
    valore = negativo ? -v : v;
    return std::isfinite(valore);
}

// To the nearest whole number, halves to the even neighbour; False outside
// the 32-bit range.
bool Intero32(double v, int32_t& risultato) {
    if (!std::isfinite(v)) return false;
    const double r = std::nearbyint(v);
    if (r < static_cast<double>(std::numeric_limits<int32_t>::min()) ||
        r > static_cast<double>(std::numeric_limits<int32_t>::max()))
        return false;
    risultato = static_cast<int32_t>(r);
    return true;
}

bool ValoreTesto(const std::string& testo, int32_t& risultato) {
    double v = 0;
    return LeggiNumero(testo, v) && Intero32(v, risultato);
}

std::string Trimmato(const std::string& s) {
    const size_t a = s.find_first_not_of(' ');
    if (a == std::string::npos) return "";
    return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

}  // namespace

bool EstraiParentesi(std::string& testo, std::string& gruppo) {
    size_t inizio = testo.find('(');
    if (inizio == std::string::npos) {
        gruppo = testo;
        testo = "~";
        return true;
    }
    size_t i = inizio + 1;
    for (; i < testo.size() && testo[i] != ')'; ++i)
        if (testo[i] == '(') inizio = i;
    if (i >= testo.size()) return false;
    gruppo = testo.substr(inizio + 1, i - inizio - 1);
    testo = testo.substr(0, inizio) + "~" + testo.substr(i + 1);
    return true;
}

std::string EstraiOperazione(std::string& gruppo, char& operatore) {
    gruppo = Trimmato(gruppo);
    size_t pos = std::string::npos;
    for (char op : {'*', '/', '-', '+'}) {
        if (gruppo.size() > 1) pos = gruppo.find(op, 1);
        if (pos != std::string::npos) {
            operatore = op;
            break;
        }
    }
    if (pos == std::string::npos) return "";

    size_t sinistra = pos;
    while (sinistra > 0 && (Cifra(gruppo[sinistra - 1]) || gruppo[sinistra - 1] == ' ')) --sinistra;
    if (sinistra == 1 && gruppo[0] == '-') sinistra = 0;

    size_t destra = pos + 1;
    if (destra < gruppo.size() && gruppo[destra] == '-') ++destra;
    while (destra < gruppo.size() && (Cifra(gruppo[destra]) || gruppo[destra] == ' ')) ++destra;

    const std::string operazione = gruppo.substr(sinistra, destra - sinistra);
    gruppo = gruppo.substr(0, sinistra) + "!" + gruppo.substr(destra);
    return operazione;
}

int32_t CalcolaOperazione(const std::string& operazione, char operatore, bool& errore) {
    errore = true;
    std::string resto = operazione;
    bool negativo = false;
    if (!resto.empty() && resto[0] == '-') {
        resto.erase(0, 1);
        negativo = true;
    }
    const size_t p = resto.find(operatore);
    if (p == std::string::npos || resto.find(operatore, p + 1) != std::string::npos) return 0;
    const std::string a = Trimmato(resto.substr(0, p));
    const std::string b = Trimmato(resto.substr(p + 1));
    if (a.empty() || b.empty()) return 0;
    int32_t sinistro = 0, destro = 0;
    if (!ValoreTesto(negativo ? "-" + a : a, sinistro) || !ValoreTesto(b, destro)) return 0;

    double risultato = 0;
    switch (operatore) {
        case '*': risultato = static_cast<double>(sinistro) * destro; break;
        case '/':
            if (destro == 0) return 0;
            risultato = static_cast<double>(sinistro) / destro;
            break;
        case '-': risultato = static_cast<double>(sinistro) - destro; break;
        case '+': risultato = static_cast<double>(sinistro) + destro; break;
        default: return 0;
    }
    int32_t valore = 0;
    if (!Intero32(risultato, valore)) return 0;
    errore = false;
    return valore;
}

void NormalizzaSegni(std::string& testo) {
    SostituisciTutti(testo, "+-", "-");
    SostituisciTutti(testo, "-+", "-");
    SostituisciTutti(testo, "--", "+");
}

void ApplicaAbs(std::string& testo) {
    size_t i = 0;
    while (i + 3 <= testo.size()) {
        if (Maiuscola(testo[i]) == 'A' && Maiuscola(testo[i + 1]) == 'B' && Maiuscola(testo[i + 2]) == 'S' &&
            i + 3 < testo.size()) {
            const char dopo = testo[i + 3];
            if (dopo == '-' && i + 4 < testo.size() && Cifra(testo[i + 4])) {
                testo.erase(i, 4);
                continue;
            }
            if (Cifra(dopo)) {
                testo.erase(i, 3);
                continue;
            }
        }
        ++i;
    }
}

int32_t CalcolaEspressione(const std::string& espressione, bool& errore) {
    errore = false;
    std::string testo;
    for (char c : espressione)
        if (c != ' ') testo += c;

    auto Errore = [&]() {
        StampaLog("ERROR: Syntax error in expression: " + espressione, true);
        errore = true;
        return 0;
    };

    for (;;) {
        std::string gruppo;
        if (!EstraiParentesi(testo, gruppo)) return Errore();
        char operatore = 0;
        std::string operazione;
        while (!(operazione = EstraiOperazione(gruppo, operatore)).empty()) {
            bool erroreOperazione = false;
            const int32_t r = CalcolaOperazione(operazione, operatore, erroreOperazione);
            if (erroreOperazione) return Errore();
            const size_t segno = gruppo.find('!');
            gruppo.replace(segno, 1, std::to_string(r));
            NormalizzaSegni(gruppo);
        }
        int32_t valore = 0;
        if (!ValoreTesto(gruppo, valore)) return Errore();

        const bool ultimo = testo == "~";
        testo.replace(testo.find('~'), 1, std::to_string(valore));
        ApplicaAbs(testo);
        NormalizzaSegni(testo);
        if (ultimo) {
            int32_t risultato = 0;
            if (!ValoreTesto(testo, risultato)) return Errore();
            return risultato;
        }
    }
}
