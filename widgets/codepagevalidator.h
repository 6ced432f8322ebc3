#pragma once

// Refuses, as they are typed, the characters that the code page cannot hold.

// Qt
#include <QValidator>

// ours
#include "platform/codepage.h"

namespace widgets {

class CodePageValidator final : public QValidator {
    Q_OBJECT
public:
    explicit CodePageValidator(const platform::CodePage& codePage, QObject* parent = nullptr);
    State validate(QString& input, int& pos) const override;

private:
    const platform::CodePage& codePage_;
};

} // namespace widgets
