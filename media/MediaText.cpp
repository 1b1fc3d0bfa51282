#include "media/MediaText.h"

#include <cstdio>
#include <cstdlib>

#include "core/LevelVariables.h"
#include "core/MediaLog.h"
#include "core/MediaSyntax.h"
#include "core/MediaTrigger.h"
#include "core/SavegameBytes.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"
#include "runservices/RunHooks.h"

namespace {
constexpr int32_t FlagSegnaposto = 0x8;

// A placeholder read from the savegame: a weapon's name when its byte is
// set, else the number.
struct CampoSavegame {
    const char* nome;
    int32_t offset;
    int32_t dimensione;
    const char* arma;
};

constexpr CampoSavegame CampiSavegame[] = {
    {"%A", 361, 1, "Pistols"},    {"%B", 366, 1, "Revolver"},   {"%C", 363, 1, "ShotGun"},
    {"%D", 362, 1, "UZI"},        {"%E", 365, 1, "Granade Gun"}, {"%F", 364, 1, "Crossbow"},
    {"%01", 410, 2, nullptr},     {"%02", 412, 2, nullptr},     {"%03", 414, 2, nullptr},
    {"%04", 408, 2, nullptr},     {"%05", 416, 2, nullptr},     {"%06", 418, 2, nullptr},
    {"%07", 420, 2, nullptr},     {"%08", 422, 2, nullptr},     {"%09", 424, 2, nullptr},
    {"%10", 426, 2, nullptr},     {"%11", 404, 2, nullptr},     {"%12", 400, 2, nullptr},
    {"%13", 402, 2, nullptr},     {"%14", 507, 1, nullptr},     {"%15", 85, 2, nullptr},
    {"%16", 83, 2, nullptr},      {"%17", 81, 2, nullptr},      {"%18", 79, 2, nullptr},
};
constexpr int32_t OffsetDistanza = 493;
constexpr int32_t OffsetMunizioniUsate = 497;
constexpr int32_t OffsetMedipackUsati = 508;
constexpr int32_t OffsetTimerSchermo = 509;
constexpr int32_t PassiPerMetro = 419;

struct VariabileTesto {
    const char* nome;
    int32_t id;
};
constexpr VariabileTesto VariabiliTesto[] = {
    {"%LI", IdUltimoInput}, {"%VA", IdVariabileA}, {"%VB", IdVariabileB}, {"%VC", IdVariabileC}, {"%VD", IdVariabileD},
};

std::string DistanzaChilometri(int32_t valore) {
    char testo[32];
    std::snprintf(testo, sizeof testo, "%.1f", valore / (PassiPerMetro * 1000.0));
    std::string risultato = testo;
    const size_t punto = risultato.find('.');
    if (punto != std::string::npos) risultato[punto] = SeparatoreDecimale();
    return risultato;
}

std::string TimerSchermo(int32_t valore) {
    const int64_t assoluto = std::llabs(static_cast<int64_t>(valore));
    const int64_t fotogrammi = assoluto % 30, secondi = assoluto / 30;
    if (LogAbilitato)
        StampaLog("Compute for screen timer: Original value = " + std::to_string(valore) +
                  "  TotSeconds=" + std::to_string(secondi));
    return FormatoZeri(secondi / 60, 2) + ":" + FormatoZeri(secondi % 60, 2) + ":" + FormatoZeri(fotogrammi, 2);
}

std::vector<std::pair<std::string, std::string>> TabellaSegnaposto(const SavegameBin& immagine) {
    std::vector<std::pair<std::string, std::string>> tabella;
    for (const CampoSavegame& c : CampiSavegame) {
        const int32_t valore = LeggiValore(immagine, c.offset, c.dimensione);
        tabella.emplace_back(c.nome, c.arma ? (valore != 0 ? c.arma : "") : std::to_string(valore));
    }
    const int32_t distanza = LeggiValore(immagine, OffsetDistanza, 4);
    tabella.emplace_back("%19", std::to_string(distanza / PassiPerMetro));
    tabella.emplace_back("%20", DistanzaChilometri(distanza));
    tabella.emplace_back("%21", std::to_string(LeggiValore(immagine, OffsetMunizioniUsate, 2)));
    tabella.emplace_back("%22", std::to_string(LeggiValore(immagine, OffsetMedipackUsati, 1)));
    tabella.emplace_back("%23", TimerSchermo(LeggiValore(immagine, OffsetTimerSchermo, 4)));
    for (const VariabileTesto& v : VariabiliTesto) {
        bool errore = false;
        tabella.emplace_back(v.nome, LeggiVariabile(v.id, errore, false, true));
    }
    return tabella;
}

bool NomeInPosizione(const std::string& testo, size_t posizione, const std::string& nome) {
    if (testo.size() - posizione < nome.size()) return false;
    return UgualeSenzaCaso(testo.substr(posizione, nome.size()), nome);
}

}  // namespace

std::string TestoMedia(const std::string& testo) {
    std::string lingua = NomeLingua();
    std::string risultato = TestoInLingua(EstraiSezione(testo, "TEXT"), lingua);
    if (HaBit(FormatoTestoCorrente.Flags, FlagSegnaposto) || HaBit(MediaCorrente.Formato.Flags, FlagSegnaposto))
        risultato = SostituisciSegnapostoSavegame(risultato);
    return risultato;
}

std::string SostituisciSegnapostoSavegame(const std::string& testo) {
    std::string percorso;
    SavegameBin immagine;
    if (!Ganci.LeggiUltimoSavegame(percorso, immagine)) {
        if (percorso.empty())
            StampaLog("Missing savegames in trle folder: no replacement for placefolder savegame texts");
        return testo;
    }
    const auto tabella = TabellaSegnaposto(immagine);
    // One pass over the typed text: a value filled in is not searched again,
    // so a variable holding "%VB" shows as typed.
    std::string risultato;
    size_t i = 0;
    while (i < testo.size()) {
        bool trovato = false;
        if (testo[i] == '%') {
            for (const auto& [nome, valore] : tabella) {
                if (!NomeInPosizione(testo, i, nome)) continue;
                risultato += valore;
                i += nome.size();
                trovato = true;
                break;
            }
        }
        if (!trovato) risultato += testo[i++];
    }
    return risultato;
}

std::string LeggiTagVoice(const std::string& testo, std::string& voce) {
    std::string resto = testo;
    voce = EstraiTag(resto, "#VOICE#=");
    if (voce == "~") voce.clear();
    return resto;
}
