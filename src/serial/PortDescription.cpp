#include "serial/PortDescription.h"

#include <QRegularExpression>

namespace kestrava {
namespace {

// Linux names its devices after their kind of driver.
QString kindOf(const QString& name) {
    static const struct {
        const char* pattern;
        const char* kind;
    } kinds[] = {
        {R"(^/dev/ttyUSB\d+$)", "USB serial adapter"},
        {R"(^/dev/ttyACM\d+$)", "USB serial device (modem class)"},
        {R"(^/dev/ttyS\d+$)", "built-in serial port"},
        {R"(^/dev/ttyAMA\d+$)", "built-in serial port"},
        {R"(^/dev/rfcomm\d+$)", "Bluetooth serial port"},
        {R"(^/dev/pts/\d+$)", "pseudo-terminal"},
    };
    for (const auto& kind : kinds) {
        if (QRegularExpression(QString::fromLatin1(kind.pattern)).match(name).hasMatch()) {
            return QString::fromLatin1(kind.kind);
        }
    }
    return {};
}

} // namespace

QString PortDescription::describe(const Facts& facts) {
    QString text = facts.description.trimmed();
    const QString maker = facts.manufacturer.trimmed();
    if (!maker.isEmpty() && !text.contains(maker, Qt::CaseInsensitive)) {
        text = text.isEmpty() ? maker : text + QStringLiteral(", ") + maker;
    }
    if (text.isEmpty()) {
        text = kindOf(facts.name);
    }
    if (facts.vendorId && facts.productId) {
        const QString ids = QStringLiteral("%1:%2")
                                .arg(*facts.vendorId, 4, 16, QLatin1Char('0'))
                                .arg(*facts.productId, 4, 16, QLatin1Char('0'));
        text = text.isEmpty() ? ids : text + QStringLiteral(" (") + ids + QLatin1Char(')');
    }
    return text;
}

} // namespace kestrava
