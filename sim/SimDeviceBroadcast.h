#pragma once

#include <cstdint>

// Device-change notifications of the simulated system.
constexpr uint32_t DeviceArrival = 0x8000;
constexpr uint32_t DeviceRemoveComplete = 0x8004;
constexpr uint32_t DeviceTypeInterface = 5;

// The event data that comes with a device-change notification: the device it
// is about, by the name the driver library lists it under.
struct SimDeviceBroadcast {
    uint32_t size;
    uint32_t deviceType;
    uint32_t reserved;
    char name[256];
};
