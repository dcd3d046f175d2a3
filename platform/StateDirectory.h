#pragma once

#include <string>

// The folder of the system's persistent state (the registry's databases, lock
// files when there is no runtime folder), created with mode 0700 and any
// missing parents. Empty when it cannot be created.
std::string StateDirectory();

// Where the state folder is, without creating it: $ZARNWELL_STATE_DIR when set
// and not empty; for root /var/lib/zarnwell; else $XDG_STATE_HOME/zarnwell
// when that is absolute;
// else ~/.local/state/zarnwell.
std::string StateDirectoryPath(bool asRoot);
