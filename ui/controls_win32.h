#pragma once

#include <windows.h>

#include <string>

#include "ui/dpi_win32.h"
#include "ui/layout.h"

// The window's controls, made from the table in layout.h.

// Makes every control in its place at dpi, with the font of its role; false
// as soon as one cannot be made.
bool CreateControls(HWND parent, HINSTANCE instance, int dpi, const ControlFonts& fonts);
// Puts every control in its place at dpi and gives it the font of its role.
void PlaceControls(HWND parent, int dpi, const ControlFonts& fonts);
// The control's row of the table; nullptr for an id that is not there.
const ControlSpec* SpecOf(int id);
// The control's whole text, however long.
std::wstring TextOf(HWND control);
