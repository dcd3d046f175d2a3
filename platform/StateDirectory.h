#pragma once

#include <string>

// The folder of the system's persistent state (the registry's databases, lock
// files when there is no runtime folder), created with mode 0700 and any
// missing parents, an existing one kept private (KeepPrivate). Empty when it
// cannot be created or belongs to someone else.
std::string StateDirectory();

// Where the state folder is, without creating it: $ZARNWELL_STATE_DIR when set
// and not empty; for root /var/lib/zarnwell; else $XDG_STATE_HOME/zarnwell
// when that is absolute;
// else ~/.local/state/zarnwell.
std::string StateDirectoryPath(bool asRoot);

// Keeps a folder or file of the state private to this user: when this user
// owns it, group and others lose every right (a folder 0700, a file 0600 at
// most); when someone else owns it, false, with a message on standard error,
// and it must not be used. A missing path is fine.
bool KeepPrivate(const std::string& path);
