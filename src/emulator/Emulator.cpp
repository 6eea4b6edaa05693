#include "emulator/Emulator.h"

#include "emulator/FrameLog.h"
#include "protocol/Checksums.h"
#include "protocol/CommandFrame.h"

#include <algorithm>
#include <cstdio>

namespace kestrava {

namespace {

constexpr SimTime kSignalTestPeriod{1'000'000};
constexpr Byte kConnectRadio = 0x0A;
constexpr Byte kStartSignalTest = 0x03;
constexpr Byte kStopSignalTest = 0x00;
constexpr Byte kStopDownload = 0x04;

// Spoils the checksum byte of a reply of any framing.
void spoilChecksum(Bytes& bytes) {
    if (bytes.size() >= 3 && bytes[0] == 0x24 && bytes[bytes.size() - 1] == 0x0A &&
        bytes[bytes.size() - 2] == 0x0D) {
        bytes[bytes.size() - 3] ^= 0xFF;
    } else if (bytes.size() >= 2 && bytes[0] == 0x02 && bytes.back() == 0x03) {
        bytes[bytes.size() - 2] ^= 0xFF;
    } else if (!bytes.empty()) {
        bytes.back() ^= 0xFF;
    }
}

} // namespace

Emulator::Emulator(ReceiverProfile profile, EmulatorClock& clock, Timing timing, FaultPlan faults)
    : m_profile(std::make_unique<ReceiverProfile>(std::move(profile))), m_clock(clock),
      m_timing(timing), m_faults(faults), m_settings(*m_profile),
      m_store(m_profile->files, m_profile->downloadBlockSize),
      m_firmware(m_profile->hardwareCode, m_profile->fastFirmware, m_faults), m_board(*m_profile) {
    m_line.setPacing(m_timing.pacing);
    m_line.setBaud(m_timing.baud);
    m_lastReceive = m_clock.now();
}

Emulator::Emulator(ReceiverProfile profile, EmulatorClock& clock)
    : Emulator(std::move(profile), clock, Timing{}) {}

Emulator::~Emulator() = default;

void Emulator::setBaud(unsigned baud) {
    m_line.setBaud(baud);
}

void Emulator::receive(std::span<const Byte> bytes) {
    const SimTime now = m_clock.now();
    if (m_dead || bytes.empty()) {
        return;
    }
    if (m_assembler.hasPartial() && now - m_lastReceive > m_timing.interByteTimeout) {
        m_assembler.discardPartial();
    }
    m_lastReceive = now;
    if (m_faults.echo) {
        // The host's bytes come straight back, before anything the receiver makes of them.
        if (m_log) {
            m_log->sent(std::max(now, m_inputFree), "echo", Bytes(bytes.begin(), bytes.end()));
        }
        m_line.queue(std::max(now, m_inputFree), Bytes(bytes.begin(), bytes.end()));
    }
    // With pacing the bytes are taken to arrive one after another at the line rate, so a command
    // ends when its last byte would have crossed a real line.
    const SimTime byteTime = m_line.byteTime();
    const SimTime start = std::max(now, m_inputFree);
    const std::size_t chunkStart = m_assembler.consumed() + m_assembler.buffered();
    m_assembler.append(bytes);
    m_inputFree = start + byteTime * static_cast<long>(bytes.size());
    while (auto command = m_assembler.next()) {
        const SimTime end =
            start + byteTime * static_cast<long>(command->endOffset -
                                                 std::min(command->endOffset, chunkStart));
        if (m_log) {
            m_log->received(end, "command", command->bytes);
        }
        dispatch(*command, end);
        m_assembler.setFirmwareBlockSize(m_firmware.blockFrameSize());
        if (m_dead) {
            m_assembler.discardPartial();
            break;
        }
    }
}

void Emulator::dispatch(const HostCommand& command, SimTime end) {
    switch (command.type) {
    case HostCommand::Type::FirmwareStart: {
        Bytes answer = m_firmware.handshake(command.bytes);
        if (!answer.empty()) {
            // A loader still booting answers its first handshake late, once.
            const SimTime late = m_faults.firmwareLateStart;
            m_faults.firmwareLateStart = SimTime{0};
            reply(end + late, command.bytes, std::move(answer), "loader");
            setBaud(m_firmware.fast() ? m_timing.fastBaud : m_timing.baud);
        }
        break;
    }
    case HostCommand::Type::FirmwareBlock:
        reply(end, command.bytes, m_firmware.block(command.bytes), "loader");
        break;
    case HostCommand::Type::Radio:
        if (m_radioConnected) {
            reply(end, command.bytes, m_radio.handle(command.bytes), "radio");
        }
        break;
    case HostCommand::Type::Packet:
        if (!m_faults.boardSilent) {
            if (auto answer = m_board.handlePacket(command.bytes, end)) {
                reply(end, command.bytes, std::move(*answer), "board");
            }
        }
        break;
    case HostCommand::Type::Text:
        if (!m_faults.boardSilent) {
            if (auto answer = m_board.handleText(command.bytes, end)) {
                reply(end, command.bytes, std::move(*answer), "board");
            }
        }
        break;
    case HostCommand::Type::Dollar:
        handleDollar(command, end);
        break;
    }
}

void Emulator::handleDollar(const HostCommand& command, SimTime end) {
    const Bytes& frame = command.bytes;
    const std::size_t length = CommandFrame::payloadLength(frame.data());
    if (DollarChecksum(frame.data(), 2, 5 + length) != frame[6 + length]) {
        return; // a corrupt command is not answered
    }
    // Any command of the receiver proper means the host speaks at the normal rate again.
    setBaud(m_timing.baud);
    const Byte cls = frame[2];
    const Byte sub = frame[3];
    const Bytes payload(frame.begin() + 6, frame.begin() + 6 + static_cast<std::ptrdiff_t>(length));
    std::optional<Bytes> answer;
    if (cls == 'G' && sub == 'Q') {
        if (length != 1) {
            return;
        }
        if (payload[0] == kConnectRadio) {
            m_radioConnected = true;
            answer = payload;
        } else if (payload[0] == kStartSignalTest) {
            m_snrNext = end + kSignalTestPeriod;
            m_snrCount = 0;
        } else if (payload[0] == kStopSignalTest) {
            m_snrNext.reset();
        }
    } else if (cls == 'F' && (sub == 'M' || sub == 'D' || sub == 'C' || sub == 't')) {
        answer = handleFiles(sub, payload);
    } else if (!payload.empty() && m_faults.ignoreSetOf != 0 &&
               m_faults.ignoreSetOf == ((cls << 8) | sub)) {
        ReceiverSettings untouched = m_settings;
        answer = untouched.handle(cls, sub, payload);
    } else {
        answer = m_settings.handle(cls, sub, payload);
    }
    if (answer) {
        Bytes bytes = CommandFrame::make(cls, sub, *answer);
        Bytes copy;
        if (m_replyTwice) {
            m_replyTwice = false;
            copy = bytes;
            if (m_faults.downloadTwiceGap == SimTime{0}) {
                bytes.insert(bytes.end(), copy.begin(), copy.end());
                copy.clear();
            }
        }
        reply(end, frame, std::move(bytes), "reply");
        if (!copy.empty()) {
            reply(end + m_faults.downloadTwiceGap, frame, std::move(copy), "reply again");
        }
    }
}

std::optional<Bytes> Emulator::handleFiles(Byte sub, const Bytes& payload) {
    const std::size_t length = payload.size();
    switch (sub) {
    case 'M':
        if (length != 3) {
            return std::nullopt;
        }
        return m_store.listPage(payload[1], payload[0]);
    case 'D':
        if (length == 0) {
            if (m_profile->recording) {
                return Bytes{1};
            }
            m_store.format();
            return Bytes{0};
        }
        return Bytes{m_store.deleteNamed(payload)};
    case 'C': {
        Bytes state(9, 0);
        state[8] = m_profile->recording ? 1 : 0;
        return state;
    }
    case 't':
        if (length == 8) {
            return Bytes{m_store.startDownload(payload.data())};
        }
        if (length == 1 && payload[0] == kStopDownload) {
            m_store.stopDownload();
            return std::nullopt;
        }
        if (length != 0) {
            return std::nullopt;
        }
        if (!m_store.downloading()) {
            return Bytes{StaticStore::kStatusNotFound};
        }
        if (static_cast<std::int64_t>(m_store.blocksSent()) == m_faults.downloadDeadBlock) {
            m_faults.downloadDeadBlock = -1;
            m_dead = true;
            return std::nullopt;
        }
        if (static_cast<std::int64_t>(m_store.blocksSent()) == m_faults.downloadFailBlock) {
            m_faults.downloadFailBlock = -1;
            m_store.stopDownload();
            return Bytes{m_faults.downloadFailStatus};
        }
        if (static_cast<std::int64_t>(m_store.blocksSent()) == m_faults.downloadTwiceBlock) {
            m_faults.downloadTwiceBlock = -1;
            m_replyTwice = true;
        }
        return m_store.nextBlock();
    default:
        return std::nullopt;
    }
}

void Emulator::reply(SimTime commandEnd, const Bytes& command, Bytes bytes, const char* note) {
    if (bytes.empty()) {
        return;
    }
    SimTime at = commandEnd + m_timing.latency;
    if (m_faults.dropAll || FaultPlan::take(m_faults.dropNext)) {
        if (m_log) {
            m_log->sent(at, "dropped", bytes);
        }
        return;
    }
    if (FaultPlan::take(m_faults.badChecksumNext)) {
        spoilChecksum(bytes);
    }
    if (FaultPlan::take(m_faults.delayNext)) {
        at += m_faults.delay;
    }
    if (m_faults.noise != FaultPlan::Noise::None && FaultPlan::take(m_faults.noiseNext)) {
        Bytes noisy;
        if (m_faults.noise == FaultPlan::Noise::Echo) {
            noisy = command;
        } else {
            const ByteString sentence = m_board.sentence(0, at);
            noisy.assign(sentence.begin(), sentence.end());
        }
        noisy.insert(noisy.end(), bytes.begin(), bytes.end());
        bytes = std::move(noisy);
    }
    if (bytes.size() >= 2 && FaultPlan::take(m_faults.splitNext)) {
        const auto half = static_cast<std::ptrdiff_t>(bytes.size() / 2);
        Bytes first(bytes.begin(), bytes.begin() + half);
        Bytes second(bytes.begin() + half, bytes.end());
        if (m_log) {
            m_log->sent(at, note, first);
            m_log->sent(at + m_faults.splitGap, note, second);
        }
        m_line.queue(at, std::move(first));
        m_line.queue(at + m_faults.splitGap, std::move(second));
        return;
    }
    if (m_log) {
        m_log->sent(at, note, bytes);
    }
    m_line.queue(at, std::move(bytes));
}

void Emulator::pumpPeriodic(SimTime now) {
    if (m_dead) {
        return;
    }
    if (!m_faults.boardSilent) {
        Bytes sentences = m_board.takeSentences(now);
        if (!sentences.empty()) {
            if (m_log) {
                m_log->sent(now, "nmea", sentences);
            }
            m_line.queue(now, std::move(sentences));
        }
    }
    while (m_snrNext && *m_snrNext <= now) {
        char line[32];
        std::snprintf(line, sizeof line, "+CSQ: %u,99\r\n", 12u + (m_snrCount * 7u) % 19u);
        ++m_snrCount;
        Bytes text(line, line + std::char_traits<char>::length(line));
        if (m_log) {
            m_log->sent(*m_snrNext, "signal", text);
        }
        m_line.queue(*m_snrNext, std::move(text));
        *m_snrNext += kSignalTestPeriod;
    }
}

Bytes Emulator::takeDue() {
    const SimTime now = m_clock.now();
    pumpPeriodic(now);
    return m_line.takeDue(now);
}

std::optional<SimTime> Emulator::nextDue() const {
    std::optional<SimTime> next = m_line.nextDue();
    const auto earliest = [&next](std::optional<SimTime> candidate) {
        if (candidate && (!next || *candidate < *next)) {
            next = candidate;
        }
    };
    if (!m_dead) {
        if (!m_faults.boardSilent) {
            earliest(m_board.nextSentence());
        }
        earliest(m_snrNext);
    }
    return next;
}

} // namespace kestrava
