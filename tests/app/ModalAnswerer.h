#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <deque>

namespace kestrava::test {

// Answers the window's modal boxes and file dialogs as a user would, from a script: a message box
// is read and closed with OK, a question is answered Yes or No (No when the script is empty), and
// a file dialog gets the next path typed in (cancelled when the script is empty).
class ModalAnswerer : public QObject {
public:
    ModalAnswerer() {
        connect(&m_poll, &QTimer::timeout, this, &ModalAnswerer::answer);
        m_poll.start(15);
    }

    std::deque<bool> answers;
    std::deque<QString> files;
    QStringList boxes;
    QStringList questions;

private:
    void answer() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            if (QAbstractButton* yes = box->button(QMessageBox::Yes)) {
                questions.append(box->text());
                const bool sayYes = !answers.empty() && answers.front();
                if (!answers.empty()) {
                    answers.pop_front();
                }
                (sayYes ? yes : box->button(QMessageBox::No))->click();
            } else {
                boxes.append(box->text());
                box->accept();
            }
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            if (files.empty()) {
                dialog->reject();
                return;
            }
            dialog->selectFile(files.front());
            files.pop_front();
            static_cast<QDialog*>(dialog)->accept(); // what the Save button does
        }
    }

    QTimer m_poll;
};

} // namespace kestrava::test
