#pragma once
// The media configuration file media.mcf: its header, held in HeaderMcf,
// and its trigger records, held in ListaMedia.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/BitFlags.h"
#include "core/ByteStream.h"
#include "core/MediaTrigger.h"

struct MediaConfigHeader {
    std::string Version = "VER1.5";  // always 6 characters in the file
    int32_t TriggerCount = 0;
    std::array<uint8_t, 16> Reserved{};
    int32_t HeaderOptions = 0;
    int32_t VideoMode = 0;
    int32_t ScriptDatChecksum = 0;
    int32_t ReservedLong = 0;
    std::string HeaderText;
    std::string CartellaMcf;  // not stored in the file
    int32_t MediaFileCount = 0;
    std::vector<std::string> MediaFiles;
    std::vector<int32_t> MediaFileRefs;
};

// Run-wide option bits of HeaderOptions. A scoped type: the logger's phase
// bits carry some of the same names, and neither can be tested with the
// other's bit.
enum class OpzioneHeader : int32_t {
    IgnoreStartCd = 0x1,
    NoInventoryWatch = 0x2,
    NoLoadingCheck = 0x4,
    ForceLogFile = 0x8,
    VerifyScriptDat = 0x10,
    EnableVolumetricEffects = 0x40,
    DisableVolumetricEffects = 0x80,
    EnableBumpMapping = 0x100,
    DisableBumpMapping = 0x200,
    NoFastPatch = 0x400,
    TombExePatched = 0x800,
    SharedMode = 0x1000,
    AbortOnSwapVideoMode = 0x8000,
};

ABILITA_BIT_FLAGS(OpzioneHeader);
// The word HeaderOptions holds for these bits.
constexpr int32_t ParolaOpzioni(OpzioneHeader o) { return static_cast<int32_t>(o); }
constexpr bool HaOpzione(int32_t opzioni, OpzioneHeader o) { return (opzioni & static_cast<int32_t>(o)) != 0; }

extern MediaConfigHeader HeaderMcf;

constexpr size_t LunghezzaMinimaTrigger = 120;
// A configuration is a few kilobytes; a file far larger is not one, and is
// refused before it can exhaust the memory.
constexpr int64_t MassimoFileMcf = 64 << 20;
constexpr int32_t MajorVersioneMcf = 1;
constexpr int32_t MinorVersioneMcf = 5;

bool CaricaMediaMcf(const std::string& percorso);
// The load from the file's content, once the file has been read.
bool CaricaMediaMcfDaByte(const std::string& percorso, const std::string& dati);
bool CaricaTriggerMedia(MediaTrigger& media, LettoreByte& file);

// An empty path asks the user for one; the path written is given back.
bool SalvaMediaConfig(std::string& percorso);
// The file's content for HeaderMcf and ListaMedia; False after the error line.
bool ComponiMediaConfig(const std::string& percorso, std::string& dati);
bool SalvaTriggerMedia(const MediaTrigger& media, ScrittoreByte& file);

bool IsVersione14();
bool SuoniLoggerUsabili();

// Window side: the save dialog for a configuration; empty when cancelled.
std::string ScegliFileMediaConfig();
