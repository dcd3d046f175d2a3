#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// Starts a program with `argv` directly (searched on PATH when argv[0] has no
// slash; never through a shell) and does not wait for it. A thread of its own
// reaps it when it ends, so no zombie stays. An empty `workDir` keeps ours;
// `quiet` gives it /dev/null for stdin, stdout and stderr. The child starts
// with default signal handling and no blocked signals.
bool SpawnDetached(const std::vector<std::string>& argv, const std::string& workDir, bool quiet, pid_t& pid);
