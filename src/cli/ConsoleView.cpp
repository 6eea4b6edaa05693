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

void ConsoleView::echoReceived(const std::uint8_t* bytes, std::size_t count) {
    echoed.append(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(count));
}

} // namespace kestrava
