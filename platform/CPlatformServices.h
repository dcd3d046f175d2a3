#pragma once

class CClock;
class CLauncher;
class CRegistry;
class CSharingService;
class CSystem;
class CSystemAdapters;

// The system services the program runs on, handed over as one value: the
// application object and the adapter take what they need from it, and a new
// service is one more member here instead of one more argument everywhere.
// Every referenced object outlives whatever holds this.
struct CPlatformServices {
    CClock& clock;
    CSystem& system;
    CRegistry& registry;
    CSystemAdapters& systemAdapters;
    CLauncher& launcher;
    CSharingService& sharingService;
};
