#pragma once

#include "emulator/CommandAssembler.h"
#include "emulator/EmulatorClock.h"
#include "emulator/FaultPlan.h"
#include "emulator/FirmwareLoader.h"
#include "emulator/Motherboard.h"
#include "emulator/OutputLine.h"
#include "emulator/RadioModule.h"
#include "emulator/ReceiverProfile.h"
#include "emulator/ReceiverSettings.h"
#include "emulator/StaticStore.h"
#include "protocol/ProtocolTypes.h"

#include <memory>
#include <optional>
#include <span>

namespace kestrava {

class FrameLog;

// The receiver as a whole, seen from its serial line: bytes from the host go in through
// receive(), in any pieces; the answers of the receiver, its internal radio and its motherboard,
// and the periodic output (NMEA sentences, signal-test lines), come out of takeDue() when their
// time has come on the injected clock. Transports only move bytes and wait for nextDue().
class Emulator {
public:
    struct Timing {
        SimTime latency{20'000};           // from the end of a command to the start of its reply
        SimTime interByteTimeout{500'000}; // a partly received command is forgotten after this
        bool pacing = false;               // send and count bytes at the line rate
        unsigned baud = 19200;
        unsigned fastBaud = 115200; // line rate after a fast firmware handshake
    };

    Emulator(ReceiverProfile profile, EmulatorClock& clock, Timing timing, FaultPlan faults = {});
    Emulator(ReceiverProfile profile, EmulatorClock& clock);
    ~Emulator();
    Emulator(const Emulator&) = delete;
    Emulator& operator=(const Emulator&) = delete;

    // Bytes written by the host, arriving now.
    void receive(std::span<const Byte> bytes);
    // Every byte due by now.
    Bytes takeDue();
    // When the next byte falls due (replies and periodic output); nothing while all is quiet.
    std::optional<SimTime> nextDue() const;

    void setLog(FrameLog* log) { m_log = log; }
    FaultPlan& faults() { return m_faults; }
    const Timing& timing() const { return m_timing; }
    unsigned lineBaud() const { return m_line.baud(); }

    const ReceiverProfile& profile() const { return *m_profile; }
    const ReceiverSettings& settings() const { return m_settings; }
    const StaticStore& store() const { return m_store; }
    const FirmwareLoader& firmware() const { return m_firmware; }
    const RadioModule& radio() const { return m_radio; }
    const Motherboard& board() const { return m_board; }
    bool radioConnected() const { return m_radioConnected; }
    bool signalTestRunning() const { return m_snrNext.has_value(); }
    bool lineDead() const { return m_dead; }

private:
    void dispatch(const HostCommand& command, SimTime end);
    void handleDollar(const HostCommand& command, SimTime end);
    std::optional<Bytes> handleFiles(Byte sub, const Bytes& payload);
    void reply(SimTime commandEnd, const Bytes& command, Bytes bytes, const char* note);
    void pumpPeriodic(SimTime now);
    void setBaud(unsigned baud);

    std::unique_ptr<ReceiverProfile> m_profile; // stable address: the parts keep references
    EmulatorClock& m_clock;
    Timing m_timing;
    FaultPlan m_faults;
    ReceiverSettings m_settings;
    StaticStore m_store;
    FirmwareLoader m_firmware;
    RadioModule m_radio;
    Motherboard m_board;
    CommandAssembler m_assembler;
    OutputLine m_line;
    FrameLog* m_log = nullptr;

    SimTime m_inputFree{0}; // when the last received byte finished arriving on the line
    SimTime m_lastReceive{0};
    bool m_radioConnected = false;
    bool m_dead = false;
    bool m_replyTwice = false; // the reply being built goes out twice (a line fault)
    std::optional<SimTime> m_snrNext;
    std::uint32_t m_snrCount = 0;
};

} // namespace kestrava
