#include "patcher/PatchFiles.h"

#include "core/FileUtils.h"
#include "core/MediaLog.h"
#include "core/PathNames.h"
#include "core/SystemUtils.h"
#include "core/TextUtils.h"
#include "patcher/VersionSignature.h"

namespace {

void BoxPatch(const std::string& testo) { Messaggio(testo, StileErroreCritico); }

// Every message goes to the log too.
void Avviso(const std::string& testo) {
    StampaLog(testo);
    AvvisoPatch(testo);
}

bool LeggiImmagine(const std::string& percorso, std::string& immagine, std::string& errore) {
    if (!EsisteFile(percorso)) {
        errore = "File not found: " + percorso;
        return false;
    }
    if (!LeggiFileIntero(percorso, immagine)) {
        errore = "Permission denied: " + percorso;
        return false;
    }
    return true;
}

}  // namespace

void (*AvvisoPatch)(const std::string& testo) = BoxPatch;
FilePatch PatchCorrente;

std::string FirmaEseguibile(const std::string& programma) {
    std::string dati, errore, firma;
    if (!LeggiImmagine(programma, dati, errore) ||
        !FirmaDaDati(NomeFileDaPercorso(programma), dati, firma, errore)) {
        Avviso("ERROR trying to compute version of file: " + programma + "\r\nError mexage: " + errore);
        return "ERROR";
    }
    return firma;
}

bool DataEseguibile(const std::string& programma, DataOra& data) {
    std::string dati, errore;
    return LeggiImmagine(programma, dati, errore) && DataEseguibileDaDati(dati, data, errore);
}

int32_t ApplicaSetPatch(const std::string& percorso, const std::vector<RecordPatch>& records, bool rimuovi) {
    std::string immagine, errore;
    if (!LeggiImmagine(percorso, immagine, errore)) return NonRiconosciuta;
    const int32_t esito = ApplicaRecordPatch(immagine, records, 0, rimuovi, false);
    if (esito == Applicata && !RiscriviSenzaBackup(percorso, immagine)) return NonRiconosciuta;
    return esito;
}

bool CaricaFilePatch(const std::string& percorso) {
    if (!EsisteFile(percorso)) {
        Avviso("ERROR: cann't find patch file: " + percorso);
        return false;
    }
    std::string dati, errore;
    if (!LeggiImmagine(percorso, dati, errore) || !LeggiFilePatch(dati, PatchCorrente, errore)) {
        Avviso("Error trying to load binary patch from file: " + percorso + "\r\nError mexage: " + errore);
        return false;
    }
    return true;
}

std::string LeggiArgomentoPatch(const std::string& percorso) {
    std::string argomento, motivo;
    if (!ArgomentoDaNome(percorso, argomento, motivo)) {
        Avviso("Error trying to applicate patch: " + percorso + "\r\n" + motivo);
        return std::string();
    }
    return argomento;
}

int32_t ApplicaPatch(const std::string& patch, const std::string& eseguibile, bool rimuovi, std::string& firma) {
    if (!CaricaFilePatch(patch)) return NonRiconosciuta;
    FilePatch p = PatchCorrente;
    if (p.FlagPatch & VerificaFirma) {
        if (firma.empty()) firma = FirmaEseguibile(eseguibile);
        if (!UgualeSenzaCaso(p.FirmaTarget, firma)) return NonRiconosciuta;
    }
    std::string immagine, errore;
    if (!LeggiImmagine(eseguibile, immagine, errore)) {
        Avviso("ERROR trying to apply binary patch. Error mexage: " + errore);
        return NonRiconosciuta;
    }
    if (p.FlagPatch & ConArgomento) {
        std::string messaggio;
        if (!PreparaArgomento(p, patch, messaggio)) {
            if (!messaggio.empty()) Avviso(messaggio);
            return NonRiconosciuta;
        }
    }
    const int32_t esito = ApplicaFilePatch(p, immagine, rimuovi);
    if (esito != Applicata) return esito;
    if (!RiscriviSenzaBackup(eseguibile, immagine)) {
        Avviso("ERROR trying to apply binary patch. Error mexage: Permission denied: " + eseguibile);
        return NonRiconosciuta;
    }
    return Applicata;
}
