#pragma once

#include "ntrip/StationPosition.h"
#include "pages/CaptionTable.h"
#include "pages/PageTranslator.h"
#include "protocol/NmeaDecoder.h"

#include <QGroupBox>
#include <QTimer>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

class QLabel;

namespace kestrava {

// The "Position" block under the main information: the receiver's live fix as its NMEA says it
// (fix type in words, satellites used, HDOP, age of corrections, latitude, longitude, height).
// It reads the same received bytes as the Advanced page's display and never sends anything; it
// is blank while no GGA arrives (and a few seconds after the last one).
class PositionPanel : public QGroupBox {
    Q_OBJECT

public:
    // After this long without a GGA the block empties again.
    static constexpr int kStaleMs = 3000;

    explicit PositionPanel(QWidget* parent = nullptr);

    void Feed(const std::uint8_t* bytes, std::size_t count);
    void Clear();
    void ApplyPositionTexts(const PageTranslator& translate);

    enum Field { Fix, Satellites, Hdop, Age, Latitude, Longitude, Height, Fields };
    QString FieldText(Field field) const;
    // The receiver's position while the block shows one.
    std::optional<GeodeticPosition> Position() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void show(const NmeaFix& fix);
    void fitValues();

    PageTranslator m_translate;
    CaptionTable m_captions;
    NmeaDecoder m_decoder;
    std::array<QLabel*, Fields> m_values{};
    QTimer m_stale;
    bool m_shown = false;
};

} // namespace kestrava
