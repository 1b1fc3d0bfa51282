// The check of the media player control and of the codec files before a
// level with movies starts, with files of our own (a version resource and
// nothing else) put where it looks, the message boxes answered by the
// dialog watcher and the link window driven as the player would.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "core/FileUtils.h"
#include "core/SharedState.h"
#include "core/SystemUtils.h"
#include "media/LinkDownload.h"
#include "media/MovieChecks.h"
#include "platform/Clock.h"
#include "tests/core/LogLines.h"
#include "tests/media/DownloadPages.h"
#include "tests/support/TestFolders.h"
#include "tests/support/TestProcesses.h"

namespace {

const std::string TestoCodecPacchetto = "All audio and video codec (working with version 6.4 and 7.1) from ";

class ControlloMediaPlayer : public ConRigheLogTenute {
protected:
    void SetUp() override {
        ConRigheLogTenute::SetUp();
        StatoGioco = 0;
    }
    void TearDown() override {
        Togli();
        StatoGioco = statoPrima_;
        ConRigheLogTenute::TearDown();
    }
    static std::string Sistema() { return CartellaSpeciale(37); }
    // The folder named like the system folder with "32" appended.
    static std::string Sistema32() { return Sistema() + "32"; }
    // A real player or codec of the prefix is never replaced: the test then skips.
    static bool Libero() {
        for (const std::string& f : {Sistema() + "\\msdxm.ocx", Sistema32() + "\\msdxm.ocx", Sistema() + "\\wmv8ds32.ax",
                                     Sistema() + "\\msadds32.ax", Sistema() + "\\wmvds32.ax"})
            if (EsisteFile(f)) return false;
        return true;
    }
    // <sorgente> a built file, or "" for a file without version.
    void Poni(const std::string& posto, const std::string& sorgente) {
        const std::string cartellaPosto = posto.substr(0, posto.find_last_of('\\'));
        if (!EsisteFileProva(cartellaPosto) && CreateDirectoryA(cartellaPosto.c_str(), nullptr))
            cartelle_.push_back(cartellaPosto);
        posti_.push_back(posto);
        if (sorgente.empty())
            ASSERT_TRUE(ScriviFileProva(posto, "MZ no resource"));
        else
            ASSERT_TRUE(CopiaFile(CartellaProgrammi() + "\\" + sorgente, posto));
    }
    void CodecBuoni() {
        Poni(Sistema() + "\\wmv8ds32.ax", "");
        Poni(Sistema() + "\\msadds32.ax", "CodecV7.ax");
        Poni(Sistema() + "\\wmvds32.ax", "CodecV7.ax");
    }
    void Togli() {
        for (const std::string& f : posti_) CancellaFile(f);
        for (const std::string& c : cartelle_) RemoveDirectoryA(c.c_str());
        posti_.clear();
        cartelle_.clear();
    }
    CartellaProva cartella{"cmp"};

private:
    std::vector<std::string> posti_;
    std::vector<std::string> cartelle_;
    int32_t statoPrima_ = StatoGioco;
};

std::vector<std::string> CodecOk() {
    const std::string s = CartellaSpeciale(37);
    return {"Codec video 8 is present: " + s + "\\wmv8ds32.ax",
            "Check for audio codec ",
            "Audio codec version 7.0.0.1850 of file: " + s + "\\msadds32.ax",
            "Check for video codec ",
            "Video codec version 7.0.0.1850 of file: " + s + "\\wmvds32.ax",
            "Codec video ok"};
}

enum class Finestra { Nessuna, Cancel, Chiusura };

TEST_F(ControlloMediaPlayer, ThePlayerAndTheCodecFilesAreCheckedByTheirVersions) {
    if (!Libero()) GTEST_SKIP() << "the prefix has a media player control or a Windows Media codec";
    const std::string sistema = Sistema();
    const std::string decoder = sistema + "\\wmv8ds32.ax";
    const std::string bassa =
        "----> Too low version. It's necessary download and install Windows Media Player 7.1 for Windows98";
    const std::string giusta =
        "----> Current version is correct to show Windows Media Video (wmv) movies with codec versions 7 and 8";
    const std::string mancante =
        "----> It's necessary download and install Windows Media Player 7.1 for Windows98";
    const std::string avvisoBassa =
        "WARNING: Media Player version too low: asked to user to download Windows Media Player 7.1 for windows98";
    const std::string fineBassa = "\r\nClick [ok] to go to Microsoft website where download Windows Media Player 7.1";
    const std::string boxCodec =
        "It's necessary download and install video codec to show correctly movies present in current level\r\n"
        "Click over link starting with 'All video codec ...' in next window";
    const std::vector<std::string> codecMancanti = {
        "Missing file for codec video 8: " + decoder,
        "WARNING: Missing codec video or audio: asked to user to download and install video codec",
        "Media Player (msdxm.ocx): 6.4.9.1125",
        giusta,
        "Missing file for codec video 8: " + decoder,
        "",
        "Codec video for Windows Media Wideo are missing or have too low version"};
    struct Caso {
        const char* nome;
        std::string player;  // built msdxm.ocx, "" no version, "-" missing
        bool nel32;          // in the "...32" folder instead of the system folder
        bool codec;          // the codec files present in good versions
        bool sufficiente;    // VersioneMediaPlayer
        bool esito;          // VerificaMediaPlayer
        std::string box;     // "" none
        bool paginaPlayer;   // the player's download page opened
        Finestra finestra;
        std::vector<std::string> righe;
    } casi[] = {
        {"6.4 passes", "MsdxmV6_4.ocx", false, true, true, true, "", false, Finestra::Nessuna, CodecOk()},
        {"6.4 written with commas passes", "CodecV6Commas.ax", false, true, true, true, "", false, Finestra::Nessuna,
         CodecOk()},
        {"7.0 passes", "MsdxmV7.ocx", false, true, true, true, "", false, Finestra::Nessuna, CodecOk()},
        {"a version of one part 7 passes", "CodecV7Short.ax", false, true, true, true, "", false, Finestra::Nessuna,
         CodecOk()},
        {"only in the 32 folder", "MsdxmV7.ocx", true, true, true, true, "", false, Finestra::Nessuna, CodecOk()},
        {"6.1 too low", "MsdxmV6_1.ocx", false, true, false, false,
         "Media Player (msdxm.ocx): 6.1.5.217\r\n" + bassa + fineBassa, true, Finestra::Nessuna,
         {avvisoBassa, "Media Player (msdxm.ocx): 6.1.5.217", bassa}},
        {"6.1 too low in the 32 folder", "MsdxmV6_1.ocx", true, true, false, false,
         "Media Player (msdxm.ocx): 6.1.5.217\r\n" + bassa + fineBassa, true, Finestra::Nessuna,
         {avvisoBassa, "Media Player (msdxm.ocx): 6.1.5.217", bassa}},
        {"missing", "-", false, true, false, false, "Media Player (msdxm.ocx): not found\r\n" + mancante + fineBassa,
         true, Finestra::Nessuna, {avvisoBassa, "Media Player (msdxm.ocx): not found", mancante}},
        {"without version", "", false, true, false, false,
         "Media Player (msdxm.ocx): not found\r\n" + mancante + fineBassa, true, Finestra::Nessuna,
         {avvisoBassa, "Media Player (msdxm.ocx): not found", mancante}},
        {"codec files missing, links closed with Cancel", "MsdxmV6_4.ocx", false, false, true, false, boxCodec, false,
         Finestra::Cancel, codecMancanti},
        {"codec files missing, links closed with the close box", "MsdxmV6_4.ocx", false, false, true, false, boxCodec,
         false, Finestra::Chiusura, codecMancanti},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        SetUp();
        Togli();
        if (c.player != "-") Poni((c.nel32 ? Sistema32() : sistema) + "\\msdxm.ocx", c.player);
        if (c.codec) CodecBuoni();
        EXPECT_EQ(VersioneMediaPlayer(), c.sufficiente);

        PagineAperte pagine(cartella.Percorso());
        ASSERT_TRUE(pagine.Pronta());
        bool esito = !c.esito;
        std::vector<BoxRegistrato> boxes;
        VistaLinkDownload vista;
        {
            Osservatore osservatore(cartella.Percorso(), "OK", 1, GetCurrentProcessId(), 30000);
            if (c.finestra == Finestra::Nessuna) {
                esito = VerificaMediaPlayer();
            } else {
                GuidaLinkDownload guida({}, c.finestra == Finestra::Cancel);
                esito = VerificaMediaPlayer();
                vista = guida.Vista();
            }
            if (c.box.empty()) osservatore.Interrompi();
            boxes = osservatore.Boxes();
        }
        EXPECT_EQ(esito, c.esito);
        if (c.box.empty()) {
            EXPECT_TRUE(boxes.empty());
        } else {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].testo, c.box);
        }
        EXPECT_EQ(Righe(), c.righe);
        EXPECT_EQ(NumErroriLog, 0);
        if (c.paginaPlayer) {
            EXPECT_EQ(pagine.Indirizzi(1), std::vector<std::string>{IndirizzoMediaPlayer});
        }
        if (c.finestra != Finestra::Nessuna) {
            EXPECT_TRUE(vista.trovata);
            EXPECT_FALSE(vista.chiusaAForza);
            EXPECT_EQ(vista.titolo, "Links where you can download codec video or Media Player 7.1");
            EXPECT_FALSE(DialogLinkDownload().Loaded());
            // Closing the window asks for no codec.
            EXPECT_EQ(StatoGioco & CodecGiaRichiesto, 0);
        }
        if (!c.paginaPlayer) {
            EXPECT_TRUE(pagine.Indirizzi(0).empty());
        }
    }
}

// Each link opens its page and stays; the codec packs lead the player to
// install a codec during this start.
TEST_F(ControlloMediaPlayer, TheLinksOpenTheirPagesAndTheCodecPacksMarkTheCodecAsAsked) {
    const struct {
        const char* nome;
        std::vector<int> clic;
        std::vector<std::string> pagine;
        bool codecRichiesto;
    } casi[] = {
        {"player and Microsoft codecs", {Label_DownloadMPlayer, Label_VideoCodec8},
         {IndirizzoMediaPlayer, IndirizzoCodecMicrosoft}, false},
        {"first codec pack", {Label_Codec64_net}, {IndirizzoCodecNet}, true},
        {"second codec pack", {Label_CodecVideo6_4_it}, {IndirizzoCodecIt}, true},
        {"none", {}, {}, false},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.nome);
        SetUp();
        PagineAperte pagine(cartella.Percorso());
        ASSERT_TRUE(pagine.Pronta());
        VistaLinkDownload vista;
        {
            // Two pages opened at once would write their record together.
            GuidaLinkDownload guida(c.clic, true, [&pagine](size_t n) { pagine.Indirizzi(n); });
            Dialog_LinkDownload& finestra = DialogLinkDownload();
            finestra.ImpostaValori();
            finestra.MostraModale();
            vista = guida.Vista();
        }
        EXPECT_TRUE(vista.trovata);
        EXPECT_TRUE(vista.visibile);
        EXPECT_FALSE(vista.chiusaAForza);
        EXPECT_EQ(vista.controlli,
                  (std::vector<std::string>{
                      "Windows Media Player 7.1 (only for Windows98) from Microsoft website",
                      "Audio and video codec  7 and 8 (working only with version  7.1) from Microsoft website",
                      TestoCodecPacchetto + SitoCodecNet, TestoCodecPacchetto + SitoCodecIt, "Cancel"}));
        EXPECT_FALSE(DialogLinkDownload().Loaded());
        EXPECT_EQ(pagine.Indirizzi(c.pagine.size()), c.pagine);
        EXPECT_EQ((StatoGioco & CodecGiaRichiesto) != 0, c.codecRichiesto);
    }
}

// The dial-up request returns whatever Windows answers, with no window.
TEST_F(ControlloMediaPlayer, TheConnectionRequestReturnsWithoutAsking) {
    ApriConnessioneInternet();
    EXPECT_EQ(NumErroriLog, 0);
}

}  // namespace
