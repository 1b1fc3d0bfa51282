// E-mail media at the end of the run: email_data.txt with the author's
// fields, written only after the date and opened only when written whole.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "core/MediaTrigger.h"
#include "core/SharedState.h"
#include "media/EmailMedia.h"
#include "runservices/RunHooks.h"
#include "tests/core/LogLines.h"
#include "tests/support/TestFolders.h"

namespace {

struct Apertura {
    std::string percorso, contenuto;
};
std::vector<Apertura> Aperture;
bool EsitoApertura = true;
DataOra Oggi;
std::string UltimoSalvato;

class EmailMedia : public ConRigheLogTenute {
protected:
    void SetUp() override {
        ConRigheLogTenute::SetUp();
        ganci_ = Ganci;
        apri_ = ApriFileEmail;
        data_ = DataOdierna;
        trlePrima_ = CartellaTrle;
        CartellaTrle = trle.Percorso();
        Aperture.clear();
        EsitoApertura = true;
        Oggi = DataOra{2024, 6, 15};
        UltimoSalvato.clear();
        ApriFileEmail = [](const std::string& percorso) {
            Aperture.push_back({percorso, LeggiFileProva(percorso)});
            return EsitoApertura;
        };
        DataOdierna = [] { return Oggi; };
        Ganci.LeggiUltimoSavegame = [](std::string& percorso, std::string& immagine) {
            percorso = UltimoSalvato;
            immagine.clear();
            return false;
        };
        ListaMedia = {Email(7, "#SENDTO#first@x.it#\r\n"), Email(8, "#SENDTO#author@level.it#\r\n#SUBJECT#Done!#\r\n"),
                      MediaTrigger{}};
        IndiceEmailFinale = -1;
    }
    void TearDown() override {
        Ganci = ganci_;
        ApriFileEmail = apri_;
        DataOdierna = data_;
        CartellaTrle = trlePrima_;
        SetFileAttributesA(File().c_str(), FILE_ATTRIBUTE_NORMAL);
        ListaMedia.assign(1, MediaTrigger{});
        MediaCorrente = MediaTrigger{};
        IndiceEmailFinale = -1;
        ConRigheLogTenute::TearDown();
    }
    static MediaTrigger Email(int32_t codice, const std::string& sezione) {
        MediaTrigger m;
        m.TypeFlags = BitEmail;
        m.MediaCode = codice;
        m.Syntax = "<SEND_EMAIL>" + sezione + "<END_SEND_EMAIL>";
        m.Text = "<TEXT>Dear author,\r\nI finished it.<END_TEXT>";
        return m;
    }
    std::string File() const { return trle / "email_data.txt"; }
    static std::string Atteso(const std::string& a, const std::string& oggetto, const std::string& savegame,
                              const std::string& corpo) {
        const std::string t(71, '-');
        std::string testo = "You should send an email to: " + a + "\r\nWith subject: " + oggetto + "\r\n";
        if (!savegame.empty()) testo += "With enclosed the file (savegame) you find in: " + savegame + "\r\n";
        return testo + "With following body:\r\n" + t + "\r\n" + corpo + "\r\n" + t + "\r\n";
    }

    CartellaProva trle{"eml"};
    GanciRun ganci_;
    bool (*apri_)(const std::string&) = nullptr;
    DataOra (*data_)() = nullptr;
    std::string trlePrima_;
};

TEST_F(EmailMedia, TheKeptTriggerIsWrittenAndOpenedOnce) {
    std::string errore = "stale";
    EseguiEmailFinale(errore);
    EXPECT_EQ(errore, "");
    EXPECT_TRUE(HaRiga("No send-email trigger enabled"));
    EXPECT_FALSE(EsisteFileProva(File()));

    // The later of two fired triggers is the one kept.
    IndiceEmailFinale = 1;
    EseguiEmailFinale(errore);
    EXPECT_EQ(errore, "");
    EXPECT_EQ(IndiceEmailFinale, -1);
    EXPECT_TRUE(HaRiga("Perform send-Email media code=8"));
    const std::string atteso = Atteso("author@level.it", "Done!", "", "Dear author,\r\nI finished it.");
    EXPECT_EQ(LeggiFileProva(File()), atteso);
    ASSERT_EQ(Aperture.size(), 1u);
    EXPECT_EQ(Aperture[0].percorso, File());
    EXPECT_EQ(Aperture[0].contenuto, atteso);
    EXPECT_FALSE(EsisteFileProva(trle / "_tem_email_data.txt"));
    EXPECT_EQ(NumErroriLog, 0);

    // Performed once per run.
    EseguiEmailFinale(errore);
    EXPECT_EQ(Aperture.size(), 1u);
}

TEST_F(EmailMedia, TheMailIsDueOnlyAfterItsDate) {
    struct Caso {
        DataOra oggi;
        bool scritto;
    };
    const Caso casi[] = {
        {{2005, 12, 31}, false}, {{2006, 1, 1}, true},  {{2005, 12, 30}, false},
        {{2004, 12, 31}, false}, {{2006, 1, 31}, true}, {{2005, 11, 31}, false},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(std::to_string(c.oggi.Anno) + "-" + std::to_string(c.oggi.Mese) + "-" +
                     std::to_string(c.oggi.Giorno));
        BufferLog.clear();
        Aperture.clear();
        DeleteFileA(File().c_str());
        Oggi = c.oggi;
        MediaCorrente = Email(9, "#SENDTO#a@b.c#\r\n#SUBJECT#s#\r\n#MINDATE#31/12/2005#\r\n");
        std::string errore = "stale";
        EXPECT_TRUE(EseguiSendEmail(errore));
        EXPECT_EQ(errore, "");
        EXPECT_EQ(EsisteFileProva(File()), c.scritto);
        EXPECT_EQ(Aperture.size(), c.scritto ? 1u : 0u);
        EXPECT_EQ(HaRiga("Email date is expired"), !c.scritto);
    }
}

TEST_F(EmailMedia, FieldsAndTheEnclosedSavegame) {
    struct Caso {
        const char* sezione;
        std::string savegame;
        std::string atteso;
    };
    const std::string corpo = "Dear author,\r\nI finished it.";
    const std::string slot = trle / "savegame.3";
    const Caso casi[] = {
        // No closing "#": the field stays empty.
        {"#SENDTO#nobody\r\n", "", Atteso("", "", "", corpo)},
        {"#sendto#x@y.z#\r\n#Subject#Hi#\r\n", "", Atteso("x@y.z", "Hi", "", corpo)},
        // Asked for, but the game folder holds none: no line.
        {"#SENDTO#x@y.z#\r\n#SENDSAVEGAME#\r\n", "", Atteso("x@y.z", "", "", corpo)},
        {"#SENDTO#x@y.z#\r\n#SENDSAVEGAME#\r\n", slot, Atteso("x@y.z", "", slot, corpo)},
        // Not asked for: no line, whatever the folder holds.
        {"#SENDTO#x@y.z#\r\n", slot, Atteso("x@y.z", "", "", corpo)},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.sezione);
        BufferLog.clear();
        UltimoSalvato = c.savegame;
        MediaCorrente = Email(9, c.sezione);
        std::string errore;
        EXPECT_TRUE(EseguiSendEmail(errore));
        EXPECT_EQ(LeggiFileProva(File()), c.atteso);
        EXPECT_EQ(HaRigaCheInizia("Enclose in mail last savegame:"),
                  std::string(c.sezione).find("SENDSAVEGAME") != std::string::npos);
    }
}

TEST_F(EmailMedia, AFileNotWrittenOrNotOpenedIsAFailure) {
    // A stale file from an earlier run that cannot be replaced.
    ASSERT_TRUE(ScriviFileProva(File(), "earlier run"));
    SetFileAttributesA(File().c_str(), FILE_ATTRIBUTE_READONLY);
    IndiceEmailFinale = 0;
    std::string errore;
    EseguiEmailFinale(errore);
    EXPECT_EQ(errore, "unable to write file " + File());
    EXPECT_TRUE(Aperture.empty());
    EXPECT_EQ(LeggiFileProva(File()), "earlier run");
    EXPECT_FALSE(EsisteFileProva(trle / "_tem_email_data.txt"));

    SetFileAttributesA(File().c_str(), FILE_ATTRIBUTE_NORMAL);
    EsitoApertura = false;
    MediaCorrente = ListaMedia[0];
    EXPECT_FALSE(EseguiSendEmail(errore));
    EXPECT_EQ(errore, "unable to open file " + File() + " with its associated program");
    EXPECT_EQ(Aperture.size(), 1u);
}

}  // namespace
