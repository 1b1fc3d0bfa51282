#include "core/LevelVariables.h"

#include <cstdio>

#include "core/FileUtils.h"
#include "core/Formula.h"
#include "core/MediaLog.h"
#include "core/MediaSyntax.h"
#include "core/SharedState.h"
#include "core/TextUtils.h"

std::string VarA, VarB, VarC, VarD, VarLastInput;

namespace {

const char* const Virgolette = "\"";

std::string* GlobaleVariabile(int32_t id) {
    switch (id) {
        case IdVariabileD: return &VarD;
        case IdVariabileC: return &VarC;
        case IdVariabileB: return &VarB;
        case IdVariabileA: return &VarA;
        case IdUltimoInput: return &VarLastInput;
        default: return nullptr;
    }
}

bool InCorsa() { return HaBit(ModificheAvvio, FaseSpecialMedia); }

}  // namespace

std::string NomeFileVariabile(int32_t id, std::string& nome) {
    const char* file = nullptr;
    switch (id) {
        case IdVariabileD: nome = "Variable D"; file = "\\Var_D.txt"; break;
        case IdVariabileC: nome = "Variable C"; file = "\\Var_C.txt"; break;
        case IdVariabileB: nome = "Variable B"; file = "\\Var_B.txt"; break;
        case IdVariabileA: nome = "Variable A"; file = "\\Var_A.txt"; break;
        case IdUltimoInput: nome = "Variable Last Input"; file = "\\LastInput.txt"; break;
        default:
            nome.clear();
            StampaLog("ERROR: unknown Variable type: 0x" + Esadecimale(id), true);
            return "";
    }
    return PercorsoStore + file;
}

std::string LeggiVariabile(int32_t id, bool& errore, bool numerico, bool silenzioso) {
    errore = false;
    std::string nome;
    const std::string percorso = NomeFileVariabile(id, nome);
    std::string valore;
    if (InCorsa()) {
        if (const std::string* g = GlobaleVariabile(id)) valore = *g;
    } else {
        if (percorso.empty()) {
            errore = true;
            return "";
        }
        if (!EsisteFile(percorso)) {
            if (!silenzioso) {
                StampaLog("ERROR: missing value for " + nome + ". Missing file: " + percorso, true);
                errore = true;
            }
            return "";
        }
        valore = LeggiFileIntero(percorso);
        // The file's own line end is not part of the value: kept, it would
        // grow by one line per run and spoil the numeric test.
        while (!valore.empty() && (valore.back() == '\n' || valore.back() == '\r')) valore.pop_back();
    }
    if (LogAbilitato) StampaLog(nome + " was: " + Virgolette + valore + Virgolette);
    if (numerico && !IsNumerico(valore)) {
        StampaLog("ERROR: not numeric value for " + nome, true);
        errore = true;
        return "";
    }
    return valore;
}

void SalvaVariabile(int32_t id, const std::string& valore) {
    std::string nome;
    const std::string percorso = NomeFileVariabile(id, nome);
    if (InCorsa()) {
        if (std::string* g = GlobaleVariabile(id)) *g = valore;
        if (LogAbilitato) StampaLog("Saved value for " + nome + " = " + Virgolette + valore + Virgolette);
        return;
    }
    if (percorso.empty()) return;
    if (!ScriviFileTesto(percorso, valore)) {
        StampaLog("ERROR: saving value for " + nome + " in file: " + percorso, true);
        return;
    }
    if (LogAbilitato)
        StampaLog("Saved value for " + nome + " = " + Virgolette + valore + Virgolette + " in file: " + percorso);
}

int32_t CalcolaFormula(const std::string& formula, bool& errore) {
    errore = false;
    if (LogAbilitato) StampaLog("Compute formule: " + formula);
    std::string testo = formula;
    if (testo.find('#') != std::string::npos) {
        const std::string v = LeggiVariabile(IdUltimoInput, errore, true, false);
        if (errore) return 0;
        size_t p = 0;
        while ((p = testo.find('#', p)) != std::string::npos) {
            testo.replace(p, 1, v);
            p += v.size();
        }
    }
    const struct {
        const char* segnaposto;
        int32_t id;
    } segnaposti[] = {{"AV", IdVariabileA}, {"BV", IdVariabileB}, {"CV", IdVariabileC}, {"DV", IdVariabileD}};
    for (const auto& s : segnaposti) {
        if (MaiuscoloAscii(testo).find(s.segnaposto) == std::string::npos) continue;
        const std::string v = LeggiVariabile(s.id, errore, true, false);
        if (errore) return 0;
        testo = SostituisciSenzaCaso(testo, s.segnaposto, Trim(v));
    }
    const int32_t risultato = CalcolaEspressione(testo, errore);
    if (LogAbilitato) StampaLog("Result=" + std::to_string(risultato));
    return risultato;
}
