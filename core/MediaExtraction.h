#pragma once
// The path of a media file before use: extracted from the level's packet
// into the store folder or found where a level keeps its files. Also the
// path builders of audio files.
#include <cstdint>
#include <string>

// The name is a trigger's text (UTF-8); the path comes back in the ANSI form
// the A functions take. "" when not found; <temporaneo> True when the caller
// must delete the file after use.
std::string EstraiFileMedia(const std::string& nomeFile, bool& temporaneo, bool conserva, bool silenzioso);
// Also takes the same path ending in .mp3 for .wav and the reverse, and puts
// the one found into <percorso>.
bool TrovaFileAudio(std::string& percorso);
std::string PercorsoFileAudio(const std::string& nomeFile);
// 12 gives "012.wav".
std::string NomeWavNumero(int32_t numero);
std::string NomeWavTraccia(int32_t numero);
// Points a moved level's virtual packet at its own V_FOLDER.
void CartellaVirtuale();
