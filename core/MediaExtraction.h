#pragma once
// Least form of the media file lookup: a bare file name is looked for in
// the store folder, a full path taken as it is. Extraction from the level's
// packet comes with the packet manager.
#include <string>

// The path to use, or "" when the file is not there. <temporaneo> is True
// when the caller must delete the file after use (never, in this form).
std::string EstraiFileMedia(const std::string& nomeFile, bool& temporaneo, bool conserva, bool silenzioso);
