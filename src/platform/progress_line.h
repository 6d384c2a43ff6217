#pragma once
// A line that shows how far a long command has come, for someone watching
// the console; nothing where the output goes to a file or a pipe.

#include <cstdint>
#include <string>

class ProgressLine {
public:
    virtual ~ProgressLine() = default;

    // True when someone may watch: standard error is a console.
    virtual bool Watched() = 0;

    // Milliseconds on a clock that only goes forward.
    virtual uint64_t NowMs() = 0;

    // Shows text in place of the line shown before; empty text clears it.
    virtual void Show(const std::wstring& text) = 0;
};
