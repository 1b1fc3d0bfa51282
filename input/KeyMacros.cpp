#include "input/KeyMacros.h"

#include <algorithm>
#include <cstdio>
#include <exception>

#include "core/MediaLog.h"
#include "core/SharedState.h"
#include "core/TextUtils.h"
#include "runservices/LoggerClient.h"
#include "input/KeyboardRoutines.h"
#include "platform/Clock.h"
#include "platform/KeyDriver.h"

int32_t NumMacro = 0;
std::vector<MacroCacheEntry> MacroCache;
uint8_t TabellaScanVk[128] = {};
void* HandleDriverTasti = nullptr;
void* EventoDriverTasti = nullptr;
std::string BufferDriverTasti;
const char* const PercorsoDriverTasti = "\\\\.\\Vantrek.vxd";

namespace {

constexpr int32_t TastiEstesi[] = {80, 75, 77, 72, 83, 79, 71, 82, 74, 78, 81, 73, 55, 91, 92};

// A run-time error of a routine becomes its error line and a False result.
template <class F>
bool Protetto(const char* routine, F corpo) {
    try {
        return corpo();
    } catch (const std::exception& e) {
        StampaLog(std::string("ERROR in ") + routine + "() : " + e.what(), true);
    } catch (...) {
        StampaLog(std::string("ERROR in ") + routine + "() : ", true);
    }
    return false;
}

void RiempiTabellaScanVk() {
    for (uint8_t& v : TabellaScanVk) v = 0;
    auto serie = [](int32_t da, std::initializer_list<int32_t> vk) {
        for (int32_t v : vk) TabellaScanVk[da++] = static_cast<uint8_t>(v);
    };
    TabellaScanVk[1] = 27;
    for (int32_t s = 2; s <= 10; ++s) TabellaScanVk[s] = static_cast<uint8_t>(47 + s);
    TabellaScanVk[11] = 48;
    TabellaScanVk[14] = 8;
    TabellaScanVk[15] = 9;
    serie(16, {81, 87, 69, 82, 84, 89, 85, 73, 79, 80});
    TabellaScanVk[28] = 13;
    TabellaScanVk[29] = 17;
    serie(30, {65, 83, 68, 70, 71, 72, 74, 75, 76});
    TabellaScanVk[42] = 16;
    serie(44, {90, 88, 67, 86, 66, 78, 77});
    serie(55, {44, 18, 32, 20});
    for (int32_t s = 59; s <= 68; ++s) TabellaScanVk[s] = static_cast<uint8_t>(s + 53);
    serie(69, {144, 145, 36, 38, 33});
    TabellaScanVk[75] = 37;
    TabellaScanVk[77] = 39;
    serie(79, {35, 40, 34, 45, 46});
    TabellaScanVk[87] = 122;
    TabellaScanVk[88] = 123;
    serie(91, {91, 92, 93});
}

MacroCacheEntry* TrovaMacro(const std::string& nome) {
    for (int32_t i = 0; i < NumMacro && i < static_cast<int32_t>(MacroCache.size()); ++i)
        if (UgualeSenzaCaso(MacroCache[static_cast<size_t>(i)].Nome, nome)) return &MacroCache[static_cast<size_t>(i)];
    return nullptr;
}

void AggiungiUnEvento(std::vector<MacroEvent>& eventi, int32_t& conteggio, uint8_t tipo, int32_t tempo,
                      int32_t codice) {
    if (conteggio < 0) conteggio = 0;
    eventi.resize(static_cast<size_t>(conteggio));
    eventi.push_back(MacroEvent{tipo, tempo, static_cast<uint8_t>(codice)});
    ++conteggio;
}

void AggiungiU32(std::string& s, uint32_t v) {
    for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// The NT family sends the macro itself; 98 and Me hand it to the driver.
bool InviaAlDriver(const std::string& nome) {
    int32_t durata = 0;
    BufferDriverTasti = CaricaBufferCodici(nome, durata);
    static char uscita[] = "0";
    if (!DriverTasti.Controllo(static_cast<HANDLE>(HandleDriverTasti), CodiceControlloDriver, BufferDriverTasti.data(),
                               static_cast<DWORD>(BufferDriverTasti.size()), uscita, 0,
                               static_cast<HANDLE>(EventoDriverTasti)))
        return false;
    if (HaBit(StatoGioco, ComandoInCorso) && !LoggerAttivo()) return SorvegliaCaricamento(durata + 50);
    ClockSleep(static_cast<uint32_t>(durata + 50));
    return true;
}

}  // namespace

bool IsTastoEsteso(int32_t scan) {
    for (int32_t e : TastiEstesi)
        if ((scan & 127) == e) return true;
    return false;
}

bool InitSendKeys() {
    return Protetto("InitSendKeys", [] {
        RiempiTabellaScanVk();
        if (SistemaNT) return true;
        HANDLE h = DriverTasti.Apri(PercorsoDriverTasti, 0, 0, 0, FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OVERLAPPED);
        if (h == INVALID_HANDLE_VALUE) return false;
        HandleDriverTasti = h;
        HANDLE evento = DriverTasti.CreaEvento(TRUE, FALSE);
        if (!evento) return false;
        EventoDriverTasti = evento;
        return true;
    });
}

void TerminateSendKeys() {
    if (SistemaNT || !HandleDriverTasti) return;
    DriverTasti.Chiudi(static_cast<HANDLE>(HandleDriverTasti));
    HandleDriverTasti = nullptr;
}

bool SalvaMacro(const std::string& nome, int32_t conteggio, const std::vector<MacroEvent>& eventi) {
    return Protetto("SalvaMacro", [&] {
        if (conteggio <= 0 || static_cast<size_t>(conteggio) > eventi.size()) return false;
        std::vector<MacroEvent> copia(eventi.begin(), eventi.begin() + conteggio);
        if (copia.back().Tipo != 0) {
            copia.push_back(MacroEvent{0, copia.back().Tempo + 50, 0});
            ++conteggio;
        }
        const int32_t ultimo = copia.back().Tempo;
        const int32_t ultimoIntervallo = conteggio > 1 ? ultimo - copia[copia.size() - 2].Tempo : 50;
        MacroCacheEntry* entry = TrovaMacro(nome);
        if (!entry) {
            MacroCache.resize(static_cast<size_t>(NumMacro));
            MacroCache.push_back(MacroCacheEntry{});
            entry = &MacroCache.back();
            entry->Nome = nome;
            ++NumMacro;
        }
        entry->NumEventi = conteggio;
        entry->Eventi = copia;
        entry->Eventi.push_back(MacroEvent{});  // the spare element
        entry->Durata = (ultimo - copia.front().Tempo) + ultimoIntervallo;
        return true;
    });
}

bool SaveAdMacro(const std::string& nome, int32_t conteggio, const std::vector<MacroEvent>& eventi) {
    return Protetto("SaveAdMacro", [&] {
        if (conteggio <= 0 || static_cast<size_t>(conteggio) > eventi.size()) return false;
        std::vector<MacroEvent> lista(eventi.begin(), eventi.begin() + conteggio);
        if (lista.back().Tipo != 0) lista.push_back(MacroEvent{0, 10, 0});
        int32_t tempo = 50;
        for (MacroEvent& e : lista) {
            const int32_t ritardo = e.Tempo;
            e.Tempo = tempo;
            tempo += ritardo;
        }
        return SalvaMacro(nome, static_cast<int32_t>(lista.size()), lista);
    });
}

bool CaricaMacro(const std::string& nome, MacroCacheEntry& entry) {
    const MacroCacheEntry* trovata = TrovaMacro(nome);
    if (!trovata) return RigaErrore("ERROR: not found keyboard macro named '" + nome + "' in macro cache");
    entry = *trovata;
    return true;
}

std::string CaricaBufferCodici(const std::string& nome, int32_t& info) {
    const MacroCacheEntry* m = TrovaMacro(nome);
    if (!m) {
        RigaErrore("ERROR: not found macro named '" + nome + "' in macro cache");
        info = 0;
        return std::string(1, '\0');
    }
    std::string buffer;
    for (int32_t i = 0; i < m->NumEventi; ++i) {
        const MacroEvent& e = m->Eventi[static_cast<size_t>(i)];
        buffer.push_back(static_cast<char>(e.Tipo));
        AggiungiU32(buffer, static_cast<uint32_t>(e.Tempo));
        buffer.push_back(static_cast<char>(e.Codice));
    }
    buffer.append(2, '\0');
    info = m->Durata;
    return buffer;
}

std::string DescriviMacro(const std::string& nome) {
    const MacroCacheEntry* m = TrovaMacro(nome);
    if (!m) return "";
    std::string testo;
    for (int32_t i = 0; i < m->NumEventi; ++i) {
        const MacroEvent& e = m->Eventi[static_cast<size_t>(i)];
        const int32_t tempo = i + 1 < m->NumEventi ? m->Eventi[static_cast<size_t>(i) + 1].Tempo - e.Tempo : e.Tempo;
        char parte[40];
        std::snprintf(parte, sizeof parte, "&H%X, %d", static_cast<unsigned>(e.Codice), static_cast<int>(tempo));
        if (i > 0) testo += ", ";
        testo += parte;
    }
    return testo;
}

bool InviaCodici(bool conRilascio, const std::vector<std::pair<int32_t, int32_t>>& tasti) {
    return Protetto("InviaCodici", [&] {
        if (tasti.empty()) return false;
        std::vector<MacroEvent> eventi;
        int32_t conteggio = 0;
        int32_t tempo = 0;
        for (const auto& [codice, ritardo] : tasti) {
            AggiungiUnEvento(eventi, conteggio, 1, tempo, codice);
            tempo += ritardo;
            if (conRilascio) {
                AggiungiUnEvento(eventi, conteggio, 1, tempo, codice | 0x80);
                tempo += 50;
            }
        }
        if (!SalvaMacro("Temp.mcr", conteggio, eventi)) return false;
        return InviaCodici(std::string("Temp.mcr"));
    });
}

bool InviaCodici(const std::string& nome) {
    return Protetto("InviaCodici", [&] { return SistemaNT ? InviaMacroXp(nome) : InviaAlDriver(nome); });
}

bool InviaMacroXp(const std::string& nome) {
    return Protetto("InviaMacroXp", [&] {
        MacroCacheEntry m;
        if (!CaricaMacro(nome, m)) return false;
        struct Passo {
            INPUT input;
            int32_t tempo;
        };
        std::vector<Passo> passi;
        bool esteso = false;
        for (int32_t i = 0; i < m.NumEventi; ++i) {
            const MacroEvent& e = m.Eventi[static_cast<size_t>(i)];
            if ((e.Codice & 0xF0) == 0xE0) {
                esteso = true;
                continue;
            }
            INPUT in{};
            in.type = INPUT_KEYBOARD;
            in.ki.wVk = TabellaScanVk[e.Codice & 127];
            in.ki.wScan = static_cast<WORD>(e.Codice & 127);
            in.ki.dwFlags = (esteso ? KEYEVENTF_EXTENDEDKEY : 0) | ((e.Codice & 0x80) ? KEYEVENTF_KEYUP : 0);
            passi.push_back(Passo{in, e.Tempo});
            esteso = false;
        }
        bool risultato = true;
        bool senzaPause = false;
        // The keys this macro holds down now, by virtual key and extended flag.
        std::vector<std::pair<WORD, DWORD>> giu;
        auto chiave = [](const INPUT& in) { return std::make_pair(in.ki.wVk, in.ki.dwFlags & KEYEVENTF_EXTENDEDKEY); };
        for (size_t j = 0; j < passi.size(); ++j) {
            const INPUT& in = passi[j].input;
            if (DriverTasti.InviaInput(in) == 0) {
                // A refused input must leave no key down: every release still
                // due goes out, without pauses.
                for (size_t k = j; k < passi.size() && !giu.empty(); ++k) {
                    const INPUT& rilascio = passi[k].input;
                    if (!(rilascio.ki.dwFlags & KEYEVENTF_KEYUP)) continue;
                    const auto it = std::find(giu.begin(), giu.end(), chiave(rilascio));
                    if (it == giu.end()) continue;
                    DriverTasti.InviaInput(rilascio);
                    giu.erase(it);
                }
                return false;
            }
            if (in.ki.wVk != 0) {
                const auto it = std::find(giu.begin(), giu.end(), chiave(in));
                if (in.ki.dwFlags & KEYEVENTF_KEYUP) {
                    if (it != giu.end()) giu.erase(it);
                } else if (it == giu.end()) {
                    giu.push_back(chiave(in));
                }
            }
            if (j + 1 == passi.size() || senzaPause) continue;
            if (HaBit(StatoGioco, ComandoInCorso) && !SorvegliaCaricamento(0)) {
                // A level load began: the rest goes out at once, so no key stays down.
                senzaPause = true;
                risultato = false;
                continue;
            }
            const int32_t pausa = passi[j + 1].tempo - passi[j].tempo;
            if (pausa > 0) ClockSleep(static_cast<uint32_t>(pausa));
        }
        return risultato;
    });
}

std::string CreateMacroRilascio(int32_t scan, const std::string& nome) {
    SalvaMacro(nome, 2, {MacroEvent{1, 50, static_cast<uint8_t>(scan | 0x80)}, MacroEvent{0, 100, 0}});
    return nome;
}

std::string CreateMacroTastoSingolo(int32_t scan, const std::string& nome) {
    // The key stays down until a release macro is sent.
    const int32_t fine = LoggerAttivo() ? 50 : 300;
    SalvaMacro(nome, 2, {MacroEvent{1, 0, static_cast<uint8_t>(scan)}, MacroEvent{0, fine, 0}});
    return nome;
}

std::string CreateMacroSequenza(const std::string& nome, int32_t scan) {
    const int32_t d = SistemaNT ? 200 : 50;
    SalvaMacro(nome, 6,
               {MacroEvent{1, 0, static_cast<uint8_t>(scan | 0x80)}, MacroEvent{1, d, 28}, MacroEvent{1, 2 * d, 156},
                MacroEvent{1, 3 * d, 28}, MacroEvent{1, 4 * d, 156}, MacroEvent{0, 5 * d, 0}});
    return nome;
}

std::string CreateMacroDirection(int32_t scan, int32_t n, const std::string& nome) {
    const int32_t h = SistemaNT ? 400 : 200;
    const int32_t pressioni = SistemaNT ? n + 1 : n;
    std::vector<MacroEvent> eventi;
    int32_t t = 100;
    for (int32_t i = 0; i < pressioni; ++i) {
        eventi.push_back(MacroEvent{1, t, PrefissoEsteso});
        eventi.push_back(MacroEvent{1, t + 10, static_cast<uint8_t>(scan)});
        eventi.push_back(MacroEvent{1, t + 10 + h, PrefissoEsteso});
        eventi.push_back(MacroEvent{1, t + 20 + h, static_cast<uint8_t>(scan | 0x80)});
        t += 30 + h;
    }
    eventi.push_back(MacroEvent{0, t, 0});
    SalvaMacro(nome, static_cast<int32_t>(eventi.size()), eventi);
    return nome;
}

void AggiungiEventoTasto(int32_t scan, std::vector<MacroEvent>& eventi, int32_t& conteggio, int32_t ritardo) {
    if (IsTastoEsteso(scan)) AggiungiUnEvento(eventi, conteggio, 1, 10, PrefissoEsteso);
    AggiungiUnEvento(eventi, conteggio, 1, ritardo, scan);
}

void AggiungiTastoPremuto(int32_t valore, std::vector<int32_t>& lista, int32_t& conteggio, bool senzaDoppi) {
    if (conteggio < 0) conteggio = 0;
    if (static_cast<size_t>(conteggio) > lista.size()) conteggio = static_cast<int32_t>(lista.size());
    if (senzaDoppi) {
        for (int32_t i = 0; i < conteggio; ++i)
            if (lista[static_cast<size_t>(i)] == valore) return;
    }
    lista.resize(static_cast<size_t>(conteggio));
    lista.push_back(valore);
    ++conteggio;
}
