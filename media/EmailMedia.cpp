#include "media/EmailMedia.h"

#include <windows.h>

#include "core/FileUtils.h"
#include "core/MediaLog.h"
#include "core/MediaSyntax.h"
#include "core/MediaTrigger.h"
#include "core/SharedState.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"
#include "core/Utf8Text.h"
#include "media/MediaText.h"
#include "runservices/RunHooks.h"

ParametriEmailMedia ParametriEmail;
std::string TestoEmail;

bool (*ApriFileEmail)(const std::string& percorso) = [](const std::string& percorso) {
    return ApriDocumento(percorso, "", false, "");
};

DataOra (*DataOdierna)() = [] {
    SYSTEMTIME st;
    GetLocalTime(&st);
    DataOra d;
    d.Anno = st.wYear;
    d.Mese = st.wMonth;
    d.Giorno = st.wDay;
    return d;
};

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

void LeggiTag(const std::string& testo) {
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
}

}  // namespace

void EseguiEmailFinale(std::string& errore) {
    errore.clear();
    if (IndiceEmailFinale == -1) {
        StampaLog("No send-email trigger enabled");
        return;
    }
    const int32_t indice = IndiceEmailFinale;
    IndiceEmailFinale = -1;
    if (indice < 0 || static_cast<size_t>(indice) >= ListaMedia.size()) {
        errore = "no trigger at index " + std::to_string(indice);
        return;
    }
    MediaCorrente = ListaMedia[static_cast<size_t>(indice)];
    StampaLog("Perform send-Email media code=" + std::to_string(MediaCorrente.MediaCode));
    EseguiSendEmail(errore);
}

void LeggiTagEmail(const std::string& sezione) {
    LeggiTag(sezione);
    TestoEmail = TestoMedia(MediaCorrente.Text);
}

bool DataMinimaRaggiunta() {
    const ParametriEmailMedia& e = ParametriEmail;
    if (!e.HasMinDate) return true;
    const DataOra oggi = DataOdierna();
    if (oggi.Anno != e.MinYear) return oggi.Anno > e.MinYear;
    if (oggi.Mese != e.MinMonth) return oggi.Mese > e.MinMonth;
    return oggi.Giorno > e.MinDay;
}

bool EseguiSendEmail(std::string& errore) {
    errore.clear();
    FormatoTestoCorrente = MediaCorrente.Formato;
    LeggiTagEmail(EstraiSezione(MediaCorrente.Syntax, "SEND_EMAIL"));
    if (!DataMinimaRaggiunta()) {
        StampaLog("Email date is expired");
        return true;
    }
    std::string savegame;
    if (ParametriEmail.SendSavegame) {
        std::string immagine;
        Ganci.LeggiUltimoSavegame(savegame, immagine);
        StampaLog("Enclose in mail last savegame: " + NomeFileDaPercorso(savegame));
    }
    StampaLog("Current computer language=" + NomeLingua());

    const std::string trattini(71, '-');
    std::string testo = "You should send an email to: " + AnsiDaUtf8(ParametriEmail.SendTo) + A_Capo +
                        "With subject: " + AnsiDaUtf8(ParametriEmail.Subject) + A_Capo;
    if (!savegame.empty()) testo += "With enclosed the file (savegame) you find in: " + savegame + A_Capo;
    testo += "With following body:" + std::string(A_Capo) + trattini + A_Capo + AnsiDaUtf8(TestoEmail) + A_Capo +
             trattini + A_Capo;

    // Written whole or not at all: a file left by an earlier run is never
    // shown as this one's.
    const std::string file = Trim(CartellaTrle) + "\\email_data.txt";
    if (!RiscriviSenzaBackup(file, testo)) {
        errore = "unable to write file " + file;
        return false;
    }
    if (!ApriFileEmail(file)) {
        errore = "unable to open file " + file + " with its associated program";
        return false;
    }
    return true;
}

void LeggiSintassiEmail(const std::string& testo) {
    LeggiTag(testo);
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
