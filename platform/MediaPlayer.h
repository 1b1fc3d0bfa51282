#pragma once
// The media player control of the media window: the members the media use,
// playing sound files through the platform's own audio services. Without an
// audio device it still reports the play state a sound of that length would
// have.
#include <cstdint>
#include <string>

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

    void SetFileName(const std::string& percorso);
    const std::string& FileName() const { return file_; }
    void SetPlayCount(int32_t volte);
    int32_t PlayCount() const { return volte_; }
    // Hundredths of a decibel: 0 full, -10000 silent.
    void SetVolume(int32_t volume);
    int32_t Volume() const { return volume_; }
    int32_t PlayState();
    void Play();
    void Pause();
    void Stop();

private:
    std::string file_;
    int32_t volte_ = 1;
    int32_t volume_ = 0;
};
