// The emulator on a pseudo-terminal, driven through the device path as a host would: whole
// downloads and firmware transfers, the faults, and the kestrava-sim program itself.
#include "emulator/PtyTransport.h"
#include "emulator/Emulator.h"
#include "emulator/EmulatorTestSupport.h"
#include "emulator/SimAnnouncement.h"
#include "protocol/FirmwareCommands.h"
#include "protocol/RecordingReplySink.h"
#include "protocol/StreamSplitter.h"
#include "support/RawLineClient.h"
#include "support/ServedEmulator.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace kestrava {
namespace {

using namespace std::chrono_literals;

using test::frame;

// True when nothing answers bytes within half a second.
bool unanswered(test::RawLineClient& host, const Bytes& bytes) {
    return host.write(bytes) && host.readChunk(60ms, 500ms).empty();
}

Bytes payloadOf(const Bytes& reply) {
    if (reply.size() < 9 ||
        reply.size() != static_cast<std::size_t>(reply[4] | (reply[5] << 8)) + 9u) {
        ADD_FAILURE() << "not one whole dollar reply: " << reply.size() << " bytes";
        return {};
    }
    return Bytes(reply.begin() + 6, reply.end() - 3);
}

TEST(PtyTransport, fullDownloadsAreByteIdentical) {
    ReceiverProfile profile;
    profile.files = {StaticFile("BIG00001", "STH", 50000, 0, 0), StaticFile::generated(6),
                     StaticFile("EMPTY001", "STH", 0, 0, 0)};
    test::ServedEmulator served(profile);
    test::RawLineClient host(served.devicePath());
    EXPECT_TRUE(host.isOpen());
    for (const StaticFile& file : profile.files) {
        SCOPED_TRACE(file.name());
        Bytes name(file.name().begin(), file.name().end());
        ASSERT_EQ(payloadOf(host.exchange(frame('F', 't', name))), Bytes{0});
        Bytes received;
        Bytes reply;
        for (int guard = 0; guard < 1000; ++guard) {
            reply = payloadOf(host.exchange(frame('F', 't')));
            if (reply.size() < 2) {
                break;
            }
            received.insert(received.end(), reply.begin(), reply.end());
        }
        EXPECT_EQ(reply, Bytes{3});
        EXPECT_EQ(received, file.contents());
    }
}

TEST(PtyTransport, firmwareImageSentBlockByBlockIsReceivedIdentical) {
    test::ServedEmulator served;
    test::RawLineClient host(served.devicePath());
    EXPECT_TRUE(host.isOpen());
    ExpectedReply expected;
    DecoderState state;
    state.firmwareHardwareCode = 98;
    test::RecordingReplySink sink(expected);
    const auto send = [&](const Bytes& out) {
        sink.deliveries.clear();
        const Bytes chunk = host.exchange(out);
        SplitChunk(chunk.data(), chunk.size(), expected, state, sink);
        return sink.deliveries.size() == 1 ? sink.deliveries.front().value.value_or(-1) : -1;
    };
    Bytes out;
    FirmwareStart(out, expected, 1, false);
    ASSERT_EQ(send(out), 1);

    Bytes image(6000);
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<Byte>(i ^ (i >> 8));
    }
    std::uint32_t address = 0x40008000;
    for (std::size_t at = 0; at < image.size(); at += 256) {
        const std::span<const Byte> data(image.data() + at,
                                         std::min<std::size_t>(256, image.size() - at));
        FirmwareBlock(out, expected, state, FirmwareLayout::Small98, data, address);
        address += state.firmwareLastLength;
        state.firmwareAddress = address;
        ASSERT_EQ(send(out), 0) << "block at " << at;
    }
    EXPECT_EQ(served.stop().firmware().image(), image);
}

TEST(PtyTransport, faultsShowOnTheLine) {
    const Bytes clean = frame('F', 'E', {1});
    struct Case {
        const char* what;
        std::function<void(FaultPlan&)> arm;
        std::function<void(test::RawLineClient&)> check;
    } cases[] = {
        {"dropped reply", [](FaultPlan& f) { f.dropNext = 1; },
         [&](test::RawLineClient& h) {
             EXPECT_TRUE(unanswered(h, frame('F', 'E')));
             EXPECT_EQ(h.exchange(frame('F', 'E')), clean);
         }},
        {"wrong checksum", [](FaultPlan& f) { f.badChecksumNext = 1; },
         [&](test::RawLineClient& h) {
             const Bytes got = h.exchange(frame('F', 'E'));
             ASSERT_EQ(got.size(), clean.size());
             EXPECT_NE(got[7], clean[7]);
         }},
        {"split into two bursts",
         [](FaultPlan& f) {
             f.splitNext = 1;
             f.splitGap = 600ms;
         },
         [&](test::RawLineClient& h) {
             h.write(frame('F', 'E'));
             const Bytes first = h.readChunk(100ms);
             const Bytes second = h.readChunk(100ms);
             EXPECT_EQ(first, Bytes(clean.begin(), clean.begin() + 5));
             EXPECT_EQ(second, Bytes(clean.begin() + 5, clean.end()));
         }},
        {"echo before the reply",
         [](FaultPlan& f) {
             f.noiseNext = 1;
             f.noise = FaultPlan::Noise::Echo;
         },
         [&](test::RawLineClient& h) {
             Bytes expected = frame('F', 'E');
             expected.insert(expected.end(), clean.begin(), clean.end());
             EXPECT_EQ(h.exchange(frame('F', 'E')), expected);
         }},
        {"delayed reply",
         [](FaultPlan& f) {
             f.delayNext = 1;
             f.delay = 1500ms;
         },
         [&](test::RawLineClient& h) {
             h.write(frame('F', 'E'));
             EXPECT_TRUE(h.readChunk(100ms, 300ms).empty());
             EXPECT_EQ(h.readChunk(100ms, 5000ms), clean);
         }},
        {"nmea noise before the reply", [](FaultPlan& f) { f.noiseNext = 1; },
         [&](test::RawLineClient& h) {
             const Bytes got = h.exchange(frame('F', 'E'));
             ASSERT_GT(got.size(), clean.size());
             EXPECT_EQ(std::string(got.begin(), got.begin() + 6), "$GPGGA");
             EXPECT_EQ(Bytes(got.end() - static_cast<std::ptrdiff_t>(clean.size()), got.end()),
                       clean);
         }},
        {"firmware refusal then wrong address",
         [](FaultPlan& f) {
             f.firmwareRefusals = 1;
             f.firmwareRefusalStatus = 2;
             f.firmwareWrongAddressBlock = 0;
         },
         [&](test::RawLineClient& h) {
             // Module target, code 98: handshake, then the same 256-byte block at address 0 twice.
             ASSERT_EQ(h.exchange(Bytes{0x24, 0x24, 0x56, 0x53, 0x01, 0x00, 0x00, 0x04, 0x0D, 0x0A})
                           .size(),
                       11u);
             Bytes block(267, 0);
             block[0] = block[1] = 0x24;
             block[2] = 0x56;
             block[3] = 0x58;
             block[4] = 0x01; // 256 bytes
             const Bytes refused = h.exchange(block);
             ASSERT_GE(refused.size(), 10u);
             EXPECT_EQ(refused[5], 2);
             const Bytes misaddressed = h.exchange(block);
             ASSERT_GE(misaddressed.size(), 10u);
             EXPECT_EQ(misaddressed[5], 0);
             EXPECT_NE(Bytes(misaddressed.begin() + 6, misaddressed.begin() + 10), Bytes(4, 0));
         }},
        {"download failure status",
         [](FaultPlan& f) {
             f.downloadFailBlock = 0;
             f.downloadFailStatus = 2;
         },
         [&](test::RawLineClient& h) {
             h.exchange(frame('F', 't', {'K', 'V', '0', '0', '0', '0', '0', '3'}));
             EXPECT_EQ(payloadOf(h.exchange(frame('F', 't'))), Bytes{2});
         }},
        {"silent motherboard", [](FaultPlan& f) { f.boardSilent = true; },
         [&](test::RawLineClient& h) {
             EXPECT_TRUE(unanswered(h, Bytes{0x02, 0x00, 0x06, 0x00, 0x06, 0x03}));
         }},
        {"line dead mid-download", [](FaultPlan& f) { f.downloadDeadBlock = 1; },
         [&](test::RawLineClient& h) {
             EXPECT_EQ(
                 payloadOf(h.exchange(frame('F', 't', {'K', 'V', '0', '0', '0', '0', '0', '3'}))),
                 Bytes{0});
             EXPECT_EQ(payloadOf(h.exchange(frame('F', 't'))).size(), 4095u);
             EXPECT_TRUE(unanswered(h, frame('F', 't')));
             EXPECT_TRUE(unanswered(h, frame('F', 'E')));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FaultPlan faults;
        c.arm(faults);
        test::ServedEmulator served({}, faults);
        test::RawLineClient host(served.devicePath());
        EXPECT_TRUE(host.isOpen());
        c.check(host);
    }
}

// Starts kestrava-sim with arguments; its standard output is read through a pipe.
struct SimProcess {
    pid_t pid = -1;
    FILE* out = nullptr;

    explicit SimProcess(std::vector<std::string> args) {
        int pipeFds[2];
        if (::pipe(pipeFds) != 0) {
            return;
        }
        pid = ::fork();
        if (pid == 0) {
            ::dup2(pipeFds[1], STDOUT_FILENO);
            ::close(pipeFds[0]);
            ::close(pipeFds[1]);
            std::vector<char*> argv;
            static std::string program = KESTRAVA_SIM_PATH;
            argv.push_back(program.data());
            for (auto& a : args) {
                argv.push_back(a.data());
            }
            argv.push_back(nullptr);
            ::execv(program.c_str(), argv.data());
            ::_exit(127);
        }
        ::close(pipeFds[1]);
        out = ::fdopen(pipeFds[0], "r");
    }
    ~SimProcess() {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
        if (out) {
            ::fclose(out);
        }
    }
    std::string firstLine() {
        char line[256] = {};
        if (!out || !std::fgets(line, sizeof line, out)) {
            return {};
        }
        std::string text(line);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
            text.pop_back();
        }
        return text;
    }
    // Waits for the program to end by itself; its exit code, or -1.
    int wait() {
        int status = 0;
        ::waitpid(pid, &status, 0);
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string rest() {
        std::string text;
        char buffer[1024];
        while (out && std::fgets(buffer, sizeof buffer, out)) {
            text += buffer;
        }
        return text;
    }
    // Sends the signal and returns the exit status, or -1 when it did not exit normally.
    int stopWith(int signal) {
        ::kill(pid, signal);
        int status = 0;
        ::waitpid(pid, &status, 0);
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

TEST(KestravaSim, printsTheDevicePathServesItAndEndsCleanlyOnEitherSignal) {
    for (const int signal : {SIGINT, SIGTERM}) {
        SimProcess sim({"--type", "Z", "--files", "3"});
        const std::string path = sim.firstLine();
        ASSERT_EQ(path.rfind("/dev/", 0), 0u) << path;
        test::RawLineClient host(path);
        EXPECT_TRUE(host.isOpen());
        const Bytes info =
            payloadOf(host.exchange({0x24, 0x24, 0x56, 0x43, 0x00, 0x00, 0x15, 0x0D, 0x0A}));
        ASSERT_GE(info.size(), 39u);
        EXPECT_EQ(info[14], 'Z');
        EXPECT_EQ(payloadOf(host.exchange(frame('F', 'M', {8, 0, 0}))).size(), 3u * 32u);
        EXPECT_EQ(sim.stopWith(signal), 0);
    }
}

TEST(KestravaSim, refusesUnknownOptionsAndDocumentsItsOwn) {
    SimProcess bad({"--no-such-option"});
    EXPECT_EQ(bad.wait(), 2);
    SimProcess help({"--help"});
    const std::string text = help.rest();
    EXPECT_EQ(help.wait(), 0);
    for (const char* option :
         {"--profile", "--pace", "--drop", "--fw-refuse", "--dl-dead", "--log"}) {
        EXPECT_NE(text.find(option), std::string::npos) << option;
    }
}

// The window finds a running kestrava-sim by its announcement: the terminal and the link while it
// serves, nothing once it has ended; an announcement whose emulator died is passed over.
TEST(KestravaSim, announcesItsTerminalAndLinkWhileItServes) {
    const auto folder = std::filesystem::temp_directory_path() /
                        ("kestrava-announce-test-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const char* previous = std::getenv("XDG_RUNTIME_DIR");
    const std::string restore = previous != nullptr ? previous : "";
    ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    const std::string where = SimAnnouncement::folder();
    EXPECT_EQ(where, (folder / "kestrava-sim").string());

    // A file left by an emulator that was killed names no running process.
    std::filesystem::create_directories(where);
    std::ofstream(std::filesystem::path(where) / "2147483646.port") << "device /dev/pts/999\n";

    const std::string link = (folder / "ttyKS").string();
    {
        SimProcess sim({"--link", link});
        const std::string device = sim.firstLine();
        ASSERT_EQ(device.rfind("/dev/", 0), 0u) << device;
        const auto running = SimAnnouncement::running(where);
        ASSERT_EQ(running.size(), 1u);
        EXPECT_EQ(running[0].device, device);
        EXPECT_EQ(running[0].link, link);
        EXPECT_EQ(running[0].pid, sim.pid);
        EXPECT_EQ(sim.stopWith(SIGTERM), 0);
    }
    EXPECT_TRUE(SimAnnouncement::running(where).empty());
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(where) /
                                         (std::to_string(::getpid()) + ".port")));

    if (restore.empty()) {
        ::unsetenv("XDG_RUNTIME_DIR");
    } else {
        ::setenv("XDG_RUNTIME_DIR", restore.c_str(), 1);
    }
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace kestrava
