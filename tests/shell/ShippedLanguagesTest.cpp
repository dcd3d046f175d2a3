#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "platform/ProfileFile.h"
#include "shell/CLanguageCatalog.h"
#include "shell/TextUtils.h"

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

// The language files shipped in resources/Languages: every text the program
// looks up has a Chinese value, so a new text cannot ship untranslated.
namespace {

const std::filesystem::path repository =
    std::filesystem::path(ZARNWELL_SOURCE_DIR);

// Texts the code looks up through variables (security and cipher names, the
// busy panel's kinds), which a scan of the sources cannot see.
const char16_t* const programTexts[] = {
    u"AES", u"Application", u"Back", u"Cancel", u"Change", u"Closing...", u"Connect",
    u"Connect failed, please reconnect %s", u"Connect to %s ?", u"Connected", u"Connecting...",
    u"Connection failed", u"Current Connection: %d", u"Current Mode: SoftAP Mode",
    u"Current Mode: Station Mode", u"Enter the password of %s", u"Multiple device PBC connection leads to failure",
    u"None", u"OK", u"Open", u"Password can not be empty",
    u"Password must be 64 Hexadecimal or 8 to 63 ASCII characters!",
    u"Password must be ASCII(5 or 13) or hexadecimal(10 or 26) characters!",
    u"Please check network adapter is enabled", u"Please check the PIN code", u"Please check the WPS status",
    u"Please input correct PIN Code!", u"Please insert the network adapter", u"Restricted or no connection",
    u"SSID can not be empty", u"SSID can not exceed 32 characters (Chinese accounted for 3 characters)",
    u"Scanning WiFi...", u"Select a network...", u"Share", u"Sharing failure", u"Sharing success", u"Sharing...",
    u"Shift to SoftAP Mode", u"Shift to Station Mode",
    u"Shifting to SoftAP mode makes the adapter to be an AP and send out wireless signal.",
    u"Shifting to Station mode makes your PC able to connect to a wireless network.", u"Shifting...",
    u"Starting...", u"TKIP", u"UnKnown", u"WEP", u"WPA", u"WPA-PSK", u"WPA/WPA2-PSK", u"WPA2", u"WPA2-PSK",
    u"buy url",
};

// Window, control and menu texts of the windows.
const char16_t* const windowTexts[] = {
    u"Kavlo Network Adapter", u"Station Mode", u"SoftAP Mode", u"About Application(&A)...", u"About Application",
    u"Launch UI", u"Exit", u"WPS", u"About", u"No network adapter, to buy !", u"Sure to exit?", u"Version :",
    u"Contact us :", u"Phone", u"WiFi", u"Manual add", u"SSID :", u"Encryption :", u"Channel :", u"Signal :",
    u"Authentication :", u"Key index :", u"Connect failed, please reconnect", u"Security Mode :", u"Password :",
    u"Connection status :", u"Speed :", u"IP Address :", u"MAC Address :", u"Disconnect", u"Retry",
    u"How does a phone connect to the WiFi?", u"Follow the steps below to make your phone connected",
    u"Select Kavlo_xxxxxx", u"Enter the password", u"Switching...", u"Please select WPS mode...",
    u"Press the WPS button on the adapter and wireless router",
    u"Copy the PIN code of the adapter to wireless router",
    u"Copy the PIN code of wireless router into the adapter", u"PIN :", u"Copy",
};

// Every Text(u"...") literal of the program's sources.
std::set<std::u16string> LiteralsLookedUpInSources()
{
    std::set<std::u16string> found;
    const std::regex call(R"re(\bText\(\s*u"((?:[^"\\]|\\.)*)"\s*\))re");
    for (const char* folder : {"shell", "ui", "adapter"}) {
        std::filesystem::path root = repository / folder;
        if (!std::filesystem::exists(root))
            continue;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
            std::string ext = entry.path().extension().string();
            if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h"))
                continue;
            std::ifstream in(entry.path(), std::ios::binary);
            std::stringstream content;
            content << in.rdbuf();
            std::string source = content.str();
            for (std::sregex_iterator m(source.begin(), source.end(), call), end; m != end; ++m) {
                std::string literal = std::regex_replace((*m)[1].str(), std::regex(R"(\\(["\\]))"), "$1");
                found.insert(Utf8ToUtf16(literal));
            }
        }
    }
    return found;
}

// Texts and captions of the dialog templates and menus in resources/dialogs.
std::set<std::u16string> TemplateTexts()
{
    std::set<std::u16string> found;
    for (const auto& entry : std::filesystem::directory_iterator(repository / "resources/dialogs")) {
        if (entry.path().extension() != ".ini")
            continue;
        CProfileFile file;
        file.Open(entry.path().string());
        for (const std::u16string& section : file.Sections())
            for (const char16_t* key : {u"Text", u"Caption"}) {
                std::u16string text = file.GetString(section, key, u"", 1023);
                while (!text.empty() && text.back() == u' ')
                    text.pop_back();
                if (!text.empty() && text != u"...")
                    found.insert(text);
            }
    }
    return found;
}

std::string Narrow(std::u16string_view text)
{
    return Utf16ToUtf8(text);
}

class ShippedLanguagesTest : public ::testing::Test {
protected:
    void SetUp() override { chinese.Open((repository / "resources/Languages/Chinese.lng").string()); }

    bool HasChinese(std::u16string_view english) const
    {
        return !chinese.GetString(u"ProgramOutStr", english, u"", 1023).empty();
    }

    CProfileFile chinese;
};

TEST_F(ShippedLanguagesTest, IndexMapsEnglishAndSimplifiedChinese)
{
    const std::string exeDir = (repository / "resources").string() + "/";
    CLanguageCatalog catalog;
    catalog.Load(exeDir, 2052);
    EXPECT_EQ(catalog.languageName, "Chinese");
    EXPECT_EQ(catalog.lcid, CLanguageCatalog::chineseLcid);
    EXPECT_EQ(catalog.Text(u"Connect"), u"\u8FDE\u63A5");
    EXPECT_EQ(catalog.Text(u"buy url"), u"https://example.com/kavlo-adapter");

    catalog.Load(exeDir, 1033);
    EXPECT_EQ(catalog.languageName, "English");
    EXPECT_EQ(catalog.Text(u"Connect"), u"Connect");
    EXPECT_EQ(catalog.Text(u"buy url"), u"https://example.com/kavlo-adapter");
    EXPECT_EQ(catalog.Text(u"Phone"), u"help@example.com");
}

TEST_F(ShippedLanguagesTest, EveryProgramAndWindowTextHasAChineseValue)
{
    for (const char16_t* text : programTexts)
        EXPECT_TRUE(HasChinese(text)) << Narrow(text);
    for (const char16_t* text : windowTexts)
        EXPECT_TRUE(HasChinese(text)) << Narrow(text);
}

TEST_F(ShippedLanguagesTest, EveryTextLookedUpInTheSourcesHasAChineseValue)
{
    for (const std::u16string& text : LiteralsLookedUpInSources())
        EXPECT_TRUE(HasChinese(text)) << "no Chinese for \"" << Narrow(text) << "\"";
}

TEST_F(ShippedLanguagesTest, EveryTemplateAndMenuTextHasAChineseValue)
{
    std::set<std::u16string> texts = TemplateTexts();
    EXPECT_TRUE(texts.count(u"Sure to exit?"));
    for (const std::u16string& text : texts)
        EXPECT_TRUE(HasChinese(text)) << "no Chinese for \"" << Narrow(text) << "\"";
}

TEST_F(ShippedLanguagesTest, ChineseValuesKeepTheirFormatsAndAreNotEnglish)
{
    const std::regex format("%[0-9.]*[sdf%]");
    auto formats = [&](const std::string& text) {
        std::vector<std::string> found;
        for (std::sregex_iterator m(text.begin(), text.end(), format), end; m != end; ++m)
            found.push_back(m->str());
        return found;
    };
    // Names of protocols and ciphers, the address and the contact stay as they are.
    const std::set<std::u16string> kept = {u"AES", u"TKIP", u"WEP", u"WPA", u"WPA-PSK", u"WPA/WPA2-PSK",
                                           u"WPA2", u"WPA2-PSK", u"WPS", u"WiFi", u"buy url", u"Phone"};
    for (const std::u16string& key : chinese.Keys(u"ProgramOutStr")) {
        std::string english = Narrow(key);
        std::string value = Narrow(chinese.GetString(u"ProgramOutStr", key, u"", 1023));
        EXPECT_EQ(formats(value), formats(english)) << english;
        if (!kept.count(key)) {
            EXPECT_NE(value, english);
            EXPECT_GT(CountCjk(Utf8ToUtf16(value)), 0) << english << " has no Chinese";
        }
    }
}

} // namespace
