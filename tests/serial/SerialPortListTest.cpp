#include "serial/SerialPortList.h"

#include <gmock/gmock.h>

namespace kestrava {
namespace {

std::vector<QString> namesOf(const std::vector<SerialPortList::Entry>& entries) {
    std::vector<QString> names;
    for (const auto& entry : entries) {
        names.push_back(entry.name);
    }
    return names;
}

TEST(SerialPortList, sortsByNameAsTextSoTwoDigitPortsComeFirst) {
    std::vector<SerialPortList::Entry> entries{{"COM3", "USB Serial"},
                                               {"COM10", "Bluetooth"},
                                               {"COM1", "Communications Port"},
                                               {"/dev/ttyUSB0", ""}};
    SerialPortList::sortByName(entries);
    EXPECT_THAT(namesOf(entries), ::testing::ElementsAre("/dev/ttyUSB0", "COM1", "COM10", "COM3"));
    EXPECT_EQ(entries[2].description, "Bluetooth");
}

} // namespace
} // namespace kestrava
