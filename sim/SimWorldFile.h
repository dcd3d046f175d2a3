#pragma once

#include <string>
#include <vector>

class CSimWorld;

// The world file: $ZARNWELL_WORLD when set and not empty, else Sim/World.ini
// in the executable's folder.
std::string SimWorldPath(const std::string& exeDir);

// Reads [Adapter], [Computer] and every [Network N], [Connection N] and
// [Phone N] of the file into `world`, replacing what it held. False when the
// file cannot be read; the world is then left as it was. A section or key
// that does not make sense is left out and described in `problems`, one line
// each.
bool LoadSimWorld(const std::string& path, CSimWorld& world, std::vector<std::string>& problems);
