#include "media/ExecMedia.h"

#include <windows.h>

#include "core/FileUtils.h"
#include "core/MediaExtraction.h"
#include "core/MediaLog.h"
#include "core/MediaTrigger.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"
#include "core/Utf8Text.h"
#include "platform/Clock.h"
#include "runservices/RunState.h"

namespace {
uint32_t Numero(const void* handle) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(handle)); }
}  // namespace

bool EseguiExecMedia() {
    StampaLog("Performing Exec Media");
    StampaLog("Perform exe file: " + AnsiDaUtf8(MediaCorrente.MediaFile));

    // The program may outlive the media, so its extracted copy is kept.
    bool temporaneo = false;
    UltimoErrore.clear();
    const int32_t errori = NumErroriLog;
    const std::string programma = EstraiFileMedia(Trim(MediaCorrente.MediaFile), temporaneo, true, true);
    if (programma.empty() || !EsisteFile(programma)) {
        // The packet tells its own fault; one line is enough.
        if (NumErroriLog == errori) {
            if (UltimoErrore.empty()) UltimoErrore = "Not found file: " + AnsiDaUtf8(MediaCorrente.MediaFile);
            StampaLog("ERROR: " + UltimoErrore, true);
        }
        return false;
    }

    TrData dati;
    dati.ProcessoGioco = Numero(ProcessoGioco.hProcess);
    dati.ThreadGioco = Numero(ProcessoGioco.hThread);
    dati.FinestraGioco = Numero(FinestraGioco);
    dati.IdProcesso = ProcessoGioco.dwProcessId;
    dati.IdThread = ProcessoGioco.dwThreadId;
    dati.TriggerCd = MediaCorrente.TriggerCd;
    dati.Eseguibile = PercorsoCorto(Trim(CartellaTrle)) + "\\tomb4.exe";
    std::string bytes;
    if (!ComponiTrData(dati, bytes)) return false;
    const std::string fileDati = Trim(CartellaTrle) + "\\trdata.bin";
    if (!RiscriviSenzaBackup(fileDati, bytes)) {
        StampaLog("ERROR: creating file in " + fileDati, true);
        return false;
    }

    // Quoted: without short names the path may hold blanks.
    const std::string argomento = "\"" + PercorsoCorto(fileDati) + "\"";
    InfoProcesso info;
    if (!AvviaProcessoInfo(programma, argomento, HaBit(MediaCorrente.Options, HideProgram), info, false)) {
        StampaLog("ERROR launching program: " + programma + " with command line: " + argomento, true);
        return false;
    }
    CloseHandle(static_cast<HANDLE>(info.hThread));
    if (HaBit(MediaCorrente.Options, WaitProgramEnd)) {
        StampaLog("Waiting that program ends");
        ClockAttendiOggetto(info.hProcess, INFINITE);
        StampaLog("Program end");
    }
    CloseHandle(static_cast<HANDLE>(info.hProcess));
    StampaLog("Exec Media completed");
    return true;
}
