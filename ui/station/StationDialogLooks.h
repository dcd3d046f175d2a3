#pragma once

#include <string>

#include "ui/controls/CTButtonPng.h"
#include "ui/controls/CTStaticPng.h"
#include "ui/framework/CWindow.h"

// The looks the station dialogs share: texts in the static font, buttons
// with one picture and one text colour in every state.
void StyleText(CTStaticPng& text, Colour colour, int alignment);
void StyleButton(CTButtonPng& button, const std::string& image, Colour colour);

// The translated `pattern` with its "%s" replaced by `value`.
std::u16string FormatText(const std::u16string& pattern, const std::u16string& value);

// Bytes of the local code page as text; empty when there are none.
std::u16string LocalText(const char* bytes, std::size_t size);
// `text` in the local code page into `out` (terminated), or false when the
// code page cannot hold it or it does not fit.
bool CopyLocal(const std::u16string& text, char* out, std::size_t size);
