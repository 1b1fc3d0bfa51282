#pragma once
// Sound requests of the media: effects and a background .wav played by the
// logger, or beeps through Tonvell.dll when the logger cannot play them.
#include <cstdint>
#include <string>

constexpr int32_t NumeroEffettiSonori = 12;

void SuonaEffetto(int32_t numero, bool forza, bool attendi);
void FermaSuono();
void SuonoSfondo(const std::string& percorso, bool ciclo);
void SuonaBeep(int32_t frequenza, int32_t durata);
void BeepSuono1();
void BeepSuono2();
void BeepSuono9();
void BeepSuono10();

// The tone itself: Tonvell.dll's Tonvell, loaded on first use.
extern void (*EmettiTono)(int32_t frequenza, int32_t durata);
// The sound flag of the text format being performed (bit 0x1), and whether
// the loaded configuration is of version 1.4; the media configuration
// module answers both once it is part of the program.
extern bool (*FlagSuonoFormato)();
extern bool (*ConfigurazioneVersione14)();
