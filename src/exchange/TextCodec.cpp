#include "exchange/TextCodec.h"

#include <QByteArray>
#include <QStringConverter>

#include <algorithm>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace kestrava {

#ifdef Q_OS_WIN
// The ANSI code page of the system, the encoding of the receiver's payload texts. A byte that the
// code page does not map becomes the system's default character; so does a character it lacks.
QString TextCodec::toText(const ByteString& bytes) {
    if (bytes.empty()) {
        return {};
    }
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(std::max(length, 0)), L'\0');
    if (length > 0) {
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, wide.data(), length);
    }
    return QString::fromStdWString(wide);
}

ByteString TextCodec::toBytes(const QString& text) {
    if (text.isEmpty()) {
        return {};
    }
    const std::wstring wide = text.toStdWString();
    const int size = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    ByteString bytes(static_cast<std::size_t>(std::max(length, 0)), '\0');
    if (length > 0) {
        WideCharToMultiByte(CP_ACP, 0, wide.data(), size, bytes.data(), length, nullptr, nullptr);
    }
    return bytes;
}
#else
QString TextCodec::toText(const ByteString& bytes) {
    QStringDecoder decoder(QStringConverter::System);
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

ByteString TextCodec::toBytes(const QString& text) {
    QStringEncoder encoder(QStringConverter::System);
    const QByteArray bytes = encoder.encode(text);
    return ByteString(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}
#endif

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
