#pragma once

// The station link as QueryLink judges it, and as the windows show it
// (shownLinkState).
enum LinkState {
    LinkConnected = 1,
    LinkNoAddress = 2, // linked, but no address or a link-local one: "Restricted or no connection"
    LinkDisconnected = 3,
};
