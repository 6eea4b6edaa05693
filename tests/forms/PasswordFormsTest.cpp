// The APN dialog's and the Basic page's password forms: what is refused, with which words, and
// what is sent.
#include "forms/ApnForm.h"
#include "forms/PasswordForm.h"

#include <gtest/gtest.h>

namespace kestrava {
namespace {

const char* const kOnlyDigitsAndLetters = "The password can be combined by only digit and letter";

TEST(PasswordForm, remotePasswordIsTrimmedComparedExactlyAndAlphanumeric) {
    struct Case {
        const char* password;
        const char* confirm;
        const char* refusal; // nullptr: accepted
        const char* sent;
    };
    for (const Case& c :
         {Case{" abc123 ", " abc123 ", nullptr, "abc123"},
          Case{"abc123", "ABC123", "Please make sure put the same password", nullptr},
          Case{"", "", kOnlyDigitsAndLetters, nullptr},
          Case{"abc_1", "abc_1", kOnlyDigitsAndLetters, nullptr},
          Case{"a b", "a b", kOnlyDigitsAndLetters, nullptr}}) {
        const FormResult<QString> result =
            PasswordForm::remote(QString::fromLatin1(c.password), QString::fromLatin1(c.confirm));
        if (c.refusal == nullptr) {
            ASSERT_TRUE(result.ok()) << c.password;
            EXPECT_EQ(result.record().toStdString(), c.sent);
        } else {
            ASSERT_FALSE(result.ok()) << c.password;
            EXPECT_EQ(result.refusal().toStdString(), c.refusal) << c.password;
        }
    }
}

TEST(PasswordForm, wifiPasswordIsEightToThirtyLettersAndDigitsAsTyped) {
    const char* const kLength = "The password must 8-30 chars";
    struct Case {
        QString password;
        const char* refusal;
    };
    for (const Case& c : {Case{QString(7, 'a'), kLength}, Case{QString(8, 'a'), nullptr},
                          Case{QString(30, '9'), nullptr}, Case{QString(31, 'a'), kLength},
                          Case{QStringLiteral("abcd efgh"), kOnlyDigitsAndLetters},
                          Case{QStringLiteral(" abcdefgh"), kOnlyDigitsAndLetters}}) {
        const FormResult<QString> result = PasswordForm::wifi(c.password);
        if (c.refusal == nullptr) {
            ASSERT_TRUE(result.ok()) << c.password.toStdString();
            EXPECT_EQ(result.record(), c.password);
        } else {
            ASSERT_FALSE(result.ok()) << c.password.toStdString();
            EXPECT_EQ(result.refusal().toStdString(), c.refusal);
        }
    }
}

TEST(ApnForm, takesTextsAsTypedUpToFiftyBytesEach) {
    EXPECT_TRUE(ApnForm::validate(QString(), QString()).ok());
    const FormResult<ApnForm::Login> fits =
        ApnForm::validate(QString(50, 'u') + QString(), QStringLiteral(" pw "));
    ASSERT_TRUE(fits.ok());
    EXPECT_EQ(fits.record().password, " pw ");

    const FormResult<ApnForm::Login> longUser = ApnForm::validate(QString(60, 'u'), QString());
    ASSERT_FALSE(longUser.ok());
    EXPECT_EQ(longUser.refusal(), "The APN username must not exceed 50 bytes");
    const FormResult<ApnForm::Login> longPassword = ApnForm::validate(QString(), QString(51, 'p'));
    ASSERT_FALSE(longPassword.ok());
    EXPECT_EQ(longPassword.refusal(), "The APN password must not exceed 50 bytes");
}

} // namespace
} // namespace kestrava
