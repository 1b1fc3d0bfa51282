#include "input/CommandMedia.h"

#include <windows.h>

#include <algorithm>

#include "core/MediaLog.h"
#include "core/MediaSyntax.h"
#include "core/MediaTrigger.h"
#include "core/SharedState.h"
#include "core/TextUtils.h"
#include "runservices/GameWindow.h"
#include "runservices/TombSettings.h"
#include "runservices/KeyboardHook.h"
#include "runservices/RunHooks.h"
#include "input/KeyboardRoutines.h"
#include "media/WorkingMedia.h"
#include "platform/Clock.h"

ParametriComandoMedia ParametriComando;

namespace {

constexpr int32_t BitTempo = 30;
constexpr uint32_t AttesaReazioneSchermo = 400;
// The screen of a game that never stands still must not hold the run.
constexpr uint32_t LimiteSchermoFermo = 10000;

int32_t ScanControllo(TastoGioco controllo) {
    const size_t k = static_cast<size_t>(controllo);
    return ScanCodeDaComando(ImpostazioniTombCorrenti.Tasti[k], ImpostazioniTombCorrenti.TastiDefault[k]);
}

bool LeggiNumero(std::string& testo, const char* tag, int32_t& valore, const char* errore) {
    const std::string v = EstraiTag(testo, tag);
    int32_t letto = 0;
    if (v.empty() || !ValoreIntero32(v, letto)) return RigaErrore(errore);
    valore = letto;
    return true;
}

// The player's input may be blocked meanwhile: a game that ends must not
// keep it so for the rest of the wait. False when the game ended.
bool AttendiSecondiConGioco(int32_t secondi) {
    const uint32_t durata = static_cast<uint32_t>(secondi > 0 ? secondi : 0) * 1000u;
    const uint32_t inizio = ClockTick();
    for (;;) {
        if (!RichiestaAbort()) return false;
        const uint32_t passati = ClockTick() - inizio;
        if (passati >= durata) return true;
        ClockSleep(std::min<uint32_t>(100, durata - passati));
    }
}

}  // namespace

int32_t ScanCodeDaComando(int32_t tasto, int32_t predefinito) {
    return ((tasto & 0x100) ? predefinito : tasto) & 127;
}

bool SintassiCommandMedia(const std::string& sezione) {
    ParametriComandoMedia& p = ParametriComando;
    p.FlagsComando = 4;
    p.SecondiAttesa = 1;
    p.NumComandi = 0;
    p.Comandi.clear();
    std::string testo = sezione;
    if (testo.empty()) return true;
    if (!LeggiNumero(testo, "#FLAGS#=", p.FlagsComando,
                     "Syntax error in Command Media: not present numeric value for Flags"))
        return false;
    if (!LeggiNumero(testo, "#WAIT_SECONDS#=", p.SecondiAttesa,
                     "Syntax error in Command Media: not present numeric value for #WAIT_SECONDS#"))
        return false;
    const std::string comandi = EstraiTag(testo, "#COMMANDS#=");
    if (comandi.empty() || comandi == "~") return true;
    for (const std::string& voce : DividiTesto(comandi, ':')) {
        int32_t valore = 0;
        if (!IsNumerico(voce))
            return RigaErrore("Syntax error in Command media: not numeric value for command code: " + voce);
        // Hexadecimal codes with bit 31 are codes too; a wider value is none.
        if (!ValoreIntero32(voce, valore))
            return RigaErrore("Syntax error in Command media: command code out of 32 bits: " + voce);
        p.Comandi.push_back(valore);
        p.NumComandi = static_cast<int32_t>(p.Comandi.size());
    }
    return true;
}

void CommandCodeToKeys(int32_t codice, std::vector<MacroEvent>& eventi, int32_t& conteggio) {
    std::vector<int32_t> tenuti;
    auto bit = [&](int b) { return (codice & (1 << b)) != 0; };
    auto premi = [&](int32_t scan, int32_t ritardo) { AggiungiEventoTasto(scan, eventi, conteggio, ritardo); };
    auto batti = [&](int32_t scan) {
        premi(scan, 200);
        premi(scan | 0x80, 100);
    };
    auto tieni = [&](TastoGioco c, int32_t ritardo) {
        premi(ScanControllo(c), ritardo);
        tenuti.push_back(ScanControllo(c));
    };
    if (bit(24)) premi(ScanControllo(TastoGioco::Action), 100);
    if (bit(14)) tenuti.push_back(ScanControllo(TastoGioco::Action));
    if (bit(20)) premi(ScanControllo(TastoGioco::Duck), 100);
    if (bit(15)) tenuti.push_back(ScanControllo(TastoGioco::Duck));
    if (bit(27)) premi(ScanControllo(TastoGioco::Look), 100);
    if (bit(13)) tenuti.push_back(ScanControllo(TastoGioco::Look));
    if (bit(8))
        for (int32_t s : {32, 24, 44, 21}) batti(s);
    if (bit(9)) batti(83);
    if (bit(11)) batti(1);
    if (bit(10)) batti(25);
    if (bit(7)) batti(63);
    if (bit(6)) batti(64);
    if (bit(22)) tieni(TastoGioco::Walk, 100);
    if (bit(26)) tieni(TastoGioco::Extract_Flare, 100);
    if (bit(25)) tieni(TastoGioco::Extract_Weapon, 100);
    if (bit(29)) {
        tieni(TastoGioco::Up, 400);
        tieni(TastoGioco::Jump, 500);
    }
    if (bit(23)) tieni(TastoGioco::Jump, 100);
    if (bit(17)) tieni(TastoGioco::Down, 10);
    if (bit(19)) tieni(TastoGioco::Left, 100);
    if (bit(18)) tieni(TastoGioco::Right, 100);
    if (bit(28)) tieni(TastoGioco::Roll, 100);
    if (bit(16)) tieni(TastoGioco::Up, 100);
    if (bit(21)) tieni(TastoGioco::Dash, 100);
    if (bit(BitTempo) && conteggio > 0) eventi[static_cast<size_t>(conteggio) - 1].Tempo = (codice & 63) * 1000;
    for (auto it = tenuti.rbegin(); it != tenuti.rend(); ++it) premi(*it | 0x80, 100);
}

RigaPixel CatturaRigaSchermo() {
    RigaPixel riga(PixelRigaSchermo, 0);
    Rettangolo client;
    RettangoloClientGioco(client);
    const uint32_t inizio = ClockTick();
    HDC dc = GetDC(nullptr);
    for (;;) {
        SegnaTempo();
        bool nera = true;
        for (int32_t x = client.Left < 0 ? 0 : client.Left; x < PixelRigaSchermo; ++x) {
            riga[static_cast<size_t>(x)] = dc ? static_cast<uint32_t>(GetPixel(dc, x, 0)) : 0;
            if (riga[static_cast<size_t>(x)] != 0) nera = false;
        }
        AttendiDaSegno(50);
        if (!nera || ClockTick() - inizio >= 500) break;
    }
    if (dc) ReleaseDC(nullptr, dc);
    return riga;
}

bool ConfrontaRighePixel(const RigaPixel& a, const RigaPixel& b) {
    for (size_t i = 0; i < static_cast<size_t>(PixelRigaSchermo); ++i)
        if ((i < a.size() ? a[i] : 0) != (i < b.size() ? b[i] : 0)) return false;
    return true;
}

void AttendiSchermoFermo(const RigaPixel& riga) {
    const uint32_t inizio = ClockTick();
    while (ConfrontaRighePixel(CatturaRigaSchermo(), riga) && ClockTick() - inizio < AttesaReazioneSchermo) {
    }
    const uint32_t moto = ClockTick();
    for (;;) {
        const RigaPixel prima = CatturaRigaSchermo();
        if (ConfrontaRighePixel(prima, CatturaRigaSchermo())) return;
        if (ClockTick() - moto >= LimiteSchermoFermo) {
            StampaLog("WARNING: time out waiting for still screen");
            return;
        }
    }
}

bool EseguiCommandMedia() {
    StampaLog("Perform Command Media with code: " + std::to_string(MediaCorrente.MediaCode));
    if (HaBit(StatoSequenza, StandByAttivo))
        return RigaErrore("ERROR: Tomb Raider is in stand-by. Command Media cann't work with Tomb Raider in stand-by");
    SintassiCommandMedia(EstraiSezione(MediaCorrente.Syntax, "COMMAND"));
    const ParametriComandoMedia& p = ParametriComando;
    bool risultato = true;
    SospendiHookTastiera();
    RipristinaPrioritaGioco(false);
    if (HaBit(p.FlagsComando, ComandoBloccaInput)) SospendiInputUtente();
    ImpostaBit(StatoGioco, ComandoInCorso);
    auto invia = [&]() {
        if (InviaCodici(std::string("temp.mcr"))) return true;
        StampaLog("WARNING: error in sending keystrokes");
        return false;
    };
    for (int32_t i = 0; i < p.NumComandi && risultato; ++i) {
        const int32_t codice = p.Comandi[static_cast<size_t>(i)];
        const int32_t ripetizioni = (codice & (1 << BitTempo)) ? 1 : (codice & 63);
        for (int32_t h = 1; h <= ripetizioni && risultato; ++h) {
            std::vector<MacroEvent> eventi;
            int32_t conteggio = 0;
            CommandCodeToKeys(codice, eventi, conteggio);
            const std::string testo = NomeAzioneTasto(codice, false);
            // Without keys nothing is stored, and "temp.mcr" still holds the
            // macro sent before.
            if (conteggio == 0) {
                StampaLog("WARNING: command " + std::to_string(i + 1) + " (code " + std::to_string(codice) +
                          ") selects no key: nothing sent");
                break;
            }
            SaveAdMacro("temp.mcr", conteggio, eventi);
            if (!HaBit(p.FlagsComando, ComandoSoloFineGioco)) {
                bool ferma = false;
                Ganci.AnalisiGameProgress(ferma, -1, false);
                if (ferma) {
                    StampaLog("Break command media");
                    risultato = false;
                    break;
                }
            } else if (!RichiestaAbort()) {
                StampaLog("Tomb raider program is terminated");
                risultato = false;
                break;
            }
            StampaLog("Send macro command " + std::to_string(i + 1) + ": \"" + testo + "\"   Hit=" +
                      std::to_string(h) + " :\r\n" + DescriviMacro("temp.mcr") + "\r\n");
            if (HaBit(p.FlagsComando, ComandoAttendiSecondi)) {
                if (!invia()) {
                    risultato = false;
                    break;
                }
                StampaLog("Sending macro is complete");
                StampaLog("Wait " + std::to_string(p.SecondiAttesa) + " seconds");
                if (!AttendiSecondiConGioco(p.SecondiAttesa)) {
                    StampaLog("Tomb raider program is terminated");
                    risultato = false;
                    break;
                }
            }
            if (HaBit(p.FlagsComando, ComandoAttendiSchermoFermo)) {
                const RigaPixel riga = CatturaRigaSchermo();
                if (!invia()) {
                    risultato = false;
                    break;
                }
                StampaLog("Sending macro is complete");
                StampaLog("Waiting per still screen");
                AttendiSchermoFermo(riga);
                StampaLog("Detected still screen");
            }
            if (HaBit(p.FlagsComando, ComandoAttendiSilenzio)) {
                StampaLog("Wait for no input activity");
                CambiaTabulatoreLog(1);
                const bool silenzio = AttendiTastieraSilenziosa();
                CambiaTabulatoreLog(-1);
                if (!silenzio) {
                    risultato = false;
                    break;
                }
                StampaLog("Detected no player input: send macro");
                if (!invia()) {
                    risultato = false;
                    break;
                }
                StampaLog("Sending macro is complete");
            }
        }
    }
    TogliBit(StatoGioco, ComandoInCorso);
    AbilitaInputUtente();
    RipristinaHookTastiera();
    RiduciPrioritaGioco(false);
    return risultato;
}
