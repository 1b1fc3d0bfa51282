#pragma once
// The media player control of the media window: the members the media use,
// playing sound files through the platform's own audio services. Compressed
// wave files and MP3 files are decoded by the platform's codecs (ACM) before
// they play. Without an audio device it still reports the play state a sound
// of that length would have, on the program's clock.
#include <cstdint>
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

    // Loads the file and starts playing it; a file that is neither a
    // readable wave sound nor an MP3, or that no codec of the platform
    // decodes, leaves the player stopped and silent.
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

private:
    struct Uscita;
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
};
