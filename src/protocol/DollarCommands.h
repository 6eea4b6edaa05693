#pragma once

#include "protocol/ExpectedReply.h"
#include "protocol/NetParams.h"
#include "protocol/ProtocolTypes.h"

#include <cstddef>
#include <string_view>

namespace kestrava {

// Builders of the receiver's own dollar commands: identity, radio connection, modem band and
// signal test, network parameters, APN login and the two passwords.
//
// Every builder replaces the contents of out with the exact bytes to write, arms expected with
// the reply it awaits (class and sub of the command, its reply kind, dollar framing unless
// noted) and returns the number of bytes to write, which is out.size(). Text arguments are bytes
// in the receiver's code page; each is cut to its field's width and zero-padded.

// 'V','C', empty. Kind 1. 9 bytes.
std::size_t ReadMainInfo(Bytes& out, ExpectedReply& expected);

// 'G','Q' 0x0A. Kind 2. 10 bytes.
std::size_t ConnectInternalRadio(Bytes& out, ExpectedReply& expected);

// 'G','Q' 0x03. Kind 11 (the test's output is never decoded). 10 bytes.
std::size_t StartSnrTest(Bytes& out, ExpectedReply& expected);

// 'G','Q' 0x00. Awaits nothing: kind 0, idle framing. 10 bytes.
std::size_t StopSnrTest(Bytes& out, ExpectedReply& expected);

// 'G','F', empty. Kind 7. 9 bytes.
std::size_t ReadNetModuleBand(Bytes& out, ExpectedReply& expected);

// 'G','F' with the 2G and the 3G band index. Kind 8. 11 bytes.
std::size_t SetNetModuleBand(Bytes& out, ExpectedReply& expected, Byte band2g, Byte band3g);

// 'G','C', empty. Kind 20. 9 bytes.
std::size_t ReadNetParams(Bytes& out, ExpectedReply& expected);

// 'G','C' with the 160-byte (short login) or 190-byte (long login) network parameter payload.
// Kind 21. 169 or 199 bytes. The caster login is "user:password" in Base64: up to 29 characters
// stand at payload offset 59; 30 to 59 characters are split, the first 28 at offset 59, the
// marker 0xAA at offset 88 and the rest at offset 160. A login of more than 59 characters
// cannot be carried: then nothing is built, out and expected stay untouched and 0 is returned.
std::size_t SetNetParams(Bytes& out, ExpectedReply& expected, const NetParams& params);

// 'G','A', empty. Kind 22. 9 bytes.
std::size_t ReadApnParams(Bytes& out, ExpectedReply& expected);

// 'G','A' with the APN user name and password, 50 bytes each. Kind 23. 109 bytes.
std::size_t SetApnParams(Bytes& out, ExpectedReply& expected, const ByteString& user,
                         const ByteString& password);

// The text that the receiver's WiFi module takes in the old-password field.
inline constexpr std::string_view kWifiOldPasswordText = "mvkqzjtrwplxbfhnyagcsuodie";

// 'G','Y' with the old-password field and the new password, 30 bytes each. Kind 49. 70 bytes:
// the 69-byte frame followed by one zero byte, which is written too. The first form puts
// kWifiOldPasswordText into the old-password field.
std::size_t SetWifiPassword(Bytes& out, ExpectedReply& expected, const ByteString& newPassword);
std::size_t SetWifiPassword(Bytes& out, ExpectedReply& expected, const ByteString& oldPassword,
                            const ByteString& newPassword);

// 'I','C' with the MD5 digest of the password's bytes as 32 lower-case hex digits. Kind 34.
// 41 bytes. The password itself never goes on the wire.
std::size_t SetRemotePassword(Bytes& out, ExpectedReply& expected, const ByteString& password);

} // namespace kestrava
