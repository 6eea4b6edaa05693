#include "settings/StoredSettings.h"

namespace kestrava {

StoredSettings StoredSettings::firstRunDefaults() {
    StoredSettings s;
    s.net.communicationMode = 0;
    s.net.netMode = 0;
    s.net.groupId1 = 1;
    s.net.groupId2 = 1;
    s.net.userId = 1;
    s.net.ip = {192, 0, 0, 0};
    s.net.port = 2101;
    s.net.phoneNumber = "01234567";
    s.net.apnName = "CMNET";
    s.net.sourceNode = "RTCM";
    s.net.url = "http://";
    s.net.isUrl = false;
    // Channel i is 459.225 MHz plus 0.1 MHz per channel, summed in single precision, so the
    // stored texts are 459.225006, 459.325012 ... 460.725098.
    float frequency = 459.225f;
    for (auto& channel : s.channels) {
        channel.transmit = frequency;
        channel.receive = frequency;
        frequency += 0.1f;
    }
    s.collectInterval = 1;
    s.cutOff = 15;
    s.fileSn = "000";
    s.voice = 2;
    s.volume = 10;
    return s;
}

} // namespace kestrava
