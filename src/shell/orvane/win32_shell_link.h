#pragma once
// Opening a web address for a program that runs elevated: a browser started
// from here would get the administrator's token, so the address goes to the
// desktop's own shell, which runs with the user's.

#include <windows.h>

#include <string>

enum class LinkOpenOutcome {
    Opened,
    Failed,  // nothing opened: say so
};

// Opens `url` through the desktop's shell, or with ShellExecuteW where no
// desktop shell runs (a session without Explorer).
LinkOpenOutcome OpenLinkUnelevated(HWND owner, const std::wstring& url);
