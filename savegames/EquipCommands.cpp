#include "savegames/EquipCommands.h"

#include <cmath>
#include <cstdint>
#include <stdexcept>

#include "core/FileUtils.h"
#include "core/LevelVariables.h"
#include "core/MediaExtraction.h"
#include "core/MediaLog.h"
#include "core/MediaSyntax.h"
#include "core/MediaTrigger.h"
#include "core/ModuleInit.h"
#include "core/PathNames.h"
#include "core/SharedState.h"
#include "core/TextUtils.h"
#include "savegames/EquipDescriptions.h"
#include "savegames/MoveableSearch.h"
#include "savegames/OffsetValues.h"
#include "savegames/SavegameFile.h"

IntestazioneEquipment EquipmentHeader;

namespace {

// A failure inside a command: it ends the command with the error line that
// names the command.
struct ErroreComando : std::runtime_error {
    using std::runtime_error::runtime_error;
};

void Riga(const std::string& testo) {
    if (LogAbilitato) StampaLog(testo);
}

// The last CD track index of the savegame's array of played tracks.
constexpr int32_t InizioArrayCd = 586;
constexpr int32_t UltimoIndiceCd = 104;

// The bytes a command touches by fixed offset must be in the image.
void RichiediByte(const SavegameBin& immagine, int32_t offset, int32_t dimensione) {
    if (offset < 0 || static_cast<int64_t>(offset) + dimensione > static_cast<int64_t>(immagine.size()))
        throw ErroreComando("offset " + std::to_string(offset) + " outside the savegame of " +
                            std::to_string(immagine.size()) + " bytes");
}

void Scrivi(SavegameBin& immagine, int32_t offset, int32_t dimensione, int32_t valore) {
    RichiediByte(immagine, offset, dimensione);
    ScriviValore(immagine, offset, dimensione, valore);
}

// A savegame offset named by a code is checked before it is read or written;
// variables and moveables have checks of their own.
void RichiediCodice(const SavegameBin& immagine, int32_t codice, int32_t dimensione) {
    if (codice >= PrimoCodiceVariabile) return;
    if (dimensione != 1 && dimensione != 2 && dimensione != 4) return;
    RichiediByte(immagine, codice, dimensione);
}

int32_t In32(int64_t v) {
    if (v < INT32_MIN || v > INT32_MAX) throw ErroreComando("Overflow");
    return static_cast<int32_t>(v);
}

int16_t In16(int32_t v) {
    if (v < -32768 || v > 32767) throw ErroreComando("Overflow");
    return static_cast<int16_t>(v);
}

bool TagPosizione(const std::string& testo, EquipCommand& r) {
    bool errore = false;
    const std::string valore = LeggiTagTesto(testo, "#TARGET_POS#=", errore);
    if (errore) return false;
    const std::vector<std::string> parti = DividiTesto(valore, ':');
    if (parti.size() != 5) {
        StampaLog("ERROR in #target_Pos# field: wrong number of arguments", true);
        return false;
    }
    int32_t v[5] = {};
    for (size_t i = 0; i < 5; ++i) {
        // Words are written signed or unsigned alike; the room is a byte.
        const int32_t minimo = i == 4 ? 0 : -32768;
        const int32_t massimo = i == 4 ? 255 : 65535;
        if (!ValoreIntero32(parti[i], v[i]) || v[i] < minimo || v[i] > massimo) {
            StampaLog("ERROR in #target_Pos# field: wrong value " + Trim(parti[i]), true);
            return false;
        }
    }
    r.TargetX = static_cast<int16_t>(static_cast<uint16_t>(v[0] & 0xFFFF));
    r.TargetY = static_cast<int16_t>(static_cast<uint16_t>(v[1] & 0xFFFF));
    r.TargetZ = static_cast<int16_t>(static_cast<uint16_t>(v[2] & 0xFFFF));
    r.TargetOrientation = static_cast<int16_t>(static_cast<uint16_t>(v[3] & 0xFFFF));
    r.TargetRoom = static_cast<uint8_t>(v[4]);
    return true;
}

// The tags each command type reads after the two common ones.
bool TagComando(const std::string& testo, EquipCommand& r) {
    bool errore = false;
    const auto numero = [&](const char* tag, int32_t& campo) {
        if (errore) return;
        campo = LeggiTagNumerico(testo, tag, errore);
    };
    switch (r.CommandType) {
        case StandardCommand:
            numero("#OFFSET#=", r.Offset);
            numero("#OFFSET_SIZE#=", r.OffsetSize);
            numero("#OPERATION#=", r.Operation);
            numero("#VALUE#=", r.Value);
            if (r.Offset >= 1024) numero("#SRC_ROOM#=", r.SrcRoom);
            break;
        case IsLaraInRoom:
        case IsEnemyInRoom:
        case KillEnemy:
            numero("#SRC_ROOM#=", r.SrcRoom);
            numero("#VALUE#=", r.Value);
            break;
        case IsMediaEnabled: numero("#ENABLED_MEDIA#=", r.Value); break;
        case MoveLaraTo:
        case MoveEnemyFromTo:
            numero("#SRC_ROOM#=", r.SrcRoom);
            if (!errore && !TagPosizione(testo, r)) return false;
            break;
        case BackupFile:
        case RestoreFile:
            numero("#VALUE#=", r.Value);
            numero("#RESTORE_FLAGS#=", r.RestoreFlags);
            if (!errore && (r.RestoreFlags & RipristinaEsterno)) {
                // Optional: missing and "~" both leave it empty.
                std::string copia = testo;
                r.ExternBackup = EstraiTag(copia, "#EXTERN_BACKUP#=");
                if (r.ExternBackup == "~") r.ExternBackup.clear();
            }
            break;
        case ClearUsedCD:
        case IsComputerLanguageEqual: numero("#VALUE#=", r.Value); break;
        case IsLastInputTextEqualTo: r.LastInput = LeggiTagTesto(testo, "#LAST_INPUT#=", errore); break;
        default: break;
    }
    return !errore;
}

// Lara's or an enemy's structure: the search's choice, copied.
bool Cerca(const SavegameBin& immagine, bool lara, int32_t stanza, MoveableStruct& s, int32_t& punteggio) {
    if (CercaMoveableInRoom(immagine, lara, stanza) < 0) return false;
    s = MoveableCorrente;
    punteggio = PunteggioMoveable;
    return true;
}

void ImpostaPosizione(MoveableStruct& s, const EquipCommand& r) {
    s.PosX = WordSenzaSegno(r.TargetX);
    s.PosY = r.TargetY;
    s.PosZ = WordSenzaSegno(r.TargetZ);
    s.Room = r.TargetRoom;
    s.Orientation = r.TargetOrientation;
}

bool Fallito(bool& errore) {
    errore = true;
    return false;
}

int32_t Applica(int32_t operatore, int32_t c, int32_t v, bool& condizione) {
    condizione = false;
    switch (operatore) {
        case OpGreaterThan: condizione = c > v; return c;
        case OpLessThan: condizione = c < v; return c;
        case OpEqualTo: condizione = c == v; return c;
        case OpDifferentThan: condizione = c != v; return c;
        case OpBitIsSet: condizione = (c & v) != 0; return c;
        case OpBitIsClear: condizione = (c & v) == 0; return c;
        case OpSetTo: return v;
        case OpAdd: return In32(static_cast<int64_t>(c) + v);
        case OpDivide:
            if (v == 0) throw ErroreComando("Division by zero");
            return In32(static_cast<int64_t>(c) / v);
        case OpMultiply: return In32(static_cast<int64_t>(c) * v);
        case OpSetBit: return c | v;
        case OpClearBit: return c & ~v;
        default: return c;
    }
}

bool Standard(SavegameBin& immagine, const EquipCommand& r, bool& errore) {
    int32_t c = 0;
    if (r.Operation != OpSetTo) {
        RichiediCodice(immagine, r.Offset, r.OffsetSize);
        bool fallito = false;
        const double letto = LeggiValorePerCodice(r.Offset, r.OffsetSize, r.SrcRoom, immagine, fallito);
        if (fallito) return Fallito(errore);
        if (!(std::fabs(letto) < 2147483648.0)) throw ErroreComando("Overflow");
        c = static_cast<int32_t>(std::nearbyint(letto));
        Riga("Current field value = " + std::to_string(c) + "  (0x" + Hex4(c) + ")");
    }
    const int32_t v = r.Value;
    Riga("Current operand value = " + std::to_string(v) + "  (0x" + Hex4(v) + ")");
    bool condizione = false;
    const int32_t n = Applica(r.Operation, c, v, condizione);
    if (r.Operation == OpAssign) {
        int32_t larghezza = r.OffsetSize;
        NomeCampoSavegame(v, larghezza);
        RichiediCodice(immagine, v, larghezza);
        if (!ScriviValorePerCodice(v, larghezza, r.SrcRoom, immagine, c)) return Fallito(errore);
    }
    if (EquipmentHeader.Flags & StoreResults) {
        Riga("Result = " + std::to_string(n) + " (0x" + Hex4(n) + ")");
        if (r.Operation == OpAssign) return true;
        RichiediCodice(immagine, r.Offset, r.OffsetSize);
        if (!ScriviValorePerCodice(r.Offset, r.OffsetSize, r.SrcRoom, immagine, n)) return Fallito(errore);
        return true;
    }
    Riga(std::string("Result = ") + (condizione ? "True" : "False"));
    return condizione;
}

bool InStanza(const SavegameBin& immagine, const EquipCommand& r) {
    const bool lara = r.CommandType == IsLaraInRoom;
    const std::string stanza = std::to_string(r.SrcRoom);
    MoveableStruct s;
    int32_t punteggio = 0;
    if (!Cerca(immagine, lara, r.SrcRoom, s, punteggio)) {
        Riga((lara ? "Not found Lara in room " : "Not found enemy in room ") + stanza);
        return false;
    }
    if (lara)
        Riga("Found Lara in room " + stanza + ": Probability = " + std::to_string(punteggio));
    else
        Riga("Found enemy in room " + stanza);
    if (punteggio >= 3) return true;
    Riga("Too low probability: exit with FALSE");
    return false;
}

bool MediaAbilitato(const EquipCommand& r, bool& errore) {
    const int32_t indice = IndiceMediaDaCodice(r.Value);
    if (indice < 0) {
        StampaLog("ERROR: not found media with code = " + std::to_string(r.Value), true);
        return Fallito(errore);
    }
    return (ListaMedia[static_cast<size_t>(indice)].Options & Disabled) == 0;
}

bool SpostaLara(SavegameBin& immagine, int32_t indice, const EquipCommand& r, bool& errore) {
    MoveableStruct s;
    int32_t punteggio = 0;
    if (!Cerca(immagine, true, -1, s, punteggio)) {
        StampaLog("ERROR: Not found Lara structure", true);
        return Fallito(errore);
    }
    Riga("Found lara. Probability = " + std::to_string(punteggio));
    Riga("Move Lara in: " + DescriviPosizione(indice));
    ImpostaPosizione(s, r);
    ScriviPosizioneMoveable(immagine, s);
    return true;
}

bool Nemico(SavegameBin& immagine, int32_t indice, const EquipCommand& r, bool& errore) {
    const std::string stanza = std::to_string(r.SrcRoom);
    MoveableStruct s;
    int32_t punteggio = 0;
    if (!Cerca(immagine, false, r.SrcRoom, s, punteggio)) {
        StampaLog("ERROR: Not found enemy in room " + stanza, true);
        // A missing enemy to kill may have been killed already.
        if (r.CommandType == MoveEnemyFromTo) errore = true;
        return false;
    }
    Riga("Found enemy in room " + stanza);
    if (punteggio < 0) {
        StampaLog("ERROR: Too low probability", true);
        return Fallito(errore);
    }
    if (r.CommandType == MoveEnemyFromTo) {
        Riga("Move enemy in: " + DescriviPosizione(indice));
        ImpostaPosizione(s, r);
        ScriviPosizioneMoveable(immagine, s);
        return true;
    }
    if (r.Value == UccisioneAntiTrigger) {
        Riga("Kill it in anti-trigger mode");
        Riga("Kill enemy");
        s.PosX = 0;
        s.PosZ = 0;
        ScriviPosizioneMoveable(immagine, s);
        return true;
    }
    Riga("Kill it definitively");
    s.Mark = static_cast<int16_t>(s.Mark | 0x4000);
    if (!ScriviCampoMoveable(s, 0x40F, 0)) return Fallito(errore);
    if (!VerificaStrutturaMoveable(immagine, s, false)) return Fallito(errore);
    return true;
}

bool Dozy(SavegameBin& immagine, bool vola, bool& errore) {
    if (vola) {
        Scrivi(immagine, 99, 2, 3);
        Scrivi(immagine, 131, 2, 0);
        Scrivi(immagine, 449, 2, 215);
        Scrivi(immagine, 467, 2, 215);
    } else {
        Scrivi(immagine, 99, 2, 0);
        Scrivi(immagine, 131, 2, 3);
    }
    MoveableStruct s;
    int32_t punteggio = 0;
    if (!Cerca(immagine, true, -1, s, punteggio)) {
        StampaLog("ERROR not found lara structure", true);
        return Fallito(errore);
    }
    if (vola) {
        s.Mark = static_cast<int16_t>(0x800D);
        s.ew_0001 = 192;
        s.CurrentAnimation = 17;
        s.NextAnimation = 18;
        s.AnimationId = 23;
        s.Flags = 0;
        s.PosY = In16(s.PosY - 159);
    } else {
        s.Mark = static_cast<int16_t>(s.Mark & ~0x0001);
        s.CurrentAnimation = 2;
        s.NextAnimation = 2;
        s.AnimationId = 103;
        s.PosY = In16(s.PosY - 256);
    }
    if (!VerificaStrutturaMoveable(immagine, s, true)) return Fallito(errore);
    return true;
}

bool Disarma(SavegameBin& immagine) {
    Scrivi(immagine, 95, 1, 0);
    Scrivi(immagine, 89, 1, 3);
    for (int32_t o = 361; o <= 366; ++o) Scrivi(immagine, o, 1, 0);
    return true;
}

bool Backup(const SavegameBin& immagine, const EquipCommand& r, bool& errore) {
    RichiediByte(immagine, 0, DimensioneSavegame);
    // The game must not take the backup for a savegame of its own.
    SavegameBin copia = immagine;
    copia[OffsetChecksumSavegame] = static_cast<char>(~static_cast<uint8_t>(copia[OffsetChecksumSavegame]));
    if (!SalvaSavegameBin(FileBackupEquip(r.Value), copia, true)) return Fallito(errore);
    return true;
}

void CopiaByte(SavegameBin& immagine, const SavegameBin& sorgente, int32_t da, int32_t a) {
    RichiediByte(immagine, da, a - da + 1);
    RichiediByte(sorgente, da, a - da + 1);
    immagine.replace(static_cast<size_t>(da), static_cast<size_t>(a - da + 1), sorgente, static_cast<size_t>(da),
                     static_cast<size_t>(a - da + 1));
}

// The backup's bytes: the store folder's own file first, made by BackupFile
// in this or an earlier run, then the one the level ships.
bool CaricaBackup(const EquipCommand& r, SavegameBin& backup, bool& errore) {
    const std::string nome = "BackS" + std::to_string(r.Value);
    std::string percorso = FileBackupEquip(r.Value);
    bool temporaneo = false;
    if (!EsisteFile(percorso)) percorso = EstraiFileMedia(nome, temporaneo, false, true);
    if (percorso.empty()) {
        StampaLog("ERROR: not found backup file : " + nome, true);
        return Fallito(errore);
    }
    const bool caricato = CaricaSavegameBin(percorso, backup);
    if (temporaneo) CancellaFile(percorso);
    if (!caricato) return Fallito(errore);
    if (backup.size() != static_cast<size_t>(DimensioneSavegame)) {
        StampaLog("ERROR: wrong size of backup file : " + nome + " (" + std::to_string(backup.size()) + " bytes)", true);
        return Fallito(errore);
    }
    return true;
}

// The number a restored image keeps: the working savegame's, so that it
// stays the newest; in a folder without savegames the backup's, and never 0.
int32_t NumeroRipristinato(const SavegameBin& immagine, const SavegameBin& backup) {
    int32_t numero = immagine.size() >= static_cast<size_t>(OffsetNumeroSavegame + 4)
                         ? LeggiValore(immagine, OffsetNumeroSavegame, 4)
                         : 0;
    if (numero <= 0) numero = LeggiValore(backup, OffsetNumeroSavegame, 4);
    return numero > 0 ? numero : 1;
}

bool Ripristina(SavegameBin& immagine, const EquipCommand& r, bool& errore) {
    SavegameBin backup;
    if (!CaricaBackup(r, backup, errore)) return false;
    Riga("Restore following elements: " + NomeCategoriaRipristino(r.RestoreFlags));
    int32_t f = r.RestoreFlags;
    if (f == RipristinaTutto) {
        const int32_t numero = NumeroRipristinato(immagine, backup);
        immagine = backup;
        ScriviValore(immagine, OffsetNumeroSavegame, 4, numero);
        return true;
    }
    RichiediByte(immagine, 0, DimensioneSavegame);
    SavegameBin sorgente;
    if (f & RipristinaNemici) {
        const int32_t numero = NumeroRipristinato(immagine, backup);
        sorgente = immagine;
        immagine = backup;
        ScriviValore(immagine, OffsetNumeroSavegame, 4, numero);
        f = ~f;
    } else {
        sorgente = backup;
    }
    if (f & RipristinaOggetti) CopiaByte(immagine, sorgente, 369, 399);
    if (f & RipristinaPosizioneLara) {
        MoveableStruct lara, corrente;
        int32_t punteggio = 0;
        if (!Cerca(sorgente, true, -1, lara, punteggio)) {
            StampaLog("ERROR: Not found Lara structure in backup file", true);
            return Fallito(errore);
        }
        if (!Cerca(immagine, true, -1, corrente, punteggio)) {
            StampaLog("ERROR: Not found Lara structure in current savegame", true);
            return Fallito(errore);
        }
        corrente.PosX = lara.PosX;
        corrente.PosY = lara.PosY;
        corrente.PosZ = lara.PosZ;
        corrente.Room = lara.Room;
        corrente.Orientation = lara.Orientation;
        ScriviPosizioneMoveable(immagine, corrente);
    }
    if (f & RipristinaMedipack) CopiaByte(immagine, sorgente, 400, 405);
    if (f & RipristinaArmi) {
        CopiaByte(immagine, sorgente, 361, 367);
        CopiaByte(immagine, sorgente, 406, 427);
    }
    if (f & RipristinaStatistiche) {
        CopiaByte(immagine, sorgente, 493, 496);
        CopiaByte(immagine, sorgente, 79, 86);
        CopiaByte(immagine, sorgente, 489, 492);
        CopiaByte(immagine, sorgente, 509, 512);
        CopiaByte(immagine, sorgente, 507, 508);
        CopiaByte(immagine, sorgente, 497, 498);
    }
    return true;
}

bool CancellaCd(SavegameBin& immagine, const EquipCommand& r, bool& errore) {
    if (r.Value == -1) {
        for (int32_t i = 0; i <= UltimoIndiceCd; ++i) Scrivi(immagine, InizioArrayCd + i, 1, 0);
        return true;
    }
    if (r.Value < 0 || r.Value > UltimoIndiceCd) {
        StampaLog("ERROR: not valid CD track index = " + std::to_string(r.Value) + " (-1 or 0 to " +
                      std::to_string(UltimoIndiceCd) + ")",
                  true);
        return Fallito(errore);
    }
    Scrivi(immagine, InizioArrayCd + r.Value, 1, 0);
    return true;
}

bool UltimoInputUguale(const EquipCommand& r) {
    bool errore = false;
    const std::string testo = LeggiVariabile(IdUltimoInput, errore, false, false);
    if (errore) return false;
    const std::string citato = "\"" + r.LastInput + "\"";
    if (UgualeSenzaCaso(testo, r.LastInput)) {
        Riga("Last Input value is equal to " + citato);
        return true;
    }
    Riga("Last Input value is different than " + citato);
    return false;
}

bool LinguaUguale(const EquipCommand& r) {
    const int32_t indice = IndiceLingua(NomeLingua());
    if (indice < 0) return false;
    if (indice == r.Value) {
        Riga("Language is equal to " + NomeLinguaEquip(indice));
        return true;
    }
    Riga("Language is different than " + NomeLinguaEquip(r.Value));
    return false;
}

bool Esegui(SavegameBin& immagine, int32_t indice, const EquipCommand& r, bool& errore) {
    switch (r.CommandType) {
        case StandardCommand: return Standard(immagine, r, errore);
        case IsLaraInRoom:
        case IsEnemyInRoom: return InStanza(immagine, r);
        case IsMediaEnabled: return MediaAbilitato(r, errore);
        case MoveLaraTo: return SpostaLara(immagine, indice, r, errore);
        case KillEnemy:
        case MoveEnemyFromTo: return Nemico(immagine, indice, r, errore);
        case SetDozy: return Dozy(immagine, true, errore);
        case ClearDozy: return Dozy(immagine, false, errore);
        case DisarmLara: return Disarma(immagine);
        case BackupFile: return Backup(immagine, r, errore);
        case RestoreFile: return Ripristina(immagine, r, errore);
        case ClearUsedCD: return CancellaCd(immagine, r, errore);
        case IsLastInputTextEqualTo: return UltimoInputUguale(r);
        case IsComputerLanguageEqual: return LinguaUguale(r);
        default:
            StampaLog("ERROR: unknown command code = " + std::to_string(r.CommandType), true);
            return Fallito(errore);
    }
}

}  // namespace

int32_t LeggiTagNumerico(const std::string& testo, const std::string& tag, bool& errore) {
    std::string copia = testo;
    const std::string valore = EstraiTag(copia, tag);
    int32_t numero = 0;
    if (valore != "~" && IsNumerico(valore) && ValoreIntero32(valore, numero)) {
        errore = false;
        return numero;
    }
    errore = true;
    StampaLog("ERROR missing " + tag + " field", true);
    return 0;
}

std::string LeggiTagTesto(const std::string& testo, const std::string& tag, bool& errore) {
    std::string copia = testo;
    // A tag present with an empty value reads "~"; an absent one "".
    const std::string valore = EstraiTag(copia, tag);
    errore = valore.empty();
    if (errore) StampaLog("ERROR missing " + tag + " field", true);
    return valore == "~" ? std::string() : valore;
}

bool LeggiRecordEquip(const std::string& sezione, EquipCommand& record) {
    bool errore = false;
    record.CommandType = LeggiTagNumerico(sezione, "#COMMAND_TYPE#=", errore);
    if (errore) return false;
    record.PreviousOperator = LeggiTagNumerico(sezione, "#PREVIOUS_OPERATOR#=", errore);
    if (errore) return false;
    return TagComando(sezione, record);
}

bool LeggiEquipmentChunk(const std::string& sezione) {
    IntestazioneEquipment& h = EquipmentHeader;
    h.Flags = 0;
    h.MediaTrue = -1;
    h.MediaFalse = -1;
    h.TotRecords = 0;
    // No command of an earlier media may stay to be run by this one.
    h.Records.assign(1, EquipCommand{});
    if (sezione.empty()) return true;
    bool errore = false;
    // A field that cannot be read keeps its default.
    const auto leggi = [&](const char* tag, int32_t& campo) {
        const int32_t v = LeggiTagNumerico(sezione, tag, errore);
        if (!errore) campo = v;
        return !errore;
    };
    if (!leggi("#FLAGS#=", h.Flags) || !leggi("#MEDIA_TRUE#=", h.MediaTrue) || !leggi("#MEDIA_FALSE#=", h.MediaFalse))
        return false;
    const int32_t totale = LeggiTagNumerico(sezione, "#TOT_RECORDS#=", errore);
    if (errore) return false;
    if (totale < 0 || totale > MassimoRecordEquip) {
        StampaLog("ERROR wrong #TOT_RECORDS#= field: " + std::to_string(totale), true);
        return false;
    }
    h.TotRecords = totale;
    h.Records.assign(static_cast<size_t>(totale) + 1, EquipCommand{});
    for (int32_t k = 1; k <= totale; ++k) {
        const std::string record = EstraiSezione(sezione, "RECORD" + std::to_string(k));
        if (!LeggiRecordEquip(record, h.Records[static_cast<size_t>(k - 1)])) return false;
    }
    return true;
}

std::string FileBackupEquip(int32_t numero) { return NellaCartella(PercorsoStore, "BackS" + std::to_string(numero)); }

bool EseguiIstruzioneEquip(SavegameBin& immagine, int32_t indice, bool& errore) {
    errore = false;
    const std::string descrizione = DescriviComandoEquip(indice);
    Riga("Perform instruction: " + descrizione);
    if (indice < 0 || static_cast<size_t>(indice) >= EquipmentHeader.Records.size()) {
        StampaLog("ERROR: not found equip command " + std::to_string(indice), true);
        return Fallito(errore);
    }
    const EquipCommand r = EquipmentHeader.Records[static_cast<size_t>(indice)];
    try {
        return Esegui(immagine, indice, r, errore);
    } catch (const std::exception& e) {
        StampaLog("Error performing equip command: " + descrizione + "\r\nError: " + e.what(), true);
        return Fallito(errore);
    }
}
