#include "core/ModuleInit.h"

#include <iterator>

#include "core/MediaLog.h"
#include "core/MoveableFields.h"
#include "core/TextUtils.h"

std::vector<std::string> NomiLingue;
int32_t NumLingue = 0;
std::vector<std::string> TabellaCampiSavegame;
int32_t TotCampiSavegame = 0;

namespace {

const char* const CampiFissi[] = {
    "004B:D:Savegame Number",
    "004F:W:Game-Time Days",
    "0051:W:Game-Time Hours",
    "0053:W:Game-Time Minutes",
    "0055:W:Game-Time Seconds",
    "0169:B:Pistols",
    "016A:B:UZI Guns",
    "016B:B:ShotGun",
    "016C:B:Crossbow",
    "016D:B:Grenadegun",
    "016E:B:Revolver",
    "016F:B:LaserSight",
    "0170:B:Binoculars",
    "0171:B:Crowbar",
    "0172:B:Mechanical Scarab",
    "0173:B:Small Waterskin",
    "0174:B:Large WaterSkin",
    "0175:B:Examine item 1",
    "0176:B:Examine item 2",
    "0177:B:Examine item 3",
    "0178:B:Puzzle item 1",
    "0179:B:Puzzle item 2",
    "017A:B:Puzzle item 3",
    "017B:B:Puzzle item 4",
    "017C:B:Puzzle item 5",
    "017D:B:Puzzle item 6",
    "017E:B:Puzzle item 7",
    "017F:B:Puzzle item 8",
    "0180:B:Puzzle item 9",
    "0181:B:Puzzle item 10",
    "0182:B:Puzzle item 11",
    "0183:B:Puzzle item 12",
    "0184:B:Combos for items 1 - 4",
    "0185:B:Combos for items 5 - 8",
    "0186:B:Keys 1 - 8",
    "0187:B:Keys 9 - 12",
    "018A:B:Pickup items 1 - 8 ",
    "018E:B:Quest items 1 - 8",
    "0190:W:Small medikit",
    "0192:W:Large Medikit",
    "0194:W:Flares",
    "0198:W:Uzi Ammo",
    "019A:W:Revolver Ammo",
    "019C:W:Shotgun Normal Ammo",
    "019E:W:Shotgun Wideshot Ammo",
    "01A0:W:Grenadegun Normal Ammo",
    "01A2:W:Grenadegun Super Ammo",
    "01A4:W:Grenadegun Flash Ammo",
    "01A6:W:Crossbow Normal Ammo",
    "01A8:W:Crossbow Poison Ammo",
    "01AA:W:Crossbow Explosive Ammo",
    "01E7:B:Level Number",
    "01ED:D:Distance",
    "01F1:W:Used ammo",
    "01FB:B:Found secrets",
    "01FC:B:Used medipacks",
    "0087:W:Poison1",
    "0089:W:Poison2",
    "0063:W:LaraStatus",
    "024A:B:CD Array",
    "02CA:B:CD in progress",
    "0196:W:Pistol Ammo",
    "0228:W:FlipMap Mask",
    "022A:W:FlipMap Array",
    "0246:B:FlipMap Signal",
    "00B5:D:Mesh Lara Butt",
    "00B9:D:Mesh Lara Right Thigh",
    "00BD:D:Mesh Lara Right Calf",
    "00C1:D:Mesh Lara Right Foot",
    "00C5:D:Mesh Lara Left Thigh",
    "00C9:D:Mesh Lara Left Calf",
    "00CD:D:Mesh Lara Left Foot",
    "00D1:D:Mesh Lara Bust",
    "00D5:D:Mesh Lara Right Arm",
    "00D9:D:Mesh Lara Right Fore-Arm",
    "00DD:D:Mesh Lara Right Hand",
    "00E1:D:Mesh Lara Left Arm",
    "00E5:D:Mesh Lara Left Fore-Arm",
    "00E9:D:Mesh Lara Left Hand",
    "00ED:D:Mesh Lara Head",
    "021B:D:Fog Bulb Color",
    "01FD:D:Screen Timer",
    "01E9:D:Game-Time Absolute",
};

const char* const CampiVariabili[] = {
    "02FF:D:Variable Last Input Value", "02FE:D:Variable A", "02FD:D:Variable B",
    "02FC:D:Variable C",                "02FB:D:Variable D",
};

void AggiungiCampo(const std::string& riga) {
    TabellaCampiSavegame.resize(static_cast<size_t>(TotCampiSavegame) + 1);
    TabellaCampiSavegame[TotCampiSavegame] = riga;
    ++TotCampiSavegame;
}

}  // namespace

void ImpostaTabelleLingueCampi() {
    NomiLingue = {"ENGLISH", "FRENCH", "JAPAN",      "ITALIAN", "DUTCH",   "RUSSIAN",
                  "SPANISH", "GERMAN", "GREEK",      "PORTUGUESE", "TURKISH", "CHINESE"};
    NumLingue = static_cast<int32_t>(NomiLingue.size());
    TabellaCampiSavegame.assign(std::begin(CampiFissi), std::end(CampiFissi));
    TotCampiSavegame = static_cast<int32_t>(TabellaCampiSavegame.size());
    for (const char* riga : CampiVariabili) AggiungiCampo(riga);
    for (int32_t i = 0; i < NumCampiMoveable; ++i) AggiungiCampo(NomeCampoMoveable(0x300 + i));
    for (int32_t i = 0; i < NumCampiMoveable; ++i) AggiungiCampo(NomeCampoMoveable(0x400 + i));
}

int32_t IndiceLingua(const std::string& nome) {
    for (int32_t i = 0; i < NumLingue && i < static_cast<int32_t>(NomiLingue.size()); ++i) {
        if (UgualeSenzaCaso(NomiLingue[i], nome)) {
            if (LogAbilitato) StampaLog("Current language=" + NomiLingue[i]);
            return i;
        }
    }
    StampaLog("ERROR: unknown language: " + nome, true);
    return -1;
}
