#pragma once
// The text a media shows: its "TEXT" section in the player's language, with
// the savegame placeholders filled when the text format asks for it.
#include <string>

std::string TestoMedia(const std::string& testo);
std::string SostituisciSegnapostoSavegame(const std::string& testo);
// The comunicator's voice: the "#VOICE#=" tag's value into <fileVoce>;
// the text comes back without the tag.
std::string LeggiTagVoice(const std::string& testo, std::string& fileVoce);
