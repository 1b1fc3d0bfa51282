#include "savegames/SavegameValues.h"

#include <algorithm>
#include <cstdio>

#include "core/MediaLog.h"
#include "core/PathNames.h"
#include "core/SharedState.h"
#include "savegames/OffsetValues.h"

MoveableStruct MoveableCorrente;
bool TipoMoveable = false;

namespace {

std::string Esadecimale(const char* formato, uint32_t v) {
    char testo[16];
    std::snprintf(testo, sizeof testo, formato, v);
    return testo;
}

uint8_t Byte(const SavegameBin& immagine, size_t i) { return static_cast<uint8_t>(immagine[i]); }

// The optional words in the order they are stored, with their Mark bits.
struct Opzionale {
    int32_t bit;
    int32_t MoveableStruct::*campo;
};
const Opzionale PrimiOpzionali[] = {{0x0002, &MoveableStruct::ew_0002},
                                    {0x0001, &MoveableStruct::ew_0001},
                                    {0x0020, &MoveableStruct::ew_0020},
                                    {0x0040, &MoveableStruct::ew_0040}};
const Opzionale UltimiOpzionali[] = {{0x0080, &MoveableStruct::ew_0080}, {0x0100, &MoveableStruct::ew_0100},
                                     {0x0200, &MoveableStruct::ew_0200}, {0x0400, &MoveableStruct::ew_0400},
                                     {0x0800, &MoveableStruct::ew_0800}, {0x1000, &MoveableStruct::ew_1000}};
constexpr int32_t BitsOpzionali = 0x0001 | 0x0002 | 0x0020 | 0x0040 | 0x0080 | 0x0100 | 0x0200 | 0x0400 | 0x0800 |
                                  0x1000 | 0x4000;

bool Presente(const MoveableStruct& s, int32_t bit) { return (s.Mark & bit) != 0; }

}  // namespace

std::string Hex2(int32_t v) { return Esadecimale("%02X", static_cast<uint32_t>(v) & 0xFFu); }
std::string Hex4(int32_t v) { return Esadecimale("%04X", static_cast<uint32_t>(v) & 0xFFFFu); }
std::string Hex8(int32_t v) { return Esadecimale("%08X", static_cast<uint32_t>(v)); }
int32_t WordSenzaSegno(int32_t v) { return v & 0xFFFF; }

uint8_t ChecksumSavegame(const SavegameBin& immagine) {
    uint32_t somma = 0;
    for (size_t i = InizioChecksumSavegame; i < DimensioneSavegame && i < immagine.size(); ++i)
        if (i != OffsetChecksumSavegame) somma += Byte(immagine, i);
    return static_cast<uint8_t>((256u - somma % 256u) % 256u);
}

bool ChecksumValido(const SavegameBin& immagine) {
    if (immagine.size() != DimensioneSavegame) return false;
    uint32_t somma = 0;
    for (size_t i = InizioChecksumSavegame; i < DimensioneSavegame; ++i) somma += Byte(immagine, i);
    return somma % 256u == 0;
}

int32_t LeggiNumeroTitoloSavegame(const SavegameBin& immagine, std::string& titolo) {
    titolo.clear();
    for (size_t i = 0; i < LunghezzaTitoloSavegame && i < immagine.size() && immagine[i] != '\0'; ++i)
        titolo += immagine[i];
    return LeggiValore(immagine, OffsetNumeroSavegame, 4);
}

std::string DescrizioneSavegameBin(const std::string& percorso, const SavegameBin& immagine) {
    std::string titolo;
    const int32_t numero = LeggiNumeroTitoloSavegame(immagine, titolo);
    return NomeFileDaPercorso(percorso) + " [" + std::to_string(numero) + ": " + titolo + "]";
}

void ModificaSavegameTitoli(SavegameBin& immagine) {
    ScriviValore(immagine, OffsetTitoliSavegame, 1, 0);
    ScriviValore(immagine, OffsetLivelloSavegame, 1, 0);
    ScriviValore(immagine, OffsetCdSavegame, 1, CdTitoli & 0xFF);
}

int32_t LeggiStrutturaMoveable(const SavegameBin& immagine, int32_t offset) {
    MoveableStruct& s = MoveableCorrente;
    s.Offset = offset;
    int32_t o = offset;
    const auto byte = [&] { return static_cast<uint8_t>(LeggiValoreSavegame(immagine, o, 1, true)); };
    const auto word = [&] { return static_cast<int16_t>(LeggiValoreSavegame(immagine, o, 2, true)); };
    const auto senzaSegno = [&] { return WordSenzaSegno(LeggiValoreSavegame(immagine, o, 2, true)); };
    const auto opzionali = [&](const auto& elenco) {
        for (const Opzionale& op : elenco) s.*op.campo = Presente(s, op.bit) ? senzaSegno() : -1;
    };
    s.Mark = word();
    s.PosX = senzaSegno();
    s.PosY = word();
    s.PosZ = senzaSegno();
    s.Room = byte();
    s.Orientation = word();
    opzionali(PrimiOpzionali);
    s.CurrentAnimation = byte();
    s.NextAnimation = byte();
    s.SpecialAnimation = byte();
    s.AnimationId = senzaSegno();
    s.AnimationFrame = senzaSegno();
    s.ew_4000 = Presente(s, 0x4000) ? senzaSegno() : -1;
    s.TriggerStatus = word();
    s.Flags = byte();
    opzionali(UltimiOpzionali);
    s.EndByte = byte();
    s.Length = o - offset;
    return s.Length;
}

void ScriviPosizioneMoveable(SavegameBin& immagine, const MoveableStruct& s) {
    int32_t o = s.Offset;
    ScriviValoreSavegame(immagine, o, 2, s.Mark, true);
    ScriviValoreSavegame(immagine, o, 2, s.PosX, true);
    ScriviValoreSavegame(immagine, o, 2, s.PosY, true);
    ScriviValoreSavegame(immagine, o, 2, s.PosZ, true);
    ScriviValoreSavegame(immagine, o, 1, s.Room, true);
    ScriviValoreSavegame(immagine, o, 2, s.Orientation, true);
}

int32_t DimensioneStrutturaMoveable(const MoveableStruct& s) {
    int32_t lunghezza = 22;
    for (int32_t bit = 1; bit <= 0x4000; bit <<= 1)
        if ((BitsOpzionali & bit) && Presente(s, bit)) lunghezza += 2;
    return lunghezza;
}

void SpostaCodaSavegame(SavegameBin& immagine, int32_t offset, int32_t vecchia, int32_t nuova) {
    const int32_t d = nuova - vecchia;
    // Only the moveable area moves: what lies from FineMoveable on belongs to
    // the level and the editor mark, whatever the structures' sizes.
    const int32_t fine = std::min<int32_t>(FineMoveable, static_cast<int32_t>(immagine.size()));
    if (d == 0 || offset < 0 || offset >= fine) return;
    if (d < 0) {
        for (int32_t i = offset; i < fine + d; ++i) immagine[static_cast<size_t>(i)] = immagine[static_cast<size_t>(i - d)];
        for (int32_t i = std::max(offset, fine + d); i < fine; ++i) immagine[static_cast<size_t>(i)] = '\0';
    } else {
        for (int32_t i = fine - 1; i >= offset + d; --i)
            immagine[static_cast<size_t>(i)] = immagine[static_cast<size_t>(i - d)];
    }
}

bool VerificaStrutturaMoveable(SavegameBin& immagine, MoveableStruct& s, bool isLara) {
    if (LogAbilitato) StampaLog("Verify legality of structure");
    CambiaTabulatoreLog(1);
    ControllaValoriMoveable(s, isLara);
    CambiaTabulatoreLog(-1);
    if (LogAbilitato) StampaLog("Update moveable in offset: 0x" + Hex4(s.Offset));
    const int32_t nuova = DimensioneStrutturaMoveable(s);
    if (LogAbilitato)
        StampaLog("Old size structure = " + std::to_string(s.Length) + "  New size structure = " + std::to_string(nuova));
    const int32_t fine = std::min<int32_t>(FineMoveable, static_cast<int32_t>(immagine.size()));
    if (s.Offset < InizioMoveable || s.Offset + s.Length > fine || s.Offset + nuova > fine)
        return RigaErrore("ERROR in VerificaStrutturaMoveable() : the structure at 0x" + Hex4(s.Offset) +
                          " does not fit the savegame");
    SpostaCodaSavegame(immagine, s.Offset, s.Length, nuova);
    int32_t o = s.Offset;
    const auto scrivi = [&](int32_t dimensione, int32_t valore) { ScriviValoreSavegame(immagine, o, dimensione, valore, true); };
    const auto opzionali = [&](const auto& elenco) {
        for (const Opzionale& op : elenco)
            if (Presente(s, op.bit)) scrivi(2, s.*op.campo);
    };
    scrivi(2, s.Mark);
    scrivi(2, s.PosX);
    scrivi(2, s.PosY);
    scrivi(2, s.PosZ);
    scrivi(1, s.Room);
    scrivi(2, s.Orientation);
    opzionali(PrimiOpzionali);
    scrivi(1, s.CurrentAnimation);
    scrivi(1, s.NextAnimation);
    scrivi(1, s.SpecialAnimation);
    scrivi(2, s.AnimationId);
    scrivi(2, s.AnimationFrame);
    if (Presente(s, 0x4000)) scrivi(2, s.ew_4000);
    scrivi(2, s.TriggerStatus);
    scrivi(1, s.Flags);
    opzionali(UltimiOpzionali);
    scrivi(1, s.EndByte);
    s.Length = nuova;
    return true;
}

int32_t LeggiCampoMoveable(const MoveableStruct& s, int32_t codice) {
    const int32_t i = codice & 0xFF;
    switch (i) {
        case 0: return s.Mark;
        case 1: return s.PosX;
        case 2: return s.PosY;
        case 3: return s.PosZ;
        case 4: return s.Room;
        case 5: return s.Orientation;
        case 6: return s.ew_0002;
        case 7: return s.ew_0001;
        case 8: return s.ew_0020;
        case 9: return s.ew_0040;
        case 10: return s.CurrentAnimation;
        case 11: return s.NextAnimation;
        case 12: return s.SpecialAnimation;
        case 13: return s.AnimationId;
        case 14: return s.AnimationFrame;
        case 15:
            if (TipoMoveable) return s.ew_4000;
            // An enemy keeps a 16-bit value in two halves.
            if (!Presente(s, 0x4000)) return -1;
            return (s.ew_4000 & 0xFF) * 256 + (s.AnimationFrame & 0xFF00) / 256;
        case 16: return s.TriggerStatus;
        case 17: return s.Flags;
        case 18: return s.ew_0080;
        case 19: return s.ew_0100;
        case 20: return s.ew_0200;
        case 21: return s.ew_0400;
        case 22: return s.ew_0800;
        case 23: return s.ew_1000;
        default: break;
    }
    StampaLog("ERROR unknown moveable struct field: " + std::to_string(i), true);
    return 0;
}

bool ScriviCampoMoveable(MoveableStruct& s, int32_t codice, int32_t valore) {
    const int32_t i = codice & 0xFF;
    if (i > 23) {
        StampaLog("ERROR unknown moveable struct field: " + std::to_string(i), true);
        return false;
    }
    const bool campoByte = i == 4 || i == 10 || i == 11 || i == 12 || i == 17;
    const bool campoSegno = i == 0 || i == 2 || i == 5 || i == 16;
    if ((campoByte && (valore < 0 || valore > 255)) || (campoSegno && (valore < -32768 || valore > 32767)))
        return RigaErrore("ERROR in ScriviCampoMoveable() : Overflow");
    switch (i) {
        case 0: s.Mark = static_cast<int16_t>(valore); break;
        case 1: s.PosX = valore; break;
        case 2: s.PosY = static_cast<int16_t>(valore); break;
        case 3: s.PosZ = valore; break;
        case 4: s.Room = static_cast<uint8_t>(valore); break;
        case 5: s.Orientation = static_cast<int16_t>(valore); break;
        case 6: s.ew_0002 = valore; break;
        case 7: s.ew_0001 = valore; break;
        case 8: s.ew_0020 = valore; break;
        case 9: s.ew_0040 = valore; break;
        case 10: s.CurrentAnimation = static_cast<uint8_t>(valore); break;
        case 11: s.NextAnimation = static_cast<uint8_t>(valore); break;
        case 12: s.SpecialAnimation = static_cast<uint8_t>(valore); break;
        case 13: s.AnimationId = valore; break;
        case 14: s.AnimationFrame = valore; break;
        case 15:
            s.Mark = static_cast<int16_t>(s.Mark | 0x4000);
            if (TipoMoveable) {
                s.ew_4000 = valore;
            } else {
                s.ew_4000 = 0x2000 | (valore / 256);
                s.AnimationFrame = (s.AnimationFrame & 0xFF) | ((valore & 0xFF) << 8);
            }
            break;
        case 16: s.TriggerStatus = static_cast<int16_t>(valore); break;
        case 17: s.Flags = static_cast<uint8_t>(valore); break;
        case 18: s.ew_0080 = valore; break;
        case 19: s.ew_0100 = valore; break;
        case 20: s.ew_0200 = valore; break;
        case 21: s.ew_0400 = valore; break;
        case 22: s.ew_0800 = valore; break;
        case 23: s.ew_1000 = valore; break;
    }
    return true;
}
