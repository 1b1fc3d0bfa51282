#include "platform/MediaPlayer.h"

#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/Clock.h"

namespace {
uint32_t DispositiviWinmm() { return waveOutGetNumDevs(); }

// The largest sound file taken whole into memory.
constexpr long MassimoFile = 256L * 1024 * 1024;
}  // namespace

uint32_t (*NumeroDispositiviAudio)() = DispositiviWinmm;

struct MediaPlayer::Uscita {
    HWAVEOUT handle = nullptr;
    WAVEHDR intestazione{};
};

MediaPlayer::MediaPlayer() = default;

MediaPlayer::~MediaPlayer() { Stop(); }

void MediaPlayer::SetFileName(const std::string& percorso) {
    Stop();
    file_ = percorso;
    immagine_.clear();
    dati_ = nullptr;
    dimensione_ = 0;
    durata_ = 0;
    if (percorso.empty()) return;
    std::FILE* f = std::fopen(percorso.c_str(), "rb");
    if (!f) return;
    std::fseek(f, 0, SEEK_END);
    const long lunghezza = std::ftell(f);
    std::fseek(f, 0, SEEK_SET);
    if (lunghezza > 0 && lunghezza <= MassimoFile) {
        immagine_.resize(static_cast<size_t>(lunghezza));
        if (std::fread(immagine_.data(), 1, immagine_.size(), f) != immagine_.size()) immagine_.clear();
    }
    std::fclose(f);
    if (!ParseWaveChunks(immagine_.data(), immagine_.size(), formato_, dati_, dimensione_) || dimensione_ == 0) {
        immagine_.clear();
        dati_ = nullptr;
        dimensione_ = 0;
        return;
    }
    durata_ = DurataWavMs(formato_, dimensione_);
    Play();
}

void MediaPlayer::SetPlayCount(int32_t volte) { volte_ = std::max(volte, 0); }

void MediaPlayer::SetVolume(int32_t volume) {
    volume_ = std::clamp(volume, -10000, 0);
    ApplicaVolume();
}

int32_t MediaPlayer::PlayState() {
    if (stato_ != InRiproduzione) return stato_;
    if (uscita_) {
        if (uscita_->intestazione.dwFlags & WHDR_DONE) Stop();
    } else if (volte_ > 0 && Trascorso() >= static_cast<uint64_t>(durata_) * static_cast<uint32_t>(volte_)) {
        Stop();
    }
    return stato_;
}

void MediaPlayer::Play() {
    if (!dati_) return;
    if (stato_ == InRiproduzione) return;
    if (stato_ == InPausa) {
        if (uscita_) waveOutRestart(uscita_->handle);
        inizio_ = ClockTick();
        stato_ = InRiproduzione;
        return;
    }
    trascorsoPrima_ = 0;
    inizio_ = ClockTick();
    // Without a device, or one that refuses the sound, the state follows the
    // clock alone.
    if (NumeroDispositiviAudio() > 0) ApriUscita();
    stato_ = InRiproduzione;
}

void MediaPlayer::Pause() {
    if (stato_ != InRiproduzione) return;
    if (uscita_) waveOutPause(uscita_->handle);
    trascorsoPrima_ = Trascorso();
    stato_ = InPausa;
}

void MediaPlayer::Stop() {
    ChiudiUscita();
    trascorsoPrima_ = 0;
    stato_ = Fermo;
}

uint32_t MediaPlayer::Trascorso() const {
    if (stato_ != InRiproduzione) return trascorsoPrima_;
    return trascorsoPrima_ + (ClockTick() - inizio_);
}

bool MediaPlayer::ApriUscita() {
    WAVEFORMATEX wf{};
    wf.wFormatTag = formato_.FormatTag;
    wf.nChannels = formato_.Channels;
    wf.nSamplesPerSec = formato_.SamplesPerSec;
    wf.nAvgBytesPerSec = formato_.AvgBytesPerSec;
    wf.nBlockAlign = formato_.BlockAlign;
    wf.wBitsPerSample = formato_.BitsPerSample;
    auto* u = new Uscita;
    if (waveOutOpen(&u->handle, WAVE_MAPPER, &wf, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
        delete u;
        return false;
    }
    WAVEHDR& h = u->intestazione;
    h.lpData = reinterpret_cast<LPSTR>(const_cast<uint8_t*>(dati_));
    h.dwBufferLength = dimensione_;
    h.dwFlags = WHDR_BEGINLOOP | WHDR_ENDLOOP;
    // A count of 0 repeats for as long as any media lasts.
    h.dwLoops = volte_ == 0 ? 0xFFFFFFFFu : static_cast<DWORD>(volte_);
    if (waveOutPrepareHeader(u->handle, &h, sizeof h) != MMSYSERR_NOERROR) {
        waveOutClose(u->handle);
        delete u;
        return false;
    }
    uscita_ = u;
    ApplicaVolume();
    if (waveOutWrite(u->handle, &h, sizeof h) != MMSYSERR_NOERROR) {
        ChiudiUscita();
        return false;
    }
    return true;
}

void MediaPlayer::ChiudiUscita() {
    if (!uscita_) return;
    waveOutReset(uscita_->handle);
    waveOutUnprepareHeader(uscita_->handle, &uscita_->intestazione, sizeof uscita_->intestazione);
    waveOutClose(uscita_->handle);
    delete uscita_;
    uscita_ = nullptr;
}

void MediaPlayer::ApplicaVolume() {
    if (!uscita_) return;
    // Hundredths of a decibel to the device's linear scale, both channels.
    const double fattore = std::pow(10.0, volume_ / 2000.0);
    const DWORD livello = static_cast<DWORD>(std::lround(0xFFFF * fattore)) & 0xFFFF;
    waveOutSetVolume(uscita_->handle, livello | (livello << 16));
}
