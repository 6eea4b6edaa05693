#pragma once

class QWidget;

namespace kestrava {

// Places the main window's own controls for the font and the texts they show right now. The
// positions are the window's dialog-unit layout converted with the font in use; where a text or
// a page needs more room than that gives (a wider font, a longer translation), the control grows
// and what lies to its right or below moves along, and the window grows with them. Nothing is
// cut off and no control overlaps another, in any language and at any scale.
class MainWindowLayout {
public:
    // Finds the controls of `window` by their ids; call again after a change of language.
    static void apply(QWidget& window);
};

} // namespace kestrava
