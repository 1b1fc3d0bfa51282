#include "gamerun/InputPrompt.h"

#include <windows.h>

#include "core/MediaTrigger.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"
#include "core/Utf8Text.h"
#include "runservices/Desktop.h"
#include "runservices/RunState.h"
#include "runservices/Sounds.h"
#include "media/SplashScreen.h"
#include "input/GameOperation.h"

namespace {

constexpr int16_t TastoBackspace = 8;
constexpr int16_t TastoInvio = 13;
constexpr int16_t TastoEscape = 27;

// The locale's order without regard to case, as the player's letters are
// compared: lower-case letters lie between "A" and "Z" too.
int ConfrontoTesto(wchar_t a, wchar_t b) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE | NORM_IGNOREKANATYPE | NORM_IGNOREWIDTH, &a, 1, &b,
                          1);
}

bool TraCaratteri(wchar_t c, wchar_t da, wchar_t a) {
    return ConfrontoTesto(c, da) >= CSTR_EQUAL && ConfrontoTesto(c, a) <= CSTR_EQUAL;
}

bool TastoValido(int16_t tasto) {
    switch (tasto) {
    case TastoBackspace:
    case TastoInvio:
    case TastoEscape:
    case 32:
    case 46:
        return true;
    default:
        break;
    }
    const wchar_t c = static_cast<wchar_t>(static_cast<uint16_t>(tasto));
    return TraCaratteri(c, L'A', L'Z') || TraCaratteri(c, L'0', L'9');
}

std::string CarattereUtf8(int16_t tasto) {
    return Utf8DaUtf16(std::u16string(1, static_cast<char16_t>(static_cast<uint16_t>(tasto))));
}

// Characters, not bytes: a typed letter outside ASCII takes several bytes.
size_t NumeroCaratteri(const std::string& testo) {
    size_t n = 0;
    for (unsigned char c : testo)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

void TogliUltimoCarattere(std::string& testo) {
    while (!testo.empty()) {
        const unsigned char c = static_cast<unsigned char>(testo.back());
        testo.pop_back();
        if ((c & 0xC0) != 0x80) break;
    }
}

// Every "#PROMPT#" of the splash text, in any case, becomes the shown text.
std::string ConSegnaposto(const std::string& mostrato) {
    return SostituisciSenzaCaso(TestoPromptSplash, "#PROMPT#", mostrato);
}

void AggiornaCover() {
    Dialog_Cover& cover = DialogCover();
    if (cover.Loaded()) UpdateWindow(cover.hWnd());
}

void DisegnaPrompt(const std::string& mostrato) {
    TestoPromptMostrato = ConSegnaposto(mostrato);
    DisegnaTestoSplash(TestoPromptMostrato);
}

void MostraInput(bool cursore) {
    CopiaSfondoSplash(StatoAnimazioneSplash.AnimazioneSplash, false);
    DisegnaPrompt(cursore ? InputSplash + "_" : InputSplash);
    AggiornaCover();
}

bool HaFlag(int32_t bit) { return (OperazioneGioco.Flags & bit) != 0; }

}  // namespace

void SostituisciPrompt(int16_t tasto) {
    if (!TastoValido(tasto)) return;
    if (!HaBit(ModificheAvvio, InputBoxAttivo) || InputSplashConcluso) return;
    switch (tasto) {
    case TastoInvio:
        InputSplashConcluso = true;
        return;
    case TastoBackspace:
        TogliUltimoCarattere(InputSplash);
        MostraInput(!HaFlag(InputSenzaCursoreBackspace));
        if (HaFlag(InputSuoniTasti)) SuonaEffetto(5, true, false);
        return;
    case TastoEscape:
        if (MediaCorrente.Options & EscapeBreaks) {
            InputSplash.clear();
            InputSplashConcluso = true;
        }
        return;
    default:
        break;
    }
    if (static_cast<int64_t>(NumeroCaratteri(InputSplash)) >= LunghezzaMaxInput) {
        if (HaFlag(InputSuoniTasti)) SuonaEffetto(3, true, false);
        return;
    }
    if (HaFlag(InputSuoniTasti)) SuonaEffetto(1, true, false);
    if (HaFlag(InputTastoSingolo)) {
        InputSplash = CarattereUtf8(tasto);
        if (!HaFlag(InputSenzaCursore)) {
            DisegnaPrompt(InputSplash);
            AggiornaCover();
            // The answer stays in sight a moment before the splash goes on.
            AttendiDecimi(5, true);
        }
        InputSplashConcluso = true;
        return;
    }
    InputSplash += CarattereUtf8(tasto);
    MostraInput(!HaFlag(InputSenzaCursore));
}
