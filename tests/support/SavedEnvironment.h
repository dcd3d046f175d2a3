#pragma once

#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Saves environment variables and puts them back as they were when it goes.
class CSavedEnvironment {
public:
    explicit CSavedEnvironment(std::initializer_list<const char*> names)
    {
        for (const char* name : names) {
            const char* value = std::getenv(name);
            saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
        }
    }
    ~CSavedEnvironment()
    {
        for (const auto& [name, value] : saved) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
    }
    CSavedEnvironment(const CSavedEnvironment&) = delete;
    CSavedEnvironment& operator=(const CSavedEnvironment&) = delete;

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
};
