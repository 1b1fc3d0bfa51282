// media.mcf on disk: load, the rewrite through a temporary file with its
// backup, the packet that travels with it; the window side of the syntax.
// The refused version's box is checked by the process tests, whose dialog
// watcher would otherwise race with this program's boxes.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "core/MediaConfig.h"
#include "core/MediaSyntax.h"
#include "tests/core/HandBytes.h"
#include "tests/core/LogLines.h"
#include "tests/support/TestFolders.h"

namespace {

class McfFile : public ConRigheLog {
protected:
    void TearDown() override {
        HeaderMcf = MediaConfigHeader{};
        ListaMedia.assign(1, MediaTrigger{});
        ConRigheLog::TearDown();
    }
    std::string Mcf() const { return trle / "media.mcf"; }
    CartellaProva trle{"trle"};
};

TEST_F(McfFile, MissingFileIsReportedAndChangesNothing) {
    HeaderMcf.HeaderText = "kept";
    EXPECT_FALSE(CaricaMediaMcf(Mcf()));
    UnErrore("File: " + Mcf() + " not found");
    EXPECT_EQ(HeaderMcf.HeaderText, "kept");
}

TEST_F(McfFile, LoadsAndSavesThroughATemporaryFileKeepingABackup) {
    ASSERT_TRUE(ScriviFileProva(Mcf(), mano::FileCompleto()));
    ASSERT_TRUE(CaricaMediaMcf(Mcf()));
    EXPECT_EQ(HeaderMcf.CartellaMcf, trle.Percorso());
    EXPECT_EQ(ListaMedia[1].MediaCode, 202);

    ListaMedia[0].Options |= AlreadyShown;
    std::string percorso = Mcf();
    ASSERT_TRUE(SalvaMediaConfig(percorso));
    NessunErrore();
    EXPECT_EQ(percorso, Mcf());
    EXPECT_EQ(LeggiFileProva(trle / "backup_media.mcf"), mano::FileCompleto());
    EXPECT_FALSE(EsisteFileProva(trle / "_tem_media.mcf"));
    mano::Record r = mano::PrimoRecord();
    r.options |= 0x2000;
    const std::string atteso = mano::FileCompleto().replace(
        mano::FileCompleto().size() - mano::Bytes(mano::SecondoRecord()).size() - mano::Bytes(r).size(),
        mano::Bytes(r).size(), mano::Bytes(r));
    EXPECT_EQ(LeggiFileProva(Mcf()), atteso);
}

TEST_F(McfFile, FirstSaveLeavesNoBackup) {
    HeaderMcf.CartellaMcf = trle.Percorso();
    std::string percorso = Mcf();
    ASSERT_TRUE(SalvaMediaConfig(percorso));
    EXPECT_TRUE(EsisteFileProva(Mcf()));
    EXPECT_FALSE(EsisteFileProva(trle / "backup_media.mcf"));
    ASSERT_TRUE(CaricaMediaMcf(Mcf()));
    EXPECT_EQ(HeaderMcf.TriggerCount, 0);
}

TEST_F(McfFile, FailedWriteKeepsThePreviousConfiguration) {
    ASSERT_TRUE(ScriviFileProva(Mcf(), mano::FileCompleto()));
    ASSERT_TRUE(ScriviFileProva(trle / "backup_media.mcf", "older"));
    ASSERT_TRUE(CaricaMediaMcf(Mcf()));
    // A folder in the way of the temporary file makes the write fail.
    ASSERT_TRUE(CreateDirectoryA((trle / "_tem_media.mcf").c_str(), nullptr));
    HeaderMcf.HeaderText = "changed";
    std::string percorso = Mcf();
    EXPECT_FALSE(SalvaMediaConfig(percorso));
    UnErrore("Error trying to save media configuration file to: " + Mcf());
    EXPECT_EQ(LeggiFileProva(Mcf()), mano::FileCompleto());
    EXPECT_EQ(LeggiFileProva(trle / "backup_media.mcf"), "older");
}

TEST_F(McfFile, PacketTravelsToAnotherFolder) {
    CartellaProva altra{"other"};
    ASSERT_TRUE(ScriviFileProva(Mcf(), mano::FileCompleto()));
    ASSERT_TRUE(ScriviFileProva(trle / "media.mpf", std::string(100000, 'p')));
    ASSERT_TRUE(CaricaMediaMcf(Mcf()));
    std::string percorso = altra / "media.mcf";
    ASSERT_TRUE(SalvaMediaConfig(percorso));
    EXPECT_EQ(LeggiFileProva(altra / "media.mpf"), std::string(100000, 'p'));
    EXPECT_EQ(LeggiFileProva(altra / "media.mcf"), mano::FileCompleto());
    EXPECT_EQ(HeaderMcf.CartellaMcf, altra.Percorso());

    // From a folder without a packet nothing more is copied.
    CartellaProva terza{"third"};
    ASSERT_TRUE(DeleteFileA((altra / "media.mpf").c_str()));
    percorso = terza / "media.mcf";
    ASSERT_TRUE(SalvaMediaConfig(percorso));
    EXPECT_FALSE(EsisteFileProva(terza / "media.mpf"));
}

TEST(LinguaFinestra, ForcedLanguageElseTheSystemOne) {
    const std::string prima = LinguaForzata;
    LinguaForzata = "german";
    EXPECT_EQ(NomeLingua(), "german");
    LinguaForzata.clear();
    const std::string sistema = NomeLingua();
    EXPECT_EQ(sistema, NomeLinguaDaIdentificatore(PRIMARYLANGID(GetUserDefaultLangID())));
    LinguaForzata = prima;
}

BYTE Charset(HWND h) {
    LOGFONTA dati{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(h, WM_GETFONT, 0, 0)), sizeof dati, &dati);
    return dati.lfCharSet;
}

TEST(LinguaFinestra, SectionFontCharsetReachesEveryControlWithAFont) {
    HWND finestra = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(finestra, nullptr);
    HWND etichetta = CreateWindowA("STATIC", "a", WS_CHILD, 0, 0, 50, 20, finestra, nullptr, nullptr, nullptr);
    HWND senzaFont = CreateWindowA("STATIC", "b", WS_CHILD, 0, 20, 50, 20, finestra, nullptr, nullptr, nullptr);
    HFONT font = CreateFontA(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    SendMessageA(finestra, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageA(etichetta, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    ImpostaFontSezione(finestra, 204);
    EXPECT_EQ(Charset(finestra), 204);
    EXPECT_EQ(Charset(etichetta), 204);
    EXPECT_EQ(SendMessageA(senzaFont, WM_GETFONT, 0, 0), 0);
    ImpostaFontSezione(finestra, -1);
    EXPECT_EQ(Charset(etichetta), DEFAULT_CHARSET);
    DestroyWindow(finestra);
    DeleteObject(font);
}

HFONT FontDi(HWND h) { return reinterpret_cast<HFONT>(SendMessageA(h, WM_GETFONT, 0, 0)); }
bool FontVivo(HFONT f) {
    LOGFONTA dati;
    return GetObjectA(f, sizeof dati, &dati) == sizeof dati;
}

TEST(LinguaFinestra, SectionFontsItReplacesAreFreed) {
    HWND finestra = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(finestra, nullptr);
    HWND etichetta = CreateWindowA("STATIC", "a", WS_CHILD, 0, 0, 50, 20, finestra, nullptr, nullptr, nullptr);
    HFONT font = CreateFontA(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    SendMessageA(finestra, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageA(etichetta, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    ImpostaFontSezione(finestra, 161);
    const HFONT greco = FontDi(etichetta);
    EXPECT_EQ(FontDi(finestra), greco) << "one font for the same look";
    // Every language of a long run: each font made is freed when replaced.
    std::vector<HFONT> fatti{greco};
    for (int i = 0; i < 50; ++i) {
        ImpostaFontSezione(finestra, i % 2 ? 204 : 162);
        fatti.push_back(FontDi(etichetta));
    }
    ImpostaFontSezione(finestra, -1);
    const HFONT ultimo = FontDi(etichetta);
    EXPECT_EQ(Charset(finestra), DEFAULT_CHARSET);
    for (HFONT f : fatti) EXPECT_FALSE(FontVivo(f));
    EXPECT_TRUE(FontVivo(ultimo));
    // The caller's own font is not the routine's to free.
    EXPECT_TRUE(FontVivo(font));
    DestroyWindow(finestra);
    DeleteObject(font);
}

}  // namespace
