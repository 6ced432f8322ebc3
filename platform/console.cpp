#include "platform/console.h"

// standard
#include <cstdio>

// ours
#include "platform/process.h"
#include "platform/textlines.h"

namespace platform {

bool writeStandardOutput(std::string_view bytes)
{
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() && std::fflush(stdout) == 0;
}

bool sameFile(const std::string& a, const std::string& b)
{
    const auto first = fileIdentity(a);
    return first && first == fileIdentity(b);
}

Status checkStandardOutput(const std::string& input)
{
    const std::optional<OutputFile> out = standardOutputFile();
    if (!out)
        return Status::success(); // a terminal or a pipe takes any text
    auto refused = [](const std::string& why) {
        return Status::failure({"Standard output " + why, Status::kNothingWritten}, {}, "-");
    };
    if (const auto in = input.empty() ? std::nullopt : fileIdentity(input); in && *in == out->identity)
        return refused("is the input file itself.");
    // The text writer's check of a file it would replace, made on the file
    // the text would be added to, and worded for standard output.
    auto found = checkOurText(out->length, [&] { return readStandardOutputFile(out->length); });
    if (!found)
        return refused("is a file that could not be read to see that it is a text file: " + found.error() + ".");
    const std::string never = "; no text is ever written into it.";
    switch (found->kind) {
    case NotOurText::Kind::None:
        break;
    case NotOurText::Kind::GameFile:
        return refused("is " + found->game + never);
    case NotOurText::Kind::TooLarge:
        return refused("is a file of " + std::to_string(out->length) + " bytes, and " + std::string(kTextFileLimit) +
                       never);
    case NotOurText::Kind::ZeroByte:
        return refused("is not a text file (it holds bytes of value zero)" + never);
    }
    return Status::success();
}

std::string versionText(std::string_view name)
{
    return std::string(name) + " " VARNHOLD_VERSION "\n"
                               "Copyright (c) " VARNHOLD_COPYRIGHT "\n"
                               "License MIT: <https://opensource.org/licenses/MIT>.\n"
                               "This is free software: you are free to change and redistribute it.\n"
                               "There is NO WARRANTY, to the extent permitted by law.\n";
}

std::optional<int> answerDesktopOption(int argc, char** argv, std::string_view name, std::string_view help)
{
    // The options are ASCII, the same bytes in every code page.
    const std::string_view option = argc > 1 && argv[1] ? std::string_view(argv[1]) : std::string_view();
    if (option == "--help" || option == "-h") {
        std::fwrite(help.data(), 1, help.size(), stdout);
        return 0;
    }
    if (option == "--version") {
        const std::string text = versionText(name);
        std::fprintf(stdout, "%.*s", int(text.size()), text.data());
        return 0;
    }
    return std::nullopt;
}

} // namespace platform
