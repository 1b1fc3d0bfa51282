#pragma once
// A game folder of savegame slot files under a temporary folder, with the
// run's state a savegame test needs: a running game (so that error lines
// raise no message box), the log on in the buffer, the manual clock.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/SharedState.h"
#include "platform/Clock.h"
#include "savegames/SavegameBackup.h"
#include "savegames/SavegameCache.h"
#include "tests/core/LogLines.h"
#include "tests/savegames/SavegameBytes.h"
#include "tests/support/TestFolders.h"

class CartellaSavegame : public ConRigheLog {
protected:
    void SetUp() override {
        ConRigheLog::SetUp();
        ClockUseManual(true, 100000);
        LogAbilitato = true;
        CartellaTrle = " " + trle.Percorso() + " ";
        FuoriGioco = false;
        NumLivelli = 5;
        StatoSequenza = 0;
        StatoGioco = 0;
        CacheSavegame = SavegameCache{};
        CacheSavegame.LastUpdateTick = 100000 - 5000;
        SavegameCacheBackup = SavegameCache{};
        AggiornaCacheRichiesto = true;
    }
    void TearDown() override {
        LogAbilitato = false;
        FuoriGioco = true;
        CartellaTrle.clear();
        NumLivelli = 0;
        StatoSequenza = 0;
        StatoGioco = 0;
        CacheSavegame = SavegameCache{};
        SavegameCacheBackup = SavegameCache{};
        ClockUseManual(false);
        ConRigheLog::TearDown();
    }
    std::string Slot(int n) const { return trle / ("savegame." + std::to_string(n)); }
    std::string Old(int n) const { return trle / ("Old_Savegames\\savegame." + std::to_string(n)); }
    void Metti(int n, const std::string& dati) { ASSERT_TRUE(ScriviFileProva(Slot(n), dati)); }
    std::string Leggi(int n) const { return LeggiFileProva(Slot(n)); }
    // A savegame of the game for slot n.
    static std::string Gioco(int numero, int livello = 1) {
        return mano::SavegameGioco("Level " + std::to_string(numero), numero, livello, 100 + numero);
    }
    static bool Contiene(const std::vector<std::string>& righe, const std::string& riga) {
        for (const std::string& r : righe)
            if (r == riga) return true;
        return false;
    }
    CartellaProva trle;
};
