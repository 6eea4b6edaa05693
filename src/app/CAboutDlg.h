#pragma once

#include <QDialog>

#include <functional>

namespace kestrava {

// The about box of the system menu: the program's name and version and an OK button.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    // translate gives each text in the chosen language (empty: English).
    explicit CAboutDlg(const std::function<QString(const QString&)>& translate = {},
                       QWidget* parent = nullptr);
};

} // namespace kestrava
