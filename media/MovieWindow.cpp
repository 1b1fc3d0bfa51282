#include "media/MovieWindow.h"

#include <algorithm>
#include <cmath>

#include "core/FileUtils.h"
#include "core/MediaExtraction.h"
#include "core/MediaLog.h"
#include "core/MediaTrigger.h"
#include "core/PathNames.h"
#include "core/SharedState.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"
#include "media/MovieChecks.h"
#include "platform/Clock.h"
#include "runservices/Desktop.h"
#include "runservices/DisplayModes.h"
#include "runservices/GameWindow.h"
#include "runservices/PlayerKeys.h"
#include "runservices/RunState.h"

namespace {

// A player that never tells the movie loaded must not hold the start of the
// run for ever, nor one that tells no length the black screen of a showing.
constexpr uint32_t LimiteCaricamento = 15000;

}  // namespace

Dialog_Movie& DialogMovie() {
    static Dialog_Movie finestra;
    return finestra;
}

Dialog_Movie::Dialog_Movie() : Form("LudovaneMovie", ""), Timer1(*this, 1000, false, [this] { Timer1_Timer(); }) {
    // Over the game and the cover window, with no border, caption or task
    // bar button of its own.
    ImpostaStile(WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
    MediaPlayer1.EndOfStream = [this] { MediaPlayer1_EndOfStream(); };
    MediaPlayer1.Error = [this] { MediaPlayer1_Error(); };
    MediaPlayer1.KeyDown = [this](int16_t codice, int16_t shift) { MediaPlayer1_KeyDown(codice, shift); };
    MediaPlayer1.PlayStateChange = [this](int32_t vecchio, int32_t nuovo) {
        MediaPlayer1_PlayStateChange(vecchio, nuovo);
    };
    MediaPlayer1.Warning = [this](int32_t tipo, int32_t parametro, const std::string& descrizione) {
        MediaPlayer1_Warning(tipo, parametro, descrizione);
    };
}

Dialog_Movie::~Dialog_Movie() {
    MediaPlayer1.Close();
    LiberaFile();
}

void Dialog_Movie::LiberaFile() {
    if (temporaneo_ && !percorso_.empty()) CancellaFile(percorso_);
    temporaneo_ = false;
}

int32_t Dialog_Movie::LimiteWatchdog(double durata, int32_t volte) {
    const double secondi = std::nearbyint(durata);
    const double limite = std::nearbyint((secondi / 2 + secondi) * std::max(volte, 1));
    // An absurd Repeat or length: no limit, rather than one that wraps
    // round to a negative and closes the movie at once.
    if (!(limite < static_cast<double>(INT32_MAX))) return INT32_MAX;
    return static_cast<int32_t>(std::max(limite, 0.0));
}

bool Dialog_Movie::ImpostaValori(bool Verifica, bool SoloDurata) {
    AbortEscape = false;
    verifica_ = Verifica;
    soloDurata_ = SoloDurata;
    erroreVerifica_ = false;
    LiberaFile();
    percorso_ = EstraiFileMedia(Trim(MediaCorrente.MediaFile), temporaneo_, false, false);
    if (percorso_.empty()) {
        Risultato = false;
        return false;
    }
    SpostaMouseNascosto();
    if (!Verifica && HaBit(MediaCorrente.Options, WaitGameStop)) AttendiBloccoGioco();

    if (!Verifica && !SoloDurata) {
        // A window closed from outside before any end tells a failure, not
        // the previous movie's result.
        Risultato = false;
        playFatti_ = 0;
        playRichiesti_ = MediaCorrente.Repeat;
        return true;
    }

    if (Verifica && !SoloDurata) {
        StampaLog("Verify video codec for movie: " + percorso_);
        if (UgualeSenzaCaso(EstensioneFile(percorso_), ".wmv")) {
            StampaLog("Movie is in Window Media Video (.WMV) format: check directly video codec files on current PC");
            CambiaTabulatoreLog(1);
            std::string rapporto;
            if (VerificaCodecMovie(percorso_, rapporto)) {
                StampaLog("Codec video ok");
                CambiaTabulatoreLog(-1);
                Risultato = true;
                Unload();
                LiberaFile();
                return false;
            }
            StampaLog("Codec video not yet present in current PC");
            CambiaTabulatoreLog(-1);
        }
        std::string messaggio = MessaggioDownload;
        if (messaggio.empty())
            messaggio =
                "Please open your internet connection NOW\r\nIt's necessary download a codec for current movie\r\n"
                "WARNING: Click [OK] button in this window ONLY after you opened internet connection";
        ApriConnessioneInternet();
        Messaggio(messaggio, StileOk);
        StampaLog("Try automatic download with media player ocx");
    }

    Risultato = true;
    Load();
    MediaPlayer1.SetContenitore(hWnd());
    MediaPlayer1.SetAutoStart(false);
    MediaPlayer1.SetShowControls(false);
    MediaPlayer1.Open(percorso_);
    ClockSleep(300);
    const uint32_t inizio = ClockTick();
    do {
        DoEvents();
        ClockSleep(100);
    } while (MediaPlayer1.ReadyState() != 4 && !erroreVerifica_ && ClockTick() - inizio < LimiteCaricamento);
    if (MediaPlayer1.ReadyState() != 4 && !erroreVerifica_) {
        StampaLog("Error: the media player has not loaded the movie in " + std::to_string(LimiteCaricamento / 1000) +
                  " seconds: " + percorso_);
        Risultato = false;
    }
    DurataFilmato = MediaPlayer1.Duration();
    if (Risultato) StampaLog("Codec video ok");
    Unload();
    LiberaFile();
    playFatti_ = 0;
    playRichiesti_ = MediaCorrente.Repeat;
    return true;
}

void Dialog_Movie::Form_Load() {
    if (verifica_ || soloDurata_) return;
    if (!IsModoFinestra()) SpostaMouseNascosto();
    const int32_t tpp = std::max(TwipsPerPixel(), 1);
    if (IsPreviewMode() || IsModoFinestra()) {
        larghezza_ = static_cast<int32_t>(std::nearbyint(static_cast<double>(SchermoX) * tpp));
        altezza_ = static_cast<int32_t>(std::nearbyint(static_cast<double>(SchermoY) * tpp));
    } else {
        larghezza_ = RiferimentoX;
        altezza_ = RiferimentoY;
    }
    // Sizes not read yet: the screen as it is now.
    if (larghezza_ <= 0 || altezza_ <= 0) {
        larghezza_ = GetSystemMetrics(SM_CXSCREEN) * tpp;
        altezza_ = GetSystemMetrics(SM_CYSCREEN) * tpp;
    }
    Form_Resize();
    MediaPlayer1.SetContenitore(hWnd());
    MediaPlayer1.SetAutoStart(true);
    MediaPlayer1.SetShowControls(false);
    MediaPlayer1.SetBackColor(RGB(0, 0, 0));
    MediaPlayer1.Open(percorso_);
    MediaPlayer1.Move(0, 0, larghezza_ / tpp, altezza_ / tpp);
    MediaPlayer1.SetEnableContextMenu(false);
    DoEvents();
    // Every movie is watched for a player that tells no length; only one
    // that Escape cannot end, for playing too long.
    Timer1.SetEnabled(true);
    inizio_ = ClockTick();
}

void Dialog_Movie::Form_Resize() {
    if (inRidimensionamento_) return;
    inRidimensionamento_ = true;
    const int32_t tpp = std::max(TwipsPerPixel(), 1);
    const int32_t x = larghezza_ / tpp, y = altezza_ / tpp;
    Move(0, 0, x, y);
    MediaPlayer1.Move(0, 0, x, y);
    StampaLog("Resize Media Player screen (" + std::to_string(x) + " X " + std::to_string(y) + ")");
    inRidimensionamento_ = false;
}

bool Dialog_Movie::MessaggioFinestra(UINT msg, WPARAM, LPARAM, LRESULT& result) {
    switch (msg) {
    case WM_SIZE:
        Form_Resize();
        result = 0;
        return true;
    case WM_SETFOCUS:
        // Keys go to the player, as to the window's only control.
        MediaPlayer1.SetFocus();
        result = 0;
        return true;
    default:
        return false;
    }
}

void Dialog_Movie::MediaPlayer1_EndOfStream() {
    ++playFatti_;
    if (verifica_ || soloDurata_) {
        StampaLog("EndOfStream event in Verify Code mode");
        return;
    }
    if (playFatti_ < playRichiesti_) {
        MediaPlayer1.Play();
        return;
    }
    if (HaBit(MediaCorrente.Options, WaitAfterMovie)) {
        Timer1.SetEnabled(false);
        AttendiSecondi(MediaCorrente.EndWait, true);
    }
    Risultato = true;
    Unload();
}

void Dialog_Movie::MediaPlayer1_Error() {
    Risultato = false;
    if (!verifica_ && !soloDurata_) {
        Unload();
        return;
    }
    StampaLog("Error: missing video codec. Error from MediaPlayer.OCX: " + MediaPlayer1.ErrorDescription());
    MediaPlayer1.Stop();
    Risultato = false;
    erroreVerifica_ = true;
}

void Dialog_Movie::MediaPlayer1_KeyDown(int16_t KeyCode, int16_t) {
    if (KeyCode != VK_ESCAPE || !HaBit(MediaCorrente.Options, EscapeBreaks)) return;
    AttendiFineEscape(false);
    AbortEscape = true;
    MediaPlayer1.SetVisible(false);
    Risultato = true;
    Unload();
}

void Dialog_Movie::MediaPlayer1_PlayStateChange(int32_t OldState, int32_t NewState) {
    // A movie cannot be paused.
    if (OldState == MediaPlayer::InRiproduzione && NewState == MediaPlayer::InPausa) MediaPlayer1.Play();
}

void Dialog_Movie::MediaPlayer1_Warning(int32_t, int32_t, const std::string& Description) {
    StampaLog("Warning from Media Player ocx: " + Description);
    Risultato = false;
}

void Dialog_Movie::Timer1_Timer() {
    if (verifica_ || soloDurata_) return;
    const double durata = MediaPlayer1.Duration();
    const uint32_t trascorsiMs = ClockTick() - inizio_;
    if (durata == 0) {
        // No length by now and no end either: the player has no window to
        // show the movie in, or its device has gone, and no end will come.
        if (trascorsiMs < LimiteCaricamento) return;
        StampaLog("Error: the media player has told no length of the movie in " +
                  std::to_string(LimiteCaricamento / 1000) + " seconds: " + percorso_);
    } else {
        if (HaBit(MediaCorrente.Options, EscapeBreaks)) return;
        // Every play asked for counts, so a repeated movie is not cut short.
        const int32_t limite = LimiteWatchdog(durata, playRichiesti_);
        const auto trascorsi = static_cast<int64_t>(std::nearbyint(static_cast<double>(trascorsiMs) / 1000.0));
        if (trascorsi <= limite) return;
    }
    Risultato = false;
    MediaPlayer1.SetVisible(false);
    Timer1.SetEnabled(false);
    Unload();
}

void Dialog_Movie::Form_QueryUnload(int16_t& Cancel, int16_t UnloadMode) {
    if (UnloadMode == UnloadDaMenu)
        Cancel = 1;
    else if (UnloadMode == UnloadDaTaskManager)
        StampaLog("Required to close program from task manager");
}

void Dialog_Movie::Form_Unload(int16_t&) {
    Timer1.SetEnabled(false);
    if (MediaPlayer1.PlayState() == MediaPlayer::InRiproduzione) MediaPlayer1.Stop();
    MediaPlayer1.Close();
    AttendiFineEscape(false);
    LiberaFile();
}
