#pragma once
// Command media: key macros sent to the game. Least form: not sent yet.

bool EseguiCommandMedia();
