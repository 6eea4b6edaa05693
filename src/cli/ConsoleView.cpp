#include "cli/ConsoleView.h"

namespace kestrava {

void ConsoleView::showMainInfo(const MainInfoPanel& info) {
    mainInfo = info;
    panel[0] = info.receiverVersion;
    panel[1] = info.receiverSerial;
    panel[2] = info.motherboardType;
    panel[5] = info.moduleName;
    if (info.moduleFirmwareVersion) {
        panel[6] = *info.moduleFirmwareVersion;
    }
    if (info.moduleHardwareVersion) {
        panel[7] = *info.moduleHardwareVersion;
    }
}

void ConsoleView::showMotherboard(const QString& serial, const QString& version) {
    panel[3] = serial;
    panel[4] = version;
}

void ConsoleView::showApnParams(const QString& user, const QString& password) {
    apn = std::make_pair(user, password);
}

void ConsoleView::showCollectParams(int intervalSeconds, int cutoffDegrees) {
    collect = std::make_pair(intervalSeconds, cutoffDegrees);
}

void ConsoleView::showFileNaming(const QString& prefix, const QString& serial) {
    fileNaming = std::make_pair(prefix, serial);
}

void ConsoleView::showNetBand(int moduleCode, int band2g, int band3g) {
    band = Band{moduleCode, band2g, band3g};
}

void ConsoleView::showVoiceParams(int voiceType, int volume) {
    voice = std::make_pair(voiceType, volume);
}

void ConsoleView::echoReceived(const std::uint8_t* bytes, std::size_t count) {
    echoed.append(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(count));
}

} // namespace kestrava
