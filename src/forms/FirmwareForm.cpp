#include "forms/FirmwareForm.h"

#include <QFileInfo>

namespace kestrava {

QString FirmwareForm::fileNameOf(const QString& path) {
    const auto cut =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(cut + 1);
}

std::int32_t FirmwareForm::hardwareCodeOf(const QString& path) {
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot < 0 ? path : path.left(dot);
    const QString digits = stem.right(3);
    std::int32_t code = 0;
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            break;
        }
        code = code * 10 + (c.unicode() - u'0');
    }
    return code;
}

FormResult<FirmwareJob> FirmwareForm::check(const QString& pathText, int type) {
    using Result = FormResult<FirmwareJob>;
    const QString path = pathText.trimmed();
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile()) {
        return Result::refuse(QStringLiteral("Please check whether the file exist"));
    }
    if (path.right(3).toLower() != QLatin1String("kvb")) {
        return Result::refuse(QStringLiteral("This is not an .kvb update FW file"));
    }
    const QString name = fileNameOf(path).trimmed().toLower();
    const qsizetype gm = name.indexOf(QLatin1String("gm"));
    if (type == kReceiver) {
        if (gm >= 0) {
            return Result::refuse(QStringLiteral("Please check whether this is a Receiver FW"));
        }
    } else if (gm != 0) {
        return Result::refuse(QStringLiteral("Please check whether this an Module FW"));
    }
    // An empty image would otherwise end at once with "Update successfully".
    if (info.size() <= 0) {
        return Result::refuse(QStringLiteral("The FW file is empty"));
    }
    // Only codes 88 and 98 have a block layout; another code would leave the update waiting.
    const std::int32_t code = hardwareCodeOf(path);
    if (code != 88 && code != 98) {
        return Result::refuse(QStringLiteral("The FW file name must end in .088.kvb or .098.kvb"));
    }
    FirmwareJob job;
    job.path = path;
    job.hardwareCode = code;
    job.type = type == kReceiver ? kReceiver : kModule;
    job.imageSize = info.size();
    return Result::accept(std::move(job));
}

} // namespace kestrava
