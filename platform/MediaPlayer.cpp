#include "platform/MediaPlayer.h"

MediaPlayer::MediaPlayer() = default;
MediaPlayer::~MediaPlayer() = default;

void MediaPlayer::SetFileName(const std::string& percorso) { file_ = percorso; }
void MediaPlayer::SetPlayCount(int32_t volte) { volte_ = volte; }
void MediaPlayer::SetVolume(int32_t volume) { volume_ = volume; }
int32_t MediaPlayer::PlayState() { return Fermo; }
void MediaPlayer::Play() {}
void MediaPlayer::Pause() {}
void MediaPlayer::Stop() {}
