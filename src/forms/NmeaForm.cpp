#include "forms/NmeaForm.h"

namespace kestrava {

FormResult<NmeaOutputChoice> NmeaForm::parse(const QString& text) {
    const auto refuse = [] {
        return FormResult<NmeaOutputChoice>::refuse(QStringLiteral(
            "The NMEA output must be 16 digits: port (0 COM1, 1 COM2), clear all first (0 or 1), "
            "then for GGA, GSV, RMC, GSA, VTG, ZDA and GST on (1) or off (0) and the rate (0 to 5 "
            "for 1, 2, 5, 10, 0.5 and 0.2 s)"));
    };
    NmeaOutputChoice choice;
    if (text.size() != static_cast<qsizetype>(choice.bytes.size())) {
        return refuse();
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        // Every byte but the rates is a yes/no; a rate is an index into six intervals.
        const bool rate = i >= 2 && i % 2 == 1;
        const char16_t highest = rate ? u'5' : u'1';
        if (c < u'0' || c > highest) {
            return refuse();
        }
        choice.bytes[static_cast<std::size_t>(i)] = static_cast<Byte>(c - u'0');
    }
    return FormResult<NmeaOutputChoice>::accept(choice);
}

QString NmeaForm::text(const NmeaOutputChoice& choice) {
    QString text;
    for (Byte value : choice.bytes) {
        text += QString::number(value);
    }
    return text;
}

} // namespace kestrava
