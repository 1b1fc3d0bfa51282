#include "core/MediaPacket.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <vector>

#include "core/FileUtils.h"
#include "core/MediaLog.h"
#include "core/MediaTrigger.h"
#include "core/SharedState.h"
#include "core/TextUtils.h"
#include "core/Utf8Files.h"
#include "core/Utf8Text.h"

namespace {

const char* const A_Capo = "\r\n";
// Contents move through a buffer of this size: memory stays flat whatever
// the packet holds.
constexpr size_t BloccoCopia = 4 << 20;

struct ChiudiFile {
    void operator()(std::FILE* f) const {
        if (f) std::fclose(f);
    }
};
using File = std::unique_ptr<std::FILE, ChiudiFile>;

// Unbuffered: contents move in large blocks, which a stream buffer would
// only copy once more.
File Apri(const std::string& percorso, const char* modo) {
    File f(ApriFileUtf8(percorso, modo));
    if (f) std::setvbuf(f.get(), nullptr, _IONBF, 0);
    return f;
}

bool Chiudi(File& f) {
    std::FILE* p = f.release();
    return p && std::fclose(p) == 0;
}

int64_t Lunghezza(std::FILE* f) {
    if (std::fseek(f, 0, SEEK_END) != 0) return -1;
    const long n = std::ftell(f);
    return n < 0 ? -1 : n;
}

int64_t LunghezzaFile(const std::string& percorso) {
    File f = Apri(percorso, "rb");
    return f ? Lunghezza(f.get()) : -1;
}

// <n> bytes from the reader's position to the writer's.
bool CopiaBlocchi(std::FILE* da, std::FILE* a, int64_t n) {
    std::vector<char> blocco(static_cast<size_t>(std::min<int64_t>(n, BloccoCopia)));
    while (n > 0) {
        const size_t parte = static_cast<size_t>(std::min<int64_t>(n, BloccoCopia));
        if (std::fread(blocco.data(), 1, parte, da) != parte) return false;
        if (std::fwrite(blocco.data(), 1, parte, a) != parte) return false;
        n -= static_cast<int64_t>(parte);
    }
    return true;
}

// The whole of a file appended to an open one.
bool AccodaFile(const std::string& sorgente, std::FILE* a, int64_t& lunghezza) {
    File da = Apri(sorgente, "rb");
    if (!da) return false;
    lunghezza = Lunghezza(da.get());
    if (lunghezza < 0 || std::fseek(da.get(), 0, SEEK_SET) != 0) return false;
    return CopiaBlocchi(da.get(), a, lunghezza);
}

bool Posiziona(std::FILE* f, int64_t posizione) {
    return posizione >= 0 && posizione <= 0x7FFFFFFF && std::fseek(f, static_cast<long>(posizione), SEEK_SET) == 0;
}


int32_t TrovaEntrata(const MediaPacketHeader& h, const std::string& nome) {
    for (int32_t i = 0; i < h.Count; ++i)
        if (UgualeSenzaCaso(h.FileNames[static_cast<size_t>(i)], nome)) return i;
    return h.Count;
}

bool Mancante(const std::string& nome, const std::string& pacchetto) {
    return RigaErroreUtf8("ERROR: Missing file named: " + nome + A_Capo + "In media packet file: " + pacchetto);
}

void VuotaOCrea(const std::string& cartella) {
    if (EsisteCartellaUtf8(cartella))
        CancellaFilesUtf8(cartella, "*.*");
    else
        CreaCartellaUtf8(cartella);
}

// Size and dates of a file about to enter the packet at <i>.
bool DatiNuovoFile(MediaPacketHeader& h, size_t i, const std::string& file) {
    const int64_t n = LunghezzaFile(file);
    if (n < 0 || n > 0x7FFFFFFF) return false;
    double data = 0;
    DataModificaFile(file, data);
    h.FileSizes[i] = static_cast<int32_t>(n);
    h.FileDates[i] = data;
    h.AddedDates[i] = DataOraCorrente();
    return true;
}

void SlotLibero(MediaPacketHeader& h) {
    const size_t n = static_cast<size_t>(h.Count) + 1;
    h.FileNames.resize(n);
    h.FileSizes.resize(n);
    h.FileDates.resize(n);
    h.AddedDates.resize(n);
}

// The contents of the new packet after the header: one part per entry, each
// taken either from the old packet or from a file.
struct Parte {
    int64_t posizioneVecchia = -1;  // -1: from <file>
    int64_t dimensione = 0;
    std::string file;
};

bool Riscrivi(const std::string& pacchetto, MediaPacketHeader& nuovo, const std::vector<Parte>& parti,
              const char* erroreTemporaneo) {
    const std::string cartella = CartellaDaPercorso(pacchetto);
    const std::string temporaneo = NellaCartella(cartella, "_tem_pack.mpf");
    // A packet bearing the temporary file's name would be deleted by its own
    // rewrite.
    if (UgualeSenzaCaso(NomeFileDaPercorso(pacchetto), "_tem_pack.mpf"))
        return RigaErroreUtf8(erroreTemporaneo + temporaneo);
    CancellaFileUtf8(temporaneo);
    if (!SalvaHeaderPacchetto(temporaneo, nuovo)) return false;
    File da = Apri(pacchetto, "rb");
    File a = Apri(temporaneo, "r+b");
    if (!da || !a) return RigaErroreUtf8("ERROR saving media packet file: " + pacchetto);
    bool ok = Posiziona(a.get(), nuovo.DataStart);
    for (const Parte& p : parti) {
        if (!ok) break;
        if (p.posizioneVecchia >= 0) {
            ok = Posiziona(da.get(), p.posizioneVecchia) && CopiaBlocchi(da.get(), a.get(), p.dimensione);
        } else {
            int64_t n = 0;
            ok = AccodaFile(p.file, a.get(), n) && n == p.dimensione;
        }
    }
    Chiudi(da);
    if (!Chiudi(a)) ok = false;
    if (!ok) return RigaErroreUtf8(erroreTemporaneo + temporaneo);
    // The packet is never missing, and its previous version stays as backup_.
    if (!SostituisciFileUtf8(temporaneo, pacchetto)) return RigaErroreUtf8(erroreTemporaneo + temporaneo);
    return true;
}

bool ControlloFinale(const std::string& pacchetto, const std::string& messaggio, const std::string& file) {
    if (EsisteFileUtf8(pacchetto)) return true;
    const std::string backup = NellaCartella(CartellaDaPercorso(pacchetto), "backup_" + NomeFileDaPercorso(pacchetto));
    RinominaFileUtf8(backup, pacchetto);
    return RigaErroreUtf8(messaggio + file);
}

// A virtual packet's rewrite goes through the same temporary file and
// backup as an absolute one, so a failed write never loses the header.
bool RiscriviVirtuale(const std::string& pacchetto, MediaPacketHeader& h, const char* erroreTemporaneo) {
    return Riscrivi(pacchetto, h, {}, erroreTemporaneo);
}

bool Aggiorna(const std::string& pacchetto, const std::string& file, const std::string& selezione,
              MediaPacketHeader& h, bool rinomina);

bool Aggiungi(const std::string& pacchetto, const std::string& file, MediaPacketHeader& h) {
    const std::string nome = NomeFileDaPercorso(file);
    if (TrovaEntrata(h, nome) < h.Count) return Aggiorna(pacchetto, file, nome, h, false);
    if (!EsisteFileUtf8(file)) return RigaErroreUtf8("ERROR Not found file to add: " + file);
    if (!IsNomeFileSemplice(nome)) return RigaErroreUtf8("ERROR adding file: " + file);
    const MediaPacketHeader vecchio = h;
    SlotLibero(h);
    const size_t k = static_cast<size_t>(h.Count);
    h.FileNames[k] = nome;
    if (!DatiNuovoFile(h, k, file)) return RigaErroreUtf8("ERROR adding file: " + file);
    ++h.Count;
    SlotLibero(h);
    if (h.IsVirtual) {
        // A file already lying in the virtual folder stays where it is.
        const std::string destinazione = NellaCartella(h.Folder, nome);
        if (!StessoFileUtf8(file, destinazione) && !CopiaFileUtf8(file, destinazione))
            return RigaErroreUtf8("ERROR adding file: " + file);
        if (!RiscriviVirtuale(pacchetto, h, "ERROR saving temporary media packet file: ")) return false;
    } else {
        std::vector<Parte> parti;
        int64_t pos = vecchio.DataStart;
        for (int32_t i = 0; i < vecchio.Count; ++i) {
            parti.push_back({pos, vecchio.FileSizes[static_cast<size_t>(i)], ""});
            pos += vecchio.FileSizes[static_cast<size_t>(i)];
        }
        parti.push_back({-1, h.FileSizes[k], file});
        if (!Riscrivi(pacchetto, h, parti, "ERROR saving temporary media packet file: ")) return false;
    }
    return ControlloFinale(pacchetto, "ERROR adding file: ", file);
}

bool Rimuovi(const std::string& pacchetto, const std::string& file, MediaPacketHeader& h) {
    const std::string nome = NomeFileDaPercorso(file);
    const int32_t k = TrovaEntrata(h, nome);
    if (k >= h.Count) return Mancante(nome, pacchetto);
    const MediaPacketHeader vecchio = h;
    const auto togli = [k](auto& v) { v.erase(v.begin() + k); };
    togli(h.FileNames);
    togli(h.FileSizes);
    togli(h.FileDates);
    togli(h.AddedDates);
    --h.Count;
    SlotLibero(h);
    if (h.IsVirtual) {
        if (!RiscriviVirtuale(pacchetto, h, "ERROR saving temporary media packet file: ")) return false;
        CancellaFileUtf8(NellaCartella(h.Folder, vecchio.FileNames[static_cast<size_t>(k)]));
    } else {
        std::vector<Parte> parti;
        int64_t pos = vecchio.DataStart;
        for (int32_t i = 0; i < vecchio.Count; ++i) {
            if (i != k) parti.push_back({pos, vecchio.FileSizes[static_cast<size_t>(i)], ""});
            pos += vecchio.FileSizes[static_cast<size_t>(i)];
        }
        if (!Riscrivi(pacchetto, h, parti, "ERROR saving temporary media packet file: ")) return false;
    }
    return ControlloFinale(pacchetto, "ERROR removing file: ", file);
}

bool Aggiorna(const std::string& pacchetto, const std::string& file, const std::string& selezione,
              MediaPacketHeader& h, bool rinomina) {
    const std::string nome = NomeFileDaPercorso(selezione);
    const int32_t k = TrovaEntrata(h, nome);
    if (k >= h.Count) return Mancante(nome, pacchetto);
    if (!EsisteFileUtf8(file)) return RigaErroreUtf8("ERROR: Not found file to add: " + file);
    const MediaPacketHeader vecchio = h;
    const size_t ks = static_cast<size_t>(k);
    std::string vecchioNome;
    if (rinomina) {
        vecchioNome = h.FileNames[ks];
        if (!IsNomeFileSemplice(NomeFileDaPercorso(file))) return RigaErroreUtf8("ERROR updating file: " + file);
        h.FileNames[ks] = NomeFileDaPercorso(file);
    }
    if (!DatiNuovoFile(h, ks, file)) return RigaErroreUtf8("ERROR updating file: " + file);
    if (h.IsVirtual) {
        const std::string destinazione = NellaCartella(h.Folder, h.FileNames[ks]);
        if (!StessoFileUtf8(file, destinazione) && !CopiaFileUtf8(file, destinazione))
            return RigaErroreUtf8("ERROR updating file: " + file);
        if (!RiscriviVirtuale(pacchetto, h, "ERROR saving temporaney media packet file: ")) return false;
        if (!vecchioNome.empty() && !UgualeSenzaCaso(vecchioNome, h.FileNames[ks]))
            CancellaFileUtf8(NellaCartella(h.Folder, vecchioNome));
    } else {
        std::vector<Parte> parti;
        int64_t pos = vecchio.DataStart;
        for (int32_t i = 0; i < vecchio.Count; ++i) {
            const size_t is = static_cast<size_t>(i);
            if (i == k)
                parti.push_back({-1, h.FileSizes[ks], file});
            else
                parti.push_back({pos, vecchio.FileSizes[is], ""});
            pos += vecchio.FileSizes[is];
        }
        if (!Riscrivi(pacchetto, h, parti, "ERROR saving temporaney media packet file: ")) return false;
    }
    return ControlloFinale(pacchetto, "ERROR updating file: ", file);
}

// Writes <n> bytes from the packet's position, or a copy of the virtual
// folder's file, as <destinazione>, with the entry's date.
bool ScriviEntrata(std::FILE* pacchetto, int64_t posizione, int64_t n, const std::string& sorgente,
                   const std::string& destinazione, double data) {
    // A virtual folder's file asked for at its own place is already there.
    const bool giaLi = !sorgente.empty() && StessoFileUtf8(sorgente, destinazione);
    if (!giaLi) CancellaFileUtf8(destinazione);
    bool ok;
    if (!sorgente.empty()) {
        // An author may edit a virtual folder's file in place: only the
        // verification holds it to the size in the header.
        ok = giaLi || CopiaFileUtf8(sorgente, destinazione);
    } else {
        File a = Apri(destinazione, "wb");
        ok = a && Posiziona(pacchetto, posizione) && CopiaBlocchi(pacchetto, a.get(), n);
        if (!Chiudi(a)) ok = false;
    }
    if (!ok) {
        if (!giaLi) CancellaFileUtf8(destinazione);
        return false;
    }
    ImpostaDataFileOle(destinazione, data);
    return true;
}

bool EstraiUno(const std::string& pacchetto, const std::string& file, const std::string& destinazione,
               MediaPacketHeader& h) {
    const std::string nome = NomeFileDaPercorso(file);
    int32_t k = 0;
    // A virtual header's sizes are never checked against a file: their sum
    // may pass what 32 bits hold.
    int64_t dati = h.DataStart;
    for (; k < h.Count; ++k) {
        if (UgualeSenzaCaso(h.FileNames[static_cast<size_t>(k)], nome)) break;
        dati += h.FileSizes[static_cast<size_t>(k)];
    }
    h.DataStart = static_cast<int32_t>(std::min<int64_t>(dati, std::numeric_limits<int32_t>::max()));
    if (k >= h.Count) return Mancante(nome, pacchetto);
    const size_t ks = static_cast<size_t>(k);
    bool ok;
    if (h.IsVirtual) {
        ok = ScriviEntrata(nullptr, 0, h.FileSizes[ks], NellaCartella(h.Folder, h.FileNames[ks]), destinazione,
                           h.FileDates[ks]);
    } else {
        File da = Apri(pacchetto, "rb");
        ok = da && ScriviEntrata(da.get(), dati, h.FileSizes[ks], "", destinazione, h.FileDates[ks]);
    }
    if (ok && EsisteFileUtf8(destinazione)) return true;
    return RigaErroreUtf8("ERROR extracting file: " + nome + A_Capo + "from media packet file: " + pacchetto);
}

bool EstraiTuttoIn(const std::string& pacchetto, const std::string& d, MediaPacketHeader& h) {
    if (!EsisteCartellaUtf8(d))
        return RigaErroreUtf8("ERROR extracting all files: Destination folder doesn't exist: " + d);
    std::string livello = d;
    bool store = false;
    if (d.size() >= 6 && UgualeSenzaCaso(d.substr(d.size() - 6), "\\store")) {
        const std::string sopra = CartellaDaPercorso(d);
        if (EsisteCartellaUtf8(NellaCartella(sopra, "data"))) {
            store = true;
            livello = sopra;
        }
    }
    const bool conBackup = store && TipoProgramma == 4;
    const std::string cartellaBackup = NellaCartella(livello, "MEDIA_BACKUP");
    std::string lista;
    if (conBackup) {
        VuotaOCrea(cartellaBackup);
        lista = "#TOT_FILES#=" + std::to_string(h.Count) + A_Capo;
    }
    File da;
    if (!h.IsVirtual) {
        da = Apri(pacchetto, "rb");
        if (!da) return RigaErroreUtf8("Error opening media packet file: " + pacchetto);
    }
    int64_t posizione = h.DataStart;
    for (int32_t i = 0; i < h.Count; ++i) {
        const size_t is = static_cast<size_t>(i);
        const std::string& n = h.FileNames[is];
        std::string t = NellaCartella(d, n);
        if (store) {
            if (IsFileTracciaAudio(n)) t = NellaCartella(livello, "AUDIO\\" + n);
            const std::string est = MaiuscoloAscii(EstensioneFile(n));
            if (est == ".TR4" || est == ".PAK") t = NellaCartella(livello, "DATA\\" + n);
            if (!h.IsVirtual && (IsNomeSavegame(n) || UgualeSenzaCaso(n, "load.bmp") || est == ".DAT"))
                t = NellaCartella(livello, n);
        }
        std::string sorgente;
        if (h.IsVirtual) {
            sorgente = NellaCartella(h.Folder, n);
            if (!EsisteFileUtf8(sorgente)) {
                StampaLog(AnsiDaUtf8("ERROR missing file \"" + n + "\" in virtual folder:  " + h.Folder), true);
                return false;
            }
        }
        if (conBackup && EsisteFileUtf8(t) && !CopiaFileUtf8(t, NellaCartella(cartellaBackup, NomeFileDaPercorso(t))))
            return RigaErroreUtf8("ERROR extracting file: " + n + A_Capo + "from media packet file: " + pacchetto);
        if (!ScriviEntrata(da.get(), posizione, h.FileSizes[is], sorgente, t, h.FileDates[is]))
            return RigaErroreUtf8("ERROR extracting file: " + n + A_Capo + "from media packet file: " + pacchetto);
        posizione += h.FileSizes[is];
        if (store) {
            // Extract.txt is an ANSI text that the uninstaller reads.
            const std::string ansi = PercorsoAnsi(t);
            lista += "#FILE" + std::to_string(i + 1) + "#=" + (ansi.empty() ? AnsiDaUtf8(t) : ansi) + A_Capo;
        }
    }
    if (conBackup) {
        // The list is written as it stands: ScriviFileTesto would add one
        // more line end.
        File f = Apri(NellaCartella(d, "Extract.txt"), "wb");
        if (!f || std::fwrite(lista.data(), 1, lista.size(), f.get()) != lista.size() || !Chiudi(f))
            return RigaErroreUtf8("ERROR extracting all files: cannot write " + NellaCartella(d, "Extract.txt"));
    }
    return true;
}

bool Verifica(const std::string& pacchetto, MediaPacketHeader& h) {
    if (!h.IsVirtual) {
        if (LunghezzaFile(pacchetto) != h.DataStart + TotaleDimensioni(h))
            return RigaErroreUtf8("ERROR verifying media packet file: " + pacchetto);
        return true;
    }
    if (!EsisteCartellaUtf8(h.Folder)) {
        StampaLog(AnsiDaUtf8("ERROR not found virtual folder: " + h.Folder), true);
        return false;
    }
    bool tutti = true;
    for (int32_t i = 0; i < h.Count; ++i) {
        const size_t is = static_cast<size_t>(i);
        const std::string q = NellaCartella(h.Folder, h.FileNames[is]);
        if (!EsisteFileUtf8(q)) {
            tutti = RigaErroreUtf8("ERROR: Missing file " + h.FileNames[is] + " in virtual folder: " + h.Folder);
            continue;
        }
        double data = 0;
        DataModificaFile(q, data);
        if (std::fabs(data - h.FileDates[is]) * 86400.0 >= 1.0)
            tutti = RigaErroreUtf8("ERROR: File " + q + " not has the date present in packet header: " +
                           TestoDataOle(h.FileDates[is]));
        if (LunghezzaFile(q) != h.FileSizes[is])
            tutti = RigaErroreUtf8("ERROR: File " + q + " not has the size present in packet header: " +
                           std::to_string(h.FileSizes[is]));
    }
    if (!tutti) return false;
    for (const std::string& f : ElencoFileUtf8(h.Folder, "*.*"))
        if (TrovaEntrata(h, NomeFileDaPercorso(f)) >= h.Count) CancellaFileUtf8(f);
    return true;
}

bool Crea(const std::string& pacchetto, bool virtuale, MediaPacketHeader& h) {
    h = MediaPacketHeader();
    if (virtuale) {
        h.IsVirtual = -1;
        h.Folder = NellaCartella(CartellaDaPercorso(pacchetto), "V_FOLDER");
        VuotaOCrea(h.Folder);
    }
    SlotLibero(h);
    std::string dati;
    // Composed first: a header that cannot be written leaves the old file.
    if (!ComponiHeaderPacchetto(h, dati)) return RigaErroreUtf8("ERROR creating new media packet file: " + pacchetto);
    h.DataStart = static_cast<int32_t>(dati.size());
    File f = Apri(pacchetto, "wb");
    if (!f || std::fwrite(dati.data(), 1, dati.size(), f.get()) != dati.size() || !Chiudi(f))
        return RigaErroreUtf8("ERROR creating new media packet file: " + pacchetto);
    return true;
}

bool InVirtualeDa(const std::string& pacchetto, MediaPacketHeader& h) {
    if (h.IsVirtual) return RigaErroreUtf8("ERROR: current media packet is already in virtual format");
    const std::string v = NellaCartella(CartellaDaPercorso(pacchetto), "V_FOLDER");
    VuotaOCrea(v);
    if (!EstraiTuttoIn(pacchetto, v, h)) return false;
    h.IsVirtual = -1;
    h.Folder = v;
    return RiscriviVirtuale(pacchetto, h, "ERROR saving temporary media packet file: ");
}

bool InAssolutoDa(const std::string& pacchetto, MediaPacketHeader& h) {
    if (!h.IsVirtual) return RigaErroreUtf8("ERROR: current packet file is already in absolute format");
    if (!Verifica(pacchetto, h)) return false;
    const std::string vecchia = h.Folder;
    h.IsVirtual = 0;
    h.Folder.clear();
    std::vector<Parte> parti;
    for (int32_t i = 0; i < h.Count; ++i)
        parti.push_back({-1, h.FileSizes[static_cast<size_t>(i)], NellaCartella(vecchia, h.FileNames[static_cast<size_t>(i)])});
    if (!Riscrivi(pacchetto, h, parti, "ERROR converting from virtual to absolute format: ")) return false;
    RimuoviCartellaUtf8(vecchia);
    return true;
}

bool AggiungiCartellaIn(const std::string& pacchetto, const std::string& g, MediaPacketHeader& h) {
    if (!EsisteCartellaUtf8(g)) return RigaErroreUtf8("ERROR: folder to add not found: " + g);
    const std::vector<std::string> files = ElencoFileUtf8(g, "*");
    if (files.empty()) return RigaErroreUtf8("WARNING: no file in folder: " + g);
    for (const std::string& f : files)
        if (!Aggiungi(pacchetto, f, h)) return false;
    return true;
}

}  // namespace

bool IsFileTracciaAudio(const std::string& percorso) {
    const std::string nome = NomeFileDaPercorso(percorso);
    if (nome.size() != 7) return false;
    const std::string est = MaiuscoloAscii(EstensioneFile(nome));
    if (est != ".MP3" && est != ".WAV") return false;
    for (int i = 0; i < 3; ++i)
        if (nome[static_cast<size_t>(i)] < '0' || nome[static_cast<size_t>(i)] > '9') return false;
    return true;
}

bool CaricaHeaderControllato(const std::string& pacchetto, MediaPacketHeader& h, bool contenutiNelFile) {
    if (!CaricaHeaderPacchetto(pacchetto, h)) return false;
    const int64_t lunghezza = contenutiNelFile ? LunghezzaFile(pacchetto) : std::numeric_limits<int64_t>::max();
    if (!ControllaVociPacchetto(h, lunghezza))
        return RigaErroreUtf8("Error loading media packet header: " + pacchetto);
    if (h.IsVirtual) {
        // Only the packet's own folder is ever used, to copy or delete.
        const std::string proprio = NellaCartella(CartellaDaPercorso(pacchetto), "V_FOLDER");
        if (!UgualeSenzaCaso(h.Folder, proprio)) h.Folder = proprio;
    }
    return true;
}

bool GestionePacchettoMedia(const std::string& pacchetto, int32_t operazione, const std::string& file,
                            const std::string& destinazione, MediaPacketHeader& h, bool rinomina) {
    UltimoErrore.clear();
    try {
        switch (operazione) {
            case CreaPacchetto: return Crea(pacchetto, false, h);
            case CreaPacchettoVirtuale: return Crea(pacchetto, true, h);
            case SalvaHeader: return SalvaHeaderPacchetto(pacchetto, h);
            default: break;
        }
        // Verifying and deleting read no content: a packet cut short is
        // reported by the verification and can still be deleted.
        const bool contenuti = operazione != VerificaPacchetto && operazione != CancellaPacchetto;
        if (!CaricaHeaderControllato(pacchetto, h, contenuti)) return false;
        switch (operazione) {
            case AggiungiFile: return Aggiungi(pacchetto, file, h);
            case RimuoviFile: return Rimuovi(pacchetto, file, h);
            case EstraiFile: return EstraiUno(pacchetto, file, destinazione, h);
            case EstraiTutto: return EstraiTuttoIn(pacchetto, destinazione, h);
            case AggiornaFile: return Aggiorna(pacchetto, file, destinazione, h, rinomina);
            case VerificaPacchetto: return Verifica(pacchetto, h);
            case InVirtuale: return InVirtualeDa(pacchetto, h);
            case InAssoluto: return InAssolutoDa(pacchetto, h);
            case AggiungiCartella: return AggiungiCartellaIn(pacchetto, destinazione, h);
            case CancellaPacchetto:
                if (h.IsVirtual) RimuoviCartellaUtf8(h.Folder);
                return CancellaFileUtf8(pacchetto);
            default: return true;
        }
    } catch (const std::exception& e) {
        return RigaErroreUtf8(std::string("ERROR in GestionePacchettoMedia() : ") + e.what());
    }
}
