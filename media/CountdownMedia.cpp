#include "media/CountdownMedia.h"

#include "media/MediaWindow.h"

#include "core/MediaLog.h"
#include "core/MediaSyntax.h"
#include "core/MediaTrigger.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"
#include "core/Utf8Text.h"
#include "gamerun/Sounds.h"
#include "media/MediaText.h"
#include "platform/Clock.h"

int32_t ContatoreIniziale = 1;
int32_t ContatoreFinale = 10;
int32_t FlagCountDown = 8;

bool LeggiSintassiCountDown(const std::string&) { return false; }
std::string FormattaContatore(int32_t valore) { return std::to_string(valore); }

namespace {

constexpr int32_t EffettoFineCountDown = 6;

// Every "#COUNTER#", in any letter case, replaced by the counter's text.
std::string TestoConContatore(const std::string& testo, const std::string& contatore) {
    static const std::string segnaposto = "#COUNTER#";
    const std::string maiuscolo = MaiuscoloAscii(testo);
    std::string risultato;
    size_t da = 0;
    for (size_t trovato = maiuscolo.find(segnaposto); trovato != std::string::npos;
         trovato = maiuscolo.find(segnaposto, da)) {
        risultato.append(testo, da, trovato - da).append(contatore);
        da = trovato + segnaposto.size();
    }
    return risultato.append(testo, da, std::string::npos);
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
