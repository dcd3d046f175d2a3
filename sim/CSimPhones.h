#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/CSimAccessPoint.h"
#include "sim/SimPhone.h"

enum SimPhoneState {
    PhoneAway,    // no access point of its name is up, or it has not tried yet
    PhoneRefused, // it keeps trying, and its key handshake keeps failing
    PhoneJoined,
};

struct SimPhoneView {
    SimPhone phone;
    SimPhoneState state;
    std::string address; // empty without a lease
};

// The phones near the PC and how they stand with the adapter's access point.
// Each tries the access point a join delay after it came up, changed or the
// phone arrived, and is judged then. Worked out from the time when asked, like
// everything in the world. Part of the world's state: used only under the
// world's mutex.
class CSimPhones {
public:
    // False when a phone of that name is there already.
    bool Add(Ms now, const SimPhone& phone);
    bool Remove(std::string_view name);

    // Brings every phone up to `now` against the access point as it is
    // (`apUp`: announcing, in access-point mode, radio on). A joined phone
    // without an address asks `lease` for one, which gives an empty text while
    // no DHCP server answers.
    void Settle(Ms now, const CSimAccessPoint& accessPoint, bool apUp, Ms joinDelay,
                const std::function<std::string(const std::vector<std::string>& taken)>& lease);
    // As last settled.
    std::vector<SimPhoneView> Views() const;

private:
    struct Entry {
        SimPhone phone;
        Ms arrivedAt{0};
        int generation = -1; // of the access point it was judged against; -1 none
        Ms triesAt{0};
        bool fits = false;
        SimPhoneState state = PhoneAway;
        std::string address;
    };
    std::vector<Entry> entries;
};
