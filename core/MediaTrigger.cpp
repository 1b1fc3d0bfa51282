#include "core/MediaTrigger.h"

#include <algorithm>

#include "core/MediaConfig.h"
#include "core/MediaLog.h"
#include "core/TextUtils.h"

std::vector<MediaTrigger> ListaMedia(1);
MediaTrigger MediaCorrente;
TextFormat FormatoTestoCorrente;
std::string UltimoErrore;

int32_t TipoMediaDaFlags(int32_t typeFlags) {
    struct Prova {
        uint32_t bit;
        int32_t tipo;
    };
    // The order decides when a record carries several kind bits.
    static constexpr Prova prove[] = {
        {BitAlert, TipoAlert},           {ImageSequence, TipoImageSequenceScroll}, {BitMovie, TipoMovie},
        {BitGuardian, TipoGuardian},     {BitCheck, TipoCheck},                    {BitEquipment, TipoEquipment},
        {BitGraphMenu, TipoGraphMenu},   {BitAction, TipoAction},                  {BitTextMenu, TipoTextMenu},
        {BitCommand, TipoCommand},       {BitExec, TipoExec},                      {BitSplash, TipoSplashScreen},
        {BitSensory, TipoSensory},       {BitEmail, TipoEmail},                    {BitKeyboard, TipoKeyboard},
        {BitCountDown, TipoCountDown},   {BitComunicator, TipoComunicator},        {BitSwitch, TipoSwitch},
        {FixedText, TipoImageFixedText}, {ScrollText, TipoImageScrollText},
    };
    const auto bits = static_cast<uint32_t>(typeFlags);
    for (const Prova& p : prove) {
        if (!(bits & p.bit)) continue;
        if (p.tipo == TipoImageSequenceScroll && (bits & FixedText)) return TipoImageSequenceFixed;
        return p.tipo;
    }
    return TipoNessuno;
}

std::string NomeTipoMedia(int32_t tipo) {
    static const char* const nomi[] = {
        "Alert",     "Image_Fixed_Text", "Image_Scroll_Text", "Image_Sequence_Scroll", "Keyboard",
        "Email",     "Sensory",          "Guardian",          "Equipment",             "Movie",
        "Splash_Screen", "Exec",         "Command",           "Image_Sequence_Fixed",  "CountDown",
        "Comunicator", "Switch",         "Check",             "Action",                "Text_Menu",
        "Graph_Menu",
    };
    if (tipo < 0 || tipo > TipoGraphMenu) return "UNKNOWN";
    return nomi[tipo];
}

size_t NumTriggerCaricati() {
    const size_t n = HeaderMcf.TriggerCount > 0 ? static_cast<size_t>(HeaderMcf.TriggerCount) : 0;
    return std::min(n, ListaMedia.size());
}

size_t NumTriggerCd() {
    const size_t caricati = NumTriggerCaricati();
    size_t n = 0;
    while (n < caricati && ListaMedia[n].TriggerCd != TriggerCdNessuno) ++n;
    return n;
}

int32_t IndiceMediaDaCodice(int32_t codice) {
    const int64_t ultimo = std::min<int64_t>(HeaderMcf.TriggerCount, static_cast<int64_t>(ListaMedia.size()));
    for (int32_t i = 0; i < ultimo; ++i)
        if (ListaMedia[static_cast<size_t>(i)].MediaCode == codice) return i;
    StampaLog("ERROR: unknown media code = " + std::to_string(codice), true);
    return -1;
}

void AggiungiNomeUnico(const std::string& nome, std::vector<std::string>& lista, int32_t& conteggio) {
    if (conteggio < 0) conteggio = 0;
    if (static_cast<size_t>(conteggio) > lista.size()) conteggio = static_cast<int32_t>(lista.size());
    for (int32_t i = 0; i < conteggio; ++i)
        if (UgualeSenzaCaso(lista[static_cast<size_t>(i)], nome)) return;
    lista.resize(static_cast<size_t>(conteggio) + 1);
    lista[static_cast<size_t>(conteggio)] = nome;
    ++conteggio;
}
