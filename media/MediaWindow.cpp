#include "media/MediaWindow.h"

#include <cmath>
#include <exception>

#include "core/FileUtils.h"
#include "core/MediaExtraction.h"
#include "core/MediaLog.h"
#include "core/MediaSyntax.h"
#include "core/MediaTrigger.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"
#include "runservices/Desktop.h"
#include "runservices/DisplayModes.h"
#include "runservices/GameWindow.h"
#include "runservices/Sounds.h"
#include "runservices/RunState.h"
#include "runservices/KeyboardHook.h"
#include "runservices/PlayerKeys.h"
#include "media/CountdownMedia.h"
#include "media/WorkingMedia.h"
#include "platform/Clock.h"

namespace {

constexpr int32_t TastoEscape = 27;
constexpr int32_t StatoInRiproduzione = 2;
constexpr int32_t FlagSuoniTesto = 0x1;
constexpr int32_t FlagTickCountDown = 0x1;
constexpr int32_t FlagSuoniMenuGrafico = 0x4;
constexpr int32_t EffettoLampeggio = 2;
// Posted by the load event: the first tick of Timer1 without waiting for the
// system's timer.
constexpr UINT PrimoTick = WM_APP + 1;

// The kinds whose performer paints the media's own picture first.
bool DipingeImmagineMedia(int32_t tipo) {
    return tipo == TipoImageFixedText || tipo == TipoImageScrollText || tipo == TipoImageSequenceScroll ||
           tipo == TipoImageSequenceFixed || tipo == TipoCountDown;
}

// Every "#COUNTER#", in any letter case, replaced by the counter.
std::string ConContatore(const std::string& testo, const std::string& contatore) {
    return SostituisciSenzaCaso(testo, "#COUNTER#", contatore);
}

// One step of the performance: a run-time error is logged and the next
// step goes on, so that the window always unloads.
template <typename F>
void Passo(F&& passo) {
    try {
        passo();
    } catch (const std::exception& e) {
        StampaLog(std::string("ERROR in EseguiMediaDialogo() : ") + e.what(), true);
    }
}

}  // namespace

Dialog_Titoli::Dialog_Titoli()
    : Form("LudovaneTitoli", ""),
      Picture1(*this),
      Timer1(*this, 10, false, [this] { Timer1_Timer(); }),
      Timer_Dinamico(*this, 0, false, [this] { Timer_Dinamico_Timer(); }) {
    // Over the game and the cover window, with no border, caption or task
    // bar button of its own.
    ImpostaStile(WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
}

Dialog_Titoli::~Dialog_Titoli() { LiberaMemoryDC(); }

void Dialog_Titoli::ImpostaValori() {
    AbortEscape = false;
    ValoreMenu = -1;
    // A window that never performs reports a failure.
    EsitoMedia = false;
    ErroreMedia = true;
    CountDownInCorso = false;
    ClipAttivo = false;
    PromptAttivo = false;
    RispostaData = false;
    TentativiFatti = 0;
    MenuGraficoAttivo = false;
    MenuGraficoFinito = false;
    CursoreMostrato = false;
    VoceSelezionata = 0;
    AreaCursoreGraphMenu = RECT{};
    TestoMostrato = false;
    immaginePronta_ = false;
    scaricata_ = false;
    FileTemporanei.clear();
    TestoDinamico.clear();
    FileSuonoTemp.clear();
    Timer_Dinamico.SetEnabled(false);
    SpostaMouseNascosto();

    const int32_t tpp = std::max(TwipsPerPixel(), 1);
    double twipsX, twipsY;
    if (!IsPreviewMode() && !IsModoFinestra()) {
        twipsX = RiferimentoX;
        twipsY = RiferimentoY;
    } else {
        twipsX = std::nearbyint(static_cast<double>(SchermoX) * tpp);
        twipsY = std::nearbyint(static_cast<double>(SchermoY) * tpp);
    }
    LarghezzaFinestra = static_cast<int32_t>(std::nearbyint(twipsX / tpp));
    AltezzaFinestra = static_cast<int32_t>(std::nearbyint(twipsY / tpp));
    // Sizes not read yet: the screen as it is now.
    if (LarghezzaFinestra <= 0 || AltezzaFinestra <= 0) {
        LarghezzaFinestra = GetSystemMetrics(SM_CXSCREEN);
        AltezzaFinestra = GetSystemMetrics(SM_CYSCREEN);
    }
}

void Dialog_Titoli::MostraModale() { Form::MostraModale(); }

void Dialog_Titoli::Form_Load() {
    if (!IsModoFinestra()) SpostaMouseNascosto();
    Picture1.ForeColor = static_cast<COLORREF>(MediaCorrente.Formato.Color);
    Picture1.BackColor = HaBit(MediaCorrente.TypeFlags, BackgroundImage | ScreenCapture)
                             ? RGB(0, 0, 0)
                             : static_cast<COLORREF>(MediaCorrente.BackColor);
    Form_Resize();
    // Once the picture box has its window, so that its font is one of them.
    ImpostaFontSezione(hWnd(), -1);
    if (HaBit(MediaCorrente.TypeFlags, BackgroundImage | ScreenCapture) &&
        DipingeImmagineMedia(TipoMediaDaFlags(MediaCorrente.TypeFlags))) {
        CaricaImmagineMedia(0, immagineProntaOk_);
        immaginePronta_ = true;
    }
    Timer1.SetEnabled(true);
    PostMessageA(hWnd(), PrimoTick, 0, 0);
}

void Dialog_Titoli::Form_Resize() {
    if (inRidimensionamento_) return;
    inRidimensionamento_ = true;
    Move(0, 0, LarghezzaFinestra, AltezzaFinestra);
    RECT r{};
    GetClientRect(hWnd(), &r);
    Picture1.Move(0, 0, r.right - r.left, r.bottom - r.top);
    inRidimensionamento_ = false;
}

bool Dialog_Titoli::MessaggioFinestra(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg == PrimoTick) {
        if (Timer1.Enabled()) Timer1_Timer();
        result = 0;
        return true;
    }
    if (msg == WM_CHAR && PromptAttivo) {
        TextMenu_KeyPress(static_cast<int32_t>(static_cast<uint8_t>(wp)));
        result = 0;
        return true;
    }
    if (msg == WM_KEYDOWN && MenuGraficoAttivo) {
        TastoGraphMenu(static_cast<int32_t>(wp), (lp & (1 << 30)) != 0);
        result = 0;
        return true;
    }
    if (msg != WM_SIZE) return false;
    Form_Resize();
    result = 0;
    return true;
}

void Dialog_Titoli::Timer1_Timer() {
    Timer1.SetEnabled(false);
    // The display server's stacking can keep the back screen above a top-most
    // window shown after it while the window list has them the other way:
    // leaving the top-most band and entering it again brings both in step.
    constexpr UINT soloOrdine = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    SetWindowPos(hWnd(), HWND_NOTOPMOST, 0, 0, 0, 0, soloOrdine);
    SetWindowPos(hWnd(), HWND_TOPMOST, 0, 0, 0, 0, soloOrdine);
    FinestraMediaTitoli = static_cast<int32_t>(reinterpret_cast<intptr_t>(hWnd()));
    EseguiMediaDialogo();
    FinestraMediaTitoli = -1;
    Unload();
}

void Dialog_Titoli::EseguiMediaDialogo() {
    Timer1.SetEnabled(false);
    EsitoMedia = true;
    ErroreMedia = false;
    VelocizzaModulo();

    Passo([this] {
        if (!HaBit(MediaCorrente.TypeFlags, BackgroundSound)) return;
        std::string file;
        bool temporaneo = false;
        if (HaBit(MediaCorrente.Options, SoundFromCd))
            file = NomeWavTraccia(MediaCorrente.SoundCd);
        else
            file = EstraiFileMedia(MediaCorrente.SoundFile, temporaneo, false, false);
        if (file.empty()) return;
        if (temporaneo) FileSuonoTemp = file;
        SuonaFileAudio(file);
    });

    Passo([this] {
        if (!HaBit(MediaCorrente.TypeFlags, ScrollText | FixedText)) return;
        std::string nome = NomeLingua();
        if (nome == "<NONE>") nome = "english";
        const std::string testo = MaiuscoloAscii(MediaCorrente.Text);
        if (testo.find("<" + MaiuscoloAscii(nome) + ">") == std::string::npos) {
            nome = "ENGLISH";
            if (testo.find("<ENGLISH>") == std::string::npos) nome.clear();
        }
        if (!nome.empty()) ImpostaFontSezione(hWnd(), CharsetLingua(nome));
    });

    FormatoTestoCorrente = MediaCorrente.Formato;
    Passo([this] { BoundRect = CalcolaBoundRect(true); });
    if (HaBit(MediaCorrente.Options, WaitGameStop)) Passo([] { AttendiBloccoGioco(); });

    StampaLog("Start performing media");
    Passo([this] {
        switch (TipoMediaDaFlags(MediaCorrente.TypeFlags)) {
        case TipoImageFixedText:
            MostraTestoFisso();
            break;
        case TipoImageScrollText:
        case TipoImageSequenceScroll:
            MostraTestoScorrevole();
            break;
        case TipoImageSequenceFixed:
            MostraFormattazione();
            break;
        case TipoCountDown:
            MostraCountDown();
            break;
        case TipoComunicator:
            MostraComunicator();
            break;
        case TipoTextMenu:
            MostraTextMenu();
            break;
        case TipoGraphMenu:
            ShowGraphMenu();
            break;
        default:
            break;
        }
    });
    StampaLog("End performing media");
    RallentaModulo();

    if (AbortEscape) {
        Passo([] { AttendiFineEscape(false); });
    } else {
        Passo([this] { SfumaSuonoSottofondo(); });
        StampaLog("Remove keyboard messages");
        RimuoviMessaggiTastiera();
        StampaLog("Removed messages");
    }
    if (MediaPlayer1.PlayState() == StatoInRiproduzione) MediaPlayer1.Stop();
}

bool Dialog_Titoli::ControllaTastoEscape(bool& fine) {
    // Closed from outside: nothing is left to perform into.
    if (scaricata_) {
        fine = true;
        return true;
    }
    fine = false;
    if (!HaBit(MediaCorrente.Options, EscapeBreaks) || !TastiPremuti(TastoEscape)) return false;
    AbortEscape = true;
    TestoMostrato = false;
    PromptAttivo = false;
    fine = true;
    return true;
}

void Dialog_Titoli::Timer_Dinamico_Timer() {
    if (FormatoTestoCorrente.Effect == EffettoLampeggio) {
        if (!TestoMostrato)
            ScriviTestoRect(TestoDinamico);
        else
            RipristinaSfondoRect(true, BoundRect);
        TestoMostrato = !TestoMostrato;
        if (HaBit(FormatoTestoCorrente.Flags, FlagSuoniTesto)) SuonaEffetto(TestoMostrato ? 5 : 6, false, false);
    }

    if (CountDownInCorso) {
        const double trascorsi = static_cast<double>(ClockTick() - InizioCountDown) / 1000.0;
        const double inizio = ContatoreIniziale, fine = ContatoreFinale;
        double valore;
        if (inizio >= fine) {
            valore = inizio - trascorsi;
            if (valore <= fine) valore = fine;
        } else {
            valore = inizio + trascorsi;
            if (valore >= fine) valore = fine;
        }
        if (valore == fine) Timer_Dinamico.SetEnabled(false);
        const auto contatore = static_cast<int32_t>(std::nearbyint(valore));
        ScriviTestoRect(ConContatore(TestoDinamico, FormattaContatore(contatore)));
        if (HaBit(FlagCountDown, FlagTickCountDown) && std::trunc(valore) != std::trunc(UltimoContatore))
            SuonaEffetto(7, true, false);
        UltimoContatore = valore;
    }

    if (MenuGraficoAttivo && !MenuGraficoFinito) {
        const bool suoni = HaBit(FlagMenuGrafico, FlagSuoniMenuGrafico);
        if (!CursoreMostrato) {
            DisegnaCursoreGraphMenu();
            if (suoni) SuonaEffetto(6, true, false);
            CursoreMostrato = true;
        } else {
            RipristinaSfondo(true);
            if (suoni) SuonaEffetto(5, true, false);
            CursoreMostrato = false;
        }
    }
}

void Dialog_Titoli::Form_QueryUnload(int16_t& Cancel, int16_t UnloadMode) {
    StampaLog("Required unload for dialog_Titoli");
    if (UnloadMode == UnloadDaTaskManager)
        StampaLog("Required to close program from task manager");
    else if (UnloadMode == UnloadDaMenu)
        Cancel = 1;
}

void Dialog_Titoli::Form_Unload(int16_t&) {
    scaricata_ = true;
    LiberaMemoryDC();
    if (!IsPreviewMode())
        for (const std::string& file : FileTemporanei) CancellaFile(file);
    FileTemporanei.clear();
}

void Dialog_Titoli::LiberaMemoryDC() {
    if (!MemoriaDC) return;
    DistruggiDCMemoria(MemoriaDC, BitmapSostituita);
    MemoriaDC = nullptr;
    BitmapSostituita = nullptr;
}
