#include "forms/StaticForm.h"

#include "forms/FormText.h"
#include "settings/InputRules.h"

namespace kestrava {

FormResult<StaticForm::Collect> StaticForm::collect(const QString& interval,
                                                    const QString& cutoff) {
    if (!IntegerRangeRule(FormText::view(interval), 1, 255, true)) {
        return FormResult<Collect>::refuse(QStringLiteral(
            "Please make sure the collect interval is a plus integer between 1-255"));
    }
    if (!IntegerRangeRule(FormText::view(cutoff), 0, 90, true)) {
        return FormResult<Collect>::refuse(
            QStringLiteral("Please make sure the cutoff is a plus integer between 0-90"));
    }
    // Both passed the digits-only rule with a range, so the conversions cannot fail.
    return FormResult<Collect>::accept(Collect{interval.toInt(), cutoff.toInt()});
}

FormResult<StaticForm::Naming> StaticForm::naming(const QString& prefix, const QString& serial) {
    if (!PrefixRule(FormText::view(prefix))) {
        return FormResult<Naming>::refuse(QStringLiteral("The prefix can only be one letter"));
    }
    if (serial.size() > 3 || !IntegerRangeRule(FormText::view(serial), 0, 999, true)) {
        return FormResult<Naming>::refuse(
            QStringLiteral("The file SN should be a plus integer between 000-999"));
    }
    return FormResult<Naming>::accept(Naming{prefix, serial});
}

FormResult<bool> StaticForm::onOff(const QString& text, const QString& name) {
    if (text == QStringLiteral("1") || text == QStringLiteral("0")) {
        return FormResult<bool>::accept(text == QStringLiteral("1"));
    }
    // Only the command line names its switches this way; the page's switches are check boxes.
    const QString message = name + QLatin1String(" must be 1 or 0");
    return FormResult<bool>::refuse(message);
}

} // namespace kestrava
