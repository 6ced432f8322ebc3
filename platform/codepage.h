#pragma once

// The game's texts are 8-bit characters of the Windows code page that the
// system locale implies. They stay bytes in memory and in files; this module
// turns them into Unicode for display and back when the user has edited them.
// Every byte value survives the round trip: bytes the code page leaves
// undefined map one-to-one to U+0080..U+00FF, as Windows does.

// standard
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

// Qt
#include <QString>

namespace platform {

class CodePage {
public:
    /// The code page the system uses for 8-bit texts, built on first use: on
    /// Windows its ANSI code page, elsewhere the one the locale (LC_ALL,
    /// LC_CTYPE, LANG) implies; Windows-1252 when that is none of the
    /// single-byte pages below.
    static const CodePage& system();

    /// A Windows single-byte code page by number (1250..1258, 874), built
    /// with the system's converter (iconv, or Windows itself); std::nullopt
    /// when the number is not one of them or the system lacks it.
    static std::optional<CodePage> windows(int number);

    /// The Windows code page a POSIX locale name implies: "ru_RU.UTF-8" 1251,
    /// "pl_PL" 1250, "de_DE" 1252, "" or "C" 1252.
    static int numberForLocale(std::string_view localeName);

    int number() const { return number_; }

    /// Never fails: every byte has a character.
    QString toUnicode(std::string_view bytes) const;
    /// std::nullopt when a character has no byte in this code page.
    std::optional<std::string> fromUnicode(const QString& text) const;
    bool canEncode(char16_t c) const;

private:
    CodePage() = default;

    int number_ = 0;
    std::array<char16_t, 256> toUnicode_{};
    std::unordered_map<char16_t, unsigned char> fromUnicode_;
};

} // namespace platform
