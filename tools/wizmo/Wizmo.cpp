// Stand-in for the monitor utility wizmo.exe. "quiet monoff" switches the
// monitor off and keeps it off until the process is ended. Each command
// line received is appended to wizmo.log in the program's own folder.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR argomenti, int) {
    char percorso[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, percorso, MAX_PATH);
    std::string log = percorso;
    log = log.substr(0, log.find_last_of('\\') + 1) + "wizmo.log";
    if (FILE* f = std::fopen(log.c_str(), "ab")) {
        std::fprintf(f, "%s\r\n", argomenti);
        std::fclose(f);
    }
    if (std::strstr(argomenti, "monoff")) {
        PostMessageA(GetDesktopWindow(), WM_SYSCOMMAND, SC_MONITORPOWER, 2);
        for (;;) Sleep(INFINITE);
    }
    return 0;
}
