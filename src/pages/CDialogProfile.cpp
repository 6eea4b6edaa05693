#include "pages/CDialogProfile.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace kestrava {
namespace {

QString text(const std::string& value) {
    return QString::fromStdString(value);
}

} // namespace

CDialogProfile::CDialogProfile(QString profilePath, ProfileRunner& runner, PageTranslator translate,
                               QWidget* parent)
    : QDialog(parent), m_path(std::move(profilePath)), m_runner(runner),
      m_translate(std::move(translate)) {
    m_file = new QLabel(this);
    m_file->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("summary"));
    m_summary->setWordWrap(true);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_summary->setMinimumHeight(m_summary->fontMetrics().height() * 2);
    m_table = new QTableWidget(this);
    m_table->setObjectName(QStringLiteral("outcomes"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setMinimumSize(600, 260);

    m_apply = new QPushButton(this);
    m_apply->setObjectName(QStringLiteral("apply"));
    m_captions.Add(m_apply, QStringLiteral("Apply"));
    m_copy = new QPushButton(this);
    m_copy->setObjectName(QStringLiteral("copy"));
    m_captions.Add(m_copy, QStringLiteral("Copy"));
    m_copy->setAutoDefault(false);
    m_close = new QPushButton(this);
    m_close->setObjectName(QStringLiteral("close"));
    m_captions.Add(m_close, QStringLiteral("Close"));
    m_close->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_copy);
    buttons->addStretch(1);
    buttons->addWidget(m_apply);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_file);
    layout->addWidget(m_summary);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);

    connect(m_apply, &QPushButton::clicked, this, &CDialogProfile::StartApply);
    connect(m_copy, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(TableText()); });
    connect(m_close, &QPushButton::clicked, this, &CDialogProfile::reject);

    ApplyProfileTexts();
}

QString CDialogProfile::words(const char* english) const {
    return TranslateText(m_translate, QString::fromLatin1(english));
}

void CDialogProfile::ApplyProfileTexts() {
    setWindowTitle(words(QT_TR_NOOP("Apply Profile")));
    m_captions.Apply(m_translate);
    m_file->setText(words(QT_TR_NOOP("Profile: %1")).arg(QDir::toNativeSeparators(m_path)));
    fillTable();
    showSummary();
}

void CDialogProfile::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_started) {
        StartPlan();
    }
}

void CDialogProfile::reject() {
    // What runs on the receiver runs to its end: the dialog closes when it has ended.
    if (m_stage == Stage::Planning || m_stage == Stage::Applying) {
        return;
    }
    QDialog::reject();
}

void CDialogProfile::StartPlan() {
    m_started = true;
    m_stage = Stage::Planning;
    m_outcome = {};
    m_shown.clear();
    fillTable();
    showSummary();
    enableButtons();
    m_runner.plan(m_path, [this](const ProfileRunner::Outcome& outcome) { onPlanned(outcome); });
}

void CDialogProfile::StartApply() {
    if (m_stage != Stage::Planned || std::none_of(m_shown.begin(), m_shown.end(),
                                                  [](const ProfileLine& l) { return l.differs; })) {
        return;
    }
    m_stage = Stage::Applying;
    showSummary();
    enableButtons();
    m_runner.apply(m_path, [this](const ProfileRunner::Outcome& outcome) { onApplied(outcome); });
}

void CDialogProfile::onPlanned(const ProfileRunner::Outcome& outcome) {
    m_outcome = outcome;
    m_shown.clear();
    if (outcome.status == 0) {
        m_stage = Stage::Planned;
        // Only what the profile changes is asked about.
        std::copy_if(outcome.lines.begin(), outcome.lines.end(), std::back_inserter(m_shown),
                     [](const ProfileLine& line) { return line.differs; });
    } else {
        m_stage = Stage::Refused;
    }
    fillTable();
    showSummary();
    enableButtons();
    emit stageReached(m_stage);
}

void CDialogProfile::onApplied(const ProfileRunner::Outcome& outcome) {
    m_outcome = outcome;
    m_shown = outcome.lines;
    m_stage = Stage::Applied;
    fillTable();
    showSummary();
    enableButtons();
    emit stageReached(m_stage);
}

void CDialogProfile::fillTable() {
    const bool outcomes = m_stage == Stage::Applied;
    QStringList headers;
    if (outcomes) {
        headers << words(QT_TR_NOOP("Setting")) << words(QT_TR_NOOP("Outcome"));
    } else {
        headers << words(QT_TR_NOOP("Setting")) << words(QT_TR_NOOP("Receiver"))
                << words(QT_TR_NOOP("Profile"));
    }
    m_table->clear();
    m_table->setColumnCount(static_cast<int>(headers.size()));
    m_table->setHorizontalHeaderLabels(headers);
    m_table->setRowCount(static_cast<int>(m_shown.size()));
    for (int row = 0; row < static_cast<int>(m_shown.size()); ++row) {
        const ProfileLine& line = m_shown[static_cast<std::size_t>(row)];
        const QStringList cells =
            outcomes
                ? QStringList{text(line.key), text(line.outcome)}
                : QStringList{text(line.key),
                              line.receiver.empty() ? QStringLiteral("-") : text(line.receiver),
                              text(line.profile)};
        for (int column = 0; column < static_cast<int>(cells.size()); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (outcomes && column == 1 && line.outcome.rfind("FAILED", 0) == 0) {
                item->setForeground(Qt::red);
            }
            m_table->setItem(row, column, item);
        }
    }
    m_table->resizeColumnsToContents();
    m_table->resizeRowsToContents();
    m_table->horizontalHeader()->setSectionResizeMode(m_table->columnCount() - 1,
                                                      QHeaderView::Stretch);
}

void CDialogProfile::showSummary() {
    QString shown;
    const int count = static_cast<int>(m_shown.size());
    switch (m_stage) {
    case Stage::Planning:
        shown = words(QT_TR_NOOP("Reading the receiver's settings..."));
        break;
    case Stage::Planned:
        shown = count == 0 ? words(QT_TR_NOOP("The receiver already holds this profile."))
                           : words(QT_TR_NOOP("%1 settings differ from the receiver. Apply them "
                                              "and read them back?"))
                                 .arg(count);
        break;
    case Stage::Refused:
        shown = words(m_outcome.status == 2 ? QT_TR_NOOP("The profile was refused: nothing was "
                                                         "sent.")
                                            : QT_TR_NOOP("The receiver could not be read: "
                                                         "nothing was sent."));
        break;
    case Stage::Applying:
        shown = words(QT_TR_NOOP("Applying the profile..."));
        break;
    case Stage::Applied:
        if (m_outcome.status == 0) {
            shown = words(QT_TR_NOOP("Every setting of the profile now holds on the receiver."));
        } else if (m_shown.empty()) {
            shown = words(QT_TR_NOOP("The profile could not be applied:"));
        } else {
            shown = words(QT_TR_NOOP("Not every setting took: the FAILED rows say what the "
                                     "receiver holds."));
        }
        break;
    }
    for (const QString& message : m_outcome.messages) {
        shown += QLatin1Char('\n') + TranslateText(m_translate, message);
    }
    m_summary->setText(shown);
}

void CDialogProfile::enableButtons() {
    m_apply->setEnabled(m_stage == Stage::Planned && !m_shown.empty());
    m_apply->setVisible(m_stage != Stage::Applied);
    m_copy->setEnabled(!m_shown.empty());
    m_close->setEnabled(m_stage != Stage::Planning && m_stage != Stage::Applying);
    if (m_apply->isEnabled()) {
        m_apply->setDefault(true);
    } else {
        m_close->setDefault(true);
    }
}

QString CDialogProfile::SummaryText() const {
    return m_summary->text();
}

QString CDialogProfile::TableText() const {
    QString copied;
    for (const ProfileLine& line : m_shown) {
        copied +=
            text(m_stage == Stage::Applied
                     ? line.text()
                     : line.key + ": receiver " + (line.receiver.empty() ? "-" : line.receiver) +
                           ", profile " + line.profile) +
            QLatin1Char('\n');
    }
    return copied;
}

int CDialogProfile::RowCount() const {
    return m_table->rowCount();
}

QString CDialogProfile::Cell(int row, int column) const {
    const QTableWidgetItem* item = m_table->item(row, column);
    return item != nullptr ? item->text() : QString();
}

} // namespace kestrava
