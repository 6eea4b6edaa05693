#include "serial/SerialPortList.h"
#include "serial/PortDescription.h"

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

TEST(PortDescription, givesWhatTheDriverReportsOrWhatTheNameTells) {
    using Facts = PortDescription::Facts;
    struct Case {
        Facts facts;
        const char* shown;
    };
    const Case cases[] = {
        {{"/dev/ttyUSB0", "CP2102 USB to UART", "Silicon Labs", 0x10c4, 0xea60},
         "CP2102 USB to UART, Silicon Labs (10c4:ea60)"},
        {{"/dev/ttyUSB1", "FT232R USB UART", "FTDI", 0x0403, 0x6001},
         "FT232R USB UART, FTDI (0403:6001)"},
        {{"/dev/ttyUSB2", "", "", {}, {}}, "USB serial adapter"},
        {{"/dev/ttyACM0", "", "", 0x1546, 0x01a8}, "USB serial device (modem class) (1546:01a8)"},
        {{"/dev/ttyS0", "", "", {}, {}}, "built-in serial port"},
        {{"/dev/pts/7", "", "", {}, {}}, "pseudo-terminal"},
        {{"COM3", "USB Serial Port", "FTDI", {}, {}}, "USB Serial Port, FTDI"},
        {{"COM4", "Prolific USB-to-Serial Comm Port", "Prolific", {}, {}},
         "Prolific USB-to-Serial Comm Port"},
        {{"/dev/ttyXYZ", "", "", {}, {}}, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PortDescription::describe(c.facts), QString::fromLatin1(c.shown))
            << c.facts.name.toStdString();
    }
}

} // namespace
} // namespace kestrava
