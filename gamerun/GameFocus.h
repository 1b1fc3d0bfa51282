#pragma once
// Least form of the game focus: brings the game window to the front.

void FocusFinestraTomb();
