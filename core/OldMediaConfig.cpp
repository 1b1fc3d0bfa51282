#include "core/OldMediaConfig.h"

#include <algorithm>
#include <cmath>

#include "core/ByteStream.h"
#include "core/FileUtils.h"
#include "core/ImageFormats.h"
#include "core/MediaConfig.h"
#include "core/MediaExtraction.h"
#include "core/MediaLog.h"
#include "core/MediaSyntax.h"
#include "core/TextUtils.h"
#include "core/Utf8Text.h"

std::string (*SintassiGuardianConvertita)() = nullptr;
void (*SintassiEmailConvertita)(const std::string& testo, std::string& corpo, std::string& sintassi) = nullptr;
std::string (*SequenzaImmaginiConvertita)(int32_t flag, const std::vector<ImmagineConvertita>& immagini) = nullptr;

namespace {

bool LeggiPercorso(LettoreByte& f, std::string& percorso) {
    std::string campo(LunghezzaPercorsoVecchio, ' ');
    if (!f.LeggiByte(campo.data(), campo.size())) return false;
    // A field filled to its end has no terminator; a zero byte is no part
    // of any path.
    percorso = PulisciStringa(campo);
    return true;
}

bool LeggiTriggerVecchio(LettoreByte& f, MediaTriggerVecchio& v) {
    return LeggiPercorso(f, v.FileFilmato) && f.LeggiI16(v.EscapeAbilitato) && f.LeggiI32(v.Ritardo) &&
           f.LeggiI32(v.CdTrigger) && f.LeggiI32(v.FlagVecchi) && f.LeggiI32(v.NonUsato) &&
           LeggiPercorso(f, v.FileImmagine) && LeggiPercorso(f, v.FileTesto) && LeggiPercorso(f, v.FileSuono) &&
           LeggiPercorso(f, v.FileProgramma) && f.LeggiI32(v.ScrollStep) && f.LeggiI32(v.ScrollDelay) &&
           f.LeggiI32(v.Duration) && f.LeggiI16(v.SuonoCiclico) && f.LeggiI32(v.CharRow) &&
           f.LeggiI32(v.BackColor) && f.LeggiI32(v.Color) && f.LeggiI32(v.Align) && f.LeggiI32(v.MargineX) &&
           f.LeggiI32(v.MargineY) && f.LeggiI32(v.Repeat) && f.LeggiI32(v.SoundCd) &&
           f.LeggiI32(v.AntiTriggerCd) && f.LeggiI32(v.FadeTime) && f.LeggiI32(v.EndWait);
}

// Wraps as the 32-bit fields of the old program did.
int32_t Long(int64_t valore) { return static_cast<int32_t>(static_cast<uint32_t>(valore)); }

// The names of a trigger are UTF-8; the old file's paths are ANSI.
std::string NomeMedia(const std::string& percorso) { return Utf8DaAnsi(NomeFileDaPercorso(percorso)); }

// The file as written, else its name in the configuration's folder; "" when
// neither exists.
std::string FileVecchio(const std::string& percorso) {
    if (percorso.empty()) return "";
    if (EsisteFile(percorso)) return percorso;
    const std::string nome = NomeFileDaPercorso(percorso);
    const std::string vicino = NellaCartella(HeaderMcf.CartellaMcf, nome);
    if (!nome.empty() && EsisteFile(vicino)) return vicino;
    return "";
}

class Conversione {
public:
    explicit Conversione(const std::string& percorso) : percorso_(percorso) {}

    bool Esegui(const std::string& dati);

private:
    bool File(const MediaTriggerVecchio& v, MediaTrigger& m);
    bool Sequenza(const MediaTriggerVecchio& v, MediaTrigger& m);
    bool Raccogli(std::string& percorso) { return RaccogliFileMedia(percorso, raccolti_, numRaccolti_); }

    std::string percorso_;
    std::vector<std::string> raccolti_;
    int32_t numRaccolti_ = 0;
};

bool Conversione::Esegui(const std::string& dati) {
    MediaConfigVecchia vecchia;
    if (!LeggiMediaConfigVecchia(dati, vecchia))
        return RigaErrore("Error trying to load media configuration file: " + percorso_);
    MediaConfigHeader& h = HeaderMcf;
    h.CartellaMcf = CartellaDaPercorso(percorso_);
    h.Reserved = vecchia.Reserved;
    h.Version = "VER1.4";
    h.TriggerCount = vecchia.TriggerCount;
    h.MediaFileCount = 0;
    h.MediaFiles.assign(1, std::string());
    h.MediaFileRefs.assign(1, 0);
    h.HeaderOptions = ParolaOpzioni(OpzioneHeader::SharedMode) | 0x4000;
    h.VideoMode = 0;
    // The table is put in place whole, once every record is converted.
    std::vector<MediaTrigger> lista(vecchia.Record.size() + 1);
    for (size_t i = 0; i < vecchia.Record.size(); ++i) {
        ConvertiCampiVecchi(vecchia.Record[i], static_cast<int32_t>(i), lista[i]);
        if (!File(vecchia.Record[i], lista[i])) return false;
    }
    ListaMedia = std::move(lista);
    UltimoErrore.clear();
    return true;
}

bool Conversione::File(const MediaTriggerVecchio& v, MediaTrigger& m) {
    const int32_t f = v.FlagVecchi;
    if ((f & VecchioGuardian) && SintassiGuardianConvertita) m.Syntax = SintassiGuardianConvertita();
    if (f & VecchioMovie) {
        std::string p = v.FileFilmato;
        if (!Raccogli(p)) return false;
        m.MediaFile = NomeMedia(p);
        if (m.Options & HasCodec) {
            if (m.Options & CodecSetupFile) {
                std::string codec = v.FileProgramma;
                if (!Raccogli(codec)) return false;
                m.SoundFile = NomeMedia(codec);
            } else {
                // A download link or a name, kept as the author wrote it.
                m.SoundFile = Utf8DaAnsi(v.FileProgramma);
                m.Syntax = ImpostaSezione(m.Syntax, "CODEC", Utf8DaAnsi(v.FileTesto));
            }
        }
    }
    if (f & VecchioExec) {
        std::string p = v.FileProgramma;
        if (!Raccogli(p)) return false;
        m.MediaFile = NomeMedia(p);
    }
    if ((f & VecchioSequenza) && !Sequenza(v, m)) return false;
    if (f & VecchioTesto) {
        if (f & VecchioScroll) m.TypeFlags &= ~FixedText;
        const std::string p = FileVecchio(v.FileTesto);
        std::string testo;
        if (p.empty() || !LeggiFileIntero(p, testo))
            return RigaErrore("Text file: " + NomeFileDaPercorso(v.FileTesto) + " not found.");
        m.Text = "<TEXT>" + Utf8DaAnsi(testo) + "<END_TEXT>";
    }
    if (f & VecchioImmagine) {
        std::string p = v.FileImmagine;
        if (!Raccogli(p)) return false;
        m.MediaFile = NomeMedia(p);
    }
    if (f & VecchioEmail) {
        const std::string p = FileVecchio(v.FileTesto);
        std::string testo;
        if (p.empty() || !LeggiFileIntero(p, testo))
            return RigaErrore("Email text file: " + NomeFileDaPercorso(v.FileTesto) + " not found.");
        std::string corpo, sintassi;
        if (SintassiEmailConvertita) SintassiEmailConvertita(Utf8DaAnsi(testo), corpo, sintassi);
        m.Text = ImpostaSezione(m.Text, "TEXT", corpo);
        m.Syntax = ImpostaSezione(m.Syntax, "SEND_EMAIL", sintassi);
    }
    if (f & VecchioSuono) {
        m.SoundFile = NomeMedia(v.FileSuono);
        if (!(f & VecchioSuonoDaCd)) {
            std::string p = v.FileSuono;
            if (!Raccogli(p)) return false;
            m.SoundFile = NomeMedia(p);
        }
    }
    if (!(f & VecchioNoWavTrigger)) {
        std::string p = NellaCartella(HeaderMcf.CartellaMcf, NomeWavNumero(m.TriggerCd));
        if (!Raccogli(p)) return false;
    }
    if ((f & VecchioAntiTrigger) && !(f & VecchioNoWavAntiTrigger)) {
        std::string p = NellaCartella(HeaderMcf.CartellaMcf, NomeWavNumero(m.AntiTriggerCd));
        if (!Raccogli(p)) return false;
    }
    return true;
}

bool Conversione::Sequenza(const MediaTriggerVecchio& v, MediaTrigger& m) {
    m.TypeFlags &= ~BackgroundImage;
    const std::string p = FileVecchio(v.FileImmagine);
    if (p.empty()) return RigaErrore("Image sequence file not found: " + v.FileImmagine);
    FileSequenzaImmagini sequenza;
    if (!CaricaImageSequence(p, sequenza)) return false;
    const bool scorre = (v.FlagVecchi & VecchioScroll) != 0;
    int32_t flag = sequenza.SequenceWord != 0 ? 0x1 : 0;
    std::vector<ImmagineConvertita> immagini(static_cast<size_t>(sequenza.Count));
    std::vector<std::string> percorsi(immagini.size());
    for (size_t i = 0; i < immagini.size(); ++i) {
        const ImmagineFileSequenza& letta = sequenza.Immagini[i];
        percorsi[i] = PulisciStringa(letta.FileName);
        ImmagineConvertita& im = immagini[i];
        im.Durata = letta.Value;
        if (!scorre) {
            im.Durata = Arrotonda(PercentualeDi(m.Duration, letta.Value));
            flag = (flag | 0x4) & ~0x1;
        }
        im.Nome = NomeMedia(percorsi[i]);
        im.Flags = 1;
        im.Bound = Rettangolo{0, 0, 1000, 1000};
    }
    for (size_t i = 0; i < immagini.size(); ++i) {
        std::string trovato = FileVecchio(percorsi[i]);
        if (trovato.empty())
            return RigaErrore("Image file " + NomeFileDaPercorso(percorsi[i]) + " not found!");
        if (!Raccogli(trovato)) return false;
        immagini[i].Nome = NomeMedia(trovato);
    }
    const std::string testo = SequenzaImmaginiConvertita ? SequenzaImmaginiConvertita(flag, immagini) : "";
    m.Syntax = ImpostaSezione(m.Syntax, "SEQ_IMAGE", testo);
    if (!(m.TypeFlags & (FixedText | ScrollText))) m.TypeFlags |= FixedText;
    return true;
}

}  // namespace

bool LeggiMediaConfigVecchia(const std::string& dati, MediaConfigVecchia& config) {
    LettoreByte f(dati);
    MediaConfigVecchia letta;
    if (!f.LeggiI32(letta.TriggerCount) || !f.LeggiByte(letta.Reserved.data(), letta.Reserved.size())) return false;
    if (letta.TriggerCount < 0 || static_cast<size_t>(letta.TriggerCount) > f.Rimanenti() / LunghezzaTriggerVecchio)
        return false;
    letta.Record.resize(static_cast<size_t>(letta.TriggerCount));
    for (MediaTriggerVecchio& v : letta.Record)
        if (!LeggiTriggerVecchio(f, v)) return false;
    config = std::move(letta);
    return true;
}

void ConvertiCampiVecchi(const MediaTriggerVecchio& v, int32_t indice, MediaTrigger& m) {
    m = MediaTrigger{};
    m.Level = QualsiasiLivello;
    m.MediaCode = indice + 1;
    m.AntiTriggerCd = v.AntiTriggerCd;
    m.SoundCd = v.SoundCd;
    m.Repeat = v.Repeat;
    m.TriggerCd = v.CdTrigger;
    m.EndWait = v.EndWait;
    m.FadeTime = v.FadeTime;
    m.Duration = v.Duration;
    m.DelaySeconds = v.Ritardo;
    m.BackColor = v.BackColor;
    if (v.EscapeAbilitato) m.Options |= EscapeBreaks;
    if (v.SuonoCiclico) m.Options |= LoopSound;

    // The old bits in the order the old program applied them: a later one
    // may clear what an earlier one set.
    const int32_t f = v.FlagVecchi;
    int32_t& t = m.TypeFlags;
    int32_t& o = m.Options;
    if (f & VecchioAntiTrigger) o |= AntiTrigger;
    if (f & VecchioNoWavAntiTrigger) o |= OpzioneNoWavAntiTrigger;
    if (f & VecchioGuardian) t |= BitGuardian;
    if (f & VecchioCodecSetup) o |= CodecSetupFile;
    if (f & VecchioExec) t |= BitExec;
    if (f & VecchioNascondiProgramma) o |= HideProgram;
    if (f & VecchioAttendiProgramma) o |= WaitProgramEnd;
    if (f & VecchioFadeOut) o |= FadeOutSound;
    if (f & VecchioMovie) t |= BitMovie;
    if (f & VecchioBit5) t |= 0x20;
    if (f & VecchioSequenza) t = (t | ImageSequence) & ~BackgroundImage;
    if (f & VecchioImmagine) t |= BackgroundImage;
    if (f & VecchioCodec) o |= HasCodec;
    if (f & VecchioEmail) t |= BitEmail;
    if (f & VecchioSuono) t |= BackgroundSound;
    if (f & VecchioSuonoDaCd) o |= SoundFromCd;
    if (f & VecchioCattura) t = (t | ScreenCapture) & ~BackgroundImage;
    if (f & VecchioTesto) t |= (f & VecchioScroll) ? ScrollText : FixedText;
    if (f & VecchioNoWavTrigger) o |= OpzioneNoWavTrigger;
    if (f & VecchioAttendiFilmato) o |= WaitAfterMovie;

    TextFormat& fmt = m.Formato;
    fmt.BoundRect.Left = Long(10LL * v.MargineX);
    fmt.BoundRect.Top = Long(10LL * v.MargineY);
    fmt.BoundRect.Right = Long(1000LL - 10LL * v.MargineX);
    fmt.BoundRect.Bottom = Long(1000LL - 10LL * v.MargineY);
    fmt.Color = v.Color;
    fmt.ScrollDelay = v.ScrollDelay;
    fmt.ScrollStep = v.ScrollStep;
    fmt.Align = v.Align;
    fmt.CharRow = v.CharRow;
    if (f & VecchioFormato4) fmt.Flags |= 0x4;
}

bool ConvertiMediaConfigVecchia(const std::string& percorso) {
    UltimoErrore.clear();
    std::string dati;
    if (!LeggiFileIntero(percorso, dati, MassimoFileMcf) || dati.size() < LunghezzaHeaderVecchio) {
        RigaErrore("Error loading header of media configuration file: " + percorso);
        return false;
    }
    return ConvertiDatiMediaConfigVecchia(percorso, dati);
}

bool ConvertiDatiMediaConfigVecchia(const std::string& percorso, const std::string& dati) {
    UltimoErrore.clear();
    if (Conversione(percorso).Esegui(dati)) return true;
    // Never a table half converted: the loader's safe defaults, and the old
    // version kept so that no run writes the empty table over the old file.
    const std::string errore = UltimoErrore;
    MediaConfigHeader& h = HeaderMcf;
    h.Version = "VER1.4";
    h.CartellaMcf = CartellaDaPercorso(percorso);
    h.TriggerCount = 0;
    h.MediaFileCount = 0;
    h.MediaFiles.assign(1, std::string());
    h.MediaFileRefs.assign(1, 0);
    h.VideoMode = 2;
    h.HeaderOptions = ParolaOpzioni(OpzioneHeader::SharedMode);
    ListaMedia.assign(1, MediaTrigger{});
    UltimoErrore = errore;
    return false;
}

bool RaccogliFileMedia(std::string& percorso, std::vector<std::string>& lista, int32_t& conteggio) {
    const std::string trovato = PercorsoFileAudio(percorso);
    if (trovato.empty()) return RigaErrore("Missing media file: " + percorso);
    MediaConfigHeader& h = HeaderMcf;
    const std::string nome = NomeFileDaPercorso(trovato);
    const std::string nomeMedia = Utf8DaAnsi(nome);
    h.MediaFileCount = std::clamp<int32_t>(h.MediaFileCount, 0, static_cast<int32_t>(h.MediaFiles.size()));
    h.MediaFileRefs.resize(h.MediaFiles.size());
    bool presente = false;
    for (int32_t i = 0; i < h.MediaFileCount && !presente; ++i) {
        if (UgualeSenzaCaso(h.MediaFiles[static_cast<size_t>(i)], nomeMedia)) {
            ++h.MediaFileRefs[static_cast<size_t>(i)];
            presente = true;
        }
    }
    if (!presente) {
        const size_t k = static_cast<size_t>(h.MediaFileCount);
        // One spare entry after the names, as the loader leaves the list.
        h.MediaFiles.resize(k + 2);
        h.MediaFileRefs.resize(k + 2);
        h.MediaFiles[k] = nomeMedia;
        h.MediaFileRefs[k] = 1;
        ++h.MediaFileCount;
    }
    std::string finale = trovato;
    if (!UgualeSenzaCaso(CartellaDaPercorso(trovato), h.CartellaMcf)) {
        const std::string maiuscolo = MaiuscoloAscii(trovato);
        // The game's own sound folders are used where they are.
        const bool suoniGioco = UgualeSenzaCaso(h.CartellaMcf, Trim(CartellaTrle)) &&
                                (maiuscolo.find("\\SOUND\\SAMPLES\\") != std::string::npos ||
                                 maiuscolo.find("\\AUDIO\\") != std::string::npos);
        if (!suoniGioco) {
            finale = NellaCartella(h.CartellaMcf, nome);
            if (!CopiaFile(trovato, finale))
                return RigaErrore("Error copying media file: " + trovato + " to " + finale);
        }
    }
    percorso = finale;
    AggiungiNomeUnico(finale, lista, conteggio);
    return true;
}
