#pragma once

// The two registry hives the system reads and writes.
enum RegistryHive {
    HiveLocalMachine,
    HiveClassesRoot,
};
