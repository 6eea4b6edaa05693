#pragma once

namespace kestrava {

// The firmware transfer as the exchange sees it. The exchange owns no transfer state: it hands
// the firmware replies (kinds 30 and 31), the two firmware timers (1 and 5) and the end of a
// baud-rate change to this object, which drives the transfer through the exchange's
// FirmwareStart and FirmwareBlock operations. All calls arrive on the exchange's thread.
class FirmwareTransfer {
public:
    virtual ~FirmwareTransfer() = default;

    // An update is under way (from its start to its end): the exchange then refuses every other
    // command, whose reply would take the place of the one the transfer awaits.
    virtual bool running() const { return false; }

    // The receiver answered the announcement (kind 30). data is 0 when the receiver's hardware
    // code differs from the image's, else the receiver's status byte + 1. Timer 1 has already
    // been stopped.
    virtual void onStartReply(int data) = 0;

    // The receiver answered a block (kind 31): 0 accepted, 10 resend, 1 or 2 refused too often,
    // 3 failed, 5 wrong address.
    virtual void onBlockReply(int outcome) = 0;

    // Timer 1 (TIMER_FIRMWARE_START) or timer 5 (TIMER_FIRMWARE_BLOCK) expired.
    virtual void onTimer(int timerId) = 0;

    // The port was closed for a baud-rate change asked for with "continue firmware", and the
    // exchange has tried to open it again; portOpen tells whether that worked.
    virtual void onPortReopened(bool portOpen) = 0;
};

} // namespace kestrava
