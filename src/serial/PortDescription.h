#pragma once

#include <QString>

#include <optional>

namespace kestrava {

// The words a port is listed with: what its driver reports (description, maker, USB vendor and
// product numbers) and, where it reports nothing, what the device's name tells of it.
class PortDescription {
public:
    struct Facts {
        QString name; // "/dev/ttyUSB0", "COM3"
        QString description;
        QString manufacturer;
        std::optional<quint16> vendorId;
        std::optional<quint16> productId;
    };

    static QString describe(const Facts& facts);
};

} // namespace kestrava
