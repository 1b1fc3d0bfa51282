#include "media/WorkingMedia.h"

#include <windows.h>

#include "core/MediaLog.h"
#include "platform/Clock.h"

bool EseguiWorkingMedia(int32_t, bool& BreakEscape) {
    StampaNonCostruito("EseguiWorkingMedia");
    BreakEscape = false;
    return false;
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
