#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "platform/RegistryHive.h"

struct sqlite3;
class CRegistryOwner;

// The registry's model over SQLite: one database per hive in the state folder
// (local-machine.db, classes-root.db, mode 0600). Existing files of a hive are
// kept private when the object is made; a hive with a file of another user is
// not used (see KeepPrivate).
//
// Keys are backslash-separated paths; "" is the hive's root, which always
// exists. Key paths and value names compare without regard to ASCII letter
// case and keep the case they were created with. Value name "" is the key's
// default value. Values of a key and subkeys enumerate by index in the order
// they were made; setting an existing value keeps its place.
//
// A value can only be set in an existing key (as opening and then setting
// does), and a query of a value of another kind fails. Every operation returns
// false on any failure. Each write is one durable transaction (WAL,
// synchronous FULL), so a process killed at any point leaves every value old
// or new; other processes wait for it up to a busy timeout. An object may be
// used from any thread.
//
// Keys answered by an owner exist, are read from the owner only (strings;
// other queries and enumeration fail), and neither they, their values nor
// anything below them can be written.
class CRegistry {
public:
    explicit CRegistry(const std::string& stateFolder);
    ~CRegistry();
    CRegistry(const CRegistry&) = delete;
    CRegistry& operator=(const CRegistry&) = delete;

    // The owner must outlive this object, or be removed before it goes.
    void AddOwner(CRegistryOwner* owner);
    void RemoveOwner(CRegistryOwner* owner);

    bool CreateKey(RegistryHive hive, const std::string& path);
    bool KeyExists(RegistryHive hive, const std::string& path);
    bool DeleteKey(RegistryHive hive, const std::string& path);

    bool SetNumber(RegistryHive hive, const std::string& key, const std::string& name, uint32_t value);
    bool SetBinary(RegistryHive hive, const std::string& key, const std::string& name,
                   const std::vector<uint8_t>& value);
    bool SetString(RegistryHive hive, const std::string& key, const std::string& name, const std::string& utf8);

    bool QueryNumber(RegistryHive hive, const std::string& key, const std::string& name, uint32_t& out);
    bool QueryBinary(RegistryHive hive, const std::string& key, const std::string& name,
                     std::vector<uint8_t>& out);
    bool QueryString(RegistryHive hive, const std::string& key, const std::string& name, std::string& out);

    bool EnumValue(RegistryHive hive, const std::string& key, uint32_t index, std::string& name);
    bool EnumKey(RegistryHive hive, const std::string& key, uint32_t index, std::string& name);
    bool DeleteValue(RegistryHive hive, const std::string& key, const std::string& name);

private:
    enum ValueKind { ValueString = 1, ValueBinary = 3, ValueNumber = 4 };

    sqlite3* Connection(RegistryHive hive);
    CRegistryOwner* OwnerOf(RegistryHive hive, const std::string& key);
    bool Writable(RegistryHive hive, const std::string& key);
    bool EnumName(RegistryHive hive, const std::string& key, uint32_t index, const char* sql, std::string& name);
    bool SetValue(RegistryHive hive, const std::string& key, const std::string& name, ValueKind kind,
                  const void* data, size_t size);
    bool QueryValue(RegistryHive hive, const std::string& key, const std::string& name, ValueKind kind,
                    std::vector<uint8_t>& out);

    std::string folder;
    std::mutex mutex;
    sqlite3* connections[2] = {nullptr, nullptr}; // guarded by mutex
    bool refused[2] = {false, false};
    std::vector<CRegistryOwner*> owners;           // guarded by mutex
};
