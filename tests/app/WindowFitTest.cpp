#include "app/AppOptions.h"
#include "app/BuiltInEmulator.h"
#include "app/CKestravaDlg.h"
#include "app/PortComboBox.h"
#include "pages/CDialogAPN.h"
#include "pages/CDialogDataOutSet.h"

#include <gmock/gmock.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>

#include <string>

namespace kestrava {
namespace {

std::string describe(const QWidget* widget, const QString& text, int needed, int has) {
    return (widget->objectName() + QStringLiteral(" \"") + text +
            QStringLiteral("\" needs %1 px, has %2").arg(needed).arg(has))
        .toStdString();
}

// Every text of `root` and its visible children that does not fit the control showing it.
std::vector<std::string> clippedTexts(QWidget& root) {
    std::vector<std::string> faults;
    auto check = [&](const QWidget* widget, const QString& text, int needed, int has) {
        if (needed > has) {
            faults.push_back(describe(widget, text, needed, has));
        }
    };
    for (QWidget* widget : root.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&root)) {
            continue;
        }
        const QFontMetrics metrics(widget->font());
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            const QString text = label->text();
            if (text.isEmpty()) {
                continue;
            }
            const QRect room = label->contentsRect();
            if (label->wordWrap()) {
                check(label, text, label->heightForWidth(room.width()), room.height());
            } else {
                const QSize size = metrics.size(0, text);
                check(label, text, size.width(), room.width());
                check(label, text, size.height(), room.height());
            }
        } else if (auto* box = qobject_cast<QCheckBox*>(widget)) {
            const int indicator = box->style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                                  box->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
            check(box, box->text(), indicator + metrics.horizontalAdvance(box->text()),
                  box->width());
        } else if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
            const int indicator = radio->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                                  radio->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
            check(radio, radio->text(), indicator + metrics.horizontalAdvance(radio->text()),
                  radio->width());
        } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
            const QSize size = metrics.size(Qt::TextShowMnemonic, button->text());
            check(button, button->text(), size.width() + 4, button->width());
            check(button, button->text(), size.height() + 2, button->height());
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            check(group, group->title(), metrics.horizontalAdvance(group->title()) + 8,
                  group->width());
        } else if (auto* tabs = qobject_cast<QTabBar*>(widget)) {
            for (int i = 0; i < tabs->count(); ++i) {
                check(tabs, tabs->tabText(i), metrics.horizontalAdvance(tabs->tabText(i)),
                      tabs->tabRect(i).width());
            }
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            auto* ports = qobject_cast<PortComboBox*>(combo);
            const QString text = ports != nullptr ? ports->shownText() : combo->currentText();
            QStyleOptionComboBox option;
            option.initFrom(combo);
            const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                               QStyle::SC_ComboBoxEditField, combo);
            check(combo, text, metrics.horizontalAdvance(text), field.width());
        }
    }
    return faults;
}

// Controls of the window itself that overlap, or reach past its edges. The panel's captions and
// values lie inside their group box, which is the one overlap that belongs.
std::vector<std::string> overlaps(QWidget& window) {
    std::vector<std::string> faults;
    const QWidget* group = window.findChild<QWidget*>(QStringLiteral("1154"));
    QList<QWidget*> children;
    for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isVisibleTo(&window)) {
            continue;
        }
        if (!window.rect().contains(child->geometry())) {
            faults.push_back(child->objectName().toStdString() + " reaches past the window");
        }
        if (child != group && group != nullptr && group->geometry().contains(child->geometry())) {
            continue; // the panel's rows
        }
        children << child;
    }
    for (qsizetype i = 0; i < children.size(); ++i) {
        for (qsizetype j = i + 1; j < children.size(); ++j) {
            if (children[i]->geometry().intersects(children[j]->geometry())) {
                faults.push_back(children[i]->objectName().toStdString() + " overlaps " +
                                 children[j]->objectName().toStdString());
            }
        }
    }
    return faults;
}

class WindowFit : public ::testing::TestWithParam<const char*> {
protected:
    std::unique_ptr<CKestravaDlg> openWindow() {
        QString error;
        EXPECT_TRUE(m_emulator.start(error)) << error.toStdString();
        AppOptions options;
        options.settingsFolder = m_folder.path();
        options.languageFolder = QStringLiteral(KESTRAVA_SOURCE_DIR "/lang");
        options.emulatorPort = m_emulator.devicePath();
        auto window = std::make_unique<CKestravaDlg>(options);
        auto* languages = window->findChild<QComboBox*>(QStringLiteral("1011"));
        const int index = languages->findText(QString::fromLatin1(GetParam()));
        EXPECT_GE(index, 0);
        languages->setCurrentIndex(index);
        emit languages->activated(index);
        window->show();
        QApplication::processEvents();
        return window;
    }

    QTemporaryDir m_folder;
    BuiltInEmulator m_emulator;
};

// Every caption, title, tab and list text fits its control under the window's font, on the
// window and on each tab page, before and after the port is opened (the button's caption
// changes), and no control of the window overlaps another or the window's edge.
TEST_P(WindowFit, everyTextFitsItsControl) {
    auto window = openWindow();
    auto* tabs = window->findChild<QTabWidget*>(QStringLiteral("1008"));
    std::vector<std::string> faults;
    for (int open = 0; open < 2; ++open) {
        for (int tab = 0; tab < tabs->count(); ++tab) {
            tabs->setCurrentIndex(tab);
            QApplication::processEvents();
            for (auto& fault : clippedTexts(*window)) {
                faults.push_back(fault + " (tab " + std::to_string(tab) + ")");
            }
        }
        for (auto& fault : overlaps(*window)) {
            faults.push_back(fault);
        }
        window->findChild<QPushButton*>(QStringLiteral("1061"))->click();
        QApplication::processEvents();
    }
    std::sort(faults.begin(), faults.end());
    faults.erase(std::unique(faults.begin(), faults.end()), faults.end());
    EXPECT_THAT(faults, ::testing::IsEmpty());
}

// The port list's popup shows every entry whole, however narrow the closed box is.
TEST_P(WindowFit, thePortListOpensAsWideAsItsLongestEntry) {
    auto window = openWindow();
    auto* ports = window->findChild<PortComboBox*>(QStringLiteral("1060"));
    ASSERT_NE(ports, nullptr);
    ASSERT_EQ(ports->itemText(0), window->translate(QStringLiteral("Kestrava receiver emulator")));
    ports->showPopup();
    QApplication::processEvents();
    const QFontMetrics metrics(ports->view()->font());
    EXPECT_GT(ports->view()->viewport()->width(), metrics.horizontalAdvance(ports->itemText(0)));
    ports->hidePopup();
}

// The two popup dialogs, with the window's font and language.
TEST_P(WindowFit, everyTextOfThePopupDialogsFits) {
    auto window = openWindow();
    const PageTranslator translate = [&window](const QString& english) {
        return window->translate(english);
    };
    CDialogAPN apn(translate, window.get());
    CDialogDataOutSet output(translate, window.get());
    std::vector<std::string> faults;
    for (QDialog* dialog : {static_cast<QDialog*>(&apn), static_cast<QDialog*>(&output)}) {
        dialog->setFont(window->font());
        dialog->show();
        QApplication::processEvents();
        for (auto& fault : clippedTexts(*dialog)) {
            faults.push_back(fault);
        }
        dialog->hide();
    }
    EXPECT_THAT(faults, ::testing::IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Languages, WindowFit, ::testing::Values("english", "chinese"),
                         [](const auto& param) { return std::string(param.param); });

} // namespace
} // namespace kestrava
