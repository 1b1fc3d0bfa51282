#include "savegames/EquipDescriptions.h"

#include "core/LevelVariables.h"
#include "core/ModuleInit.h"
#include "core/MoveableFields.h"
#include "core/TextUtils.h"
#include "savegames/EquipCommands.h"

namespace {

const char* const NomiComandi[] = {"* Standard command *",   "IsLaraInRoom", "IsEnemyInRoom", "IsMedia#Enabled",
                                   "MoveLaraTo",             "KillEnemy",    "MoveEnemyFrom#To", "SetDozy",
                                   "ClearDozy",              "DisarmLara",   "BackupFile",    "RestoreFile",
                                   "ClearUsedCD",            "IsLastInputTextEqualTo", "IsComputerLanguageEqual"};

const char* const NomiOperatori[] = {" ... ",        "Greater than", "Less than", "Equal to", "Different than",
                                     "Bit is set",   "Bit is clear", "Set to",    "Add",      "Divide",
                                     "Multiply",     "Set bit",      "Clear bit", "Assign ->"};

const struct {
    int32_t bit;
    const char* nome;
} NomiCategorie[] = {{RipristinaTutto, "Whole Savegame"},     {RipristinaArmi, "Weapons+Ammo"},
                     {RipristinaMedipack, "Medipacks+Flares"}, {RipristinaOggetti, "PickableItems"},
                     {RipristinaNemici, "Enemies+Triggers"},   {RipristinaEsterno, ""},
                     {RipristinaPosizioneLara, "LaraPosition"}, {RipristinaStatistiche, "GameStatistics"}};

std::string SostituisciCancelletto(std::string testo, const std::string& con) {
    const size_t p = testo.find('#');
    if (p != std::string::npos) testo.replace(p, 1, con);
    return testo;
}

const EquipCommand* Record(int32_t indice) {
    if (indice < 0 || static_cast<size_t>(indice) >= EquipmentHeader.Records.size()) return nullptr;
    return &EquipmentHeader.Records[static_cast<size_t>(indice)];
}

std::string DescriviStandard(const EquipCommand& r) {
    int32_t larghezza = r.OffsetSize;
    const std::string nome = NomeCampoSavegame(r.Offset, larghezza);
    std::string testo = !nome.empty() && nome[0] == '0' ? "Offset 0x" + nome : "{" + nome + "}";
    if (r.OffsetSize == 1) testo += " [B]";
    if (r.OffsetSize == 2) testo += " [W]";
    if (r.OffsetSize == 4) testo += " [L]";
    testo += " " + NomeOperatore(r.Operation) + " ";
    if (r.Operation == OpAssign) {
        int32_t l = 0;
        return testo + NomeCampoSavegame(r.Value, l);
    }
    return testo + std::to_string(r.Value) + " (0x" + Esadecimale(r.Value) + ")";
}

}  // namespace

std::string NomeComandoSpeciale(int32_t tipo) {
    if (tipo < 0 || tipo >= static_cast<int32_t>(std::size(NomiComandi))) return "UKNOWN";
    return NomiComandi[tipo];
}

std::string NomeOperatore(int32_t codice) {
    if (codice < 0 || codice >= static_cast<int32_t>(std::size(NomiOperatori))) return "UKNOWN";
    return NomiOperatori[codice];
}

std::string NomeLinguaEquip(int32_t indice) {
    if (indice < 0 || indice >= NumLingue || static_cast<size_t>(indice) >= NomiLingue.size())
        return std::to_string(indice);
    return NomiLingue[static_cast<size_t>(indice)];
}

std::string NomeCategoriaRipristino(int32_t flags) {
    std::string testo = (flags & RipristinaEsterno) ? "(EXTERN) " : "";
    if (flags & RipristinaTutto) return testo + "Whole Savegame";
    const int32_t inventario = RipristinaArmi | RipristinaMedipack | RipristinaOggetti;
    if ((flags & inventario) == inventario) {
        testo += "All Inventory Items";
        flags &= ~inventario;
    }
    for (int32_t bit = 0x01; bit <= 0x80; bit <<= 1) {
        if (!(flags & bit)) continue;
        if (!testo.empty()) testo += "+";
        for (const auto& c : NomiCategorie)
            if (c.bit == bit) testo += c.nome;
    }
    return testo;
}

std::string NomeCampoSavegame(int32_t codice, int32_t& larghezza) {
    const std::string chiave = Hex4(codice);
    for (int32_t i = 0; i < TotCampiSavegame && static_cast<size_t>(i) < TabellaCampiSavegame.size(); ++i) {
        const std::string& riga = TabellaCampiSavegame[static_cast<size_t>(i)];
        const size_t primo = riga.find(':');
        if (primo == std::string::npos || !UgualeSenzaCaso(riga.substr(0, primo), chiave)) continue;
        const size_t secondo = riga.find(':', primo + 1);
        const std::string lettera = MaiuscoloAscii(riga.substr(primo + 1, secondo == std::string::npos ? std::string::npos : secondo - primo - 1));
        if (lettera == "D") larghezza = 4;
        if (lettera == "W") larghezza = 2;
        if (lettera == "B") larghezza = 1;
        return secondo == std::string::npos ? std::string() : riga.substr(secondo + 1);
    }
    if (codice >= IdVariabileD && codice <= IdUltimoInput) {
        std::string nome;
        NomeFileVariabile(codice, nome);
        return nome;
    }
    if (codice < 768) {
        if (codice >= 586 && codice <= 690) {
            larghezza = 1;
            return "CD Array+" + std::to_string(codice - 586);
        }
        if (codice >= 554 && codice <= 584) {
            larghezza = 2;
            return "FlipMap Array+" + std::to_string(codice - 554);
        }
        return chiave;
    }
    return NomeCampoMoveable(codice);
}

std::string DescriviPosizione(int32_t indice) {
    const EquipCommand* r = Record(indice);
    if (!r) return "";
    return "X=" + std::to_string(r->TargetX) + " Y=" + std::to_string(r->TargetY) + " Z=" + std::to_string(r->TargetZ) +
           " Room=" + std::to_string(r->TargetRoom) + " Orient.=" + Esadecimale(r->TargetOrientation & 0xFFFF);
}

std::string DescriviComandoEquip(int32_t indice) {
    const EquipCommand* r = Record(indice);
    if (!r) return "";
    const std::string s = NomeComandoSpeciale(r->CommandType);
    switch (r->CommandType) {
        case StandardCommand: return DescriviStandard(*r);
        case IsLaraInRoom:
        case IsEnemyInRoom: return s + " " + std::to_string(r->SrcRoom) + (r->Value != 0 ? " is TRUE" : " is FALSE");
        case KillEnemy: return s + " " + std::to_string(r->SrcRoom);
        case IsMediaEnabled: return SostituisciCancelletto(s, std::to_string(r->Value));
        case MoveLaraTo: return s + " " + DescriviPosizione(indice);
        case MoveEnemyFromTo: return SostituisciCancelletto(s, std::to_string(r->SrcRoom)) + " " + DescriviPosizione(indice);
        case SetDozy:
        case ClearDozy:
        case DisarmLara: return s;
        case BackupFile: return s + " " + std::to_string(r->Value) + ":";
        case RestoreFile: return s + " " + std::to_string(r->Value) + ": " + NomeCategoriaRipristino(r->RestoreFlags);
        case ClearUsedCD: return s + " " + (r->Value == -1 ? std::string("ALL") : FormatoZeri(r->Value, 3));
        case IsLastInputTextEqualTo: return s + " \"" + r->LastInput + "\"";
        case IsComputerLanguageEqual: return s + " " + NomeLinguaEquip(r->Value);
        default: return "";
    }
}
