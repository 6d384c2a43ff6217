#pragma once
// The result dialog, as the check run sees it.

#include <functional>
#include <string>

// Everything the dialog shows, composed beforehand.
struct ResultView {
    std::wstring status;
    std::wstring report;    // lines end with CR LF
    std::wstring advice;    // what to do, shown above the report: one cause a line, CR LF between; empty: none
    std::wstring linkText;
    std::wstring linkUrl;
    bool showLink = false;
};

enum class SaveOutcome {
    Saved,     // the file was written
    NotSaved,  // nothing could be written; the dialog ends all the same
    Failed     // writing or closing failed: show saveFailedText and keep the dialog open
};

class ResultWindow {
public:
    virtual ~ResultWindow() = default;

    // Runs the dialog modally. The close button calls save; Esc and the
    // close box end the dialog without it.
    virtual void Run(const ResultView& view, const std::function<SaveOutcome()>& save,
                     const std::wstring& saveFailedText) = 0;
};
