#pragma once
// Writing UTF-8 text to standard output or standard error.

#include <string>

#include "platform/progress_line.h"

enum class StandardStream { Output, Error };

// On a console the text goes as UTF-16 (WriteConsoleW), so that every
// character shows whatever the console's code page; redirected to a file or
// a pipe it goes as the UTF-8 bytes. False when it could not all be written.
bool WriteStandardStream(StandardStream stream, const std::string& utf8);

// The progress line on standard error, written in place on a console; a
// redirected standard error is not watched and gets nothing.
class Win32ProgressLine : public ProgressLine {
public:
    bool Watched() override;
    uint64_t NowMs() override;
    void Show(const std::wstring& text) override;

private:
    size_t shown_ = 0;  // characters of the line on screen
};
