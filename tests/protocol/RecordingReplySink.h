#pragma once

#include "protocol/ExpectedReply.h"
#include "protocol/ReplyData.h"
#include "protocol/ReplySink.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <type_traits>
#include <vector>

namespace kestrava::test {

// One delivered reply, with copies of everything the pointers in its data referred to (they are
// valid only during the delivery) and the ExpectedReply as it stood while the handler ran.
struct Delivery {
    std::int32_t kind = 0;
    ExpectedReply seen;
    std::optional<std::int32_t> value;
    std::optional<MainInfoRecord> mainInfo;
    std::optional<ChannelTable> channels;
    std::optional<IntPair> ints;
    std::optional<BytePair> bytes;
    std::optional<TextPair> texts;
    std::optional<TextTriple> triple;
    std::optional<std::vector<FileListRow>> rows;
    std::optional<NetParams> net;
    std::optional<Bytes> downloadPayload;
};

// A reply handler that records every delivery. An optional action runs inside the delivery, as a
// handler that sends a follow-up command would.
class RecordingReplySink : public ReplySink {
public:
    explicit RecordingReplySink(const ExpectedReply& expected) : m_expected(expected) {}

    std::vector<Delivery> deliveries;
    std::function<void()> duringDelivery;

    void onReply(const ReplyData& data, std::int32_t kind) override {
        Delivery d;
        d.kind = kind;
        d.seen = m_expected;
        std::visit(
            [&d](const auto& v) {
                using T = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<T, std::int32_t>) {
                    d.value = v;
                } else if constexpr (std::is_same_v<T, const MainInfoRecord*>) {
                    d.mainInfo = *v;
                } else if constexpr (std::is_same_v<T, const ChannelTable*>) {
                    d.channels = *v;
                } else if constexpr (std::is_same_v<T, IntPair>) {
                    d.ints = v;
                } else if constexpr (std::is_same_v<T, BytePair>) {
                    d.bytes = v;
                } else if constexpr (std::is_same_v<T, const TextPair*>) {
                    d.texts = *v;
                } else if constexpr (std::is_same_v<T, const TextTriple*>) {
                    d.triple = *v;
                } else if constexpr (std::is_same_v<T, std::span<const FileListRow>>) {
                    d.rows = std::vector<FileListRow>(v.begin(), v.end());
                } else if constexpr (std::is_same_v<T, const NetParams*>) {
                    d.net = *v;
                } else if constexpr (std::is_same_v<T, DownloadBlock>) {
                    const auto payload = v.payload();
                    d.downloadPayload = Bytes(payload.begin(), payload.end());
                }
            },
            data);
        deliveries.push_back(std::move(d));
        if (duringDelivery) {
            duringDelivery();
        }
    }

    const Delivery& only() const {
        static const Delivery none{};
        return deliveries.size() == 1 ? deliveries.front() : none;
    }

private:
    const ExpectedReply& m_expected;
};

} // namespace kestrava::test
