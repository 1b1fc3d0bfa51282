#include "tools/mediafuzz/FuzzConfig.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <random>

#include "core/ImageFormats.h"

namespace {

// What a tag's value stands for, which decides its odd values.
enum class Classe {
    Numero,  // a count or a size
    Tempo,   // seconds or milliseconds the media lasts: huge only where Escape ends it
    Flags,   // bits below the limit
    Rett,    // four thousandths joined by ':'
    Colore,
    File,
    Testo,
    Codice,   // a media code performed as nested media
    Codici,   // a list of media codes joined by ':'
    Comandi,  // command codes joined by ':'
    Formula,
};

struct Tag {
    const char* nome;
    Classe classe;
    int32_t da = 0;
    int32_t a = 10;  // for Flags: the highest bit mask
};

// Numbered sections inside a section ("IMAGE1", "IMAGE2", ...) and the tag
// of their count in the parent.
struct Figli {
    const char* prefisso;
    const char* conteggio;
    std::vector<Tag> tag;
    bool conTesto = false;  // a "<TEXT>" section of their own
};

struct Sezione {
    const char* nome;
    std::vector<Tag> tag;
    std::vector<Figli> figli;
};

struct Genere {
    const char* nome;
    int32_t typeFlags;
    bool escape;  // its performer ends at the player's Escape
    std::vector<Sezione> sezioni;
};

const std::vector<Tag> TagRecord = {
    {"COMMAND_TYPE", Classe::Numero, 0, 40}, {"PREVIOUS_OPERATOR", Classe::Numero, 0, 3},
    {"VALUE", Classe::Numero, -5, 300},      {"OFFSET", Classe::Numero, 0, 2000},
    {"OFFSET_SIZE", Classe::Numero, 0, 4},   {"OPERATION", Classe::Numero, 0, 10},
    {"SRC_ROOM", Classe::Numero, 0, 50},     {"TARGET_POS", Classe::Testo},
    {"ENABLED_MEDIA", Classe::Codice},       {"RESTORE_FLAGS", Classe::Flags, 0, 0xFF},
    {"EXTERN_BACKUP", Classe::File},         {"LAST_INPUT", Classe::Testo},
};
const Sezione SezioneEquipment = {"EQUIPMENT",
                                  {{"FLAGS", Classe::Flags, 0, 0xFF},
                                   {"MEDIA_TRUE", Classe::Codice},
                                   {"MEDIA_FALSE", Classe::Codice}},
                                  {{"RECORD", "TOT_RECORDS", TagRecord}}};
const Sezione SezioneCountDown = {"COUNTDOWN",
                                  {{"START_COUNTER", Classe::Tempo, 0, 4},
                                   {"END_COUNTER", Classe::Tempo, 0, 4},
                                   {"FLAGS", Classe::Flags, 0, 0x1F}},
                                  {}};
const Sezione SezioneTestoProgressivo = {
    "PROGR_TEXT",
    {{"FLAGS", Classe::Flags, 0, 0xFF}, {"TIME", Classe::Tempo, 0, 4}, {"START_COUNT", Classe::Numero, -3, 20}},
    {}};

// A picture sequence, under a fixed or a scrolling text alike.
const Sezione SezioneSequenza = {"SEQ_IMAGE",
                                 {{"FLAGS", Classe::Flags, 0, 0xFF}},
                                 {{"IMAGE",
                                   "TOT_IMAGES",
                                   {{"IMAGE", Classe::File},
                                    {"DURATE", Classe::Tempo, 0, 100},
                                    {"I_FLAGS", Classe::Flags, 0, 0xFF},
                                    {"BOUND", Classe::Rett}}}}};

const std::vector<Genere>& Generi() {
    static const std::vector<Genere> generi = {
        {"Alert",
         BitAlert,
         false,
         {{"ALERT",
           {{"REFRESH", Classe::Numero, 1, 100},
            {"FLAGS", Classe::Flags, 0, 0xFFF},
            {"CD_BREAK", Classe::Numero, 0, 20},
            {"BACK_COLOR", Classe::Colore},
            {"STOP_PERFORM", Classe::Codice},
            {"END_PERFORM", Classe::Codice},
            {"BORDER_COLOR", Classe::Colore},
            {"BORDER_SIZE", Classe::Numero, 0, 12},
            {"IMAGE", Classe::File}},
           {}},
          SezioneCountDown,
          {"LIFE_BAR",
           {{"BAR-COLOR", Classe::Colore},
            {"D-TIME", Classe::Tempo, 0, 4},
            {"FLAGS", Classe::Flags, 0, 0xFFF},
            {"PERC-BLINK", Classe::Numero, 0, 100},
            {"PERC-REDUCTION", Classe::Numero, 0, 100},
            {"IMAGE", Classe::File}},
           {}},
          SezioneTestoProgressivo}},
        {"Image_Fixed_Text", FixedText, true, {}},
        {"Image_Scroll_Text", ScrollText, true, {}},
        {"Image_Sequence_Fixed",
         int32_t{ImageSequence} | FixedText,
         true,
         {SezioneSequenza}},
        {"Image_Sequence_Scroll",
         int32_t{ImageSequence} | ScrollText,
         true,
         {SezioneSequenza}},
        {"Keyboard",
         BitKeyboard,
         false,
         {{"KEYBOARD", {{"CODE", Classe::Codice}, {"FLAGS", Classe::Flags, 0, 0xFF}, {"HOTKEY", Classe::Testo}}, {}}}},
        {"Email",
         BitEmail,
         false,
         {{"SEND_EMAIL", {{"SENDTO", Classe::Testo}, {"SUBJECT", Classe::Testo}, {"MINDATE", Classe::Testo}}, {}}}},
        {"Sensory", BitSensory, false, {{"SENSORY", {{"CODE", Classe::Codice}, {"FLAGS", Classe::Flags, 0, 0xFFFF}}, {}}}},
        {"Guardian", BitGuardian, false, {{"GUARDIAN", {{"FLAGS", Classe::Flags, 0, 0x3F}, {"CODE", Classe::Codice}}, {}}}},
        {"Equipment", BitEquipment, false, {SezioneEquipment}},
        {"Movie", BitMovie, true, {}},
        {"Splash_Screen",
         BitSplash,
         true,
         {{"SPLASH",
           {{"FLAGS", Classe::Flags, 0, 0xFFFFF},
            {"MODE", Classe::Flags, 0, 0x7F},
            {"CD_SOUND", Classe::Numero, 0, 20},
            {"END_TEXT_TIME", Classe::Tempo, 0, 4},
            {"MEDIA", Classe::Codice},
            {"TIME_OUT", Classe::Tempo, -1, 4},
            {"MAX_CHARS", Classe::Numero, 0, 20},
            {"BACK_COLOR", Classe::Colore},
            {"BOUND_WINDOW", Classe::Rett},
            {"LAST_INPUT", Classe::Testo}},
           {{"ANIMATION",
             "TOT_ANIMATIONS",
             {{"FLAGS", Classe::Flags, 0, 0xFFFF},
              {"FRAMES", Classe::Numero, 0, 40},
              {"SOUND_FRAMES", Classe::Numero, 0, 5},
              {"IMAGE", Classe::File},
              {"BACK_IMAGE", Classe::File},
              {"CYCLE_SECONDS", Classe::Tempo, 0, 4},
              {"ANIMATION_SECONDS", Classe::Tempo, 0, 4},
              {"DELAY_SPRITE_FRAMES", Classe::Numero, -1, 5},
              {"SPRITE_FRAMES", Classe::Numero, 0, 8},
              {"RECT_START", Classe::Rett},
              {"RECT_END", Classe::Rett},
              {"RECT_TARGET", Classe::Rett},
              {"TOT_CLIPS", Classe::Numero, 0, 3},
              {"CLIP1", Classe::Rett},
              {"CLIP2", Classe::Rett},
              {"START_X", Classe::Formula},
              {"START_Y", Classe::Formula},
              {"END_X", Classe::Formula},
              {"END_Y", Classe::Formula},
              {"NEW_FRAMES", Classe::Formula},
              {"NEW_SECONDS", Classe::Formula}}}}},
          SezioneTestoProgressivo}},
        {"Exec", BitExec, false, {}},
        {"Command",
         BitCommand,
         false,
         {{"COMMAND",
           {{"FLAGS", Classe::Flags, 0, 0x1F}, {"WAIT_SECONDS", Classe::Tempo, 0, 3}, {"COMMANDS", Classe::Comandi}},
           {}}}},
        {"CountDown", BitCountDown, true, {SezioneCountDown}},
        {"Comunicator",
         BitComunicator,
         true,
         {{"COMUNICATOR",
           {{"FLAGS", Classe::Flags, 0, 0xFF}, {"T-IMAGE", Classe::File}},
           {{"PERSON", "TOT_PERSONS", {{"NAME", Classe::Testo}, {"IMAGE", Classe::File}}},
            {"SECTION",
             "TOT_SECTIONS",
             {{"INDEX", Classe::Numero, 0, 3},
              {"FLAGS", Classe::Flags, 0, 0xFF},
              {"WAIT", Classe::Tempo, 0, 3},
              {"IMAGE", Classe::File}},
             true}}}}},
        {"Switch", BitSwitch, false, {{"SWITCH", {{"FLAGS", Classe::Flags, 0, 0x3FF}, {"CODES", Classe::Codici}}, {}}}},
        {"Check", BitCheck, false, {SezioneEquipment}},
        {"Action",
         BitAction,
         false,
         {{"ACTION",
           {{"FLAGS", Classe::Flags, 0, 0xFF},
            {"MEDIA_CODE", Classe::Codice},
            {"TOLLERANCE", Classe::Numero, 0, 100},
            {"M_POINTS", Classe::Numero, 0, 100},
            {"SCREENX", Classe::Numero, 0, 1600},
            {"SCREENY", Classe::Numero, 0, 1200},
            {"RESOLUTION", Classe::Testo},
            {"IMAGE", Classe::File},
            {"BOUND", Classe::Rett}},
           {}}}},
        {"Text_Menu",
         BitTextMenu,
         true,
         {{"TEXT_MENU",
           {{"ATTEMPTS", Classe::Numero, 0, 3},
            {"FLAGS", Classe::Flags, 0, 0xFF},
            {"FAILURE_MEDIA", Classe::Codice},
            {"MAX_CHARS", Classe::Numero, 0, 20}},
           {{"MENU", "TOT_MENU", {{"VALUE", Classe::Testo}, {"MEDIA_CODE", Classe::Codice}}}}}}},
        {"Graph_Menu",
         BitGraphMenu,
         true,
         {{"GRAPH_MENU",
           {{"FLAGS", Classe::Flags, 0, 0xFF},
            {"PEN_COLOR", Classe::Colore},
            {"PEN_SIZE", Classe::Numero, 0, 8},
            {"BLINK_DELAY", Classe::Tempo, 0, 500},
            {"COLUMNS", Classe::Numero, 0, 4},
            {"S_MENU", Classe::Numero, 0, 4}},
           {{"MENU", "TOT_MENU", {{"BOUND", Classe::Rett}, {"HOTKEY", Classe::Testo}, {"MEDIA_CODE", Classe::Codice}}}}}}},
    };
    return generi;
}

// Numbers an author gets wrong: each odd value as often as a plain one.
const char* const NumeriStrani[] = {"0", "-1", "-2147483648", "2147483647", "4294967296", "99999999999999999999",
                                    "abc", "~", "", "1.5", "-0", "0x10", "&H7FFFFFFF", "1e9", " 7 ", "--3"};
const char* const TestiStrani[] = {"", "~", "#PROMPT#", "#COUNTER#", "a:b:c", "ÀÉÎ漢字", "<TEXT>", "#", "\t"};
const char* const FileCaso[] = {"rosso.bmp", "verde.bmp", "nessuno.bmp", "rotto.bmp", "suono.wav", "", "~",
                                "..\\..\\fuori.bmp", "cartella\\", "rosso.bmp:verde.bmp"};

class Generatore {
public:
    Generatore(uint32_t seme, uint32_t indice) : rng_(seme * 1000003u + indice * 7919u + 17u) {}

    CasoFuzz Caso(uint32_t seme, uint32_t indice) {
        CasoFuzz caso;
        caso.Seme = seme;
        caso.Indice = indice;
        const int32_t numero = Tra(1, 4);
        for (int32_t codice = 1; codice <= numero; ++codice) caso.Media.push_back(Media(codice, numero));
        for (int32_t codice = 1; codice <= numero; ++codice) caso.Ordine.push_back(codice);
        if (Moneta(4)) caso.Ordine.push_back(Tra(1, numero));
        return caso;
    }

private:
    int32_t Tra(int32_t da, int32_t a) { return std::uniform_int_distribution<int32_t>(da, a)(rng_); }
    // True one time in <n>.
    bool Moneta(int32_t n) { return Tra(1, n) == 1; }
    template <typename T, size_t N>
    const T& Uno(const T (&voci)[N]) {
        return voci[static_cast<size_t>(Tra(0, static_cast<int32_t>(N) - 1))];
    }

    std::string Numero(int32_t da, int32_t a) {
        if (Moneta(2)) return Uno(NumeriStrani);
        return std::to_string(Tra(da, a));
    }
    // A time that is long only where the player's Escape ends it.
    std::string Tempo(int32_t da, int32_t a) {
        if (Moneta(2)) {
            const std::string v = Uno(NumeriStrani);
            static const char* const grandi[] = {"-2147483648", "2147483647", "4294967296", "99999999999999999999",
                                                 "&H7FFFFFFF", "1e9"};
            const bool grande = std::find(std::begin(grandi), std::end(grandi), v) != std::end(grandi);
            if (!grande || escape_) return v;
        }
        return std::to_string(Tra(std::min(da, -1), a));
    }
    std::string Flags(int32_t maschera) {
        if (Moneta(4)) return Uno(NumeriStrani);
        if (Moneta(6)) return std::to_string(maschera);
        return std::to_string(static_cast<int32_t>(std::uniform_int_distribution<uint32_t>(0, 0xFFFFFFFFu)(rng_)) &
                              maschera);
    }
    std::string UnRett() {
        if (Moneta(5)) {
            static const char* const strani[] = {"", "1:2:3", "a:b:c:d", "0:0:0:0", "1000:1000:0:0",
                                                 "-500:-500:2000:2000", "0:0:2147483647:2147483647", "1:2:3:4:5"};
            return Uno(strani);
        }
        std::string r;
        for (int i = 0; i < 4; ++i) r += (i ? ":" : "") + std::to_string(Tra(0, 1000));
        return r;
    }
    // A code of the case: a later trigger, so that nested media never lead
    // back to one already running (a trigger performing itself is the
    // self-nesting recursion of switch media, mended apart), or one that
    // is not there.
    std::string UnCodice(bool proprioAmmesso) {
        switch (Tra(0, 5)) {
        case 0: return "-1";
        case 1: return Uno(NumeriStrani);
        case 2: return "777";
        case 3:
            if (proprioAmmesso) return std::to_string(codice_);
            [[fallthrough]];
        default:
            if (codice_ < totale_) return std::to_string(Tra(codice_ + 1, totale_));
            return "-1";
        }
    }
    std::string Codici(bool proprioAmmesso) {
        if (Moneta(6)) return Uno(TestiStrani);
        std::string lista;
        const int32_t n = Tra(1, 4);
        for (int32_t i = 0; i < n; ++i) lista += (i ? ":" : "") + UnCodice(proprioAmmesso);
        return lista;
    }
    std::string Comandi() {
        if (Moneta(5)) return Uno(NumeriStrani);
        std::string lista;
        const int32_t n = Tra(1, 3);
        for (int32_t i = 0; i < n; ++i) lista += (i ? ":" : "") + std::to_string(Tra(0, 40));
        return lista;
    }
    std::string Formula() {
        static const char* const formule[] = {"", "~", "100", "x+1", "1/0", "(((", "999999999*999999999", "-5",
                                              "A1", "[V1]+2"};
        return Uno(formule);
    }

    std::string Valore(const Tag& t, bool proprioAmmesso) {
        switch (t.classe) {
        case Classe::Numero: return Numero(t.da, t.a);
        case Classe::Tempo: return Tempo(t.da, t.a);
        case Classe::Flags: return Flags(t.a);
        case Classe::Rett: return UnRett();
        case Classe::Colore: return Moneta(3) ? Uno(NumeriStrani) : std::to_string(Tra(0, 0xFFFFFF));
        case Classe::File: return Uno(FileCaso);
        case Classe::Testo: return Moneta(2) ? Uno(TestiStrani) : "Abc 12";
        case Classe::Codice: return UnCodice(proprioAmmesso);
        case Classe::Codici: return Codici(proprioAmmesso);
        case Classe::Comandi: return Comandi();
        case Classe::Formula: return Formula();
        }
        return {};
    }

    // The tags in a shuffled order, some left out, some twice.
    std::string Tags(const std::vector<Tag>& tags, bool proprioAmmesso) {
        std::vector<const Tag*> scelti;
        for (const Tag& t : tags) {
            if (Moneta(8)) continue;
            scelti.push_back(&t);
            if (Moneta(20)) scelti.push_back(&t);
        }
        if (Moneta(3)) std::shuffle(scelti.begin(), scelti.end(), rng_);
        std::string testo;
        for (const Tag* t : scelti) testo += "#" + std::string(t->nome) + "#=" + Valore(*t, proprioAmmesso) + "\r\n";
        return testo;
    }

    std::string UnaSezione(const Sezione& s, bool proprioAmmesso) {
        std::string testo = "<" + std::string(s.nome) + ">\r\n" + Tags(s.tag, proprioAmmesso);
        for (const Figli& f : s.figli) {
            const int32_t veri = Tra(0, 3);
            // The count says how many there are, or lies.
            const std::string conteggio = Moneta(3) ? Numero(0, 5) : std::to_string(veri);
            if (!Moneta(8)) testo += "#" + std::string(f.conteggio) + "#=" + conteggio + "\r\n";
            for (int32_t n = 1; n <= veri; ++n) {
                const std::string nome = f.prefisso + std::to_string(n);
                testo += "<" + nome + ">\r\n" + Tags(f.tag, proprioAmmesso);
                if (f.conTesto) testo += "<TEXT>" + Testo() + "<END_TEXT>\r\n";
                if (!Moneta(10)) testo += "<END_" + nome + ">\r\n";
            }
        }
        if (!Moneta(10)) testo += "<END_" + std::string(s.nome) + ">\r\n";
        return testo;
    }

    std::string Testo() {
        static const char* const parole[] = {"Lara", "WWW", "mm", "#COUNTER#", "#PROMPT#", "\r\n", "ÀÉ", "",
                                             "la la la la la la la la la la la la la la la la la la"};
        std::string testo;
        const int32_t n = Tra(0, 6);
        for (int32_t i = 0; i < n; ++i) testo += std::string(Uno(parole)) + " ";
        return testo;
    }

    std::string Formattazione() {
        static const std::vector<Tag> tag = {
            {"COLOR", Classe::Colore},       {"ALIGN", Classe::Numero, 0, 2},    {"CHAR_ROW", Classe::Numero, 0, 60},
            {"BOUND_RECT", Classe::Rett},    {"EFFECT", Classe::Numero, 0, 5},   {"DELAY_MICROS", Classe::Tempo, 0, 2000},
            {"FLAGS", Classe::Flags, 0, 0xFF}, {"FONT", Classe::Numero, 0, 3}};
        return "<FORMATTING>\r\n" + Tags(tag, false) + "<END_FORMATTING>\r\n";
    }

    MediaTrigger Media(int32_t codice, int32_t totale) {
        codice_ = codice;
        totale_ = totale;
        const Genere& g = Generi()[static_cast<size_t>(Tra(0, static_cast<int32_t>(Generi().size()) - 1))];
        MediaTrigger m;
        m.MediaCode = codice;
        m.Level = Moneta(4) ? Tra(-1, 5) : QualsiasiLivello;
        m.TriggerCd = Moneta(2) ? TriggerCdNessuno : Tra(0, 30);
        static constexpr int32_t presentazione[] = {BackgroundImage, BackgroundSound, ScrollText, FixedText};
        m.TypeFlags = g.typeFlags;
        for (const int32_t bit : presentazione)
            if (Moneta(4)) m.TypeFlags |= bit;
        // Only bits that leave the kind as it is.
        if (TipoMediaDaFlags(m.TypeFlags) != TipoMediaDaFlags(g.typeFlags)) m.TypeFlags = g.typeFlags;
        static constexpr int32_t opzioni[] = {HideProgram,   SoundFromCd,      FadeOutSound,    WaitProgramEnd,
                                              WaitAfterMovie, EscapeBreaks,    LoopSound,       WhileCdSounds,
                                              RequiresAction, SaveGameFirst,   AbortGameOnFailure, WaitGameStop};
        for (const int32_t bit : opzioni)
            if (Moneta(5)) m.Options |= bit;
        escape_ = g.escape && (m.Options & EscapeBreaks) != 0;

        m.MediaFile = g.typeFlags == BitExec ? (Moneta(3) ? "nessuno.exe" : "prog.exe")
                      : g.typeFlags == BitMovie ? (Moneta(2) ? "nessuno.avi" : "rotto.avi")
                                                : Uno(FileCaso);
        m.SoundFile = Moneta(2) ? "" : Uno(FileCaso);
        m.SoundCd = Tra(-1, 30);
        m.Repeat = Tra(-1, 3);
        m.BackColor = Tra(0, 0xFFFFFF);
        m.FadeTime = Tra(-1, 3);
        m.EndWait = Tra(-1, 3);
        m.DelaySeconds = Moneta(4) ? Tra(-2, 2) : 0;
        m.Duration = ValoreTempo();

        TextFormat& f = m.Formato;
        f.Color = Tra(0, 0xFFFFFF);
        f.Align = Tra(-1, 3);
        f.CharRow = Moneta(4) ? Tra(-5, 200) : Tra(10, 40);
        f.BoundRect = {Tra(0, 500), Tra(0, 500), Tra(400, 1000), Tra(400, 1000)};
        if (Moneta(6)) f.BoundRect = {Tra(-2000, 2000), Tra(-2000, 2000), Tra(-2000, 2000), Tra(-2000, 2000)};
        f.Effect = Tra(0, 5);
        f.ScrollStep = Moneta(4) ? Tra(-5, 0) : Tra(1, 200);
        f.ScrollDelay = escape_ && Moneta(4) ? Tra(1, 100000) : Tra(-2, 20);
        f.DelayMicros = escape_ && Moneta(4) ? Tra(1, 100000000) : Tra(-2, 20000);
        f.Flags = Tra(0, 0xFF);
        f.Font = Tra(-1, 3);

        std::string testo = "<TEXT>" + Testo() + "<END_TEXT>\r\n";
        if (Moneta(3)) testo += Formattazione();
        if (Moneta(8)) testo = Uno(TestiStrani);
        m.Text = testo;
        // The switch that performs its list may not name itself: the
        // self-nesting recursion of switch media is mended apart.
        const bool proprioAmmesso = g.typeFlags == BitKeyboard || g.typeFlags == BitSensory ||
                                    (g.typeFlags == BitSwitch && Moneta(2));
        for (const Sezione& s : g.sezioni)
            if (!Moneta(6)) m.Syntax += UnaSezione(s, proprioAmmesso);
        if (g.typeFlags == BitSwitch && proprioAmmesso) {
            // A list that may name its own trigger, without the bit that
            // performs the list.
            const size_t p = m.Syntax.find("#FLAGS#=");
            if (p != std::string::npos) {
                const size_t fine = m.Syntax.find("\r\n", p);
                const std::string valore = m.Syntax.substr(p + 8, fine - p - 8);
                char* resto = nullptr;
                const long flags = std::strtol(valore.c_str(), &resto, 10);
                // Values read as hexadecimal or VB numbers may hold the bit.
                const bool decimale = !valore.empty() && resto && *resto == '\0';
                m.Syntax.replace(p, fine - p, "#FLAGS#=" + std::to_string(decimale ? flags & ~0x10L : 1L));
            }
        }
        if (Moneta(12)) m.Syntax = Uno(TestiStrani);
        return m;
    }

    int32_t ValoreTempo() {
        if (escape_ && Moneta(4)) return Moneta(2) ? 0x7FFFFFFF : Tra(1000, 100000);
        return Tra(-2, 3);
    }

    std::mt19937 rng_;
    int32_t codice_ = 0;
    int32_t totale_ = 0;
    bool escape_ = false;
};

std::string Tinta(int32_t larghezza, int32_t altezza, uint8_t r, uint8_t g, uint8_t b) {
    std::string pixel;
    for (int32_t i = 0; i < larghezza * altezza; ++i) pixel += {static_cast<char>(b), static_cast<char>(g), static_cast<char>(r)};
    return ComponiBmp24(larghezza, altezza, pixel);
}

// A second of silence, 8-bit mono at 8000 Hz.
std::string Silenzio() {
    auto u32 = [](uint32_t v) {
        return std::string{static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                           static_cast<char>(v >> 24)};
    };
    auto u16 = [](uint16_t v) { return std::string{static_cast<char>(v), static_cast<char>(v >> 8)}; };
    const std::string dati(8000, static_cast<char>(0x80));
    return "RIFF" + u32(36 + static_cast<uint32_t>(dati.size())) + "WAVEfmt " + u32(16) + u16(1) + u16(1) +
           u32(8000) + u32(8000) + u16(1) + u16(8) + "data" + u32(static_cast<uint32_t>(dati.size())) + dati;
}

}  // namespace

CasoFuzz GeneraCasoFuzz(uint32_t seme, uint32_t indice) { return Generatore(seme, indice).Caso(seme, indice); }

std::vector<FileFuzz> FileDeiCasi(const std::string& programma) {
    return {{"rosso.bmp", Tinta(64, 48, 200, 0, 0)},
            {"verde.bmp", Tinta(256, 64, 0, 150, 0)},
            {"rotto.bmp", "BM\x10\0\0\0garbage"},
            {"rotto.avi", "RIFF\x04\0\0\0AVI "},
            {"suono.wav", Silenzio()},
            {"prog.exe", programma}};
}

std::string DescriviMedia(const MediaTrigger& m) {
    const TextFormat& f = m.Formato;
    return "media code " + std::to_string(m.MediaCode) + ", kind " + NomeTipoMedia(TipoMediaDaFlags(m.TypeFlags)) +
           ", TypeFlags " + std::to_string(m.TypeFlags) + ", Options " + std::to_string(m.Options) + ", MediaFile \"" +
           m.MediaFile + "\", SoundFile \"" + m.SoundFile + "\", TriggerCd " + std::to_string(m.TriggerCd) +
           ", Level " + std::to_string(m.Level) + ", Delay " + std::to_string(m.DelaySeconds) + ", Duration " +
           std::to_string(m.Duration) + ", Repeat " + std::to_string(m.Repeat) + ", FadeTime " +
           std::to_string(m.FadeTime) + ", EndWait " + std::to_string(m.EndWait) + ", SoundCd " +
           std::to_string(m.SoundCd) + ", BackColor " + std::to_string(m.BackColor) + "\r\n  format: Color " +
           std::to_string(f.Color) + " Align " + std::to_string(f.Align) + " CharRow " + std::to_string(f.CharRow) +
           " BoundRect " + std::to_string(f.BoundRect.Left) + ":" + std::to_string(f.BoundRect.Top) + ":" +
           std::to_string(f.BoundRect.Right) + ":" + std::to_string(f.BoundRect.Bottom) + " Effect " +
           std::to_string(f.Effect) + " ScrollStep " + std::to_string(f.ScrollStep) + " ScrollDelay " +
           std::to_string(f.ScrollDelay) + " DelayMicros " + std::to_string(f.DelayMicros) + " Flags " +
           std::to_string(f.Flags) + " Font " + std::to_string(f.Font) + "\r\n  Text:\r\n" + m.Text +
           "\r\n  Syntax:\r\n" + m.Syntax;
}
