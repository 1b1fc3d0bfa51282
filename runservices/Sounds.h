#pragma once
// Sound requests of the media: effects and a background .wav played by the
// logger, or beeps through Tonvell.dll when the logger cannot play them.
#include <cstdint>
#include <string>

constexpr int32_t NumeroEffettiSonori = 12;

void SuonaEffetto(int32_t numero, bool forza, bool attendi);
void FermaSuono();
// The sound is named by a trigger's text (UTF-8).
void SuonoSfondo(const std::string& percorso, bool ciclo);
void SuonaBeep(int32_t frequenza, int32_t durata);
void BeepSuono1();
void BeepSuono2();
void BeepSuono9();
void BeepSuono10();

// The tone itself: Tonvell.dll's Tonvell, loaded on first use.
extern void (*EmettiTono)(int32_t frequenza, int32_t durata);
