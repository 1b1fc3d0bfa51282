#include "savegames/EquipmentMedia.h"

#include "core/MediaLog.h"
#include "core/SharedState.h"
#include "runservices/Desktop.h"
#include "runservices/RunState.h"

IntestazioneEquipment EquipmentHeader;

bool LeggiEquipmentChunk(const std::string&) {
    EquipmentHeader = IntestazioneEquipment{};
    StampaNonCostruito("LeggiEquipmentChunk");
    return false;
}

bool EseguiEquipmentMedia() {
    StampaNonCostruito("EseguiEquipmentMedia");
    return false;
}

bool EseguiCheckMedia(bool& TestError) {
    StampaNonCostruito("EseguiCheckMedia");
    TestError = true;
    return false;
}

bool RiaccendiMonitorPerMedia() {
    if (IsPreviewMode() || !HaBit(StatoSequenza, MonitorSpento)) return false;
    AccendiMonitor(false);
    return true;
}
