#include "adapter/CAdapterWirelessZadidar.h"

#include <cstring>

#include "platform/Clock.h"

using namespace std::chrono_literals;

namespace {
constexpr int TicksPerSurveyRequest = 60;
constexpr uint32_t DeviceArrival = 0x8000;
constexpr uint32_t DeviceNodesChanged = 7;
}

CAdapterWirelessZadidar::CAdapterWirelessZadidar(CDriverLibrary& library, const CPlatformServices& services)
    : deviceWatchEvent(services.clock, CEvent::AutoReset),
      surveyEvent(services.clock, CEvent::AutoReset),
      buttonWatchEvent(services.clock, CEvent::AutoReset),
      lib(library),
      clock(services.clock),
      registry(services.registry),
      systemAdapters(services.systemAdapters),
      launcher(services.launcher),
      sharingService(services.sharingService)
{
    for (auto& lock : slotLocks)
        lock = std::make_unique<CClockMutex>(clock);
}

CAdapterWirelessZadidar::~CAdapterWirelessZadidar()
{
    destroying = true;
    wpsCountdown = 0;
    tickerRun = false;
    deviceWatchRun = false;
    surveyRun = false;
    buttonWatchRun = false;
    wpsRun = false;
    deviceWatchEvent.Set();
    surveyEvent.Set();
    buttonWatchEvent.Set();
    for (int slot = 0; slot < WorkerSlotCount; ++slot)
        StopWorker(static_cast<WorkerSlot>(slot));
}

void CAdapterWirelessZadidar::StartWorker(WorkerSlot slot, std::function<void()> body)
{
    std::lock_guard lock(*slotLocks[slot]);
    StopWorkerLocked(slot);
    // A worker still running while the object goes away (the survey handing
    // over an automatic connect) must not start another.
    if (!destroying)
        workers[slot].Start(clock, std::move(body));
}

void CAdapterWirelessZadidar::StopWorker(WorkerSlot slot)
{
    std::lock_guard lock(*slotLocks[slot]);
    StopWorkerLocked(slot);
}

// A worker gets 1000 ms to end by itself; then it is ended forcibly.
void CAdapterWirelessZadidar::StopWorkerLocked(WorkerSlot slot)
{
    CWorkerThread& worker = workers[slot];
    if (!worker.HasThread())
        return;
    if (!worker.WaitFor(1000ms))
        worker.Terminate();
    worker.Release();
}

void CAdapterWirelessZadidar::StartTicker()
{
    StartWorker(SlotTicker, [this] { TickerThread(); });
}

void CAdapterWirelessZadidar::StartDeviceWatch()
{
    deviceWatchRun = false;
    deviceWatchEvent.Set();
    StopWorker(SlotDeviceWatch);
    // The signal was for the old worker; the ticker wakes the new one.
    deviceWatchEvent.Reset();
    deviceWatchRun = true;
    StartWorker(SlotDeviceWatch, [this] { DeviceWatchThread(); });
}

void CAdapterWirelessZadidar::StartButtonWatch()
{
    wpsStatus = 0;
    buttonWatchRun = false;
    buttonWatchEvent.Set();
    StopWorker(SlotButtonWatch);
    buttonWatchEvent.Reset();
    buttonWatchRun = true;
    StartWorker(SlotButtonWatch, [this] { ButtonWatchThread(); });
}

void CAdapterWirelessZadidar::StartSurveyWorker()
{
    surveyRun = false;
    surveyEvent.Set();
    StopWorker(SlotSurvey);
    // A signal no old worker took stays set: the new worker surveys at once.
    surveyRun = true;
    StartWorker(SlotSurvey, [this] { SurveyThread(); });
}

void CAdapterWirelessZadidar::BeginRadioChange(bool on)
{
    if (adapterState != AdapterReady)
        return;
    radioWanted = on;
    StartWorker(SlotRadio, [this] { RadioThread(); });
}

bool CAdapterWirelessZadidar::IsRadioOff()
{
    return lib.RT_GetIsRadioOff();
}

void CAdapterWirelessZadidar::TickerThread()
{
    while (tickerRun) {
        if (tickCount >= TicksPerSurveyRequest) {
            tickCount = 0;
            if (adapterState == AdapterReady && networkMode == 0 && scanAllowed && radioOn && !surveyBusy) {
                forceSurvey = false;
                surveyEvent.Set();
            }
        }
        ++tickCount;
        if (!deviceWatchBusy)
            deviceWatchEvent.Set();
        buttonWatchEvent.Set();
        clock.Sleep(500ms);
    }
}

void CAdapterWirelessZadidar::DeviceWatchThread()
{
    for (;;) {
        deviceWatchEvent.Wait();
        if (!deviceWatchRun)
            return;
        deviceWatchBusy = true;
        PollAdapter();
        deviceWatchBusy = false;
    }
}

void CAdapterWirelessZadidar::PollAdapter()
{
    AdapterList list = {};
    lib.RT_GetAdapterList(list, 0);
    list.deviceName[sizeof list.deviceName - 1] = '\0';

    bool initialise = false;
    if (list.count == 0) {
        adapterState = AdapterNone;
    } else {
        bool disabled = list.disabled == 1;
        if (disabled)
            adapterState = AdapterDisabled;
        // adapterName keeps the first 49 bytes of a longer name.
        bool sameAdapter = strncmp(list.deviceName, adapterName, sizeof adapterName - 1) == 0;
        bool keep = adapterState != AdapterNone && sameAdapter && !(!disabled && adapterState == AdapterDisabled);
        // A listed but disabled adapter stays disabled until its flag clears.
        initialise = !keep && !disabled;
    }

    if (initialise) {
        {
            std::lock_guard lock(adapterNameLock);
            size_t length = strnlen(list.deviceName, sizeof adapterName - 1);
            memcpy(adapterName, list.deviceName, length);
            adapterName[length] = '\0';
        }
        lib.RT_SetDefaultAdapterIndex(0);
        adapterState = AdapterInitialising;
        if (!lib.RT_Initialize(0)) {
            adapterState = AdapterNone;
        } else {
            StopDhcpServer();
            if (lib.RT_Get_HW_PBCStatus())
                lib.RT_Set_HW_PBCStatus(); // forget a press made before the adapter was ready
            clock.Sleep(2000ms);
            // The remembered mode first: the survey never starts in station
            // mode just before a switch to the access point.
            RestoreMode();
            // Ready before the workers start, so that the survey their start
            // signals always runs instead of racing this thread.
            adapterState = AdapterReady;
            initialised = true;
            StartSurveyWorker();
            StartButtonWatch();
        }
    }

    if ((adapterState == AdapterNone || adapterState == AdapterDisabled) && initialised) {
        initialised = false;
        wpsRun = false;
        wpsStatus = 0;
        buttonWatchRun = false;
        buttonWatchEvent.Set();
        for (WorkerSlot slot : {SlotButtonWatch, SlotStationMode, SlotSoftApMode, SlotWps, SlotSoftApRetry})
            StopWorker(slot);
    }
}

std::string CAdapterWirelessZadidar::AdapterName()
{
    std::lock_guard lock(adapterNameLock);
    return adapterName;
}

bool CAdapterWirelessZadidar::OnDeviceChange(uint32_t eventType, const void* eventData)
{
    bool removed = false;
    bool concernsAdapter = false;
    std::string name = AdapterName();
    bool result = lib.EnumDevicesChange(name.c_str(), eventType, eventData, removed, concernsAdapter);
    if (result && removed && concernsAdapter)
        lib.RT_Stop();
    if (!result && (eventType == DeviceNodesChanged || eventType == DeviceArrival))
        lib.RT_PnPX_Check_Device();
    return result;
}

void CAdapterWirelessZadidar::ButtonWatchThread()
{
    for (;;) {
        buttonWatchEvent.Wait();
        if (!buttonWatchRun)
            return;
    }
}

void CAdapterWirelessZadidar::SurveyThread()
{
    for (;;) {
        surveyEvent.Wait();
        if (!surveyRun)
            return;
        surveyBusy = true;
        SiteSurvey();
        surveyBusy = false;
    }
}

void CAdapterWirelessZadidar::RadioThread()
{
    bool wanted = radioWanted;
    lib.RT_SetRadioOff(!wanted);
    clock.Sleep(1000ms);
    radioOn = wanted;
    if (!wanted) {
        std::lock_guard lock(networksLock);
        networks = {};
        networkCount = 0;
    }
}
