#pragma once
// The e-mail media kept for the end of the run, and its parameters. Least
// form of the performer: the media is dropped and its failure described.
#include <cstdint>
#include <string>

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

void EseguiEmailFinale(std::string& errore);
// An e-mail text of an old configuration: the tags, and the body after
// "#TEXT#".
void LeggiSintassiEmail(const std::string& testo);
// The SEND_EMAIL parameters from ParametriEmail.
std::string ComponiSintassiEmail();
// Both, for the conversion of old configurations.
void SintassiEmailVecchia(const std::string& testo, std::string& corpo, std::string& sintassi);
