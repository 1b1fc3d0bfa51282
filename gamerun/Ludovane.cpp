// Entry of Ludovane: everything starts from the load of the main window.
#include <windows.h>

#include "core/MediaLog.h"
#include "gamerun/Principale.h"
#include "platform/Forms.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    FormPrincipale().Load();
    const int codice = EseguiApplicazione();
    // The last lines of any road reach the file, even when the log is off
    // and they are error lines.
    ScriviBufferLog(true);
    return codice;
}
