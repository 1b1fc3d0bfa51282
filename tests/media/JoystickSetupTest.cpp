// The joystick's set-up: joystick.bin read when present, else the stick
// looked for on ids 0 and 1 and calibrated at rest, on the test clock.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/MediaLog.h"
#include "core/SharedState.h"
#include "core/SystemUtils.h"
#include "media/Joystick.h"
#include "runservices/GameControls.h"
#include "platform/Clock.h"
#include "runservices/JoystickBin.h"
#include "tests/support/LogSoFar.h"
#include "tests/support/LogText.h"
#include "tests/support/ScriptedJoystick.h"
#include "tests/support/TestFolders.h"

namespace {

std::string I32(int32_t v) {
    const uint32_t u = static_cast<uint32_t>(v);
    return {static_cast<char>(u & 0xFF), static_cast<char>((u >> 8) & 0xFF), static_cast<char>((u >> 16) & 0xFF),
            static_cast<char>(u >> 24)};
}

class ImpostaJoystick : public testing::Test {
protected:
    void SetUp() override {
        DatiJoystick = JoystickBin{};
        PortaJoystickAttiva = NessunJoystick;
        ImpostaBit(StatoGioco, ModoTester);
    }
    void TearDown() override {
        TogliBit(StatoGioco, ModoTester);
        DatiJoystick = JoystickBin{};
        PortaJoystickAttiva = NessunJoystick;
    }
    static std::vector<std::string> Righe() { return TestiRigheLog(BufferLog); }
    static bool HaRiga(const std::string& testo) { return VolteRigaLog(testo) > 0; }
    std::string File() const { return log.Store() / "joystick.bin"; }
    LogDiProva log;
    JoystickFinto stick;
};

TEST_F(ImpostaJoystick, AFileIsReadAndNeverRewritten) {
    stick.Muovi(0, 1, 1);
    const std::string conPorta = I32(100) + I32(150) + I32(200) + I32(250) + I32(1);
    ASSERT_TRUE(ScriviFileProva(File(), conPorta));
    EXPECT_TRUE(InitJoystick());
    EXPECT_EQ(PortaJoystickAttiva, 1);
    EXPECT_EQ(BytesJoystickBin(DatiJoystick), conPorta);
    EXPECT_TRUE(HaRiga("Found 'joystick.bin' file: use settings in this file"));
    EXPECT_TRUE(HaRiga("Joystick game port: 2"));
    EXPECT_TRUE(HaRiga("Rest position X axis: 100 / 200"));
    EXPECT_TRUE(HaRiga("Rest position Y axis: 150 / 250"));

    // Port -1: no joystick, without a new calibration.
    BufferLog.clear();
    const std::string senza = I32(0) + I32(0) + I32(0) + I32(0) + I32(-1);
    ASSERT_TRUE(ScriviFileProva(File(), senza));
    EXPECT_TRUE(InitJoystick());
    EXPECT_EQ(PortaJoystickAttiva, NessunJoystick);
    EXPECT_TRUE(HaRiga("Missing joystick: disable it"));
    EXPECT_EQ(stick.Letture(), 0);
    EXPECT_EQ(LeggiFileProva(File()), senza);
    EXPECT_EQ(NumErroriLog, 0);
}

TEST_F(ImpostaJoystick, AFaultyFileIsAnErrorAndNoJoystick) {
    for (const std::string& dati : {std::string(19, '\0'), I32(0) + I32(0) + I32(0) + I32(0) + I32(5)}) {
        ASSERT_TRUE(ScriviFileProva(File(), dati));
        PortaJoystickAttiva = 0;
        NumErroriLog = 0;
        EXPECT_FALSE(InitJoystick());
        EXPECT_EQ(PortaJoystickAttiva, NessunJoystick);
        EXPECT_EQ(NumErroriLog, 1);
        EXPECT_EQ(LeggiFileProva(File()), dati);
    }
    EXPECT_TRUE(HaRiga("ERROR in InitJoystick() : joystick.bin holds 19 bytes instead of 20"));
    EXPECT_TRUE(HaRiga("ERROR in InitJoystick() : joystick.bin names game port 5"));
}

TEST_F(ImpostaJoystick, NoStickWritesNoJoystickAndTheNextRunReadsIt) {
    EXPECT_FALSE(InitJoystick());
    EXPECT_EQ(stick.Letture(), 2);
    EXPECT_EQ(PortaJoystickAttiva, NessunJoystick);
    EXPECT_EQ(LeggiFileProva(File()), std::string(16, '\0') + "\xFF\xFF\xFF\xFF");
    EXPECT_TRUE(HaRiga("Found no joystick in this computer"));
    EXPECT_TRUE(HaRiga("Create file: " + File()));
    stick.AzzeraLetture();
    EXPECT_TRUE(InitJoystick());
    EXPECT_EQ(stick.Letture(), 0);
    EXPECT_EQ(PortaJoystickAttiva, NessunJoystick);
}

// The stick on id 1 wanders a little at rest.
uint32_t Campioni = 0;
bool StickTremante(uint32_t id, PosizioneJoystick& p) {
    if (id != 1) return false;
    ++Campioni;
    p.X = 32000 + (Campioni % 3) * 100;
    p.Y = 31000 - (Campioni % 4) * 50;
    return true;
}

TEST_F(ImpostaJoystick, ACalibrationOfThreeSecondsKeepsTheRestRange) {
    InterrogaJoystick = StickTremante;
    Campioni = 0;
    const uint32_t inizio = ClockTick();
    EXPECT_TRUE(InitJoystick());
    EXPECT_GE(ClockTick() - inizio, 3000u);
    EXPECT_LT(ClockTick() - inizio, 3200u);
    // The detection, then one sample every 100 ms.
    EXPECT_GE(Campioni, 30u);
    EXPECT_LE(Campioni, 32u);
    const JoystickBin atteso{32000, 30850, 32200, 31000, 1};
    EXPECT_EQ(BytesJoystickBin(DatiJoystick), BytesJoystickBin(atteso));
    EXPECT_EQ(PortaJoystickAttiva, 1);
    EXPECT_EQ(LeggiFileProva(File()), I32(32000) + I32(30850) + I32(32200) + I32(31000) + I32(1));
    EXPECT_TRUE(HaRiga("Detected joystick in game port #2"));
    EXPECT_TRUE(HaRiga("Joystick autocalibration is complete"));
    EXPECT_TRUE(HaRiga("X_Pos=32100  Y_Pos=30950"));
    EXPECT_FALSE(AvvisoAperto());
    EXPECT_EQ(NumErroriLog, 0);
}

// The stick on id 0 answers its detection, then no more.
uint32_t Letture = 0;
bool StickCheSiStacca(uint32_t id, PosizioneJoystick& p) {
    if (id != 0 || ++Letture > 1) return false;
    p.X = p.Y = 32000;
    return true;
}

TEST_F(ImpostaJoystick, AStickNeverReadAtRestIsNoJoystick) {
    InterrogaJoystick = StickCheSiStacca;
    Letture = 0;
    EXPECT_FALSE(InitJoystick());
    EXPECT_GE(Letture, 30u) << "calibrated for the whole time";
    EXPECT_EQ(PortaJoystickAttiva, NessunJoystick);
    EXPECT_EQ(LeggiFileProva(File()), std::string(16, '\0') + "\xFF\xFF\xFF\xFF");
    EXPECT_TRUE(HaRiga("Detected joystick in game port #1"));
    EXPECT_TRUE(HaRiga("WARNING: joystick not readable during auto-calibration: disable it"));
    for (const std::string& riga : Righe()) EXPECT_EQ(riga.rfind("Rest position", 0), std::string::npos) << riga;

    // The game played with it: the stick, back and centred, is no push.
    const uint8_t metodo = ImpostazioniTombCorrenti.ControlMethod;
    ImpostazioniTombCorrenti.ControlMethod = 1;
    JoystickFinto centrato;
    centrato.Muovi(0, 32000, 32000);
    EXPECT_FALSE(LeggiMovimentoJoystick());
    EXPECT_EQ(LeggiDirezioniGioco(), 0);
    ImpostazioniTombCorrenti.ControlMethod = metodo;
}

}  // namespace
