#include "pages/CDialogCaster.h"

#include "ntrip/CasterWords.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace kestrava {
namespace {

enum Column { Name, Format, Details, Systems, Country, Position, Authentication, Columns };

const char* const kHeaders[Columns] = {QT_TR_NOOP("Mount Point"),   QT_TR_NOOP("Format"),
                                       QT_TR_NOOP("Details"),       QT_TR_NOOP("Systems"),
                                       QT_TR_NOOP("Country"),       QT_TR_NOOP("Position"),
                                       QT_TR_NOOP("Authentication")};

QString text(const std::string& value) {
    return QString::fromStdString(value);
}

NtripRequest requestOf(const CDialogCaster::Target& target) {
    NtripRequest request;
    request.host = target.host.toStdString();
    request.port = target.port;
    return request;
}

} // namespace

CDialogCaster::CDialogCaster(Target target, PageTranslator translate, QWidget* parent)
    : QDialog(parent), m_target(std::move(target)), m_translate(std::move(translate)) {
    m_caster = new QLabel(this);
    m_list = new QTreeWidget(this);
    m_list->setColumnCount(Columns);
    m_list->setRootIsDecorated(false);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSortingEnabled(true);
    m_list->sortByColumn(Name, Qt::AscendingOrder);
    m_list->setMinimumSize(640, 220);
    m_status = new QLabel(this);
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_status->setMinimumHeight(m_status->fontMetrics().height() * 2);

    m_refresh = new QPushButton(this);
    m_captions.Add(m_refresh, QStringLiteral("Refresh"));
    m_refresh->setAutoDefault(false);
    m_login = new QPushButton(this);
    m_captions.Add(m_login, QStringLiteral("Check Login"));
    m_login->setAutoDefault(false);
    m_ok = new QPushButton(this);
    m_captions.Add(m_ok, QStringLiteral("OK"));
    m_ok->setDefault(true);
    auto* cancel = new QPushButton(this);
    m_captions.Add(cancel, QStringLiteral("Cancel"));
    cancel->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_refresh);
    buttons->addWidget(m_login);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_caster);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_status);
    layout->addLayout(buttons);

    connect(m_refresh, &QPushButton::clicked, this, &CDialogCaster::StartList);
    connect(m_login, &QPushButton::clicked, this, &CDialogCaster::StartLogin);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &CDialogCaster::enableButtons);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(&m_check, &CasterCheck::finished, this, &CDialogCaster::onFinished);
    connect(this, &QDialog::finished, &m_check, &CasterCheck::cancel);

    ApplyCasterTexts();
    enableButtons();
}

CDialogCaster::~CDialogCaster() = default;

void CDialogCaster::ApplyCasterTexts() {
    setWindowTitle(TranslateText(m_translate, QString::fromLatin1(QT_TR_NOOP("Check Caster"))));
    m_captions.Apply(m_translate);
    QStringList headers;
    for (const char* header : kHeaders) {
        headers.append(TranslateText(m_translate, QString::fromLatin1(header)));
    }
    m_list->setHeaderLabels(headers);
    m_caster->setText(TranslateText(m_translate, QString::fromLatin1(QT_TR_NOOP("Caster: %1:%2")))
                          .arg(m_target.host)
                          .arg(m_target.port));
    if (!m_statusKey.isEmpty()) {
        showStatus(m_statusKey, m_statusArguments);
    }
}

void CDialogCaster::StartList() {
    if (m_check.running()) {
        return;
    }
    m_listing = true;
    showStatus(QString::fromLatin1(QT_TR_NOOP("Asking the caster for its mount points...")));
    m_check.start(requestOf(m_target), {});
    enableButtons();
}

void CDialogCaster::StartLogin() {
    const QString mountPoint =
        SelectedMountPoint().isEmpty() ? m_target.mountPoint : SelectedMountPoint();
    if (m_check.running() || mountPoint.isEmpty()) {
        return;
    }
    NtripRequest request = requestOf(m_target);
    request.mountPoint = mountPoint.toStdString();
    request.user = m_target.user.toStdString();
    request.password = m_target.password.toStdString();
    CasterSession::Limits limits;
    limits.listenMs = m_listenMs;
    m_listing = false;
    m_asked = mountPoint;
    showStatus(QString::fromLatin1(QT_TR_NOOP("Logging in to %1 and listening...")), {mountPoint});
    m_check.start(request, limits);
    enableButtons();
}

void CDialogCaster::onFinished(const CasterOutcome& outcome) {
    if (m_listing && outcome.result == CasterOutcome::Result::Sourcetable) {
        const QString wanted =
            SelectedMountPoint().isEmpty() ? m_target.mountPoint : SelectedMountPoint();
        m_list->clear();
        for (const StreamEntry& stream : outcome.table.streams()) {
            auto* item = new QTreeWidgetItem(m_list);
            item->setText(Name, text(stream.mountPoint));
            item->setText(Format, text(stream.format));
            item->setText(Details, text(stream.formatDetails));
            item->setText(Systems, text(stream.navSystems));
            item->setText(Country, text(stream.country));
            item->setText(Position, stream.latitude.empty() && stream.longitude.empty()
                                        ? QString()
                                        : text(stream.latitude) + QStringLiteral(", ") +
                                              text(stream.longitude));
            item->setText(Authentication, text(stream.authentication));
        }
        int needed = 0;
        for (int i = 0; i < Columns; ++i) {
            m_list->resizeColumnToContents(i);
            needed += m_list->columnWidth(i);
        }
        // As wide as the columns need, within reason.
        const int frame = width() - m_list->viewport()->width();
        resize(std::clamp(needed + frame + 8, width(), 1100), height());
        SelectMountPoint(wanted);
    }
    const CasterWords words = CasterWords::describe(outcome, m_asked, m_target.receiver);
    showStatus(words.key, words.arguments);
    enableButtons();
    emit checkFinished(StatusText());
}

void CDialogCaster::showStatus(const QString& key, const QStringList& arguments) {
    m_statusKey = key;
    m_statusArguments = arguments;
    QString shown = TranslateText(m_translate, key);
    for (const QString& argument : arguments) {
        shown = shown.arg(argument);
    }
    m_status->setText(shown);
}

void CDialogCaster::enableButtons() {
    const bool busy = m_check.running();
    m_refresh->setEnabled(!busy);
    m_login->setEnabled(!busy &&
                        (!SelectedMountPoint().isEmpty() || !m_target.mountPoint.isEmpty()));
    m_ok->setEnabled(!SelectedMountPoint().isEmpty());
}

QString CDialogCaster::SelectedMountPoint() const {
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? QString() : selected.front()->text(Name);
}

void CDialogCaster::SelectMountPoint(const QString& mountPoint) {
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_list->topLevelItem(i);
        if (item->text(Name) == mountPoint) {
            m_list->setCurrentItem(item);
            item->setSelected(true);
            return;
        }
    }
}

int CDialogCaster::MountPointCount() const {
    return m_list->topLevelItemCount();
}

QString CDialogCaster::StatusText() const {
    return m_status->text();
}

bool CDialogCaster::Busy() const {
    return m_check.running();
}

} // namespace kestrava
