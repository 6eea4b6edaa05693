#include "forms/RadioForm.h"

#include "forms/FormText.h"
#include "settings/InputRules.h"

namespace kestrava {

namespace {
// The highest step below 1000 MHz, the most three digits before the full stop can say.
constexpr std::uint32_t kHighestKilohertz = 999975;
} // namespace

QString RadioForm::formatMessage() {
    return QStringLiteral("Please make sure the frequency value is with the format xxx.xxx");
}

FormResult<float> RadioForm::frequency(const QString& text) {
    if (!FrequencyTextRule(FormText::view(text))) {
        return FormResult<float>::refuse(formatMessage());
    }
    // The rule leaves only digits around a full stop, so the conversion cannot fail.
    const float megahertz = text.toFloat();
    // The radio frame carries whole steps of 25 kHz; anything between would be stored as the
    // step below it, so it is refused with the nearest frequency that can be set.
    const std::uint32_t kilohertz = sentKilohertz(megahertz);
    if (kilohertz % kStepKilohertz != 0) {
        std::uint32_t nearest = (kilohertz + kStepKilohertz / 2) / kStepKilohertz * kStepKilohertz;
        if (nearest > kHighestKilohertz) { // above what xxx.xxx can say
            nearest -= kStepKilohertz;
        }
        return FormResult<float>::refuse(
            QStringLiteral("%1 MHz is not a frequency the radio can be set to: it takes steps of "
                           "25 kHz, the nearest is %2 MHz"),
            {text, QString::number(nearest / 1000.0, 'f', 3).rightJustified(7, QLatin1Char('0'))});
    }
    return FormResult<float>::accept(megahertz);
}

std::uint32_t RadioForm::sentKilohertz(float megahertz) {
    // The same rounding as the frame's: radioFrequencyCode is this divided by the step.
    const double scaled = static_cast<double>(megahertz) * 1000.0 + 0.4;
    return scaled > 0.0 ? static_cast<std::uint32_t>(scaled) : 0u;
}

FormResult<ChannelTable> RadioForm::channels(const QStringList& transmit,
                                             const QStringList& receive) {
    if (transmit.size() != kChannels || receive.size() != kChannels) {
        return FormResult<ChannelTable>::refuse(formatMessage());
    }
    ChannelTable table{};
    for (int channel = 0; channel < kChannels; ++channel) {
        const FormResult<float> tx = frequency(transmit[channel]);
        const FormResult<float> rx = frequency(receive[channel]);
        if (!tx.ok()) {
            return FormResult<ChannelTable>::refuseAs(tx);
        }
        if (!rx.ok()) {
            return FormResult<ChannelTable>::refuseAs(rx);
        }
        table[static_cast<std::size_t>(channel)] = {tx.record(), rx.record()};
    }
    return FormResult<ChannelTable>::accept(table);
}

QString RadioForm::frequencyText(float megahertz) {
    return QString::number(static_cast<double>(megahertz), 'f', 3);
}

std::int32_t RadioForm::airBaudForIndex(int index) {
    return index == 0 ? kSlowAirBaud : kFastAirBaud;
}

FormResult<std::int32_t> RadioForm::airBaud(const QString& text) {
    if (text == QStringLiteral("9600")) {
        return FormResult<std::int32_t>::accept(kSlowAirBaud);
    }
    if (text == QStringLiteral("19200")) {
        return FormResult<std::int32_t>::accept(kFastAirBaud);
    }
    return FormResult<std::int32_t>::refuse(
        QStringLiteral("The air baud rate must be 9600 or 19200"));
}

ChannelTable RadioForm::defaultTable(bool band460) {
    ChannelTable table{};
    // Each step is rounded to a float, as the radio's own table is kept.
    float frequency = band460 ? 459.225f : 230.625f;
    for (ChannelPair& pair : table) {
        pair = {frequency, frequency};
        frequency = static_cast<float>(frequency + 0.1);
    }
    return table;
}

} // namespace kestrava
