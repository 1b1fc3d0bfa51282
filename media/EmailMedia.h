#pragma once
// The e-mail media kept for the end of the run: its details are written to
// email_data.txt in the game folder and opened for the player, who sends
// the mail by hand.
#include <cstdint>
#include <string>

#include "core/DateTime.h"

struct ParametriEmailMedia {
    std::string SendTo;
    std::string Subject;
    bool SendSavegame = false;
    bool HasMinDate = false;
    int32_t MinDay = 0;
    int32_t MinMonth = 0;
    int32_t MinYear = 0;
};

extern ParametriEmailMedia ParametriEmail;
// The body of the e-mail text last read.
extern std::string TestoEmail;

// Opens the written file with its associated program; today's date. Tests
// put their own here.
extern bool (*ApriFileEmail)(const std::string& percorso);
extern DataOra (*DataOdierna)();

// Performs the e-mail media the run kept, if any; the error text is empty
// unless it failed.
void EseguiEmailFinale(std::string& errore);
// Performs MediaCorrente: False with the error text when the file could not
// be written or opened.
bool EseguiSendEmail(std::string& errore);
// The SEND_EMAIL section into ParametriEmail, and the body of MediaCorrente
// into TestoEmail.
void LeggiTagEmail(const std::string& sezione);
// True without a date; else only on a day after it.
bool DataMinimaRaggiunta();
// An e-mail text of an old configuration: the tags, and the body after
// "#TEXT#".
void LeggiSintassiEmail(const std::string& testo);
// The SEND_EMAIL parameters from ParametriEmail.
std::string ComponiSintassiEmail();
// Both, for the conversion of old configurations.
void SintassiEmailVecchia(const std::string& testo, std::string& corpo, std::string& sintassi);
