// Enter and Escape pressed inside a tab page neither close nor reset the dialog that holds it.
#include "FindControl.h"

#include "pages/CDialogBase.h"
#include "pages/CDialogExpand.h"
#include "pages/CDialogNETWORK.h"
#include "pages/CDialogRadioManager.h"
#include "pages/CDialogStaticManager.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <functional>

using namespace kestrava;

namespace {

// Sends a key press to `target` as the keyboard would, with propagation to its parents.
void PressKey(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
}

} // namespace

TEST(PageKeyboard, enterAndEscapeInsideAPageLeaveTheDialogOpen) {
    const std::function<QWidget*(QWidget*)> makers[] = {
        [](QWidget* parent) { return new CDialogNETWORK(parent); },
        [](QWidget* parent) { return new CDialogRadioManager(parent); },
        [](QWidget* parent) { return new CDialogStaticManager(parent); },
        [](QWidget* parent) { return new CDialogBase(parent); },
        [](QWidget* parent) { return new CDialogExpand(parent); },
    };
    for (const auto& make : makers) {
        for (int key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
            QDialog window;
            QWidget* page = make(&window);
            (new QVBoxLayout(&window))->addWidget(page);
            window.show();
            QWidget* focus = page->findChild<QLineEdit*>();
            if (focus == nullptr) {
                focus = page->findChild<QPlainTextEdit*>();
            }
            ASSERT_NE(focus, nullptr);
            PressKey(focus, key);
            EXPECT_TRUE(window.isVisible()) << page->metaObject()->className() << " key " << key;
            EXPECT_EQ(window.result(), 0);
        }
    }
}

TEST(PageKeyboard, escapeOutsideAPageStillClosesTheDialog) {
    QDialog window;
    auto* edit = new QLineEdit(&window);
    window.show();
    PressKey(edit, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
}
