#pragma once

#include <string>

#include "ui/framework/Geometry.h"

class CWindow;
class CMenu;
class CLanguageCatalog;
class CSettings;
class CSkinPaths;
class CTPngFace;

// The language catalogue's rules applied to windows and menus: a window's
// title and every descendant's text (combo box items first), except the
// controls that hold the user's data; a window is translated once.
void TranslateWindow(CWindow& window, CLanguageCatalog& language);
// Every entry of a menu by position, submenus included; separators skipped.
void TranslateMenu(CMenu& menu, const CLanguageCatalog& language);

// The settings' text style on a PNG static or button: the static font, all
// three colours `colour`, left and vertically centred (alignment 5).
void ApplyTextStyle(CTPngFace& control, Colour colour, const CSettings& settings);
// The close button's two pictures.
void SetCloseButtonImages(CTPngFace& control, const CSkinPaths& skin);
