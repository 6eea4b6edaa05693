#include "protocol/AsciiDecoder.h"

#include "protocol/ReplyDelivery.h"

namespace kestrava {

namespace {

constexpr std::string_view kWord = "VERSION";
constexpr char kQuote = '"';

// Walks quoted fields from a position. Each call reads the next field: the text between the next
// opening quote and its closing quote.
class QuotedFields {
public:
    QuotedFields(std::string_view text, std::size_t from) : m_text(text), m_pos(from) {}

    // The next field; false when there is none, it is unterminated or it is empty.
    bool next(std::string_view& field) {
        const std::size_t open = m_text.find(kQuote, m_pos);
        if (open == std::string_view::npos) {
            return false;
        }
        const std::size_t close = m_text.find(kQuote, open + 1);
        if (close == std::string_view::npos) {
            return false;
        }
        field = m_text.substr(open + 1, close - open - 1);
        m_pos = close + 1;
        return !field.empty();
    }

private:
    std::string_view m_text;
    std::size_t m_pos;
};

} // namespace

bool AsciiDecoder::parse(std::string_view text, ByteString& serial, ByteString& model,
                         ByteString& software) {
    serial.clear();
    model.clear();
    software.clear();
    const std::size_t word = text.find(kWord);
    if (word == std::string_view::npos || word == 0) {
        return false;
    }
    QuotedFields fields(text, word);
    std::string_view field;
    if (!fields.next(field)) {
        return true;
    }
    model = ByteString(field);
    if (!fields.next(field)) {
        return true;
    }
    serial = ByteString(field);
    if (!fields.next(field)) { // the third field is not shown
        return true;
    }
    if (fields.next(field)) {
        software = ByteString(field);
    }
    return true;
}

void AsciiDecoder::decode(const Byte* chunk, std::size_t count, ExpectedReply& expected,
                          DecoderState& /*state*/, ReplySink& sink) {
    if (chunk == nullptr || count == 0) {
        return;
    }
    TextTriple info;
    const std::string_view text(reinterpret_cast<const char*>(chunk), count);
    if (!parse(text, info.first, info.second, info.third)) {
        return;
    }
    ReplyDelivery::deliver(expected, sink, ReplyData{&info}, KindBoardVersionText,
                           ReplyDelivery::Reset::After);
}

} // namespace kestrava
