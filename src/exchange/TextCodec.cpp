#include "exchange/TextCodec.h"

#include <QByteArray>
#include <QStringConverter>

namespace kestrava {

QString TextCodec::toText(const ByteString& bytes) {
    QStringDecoder decoder(QStringConverter::System);
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

ByteString TextCodec::toBytes(const QString& text) {
    QStringEncoder encoder(QStringConverter::System);
    const QByteArray bytes = encoder.encode(text);
    return ByteString(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

CodePage TextCodec::codePage() {
    CodePage page;
    page.toUtf16 = [](std::string_view bytes) {
        return toText(ByteString(bytes)).toStdU16String();
    };
    page.fromUtf16 = [](std::u16string_view text) {
        return toBytes(QString::fromStdU16String(std::u16string(text)));
    };
    return page;
}

} // namespace kestrava
