// User patch files as bytes: the layout read from files built by hand,
// damaged files refused, the argument of the file name in each type, and
// the patch applied to and removed from an image.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "patcher/PatchFile.h"

namespace {

std::string I32(int32_t v) {
    std::string s(4, '\0');
    for (int k = 0; k < 4; ++k) s[k] = static_cast<char>((static_cast<uint32_t>(v) >> (8 * k)) & 0xFF);
    return s;
}

// A text of the layout: its count, then 16-bit codes.
std::string Testo(const std::string& t) {
    std::string s = I32(static_cast<int32_t>(t.size()));
    for (const char c : t) s += std::string{c, '\0'};
    return s;
}

std::string B(std::initializer_list<uint8_t> b) { return std::string(b.begin(), b.end()); }

// Two records, flags 0x12, one argument offset, type 5; by hand.
std::string FileAMano() {
    return I32(2) + I32(0x12) + I32(1) + I32(0x105) + I32(5) + I32(0) + Testo("LE_UK_Standard") + Testo("a") +
           Testo("") + I32(0x40) + I32(2) + "ab" + "AB" + I32(0x100) + I32(8) + std::string(8, '\0') +
           std::string(8, '\x90');
}

TEST(PatchFile, TheLayoutReadFromAFileBuiltByHand) {
    FilePatch p;
    std::string errore;
    ASSERT_TRUE(LeggiFilePatch(FileAMano(), p, errore)) << errore;
    EXPECT_EQ(p.NumRecord, 2);
    EXPECT_EQ(p.FlagPatch, ConArgomento | VerificaFirma);
    EXPECT_EQ(p.OffsetArgomento, std::vector<int32_t>{0x105});
    EXPECT_EQ(p.TipoArgomento, 5);
    EXPECT_EQ(p.FirmaTarget, "LE_UK_Standard");
    EXPECT_EQ(p.TestoAggiuntivo1, "a");
    EXPECT_EQ(p.TestoAggiuntivo2, "");
    ASSERT_EQ(p.Record.size(), 2u);
    EXPECT_EQ(p.Record[0].Offset, 0x40);
    EXPECT_EQ(p.Record[0].Originali, "ab");
    EXPECT_EQ(p.Record[0].Nuovi, "AB");
    EXPECT_EQ(p.Record[1].Lunghezza, 8);
    EXPECT_EQ(p.Record[1].Nuovi, std::string(8, '\x90'));
    // Our writer gives the same bytes, and bytes after the records are not read.
    EXPECT_EQ(ScriviFilePatch(p), FileAMano());
    EXPECT_TRUE(LeggiFilePatch(FileAMano() + "tail", p, errore));
}

TEST(PatchFile, DamagedFilesAreRefusedWithAReason) {
    const std::string buono = FileAMano();
    // Every cut short of the whole file.
    for (size_t n = 0; n < buono.size(); ++n) {
        FilePatch p;
        p.NumRecord = 77;
        std::string errore;
        ASSERT_FALSE(LeggiFilePatch(buono.substr(0, n), p, errore)) << n;
        EXPECT_FALSE(errore.empty());
        EXPECT_EQ(p.NumRecord, 77) << "the patch is left as it was";
    }
    const size_t testi = 24;  // the first text's count
    const size_t record = testi + 4 + 28 + 4 + 2 + 4;  // past the texts: the first record's offset
    struct Caso {
        const char* nome;
        size_t at;
        std::string byte;
        const char* motivo;
    };
    const std::vector<Caso> casi = {
        {"negative record count", 0, I32(-1), "Bad record count -1"},
        {"absurd record count", 0, I32(0x7FFFFFFF), "Input past end of file"},
        {"negative argument offsets", 8, I32(-5), "Bad argument offset count -5"},
        {"absurd argument offsets", 8, I32(0x40000000), "Input past end of file"},
        {"negative argument size", 20, I32(-8), "Bad argument size -8"},
        {"negative text length", testi, I32(-1), "Bad text length -1"},
        {"absurd text length", testi, I32(0x7FFFFFFF), "Input past end of file"},
        {"a character code past 255", testi + 4, B({0x00, 0x01}), "character code 256"},
        {"negative record length", record + 4, I32(-2), "Bad record length -2 in record 0"},
        {"empty record", record + 4, I32(0), "Bad record length 0 in record 0"},
        {"absurd record length", record + 4, I32(0x7FFFFFF0), "Input past end of file"},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        std::string d = buono;
        d.replace(c.at, c.byte.size(), c.byte);
        FilePatch p;
        std::string errore;
        EXPECT_FALSE(LeggiFilePatch(d, p, errore));
        EXPECT_NE(errore.find(c.motivo), std::string::npos) << errore;
    }
}

TEST(PatchFile, TheArgumentLiesBetweenTheFirstTwoHashesOfTheName) {
    struct Caso {
        const char* percorso;
        bool ok;
        std::string argomento;
        const char* motivo;
    };
    const std::vector<Caso> casi = {
        {"C:\\store\\Color#255#.ptc", true, "255", ""},
        {"C:\\a#1#b\\Speed#-3.5#more#.ptc", true, "-3.5", ""},
        {"Name#ab cd#", true, "ab cd", ""},
        {"Empty##.ptc", true, "", ""},
        {"C:\\x#1#\\Plain.ptc", false, "", "Missing characters '#' used to delimite argument"},
        {"Half#300.ptc", false, "", "Missing ending character '#' used to delimite argument in patch name"},
        {"Ext#1.2#.p#c", true, "1.2", ""},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.percorso);
        std::string argomento = "x", motivo;
        EXPECT_EQ(ArgomentoDaNome(c.percorso, argomento, motivo), c.ok);
        EXPECT_EQ(argomento, c.argomento);
        EXPECT_EQ(motivo, c.motivo);
    }
}

TEST(PatchFile, OneNumberGrammarForEveryType) {
    struct Caso {
        const char* testo;
        bool ok;
        double valore;
    };
    const std::vector<Caso> casi = {
        {"300", true, 300},    {" -12 ", true, -12},  {"+7", true, 7},          {"2.5", true, 2.5},
        {".5", true, 0.5},     {"5.", true, 5},       {"&HFF", true, 255},      {"&h1a", true, 26},
        {"&HFFFFFFFF", true, -1}, {"&H123456789", false, 0}, {"&H", false, 0}, {"&HG1", false, 0},
        {"2,5", false, 0},     {"1e3", false, 0},     {"", false, 0},           {"-", false, 0},
        {".", false, 0},       {"1.2.3", false, 0},   {"12a", false, 0},        {"--1", false, 0},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.testo);
        double v = 0;
        EXPECT_EQ(LeggiNumeroArgomento(c.testo, v), c.ok);
        if (c.ok) EXPECT_DOUBLE_EQ(v, c.valore);
    }
    struct Byte {
        int32_t valore, n;
        bool ok;
        std::string byte;
    };
    const std::vector<Byte> numeri = {
        {255, 1, true, B({0xFF})},          {256, 1, false, ""},
        {256, 2, true, B({0x00, 0x01})},    {300, 4, true, B({0x2C, 0x01, 0x00, 0x00})},
        {-1, 4, true, B({0xFF, 0xFF, 0xFF, 0xFF})}, {-1, 2, false, ""},
        {0, 1, true, B({0x00})},
    };
    for (const Byte& c : numeri) {
        SCOPED_TRACE(c.valore);
        std::string byte = "unchanged", messaggio;
        EXPECT_EQ(NumeroInByte(byte, c.valore, c.n, messaggio), c.ok);
        if (c.ok) EXPECT_EQ(byte, c.byte);
        else EXPECT_EQ(messaggio, "ERROR: It's not possible keep argument with value " + std::to_string(c.valore) +
                                      " using only " + std::to_string(c.n) + " bytes");
    }
    int32_t bit = 0;
    EXPECT_TRUE(SingleInByte("1", bit));
    EXPECT_EQ(bit, 0x3F800000);
    EXPECT_TRUE(SingleInByte("-2.5", bit));
    EXPECT_EQ(static_cast<uint32_t>(bit), 0xC0200000u);
}

// A patch of two records over 16 bytes at 0x100 and 8 at 0x200, taking an
// argument of type <tipo> and size <dim> at <offset>.
FilePatch ConArgomentoA(int32_t tipo, int32_t dim, int32_t offset) {
    FilePatch p;
    p.FlagPatch = ConArgomento;
    p.TipoArgomento = tipo;
    p.DimArgomento = dim;
    p.OffsetArgomento = {offset};
    p.NumOffsetArgomento = 1;
    p.Record = {RecordPatch{0x100, 16, std::string(16, 'o'), std::string(16, 'n')},
                RecordPatch{0x200, 8, std::string(8, 'o'), std::string(8, 'n')}};
    p.NumRecord = 2;
    return p;
}

TEST(PatchFile, EachArgumentTypeGivesItsBytes) {
    struct Caso {
        const char* nome;
        int32_t tipo, dim, offset;
        std::string argomento;
        bool ok;
        std::string nuovi2;  // the second record's new bytes
        std::string messaggio;
    };
    const std::string n8(8, 'n');
    const std::vector<Caso> casi = {
        {"type 5", 5, 0, 0x202, "300", true, "nn" + B({0x2C, 0x01, 0x00, 0x00}) + "nn", ""},
        {"type 4", 4, 0, 0x200, "-2", false, n8, "ERROR: It's not possible keep argument with value -2 using only 2 bytes"},
        {"type 4 hexadecimal", 4, 0, 0x206, "&H1234", true, "nnnnnn" + B({0x34, 0x12}), ""},
        {"type 3 too large", 3, 0, 0x202, "300", false, n8,
         "ERROR: It's not possible keep argument with value 300 using only 1 bytes"},
        {"type 3 rounds half to even", 3, 0, 0x200, "2.5", true, B({0x02}) + "nnnnnnn", ""},
        {"type 1 padded", 1, 8, 0x200, "ab", true, "ab      ", ""},
        {"type 1 cut", 1, 3, 0x200, "abcdef", true, "abcnnnnn", ""},
        {"type 2 with its zero", 2, 8, 0x200, "ab", true, "ab" + std::string(1, '\0') + "nnnnn", ""},
        {"type 6", 6, 0, 0x204, "1", true, "nnnn" + B({0x00, 0x00, 0x80, 0x3F}), ""},
        {"not numeric", 5, 0, 0x200, "fast", false, n8,
         "ERROR: current patch requires a numeric argument but the argument 'fast' is not numeric"},
        {"not numeric for a float", 6, 0, 0x200, "1,5", false, n8,
         "ERROR: current patch requires a numeric (float) argument but the argument '1,5' is not numeric"},
        {"too large for 32 bits", 5, 0, 0x200, "3000000000", false, n8,
         "ERROR trying to apply binary patch. Error mexage: Overflow"},
        {"too large for a single", 6, 0, 0x200, "1" + std::string(40, '0'), false, n8,
         "ERROR trying to apply binary patch. Error mexage: Overflow"},
        {"no type", 7, 0, 0x200, "1", false, n8,
         "Error trying to applicate patch: Tune#1#.ptc\r\nMissing Argument type or argument text in current patch"},
        {"offset in no record", 5, 0, 0x150, "1", false, n8,
         "ERROR: cann't found offset of macro corresponding to argumento offset 0x150"},
        {"argument past its record", 5, 0, 0x206, "1", false, n8,
         "ERROR trying to apply binary patch. Error mexage: Subscript out of range: the argument at 0x206 goes past "
         "its record"},
        {"absurd text size", 1, 0x7FFFFFFF, 0x200, "ab", false, n8,
         "ERROR trying to apply binary patch. Error mexage: Subscript out of range: the argument does not fit in its "
         "record"},
        {"empty argument", 5, 0, 0x200, "", false, n8, ""},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        FilePatch p = ConArgomentoA(c.tipo, c.dim, c.offset);
        std::string messaggio;
        const std::string nome = c.tipo == 7 ? "Tune#1#.ptc" : "Tune#" + c.argomento + "#.ptc";
        EXPECT_EQ(PreparaArgomento(p, nome, messaggio), c.ok);
        EXPECT_EQ(p.Record[1].Nuovi, c.nuovi2);
        EXPECT_EQ(p.Record[0].Nuovi, std::string(16, 'n'));
        EXPECT_EQ(messaggio, c.messaggio);
    }
    // The first record that holds the offset takes the argument.
    FilePatch p = ConArgomentoA(5, 0, 0x104);
    p.Record.insert(p.Record.begin(), RecordPatch{0x102, 4, "oooo", "nnnn"});
    std::string messaggio;
    EXPECT_FALSE(PreparaArgomento(p, "X#1#.ptc", messaggio)) << "0x104 in a 4-byte record from 0x102";
    p = ConArgomentoA(5, 0, 0x104);
    EXPECT_TRUE(PreparaArgomento(p, "X#1#.ptc", messaggio));
    EXPECT_EQ(p.Record[0].Nuovi, "nnnn" + B({1, 0, 0, 0}) + "nnnnnnnn");
    EXPECT_FALSE(PreparaArgomento(p, "C:\\x#1#\\NoArgument.ptc", messaggio));
    EXPECT_EQ(messaggio,
              "Error trying to applicate patch: C:\\x#1#\\NoArgument.ptc\r\nMissing characters '#' used to delimite "
              "argument");
}

FilePatch Patch(int32_t flag, std::vector<RecordPatch> record) {
    FilePatch p;
    p.FlagPatch = flag;
    p.Record = std::move(record);
    p.NumRecord = static_cast<int32_t>(p.Record.size());
    return p;
}

TEST(PatchFile, RelocationAnchorsAndStatesOnAnImage) {
    std::string base(1000, '.');
    // The code lies 48 bytes higher than the records say.
    base.replace(348, 6, "LONGER");
    base.replace(448, 2, "sh");
    const FilePatch riloca =
        Patch(Riloca, {RecordPatch{300, 6, "LONGER", "longer"}, RecordPatch{400, 2, "sh", "SH"}});
    std::string immagine = base;
    EXPECT_EQ(ApplicaFilePatch(riloca, immagine, false), Applicata);
    EXPECT_EQ(immagine.substr(348, 6), "longer");
    EXPECT_EQ(immagine.substr(448, 2), "SH");
    std::string copia = immagine;
    EXPECT_EQ(ApplicaFilePatch(riloca, copia, false), GiaApplicata);
    EXPECT_EQ(copia, immagine);
    EXPECT_EQ(ApplicaFilePatch(riloca, copia, true), Applicata);
    EXPECT_EQ(copia, base);
    EXPECT_EQ(ApplicaFilePatch(riloca, copia, true), GiaApplicata);
    // Half of it in place: neither state, nothing written.
    copia = base;
    copia.replace(448, 2, "SH");
    const std::string mezza = copia;
    EXPECT_EQ(ApplicaFilePatch(riloca, copia, false), NonRiconosciuta);
    EXPECT_EQ(copia, mezza);

    // An anchor whose new bytes differ is found, but never written, in
    // both directions.
    std::string conAncora(1000, '.');
    conAncora.replace(584, 6, "ANCHOR");
    conAncora.replace(610, 3, "old");
    const FilePatch ancorata = Patch(Riloca | CercaAncora, {RecordPatch{600, 6, "ANCHOR", "xxxxxx"},
                                                            RecordPatch{626, 3, "old", "new"}});
    immagine = conAncora;
    EXPECT_EQ(ApplicaFilePatch(ancorata, immagine, false), Applicata);
    EXPECT_EQ(immagine.substr(584, 6), "ANCHOR");
    EXPECT_EQ(immagine.substr(610, 3), "new");
    EXPECT_EQ(ApplicaFilePatch(ancorata, immagine, false), GiaApplicata);
    EXPECT_EQ(ApplicaFilePatch(ancorata, immagine, true), Applicata);
    EXPECT_EQ(immagine, conAncora);
    EXPECT_EQ(ApplicaFilePatch(ancorata, immagine, true), GiaApplicata);

    // Force writes whatever is there; an anchor alone has nothing to write.
    immagine = base;
    EXPECT_EQ(ApplicaFilePatch(Patch(Forza, {RecordPatch{10, 2, "zz", "ok"}}), immagine, false), Applicata);
    EXPECT_EQ(immagine.substr(10, 2), "ok");
    EXPECT_EQ(ApplicaFilePatch(Patch(CercaAncora, {RecordPatch{10, 2, "ok", "no"}}), immagine, false),
              NonRiconosciuta);
    EXPECT_EQ(ApplicaFilePatch(Patch(0, {}), immagine, false), NonRiconosciuta);
}

}  // namespace
