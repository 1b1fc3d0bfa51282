#pragma once
// The text typing engine: texts typed character by character or word by
// word, with line-end pauses and a cursor.
#include <cstdint>
#include <functional>
#include <string>

// The first <conteggio> characters followed by the cursor, by the working
// format's flags.
std::string TestoConCursore(const std::string& testo, int32_t conteggio);
bool IsSeparatore(char carattere);

// What the engine does to its window, so that the effects and their pacing
// (on the clock module) run the same with or without one.
struct AzioniTesto {
    std::function<void(const std::string&)> Scrivi;
    std::function<void(int32_t effetto, bool attendi)> Suona;
    // True when the player ends the text.
    std::function<bool()> Escape;
    std::function<void()> Eventi;
    // Leaves the text blinking, written once already.
    std::function<void(const std::string&)> Lampeggia;
};
// Shows the text by the working format's Effect; False only when Escape
// ended the typing before the text was complete.
bool MostraTestoEffetto(const std::string& testo, const AzioniTesto& azioni);

// The font size in points for a window <larghezza> pixels wide holding
// <charRow> + 1 characters, on a screen of <dpi>; <carattere> gets the size
// before the conversion, rounded to whole pixels when asked.
double DimensioneFontTesto(int32_t larghezza, int32_t charRow, int32_t dpi, bool pixelInteri, double& carattere);

// The text font selected into a picture box's device context; the one it
// replaced goes back when the font is changed or the holder destroyed.
class FontTesto {
public:
    FontTesto() = default;
    ~FontTesto();
    FontTesto(const FontTesto&) = delete;
    FontTesto& operator=(const FontTesto&) = delete;
    void Seleziona(void* dc, void* font);
    void Rilascia();

private:
    void* dc_ = nullptr;
    void* font_ = nullptr;
    void* precedente_ = nullptr;
};
