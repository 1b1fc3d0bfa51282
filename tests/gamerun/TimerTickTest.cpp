// The main tick's pass: the delay warning, the title track that stops a
// pass, the choice of the triggers of a new track, the working media, the
// logger's close and a run-time error inside a pass.
#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "core/MediaConfig.h"
#include "runservices/GameWindow.h"
#include "gamerun/MediaDispatcher.h"
#include "runservices/RunState.h"
#include "gamerun/TimerTick.h"
#include "media/SwitchMedia.h"
#include "tests/gamerun/GameScript.h"

namespace {

using namespace giocoprova;

class Tick : public ProvaGioco {
protected:
    void SetUp() override {
        ProvaGioco::SetUp();
        AttesaCaricamentoIniziale = false;
        FinestraGioco = nullptr;
        LivelloCorrente = 1;
        LivelloPrecedente = 1;
        CdCorrente = CdPrecedente = -1;
        CdTitoli = 97;
        TickUltimoTimer = 0;
        ImpostaBit(ModificheAvvio, MediaTriggerAttivi);
        ImpostaBit(ModificheAvvio, NoAntiTrigger);
        ListaCdSuoni = {5, 6};
        NumCdSuoni = 2;
        ListaMediaWorking.clear();
        NumMediaWorking = 0;
        Configura({Trigger(99, TriggerCdNessuno, 0, QualsiasiLivello, BitAction)});
    }
    void TearDown() override {
        EsecutoreSwitch = EseguiSwitchMedia;
        ListaCdSuoni.clear();
        NumCdSuoni = 0;
        ListaMediaWorking.clear();
        NumMediaWorking = 0;
        LoggerChiuso = false;
        TimerAbilitato = false;
        ProvaGioco::TearDown();
    }
    // The table as loaded: the records and the spare one.
    static void Configura(std::vector<MediaTrigger> record) {
        HeaderMcf.TriggerCount = static_cast<int32_t>(record.size());
        ListaMedia = std::move(record);
        ListaMedia.push_back(MediaTrigger{});
    }
};

TEST_F(Tick, APassMoreThanASecondAfterThePreviousIsLogged) {
    struct Caso {
        uint32_t passati;
        bool avviso;
    };
    // The first pass has nothing to measure.
    AttesaCaricamentoIniziale = true;
    GestioneTriggerCD();
    EXPECT_FALSE(HaRigaCheInizia("WARNING: too high delay"));
    for (const Caso& caso : {Caso{1000, false}, Caso{1001, true}, Caso{4321, true}}) {
        SCOPED_TRACE(caso.passati);
        ClockAdvance(caso.passati);
        const int prima = ContaRighe("WARNING: too high delay between timer calls: " + std::to_string(caso.passati) +
                                     " m.s.");
        GestioneTriggerCD();
        EXPECT_EQ(ContaRighe("WARNING: too high delay between timer calls: " + std::to_string(caso.passati) + " m.s."),
                  prima + (caso.avviso ? 1 : 0));
        EXPECT_TRUE(TimerAbilitato);
        EXPECT_EQ(TickUltimoTimer, static_cast<int32_t>(ClockTick()));
    }
}

TEST_F(Tick, NoTrackAndNoTitleTrackMakeATitlePass) {
    // Both -1: nothing is chosen, no anti-trigger is looked at.
    CdTitoli = -1;
    TogliBit(ModificheAvvio, NoAntiTrigger);
    MediaTrigger anti = Trigger(1, 5, Disabled | AntiTrigger, QualsiasiLivello, BitAction);
    anti.AntiTriggerCd = 6;
    Configura({anti});
    ListaCdSuoni = {5};
    NumCdSuoni = 1;
    SuonaTraccia(6);
    GestioneTriggerCD();
    EXPECT_TRUE(HaRiga("Title phase"));
    EXPECT_TRUE(HaBit(ListaMedia[0].Options, Disabled));
}

TEST_F(Tick, TheTriggersOfANewTrackAreChosenByTrackLevelAndMarks) {
    Configura({Trigger(10, 5, 0, 1, BitAction), Trigger(11, 5, 0, 2, BitAction),
               Trigger(12, 5, 0, QualsiasiLivello, BitAction), Trigger(13, 5, AlreadyShown, 1, BitAction),
               Trigger(14, 5, Disabled, 1, BitAction), Trigger(15, 6, 0, 1, BitAction),
               Trigger(16, 5, RequiresAction, 1, BitAction), Trigger(17, 5, WhileCdSounds, 1, BitAction),
               Trigger(18, TriggerCdNessuno, 0, 1, BitAction)});
    SuonaTraccia(5);
    GestioneTriggerCD();
    EXPECT_EQ(CdCorrente, 5);
    EXPECT_TRUE(HaRiga("EseguiListMedia() for media codes: 10, 12, 17")) << BufferLog;
    for (int32_t codice : {10, 12, 17}) EXPECT_TRUE(HaRiga("ShowMedia() for media code = " + std::to_string(codice)));
    EXPECT_TRUE(HaBit(OpzioniDi(10), AlreadyShown));
    EXPECT_TRUE(HaBit(OpzioniDi(12), AlreadyShown));
    // Performed while its track sounds, and ready again.
    EXPECT_FALSE(HaBit(OpzioniDi(17), AlreadyShown));
    EXPECT_TRUE(HaRiga("Exit from EseguiListaMedia() with value = True  TestError=False"));

    // The same track in the next pass changes nothing.
    const int prima = ContaRighe("ShowMedia() for media code = 10");
    GestioneTriggerCD();
    EXPECT_EQ(ContaRighe("ShowMedia() for media code = 10"), prima);
}

TEST_F(Tick, WorkingMediaLoseTheirMarkOffTheirTrack) {
    Configura({Trigger(20, 5, Working | WhileCdSounds, QualsiasiLivello, BitKeyboard),
               Trigger(21, 6, Working | Disabled, QualsiasiLivello, BitSensory),
               Trigger(22, 6, Working, QualsiasiLivello, BitKeyboard)});
    ListaMediaWorking = {0, 1, 2};
    NumMediaWorking = 3;
    SuonaTraccia(6);
    GestioneTriggerCD();
    EXPECT_TRUE(HaRiga("Disabled Working flag for media code =20 (Active mode: only WHILE cd track is sounding)"));
    EXPECT_TRUE(HaRiga("Disabled Working flag for media code =21 (Active mode: only WHILE cd track is sounding)"));
    EXPECT_FALSE(HaBit(OpzioniDi(20), Working));
    EXPECT_FALSE(HaBit(OpzioniDi(21), Working));
    EXPECT_TRUE(HaBit(OpzioniDi(22), Working));
}

TEST_F(Tick, AClosedLoggerClosesTheGame) {
    LoggerChiuso = true;
    GestioneTriggerCD();
    EXPECT_TRUE(HaRiga("WARNING: Scrivane has been terminated. Close tomb raider"));
    EXPECT_EQ(ProcessoGioco.hProcess, nullptr);
    gioco = nullptr;  // closed with the game
    EXPECT_TRUE(TimerAbilitato);
}

TEST_F(Tick, AnErrorInsideAPassClosesTheGameAndTheNextTickEndsTheRun) {
    EsecutoreSwitch = [](bool&) -> bool { throw std::runtime_error("broken switch"); };
    Configura({Trigger(30, 5, 0, 1, BitSwitch)});
    SuonaTraccia(5);
    ClockAdvance(50);
    GestioneTriggerCD();
    EXPECT_TRUE(HaRiga("ERROR in GestioneTriggerCD() abort game: broken switch")) << BufferLog;
    EXPECT_EQ(ProcessoGioco.hProcess, nullptr);
    gioco = nullptr;
    EXPECT_TRUE(TimerAbilitato);
    EXPECT_EQ(TickUltimoTimer, static_cast<int32_t>(ClockTick()));
    EXPECT_EQ(LivelloAnnidamento, 0);
}

}  // namespace
