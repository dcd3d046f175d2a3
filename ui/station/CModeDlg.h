#pragma once

#include <string>

#include "adapter/NetworkDescription.h"
#include "adapter/driver_library/Records.h"
#include "ui/CTDialog.h"
#include "ui/controls/CTButtonPng.h"
#include "ui/controls/CTPicture.h"
#include "ui/controls/CTStaticPng.h"
#include "ui/framework/CImageList.h"
#include "ui/station/CGridCtrl.h"
#include "ui/station/NetworkSummary.h"

// The Station tab's panel: the networks the adapter found, strongest first,
// with the connected one in a row of its own above them; scanning, the radio
// switch, and the ways to connect (a click on a row, "Manual add") and to see
// and end the connection (a click on the connected row). It reads everything
// from the adapter on its own timers and when the main window polls it.
class CModeDlg : public CTDialog {
public:
    static constexpr int templateId = 130;
    static constexpr int scanTimer = 1000;
    static constexpr int redrawTimer = 2000;
    static constexpr int radioTimer = 3000;
    static constexpr int lostLinkScanTimer = 4000;
    static constexpr int lostLinkRedrawTimer = 5000;
    // Column widths in pixels; the name takes what the panel leaves.
    static constexpr int iconColumnWidth = 26;
    static constexpr int marginColumnWidth = 12;

    // `tabs` are the main window's two tab buttons, enabled with the radio.
    CModeDlg(CWindow* parent, CWindow& stationTab, CWindow& softApTab);

    bool OnInitDialog() override;
    void OnCommand(int commandId) override;
    void OnTimer(int timerId) override;
    void OnMouseMove(CPoint point) override;

    void StartScan();
    int CheckRadio();
    int CheckLink();

    void UpdateList();
    int BuildNetworkRows(const uint8_t* connectedBssid);
    void FillConnectedRow();
    void ApplyLayout(bool connected);
    void EnableControls(bool enable);
    void ShowRadioButtonImage(bool on);
    NetworkSummary MakeNetworkSummary(int index) const;

    // The connect flow after a click on a listed network; true when a
    // connection was started.
    bool ConnectFromList(int index, int column);
    void WaitForConnect(const NetworkRecord& record, NetworkDescription& description);
    static void ApplySavedProfile(const VuvProfile& profile, NetworkDescription& description);
    bool ManualAdd();
    void WaitForManualConnect(NetworkDescription& description);

    CTStaticPng radioCaption;
    CTButtonPng radioButton;
    CGridCtrl connectedGrid;
    CTStaticPng statusLabel;
    CTButtonPng refreshButton;
    CGridCtrl networkGrid;
    CTPicture scanAnimation;
    CTStaticPng manualAddLink;

    SurveyBuffer scanSnapshot = {};
    int snapshotCount = 0;
    bool scanning = false;
    int scanTicks = 0;
    bool radioShownOn = true;
    bool idle = true;
    bool radioChangePending = false;
    bool recheckRadio = true;
    bool userDisconnected = false;
    CRect savedRects[4];
    CImageList connectedImages;
    CImageList listImages;

private:
    void SetUpGrid(CGridCtrl& grid, CImageList& images);
    void DressRow(CGridCtrl& grid, int row);
    void RequestScan();
    bool ReadRadio();
    void FinishScan(bool radioFoundOff);
    void OnScanTimer();
    void OnRadioTimer();
    void OnRadioButton();
    void OnListClick();
    void OnConnectedRowClick();
    void OnManualAdd();
    void EnableTabs(bool enable);
    void ShowRadioOff();
    std::u16string NetworkName(const char* ssid, std::size_t size) const;
    int WaitSeconds() const;

    CWindow& stationTab;
    CWindow& softApTab;
};
