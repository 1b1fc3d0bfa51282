// The game's video mode chosen from fixture video lists, and from the list
// Vistrelo writes on this machine.
#include <windows.h>

#include <string>
#include <vector>

#include "core/MediaConfig.h"
#include "core/SystemUtils.h"
#include "runservices/TombSettings.h"
#include "runservices/VideoList.h"
#include "tests/gamerun/RunFixture.h"

namespace {

std::string I32(uint32_t v) {
    return {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char((v >> 24) & 0xFF)};
}

struct Lista {
    int dd, d3d, hw;
    std::vector<VideoMode> modi;
};

// Laid out by hand from the byte layout, not by the program's writer.
std::string Fixture(const std::vector<Lista>& liste) {
    std::string s = I32(static_cast<uint32_t>(liste.size()));
    for (const Lista& l : liste) {
        s += I32(l.dd) + I32(l.d3d) + I32(l.hw) + I32(static_cast<uint32_t>(l.modi.size()));
        for (const VideoMode& m : l.modi) s += I32(m.Width) + I32(m.Height) + I32(m.Bits);
    }
    return s;
}

const std::vector<Lista> Macchina = {
    {0, 0, 0, {{640, 480, 16}}},                                  // software
    {0, 1, 1, {}},                                                // hardware, no mode
    {0, 2, 1, {{800, 600, 32}, {1024, 768, 16}, {640, 480, 32}}},  // first usable hardware
    {1, 0, 1, {{1280, 1024, 32}}},                                // second driver
};

class VideoListRun : public ProvaRun {
protected:
    void SetUp() override {
        ProvaRun::SetUp();
        ImpostazioniTombCorrenti = ImpostazioniTomb{};
        ListaModiVideo.clear();
        NumModiVideo = 0;
    }
    void Lista(const std::string& dati) { ASSERT_TRUE(ScriviFileProva(store / "videolist.bin", dati)); }
    void Impostazioni(int dd, int d3d, int hw) {
        ImpostazioniTombCorrenti.DD = static_cast<uint8_t>(dd);
        ImpostazioniTombCorrenti.D3D = static_cast<uint8_t>(d3d);
        ImpostazioniTombCorrenti.HardWare = static_cast<uint8_t>(hw);
    }
};

struct CasoScelta {
    const char* nome;
    int dd, d3d, hw;           // the game's settings
    int ddScelto, d3dScelto;   // the list taken
    int hwScelto;
    int32_t larghezzaPrimo;
};

TEST_F(VideoListRun, ChoosesTheGamesDeviceOrTheFirstHardwareOne) {
    const CasoScelta casi[] = {
        {"software setting switches to hardware", 0, 0, 0, 0, 2, 1, 800},
        {"the game's hardware device", 1, 0, 1, 1, 0, 1, 1280},
        {"the chosen device has no mode", 0, 1, 1, 0, 2, 1, 800},
        {"unknown device", 3, 7, 1, 0, 2, 1, 800},
    };
    for (const CasoScelta& c : casi) {
        Lista(Fixture(Macchina));
        Impostazioni(c.dd, c.d3d, c.hw);
        ASSERT_TRUE(EnumerateVideoMode()) << c.nome;
        EXPECT_EQ(ImpostazioniTombCorrenti.DD, c.ddScelto) << c.nome;
        EXPECT_EQ(ImpostazioniTombCorrenti.D3D, c.d3dScelto) << c.nome;
        EXPECT_EQ(ImpostazioniTombCorrenti.HardWare, c.hwScelto) << c.nome;
        ASSERT_GT(NumModiVideo, 0) << c.nome;
        EXPECT_EQ(ListaModiVideo[0].Width, c.larghezzaPrimo) << c.nome;
        EXPECT_EQ(static_cast<int32_t>(ListaModiVideo.size()), NumModiVideo) << c.nome;
    }
}

TEST_F(VideoListRun, SoftwareOnlyMachine) {
    Lista(Fixture({{0, 0, 0, {{640, 480, 16}, {800, 600, 16}}}}));
    Impostazioni(0, 0, 0);
    ASSERT_TRUE(EnumerateVideoMode());
    EXPECT_EQ(NumModiVideo, 2);
    EXPECT_EQ(ImpostazioniTombCorrenti.HardWare, 0);

    Impostazioni(0, 1, 1);
    EXPECT_FALSE(EnumerateVideoMode());
    EXPECT_TRUE(HaRiga("WARNING: not found any video list with settings: DD=0  D3D=1   Hardware=1"));
    EXPECT_TRUE(HaRiga("ERROR: in EnumerateVideoMode() not found correct hardware video list"));
    EXPECT_EQ(NumModiVideo, 0);
}

TEST_F(VideoListRun, DamagedOrEmptyListsAreDroppedForTheNextRun) {
    const std::string buono = Fixture(Macchina);
    struct Caso {
        const char* nome;
        std::string dati;
        const char* riga;
    };
    const Caso casi[] = {
        {"cut in a mode", buono.substr(0, buono.size() - 5), "ERROR: damaged video list file "},
        {"absurd list count", I32(0x40000000) + buono.substr(4), "ERROR: damaged video list file "},
        {"absurd mode count", I32(1) + I32(0) + I32(0) + I32(1) + I32(0x7FFFFFFF), "ERROR: damaged video list file "},
        {"too short", "\x02", "ERROR: damaged video list file "},
        {"no list", I32(0), "WARNING: video list file "},
        {"no mode", Fixture({{0, 0, 1, {}}, {0, 1, 0, {}}}), "WARNING: video list file "},
    };
    for (const Caso& c : casi) {
        AzzeraLog();
        Lista(c.dati);
        Impostazioni(0, 0, 1);
        EXPECT_FALSE(EnumerateVideoMode()) << c.nome;
        EXPECT_EQ(NumModiVideo, 0) << c.nome;
        EXPECT_TRUE(HaRigaCheInizia(c.riga)) << c.nome;
        EXPECT_FALSE(EsisteFileProva(store / "videolist.bin")) << c.nome;
    }
}

TEST_F(VideoListRun, WithoutListAndEnumeratorThereIsNoChoice) {
    EXPECT_FALSE(EnumerateVideoMode());
    EXPECT_TRUE(HaRiga("ERROR: not found file: Vistrelo.exe"));
    EXPECT_TRUE(HaRiga("ERROR: in EnumerateVideoMode() not found correct hardware video list"));
}

TEST_F(VideoListRun, VistreloWritesTheListWhenMissing) {
    ASSERT_TRUE(CopyFileA((CartellaProgrammi() + "\\Vistrelo.exe").c_str(), (store / "Vistrelo.exe").c_str(), FALSE));
    Impostazioni(0, 0, 0);
    ASSERT_TRUE(EnumerateVideoMode()) << BufferLog;
    EXPECT_TRUE(HaRiga("Missing file: " + store / "videolist.bin" + " Perform " + store / "Vistrelo.exe"));
    EXPECT_TRUE(EsisteFileProva(store / "VideoList.bin"));
    EXPECT_GT(NumModiVideo, 0);
}

TEST_F(VideoListRun, AnEnumeratorThatWritesNoListIsReported) {
    // The monitor stand-in ends at once and writes no list.
    ASSERT_TRUE(CopyFileA((CartellaProgrammi() + "\\wizmo.exe").c_str(), (store / "Vistrelo.exe").c_str(), FALSE));
    ASSERT_TRUE(ScriviFileProva(store / "Log_VideoEnum.txt", "Error calling DirectDrawEnumerate\r\n"));
    EXPECT_FALSE(EnumerateVideoMode());
    EXPECT_TRUE(HaRiga("ERROR: calling " + store / "Vistrelo.exe" + "  Not found tomb video list file in: " +
                       store / "VideoList.bin"));
    EXPECT_TRUE(HaRiga("Log of Vistrelo.exe:"));
    EXPECT_TRUE(HaRiga("Error calling DirectDrawEnumerate"));
}

struct CasoRisoluzione {
    int32_t codice;
    int vmode;
    bool esplicita;
    int32_t larghezza, altezza;
};

TEST_F(VideoListRun, RequiredResolution) {
    ListaModiVideo = {{800, 600, 32}, {1024, 768, 16}};
    NumModiVideo = 2;
    LarghezzaRichiesta = 1152;
    AltezzaRichiesta = 864;
    const CasoRisoluzione casi[] = {
        {3, 0, false, 1024, 768}, {1, 0, false, 640, 480},  {2, 0, false, 800, 600},
        {0, 1, false, 1024, 768}, {0, 0, false, 800, 600},  {0, 2, false, -1, -1},
        {0, 255, false, -1, -1},  {0, 2, true, 1152, 864},  {5, 0, false, -1, -1},
        {3, 0, true, 1024, 768},
    };
    for (const CasoRisoluzione& c : casi) {
        HeaderMcf.VideoMode = c.codice;
        ImpostazioniTombCorrenti.VMode = static_cast<uint8_t>(c.vmode);
        StatoGioco = c.esplicita ? RisoluzioneEsplicita : 0;
        AzzeraLog();
        int32_t w = 0, h = 0;
        EXPECT_EQ(RequiredResolution(w, h), c.larghezza != -1) << c.codice << "/" << c.vmode;
        EXPECT_EQ(w, c.larghezza) << c.codice << "/" << c.vmode;
        EXPECT_EQ(h, c.altezza) << c.codice << "/" << c.vmode;
        EXPECT_TRUE(HaRiga("Required resolution: " + std::to_string(w) + "x" + std::to_string(h)));
    }
}

TEST_F(VideoListRun, AFarDisplaySizeDropsTheStoredList) {
    TombSchermoX = 1024;
    TombSchermoY = 768;
    Lista(Fixture(Macchina));
    VerificaDifferenzaVideo(1024, 700);
    EXPECT_TRUE(EsisteFileProva(store / "videolist.bin"));
    EXPECT_FALSE(HaRigaCheInizia("WARNING: current video mode"));
    VerificaDifferenzaVideo(800, 600);
    EXPECT_FALSE(EsisteFileProva(store / "videolist.bin"));
    const std::string sep(1, SeparatoreDecimale());
    EXPECT_TRUE(HaRiga("WARNING: current video mode is too different than foreseen values: DifX=21" + sep +
                       "875%  DifY=21" + sep + "875%"));
    EXPECT_TRUE(HaRiga("Deleted previous video list file: " + store / "videolist.bin"));
}

TEST_F(VideoListRun, LogTexts) {
    ListaModiVideo = {{640, 480, 16}, {1024, 768, 32}};
    NumModiVideo = 2;
    EXPECT_EQ(LogVideoList(ListaModiVideo, NumModiVideo),
              "Video Mode List\r\n-------------------------\r\n"
              "  0:   640 x  480 Bits=16\r\n"
              "  1:  1024 x  768 Bits=32\r\n"
              "-------------------------\r\n");
    EXPECT_EQ(LogVideoList(ListaModiVideo, 5), LogVideoList(ListaModiVideo, 2));
    EXPECT_EQ(TestoModoVideo(1), "1024 x 768 Bits=32");
    EXPECT_EQ(TestoModoVideo(2), " ");
    EXPECT_EQ(TestoModoVideo(-1), " ");
    ImpostazioniTomb imp;
    imp.DD = 1;
    imp.D3D = 2;
    imp.ControlMethod = 1;
    imp.BumpMap = 1;
    imp.VMode = 1;
    imp.Window = 1;
    EXPECT_EQ(LogImpostazioniVideo(imp),
              "Current Graph Device  : 1\r\n"
              "Current Graph Driver  : 2\r\n"
              "Hardware accelleration: Enabled\r\n"
              "Default Control Method: JoyStick\r\n"
              "Volumetric Effects    : Disabled\r\n"
              "Bump Mapping Texture  : Enabled\r\n"
              "Current Resolution ...: 1024 x 768 Bits=32 Shared  VMode=1\r\n");
    EXPECT_FLOAT_EQ(CalcolaRatioForRect({0, 0, 1024, 768}), 1024.0f / 768.0f);
    EXPECT_EQ(CalcolaRatioForRect({10, 5, 20, 5}), 0.0f);
}

}  // namespace
