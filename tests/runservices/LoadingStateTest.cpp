// The record of a level being loaded.
#include <gtest/gtest.h>

#include "runservices/LoadingState.h"
#include "runservices/RunState.h"

namespace {

TEST(LivelloCaricato, LevelLoadingRecordsTheLevel) {
    LivelloCorrente = 3;
    LivelloPrecedente = 2;
    CdCorrente = 7;
    TastoAzioneCorrente = 1;
    LivelloInCaricamento(0);
    EXPECT_EQ(LivelloCorrente, 0);
    EXPECT_EQ(LivelloPrecedente, 2);
    EXPECT_EQ(CdCorrente, -1);
    EXPECT_EQ(TastoAzioneCorrente, 0);
    CdCorrente = 4;
    LivelloInCaricamento(0);
    EXPECT_EQ(CdCorrente, -1);
    LivelloInCaricamento(5);
    EXPECT_EQ(LivelloPrecedente, 5);
}

}  // namespace
