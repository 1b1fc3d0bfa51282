#pragma once
// A game folder of its own with Ludovane.exe in it, the program run to its
// end and its log read back.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/LogText.h"
#include "tests/support/TestFolders.h"
#include "tests/support/TestProcesses.h"

class CartellaLudovane : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CopyFileA((CartellaProgrammi() + "\\Ludovane.exe").c_str(), Exe().c_str(), FALSE));
    }
    std::string Exe() const { return trle / "Ludovane.exe"; }
    std::string Log() const { return LeggiFileProva(trle / "store\\media_log.txt"); }
    std::vector<std::string> Righe() const { return TestiRigheLog(Log()); }
    bool HaRiga(const std::string& testo) const {
        for (const std::string& r : Righe())
            if (r == testo) return true;
        return false;
    }

    // Runs the program to its end, answering <boxes> message boxes with OK.
    std::vector<BoxRegistrato> Esegui(const std::string& argomenti, int boxes) {
        ProcessoProva p;
        EXPECT_TRUE(AvviaProva(p, Exe(), argomenti, trle.Percorso()));
        if (boxes == 0) {
            EXPECT_EQ(p.Attendi(40000), 0);
            return {};
        }
        Osservatore osservatore(trle.Percorso(), "OK", boxes, p.pid, 30000);
        const auto registrati = osservatore.Boxes();
        EXPECT_EQ(p.Attendi(40000), 0);
        return registrati;
    }

    CartellaProva trle{"trle"};
};
