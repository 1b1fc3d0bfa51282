// Text menu: a text with a prompt in which the player types the answer.
#include "media/TextMenu.h"

#include <windows.h>

#include "core/LevelVariables.h"
#include "core/MediaLog.h"
#include "core/MediaSyntax.h"
#include "core/MediaTrigger.h"
#include "core/TextUtils.h"
#include "core/Utf8Text.h"
#include "runservices/GameWindow.h"
#include "runservices/Sounds.h"
#include "media/MediaText.h"
#include "media/MediaWindow.h"
#include "platform/Clock.h"

ParametriTextMenu TextMenuParams;

namespace {

constexpr int32_t FlagMaschera = 0x1;
constexpr int32_t FlagConCaso = 0x2;
constexpr int32_t FlagSuoni = 0x4;
constexpr int32_t FlagTastoSingolo = 0x8;
constexpr int32_t FlagFallitoSenzaMedia = 0x10;
constexpr int32_t FlagSenzaCursore = 0x40;
constexpr int32_t FlagSenzaSuonoRisposta = 0x80;
constexpr int32_t EffettoLampeggio = 2;
constexpr int32_t TastoInvio = 13;
constexpr int32_t TastoCancella = 8;
constexpr int32_t TastoEscape = 27;
constexpr uint32_t PassoMenu = 100;
constexpr uint32_t FettaMenu = 10;

bool Continuazione(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Characters, not bytes: the texts are UTF-8.
int32_t Lunghezza(const std::string& testo) {
    int32_t n = 0;
    for (char c : testo)
        if (!Continuazione(c)) ++n;
    return n;
}

void TogliUltimo(std::string& testo) {
    while (!testo.empty() && Continuazione(testo.back())) testo.pop_back();
    if (!testo.empty()) testo.pop_back();
}

std::string SenzaMaschera(const std::string& prompt) {
    std::string testo;
    for (char c : prompt)
        if (c != '*' && c != '_') testo += c;
    return testo;
}

int32_t LunghezzaPrimaVoce() {
    return VociTextMenu() > 0 ? Lunghezza(TextMenuParams.Items[0].Value) : 0;
}

std::string PromptMenu(const std::string& digitato) {
    const int32_t flags = TextMenuParams.Flags;
    std::string prompt = digitato;
    if (HaBit(flags, FlagMaschera)) {
        const int32_t liberi = LunghezzaPrimaVoce() - Lunghezza(digitato);
        for (int32_t i = 0; i < liberi; ++i) prompt += (i == 0 && !HaBit(flags, FlagSenzaCursore)) ? "_" : "*";
    } else if (!HaBit(flags, FlagSenzaCursore)) {
        prompt += "_";
    }
    return prompt;
}

bool UgualeRisposta(const std::string& a, const std::string& b, bool conCaso) {
    if (Lunghezza(a) != Lunghezza(b)) return false;
    if (conCaso) return a == b;
    const std::u16string a16 = Utf16DaUtf8(a), b16 = Utf16DaUtf8(b);
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, reinterpret_cast<LPCWSTR>(a16.c_str()),
                          static_cast<int>(a16.size()), reinterpret_cast<LPCWSTR>(b16.c_str()),
                          static_cast<int>(b16.size())) == CSTR_EQUAL;
}

// Up to one poll after the mark, ended by a key waiting in the queue: a key
// is drawn within a short slice, not a whole poll later.
void AttendiTasto(uint32_t segno) {
    while (ClockTick() - segno < PassoMenu) {
        if (HIWORD(GetQueueStatus(QS_KEY)) != 0) return;
        ClockSleep(FettaMenu);
    }
}

}  // namespace

int32_t VociTextMenu() { return static_cast<int32_t>(TextMenuParams.Items.size()) - 1; }

bool SintassiTextMenu(const std::string& sezione) {
    TextMenuParams = ParametriTextMenu{};
    if (sezione.empty()) return true;
    std::string testo = sezione;
    int32_t valore = 0;
    if (!ValoreIntero32(EstraiTag(testo, "#ATTEMPTS#="), valore))
        return RigaErrore("ERROR in Text_Menu media: missing #Attempts# value");
    TextMenuParams.Attempts = valore;
    if (!ValoreIntero32(EstraiTag(testo, "#FLAGS#="), valore))
        return RigaErrore("ERROR in Text_Menu media: missing #Flags# value");
    TextMenuParams.Flags = valore;
    if (!ValoreIntero32(EstraiTag(testo, "#FAILURE_MEDIA#="), valore))
        return RigaErrore("ERROR in Text_Menu media: missing #FAILURE_MEDIA# value");
    TextMenuParams.FailureMedia = valore;
    TextMenuParams.MaxChars = ValoreIntero32(EstraiTag(testo, "#MAX_CHARS#="), valore) ? valore : 12;
    const std::string totale = EstraiTag(testo, "#TOT_MENU#=");
    if (!ValoreIntero32(totale, valore)) return RigaErrore("ERROR in Text_Menu media: missing #TOT_MENU# value");
    if (valore < 0 || valore > MassimoVociTextMenu)
        return RigaErroreUtf8("ERROR in Text_Menu media: wrong #TOT_MENU# value = " + totale);
    TextMenuParams.TotMenu = valore;
    std::vector<TextMenuItem>& voci = TextMenuParams.Items;
    voci.clear();
    bool esito = true;
    for (int32_t n = 1; n <= TextMenuParams.TotMenu; ++n) {
        const std::string nome = "MENU" + std::to_string(n);
        std::string dati = EstraiSezione(sezione, nome);
        TextMenuItem voce;
        voce.Value = EstraiTag(dati, "#VALUE#=");
        if (!ValoreIntero32(EstraiTag(dati, "#MEDIA_CODE#="), voce.MediaCode)) {
            esito = RigaErrore("ERROR in Text_Menu media: missing #MEDIA_CODE# for " + nome);
            break;
        }
        voci.push_back(std::move(voce));
    }
    voci.emplace_back();
    return esito;
}

void Dialog_Titoli::MostraTextMenu() {
    bool ok = false;
    CaricaImmagineMedia(0, ok);
    CreaMemoryDC();
    FormatoTestoCorrente = MediaCorrente.Formato;
    SintassiTextMenu(EstraiSezione(MediaCorrente.Syntax, "TEXT_MENU"));
    TestoPrompt = PromptMenu("");
    SuoniMenu = HaBit(TextMenuParams.Flags, FlagSuoni);
    ModelloTestoMenu = TestoMedia(MediaCorrente.Text);
    StampaLog("Text to show:\r\n" + AnsiDaUtf8(ModelloTestoMenu));
    TestoDinamico = TestoConPrompt();
    bool completato = false;
    MostraTestoDinamico(TestoDinamico, completato);
    if (!completato) {
        EsitoMedia = false;
        ValoreMenu = -1;
        return;
    }
    // The keys come to the window, not to the picture box.
    SetFocus(hWnd());
    PromptAttivo = true;
    for (;;) {
        const uint32_t segno = ClockTick();
        DoEvents();
        bool fine = false;
        // Escape is also taken from the key's message, so that a tap shorter
        // than the poll still ends the menu.
        if (ControllaTastoEscape(fine) || (!PromptAttivo && !RispostaData)) {
            EsitoMedia = false;
            ValoreMenu = -1;
            break;
        }
        if (!RichiestaAbort()) {
            EsitoMedia = false;
            AbortEscape = true;
            ValoreMenu = -1;
            break;
        }
        if (RispostaData) break;
        AttendiTasto(segno);
    }
    PromptAttivo = false;
}

std::string Dialog_Titoli::TestoConPrompt() const {
    return SostituisciSenzaCaso(ModelloTestoMenu, "#PROMPT#", TestoPrompt);
}

void Dialog_Titoli::AggiornaTestoMenu() {
    TestoDinamico = TestoConPrompt();
    if (FormatoTestoCorrente.Effect != EffettoLampeggio) ScriviTestoRect(TestoDinamico);
}

void Dialog_Titoli::TextMenu_KeyPress(int32_t tasto) {
    if (!PromptAttivo || RispostaData) return;
    const int32_t flags = TextMenuParams.Flags;
    if (tasto == TastoInvio) {
        VerificaRispostaMenu();
        return;
    }
    if (tasto == TastoCancella) {
        std::string digitato = SenzaMaschera(TestoPrompt);
        TogliUltimo(digitato);
        TestoPrompt = PromptMenu(digitato);
        AggiornaTestoMenu();
        if (SuoniMenu) SuonaEffetto(5, true, true);
        return;
    }
    if (tasto == TastoEscape) {
        if (!HaBit(MediaCorrente.Options, EscapeBreaks)) return;
        PromptAttivo = false;
        TestoMostrato = false;
        AbortEscape = true;
        ValoreMenu = -1;
        return;
    }
    const std::string carattere = Utf8DaAnsi(std::string(1, static_cast<char>(tasto)));
    if (HaBit(flags, FlagTastoSingolo)) {
        TestoPrompt = carattere;
        VerificaRispostaMenu();
        return;
    }
    std::string digitato = SenzaMaschera(TestoPrompt);
    const int32_t n = Lunghezza(digitato);
    if (n < TextMenuParams.MaxChars && (!HaBit(flags, FlagMaschera) || n < LunghezzaPrimaVoce())) {
        digitato += carattere;
        TestoPrompt = PromptMenu(digitato);
        AggiornaTestoMenu();
        if (SuoniMenu) SuonaEffetto(1, true, true);
    } else if (n >= TextMenuParams.MaxChars) {
        SuonaEffetto(3, false, false);
    }
}

void Dialog_Titoli::VerificaRispostaMenu() {
    const std::string risposta = SenzaMaschera(TestoPrompt);
    const int32_t flags = TextMenuParams.Flags;
    const bool suonoRisposta = SuoniMenu && !HaBit(flags, FlagSenzaSuonoRisposta);
    ValoreMenu = -1;
    for (int32_t i = 0; i < VociTextMenu(); ++i) {
        const TextMenuItem& voce = TextMenuParams.Items[static_cast<size_t>(i)];
        if (!UgualeRisposta(risposta, voce.Value, HaBit(flags, FlagConCaso))) continue;
        if (suonoRisposta) SuonaEffetto(10, true, false);
        SalvaVariabile(IdUltimoInput, risposta);
        ValoreMenu = voce.MediaCode;
        EsitoMedia = true;
        RispostaData = true;
        Timer_Dinamico.SetEnabled(false);
        return;
    }
    if (suonoRisposta) SuonaEffetto(3, true, false);
    ++TentativiFatti;
    if (TextMenuParams.Attempts != 0 && TentativiFatti >= TextMenuParams.Attempts) {
        EsitoMedia = false;
        RispostaData = true;
        ValoreMenu = HaBit(flags, FlagFallitoSenzaMedia) ? -1 : TextMenuParams.FailureMedia;
        Timer_Dinamico.SetEnabled(false);
        return;
    }
    TestoPrompt = PromptMenu("");
    AggiornaTestoMenu();
}
