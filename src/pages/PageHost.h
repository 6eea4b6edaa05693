#pragma once

#include "forms/FormResult.h"

#include <QFont>
#include <QString>

namespace kestrava {

class ExchangeRequests;
struct StoredSettings;

// What a page may ask of the window it lives in. The pages' handlers decide everything
// themselves (port check, validation, what to store, which command to send); the host only
// offers the means. The window implements it with its exchange, settings and message boxes;
// tests implement it with a fake or with the real exchange on the receiver emulator.
//
// Texts handed to showMessage and askYesNo are English keys: the host translates them at the
// moment they are shown, so a page never holds a translated text it could show twice.
class PageHost {
public:
    virtual ~PageHost() = default;

    // The sign, everywhere, that the port is open.
    virtual bool portOpen() const = 0;
    // The exchange's requests, and what it has learnt of the receiver.
    virtual ExchangeRequests& exchange() = 0;
    // The record of settings kept between runs; pages change the fields their Set stores.
    virtual StoredSettings& settings() = 0;

    // The English text in the chosen language.
    virtual QString translate(const QString& english) const = 0;
    // A box with an OK button showing english translated.
    virtual void showMessage(const QString& english) = 0;
    // A box with the same text, already final (translated or composed by the caller).
    virtual void showFinalMessage(const QString& text) = 0;
    // A box that refuses what the user asked for (input that cannot be sent, the port closed) or
    // reports a failure: english translated, with a warning sign. A host without its own kind of
    // box shows it as any other.
    virtual void showWarning(const QString& english) { showMessage(english); }
    // The same box with a text already final (translated or composed by the caller).
    virtual void showFinalWarning(const QString& text) { showFinalMessage(text); }
    // A form's refusal in the chosen language, its values filled in after the translation.
    template <class Record>
    void showRefusal(const FormResult<Record>& refused) {
        showFinalWarning(refused.refusalIn([this](const QString& key) { return translate(key); }));
    }
    // A Yes/No question; anything but Yes is false.
    virtual bool askYesNo(const QString& english) = 0;

    // File dialogs; an empty result means the user cancelled. filter is in Qt's
    // "Description (*.ext);;..." form.
    virtual QString chooseOpenFile(const QString& title, const QString& startPath,
                                   const QString& filter) = 0;
    virtual QString chooseSaveFile(const QString& title, const QString& suggestedPath,
                                   const QString& filter) = 0;

    // The font of the chosen language, for popup dialogs the pages open.
    virtual QFont languageFont() const = 0;
};

} // namespace kestrava
