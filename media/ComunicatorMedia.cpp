// The comunicator media: its syntax and its performance in the media window.
#include "media/ComunicatorMedia.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "core/ImageLoading.h"
#include "core/MediaConfig.h"
#include "core/MediaExtraction.h"
#include "core/MediaLog.h"
#include "core/MediaSyntax.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"
#include "core/Utf8Text.h"
#include "runservices/DisplayModes.h"
#include "runservices/GameWindow.h"
#include "runservices/PlayerKeys.h"
#include "runservices/Sounds.h"
#include "media/MediaText.h"
#include "media/MediaWindow.h"
#include "media/TextLayout.h"
#include "platform/Clock.h"

ParametriComunicator ComunicatorParams;

namespace {

constexpr int32_t FlagTuner = 0x2;
constexpr int32_t FlagZoomIniziale = 0x4;
constexpr int32_t FlagSuoni = 0x8;
constexpr int32_t FlagNomi = 0x10;
constexpr int32_t FlagEscapeSezione = 0x20;

constexpr int32_t SezioneFlip = 0x1;
constexpr int32_t SezioneFlipZoom = 0x2;
constexpr int32_t SezioneFlipRiempi = 0x4;

constexpr int32_t TastoEscape = 27;
constexpr int32_t EffettoTuner = 11;
constexpr uint32_t DurataTuner = 3000;
// A voice is waited for its length and this much more, whatever the player
// reports.
constexpr uint32_t MargineVoce = 2000;
constexpr UINT FormatoNome = 0x850;

TextFormat FormatoPersonaPredefinito() {
    TextFormat f;
    f.Color = static_cast<int32_t>(RGB(255, 255, 255));
    f.CharRow = 80;
    f.Effect = 1;
    f.DelayMicros = 30;
    f.Flags = 1;
    return f;
}

std::string ValoreStringa(std::string& testo, const char* tag) {
    const std::string v = Trim(EstraiTag(testo, tag));
    return v == "~" ? std::string() : v;
}

bool UnPosto(char lettera, const char* lettere) {
    return lettera != 0 && std::string(lettere).find(lettera) != std::string::npos;
}

bool Esiste(const Rettangolo& r) { return !(r.Left == -1 && r.Top == -1 && r.Right == -1 && r.Bottom == -1); }

Rettangolo InPixel(const Rettangolo& millesimi) {
    int32_t larghezza = 0, altezza = 0;
    DimensioniScala(larghezza, altezza);
    return ScalaMillesimi(millesimi, larghezza, altezza);
}

// The portrait place of a speaker: the second person's, and in the layouts
// of one portrait place always that one.
int32_t PostoRitratto(char lettera, int32_t chiParla) {
    return chiParla == 1 || UnPosto(lettera, "EHIJ") ? 3 : 1;
}

}  // namespace

bool LeggiPersonaComunicator(const std::string& sezione, ComunicatorPerson& record) {
    std::string testo = sezione;
    record.Name = ValoreStringa(testo, "#NAME#=");
    record.Image = ValoreStringa(testo, "#IMAGE#=");
    const TextFormat lavoro = FormatoTestoCorrente;
    LeggiFormatoTesto(EstraiSezione(testo, "FORMATTING"));
    record.Formato = FormatoTestoCorrente;
    FormatoTestoCorrente = lavoro;
    return true;
}

bool LeggiSezioneComunicator(const std::string& sezione, ComunicatorSection& record) {
    std::string testo = sezione;
    const auto numero = [&testo](const char* tag, int32_t& campo, const char* nome) {
        if (ValoreIntero32(EstraiTag(testo, tag), campo)) return true;
        return RigaErrore(std::string("SYNTAX ERROR in Comunicator section: not numeric value for ") + nome);
    };
    if (!numero("#INDEX#=", record.Index, "Index")) return false;
    // Only two persons speak.
    if (record.Index != 0 && record.Index != 1)
        return RigaErrore("SYNTAX ERROR in Comunicator section: #INDEX#=" + std::to_string(record.Index) +
                          " names no person (0 or 1)");
    if (!numero("#FLAGS#=", record.Flags, "Flags")) return false;
    if (!numero("#WAIT#=", record.Wait, "Wait")) return false;
    record.Text = "<TEXT>" + EstraiSezione(testo, "TEXT") + "<END_TEXT>";
    record.Image = HaBit(record.Flags, SezioneFlip) ? ValoreStringa(testo, "#IMAGE#=") : std::string();
    return true;
}

bool SintassiComunicator(const std::string& sezione) {
    ParametriComunicator& c = ComunicatorParams;
    c = ParametriComunicator{};
    for (ComunicatorPerson& p : c.Persons) p.Formato = FormatoPersonaPredefinito();
    if (sezione.empty()) return true;
    std::string testo = sezione;
    if (!ValoreIntero32(EstraiTag(testo, "#FLAGS#="), c.Flags))
        return RigaErrore("SYNTAX ERROR in comunicator: not numeric value for flags");
    if (HaBit(c.Flags, FlagTuner)) {
        c.TImage = ValoreStringa(testo, "#T-IMAGE#=");
        if (c.TImage.size() < 4) {
            c.TImage.clear();
            return RigaErrore("SYNTAX ERROR in comunicator: missing name image for tuner effect #T-IMAGE#");
        }
    }
    int32_t persone = 0, sezioni = 0;
    if (!ValoreIntero32(EstraiTag(testo, "#TOT_PERSONS#="), persone))
        return RigaErrore("SYNTAX ERROR in comunicator: not numeric value for #tot_persons#");
    if (persone < 0 || persone > MassimoPersoneComunicator)
        return RigaErrore("SYNTAX ERROR in comunicator: #TOT_PERSONS#=" + std::to_string(persone) +
                          " outside 0 to " + std::to_string(MassimoPersoneComunicator));
    if (!ValoreIntero32(EstraiTag(testo, "#TOT_SECTIONS#="), sezioni))
        return RigaErrore("SYNTAX ERROR in comunicator: not numeric value for Tot_Sections");
    if (sezioni < 0 || sezioni > MassimoSezioniComunicator)
        return RigaErrore("SYNTAX ERROR in comunicator: #TOT_SECTIONS#=" + std::to_string(sezioni) +
                          " outside 0 to " + std::to_string(MassimoSezioniComunicator));
    c.TotPersons = persone;
    c.TotSections = sezioni;
    for (int32_t n = 1; n <= sezioni; ++n) {
        ComunicatorSection s;
        if (!LeggiSezioneComunicator(EstraiSezione(testo, "SECTION" + std::to_string(n)), s)) return false;
        c.Sections.push_back(s);
    }
    for (int32_t n = 1; n <= persone; ++n)
        LeggiPersonaComunicator(EstraiSezione(testo, "PERSON" + std::to_string(n)), c.Persons[n - 1]);
    return true;
}

void Dialog_Titoli::DisegnaTestoFumetto(int32_t persona, COLORREF coloreNome) {
    if (persona < 0 || persona > 1) return;
    const ComunicatorPerson& p = ComunicatorParams.Persons[persona];
    const std::string& layout = MediaCorrente.MediaFile;
    const char lettera = LetteraLayout(layout);
    if (!p.Image.empty()) {
        const Rettangolo posto = RettangoloPredefinito(layout, persona == 1 ? 3 : 1, persona);
        if (Esiste(posto) && !RitrattiComunicator[persona].empty()) {
            if (ClipRitrattoComunicator) ImpostaClipRoundRect(RettRitrattoComunicator);
            DisegnaImmagineScalata(RitrattiComunicator[persona], posto);
            if (ClipRitrattoComunicator) AnnullaClipRegion();
        }
    }
    if (!HaBit(ComunicatorParams.Flags, FlagNomi) || p.Name.empty()) return;
    const Rettangolo postoNome = RettangoloPredefinito(layout, persona == 1 ? 7 : 6, persona);
    if (!Esiste(postoNome)) return;
    FormatoTestoCorrente = p.Formato;
    switch (lettera) {
    case 'A': FormatoTestoCorrente.CharRow = 80; break;
    case 'B': FormatoTestoCorrente.CharRow = 90; break;
    case 'C': FormatoTestoCorrente.CharRow = 110; break;
    case 'D': FormatoTestoCorrente.CharRow = 120; break;
    default: FormatoTestoCorrente.CharRow = 0; break;
    }
    ImpostaFontTesto();
    FormatoTestoCorrente.BoundRect = postoNome;
    Rettangolo r = CalcolaBoundRect(false);
    HDC dc = Picture1.hDC();
    if (!dc) return;
    if (lettera == 'C') {
        HBRUSH pennello = CreateSolidBrush(coloreNome);
        RECT fondo{r.Left, r.Top, r.Right, r.Bottom};
        FillRect(dc, &fondo, pennello);
        DeleteObject(pennello);
    }
    const std::u16string nome = Utf16DaUtf8(p.Name);
    SIZE misura{};
    GetTextExtentPoint32W(dc, reinterpret_cast<LPCWSTR>(nome.c_str()), static_cast<int>(nome.size()), &misura);
    const int32_t larghezza = r.Right - r.Left;
    if (misura.cx < larghezza) r.Left += static_cast<int32_t>(std::nearbyint((larghezza - misura.cx) / 2.0));
    RECT rect{r.Left, r.Top, r.Right, r.Bottom};
    DrawTextW(dc, reinterpret_cast<LPCWSTR>(nome.c_str()), static_cast<int>(nome.size()), &rect,
              static_cast<UINT>(FormatoTestoCorrente.Align) | FormatoNome);
}

void Dialog_Titoli::DisegnaPersonaComunicator(const std::string& fileLayout, const std::string& immagine,
                                              int32_t chiParla, bool corrente, bool riempi) {
    const char lettera = LetteraLayout(fileLayout);
    const Rettangolo posto =
        RettangoloPredefinito(fileLayout, corrente ? 5 : PostoRitratto(lettera, chiParla), chiParla);
    if (!Esiste(posto) || immagine.empty()) return;
    if (ClipRitrattoComunicator) ImpostaClipRoundRect(RettRitrattoComunicator);
    DisegnaImmagineTrasparente(immagine, posto, HaBit(ComunicatorParams.Flags, FlagSuoni), riempi);
    if (ClipRitrattoComunicator) AnnullaClipRegion();
}

void Dialog_Titoli::MostraComunicator() {
    const std::string layout = MediaCorrente.MediaFile;
    const char lettera = LetteraLayout(layout);
    EsitoMedia = true;
    SintassiComunicator(EstraiSezione(MediaCorrente.Syntax, "COMUNICATOR"));
    ParametriComunicator& c = ComunicatorParams;
    RitrattiComunicator[0].clear();
    RitrattiComunicator[1].clear();
    ClipRitrattoComunicator = false;

    const auto estrai = [this](const std::string& nome) {
        bool temporaneo = false;
        const std::string file = EstraiFileMedia(nome, temporaneo, false, false);
        if (!file.empty() && temporaneo) FileTemporanei.push_back(file);
        return file;
    };
    std::string tuner;
    if (!c.TImage.empty()) {
        tuner = estrai(c.TImage);
        if (tuner.empty()) {
            EsitoMedia = false;
            ErroreMedia = true;
            StampaLog("ERROR in comunicator: " + UltimoErrore, true);
            return;
        }
    }
    for (int32_t p = 0; p < 2; ++p) {
        if (c.Persons[p].Image.empty()) continue;
        RitrattiComunicator[p] = estrai(c.Persons[p].Image);
        if (RitrattiComunicator[p].empty()) {
            EsitoMedia = false;
            ErroreMedia = true;
            StampaLog(AnsiDaUtf8("ERROR in comunicator media: missing image for person " + std::to_string(p + 1) +
                                 "  " + c.Persons[p].Image),
                      true);
            return;
        }
    }
    std::vector<std::string> flip(c.Sections.size());
    for (size_t n = 0; n < c.Sections.size(); ++n) {
        if (c.Sections[n].Image.empty()) continue;
        flip[n] = estrai(c.Sections[n].Image);
        if (flip[n].empty())
            StampaLog(AnsiDaUtf8("ERROR in comunicator media: missing flip-image: " + c.Sections[n].Image), true);
    }

    bool ok = false;
    CaricaImmagineMedia(0, ok);
    CreaMemoryDC();

    COLORREF coloreNome = RGB(0, 0, 0);
    if (lettera == 'C' && HaBit(c.Flags, FlagNomi) && Picture1.hDC()) {
        const Rettangolo n = InPixel(RettangoloPredefinito(layout, 6, 0));
        coloreNome = GetPixel(Picture1.hDC(), (n.Left + n.Right) / 2, (n.Top + n.Bottom) / 2);
    }
    if (lettera == 'I') {
        RettRitrattoComunicator = InPixel(RettangoloPredefinito(layout, 3, 0));
        ClipRitrattoComunicator = true;
        // The rounded clip is taken off through the window's own clip switch.
        ClipAttivo = true;
    }

    int32_t chiParla = c.Sections.empty() ? 0 : c.Sections[0].Index;
    if (UnPosto(lettera, "EHIJ"))
        chiParla = MaiuscoloAscii(c.Persons[0].Image).find("COM_SPEAKER") != std::string::npos ? 0 : 1;

    if (lettera != 'F' && lettera != 'G') {
        if (HaBit(c.Flags, FlagTuner) && !tuner.empty()) {
            DibMemoria rumore;
            int32_t larghezza = 0, altezza = 0;
            if (CaricaImmagineDib(tuner, rumore, larghezza, altezza)) {
                const Rettangolo r = InPixel(RettangoloPredefinito(layout, PostoRitratto(lettera, chiParla), chiParla));
                const bool suoniLogger = SuoniLoggerUsabili();
                if (suoniLogger && HaBit(c.Flags, FlagSuoni)) SuonaEffetto(EffettoTuner, true, false);
                const uint32_t inizio = ClockTick();
                if (ClipRitrattoComunicator) ImpostaClipRoundRect(RettRitrattoComunicator);
                while (ClockTick() - inizio < DurataTuner && Picture1.hDC()) {
                    const uint32_t passo = ClockTick();
                    BitBlt(Picture1.hDC(), r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top, rumore.dc,
                           NumeroCasuale(160), NumeroCasuale(160), SRCCOPY);
                    Picture1.Refresh();
                    if (!suoniLogger && HaBit(c.Flags, FlagSuoni))
                        SuonaBeep(50 + NumeroCasuale(100), 10);
                    // A beep that could not sound takes its time all the same.
                    const uint32_t trascorsi = ClockTick() - passo;
                    ClockSleep(trascorsi < 10 ? 10 - trascorsi : 0);
                    DoEvents();
                }
                if (ClipRitrattoComunicator) AnnullaClipRegion();
                if (suoniLogger && HaBit(c.Flags, FlagSuoni)) FermaSuono();
                LiberaDibMemoria(rumore);
            }
            if (!HaBit(c.Flags, FlagZoomIniziale)) {
                DisegnaTestoFumetto(chiParla, coloreNome);
                Picture1.Refresh();
            }
        }
        if (HaBit(c.Flags, FlagZoomIniziale)) {
            DisegnaPersonaComunicator(layout, RitrattiComunicator[chiParla], chiParla, false, true);
            DisegnaTestoFumetto(chiParla, coloreNome);
            Picture1.Refresh();
        }
        if (HaBit(c.Flags, FlagTuner | FlagZoomIniziale)) AttendiMs(500, true);
    }

    DisegnaTestoFumetto(chiParla, coloreNome);
    if (UnPosto(lettera, "ABD")) DisegnaTestoFumetto(1 - chiParla, coloreNome);
    Picture1.Refresh();
    SalvaSfondo();

    // Escape seen in a wait: 0 nothing, 1 the section ends, 2 the dialogue
    // ends. Without EscapeBreaks a wait that only Escape ends (a section of
    // Wait 0) takes it too, so that the player can always go on; a voice
    // ends by itself and is not cut.
    const auto escapeAttesa = [this, &c](bool sempre) -> int {
        bool fine = false;
        if (ControllaTastoEscape(fine)) {
            if (!AbortEscape || !HaBit(c.Flags, FlagEscapeSezione)) return 2;
            AbortEscape = false;
            MediaPlayer1.Stop();
            AttendiFineEscape(false);
            return 1;
        }
        if (sempre && TastiPremuti(TastoEscape)) {
            MediaPlayer1.Stop();
            AttendiFineEscape(false);
            return 1;
        }
        // The game has ended: nobody is left to listen.
        if (!RichiestaAbort()) return 2;
        return 0;
    };

    bool flipMostrata = false;
    for (size_t n = 0; n < c.Sections.size(); ++n) {
        const ComunicatorSection& s = c.Sections[n];
        chiParla = s.Index;
        if (!flip[n].empty()) {
            RipristinaSfondo(false);
            if (HaBit(s.Flags, SezioneFlipZoom))
                DisegnaPersonaComunicator(layout, flip[n], chiParla, true, HaBit(s.Flags, SezioneFlipRiempi));
            else
                DisegnaImmagineScalata(flip[n], RettangoloPredefinito(layout, 5, chiParla));
            Picture1.Refresh();
            SalvaSfondo();
            flipMostrata = true;
        } else if (UnPosto(lettera, "CEHIJ")) {
            RipristinaSfondo(false);
            DisegnaTestoFumetto(chiParla, coloreNome);
            Picture1.Refresh();
            SalvaSfondo();
        }

        FormatoTestoCorrente = c.Persons[chiParla].Formato;
        FormatoTestoCorrente.BoundRect = RettangoloPredefinito(layout, chiParla == 1 ? 4 : 2, chiParla);
        BoundRect = CalcolaBoundRect(true);

        std::string voce;
        std::string testo = LeggiTagVoice(TestoMedia(s.Text), voce);
        voce = Trim(voce);
        if (LogAbilitato) StampaLog("Text to show:\r\n" + AnsiDaUtf8(testo));
        std::string fileVoce;
        if (!voce.empty()) {
            fileVoce = estrai(voce);
            if (fileVoce.empty()) {
                StampaLog(AnsiDaUtf8("ERROR in comunicator media: missing voice file: " + voce), true);
                EsitoMedia = false;
                ErroreMedia = true;
                break;
            }
        }
        if (HaBit(c.Flags, FlagNomi) && lettera >= 'E' && lettera <= 'J') {
            const std::string prefisso = c.Persons[chiParla].Name + (lettera == 'G' ? "> " : ": ");
            testo = prefisso + SostituisciSenzaCaso(testo, "\r\n", "\r\n" + prefisso);
        }

        if (!fileVoce.empty()) {
            // Once: a voice that repeated would hold the dialogue for ever.
            MediaPlayer1.SetPlayCount(1);
            MediaPlayer1.SetFileName(fileVoce);
        }
        bool completato = false;
        MostraTestoDinamico(testo, completato);
        bool saltata = false;
        bool fine = false;
        if (!completato || (c.Persons[0].Formato.Effect != 1 && ControllaTastoEscape(fine))) {
            if (scaricata_ || !HaBit(c.Flags, FlagEscapeSezione)) {
                AbortEscape = !scaricata_;
                break;
            }
            AbortEscape = false;
            MediaPlayer1.Stop();
            AttendiFineEscape(false);
            saltata = true;
        }

        int esito = 0;
        if (!saltata && !fileVoce.empty()) {
            StampaLog("Wait end voice sound");
            const uint32_t inizio = ClockTick();
            const uint64_t limite = static_cast<uint64_t>(MediaPlayer1.Durata()) + MargineVoce;
            while (MediaPlayer1.PlayState() == MediaPlayer::InRiproduzione && ClockTick() - inizio < limite) {
                DoEvents();
                esito = escapeAttesa(false);
                if (esito) break;
                ClockSleep(10);
            }
            MediaPlayer1.Stop();
        }
        if (!saltata && esito == 0) {
            if (s.Wait > 0) {
                const uint32_t inizio = ClockTick();
                const uint64_t limite = static_cast<uint64_t>(s.Wait) * 1000;
                while (ClockTick() - inizio < limite) {
                    DoEvents();
                    esito = escapeAttesa(false);
                    if (esito) break;
                    ClockSleep(30);
                }
            } else if (s.Wait == 0) {
                for (;;) {
                    DoEvents();
                    esito = escapeAttesa(!HaBit(MediaCorrente.Options, EscapeBreaks));
                    if (esito) break;
                    ClockSleep(100);
                }
            }
        }
        if (esito == 2) break;

        Timer_Dinamico.SetEnabled(false);
        RipristinaSfondo(true);
        if (lettera == 'G' && flipMostrata) {
            CaricaImmagineMedia(0, ok);
            SalvaSfondo();
        }
    }
    Timer_Dinamico.SetEnabled(false);
    if (ClipRitrattoComunicator) {
        AnnullaClipRegion();
        ClipAttivo = false;
    }
    DoEvents();
}
