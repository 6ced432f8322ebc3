#pragma once

// Refuses, as they are typed, the characters that the code page cannot hold.

// Qt
#include <QValidator>

// ours
#include "platform/codepage.h"

namespace platform {

class CodePageValidator final : public QValidator {
    Q_OBJECT
public:
    explicit CodePageValidator(const CodePage& codePage, QObject* parent = nullptr);
    State validate(QString& input, int& pos) const override;

private:
    const CodePage& codePage_;
};

} // namespace platform
