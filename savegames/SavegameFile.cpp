#include "savegames/SavegameFile.h"

#include <windows.h>

#include "core/FileUtils.h"
#include "core/MediaLog.h"
#include "core/TextUtils.h"
#include "gamerun/RunState.h"

std::string PercorsoSavegame(int32_t numero) { return Trim(CartellaTrle) + "\\savegame." + std::to_string(numero); }

bool IsPathSavegame(const std::string& percorso, bool saltaCartella) {
    const bool valido = (saltaCartella || UgualeSenzaCaso(CartellaDaPercorso(percorso), Trim(CartellaTrle))) &&
                        IsNomeSavegame(percorso);
    // Outside a run (preview mode) nothing is reported.
    if (!valido && !saltaCartella && !FuoriGioco)
        StampaLog("WARNING: file path \"" + percorso + "\" is not a valid path for savegame");
    return valido;
}

void CancellaSavegameCartella(const std::string& cartella) {
    for (int32_t n = 0; n < NumSlotSavegame; ++n) {
        const std::string file = cartella + "\\savegame." + std::to_string(n);
        if (EsisteFile(file)) CancellaFile(file);
    }
}

bool EsisteFileOpenFile(const std::string& percorso) {
    if (PulisciStringa(percorso).empty()) return false;
    const DWORD attributi = GetFileAttributesA(percorso.c_str());
    if (attributi == INVALID_FILE_ATTRIBUTES || (attributi & FILE_ATTRIBUTE_DIRECTORY)) return false;
    DWORD accesso = (attributi & FILE_ATTRIBUTE_READONLY) ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    for (;;) {
        HANDLE h = CreateFileA(percorso.c_str(), accesso, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            CloseHandle(h);
            return false;
        }
        const DWORD errore = GetLastError();
        if (errore == ERROR_ACCESS_DENIED && accesso != GENERIC_READ) {
            accesso = GENERIC_READ;
            continue;
        }
        return errore == ERROR_SHARING_VIOLATION || errore == ERROR_LOCK_VIOLATION;
    }
}
