#include "settings/SettingsFile.h"

#include "settings/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

namespace kestrava {
namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    std::filesystem::path file() const { return m_folder / "recvcfg.ini"; }
    SettingsFile settingsFile() const { return SettingsFile(m_folder.path(), Latin1CodePage()); }

    // Loads a file made of `text`.
    StoredSettings loadFrom(const std::string& text) {
        test::WriteBytes(file(), text);
        StoredSettings s;
        EXPECT_TRUE(settingsFile().load(s));
        return s;
    }

    test::TempFolder m_folder;
};

// ---- First run --------------------------------------------------------------------------------

TEST_F(SettingsFileTest, firstRunWritesTheGoldenFileAtOnce) {
    StoredSettings s;
    ASSERT_TRUE(settingsFile().load(s));
    EXPECT_EQ(
        test::ReadBytes(file()),
        test::ReadBytes(std::filesystem::path(KESTRAVA_TEST_DATA_DIR) / "recvcfg_first_run.ini"));
    EXPECT_EQ(s, StoredSettings::firstRunDefaults());
    EXPECT_EQ(s.net.port, 2101);
    EXPECT_EQ(s.voice, 2);
    EXPECT_FLOAT_EQ(s.channels[15].receive, 460.725098f);
}

// ---- Missing keys -----------------------------------------------------------------------------

TEST_F(SettingsFileTest, missingKeysTakeTheirOwnFallbacks) {
    // Every section present but empty: each key falls back, which is not the first-run value.
    const auto s = loadFrom("[NetParams]\r\n[ANPParams]\r\n[CollectParams]\r\n[FileParams]\r\n"
                            "[HZParams]\r\n[OtherParams]\r\n");
    EXPECT_EQ(s.net.apnName, "CMNET");
    EXPECT_EQ(s.net.communicationMode, 0);
    EXPECT_EQ(s.net.groupId1, 1);
    EXPECT_EQ(s.net.groupId2, 1);
    EXPECT_EQ(s.net.ip, (std::array<Byte, 4>{192, 0, 0, 1}));
    EXPECT_FALSE(s.net.isUrl);
    EXPECT_EQ(s.net.phoneNumber, "01234567");
    EXPECT_EQ(s.net.port, 1000);
    EXPECT_EQ(s.net.sourceNode, "");
    EXPECT_EQ(s.net.url, "http://");
    EXPECT_EQ(s.net.userId, 1);
    EXPECT_EQ(s.collectInterval, 1);
    EXPECT_EQ(s.cutOff, 15);
    EXPECT_EQ(s.fileSn, "");
    for (const auto& channel : s.channels) {
        EXPECT_EQ(channel.transmit, 0.0f);
        EXPECT_EQ(channel.receive, 0.0f);
    }
    const std::array<Byte, 16> nmea{0, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0};
    EXPECT_EQ(s.nmea.bytes, nmea);
    EXPECT_EQ(s.voice, 0);
    EXPECT_EQ(s.volume, 10);
    EXPECT_EQ(s.staticLocation, 0);
}

// ---- Value texts ------------------------------------------------------------------------------

struct ValueCase {
    const char* name;
    std::string lines; // the whole file
    void (*check)(const StoredSettings&);
};

class SettingsFileValue : public ::testing::TestWithParam<ValueCase> {
protected:
    test::TempFolder m_folder;
};

TEST_P(SettingsFileValue, loadsAsTheFileRulesSay) {
    test::WriteBytes(m_folder / "recvcfg.ini", GetParam().lines);
    StoredSettings s;
    ASSERT_TRUE(SettingsFile(m_folder.path(), Latin1CodePage()).load(s));
    GetParam().check(s);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsFileValue,
    ::testing::Values(
        ValueCase{"isUrlCapitalFalseReadsTrue", "[NetParams]\r\nisUrl=False\r\n",
                  [](const StoredSettings& s) { EXPECT_TRUE(s.net.isUrl); }},
        ValueCase{"isUrlExactFalse", "[NetParams]\r\nisUrl=false\r\n",
                  [](const StoredSettings& s) { EXPECT_FALSE(s.net.isUrl); }},
        ValueCase{"byteFieldKeepsLow8Bits", "[OtherParams]\r\nVoice=258\r\nVolume=-1\r\n",
                  [](const StoredSettings& s) {
                      EXPECT_EQ(s.voice, 2);
                      EXPECT_EQ(s.volume, 255);
                  }},
        ValueCase{"leadingDecimalParse", "[NetParams]\r\nPort=80abc\r\nGroupID1=abc\r\n",
                  [](const StoredSettings& s) {
                      EXPECT_EQ(s.net.port, 80);
                      EXPECT_EQ(s.net.groupId1, 0);
                  }},
        ValueCase{"hugeIntegerSaturates", "[CollectParams]\r\nCutOff=99999999999\r\n",
                  [](const StoredSettings& s) { EXPECT_EQ(s.cutOff, 2147483647); }},
        ValueCase{"twoNmeaDigitsChangeTwoBytes", "[OtherParams]\r\nNMEA=11\r\n",
                  [](const StoredSettings& s) {
                      // The rest keeps the first-run zeros, not the fallback's digits.
                      const std::array<Byte, 16> expected{1, 1};
                      EXPECT_EQ(s.nmea.bytes, expected);
                  }},
        ValueCase{"nineteenNmeaDigitsUseSixteen", "[OtherParams]\r\nNMEA=1234512345123451999\r\n",
                  [](const StoredSettings& s) {
                      const std::array<Byte, 16> expected{1, 2, 3, 4, 5, 1, 2, 3,
                                                          4, 5, 1, 2, 3, 4, 5, 1};
                      EXPECT_EQ(s.nmea.bytes, expected);
                  }},
        ValueCase{"nmeaNonDigitIsZero", "[OtherParams]\r\nNMEA=1x1\r\n",
                  [](const StoredSettings& s) {
                      const std::array<Byte, 16> expected{1, 0, 1};
                      EXPECT_EQ(s.nmea.bytes, expected);
                  }},
        ValueCase{"frequencyFraction", "[HZParams]\r\nHZSend3=461.5\r\nHZReceive3=x\r\n",
                  [](const StoredSettings& s) {
                      EXPECT_EQ(s.channels[3].transmit, 461.5f);
                      EXPECT_EQ(s.channels[3].receive, 0.0f);
                      EXPECT_EQ(s.channels[2].transmit, 0.0f);
                  }},
        ValueCase{"longTextCutTo199", "[NetParams]\r\nURL=" + std::string(250, 'u') + "\r\n",
                  [](const StoredSettings& s) { EXPECT_EQ(s.net.url, std::string(199, 'u')); }}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

// ---- Saving -----------------------------------------------------------------------------------

TEST_F(SettingsFileTest, saveRewritesTheSixSectionsAtTheEndInFixedOrder) {
    test::WriteBytes(file(), "[OtherParams]\r\nMine=1\r\nVoice=3\r\n[User]\r\nkeep=me\r\n"
                             "[NetParams]\r\nPort=5\r\n");
    StoredSettings s;
    ASSERT_TRUE(settingsFile().load(s));
    EXPECT_EQ(s.voice, 3);
    EXPECT_EQ(s.net.port, 5);
    ASSERT_TRUE(settingsFile().save(s));

    const auto saved = test::ReadBytes(file());
    EXPECT_EQ(saved.find("Mine"), std::string::npos);
    EXPECT_EQ(saved.rfind("[User]\r\nkeep=me\r\n[NetParams]\r\n", 0), 0u);
    std::size_t previous = 0;
    for (const char* heading : {"[NetParams]", "[ANPParams]", "[CollectParams]", "[FileParams]",
                                "[HZParams]", "[OtherParams]"}) {
        const auto at = saved.find(heading);
        ASSERT_NE(at, std::string::npos) << heading;
        EXPECT_GT(at, previous) << heading;
        previous = at;
    }
    EXPECT_NE(saved.find("Port=5\r\n"), std::string::npos);
    EXPECT_NE(saved.find("Voice=3\r\n"), std::string::npos);
}

TEST_F(SettingsFileTest, everyFieldSurvivesSaveAndLoad) {
    auto s = StoredSettings::firstRunDefaults();
    s.net.communicationMode = 2;
    s.net.netMode = 1;
    s.net.groupId1 = 9999;
    s.net.groupId2 = 255;
    s.net.userId = 7;
    s.net.ip = {10, 1, 2, 254};
    s.net.port = -1;
    s.net.phoneNumber = "*99#";
    s.net.apnName = "internet";
    s.net.vrsName = "user";
    s.net.vrsPassword = "p=w;d";
    s.net.sourceNode = "MOUNT\xE9"; // a code-page byte
    s.net.url = "caster.example";
    s.net.isUrl = true;
    s.apnUserName = "a";
    s.apnPassword = "b";
    s.channels[5] = {433.5f, 434.25f};
    s.collectInterval = 30;
    s.cutOff = 10;
    s.filePrefix = "Z";
    s.fileSn = "123";
    s.staticLocation = 1;
    s.firmwareType = 3;
    s.rinex = 1;
    s.voice = 1;
    s.volume = 5;
    s.firmwarePath = "C:\\fw\\image.098.kvb";
    s.nmea.bytes = {1, 1, 1, 5, 0, 0, 1, 2, 0, 0, 1, 3, 0, 0, 1, 4};
    ASSERT_TRUE(settingsFile().save(s));
    StoredSettings loaded;
    ASSERT_TRUE(settingsFile().load(loaded));
    EXPECT_EQ(loaded, s);
}

TEST_F(SettingsFileTest, valueWithLineBreakFromTheReceiverCannotInjectKeys) {
    auto s = StoredSettings::firstRunDefaults();
    static const char kReceived[] = "RTCM\r\n[OtherParams]\r\nVoice=9\0pad";
    s.net.sourceNode = std::string(kReceived, sizeof kReceived - 1);
    ASSERT_TRUE(settingsFile().save(s));
    StoredSettings loaded;
    ASSERT_TRUE(settingsFile().load(loaded));
    EXPECT_EQ(loaded.net.sourceNode, "RTCM");
    EXPECT_EQ(loaded.voice, 2);
}

TEST_F(SettingsFileTest, failedSaveIsReportedAndLeavesTheOldFile) {
    const std::string old = "[NetParams]\r\nPort=5\r\n";
    test::WriteBytes(file(), old);
    auto s = StoredSettings::firstRunDefaults();

    // A folder that does not exist: nothing can be written.
    EXPECT_FALSE(SettingsFile(m_folder / "missing", Latin1CodePage()).save(s));

    // A folder standing where the file should be: the rename fails after the temporary file
    // was written, and nothing is left behind.
    const auto blocked = m_folder / "blocked";
    std::filesystem::create_directories(blocked / "recvcfg.ini" / "child");
    const auto result = SettingsFile(blocked, Latin1CodePage()).save(s);
    EXPECT_FALSE(result);
    EXPECT_FALSE(result.message.empty());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(blocked),
                            std::filesystem::directory_iterator()),
              1);
    EXPECT_EQ(test::ReadBytes(file()), old);
}

TEST_F(SettingsFileTest, saveKeepsThePermissionsOfTheOldFile) {
    test::WriteBytes(file(), "");
    std::filesystem::permissions(file(), std::filesystem::perms::owner_read |
                                             std::filesystem::perms::owner_write);
    ASSERT_TRUE(settingsFile().save(StoredSettings::firstRunDefaults()));
    EXPECT_EQ(std::filesystem::status(file()).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

} // namespace
} // namespace kestrava
