#include "sim/CSimMachine.h"

#include "platform/CRegistry.h"
#include "sim/SimWorldFile.h"

CSimMachine::CSimMachine(CClock& clock, CSystem& system, CRegistry& registry)
    : world(clock), library(world), systemAdapters(world), registryOwner(world), programHost(world),
      sharingService(world), services{clock, system, registry, systemAdapters, launcher, sharingService}
{
    registry.AddOwner(&registryOwner);
    programHost.HostIn(launcher);
}

CSimMachine::~CSimMachine()
{
    StopControl();
    world.SetDeviceChangeListener(nullptr);
    services.registry.RemoveOwner(&registryOwner);
}

bool CSimMachine::LoadWorld(const std::string& path, std::vector<std::string>& problems)
{
    return LoadSimWorld(path, world, problems);
}

bool CSimMachine::StartControl(const std::string& path)
{
    control.emplace(world, path);
    return control->Start();
}

void CSimMachine::StopControl()
{
    control.reset();
}

void CSimMachine::SetDeviceChangeListener(std::function<void(uint32_t, const void*)> listener)
{
    world.SetDeviceChangeListener(std::move(listener));
}
