#pragma once
// Text and number routines. Positions in texts are 1-based, as callers count.
#include <cstdint>
#include <string>
#include <vector>

// Removes leading and trailing blanks (spaces only, as the program's texts use).
std::string Trim(const std::string& testo);
// Only ASCII letters are folded: texts are UTF-8, whose other bytes must stay
// as they are, and every name compared this way is ASCII.
std::string MaiuscoloAscii(const std::string& testo);
// Every occurrence of <cerca>, matched with ASCII letters folded, replaced
// by <con>; what <con> brings in is not searched again.
std::string SostituisciSenzaCaso(const std::string& testo, const std::string& cerca, const std::string& con);
bool UgualeSenzaCaso(const std::string& a, const std::string& b);

// The next run of digits at or after the position (no sign); the position
// moves to the character after it, or past the end when there is none.
std::string EstraiNumero(const std::string& testo, int32_t& posizione);
// The line from the position; the position moves past the line ends that
// follow, so empty lines are skipped.
std::string EstraiRiga(const std::string& testo, int32_t& posizione);
// At least <cifre> digits, zeros in front and the sign before them, as the
// "000" formats give it: -5 in three digits is "-005".
std::string FormatoZeri(int64_t valore, int32_t cifre);
// The parts between the separators; one part, the whole text, when there
// is none.
std::vector<std::string> DividiTesto(const std::string& testo, char separatore);
// A zero character after each character.
std::string ConvertiInWide(const std::string& testo);
// Hexadecimal digits only, a "-" allowed first (so a lone "-" passes).
bool IsEsadecimale(const std::string& testo);
// Upper-case hexadecimal digits, without leading zeros; a signed value
// gives the bits of its own width (-1 is "FFFFFFFF").
std::string Esadecimale(uint64_t valore);
std::string Esadecimale(uint32_t valore);
std::string Esadecimale(int32_t valore);
// 0 to n - 1, from a generator seeded again on every call.
int32_t NumeroCasuale(int16_t n);
// Indices 0 to n - 1 ordered by their values.
std::vector<int32_t> OrdinaIndici(const std::vector<int32_t>& valori, int32_t n, bool crescente);

// To the nearest whole number, halves to the even one, kept within 32 bits
// (beyond them, and a value that is no number, at the nearer edge).
int32_t Arrotonda(double valore);
double PercentualeDi(double a, double b);
double PercentualeRapporto(double a, double b);
double MillesimiDi(double a, double b);
double MillesimiRapporto(double a, double b);
