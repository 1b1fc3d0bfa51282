// The window side of the media configuration: the save dialog.
#include <windows.h>
#include <commdlg.h>

#include "core/MediaConfig.h"

std::string ScegliFileMediaConfig() {
    char file[MAX_PATH] = {};
    char cartella[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof cartella, cartella);
    OPENFILENAMEA dialogo{};
    dialogo.lStructSize = sizeof dialogo;
    dialogo.lpstrFilter = "Media Configuration File (*.mcf)\0*.mcf\0";
    dialogo.lpstrFile = file;
    dialogo.nMaxFile = sizeof file;
    dialogo.lpstrInitialDir = cartella;
    dialogo.lpstrTitle = "Save Configuration Media File";
    dialogo.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
    if (!GetSaveFileNameA(&dialogo)) return "";
    return file;
}
