#pragma once
// The integer expression language of media codes: whole numbers, "*", "/",
// "-", "+", parentheses, a unary minus before a number and ABS(...). Within a
// group every "*" is done before any "/", every "/" before any "-" and every
// "-" before any "+", leftmost first: levels rely on '8/2*2' giving 2.
#include <cstdint>
#include <string>

// 0 and the error flag (after the error line) on a malformed expression,
// an overflow or a division by zero.
int32_t CalcolaEspressione(const std::string& espressione, bool& errore);

// The steps of the evaluator, each on the text passed by reference.
// The innermost group; the text keeps "~" in its place. False on a "("
// without its ")".
bool EstraiParentesi(std::string& testo, std::string& gruppo);
// The next two-operand operation, left as "!" in the group; "" when none.
std::string EstraiOperazione(std::string& gruppo, char& operatore);
int32_t CalcolaOperazione(const std::string& operazione, char operatore, bool& errore);
void ApplicaAbs(std::string& testo);
void NormalizzaSegni(std::string& testo);
