#include "adapter/driver_library/CRecordingDriverLibrary.h"

#include <iomanip>

std::vector<std::string> CRecordingDriverLibrary::Calls() const
{
    std::lock_guard lock(mutex);
    return calls;
}

std::vector<std::string> CRecordingDriverLibrary::CallsStartingWith(const std::string& prefix) const
{
    std::lock_guard lock(mutex);
    std::vector<std::string> matching;
    for (const std::string& call : calls)
        if (call.compare(0, prefix.size(), prefix) == 0)
            matching.push_back(call);
    return matching;
}

void CRecordingDriverLibrary::ClearCalls()
{
    std::lock_guard lock(mutex);
    calls.clear();
}

void CRecordingDriverLibrary::OverrideResult(const std::string& name, long long value)
{
    std::lock_guard lock(mutex);
    overrides[name] = value;
}

void CRecordingDriverLibrary::ClearOverrides()
{
    std::lock_guard lock(mutex);
    overrides.clear();
}

void CRecordingDriverLibrary::Format(std::ostream& out, const char* text)
{
    if (!text)
        out << "null";
    else
        out << '"' << std::string(text, strnlen(text, 260)) << '"';
}

// Short buffers (BSSIDs, keys) as hex; long ones would only be noise.
void CRecordingDriverLibrary::FormatBytes(std::ostream& out, const uint8_t* bytes, size_t size)
{
    if (size > 32) {
        out << "{" << size << " bytes}";
        return;
    }
    std::ostringstream hex;
    for (size_t i = 0; i < size; ++i)
        hex << std::hex << std::setw(2) << std::setfill('0') << int(bytes[i]);
    out << hex.str();
}
