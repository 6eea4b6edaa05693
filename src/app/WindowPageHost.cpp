#include "app/WindowPageHost.h"

#include "exchange/CommandExchange.h"
#include "settings/LanguageManager.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QWidget>

namespace kestrava {

WindowPageHost::WindowPageHost(QWidget& window, CommandExchange& exchange, StoredSettings& settings,
                               const LanguageManager& language, FontSource font)
    : m_window(window), m_exchange(exchange), m_settings(settings), m_language(language),
      m_font(std::move(font)) {}

ExchangeRequests& WindowPageHost::exchange() {
    return m_exchange;
}

bool WindowPageHost::portOpen() const {
    return m_exchange.portOpen();
}

QString WindowPageHost::translate(const QString& english) const {
    const std::u16string key(reinterpret_cast<const char16_t*>(english.utf16()),
                             static_cast<std::size_t>(english.size()));
    const std::u16string text = m_language.translate(key);
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

void WindowPageHost::showMessage(const QString& english) {
    showFinalMessage(translate(english));
}

void WindowPageHost::showFinalMessage(const QString& text) {
    QMessageBox::information(&m_window, QStringLiteral("Kestrava"), text);
}

void WindowPageHost::showWarning(const QString& english) {
    showFinalWarning(translate(english));
}

void WindowPageHost::showFinalWarning(const QString& text) {
    QMessageBox::warning(&m_window, QStringLiteral("Kestrava"), text);
}

bool WindowPageHost::askYesNo(const QString& english) {
    return QMessageBox::question(&m_window, QStringLiteral("Kestrava"), translate(english),
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

QString WindowPageHost::chooseOpenFile(const QString& title, const QString& startPath,
                                       const QString& filter) {
    return QFileDialog::getOpenFileName(&m_window, title, startPath, filter);
}

QString WindowPageHost::chooseSaveFile(const QString& title, const QString& suggestedPath,
                                       const QString& filter) {
    // The page asks its own overwrite question, in the chosen language.
    return QFileDialog::getSaveFileName(&m_window, title, suggestedPath, filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

} // namespace kestrava
