#pragma once
// The "TEXT_MENU" section of a text menu: its attempts, flags, failure media
// and items. Replaced by the next text menu.
#include <cstdint>
#include <string>
#include <vector>

struct TextMenuItem {
    std::string Value;
    int32_t MediaCode = 0;
};

struct ParametriTextMenu {
    int32_t Attempts = -1;
    int32_t Flags = 16;
    int32_t FailureMedia = -1;
    int32_t MaxChars = 12;
    int32_t TotMenu = 0;
    // The items read, then one spare: an item whose section was faulty or
    // missing is not there, so no answer chooses it.
    std::vector<TextMenuItem> Items = std::vector<TextMenuItem>(1);
};

extern ParametriTextMenu TextMenuParams;

// More items than a menu can show on a screen: the count is a typing error.
constexpr int32_t MassimoVociTextMenu = 1000;

bool SintassiTextMenu(const std::string& sezione);
// The number of items read.
int32_t VociTextMenu();
