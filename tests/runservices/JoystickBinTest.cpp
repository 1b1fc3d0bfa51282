// joystick.bin: the rest range and port, 20 bytes of little-endian fields.
#include <gtest/gtest.h>

#include <string>

#include "runservices/JoystickBin.h"

namespace {

std::string I32(int32_t v) {
    const uint32_t u = static_cast<uint32_t>(v);
    return {static_cast<char>(u & 0xFF), static_cast<char>((u >> 8) & 0xFF), static_cast<char>((u >> 16) & 0xFF),
            static_cast<char>(u >> 24)};
}

TEST(FileJoystick, FieldsInTheirPlacesBothWays) {
    const std::string aMano = I32(31000) + I32(-200000) + I32(34500) + I32(65535) + I32(1);
    JoystickBin letto;
    std::string motivo;
    ASSERT_TRUE(JoystickBinDaBytes(aMano, letto, motivo));
    EXPECT_EQ(letto.XMin, 31000);
    EXPECT_EQ(letto.YMin, -200000);
    EXPECT_EQ(letto.XMax, 34500);
    EXPECT_EQ(letto.YMax, 65535);
    EXPECT_EQ(letto.Porta, 1);
    EXPECT_EQ(BytesJoystickBin(letto), aMano);
    // No joystick: zeros and -1.
    EXPECT_EQ(BytesJoystickBin(JoystickBin{}), std::string(16, '\0') + std::string(4, '\xFF'));
}

TEST(FileJoystick, WrongSizeOrPortLeavesTheRecordAlone) {
    const std::string buono = I32(1) + I32(2) + I32(3) + I32(4) + I32(0);
    const std::pair<std::string, const char*> casi[] = {
        {"", "joystick.bin holds 0 bytes instead of 20"},
        {buono.substr(0, 19), "joystick.bin holds 19 bytes instead of 20"},
        {buono + "x", "joystick.bin holds 21 bytes instead of 20"},
        {buono.substr(0, 16) + I32(2), "joystick.bin names game port 2"},
        {buono.substr(0, 16) + I32(-2), "joystick.bin names game port -2"},
    };
    for (const auto& [bytes, atteso] : casi) {
        JoystickBin letto{9, 9, 9, 9, 9};
        std::string motivo;
        EXPECT_FALSE(JoystickBinDaBytes(bytes, letto, motivo));
        EXPECT_EQ(motivo, atteso);
        EXPECT_EQ(BytesJoystickBin(letto), I32(9) + I32(9) + I32(9) + I32(9) + I32(9));
    }
}

}  // namespace
