#include "cli/ReplyPrinter.h"

#include "cli/HexText.h"
#include "protocol/ReplyKind.h"

#include <cstdio>
#include <string>
#include <type_traits>

namespace kestrava {
namespace {

std::string quoted(const ByteString& text) {
    std::string out = "\"";
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b == '"' || b == '\\') {
            out += '\\';
            out += c;
        } else if (b >= 0x20 && b < 0x7F) {
            out += c;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", b);
            out += escaped;
        }
    }
    return out + "\"";
}

std::string megahertz(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", static_cast<double>(value));
    return text;
}

void printMainInfo(std::ostream& out, const MainInfoRecord& r) {
    out << "  serial number:           " << quoted(r.serialNumber) << '\n'
        << "  receiver version:        " << quoted(r.receiverVersion) << '\n'
        << "  receiver type:           " << static_cast<int>(r.receiverTypeCode);
    if (r.receiverTypeCode >= 0x20 && r.receiverTypeCode < 0x7F) {
        out << " '" << static_cast<char>(r.receiverTypeCode) << "'";
    }
    out << '\n'
        << "  byte 16:                 " << static_cast<int>(r.byte16) << '\n'
        << "  S flag:                  " << static_cast<int>(r.sFlag) << '\n'
        << "  E flag:                  " << static_cast<int>(r.eFlag) << '\n'
        << "  motherboard code:        " << r.motherboardCode << '\n'
        << "  GPRS module code:        " << static_cast<int>(r.gprsModuleCode) << '\n'
        << "  module firmware version: " << quoted(r.moduleFirmwareVersion) << '\n'
        << "  module hardware version: " << quoted(r.moduleHardwareVersion) << '\n';
}

void printNetParams(std::ostream& out, const NetParams& p) {
    out << "  communication mode: " << static_cast<int>(p.communicationMode) << '\n'
        << "  net mode:           " << static_cast<int>(p.netMode) << '\n'
        << "  group ID 1:         " << p.groupId1 << '\n'
        << "  group ID 2:         " << static_cast<int>(p.groupId2) << '\n'
        << "  user ID:            " << static_cast<int>(p.userId) << '\n'
        << "  IP:                 " << static_cast<int>(p.ip[0]) << '.' << static_cast<int>(p.ip[1])
        << '.' << static_cast<int>(p.ip[2]) << '.' << static_cast<int>(p.ip[3]) << '\n'
        << "  port:               " << p.port << '\n'
        << "  phone number:       " << quoted(p.phoneNumber) << '\n'
        << "  APN:                " << quoted(p.apnName) << '\n'
        << "  user name:          " << quoted(p.vrsName) << '\n'
        << "  password:           " << quoted(p.vrsPassword) << '\n'
        << "  mount point:        " << quoted(p.sourceNode) << '\n'
        << "  URL:                " << quoted(p.url) << '\n'
        << "  server by name:     " << (p.isUrl ? "yes" : "no") << '\n';
}

void printRow(std::ostream& out, const FileListRow& row) {
    char when[48];
    std::snprintf(when, sizeof when, "%04d-%02d-%02d %02d:%02d:%02d", row.year, row.month, row.day,
                  row.hour, row.minute, row.second);
    out << "  " << quoted(row.name) << ' ' << row.sizeText << " (" << row.sizeBytes << " bytes) "
        << when << '\n';
}

} // namespace

void ReplyPrinter::onReply(const ReplyData& data, std::int32_t kind) {
    ++m_count;
    const std::string_view name = replyKindName(kind);
    m_out << "reply kind " << kind << " (" << (name.empty() ? "unknown" : name) << ")";
    std::visit(
        [this](const auto& value) {
            using T = std::decay_t<decltype(value)>;
            std::ostream& out = m_out;
            if constexpr (std::is_same_v<T, std::int32_t>) {
                out << ": " << value << '\n';
            } else if constexpr (std::is_same_v<T, const MainInfoRecord*>) {
                out << ":\n";
                printMainInfo(out, *value);
            } else if constexpr (std::is_same_v<T, const ChannelTable*>) {
                out << ":\n";
                for (std::size_t i = 0; i < value->size(); ++i) {
                    out << "  channel " << (i + 1) << ": transmit "
                        << megahertz((*value)[i].transmit) << " MHz, receive "
                        << megahertz((*value)[i].receive) << " MHz\n";
                }
            } else if constexpr (std::is_same_v<T, IntPair>) {
                out << ": " << value.first << ", " << value.second << '\n';
            } else if constexpr (std::is_same_v<T, BytePair>) {
                out << ": " << static_cast<int>(value.first) << ", "
                    << static_cast<int>(value.second) << '\n';
            } else if constexpr (std::is_same_v<T, const TextPair*>) {
                out << ": " << quoted(value->first) << ", " << quoted(value->second) << '\n';
            } else if constexpr (std::is_same_v<T, const TextTriple*>) {
                out << ": " << quoted(value->first) << ", " << quoted(value->second) << ", "
                    << quoted(value->third) << '\n';
            } else if constexpr (std::is_same_v<T, std::span<const FileListRow>>) {
                out << ": " << value.size() << (value.size() == 1 ? " file\n" : " files\n");
                for (const FileListRow& row : value) {
                    printRow(out, row);
                }
            } else if constexpr (std::is_same_v<T, const NetParams*>) {
                out << ":\n";
                printNetParams(out, *value);
            } else if constexpr (std::is_same_v<T, DownloadBlock>) {
                out << ": " << value.payloadLength << " data bytes\n  "
                    << HexText::format(value.payload()) << '\n';
            }
        },
        data);
}

} // namespace kestrava
