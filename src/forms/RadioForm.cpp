#include "forms/RadioForm.h"

#include "forms/FormText.h"
#include "settings/InputRules.h"

namespace kestrava {

QString RadioForm::formatMessage() {
    return QStringLiteral("Please make sure the frequency value is with the format xxx.xxx");
}

FormResult<float> RadioForm::frequency(const QString& text) {
    if (!FrequencyTextRule(FormText::view(text))) {
        return FormResult<float>::refuse(formatMessage());
    }
    // The rule leaves only digits around a full stop, so the conversion cannot fail.
    return FormResult<float>::accept(text.toFloat());
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
        if (!tx.ok() || !rx.ok()) {
            return FormResult<ChannelTable>::refuse(formatMessage());
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
