#pragma once
// VideoCodec.bin in a store folder of the test's own: its records laid by
// hand, and a fixture that keeps the log's plain lines and an empty table.
#include <gtest/gtest.h>

#include <string>

#include "core/SharedState.h"
#include "media/VideoCodecs.h"
#include "platform/Clock.h"
#include "tests/core/HandBytes.h"
#include "tests/core/LogLines.h"
#include "tests/support/TestFolders.h"

namespace mano {

// One record: the name space-padded to 80 bytes, then its state.
inline std::string RecordCodec(const std::string& nome, int32_t stato) {
    return nome + std::string(80 - nome.size(), ' ') + I32(stato);
}

}  // namespace mano

class TabellaCodec : public ConRigheLogTenute {
protected:
    explicit TabellaCodec(const char* nomeCartella) : cartella{nomeCartella} {}
    void SetUp() override {
        ConRigheLogTenute::SetUp();
        PercorsoStore = cartella.Percorso();
        ElencoVideoCodec.clear();
    }
    void TearDown() override {
        PercorsoStore = storePrima_;
        ElencoVideoCodec.clear();
        ConRigheLogTenute::TearDown();
    }
    std::string Bin() const { return cartella / "VideoCodec.bin"; }
    CartellaProva cartella;

private:
    std::string storePrima_ = PercorsoStore;
};
