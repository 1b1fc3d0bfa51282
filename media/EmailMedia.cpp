#include "media/EmailMedia.h"

#include "core/MediaLog.h"
#include "core/SharedState.h"
#include "core/TextUtils.h"

ParametriEmailMedia ParametriEmail;
std::string TestoEmail;

namespace {

const char* const A_Capo = "\r\n";

// The position just after the tag, found in any letter case; npos when absent.
size_t DopoTag(const std::string& testo, const std::string& tag) {
    const size_t p = MaiuscoloAscii(testo).find(tag);
    return p == std::string::npos ? p : p + tag.size();
}

// A value runs from its tag to the next "#"; without one it stays empty.
std::string ValoreTag(const std::string& testo, const std::string& tag) {
    const size_t inizio = DopoTag(testo, tag);
    if (inizio == std::string::npos) return "";
    const size_t fine = testo.find('#', inizio);
    return fine == std::string::npos ? "" : testo.substr(inizio, fine - inizio);
}

int32_t Numero(const std::string& testo, int32_t& posizione) {
    const std::string cifre = EstraiNumero(testo, posizione);
    // Digits beyond what a date needs are not a date.
    if (cifre.empty() || cifre.size() > 9) return 0;
    return std::stoi(cifre);
}

}  // namespace

void EseguiEmailFinale(std::string& errore) {
    errore.clear();
    if (IndiceEmailFinale == -1) return;
    IndiceEmailFinale = -1;
    StampaNonCostruito("EseguiEmailFinale");
    errore = "e-mail media are not performed yet";
}

void LeggiSintassiEmail(const std::string& testo) {
    ParametriEmail = ParametriEmailMedia{};
    ParametriEmail.SendTo = ValoreTag(testo, "#SENDTO#");
    ParametriEmail.Subject = ValoreTag(testo, "#SUBJECT#");
    ParametriEmail.SendSavegame = DopoTag(testo, "#SENDSAVEGAME#") != std::string::npos;
    const size_t data = DopoTag(testo, "#MINDATE#");
    ParametriEmail.HasMinDate = data != std::string::npos;
    if (ParametriEmail.HasMinDate) {
        int32_t posizione = static_cast<int32_t>(data) + 1;
        ParametriEmail.MinDay = Numero(testo, posizione);
        ParametriEmail.MinMonth = Numero(testo, posizione);
        ParametriEmail.MinYear = Numero(testo, posizione);
    }
    const size_t corpo = DopoTag(testo, "#TEXT#");
    TestoEmail = corpo == std::string::npos ? "" : testo.substr(corpo);
}

std::string ComponiSintassiEmail() {
    const ParametriEmailMedia& e = ParametriEmail;
    std::string testo = "#SENDTO#" + e.SendTo + "#" + A_Capo + "#SUBJECT#" + e.Subject + "#" + A_Capo;
    if (e.HasMinDate)
        testo += "#MINDATE#" + std::to_string(e.MinDay) + "/" + std::to_string(e.MinMonth) + "/" +
                 std::to_string(e.MinYear) + "#" + A_Capo;
    if (e.SendSavegame) testo += std::string("#SENDSAVEGAME#") + A_Capo;
    return testo;
}

void SintassiEmailVecchia(const std::string& testo, std::string& corpo, std::string& sintassi) {
    LeggiSintassiEmail(testo);
    corpo = TestoEmail;
    sintassi = ComponiSintassiEmail();
}
