#include "media/WorkingMedia.h"

#include <windows.h>

#include "core/MediaLog.h"
#include "core/SharedState.h"
#include "gamerun/GameWindow.h"
#include "platform/Clock.h"

namespace {

constexpr uint32_t SilenzioRichiesto = 300;
constexpr uint32_t LimiteSilenzio = 5000;
constexpr uint32_t LimiteEscape = 10000;

bool TastoGiu() {
    // Mouse buttons are no keys of the game.
    for (int vk = VK_BACK; vk <= 0xFE; ++vk)
        if (GetAsyncKeyState(vk) & 0x8000) return true;
    return false;
}

}  // namespace

bool EseguiWorkingMedia(int32_t, bool& BreakEscape) {
    StampaNonCostruito("EseguiWorkingMedia");
    BreakEscape = false;
    return false;
}

bool AttendiTastieraSilenziosa() {
    // The blocked input is quiet; the game's end is still for the caller to hear.
    if (HaBit(StatoGioco, InputUtenteSospeso)) return RichiestaAbort();
    const uint32_t inizio = ClockTick();
    uint32_t silenzio = inizio;
    for (;;) {
        if (!RichiestaAbort()) return false;
        const uint32_t adesso = ClockTick();
        if (TastoGiu()) silenzio = adesso;
        if (adesso - silenzio >= SilenzioRichiesto) return true;
        if (adesso - inizio >= LimiteSilenzio) {
            StampaLog("WARNING: time out wating silent user input");
            return true;
        }
        ClockSleep(50);
    }
}

void AttendiFineEscape(bool) {
    // Bounded: a key held for ever must not stop the run.
    const uint32_t inizio = ClockTick();
    while ((GetAsyncKeyState(VK_ESCAPE) & 0x8000) && ClockTick() - inizio < LimiteEscape) ClockSleep(20);
}

std::string NomeAzioneTasto(int32_t codice, bool senzaConteggio) {
    static const std::pair<int, const char*> nomi[] = {
        {24, "Action_Start"}, {21, "Dash"},   {17, "Down"},         {20, "Duck_Start"},   {26, "Extract_Flare"},
        {25, "Extract_Weapon"}, {23, "Jump"}, {29, "Run_Up_Jump"},  {19, "Left"},         {27, "Look_Start"},
        {18, "Right"},        {28, "Roll"},   {16, "Up"},           {22, "Walk"},         {8, "Set_Dozy"},
        {9, "End_Dozy"},      {11, "Escape"}, {10, "Pause"},        {7, "F5_Key"},        {6, "F6_Key"},
        {14, "Action_End"},   {15, "Duck_End"}, {13, "Look_End"}};
    std::string testo;
    if (!senzaConteggio)
        testo = std::to_string(codice & 63) + ((codice & (1 << 30)) ? " secs" : " hits") + "   ";
    bool primo = true;
    for (const auto& [bit, nome] : nomi) {
        if (!(codice & (1 << bit))) continue;
        if (!primo) testo += "+";
        testo += nome;
        primo = false;
    }
    return testo;
}
