#pragma once
// Names of the fields of the moveable records held in savegames.
#include <cstdint>
#include <string>

constexpr int32_t NumCampiMoveable = 24;

// The savegame field row of a moveable field code: "0300:w:Lara.Mark",
// "0403:w:Enemy.PosZ". "" for a field index outside the table.
std::string NomeCampoMoveable(int32_t codice);
