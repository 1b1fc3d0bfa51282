#pragma once
// The media trigger record, its text format, the media kinds and the table
// of all triggers of the loaded configuration.
#include <cstdint>
#include <string>
#include <vector>

#include "core/SharedState.h"

struct TextFormat {
    int32_t Color = 0;
    int32_t Align = 0;
    int32_t CharRow = 0;
    Rettangolo BoundRect;  // thousandths of the window's width and height
    int32_t Effect = 0;
    int32_t ScrollStep = 0;
    int32_t ScrollDelay = 0;
    int32_t DelayMicros = 0;
    int32_t Flags = 0;
    int32_t Font = 0;
};

struct MediaTrigger {
    int32_t TypeFlags = 0;
    int32_t Options = 0;
    std::string MediaFile;
    std::string SoundFile;
    TextFormat Formato;
    std::string Text;
    std::string Syntax;
    int32_t TriggerCd = 0;  // TriggerCdNessuno (999): not triggered by a CD track
    int32_t SoundCd = 0;
    int32_t AntiTriggerCd = 0;
    int32_t Repeat = 0;
    int32_t BackColor = 0;
    int32_t FadeTime = 0;
    int32_t EndWait = 0;
    int32_t DelaySeconds = 0;
    int32_t Duration = 0;
    int32_t MediaCode = 0;
    int32_t Level = 0;  // -1: any level
};

constexpr int32_t TriggerCdNessuno = 999;
constexpr int32_t QualsiasiLivello = -1;

// Presentation bits of TypeFlags; the kind bits are read by TipoMediaDaFlags.
enum BitTypeFlags : int32_t {
    ScrollText = 0x8,
    BackgroundImage = 0x10,
    ScreenCapture = 0x40,
    FixedText = 0x80,
    BackgroundSound = 0x100,
    ImageSequence = 0x20000,
};

// Kind bits of TypeFlags, as TipoMediaDaFlags tests them (ImageSequence
// above is also one).
enum BitTipoMedia : int32_t {
    BitGuardian = 0x1,
    BitEmail = 0x2,
    BitMovie = 0x4,
    BitExec = 0x200,
    BitGraphMenu = 0x400,
    BitTextMenu = 0x800,
    BitAction = 0x1000,
    BitCheck = 0x2000,
    BitEquipment = 0x400000,
    BitSplash = 0x800000,
    BitCommand = 0x1000000,
    BitKeyboard = 0x2000000,
    BitSensory = 0x4000000,
    BitAlert = 0x8000000,
    BitCountDown = 0x10000000,
    BitComunicator = 0x20000000,
    BitSwitch = 0x40000000,
};

// Option and run-state bits of Options.
enum BitOptions : int32_t {
    HideProgram = 0x2,
    SoundFromCd = 0x4,
    AntiTrigger = 0x8,
    FadeOutSound = 0x10,
    WaitProgramEnd = 0x20,
    WaitAfterMovie = 0x100,
    HasCodec = 0x200,
    CodecSetupFile = 0x400,
    EscapeBreaks = 0x800,
    Disabled = 0x1000,
    AlreadyShown = 0x2000,
    LoopSound = 0x4000,
    InitiallyDisabled = 0x8000,
    WhileCdSounds = 0x10000,
    Working = 0x20000,
    Suspended = 0x40000,
    RequiresAction = 0x80000,
    NoScreenCapture = 0x100000,
    SaveGameFirst = 0x200000,
    AbortGameOnFailure = 0x400000,
    WaitGameStop = 0x800000,
};

enum TipoMedia : int32_t {
    TipoNessuno = -1,
    TipoAlert = 0,
    TipoImageFixedText = 1,
    TipoImageScrollText = 2,
    TipoImageSequenceScroll = 3,
    TipoKeyboard = 4,
    TipoEmail = 5,
    TipoSensory = 6,
    TipoGuardian = 7,
    TipoEquipment = 8,
    TipoMovie = 9,
    TipoSplashScreen = 10,
    TipoExec = 11,
    TipoCommand = 12,
    TipoImageSequenceFixed = 13,
    TipoCountDown = 14,
    TipoComunicator = 15,
    TipoSwitch = 16,
    TipoCheck = 17,
    TipoAction = 18,
    TipoTextMenu = 19,
    TipoGraphMenu = 20,
};

// The triggers of the loaded configuration, TriggerCount records and one
// spare empty one; CD-triggered records come first.
extern std::vector<MediaTrigger> ListaMedia;
// The record being performed.
extern MediaTrigger MediaCorrente;
// The text format in use for the text being drawn.
extern TextFormat FormatoTestoCorrente;
// The last syntax, load or packet error.
extern std::string UltimoErrore;

int32_t TipoMediaDaFlags(int32_t typeFlags);
std::string NomeTipoMedia(int32_t tipo);
// The loaded records, without the spare one.
size_t NumTriggerCaricati();
// The loaded records bound to a CD track: those before the first record
// not bound to one. The spare record's CD 0 never counts as a track.
size_t NumTriggerCd();
// The index of the first record with the code, or -1 with an error line.
int32_t IndiceMediaDaCodice(int32_t codice);
// Appends the name unless the list holds it in any letter case.
void AggiungiNomeUnico(const std::string& nome, std::vector<std::string>& lista, int32_t& conteggio);
