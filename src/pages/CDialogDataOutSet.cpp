#include "pages/CDialogDataOutSet.h"

#include "pages/ControlFactory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <utility>

namespace kestrava {

namespace {

struct SentenceControls {
    NmeaOutputChoice::Sentence sentence;
    const char* name;
    int checkId;
    int listId;
    int unitId;
};

// Rows in the order the dialog shows them; the record keeps its own order.
constexpr SentenceControls kRows[] = {
    {NmeaOutputChoice::GGA, "GGA", 1030, 1011, 1182},
    {NmeaOutputChoice::GSV, "GSV", 1035, 1044, 1183},
    {NmeaOutputChoice::VTG, "VTG", 1049, 1045, 1184},
    {NmeaOutputChoice::RMC, "RMC", 1043, 1178, 1185},
    {NmeaOutputChoice::GSA, "GSA", 1050, 1179, 1186},
    {NmeaOutputChoice::ZDA, "ZDA", 1052, 1180, 1187},
    {NmeaOutputChoice::GST, "GST", 1053, 1181, 1188},
};

} // namespace

CDialogDataOutSet::CDialogDataOutSet(PageTranslator translate, QWidget* parent)
    : QDialog(parent), m_translate(std::move(translate)) {
    m_com1 = MakeControl<QRadioButton>(1015, this);
    m_com1->setText(QStringLiteral("COM1"));
    m_com2 = MakeControl<QRadioButton>(1016, this);
    m_com2->setText(QStringLiteral("COM2"));
    m_com1->setChecked(true);
    m_clearAll = MakeControl<QCheckBox>(1051, this);
    m_captions.Add(m_clearAll, QStringLiteral("Clear All GPS Output First"));

    auto* portRow = new QHBoxLayout;
    portRow->addWidget(m_com1);
    portRow->addWidget(m_com2);
    portRow->addStretch(1);

    auto* dataGroup = MakeControl<QGroupBox>(1170, this);
    m_captions.Add(dataGroup, QStringLiteral("Data"));
    auto* grid = new QGridLayout(dataGroup);
    const QStringList rates = {QStringLiteral("1"),  QStringLiteral("2"),   QStringLiteral("5"),
                               QStringLiteral("10"), QStringLiteral("0.5"), QStringLiteral("0.2")};
    int gridRow = 0;
    for (const SentenceControls& controls : kRows) {
        auto* on = MakeControl<QCheckBox>(controls.checkId, dataGroup);
        on->setText(QString::fromLatin1(controls.name));
        auto* rate = MakeControl<QComboBox>(controls.listId, dataGroup);
        rate->addItems(rates);
        rate->setCurrentIndex(0);
        auto* unit = MakeControl<QLabel>(controls.unitId, dataGroup);
        unit->setText(QStringLiteral("s"));
        grid->addWidget(on, gridRow, 0);
        grid->addWidget(rate, gridRow, 1);
        grid->addWidget(unit, gridRow, 2);
        ++gridRow;
        m_rows[controls.sentence] = {on, rate};
    }
    grid->setColumnStretch(3, 1);

    auto* set = MakeControl<QPushButton>(1144, this);
    m_captions.Add(set, QStringLiteral("Set"));
    set->setDefault(true);
    auto* cancel = MakeControl<QPushButton>(1145, this);
    m_captions.Add(cancel, QStringLiteral("Cancel"));
    cancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(set);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(portRow);
    layout->addWidget(m_clearAll);
    layout->addWidget(dataGroup);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(set, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    ApplyDataOutTexts();
}

void CDialogDataOutSet::ShowChoice(const NmeaOutputChoice& stored) {
    (stored.port() == 0 ? m_com1 : m_com2)->setChecked(true);
    m_clearAll->setChecked(stored.clearAll() != 0);
    for (std::size_t sentence = 0; sentence < m_rows.size(); ++sentence) {
        const SentenceRow& row = m_rows[sentence];
        row.on->setChecked(stored.on(sentence) != 0);
        const int rate = stored.rate(sentence);
        row.rate->setCurrentIndex(rate < row.rate->count() ? rate : 0);
    }
}

NmeaOutputChoice CDialogDataOutSet::Choice() const {
    NmeaOutputChoice choice;
    choice.setPort(m_com1->isChecked() ? 0 : 1);
    choice.setClearAll(m_clearAll->isChecked() ? 1 : 0);
    for (std::size_t sentence = 0; sentence < m_rows.size(); ++sentence) {
        const SentenceRow& row = m_rows[sentence];
        choice.setOn(sentence, row.on->isChecked() ? 1 : 0);
        choice.setRate(sentence, static_cast<Byte>(row.rate->currentIndex()));
    }
    return choice;
}

void CDialogDataOutSet::ApplyDataOutTexts() {
    setWindowTitle(TranslateText(m_translate, QStringLiteral("Data")));
    m_captions.Apply(m_translate);
}

void CDialogDataOutSet::SetControlFont(const QFont& font) {
    setFont(font);
    for (QWidget* control : findChildren<QWidget*>()) {
        control->setFont(font);
    }
    adjustSize();
}

} // namespace kestrava
