#pragma once

// The one table of everything the adapter service calls in the outside
// components: the chip maker's driver library (RT_*), the connection-sharing
// library (ICS_*, Get_Hi_Speed_Adapter), the device-change filter and the IP
// helper. Each row is X(result, name, (parameters), (arguments)); the
// interface, the termination gate and the recorder are all made from it.
//
// Conventions of every call: strings are NUL-terminated narrow text (SSIDs and
// passphrases raw bytes), buffers are owned and zero-filled by the caller, a
// bool result is tested for non-zero only, and no call reports an error other
// than by a false result, a zero count or an unchanged buffer.

#include <cstdint>

#include "adapter/driver_library/Records.h"

#define ZARNWELL_DRIVER_FUNCTIONS(X)                                                                 \
    /* adapter and session: one current adapter, chosen by index 0 */                                \
    X(void, RT_GetAdapterList, (AdapterList & list, int reserved), (list, reserved))                 \
    X(void, RT_SetDefaultAdapterIndex, (int index), (index))                                         \
    X(bool, RT_Initialize, (int reserved), (reserved))                                               \
    X(void, RT_Stop, (), ())                                                                         \
    X(void, RT_PnPX_Check_Device, (), ())                                                            \
    X(bool, RT_GetIsRadioOff, (), ())                                                                \
    X(void, RT_SetRadioOff, (bool off), (off))                                                       \
    X(bool, RT_Get_HW_PBCStatus, (), ())                                                             \
    X(void, RT_Set_HW_PBCStatus, (), ())                                                             \
    X(void, RT_GetMacAddress, (MacAddressBuffer & mac), (mac))                                       \
    /* scanning and link status */                                                                   \
    X(int, RT_SiteSurveyEx, (SurveyBuffer & buffer, uint8_t & flag, int reserved),                   \
      (buffer, flag, reserved))                                                                      \
    X(void, RT_Rescan, (), ())                                                                       \
    /* writes at most ssidSize bytes of SSID */                                                      \
    X(void, RT_GetStatusLinkInfo,                                                                    \
      (int& state, int& reserved, char* ssid, int ssidSize, uint8_t(&bssid)[6]),                     \
      (state, reserved, ssid, ssidSize, bssid))                                                      \
    X(void, RT_GetStatusSignalInfo, (int& quality, int& reserved), (quality, reserved))              \
    X(uint32_t, RT_GetStatusDynamicRate, (), ())                                                     \
    X(void, RT_GetStatusSecurityInfo, (int& encryption, int& authentication),                        \
      (encryption, authentication))                                                                  \
    /* station connection */                                                                         \
    X(void, RT_Disassociate, (), ())                                                                 \
    X(void, RT_ACM_Disconnect, (), ())                                                               \
    X(void, RT_ACM_Delete_AllProfiles, (), ())                                                       \
    X(void, RT_REMOVE_PSK_CONX, (), ())                                                              \
    X(void, RT_SetNetworkType, (int infrastructure), (infrastructure))                               \
    X(void, RT_Set802_1xStatus, (int status), (status))                                              \
    X(void, RT_SetChannel, (int channel), (channel))                                                 \
    X(void, RT_SetBSSID, (const uint8_t(&bssid)[6]), (bssid))                                        \
    X(int, RT_GetPowerSaveMode, (), ())                                                              \
    X(void, RT_SetPowerSaveMode, (int mode), (mode))                                                 \
    X(void, RT_GetRates, (int& rate1, int& rate2, int& rate3, int& rate4, int& rate5),               \
      (rate1, rate2, rate3, rate4, rate5))                                                           \
    X(void, RT_SetRates, (bool rate1, int rate2, int rate3, int rate4, int rate5),                   \
      (rate1, rate2, rate3, rate4, rate5))                                                           \
    X(int, RT_GetPreambleMode, (), ())                                                               \
    X(void, RT_SetPreambleMode, (int mode), (mode))                                                  \
    X(void, RT_SetPrivacy, (int on, int keySize), (on, keySize))                                     \
    X(void, RT_SetAuthenticaionMode, (int mode), (mode))                                             \
    X(void, RT_SetEncryptionStatus, (int status), (status))                                          \
    X(void, RT_SetMHSecurityInfo, (int infrastructure, int value1, int value2),                      \
      (infrastructure, value1, value2))                                                              \
    X(void, RT_SetDefaultKeyID, (int index), (index))                                                \
    X(void, RT_SetWEPKey, (int index, int length, const uint8_t(&key)[16]), (index, length, key))    \
    X(int, RT_GetDefaultEncryptionAlgorithm, (), ())                                                 \
    X(void, RT_CustomRequest, (uint32_t request, KeyHandoverBuffer & buffer, int length),            \
      (request, buffer, length))                                                                     \
    X(void, RT_SetOID, (uint32_t oid, OidBuffer & buffer, int length), (oid, buffer, length))        \
    X(void, RT_ADD_PSK_CONX, (const char(&passphrase)[256], const uint32_t& length),                 \
      (passphrase, length))                                                                          \
    X(void, RT_ADD_PMK_CONX, (const uint8_t(&pmk)[32], int length), (pmk, length))                   \
    X(void, RT_PasswordHash,                                                                         \
      (const char* passphrase, int length, const char* ssid, int ssidLength, uint8_t(&out)[100]),    \
      (passphrase, length, ssid, ssidLength, out))                                                   \
    X(void, RT_ACM_LinkVuvProfileNew,                                                                \
      (const VuvProfile& profile, const char(&profileName)[33], const char(&ssid)[33],               \
       int infrastructure, int flag1, int flag2),                                                    \
      (profile, profileName, ssid, infrastructure, flag1, flag2))                                    \
    /* access point */                                                                               \
    X(void, RT_AP_SwitchToAPMode, (), ())                                                            \
    X(void, RT_AP_SwitchToStationMode, (), ())                                                       \
    X(bool, RT_AP_GetIsAPMode, (), ())                                                               \
    X(bool, RT_ACM_SoftAP_IsEnable, (), ())                                                          \
    X(int, RT_ACM_SoftAP_GetStatus, (), ())                                                          \
    X(void, RT_ACM_SoftAP_Stop, (), ())                                                              \
    X(void, RT_ACM_SoftAP_Enable, (int value), (value))                                              \
    X(void, RT_SetSSID, (const char* ssid), (ssid))                                                  \
    X(void, RT_SetIsHidden_SSID, (int hidden), (hidden))                                             \
    X(void, RT_SetAUTOChannel, (int automatic), (automatic))                                         \
    X(void, RT_Set_Filter_Type, (int type), (type))                                                  \
    /* a passphrase text, or with length 64 the 32-byte binary key */                                \
    X(void, RT_AP_SetPassphrase, (const char(&passphrase)[256], int length), (passphrase, length))   \
    /* entries of entrySize bytes start at tableOffset within the buffer */                          \
    X(bool, RT_AP_GetStationList,                                                                    \
      (StationListBuffer & buffer, int size, int& count, int& entrySize, uint32_t& tableOffset,      \
       int& reserved),                                                                               \
      (buffer, size, count, entrySize, tableOffset, reserved))                                       \
    X(void, RT_EnableSoftAP_ICS, (const char* deviceName, const char* internetConnection),           \
      (deviceName, internetConnection))                                                              \
    X(void, RT_DisableSoftAP_ICS, (), ())                                                            \
    X(void, RT_SetNicTcpipAddr,                                                                      \
      (const char* deviceName, int automatic, const char* address, const char* mask,                 \
       const char* gateway, const char* dns),                                                        \
      (deviceName, automatic, address, mask, gateway, dns))                                          \
    X(void, RT_SetSoftAP_TcpIpAddress,                                                               \
      (const char* deviceName, int automatic, const char* address, const char* mask),                \
      (deviceName, automatic, address, mask))                                                        \
    X(bool, RT_Check_Current_NIC_IPAddress, (const char* deviceName, const char* address),           \
      (deviceName, address))                                                                         \
    X(bool, RT_Check_VuvDHCP_Port_Work, (), ())                                                      \
    /* WPS */                                                                                        \
    X(void, RT_Debug_Methodflag, (int method), (method))                                             \
    X(bool, RT_GetPIN_WS2, (uint8_t(&buffer)[8]), (buffer))                                          \
    X(void, RT_WPS, (const char* pin), (pin))                                                        \
    X(bool, RT_WSC_Connect, (WpsCredential & credential, int& progress, char(&ssid)[33]),            \
      (credential, progress, ssid))                                                                  \
    X(bool, RT_Check_Session_Overlap, (), ())                                                        \
    X(void, RT_WS2_stop, (), ())                                                                     \
    X(void, RT_GEN_PIN, (char(&pin)[9]), (pin))                                                      \
    X(bool, RT_VERIFY_PIN, (const char* pin), (pin))                                                 \
    /* connection sharing; ordinals 1, 2, 3 and 5 have no exported names */                          \
    X(void, ICS_Ordinal1, (const char* deviceName, ConnectionTable& table, int& count, int reserved), \
      (deviceName, table, count, reserved))                                                          \
    X(void, ICS_Ordinal2, (int enable, const char* privateConnection, const char* publicConnection), \
      (enable, privateConnection, publicConnection))                                                 \
    X(void, ICS_Ordinal3, (int& enabled, char(&privateName)[50], char(&publicName)[128]),            \
      (enabled, privateName, publicName))                                                            \
    X(void, ICS_Ordinal5, (const char* text), (text))                                                \
    X(bool, Get_Hi_Speed_Adapter, (char(&buffer)[50], char(&connection)[260]), (buffer, connection)) \
    X(void, ICS_DHCP_Enable,                                                                         \
      (const char* deviceName, const char* server, const char* rangeStart, const char* rangeEnd),    \
      (deviceName, server, rangeStart, rangeEnd))                                                    \
    /* device-change filter and IP helper */                                                         \
    X(bool, EnumDevicesChange,                                                                       \
      (const char* deviceName, uint32_t eventType, const void* eventData, bool& removed,            \
       bool& concernsAdapter),                                                                       \
      (deviceName, eventType, eventData, removed, concernsAdapter))                                  \
    X(bool, GetIpInformation, (const MacAddressBuffer& mac, IpInformation& info), (mac, info))
