#pragma once

#include <QObject>
#include <QString>

#include <functional>

namespace kestrava {

// Gives the standard buttons of every message box the program shows (OK, Yes, No, Cancel) their
// text in the chosen language, at the moment the box appears, wherever the box was made. Watches
// the application's events once installed on it.
class MessageBoxTexts : public QObject {
    Q_OBJECT

public:
    using Translate = std::function<QString(const QString& english)>;

    explicit MessageBoxTexts(Translate translate, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Translate m_translate;
};

} // namespace kestrava
