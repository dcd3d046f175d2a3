#pragma once

#include <string>
#include <string_view>
#include <vector>

class CSimWorld;

// One verb of the control socket: its name, its arguments as the usage shows
// them, how many it takes, and what it does; `run` gets the words after the
// verb, counted already.
struct SimVerb {
    const char* name;
    const char* arguments;
    size_t minArguments;
    size_t maxArguments;
    std::string (*run)(CSimWorld& world, const std::vector<std::string>& arguments);
};

// Every verb, in the order the usage lists them.
const std::vector<SimVerb>& SimVerbs();

// The answer to one command line, "ok ..." or "error: ...", without its newline.
std::string SimAnswer(CSimWorld& world, std::string_view line);

// "error: usage: VERB ARGUMENTS".
std::string SimUsageError(std::string_view verb);
