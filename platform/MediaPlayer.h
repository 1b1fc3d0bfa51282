#pragma once
// The media player control: the members the media use. Sound files play
// through the platform's own audio services; compressed wave files and MP3
// files are decoded by the platform's codecs (ACM) before they play, and a
// sound file of any other format (MIDI, WMA...) plays through the platform's
// multimedia services (MCI) when a device of theirs opens it. Without an
// audio device it still reports the play state a sound of that length would
// have, on the program's clock. Movies play through MCI in a window of the
// player's own inside the window that holds it, and report their end,
// errors and keys as events.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/WaveChunks.h"

// The number of audio output devices; tests put a function of their own
// here to take the road without a device.
extern uint32_t (*NumeroDispositiviAudio)();

class MediaPlayer {
public:
    MediaPlayer();
    ~MediaPlayer();
    MediaPlayer(const MediaPlayer&) = delete;
    MediaPlayer& operator=(const MediaPlayer&) = delete;

    // Play states.
    static constexpr int32_t Fermo = 0;
    static constexpr int32_t InPausa = 1;
    static constexpr int32_t InRiproduzione = 2;

    // Loads the file and starts playing it; a wave sound or an MP3 that no
    // codec of the platform decodes, or a file of another format that no MCI
    // device opens, leaves the player stopped and silent.
    void SetFileName(const std::string& percorso);
    const std::string& FileName() const { return file_; }
    // 0 repeats without end.
    void SetPlayCount(int32_t volte);
    int32_t PlayCount() const { return volte_; }
    // Hundredths of a decibel: 0 full, -10000 silent.
    void SetVolume(int32_t volume);
    int32_t Volume() const { return volume_; }
    int32_t PlayState();
    // From the start when stopped, from where it was when paused.
    void Play();
    void Pause();
    void Stop();
    // The length of one play of the loaded sound in ms, 0 when none.
    uint32_t Durata() const { return durata_; }
    // The format of the samples the device gets: PCM, the codec's output
    // for a compressed file.
    const FormatoWav& FormatoRiproduzione() const { return formato_; }

    // The movie road. The window that holds the player, before Open.
    void SetContenitore(HWND contenitore) { contenitore_ = contenitore; }
    // Opens a movie in the player's window; with AutoStart it starts playing.
    // A failure is raised as Error once events are pumped.
    void Open(const std::string& percorso);
    // Closes the movie and releases the player's window.
    void Close();
    // 4 once the opened movie is loaded, 0 otherwise.
    int32_t ReadyState() const { return prontezza_; }
    // The movie's length in seconds, 0 while none is open.
    double Duration();
    const std::string& ErrorDescription() const { return errore_; }
    void SetAutoStart(bool avvio) { avvioAutomatico_ = avvio; }
    void SetShowControls(bool mostra) { mostraControlli_ = mostra; }
    void SetEnableContextMenu(bool menu) { menuContestuale_ = menu; }
    void SetBackColor(COLORREF colore);
    // The player's place in its window, in pixels, and whether it shows.
    void Move(int32_t x, int32_t y, int32_t larghezza, int32_t altezza);
    void SetVisible(bool visibile);
    // Keys reach the player while its window has the focus.
    void SetFocus();

    // Events of the movie road, raised on the thread that pumps the
    // holder's messages.
    std::function<void()> EndOfStream;
    std::function<void()> Error;
    std::function<void(int16_t codice, int16_t shift)> KeyDown;
    std::function<void(int32_t vecchio, int32_t nuovo)> PlayStateChange;
    std::function<void(int32_t tipo, int32_t parametro, const std::string& descrizione)> Warning;

private:
    struct Uscita;
    struct Filmato;
    friend struct Filmato;
    struct SuonoMci;
    friend struct SuonoMci;
    // The MCI road of a sound file: False when no device opens it.
    bool ApriSuonoMci(const std::string& percorso);
    void ChiudiSuonoMci();
    // Starts the MCI device from the start; False when it plays nothing, and
    // the clock stands in for it.
    bool AvviaSuonoMci();
    // True while the MCI device, not the clock, plays the sound.
    bool AvviatoMci() const;
    void PausaSuonoMci();
    void RiprendiSuonoMci();
    void FermaSuonoMci();
    // 0 silent to 1000 full.
    void VolumeSuonoMci(int32_t livello);
    // When the device has halted: the next play, or the end.
    void ControllaFineSuonoMci();
    int32_t StatoFilmato();
    void RiproduciFilmato();
    void PausaFilmato();
    void FermaFilmato();
    // Raises PlayStateChange once the caller has returned.
    void NuovoStato(int32_t nuovo);
    bool ApriUscita();
    void ChiudiUscita();
    void ApplicaVolume();
    uint32_t Trascorso() const;

    std::string file_;
    int32_t volte_ = 1;
    int32_t volume_ = 0;
    std::vector<uint8_t> immagine_;
    // The samples a codec decoded, when the file's are compressed.
    std::vector<uint8_t> decodificati_;
    FormatoWav formato_;
    const uint8_t* dati_ = nullptr;
    uint32_t dimensione_ = 0;
    uint32_t durata_ = 0;
    int32_t stato_ = Fermo;
    // Without a device: the time played before the last start or resume.
    uint32_t inizio_ = 0;
    uint32_t trascorsoPrima_ = 0;
    Uscita* uscita_ = nullptr;
    SuonoMci* suonoMci_ = nullptr;

    HWND contenitore_ = nullptr;
    Filmato* filmato_ = nullptr;
    int32_t prontezza_ = 0;
    std::string errore_;
    bool avvioAutomatico_ = true;
    bool mostraControlli_ = true;
    bool menuContestuale_ = true;
    COLORREF sfondo_ = RGB(0, 0, 0);
    int32_t statoFilmato_ = Fermo;
};
