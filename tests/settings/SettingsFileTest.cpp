#include "settings/SettingsFile.h"

#include "settings/AtomicFile.h"
#include "settings/TempFolder.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

namespace kestrava {
namespace {

namespace fs = std::filesystem;

// A code page that knows ASCII only, as a UTF-8 system meets a file from a Windows PC: every
// other byte reads as U+FFFD, which writes as EF BF BD.
CodePage AsciiOnlyCodePage() {
    CodePage page;
    page.toUtf16 = [](std::string_view bytes) {
        std::u16string text;
        for (const char c : bytes) {
            const auto byte = static_cast<unsigned char>(c);
            text.push_back(byte < 0x80 ? static_cast<char16_t>(byte) : u'\uFFFD');
        }
        return text;
    };
    page.fromUtf16 = [](std::u16string_view text) {
        std::string bytes;
        for (const char16_t c : text) {
            bytes += c < 0x80 ? std::string(1, static_cast<char>(c)) : std::string("\xEF\xBF\xBD");
        }
        return bytes;
    };
    return page;
}

// The id of a process that has ended.
long endedProcess() {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    return child;
}

void makeOlder(const fs::path& file, std::chrono::seconds by) {
    fs::last_write_time(file, fs::file_time_type::clock::now() - by);
}

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

// ---- What only a receiver can tell ------------------------------------------------------------

TEST_F(SettingsFileTest, radioBandAndStaticVoiceAreKeptOnceKnown) {
    // Unknown at first: nothing is written for them, so no profile made of the file sends them.
    StoredSettings s;
    ASSERT_TRUE(settingsFile().load(s));
    EXPECT_FALSE(s.airBaud || s.staticVoice || s.band2g || s.band3g);
    for (const char* key : {"AirBaud", "StaticVoice", "Band2G", "Band3G"}) {
        EXPECT_EQ(test::ReadBytes(file()).find(key), std::string::npos) << key;
    }

    s.airBaud = 19200;
    s.staticVoice = 0;
    s.band2g = 2;
    s.band3g = 5;
    ASSERT_TRUE(settingsFile().save(s));
    const auto saved = test::ReadBytes(file());
    EXPECT_NE(saved.find("HZReceive15=460.725098\r\nAirBaud=19200\r\n[OtherParams]"),
              std::string::npos)
        << saved;
    EXPECT_NE(saved.find("Volume=10\r\nStaticVoice=0\r\nBand2G=2\r\nBand3G=5\r\n"),
              std::string::npos)
        << saved;

    // Read as the other keys are, each on its own.
    test::WriteBytes(file(), "[hzparams]\r\nairbaud=9600\r\n[OtherParams]\r\nBand3G=257\r\n");
    StoredSettings loaded;
    ASSERT_TRUE(settingsFile().load(loaded));
    EXPECT_EQ(loaded.airBaud, 9600);
    EXPECT_EQ(loaded.band3g, 1); // the low 8 bits, as every byte field
    EXPECT_FALSE(loaded.band2g || loaded.staticVoice);
}

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
    s.staticVoice = 1;
    s.band2g = 3;
    s.band3g = 0;
    s.airBaud = 9600;
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

// ---- Bytes the code page cannot read ----------------------------------------------------------

struct BytesCase {
    const char* name;
    std::string file;
    std::vector<std::string> keptLines; // each must stand in the saved file exactly
};

class SettingsFileBytes : public ::testing::TestWithParam<BytesCase> {
protected:
    test::TempFolder m_folder;
};

TEST_P(SettingsFileBytes, aSaveKeepsTheBytesOfWhatTheProgramDidNotChange) {
    const SettingsFile settingsFile(m_folder.path(), AsciiOnlyCodePage());
    test::WriteBytes(m_folder / "recvcfg.ini", GetParam().file);
    StoredSettings s;
    ASSERT_TRUE(settingsFile.load(s));
    s.net.port = 2102; // one change the program did make
    ASSERT_TRUE(settingsFile.save(s));
    const auto saved = test::ReadBytes(m_folder / "recvcfg.ini");
    EXPECT_NE(saved.find("Port=2102\r\n"), std::string::npos) << saved;
    for (const auto& line : GetParam().keptLines) {
        EXPECT_NE(saved.find(line), std::string::npos) << line << " in\n" << saved;
    }
    EXPECT_EQ(saved.find("\xEF\xBF\xBD"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsFileBytes,
    ::testing::Values(BytesCase{"foreignSection",
                                "[Mine]\r\nname=Jos\xE9 Gr\xFC\xDF"
                                "e\r\n\xC4rger=1\r\n[NetParams]\r\nPort=5\r\n",
                                {"[Mine]\r\nname=Jos\xE9 Gr\xFC\xDF"
                                 "e\r\n\xC4rger=1\r\n"}},
                      BytesCase{"commentsAndStrayLines",
                                "; \xE9t\xE9\r\n\xB0\xB1 no pair\r\n[NetParams]\r\n",
                                {"; \xE9t\xE9\r\n\xB0\xB1 no pair\r\n"}},
                      BytesCase{
                          "textValuesOfTheSixSections",
                          "[NetParams]\r\nSourceNode=caf\xE9\r\nVRSPassWord= p\xE4ss \r\n"
                          "[ANPParams]\r\nAPNUsername=\xD6l\r\n[FileParams]\r\nFilePrefix=\xC5\r\n"
                          "[OtherParams]\r\nFWPath=/m\xE9"
                          "dia/fw.098.kvb\r\n",
                          {"SourceNode=caf\xE9\r\n", "VRSPassWord=p\xE4ss\r\n",
                           "APNUsername=\xD6l\r\n", "FilePrefix=\xC5\r\n",
                           "FWPath=/m\xE9"
                           "dia/fw.098.kvb\r\n"}},
                      BytesCase{"utf8ByteOrderMark",
                                "\xEF\xBB\xBF[Mine]\r\nk=\xE2\x82\xAC\r\n",
                                {"\xEF\xBB\xBF[Mine]\r\nk=\xE2\x82\xAC\r\n"}}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(SettingsFileTest, aValueKeptAsBytesIsTheRecordsText) {
    test::WriteBytes(file(), "\xEF\xBB\xBF[NetParams]\r\nPort=5\r\nSourceNode=caf\xE9\r\n");
    StoredSettings s;
    ASSERT_TRUE(SettingsFile(m_folder.path(), AsciiOnlyCodePage()).load(s));
    EXPECT_EQ(s.net.port, 5); // the mark is no part of the first heading
    EXPECT_EQ(s.net.sourceNode, "caf\xE9");
}

// ---- Links and read-only files ----------------------------------------------------------------

struct LinkCase {
    const char* name;
    std::vector<std::pair<std::string, std::string>> links; // link name -> what it points to
    std::string real;                                       // the file the chain ends at
    bool realExists = true;
};

class SettingsFileLinks : public ::testing::TestWithParam<LinkCase> {
protected:
    test::TempFolder m_folder;
};

TEST_P(SettingsFileLinks, aSaveWritesThroughTheLinkAndKeepsIt) {
    fs::create_directories(m_folder / "real");
    const auto real = m_folder / GetParam().real;
    for (const auto& [link, to] : GetParam().links) {
        const fs::path target = to.front() == '/' ? m_folder / to.substr(1) : fs::path(to);
        fs::create_symlink(target, m_folder / link);
    }
    if (GetParam().realExists) {
        test::WriteBytes(real, "[User]\r\nkeep=me\r\n[NetParams]\r\nPort=5\r\n");
    }
    const SettingsFile settingsFile(m_folder.path(), Latin1CodePage());
    StoredSettings s;
    ASSERT_TRUE(settingsFile.load(s));
    s.net.port = 2102;
    ASSERT_TRUE(settingsFile.save(s));

    EXPECT_TRUE(fs::is_symlink(m_folder / "recvcfg.ini"));
    const auto saved = test::ReadBytes(real);
    EXPECT_NE(saved.find("Port=2102\r\n"), std::string::npos) << saved;
    StoredSettings again;
    ASSERT_TRUE(settingsFile.load(again));
    EXPECT_EQ(again.net.port, 2102);
    // No temporary is left beside the link or the file.
    for (const auto& folder : {m_folder.path(), m_folder / "real"}) {
        for (const auto& entry : fs::directory_iterator(folder)) {
            EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos)
                << entry.path();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsFileLinks,
    ::testing::Values(
        LinkCase{"relativeLink", {{"recvcfg.ini", "real/recvcfg.ini"}}, "real/recvcfg.ini"},
        LinkCase{"absoluteLink", {{"recvcfg.ini", "/real/mine.ini"}}, "real/mine.ini"},
        LinkCase{"chainOfLinks",
                 {{"real/second.ini", "mine.ini"}, {"recvcfg.ini", "real/second.ini"}},
                 "real/mine.ini"},
        LinkCase{"danglingLink", {{"recvcfg.ini", "real/new.ini"}}, "real/new.ini", false}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(SettingsFileTest, aReadOnlyFileIsLeftAsItIsAndTheSaveSaysSo) {
    const std::string old = "[NetParams]\r\nPort=5\r\n";
    fs::create_directories(m_folder / "real");
    for (const auto& target : {file(), m_folder / "real" / "linked.ini"}) {
        test::WriteBytes(target, old);
        fs::permissions(target,
                        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    }
    const auto linked = m_folder / "link";
    fs::create_directories(linked);
    fs::create_symlink("../real/linked.ini", linked / "recvcfg.ini");

    for (const auto& folder : {m_folder.path(), linked}) {
        auto s = StoredSettings::firstRunDefaults();
        const auto result = SettingsFile(folder, Latin1CodePage()).save(s);
        EXPECT_FALSE(result.ok) << folder;
        EXPECT_TRUE(result.readOnly) << folder;
        EXPECT_NE(result.message.find("read-only"), std::string::npos) << result.message;
    }
    EXPECT_EQ(test::ReadBytes(file()), old);
    EXPECT_EQ(test::ReadBytes(m_folder / "real" / "linked.ini"), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_folder.path()), fs::directory_iterator()), 3);

    // Other failures are no choice of the user's.
    const auto missing = SettingsFile(m_folder / "missing", Latin1CodePage())
                             .save(StoredSettings::firstRunDefaults());
    EXPECT_FALSE(missing.ok);
    EXPECT_FALSE(missing.readOnly);
}

// ---- Temporaries left by an interrupted save ---------------------------------------------------

TEST_F(SettingsFileTest, theNextStartRemovesOnlyStaleTemporariesOfTheFile) {
    const long ended = endedProcess();
    const long running = static_cast<long>(::getppid());
    const auto minute = std::chrono::seconds(60);
    const auto twoHours = std::chrono::seconds(7200);
    struct Left {
        std::string name;
        std::chrono::seconds age;
        bool removed;
    };
    const std::string stem = "recvcfg.ini.tmp";
    const std::vector<Left> left{
        {stem + std::to_string(ended) + "-0", minute, true},                   // its writer is gone
        {stem + std::to_string(ended) + "-1", std::chrono::seconds(0), false}, // too fresh
        {stem + std::to_string(running) + "-0", minute, false},                // being written
        {stem + std::to_string(running) + "-1", twoHours, true},    // no save takes that long
        {stem + "12345678901234-0", minute, true},                  // no such process
        {stem + std::to_string(ended) + "-0.bak", twoHours, false}, // not our name
        {stem + std::to_string(ended), twoHours, false},
        {stem + "x1-0", twoHours, false},
        {"recvcfg.ini.tmp-0", twoHours, false},
        {"langsetting.ini.tmp" + std::to_string(ended) + "-0", twoHours, false},
        {"other.ini.tmp" + std::to_string(ended) + "-0", twoHours, false},
    };
    for (const Left& l : left) {
        test::WriteBytes(m_folder / l.name, "partial");
        makeOlder(m_folder / l.name, l.age);
    }
    const auto folderNamedSo = m_folder / (stem + std::to_string(ended) + "-7");
    fs::create_directories(folderNamedSo);
    makeOlder(folderNamedSo, twoHours);

    StoredSettings s;
    ASSERT_TRUE(settingsFile().load(s));
    for (const Left& l : left) {
        EXPECT_EQ(fs::exists(m_folder / l.name), !l.removed) << l.name;
    }
    EXPECT_TRUE(fs::is_directory(folderNamedSo));
}

TEST_F(SettingsFileTest, aSaveKilledBeforeItsRenameLeavesATemporaryTheNextStartRemoves) {
    test::WriteBytes(file(), "[NetParams]\r\nPort=5\r\n");
    const pid_t child = ::fork();
    if (child == 0) {
        WriteFileAtomically(file(), "[NetParams]\r\nPort=6\r\n", [] { ::raise(SIGKILL); });
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    std::vector<fs::path> temporaries;
    for (const auto& entry : fs::directory_iterator(m_folder.path())) {
        if (entry.path().filename() != "recvcfg.ini") {
            temporaries.push_back(entry.path());
        }
    }
    ASSERT_EQ(temporaries.size(), 1u);
    makeOlder(temporaries.front(), std::chrono::seconds(30));

    StoredSettings s;
    ASSERT_TRUE(settingsFile().load(s));
    EXPECT_EQ(s.net.port, 5);
    EXPECT_FALSE(fs::exists(temporaries.front()));
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
