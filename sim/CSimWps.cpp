#include "sim/CSimWps.h"

void CSimWps::Start(std::string_view pinText)
{
    active = true;
    pin = std::string(pinText);
}
