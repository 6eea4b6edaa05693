#pragma once

#include "exchange/CommandExchange.h"
#include "pages/PageHost.h"

#include <QFont>
#include <QString>
#include <QStringList>

#include <deque>

namespace kestrava::test {

// A PageHost for page tests: the real exchange (usually on the receiver emulator in memory) and
// settings, with every box recorded instead of shown and every question and file dialog answered
// from a script. Texts are recorded as the English keys the page handed over.
class FakePageHost : public PageHost {
public:
    FakePageHost(CommandExchange& exchange, StoredSettings& settings)
        : m_exchange(exchange), m_settings(settings) {}

    bool portOpen() const override { return m_exchange.portOpen(); }
    CommandExchange& exchange() override { return m_exchange; }
    StoredSettings& settings() override { return m_settings; }
    QString translate(const QString& english) const override { return english; }
    void showMessage(const QString& english) override { messages.append(english); }
    void showFinalMessage(const QString& text) override { messages.append(text); }
    bool askYesNo(const QString& english) override {
        questions.append(english);
        if (answers.empty()) {
            return false;
        }
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }
    QString chooseOpenFile(const QString&, const QString&, const QString& filter) override {
        fileFilters.append(filter);
        return nextFile();
    }
    QString chooseSaveFile(const QString&, const QString& suggested, const QString&) override {
        suggestedPaths.append(suggested);
        return nextFile();
    }
    QFont languageFont() const override { return font; }

    QStringList messages;
    QStringList questions;
    std::deque<bool> answers;  // Yes (true) or No for the next questions; No when empty
    std::deque<QString> files; // the next file dialogs' results; cancelled when empty
    QStringList fileFilters;
    QStringList suggestedPaths;
    QFont font;

private:
    QString nextFile() {
        if (files.empty()) {
            return {};
        }
        QString file = files.front();
        files.pop_front();
        return file;
    }

    CommandExchange& m_exchange;
    StoredSettings& m_settings;
};

} // namespace kestrava::test
