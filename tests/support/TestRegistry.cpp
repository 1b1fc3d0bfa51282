#include "tests/support/TestRegistry.h"

void CancellaAlberoRegistro(HKEY radice, const std::string& chiave) {
    HKEY h = nullptr;
    if (RegOpenKeyExA(radice, chiave.c_str(), 0, KEY_ALL_ACCESS, &h) == ERROR_SUCCESS) {
        char nome[512];
        for (;;) {
            DWORD n = sizeof nome;
            if (RegEnumKeyExA(h, 0, nome, &n, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            CancellaAlberoRegistro(h, nome);
        }
        RegCloseKey(h);
    }
    RegDeleteKeyA(radice, chiave.c_str());
}

std::map<std::string, ValoreGrezzo> FotografiaRegistro(const std::string& radice) {
    std::map<std::string, ValoreGrezzo> f;
    for (const char* sotto : {"Game", "System"}) {
        HKEY h = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, (radice + "\\" + sotto).c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
            continue;
        for (DWORD i = 0;; ++i) {
            char nome[512];
            DWORD n = sizeof nome;
            BYTE dati[256];
            DWORD nd = sizeof dati;
            DWORD tipo = 0;
            if (RegEnumValueA(h, i, nome, &n, nullptr, &tipo, dati, &nd) != ERROR_SUCCESS) break;
            f[std::string(sotto) + "\\" + nome] = {tipo, std::string(reinterpret_cast<char*>(dati), nd)};
        }
        RegCloseKey(h);
    }
    return f;
}

bool RipristinaFotografiaRegistro(const std::string& radice, const std::map<std::string, ValoreGrezzo>& f) {
    bool ok = true;
    for (const auto& [percorso, valore] : f) {
        const size_t barra = percorso.find('\\');
        HKEY h = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, (radice + "\\" + percorso.substr(0, barra)).c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &h, nullptr) != ERROR_SUCCESS) {
            ok = false;
            continue;
        }
        ok = RegSetValueExA(h, percorso.substr(barra + 1).c_str(), 0, valore.tipo,
                            reinterpret_cast<const BYTE*>(valore.dati.data()),
                            static_cast<DWORD>(valore.dati.size())) == ERROR_SUCCESS && ok;
        RegCloseKey(h);
    }
    return ok;
}

bool MettiValoreRegistro(const std::string& radice, const std::string& sotto, const std::string& nome,
                         DWORD valore) {
    HKEY h = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, (radice + "\\" + sotto).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &h, nullptr) != ERROR_SUCCESS)
        return false;
    const bool ok =
        RegSetValueExA(h, nome.c_str(), 0, REG_DWORD, reinterpret_cast<BYTE*>(&valore), 4) == ERROR_SUCCESS;
    RegCloseKey(h);
    return ok;
}

void ScriviRegistroDelGioco(const std::string& radice) {
    for (int i = 0; i < 18; ++i) MettiValoreRegistro(radice, "Game", "Key" + std::to_string(i), 300 + i);
    MettiValoreRegistro(radice, "Game", "AutoTarget", 0);
    MettiValoreRegistro(radice, "Game", "ControlMethod", 1);
    MettiValoreRegistro(radice, "Game", "MusicVolume", 55);
    MettiValoreRegistro(radice, "Game", "SFXVolume", 0xFFFFFFFF);  // -1 as the game writes a signed i16
    MettiValoreRegistro(radice, "Game", "SoundQuality", 2);
    MettiValoreRegistro(radice, "Game", "WindowX", static_cast<DWORD>(-37));
    MettiValoreRegistro(radice, "Game", "WindowY", 70000);
    int n = 0;
    for (const char* nome : {"BumpLow", "BumpMap", "D3D", "DD", "DisableSound", "DS", "Filter", "HardWare", "NoFMV",
                             "Setup", "TextLow", "TFormat", "VMode", "Volumetric", "Window"})
        MettiValoreRegistro(radice, "System", nome, static_cast<DWORD>(++n % 3 == 0 ? 200 : n % 2));
}

ChiaveGiocoSalvata::ChiaveGiocoSalvata() {
    HKEY h = nullptr;
    esisteva_ = RegOpenKeyExA(HKEY_CURRENT_USER, ChiaveGiocoRegistro, 0, KEY_READ, &h) == ERROR_SUCCESS;
    if (h) RegCloseKey(h);
    valori_ = FotografiaRegistro(ChiaveGiocoRegistro);
    CancellaAlberoRegistro(HKEY_CURRENT_USER, ChiaveGiocoRegistro);
}

ChiaveGiocoSalvata::~ChiaveGiocoSalvata() {
    CancellaAlberoRegistro(HKEY_CURRENT_USER, ChiaveGiocoRegistro);
    if (esisteva_) RipristinaFotografiaRegistro(ChiaveGiocoRegistro, valori_);
}
