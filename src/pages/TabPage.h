#pragma once

#include "pages/CaptionTable.h"
#include "pages/PageTranslator.h"
#include "pages/TextConverter.h"

#include <QList>
#include <QString>
#include <QWidget>

class QGroupBox;
class QKeyEvent;
class QLabel;
class QPushButton;

namespace kestrava {

class PageHost;

// What every tab page shares: the language lookup, the converter for receiver texts, the table
// of caption keys, and the keyboard rule that Enter and Escape neither close nor reset a page
// (the main window is a dialog, and both keys would otherwise end it).
class TabPage : public QWidget {
    Q_OBJECT

public:
    explicit TabPage(QWidget* parent = nullptr);

    // The language lookup; may be empty (English texts). Takes effect with the next relabel.
    void SetTranslator(PageTranslator translate);
    // The converter for text fields from the receiver; empty means the system's 8-bit encoding.
    void SetTextConverter(TextConverter convert);
    // What the page may ask of its window (port, exchange, settings, boxes, file dialogs); the
    // page's handlers do nothing until it is given one. It must outlive the page's use of it.
    void SetHost(PageHost* host) { m_host = host; }
    PageHost* Host() const { return m_host; }

    // Whether a control shows a value not read from the receiver connected now (see MarkUnread).
    static bool IsMarkedUnread(const QWidget* control);

protected:
    // The host when the port is open. Otherwise the user is told "Please open port first" (when
    // there is a host at all) and the result is null: every sending handler starts here.
    PageHost* HostWithOpenPort() const;

    QString Tr(const QString& english) const { return TranslateText(m_translate, english); }
    QString ToText(const ByteString& bytes) const { return ConvertText(m_convert, bytes); }
    // Relabels the captions, and the tool tips of the values marked unread.
    void ApplyCaptions() const;

    // Marks controls whose values are the last session's (or another receiver's), not read from
    // the receiver connected now: their text is drawn dim (edits slanted too) and their tool tip
    // says so. A read that fills them takes the mark off, and so does typing into an edit (the
    // value is the user's then).
    void MarkUnread(const QList<QWidget*>& controls, bool unread);

    // Control construction for page constructors. AddCaption registers `english` as the caption
    // key of a control, so ApplyCaptions() relabels it; the others first create the control named
    // by its id (see MakeControl) and register its key the same way.
    void AddCaption(QWidget* control, const char* english);
    QLabel* AddLabel(int id, QWidget* parent, const char* english);
    QGroupBox* AddGroup(int id, QWidget* parent, const char* english);
    // Buttons are never auto-default: Enter must not press a button of the page. A null `english`
    // registers no caption key, for buttons whose text the page sets itself (toggles).
    QPushButton* AddButton(int id, QWidget* parent, const char* english);

    void keyPressEvent(QKeyEvent* event) override;

private:
    PageTranslator m_translate;
    TextConverter m_convert;
    CaptionTable m_captions;
    PageHost* m_host = nullptr;
};

} // namespace kestrava
