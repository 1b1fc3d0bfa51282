// Plays one tone and returns when it has ended. Without an audio device the
// call still takes the tone's length, so callers keep their timing.
#include <windows.h>
#include <mmsystem.h>

#include <cmath>
#include <vector>

extern "C" __declspec(dllexport) void __stdcall Tonvell(long frequenza, long durata) {
    if (durata <= 0) return;
    const DWORD inizio = GetTickCount();
    constexpr int campioniAlSecondo = 22050;
    if (frequenza >= 20 && frequenza <= 20000 && durata <= 60000) {
        const size_t n = static_cast<size_t>(campioniAlSecondo) * static_cast<size_t>(durata) / 1000;
        std::vector<short> onda(n);
        const double passo = 2.0 * 3.14159265358979 * frequenza / campioniAlSecondo;
        for (size_t i = 0; i < n; ++i) onda[i] = static_cast<short>(8000.0 * std::sin(passo * static_cast<double>(i)));

        WAVEFORMATEX wf{};
        wf.wFormatTag = WAVE_FORMAT_PCM;
        wf.nChannels = 1;
        wf.nSamplesPerSec = campioniAlSecondo;
        wf.wBitsPerSample = 16;
        wf.nBlockAlign = 2;
        wf.nAvgBytesPerSec = campioniAlSecondo * 2;
        HWAVEOUT out = nullptr;
        if (waveOutOpen(&out, WAVE_MAPPER, &wf, 0, 0, CALLBACK_NULL) == MMSYSERR_NOERROR) {
            WAVEHDR h{};
            h.lpData = reinterpret_cast<LPSTR>(onda.data());
            h.dwBufferLength = static_cast<DWORD>(n * sizeof(short));
            if (waveOutPrepareHeader(out, &h, sizeof(h)) == MMSYSERR_NOERROR) {
                if (waveOutWrite(out, &h, sizeof(h)) == MMSYSERR_NOERROR) {
                    // A stuck device must not hold the caller for ever.
                    while (!(h.dwFlags & WHDR_DONE) && GetTickCount() - inizio < static_cast<DWORD>(durata) + 2000)
                        Sleep(5);
                }
                waveOutReset(out);
                waveOutUnprepareHeader(out, &h, sizeof(h));
            }
            waveOutClose(out);
        }
    }
    const DWORD trascorso = GetTickCount() - inizio;
    if (trascorso < static_cast<DWORD>(durata)) Sleep(static_cast<DWORD>(durata) - trascorso);
}
