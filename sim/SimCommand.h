#pragma once

#include <string>
#include <string_view>
#include <vector>

// The control socket's command lines: words separated by blanks; a double
// quote starts text that may hold blanks, up to the next double quote, with
// \" and \\ for a quote and a backslash inside. A word may mix both, as in
// ssid="My Network".
bool SimSplitCommand(std::string_view line, std::vector<std::string>& words, std::string& error);

// A word written so that SimSplitCommand gives it back whole; key=value keeps
// its key bare.
std::string SimQuoteWord(std::string_view word);

// The socket: $ZARNWELL_SIM_SOCKET, else zarnwell-sim.sock in
// $XDG_RUNTIME_DIR, else in the state folder.
std::string SimSocketPath();
