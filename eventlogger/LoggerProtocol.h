#pragma once
// What crosses between the game, Scrivane and Ludovane: the game event
// record, the shared "SWAPMEDIADAT" area, the commands and Logger.bin.
// Shared by both programs and the tests; no Windows header here.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/BitFlags.h"

// Phase bits of a record's Fasi. A scoped type: the header options of a
// configuration carry some of the same names, and neither can be tested
// with the other's bit.
enum class LoggerFase : uint8_t {
    Inventory = 0x01,
    LoadingLevel = 0x02,
    HangGame = 0x04,
    CreatedWindow = 0x08,
    ChangingMode = 0x10,
    SharedMode = 0x20,
    ABORT_LOG = 0x40,
};

ABILITA_BIT_FLAGS(LoggerFase);
constexpr bool HaFase(LoggerFase fasi, LoggerFase bit) { return (fasi & bit) != LoggerFase{}; }

#pragma pack(push, 1)

struct LoggerStructure {
    uint32_t TickEvento;
    LoggerFase Fasi;
    uint8_t CdTrack;  // 255 none
    uint8_t Livello;  // 255 none
    uint8_t Codice;
    int16_t ValoreX;
    int16_t ValoreY;
};

constexpr uint32_t MaxStrutture = 5439;
constexpr uint32_t DimensioneSwapMedia = 65536;
constexpr uint32_t DimensioneSpecialSound = 256;

struct SwapMediaView {
    uint32_t StructureCount;
    uint32_t ReceivedCount;
    char SpecialSoundPath[DimensioneSpecialSound];
    LoggerStructure Structures[MaxStrutture];
    uint8_t Riservato[4];
};

struct LoggerBinHeader {
    int32_t NumeroLivelli;
    uint32_t TempoBaseLog;
};

#pragma pack(pop)

static_assert(sizeof(LoggerStructure) == 12);
static_assert(offsetof(LoggerStructure, TickEvento) == 0);
static_assert(offsetof(LoggerStructure, Fasi) == 4);
static_assert(offsetof(LoggerStructure, CdTrack) == 5);
static_assert(offsetof(LoggerStructure, Livello) == 6);
static_assert(offsetof(LoggerStructure, Codice) == 7);
static_assert(offsetof(LoggerStructure, ValoreX) == 8);
static_assert(offsetof(LoggerStructure, ValoreY) == 10);

static_assert(sizeof(SwapMediaView) == DimensioneSwapMedia);
static_assert(offsetof(SwapMediaView, StructureCount) == 0);
static_assert(offsetof(SwapMediaView, ReceivedCount) == 4);
static_assert(offsetof(SwapMediaView, SpecialSoundPath) == 8);
static_assert(offsetof(SwapMediaView, Structures) == 264);
static_assert(offsetof(SwapMediaView, Riservato) == 65532);

static_assert(sizeof(LoggerBinHeader) == 8);

constexpr const char* NomeMappaSwap = "SWAPMEDIADAT";
constexpr const char* NomeMappaTomb = "DBLOGMAPMEM";
constexpr uint32_t DimensioneMappaTomb = 1048576;
constexpr const char* ClasseLogger = "DBLogWindowClass";
constexpr const char* TitoloLogger = "DBLog Server";
constexpr const char* NomeLoggerBin = "Logger.bin";

constexpr uint8_t NessunValore = 255;
// Never found in a valid record: the reader's copy-failure sentinels.
constexpr uint8_t CdCopiaFallita = 190;
constexpr uint8_t LivelloCopiaFallita = 254;

enum LoggerEvent : uint8_t {
    EventoNullo = 0,
    PreLoading = 1,
    EndLoading = 2,
    StartCDSound = 3,
    EndCDSound = 4,
    GetVideoExclusive = 5,
    GetVideoShared = 6,
    MovedWindow = 7,
    LoadingLevelIdentified = 8,
    HangGameEvent = 9,
    ResumeGame = 10,
    EndGame = 11,
    ErrorEvent = 12,
    StartInventory = 13,
    EndInventory = 14,
    BootScreen = 15,
    StartChangeMode = 16,
    EndChangeMode = 17,
    OverflowBuffer = 18,
    AlreadyInScene = 19,
    Time_Init = 20,
    ReceivedWMClose = 21,
    LoadSavegame = 22,
};
constexpr int NumeroEventi = 23;


enum ComandoLogger : uint32_t {
    CmdSendCache = 0,
    CmdSendReceived = 1,
    CmdSetPhase = 2,
    CmdExtendedLog = 3,
    CmdWriteLog = 4,
    CmdMediaModuleHandle = 5,
    CmdTombProcessHandle = 6,
    CmdClearMapping = 7,
    CmdCloseLogger = 8,
    CmdPlayEffect = 9,
    CmdStopSounds = 10,
    CmdPlaySpecialSound = 11,
};
constexpr uint32_t MessaggioComando = 0x400;  // WM_USER

// Logger.bin: at most this many names, each in a 64-byte field.
constexpr int32_t MaxNomiLivelli = 256;
constexpr size_t DimensioneNomeLivello = 64;

struct LoggerBin {
    uint32_t TempoBaseLog = 0;
    std::vector<std::string> NomiLivelli;
};

// The name the main program's log gives each code ("?" outside the table),
// and the set phase bits in the log's order.
inline const char* const NomiEventi[NumeroEventi] = {
    "NULL",          "PreLoading",     "EndLoading",      "StartCDSound",  "EndCDSound",     "GetVideoExclusive",
    "GetVideoShared", "MovedWindow",   "LoadingLevel",    "HangGame",      "ResumeGame",     "EndGame",
    "Error",         "StartInventory", "EndInventory",    "BootScreen",    "StartChangeMode", "EndChangeMode",
    "OverflowBuffer", "AlreadyInScene", "Time_Init",      "ReceivedWMClose", "LoadSavegame",
};

inline const char* NomeEvento(int codice) {
    if (codice < 0 || codice >= NumeroEventi) return "?";
    return NomiEventi[codice];
}

inline std::string NomiFasi(LoggerFase fasi) {
    struct Nome {
        LoggerFase bit;
        const char* testo;
    };
    static const Nome ordine[] = {
        {LoggerFase::ABORT_LOG, "ABORT_LOG "},       {LoggerFase::CreatedWindow, "CreatedWindow "},
        {LoggerFase::HangGame, "HangGame "},         {LoggerFase::Inventory, "Inventory "},
        {LoggerFase::LoadingLevel, "LoadingLevel "}, {LoggerFase::ChangingMode, "ChangingMode "},
        {LoggerFase::SharedMode, "SharedMode "}};
    std::string testo;
    for (const Nome& n : ordine)
        if (HaFase(fasi, n.bit)) testo += n.testo;
    return testo;
}

// The bytes of Logger.bin; names longer than 63 characters are cut, and
// only the first 256 names are written.
inline std::vector<uint8_t> ScriviLoggerBin(const LoggerBin& bin) {
    const size_t quanti = bin.NomiLivelli.size() > static_cast<size_t>(MaxNomiLivelli)
                              ? static_cast<size_t>(MaxNomiLivelli)
                              : bin.NomiLivelli.size();
    std::vector<uint8_t> dati(sizeof(LoggerBinHeader) + quanti * DimensioneNomeLivello, ' ');
    LoggerBinHeader testa{static_cast<int32_t>(quanti), bin.TempoBaseLog};
    std::memcpy(dati.data(), &testa, sizeof testa);
    for (size_t i = 0; i < quanti; ++i) {
        const std::string& nome = bin.NomiLivelli[i];
        const size_t n = nome.size() < DimensioneNomeLivello - 1 ? nome.size() : DimensioneNomeLivello - 1;
        uint8_t* campo = dati.data() + sizeof testa + i * DimensioneNomeLivello;
        std::memcpy(campo, nome.data(), n);
        campo[n] = 0;
    }
    return dati;
}

// False with a reason when the image is shorter than its header or than
// the names its count announces; a count above 256 keeps the first 256.
inline bool LeggiLoggerBin(const uint8_t* dati, size_t dimensione, LoggerBin& bin, std::string& errore) {
    bin = LoggerBin{};
    if (dati == nullptr || dimensione < sizeof(LoggerBinHeader)) {
        errore = "file shorter than its header";
        return false;
    }
    LoggerBinHeader testa;
    std::memcpy(&testa, dati, sizeof testa);
    if (testa.NumeroLivelli < 0) {
        errore = "negative number of levels";
        return false;
    }
    int32_t quanti = testa.NumeroLivelli > MaxNomiLivelli ? MaxNomiLivelli : testa.NumeroLivelli;
    if (sizeof testa + static_cast<size_t>(quanti) * DimensioneNomeLivello > dimensione) {
        errore = "file shorter than the names its count announces";
        return false;
    }
    bin.TempoBaseLog = testa.TempoBaseLog;
    for (int32_t i = 0; i < quanti; ++i) {
        const char* campo = reinterpret_cast<const char*>(dati + sizeof testa + i * DimensioneNomeLivello);
        size_t n = 0;
        while (n < DimensioneNomeLivello - 1 && campo[n] != 0) ++n;
        bin.NomiLivelli.emplace_back(campo, n);
    }
    return true;
}

// The start state, and equality of everything but the tick.
inline LoggerStructure StrutturaIniziale() {
    return LoggerStructure{0, LoggerFase{}, NessunValore, NessunValore, EventoNullo, 0, 0};
}

inline bool StruttureUguali(const LoggerStructure& a, const LoggerStructure& b) {
    return a.Fasi == b.Fasi && a.CdTrack == b.CdTrack && a.Livello == b.Livello && a.Codice == b.Codice &&
           a.ValoreX == b.ValoreX && a.ValoreY == b.ValoreY;
}
