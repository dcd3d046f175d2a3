#include "sim/CSimPhones.h"

#include <algorithm>

bool CSimPhones::Add(Ms now, const SimPhone& phone)
{
    for (const Entry& entry : entries)
        if (entry.phone.name == phone.name)
            return false;
    Entry entry;
    entry.phone = phone;
    entry.arrivedAt = now;
    entries.push_back(entry);
    return true;
}

bool CSimPhones::Remove(std::string_view name)
{
    auto end = std::remove_if(entries.begin(), entries.end(), [&](const Entry& e) { return e.phone.name == name; });
    bool removed = end != entries.end();
    entries.erase(end, entries.end());
    return removed;
}

void CSimPhones::Settle(Ms now, const CSimAccessPoint& accessPoint, bool apUp, Ms joinDelay,
                        const std::function<std::string(const std::vector<std::string>& taken)>& lease)
{
    for (Entry& entry : entries) {
        bool near = apUp && (entry.phone.ssid.empty() || entry.phone.ssid == accessPoint.Ssid());
        if (!near || entry.generation != accessPoint.Generation()) {
            // Dropped: it tries again, from scratch, against the new settings.
            entry.generation = near ? accessPoint.Generation() : -1;
            entry.triesAt = std::max(accessPoint.ChangedAt(), entry.arrivedAt) + joinDelay;
            entry.fits = near && accessPoint.Admits(entry.phone);
            entry.state = PhoneAway;
            entry.address.clear();
        }
        if (!near || now < entry.triesAt)
            continue;
        entry.state = entry.fits ? PhoneJoined : PhoneRefused;
    }
    for (Entry& entry : entries) {
        if (entry.state != PhoneJoined || !entry.address.empty())
            continue;
        std::vector<std::string> taken;
        for (const Entry& other : entries)
            if (!other.address.empty())
                taken.push_back(other.address);
        entry.address = lease(taken);
    }
}

std::vector<SimPhoneView> CSimPhones::Views() const
{
    std::vector<SimPhoneView> views;
    for (const Entry& entry : entries)
        views.push_back({entry.phone, entry.state, entry.address});
    return views;
}
