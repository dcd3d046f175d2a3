#pragma once

#include <cstring>
#include <map>
#include <mutex>
#include <sstream>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include "adapter/driver_library/CDriverLibrary.h"

// Wraps a library, logs every call with the values of its arguments as the
// caller passed them ("RT_SetPrivacy(1,128)"), and can replace a call's
// result to inject faults (a false result, a zero count, a count above 128).
// A test that needs to damage an output buffer derives and overrides the call.
class CRecordingDriverLibrary : public CDriverLibrary {
public:
    explicit CRecordingDriverLibrary(CDriverLibrary& library) : library(library) {}

    std::vector<std::string> Calls() const;
    // Calls whose name starts with `prefix`, e.g. "RT_Set".
    std::vector<std::string> CallsStartingWith(const std::string& prefix) const;
    void ClearCalls();
    // Every later call of `name` returns `value` (after the real call ran).
    void OverrideResult(const std::string& name, long long value);
    void ClearOverrides();

#define ZARNWELL_RECORD(result, name, params, args)              \
    result name params override                                  \
    {                                                            \
        Record(#name, std::tie args);                            \
        return Forward<result>(#name, [&] { return library.name args; }); \
    }
    ZARNWELL_DRIVER_FUNCTIONS(ZARNWELL_RECORD)
#undef ZARNWELL_RECORD

private:
    template <typename Tuple>
    void Record(const char* name, const Tuple& arguments)
    {
        std::ostringstream line;
        line << name << '(';
        std::apply(
            [&](const auto&... each) {
                int i = 0;
                ((line << (i++ ? "," : ""), Format(line, each)), ...);
            },
            arguments);
        line << ')';
        std::lock_guard lock(mutex);
        calls.push_back(line.str());
    }

    template <typename R, typename Call>
    R Forward(const char* name, Call call)
    {
        if constexpr (std::is_void_v<R>) {
            call();
        } else {
            R real = call();
            std::lock_guard lock(mutex);
            auto it = overrides.find(name);
            return it == overrides.end() ? real : static_cast<R>(it->second);
        }
    }

    static void Format(std::ostream& out, const char* text);
    static void FormatBytes(std::ostream& out, const uint8_t* bytes, size_t size);
    template <size_t N>
    static void Format(std::ostream& out, const char (&text)[N])
    {
        out << '"' << std::string(text, strnlen(text, N)) << '"';
    }
    template <size_t N>
    static void Format(std::ostream& out, const uint8_t (&bytes)[N])
    {
        FormatBytes(out, bytes, N);
    }
    template <typename T>
    static void Format(std::ostream& out, const T& value)
    {
        if constexpr (std::is_same_v<T, bool>)
            out << (value ? 1 : 0);
        else if constexpr (std::is_integral_v<T>)
            out << +value;
        else if constexpr (std::is_pointer_v<T>)
            out << (value ? "ptr" : "null");
        else
            out << "{record}";
    }

    CDriverLibrary& library;
    mutable std::mutex mutex;
    std::vector<std::string> calls;
    std::map<std::string, long long> overrides;
};
