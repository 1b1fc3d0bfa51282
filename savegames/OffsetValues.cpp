#include "savegames/OffsetValues.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "core/LevelVariables.h"
#include "core/MediaLog.h"
#include "core/TextUtils.h"
#include "savegames/MoveableSearch.h"

namespace {

bool IsLaraCodice(int32_t codice) { return (codice & 0x700) == 0x300; }

bool LarghezzaValida(int32_t dimensione) { return dimensione == 1 || dimensione == 2 || dimensione == 4; }

bool TrovaMoveable(int32_t codice, int32_t stanza, const SavegameBin& immagine) {
    const bool lara = IsLaraCodice(codice);
    if (CercaMoveableInRoom(immagine, lara, lara ? -1 : stanza) < 0 || PunteggioMoveable < 1) {
        StampaLog("ERROR not found moveable structure", true);
        return false;
    }
    return true;
}

void Avviso(const std::string& testo) {
    if (LogAbilitato) StampaLog(testo);
}

}  // namespace

double LeggiValorePerCodice(int32_t codice, int32_t dimensione, int32_t stanza, const SavegameBin& immagine,
                            bool& fallito) {
    fallito = false;
    if (codice >= PrimoCodiceVariabile && codice <= UltimoCodiceVariabile) {
        bool errore = false;
        const std::string testo = LeggiVariabile(codice, errore, false, false);
        if (errore) {
            fallito = true;
            return 0;
        }
        try {
            return std::stod(Trim(testo));
        } catch (...) {
            // An empty or textual variable is 0, as a number read of it.
            return 0;
        }
    }
    if (codice < PrimoCodiceMoveable) {
        if (!LarghezzaValida(dimensione)) {
            StampaLog("ERROR: not valid size " + std::to_string(dimensione) + " to read savegame offset " +
                          std::to_string(codice),
                      true);
            fallito = true;
            return 0;
        }
        return LeggiValore(immagine, codice, dimensione);
    }
    if (!TrovaMoveable(codice, stanza, immagine)) {
        fallito = true;
        return 0;
    }
    return LeggiCampoMoveable(MoveableCorrente, codice);
}

bool ScriviValorePerCodice(int32_t codice, int32_t dimensione, int32_t stanza, SavegameBin& immagine, double valore) {
    if (codice >= PrimoCodiceVariabile && codice <= UltimoCodiceVariabile) {
        std::string testo = std::to_string(valore);
        // The shortest decimal text: whole values without a fraction.
        if (valore == std::floor(valore) && std::fabs(valore) < 1e15) {
            testo = std::to_string(static_cast<long long>(valore));
        } else {
            while (!testo.empty() && testo.back() == '0') testo.pop_back();
            if (!testo.empty() && testo.back() == '.') testo.pop_back();
        }
        SalvaVariabile(codice, testo);
        return true;
    }
    if (codice < PrimoCodiceMoveable) {
        if (!LarghezzaValida(dimensione)) {
            StampaLog("ERROR: not valid size " + std::to_string(dimensione) + " to write savegame offset " +
                          std::to_string(codice),
                      true);
            return false;
        }
        ScriviValore(immagine, codice, dimensione, Arrotonda(valore));
        if (codice >= OffsetGiorniSavegame && codice <= OffsetSecondiSavegame) {
            Avviso("Write operation on relative time fields: update [Absolute game time] field");
            CambiaTabulatoreLog(1);
            TempoRelativoInAssoluto(immagine);
            CambiaTabulatoreLog(-1);
        } else if (codice == OffsetTempoAssoluto) {
            Avviso("Write operation on absolute game time field: update relative fields: days, hours, minutes and "
                   "seconds");
            CambiaTabulatoreLog(1);
            TempoAssolutoInRelativo(immagine);
            CambiaTabulatoreLog(-1);
        }
        return true;
    }
    if (!TrovaMoveable(codice, stanza, immagine)) return false;
    MoveableStruct s = MoveableCorrente;
    if (!ScriviCampoMoveable(s, codice, Arrotonda(valore))) return false;
    return VerificaStrutturaMoveable(immagine, s, IsLaraCodice(codice));
}

void TempoRelativoInAssoluto(SavegameBin& immagine) {
    const int32_t g = LeggiValore(immagine, OffsetGiorniSavegame, 2);
    const int32_t h = LeggiValore(immagine, OffsetOreSavegame, 2);
    const int32_t m = LeggiValore(immagine, OffsetMinutiSavegame, 2);
    const int32_t s = LeggiValore(immagine, OffsetSecondiSavegame, 2);
    Avviso("Current relative game time fields: Days=" + std::to_string(g) + "  Hours=" + std::to_string(h) +
           "  Minutes=" + std::to_string(m) + "  Seconds=" + std::to_string(s));
    const int64_t assoluto = static_cast<int64_t>(s) * 30 + static_cast<int64_t>(m) * 1800 +
                             static_cast<int64_t>(h) * 108000 + static_cast<int64_t>(g) * 2592000;
    const auto valore = static_cast<int32_t>(static_cast<uint32_t>(assoluto));
    Avviso("New absolute time = " + std::to_string(valore) + " (0x" + Esadecimale(valore) + ") ");
    ScriviValore(immagine, OffsetTempoAssoluto, 4, valore);
}

void TempoAssolutoInRelativo(SavegameBin& immagine) {
    const int32_t a = LeggiValore(immagine, OffsetTempoAssoluto, 4);
    Avviso("Current absolute game time: " + std::to_string(a) + " (0x" + Esadecimale(a) + ")");
    const int32_t g = a / 2592000;
    int32_t resto = a % 2592000;
    const int32_t h = resto / 108000;
    resto %= 108000;
    const int32_t m = resto / 1800;
    resto %= 1800;
    const int32_t s = resto / 30;
    Avviso("New relative game time fields: Days=" + std::to_string(g) + "  Hours=" + std::to_string(h) +
           "  Minutes=" + std::to_string(m) + "  Seconds=" + std::to_string(s));
    ScriviValore(immagine, OffsetGiorniSavegame, 2, g);
    ScriviValore(immagine, OffsetOreSavegame, 2, h);
    ScriviValore(immagine, OffsetMinutiSavegame, 2, m);
    ScriviValore(immagine, OffsetSecondiSavegame, 2, s);
}

void ControllaValoriMoveable(MoveableStruct& s, bool isLara) {
    if (s.PosX < 562) {
        s.PosX = 562;
        Avviso("Warning: too low value for OrgX. Changed it with 562 value");
    }
    if (s.PosZ < 562) {
        s.PosZ = 562;
        Avviso("Warning: too low value for OrgZ. Changed it with 562 value");
    }
    if (s.PosX > 51661) {
        s.PosX = 51661;
        Avviso("Warning: too high value for OrgX. Changed it with 51661 value");
    }
    if (s.PosZ > 51661) {
        s.PosZ = 51661;
        Avviso("Warning: too high value for OrgZ. Changed it with 51661 value");
    }
    if (s.Mark & 0x2000) {
        s.Mark = static_cast<int16_t>(s.Mark & ~0x2000);
        Avviso("Warning: illegal bit value 0x2000 for StructType. Removed bit 0x2000");
    }
    if (!isLara) {
        if (s.SpecialAnimation != 0) {
            s.SpecialAnimation = 0;
            Avviso("Warning: illegal value for .SpecialAnimation. Changed it with 0 value");
        }
        if (s.TriggerStatus == 0) {
            s.TriggerStatus = 0x233E;
            Avviso("Warning: illegal value for .TriggerStatus. Changed it with 0x233E value");
        }
        if (s.Flags == 0) {
            s.Flags = 0x80;
            Avviso("Warning: illegal value for .Flags. Changed it with 0x80 value");
        }
        return;
    }
    if (s.Mark & 0x4000) {
        if (s.ew_4000 > 999) {
            s.ew_4000 = 999;
            Avviso("Warning: too high value for ew_4000. Changed it with 999 value");
        } else if (s.ew_4000 < 0) {
            s.ew_4000 = 1;
            Avviso("Warning: too low value for ew_4000. Changed it with 1 value");
        }
    }
    if (s.SpecialAnimation != 0 && s.SpecialAnimation != 0x47) {
        s.SpecialAnimation = 0x47;
        Avviso("Warning: illegal value for .SpecialAnimation field. Changed it with 0x47 value");
    }
    if (s.TriggerStatus != 0) {
        s.TriggerStatus = 0;
        Avviso("Warning: illegal value for .TriggerStatus. Changed it with 0 value");
    }
}
