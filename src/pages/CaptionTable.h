#pragma once

#include "pages/PageTranslator.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <vector>

namespace kestrava {

// The English caption key of each control of a page or dialog. Apply() sets every caption from
// its key through the language lookup, so a change of language needs nothing but another Apply().
// Labels, buttons (push, radio, check) and group boxes are supported.
class CaptionTable {
public:
    void Add(QWidget* control, const QString& english);
    void Apply(const PageTranslator& translate) const;

    // The caption key registered for `control`; empty when it has none.
    QString KeyOf(const QWidget* control) const;

    static void SetCaption(QWidget* control, const QString& text);

private:
    struct Entry {
        QPointer<QWidget> control;
        QString english;
    };
    std::vector<Entry> m_entries;
};

} // namespace kestrava
