#include "pages/PositionPanel.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>

#include <cmath>

namespace kestrava {
namespace {

const char* const kLabels[PositionPanel::Fields] = {
    QT_TR_NOOP("Fix:"),      QT_TR_NOOP("Satellites:"), QT_TR_NOOP("HDOP:"),  QT_TR_NOOP("Age:"),
    QT_TR_NOOP("Latitude:"), QT_TR_NOOP("Longitude:"),  QT_TR_NOOP("Height:")};

// The fix types the block shows, as the language file keys them.
const char* const kQualities[] = {
    QT_TR_NOOP("No fix"),    QT_TR_NOOP("GPS"),       QT_TR_NOOP("DGPS"),
    QT_TR_NOOP("PPS"),       QT_TR_NOOP("RTK fixed"), QT_TR_NOOP("RTK float"),
    QT_TR_NOOP("Estimated"), QT_TR_NOOP("Manual"),    QT_TR_NOOP("Simulation")};

QString angle(const std::optional<double>& value, QChar positive, QChar negative) {
    if (!value) {
        return {};
    }
    return QStringLiteral("%1 %2")
        .arg(std::fabs(*value), 0, 'f', 8)
        .arg(*value < 0 ? negative : positive);
}

} // namespace

PositionPanel::PositionPanel(QWidget* parent) : QGroupBox(parent) {
    m_captions.Add(this, QStringLiteral("Position"));
    auto* grid = new QGridLayout(this);
    for (int i = 0; i < Fields; ++i) {
        auto* label = new QLabel(this);
        m_captions.Add(label, QString::fromLatin1(kLabels[i]));
        m_values[static_cast<std::size_t>(i)] = new QLabel(this);
        m_values[static_cast<std::size_t>(i)]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(label, i, 0);
        grid->addWidget(m_values[static_cast<std::size_t>(i)], i, 1);
    }
    grid->setColumnStretch(1, 1);
    fitValues();
    m_stale.setSingleShot(true);
    connect(&m_stale, &QTimer::timeout, this, &PositionPanel::Clear);
    m_captions.Apply(m_translate);
}

void PositionPanel::fitValues() {
    // Room for the widest value, so a position is never cut.
    const int widest = fontMetrics().horizontalAdvance(QStringLiteral("000.00000000 W"));
    for (QLabel* value : m_values) {
        value->setMinimumWidth(widest);
    }
}

void PositionPanel::changeEvent(QEvent* event) {
    QGroupBox::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        fitValues();
    }
}

void PositionPanel::Feed(const std::uint8_t* bytes, std::size_t count) {
    const std::size_t before = m_decoder.count("GGA");
    m_decoder.feed(bytes, count);
    if (m_decoder.count("GGA") != before) {
        show(m_decoder.fix());
        m_stale.start(kStaleMs);
    }
}

void PositionPanel::Clear() {
    m_stale.stop();
    m_decoder = NmeaDecoder();
    m_shown = false;
    for (QLabel* value : m_values) {
        value->clear();
    }
}

void PositionPanel::ApplyPositionTexts(const PageTranslator& translate) {
    m_translate = translate;
    m_captions.Apply(m_translate);
    if (m_shown) {
        show(m_decoder.fix());
    }
}

QString PositionPanel::FieldText(Field field) const {
    return m_values[static_cast<std::size_t>(field)]->text();
}

std::optional<GeodeticPosition> PositionPanel::Position() const {
    const NmeaFix& fix = m_decoder.fix();
    if (!m_shown || !fix.latitude || !fix.longitude || fix.quality <= 0) {
        return std::nullopt;
    }
    return GeodeticPosition{*fix.latitude, *fix.longitude, fix.height.value_or(0.0)};
}

void PositionPanel::show(const NmeaFix& fix) {
    m_shown = true;
    const bool named = fix.quality >= 0 && fix.quality < static_cast<int>(std::size(kQualities));
    m_values[Fix]->setText(
        named ? TranslateText(m_translate, QString::fromLatin1(kQualities[fix.quality]))
              : (fix.quality < 0 ? QString() : QString::number(fix.quality)));
    m_values[Satellites]->setText(fix.satellites >= 0 ? QString::number(fix.satellites)
                                                      : QString());
    m_values[Hdop]->setText(fix.hdop ? QString::number(*fix.hdop, 'f', 1) : QString());
    m_values[Age]->setText(fix.age ? QStringLiteral("%1 s").arg(*fix.age, 0, 'f', 1) : QString());
    m_values[Latitude]->setText(angle(fix.latitude, QLatin1Char('N'), QLatin1Char('S')));
    m_values[Longitude]->setText(angle(fix.longitude, QLatin1Char('E'), QLatin1Char('W')));
    m_values[Height]->setText(fix.height ? QStringLiteral("%1 m").arg(*fix.height, 0, 'f', 2)
                                         : QString());
}

} // namespace kestrava
