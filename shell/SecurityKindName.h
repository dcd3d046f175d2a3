#pragma once

#include <string>

class CLanguageCatalog;

// The translated name of a security kind 0..7; any other kind is "UnKnown".
std::u16string SecurityKindName(const CLanguageCatalog& language, int kind);
