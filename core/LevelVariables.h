#pragma once
// The level's own variables A to D and the last text typed into a text
// menu: files of the store folder between runs, globals during a run. Also
// the formula of media codes that names them. The record of a level being
// loaded, which runs the guardian, is in runservices/LoadingState.h.
#include <cstdint>
#include <string>

constexpr int32_t IdVariabileD = 763;
constexpr int32_t IdVariabileC = 764;
constexpr int32_t IdVariabileB = 765;
constexpr int32_t IdVariabileA = 766;
constexpr int32_t IdUltimoInput = 767;

extern std::string VarA, VarB, VarC, VarD, VarLastInput;

// The file's full path and the display name; "" (after the error line) for
// an unknown id.
std::string NomeFileVariabile(int32_t id, std::string& nome);
std::string LeggiVariabile(int32_t id, bool& errore, bool numerico, bool silenzioso);
void SalvaVariabile(int32_t id, const std::string& valore);

// Substitutes "#", "AV", "BV", "CV" and "DV", then evaluates.
int32_t CalcolaFormula(const std::string& formula, bool& errore);
