#pragma once
// The game's inventory. Least form: the logger's word only; the screen test
// comes with the inventory watch.

bool IsInventoryMode(bool AcceptBlack, bool& AllBlack, bool ForceScreen);
