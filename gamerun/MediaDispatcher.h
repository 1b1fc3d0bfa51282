#pragma once
// The media dispatcher: performs lists of media triggers, preparing the
// game for them (screen capture, save, stand-by) and waking it afterwards.
#include <cstdint>
#include <vector>

#include "core/MediaTrigger.h"

// Bits of the requirement word built for each media of a list.
enum BitRequisitiMedia : int32_t {
    RichiedeStandBy = 0x1,
    RichiedeSalvataggio = 0x2,
    RichiedeMouseNascosto = 0x4,
    RichiedeCaricamentoFinale = 0x8,
    RichiedeSchermoNascosto = 0x10,
    RichiedeCattura = 0x20,
    RichiedeInputFermo = 0x40,
    RichiedeBackupSavegame = 0x80,
    RichiedeAbortSuErrore = 0x200,
};

// Performs the triggers of <indici> (indexes into ListaMedia; the first
// <conteggio> are used); the result of the last ShowMedia, False when none
// ran.
bool EseguiListaMedia(const std::vector<int32_t>& indici, int32_t conteggio, bool& TestError);
// Performs the one trigger with that media code as a nested list.
bool EseguiMediaCode(int32_t codice, bool& TestError);
// Performs MediaCorrente by its kind.
bool ShowMedia(bool& BreakEscape, bool& TestError);
bool PreparaEsecuzioneMedia(int32_t requisiti);
bool TerminaEsecuzioneMedia();
// Stand-by and wake of the game.
bool SospendiTomb();
void RiattivaTomb();
bool NascondiFinestraTomb();
void RipristinaFinestraTomb();

// What a trigger requires of the game (bits above), as EseguiListaMedia
// works it out for each entry; each bit set is logged.
int32_t RequisitiMedia(const MediaTrigger& media);

// The switch performer, the one that runs further media through
// EseguiMediaCode; tests put a performer of their own here.
extern bool (*EsecutoreSwitch)(bool& TestError);
// The save of the running game that a media asks for before it runs;
// tests put one of their own here, since there is no game to save.
extern bool (*SalvataggioPartita)();
