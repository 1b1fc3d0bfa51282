#pragma once
// The one-time initialiser of the program's shared tables.

// False stops the program.
bool InitModMedia();
