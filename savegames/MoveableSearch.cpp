#include "savegames/MoveableSearch.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "core/MediaLog.h"
#include "core/TextUtils.h"

int32_t PunteggioMoveable = 0;
RiferimentiLaraSavegame RiferimentiLara;

namespace {

constexpr int32_t PosizioneMinima = 562;
constexpr int32_t PosizioneMassima = 51661;

uint8_t ByteA(const SavegameBin& immagine, int32_t i) {
    return i >= 0 && static_cast<size_t>(i) < immagine.size() ? static_cast<uint8_t>(immagine[static_cast<size_t>(i)])
                                                              : 0;
}

// A structure that runs past the moveable area could be neither read whole
// nor rewritten: it is no candidate.
bool NellArea(const SavegameBin& immagine, const MoveableStruct& s) {
    const int64_t fine = std::min<int64_t>(FineMoveable, static_cast<int64_t>(immagine.size()));
    return static_cast<int64_t>(s.Offset) + s.Length <= fine;
}

bool RegoleComuni(const MoveableStruct& s, int32_t stanza) {
    if (stanza != -1 && stanza != s.Room) return false;
    if (s.PosX < PosizioneMinima || s.PosX > PosizioneMassima) return false;
    if (s.PosZ < PosizioneMinima || s.PosZ > PosizioneMassima) return false;
    return (s.Mark & 0x2000) == 0;
}

bool Animazione(const MoveableStruct& s, int32_t v) { return s.CurrentAnimation == v || s.NextAnimation == v; }

}  // namespace

bool PunteggioLara(const SavegameBin& immagine, int32_t offset, int32_t& punteggio, int32_t stanza) {
    punteggio = 0;
    LeggiStrutturaMoveable(immagine, offset);
    const MoveableStruct& s = MoveableCorrente;
    if (!NellArea(immagine, s) || !RegoleComuni(s, stanza)) return false;
    if (s.ew_4000 > 999) return false;
    if (s.SpecialAnimation != 0 && s.SpecialAnimation != 71) return false;
    if (s.TriggerStatus != 0) return false;
    const RiferimentiLaraSavegame& r = RiferimentiLara;
    int32_t p = 0;
    if (s.Flags != 0 && s.Flags != 8) p -= 3;
    if (s.EndByte == 255) p -= 2;
    if (s.EndByte == 0) p += 1;
    const int32_t orientamento = WordSenzaSegno(s.Orientation);
    const int32_t riferimento = WordSenzaSegno(r.W251);
    const int32_t scarto = std::abs(orientamento - riferimento);
    if (orientamento == riferimento) {
        p += 6;
    } else if (scarto == 16384 || scarto == 32768 || scarto == 49152) {
        p += 4;
    } else if (r.L339 != -1 && ((r.W337 >> 8) & 0xFF) == ((orientamento >> 8) & 0xFF)) {
        p += 4;
        if (Animazione(s, 111)) p += 2;
    }
    const bool speciale = r.W127 != 0xFFFF || r.L339 != -1 || r.W99 == 1 || r.W99 == 2;
    if (!speciale) p += s.AnimationFrame >= 8192 ? -2 : 1;
    if (s.CurrentAnimation == s.NextAnimation) p += 1;
    if (!Animazione(s, 2)) {
        if (speciale) p += 2;
    } else {
        p += speciale ? -3 : 1;
    }
    if (r.W127 != 0xFFFF) {
        bool una = false;
        for (int32_t v : {2, 1, 3, 4, 8, 9, 15, 17}) una = una || Animazione(s, v);
        p += una ? 3 : -2;
    }
    if (r.L339 != -1) p += Animazione(s, 111) ? 3 : -2;
    if (r.W99 == 1) p += (Animazione(s, 66) || Animazione(s, 17) || Animazione(s, 18)) ? 3 : -2;
    if (r.W99 == 2) p += Animazione(s, 33) ? 3 : -2;
    p += s.AnimationId >= 768 ? -2 : 1;
    if (s.AnimationFrame == 0) p -= 1;
    if (s.AnimationId == 0) p -= 1;
    int32_t corsa = 0;
    uint8_t precedente = 1;
    for (int32_t i = s.Offset + 2; i < s.Offset + s.Length; ++i) {
        const uint8_t b = ByteA(immagine, i);
        corsa = (b == 0 && precedente == 0) ? corsa + 1 : 0;
        if (corsa >= 6) p -= corsa - 5;
        if (b == 0x80 || b == 0xFF || b == 0x20) p -= 1;
        precedente = b;
    }
    punteggio = p;
    return true;
}

bool PunteggioEnemy(const SavegameBin& immagine, int32_t offset, int32_t& punteggio, int32_t stanza) {
    punteggio = 0;
    LeggiStrutturaMoveable(immagine, offset);
    const MoveableStruct& s = MoveableCorrente;
    if (!NellArea(immagine, s) || !RegoleComuni(s, stanza)) return false;
    if (s.SpecialAnimation != 0 || s.TriggerStatus == 0 || s.Flags == 0) return false;
    int32_t p = 0;
    if (s.EndByte == 255) p += 2;
    if (s.TriggerStatus == 9022 || s.TriggerStatus == 9023) p += 6;
    if (s.Flags == 128) p += 4;
    if (s.CurrentAnimation == s.NextAnimation) p += 1;
    if (s.AnimationFrame == 0) p -= 1;
    if (s.AnimationId == 0) p -= 1;
    if (s.ew_0020 != -1 && s.ew_0020 < 50) p += 2;
    int32_t corsa = 0;
    uint8_t precedente = 1;
    for (int32_t i = s.Offset + 2; i < s.Offset + s.Length; ++i) {
        const uint8_t b = ByteA(immagine, i);
        if (b == 0 && precedente == 0) {
            p -= 1;
            ++corsa;
        } else {
            corsa = 0;
        }
        if (b == 0x20 || b == 1) p -= 1;
        if (corsa >= 5) p -= corsa - 4;
        precedente = b;
    }
    punteggio = p;
    return true;
}

int32_t CercaMoveableInRoom(const SavegameBin& immagine, bool isLara, int32_t stanza) {
    RiferimentiLara.W251 = LeggiValore(immagine, 251, 2);
    RiferimentiLara.W99 = WordSenzaSegno(LeggiValore(immagine, 99, 2));
    RiferimentiLara.W127 = WordSenzaSegno(LeggiValore(immagine, 127, 2));
    RiferimentiLara.W337 = WordSenzaSegno(LeggiValore(immagine, 337, 2));
    RiferimentiLara.L339 = LeggiValore(immagine, 339, 4);

    std::vector<int32_t> offsets, punteggi;
    int32_t zeri = 0;
    uint8_t precedente = 0;
    for (int32_t k = InizioMoveable; static_cast<size_t>(k) < immagine.size() && zeri < 512; ++k) {
        const uint8_t b = ByteA(immagine, k);
        if (b > 127) {
            int32_t punteggio = 0;
            const bool accettato = isLara ? PunteggioLara(immagine, k - 1, punteggio, stanza)
                                          : PunteggioEnemy(immagine, k - 1, punteggio, stanza);
            if (accettato) {
                offsets.push_back(k - 1);
                punteggi.push_back(punteggio);
            }
        }
        zeri = (b == 0 && precedente == 0) ? zeri + 1 : 0;
        precedente = b;
    }
    if (offsets.empty()) {
        if (LogAbilitato) StampaLog("Moveable not found in room " + std::to_string(stanza));
        return -1;
    }
    std::vector<int32_t> ordine = OrdinaIndici(punteggi, static_cast<int32_t>(punteggi.size()), false);
    size_t n = std::min<size_t>(ordine.size(), 4);
    std::string marca;
    if (n > 1 && punteggi[ordine[0]] - punteggi[ordine[1]] < 4) {
        const int32_t soglia = punteggi[ordine[0]] - 4;
        std::vector<int32_t> gruppo;
        for (int32_t i : ordine) {
            if (punteggi[i] <= soglia) break;
            gruppo.push_back(i);
        }
        if (gruppo.size() > 1) marca = "* ";
        // Near-equal candidates: the earlier in the file the likelier.
        std::sort(gruppo.begin(), gruppo.end(), [&](int32_t a, int32_t b) { return offsets[a] < offsets[b]; });
        std::vector<int32_t> nuoviOffsets, nuoviPunteggi;
        for (size_t j = 0; j < gruppo.size(); ++j) {
            nuoviOffsets.push_back(offsets[gruppo[j]]);
            nuoviPunteggi.push_back(punteggi[gruppo[j]] - 3 * static_cast<int32_t>(j));
        }
        offsets = nuoviOffsets;
        punteggi = nuoviPunteggi;
        ordine = OrdinaIndici(punteggi, static_cast<int32_t>(punteggi.size()), false);
        n = ordine.size();
    }
    if (LogAbilitato) {
        std::string riga = std::string(isLara ? "LARA: " : "ENEMY: ") + marca;
        char testo[32];
        for (size_t i = 0; i < n; ++i) {
            std::snprintf(testo, sizeof testo, "%3d  ", punteggi[ordine[i]]);
            riga += testo;
        }
        for (size_t i = 0; i < n; ++i) {
            std::snprintf(testo, sizeof testo, "0x%X ", static_cast<unsigned>(offsets[ordine[i]]));
            riga += testo;
        }
        StampaLog(riga);
    }
    const int32_t scelto = offsets[ordine[0]];
    LeggiStrutturaMoveable(immagine, scelto);
    PunteggioMoveable = punteggi[ordine[0]];
    TipoMoveable = isLara;
    return scelto;
}
