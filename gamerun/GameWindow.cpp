#include "gamerun/GameWindow.h"

#include <windows.h>

#include "core/MediaLog.h"
#include "gamerun/Desktop.h"
#include "gamerun/LoggerClient.h"
#include "gamerun/RunState.h"

uint32_t TickRisveglio = 0;
std::vector<FinestraThreadGioco> FinestreGioco;
int32_t NumFinestreGioco = 0;
void* HdcGioco = nullptr;
int32_t LivelloPrioritaGioco = 7;
int32_t LivelloPrioritaModulo = 7;

namespace {

BOOL CALLBACK CercaPerProcesso(HWND h, LPARAM valore) {
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid == ProcessoGioco.dwProcessId && IsWindowVisible(h) && GetWindow(h, GW_OWNER) == nullptr) {
        *reinterpret_cast<HWND*>(valore) = h;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

bool RichiestaAbort() {
    if (FuoriGioco) return true;
    if (ProcessoGioco.hProcess == nullptr) return false;
    return WaitForSingleObject(ProcessoGioco.hProcess, 0) != WAIT_OBJECT_0;
}

bool CercaFinestraGioco() {
    if (ProcessoGioco.dwProcessId == 0) return false;
    HWND trovata = nullptr;
    EnumWindows(CercaPerProcesso, reinterpret_cast<LPARAM>(&trovata));
    if (!trovata) return false;
    FinestraGioco = trovata;
    return true;
}

void PosizionaCover() {
    Dialog_Cover& cover = DialogCover();
    if (!cover.Loaded()) return;
    SetWindowPos(cover.hWnd(), nullptr, RettCover.X, RettCover.Y, RettCover.Larghezza, RettCover.Altezza,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void RiduciPrioritaGioco(bool) {
    if (ProcessoGioco.hProcess && SetPriorityClass(ProcessoGioco.hProcess, IDLE_PRIORITY_CLASS))
        ImpostaBit(StatoGioco, PrioritaGiocoRidotta);
}

bool RipristinaPrioritaGioco(bool) {
    if (!ProcessoGioco.hProcess || !SetPriorityClass(ProcessoGioco.hProcess, NORMAL_PRIORITY_CLASS)) return false;
    TogliBit(StatoGioco, PrioritaGiocoRidotta);
    return true;
}

bool IsLoggerAlive() {
    if (!LoggerAttivo()) return false;
    return hProcessLogger != nullptr && WaitForSingleObject(hProcessLogger, 0) == WAIT_TIMEOUT;
}

void TerminaGioco() {
    if (ProcessoGioco.hProcess == nullptr) return;
    TerminateProcess(ProcessoGioco.hProcess, 0);
    CloseHandle(ProcessoGioco.hProcess);
    ProcessoGioco.hProcess = nullptr;
    if (ProcessoGioco.hThread) CloseHandle(ProcessoGioco.hThread);
    ProcessoGioco.hThread = nullptr;
}

void ChiudiGioco() {
    if (ProcessoGioco.hProcess == nullptr) return;
    StampaLog("Close tomb raider program");
    TerminaGioco();
}

void RettangoloClientGioco(Rettangolo&) {}
void MostraFinestraGioco() {}
void AttendiBloccoGioco() {}
void VerificaRisoluzioneGioco() {}
void ControllaModoVideo() {}
bool VerificaSpostamentoSchermo() { return true; }
bool ClassePriorita(int32_t, int32_t&, int32_t&) { return false; }
bool ImpostaPriorita(void*, void*, int32_t) { return false; }
void VelocizzaModulo() {}
void RallentaModulo() {}
void RallentaInventario(uint32_t) {}
