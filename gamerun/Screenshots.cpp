#include "gamerun/Screenshots.h"

#include <algorithm>
#include <cstdio>

#include "core/FileUtils.h"
#include "core/ImageFormats.h"
#include "core/MediaLog.h"
#include "core/TextUtils.h"
#include "runservices/DisplayModes.h"
#include "runservices/GameWindow.h"
#include "runservices/RunState.h"
#include "runservices/Sounds.h"
#include "platform/Clock.h"
#include "platform/Forms.h"
#include "input/KeyboardRoutines.h"

uint32_t TickUltimaCatturaClipboard = 0;

namespace {

constexpr uint32_t IntervalloMinimoCatture = 2000;
// The clipboard's state when its image could not be saved: the tick asks
// again five times a second, and the player hears and the log reads it once.
DWORD ImmagineNonSalvata = 0;
constexpr int32_t TentativiCattura = 2;
constexpr int32_t PausaTraTentativi = 500;

size_t PassoRiga(int32_t larghezza) { return (static_cast<size_t>(larghezza) * 3 + 3) / 4 * 4; }

std::string TestoRettangolo(int32_t l, int32_t t, int32_t r, int32_t b) {
    return std::to_string(l) + "," + std::to_string(t) + " - " + std::to_string(r) + "," + std::to_string(b);
}

void SvuotaClipboard() {
    if (!OpenClipboard(nullptr)) return;
    EmptyClipboard();
    CloseClipboard();
}

bool LeggiClipboard(PictureNascosta& picture) {
    if (!OpenClipboard(nullptr)) return false;
    HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    const bool letta = bitmap && picture.CaricaBitmap(bitmap);
    CloseClipboard();
    return letta;
}

// The screenshot saved under the first free name of the game folder's
// captures; the path, or "" with the reason in <errore>.
std::string SalvaScreenshot(const PictureNascosta& picture, std::string& errore) {
    const std::string percorso = CreaCartellaImmagini(Trim(CartellaTrle) + "\\Captured_Images\\ScreenShot.bmp");
    if (!picture.SalvaBmp(percorso)) {
        errore = "the bitmap file could not be written: " + percorso;
        return std::string();
    }
    return percorso;
}

}  // namespace

PictureNascosta::~PictureNascosta() { Libera(); }

void PictureNascosta::Libera() {
    LiberaDibMemoria(dib_);
    larghezza_ = altezza_ = 0;
}

bool PictureNascosta::Dimensiona(int32_t larghezza, int32_t altezza) {
    Libera();
    if (!CreaDibMemoria(larghezza, altezza, dib_)) return false;
    larghezza_ = larghezza;
    altezza_ = altezza;
    return true;
}

bool PictureNascosta::CaricaBitmap(HBITMAP bitmap) {
    BITMAP bm{};
    if (!GetObjectA(bitmap, sizeof bm, &bm) || !Dimensiona(bm.bmWidth, bm.bmHeight)) return false;
    HDC sorgente = CreateCompatibleDC(dib_.dc);
    if (!sorgente) return false;
    HGDIOBJ vecchio = SelectObject(sorgente, bitmap);
    const bool copiata = BitBlt(dib_.dc, 0, 0, larghezza_, altezza_, sorgente, 0, 0, SRCCOPY) != 0;
    SelectObject(sorgente, vecchio);
    DeleteDC(sorgente);
    return copiata;
}

bool PictureNascosta::SalvaBmp(const std::string& percorso) const {
    if (!dib_.bit) return false;
    GdiFlush();
    const size_t riga = static_cast<size_t>(larghezza_) * 3;
    std::string pixel;
    pixel.reserve(riga * static_cast<size_t>(altezza_));
    for (int32_t y = 0; y < altezza_; ++y)
        pixel.append(static_cast<const char*>(dib_.bit) + PassoRiga(larghezza_) * static_cast<size_t>(y), riga);
    const std::string bmp = ComponiBmp24(larghezza_, altezza_, pixel);
    std::FILE* f = bmp.empty() ? nullptr : ApriFile(percorso, "wb");
    bool scritto = f && std::fwrite(bmp.data(), 1, bmp.size(), f) == bmp.size();
    if (f && std::fclose(f) != 0) scritto = false;
    // Half a bitmap is no picture: nothing stays behind.
    if (!scritto) CancellaFile(percorso);
    return scritto;
}

PictureNascosta& PictureClipboard() {
    static PictureNascosta picture;
    return picture;
}

PictureNascosta& PictureCattura() {
    static PictureNascosta picture;
    return picture;
}

void CatturaImageClipboard(std::string& percorso) {
    if (!IsClipboardFormatAvailable(CF_BITMAP)) return;
    if (ImmagineNonSalvata != 0 && GetClipboardSequenceNumber() == ImmagineNonSalvata) return;
    StampaLog("Detected image in clipboard");
    // No screenshot yet in this program: nothing to be near to.
    if (TickUltimaCatturaClipboard != 0 && ClockTick() - TickUltimaCatturaClipboard < IntervalloMinimoCatture) {
        StampaLog("This capturing phase is too near to previous capturing: ignore this image");
        SvuotaClipboard();
        return;
    }
    CambiaTabulatoreLog(1);
    SuonaEffetto(0, true, false);
    std::string errore;
    PictureNascosta& clipboard = PictureClipboard();
    if (!LeggiClipboard(clipboard)) {
        errore = "the clipboard image could not be read";
    } else if (clipboard.Larghezza() < SchermoX || clipboard.Altezza() < SchermoY) {
        StampaLog("Image captured with ALT+PRINT SCREEN: don't change the size");
        percorso = SalvaScreenshot(clipboard, errore);
    } else {
        LeggiClientRectTomb();
        Rettangolo r = RettClientGioco;
        RettangoloClientGioco(r);
        r.Left = std::max(r.Left, 0);
        r.Top = std::max(r.Top, 0);
        r.Right = std::min(r.Right, SchermoX);
        r.Bottom = std::min(r.Bottom, SchermoY);
        const int32_t larghezza = r.Right - r.Left;
        const int32_t altezza = r.Bottom - r.Top;
        StampaLog("Source screen capture rect: " + TestoRettangolo(r.Left, r.Top, r.Right, r.Bottom));
        StampaLog("Target image size = " + std::to_string(larghezza) + " x " + std::to_string(altezza));
        PictureNascosta& cattura = PictureCattura();
        if (larghezza <= 0 || altezza <= 0) {
            // No game window on the screen to cut out: the player keeps the
            // whole picture rather than none.
            StampaLog("WARNING: game window area is empty: the whole image is saved");
            percorso = SalvaScreenshot(clipboard, errore);
        } else if (!cattura.Dimensiona(larghezza, altezza) ||
                   !BitBlt(cattura.Dc(), 0, 0, larghezza, altezza, clipboard.Dc(), r.Left, r.Top, SRCCOPY)) {
            errore = "the game window area could not be copied";
        } else {
            percorso = SalvaScreenshot(cattura, errore);
        }
    }
    if (!errore.empty()) {
        StampaLog("WARNING: error in CatturaImageClipboard function: " + errore);
        // Left on the clipboard, for the player to paste elsewhere.
        ImmagineNonSalvata = GetClipboardSequenceNumber();
        CambiaTabulatoreLog(-1);
        return;
    }
    StampaLog("Image saved in: " + percorso);
    StampaLog("Clear clipboard");
    SvuotaClipboard();
    ImpostaBit(StatoGioco, ScreenshotCatturati);
    TickUltimaCatturaClipboard = ClockTick();
    CambiaTabulatoreLog(-1);
}

std::string CreaCartellaImmagini(const std::string& percorso) {
    const std::string cartella = CartellaDaPercorso(percorso);
    const std::string nome = NomeFileDaPercorso(percorso);
    if (!EsisteCartella(cartella)) {
        StampaLog("Warning: doesn't exist folder to save captured image, create now folder: " + cartella);
        CreaCartella(cartella);
    }
    const std::string base = cartella + "\\" + TogliEstensione(nome) + "_";
    const std::string estensione = EstensioneFile(nome);
    for (int64_t n = 0;; ++n) {
        const std::string candidato = base + FormatoZeri(n, 4) + estensione;
        if (!EsisteFile(candidato)) return candidato;
    }
}

bool CatturaSchermoGioco(std::string& percorso) {
    for (int32_t tentativo = 1; tentativo <= TentativiCattura; ++tentativo) {
        SegnaTempo();
        CopiaSchermoInImmagine(percorso);
        if (TestPixelSchermo()) return true;
        StampaLog("WARNING: Failed screen capture (black screen). Try another attempt");
        if (tentativo == TentativiCattura) break;
        DoEvents();
        // A game that ended shows nothing more to wait for.
        if (!RichiestaAbort()) break;
        AttendiDaSegno(PausaTraTentativi);
    }
    if (!percorso.empty() && !ConservaCatture) CancellaFile(percorso);
    return false;
}

void CopiaSchermoInImmagine(const std::string& percorso) {
    StampaLog("Capture tomb raider screen:");
    HDC schermo = GetDC(nullptr);
    StampaLog("Source screen capture rect: " + TestoRettangolo(0, 0, SchermoX, SchermoY));
    StampaLog("Target image size = " + std::to_string(SchermoX) + " x " + std::to_string(SchermoY));
    PictureNascosta& cattura = PictureCattura();
    if (schermo && cattura.Dimensiona(SchermoX, SchermoY)) {
        BitBlt(cattura.Dc(), 0, 0, SchermoX, SchermoY, schermo, 0, 0, SRCCOPY);
        if (!percorso.empty()) cattura.SalvaBmp(percorso);
    }
    if (schermo) ReleaseDC(nullptr, schermo);
}

bool TestPixelSchermo() {
    const PictureNascosta& cattura = PictureCattura();
    HDC dc = cattura.Dc();
    const int32_t w = cattura.Larghezza();
    const int32_t h = cattura.Altezza();
    if (!dc || w <= 0 || h <= 0) return false;
    auto acceso = [dc](int32_t x, int32_t y) {
        const COLORREF c = GetPixel(dc, x, y);
        return c != 0 && c != CLR_INVALID;
    };
    for (int32_t x = 0; x < w; ++x)
        if (acceso(x, h / 2)) return true;
    for (int32_t y = 0; y < h; ++y)
        if (acceso(w / 2, y)) return true;
    return false;
}
