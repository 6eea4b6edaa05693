#include "emulator/SimOptions.h"

#include <charconv>
#include <cstdint>
#include <functional>
#include <map>

namespace kestrava {

namespace {

// "a:b:c" into its parts.
std::vector<std::string> fields(const std::string& text) {
    std::vector<std::string> out;
    std::size_t from = 0;
    while (true) {
        const std::size_t colon = text.find(':', from);
        out.push_back(text.substr(from, colon - from));
        if (colon == std::string::npos) {
            return out;
        }
        from = colon + 1;
    }
}

std::optional<long> number(const std::string& text, long low, long high) {
    long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::string SimOptions::usage() {
    return R"(Usage: kestrava-sim [options]

Runs the receiver emulator on a pseudo-terminal. The first line of output is the device path
(for example /dev/pts/5); open it with Kestrava as the receiver's port. Serves until SIGINT or
SIGTERM. While it serves, the window lists the terminal (and the --link path) among its ports.

Receiver profile:
  --profile NAME         base (default), static (type '5', text board, recording, fast loader
                         of code 88) or wifi (type 'Z', text board); later options override it
  --serial TEXT          receiver serial number, 8 characters (default KS260107)
  --version N            receiver version in tenths, 0-255 (25 shows 2.5)
  --type C               receiver type character (default Q; 4, 5, 6 are static-only)
  --byte16 N             main information byte 16 (27 shows the static voice; default 27)
  --board KIND           motherboard: packet (default), text, or other[:CODE]
  --gprs N               GPRS/3G module code (default 3)
  --module-fw N          module firmware version in tenths (default 12)
  --module-hw N          module hardware version in tenths (default 10)
  --s-flag 0|1           S flag (default 0)
  --e-flag 0|1           E flag (default 1)
  --recording 0|1        whether a raw file is being recorded (refuses format; default 0)
  --hw-code 88|98        firmware loader hardware code (default 98)
  --fast-firmware        the loader asks for 512-byte blocks at 115200 baud
  --wifi-result N        result code of a WiFi password change, 0-3 (default 0)
  --host-port 1|2        receiver port the host is on, for NMEA output (default 1)
  --fix 0|1|2|4|5        fix its GGA reports: none, GPS (default), DGPS, RTK fixed, RTK float
  --sats N               satellites used in the fix, 0-60 (default 9)
  --age S                age of corrections in seconds, 0-999 (default: none; 1 with RTK or
                         DGPS)

Static files:
  --files N              N generated files KV000000.STH ... (default 10; 0 for none)
  --file NAME.EXT:SIZE   add a file of SIZE bytes (repeatable); contents are a fixed function
                         of name, extension and offset
  --block-size N         largest download block, 2-4095 (default 4095)

Timing:
  --latency MS           receiver latency before each reply (default 20)
  --pace                 send and count bytes at the line rate (10 bits a byte)
  --baud N               line rate for pacing (default 19200; 115200 after a fast handshake)

Faults:
  --drop N               do not send the next N replies
  --drop-all             send no replies at all
  --bad-checksum N       spoil the checksum of the next N replies
  --split N[:GAP]        send the next N replies in two bursts GAP ms apart (default 50)
  --noise N[:KIND]       put noise before the next N replies: nmea (default) or echo
  --delay N[:MS]         hold back the next N replies by MS more (default 500)
  --fw-refuse N[:S[:B]]  refuse N firmware blocks with status S (1 default, or 2) from block B
  --fw-wrong-address B   accept firmware block B but echo another address
  --fw-fail B[:S]        answer firmware block B with failure status S (default 7)
  --fw-late MS           answer the first firmware handshake MS late (a loader still booting)
  --echo                 the line echoes every byte the host sends, ahead of the reply
  --dl-fail B[:S]        send download status S (1 default, or 2) instead of data block B
  --dl-dead B            the line goes dead for good before download data block B
  --dl-twice B[:GAP]     the line delivers download data block B twice: back to back, or the
                         copy GAP ms later
  --board-silent         the motherboard answers nothing and sends no NMEA

Other:
  --log FILE             log every frame received and sent, with times, in hex ('-' = stderr)
  --link PATH            also offer the terminal as the symbolic link PATH, a name that stays
                         while SIGHUP "pulls the cable": the terminal goes away (an open host
                         sees its device vanish) and a new one is linked 2 s later
  --help                 this text
)";
}

std::optional<SimOptions> SimOptions::parse(const std::vector<std::string>& args,
                                            std::string& error) {
    SimOptions options;
    ReceiverProfile& p = options.profile;
    FaultPlan& f = options.faults;
    std::vector<StaticFile> extraFiles;
    std::optional<std::uint32_t> fileCount;

    using Handler = std::function<bool(const std::string&)>;
    const auto byteValue = [](Byte& target) {
        return [&target](const std::string& v) {
            const auto n = number(v, 0, 255);
            if (n) {
                target = static_cast<Byte>(*n);
            }
            return n.has_value();
        };
    };
    const auto flagValue = [](bool& target) {
        return [&target](const std::string& v) {
            const auto n = number(v, 0, 1);
            if (n) {
                target = *n == 1;
            }
            return n.has_value();
        };
    };
    const auto countValue = [](std::uint32_t& target) {
        return [&target](const std::string& v) {
            const auto n = number(v, 0, 1'000'000);
            if (n) {
                target = static_cast<std::uint32_t>(*n);
            }
            return n.has_value();
        };
    };
    const auto countWithMs = [](std::uint32_t& count, SimTime& time) {
        return [&count, &time](const std::string& v) {
            const auto parts = fields(v);
            const auto n = number(parts[0], 0, 1'000'000);
            if (!n || parts.size() > 2) {
                return false;
            }
            count = static_cast<std::uint32_t>(*n);
            if (parts.size() == 2) {
                const auto ms = number(parts[1], 0, 600'000);
                if (!ms) {
                    return false;
                }
                time = std::chrono::milliseconds(*ms);
            }
            return true;
        };
    };
    const auto blockWithMs = [](std::int32_t& block, SimTime& time) {
        return [&block, &time](const std::string& v) {
            const auto parts = fields(v);
            const auto b = number(parts[0], 0, 1'000'000);
            const auto ms =
                parts.size() == 2 ? number(parts[1], 0, 600'000) : std::optional<long>{0};
            if (!b || !ms || parts.size() > 2) {
                return false;
            }
            block = static_cast<std::int32_t>(*b);
            time = std::chrono::milliseconds(*ms);
            return true;
        };
    };
    const auto blockWithStatus = [](std::int32_t& block, Byte& status, long low, long high) {
        return [&block, &status, low, high](const std::string& v) {
            const auto parts = fields(v);
            const auto b = number(parts[0], 0, 1'000'000);
            if (!b || parts.size() > 2) {
                return false;
            }
            block = static_cast<std::int32_t>(*b);
            if (parts.size() == 2) {
                const auto s = number(parts[1], low, high);
                if (!s) {
                    return false;
                }
                status = static_cast<Byte>(*s);
            }
            return true;
        };
    };

    std::map<std::string, Handler> withValue = {
        {"--profile",
         [&](const std::string& v) {
             auto named = ReceiverProfile::named(v);
             if (named) {
                 p = *named;
             }
             return named.has_value();
         }},
        {"--serial",
         [&](const std::string& v) {
             p.serialNumber = v;
             return !v.empty() && v.size() <= 8;
         }},
        {"--version", byteValue(p.version)},
        {"--type",
         [&](const std::string& v) {
             if (v.size() != 1) {
                 return false;
             }
             p.receiverType = static_cast<Byte>(v[0]);
             return true;
         }},
        {"--byte16", byteValue(p.byte16)},
        {"--board",
         [&](const std::string& v) {
             const auto parts = fields(v);
             if (parts[0] == "packet" && parts.size() == 1) {
                 p.board = BoardKind::Packet;
             } else if (parts[0] == "text" && parts.size() == 1) {
                 p.board = BoardKind::Text;
             } else if (parts[0] == "other" && parts.size() <= 2) {
                 p.board = BoardKind::Other;
                 if (parts.size() == 2) {
                     const auto code = number(parts[1], 0, 255);
                     if (!code || *code == 1 || *code == 4) {
                         return false;
                     }
                     p.otherBoardCode = static_cast<Byte>(*code);
                 }
             } else {
                 return false;
             }
             return true;
         }},
        {"--gprs", byteValue(p.gprsModule)},
        {"--module-fw", byteValue(p.moduleFirmware)},
        {"--module-hw", byteValue(p.moduleHardware)},
        {"--s-flag", flagValue(p.sFlag)},
        {"--e-flag", flagValue(p.eFlag)},
        {"--recording", flagValue(p.recording)},
        {"--hw-code",
         [&](const std::string& v) {
             const auto n = number(v, 0, 255);
             if (n) {
                 p.hardwareCode = static_cast<int>(*n);
             }
             return n == 88 || n == 98;
         }},
        {"--wifi-result",
         [&](const std::string& v) {
             const auto n = number(v, 0, 3);
             if (n) {
                 p.wifiResult = static_cast<Byte>(*n);
             }
             return n.has_value();
         }},
        {"--host-port",
         [&](const std::string& v) {
             const auto n = number(v, 1, 2);
             if (n) {
                 p.hostPort = static_cast<Byte>(*n - 1);
             }
             return n.has_value();
         }},
        {"--fix",
         [&](const std::string& v) {
             const auto n = number(v, 0, 5);
             if (n) {
                 p.fixQuality = static_cast<int>(*n);
             }
             return n.has_value() && *n != 3;
         }},
        {"--sats",
         [&](const std::string& v) {
             const auto n = number(v, 0, 60);
             if (n) {
                 p.satellites = static_cast<int>(*n);
             }
             return n.has_value();
         }},
        {"--age",
         [&](const std::string& v) {
             const auto n = number(v, 0, 999);
             if (n) {
                 p.correctionAge = static_cast<double>(*n);
             }
             return n.has_value();
         }},
        {"--files",
         [&](const std::string& v) {
             const auto n = number(v, 0, 10'000);
             if (n) {
                 fileCount = static_cast<std::uint32_t>(*n);
             }
             return n.has_value();
         }},
        {"--file",
         [&](const std::string& v) {
             const auto parts = fields(v);
             if (parts.size() != 2) {
                 return false;
             }
             const std::size_t dot = parts[0].find('.');
             const std::string name = parts[0].substr(0, dot);
             const std::string ext = dot == std::string::npos ? "" : parts[0].substr(dot + 1);
             const auto size = number(parts[1], 0, 0x7FFFFFFF);
             if (name.empty() || name.size() > 8 || ext.size() > 3 || !size) {
                 return false;
             }
             const StaticFile sample = StaticFile::generated(0);
             extraFiles.emplace_back(name, ext, static_cast<std::uint32_t>(*size), sample.fatDate(),
                                     sample.fatTime());
             return true;
         }},
        {"--block-size",
         [&](const std::string& v) {
             const auto n = number(v, 2, 4095);
             if (n) {
                 p.downloadBlockSize = static_cast<std::uint32_t>(*n);
             }
             return n.has_value();
         }},
        {"--latency",
         [&](const std::string& v) {
             const auto n = number(v, 0, 60'000);
             if (n) {
                 options.timing.latency = std::chrono::milliseconds(*n);
             }
             return n.has_value();
         }},
        {"--baud",
         [&](const std::string& v) {
             const auto n = number(v, 300, 4'000'000);
             if (n) {
                 options.timing.baud = static_cast<unsigned>(*n);
             }
             return n.has_value();
         }},
        {"--drop", countValue(f.dropNext)},
        {"--bad-checksum", countValue(f.badChecksumNext)},
        {"--split", countWithMs(f.splitNext, f.splitGap)},
        {"--delay", countWithMs(f.delayNext, f.delay)},
        {"--noise",
         [&](const std::string& v) {
             const auto parts = fields(v);
             const auto n = number(parts[0], 0, 1'000'000);
             if (!n || parts.size() > 2) {
                 return false;
             }
             f.noiseNext = static_cast<std::uint32_t>(*n);
             f.noise = FaultPlan::Noise::Nmea;
             if (parts.size() == 2) {
                 if (parts[1] == "echo") {
                     f.noise = FaultPlan::Noise::Echo;
                 } else if (parts[1] != "nmea") {
                     return false;
                 }
             }
             return true;
         }},
        {"--fw-refuse",
         [&](const std::string& v) {
             const auto parts = fields(v);
             const auto n = number(parts[0], 0, 1'000'000);
             if (!n || parts.size() > 3) {
                 return false;
             }
             f.firmwareRefusals = static_cast<std::uint32_t>(*n);
             if (parts.size() >= 2) {
                 const auto s = number(parts[1], 1, 2);
                 if (!s) {
                     return false;
                 }
                 f.firmwareRefusalStatus = static_cast<Byte>(*s);
             }
             if (parts.size() == 3) {
                 const auto b = number(parts[2], 0, 1'000'000);
                 if (!b) {
                     return false;
                 }
                 f.firmwareRefusalBlock = static_cast<std::int32_t>(*b);
             }
             return true;
         }},
        {"--fw-wrong-address",
         [&](const std::string& v) {
             const auto b = number(v, 0, 1'000'000);
             if (b) {
                 f.firmwareWrongAddressBlock = static_cast<std::int32_t>(*b);
             }
             return b.has_value();
         }},
        {"--fw-late",
         [&](const std::string& v) {
             const auto ms = number(v, 0, 600'000);
             if (ms) {
                 f.firmwareLateStart = std::chrono::milliseconds(*ms);
             }
             return ms.has_value();
         }},
        {"--fw-fail", blockWithStatus(f.firmwareFailBlock, f.firmwareFailStatus, 3, 255)},
        {"--dl-fail", blockWithStatus(f.downloadFailBlock, f.downloadFailStatus, 1, 2)},
        {"--dl-dead",
         [&](const std::string& v) {
             const auto b = number(v, 0, 1'000'000);
             if (b) {
                 f.downloadDeadBlock = static_cast<std::int32_t>(*b);
             }
             return b.has_value();
         }},
        {"--dl-twice", blockWithMs(f.downloadTwiceBlock, f.downloadTwiceGap)},
        {"--log",
         [&](const std::string& v) {
             options.logPath = v;
             return !v.empty();
         }},
        {"--link",
         [&](const std::string& v) {
             options.linkPath = v;
             return !v.empty();
         }},
    };
    std::map<std::string, std::function<void()>> flags = {
        {"--help", [&] { options.help = true; }},
        {"--fast-firmware", [&] { p.fastFirmware = true; }},
        {"--pace", [&] { options.timing.pacing = true; }},
        {"--drop-all", [&] { f.dropAll = true; }},
        {"--board-silent", [&] { f.boardSilent = true; }},
        {"--echo", [&] { f.echo = true; }},
    };

    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> value;
        if (const std::size_t eq = name.find('='); eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
        }
        if (const auto flag = flags.find(name); flag != flags.end() && !value) {
            flag->second();
            continue;
        }
        const auto handler = withValue.find(name);
        if (handler == withValue.end()) {
            error = "unknown option " + args[i];
            return std::nullopt;
        }
        if (!value) {
            if (i + 1 >= args.size()) {
                error = "option " + name + " needs a value";
                return std::nullopt;
            }
            value = args[++i];
        }
        if (!handler->second(*value)) {
            error = "bad value for " + name + ": " + *value;
            return std::nullopt;
        }
    }
    if (fileCount || !extraFiles.empty()) {
        p.files = ReceiverProfile::generatedFiles(fileCount.value_or(10));
        p.files.insert(p.files.end(), extraFiles.begin(), extraFiles.end());
    }
    return options;
}

} // namespace kestrava
