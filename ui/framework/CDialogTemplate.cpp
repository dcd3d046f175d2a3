#include "ui/framework/CDialogTemplate.h"

#include <algorithm>
#include <cstdlib>

#include "platform/CodePage.h"
#include "platform/ProfileFile.h"

namespace {

std::vector<int> Numbers(const std::u16string& text)
{
    std::vector<int> numbers;
    std::string narrow = Utf16ToUtf8(text);
    std::size_t start = 0;
    while (start <= narrow.size()) {
        std::size_t comma = narrow.find(',', start);
        std::string field = narrow.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        numbers.push_back(std::atoi(field.c_str()));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return numbers;
}

std::vector<std::string> Styles(const std::u16string& text)
{
    std::vector<std::string> styles;
    std::string narrow = Utf16ToUtf8(text);
    std::size_t start = 0;
    while (start < narrow.size()) {
        std::size_t comma = narrow.find(',', start);
        std::string field = narrow.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        field.erase(0, field.find_first_not_of(' '));
        field.erase(field.find_last_not_of(' ') + 1);
        if (!field.empty())
            styles.push_back(field);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return styles;
}

constexpr std::size_t valueChars = 1024;

} // namespace

bool CDialogTemplate::Control::Has(const std::string& style) const
{
    return std::find(styles.begin(), styles.end(), style) != styles.end();
}

bool CDialogTemplate::Has(const std::string& style) const
{
    return std::find(styles.begin(), styles.end(), style) != styles.end();
}

bool CDialogTemplate::Load(const std::string& folder, int templateId)
{
    *this = CDialogTemplate();
    CProfileFile file;
    if (!file.Open(folder + "Dialog" + std::to_string(templateId) + ".ini"))
        return false;
    id = templateId;
    std::vector<int> dialogSize = Numbers(file.GetString(u"Dialog", u"Size", u"0,0", valueChars));
    if (dialogSize.size() == 2)
        size = {dialogSize[0], dialogSize[1]};
    styles = Styles(file.GetString(u"Dialog", u"Style", u"popup", valueChars));
    caption = file.GetString(u"Dialog", u"Caption", u"", valueChars);
    for (const std::u16string& section : file.Sections()) {
        if (section.rfind(u"Control", 0) != 0)
            continue;
        Control control;
        control.id = file.GetInt(section, u"Id", -1);
        control.className = Utf16ToUtf8(file.GetString(section, u"Class", u"Static", valueChars));
        std::vector<int> r = Numbers(file.GetString(section, u"Rect", u"0,0,0,0", valueChars));
        if (r.size() == 4)
            control.rect = {r[0], r[1], r[2], r[3]};
        control.text = file.GetString(section, u"Text", u"", valueChars);
        control.styles = Styles(file.GetString(section, u"Style", u"", valueChars));
        control.image = Utf16ToUtf8(file.GetString(section, u"Image", u"", valueChars));
        controls.push_back(std::move(control));
    }
    return true;
}
