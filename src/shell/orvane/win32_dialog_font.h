#pragma once
// The result dialog's font at the window's DPI, and what it measures.

#include <windows.h>

#include <string>

#include "platform/win32/unique_resource.h"
#include "ui/dialog_geometry.h"

// The template's font, made at `dpi`: its height scaled from the DPI it was made at.
UniqueFont DialogFontForDpi(const LOGFONTW& templateFont, UINT templateDpi, UINT dpi);

// The dialog units `font` gives, measured as the dialog manager measures them;
// {0, 0} when they cannot be measured.
DialogBaseUnits MeasureDialogBaseUnits(HWND window, HFONT font);

// Pixels `text` takes in the control's own font.
int CaptionWidth(HWND control, const std::wstring& text);

// Pixels `text` takes in height, in the control's own font, wrapped at words
// to `width` as a left-aligned static text draws it.
int WrappedTextHeight(HWND control, const std::wstring& text, int width);
