#pragma once
// The window with the links where the player downloads Windows Media
// Player 7.1 or the codecs the level's movies need.
#include <string>

#include "platform/Forms.h"

// The pages the links open.
inline const char* const IndirizzoMediaPlayer = "http://www.microsoft.com/windows/windowsmedia/download/default.asp";
inline const char* const IndirizzoCodecMicrosoft =
    "http://www.microsoft.com/windows/windowsmedia/format/codecdownload.aspx";
inline const char* const SitoCodecNet = "www.codecs-video.net";
inline const char* const IndirizzoCodecNet = "http://www.codecs-video.net/download/Codec_MP_6_4_all.exe";
inline const char* const SitoCodecIt = "www.livelli-trle.it";
inline const char* const IndirizzoCodecIt = "http://www.livelli-trle.it/download/Codec_MP_6_4_all.exe";

// Control ids, by the controls' names.
enum ControlloLinkDownload : int {
    Label_DownloadMPlayer = 101,
    Label_VideoCodec8 = 102,
    Label_Codec64_net = 103,
    Label_CodecVideo6_4_it = 104,
    Pul_Cancel = 105,
};

inline const char* const TitoloLinkDownload = "Links where you can download codec video or Media Player 7.1";

class Dialog_LinkDownload : public Form {
public:
    Dialog_LinkDownload();
    // Loads the window with its four links shown; MostraModale shows it.
    void ImpostaValori();

protected:
    void Form_Load() override;
    bool MessaggioFinestra(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
};

Dialog_LinkDownload& DialogLinkDownload();
