#include <gtest/gtest.h>

#include "adapter/driver_library/CRecordingDriverLibrary.h"
#include "tests/support/CSilentDriverLibrary.h"

namespace {


TEST(RecordingDriverLibraryTest, LogsCallsWithArgumentValues)
{
    CSilentDriverLibrary silent;
    CRecordingDriverLibrary recorder(silent);
    const uint8_t bssid[6] = {0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0xff};
    char ssid[33] = "Home";
    VuvProfile profile{};
    recorder.RT_SetPrivacy(1, 0x80);
    recorder.RT_SetBSSID(bssid);
    recorder.RT_SetRadioOff(true);
    recorder.RT_ACM_LinkVuvProfileNew(profile, ssid, ssid, 1, 0, 0);
    recorder.RT_SetSSID(nullptr);
    EXPECT_EQ(recorder.Calls(), (std::vector<std::string>{
                                    "RT_SetPrivacy(1,128)",
                                    "RT_SetBSSID(001a2b3c4dff)",
                                    "RT_SetRadioOff(1)",
                                    "RT_ACM_LinkVuvProfileNew({record},\"Home\",\"Home\",1,0,0)",
                                    "RT_SetSSID(null)",
                                }));
    EXPECT_EQ(recorder.CallsStartingWith("RT_SetP"), std::vector<std::string>{"RT_SetPrivacy(1,128)"});
}

TEST(RecordingDriverLibraryTest, OverridesResultsToInjectFaults)
{
    CSilentDriverLibrary silent;
    CRecordingDriverLibrary recorder(silent);
    SurveyBuffer buffer{};
    uint8_t flag = 0;
    recorder.OverrideResult("RT_SiteSurveyEx", 200);
    recorder.OverrideResult("RT_Initialize", 0);
    EXPECT_EQ(recorder.RT_SiteSurveyEx(buffer, flag, 0), 200);
    EXPECT_FALSE(recorder.RT_Initialize(0));
    recorder.ClearOverrides();
    EXPECT_EQ(recorder.RT_SiteSurveyEx(buffer, flag, 0), 0);
}

} // namespace
