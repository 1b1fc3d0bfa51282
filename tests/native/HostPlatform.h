#pragma once
// What the native build puts in place of the Windows side of the program.
#include <string>
#include <vector>

struct BoxHost {
    std::string testo;
    unsigned stile;
    std::string titolo;
};
// The message boxes Messaggio would have shown, in order.
extern std::vector<BoxHost> BoxMostrati;
// The decimal separator SeparatoreDecimale reports.
extern char SeparatoreHost;
// The host path of a program path: a backslash separates, and each
// component that exists is found without regard to case, as Windows does.
std::string PercorsoHost(const std::string& percorso);
