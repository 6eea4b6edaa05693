// The Net page's Set as the form sees it: which texts are refused with which words, and the
// record that accepted ones give.
#include "forms/NetForm.h"

#include <gtest/gtest.h>

namespace kestrava {
namespace {

using Field = QString NetForm::Input::*;
using In = NetForm::Input;

// A Set the form accepts: VRS over GPRS to a dotted address.
In validInput(int netMode = NetForm::kVrs, int communicationMode = NetForm::kGprs) {
    In input;
    input.communicationMode = communicationMode;
    input.netMode = netMode;
    input.apn = QStringLiteral("CMNET");
    input.userName = QStringLiteral("user");
    input.password = QStringLiteral("pass");
    input.address = QStringLiteral("192.168.1.10");
    input.port = QStringLiteral("2101");
    input.mountPoint = QStringLiteral("RTCM");
    input.phone = QStringLiteral("01234567");
    input.userGroupId = QStringLiteral("0001001");
    input.subGroupId = QStringLiteral("001");
    return input;
}

struct Case {
    int netMode;
    int communicationMode;
    Field field;
    QString text;
    const char* refusal; // nullptr: accepted
};

constexpr int kVrs = NetForm::kVrs;
constexpr int kRtk = NetForm::kIntRtk;
constexpr int kGprs = NetForm::kGprs;
const char* const kSubId = "The sub ID should be plus integer between 000-255";
const char* const kUserGroup = "The User Group Id should be combined by 7 digits";
const char* const kLogin = "Username and password together must not exceed 41 bytes";

TEST(NetForm, refusesWithTheFirstMessageOrAccepts) {
    const Case cases[] = {
        {kVrs, kGprs, &In::userName, "   ", "Username and password cannot be blank"},
        {kVrs, kGprs, &In::password, "", "Username and password cannot be blank"},
        {kVrs, kGprs, &In::userGroupId, "abc", nullptr}, // not checked in VRS mode
        {kRtk, kGprs, &In::userName, "", nullptr},       // not checked in IntRTK mode
        {kRtk, kGprs, &In::subGroupId, " ", "User Group ID and Sub Group ID cannot be blank"},
        {kRtk, kGprs, &In::subGroupId, "256", kSubId},
        {kRtk, kGprs, &In::subGroupId, "0255", kSubId},
        {kRtk, kGprs, &In::subGroupId, "000", nullptr},
        {kRtk, kGprs, &In::userGroupId, "123412", kUserGroup},
        {kRtk, kGprs, &In::userGroupId, "12341234", kUserGroup},
        {kRtk, kGprs, &In::userGroupId, "1234256",
         "The last three digits of the User Group Id should be between 000-255"},
        {kRtk, kGprs, &In::userGroupId, "9999255", nullptr},
        {kVrs, kGprs, &In::port, "", "The port should be an integer"},
        {kVrs, kGprs, &In::port, "-1", "The port should be an integer"},
        {kVrs, kGprs, &In::port, "65536", "The port should be an integer between 0-65535"},
        {kVrs, NetForm::kCdma, &In::port, "99999999999",
         "The port should be an integer between 0-65535"},
        {kVrs, kGprs, &In::port, "65535", nullptr},
        {kVrs, NetForm::kGsm, &In::port, "x", nullptr}, // not checked in GSM mode
        {kVrs, kGprs, &In::phone, QString(17, '1'), "The phone number must not exceed 16 bytes"},
        {kVrs, kGprs, &In::apn, QString(31, 'a'), "The APN must not exceed 30 bytes"},
        {kVrs, kGprs, &In::apn, QString(30, 'a'), nullptr},
        {kVrs, kGprs, &In::address, QString(31, 'u'), "The IP/URL must not exceed 30 bytes"},
        {kVrs, kGprs, &In::mountPoint, QString(31, 'm'),
         "The mount point must not exceed 30 bytes"},
        {kVrs, kGprs, &In::mountPoint, "  " + QString(30, 'm') + " ", nullptr}, // trimmed first
        // With "pass": name, colon and password of 42 bytes fit the command, 43 do not.
        {kVrs, kGprs, &In::userName, QString(37, 'n'), nullptr},
        {kVrs, kGprs, &In::userName, QString(38, 'n'), kLogin},
        {kRtk, kGprs, &In::userName, QString(45, 'n'), kLogin}, // sent in IntRTK mode too
        // A NUL would end the field on the receiver: refused rather than cut.
        {kVrs, kGprs, &In::userName, QStringLiteral("us") + QChar(u'\0') + QStringLiteral("er"),
         "The username holds characters the receiver cannot store"},
        {kVrs, kGprs, &In::password, QString(QChar(u'\0')),
         "The password holds characters the receiver cannot store"},
        {kVrs, kGprs, &In::mountPoint, QStringLiteral("RT") + QChar(u'\0'),
         "The mount point holds characters the receiver cannot store"},
        {kVrs, kGprs, &In::address, QStringLiteral("a") + QChar(u'\0'),
         "The IP/URL holds characters the receiver cannot store"},
        {kVrs, kGprs, &In::apn, QString(QChar(u'\0')),
         "The APN holds characters the receiver cannot store"},
        {kVrs, kGprs, &In::phone, QString(QChar(u'\0')),
         "The phone number holds characters the receiver cannot store"},
        // A lone surrogate has no encoding at all.
        {kVrs, kGprs, &In::userName, QString(QChar(0xD800)),
         "The username holds characters the receiver cannot store"},
    };
    for (const Case& c : cases) {
        In input = validInput(c.netMode, c.communicationMode);
        input.*c.field = c.text;
        const FormResult<NetParams> result = NetForm::validate(input);
        if (c.refusal == nullptr) {
            EXPECT_TRUE(result.ok())
                << c.text.toStdString() << ": " << result.refusal().toStdString();
        } else {
            EXPECT_EQ(result.ok() ? std::string("accepted") : result.refusal().toStdString(),
                      c.refusal)
                << c.text.toStdString();
        }
    }
}

TEST(NetForm, aDottedAddressFillsTheIpFieldsAndAnythingElseIsAUrlVerbatim) {
    struct Address {
        const char* text;
        bool isUrl;
        std::array<Byte, 4> ip;
    };
    for (const Address& c :
         {Address{"192.168.1.10", false, {192, 168, 1, 10}},
          Address{"001.002.003.004", false, {1, 2, 3, 4}}, Address{"192.168.1.300", true, {}},
          Address{"192.168.1", true, {}}, Address{"caster.example.net", true, {}}}) {
        In input = validInput();
        input.address = QString::fromLatin1(c.text);
        const FormResult<NetParams> result = NetForm::validate(input);
        ASSERT_TRUE(result.ok()) << c.text;
        EXPECT_EQ(result.record().isUrl, c.isUrl) << c.text;
        EXPECT_EQ(result.record().ip, c.ip) << c.text;
        EXPECT_EQ(result.record().url, c.isUrl ? std::string(c.text) : std::string()) << c.text;
    }
}

TEST(NetForm, theRecordCarriesTrimmedLoginUntrimmedApnAndSplitGroupIds) {
    In input = validInput(kRtk, NetForm::kCdma);
    input.userName = QStringLiteral("  user ");
    input.password = QStringLiteral(" pass\t");
    input.apn = QStringLiteral(" cmnet ");
    input.userGroupId = QStringLiteral(" 1234123 ");
    input.subGroupId = QStringLiteral("007");
    const FormResult<NetParams> result = NetForm::validate(input);
    ASSERT_TRUE(result.ok()) << result.refusal().toStdString();
    const NetParams& r = result.record();
    EXPECT_EQ(r.communicationMode, 2);
    EXPECT_EQ(r.netMode, 1);
    EXPECT_EQ(r.vrsName, "user");
    EXPECT_EQ(r.vrsPassword, "pass");
    EXPECT_EQ(r.apnName, " cmnet ");
    EXPECT_EQ(r.groupId1, 1234);
    EXPECT_EQ(r.groupId2, 123);
    EXPECT_EQ(r.userId, 7);
    EXPECT_EQ(r.port, 2101);

    In gsm = validInput(kVrs, NetForm::kGsm);
    gsm.port.clear();
    ASSERT_TRUE(NetForm::validate(gsm).ok());
    EXPECT_EQ(NetForm::validate(gsm).record().port, 0);
}

} // namespace
} // namespace kestrava
