#pragma once

#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>

namespace kestrava::test {

// A point on the groove of a horizontal slider at `fraction` of its width, where a mouse click
// pages the slider towards it (the groove's height depends on the style and the tick marks).
inline QPoint PointOnGroove(const QSlider& slider, double fraction) {
    QStyleOptionSlider option;
    option.initFrom(&slider);
    option.orientation = slider.orientation();
    option.minimum = slider.minimum();
    option.maximum = slider.maximum();
    option.sliderPosition = slider.sliderPosition();
    option.sliderValue = slider.value();
    option.singleStep = slider.singleStep();
    option.pageStep = slider.pageStep();
    option.tickPosition = slider.tickPosition();
    option.tickInterval = slider.tickInterval();
    if (slider.orientation() == Qt::Horizontal) {
        option.state |= QStyle::State_Horizontal;
    }
    const QRect groove = slider.style()->subControlRect(QStyle::CC_Slider, &option,
                                                        QStyle::SC_SliderGroove, &slider);
    return {groove.left() + static_cast<int>(groove.width() * fraction), groove.center().y()};
}

} // namespace kestrava::test
