#include "platform/CommandLine.h"

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

} // namespace

std::vector<std::string> SplitCommandLine(std::string_view line)
{
    std::vector<std::string> args;
    size_t i = 0;
    while (i < line.size() && IsBlank(line[i]))
        ++i;
    if (i == line.size())
        return args;

    std::string program;
    bool quoted = false;
    for (; i < line.size() && (quoted || !IsBlank(line[i])); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else
            program += line[i];
    }
    args.push_back(program);

    while (true) {
        while (i < line.size() && IsBlank(line[i]))
            ++i;
        if (i == line.size())
            return args;
        std::string arg;
        quoted = false;
        while (i < line.size() && (quoted || !IsBlank(line[i]))) {
            if (line[i] == '\\') {
                size_t backslashes = 0;
                while (i < line.size() && line[i] == '\\') {
                    ++backslashes;
                    ++i;
                }
                if (i < line.size() && line[i] == '"') {
                    arg.append(backslashes / 2, '\\');
                    if (backslashes % 2 == 1) {
                        arg += '"';
                        ++i;
                    }
                    // An even count leaves the quote to group below.
                } else {
                    arg.append(backslashes, '\\');
                }
                continue;
            }
            if (line[i] == '"')
                quoted = !quoted;
            else
                arg += line[i];
            ++i;
        }
        args.push_back(arg);
    }
}

std::string QuoteArgument(std::string_view argument)
{
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled, and the quote escaped.
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    // Before the closing quote as well.
    quoted.append(backslashes * 2, '\\');
    return quoted + '"';
}
