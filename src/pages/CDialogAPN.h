#pragma once

#include "pages/CaptionTable.h"
#include "pages/PageTranslator.h"

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

namespace kestrava {

// The small modal "APN Set" dialog that reads and sets the modem's APN login. It stays open
// across any number of reads and sets; "Set" (also Enter) reports the two texts exactly as typed,
// "Cancel" (also Escape) closes it without storing or sending anything.
class CDialogAPN : public QDialog {
    Q_OBJECT

public:
    explicit CDialogAPN(PageTranslator translate = {}, QWidget* parent = nullptr);

    // The login shown when the dialog opens: the APN user name and password last set or read.
    void SetApnLogin(const QString& userName, const QString& password);
    // Shows a login read from the receiver.
    void ShowApnParams(const QString& userName, const QString& password);
    // Title, labels and buttons in the current language.
    void ApplyApnTexts();

    QString UserName() const;
    QString Password() const;

signals:
    void readClicked();
    // The texts of the two edits, untrimmed and unchecked (empty texts included).
    void setClicked(const QString& userName, const QString& password);

private:
    PageTranslator m_translate;
    CaptionTable m_captions;
    QLineEdit* m_userName = nullptr;
    QLineEdit* m_password = nullptr;
};

} // namespace kestrava
