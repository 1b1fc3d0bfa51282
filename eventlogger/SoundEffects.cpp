#include "eventlogger/SoundEffects.h"

#include <mmsystem.h>
#include <dsound.h>

#include <cstdio>
#include <cstring>

#include "eventlogger/LoggerLog.h"

IDirectSound* OggettoDirectSound = nullptr;
OggettoSuono* Effetti[NumeroEffetti] = {};
OggettoSuono* SuonoSpeciale = nullptr;
std::string UltimoPercorsoSpeciale;

namespace {
std::string Formato(const char* formato, const std::string& testo) {
    std::vector<char> riga(testo.size() + 200);
    std::snprintf(riga.data(), riga.size(), formato, testo.c_str());
    return riga.data();
}
}  // namespace

bool FillSoundBuffer(IDirectSoundBuffer* buffer, const uint8_t* dati, uint32_t dimensione) {
    if (!buffer || !dati) return false;
    void* p1 = nullptr;
    void* p2 = nullptr;
    DWORD n1 = 0, n2 = 0;
    if (FAILED(buffer->Lock(0, dimensione, &p1, &n1, &p2, &n2, 0))) return false;
    if (n1 > dimensione) n1 = dimensione;
    std::memcpy(p1, dati, n1);
    if (p2 && n2 > dimensione - n1) n2 = dimensione - n1;
    if (p2) std::memcpy(p2, dati + n1, n2);
    buffer->Unlock(p1, n1, p2, n2);
    return true;
}

IDirectSoundBuffer* CreateSoundBuffer(IDirectSound* ds, const std::string& percorso) {
    std::vector<uint8_t> immagine;
    FormatoWav formato;
    const uint8_t* dati = nullptr;
    uint32_t dimensione = 0;
    if (!ds || !LoadWavFile(percorso, immagine, formato, dati, dimensione) || dimensione == 0) return nullptr;
    WAVEFORMATEX wf{};
    wf.wFormatTag = formato.FormatTag;
    wf.nChannels = formato.Channels;
    wf.nSamplesPerSec = formato.SamplesPerSec;
    wf.nAvgBytesPerSec = formato.AvgBytesPerSec;
    wf.nBlockAlign = formato.BlockAlign;
    wf.wBitsPerSample = formato.BitsPerSample;
    DSBUFFERDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DSBCAPS_STATIC | DSBCAPS_GLOBALFOCUS | DSBCAPS_GETCURRENTPOSITION2;
    desc.dwBufferBytes = dimensione;
    desc.lpwfxFormat = &wf;
    IDirectSoundBuffer* buffer = nullptr;
    if (FAILED(ds->CreateSoundBuffer(&desc, &buffer, nullptr)) || !buffer) return nullptr;
    if (!FillSoundBuffer(buffer, dati, dimensione)) {
        buffer->Release();
        return nullptr;
    }
    return buffer;
}

bool ReloadSoundBuffer(IDirectSoundBuffer* buffer, const std::string& percorso) {
    std::vector<uint8_t> immagine;
    FormatoWav formato;
    const uint8_t* dati = nullptr;
    uint32_t dimensione = 0;
    if (!buffer || !LoadWavFile(percorso, immagine, formato, dati, dimensione)) return false;
    if (FAILED(buffer->Restore())) return false;
    return FillSoundBuffer(buffer, dati, dimensione);
}

void FreeSoundObject(OggettoSuono* suono) {
    if (!suono) return;
    for (IDirectSoundBuffer* b : suono->Buffer)
        if (b) b->Release();
    delete suono;
}

OggettoSuono* CreateSound(IDirectSound* ds, const std::string& percorso, int quantiBuffer) {
    if (!ds) return nullptr;
    auto* suono = new OggettoSuono;
    FormatoWav formato;
    if (!LoadWavFile(percorso, suono->Immagine, formato, suono->Dati, suono->Dimensione)) {
        delete suono;
        return nullptr;
    }
    suono->NumeroBuffer = quantiBuffer < 1 ? 1 : quantiBuffer;
    IDirectSoundBuffer* primo = CreateSoundBuffer(ds, percorso);
    if (!primo) {
        delete suono;
        return nullptr;
    }
    suono->Buffer.push_back(primo);
    for (int i = 1; i < suono->NumeroBuffer; ++i) {
        IDirectSoundBuffer* copia = nullptr;
        if (FAILED(ds->DuplicateSoundBuffer(primo, &copia)) || !copia) copia = CreateSoundBuffer(ds, percorso);
        if (!copia) {
            FreeSoundObject(suono);
            return nullptr;
        }
        suono->Buffer.push_back(copia);
    }
    return suono;
}

IDirectSoundBuffer* GetFreeSoundBuffer(OggettoSuono* suono) {
    if (!suono || suono->Buffer.empty()) return nullptr;
    IDirectSoundBuffer* buffer = suono->Buffer[suono->Corrente];
    DWORD stato = 0;
    buffer->GetStatus(&stato);
    if (stato & DSBSTATUS_PLAYING) {
        if (suono->NumeroBuffer == 1) return nullptr;
        suono->Corrente = (suono->Corrente + 1) % suono->NumeroBuffer;
        buffer = suono->Buffer[suono->Corrente];
        buffer->GetStatus(&stato);
        if (stato & DSBSTATUS_PLAYING) {
            buffer->Stop();
            buffer->SetCurrentPosition(0);
        }
    }
    if (stato & DSBSTATUS_BUFFERLOST) {
        if (FAILED(buffer->Restore()) || !FillSoundBuffer(buffer, suono->Dati, suono->Dimensione)) return nullptr;
    }
    return buffer;
}

bool PlaySoundObject(OggettoSuono* suono, uint32_t flag) {
    if (!suono) return false;
    if ((flag & DSBPLAY_LOOPING) && suono->NumeroBuffer > 1) return false;
    IDirectSoundBuffer* buffer = GetFreeSoundBuffer(suono);
    if (!buffer) return false;
    buffer->SetCurrentPosition(0);
    return SUCCEEDED(buffer->Play(0, 0, flag));
}

bool StopSoundObject(OggettoSuono* suono) {
    if (!suono) return false;
    for (IDirectSoundBuffer* b : suono->Buffer) {
        b->Stop();
        b->SetCurrentPosition(0);
    }
    return true;
}

bool LoadSoundEffects(HWND finestra, const std::string& cartella) {
    SuonoSpeciale = nullptr;
    UltimoPercorsoSpeciale.clear();
    LogWrite("Load sound effects");
    if (FAILED(DirectSoundCreate(nullptr, &OggettoDirectSound, nullptr)) || !OggettoDirectSound) {
        OggettoDirectSound = nullptr;
        LogWrite("ERROR truing to create DirectSound object");
        return false;
    }
    if (FAILED(OggettoDirectSound->SetCooperativeLevel(finestra, DSSCL_NORMAL))) {
        LogWrite("ERROR trying to set coperative level for direct sound object");
        OggettoDirectSound->Release();
        OggettoDirectSound = nullptr;
        return false;
    }
    for (int i = 0; i < NumeroEffetti; ++i) {
        const std::string percorso = cartella + "\\effect" + std::to_string(i) + ".wav";
        Effetti[i] = CreateSound(OggettoDirectSound, percorso, 1);
        if (!Effetti[i]) LogWrite(Formato("Error loading sound: %s", percorso));
    }
    return true;
}

void FreeAllSounds() {
    for (OggettoSuono*& e : Effetti) {
        FreeSoundObject(e);
        e = nullptr;
    }
    FreeSoundObject(SuonoSpeciale);
    SuonoSpeciale = nullptr;
    if (OggettoDirectSound) OggettoDirectSound->Release();
    OggettoDirectSound = nullptr;
}

void ComandoEffetto(int32_t numero) {
    if (numero < 0 || numero >= NumeroEffetti) {
        char riga[100];
        std::snprintf(riga, sizeof riga, "ERROR: sound effect number to play out of range: %ld",
                      static_cast<long>(numero));
        LogWrite(riga);
        return;
    }
    PlaySoundObject(Effetti[numero], 0);
}

void ComandoFermaSuoni() {
    for (OggettoSuono* e : Effetti) StopSoundObject(e);
    StopSoundObject(SuonoSpeciale);
}

void ComandoSuonoSpeciale(const std::string& percorso, bool ciclo) {
    LogWrite(Formato("Play special sound:%s", percorso));
    if (percorso != UltimoPercorsoSpeciale) {
        StopSoundObject(SuonoSpeciale);
        FreeSoundObject(SuonoSpeciale);
        SuonoSpeciale = CreateSound(OggettoDirectSound, percorso, 1);
        UltimoPercorsoSpeciale = percorso;
    } else {
        LogWrite("Already loaded!");
    }
    if (SuonoSpeciale)
        PlaySoundObject(SuonoSpeciale, ciclo ? DSBPLAY_LOOPING : 0);
    else
        LogWrite("Error trying to load special sound");
}
