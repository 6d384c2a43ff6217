#pragma once
// The services orvane-check puts in place of those that would show, start or
// write something: it only looks.

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"

// Keeps every message for standard error instead of showing a box.
class CollectedMessages : public Messages {
public:
    void ShowAppMessage(const std::wstring& text) override { texts.push_back(text); }
    void ShowUncaptionedWarning(const std::wstring& text) override { texts.push_back(text); }
    std::vector<std::wstring> texts;
};

class RefusingLauncher : public ProcessLauncher {
public:
    bool Start(const std::wstring&, const std::wstring&) override { return false; }
};

class NoResultWindow : public ResultWindow {
public:
    void Run(const ResultView&, const std::function<SaveOutcome()>&, const std::wstring&) override {}
};

// Reads nothing of Orvane's own settings and writes none.
class NoProfileFiles : public ProfileFiles {
public:
    std::wstring Read(const std::wstring&, const std::wstring&, const std::wstring& defaultText,
                      const std::wstring&) override {
        return defaultText;
    }
    void Write(const std::wstring&, const std::wstring&, const std::wstring&, const std::wstring&) override {}
};

// Passes connections through and counts them, so that "WMI could not be
// reached at all" can be told from "a query had no answer". Atomic: the
// queries may connect on a worker thread.
class WmiConnectionWatch : public WmiService {
public:
    explicit WmiConnectionWatch(WmiService& inner) : inner_(inner) {}

    std::unique_ptr<WmiSession> Connect(const std::wstring& wmiNamespace) override {
        ++attempts_;
        std::unique_ptr<WmiSession> session = inner_.Connect(wmiNamespace);
        if (session) ++connections_;
        return session;
    }

    // True when a connection was tried and none was made.
    bool NeverConnected() const { return attempts_ > 0 && connections_ == 0; }

private:
    WmiService& inner_;
    std::atomic<int> attempts_{0};
    std::atomic<int> connections_{0};
};
