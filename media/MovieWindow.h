#pragma once
// The movie window: plays the movie of MediaCorrente full size over the game
// as a modal window and tells how the showing ended; in verify mode it opens
// the movie unseen to learn whether this computer can decode it.
#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/Forms.h"
#include "platform/MediaPlayer.h"

class Dialog_Movie : public Form {
public:
    Dialog_Movie();
    ~Dialog_Movie() override;

    // Play mode is both flags False: True when the caller must now show the
    // window modally. Verify mode (Verifica True) does the whole check here
    // and leaves the window unloaded; the caller reads Risultato.
    bool ImpostaValori(bool Verifica, bool SoloDurata);
    void MostraModale() { Form::MostraModale(); }

    bool Risultato = false;
    // The lines shown before the player may fetch a missing codec; empty for
    // the window's own.
    std::string MessaggioDownload;
    double DurataFilmato = 0;
    bool AbortEscape = false;

    MediaPlayer MediaPlayer1;
    Timer Timer1;

    // The handlers (tests call them too).
    void Timer1_Timer();
    void MediaPlayer1_EndOfStream();
    void MediaPlayer1_Error();
    void MediaPlayer1_KeyDown(int16_t KeyCode, int16_t Shift);
    void MediaPlayer1_PlayStateChange(int32_t OldState, int32_t NewState);
    void MediaPlayer1_Warning(int32_t WarningType, int32_t Param, const std::string& Description);

    // The longest a play may take before the watchdog closes it, in
    // seconds, for a movie of <durata> seconds played <volte> times.
    static int32_t LimiteWatchdog(double durata, int32_t volte);

protected:
    void Form_Load() override;
    void Form_QueryUnload(int16_t& Cancel, int16_t UnloadMode) override;
    void Form_Unload(int16_t& Cancel) override;
    bool MessaggioFinestra(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void Form_Resize();
    // Loads the window unseen for the checks, as the player's first use does.
    // The movie taken out of the packet for this showing goes with it.
    void LiberaFile();

    bool verifica_ = false;
    bool soloDurata_ = false;
    std::string percorso_;
    bool temporaneo_ = false;
    int32_t playFatti_ = 0;
    int32_t playRichiesti_ = 0;
    int32_t larghezza_ = 0;
    int32_t altezza_ = 0;
    uint32_t inizio_ = 0;
    bool inRidimensionamento_ = false;
    // Verify mode: the player has raised an error, so no load will come.
    bool erroreVerifica_ = false;
};

Dialog_Movie& DialogMovie();
