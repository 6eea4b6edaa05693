#pragma once

#include "pages/PageHost.h"

#include <functional>

class QWidget;

namespace kestrava {

class CommandExchange;
class LanguageManager;
struct StoredSettings;

// The window's side of PageHost: the exchange, the stored settings, message boxes and file
// dialogs over the main window, texts through the chosen language.
class WindowPageHost : public PageHost {
public:
    using FontSource = std::function<QFont()>;

    WindowPageHost(QWidget& window, CommandExchange& exchange, StoredSettings& settings,
                   const LanguageManager& language, FontSource font);

    bool portOpen() const override;
    ExchangeRequests& exchange() override;
    StoredSettings& settings() override { return m_settings; }
    QString translate(const QString& english) const override;
    void showMessage(const QString& english) override;
    void showFinalMessage(const QString& text) override;
    void showWarning(const QString& english) override;
    void showFinalWarning(const QString& text) override;
    bool askYesNo(const QString& english) override;
    QString chooseOpenFile(const QString& title, const QString& startPath,
                           const QString& filter) override;
    QString chooseSaveFile(const QString& title, const QString& suggestedPath,
                           const QString& filter) override;
    QFont languageFont() const override { return m_font(); }

private:
    QWidget& m_window;
    CommandExchange& m_exchange;
    StoredSettings& m_settings;
    const LanguageManager& m_language;
    FontSource m_font;
};

} // namespace kestrava
