#pragma once

#include <QDialog>

namespace kestrava {

// The about box of the system menu: the program's name and version and an OK button.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

} // namespace kestrava
