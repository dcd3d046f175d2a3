#pragma once

#include <string>

#include "platform/RegistryHive.h"

// Answers the reads of registry keys that the system owns (the desktop's file
// associations and the like). Such keys are never stored by the registry and
// never writable through it.
class CRegistryOwner {
public:
    virtual ~CRegistryOwner() = default;

    // Whether `key` (a backslash-separated path, any letter case) is this owner's.
    virtual bool Owns(RegistryHive hive, const std::string& key) = 0;
    // The string value `name` ("" for the key's default value) of an owned key.
    virtual bool QueryString(RegistryHive hive, const std::string& key, const std::string& name,
                             std::string& out) = 0;
};
