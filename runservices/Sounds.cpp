#include "runservices/Sounds.h"

#include <windows.h>

#include <cmath>
#include <cstring>

#include "core/FileUtils.h"
#include "core/MediaExtraction.h"
#include "core/MediaConfig.h"
#include "core/MediaLog.h"
#include "core/MediaTrigger.h"
#include "core/TextUtils.h"
#include "core/Utf8Text.h"
#include "eventlogger/LoggerProtocol.h"
#include "runservices/LoggerClient.h"
#include "runservices/RunState.h"
#include "platform/Clock.h"

namespace {

void TonoDaLibreria(int32_t frequenza, int32_t durata) {
    using Funzione = void(__stdcall*)(long, long);
    // Looked for again until found: the library may be installed after the
    // first beep was asked for.
    static Funzione tono = nullptr;
    if (!tono) {
        if (HMODULE libreria = LoadLibraryA("Tonvell.dll"))
            tono = reinterpret_cast<Funzione>(reinterpret_cast<void*>(GetProcAddress(libreria, "Tonvell")));
    }
    if (tono) tono(frequenza, durata);
}

// The sound flag of the text format being performed.
bool FlagSuonoFormato() { return (FormatoTestoCorrente.Flags & 0x1) != 0; }

constexpr int32_t AttesaDopoComando[NumeroEffettiSonori] = {200, 4, 500, 30, 0, 20, 50, 50, 100, 110, 210, 0};

void SetteBeep() {
    for (int32_t f : {1300, 1270, 1210, 1120, 1000, 850, 670}) SuonaBeep(f, 30);
}

}  // namespace

void (*EmettiTono)(int32_t frequenza, int32_t durata) = TonoDaLibreria;

void SuonaBeep(int32_t frequenza, int32_t durata) {
    if (IsVersione14()) return;
    if (SistemaNT) durata = static_cast<int32_t>(std::nearbyint(durata * 2.0 / 3.0));
    EmettiTono(frequenza, durata);
}

void BeepSuono1() {
    if (!FlagSuonoFormato()) return;
    SuonaBeep(100, 2);
    SuonaBeep(500, 1);
    SuonaBeep(300, 1);
}

void BeepSuono2() {
    if (FlagSuonoFormato())
        SetteBeep();
    else
        ClockSleep(210);
}

void BeepSuono9() {
    if (!FlagSuonoFormato()) {
        ClockSleep(110);
        return;
    }
    double f = 1200;
    for (int i = 10; i >= 0; --i) {
        f = std::nearbyint(f - i / 2.0);
        SuonaBeep(static_cast<int32_t>(f), 10);
    }
}

void BeepSuono10() { SetteBeep(); }

void SuonaEffetto(int32_t numero, bool forza, bool attendi) {
    if (!forza && !FlagSuonoFormato()) return;
    if (SuoniLoggerUsabili()) {
        InviaComandoLogger(CmdPlayEffect, numero);
        if (attendi && numero >= 0 && numero < NumeroEffettiSonori && AttesaDopoComando[numero] > 0)
            ClockSleep(static_cast<uint32_t>(AttesaDopoComando[numero]));
        return;
    }
    switch (numero) {
        case 0: SuonaBeep(200, 200); break;
        case 1: BeepSuono1(); break;
        case 2: BeepSuono2(); break;
        case 3: SuonaBeep(600, 30); break;
        case 5: SuonaBeep(400, 20); break;
        case 6: SuonaBeep(150, 50); break;
        case 7: SuonaBeep(300, 50); break;
        case 8: SuonaBeep(200, 100); break;
        case 9: BeepSuono9(); break;
        case 10: BeepSuono10(); break;
        default: break;
    }
}

void FermaSuono() {
    if (LoggerAttivo()) InviaComandoLogger(CmdStopSounds, 0);
}

void SuonoSfondo(const std::string& percorso, bool ciclo) {
    if (!LoggerAttivo()) return;
    bool temporaneo = false;
    const std::string trovato = EstraiFileMedia(percorso, temporaneo, true, false);
    if (trovato.empty()) {
        StampaLog("ERROR: not found file for background sound: " + AnsiDaUtf8(NomeFileDaPercorso(percorso)), true);
        return;
    }
    if (!UgualeSenzaCaso(EstensioneFile(trovato), ".wav")) {
        StampaLog("ERROR: file for background sound is not in wave format: " + trovato, true);
        return;
    }
    // The field holds 255 bytes: a longer path would name another file.
    if (trovato.size() > DimensioneSpecialSound - 2) {
        StampaLog("ERROR: path of background sound too long: " + trovato, true);
        return;
    }
    if (!ViewLogger) return;
    char campo[DimensioneSpecialSound - 1];
    std::memset(campo, ' ', sizeof campo);
    std::memcpy(campo, trovato.c_str(), trovato.size() + 1);
    std::memcpy(ViewLogger->SpecialSoundPath, campo, sizeof campo);
    InviaComandoLogger(CmdPlaySpecialSound, ciclo ? 1 : 0);
}
