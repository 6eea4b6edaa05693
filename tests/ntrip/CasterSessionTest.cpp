// The caster client against a real caster on loopback (str2str from rtklib) and against a
// loopback server replaying recorded answers: a list, a wrong password, an unknown mount point,
// an accepted login with its RTCM 3 messages, and the waits that must end.
#include "ntrip/CasterSession.h"
#include "ntrip/CasterCheck.h"
#include "ntrip/CasterWords.h"
#include "support/Str2StrCaster.h"

#include <gmock/gmock.h>

#include <QTcpServer>

#include <optional>

namespace kestrava {
namespace {

using ::testing::HasSubstr;
using Result = CasterOutcome::Result;

// str2str puts "STR;" and the mount point in front of it.
const std::string kStr =
    "Hangzhou;RTCM 3.2;1005(1),1074(1),1084(1);2;GPS+GLO;NET1;CHN;30.25;120.13;0;0;sNTRIP;"
    "none;B;N;9600;";
const GeodeticPosition kBase{30.2519, 120.12595, 35.2};

// One second of a base: its position and a GPS and a GLONASS observation message.
std::vector<std::uint8_t> baseFrames() {
    return test::rtcmFrames({StationPosition::fromGeodetic(kBase, 7).encode(false),
                             {0x43, 0x20, 1, 2, 3, 4, 5, 6},
                             {0x43, 0xC0, 6, 5, 4, 3, 2, 1}});
}

CasterOutcome converse(const NtripRequest& request, int listenMs = 1500) {
    CasterSession session;
    std::optional<CasterOutcome> outcome;
    QObject::connect(&session, &CasterSession::finished,
                     [&outcome](const CasterOutcome& o) { outcome = o; });
    CasterSession::Limits limits;
    limits.listenMs = listenMs;
    limits.answerMs = 2000;
    limits.connectMs = 2000;
    session.start(request, limits);
    EXPECT_TRUE(test::pumpUntil([&outcome] { return outcome.has_value(); }, 15000));
    return outcome.value_or(CasterOutcome{});
}

NtripRequest requestFor(quint16 port, const std::string& mount, const std::string& user = {},
                        const std::string& password = {}) {
    NtripRequest request;
    request.host = "127.0.0.1";
    request.port = port;
    request.mountPoint = mount;
    request.user = user;
    request.password = password;
    return request;
}

class OnRealCaster : public ::testing::Test {
protected:
#ifdef _WIN32
    void SetUp() override { GTEST_SKIP() << "str2str, the real caster, is a Linux program"; }
#endif
    test::Str2StrCaster caster{"surveyor", "secret", "MP1", kStr, baseFrames()};
};

TEST_F(OnRealCaster, listsItsMountPoint) {
    const CasterOutcome outcome = converse(requestFor(caster.port(), ""));
    ASSERT_EQ(outcome.result, Result::Sourcetable) << outcome.detail;
    ASSERT_EQ(outcome.table.streams().size(), 1u);
    EXPECT_EQ(outcome.table.streams()[0].mountPoint, "MP1");
    EXPECT_EQ(outcome.table.streams()[0].navSystems, "GPS+GLO");
    EXPECT_EQ(CasterWords::describe(outcome, "").english(), "The caster lists 1 mount points");
}

TEST_F(OnRealCaster, tellsAWrongPasswordFromAnUnknownMountPoint) {
    const CasterOutcome refused = converse(requestFor(caster.port(), "MP1", "surveyor", "wrong"));
    EXPECT_EQ(refused.result, Result::Refused) << refused.detail;
    EXPECT_EQ(CasterWords::describe(refused, "MP1").english(),
              "The caster refused the user name or password");
    const CasterOutcome unknown = converse(requestFor(caster.port(), "MP2", "surveyor", "secret"));
    EXPECT_EQ(unknown.result, Result::UnknownMount) << unknown.detail;
    EXPECT_EQ(CasterWords::describe(unknown, "MP2").english(),
              "Mount point MP2 is not on this caster");
}

TEST_F(OnRealCaster, anAcceptedLoginReportsTheMessagesTheRateAndTheBase) {
    const CasterOutcome accepted = converse(requestFor(caster.port(), "MP1", "surveyor", "secret"));
    ASSERT_EQ(accepted.result, Result::Accepted) << accepted.detail;
    EXPECT_GE(accepted.messages.at(1005), 2u);
    EXPECT_GE(accepted.messages.at(1074), 2u);
    EXPECT_GE(accepted.messages.at(1084), 2u);
    EXPECT_EQ(accepted.messages.size(), 3u);
    EXPECT_EQ(accepted.badFrames, 0u);
    EXPECT_GT(accepted.bytesPerSecond(), 100.0);
    ASSERT_TRUE(accepted.station);
    EXPECT_NEAR(accepted.station->geodetic().latitude, kBase.latitude, 1e-7);
    const QString words =
        CasterWords::describe(accepted, "MP1", GeodeticPosition{30.3519, 120.12595, 0}).english();
    EXPECT_TRUE(words.startsWith("Login accepted: RTCM 3 1005, 1074, 1084 at "))
        << words.toStdString();
    EXPECT_TRUE(words.endsWith(" kB/s, base 11.1 km from the receiver")) << words.toStdString();
}

TEST_F(OnRealCaster, aCheckOnItsOwnThreadComesBackAndCanBeCancelled) {
    CasterCheck check;
    std::optional<CasterOutcome> outcome;
    QObject::connect(&check, &CasterCheck::finished,
                     [&outcome](const CasterOutcome& o) { outcome = o; });
    CasterSession::Limits limits;
    limits.listenMs = 60000;
    check.start(requestFor(caster.port(), "MP1", "surveyor", "secret"), limits);
    EXPECT_TRUE(check.running());
    test::pumpUntil([] { return false; }, 500);
    check.cancel();
    ASSERT_TRUE(test::pumpUntil([&outcome] { return outcome.has_value(); }, 5000));
    EXPECT_EQ(outcome->result, Result::Cancelled);
    EXPECT_FALSE(check.running());
}

// A loopback server that answers every connection with the given bytes (or nothing).
class ReplayServer {
public:
    explicit ReplayServer(std::string answer, bool close = true) : m_answer(std::move(answer)) {
        m_server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&m_server, &QTcpServer::newConnection, [this, close] {
            QTcpSocket* socket = m_server.nextPendingConnection();
            QObject::connect(socket, &QTcpSocket::readyRead, [this, socket, close] {
                m_request += socket->readAll().toStdString();
                if (m_request.find("\r\n\r\n") == std::string::npos || m_answer.empty()) {
                    return;
                }
                socket->write(m_answer.data(), static_cast<qint64>(m_answer.size()));
                if (close) {
                    socket->disconnectFromHost();
                }
            });
        });
    }
    quint16 port() const { return m_server.serverPort(); }
    const std::string& request() const { return m_request; }

private:
    QTcpServer m_server;
    std::string m_answer;
    std::string m_request;
};

TEST(CasterSession, readsAVersionTwoChunkedSourcetable) {
    ReplayServer server("HTTP/1.1 200 OK\r\nNtrip-Version: Ntrip/2.0\r\nContent-Type: "
                        "gnss/sourcetable\r\nTransfer-Encoding: chunked\r\n\r\n"
                        "1f\r\nSTR;MP7;x;RTCM 3.3;1077;2;GPS\r\n\r\n"
                        "10\r\nENDSOURCETABLE\r\n\r\n0\r\n\r\n");
    NtripRequest request = requestFor(server.port(), "");
    request.version = NtripRequest::Version::V2;
    const CasterOutcome outcome = converse(request);
    ASSERT_EQ(outcome.result, Result::Sourcetable) << outcome.detail;
    EXPECT_THAT(server.request(), HasSubstr("Ntrip-Version: Ntrip/2.0\r\n"));
    ASSERT_EQ(outcome.table.streams().size(), 1u);
    EXPECT_EQ(outcome.table.streams()[0].mountPoint, "MP7");
}

TEST(CasterSession, readsAVersionTwoChunkedStream) {
    std::string body;
    for (int i = 0; i < 3; ++i) {
        const auto frame = Rtcm3Framer::frame({0x43, 0x20, 1, 2});
        char size[16];
        std::snprintf(size, sizeof size, "%zx\r\n", frame.size());
        body += size + std::string(frame.begin(), frame.end()) + "\r\n";
    }
    ReplayServer server("HTTP/1.1 200 OK\r\nContent-Type: gnss/data\r\nTransfer-Encoding: "
                        "chunked\r\n\r\n" +
                        body + "0\r\n\r\n");
    const CasterOutcome outcome = converse(requestFor(server.port(), "MP7", "u", "p"));
    ASSERT_EQ(outcome.result, Result::Accepted) << outcome.detail;
    EXPECT_EQ(outcome.messages.at(1074), 3u);
}

TEST(CasterSession, everyWaitEndsWithItsOwnOutcome) {
    // Nobody listens: unreachable, with the system's reason.
    const CasterOutcome refused = converse(requestFor(test::Str2StrCaster::freePort(), ""));
    EXPECT_EQ(refused.result, Result::Unreachable);
    EXPECT_THAT(CasterWords::describe(refused, "").english().toStdString(),
                HasSubstr("The caster cannot be reached: "));
    // Someone listens and never answers: a time-out, not a hang.
    ReplayServer silent("");
    const CasterOutcome late = converse(requestFor(silent.port(), ""));
    EXPECT_EQ(late.result, Result::TimedOut);
    // An answer that is no NTRIP at all.
    ReplayServer web("HTTP/1.1 500 Internal Server Error\r\n\r\n");
    const CasterOutcome broken = converse(requestFor(web.port(), "MP1"));
    EXPECT_EQ(broken.result, Result::BadReply);
    EXPECT_THAT(broken.detail, HasSubstr("500"));
    // Accepted, but the stream stays silent.
    ReplayServer quiet("ICY 200 OK\r\n", false);
    const CasterOutcome empty = converse(requestFor(quiet.port(), "MP1"), 500);
    EXPECT_EQ(empty.result, Result::Accepted);
    EXPECT_EQ(empty.validFrames(), 0u);
    EXPECT_THAT(CasterWords::describe(empty, "MP1").english().toStdString(),
                HasSubstr("no RTCM 3 data arrived"));
}

} // namespace
} // namespace kestrava
