#pragma once
// Least form of the wake of the game after a stand-by.

void RiattivaTomb();
