#pragma once
// The logger's sounds: twelve effects and one special sound, each a static
// DirectSound buffer filled once from a .wav file.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "eventlogger/WavFile.h"

struct IDirectSound;
struct IDirectSoundBuffer;

struct OggettoSuono {
    std::vector<uint8_t> Immagine;  // the whole file; the samples point into it
    const uint8_t* Dati = nullptr;
    uint32_t Dimensione = 0;
    int NumeroBuffer = 1;
    int Corrente = 0;
    std::vector<IDirectSoundBuffer*> Buffer;
};

constexpr int NumeroEffetti = 12;

extern IDirectSound* OggettoDirectSound;
extern OggettoSuono* Effetti[NumeroEffetti];
extern OggettoSuono* SuonoSpeciale;
extern std::string UltimoPercorsoSpeciale;

bool LoadSoundEffects(HWND finestra, const std::string& cartella);
OggettoSuono* CreateSound(IDirectSound* ds, const std::string& percorso, int quantiBuffer);
IDirectSoundBuffer* CreateSoundBuffer(IDirectSound* ds, const std::string& percorso);
bool FillSoundBuffer(IDirectSoundBuffer* buffer, const uint8_t* dati, uint32_t dimensione);
bool ReloadSoundBuffer(IDirectSoundBuffer* buffer, const std::string& percorso);
IDirectSoundBuffer* GetFreeSoundBuffer(OggettoSuono* suono);
bool PlaySoundObject(OggettoSuono* suono, uint32_t flag);
bool StopSoundObject(OggettoSuono* suono);
void FreeSoundObject(OggettoSuono* suono);
void FreeAllSounds();

// Commands 9, 10 and 11; <percorso> is the text of SpecialSoundPath.
void ComandoEffetto(int32_t numero);
void ComandoFermaSuoni();
void ComandoSuonoSpeciale(const std::string& percorso, bool ciclo);
