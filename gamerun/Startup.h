#pragma once
// Start-up of the program: state, store folder (ImpostaCartellaStore, with
// the initialiser in core/ModuleInit.h) and command line.
#include <string>
#include <vector>

extern std::vector<std::string> FileInstaller;

void AvvioProgramma();
// Hands the run's services and the performers the routines of the control
// and of the performers they call (runservices/RunHooks.h).
void CollegaServiziRun();

// The program's arguments: the command line without the program's own name,
// split at single blanks, each piece trimmed.
std::vector<std::string> ArgomentiRigaComando(const std::string& rigaComando);
std::string TestoHelp();
