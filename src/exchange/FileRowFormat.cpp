#include "exchange/FileRowFormat.h"

#include "exchange/TextCodec.h"
#include "protocol/FileListDecoder.h"

#include <QDate>
#include <QLocale>
#include <QTime>

namespace kestrava {

FileRowText FileRowFormat::toText(const FileListRow& row) {
    FileRowText text;
    text.name = TextCodec::toText(row.name);
    text.downloadName = TextCodec::toText(row.baseName);
    text.size = TextCodec::toText(row.sizeText);
    if (text.size.isEmpty()) {
        text.size = TextCodec::toText(FileListDecoder::sizeText(row.sizeBytes));
    }
    text.sizeBytes = row.sizeBytes;
    const QTime time(row.hour, row.minute, row.second);
    if (time.isValid()) {
        text.time = time.toString(QStringLiteral("HH:mm:ss"));
    }
    const QDate date(row.year, row.month, row.day);
    if (date.isValid()) {
        text.date = QLocale::system().toString(date, QLocale::ShortFormat);
        text.isoDateTime = date.toString(Qt::ISODate);
        if (time.isValid()) {
            text.isoDateTime += QLatin1Char('T') + text.time;
        }
    }
    return text;
}

} // namespace kestrava
