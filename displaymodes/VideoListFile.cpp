#include "displaymodes/VideoListFile.h"

namespace {

int32_t Int32Da(const std::string& dati, size_t pos) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(dati[pos + i]);
    return static_cast<int32_t>(v);
}

}  // namespace

std::string BytesInt32(int32_t valore) {
    const uint32_t v = static_cast<uint32_t>(valore);
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) s[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    return s;
}

std::string BytesVideoMode(const VideoMode& modo) {
    return BytesInt32(modo.Width) + BytesInt32(modo.Height) + BytesInt32(modo.Bits);
}

std::string ScriviVideoListFile(const std::vector<VideoList>& liste) {
    std::string s = BytesInt32(static_cast<int32_t>(liste.size()));
    for (const VideoList& l : liste) {
        s += BytesInt32(l.DD) + BytesInt32(l.D3D) + BytesInt32(l.Hardware);
        s += BytesInt32(static_cast<int32_t>(l.Modi.size()));
        for (const VideoMode& m : l.Modi) s += BytesVideoMode(m);
    }
    return s;
}

bool LeggiVideoListFile(const std::string& dati, std::vector<VideoList>& liste, std::string& errore) {
    liste.clear();
    errore.clear();
    if (dati.size() < 4) {
        errore = "file too short for the list count (" + std::to_string(dati.size()) + " bytes)";
        return false;
    }
    const int32_t numeroListe = Int32Da(dati, 0);
    // Each list needs at least its 16-byte head: a count beyond that is damage.
    if (numeroListe < 0 || static_cast<uint64_t>(numeroListe) > (dati.size() - 4) / DimensioneTestaVideoList) {
        errore = "list count " + std::to_string(numeroListe) + " does not fit the file's " +
                 std::to_string(dati.size()) + " bytes";
        return false;
    }
    size_t pos = 4;
    for (int32_t i = 0; i < numeroListe; ++i) {
        if (dati.size() - pos < DimensioneTestaVideoList) {
            errore = "list " + std::to_string(i) + " is cut short";
            return false;
        }
        VideoList l;
        l.DD = Int32Da(dati, pos);
        l.D3D = Int32Da(dati, pos + 4);
        l.Hardware = Int32Da(dati, pos + 8);
        const int32_t numeroModi = Int32Da(dati, pos + 12);
        pos += DimensioneTestaVideoList;
        if (numeroModi < 0 || static_cast<uint64_t>(numeroModi) > (dati.size() - pos) / DimensioneVideoMode) {
            errore = "mode count " + std::to_string(numeroModi) + " of list " + std::to_string(i) +
                     " does not fit the file's " + std::to_string(dati.size()) + " bytes";
            return false;
        }
        l.Modi.resize(static_cast<size_t>(numeroModi));
        for (VideoMode& m : l.Modi) {
            m.Width = Int32Da(dati, pos);
            m.Height = Int32Da(dati, pos + 4);
            m.Bits = Int32Da(dati, pos + 8);
            pos += DimensioneVideoMode;
        }
        liste.push_back(std::move(l));
    }
    return true;
}

bool VideoListUsabile(const std::vector<VideoList>& liste) {
    for (const VideoList& l : liste)
        if (!l.Modi.empty()) return true;
    return false;
}

uint32_t FlagProfonditaRender(int32_t bits) {
    switch (bits) {
    case 1: return 0x4000;
    case 2: return 0x2000;
    case 4: return 0x1000;
    case 8: return 0x800;
    case 16: return 0x400;
    case 24: return 0x200;
    case 32: return 0x100;
    default: return 0;
    }
}
