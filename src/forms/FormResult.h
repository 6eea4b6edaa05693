#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

namespace kestrava {

// What a form makes of typed texts: the record, or the first message that refuses them. The
// message is the English key of the text the user sees; the window and the command line
// translate it (or not) at the moment they show it, so both refuse with the same words. A key
// may hold %1, %2 ... for values that belong to the case at hand (the frequency typed, the
// nearest one that can be set); they are filled in after the key is translated.
template <class Record>
class FormResult {
public:
    static FormResult accept(Record record) {
        FormResult result;
        result.m_record = std::move(record);
        return result;
    }
    static FormResult refuse(QString english, QStringList arguments = {}) {
        FormResult result;
        result.m_refusal = std::move(english);
        result.m_arguments = std::move(arguments);
        return result;
    }
    // The same refusal for another record type.
    template <class Other>
    static FormResult refuseAs(const FormResult<Other>& other) {
        return refuse(other.refusalKey(), other.refusalArguments());
    }

    bool ok() const { return m_record.has_value(); }
    const Record& record() const { return *m_record; }
    Record& record() { return *m_record; }

    // The refusal in English, its values filled in.
    QString refusal() const {
        return refusalIn([](const QString& key) { return key; });
    }
    // The refusal in the words translate gives its key, its values filled in.
    template <class Translate>
    QString refusalIn(Translate translate) const {
        QString text = translate(m_refusal);
        for (const QString& argument : m_arguments) {
            text = text.arg(argument);
        }
        return text;
    }
    const QString& refusalKey() const { return m_refusal; }
    const QStringList& refusalArguments() const { return m_arguments; }

private:
    std::optional<Record> m_record;
    QString m_refusal;
    QStringList m_arguments;
};

} // namespace kestrava
