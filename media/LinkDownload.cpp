#include "media/LinkDownload.h"

#include "core/SharedState.h"
#include "core/SystemUtils.h"

namespace {

struct Collegamento {
    ControlloLinkDownload id;
    std::string testo;
    const char* indirizzo;
    // A codec pack leads the player to install a codec during this start.
    bool pacchettoCodec;
};

const Collegamento* Collegamenti() {
    static const Collegamento elenco[] = {
        {Label_DownloadMPlayer, "Windows Media Player 7.1 (only for Windows98) from Microsoft website",
         IndirizzoMediaPlayer, false},
        {Label_VideoCodec8, "Audio and video codec  7 and 8 (working only with version  7.1) from Microsoft website",
         IndirizzoCodecMicrosoft, false},
        {Label_Codec64_net,
         std::string("All audio and video codec (working with version 6.4 and 7.1) from ") + SitoCodecNet,
         IndirizzoCodecNet, true},
        {Label_CodecVideo6_4_it,
         std::string("All audio and video codec (working with version 6.4 and 7.1) from ") + SitoCodecIt,
         IndirizzoCodecIt, true},
    };
    return elenco;
}
constexpr int NumCollegamenti = 4;

constexpr int32_t Larghezza = 560;
constexpr int32_t Altezza = 230;

}  // namespace

Dialog_LinkDownload::Dialog_LinkDownload() : Form("LudovaneLinkDownload", TitoloLinkDownload) {
    ImpostaStile(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU);
}

Dialog_LinkDownload& DialogLinkDownload() {
    static Dialog_LinkDownload finestra;
    return finestra;
}

void Dialog_LinkDownload::Form_Load() {
    for (int i = 0; i < NumCollegamenti; ++i)
        AggiungiEtichetta(Collegamenti()[i].id, Collegamenti()[i].testo, 16, 16 + 32 * i, Larghezza - 40, 20);
    AggiungiPulsante(Pul_Cancel, "Cancel", (Larghezza - 100) / 2, 16 + 32 * NumCollegamenti + 8, 100, 26);
    Move((GetSystemMetrics(SM_CXSCREEN) - Larghezza) / 2, (GetSystemMetrics(SM_CYSCREEN) - Altezza) / 2, Larghezza,
         Altezza);
}

void Dialog_LinkDownload::ImpostaValori() {
    if (!Load()) return;
    for (int i = 0; i < NumCollegamenti; ++i) ShowWindow(GetDlgItem(hWnd(), Collegamenti()[i].id), SW_SHOW);
}

bool Dialog_LinkDownload::MessaggioFinestra(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    if (msg == WM_CTLCOLORSTATIC) {
        // Links look like links.
        HDC dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, RGB(0, 0, 255));
        SetBkMode(dc, TRANSPARENT);
        result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        return true;
    }
    // A label's STN_CLICKED has the button's code.
    if (msg != WM_COMMAND || HIWORD(wp) != BN_CLICKED) return false;
    const int id = LOWORD(wp);
    if (id == Pul_Cancel) {
        Unload();
        result = 0;
        return true;
    }
    for (int i = 0; i < NumCollegamenti; ++i) {
        const Collegamento& c = Collegamenti()[i];
        if (c.id != id) continue;
        ApriDocumento(c.indirizzo, "", false, "");
        if (c.pacchettoCodec) ImpostaBit(StatoGioco, CodecGiaRichiesto);
        result = 0;
        return true;
    }
    return false;
}
