#include "runservices/TombSettings.h"

#include <windows.h>

#include <cstdio>
#include <stdexcept>

#include "core/FileUtils.h"
#include "core/MediaLog.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"
#include "runservices/RunState.h"
#include "runservices/GameControls.h"

ImpostazioniTomb ImpostazioniTombCorrenti;
ImpostazioniTomb ImpostazioniTombSalvate;
bool ImpostazioniDaOldSettings = false;
bool OldSettingsDiQuestaRun = false;
std::string ChiaveRegistroTomb = "Software\\Core Design\\Tomb Raider Level Editor\\";

namespace {

const char* const NomiGame[] = {"AutoTarget", "ControlMethod", "MusicVolume", "SFXVolume", "SoundQuality"};

struct CampoSistema {
    const char* nome;
    uint8_t ImpostazioniTomb::*campo;
};

// The System values in the order of the record.
const CampoSistema CampiSistema[] = {
    {"BumpLow", &ImpostazioniTomb::BumpLow},   {"BumpMap", &ImpostazioniTomb::BumpMap},
    {"D3D", &ImpostazioniTomb::D3D},           {"DD", &ImpostazioniTomb::DD},
    {"DisableSound", &ImpostazioniTomb::DisableSound}, {"DS", &ImpostazioniTomb::DS},
    {"Filter", &ImpostazioniTomb::Filter},     {"HardWare", &ImpostazioniTomb::HardWare},
    {"NoFMV", &ImpostazioniTomb::NoFMV},       {"Setup", &ImpostazioniTomb::Setup},
    {"TextLow", &ImpostazioniTomb::TextLow},   {"TFormat", &ImpostazioniTomb::TFormat},
    {"VMode", &ImpostazioniTomb::VMode},       {"Volumetric", &ImpostazioniTomb::Volumetric},
    {"Window", &ImpostazioniTomb::Window},
};

void DividiPercorso(const std::string& percorso, std::string& sottochiave, std::string& nome) {
    const size_t p = percorso.rfind('\\');
    nome = p == std::string::npos ? percorso : percorso.substr(p + 1);
    sottochiave = ChiaveRegistroTomb + (p == std::string::npos ? std::string() : percorso.substr(0, p));
}

// The fields keep their width: an i16 takes the low 16 bits with their sign,
// an i32 the whole value, and a byte refuses what it cannot hold.
int16_t ComeInt16(int64_t v) { return v < 0 ? int16_t(-1) : static_cast<int16_t>(static_cast<uint16_t>(v)); }
int32_t ComeInt32(int64_t v) { return v < 0 ? -1 : static_cast<int32_t>(static_cast<uint32_t>(v)); }
uint8_t ComeByte(int64_t v, const std::string& percorso) {
    if (v < 0 || v > 255) throw std::runtime_error("Overflow (" + percorso + "=" + std::to_string(v) + ")");
    return static_cast<uint8_t>(v);
}

bool ScriviTutti(const ImpostazioniTomb& imp, bool SoloSistema) {
    if (!CreaChiaviRegistroTomb()) return false;
    if (!SoloSistema) {
        if (!ScriviValoreRegistro("Game\\AutoTarget", imp.AutoTarget)) return false;
        if (!ScriviValoreRegistro("Game\\ControlMethod", imp.ControlMethod)) return false;
        // The order of the names as text: Key0, Key1, Key10 ... Key17, Key2 ... Key9.
        for (int i : {0, 1, 10, 11, 12, 13, 14, 15, 16, 17, 2, 3, 4, 5, 6, 7, 8, 9})
            if (!ScriviValoreRegistro("Game\\Key" + std::to_string(i), imp.Tasti[i])) return false;
        if (!ScriviValoreRegistro("Game\\MusicVolume", imp.MusicVolume)) return false;
        if (!ScriviValoreRegistro("Game\\SFXVolume", imp.SFXVolume)) return false;
        if (!ScriviValoreRegistro("Game\\SoundQuality", imp.SoundQuality)) return false;
    }
    for (const CampoSistema& c : CampiSistema)
        if (!ScriviValoreRegistro(std::string("System\\") + c.nome, imp.*c.campo)) return false;
    if (!ScriviValoreRegistro("Game\\WindowX", imp.WindowX)) return false;
    return ScriviValoreRegistro("Game\\WindowY", imp.WindowY);
}

// The Action control's keys for the key tests of the utility library.
bool TastiAzioneDaImpostazioni(int16_t& tasto, int16_t& predefinito) {
    const int i = static_cast<int>(TastoGioco::Action);
    tasto = ImpostazioniTombCorrenti.Tasti[i];
    predefinito = ImpostazioniTombCorrenti.TastiDefault[i];
    return true;
}

}  // namespace

int64_t LeggiValoreRegistro(const std::string& percorso) {
    std::string sottochiave, nome;
    DividiPercorso(percorso, sottochiave, nome);
    HKEY chiave = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, sottochiave.c_str(), 0, KEY_READ, &chiave) != ERROR_SUCCESS) {
        StampaLog("Missing registery key: " + sottochiave);
        return -1;
    }
    int64_t risultato = -1;
    for (DWORD indice = 0;; ++indice) {
        char nomeValore[513] = {};
        DWORD lunghezzaNome = 512;
        BYTE dati[4] = {};
        DWORD lunghezzaDati = sizeof dati;
        DWORD tipo = 0;
        LONG r = RegEnumValueA(chiave, indice, nomeValore, &lunghezzaNome, nullptr, &tipo, dati, &lunghezzaDati);
        if (r == ERROR_MORE_DATA) {
            // A value too big for a number: only its name matters here.
            lunghezzaNome = 512;
            r = RegEnumValueA(chiave, indice, nomeValore, &lunghezzaNome, nullptr, nullptr, nullptr, nullptr);
            if (r == ERROR_SUCCESS && UgualeSenzaCaso(nomeValore, nome)) r = ERROR_MORE_DATA;
            else if (r == ERROR_SUCCESS) continue;
        }
        if (r != ERROR_SUCCESS) {
            StampaLog("ERROR reading value for registery key : " + sottochiave + "\\" + nome, true);
            break;
        }
        if (lunghezzaNome >= 512 || nomeValore[lunghezzaNome] != '\0') {
            StampaLog("ERROR reading value for registry key : " + sottochiave + "\\" + nome, true);
            break;
        }
        if (UgualeSenzaCaso(nomeValore, nome)) {
            risultato = static_cast<int64_t>(dati[0]) | (static_cast<int64_t>(dati[1]) << 8) |
                        (static_cast<int64_t>(dati[2]) << 16) | (static_cast<int64_t>(dati[3]) << 24);
            break;
        }
    }
    RegCloseKey(chiave);
    return risultato;
}

bool ScriviValoreRegistro(const std::string& percorso, int32_t valore) {
    std::string sottochiave, nome;
    DividiPercorso(percorso, sottochiave, nome);
    HKEY chiave = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, sottochiave.c_str(), 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &chiave) !=
        ERROR_SUCCESS) {
        StampaLog("Error opening registery for writing key: " + sottochiave, true);
        return false;
    }
    const DWORD dato = static_cast<DWORD>(valore);
    const LONG r = RegSetValueExA(chiave, nome.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dato), 4);
    RegCloseKey(chiave);
    if (r != ERROR_SUCCESS) {
        StampaLog("Error updating/creating registery key: " + sottochiave + "\\" + nome, true);
        return false;
    }
    return true;
}

bool CreaChiaveRegistro(const std::string& sottochiave) {
    HKEY chiave = nullptr;
    DWORD disposizione = 0;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, sottochiave.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &chiave, &disposizione) != ERROR_SUCCESS) {
        StampaLog("ERROR creating register key: " + sottochiave, true);
        return false;
    }
    RegCloseKey(chiave);
    return true;
}

bool CreaChiaviRegistroTomb() {
    return CreaChiaveRegistro(ChiaveRegistroTomb + "Game") && CreaChiaveRegistro(ChiaveRegistroTomb + "System");
}

bool ScriviSettingsTomb(const ImpostazioniTomb& imp, bool SoloSistema) {
    try {
        return ScriviTutti(imp, SoloSistema);
    } catch (const std::exception& e) {
        StampaLog(std::string("ERROR in ScriviSettingsTomb() : ") + e.what(), true);
        return false;
    }
}

bool ReadTombSettings() {
    try {
        ImpostazioniTombCorrenti = ImpostazioniTomb{};
        TastiAzioneGioco = TastiAzioneDaImpostazioni;
        ControlloGiocoPremuto = TastoGiocoPremuto;
        ImpostazioniTomb& imp = ImpostazioniTombCorrenti;
        const int64_t tasto0 = LeggiValoreRegistro("Game\\Key0");
        if (tasto0 == -1) {
            StampaLog("Missing Level Editor settings in windows registry (first execution)");
            StampaLog("Write default settings in windows registry");
            CambiaTabulatoreLog(1);
            const bool ok = ScriviSettingsTomb(imp, false);
            CambiaTabulatoreLog(-1);
            return ok;
        }
        imp.Tasti[0] = ComeInt16(tasto0);
        for (int i = 1; i < NumeroTastiGioco; ++i)
            imp.Tasti[i] = ComeInt16(LeggiValoreRegistro("Game\\Key" + std::to_string(i)));
        imp.AutoTarget = ComeByte(LeggiValoreRegistro("Game\\AutoTarget"), "Game\\AutoTarget");
        imp.ControlMethod = ComeByte(LeggiValoreRegistro("Game\\ControlMethod"), "Game\\ControlMethod");
        imp.MusicVolume = ComeInt16(LeggiValoreRegistro("Game\\MusicVolume"));
        imp.SFXVolume = ComeInt16(LeggiValoreRegistro("Game\\SFXVolume"));
        imp.SoundQuality = ComeInt16(LeggiValoreRegistro("Game\\SoundQuality"));
        imp.WindowX = ComeInt32(LeggiValoreRegistro("Game\\WindowX"));
        imp.WindowY = ComeInt32(LeggiValoreRegistro("Game\\WindowY"));
        for (const CampoSistema& c : CampiSistema) {
            const std::string percorso = std::string("System\\") + c.nome;
            imp.*c.campo = ComeByte(LeggiValoreRegistro(percorso), percorso);
        }
        return true;
    } catch (const std::exception& e) {
        StampaLog(std::string("ERROR in ReadTombSettings() : ") + e.what(), true);
        return false;
    }
}

std::string PercorsoOldSettings() { return PercorsoStore + "\\Old_Settings.trg"; }

namespace {
// A copy that is there but could not be read holds the settings of before a
// crash: it is neither written over nor deleted.
bool OldSettingsIllegibile = false;

bool EsistePercorso(const std::string& percorso) {
    return GetFileAttributesA(percorso.c_str()) != INVALID_FILE_ATTRIBUTES;
}
}  // namespace

void SalvaOldSettings(const ImpostazioniTomb& imp) {
    StampaLog("Saving Old_Settings.trg");
    if (OldSettingsIllegibile) {
        StampaLog("WARNING: 'Old_Settings.trg' of a previous crash could not be read: it is not written over");
        return;
    }
    OldSettingsDiQuestaRun = true;
    // A failed write leaves the previous copy in place.
    RiscriviConBackup(PercorsoOldSettings(), BytesOldSettings(imp));
}

bool LeggiOldSettings(ImpostazioniTomb& imp) {
    OldSettingsIllegibile = false;
    ImpostazioniDaOldSettings = false;
    std::string percorso = PercorsoOldSettings();
    if (!EsistePercorso(percorso)) {
        // A save cut short between its two renames leaves only the backup.
        const std::string backup = PercorsoBackup(percorso);
        if (!EsistePercorso(backup)) {
            StampaLog("Missing Old_Settings.trg (ok: it means 'no previous crash')");
            return false;
        }
        StampaLog("WARNING: missing Old_Settings.trg: using its backup copy 'backup_Old_Settings.trg'");
        percorso = backup;
    }
    FILE* f = fopen(percorso.c_str(), "rb");
    if (!f) {
        OldSettingsIllegibile = true;
        StampaLog("ERROR: cannot open '" + percorso + "' left by a previous crash: settings of windows registry "
                  "are used and the file is kept",
                  true);
        return false;
    }
    std::string dati;
    char blocco[256];
    size_t n = 0;
    while ((n = fread(blocco, 1, sizeof blocco, f)) > 0 && dati.size() < 4096) dati.append(blocco, n);
    fclose(f);
    std::string errore;
    if (!OldSettingsDaBytes(dati, imp, errore)) {
        StampaLog("WARNING: 'Old_Settings.trg' not used: " + errore + ": settings of windows registry are kept");
        return false;
    }
    ImpostazioniDaOldSettings = true;
    return true;
}

void CancellaOldSettings() {
    StampaLog("Deleting Old_Settings.trg");
    if (OldSettingsIllegibile) return;
    // The backup first: alone it would look like a save cut short.
    CancellaFile(PercorsoBackup(PercorsoOldSettings()));
    CancellaFile(PercorsoOldSettings());
}
