#pragma once
// Keys sent to the game. Least form: synthetic input of scan codes on the
// NT family, without macros or the 9x driver.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Pairs of (set-1 scan code, 0x80 = release; pause in ms after it).
void InviaCodici(const std::string& macro, const std::vector<std::pair<int32_t, int32_t>>& tasti);

// The scan-code table and, on 98 and Me, the key-injection driver.
bool InitSendKeys();
void TerminateSendKeys();
// Appends <valore> to the list; with <senzaDoppi> a value already there
// leaves it unchanged.
void AggiungiTastoPremuto(int32_t valore, std::vector<int32_t>& lista, int32_t& conteggio, bool senzaDoppi);
