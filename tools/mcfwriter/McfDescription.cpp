#include "tools/mcfwriter/McfDescription.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "core/MediaConfig.h"
#include "core/TextUtils.h"

namespace {

std::string Togli(const std::string& testo) {
    std::string s;
    for (size_t i = 0; i < testo.size(); ++i) {
        if (testo[i] != '\\' || i + 1 == testo.size()) {
            s += testo[i];
            continue;
        }
        const char c = testo[++i];
        s += c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : c;
    }
    return s;
}

std::string Proteggi(const std::string& testo) {
    std::string s;
    for (char c : testo) {
        if (c == '\r') s += "\\r";
        else if (c == '\n') s += "\\n";
        else if (c == '\t') s += "\\t";
        else if (c == '\\') s += "\\\\";
        else s += c;
    }
    return s;
}

bool Numero(const std::string& testo, int32_t& valore) {
    if (testo.empty()) return false;
    const bool esadecimale = testo.size() > 2 && testo[0] == '0' && (testo[1] == 'x' || testo[1] == 'X');
    char* fine = nullptr;
    const long long v = std::strtoll(testo.c_str(), &fine, esadecimale ? 16 : 10);
    if (*fine != '\0' || v < INT32_MIN || v > static_cast<long long>(UINT32_MAX)) return false;
    valore = static_cast<int32_t>(static_cast<uint32_t>(v));
    return true;
}

int32_t* CampoNumero(MediaTrigger& m, const std::string& nome) {
    struct Campo {
        const char* nome;
        int32_t MediaTrigger::*membro;
    };
    static const Campo campi[] = {
        {"TypeFlags", &MediaTrigger::TypeFlags}, {"Options", &MediaTrigger::Options},
        {"TriggerCd", &MediaTrigger::TriggerCd}, {"SoundCd", &MediaTrigger::SoundCd},
        {"AntiTriggerCd", &MediaTrigger::AntiTriggerCd}, {"Repeat", &MediaTrigger::Repeat},
        {"BackColor", &MediaTrigger::BackColor}, {"FadeTime", &MediaTrigger::FadeTime},
        {"EndWait", &MediaTrigger::EndWait}, {"DelaySeconds", &MediaTrigger::DelaySeconds},
        {"Duration", &MediaTrigger::Duration}, {"MediaCode", &MediaTrigger::MediaCode},
        {"Level", &MediaTrigger::Level},
    };
    for (const Campo& c : campi)
        if (nome == c.nome) return &(m.*c.membro);
    TextFormat& f = m.Formato;
    if (nome == "Color") return &f.Color;
    if (nome == "Align") return &f.Align;
    if (nome == "CharRow") return &f.CharRow;
    if (nome == "Effect") return &f.Effect;
    if (nome == "ScrollStep") return &f.ScrollStep;
    if (nome == "ScrollDelay") return &f.ScrollDelay;
    if (nome == "DelayMicros") return &f.DelayMicros;
    if (nome == "Flags") return &f.Flags;
    if (nome == "Font") return &f.Font;
    return nullptr;
}

std::string* CampoTesto(MediaTrigger& m, const std::string& nome) {
    if (nome == "MediaFile") return &m.MediaFile;
    if (nome == "SoundFile") return &m.SoundFile;
    if (nome == "Text") return &m.Text;
    if (nome == "Syntax") return &m.Syntax;
    return nullptr;
}

bool Riga(const std::string& nome, const std::string& valore, MediaConfigHeader& h,
          std::vector<MediaTrigger>& lista) {
    int32_t n = 0;
    if (nome == "[Trigger]") {
        MediaTrigger m;
        m.TriggerCd = TriggerCdNessuno;
        m.Level = QualsiasiLivello;
        lista.push_back(m);
        return true;
    }
    if (!lista.empty()) {
        MediaTrigger& m = lista.back();
        if (int32_t* campo = CampoNumero(m, nome)) return Numero(valore, *campo);
        if (std::string* campo = CampoTesto(m, nome)) {
            *campo = Togli(valore);
            return true;
        }
        if (nome == "BoundRect") {
            Rettangolo& r = m.Formato.BoundRect;
            int32_t* parti[4] = {&r.Left, &r.Top, &r.Right, &r.Bottom};
            size_t inizio = 0;
            for (int i = 0; i < 4; ++i) {
                const size_t fine = i < 3 ? valore.find(':', inizio) : valore.size();
                if (fine == std::string::npos || !Numero(valore.substr(inizio, fine - inizio), *parti[i]))
                    return false;
                inizio = fine + 1;
            }
            return true;
        }
        return false;
    }
    if (nome == "Version") h.Version = valore;
    else if (nome == "HeaderText") h.HeaderText = Togli(valore);
    else if (nome == "File") {
        h.MediaFiles.push_back(Togli(valore));
        h.MediaFileRefs.push_back(1);
    } else if (nome == "FileRefs") {
        if (h.MediaFileRefs.empty() || !Numero(valore, h.MediaFileRefs.back())) return false;
    } else if (nome == "Reserved") {
        size_t i = 0;
        for (uint8_t& b : h.Reserved) {
            while (i < valore.size() && valore[i] == ' ') ++i;
            if (i + 2 > valore.size() || !Numero("0x" + valore.substr(i, 2), n)) return false;
            b = static_cast<uint8_t>(n);
            i += 2;
        }
    } else if (nome == "HeaderOptions") return Numero(valore, h.HeaderOptions);
    else if (nome == "VideoMode") return Numero(valore, h.VideoMode);
    else if (nome == "ScriptDatChecksum") return Numero(valore, h.ScriptDatChecksum);
    else if (nome == "ReservedLong") return Numero(valore, h.ReservedLong);
    else return false;
    return true;
}

}  // namespace

bool LeggiDescrizioneMcf(const std::string& descrizione, std::string& errore) {
    MediaConfigHeader h;
    h.CartellaMcf = HeaderMcf.CartellaMcf;
    std::vector<MediaTrigger> lista;
    size_t inizio = 0;
    for (int numero = 1; inizio < descrizione.size(); ++numero) {
        size_t fine = descrizione.find('\n', inizio);
        if (fine == std::string::npos) fine = descrizione.size();
        std::string riga = descrizione.substr(inizio, fine - inizio);
        inizio = fine + 1;
        if (!riga.empty() && riga.back() == '\r') riga.pop_back();
        if (riga.empty() || riga[0] == '#') continue;
        const size_t uguale = riga.find('=');
        const std::string nome = uguale == std::string::npos ? riga : riga.substr(0, uguale);
        const std::string valore = uguale == std::string::npos ? "" : riga.substr(uguale + 1);
        if ((uguale == std::string::npos) != (nome == "[Trigger]") || !Riga(nome, valore, h, lista)) {
            errore = "line " + std::to_string(numero) + ": " + riga;
            return false;
        }
    }
    // The file holds the CD-triggered records first, as the trigger scan
    // expects; the description's order is kept within each group.
    std::stable_partition(lista.begin(), lista.end(),
                          [](const MediaTrigger& m) { return m.TriggerCd != TriggerCdNessuno; });
    h.TriggerCount = static_cast<int32_t>(lista.size());
    h.MediaFileCount = static_cast<int32_t>(h.MediaFiles.size());
    h.MediaFiles.emplace_back();
    h.MediaFileRefs.push_back(0);
    lista.emplace_back();
    HeaderMcf = h;
    ListaMedia = lista;
    return true;
}

std::string DescriviMcf() {
    const MediaConfigHeader& h = HeaderMcf;
    std::string s = "Version=" + h.Version + "\n";
    s += "HeaderOptions=0x" + Esadecimale(h.HeaderOptions) + "\n";
    s += "VideoMode=" + std::to_string(h.VideoMode) + "\n";
    s += "ScriptDatChecksum=" + std::to_string(h.ScriptDatChecksum) + "\n";
    s += "ReservedLong=" + std::to_string(h.ReservedLong) + "\n";
    s += "Reserved=";
    for (size_t i = 0; i < h.Reserved.size(); ++i) {
        char b[4];
        std::snprintf(b, sizeof b, "%02X", h.Reserved[i]);
        if (i) s += ' ';
        s += b;
    }
    s += "\nHeaderText=" + Proteggi(h.HeaderText) + "\n";
    for (int32_t i = 0; i < h.MediaFileCount && static_cast<size_t>(i) < h.MediaFiles.size(); ++i)
        s += "File=" + Proteggi(h.MediaFiles[i]) + "\nFileRefs=" + std::to_string(h.MediaFileRefs[i]) + "\n";
    for (int32_t i = 0; i < h.TriggerCount && static_cast<size_t>(i) < ListaMedia.size(); ++i) {
        const MediaTrigger& m = ListaMedia[i];
        const TextFormat& f = m.Formato;
        s += "[Trigger]\nTypeFlags=0x" + Esadecimale(m.TypeFlags) + "\nOptions=0x" + Esadecimale(m.Options) +
             "\nMediaFile=" + Proteggi(m.MediaFile) + "\nSoundFile=" + Proteggi(m.SoundFile) +
             "\nColor=0x" + Esadecimale(f.Color) + "\nAlign=" + std::to_string(f.Align) +
             "\nCharRow=" + std::to_string(f.CharRow) + "\nBoundRect=" + std::to_string(f.BoundRect.Left) + ":" +
             std::to_string(f.BoundRect.Top) + ":" + std::to_string(f.BoundRect.Right) + ":" +
             std::to_string(f.BoundRect.Bottom) + "\nEffect=" + std::to_string(f.Effect) +
             "\nScrollStep=" + std::to_string(f.ScrollStep) + "\nScrollDelay=" + std::to_string(f.ScrollDelay) +
             "\nDelayMicros=" + std::to_string(f.DelayMicros) + "\nFlags=0x" + Esadecimale(f.Flags) +
             "\nFont=" + std::to_string(f.Font) + "\nText=" + Proteggi(m.Text) + "\nSyntax=" + Proteggi(m.Syntax) +
             "\nTriggerCd=" + std::to_string(m.TriggerCd) + "\nSoundCd=" + std::to_string(m.SoundCd) +
             "\nAntiTriggerCd=" + std::to_string(m.AntiTriggerCd) + "\nRepeat=" + std::to_string(m.Repeat) +
             "\nBackColor=0x" + Esadecimale(m.BackColor) + "\nFadeTime=" + std::to_string(m.FadeTime) +
             "\nEndWait=" + std::to_string(m.EndWait) + "\nDelaySeconds=" + std::to_string(m.DelaySeconds) +
             "\nDuration=" + std::to_string(m.Duration) + "\nMediaCode=" + std::to_string(m.MediaCode) +
             "\nLevel=" + std::to_string(m.Level) + "\n";
    }
    return s;
}
