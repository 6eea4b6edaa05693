// The Net page's Set as the form sees it: which texts are refused with which words, and the
// record that the accepted ones give.
#include "forms/NetForm.h"

#include <gtest/gtest.h>

#include <functional>

namespace kestrava {
namespace {

// A Set the form accepts: VRS over GPRS to a dotted address.
NetForm::Input validInput() {
    NetForm::Input input;
    input.communicationMode = NetForm::kGprs;
    input.netMode = NetForm::kVrs;
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

void intRtk(NetForm::Input& input) {
    input.netMode = NetForm::kIntRtk;
}

struct RefusalCase {
    const char* name;
    std::function<void(NetForm::Input&)> change;
    const char* message; // nullptr: accepted
};

const char* const kBlankLogin = "Username and password cannot be blank";
const char* const kBlankGroups = "User Group ID and Sub Group ID cannot be blank";
const char* const kSubId = "The sub ID should be plus integer between 000-255";
const char* const kUserGroup = "The User Group Id should be combined by 7 digits";
const char* const kGroupTail =
    "The last three digits of the User Group Id should be between 000-255";
const char* const kPortDigits = "The port should be an integer";
const char* const kPortRange = "The port should be an integer between 0-65535";

class NetFormRefusals : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(NetFormRefusals, giveTheFirstMessageOrTheRecord) {
    NetForm::Input input = validInput();
    GetParam().change(input);
    const FormResult<NetParams> result = NetForm::validate(input);
    if (GetParam().message == nullptr) {
        EXPECT_TRUE(result.ok()) << result.refusal().toStdString();
    } else {
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.refusal().toStdString(), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NetFormRefusals,
    ::testing::Values(
        RefusalCase{"valid", [](NetForm::Input&) {}, nullptr},
        RefusalCase{"vrsBlankName", [](NetForm::Input& i) { i.userName = "   "; }, kBlankLogin},
        RefusalCase{"vrsEmptyPassword", [](NetForm::Input& i) { i.password.clear(); },
                    kBlankLogin},
        RefusalCase{"vrsIgnoresGroupTexts",
                    [](NetForm::Input& i) {
                        i.userGroupId = "abc";
                        i.subGroupId = "9999";
                    },
                    nullptr},
        RefusalCase{"intRtkIgnoresBlankLogin",
                    [](NetForm::Input& i) {
                        intRtk(i);
                        i.userName.clear();
                    },
                    nullptr},
        RefusalCase{"intRtkBlankSubGroup",
                    [](NetForm::Input& i) {
                        intRtk(i);
                        i.subGroupId = " ";
                    },
                    kBlankGroups},
        RefusalCase{"subGroup256",
                    [](NetForm::Input& i) {
                        intRtk(i);
                        i.subGroupId = "256";
                    },
                    kSubId},
        RefusalCase{"subGroupFourDigits",
                    [](NetForm::Input& i) {
                        intRtk(i);
                        i.subGroupId = "0255";
                    },
                    kSubId},
        RefusalCase{"subGroup000",
                    [](NetForm::Input& i) {
                        intRtk(i);
                        i.subGroupId = "000";
                    },
                    nullptr},
        RefusalCase{"userGroupSixDigits",
                    [](NetForm::Input& i) {
                        intRtk(i);
                        i.userGroupId = "123412";
                    },
                    kUserGroup},
        RefusalCase{"userGroupEightDigits",
                    [](NetForm::Input& i) {
                        intRtk(i);
                        i.userGroupId = "12341234";
                    },
                    kUserGroup},
        RefusalCase{"userGroupTailAbove255",
                    [](NetForm::Input& i) {
                        intRtk(i);
                        i.userGroupId = "1234256";
                    },
                    kGroupTail},
        RefusalCase{"userGroupTail255",
                    [](NetForm::Input& i) {
                        intRtk(i);
                        i.userGroupId = "9999255";
                    },
                    nullptr},
        RefusalCase{"portEmpty", [](NetForm::Input& i) { i.port.clear(); }, kPortDigits},
        RefusalCase{"portSigned", [](NetForm::Input& i) { i.port = "-1"; }, kPortDigits},
        RefusalCase{"port65536", [](NetForm::Input& i) { i.port = "65536"; }, kPortRange},
        RefusalCase{"port65535", [](NetForm::Input& i) { i.port = "65535"; }, nullptr},
        RefusalCase{"cdmaPortRange",
                    [](NetForm::Input& i) {
                        i.communicationMode = NetForm::kCdma;
                        i.port = "99999999999";
                    },
                    kPortRange},
        RefusalCase{"gsmPortUnchecked",
                    [](NetForm::Input& i) {
                        i.communicationMode = NetForm::kGsm;
                        i.port = "x";
                    },
                    nullptr},
        RefusalCase{"phone17Bytes", [](NetForm::Input& i) { i.phone = QString(17, '1'); },
                    "The phone number must not exceed 16 bytes"},
        RefusalCase{"apn31Bytes", [](NetForm::Input& i) { i.apn = QString(31, 'a'); },
                    "The APN must not exceed 30 bytes"},
        RefusalCase{"apn30Bytes", [](NetForm::Input& i) { i.apn = QString(30, 'a'); }, nullptr},
        RefusalCase{"url31Bytes", [](NetForm::Input& i) { i.address = QString(31, 'u'); },
                    "The IP/URL must not exceed 30 bytes"},
        RefusalCase{"mountPoint31Bytes",
                    [](NetForm::Input& i) { i.mountPoint = QString(31, 'm'); },
                    "The mount point must not exceed 30 bytes"},
        RefusalCase{"mountPointBlanksDoNotCount",
                    [](NetForm::Input& i) { i.mountPoint = "  " + QString(30, 'm') + "  "; },
                    nullptr},
        // User name, colon and password: 42 bytes fit the command's Base64 field, 43 do not.
        RefusalCase{"login42Bytes",
                    [](NetForm::Input& i) {
                        i.userName = QString(20, 'n');
                        i.password = QString(21, 'p');
                    },
                    nullptr},
        RefusalCase{"login43Bytes",
                    [](NetForm::Input& i) {
                        i.userName = QString(21, 'n');
                        i.password = QString(21, 'p');
                    },
                    "Username and password together must not exceed 41 bytes"},
        RefusalCase{"loginCheckedInIntRtkToo",
                    [](NetForm::Input& i) {
                        intRtk(i);
                        i.userName = QString(45, 'n');
                    },
                    "Username and password together must not exceed 41 bytes"}),
    [](const ::testing::TestParamInfo<RefusalCase>& param) { return param.param.name; });

TEST(NetForm, aDottedAddressFillsTheIpFieldsAndAnythingElseIsAUrlVerbatim) {
    struct Case {
        const char* address;
        bool isUrl;
        std::array<Byte, 4> ip;
    };
    for (const Case& c :
         {Case{"192.168.1.10", false, {192, 168, 1, 10}},
          Case{"001.002.003.004", false, {1, 2, 3, 4}}, Case{"192.168.1.300", true, {}},
          Case{"192.168.1", true, {}}, Case{"caster.example.net", true, {}}}) {
        NetForm::Input input = validInput();
        input.address = QString::fromLatin1(c.address);
        const FormResult<NetParams> result = NetForm::validate(input);
        ASSERT_TRUE(result.ok()) << c.address;
        EXPECT_EQ(result.record().isUrl, c.isUrl) << c.address;
        EXPECT_EQ(result.record().ip, c.ip) << c.address;
        EXPECT_EQ(result.record().url, c.isUrl ? std::string(c.address) : std::string())
            << c.address;
    }
}

TEST(NetForm, theRecordCarriesTrimmedLoginAndSplitGroupIds) {
    NetForm::Input input = validInput();
    input.netMode = NetForm::kIntRtk;
    input.communicationMode = NetForm::kCdma;
    input.userName = QStringLiteral("  user ");
    input.password = QStringLiteral(" pass\t");
    input.mountPoint = QStringLiteral(" RTCM ");
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
    EXPECT_EQ(r.sourceNode, "RTCM");
    EXPECT_EQ(r.apnName, " cmnet "); // the APN is taken as typed
    EXPECT_EQ(r.groupId1, 1234);
    EXPECT_EQ(r.groupId2, 123);
    EXPECT_EQ(r.userId, 7);
    EXPECT_EQ(r.port, 2101);
}

TEST(NetForm, gsmWithoutAPortStoresPortZero) {
    NetForm::Input input = validInput();
    input.communicationMode = NetForm::kGsm;
    input.port.clear();
    const FormResult<NetParams> result = NetForm::validate(input);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.record().port, 0);
}

} // namespace
} // namespace kestrava
