// Vistrelo: writes, for every Direct3D device of every DirectDraw driver,
// the display modes the device can render into (VideoList.bin) and logs its
// steps (Log_VideoEnum.txt), both in its current folder. Always exits with 0.
#include <windows.h>
#include <ddraw.h>
#include <d3d.h>

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "displaymodes/VideoListFile.h"

namespace {

int ContatoreDriver = 0;
int ContatoreDevice = 0;
int NumeroListeScritte = 0;
std::vector<VideoMode> ModiDriver;
FILE* FileLista = nullptr;
std::string PercorsoLog;

void WriteEnumLog(const char* formato, ...) {
    char testo[1024];
    va_list args;
    va_start(args, formato);
    vsnprintf(testo, sizeof testo, formato, args);
    va_end(args);
    FILE* f = fopen(PercorsoLog.c_str(), "ab");
    if (!f) return;
    fputs(testo, f);
    fputs("\r\n", f);
    fclose(f);
}

void ScriviInt32(int32_t valore) {
    const std::string b = BytesInt32(valore);
    fwrite(b.data(), 1, b.size(), FileLista);
}

HRESULT CALLBACK CallBackEnumModes(LPDDSURFACEDESC2 desc, LPVOID) {
    VideoMode m;
    m.Width = static_cast<int32_t>(desc->dwWidth);
    m.Height = static_cast<int32_t>(desc->dwHeight);
    m.Bits = static_cast<int32_t>(desc->ddpfPixelFormat.dwRGBBitCount);
    ModiDriver.push_back(m);
    WriteEnumLog("%d x %d - %d", m.Width, m.Height, m.Bits);
    return DDENUMRET_OK;
}

HRESULT CALLBACK CallBack_Direct3dEnum(GUID*, LPSTR descrizione, LPSTR nome, LPD3DDEVICEDESC hw, LPD3DDEVICEDESC sw,
                                       LPVOID) {
    const int32_t hardware = (hw && hw->dwFlags != 0) ? 1 : 0;
    const D3DDEVICEDESC* desc = hardware ? hw : sw;
    WriteEnumLog("CallBack_Direct3dEnum()  Driver: %s - %s  TestHardware %d", descrizione ? descrizione : "",
                 nome ? nome : "", hardware);
    ScriviInt32(ContatoreDriver);
    ScriviInt32(ContatoreDevice);
    ScriviInt32(hardware);
    const long posConteggio = ftell(FileLista);
    ScriviInt32(0);
    int32_t scritti = 0;
    const DWORD profondita = desc ? desc->dwDeviceRenderBitDepth : 0;
    for (const VideoMode& m : ModiDriver) {
        const uint32_t flag = FlagProfonditaRender(m.Bits);
        if (flag != 0 && (profondita & flag) != 0) {
            WriteEnumLog("%d x %d - %d", m.Width, m.Height, m.Bits);
            const std::string b = BytesVideoMode(m);
            fwrite(b.data(), 1, b.size(), FileLista);
            ++scritti;
        }
    }
    ++ContatoreDevice;
    fseek(FileLista, posConteggio, SEEK_SET);
    ScriviInt32(scritti);
    fseek(FileLista, 0, SEEK_END);
    ++NumeroListeScritte;
    return D3DENUMRET_OK;
}

// One display driver: its modes, then its Direct3D devices. Any failure
// skips the rest of this driver only; the driver keeps its number.
void EnumeraDriver(GUID* guid) {
    WriteEnumLog("Create DirectDraw object");
    IDirectDraw* dd = nullptr;
    if (FAILED(DirectDrawCreate(guid, &dd, nullptr))) {
        WriteEnumLog("Error calling DirectDrawCreate()");
        return;
    }
    if (!dd) {
        WriteEnumLog("Error: DirectDraw pointer is NULL");
        return;
    }
    WriteEnumLog("Create iDirectDraw4 object");
    IDirectDraw4* dd4 = nullptr;
    if (FAILED(dd->QueryInterface(IID_IDirectDraw4, reinterpret_cast<void**>(&dd4))) || !dd4) {
        dd->Release();
        WriteEnumLog("Error trying to get DirectDraw4 interface");
        return;
    }
    WriteEnumLog("Release DirectDraw object");
    dd->Release();
    if (FAILED(dd4->SetCooperativeLevel(nullptr, 77))) {
        WriteEnumLog("Error trying to set cooperative level");
        dd4->Release();
        return;
    }
    WriteEnumLog("EnumDisplayModes()");
    ModiDriver.clear();
    if (FAILED(dd4->EnumDisplayModes(0, nullptr, nullptr, CallBackEnumModes))) {
        WriteEnumLog("Error calling EnumDisplayModes");
        dd4->Release();
        return;
    }
    WriteEnumLog("Found %d general video modes for current device", static_cast<int>(ModiDriver.size()));
    WriteEnumLog("Create iDirect3d3 object");
    IDirect3D3* d3d = nullptr;
    if (FAILED(dd4->QueryInterface(IID_IDirect3D3, reinterpret_cast<void**>(&d3d))) || !d3d) {
        WriteEnumLog("Error trying to get Direct3d3 interface");
        dd4->Release();
        return;
    }
    WriteEnumLog("Release iDirectDraw4");
    dd4->Release();
    ContatoreDevice = 0;
    if (FAILED(d3d->EnumDevices(CallBack_Direct3dEnum, nullptr))) {
        WriteEnumLog("Error calling EnumDevices method");
    } else {
        WriteEnumLog("Release Direct3d3");
    }
    d3d->Release();
}

BOOL WINAPI CallBackDDEnumerate(GUID* guid, LPSTR descrizione, LPSTR nome, LPVOID) {
    WriteEnumLog("CallBackDDEnumerate() - Found Driver:%s  - %s", descrizione ? descrizione : "", nome ? nome : "");
    EnumeraDriver(guid);
    ++ContatoreDriver;
    return DDENUMRET_OK;
}

void VideoEnumWinMain() {
    char cartella[256] = {};
    GetCurrentDirectoryA(255, cartella);
    std::string base = cartella;
    if (!base.empty() && base.back() == '\\') base.pop_back();
    PercorsoLog = base + "\\Log_VideoEnum.txt";
    const std::string percorsoLista = base + "\\VideoList.bin";
    DeleteFileA(PercorsoLog.c_str());
    DeleteFileA(percorsoLista.c_str());

    FileLista = fopen(percorsoLista.c_str(), "w+b");
    if (!FileLista) {
        WriteEnumLog("Error trying to create file: %s", percorsoLista.c_str());
        return;
    }
    WriteEnumLog("DirectDrawEnumerate");
    ContatoreDriver = 0;
    NumeroListeScritte = 0;
    ScriviInt32(0);
    if (FAILED(DirectDrawEnumerateA(CallBackDDEnumerate, nullptr))) {
        WriteEnumLog("Error calling DirectDrawEnumerate");
        fclose(FileLista);
        DeleteFileA(percorsoLista.c_str());
        return;
    }
    fseek(FileLista, 0, SEEK_SET);
    ScriviInt32(NumeroListeScritte);
    fclose(FileLista);
    WriteEnumLog("Enumeration is complete. Found %d video lists", NumeroListeScritte);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    VideoEnumWinMain();
    return 0;
}
