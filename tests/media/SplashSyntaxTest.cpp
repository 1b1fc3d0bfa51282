// The "SPLASH" section of a splash screen and its animation sections: values,
// defaults, each faulty tag with its line, and the bounds of the counts.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/MediaLog.h"
#include "core/MediaTrigger.h"
#include "media/SplashSyntax.h"
#include "tests/core/LogLines.h"

namespace {

using Tag = std::map<std::string, std::string>;

// Tag lines in the order given by the map; a value of "<none>" leaves the tag out.
std::string RigheTag(const Tag& tag) {
    std::string testo;
    for (const auto& [nome, valore] : tag)
        if (valore != "<none>") testo += "#" + nome + "#=" + valore + "\r\n";
    return testo;
}

Tag AnimazioneBuona() {
    return {{"FLAGS", "33"},           {"FRAMES", "10"},         {"IMAGE", "strip.bmp"},
            {"BACK_IMAGE", "~"},       {"CYCLE_SECONDS", "2"},   {"ANIMATION_SECONDS", "4"},
            {"DELAY_SPRITE_FRAMES", "-1"}, {"SPRITE_FRAMES", "4"}, {"RECT_START", "0:100:50:150"},
            {"RECT_END", "900:100:950:150"}, {"RECT_TARGET", "0:0:1000:1000"}, {"TOT_CLIPS", "0"}};
}

std::string Sezione(const std::string& nome, const std::string& contenuto) {
    return "<" + nome + ">\r\n" + contenuto + "<END_" + nome + ">\r\n";
}

// A splash with one animation built from <animazione>, the splash's tags first.
std::string SplashCon(const Tag& animazione, const std::string& altri = "") {
    return "#FLAGS#=16\r\n#MODE#=8\r\n#CD_SOUND#=-1\r\n#END_TEXT_TIME#=2\r\n#MEDIA#=-1\r\n#TIME_OUT#=-1\r\n" + altri +
           "#TOT_ANIMATIONS#=1\r\n" + Sezione("ANIMATION1", RigheTag(animazione));
}

bool Uguale(const Rettangolo& a, const Rettangolo& b) {
    return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom;
}

class SintassiSplashTest : public ConRigheLog {
protected:
    void SetUp() override {
        ConRigheLog::SetUp();
        MediaCorrente.MediaCode = 42;
    }
    void TearDown() override {
        ParametriSplash = ParametriSplashMedia{};
        MediaCorrente = MediaTrigger{};
        ConRigheLog::TearDown();
    }
};

// Nothing of an earlier input box stays: its place and expected text are
// no defaults of the next one.
TEST_F(SintassiSplashTest, AnEmptySectionGivesTheDefaultsAndNoEarlierInputBox) {
    ParametriSplash.BoundWindow = Rettangolo{1, 2, 3, 4};
    ParametriSplash.LastInput = "kept";
    ParametriSplash.Limite = 3;
    ParametriSplash.Animazioni.resize(3);
    EXPECT_TRUE(SintassiSplash(""));
    const ParametriSplashMedia& p = ParametriSplash;
    EXPECT_EQ(p.Flags, 0x8000);
    EXPECT_EQ(p.Modo, 8);
    EXPECT_EQ(p.BackColor, 0);
    EXPECT_EQ(p.MaxChars, 12);
    EXPECT_EQ(p.CdSound, -1);
    EXPECT_EQ(p.EndTextTime, 1);
    EXPECT_EQ(p.Limite, 0);
    EXPECT_TRUE(p.Animazioni.empty());
    EXPECT_EQ(p.Codice, -1);
    EXPECT_EQ(p.TimeOut, -1);
    EXPECT_TRUE(Uguale(p.BoundWindow, Rettangolo{}));
    EXPECT_EQ(p.LastInput, "");
    NessunErrore();
}

TEST_F(SintassiSplashTest, AWholeSplashWithTwoAnimationsReadsEveryField) {
    Tag seconda = AnimazioneBuona();
    seconda["FLAGS"] = "34818";  // landscape, show back image, sound every frames
    seconda["SOUND_FRAMES"] = "3";
    seconda["BACK_IMAGE"] = "sky.jpg";
    seconda["IMAGE"] = "~";
    seconda["TOT_CLIPS"] = "2";
    seconda["CLIP1"] = "4196:100:300:400";
    seconda["CLIP2"] = "-5:0:12.5:13.5";
    seconda["START_X"] = "AV+10";
    seconda["START_Y"] = "~";
    seconda["END_X"] = "<none>";
    seconda["END_Y"] = "20";
    seconda["NEW_SECONDS"] = "#*2";
    seconda["NEW_FRAMES"] = "5";
    const std::string testo = "#flags#=&H80004\r\n#MODE#=64\r\n#CD_SOUND#=7\r\n#END_TEXT_TIME#=3\r\n#MEDIA#=12\r\n"
                              "#TIME_OUT#=30\r\n#MAX_CHARS#=20.5\r\n#BACK_COLOR#=255\r\n#TOT_ANIMATIONS#=2\r\n"
                              "#BOUND_WINDOW#=100:200:900:800\r\n#LAST_INPUT#=Lara\r\n" +
                              Sezione("ANIMATION1", RigheTag(AnimazioneBuona())) +
                              Sezione("ANIMATION2", RigheTag(seconda));
    ASSERT_TRUE(SintassiSplash(testo));
    NessunErrore();
    const ParametriSplashMedia& p = ParametriSplash;
    EXPECT_EQ(p.Flags, 0x80004);
    EXPECT_EQ(p.Modo, 64);
    EXPECT_EQ(p.CdSound, 7);
    EXPECT_EQ(p.EndTextTime, 3);
    EXPECT_EQ(p.Codice, 12);
    EXPECT_EQ(p.TimeOut, 30);
    EXPECT_EQ(p.MaxChars, 20);  // halves to even
    EXPECT_EQ(p.BackColor, 255);
    EXPECT_TRUE(Uguale(p.BoundWindow, Rettangolo{100, 200, 900, 800}));
    EXPECT_EQ(p.LastInput, "Lara");
    ASSERT_EQ(p.Limite, 2);
    ASSERT_EQ(p.Animazioni.size(), 2u);

    const DatiAnimazione& a = p.Animazioni[0];
    EXPECT_EQ(a.Flags, 33);
    EXPECT_EQ(a.Frames, 10);
    EXPECT_EQ(a.Image, "strip.bmp");
    EXPECT_EQ(a.BackImage, "");
    EXPECT_EQ(a.CycleSeconds, 2);
    EXPECT_EQ(a.AnimationSeconds, 4);
    EXPECT_EQ(a.DelaySpriteFrames, -1);
    EXPECT_EQ(a.SpriteFrames, 4);
    EXPECT_TRUE(Uguale(a.RectStart, Rettangolo{0, 100, 50, 150}));
    EXPECT_TRUE(Uguale(a.RectEnd, Rettangolo{900, 100, 950, 150}));
    EXPECT_TRUE(Uguale(a.RectTarget, Rettangolo{0, 0, 1000, 1000}));
    EXPECT_EQ(a.TotClips, 0);
    EXPECT_TRUE(a.Clips.empty());
    EXPECT_EQ(a.SoundFrames, 0);

    const DatiAnimazione& b = p.Animazioni[1];
    EXPECT_EQ(b.Flags, 34818);
    EXPECT_EQ(b.SoundFrames, 3);
    EXPECT_EQ(b.Image, "");
    EXPECT_EQ(b.BackImage, "sky.jpg");
    ASSERT_EQ(b.TotClips, 2);
    ASSERT_EQ(b.Clips.size(), 2u);
    EXPECT_TRUE(Uguale(b.Clips[0], Rettangolo{4196, 100, 300, 400}));
    EXPECT_TRUE(Uguale(b.Clips[1], Rettangolo{-5, 0, 12, 14}));
    EXPECT_EQ(b.StartX, "AV+10");
    EXPECT_EQ(b.StartY, "");
    EXPECT_EQ(b.EndX, "");
    EXPECT_EQ(b.EndY, "20");
    EXPECT_EQ(b.NewSeconds, "#*2");
    EXPECT_EQ(b.NewFrames, "5");
}

struct CasoErrore {
    const char* nome;
    std::string testo;
    std::string errore;
};

TEST_F(SintassiSplashTest, EachFaultyTagFailsWithItsOwnLine) {
    const std::string splash = "ERROR in Splash Screen Media: ";
    const std::string anim = "ERROR in animation data of Splash Media: ";
    const std::string parti = "ERROR in animation data of Splash media: wrong number of arguments in ";
    auto senza = [](const char* tag) {
        Tag t = AnimazioneBuona();
        t[tag] = "<none>";
        return SplashCon(t);
    };
    auto con = [](const char* tag, const char* valore) {
        Tag t = AnimazioneBuona();
        t[tag] = valore;
        return SplashCon(t);
    };
    Tag dueClip = AnimazioneBuona();
    dueClip["TOT_CLIPS"] = "2";
    dueClip["CLIP1"] = "0:0:10:10";
    dueClip["CLIP2"] = "0:0:10";
    const CasoErrore casi[] = {
        {"flags", "#MODE#=8\r\n", splash + "missing #flags# value"},
        {"mode", "#FLAGS#=0\r\n#MODE#=~\r\n", splash + "missing #mode# value"},
        {"cd sound", "#FLAGS#=0\r\n#MODE#=8\r\n#CD_SOUND#=x\r\n", splash + "missing #cd_sound# value"},
        {"end text", "#FLAGS#=0\r\n#MODE#=8\r\n#CD_SOUND#=1\r\n", splash + "missing #end_text_time# value"},
        {"media", "#FLAGS#=0\r\n#MODE#=8\r\n#CD_SOUND#=1\r\n#END_TEXT_TIME#=1\r\n#MEDIA#=\r\n",
         splash + "missing #MEDIA# value"},
        {"animations", "#FLAGS#=0\r\n#MODE#=8\r\n#CD_SOUND#=1\r\n#END_TEXT_TIME#=1\r\n#MEDIA#=1\r\n#TIME_OUT#=1\r\n",
         splash + "missing #Tot_Animations# value"},
        {"anim flags", senza("FLAGS"), anim + "missing #flags# field"},
        {"frames", con("FRAMES", "many"), anim + "missing #frames# field"},
        {"cycle", senza("CYCLE_SECONDS"), anim + "missing #Cycle_Seconds# field"},
        {"seconds", senza("ANIMATION_SECONDS"), anim + "missing #Animation_Seconds# field"},
        {"delay", senza("DELAY_SPRITE_FRAMES"), anim + "missing #Delay_sprite_frames# field"},
        {"sprites", senza("SPRITE_FRAMES"), anim + "missing #Sprite_frames# field"},
        {"rect end", con("RECT_END", "1:2:3"), parti + "#rect_end#"},
        {"rect start", con("RECT_START", "1:2:3:4:5"), parti + "#rect_start#"},
        {"rect target", senza("RECT_TARGET"), parti + "#rect_target#"},
        {"clips", senza("TOT_CLIPS"), anim + "missing #TOT_CLIPS# field"},
        {"clip parts", SplashCon(dueClip), parti + "#CLIP2#="},
        {"missing clip", con("TOT_CLIPS", "1"), parti + "#CLIP1#="},
        {"rect part", con("RECT_END", "1:two:3:4"),
         "ERROR in Splash Screen Media: not a whole number in #RECT_END#= 1:two:3:4"},
    };
    for (const CasoErrore& c : casi) {
        SCOPED_TRACE(c.nome);
        BufferLog.clear();
        NumErroriLog = 0;
        EXPECT_FALSE(SintassiSplash(c.testo));
        UnErrore(c.errore);
    }
}

TEST_F(SintassiSplashTest, CountsThatSizeArraysAreBounded) {
    const std::string splash = "ERROR in Splash Screen Media: ";
    const std::string base = "#FLAGS#=0\r\n#MODE#=8\r\n#CD_SOUND#=1\r\n#END_TEXT_TIME#=1\r\n#MEDIA#=1\r\n#TIME_OUT#=1\r\n";
    struct Caso {
        std::string testo;
        std::string errore;
    };
    auto clip = [](const char* n) {
        Tag t = AnimazioneBuona();
        t["TOT_CLIPS"] = n;
        return SplashCon(t);
    };
    const Caso casi[] = {
        {base + "#TOT_ANIMATIONS#=-1\r\n", splash + "#Tot_Animations# must be from 0 to 1000: -1"},
        {base + "#TOT_ANIMATIONS#=2000000000\r\n", splash + "#Tot_Animations# must be from 0 to 1000: 2000000000"},
        {clip("-3"), "ERROR in animation data of Splash Media: #TOT_CLIPS# must be from 0 to 1000: -3"},
        {clip("1001"), "ERROR in animation data of Splash Media: #TOT_CLIPS# must be from 0 to 1000: 1001"},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.errore);
        BufferLog.clear();
        NumErroriLog = 0;
        EXPECT_FALSE(SintassiSplash(c.testo));
        UnErrore(c.errore);
        EXPECT_LE(ParametriSplash.Animazioni.size(), 1u);
    }
    // The greatest count is taken: the array is made, and the first missing
    // section is the fault.
    BufferLog.clear();
    NumErroriLog = 0;
    EXPECT_FALSE(SintassiSplash(base + "#TOT_ANIMATIONS#=1000\r\n"));
    EXPECT_EQ(ParametriSplash.Limite, 1000);
    EXPECT_EQ(ParametriSplash.Animazioni.size(), 1000u);
    UnErrore("ERROR in animation data of Splash Media: missing #flags# field");
}

TEST_F(SintassiSplashTest, LinesThatLetTheReadingGoOn) {
    struct Caso {
        const char* nome;
        std::string testo;
        std::vector<std::string> righe;
        int32_t flagsAnimazione;
    };
    Tag suonoMancante = AnimazioneBuona();
    suonoMancante["FLAGS"] = "32769";
    Tag suonoZero = suonoMancante;
    suonoZero["SOUND_FRAMES"] = "0";
    const std::string senzaTimeOut = "#FLAGS#=524288\r\n#MODE#=8\r\n#CD_SOUND#=-1\r\n#END_TEXT_TIME#=2\r\n#MEDIA#=-1\r\n"
                                     "#TOT_ANIMATIONS#=0\r\n";
    const Caso casi[] = {
        {"time out and back colour", senzaTimeOut,
         {"ERROR missing #TIME_OUT# field in splash screen 42", "ERROR missing #back_color# field in splash screen 42"},
         -1},
        {"sound frames missing", SplashCon(suonoMancante),
         {"ERROR: in animation data of Splash Media: missing #sound_frames# field"}, 1},
        // A sound every zero frames is refused like a missing one.
        {"sound frames zero", SplashCon(suonoZero),
         {"ERROR: in animation data of Splash Media: #sound_frames# must be greater than zero: 0"}, 1},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        BufferLog.clear();
        NumErroriLog = 0;
        UltimoErrore = "previous";
        EXPECT_TRUE(SintassiSplash(c.testo));
        EXPECT_EQ(Righe(), c.righe);
        EXPECT_EQ(NumErroriLog, static_cast<int32_t>(c.righe.size()));
        EXPECT_EQ(UltimoErrore, "previous");
        if (c.flagsAnimazione >= 0) {
            ASSERT_EQ(ParametriSplash.Animazioni.size(), 1u);
            EXPECT_EQ(ParametriSplash.Animazioni[0].Flags, c.flagsAnimazione);
        }
    }
}

TEST_F(SintassiSplashTest, TheTextsEdgeCases) {
    // The splash's #FLAGS# after the first animation is that animation's.
    Tag prima = AnimazioneBuona();
    prima["FLAGS"] = "5";
    std::string testo = "#MODE#=8\r\n#CD_SOUND#=1\r\n#END_TEXT_TIME#=1\r\n#MEDIA#=1\r\n#TIME_OUT#=1\r\n"
                        "#TOT_ANIMATIONS#=1\r\n" +
                        Sezione("ANIMATION1", RigheTag(prima)) + "#FLAGS#=99\r\n";
    EXPECT_FALSE(SintassiSplash(testo));
    EXPECT_EQ(ParametriSplash.Flags, 5);
    UnErrore("ERROR in animation data of Splash Media: missing #flags# field");

    // Two animations announced, one written: the second reads an empty text.
    BufferLog.clear();
    NumErroriLog = 0;
    testo = SplashCon(AnimazioneBuona());
    testo.replace(testo.find("#TOT_ANIMATIONS#=1"), 18, "#TOT_ANIMATIONS#=2");
    EXPECT_FALSE(SintassiSplash(testo));
    UnErrore("ERROR in animation data of Splash Media: missing #flags# field");
    ASSERT_EQ(ParametriSplash.Animazioni.size(), 2u);
    EXPECT_EQ(ParametriSplash.Animazioni[0].Frames, 10);  // read before the fault, kept

    // The input box's place is read only for an input box.
    struct Caso {
        const char* modo;
        const char* bound;
        bool esito;
    };
    const Caso casi[] = {{"8", "1:2:3", true}, {"64", "1:2:3", false}, {"65", "1:2:3:4", true}};
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.modo);
        BufferLog.clear();
        NumErroriLog = 0;
        const std::string t = std::string("#FLAGS#=0\r\n#MODE#=") + c.modo +
                              "\r\n#CD_SOUND#=1\r\n#END_TEXT_TIME#=1\r\n#MEDIA#=1\r\n#TIME_OUT#=1\r\n"
                              "#TOT_ANIMATIONS#=0\r\n#BOUND_WINDOW#=" +
                              c.bound + "\r\n#LAST_INPUT#=~\r\n";
        ParametriSplash.LastInput = "old";
        ParametriSplash.BoundWindow = Rettangolo{5, 6, 7, 8};
        EXPECT_EQ(SintassiSplash(t), c.esito);
        if (c.esito) {
            NessunErrore();
        } else {
            UnErrore("ERROR in Splash Screen Media: in #BOUND_WINDOW# field is wrong argument number");
        }
        // "~" is an empty expected text; unread, no earlier one is kept.
        EXPECT_EQ(ParametriSplash.LastInput, "");
        if (std::string(c.modo) != "65") {
            EXPECT_TRUE(Uguale(ParametriSplash.BoundWindow, Rettangolo{}));
        }
    }
}

}  // namespace
