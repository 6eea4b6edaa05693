#pragma once

#include "forms/FormResult.h"
#include "protocol/ChannelTable.h"

#include <QString>
#include <QStringList>

#include <cstdint>

namespace kestrava {

// The internal radio's channel table and air baud rate as typed: every frequency is three
// digits, a full stop and three digits (MHz), and the air baud rate is 9600 or 19200.
class RadioForm {
public:
    static constexpr int kChannels = 16;
    static constexpr std::int32_t kSlowAirBaud = 9600;
    static constexpr std::int32_t kFastAirBaud = 19200;

    // The message of a frequency text that breaks the rule.
    static QString formatMessage();

    // The radio takes its frequencies in whole steps of this many kHz.
    static constexpr std::uint32_t kStepKilohertz = 25;

    // One frequency text in MHz: xxx.xxx, on a step the radio can be set to.
    static FormResult<float> frequency(const QString& text);
    // The frequency in kHz as the radio frame is built from it (the whole kHz of f x 1000 + 0.4).
    static std::uint32_t sentKilohertz(float megahertz);
    // The 16 transmit and 16 receive texts, channel by channel. A list of another length is
    // refused with the format message as well, since some channel has no valid text.
    static FormResult<ChannelTable> channels(const QStringList& transmit,
                                             const QStringList& receive);
    // The text a frequency is shown and written with: three decimals.
    static QString frequencyText(float megahertz);

    // The rate the page's list index stands for: index 0 is 9600; any other index, and no
    // selection at all, is 19200.
    static std::int32_t airBaudForIndex(int index);
    // A typed rate: "9600" or "19200".
    static FormResult<std::int32_t> airBaud(const QString& text);

    // The radio's factory table for the 460 MHz or the 230 MHz model: transmit and receive alike,
    // starting at 459.225 or 230.625 MHz, each channel 0.1 MHz above the one before.
    static ChannelTable defaultTable(bool band460);
};

} // namespace kestrava
