#include "core/MediaConfig.h"

#include <cstdio>

#include "core/FileUtils.h"
#include "core/MediaExtraction.h"
#include "core/MediaLog.h"
#include "core/OldMediaConfig.h"
#include "core/ScrambledString.h"
#include "core/SharedState.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"

MediaConfigHeader HeaderMcf;

namespace {

const char* const NomeModulo = "Media Module (Ludovane.exe)";
const char* const A_Capo = "\r\n";

int32_t Cifra(char c) { return c >= '0' && c <= '9' ? c - '0' : 0; }

bool LeggiFormato(TextFormat& t, LettoreByte& f) {
    return f.LeggiI32(t.Color) && f.LeggiI32(t.Align) && f.LeggiI32(t.CharRow) && f.LeggiI32(t.BoundRect.Left) &&
           f.LeggiI32(t.BoundRect.Top) && f.LeggiI32(t.BoundRect.Right) && f.LeggiI32(t.BoundRect.Bottom) &&
           f.LeggiI32(t.Effect) && f.LeggiI32(t.ScrollStep) && f.LeggiI32(t.ScrollDelay) &&
           f.LeggiI32(t.DelayMicros) && f.LeggiI32(t.Flags) && f.LeggiI32(t.Font);
}

void ScriviFormato(const TextFormat& t, ScrittoreByte& f) {
    for (int32_t v : {t.Color, t.Align, t.CharRow, t.BoundRect.Left, t.BoundRect.Top, t.BoundRect.Right,
                      t.BoundRect.Bottom, t.Effect, t.ScrollStep, t.ScrollDelay, t.DelayMicros, t.Flags, t.Font})
        f.ScriviI32(v);
}

}  // namespace

bool CaricaTriggerMedia(MediaTrigger& media, LettoreByte& file) {
    MediaTrigger m;
    const bool letto =
        file.LeggiI32(m.TypeFlags) && file.LeggiI32(m.Options) && LeggiStringaCodificata(m.MediaFile, file) &&
        LeggiStringaCodificata(m.SoundFile, file) && LeggiFormato(m.Formato, file) &&
        LeggiStringaCodificata(m.Text, file) && LeggiStringaCodificata(m.Syntax, file) &&
        file.LeggiI32(m.TriggerCd) && file.LeggiI32(m.SoundCd) && file.LeggiI32(m.AntiTriggerCd) &&
        file.LeggiI32(m.Repeat) && file.LeggiI32(m.BackColor) && file.LeggiI32(m.FadeTime) &&
        file.LeggiI32(m.EndWait) && file.LeggiI32(m.DelaySeconds) && file.LeggiI32(m.Duration) &&
        file.LeggiI32(m.MediaCode) && file.LeggiI32(m.Level);
    if (!letto) return false;
    media = std::move(m);
    return true;
}

bool SalvaTriggerMedia(const MediaTrigger& m, ScrittoreByte& file) {
    file.ScriviI32(m.TypeFlags);
    file.ScriviI32(m.Options);
    if (!ScriviStringaCodificata(m.MediaFile, file) || !ScriviStringaCodificata(m.SoundFile, file)) return false;
    ScriviFormato(m.Formato, file);
    if (!ScriviStringaCodificata(m.Text, file) || !ScriviStringaCodificata(m.Syntax, file)) return false;
    for (int32_t v : {m.TriggerCd, m.SoundCd, m.AntiTriggerCd, m.Repeat, m.BackColor, m.FadeTime, m.EndWait,
                      m.DelaySeconds, m.Duration, m.MediaCode, m.Level})
        file.ScriviI32(v);
    return true;
}

bool CaricaMediaMcf(const std::string& percorso) {
    UltimoErrore.clear();
    if (!EsisteFile(percorso)) {
        RigaErrore("File: " + percorso + " not found");
        return false;
    }
    std::string dati;
    if (!LeggiFileIntero(percorso, dati, MassimoFileMcf)) {
        RigaErrore("Error trying to load 'media.mcf' file");
        return false;
    }
    if (!CaricaMediaMcfDaByte(percorso, dati)) return false;
    // A level moved with its virtual packet gets the packet's folder mended.
    CartellaVirtuale();
    return true;
}

bool CaricaMediaMcfDaByte(const std::string& percorso, const std::string& dati) {
    UltimoErrore.clear();
    const MediaConfigHeader precedente = HeaderMcf;
    auto fallisci = [&](const std::string& riga) {
        HeaderMcf = precedente;
        RigaErrore(riga);
        return false;
    };
    const std::string erroreLettura = "Error trying to load 'media.mcf' file";
    const std::string erroreStringa = "Error loading media file: " + percorso;

    LettoreByte f(dati);
    if (dati.size() < 6) return fallisci(erroreLettura);
    bool vecchio = false;
    if (UgualeSenzaCaso(dati.substr(0, 3), "VER")) {
        const int32_t major = Cifra(dati[3]);
        const int32_t minor = Cifra(dati[5]);
        if (major > MajorVersioneMcf || (major == MajorVersioneMcf && minor > MinorVersioneMcf)) {
            Messaggio(std::string("Media file: ") + percorso + " requires a highest version of " + NomeModulo +
                          A_Capo + "Current version of " + NomeModulo + " is " + std::to_string(MajorVersioneMcf) +
                          "." + std::to_string(MinorVersioneMcf) +
                          " while this media file has been created with Pellamor ver. " + std::to_string(major) +
                          "." + std::to_string(minor) + A_Capo + "I cann't load this media file",
                      StileErroreCritico);
            HeaderMcf = precedente;
            return false;
        }
        MediaConfigHeader& h = HeaderMcf;
        h.Version = dati.substr(0, 6);
        f.Posiziona(6);
        if (!f.LeggiI32(h.TriggerCount) || !f.LeggiByte(h.Reserved.data(), h.Reserved.size()) ||
            !f.LeggiI32(h.HeaderOptions) || !f.LeggiI32(h.VideoMode) || !f.LeggiI32(h.ScriptDatChecksum) ||
            !f.LeggiI32(h.ReservedLong))
            return fallisci(erroreLettura);
        if (!LeggiStringaCodificata(h.HeaderText, f)) return fallisci(erroreStringa);
        int32_t k = 0;
        if (!f.LeggiI32(k)) return fallisci(erroreLettura);
        // Every entry takes at least its empty name's count and its use count.
        if (k < 0 || static_cast<size_t>(k) > f.Rimanenti() / 8) return fallisci(erroreStringa);
        h.MediaFileCount = k;
        h.MediaFiles.assign(static_cast<size_t>(k) + 1, std::string());
        h.MediaFileRefs.assign(static_cast<size_t>(k) + 1, 0);
        for (size_t i = 0; i < static_cast<size_t>(k); ++i) {
            if (!LeggiStringaCodificata(h.MediaFiles[i], f)) return fallisci(erroreStringa);
            if (!f.LeggiI32(h.MediaFileRefs[i])) return fallisci(erroreLettura);
        }
    } else {
        if (dati.size() < 20) return fallisci(erroreLettura);
        f.LeggiI32(HeaderMcf.TriggerCount);
        f.LeggiByte(HeaderMcf.Reserved.data(), HeaderMcf.Reserved.size());
        HeaderMcf.Version = "VER1.4";
        vecchio = true;
    }

    HeaderMcf.CartellaMcf = CartellaDaPercorso(percorso);
    // The bytes are at hand: the conversion need not read the file again.
    if (IsVersione14() && vecchio) return ConvertiDatiMediaConfigVecchia(percorso, dati);

    const int32_t n = HeaderMcf.TriggerCount;
    int32_t letti = 0;
    // A count that the remaining bytes cannot hold is refused before the
    // table is made.
    if (n >= 0 && static_cast<size_t>(n) <= f.Rimanenti() / LunghezzaMinimaTrigger) {
        ListaMedia.assign(static_cast<size_t>(n) + 1, MediaTrigger{});
        while (letti < n && CaricaTriggerMedia(ListaMedia[static_cast<size_t>(letti)], f)) ++letti;
    }
    if (n < 0 || letti < n) {
        RigaErrore("Error trying to load media configuration file: " + percorso);
        HeaderMcf.TriggerCount = 0;
        HeaderMcf.MediaFileCount = 0;
        HeaderMcf.VideoMode = 2;
        HeaderMcf.HeaderOptions = ParolaOpzioni(OpzioneHeader::SharedMode);
        ListaMedia.assign(1, MediaTrigger{});
        return false;
    }
    return true;
}

bool ComponiMediaConfig(const std::string& percorso, std::string& dati) {
    const MediaConfigHeader& h = HeaderMcf;
    if (h.MediaFileCount < 0 || static_cast<size_t>(h.MediaFileCount) > h.MediaFiles.size() ||
        static_cast<size_t>(h.MediaFileCount) > h.MediaFileRefs.size() || h.TriggerCount < 0) {
        RigaErrore("Error trying to save header of " + percorso);
        return false;
    }
    ScrittoreByte f;
    std::string versione = h.Version.substr(0, 6);
    versione.resize(6, ' ');
    f.ScriviByte(versione.data(), 6);
    f.ScriviI32(h.TriggerCount);
    f.ScriviByte(h.Reserved.data(), h.Reserved.size());
    f.ScriviI32(h.HeaderOptions);
    f.ScriviI32(h.VideoMode);
    f.ScriviI32(h.ScriptDatChecksum);
    f.ScriviI32(h.ReservedLong);
    bool testi = ScriviStringaCodificata(h.HeaderText, f);
    f.ScriviI32(h.MediaFileCount);
    for (size_t i = 0; testi && i < static_cast<size_t>(h.MediaFileCount); ++i) {
        testi = ScriviStringaCodificata(h.MediaFiles[i], f);
        f.ScriviI32(h.MediaFileRefs[i]);
    }
    if (!testi) {
        RigaErrore("Error saving header of media file: " + percorso);
        return false;
    }
    int32_t scritti = 0;
    while (scritti < h.TriggerCount && static_cast<size_t>(scritti) < ListaMedia.size() &&
           SalvaTriggerMedia(ListaMedia[static_cast<size_t>(scritti)], f))
        ++scritti;
    if (scritti < h.TriggerCount) {
        RigaErrore("Error trying to save media configuration file to: " + percorso);
        return false;
    }
    dati = f.Dati();
    return true;
}

bool SalvaMediaConfig(std::string& percorso) {
    if (percorso.empty()) {
        const std::string scelto = ScegliFileMediaConfig();
        if (scelto.empty()) return false;
        const std::string nome = NomeFileDaPercorso(scelto);
        percorso = scelto;
        if (!UgualeSenzaCaso(nome, "media.mcf")) {
            Messaggio(std::string("You must use fixed name 'Media.mcf'") + A_Capo + "Now name will be changed from " +
                          nome + " to: media.mcf",
                      StileOk);
            percorso = NellaCartella(CartellaDaPercorso(scelto), "media.mcf");
        }
    }
    UltimoErrore.clear();
    std::string dati;
    if (!ComponiMediaConfig(percorso, dati)) return false;
    if (!RiscriviConBackup(percorso, dati)) {
        RigaErrore("Error trying to save media configuration file to: " + percorso);
        return false;
    }
    const std::string cartella = CartellaDaPercorso(percorso);
    const std::string pacchetto = NellaCartella(HeaderMcf.CartellaMcf, "media.mpf");
    if (!HeaderMcf.CartellaMcf.empty() && !UgualeSenzaCaso(cartella, HeaderMcf.CartellaMcf) && EsisteFile(pacchetto))
        CopiaFile(pacchetto, NellaCartella(cartella, "media.mpf"));
    HeaderMcf.CartellaMcf = cartella;
    return true;
}

bool IsVersione14() { return UgualeSenzaCaso(HeaderMcf.Version, "VER1.4"); }

bool SuoniLoggerUsabili() { return !IsVersione14() && HaBit(ModificheAvvio, FlagSuoniLogger); }
