#pragma once
// The "KEYBOARD" and "SENSORY" sections of the working media, their hot-key
// names and the log text of a command code. Bytes and values only.
#include <cstdint>
#include <string>

struct ParametriKeyboardMedia {
    int32_t Codice = -1;  // media performed while the hot key is down
    int32_t Flags = 0;
    std::string HotKey;
};
// Flags of a keyboard media.
constexpr int32_t KeyboardConSuono = 0x1;

struct ParametriSensoryMedia {
    int32_t Codice = -1;  // media performed when the checks succeed
    int32_t Flags = 0;
};
// Flags of a sensory media: how many positive checks in a row it takes
// (the last of 0x10, 0x8, 0x4 that is set wins), and the movement checks.
enum FlagSensory : int32_t {
    MovimentoCorsa = 0x1,       // runs, jumps or rolls
    MovimentoInPiedi = 0x2,     // stands up
    SensibilitaBassa = 0x4,     // three checks
    SensibilitaMedia = 0x8,     // two checks
    SensibilitaAlta = 0x10,     // one check
    MovimentoScatto = 0x20,     // dash running
    MovimentoNonScatto = 0x40,  // not dash running
    MovimentoSalto = 0x80,      // jumps or rolls
    MovimentoFermo = 0x100,     // neither runs nor jumps
};

// Overwritten by every read.
extern ParametriKeyboardMedia ParametriKeyboard;
extern ParametriSensoryMedia ParametriSensory;

// An empty section leaves the defaults and is accepted; a faulty tag is an
// error line, with its text in UltimoErrore, and False.
bool LeggiSintassiKeyboard(const std::string& sezione);
bool LeggiSintassiSensory(const std::string& sezione);
// The number of positive checks the flags ask for; 0 with no sensitivity.
int32_t NumeroControlliSensory(int32_t flags);

// The virtual key of a hot-key name, without regard to case; -1 for an
// unknown name.
int32_t CodiceTastoDaNome(const std::string& nome);

// The log text of a command code: unless <senzaConteggio>, its count with
// " secs" or " hits" and three blanks, then the names of its keys joined
// by "+".
std::string NomeAzioneTasto(int32_t codice, bool senzaConteggio);
