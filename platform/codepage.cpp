#include "platform/codepage.h"

// standard
#include <cstdint>
#include <map>
#include <mutex>

// ours
#include "platform/ascii.h"
#include "platform/codepagetables.h"

namespace platform {

namespace {

constexpr int knownPages[] = {874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258};

/// The Windows code page of a language (lower-case ISO 639 code). The locale's
/// modifier picks the script where a language has two: "sr" and "uz".
int pageForLanguage(std::string_view language, std::string_view modifier)
{
    struct Row {
        int page;
        std::initializer_list<std::string_view> languages;
    };
    static const Row rows[] = {
        {1251, {"ru", "uk", "be", "bg", "mk", "sr", "kk", "ky", "tg", "mn", "tt", "ba", "cv", "sah"}},
        {1250, {"pl", "cs", "sk", "hu", "sl", "hr", "ro", "bs", "sq", "tk"}},
        {1253, {"el"}},
        {1254, {"tr", "az", "uz"}},
        {1255, {"he", "iw", "yi"}},
        {1256, {"ar", "fa", "ur", "ps", "ug", "ckb"}},
        {1257, {"lt", "lv", "et"}},
        {1258, {"vi"}},
        {874, {"th"}},
    };
    if (language == "sr" && modifier == "latin")
        return 1250;
    if (language == "uz" && modifier == "cyrillic")
        return 1251;
    for (const auto& row : rows)
        for (auto name : row.languages)
            if (name == language)
                return row.page;
    return 1252;
}

std::mutex& cacheLock()
{
    static std::mutex lock;
    return lock;
}

} // namespace

std::optional<CodePage> CodePage::windows(int number)
{
    bool known = false;
    for (int page : knownPages)
        known = known || page == number;
    if (!known)
        return std::nullopt;

    // Built once per code page; later calls copy the finished table.
    static std::map<int, std::optional<CodePage>> cache;
    std::lock_guard guard(cacheLock());
    if (auto it = cache.find(number); it != cache.end())
        return it->second;

    auto& entry = cache[number];
    const auto table = decodePage(number);
    if (!table)
        return entry;

    CodePage page;
    page.number_ = number;
    bool defined[256] = {};
    for (std::size_t byte = 0; byte < 256; ++byte) {
        const auto& c = (*table)[byte];
        defined[byte] = c.has_value();
        // An undefined byte stands for the character of the same number, so
        // that it survives a round trip, as on Windows.
        page.toUnicode_[byte] = c ? *c : static_cast<char16_t>(byte);
    }

    // Defined bytes claim their characters first; an undefined byte's
    // stand-in never takes a character a defined byte already has.
    for (int pass = 0; pass < 2; ++pass)
        for (int byte = 0; byte < 256; ++byte)
            if (defined[byte] == (pass == 0))
                page.fromUnicode_.emplace(page.toUnicode_[static_cast<std::size_t>(byte)],
                                          static_cast<unsigned char>(byte));
    entry = std::move(page);
    return entry;
}

int CodePage::numberForLocale(std::string_view localeName)
{
    // language[_territory][.codeset][@modifier]; BCP 47 style "ru-RU" too.
    const auto end = localeName.find_first_of("_.@-");
    const std::string language = asciiLower(localeName.substr(0, end));
    std::string modifier;
    if (auto at = localeName.find('@'); at != std::string_view::npos)
        modifier = asciiLower(localeName.substr(at + 1));
    return pageForLanguage(language, modifier);
}

const CodePage& CodePage::system()
{
    static const CodePage page = [] {
        if (auto page = windows(systemPageNumber()))
            return *page;
        if (auto page = windows(1252))
            return *page;
        // Last resort when the system lacks even Windows-1252: every byte stands
        // for the character of the same number, which still keeps every byte.
        CodePage latin1;
        latin1.number_ = 1252;
        for (int byte = 0; byte < 256; ++byte) {
            latin1.toUnicode_[static_cast<std::size_t>(byte)] = static_cast<char16_t>(byte);
            latin1.fromUnicode_.emplace(static_cast<char16_t>(byte), static_cast<unsigned char>(byte));
        }
        return latin1;
    }();
    return page;
}

QString CodePage::toUnicode(std::string_view bytes) const
{
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    auto* out = text.data();
    for (std::size_t i = 0; i < bytes.size(); ++i)
        out[i] = QChar(toUnicode_[static_cast<unsigned char>(bytes[i])]);
    return text;
}

std::optional<std::string> CodePage::fromUnicode(const QString& text) const
{
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (QChar c : text) {
        auto it = fromUnicode_.find(c.unicode());
        if (it == fromUnicode_.end())
            return std::nullopt;
        bytes.push_back(static_cast<char>(it->second));
    }
    return bytes;
}

bool CodePage::canEncode(char16_t c) const
{
    return fromUnicode_.find(c) != fromUnicode_.end();
}

} // namespace platform
