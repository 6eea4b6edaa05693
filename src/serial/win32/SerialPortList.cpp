// The port list on Windows: the COM ports the system registers under
// HARDWARE\DEVICEMAP\SERIALCOMM, described by the friendly names of the ports' device class.
#include "serial/SerialPortList.h"

#include "serial/PortDescription.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <devguid.h>
#include <setupapi.h>

#include <map>

namespace kestrava {

namespace {

// Friendly names ("USB Serial Port (COM4)") by port name, where the system has them.
std::map<QString, QString> friendlyNames() {
    std::map<QString, QString> names;
    HDEVINFO devices = SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (devices == INVALID_HANDLE_VALUE) {
        return names;
    }
    SP_DEVINFO_DATA info{};
    info.cbSize = sizeof info;
    for (DWORD index = 0; SetupDiEnumDeviceInfo(devices, index, &info); ++index) {
        HKEY key = SetupDiOpenDevRegKey(devices, &info, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
        if (key == INVALID_HANDLE_VALUE) {
            continue;
        }
        wchar_t port[256] = {};
        DWORD size = sizeof port - sizeof(wchar_t);
        DWORD type = 0;
        const bool named =
            RegQueryValueExW(key, L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(port),
                             &size) == ERROR_SUCCESS &&
            type == REG_SZ;
        RegCloseKey(key);
        wchar_t friendly[512] = {};
        if (named &&
            SetupDiGetDeviceRegistryPropertyW(devices, &info, SPDRP_FRIENDLYNAME, nullptr,
                                              reinterpret_cast<BYTE*>(friendly),
                                              sizeof friendly - sizeof(wchar_t), nullptr)) {
            names[QString::fromWCharArray(port)] = QString::fromWCharArray(friendly);
        }
    }
    SetupDiDestroyDeviceInfoList(devices);
    return names;
}

} // namespace

std::vector<SerialPortList::Entry> SerialPortList::available() {
    std::vector<Entry> entries;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return entries; // no serial port registered
    }
    const std::map<QString, QString> friendly = friendlyNames();
    for (DWORD index = 0;; ++index) {
        wchar_t valueName[256] = {};
        DWORD nameLength = 255;
        wchar_t data[257] = {}; // up to 512 bytes of data
        DWORD dataSize = 512;
        DWORD type = 0;
        const LONG result = RegEnumValueW(key, index, valueName, &nameLength, nullptr, &type,
                                          reinterpret_cast<BYTE*>(data), &dataSize);
        if (result == ERROR_NO_MORE_ITEMS) {
            break;
        }
        if (result != ERROR_SUCCESS || type != REG_SZ) {
            continue;
        }
        const QString name = QString::fromWCharArray(data).trimmed();
        if (name.isEmpty()) {
            continue;
        }
        const auto found = friendly.find(name);
        PortDescription::Facts facts{
            name, found != friendly.end() ? found->second : QString(), QString(), {}, {}};
        entries.push_back({name, PortDescription::describe(facts)});
    }
    RegCloseKey(key);
    sortByName(entries);
    return entries;
}

} // namespace kestrava
