#pragma once

#include "protocol/ReplySink.h"

#include <cstddef>
#include <ostream>

namespace kestrava {

// A ReplySink that prints every delivered reply in readable form: the kind number and name,
// then its data. Texts are printed as their bytes, with non-printable bytes escaped (\xNN).
class ReplyPrinter : public ReplySink {
public:
    explicit ReplyPrinter(std::ostream& out) : m_out(out) {}

    void onReply(const ReplyData& data, std::int32_t kind) override;

    std::size_t count() const { return m_count; }

private:
    std::ostream& m_out;
    std::size_t m_count = 0;
};

} // namespace kestrava
