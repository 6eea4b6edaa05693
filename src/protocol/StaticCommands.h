#pragma once

#include "protocol/ExpectedReply.h"
#include "protocol/ProtocolTypes.h"

#include <cstddef>
#include <span>

namespace kestrava {

// Builders of the dollar commands for static (raw data) recording and the static files on the
// receiver. Same contract as the other dollar builders: out is replaced with the exact bytes to
// write, expected is armed (class and sub of the command, its kind, dollar framing) and the
// number of bytes to write is returned. Names and texts are bytes in the receiver's code page.

// 'F','J', empty. Kind 12. 9 bytes.
std::size_t ReadCollectParams(Bytes& out, ExpectedReply& expected);

// 'F','J' with the collection interval in seconds and the elevation cut-off in degrees.
// Kind 13. 11 bytes.
std::size_t SetCollectParams(Bytes& out, ExpectedReply& expected, Byte intervalSeconds,
                             Byte cutoffDegrees);

// 'F','E', empty. Kind 19. 9 bytes.
std::size_t ReadStoreLocation(Bytes& out, ExpectedReply& expected);

// 'F','E' with 1 for the storage card, 0 for flash. Kind 18. 10 bytes.
std::size_t SetStoreLocation(Bytes& out, ExpectedReply& expected, bool storageCard);

// 'F','K', empty. Kind 38. 9 bytes.
std::size_t ReadFileNaming(Bytes& out, ExpectedReply& expected);

// 'F','K' with four characters: the first character of the trimmed prefix (0 when it is empty),
// then the trimmed serial as exactly three characters: its first three when longer, with '0'
// in front when shorter ("7" gives "007"). Kind 37. 13 bytes.
std::size_t SetFileNaming(Bytes& out, ExpectedReply& expected, const ByteString& prefix,
                          const ByteString& serial);

// 'F','M' asking for 8 entries from the given index: 08, firstIndex, 00. Kind 15. 12 bytes.
std::size_t ReadFileList(Bytes& out, ExpectedReply& expected, Byte firstIndex);

// 'F','D' naming the files to delete, 8 bytes each: the name without its extension (the text
// before the last '.'), cut to 8 characters and zero-padded. Kind 16. 9 + 8 x files bytes.
// At most kMaxDeleteFiles names fit one frame; names beyond are left out.
inline constexpr std::size_t kMaxDeleteFiles = 0xFFFF / 8;
std::size_t DeleteFiles(Bytes& out, ExpectedReply& expected, std::span<const ByteString> names);

// 'F','D', empty: deletes every static file. Kind 17. 9 bytes.
std::size_t FormatFiles(Bytes& out, ExpectedReply& expected);

// 'F','C', empty. Kind 46. 9 bytes.
std::size_t ReadRecordingState(Bytes& out, ExpectedReply& expected);

// 'F','t' with the file's name without extension, 8 bytes. Kind 24, which stays armed while
// the download runs. 17 bytes.
std::size_t StartDownload(Bytes& out, ExpectedReply& expected, const ByteString& name);

// 'F','t', empty: asks for the next block of the running download. Kind 24. 9 bytes.
std::size_t NextDownloadBlock(Bytes& out, ExpectedReply& expected);

// 'F','t' 0x04: ends the running download. Kind 28 (its reply is not decoded). 10 bytes.
std::size_t StopDownload(Bytes& out, ExpectedReply& expected);

} // namespace kestrava
