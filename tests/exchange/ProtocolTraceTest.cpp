// The protocol trace records without changing what it records, leaves passwords out, and says
// once when it cannot be written.
#include "ExchangeFixture.h"

#include "exchange/ProtocolTrace.h"
#include "exchange/TracingExchangePort.h"
#include "protocol/Base64.h"
#include "protocol/CommandFrame.h"
#include "protocol/DollarCommands.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace kestrava::test {
namespace {

std::string hexOf(const std::string& text) {
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const unsigned char c : text) {
        if (!hex.empty()) {
            hex += ' ';
        }
        hex += kDigits[c >> 4];
        hex += kDigits[c & 0x0F];
    }
    return hex;
}

std::string readAll(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll().toStdString();
}

// The in-memory port, keeping what the exchange asks about the hand-over of a reply.
class HandOverPort : public InMemoryExchangePort {
public:
    using InMemoryExchangePort::InMemoryExchangePort;
    void setChunkComplete(std::function<bool(const std::uint8_t*, std::size_t)> c) override {
        complete = std::move(c);
    }
    std::function<bool(const std::uint8_t*, std::size_t)> complete;
};

TEST(TracingExchangePort, handsTheReplyEndOnAsTheUntracedPortGetsIt) {
    InMemoryLink link;
    HandOverPort inner(link);
    ProtocolTrace trace;
    TracingExchangePort tracing(inner, trace);
    ManualReplyTimers timers;
    RecordingView view;
    StoredSettings settings;
    CommandExchange exchange(tracing, timers, view, settings);
    tracing.attach(exchange);
    ASSERT_TRUE(tracing.open(QStringLiteral("sim"), 19200));
    exchange.request(CommandId::ReadMainInfo);
    ASSERT_TRUE(inner.complete);
    const Bytes reply = link.readChunk();
    ASSERT_FALSE(reply.empty());
    EXPECT_FALSE(inner.complete(reply.data(), reply.size() - 1));
    EXPECT_TRUE(inner.complete(reply.data(), reply.size()));
}

class TraceFile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        path = folder.filePath(QStringLiteral("t.trace"));
        QString error;
        ASSERT_TRUE(trace.open(path, error)) << error.toStdString();
    }
    QTemporaryDir folder;
    QString path;
    ProtocolTrace trace;
};

TEST_F(TraceFile, passwordsAreWrittenAsStarsAndTheRestAsItWas) {
    const std::string apnPassword = "apn-s3cret";
    const std::string wifiOld = "wifiOld1";
    const std::string wifiNew = "wifiNew2";
    const std::string remote = "remote77";
    const std::string longPassword = "long-caster-pass-25chars!"; // a long-form login
    ExpectedReply armed;
    struct Case {
        const char* what;
        bool sent;
        Bytes bytes;
        std::vector<std::string> secrets; // must not appear, in hex
        std::string kept;                 // must still appear, in hex
    };
    std::vector<Case> cases;
    {
        Bytes frame;
        SetApnParams(frame, armed, "apnuser", apnPassword);
        cases.push_back({"APN set", true, frame, {apnPassword}, "apnuser"});
        // The receiver's answer to a read carries the same fields.
        const Bytes payload(frame.begin() + 6, frame.begin() + 106);
        Bytes answer{'$', 'G', 'P', '\r', '\n'}; // the end of an NMEA sentence first
        const Bytes read = CommandFrame::make('G', 'A', payload);
        answer.insert(answer.end(), read.begin(), read.end());
        cases.push_back({"APN read answer", false, answer, {apnPassword}, "apnuser"});
    }
    for (const std::string& password : {std::string("pw"), longPassword}) {
        NetParams net;
        net.vrsName = "casteruser";
        net.vrsPassword = password;
        net.sourceNode = "MOUNT1";
        Bytes frame;
        ASSERT_GT(SetNetParams(frame, armed, net), 0u);
        const std::string login = Base64::encode(net.vrsName + ":" + net.vrsPassword);
        std::vector<std::string> parts{login.substr(0, 28)};
        if (login.size() > 28) {
            parts.push_back(login.substr(28)); // the long form's tail
        }
        cases.push_back({password.size() > 2 ? "net params set, long login" : "net params set",
                         true, frame, parts, "MOUNT1"});
    }
    {
        Bytes frame;
        SetWifiPassword(frame, armed, wifiOld, wifiNew);
        cases.push_back({"WiFi set", true, frame, {wifiOld, wifiNew}, ""});
        frame.clear();
        SetRemotePassword(frame, armed, remote);
        const std::string digest(frame.begin() + 6, frame.begin() + 38);
        cases.push_back({"remote set", true, frame, {digest}, ""});
    }
    for (const Case& c : cases) {
        if (c.sent) {
            trace.sent(c.bytes.data(), c.bytes.size(), QString::fromLatin1(c.what));
        } else {
            trace.received(c.bytes.data(), c.bytes.size(), QString::fromLatin1(c.what));
        }
    }
    const std::string text = readAll(path);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto line = text.find(c.what);
        ASSERT_NE(line, std::string::npos);
        const auto start = text.rfind('\n', line) + 1;
        const std::string written = text.substr(start, line - start);
        EXPECT_NE(written.find("***"), std::string::npos) << written;
        for (const std::string& secret : c.secrets) {
            if (!secret.empty()) {
                EXPECT_EQ(written.find(hexOf(secret)), std::string::npos) << secret;
            }
        }
        EXPECT_NE(written.find(hexOf(c.kept)), std::string::npos);
        // The frame's head and its CR LF are written as they were.
        EXPECT_NE(written.find("24 24"), std::string::npos);
    }
}

TEST_F(TraceFile, framesWithoutSecretsAreWrittenWhole) {
    // A setter's one-byte answer has the class and sub of a password frame, and no password.
    const Bytes answer = CommandFrame::make('G', 'A', Bytes{0});
    trace.received(answer.data(), answer.size(), QStringLiteral("answer"));
    EXPECT_NE(readAll(path).find(hexOf(std::string(answer.begin(), answer.end()))),
              std::string::npos);
}

TEST(ProtocolTrace, aTraceThatCannotBeWrittenSaysSoOnce) {
    ProtocolTrace trace;
    QString error;
    ASSERT_TRUE(trace.open(QStringLiteral("/dev/full"), error)) << error.toStdString();
    EXPECT_TRUE(trace.failed());
    EXPECT_FALSE(trace.failure().isEmpty());
    int told = 0;
    trace.onFailure([&told](const QString&) { ++told; });
    const Bytes frame = CommandFrame::make('V', 'C', {});
    for (int i = 0; i < 5; ++i) {
        trace.sent(frame.data(), frame.size(), QStringLiteral("ReadMainInfo"));
        trace.event("open", QStringLiteral("sim"));
    }
    EXPECT_EQ(told, 1);
}

} // namespace
} // namespace kestrava::test
