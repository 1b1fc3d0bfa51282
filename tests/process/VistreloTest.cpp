// Vistrelo.exe run for real: whatever modes this machine offers, the list
// file and the log must agree with each other and with the layout.
#include <gtest/gtest.h>

#include <windows.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/support/TestFolders.h"
#include "tests/support/TestProcesses.h"

namespace {

std::vector<std::string> Righe(const std::string& s) {
    std::vector<std::string> righe;
    size_t i = 0;
    while (i < s.size()) {
        size_t fine = s.find("\r\n", i);
        EXPECT_NE(fine, std::string::npos) << "every line ends with CR LF";
        if (fine == std::string::npos) fine = s.size();
        righe.push_back(s.substr(i, fine - i));
        i = fine + 2;
    }
    return righe;
}

int32_t I32(const std::string& s, size_t pos) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[pos + i]);
    return static_cast<int32_t>(v);
}

bool RenderFlagEsiste(int bits) {
    for (int b : {1, 2, 4, 8, 16, 24, 32})
        if (b == bits) return true;
    return false;
}

TEST(Vistrelo, WritesTheVideoListAndItsLog) {
    CartellaProva cartella("vis");
    ASSERT_TRUE(CopyFileA((CartellaProgrammi() + "\\Vistrelo.exe").c_str(), (cartella / "Vistrelo.exe").c_str(),
                          FALSE));
    // Older copies go first.
    ASSERT_TRUE(ScriviFileProva(cartella / "VideoList.bin", std::string(1000, 'x')));
    ASSERT_TRUE(ScriviFileProva(cartella / "Log_VideoEnum.txt", "old line\r\n"));
    ProcessoProva p;
    ASSERT_TRUE(AvviaProva(p, cartella / "Vistrelo.exe", "", cartella.Percorso()));
    ASSERT_EQ(p.Attendi(60000), 0);

    const std::vector<std::string> log = Righe(LeggiFileProva(cartella / "Log_VideoEnum.txt"));
    const std::string lista = LeggiFileProva(cartella / "VideoList.bin");
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "DirectDrawEnumerate");
    ASSERT_GE(lista.size(), 4u);
    const int32_t numeroListe = I32(lista, 0);
    EXPECT_EQ(log.back(), "Enumeration is complete. Found " + std::to_string(numeroListe) + " video lists");
    ASSERT_GE(numeroListe, 1) << "Wine on Xvfb offers at least one Direct3D device";

    // Walk the file and the log together: each device's line, then one log
    // line per mode written.
    size_t pos = 4;
    size_t riga = 0;
    int driverAtteso = -1;
    int deviceAtteso = 0;
    int modiTotali = 0;
    for (int32_t l = 0; l < numeroListe; ++l) {
        ASSERT_LE(pos + 16, lista.size());
        const int32_t dd = I32(lista, pos), d3d = I32(lista, pos + 4), hw = I32(lista, pos + 8),
                      n = I32(lista, pos + 12);
        pos += 16;
        while (riga < log.size() && log[riga].rfind("CallBack_Direct3dEnum()  Driver: ", 0) != 0) {
            if (log[riga].rfind("CallBackDDEnumerate() - Found Driver:", 0) == 0) {
                ++driverAtteso;
                deviceAtteso = 0;
            }
            ++riga;
        }
        ASSERT_LT(riga, log.size());
        EXPECT_EQ(dd, driverAtteso);
        EXPECT_EQ(d3d, deviceAtteso++);
        EXPECT_TRUE(hw == 0 || hw == 1);
        const std::string& intestazione = log[riga++];
        const std::string coda = "  TestHardware " + std::to_string(hw);
        ASSERT_GT(intestazione.size(), coda.size());
        EXPECT_EQ(intestazione.substr(intestazione.size() - coda.size()), coda);
        ASSERT_GE(n, 0);
        ASSERT_LE(pos + 12 * static_cast<size_t>(n), lista.size());
        for (int32_t m = 0; m < n; ++m, pos += 12) {
            const int32_t w = I32(lista, pos), h = I32(lista, pos + 4), b = I32(lista, pos + 8);
            EXPECT_TRUE(RenderFlagEsiste(b)) << b;
            ASSERT_LT(riga, log.size());
            std::ostringstream atteso;
            atteso << w << " x " << h << " - " << b;
            EXPECT_EQ(log[riga++], atteso.str());
        }
        modiTotali += n;
    }
    EXPECT_EQ(pos, lista.size()) << "nothing after the last list";
    EXPECT_GT(modiTotali, 0);
    for (const char* passo : {"Create DirectDraw object", "Create iDirectDraw4 object", "Release DirectDraw object",
                              "EnumDisplayModes()", "Create iDirect3d3 object", "Release iDirectDraw4",
                              "Release Direct3d3"}) {
        bool trovato = false;
        for (const std::string& r : log) trovato = trovato || r == passo;
        EXPECT_TRUE(trovato) << passo;
    }
    for (const std::string& r : log) EXPECT_NE(r, "old line");
}

}  // namespace
