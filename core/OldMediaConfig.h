#pragma once
// Media configurations of the old version 1.4: their layout, read from the
// file's bytes, and their conversion into HeaderMcf and ListaMedia. The
// old file is never written: it is converted again on every load.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/MediaTrigger.h"
#include "core/SharedState.h"

// One old record; the paths come without their padding blanks.
struct MediaTriggerVecchio {
    std::string FileFilmato;
    int16_t EscapeAbilitato = 0;
    int32_t Ritardo = 0;
    int32_t CdTrigger = 0;
    int32_t FlagVecchi = 0;
    int32_t NonUsato = 0;
    std::string FileImmagine;
    std::string FileTesto;
    std::string FileSuono;
    std::string FileProgramma;
    int32_t ScrollStep = 0;
    int32_t ScrollDelay = 0;
    int32_t Duration = 0;
    int16_t SuonoCiclico = 0;
    int32_t CharRow = 0;
    int32_t BackColor = 0;
    int32_t Color = 0;
    int32_t Align = 0;
    int32_t MargineX = 0;
    int32_t MargineY = 0;
    int32_t Repeat = 0;
    int32_t SoundCd = 0;
    int32_t AntiTriggerCd = 0;
    int32_t FadeTime = 0;
    int32_t EndWait = 0;
};

struct MediaConfigVecchia {
    int32_t TriggerCount = 0;
    std::array<uint8_t, 16> Reserved{};
    std::vector<MediaTriggerVecchio> Record;
};

constexpr size_t LunghezzaHeaderVecchio = 20;
constexpr size_t LunghezzaTriggerVecchio = 1356;
constexpr size_t LunghezzaPercorsoVecchio = 256;

// The bits of the old flags word.
enum BitFlagVecchi : int32_t {
    VecchioGuardian = 0x1,
    VecchioEmail = 0x2,
    VecchioMovie = 0x4,
    VecchioScroll = 0x8,
    VecchioImmagine = 0x10,
    VecchioBit5 = 0x20,
    VecchioCattura = 0x40,
    VecchioTesto = 0x80,
    VecchioSuono = 0x100,
    VecchioExec = 0x200,
    VecchioAttendiProgramma = 0x400,
    VecchioNascondiProgramma = 0x800,
    VecchioSuonoDaCd = 0x1000,
    VecchioAntiTrigger = 0x2000,
    VecchioFadeOut = 0x4000,
    VecchioNoWavTrigger = 0x8000,
    VecchioNoWavAntiTrigger = 0x10000,
    VecchioSequenza = 0x20000,
    VecchioAttendiFilmato = 0x40000,
    VecchioCodec = 0x80000,
    VecchioFormato4 = 0x100000,
    VecchioCodecSetup = 0x200000,
};

// Options bits 6 and 7, which only the conversion sets.
constexpr int32_t OpzioneNoWavTrigger = 0x40;
constexpr int32_t OpzioneNoWavAntiTrigger = 0x80;

// The header and every record; False for a negative count or records the
// bytes do not hold, with nothing filled.
bool LeggiMediaConfigVecchia(const std::string& dati, MediaConfigVecchia& config);
// The numbers, option bits and text format of old record <indice> (from
// 0); the files and texts are the conversion's.
void ConvertiCampiVecchi(const MediaTriggerVecchio& vecchio, int32_t indice, MediaTrigger& media);

// The old file at the path into HeaderMcf and ListaMedia. On failure, after
// its error line, the loader's safe defaults with an empty table; the
// version stays "VER1.4", so that the old file is never written over.
bool ConvertiMediaConfigVecchia(const std::string& percorso);
// The same from the file's bytes, once read.
bool ConvertiDatiMediaConfigVecchia(const std::string& percorso, const std::string& dati);
// Finds the file, counts its name in the header's media file list and
// copies it into the configuration's folder when it lies elsewhere; the
// path becomes the one to use and joins the list.
bool RaccogliFileMedia(std::string& percorso, std::vector<std::string>& lista, int32_t& conteggio);

// An image of a converted sequence.
struct ImmagineConvertita {
    std::string Nome;
    int32_t Durata = 0;
    int32_t Flags = 0;
    Rettangolo Bound;
};

// Services of the performers and the guardian, which sit above the core;
// the program sets them at start. A service not set gives an empty text.
// The guardian's parameter text for a converted guardian media.
extern std::string (*SintassiGuardianConvertita)();
// The body and the SEND_EMAIL parameters of an old e-mail text.
extern void (*SintassiEmailConvertita)(const std::string& testo, std::string& corpo, std::string& sintassi);
// The SEQ_IMAGE parameters of a converted image sequence.
extern std::string (*SequenzaImmaginiConvertita)(int32_t flag, const std::vector<ImmagineConvertita>& immagini);
