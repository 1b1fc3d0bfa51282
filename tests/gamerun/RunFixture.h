#pragma once
// A run's surroundings for unit tests: a store folder of its own, the log
// kept in memory (manual clock: it is never flushed), no message boxes.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/MediaConfig.h"
#include "core/MediaLog.h"
#include "runservices/DisplayModes.h"
#include "runservices/RunState.h"
#include "patcher/PatchFiles.h"
#include "platform/Clock.h"
#include "savegames/SavegameBackup.h"
#include "tests/support/TestFolders.h"
#include "tests/support/LogText.h"

class ProvaRun : public testing::Test {
protected:
    void SetUp() override {
        ClockUseManual(true, 1000);
        AzzeraStatoRun();
        ProcessoGioco.hProcess = reinterpret_cast<void*>(1);
        PercorsoStore = store.Percorso();
        CartellaTrle = store.Percorso();
        // As a run's start does: the configuration lies in the game folder.
        HeaderMcf = MediaConfigHeader{};
        HeaderMcf.CartellaMcf = CartellaTrle;
        // No savegame read for another test's folder is left in the cache.
        CacheSavegame = SavegameCache{};
        SavegameCacheBackup = SavegameCache{};
        AggiornaCacheRichiesto = true;
        LogAbilitato = true;
        InitMediaLog();
        avvisiPatch.clear();
        AvvisoPatch = [](const std::string& testo) { avvisiPatch.push_back(testo); };
    }
    void TearDown() override {
        AvvisoPatch = avvisoPatchDiSistema;
        ProcessoGioco.hProcess = nullptr;
        LogAbilitato = false;
        BufferLog.clear();
        ClockUseManual(false);
    }

    // Forgets the lines logged so far, written or not.
    static void AzzeraLog() {
        BufferLog.clear();
        DeleteFileA(PercorsoFileLog.c_str());
    }
    // The screen globals as the start of a run reads them from the desktop.
    static void SchermoReale() {
        SchermoX = SchermoOrigX = GetSystemMetrics(SM_CXSCREEN);
        SchermoY = SchermoOrigY = GetSystemMetrics(SM_CYSCREEN);
        RiferimentoX = SchermoX * TwipsPerPixel();
        RiferimentoY = SchermoY * TwipsPerPixel();
    }
    // The texts of the log's lines, without stamps and indentation.
    static std::vector<std::string> RigheLog() { return TestiRigheLog(LeggiFileProva(PercorsoFileLog) + BufferLog); }
    static bool HaRiga(const std::string& testo) {
        for (const std::string& r : RigheLog())
            if (r == testo) return true;
        return false;
    }
    static bool HaRigaCheInizia(const std::string& inizio) {
        for (const std::string& r : RigheLog())
            if (r.rfind(inizio, 0) == 0) return true;
        return false;
    }

    // A long-lived process for the game, with its handles in ProcessoGioco:
    // the monitor stand-in keeps running.
    void AvviaGioco() {
        ASSERT_TRUE(CopyFileA((CartellaProgrammi() + "\\wizmo.exe").c_str(), (store / "game.exe").c_str(), FALSE));
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        std::string riga = "game.exe quiet monoff";
        ASSERT_TRUE(CreateProcessA((store / "game.exe").c_str(), riga.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   store.Percorso().c_str(), &si, &pi));
        ProcessoGioco.hProcess = pi.hProcess;
        ProcessoGioco.hThread = pi.hThread;
        ProcessoGioco.dwProcessId = pi.dwProcessId;
        ProcessoGioco.dwThreadId = pi.dwThreadId;
    }

    // The patcher's messages, kept instead of shown.
    static inline std::vector<std::string> avvisiPatch;
    static inline void (*const avvisoPatchDiSistema)(const std::string&) = AvvisoPatch;

    CartellaProva store{"store"};
};

// A window of the shell's task bar class, since Wine's desktop may have none.
class TaskBarFinta {
public:
    TaskBarFinta() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "Shell_TrayWnd";
        RegisterClassA(&wc);
        h = CreateWindowExA(WS_EX_TOOLWINDOW, "Shell_TrayWnd", "", WS_POPUP | WS_VISIBLE, 0, 740, 1024, 28, nullptr,
                            nullptr, wc.hInstance, nullptr);
    }
    ~TaskBarFinta() { DestroyWindow(h); }
    TaskBarFinta(const TaskBarFinta&) = delete;
    TaskBarFinta& operator=(const TaskBarFinta&) = delete;
    HWND h;
};
