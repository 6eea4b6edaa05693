// The reader hands a chunk over as soon as the owner's rule says the awaited reply is whole,
// and otherwise keeps to the quiet line.
#include "serial/SerialTestSupport.h"
#include "support/PseudoTerminal.h"

#include "serial/CSerialPort.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QThread>

namespace kestrava {
namespace {

using test::PseudoTerminal;
using test::pumpFor;
using test::pumpUntil;
using test::RecordingOwner;

std::vector<std::uint8_t> bytesOf(const char* text) {
    return {text, text + std::char_traits<char>::length(text)};
}

TEST(ChunkHandOver, aWholeReplyLeavesAtOnceWhileAPartOneWaitsForTheRest) {
    PseudoTerminal pty;
    ASSERT_TRUE(pty.isOpen());
    RecordingOwner owner;
    CSerialPort port;
    ASSERT_TRUE(port.OpenPort(&owner, QString::fromStdString(pty.slavePath()),
                              CSerialPort::kNormalBaudRate, 3));
    ASSERT_TRUE(port.startReader());
    ASSERT_TRUE(pumpUntil([&] { return port.readerAlive(); }));
    holdInputOpen = 1;
    // Whole once the CR LF is in.
    port.setChunkComplete([](const std::uint8_t* bytes, std::size_t count) {
        return count >= 2 && bytes[count - 2] == '\r' && bytes[count - 1] == '\n';
    });

    // Held input would merge these two bursts into one chunk; the first is whole on its own.
    ASSERT_TRUE(pty.send(bytesOf("$$one\r\n")));
    QThread::msleep(60);
    ASSERT_TRUE(pty.send(bytesOf("$$two\r\n")));
    ASSERT_TRUE(pumpUntil([&] { return owner.bytesReceived() >= 14; }));
    pumpFor(200);
    EXPECT_EQ(owner.chunks,
              (std::vector<std::vector<std::uint8_t>>{bytesOf("$$one\r\n"), bytesOf("$$two\r\n")}));

    // A reply cut in two is still gathered into one chunk: the rule says not yet.
    owner.chunks.clear();
    ASSERT_TRUE(pty.send(bytesOf("$$thr")));
    QThread::msleep(30);
    ASSERT_TRUE(pty.send(bytesOf("ee\r\n")));
    ASSERT_TRUE(pumpUntil([&] { return owner.bytesReceived() >= 9; }));
    pumpFor(200);
    EXPECT_EQ(owner.chunks, (std::vector<std::vector<std::uint8_t>>{bytesOf("$$three\r\n")}));
    holdInputOpen = 1;
}

} // namespace
} // namespace kestrava
