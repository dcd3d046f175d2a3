#pragma once

#include <cstdint>
#include <string>

// The full path of the running executable; empty when it cannot be read.
std::string ModulePath();

// Reads the version record that zarnwell_embed_version (cmake/Version.cmake)
// puts into an executable: four numbers, most significant first. False for a
// file without the record, and for anything that is not a well-formed ELF
// file, however it is cut or forged.
bool ReadFileVersion(const std::string& path, uint16_t out[4]);
