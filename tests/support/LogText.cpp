#include "tests/support/LogText.h"

std::vector<std::string> TestiRigheLog(const std::string& log) {
    std::vector<std::string> righe;
    size_t i = 0;
    while (i < log.size()) {
        size_t fine = log.find("\r\n", i);
        if (fine == std::string::npos) fine = log.size();
        std::string riga = log.substr(i, fine - i);
        const size_t sep = riga.find(":  ");
        if (sep != std::string::npos) riga = riga.substr(sep + 3);
        riga.erase(0, riga.find_first_not_of('\t'));
        righe.push_back(riga);
        i = fine + 2;
    }
    return righe;
}
