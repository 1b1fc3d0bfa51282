#include "core/ImageLoading.h"

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "core/FileUtils.h"
#include "core/MediaLog.h"
#include "core/MediaTrigger.h"

namespace {

const char* const A_Capo = "\r\n";

std::string TestoHresult(HRESULT hr) {
    char* testo = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<char*>(&testo), 0, nullptr);
    std::string s = testo ? testo : "";
    if (testo) LocalFree(testo);
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.pop_back();
    if (s.empty()) {
        char codice[32];
        std::snprintf(codice, sizeof codice, "error 0x%08lX", static_cast<unsigned long>(hr));
        s = codice;
    }
    return s;
}

// The picture decoded from the file's bytes.
HRESULT CaricaPicture(const std::string& dati, IPicture*& picture) {
    picture = nullptr;
    if (dati.empty()) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    HGLOBAL memoria = GlobalAlloc(GMEM_MOVEABLE, dati.size());
    if (!memoria) return E_OUTOFMEMORY;
    void* blocco = GlobalLock(memoria);
    if (!blocco) {
        GlobalFree(memoria);
        return E_OUTOFMEMORY;
    }
    std::memcpy(blocco, dati.data(), dati.size());
    GlobalUnlock(memoria);
    IStream* flusso = nullptr;
    HRESULT hr = CreateStreamOnHGlobal(memoria, TRUE, &flusso);
    if (FAILED(hr)) {
        GlobalFree(memoria);
        return hr;
    }
    hr = OleLoadPicture(flusso, static_cast<LONG>(dati.size()), FALSE, IID_IPicture,
                        reinterpret_cast<void**>(&picture));
    flusso->Release();
    if (SUCCEEDED(hr) && !picture) hr = E_FAIL;
    return hr;
}

// The picture drawn into a 24-bit DIB of its own size, as rows of BGR.
HRESULT PixelPicture(IPicture* picture, int32_t& larghezza, int32_t& altezza, std::string& pixel) {
    OLE_XSIZE_HIMETRIC lh = 0;
    OLE_YSIZE_HIMETRIC ah = 0;
    picture->get_Width(&lh);
    picture->get_Height(&ah);
    HDC schermo = GetDC(nullptr);
    larghezza = MulDiv(lh, GetDeviceCaps(schermo, LOGPIXELSX), 2540);
    altezza = MulDiv(ah, GetDeviceCaps(schermo, LOGPIXELSY), 2540);
    short tipo = PICTYPE_UNINITIALIZED;
    picture->get_Type(&tipo);
    OLE_HANDLE handle = 0;
    if (tipo == PICTYPE_BITMAP && SUCCEEDED(picture->get_Handle(&handle)) && handle) {
        BITMAP bm{};
        if (GetObjectA(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)), sizeof bm, &bm)) {
            larghezza = bm.bmWidth;
            altezza = bm.bmHeight;
        }
    }
    ReleaseDC(nullptr, schermo);
    DibMemoria dib;
    if (larghezza <= 0 || altezza <= 0 || larghezza > 32768 || altezza > 32768) return E_FAIL;
    if (!CreaDibMemoria(larghezza, altezza, dib)) return E_OUTOFMEMORY;
    HDC dc = dib.dc;
    void* bit = dib.bit;
    const HRESULT hr = picture->Render(dc, 0, 0, larghezza, altezza, 0, ah, lh, -ah, nullptr);
    GdiFlush();
    const size_t riga = static_cast<size_t>(larghezza) * 3;
    const size_t passo = (riga + 3) / 4 * 4;
    pixel.clear();
    if (SUCCEEDED(hr)) {
        pixel.reserve(riga * static_cast<size_t>(altezza));
        for (int32_t y = 0; y < altezza; ++y)
            pixel.append(static_cast<const char*>(bit) + passo * static_cast<size_t>(y), riga);
    }
    LiberaDibMemoria(dib);
    return hr;
}

}  // namespace

bool CaricaImmagineFile(const std::string& sorgente, const std::string& destinazione) {
    const HRESULT init = CoInitialize(nullptr);
    IPicture* picture = nullptr;
    HRESULT hr = CaricaPicture(LeggiFileIntero(sorgente), picture);
    if (FAILED(hr)) {
        StampaLog("ERROR loading image: " + sorgente + A_Capo + "Error mexage: " + TestoHresult(hr), true);
        if (SUCCEEDED(init)) CoUninitialize();
        return false;
    }
    CancellaFile(destinazione);
    int32_t larghezza = 0, altezza = 0;
    std::string pixel;
    hr = PixelPicture(picture, larghezza, altezza, pixel);
    picture->Release();
    if (SUCCEEDED(init)) CoUninitialize();
    std::string descrizione = FAILED(hr) ? TestoHresult(hr) : "";
    if (SUCCEEDED(hr)) {
        const std::string bmp = ComponiBmp24(larghezza, altezza, pixel);
        std::FILE* f = bmp.empty() ? nullptr : std::fopen(destinazione.c_str(), "wb");
        bool ok = f && std::fwrite(bmp.data(), 1, bmp.size(), f) == bmp.size();
        if (f && std::fclose(f) != 0) ok = false;
        if (!ok) {
            CancellaFile(destinazione);
            descrizione = "the bitmap file could not be written";
        }
    }
    if (!descrizione.empty() || !EsisteFile(destinazione)) {
        StampaLog("Error: converting jpg image: " + sorgente + A_Capo + "In bmp format in file: " + destinazione +
                      A_Capo + "Error mexage: " + descrizione,
                  true);
        return false;
    }
    return true;
}

namespace {

// A bitmap file drawn by the platform's DIB functions straight from its
// bytes, without the picture loader's decoding into a bitmap of its own.
bool DisegnaBmp(HDC dc, const std::string& dati, int32_t x, int32_t y, int32_t larghezza, int32_t altezza) {
    StrutturaBmp bmp;
    if (!StrutturaBmpDisegnabile(dati, bmp)) return false;
    // Both parts as the functions want them, on 4-byte boundaries.
    std::vector<uint32_t> info((bmp.LunghezzaInfo + 3) / 4), pixel((bmp.LunghezzaPixel + 3) / 4);
    std::memcpy(info.data(), dati.data() + bmp.InizioInfo, bmp.LunghezzaInfo);
    std::memcpy(pixel.data(), dati.data() + bmp.InizioPixel, bmp.LunghezzaPixel);
    const int righe = bmp.Altezza < 0 ? -bmp.Altezza : bmp.Altezza;
    const int modo = SetStretchBltMode(dc, COLORONCOLOR);
    const int fatte = StretchDIBits(dc, x, y, larghezza, altezza, 0, 0, bmp.Larghezza, righe, pixel.data(),
                                    reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS, SRCCOPY);
    SetStretchBltMode(dc, modo);
    return fatte > 0;
}

}  // namespace

bool DisegnaImmagineFile(HDC dc, const std::string& percorso, int32_t x, int32_t y, int32_t larghezza,
                         int32_t altezza) {
    const std::string dati = LeggiFileIntero(percorso);
    if (DisegnaBmp(dc, dati, x, y, larghezza, altezza)) return true;
    const HRESULT init = CoInitialize(nullptr);
    IPicture* picture = nullptr;
    HRESULT hr = CaricaPicture(dati, picture);
    if (SUCCEEDED(hr)) {
        OLE_XSIZE_HIMETRIC lh = 0;
        OLE_YSIZE_HIMETRIC ah = 0;
        picture->get_Width(&lh);
        picture->get_Height(&ah);
        const int modo = SetStretchBltMode(dc, COLORONCOLOR);
        hr = picture->Render(dc, x, y, larghezza, altezza, 0, ah, lh, -ah, nullptr);
        SetStretchBltMode(dc, modo);
        picture->Release();
    }
    if (SUCCEEDED(init)) CoUninitialize();
    if (FAILED(hr)) {
        StampaLog("ERROR loading image: " + percorso + A_Capo + "Error mexage: " + TestoHresult(hr), true);
        return false;
    }
    return true;
}

bool CreaDibMemoria(int32_t larghezza, int32_t altezza, DibMemoria& dib) {
    dib = DibMemoria{};
    if (larghezza <= 0 || altezza <= 0 || larghezza > 32768 || altezza > 32768) return false;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = larghezza;
    bi.bmiHeader.biHeight = -altezza;  // top row first
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    HDC schermo = GetDC(nullptr);
    dib.dc = CreateCompatibleDC(schermo);
    dib.bitmap = CreateDIBSection(schermo, &bi, DIB_RGB_COLORS, &dib.bit, nullptr, 0);
    ReleaseDC(nullptr, schermo);
    if (!dib.dc || !dib.bitmap || !dib.bit) {
        LiberaDibMemoria(dib);
        return false;
    }
    dib.precedente = SelectObject(dib.dc, dib.bitmap);
    return true;
}

void LiberaDibMemoria(DibMemoria& dib) {
    if (dib.dc && dib.precedente) SelectObject(dib.dc, dib.precedente);
    if (dib.bitmap) DeleteObject(dib.bitmap);
    if (dib.dc) DeleteDC(dib.dc);
    dib = DibMemoria{};
}

HDC DcSchermo() {
    static HDC schermo = nullptr;
    if (!schermo) schermo = GetDC(nullptr);
    return schermo;
}

namespace {
size_t PassoRiga(int32_t larghezza) { return (static_cast<size_t>(larghezza) * 3 + 3) / 4 * 4; }
}  // namespace

bool LeggiSchermo(CopiaSchermo& copia, int32_t x, int32_t y, int32_t larghezza, int32_t altezza) {
    HDC schermo = DcSchermo();
    if (!schermo) return false;
    if (!copia.dib.dc || copia.larghezza != larghezza || copia.altezza != altezza) {
        LiberaDibMemoria(copia.dib);
        copia.larghezza = copia.altezza = 0;
        if (!CreaDibMemoria(larghezza, altezza, copia.dib)) return false;
        copia.larghezza = larghezza;
        copia.altezza = altezza;
    }
    std::memset(copia.dib.bit, 0, PassoRiga(larghezza) * static_cast<size_t>(altezza));
    const bool copiato = BitBlt(copia.dib.dc, 0, 0, larghezza, altezza, schermo, x, y, SRCCOPY) != FALSE;
    GdiFlush();
    return copiato;
}

COLORREF PixelCopia(const CopiaSchermo& copia, int32_t x, int32_t y) {
    if (!copia.dib.bit || x < 0 || y < 0 || x >= copia.larghezza || y >= copia.altezza) return CLR_INVALID;
    const auto* bgr = static_cast<const uint8_t*>(copia.dib.bit) + PassoRiga(copia.larghezza) * static_cast<size_t>(y) +
                      3 * static_cast<size_t>(x);
    return RGB(bgr[2], bgr[1], bgr[0]);
}

bool CaricaImmagineDib(const std::string& percorso, DibMemoria& dib, int32_t& larghezza, int32_t& altezza) {
    dib = DibMemoria{};
    larghezza = altezza = 0;
    const std::string dati = LeggiFileIntero(percorso);
    StrutturaBmp bmp;
    if (StrutturaBmpDisegnabile(dati, bmp)) {
        const int32_t righe = bmp.Altezza < 0 ? -bmp.Altezza : bmp.Altezza;
        if (CreaDibMemoria(bmp.Larghezza, righe, dib) && DisegnaBmp(dib.dc, dati, 0, 0, bmp.Larghezza, righe)) {
            GdiFlush();
            larghezza = bmp.Larghezza;
            altezza = righe;
            return true;
        }
        LiberaDibMemoria(dib);
    }
    const HRESULT init = CoInitialize(nullptr);
    IPicture* picture = nullptr;
    HRESULT hr = CaricaPicture(dati, picture);
    std::string pixel;
    if (SUCCEEDED(hr)) {
        hr = PixelPicture(picture, larghezza, altezza, pixel);
        picture->Release();
    }
    if (SUCCEEDED(init)) CoUninitialize();
    if (SUCCEEDED(hr) && !CreaDibMemoria(larghezza, altezza, dib)) hr = E_OUTOFMEMORY;
    if (FAILED(hr)) {
        StampaLog("ERROR loading image: " + percorso + A_Capo + "Error mexage: " + TestoHresult(hr), true);
        larghezza = altezza = 0;
        return false;
    }
    const size_t riga = static_cast<size_t>(larghezza) * 3;
    for (int32_t y = 0; y < altezza; ++y)
        std::memcpy(static_cast<char*>(dib.bit) + PassoRiga(larghezza) * static_cast<size_t>(y),
                    pixel.data() + riga * static_cast<size_t>(y), riga);
    return true;
}
