#include "runservices/CheatCapture.h"

#include "core/MediaLog.h"
#include "core/SharedState.h"
#include "core/TextUtils.h"
#include "platform/Clock.h"
#include "runservices/LoggerClient.h"

std::string TastiCatturati;
uint32_t TickUltimoTasto = 0;
std::string TruccoRilevato;
bool TruccoInAzione = false;
int32_t CodiceDozy = -1, CodiceGuns = -1, CodiceHelp = -1, CodiceWeapons = -1;

const TruccoGuardian TrucchiGuardian[4] = {
    {"DOZY", 0, GuardiaDozy, 0x4, &CodiceDozy, "Detected an attempt to enable Fly Cheat", "Inherit Fly cheat mode",
     "Allow fly cheat"},
    {"GUNS", 2, GuardiaGuns, 0x20, &CodiceGuns, "Detected an attempt to enable unlimited medipacks cheat",
     "Inherit unlimited medipacks cheat mode", "Allow unlimited medipacks cheat"},
    {"HELP", 2, GuardiaHelp, 0x40, &CodiceHelp, "Detected an attempt to enable skip level cheat",
     "Inherit Skip Level cheat mode", "Allow skip level cheat"},
    {"WEAPONS", 3, GuardiaWeapons, 0x80, &CodiceWeapons, "Detected an attempt to enable All weapons cheat",
     "Inherit WEAPONS cheat mode", "Allow all weapons cheat"},
};

void AggiungiTastoCatturato(std::string& lettera) {
    // A word already found waits for the guardian: a later one must not
    // take its place.
    if (!TruccoRilevato.empty() || TruccoInAzione || lettera.empty()) return;
    const uint32_t ora = ClockTick();
    if (!TastiCatturati.empty() && ora - TickUltimoTasto > PausaMassimaTasti) TastiCatturati.clear();
    TickUltimoTasto = ora;
    const std::string nuova = MaiuscoloAscii(lettera.substr(0, 1));
    if (!TastiCatturati.empty() && MaiuscoloAscii(TastiCatturati.substr(TastiCatturati.size() - 1)) == nuova) return;
    TastiCatturati += lettera.substr(0, 1);
    if (TastiCatturati.size() > MaxTastiCatturati)
        TastiCatturati.erase(0, TastiCatturati.size() - MaxTastiCatturati);
    ControllaTastiGuardian();
}

void ControllaTastiGuardian() {
    StampaLog("Last captured keys by guardian: \"" + TastiCatturati + "\"");
    if (HaBit(StatoGioco, NoInheritCheat)) return;
    for (const TruccoGuardian& t : TrucchiGuardian) {
        if (!HaBit(StatoGioco, t.Guardia)) continue;
        if (t.Soglia > 0) {
            VerificaTruccoTasti(t.Parola, t.Soglia);
            continue;
        }
        const std::string parola = t.Parola;
        if (TastiCatturati.size() >= parola.size() &&
            MaiuscoloAscii(TastiCatturati.substr(TastiCatturati.size() - parola.size())) == parola) {
            TruccoRilevato = parola;
            return;
        }
    }
}

void VerificaTruccoTasti(const std::string& parola, int32_t soglia) {
    const std::string tasti = MaiuscoloAscii(TastiCatturati);
    int32_t trovate = 0;
    for (char c : MaiuscoloAscii(parola)) {
        if (tasti.find(c) == std::string::npos) continue;
        if (++trovate < soglia) continue;
        StampaLog("Detected cheat '" + parola + "' (Fast control for inventory)");
        TruccoRilevato = parola;
        return;
    }
}

bool CatturaTastoHook(uint32_t messaggio, uint32_t tasto) {
    if (!TruccoRilevato.empty() || TruccoInAzione) return false;
    if (LoggerAttivo() && (HaFase(StrutturaLogger.Fasi, LoggerFase::Inventory) ||
                           HaFase(StrutturaLogger.Fasi, LoggerFase::HangGame)))
        return false;
    if (messaggio != MessaggioTastoGiu) return false;
    // Before the run sets them to -1 they hold 0, which is no window either.
    auto aperta = [](int32_t finestra) { return finestra != -1 && finestra != 0; };
    if (aperta(FinestraSplash) || aperta(FinestraMediaTitoli)) return false;
    if (tasto < 'A' || tasto > 'Z') return false;
    std::string lettera(1, static_cast<char>(tasto));
    AggiungiTastoCatturato(lettera);
    return true;
}

void AzzeraCatturaTasti() {
    TastiCatturati.clear();
    TruccoRilevato.clear();
    TruccoInAzione = false;
    TickUltimoTasto = 0;
    CodiceDozy = CodiceGuns = CodiceHelp = CodiceWeapons = -1;
}
