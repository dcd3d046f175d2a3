#pragma once

// The adapter as the device watch finds it (adapterState), and as the main
// window last acted on it (shownAdapterState).
enum AdapterState {
    AdapterNone = 0,
    AdapterDisabled = 1, // listed, but switched off in the system
    AdapterInitialising = 2,
    AdapterReady = 3,
};
