#include "media/CountdownMedia.h"

#include "core/MediaLog.h"
#include "core/MediaSyntax.h"
#include "core/MediaTrigger.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"
#include "core/Utf8Text.h"
#include "runservices/Sounds.h"
#include "media/MediaWindow.h"
#include "media/MediaText.h"
#include "platform/Clock.h"

int32_t ContatoreIniziale = 1;
int32_t ContatoreFinale = 10;
int32_t FlagCountDown = 8;

namespace {

// Hexadecimal digits after an optional "-", at most 32 bits of them; a lone
// "-" reads as 0.
bool ValoreEsadecimale(const std::string& testo, int32_t& valore) {
    if (testo.empty() || !IsEsadecimale(testo)) return false;
    const bool negativo = testo[0] == '-';
    const std::string cifre = testo.substr(negativo ? 1 : 0);
    const size_t primaCifra = cifre.find_first_not_of('0');
    if (primaCifra != std::string::npos && cifre.size() - primaCifra > 8) return false;
    const uint32_t v = cifre.empty() ? 0u : static_cast<uint32_t>(std::stoul(cifre, nullptr, 16));
    valore = static_cast<int32_t>(negativo ? 0u - v : v);
    return true;
}

}  // namespace

bool LeggiSintassiCountDown(const std::string& sezione) {
    ContatoreIniziale = 1;
    ContatoreFinale = 10;
    FlagCountDown = 8;
    if (sezione.empty()) return true;
    std::string testo = sezione;
    const auto errore = [] { return RigaErrore("Syntax error in CountDown trigger"); };
    int32_t valore = 0;
    if (!ValoreIntero32(EstraiTag(testo, "#START_COUNTER#="), valore)) return errore();
    ContatoreIniziale = valore;
    if (!ValoreIntero32(EstraiTag(testo, "#END_COUNTER#="), valore)) return errore();
    ContatoreFinale = valore;
    if (!ValoreEsadecimale(EstraiTag(testo, "#FLAGS#="), valore)) return errore();
    FlagCountDown = valore;
    return true;
}

std::string FormattaContatore(int32_t valore) {
    std::string testo;
    if (HaBit(FlagCountDown, 0x8)) testo = FormatoZeri(valore / 60, 2) + ":" + FormatoZeri(valore % 60, 2);
    if (HaBit(FlagCountDown, 0x2)) testo = std::to_string(valore);
    if (HaBit(FlagCountDown, 0x4)) testo = FormatoZeri(valore, 3);
    if (HaBit(FlagCountDown, 0x10)) testo = FormatoZeri(valore, 2);
    return testo;
}

namespace {

constexpr int32_t EffettoFineCountDown = 6;

// Every "#COUNTER#", in any letter case, replaced by the counter's text.
std::string TestoConContatore(const std::string& testo, const std::string& contatore) {
    return SostituisciSenzaCaso(testo, "#COUNTER#", contatore);
}

}  // namespace

void Dialog_Titoli::MostraCountDown() {
    bool ok = false;
    CaricaImmagineMedia(0, ok);
    CreaMemoryDC();
    LeggiSintassiCountDown(EstraiSezione(MediaCorrente.Syntax, "COUNTDOWN"));

    FormatoTestoCorrente = MediaCorrente.Formato;
    TestoDinamico = TestoMedia(MediaCorrente.Text);
    if (LogAbilitato) StampaLog("Text to show:\r\n" + AnsiDaUtf8(TestoDinamico));
    ImpostaFontTesto();

    FormatoTestoCorrente.Flags = FlagCountDown & 0x1;
    // The start value is on screen at once; each tick then shows the next.
    ScriviTestoRect(TestoConContatore(TestoDinamico, FormattaContatore(ContatoreIniziale)));
    UltimoContatore = ContatoreIniziale;
    Timer_Dinamico.SetInterval(1000);
    InizioCountDown = ClockTick();
    CountDownInCorso = true;
    Timer_Dinamico.SetEnabled(true);

    while (Timer_Dinamico.Enabled()) {
        DoEvents();
        bool fine = false;
        if (ControllaTastoEscape(fine)) {
            // Stopped first, so that no late tick writes over the end value.
            Timer_Dinamico.SetEnabled(false);
            CountDownInCorso = false;
            ScriviTestoRect(TestoConContatore(TestoDinamico, FormattaContatore(ContatoreFinale)));
            SuonaEffetto(EffettoFineCountDown, false, false);
            break;
        }
        ClockSleep(10);
    }
    CountDownInCorso = false;
    AttendiDecimi(4, true);
}
