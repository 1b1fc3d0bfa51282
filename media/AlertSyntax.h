#pragma once
// The "ALERT" and "LIFE_BAR" sections of an alert media's syntax text, and
// the place of the life bar on the game's screen. Bytes and values only.
#include <cstdint>
#include <string>

// The alert block, saved and restored whole (32 bytes) around nested media.
struct BloccoAlertMedia {
    int32_t FlagAlert = 0;
    int32_t RefreshAlert = 0;       // redraws per second on the full screen
    int32_t ColoreBordo = 0;        // RGB
    int32_t SpessoreBordo = 0;      // pixels
    int32_t ColoreSfondoAlert = 0;  // RGB
    int32_t MediaFineTempo = 0;     // media codes, -1 none
    int32_t MediaInterruzione = 0;
    int32_t CdInterruzione = 0;  // CD track, -1 none
};
static_assert(sizeof(BloccoAlertMedia) == 32);
extern BloccoAlertMedia BloccoAlert;

// FlagAlert.
constexpr int32_t BeepSecondi = 0x1;
constexpr int32_t ConCountDown = 0x2;
constexpr int32_t Lampeggio = 0x4;
constexpr int32_t ConLifeBar = 0x8;
constexpr int32_t TestoProgressivo = 0x10;
constexpr int32_t TestoSemplice = 0x20;
constexpr int32_t RettangoloAllargato = 0x40;
constexpr int32_t IgnoraGioco = 0x80;
constexpr int32_t ConBordo = 0x100;
constexpr int32_t ConCdBreak = 0x200;
constexpr int32_t AzzeraFlagSequenza = 0x400;
constexpr int32_t SenzaInputUtente = 0x800;

// The ALERT section into BloccoAlert; False at the first faulty tag, with
// what was read before it kept.
bool LeggiSintassiAlert(const std::string& sezione);

struct ParametriLifeBar {
    int32_t FlagLifeBar = 6409;
    int32_t DurataPiena = 16;  // seconds from 0 to 100 percent
    int32_t PercBlink = 10;
    int32_t PercRiduzione = 0;
    int32_t ColoreBarra = 200;  // RGB(200, 0, 0)
    std::string ImmagineBarra;
};
extern ParametriLifeBar LifeBarParametri;

// FlagLifeBar.
constexpr int32_t Lampeggia = 0x1;
constexpr int32_t RiduzioneAbbassato = 0x2;
constexpr int32_t RigaAlta = 0x4;
constexpr int32_t LatoDestro = 0x10;
constexpr int32_t BarraCrescente = 0x20;
constexpr int32_t AltoDestra = 0x40;
constexpr int32_t RecuperoAbbassato = 0x80;
constexpr int32_t IgnoraAbbassato = 0x100;
constexpr int32_t RimuoviSubito = 0x200;
constexpr int32_t PienaDueSecondi = 0x400;
constexpr int32_t RiempiLentamente = 0x800;
constexpr int32_t RiempimentoColore = 0x1000;
constexpr int32_t RiempimentoImmagine = 0x2000;

// The LIFE_BAR section into LifeBarParametri.
bool SintassiLifeBar(const std::string& sezione);

// Screen pixels; right and bottom exclusive.
struct RettangoloBarra {
    int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const RettangoloBarra&) const = default;
};
// The bar's place on a game screen of the size given, by the corner the
// flags ask for. False, with an error line, when the screen leaves no room
// for a bar with its frame.
bool RettangoloLifeBar(int32_t schermoX, int32_t schermoY, RettangoloBarra& rett);
