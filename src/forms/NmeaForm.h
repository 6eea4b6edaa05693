#pragma once

#include "forms/FormResult.h"
#include "protocol/NmeaOutputChoice.h"

#include <QString>

namespace kestrava {

// The NMEA output choice as text: 16 digits, one per byte of the record, as the settings file
// keeps it ("0010101010101010"): the port (0 COM1, 1 COM2), clear all first (0 or 1), then per
// sentence GGA, GSV, RMC, GSA, VTG, ZDA, GST on or off (0 or 1) and its rate (0..5 for 1, 2, 5,
// 10, 0.5 and 0.2 s).
class NmeaForm {
public:
    static FormResult<NmeaOutputChoice> parse(const QString& text);
    static QString text(const NmeaOutputChoice& choice);
};

} // namespace kestrava
