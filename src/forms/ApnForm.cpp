#include "forms/ApnForm.h"

#include "forms/FormText.h"

namespace kestrava {

FormResult<ApnForm::Login> ApnForm::validate(const QString& userName, const QString& password) {
    using Result = FormResult<Login>;
    if (!FormText::sendable(userName)) {
        return Result::refuse(
            QStringLiteral("The APN username holds characters the receiver cannot store"));
    }
    if (!FormText::sendable(password)) {
        return Result::refuse(
            QStringLiteral("The APN password holds characters the receiver cannot store"));
    }
    if (!FormText::fits(userName, kFieldBytes)) {
        return Result::refuse(QStringLiteral("The APN username must not exceed 50 bytes"));
    }
    if (!FormText::fits(password, kFieldBytes)) {
        return Result::refuse(QStringLiteral("The APN password must not exceed 50 bytes"));
    }
    return Result::accept(Login{userName, password});
}

} // namespace kestrava
