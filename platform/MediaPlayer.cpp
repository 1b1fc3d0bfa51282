#include "platform/MediaPlayer.h"

#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/Clock.h"
#include "platform/Mp3Frames.h"

namespace {
uint32_t DispositiviWinmm() { return waveOutGetNumDevs(); }

// The largest sound file taken whole into memory, and the most samples a
// compressed one may decode to.
constexpr long MassimoFile = 256L * 1024 * 1024;
constexpr size_t MassimoDecodificati = 512u * 1024 * 1024;

// The samples of a compressed format decoded to PCM by the platform's codec,
// in pieces of whole blocks; False when no codec takes the format.
bool DecodificaAcm(const uint8_t* formato, uint32_t lunghezzaFormato, const uint8_t* dati, size_t dimensione,
                   std::vector<uint8_t>& pcm, FormatoWav& uscita) {
    pcm.clear();
    if (lunghezzaFormato < 14 || dimensione == 0) return false;
    // The codec reads cbSize and the bytes it announces: only what the file has.
    std::vector<uint8_t> sorgente(std::max<size_t>(lunghezzaFormato, sizeof(WAVEFORMATEX)), 0);
    std::memcpy(sorgente.data(), formato, lunghezzaFormato);
    auto* wf = reinterpret_cast<WAVEFORMATEX*>(sorgente.data());
    const uint32_t extra = lunghezzaFormato > sizeof(WAVEFORMATEX) ? lunghezzaFormato - sizeof(WAVEFORMATEX) : 0;
    if (lunghezzaFormato < sizeof(WAVEFORMATEX)) wf->cbSize = 0;
    if (wf->cbSize > extra) wf->cbSize = static_cast<WORD>(extra);
    if (wf->nBlockAlign == 0) return false;
    WAVEFORMATEX pcmFormato{};
    pcmFormato.wFormatTag = WAVE_FORMAT_PCM;
    if (acmFormatSuggest(nullptr, wf, &pcmFormato, sizeof pcmFormato, ACM_FORMATSUGGESTF_WFORMATTAG) !=
            MMSYSERR_NOERROR ||
        pcmFormato.nAvgBytesPerSec == 0)
        return false;
    HACMSTREAM stream = nullptr;
    if (acmStreamOpen(&stream, nullptr, wf, &pcmFormato, nullptr, 0, 0, ACM_STREAMOPENF_NONREALTIME) !=
        MMSYSERR_NOERROR)
        return false;
    const DWORD blocco = wf->nBlockAlign;
    const DWORD pezzo = std::max<DWORD>(blocco, 65536 / blocco * blocco);
    DWORD capienza = 0;
    bool ok = acmStreamSize(stream, pezzo, &capienza, ACM_STREAMSIZEF_SOURCE) == MMSYSERR_NOERROR && capienza > 0;
    std::vector<uint8_t> ingresso(ok ? pezzo : 0), risultato(ok ? capienza : 0);
    ACMSTREAMHEADER h{};
    h.cbStruct = sizeof h;
    h.pbSrc = ingresso.data();
    h.cbSrcLength = pezzo;
    h.pbDst = risultato.data();
    h.cbDstLength = capienza;
    ok = ok && acmStreamPrepareHeader(stream, &h, 0) == MMSYSERR_NOERROR;
    if (ok) {
        size_t letti = 0;
        DWORD resto = 0;
        DWORD flag = ACM_STREAMCONVERTF_START;
        for (;;) {
            const auto n = static_cast<DWORD>(std::min<size_t>(pezzo - resto, dimensione - letti));
            std::memcpy(ingresso.data() + resto, dati + letti, n);
            letti += n;
            const DWORD disponibili = resto + n;
            const bool ultimo = letti >= dimensione;
            h.cbSrcLength = disponibili;
            h.cbSrcLengthUsed = 0;
            h.cbDstLengthUsed = 0;
            flag |= ultimo ? ACM_STREAMCONVERTF_END : ACM_STREAMCONVERTF_BLOCKALIGN;
            if (acmStreamConvert(stream, &h, flag) != MMSYSERR_NOERROR) break;
            flag = 0;
            const DWORD usati = std::min(h.cbSrcLengthUsed, disponibili);
            const DWORD prodotti = std::min(h.cbDstLengthUsed, capienza);
            pcm.insert(pcm.end(), risultato.begin(), risultato.begin() + prodotti);
            if (pcm.size() >= MassimoDecodificati) break;
            resto = disponibili - usati;
            std::memmove(ingresso.data(), ingresso.data() + usati, resto);
            // A codec that takes nothing more would go round for ever.
            if (usati == 0 && prodotti == 0 && (ultimo || resto == pezzo)) break;
            if (ultimo && resto == 0) break;
        }
        h.cbSrcLength = pezzo;
        h.cbDstLength = capienza;
        acmStreamUnprepareHeader(stream, &h, 0);
    }
    acmStreamClose(stream, 0);
    // Whole sample frames only.
    const size_t quadro = std::max<WORD>(pcmFormato.nBlockAlign, 1);
    pcm.resize(std::min(pcm.size(), MassimoDecodificati) / quadro * quadro);
    if (pcm.empty()) return false;
    uscita = FormatoWav{};
    uscita.FormatTag = pcmFormato.wFormatTag;
    uscita.Channels = pcmFormato.nChannels;
    uscita.SamplesPerSec = pcmFormato.nSamplesPerSec;
    uscita.AvgBytesPerSec = pcmFormato.nAvgBytesPerSec;
    uscita.BlockAlign = pcmFormato.nBlockAlign;
    uscita.BitsPerSample = pcmFormato.wBitsPerSample;
    return true;
}

// The format the platform's MP3 codec takes for the frames found.
MPEGLAYER3WAVEFORMAT FormatoMp3(const FrameMp3& frame) {
    MPEGLAYER3WAVEFORMAT m{};
    m.wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
    m.wfx.nChannels = frame.Canali;
    m.wfx.nSamplesPerSec = frame.Frequenza;
    m.wfx.nAvgBytesPerSec = frame.Kbps * 1000 / 8;
    m.wfx.nBlockAlign = 1;
    m.wfx.wBitsPerSample = 0;
    m.wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
    m.wID = MPEGLAYER3_ID_MPEG;
    m.fdwFlags = MPEGLAYER3_FLAG_PADDING_OFF;
    m.nBlockSize = static_cast<WORD>(frame.LunghezzaFrame);
    m.nFramesPerBlock = 1;
    m.nCodecDelay = 1393;
    return m;
}
}  // namespace

uint32_t (*NumeroDispositiviAudio)() = DispositiviWinmm;

struct MediaPlayer::Uscita {
    HWAVEOUT handle = nullptr;
    WAVEHDR intestazione{};
};

MediaPlayer::MediaPlayer() = default;

MediaPlayer::~MediaPlayer() {
    Close();
    Stop();
    ChiudiSuonoMci();
}

void MediaPlayer::SetFileName(const std::string& percorso) {
    Close();
    Stop();
    ChiudiSuonoMci();
    file_ = percorso;
    immagine_.clear();
    decodificati_.clear();
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
    const uint8_t* chunkFormato = nullptr;
    uint32_t lunghezzaFormato = 0;
    FrameMp3 mp3;
    bool ok = false;
    // Neither a wave sound nor MP3 frames: another format, for MCI.
    bool altroFormato = false;
    if (ParseWaveChunks(immagine_.data(), immagine_.size(), formato_, dati_, dimensione_, chunkFormato,
                        lunghezzaFormato)) {
        // The extensible header around plain PCM samples: the device takes
        // them with the common fields alone.
        static const uint8_t SottotipoPcm[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                                 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
        if (formato_.FormatTag == WAVE_FORMAT_EXTENSIBLE && lunghezzaFormato >= 40 &&
            std::memcmp(chunkFormato + 24, SottotipoPcm, sizeof SottotipoPcm) == 0 &&
            (formato_.BitsPerSample == 8 || formato_.BitsPerSample == 16))
            formato_.FormatTag = WAVE_FORMAT_PCM;
        ok = dimensione_ > 0 &&
             (formato_.FormatTag == WAVE_FORMAT_PCM ||
              DecodificaAcm(chunkFormato, lunghezzaFormato, dati_, dimensione_, decodificati_, formato_));
    } else if (immagine_.size() >= 4 && std::memcmp(immagine_.data(), "RIFF", 4) != 0 &&
               CercaFrameMp3(immagine_.data(), immagine_.size(), mp3)) {
        const MPEGLAYER3WAVEFORMAT m = FormatoMp3(mp3);
        ok = DecodificaAcm(reinterpret_cast<const uint8_t*>(&m), sizeof m, immagine_.data() + mp3.Inizio,
                           mp3.Fine - mp3.Inizio, decodificati_, formato_);
    } else {
        altroFormato = lunghezza > 0 &&
                       !(immagine_.size() >= 12 && std::memcmp(immagine_.data(), "RIFF", 4) == 0 &&
                         std::memcmp(immagine_.data() + 8, "WAVE", 4) == 0);
    }
    if (ok && !decodificati_.empty()) {
        // The decoded samples play; the file's are no longer needed.
        immagine_.clear();
        immagine_.shrink_to_fit();
        dati_ = decodificati_.data();
        dimensione_ = static_cast<uint32_t>(decodificati_.size());
    }
    if (!ok) {
        immagine_.clear();
        decodificati_.clear();
        dati_ = nullptr;
        dimensione_ = 0;
        if (altroFormato && ApriSuonoMci(percorso)) Play();
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
    if (filmato_) return StatoFilmato();
    if (stato_ != InRiproduzione) return stato_;
    if (suonoMci_ && AvviatoMci()) {
        ControllaFineSuonoMci();
    } else if (uscita_) {
        if (uscita_->intestazione.dwFlags & WHDR_DONE) Stop();
    } else if (volte_ > 0 && Trascorso() >= static_cast<uint64_t>(durata_) * static_cast<uint32_t>(volte_)) {
        Stop();
    }
    return stato_;
}

void MediaPlayer::Play() {
    if (filmato_) return RiproduciFilmato();
    if (!dati_ && !suonoMci_) return;
    if (stato_ == InRiproduzione) return;
    if (stato_ == InPausa) {
        if (uscita_) waveOutRestart(uscita_->handle);
        if (suonoMci_) RiprendiSuonoMci();
        inizio_ = ClockTick();
        stato_ = InRiproduzione;
        return;
    }
    trascorsoPrima_ = 0;
    inizio_ = ClockTick();
    // Without a device, or one that refuses the sound, the state follows the
    // clock alone.
    if (NumeroDispositiviAudio() > 0) {
        if (suonoMci_)
            AvviaSuonoMci();
        else
            ApriUscita();
    }
    stato_ = InRiproduzione;
}

void MediaPlayer::Pause() {
    if (filmato_) return PausaFilmato();
    if (stato_ != InRiproduzione) return;
    if (uscita_) waveOutPause(uscita_->handle);
    if (suonoMci_) PausaSuonoMci();
    trascorsoPrima_ = Trascorso();
    stato_ = InPausa;
}

void MediaPlayer::Stop() {
    if (filmato_) return FermaFilmato();
    ChiudiUscita();
    if (suonoMci_) FermaSuonoMci();
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
    // Hundredths of a decibel to the device's linear scale.
    const double fattore = std::pow(10.0, volume_ / 2000.0);
    if (suonoMci_) VolumeSuonoMci(static_cast<int32_t>(std::lround(1000 * fattore)));
    if (!uscita_) return;
    const DWORD livello = static_cast<DWORD>(std::lround(0xFFFF * fattore)) & 0xFFFF;
    waveOutSetVolume(uscita_->handle, livello | (livello << 16));
}
