#pragma once

#include <string>

#include "adapter/AdapterState.h"
#include "adapter/LinkState.h"

class CSkinPaths;

// Why the main window chooses its tray icon again.
enum TrayReason {
    TrayAdapterChanged, // the adapter's state changed
    TrayLinkChanged,    // the link state changed while the adapter is ready
    TraySignalRead,     // a tick that read the signal quality
    TrayHostReturned,   // the desktop's tray came back
};

// What the main window knows when it chooses.
struct TrayReading {
    TrayReason reason = TrayAdapterChanged;
    int adapterState = AdapterNone;
    bool station = true; // Station mode, else one of the SoftAP modes
    int linkState = LinkDisconnected;
    int signalQuality = 0;
};

// The tray icon for a reading, one of the seven tray pictures of `skin`:
// - adapter changed: no adapter, else Station or SoftAP not connected;
// - tray returned: the same, but SoftAP as connected;
// - link changed: connected (with an address or not) or not, in Station or
//   SoftAP;
// - signal read: connected in Station mode, by the signal level of the
//   quality (levels 0 and 1 share a picture); otherwise as a link change.
const std::string& ChooseTrayIcon(const CSkinPaths& skin, const TrayReading& reading);
