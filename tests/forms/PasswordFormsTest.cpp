// The Basic page's password forms and the APN dialog's form: what is refused, with which words,
// and what is sent.
#include "forms/ApnForm.h"
#include "forms/PasswordForm.h"

#include <gtest/gtest.h>

namespace kestrava {
namespace {

const char* const kOnlyDigitsAndLetters = "The password can be combined by only digit and letter";

// The refusal, or "sent:" and what would be sent.
template <class Record>
std::string outcome(const FormResult<Record>& result, const QString& sent) {
    return result.ok() ? "sent:" + sent.toStdString() : result.refusal().toStdString();
}

TEST(PasswordForms, refuseWithThePagesWordsOrGiveWhatIsSent) {
    struct Case {
        std::string actual;
        std::string expected;
    };
    auto remote = [](const char* pwd, const char* confirm) {
        const auto r = PasswordForm::remote(QString::fromLatin1(pwd), QString::fromLatin1(confirm));
        return outcome(r, r.ok() ? r.record() : QString());
    };
    auto wifi = [](const QString& pwd) {
        const auto r = PasswordForm::wifi(pwd);
        return outcome(r, r.ok() ? r.record() : QString());
    };
    auto apn = [](const QString& user, const QString& pwd) {
        const auto r = ApnForm::validate(user, pwd);
        return outcome(r, r.ok() ? r.record().userName + '|' + r.record().password : QString());
    };
    const Case cases[] = {
        {remote(" abc123 ", "abc123 "), "sent:abc123"},
        {remote("abc123", "ABC123"), "Please make sure put the same password"},
        {remote("", ""), kOnlyDigitsAndLetters},
        {remote("abc_1", "abc_1"), kOnlyDigitsAndLetters},
        {wifi(QString(7, 'a')), "The password must 8-30 chars"},
        {wifi(QString(31, 'a')), "The password must 8-30 chars"},
        {wifi(QString(8, 'a')), "sent:aaaaaaaa"},
        {wifi(QString(30, '9')), "sent:" + std::string(30, '9')},
        {wifi(QStringLiteral("abcd efgh")), kOnlyDigitsAndLetters},
        {apn(QString(), QString()), "sent:|"},
        {apn(QString(50, 'u'), QStringLiteral(" pw ")), "sent:" + std::string(50, 'u') + "| pw "},
        {apn(QString(51, 'u'), QString()), "The APN username must not exceed 50 bytes"},
        {apn(QString(), QString(51, 'p')), "The APN password must not exceed 50 bytes"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.actual, c.expected);
    }
}

} // namespace
} // namespace kestrava
