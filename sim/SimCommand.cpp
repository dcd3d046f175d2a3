#include "sim/SimCommand.h"

#include <cstdlib>

#include "platform/StateDirectory.h"

bool SimSplitCommand(std::string_view line, std::vector<std::string>& words, std::string& error)
{
    words.clear();
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r' || line[i] == '\n'))
            ++i;
        if (i == line.size())
            break;
        std::string word;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' && line[i] != '\n') {
            if (line[i] != '"') {
                word += line[i++];
                continue;
            }
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\'))
                    c = line[i++];
                word += c;
            }
            if (!closed) {
                error = "unterminated quote";
                return false;
            }
        }
        words.push_back(word);
    }
    return true;
}

std::string SimQuoteWord(std::string_view word)
{
    bool plain = !word.empty() && word.find_first_of(" \t\r\n\"\\") == std::string_view::npos;
    if (plain)
        return std::string(word);
    size_t equals = word.find('=');
    std::string out;
    if (equals != std::string_view::npos && equals > 0 &&
        word.substr(0, equals).find_first_of(" \t\r\n\"\\") == std::string_view::npos) {
        out = std::string(word.substr(0, equals + 1));
        word.remove_prefix(equals + 1);
    }
    out += '"';
    for (char c : word) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + '"';
}

std::string SimSocketPath()
{
    const char* path = std::getenv("ZARNWELL_SIM_SOCKET");
    if (path && *path)
        return path;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime == '/')
        return std::string(runtime) + "/zarnwell-sim.sock";
    std::string state = StateDirectory();
    return state.empty() ? std::string() : state + "/zarnwell-sim.sock";
}
