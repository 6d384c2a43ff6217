#include "platform/win32/win32_result_window.h"
// Placeholder.
void Win32ResultWindow::Run(const ResultView&, const std::function<SaveOutcome()>&, const std::wstring&) {}
