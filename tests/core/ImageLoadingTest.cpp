// Old image sequence files, and pictures converted to bitmap files that the
// platform loads back.
#include <gtest/gtest.h>

#include <windows.h>
#include <objidl.h>
#include <propidl.h>
#include <gdiplus.h>

#include <string>
#include <vector>

#include "core/FileUtils.h"
#include "core/ImageLoading.h"
#include "tests/core/BitmapFiles.h"
#include "tests/core/HandBytes.h"
#include "tests/core/LogLines.h"
#include "tests/support/TestFolders.h"

namespace {

class Immagini : public ConRigheLog {
protected:
    CartellaProva c;
};

std::string Nome256(const std::string& n) { return n + std::string(256 - n.size(), ' '); }

TEST_F(Immagini, ImageSequenceFromHandBytes) {
    const std::string byte = mano::I32(2) + std::string("\x34\x12", 2) + Nome256("one.bmp") + mano::I32(10) +
                             Nome256("two.bmp") + mano::I32(-3);
    ScriviFileProva(c / "seq.bin", byte);
    FileSequenzaImmagini s;
    ASSERT_TRUE(CaricaImageSequence(c / "seq.bin", s));
    EXPECT_EQ(s.Count, 2);
    EXPECT_EQ(s.SequenceWord, 0x1234);
    ASSERT_EQ(s.Immagini.size(), 3u);
    EXPECT_EQ(s.Immagini[0].FileName, Nome256("one.bmp"));
    EXPECT_EQ(s.Immagini[1].Value, -3);
    EXPECT_EQ(ComponiImageSequence(s), byte);

    ScriviFileProva(c / "empty.bin", mano::I32(0) + std::string("\0\0", 2));
    ASSERT_TRUE(CaricaImageSequence(c / "empty.bin", s));
    EXPECT_EQ(s.Count, 0);
    NessunErrore();
}

TEST_F(Immagini, DamagedImageSequencesFail) {
    const std::string uno = mano::I32(1) + std::string("\0\0", 2) + Nome256("one.bmp") + mano::I32(1);
    for (const std::string& byte : {uno.substr(0, uno.size() - 1), mano::I32(-1) + std::string("\0\0", 2),
                                    mano::I32(0x7FFFFFFF) + std::string("\0\0", 2), std::string("\1\0", 2)}) {
        BufferLog.clear();
        NumErroriLog = 0;
        ScriviFileProva(c / "bad.bin", byte);
        FileSequenzaImmagini s;
        EXPECT_FALSE(CaricaImageSequence(c / "bad.bin", s));
        UnErrore("Error loading image sequence file: " + c / "bad.bin");
    }
    BufferLog.clear();
    NumErroriLog = 0;
    FileSequenzaImmagini s;
    EXPECT_FALSE(CaricaImageSequence(c / "none.bin", s));
    UnErrore("Image sequence file \"" + c / "none.bin" + "\" not found");
}

// The pixels of a bitmap file as the platform loads it: BGR rows, top first.
std::string PixelCaricati(const std::string& percorso, int& larghezza, int& altezza) {
    HBITMAP bmp = static_cast<HBITMAP>(
        LoadImageA(nullptr, percorso.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!bmp) return "";
    BITMAP info{};
    GetObjectA(bmp, sizeof info, &info);
    larghezza = info.bmWidth;
    altezza = info.bmHeight;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = larghezza;
    bi.bmiHeader.biHeight = -altezza;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    const int passo = (larghezza * 3 + 3) / 4 * 4;
    std::string dati(static_cast<size_t>(passo * altezza), '\0');
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, bmp, 0, static_cast<UINT>(altezza), dati.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    DeleteObject(bmp);
    std::string pixel;
    for (int y = 0; y < altezza; ++y) pixel += dati.substr(static_cast<size_t>(y * passo), static_cast<size_t>(larghezza * 3));
    return pixel;
}

// Left half blue, right half red.
std::string DueColori(int l, int a) {
    std::string p;
    for (int y = 0; y < a; ++y)
        for (int x = 0; x < l; ++x) p += x < l / 2 ? std::string("\xFF\x00\x00", 3) : std::string("\x00\x00\xFF", 3);
    return p;
}

TEST_F(Immagini, BitmapSourceConvertsToTheSamePixels) {
    const std::string pixel = DueColori(5, 3);
    ScriviFileProva(c / "src.bmp", ComponiBmp24(5, 3, pixel));
    ASSERT_TRUE(CaricaImmagineFile(c / "src.bmp", c / "load.bmp"));
    NessunErrore();
    int l = 0, a = 0;
    EXPECT_EQ(PixelCaricati(c / "load.bmp", l, a), pixel);
    EXPECT_EQ(l, 5);
    EXPECT_EQ(a, 3);
}

TEST_F(Immagini, JpegSourceBecomesABitmapThePlatformLoads) {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
    {
        const int l = 16, a = 8;
        std::string righe;
        const std::string p = DueColori(l, a);
        for (int y = 0; y < a; ++y) righe += p.substr(static_cast<size_t>(y * l * 3), l * 3);  // stride 48
        Gdiplus::Bitmap bitmap(l, a, l * 3, PixelFormat24bppRGB, reinterpret_cast<BYTE*>(righe.data()));
        const CLSID jpeg = {0x557CF401, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
        const std::string nome = c / "load.jpg";
        const std::wstring largo(nome.begin(), nome.end());
        ASSERT_EQ(bitmap.Save(largo.c_str(), &jpeg, nullptr), Gdiplus::Ok);
    }
    Gdiplus::GdiplusShutdown(token);
    ASSERT_EQ(LeggiFileProva(c / "load.jpg").substr(0, 2), "\xFF\xD8");
    ASSERT_TRUE(CaricaImmagineFile(c / "load.jpg", c / "load.bmp"));
    NessunErrore();
    int l = 0, a = 0;
    const std::string pixel = PixelCaricati(c / "load.bmp", l, a);
    ASSERT_EQ(l, 16);
    ASSERT_EQ(a, 8);
    // Lossy, but the halves keep their colours.
    const auto canale = [&](int x, int y, int k) { return static_cast<unsigned char>(pixel[(y * l + x) * 3 + k]); };
    EXPECT_GT(canale(1, 4, 0), 200);
    EXPECT_LT(canale(1, 4, 2), 60);
    EXPECT_GT(canale(14, 4, 2), 200);
    EXPECT_LT(canale(14, 4, 0), 60);
}

TEST_F(Immagini, PicturesArePaintedStretchedTheRightWayUp) {
    // 2 x 2 pixels: blue and red on the top row, green and white below.
    const std::string alto24 = std::string("\xFF\x00\x00\x00\x00\xFF\x00\x00", 8);
    const std::string basso24 = std::string("\x00\xFF\x00\xFF\xFF\xFF\x00\x00", 8);
    // Each colour as blue, green, red and a spare byte.
    const std::string tabella = mano::I32(0x0000FF) + mano::I32(0xFF0000) + mano::I32(0x00FF00) + mano::I32(0xFFFFFF);
    const std::string alto8("\x00\x01\x00\x00", 4), basso8("\x02\x03\x00\x00", 4);
    struct Caso {
        const char* nome;
        std::string file;
    };
    const std::vector<Caso> casi = {
        {"24 bits, bottom row first", mano::Bmp(2, 2, 24, 0, "", basso24 + alto24)},
        {"24 bits, top row first", mano::Bmp(2, -2, 24, 0, "", alto24 + basso24)},
        {"8 bits with a colour table", mano::Bmp(2, 2, 8, 0, tabella, basso8 + alto8, -1, 4)},
        {"run-length compressed, by the picture loader",
         mano::Bmp(2, 2, 8, 1, tabella, std::string("\x01\x02\x01\x03\x00\x00\x01\x00\x01\x01\x00\x01", 12), -1, 4)},
    };
    for (const Caso& caso : casi) {
        ScriviFileProva(c / "quattro.bmp", caso.file);
        HDC schermo = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(schermo);
        HBITMAP bmp = CreateCompatibleBitmap(schermo, 40, 40);
        ReleaseDC(nullptr, schermo);
        HGDIOBJ prima = SelectObject(dc, bmp);
        EXPECT_TRUE(DisegnaImmagineFile(dc, c / "quattro.bmp", 0, 0, 40, 40)) << caso.nome;
        EXPECT_EQ(GetPixel(dc, 5, 5), RGB(0, 0, 255)) << caso.nome;
        EXPECT_EQ(GetPixel(dc, 35, 5), RGB(255, 0, 0)) << caso.nome;
        EXPECT_EQ(GetPixel(dc, 5, 35), RGB(0, 255, 0)) << caso.nome;
        EXPECT_EQ(GetPixel(dc, 35, 35), RGB(255, 255, 255)) << caso.nome;
        SelectObject(dc, prima);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    NessunErrore();
}

TEST_F(Immagini, UndecodableSourceLeavesTheDestination) {
    ScriviFileProva(c / "bad.jpg", "this is not a picture");
    ScriviFileProva(c / "load.bmp", "previous");
    EXPECT_FALSE(CaricaImmagineFile(c / "bad.jpg", c / "load.bmp"));
    EXPECT_EQ(LeggiFileProva(c / "load.bmp"), "previous");
    ASSERT_EQ(NumErroriLog, 1);
    EXPECT_EQ(Righe()[0], "ERROR loading image: " + c / "bad.jpg");
    EXPECT_EQ(Righe()[1].rfind("Error mexage: ", 0), 0u);
}

}  // namespace
