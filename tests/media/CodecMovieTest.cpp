// The Windows Media codec check, with codec files of our own (a version
// resource and nothing else) put where it looks: the system folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/FileUtils.h"
#include "core/SystemUtils.h"
#include "media/MovieChecks.h"
#include "platform/Clock.h"
#include "tests/core/HandBytes.h"
#include "tests/core/LogLines.h"
#include "tests/support/TestFolders.h"

namespace {

const char* const CodecFiles[] = {"wmv8ds32.ax", "msadds32.ax", "wmvds32.ax"};

class CodecMovie : public ConRigheLogTenute {
protected:
    void SetUp() override {
        ConRigheLogTenute::SetUp();
    }
    void TearDown() override {
        for (const std::string& f : posti_) CancellaFile(f);
        ConRigheLogTenute::TearDown();
    }
    static std::string Sistema(const std::string& nome) { return CartellaSpeciale(37) + "\\" + nome; }
    // A real codec of the prefix is never replaced: the test then skips.
    bool SistemaLibero() const {
        for (const char* f : CodecFiles)
            if (EsisteFile(Sistema(f))) return false;
        return true;
    }
    // <sorgente> a built codec file, or "" for a file without version.
    void Poni(const std::string& nome, const std::string& sorgente) {
        const std::string posto = Sistema(nome);
        posti_.push_back(posto);
        if (sorgente.empty())
            ASSERT_TRUE(ScriviFileProva(posto, "MZ no resource"));
        else
            ASSERT_TRUE(CopiaFile(CartellaProgrammi() + "\\" + sorgente, posto));
    }
    void Togli() {
        for (const std::string& f : posti_) CancellaFile(f);
        posti_.clear();
    }
    CartellaProva cartella{"cmv"};

private:
    std::vector<std::string> posti_;
};

std::string Rapporto(const std::vector<std::string>& righe) {
    std::string s;
    for (const std::string& r : righe) s += r + "\r\n";
    return s;
}

TEST_F(CodecMovie, TheCodecFilesAloneAreCheckedByTheirVersions) {
    if (!SistemaLibero()) GTEST_SKIP() << "the prefix has a Windows Media codec";
    const std::string v8 = Sistema("wmv8ds32.ax"), audio = Sistema("msadds32.ax"), video = Sistema("wmvds32.ax");
    struct Caso {
        const char* nome;
        std::string decoder, audio, video;  // built codec file, "" no version, "-" missing
        bool sufficiente;
        std::vector<std::string> rapporto;
    } casi[] = {
        {"no decoder", "-", "CodecV7.ax", "CodecV7.ax", false, {"Missing file for codec video 8: " + v8}},
        {"version with commas too low", "", "CodecV7.ax", "CodecV6Commas.ax", false,
         {"Codec video 8 is present: " + v8, "Audio codec version 7.0.0.1850 of file: " + audio,
          "Check for video codec ", "Video codec version 6, 4, 9, 1125 of file: " + video,
          "Too low version number: 6"}},
        {"audio without version", "", "", "CodecV7.ax", false,
         {"Codec video 8 is present: " + v8, "Not found version of file: " + audio}},
        {"audio missing", "", "-", "CodecV7.ax", false,
         {"Codec video 8 is present: " + v8, "Not found version of file: " + audio}},
        {"audio too low", "", "CodecV6Commas.ax", "CodecV7.ax", false,
         {"Codec video 8 is present: " + v8, "Audio codec version 6, 4, 9, 1125 of file: " + audio,
          "Too low version number: 6"}},
        {"a version of one part", "", "CodecV7Short.ax", "CodecV7.ax", true,
         {"Codec video 8 is present: " + v8, "Audio codec version 7 of file: " + audio, "Check for video codec ",
          "Video codec version 7.0.0.1850 of file: " + video, "Codec video ok"}},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        SetUp();
        Togli();
        if (c.decoder != "-") Poni("wmv8ds32.ax", c.decoder);
        if (c.audio != "-") Poni("msadds32.ax", c.audio);
        if (c.video != "-") Poni("wmvds32.ax", c.video);
        std::string rapporto = "old";
        EXPECT_EQ(VerificaCodecMovie("", rapporto), c.sufficiente);
        EXPECT_EQ(rapporto, Rapporto(c.rapporto));
        EXPECT_EQ(NumErroriLog, 0);
    }
}

// UTF-16 little-endian, as the header stores its texts.
std::string Wide(const std::string& testo) {
    std::string s;
    for (char c : testo) s += std::string{c, '\0'};
    return s;
}

TEST_F(CodecMovie, AMovieNamesTheCodecGenerationToCheck) {
    if (!SistemaLibero()) GTEST_SKIP() << "the prefix has a Windows Media codec";
    const std::string movie = cartella / "movie.wmv";
    const std::string corpo = Wide("Windows Media Video V7") + Wide("Windows Media Audio V7");
    ASSERT_TRUE(ScriviFileProva(movie, std::string(16, '0') + mano::I32(24 + static_cast<int64_t>(corpo.size())) +
                                           mano::I32(0) + corpo + std::string(8, '\0')));
    // A V7 movie needs no Video 8 decoder.
    Poni("msadds32.ax", "CodecV7.ax");
    Poni("wmvds32.ax", "CodecV7Short.ax");
    std::string rapporto;
    EXPECT_TRUE(VerificaCodecMovie(movie, rapporto));
    EXPECT_EQ(rapporto, Rapporto({"Check for version of WMV format", "Video=WMV7  Audio=WMA7",
                               "Audio codec version 7.0.0.1850 of file: " + Sistema("msadds32.ax"),
                               "Check for video codec WMV7", "Video codec version 7 of file: " + Sistema("wmvds32.ax"),
                               "Codec video ok"}));
    const std::vector<std::string> righe = Righe();
    ASSERT_GE(righe.size(), 4u);
    EXPECT_EQ(righe[2], "Check for audio codec WMA7");

    // A movie whose header cannot be read is not recognised.
    SetUp();
    ASSERT_TRUE(ScriviFileProva(movie, "short"));
    EXPECT_FALSE(VerificaCodecMovie(movie, rapporto));
    EXPECT_EQ(rapporto, Rapporto({"Check for version of WMV format"}));
    EXPECT_EQ(Righe(),
              (std::vector<std::string>{"Check for version of WMV format",
                                        "Damaged Windows Media header in " + movie + ": the file has 5 bytes, no header length",
                                        "Internal format not recognized"}));
}

}  // namespace
