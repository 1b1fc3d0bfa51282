#include "patcher/PatchFile.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/ByteStream.h"
#include "core/PathNames.h"
#include "core/TextUtils.h"

namespace {

const char* const FineFile = "Input past end of file";

// One text: its count, then that many 16-bit codes, each an ANSI code.
bool LeggiStringaPatch(LettoreByte& in, std::string& testo, std::string& errore) {
    int32_t c = 0;
    if (!in.LeggiI32(c)) {
        errore = FineFile;
        return false;
    }
    if (c < 0 || static_cast<uint64_t>(c) * 2 > in.Rimanenti()) {
        errore = c < 0 ? "Bad text length " + std::to_string(c) : FineFile;
        return false;
    }
    testo.clear();
    for (int32_t i = 0; i < c; ++i) {
        int16_t codice = 0;
        in.LeggiI16(codice);
        const uint16_t u = static_cast<uint16_t>(codice);
        // A single-byte code page has codes 0 to 255 only.
        if (u > 0xFF) {
            errore = "Invalid procedure call or argument: character code " + std::to_string(u);
            return false;
        }
        testo += static_cast<char>(u);
    }
    return true;
}

bool Conteggio(LettoreByte& in, int32_t& n, uint64_t byteCiascuno, const char* nome, std::string& errore) {
    if (!in.LeggiI32(n)) {
        errore = FineFile;
        return false;
    }
    if (n < 0) {
        errore = std::string("Bad ") + nome + " " + std::to_string(n);
        return false;
    }
    if (static_cast<uint64_t>(n) * byteCiascuno > in.Rimanenti()) {
        errore = FineFile;
        return false;
    }
    return true;
}

void ScriviTesto(ScrittoreByte& out, const std::string& testo) {
    out.ScriviI32(static_cast<int32_t>(testo.size()));
    for (const char c : testo) out.ScriviI16(static_cast<int16_t>(static_cast<uint8_t>(c)));
}

std::string ErroreGenerale(const std::string& descrizione) {
    return "ERROR trying to apply binary patch. Error mexage: " + descrizione;
}

std::string ErroreApplicazione(const std::string& percorso, const std::string& riga) {
    return "Error trying to applicate patch: " + percorso + "\r\n" + riga;
}

bool Cifra(char c) { return c >= '0' && c <= '9'; }

// Nearest integer, halves to the even neighbour.
bool InteroArrotondato(double v, int32_t& intero) {
    const double r = std::nearbyint(v);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) return false;
    intero = static_cast<int32_t>(r);
    return true;
}

}  // namespace

bool LeggiFilePatch(const std::string& dati, FilePatch& patch, std::string& errore) {
    LettoreByte in(dati);
    FilePatch p;
    // A record takes at least its offset and length.
    if (!Conteggio(in, p.NumRecord, 8, "record count", errore)) return false;
    if (!in.LeggiI32(p.FlagPatch)) {
        errore = FineFile;
        return false;
    }
    if (!Conteggio(in, p.NumOffsetArgomento, 4, "argument offset count", errore)) return false;
    p.OffsetArgomento.resize(static_cast<size_t>(p.NumOffsetArgomento));
    for (int32_t& o : p.OffsetArgomento) in.LeggiI32(o);
    if (!in.LeggiI32(p.TipoArgomento) || !in.LeggiI32(p.DimArgomento)) {
        errore = FineFile;
        return false;
    }
    if (p.DimArgomento < 0) {
        errore = "Bad argument size " + std::to_string(p.DimArgomento);
        return false;
    }
    if (!LeggiStringaPatch(in, p.FirmaTarget, errore) || !LeggiStringaPatch(in, p.TestoAggiuntivo1, errore) ||
        !LeggiStringaPatch(in, p.TestoAggiuntivo2, errore))
        return false;
    if (static_cast<uint64_t>(p.NumRecord) * 8 > in.Rimanenti()) {
        errore = FineFile;
        return false;
    }
    p.Record.reserve(static_cast<size_t>(p.NumRecord));
    for (int32_t i = 0; i < p.NumRecord; ++i) {
        RecordPatch r;
        if (!in.LeggiI32(r.Offset) || !in.LeggiI32(r.Lunghezza)) {
            errore = FineFile;
            return false;
        }
        if (r.Lunghezza < 1) {
            errore = "Bad record length " + std::to_string(r.Lunghezza) + " in record " + std::to_string(i);
            return false;
        }
        if (static_cast<uint64_t>(r.Lunghezza) * 2 > in.Rimanenti()) {
            errore = FineFile;
            return false;
        }
        const size_t n = static_cast<size_t>(r.Lunghezza);
        r.Originali.assign(reinterpret_cast<const char*>(in.Prendi(n)), n);
        r.Nuovi.assign(reinterpret_cast<const char*>(in.Prendi(n)), n);
        p.Record.push_back(std::move(r));
    }
    patch = std::move(p);
    return true;
}

std::string ScriviFilePatch(const FilePatch& patch) {
    ScrittoreByte out;
    out.ScriviI32(patch.NumRecord);
    out.ScriviI32(patch.FlagPatch);
    out.ScriviI32(patch.NumOffsetArgomento);
    for (const int32_t o : patch.OffsetArgomento) out.ScriviI32(o);
    out.ScriviI32(patch.TipoArgomento);
    out.ScriviI32(patch.DimArgomento);
    ScriviTesto(out, patch.FirmaTarget);
    ScriviTesto(out, patch.TestoAggiuntivo1);
    ScriviTesto(out, patch.TestoAggiuntivo2);
    for (const RecordPatch& r : patch.Record) {
        out.ScriviI32(r.Offset);
        out.ScriviI32(r.Lunghezza);
        out.ScriviByte(r.Originali.data(), r.Originali.size());
        out.ScriviByte(r.Nuovi.data(), r.Nuovi.size());
    }
    return out.Dati();
}

bool ArgomentoDaNome(const std::string& percorso, std::string& argomento, std::string& motivo) {
    const std::string nome = NomeSenzaEstensione(percorso);
    argomento.clear();
    const size_t primo = nome.find('#');
    if (primo == std::string::npos) {
        motivo = "Missing characters '#' used to delimite argument";
        return false;
    }
    const size_t secondo = nome.find('#', primo + 1);
    if (secondo == std::string::npos) {
        motivo = "Missing ending character '#' used to delimite argument in patch name";
        return false;
    }
    argomento = nome.substr(primo + 1, secondo - primo - 1);
    return true;
}

bool LeggiNumeroArgomento(const std::string& testo, double& valore) {
    size_t i = 0, fine = testo.size();
    while (i < fine && testo[i] == ' ') ++i;
    while (fine > i && testo[fine - 1] == ' ') --fine;
    if (i == fine) return false;
    if (fine - i > 2 && testo[i] == '&' && (testo[i + 1] == 'H' || testo[i + 1] == 'h')) {
        if (fine - i - 2 > 8) return false;
        uint32_t v = 0;
        for (size_t k = i + 2; k < fine; ++k) {
            const char c = testo[k];
            int cifra;
            if (Cifra(c)) cifra = c - '0';
            else if (c >= 'A' && c <= 'F') cifra = c - 'A' + 10;
            else if (c >= 'a' && c <= 'f') cifra = c - 'a' + 10;
            else return false;
            v = (v << 4) | static_cast<uint32_t>(cifra);
        }
        valore = static_cast<int32_t>(v);
        return true;
    }
    bool negativo = false;
    if (testo[i] == '+' || testo[i] == '-') {
        negativo = testo[i] == '-';
        ++i;
    }
    std::string cifre;
    bool punto = false;
    for (size_t k = i; k < fine; ++k) {
        const char c = testo[k];
        if (c == '.' && !punto) punto = true;
        else if (!Cifra(c)) return false;
        cifre += c;
    }
    if (cifre.find_first_of("0123456789") == std::string::npos) return false;
    // Our own digits through the "C" form: "." is the point whatever the locale.
    double v = 0, scala = 1;
    bool decimali = false;
    for (const char c : cifre) {
        if (c == '.') {
            decimali = true;
            continue;
        }
        if (decimali) {
            scala /= 10;
            v += (c - '0') * scala;
        } else {
            v = v * 10 + (c - '0');
        }
    }
    valore = negativo ? -v : v;
    return std::isfinite(valore);
}

bool NumeroInByte(std::string& byte, int32_t valore, int32_t n, std::string& messaggio) {
    std::string esa = Esadecimale(static_cast<uint32_t>(valore));
    if (esa.size() % 2) esa = "0" + esa;
    const size_t coppie = esa.size() / 2;
    if (n < 0 || coppie > static_cast<size_t>(n)) {
        messaggio = "ERROR: It's not possible keep argument with value " + std::to_string(valore) + " using only " +
                    std::to_string(n) + " bytes";
        return false;
    }
    byte.assign(static_cast<size_t>(n), '\0');
    const uint32_t u = static_cast<uint32_t>(valore);
    for (size_t k = 0; k < coppie; ++k) byte[k] = static_cast<char>((u >> (8 * k)) & 0xFF);
    return true;
}

bool SingleInByte(const std::string& testo, int32_t& bit) {
    double v = 0;
    if (!LeggiNumeroArgomento(testo, v) || std::fabs(v) > FLT_MAX) return false;
    const float f = static_cast<float>(v);
    uint32_t u = 0;
    std::memcpy(&u, &f, sizeof u);
    bit = static_cast<int32_t>(u);
    return true;
}

bool PreparaArgomento(FilePatch& patch, const std::string& percorsoPatch, std::string& messaggio) {
    messaggio.clear();
    std::string testo, motivo;
    if (!ArgomentoDaNome(percorsoPatch, testo, motivo)) {
        messaggio = ErroreApplicazione(percorsoPatch, motivo);
        return false;
    }
    if (testo.empty()) return false;  // "##": nothing to say, the caller logs

    const int32_t tipo = patch.TipoArgomento;
    const size_t dim = static_cast<size_t>(patch.DimArgomento);
    const std::string taglio = testo.substr(0, std::min(dim, testo.size()));
    size_t conteggio = 0;
    if (tipo == 3) conteggio = 1;
    else if (tipo == 4) conteggio = 2;
    else if (tipo == 5 || tipo == 6) conteggio = 4;
    else if (tipo == 1) conteggio = dim;
    else if (tipo == 2) conteggio = taglio.size() + 1;
    if (conteggio == 0) {
        messaggio = ErroreApplicazione(percorsoPatch, "Missing Argument type or argument text in current patch");
        return false;
    }
    // No argument longer than the longest record can fit anywhere.
    size_t massimo = 0;
    for (const RecordPatch& r : patch.Record) massimo = std::max(massimo, r.Nuovi.size());
    if (conteggio > massimo) {
        if (patch.OffsetArgomento.empty()) return true;
        messaggio = ErroreGenerale("Subscript out of range: the argument does not fit in its record");
        return false;
    }

    std::string byte;
    if (tipo == 1 || tipo == 2) {
        byte.assign(conteggio, ' ');
        byte.replace(0, taglio.size(), taglio);
        if (tipo == 2) byte.back() = '\0';
    } else if (tipo == 6) {
        double v = 0;
        if (!LeggiNumeroArgomento(testo, v)) {
            messaggio = "ERROR: current patch requires a numeric (float) argument but the argument '" + testo +
                        "' is not numeric";
            return false;
        }
        int32_t bit = 0;
        if (!SingleInByte(testo, bit)) {
            messaggio = ErroreGenerale("Overflow");
            return false;
        }
        if (!NumeroInByte(byte, bit, 4, messaggio)) return false;
    } else {
        double v = 0;
        if (!LeggiNumeroArgomento(testo, v)) {
            messaggio = "ERROR: current patch requires a numeric argument but the argument '" + testo +
                        "' is not numeric";
            return false;
        }
        int32_t intero = 0;
        if (!InteroArrotondato(v, intero)) {
            messaggio = ErroreGenerale("Overflow");
            return false;
        }
        if (!NumeroInByte(byte, intero, static_cast<int32_t>(conteggio), messaggio)) return false;
    }

    for (const int32_t offset : patch.OffsetArgomento) {
        RecordPatch* record = nullptr;
        for (RecordPatch& r : patch.Record) {
            if (static_cast<int64_t>(r.Offset) <= offset &&
                offset < static_cast<int64_t>(r.Offset) + static_cast<int64_t>(r.Nuovi.size())) {
                record = &r;
                break;
            }
        }
        if (!record) {
            messaggio = "ERROR: cann't found offset of macro corresponding to argumento offset 0x" +
                        Esadecimale(static_cast<uint32_t>(offset));
            return false;
        }
        const size_t inizio = static_cast<size_t>(static_cast<int64_t>(offset) - record->Offset);
        if (inizio + byte.size() > record->Nuovi.size()) {
            messaggio = ErroreGenerale("Subscript out of range: the argument at 0x" +
                                       Esadecimale(static_cast<uint32_t>(offset)) + " goes past its record");
            return false;
        }
        record->Nuovi.replace(inizio, byte.size(), byte);
    }
    return true;
}

int32_t ApplicaFilePatch(const FilePatch& patch, std::string& immagine, bool rimuovi) {
    if (patch.Record.empty()) return NonRiconosciuta;
    const bool ancora = (patch.FlagPatch & CercaAncora) != 0;
    std::vector<RecordPatch> record = patch.Record;
    if (patch.FlagPatch & Riloca) {
        size_t riferimento = 0;
        if (!ancora)
            for (size_t i = 1; i < record.size(); ++i)
                if (record[i].Lunghezza > record[riferimento].Lunghezza) riferimento = i;
        int32_t spostamento = 0;
        if (CercaRecordPatch(immagine, record[riferimento], rimuovi, spostamento, ancora) == NonRiconosciuta)
            return NonRiconosciuta;
        for (RecordPatch& r : record) {
            const int64_t nuovo = static_cast<int64_t>(r.Offset) + spostamento;
            if (nuovo < INT32_MIN || nuovo > INT32_MAX) return NonRiconosciuta;
            r.Offset = static_cast<int32_t>(nuovo);
        }
    }
    // The anchor is never written.
    const size_t primo = ancora ? 1 : 0;
    if (primo >= record.size()) return NonRiconosciuta;
    return ApplicaRecordPatch(immagine, record, primo, rimuovi, (patch.FlagPatch & Forza) != 0);
}
