#pragma once
// The services orvane-check puts in place of those that would show, start or
// write something: it only looks.

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

// A platform's services with those that would show, start or write something
// put aside, and the machine's facts taken from the given services.
struct LookingServices {
    CollectedMessages messages;
    RefusingLauncher launcher;
    NoProfileFiles profiles;
    NoResultWindow resultWindow;

    Platform Over(Platform& platform, FileSystem& files, TextCodec& codec, SystemInfo& system, WmiService& wmi,
                  GraphicsDriver& graphics) {
        return Platform{files,    codec, platform.resources, messages,          system, launcher,
                        wmi,      graphics, platform.registry, profiles,        resultWindow, platform.threads};
    }
};
