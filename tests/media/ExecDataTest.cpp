// trdata.bin as the program an exec media starts reads it, compared with
// bytes laid out by hand.
#include <gtest/gtest.h>

#include <string>

#include "media/ExecData.h"
#include "tests/core/LogLines.h"

namespace {

class DatiExec : public ConRigheLog {};

std::string Le32(uint32_t v) {
    return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF), static_cast<char>((v >> 16) & 0xFF),
            static_cast<char>(v >> 24)};
}

TEST_F(DatiExec, RecordLaidOutByHand) {
    const TrData dati{0x11223344, 0x55667788, 0x000A0B0C, 1234, 0xFEDCBA98, 999, "C:\\PROGRA~1\\TRLE\\tomb4.exe"};
    std::string bytes;
    ASSERT_TRUE(ComponiTrData(dati, bytes));
    std::string atteso("\x44\x33\x22\x11\x88\x77\x66\x55\x0C\x0B\x0A\x00\xD2\x04\x00\x00\x98\xBA\xDC\xFE\xE7\x03\x00\x00",
                       24);
    atteso += "C:\\PROGRA~1\\TRLE\\tomb4.exe";
    atteso += '\0';
    atteso += std::string(280 - atteso.size(), ' ');
    EXPECT_EQ(bytes, atteso);
    NessunErrore();
}

TEST_F(DatiExec, PathFillsItsFieldOrIsRefused) {
    struct Caso {
        size_t lunghezza;
        bool esito;
    };
    for (const Caso c : {Caso{0, true}, Caso{254, true}, Caso{255, true}, Caso{256, false}, Caso{300, false}}) {
        SCOPED_TRACE(c.lunghezza);
        BufferLog.clear();
        NumErroriLog = 0;
        TrData dati;
        dati.TriggerCd = -1;
        dati.Eseguibile = std::string(c.lunghezza, 'a');
        std::string bytes = "stale";
        EXPECT_EQ(ComponiTrData(dati, bytes), c.esito);
        if (!c.esito) {
            EXPECT_EQ(bytes, "");
            UnErrore("ERROR: path of game too long for trdata.bin (" + std::to_string(c.lunghezza) +
                     " characters): " + dati.Eseguibile);
            continue;
        }
        ASSERT_EQ(bytes.size(), 280u);
        EXPECT_EQ(bytes.substr(20, 4), Le32(0xFFFFFFFF));
        EXPECT_EQ(bytes.substr(24, c.lunghezza), dati.Eseguibile);
        EXPECT_EQ(bytes[24 + c.lunghezza], '\0');
        EXPECT_EQ(bytes.substr(25 + c.lunghezza), std::string(255 - c.lunghezza, ' '));
        NessunErrore();
    }
}

}  // namespace
