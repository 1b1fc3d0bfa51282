#pragma once
// Temporary folders and files for tests.
#include <string>

// A new empty folder under the system's temporary folder, removed with
// everything in it when the object goes.
class CartellaProva {
public:
    explicit CartellaProva(const std::string& prefisso = "lv");
    ~CartellaProva();
    CartellaProva(const CartellaProva&) = delete;
    CartellaProva& operator=(const CartellaProva&) = delete;
    const std::string& Percorso() const { return percorso_; }
    std::string operator/(const std::string& nome) const { return percorso_ + "\\" + nome; }

private:
    std::string percorso_;
};

std::string LeggiFileProva(const std::string& percorso);
bool ScriviFileProva(const std::string& percorso, const std::string& contenuto);
bool EsisteFileProva(const std::string& percorso);
void RimuoviAlbero(const std::string& percorso);
// The folder of the running test program.
std::string CartellaTest();
// The folder of the programs built with the tests (the tests' own).
std::string CartellaProgrammi();
