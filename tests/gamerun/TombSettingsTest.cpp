// The game's registry settings and their crash-recovery copy, on a registry
// key of the test's own under Wine.
#include <windows.h>

#include <map>
#include <string>

#include "core/FileUtils.h"
#include "core/SystemUtils.h"
#include "runservices/TombSettings.h"
#include "tests/gamerun/RunFixture.h"
#include "tests/support/TestRegistry.h"

namespace {

class TombSettings : public ProvaRun {
protected:
    void SetUp() override {
        ProvaRun::SetUp();
        radice = "Software\\LudovaneTest\\" + std::to_string(GetCurrentProcessId()) + "_" +
                 std::to_string(++contatore);
        ChiaveRegistroTomb = radice + "\\";
    }
    void TearDown() override {
        CancellaAlberoRegistro(HKEY_CURRENT_USER, radice);
        ChiaveRegistroTomb = "Software\\Core Design\\Tomb Raider Level Editor\\";
        ProvaRun::TearDown();
    }

    void Metti(const std::string& sotto, const std::string& nome, DWORD valore) {
        ASSERT_TRUE(MettiValoreRegistro(radice, sotto, nome, valore));
    }

    // Every value of Game and System as the registry holds it.
    std::map<std::string, ValoreGrezzo> Fotografia() const { return FotografiaRegistro(radice); }

    void RegistroDelGioco() { ScriviRegistroDelGioco(radice); }

    std::string radice;
    static inline int contatore = 0;
};

TEST_F(TombSettings, FirstExecutionWritesEveryDefault) {
    ASSERT_TRUE(ReadTombSettings());
    EXPECT_TRUE(HaRiga("Missing Level Editor settings in windows registry (first execution)"));
    EXPECT_TRUE(HaRiga("Write default settings in windows registry"));
    const ImpostazioniTomb d;
    EXPECT_TRUE(ImpostazioniTombCorrenti == d);
    const auto f = Fotografia();
    EXPECT_EQ(f.size(), 25u + 15u);
    const int16_t attesi[NumeroTastiGioco] = {200, 208, 203, 205, 52, 53, 54, 184, 157,
                                              57,  51,  82,  207, 1,  211, 209, 25, 28};
    for (int i = 0; i < NumeroTastiGioco; ++i) {
        EXPECT_EQ(LeggiValoreRegistro("Game\\Key" + std::to_string(i)), attesi[i]) << i;
        EXPECT_EQ(d.Tasti[i], d.TastiDefault[i]);
    }
    const std::map<std::string, int> valori = {
        {"Game\\AutoTarget", 1}, {"Game\\ControlMethod", 0}, {"Game\\MusicVolume", 80}, {"Game\\SFXVolume", 90},
        {"Game\\SoundQuality", 1}, {"Game\\WindowX", 0},     {"Game\\WindowY", 0},      {"System\\BumpLow", 0},
        {"System\\BumpMap", 0},   {"System\\D3D", 1},        {"System\\DD", 0},         {"System\\DisableSound", 0},
        {"System\\DS", 0},        {"System\\Filter", 1},     {"System\\HardWare", 1},   {"System\\NoFMV", 0},
        {"System\\Setup", 1},     {"System\\TextLow", 0},    {"System\\TFormat", 0},    {"System\\VMode", 10},
        {"System\\Volumetric", 0}, {"System\\Window", 0}};
    for (const auto& [percorso, valore] : valori) {
        EXPECT_EQ(LeggiValoreRegistro(percorso), valore) << percorso;
        EXPECT_EQ(f.at(percorso).tipo, static_cast<DWORD>(REG_DWORD)) << percorso;
    }
}

TEST_F(TombSettings, ReadsWholeValuesWithTheirSign) {
    RegistroDelGioco();
    ASSERT_TRUE(ReadTombSettings());
    const ImpostazioniTomb& imp = ImpostazioniTombCorrenti;
    EXPECT_EQ(imp.Tasti[0], 300);
    EXPECT_EQ(imp.Tasti[17], 317);
    EXPECT_EQ(imp.AutoTarget, 0);
    EXPECT_EQ(imp.ControlMethod, 1);
    EXPECT_EQ(imp.SFXVolume, -1);
    EXPECT_EQ(imp.WindowX, -37);
    EXPECT_EQ(imp.WindowY, 70000);
    EXPECT_EQ(imp.D3D, 200);
    int16_t tasto = 0, predefinito = 0;
    ASSERT_NE(TastiAzioneGioco, nullptr);
    ASSERT_TRUE(TastiAzioneGioco(tasto, predefinito));
    EXPECT_EQ(tasto, 308);
    EXPECT_EQ(predefinito, 157);
    EXPECT_EQ(LeggiValoreRegistro("Game\\WindowY"), 70000);
    EXPECT_EQ(LeggiValoreRegistro("game\\windowx"), 4294967296LL - 37);
    EXPECT_EQ(LeggiValoreRegistro("Game\\Nothing"), -1);
    EXPECT_TRUE(HaRiga("ERROR reading value for registery key : " + radice + "\\Game\\Nothing"));
    EXPECT_EQ(LeggiValoreRegistro("Absent\\Key0"), -1);
    EXPECT_TRUE(HaRiga("Missing registery key: " + radice + "\\Absent"));
    EXPECT_FALSE(ScriviValoreRegistro("Absent\\Key0", 1));
    EXPECT_TRUE(HaRiga("Error opening registery for writing key: " + radice + "\\Absent"));
}

TEST_F(TombSettings, AValueThatIsNoNumberDoesNotHideTheOthers) {
    RegistroDelGioco();
    HKEY h = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, (radice + "\\Game").c_str(), 0, KEY_ALL_ACCESS, &h), ERROR_SUCCESS);
    const std::string testo(100, 'x');
    RegSetValueExA(h, "AAAComment", 0, REG_SZ, reinterpret_cast<const BYTE*>(testo.c_str()), 101);
    RegSetValueExA(h, "MusicVolumeText", 0, REG_SZ, reinterpret_cast<const BYTE*>(testo.c_str()), 101);
    RegCloseKey(h);
    ASSERT_TRUE(ReadTombSettings());
    EXPECT_EQ(ImpostazioniTombCorrenti.MusicVolume, 55);
    EXPECT_EQ(LeggiValoreRegistro("Game\\AAAComment"), -1);
}

TEST_F(TombSettings, AByteValueItCannotHoldFailsTheRead) {
    RegistroDelGioco();
    Metti("System", "VMode", 256);
    EXPECT_FALSE(ReadTombSettings());
    EXPECT_TRUE(HaRigaCheInizia("ERROR in ReadTombSettings() : "));
}

TEST_F(TombSettings, RoundTripGivesBackTheSameBytes) {
    RegistroDelGioco();
    const auto prima = Fotografia();
    ASSERT_TRUE(ReadTombSettings());
    ImpostazioniTombSalvate = ImpostazioniTombCorrenti;
    // What a run changes: System values and the window's place.
    ImpostazioniTombCorrenti.Window = 1;
    ImpostazioniTombCorrenti.WindowX = ImpostazioniTombCorrenti.WindowY = 0;
    ImpostazioniTombCorrenti.BumpMap = 1;
    ImpostazioniTombCorrenti.VMode = 3;
    ASSERT_TRUE(ScriviSettingsTomb(ImpostazioniTombCorrenti, true));
    EXPECT_NE(Fotografia(), prima);
    EXPECT_EQ(LeggiValoreRegistro("Game\\Key3"), 303);  // Game keys untouched by a System write
    ASSERT_TRUE(ScriviSettingsTomb(ImpostazioniTombSalvate, false));
    EXPECT_EQ(Fotografia(), prima);
}

TEST_F(TombSettings, ACrashedRunIsUndoneByTheNextOne) {
    RegistroDelGioco();
    const auto prima = Fotografia();
    // The crashed run: settings saved, changed in the registry, never restored.
    ASSERT_TRUE(ReadTombSettings());
    EXPECT_FALSE(LeggiOldSettings(ImpostazioniTombCorrenti));
    EXPECT_TRUE(HaRiga("Missing Old_Settings.trg (ok: it means 'no previous crash')"));
    ImpostazioniTombSalvate = ImpostazioniTombCorrenti;
    SalvaOldSettings(ImpostazioniTombSalvate);
    EXPECT_TRUE(HaRiga("Saving Old_Settings.trg"));
    ImpostazioniTombCorrenti.Window = 1;
    ImpostazioniTombCorrenti.WindowX = 0;
    ImpostazioniTombCorrenti.WindowY = 0;
    ASSERT_TRUE(ScriviSettingsTomb(ImpostazioniTombCorrenti, true));
    ASSERT_TRUE(EsisteFileProva(store / "Old_Settings.trg"));

    // The next run reads the changed registry but takes the file's settings.
    ImpostazioniTombSalvate = ImpostazioniTomb{};
    ASSERT_TRUE(ReadTombSettings());
    EXPECT_EQ(ImpostazioniTombCorrenti.Window, 1);
    ASSERT_TRUE(LeggiOldSettings(ImpostazioniTombCorrenti));
    EXPECT_EQ(ImpostazioniTombCorrenti.Window, 200);
    EXPECT_EQ(ImpostazioniTombCorrenti.WindowX, -37);
    EXPECT_EQ(ImpostazioniTombCorrenti.WindowY, 70000);
    ImpostazioniTombSalvate = ImpostazioniTombCorrenti;
    SalvaOldSettings(ImpostazioniTombSalvate);
    EXPECT_EQ(LeggiFileProva(store / "Old_Settings.trg"), BytesOldSettings(ImpostazioniTombSalvate));

    // Its orderly end gives back the settings of before the crash.
    CancellaOldSettings();
    EXPECT_TRUE(HaRiga("Deleting Old_Settings.trg"));
    EXPECT_FALSE(EsisteFileProva(store / "Old_Settings.trg"));
    ASSERT_TRUE(ScriviSettingsTomb(ImpostazioniTombSalvate, false));
    EXPECT_EQ(Fotografia(), prima);
}

TEST_F(TombSettings, ACopyOfTheWrongSizeIsNotUsed) {
    for (size_t dimensione : {size_t{0}, size_t{102}, size_t{104}, size_t{206}}) {
        ASSERT_TRUE(ScriviFileProva(store / "Old_Settings.trg", std::string(dimensione, '\x07')));
        ImpostazioniTomb imp;
        imp.WindowX = -5;
        const ImpostazioniTomb prima = imp;
        AzzeraLog();
        EXPECT_FALSE(LeggiOldSettings(imp)) << dimensione;
        EXPECT_TRUE(imp == prima) << dimensione;
        EXPECT_TRUE(HaRigaCheInizia("WARNING: 'Old_Settings.trg' not used: wrong size")) << dimensione;
    }
}

TEST_F(TombSettings, ACopyReplacesWhateverWasThere) {
    struct Caso {
        const char* nome;
        bool vecchia, vecchiaSolaLettura, backupRimasto;
    };
    const Caso casi[] = {
        {"no copy yet", false, false, false},
        {"an older copy", true, false, false},
        {"a read-only older copy", true, true, false},
        {"a read-only backup left behind", true, false, true},
    };
    ImpostazioniTomb imp;
    imp.WindowX = -37;
    imp.VMode = 3;
    const std::string percorso = store / "Old_Settings.trg";
    const std::string backup = store / "backup_Old_Settings.trg";
    // Both roads: one replacing move on NT, two renames on Windows 98 and Me.
    for (int32_t piattaforma : {5, 4}) {
        static int32_t scelta;
        scelta = piattaforma;
        PiattaformaSostituzione = [] { return scelta; };
        for (const Caso& c : casi) {
            const std::string vecchia(103, '\x05');
            if (c.vecchia) {
                ASSERT_TRUE(ScriviFileProva(percorso, vecchia));
            }
            if (c.vecchiaSolaLettura) SetFileAttributesA(percorso.c_str(), FILE_ATTRIBUTE_READONLY);
            if (c.backupRimasto) {
                ASSERT_TRUE(ScriviFileProva(backup, "old"));
                SetFileAttributesA(backup.c_str(), FILE_ATTRIBUTE_READONLY);
            }
            SalvaOldSettings(imp);
            EXPECT_EQ(LeggiFileProva(percorso), BytesOldSettings(imp)) << c.nome << piattaforma;
            EXPECT_FALSE(EsisteFileProva(store / "_tem_Old_Settings.trg")) << c.nome << piattaforma;
            // The copy it replaced waits as backup until the run ends.
            if (c.vecchia)
                EXPECT_EQ(LeggiFileProva(backup), vecchia) << c.nome << piattaforma;
            else
                EXPECT_FALSE(EsisteFileProva(backup)) << c.nome << piattaforma;
            CancellaOldSettings();
            EXPECT_FALSE(EsisteFileProva(percorso)) << c.nome << piattaforma;
            EXPECT_FALSE(EsisteFileProva(backup)) << c.nome << piattaforma;
        }
    }
    PiattaformaSostituzione = PiattaformaWindows;
}

TEST_F(TombSettings, ASaveCutShortBetweenItsRenamesIsReadFromTheBackup) {
    // What a crash between the two renames leaves: the backup alone.
    ImpostazioniTomb prima;
    prima.WindowX = -37;
    prima.Window = 1;
    ASSERT_TRUE(ScriviFileProva(store / "backup_Old_Settings.trg", BytesOldSettings(prima)));
    ImpostazioniTomb imp;
    EXPECT_TRUE(LeggiOldSettings(imp));
    EXPECT_TRUE(imp == prima);
    EXPECT_TRUE(HaRiga("WARNING: missing Old_Settings.trg: using its backup copy 'backup_Old_Settings.trg'"));
    EXPECT_FALSE(HaRiga("Missing Old_Settings.trg (ok: it means 'no previous crash')"));
    EXPECT_EQ(NumErroriLog, 0);

    SalvaOldSettings(imp);
    EXPECT_EQ(LeggiFileProva(store / "Old_Settings.trg"), BytesOldSettings(prima));
    // The orderly end leaves nothing that the next run could take for a crash.
    CancellaOldSettings();
    AzzeraLog();
    EXPECT_FALSE(LeggiOldSettings(imp));
    EXPECT_TRUE(HaRiga("Missing Old_Settings.trg (ok: it means 'no previous crash')"));
}

TEST_F(TombSettings, ACopyThatCannotBeOpenedIsLoggedAndKept) {
    ImpostazioniTomb prima;
    prima.WindowX = -37;
    const std::string percorso = store / "Old_Settings.trg";
    ASSERT_TRUE(ScriviFileProva(percorso, BytesOldSettings(prima)));
    HANDLE h = CreateFileA(percorso.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ImpostazioniTomb imp;
    imp.WindowX = 5;
    EXPECT_FALSE(LeggiOldSettings(imp));
    CloseHandle(h);
    EXPECT_EQ(imp.WindowX, 5);
    EXPECT_EQ(NumErroriLog, 1);
    EXPECT_TRUE(HaRiga("ERROR: cannot open '" + percorso +
                       "' left by a previous crash: settings of windows registry are used and the file is kept"));
    EXPECT_FALSE(HaRiga("Missing Old_Settings.trg (ok: it means 'no previous crash')"));

    // Neither the run's own copy nor its end touches it.
    SalvaOldSettings(imp);
    CancellaOldSettings();
    EXPECT_EQ(LeggiFileProva(percorso), BytesOldSettings(prima));
    EXPECT_FALSE(EsisteFileProva(store / "backup_Old_Settings.trg"));

    // The next run finds the settings of before the crash.
    EXPECT_TRUE(LeggiOldSettings(imp));
    EXPECT_TRUE(imp == prima);
    CancellaOldSettings();
    EXPECT_FALSE(EsisteFileProva(percorso));
}

// The file's layout written out by hand, so that writer and reader cannot
// share a mistake.
TEST(OldSettingsLayout, FieldsLieAtTheirOffsets) {
    std::string b(DimensioneOldSettings, '\0');
    b[0] = 1;                       // AutoTarget
    b[1] = 1;                       // ControlMethod
    b[2] = char(200);               // TastiDefault[0] = 200
    b[38] = 0x01; b[39] = 0x01;     // Tasti[0] = 0x101: the default key applies
    b[40] = 52;                     // Tasti[1]
    b[42] = char(0xFE); b[43] = char(0xFF);  // Tasti[2] = -2
    b[72] = 28;                     // Tasti[17]
    b[74] = 80;                     // MusicVolume
    b[76] = 90;                     // SFXVolume
    b[78] = 1;                      // SoundQuality
    b[80] = char(0xDB); b[81] = b[82] = b[83] = char(0xFF);  // WindowX = -37
    b[84] = 0x70; b[85] = 0x11; b[86] = 0x01;                // WindowY = 70000
    b[88] = 4;                      // BumpLow
    b[90] = 9;                      // D3D
    b[91] = 2;                      // DD
    b[95] = 1;                      // HardWare
    b[100] = 12;                    // VMode
    b[102] = 1;                     // Window
    ImpostazioniTomb imp;
    std::string errore;
    ASSERT_TRUE(OldSettingsDaBytes(b, imp, errore)) << errore;
    EXPECT_EQ(imp.AutoTarget, 1);
    EXPECT_EQ(imp.ControlMethod, 1);
    EXPECT_EQ(imp.TastiDefault[0], 200);
    EXPECT_EQ(imp.Tasti[0], 0x101);
    EXPECT_EQ(imp.Tasti[1], 52);
    EXPECT_EQ(imp.Tasti[2], -2);
    EXPECT_EQ(imp.Tasti[17], 28);
    EXPECT_EQ(imp.MusicVolume, 80);
    EXPECT_EQ(imp.SFXVolume, 90);
    EXPECT_EQ(imp.SoundQuality, 1);
    EXPECT_EQ(imp.WindowX, -37);
    EXPECT_EQ(imp.WindowY, 70000);
    EXPECT_EQ(imp.BumpLow, 4);
    EXPECT_EQ(imp.D3D, 9);
    EXPECT_EQ(imp.DD, 2);
    EXPECT_EQ(imp.HardWare, 1);
    EXPECT_EQ(imp.VMode, 12);
    EXPECT_EQ(imp.Window, 1);
    EXPECT_EQ(TastoAssegnato(imp, TastoGioco::Up), 200);
    EXPECT_EQ(TastoAssegnato(imp, TastoGioco::Down), 52);
    EXPECT_EQ(BytesOldSettings(imp), b);
}

TEST(OldSettingsLayout, DefaultsAsTheGameKnowsThem) {
    const std::string b = BytesOldSettings(ImpostazioniTomb{});
    ASSERT_EQ(b.size(), 103u);
    EXPECT_EQ(b.substr(2, 36), b.substr(38, 36));
    EXPECT_EQ(static_cast<unsigned char>(b[2 + 2 * 7]), 184);  // Jump
    EXPECT_EQ(static_cast<unsigned char>(b[2 + 2 * 8]), 157);  // Action
    EXPECT_EQ(b[100], 10);                                      // VMode
}

}  // namespace
