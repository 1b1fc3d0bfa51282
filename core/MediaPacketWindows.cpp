// File dates of the packet manager through the system's own calls; its
// paths are UTF-8.
#include <windows.h>

#include "core/MediaPacket.h"
#include "core/Utf8Files.h"
#include "core/Utf8Text.h"

namespace {
double DaSystemTime(const SYSTEMTIME& st) {
    DataOra d;
    d.Anno = st.wYear;
    d.Mese = st.wMonth;
    d.Giorno = st.wDay;
    d.Ora = st.wHour;
    d.Minuto = st.wMinute;
    d.Secondo = st.wSecond;
    return DataOle(d);
}

std::wstring W(const std::string& percorso) {
    const std::u16string u = Utf16DaUtf8(percorso);
    return std::wstring(u.begin(), u.end());
}
}  // namespace

bool DataModificaFile(const std::string& percorso, double& data) {
    WIN32_FILE_ATTRIBUTE_DATA info{};
    if (!GetFileAttributesExW(W(percorso).c_str(), GetFileExInfoStandard, &info)) return false;
    FILETIME locale{};
    SYSTEMTIME st{};
    if (!FileTimeToLocalFileTime(&info.ftLastWriteTime, &locale) || !FileTimeToSystemTime(&locale, &st)) return false;
    data = DaSystemTime(st);
    return true;
}

double DataOraCorrente() {
    SYSTEMTIME st{};
    GetLocalTime(&st);
    return DaSystemTime(st);
}

bool ImpostaDataFileOle(const std::string& percorso, double data) {
    return ImpostaDataFileUtf8(percorso, DaDataOle(data));
}
