#pragma once
// Keys sent to the game. Least form: synthetic input of scan codes on the
// NT family, without macros or the 9x driver.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Pairs of (set-1 scan code, 0x80 = release; pause in ms after it).
void InviaCodici(const std::string& macro, const std::vector<std::pair<int32_t, int32_t>>& tasti);
