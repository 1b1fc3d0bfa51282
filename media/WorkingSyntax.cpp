#include "media/WorkingSyntax.h"

#include <utility>

#include "core/MediaLog.h"
#include "core/MediaSyntax.h"
#include "core/TextUtils.h"

ParametriKeyboardMedia ParametriKeyboard;
ParametriSensoryMedia ParametriSensory;

namespace {

// A tag's value as a whole number; an empty or missing value is not numeric.
bool LeggiValore(std::string& testo, const char* tag, int32_t& valore) {
    const std::string v = EstraiTag(testo, tag);
    return v != "~" && ValoreIntero32(v, valore);
}

// The two tags both kinds start with; the first faulty one is the error.
bool LeggiCodiceEFlags(std::string& testo, int32_t& codice, int32_t& flags, const char* erroreCodice,
                       const char* erroreFlags) {
    if (!LeggiValore(testo, "#CODE#=", codice)) return RigaErrore(erroreCodice);
    if (!LeggiValore(testo, "#FLAGS#=", flags)) return RigaErrore(erroreFlags);
    return true;
}

}  // namespace

bool LeggiSintassiKeyboard(const std::string& sezione) {
    ParametriKeyboard = ParametriKeyboardMedia{};
    if (sezione.empty()) return true;
    std::string testo = sezione;
    if (!LeggiCodiceEFlags(testo, ParametriKeyboard.Codice, ParametriKeyboard.Flags,
                           "SYNTAX ERROR: in KeyBoard media not numeric value for #code#",
                           "SYNTAX ERROR: in KeyBoard media not numeric value for #Flags#"))
        return false;
    ParametriKeyboard.HotKey = EstraiTag(testo, "#HOTKEY#=");
    return true;
}

bool LeggiSintassiSensory(const std::string& sezione) {
    ParametriSensory = ParametriSensoryMedia{};
    if (sezione.empty()) return true;
    std::string testo = sezione;
    return LeggiCodiceEFlags(testo, ParametriSensory.Codice, ParametriSensory.Flags,
                             "SYNTAX ERROR in Sensory Media: not numeric value for #code#",
                             "SYNTAX ERROR in Sensory Media: not numeric value for #flags#");
}

int32_t NumeroControlliSensory(int32_t flags) {
    int32_t n = 0;
    if (flags & SensibilitaAlta) n = 1;
    if (flags & SensibilitaMedia) n = 2;
    if (flags & SensibilitaBassa) n = 3;
    return n;
}

int32_t CodiceTastoDaNome(const std::string& nome) {
    static const std::pair<const char*, int32_t> nomi[] = {
        {"ESCAPE", 27}, {"END", 35}, {"HOME", 36}, {"RETURN", 13}};
    const std::string n = MaiuscoloAscii(nome);
    for (const auto& [testo, codice] : nomi)
        if (n == testo) return codice;
    for (int32_t f = 1; f <= 12; ++f)
        if (n == "F" + std::to_string(f)) return 111 + f;
    // The key of a letter is its capital, whichever way the author wrote it.
    if (n >= "A" && n <= "Z") return static_cast<unsigned char>(n[0]);
    if (n >= "0" && n <= "9") return static_cast<unsigned char>(n[0]);
    return -1;
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
