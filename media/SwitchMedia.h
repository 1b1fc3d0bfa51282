#pragma once
// Switch media. Least form: not performed yet.

bool EseguiSwitchMedia(bool& TestError);
