#pragma once

#include <string>

#include "platform/CRegistryOwner.h"

// The web-page association as Windows keeps it in the classes root, answered
// from the desktop: ".htm" has the default value "htmlfile", and
// "htmlfile\shell\open\command" has the command line of the desktop's default
// handler of text/html ("xdg-mime query default text/html", then the Exec=
// line of that .desktop file), with "%1" where the address goes. Without a
// handler both reads fail. Every key below "htmlfile" is owned.
class CDesktopRegistry final : public CRegistryOwner {
public:
    bool Owns(RegistryHive hive, const std::string& key) override;
    bool QueryString(RegistryHive hive, const std::string& key, const std::string& name,
                     std::string& out) override;
};
