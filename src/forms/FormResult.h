#pragma once

#include <QString>

#include <optional>
#include <utility>

namespace kestrava {

// What a form makes of typed texts: the record, or the first message that refuses them. The
// message is the English key of the text the user sees; the window and the command line
// translate it (or not) at the moment they show it, so both refuse with the same words.
template <class Record>
class FormResult {
public:
    static FormResult accept(Record record) {
        FormResult result;
        result.m_record = std::move(record);
        return result;
    }
    static FormResult refuse(QString english) {
        FormResult result;
        result.m_refusal = std::move(english);
        return result;
    }

    bool ok() const { return m_record.has_value(); }
    const Record& record() const { return *m_record; }
    Record& record() { return *m_record; }
    const QString& refusal() const { return m_refusal; }

private:
    std::optional<Record> m_record;
    QString m_refusal;
};

} // namespace kestrava
