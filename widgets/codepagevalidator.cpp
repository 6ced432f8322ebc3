#include "widgets/codepagevalidator.h"

namespace widgets {

CodePageValidator::CodePageValidator(const platform::CodePage& codePage, QObject* parent)
    : QValidator(parent), codePage_(codePage)
{
}

QValidator::State CodePageValidator::validate(QString& input, int& /*pos*/) const
{
    // Any character without a byte in the code page (including either half of
    // a surrogate pair) refuses the whole edit, so it never reaches the text.
    for (QChar c : input)
        if (!codePage_.canEncode(c.unicode()))
            return Invalid;
    return Acceptable;
}

} // namespace widgets
