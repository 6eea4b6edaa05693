#include "forms/PasswordForm.h"

#include "forms/FormText.h"
#include "settings/InputRules.h"

namespace kestrava {

namespace {

const QString kOnlyDigitsAndLetters =
    QStringLiteral("The password can be combined by only digit and letter");

} // namespace

FormResult<QString> PasswordForm::remote(const QString& password, const QString& confirm) {
    using Result = FormResult<QString>;
    const QString pwd = password.trimmed();
    if (confirm.trimmed() != pwd) {
        return Result::refuse(QStringLiteral("Please make sure put the same password"));
    }
    if (!AlphanumericRule(FormText::view(pwd))) {
        return Result::refuse(kOnlyDigitsAndLetters);
    }
    return Result::accept(pwd);
}

FormResult<QString> PasswordForm::wifi(const QString& password) {
    using Result = FormResult<QString>;
    if (password.size() < kWifiMinLength || password.size() > kWifiMaxLength) {
        return Result::refuse(QStringLiteral("The password must 8-30 chars"));
    }
    if (!AlphanumericRule(FormText::view(password))) {
        return Result::refuse(kOnlyDigitsAndLetters);
    }
    return Result::accept(password);
}

} // namespace kestrava
