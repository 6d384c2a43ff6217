#pragma once
// Simple fakes of the platform services: they record what they were asked and
// answer what the test put in them.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"

class FakeResources : public Resources {
public:
    std::optional<std::string> LoadText(int id) override {
        auto it = texts.find(id);
        if (it == texts.end() || it->second.empty()) return std::nullopt;
        return it->second;
    }
    std::map<int, std::string> texts;
};

class FakeMessages : public Messages {
public:
    void ShowAppMessage(const std::wstring& text) override { shown.push_back(text); }
    void ShowUncaptionedWarning(const std::wstring& text) override { warnings.push_back(text); }
    std::vector<std::wstring> shown;
    std::vector<std::wstring> warnings;
};

class FakeSystemInfo : public SystemInfo {
public:
    std::wstring ExecutablePath() override { return executablePath; }
    std::optional<std::wstring> TempFolder() override { return tempFolder; }
    std::optional<std::wstring> DesktopFolder() override { return desktopFolder; }
    std::optional<std::wstring> ComputerName() override { return computerName; }
    wchar_t DecimalSeparator() override { return decimalSeparator; }
    bool RemoteSession() override { return remoteSession; }

    std::wstring executablePath = L"C:\\Tools\\Orvane.exe";
    std::optional<std::wstring> tempFolder = L"C:\\Temp\\";
    std::optional<std::wstring> desktopFolder = L"C:\\Users\\me\\Desktop";
    std::optional<std::wstring> computerName = L"DESKTOP-01";
    wchar_t decimalSeparator = L'.';
    bool remoteSession = false;
};

class FakeProcessLauncher : public ProcessLauncher {
public:
    bool Start(const std::wstring& applicationPath, const std::wstring& commandLine) override {
        started.emplace_back(applicationPath, commandLine);
        return succeeds;
    }
    std::vector<std::pair<std::wstring, std::wstring>> started;
    bool succeeds = true;
};

// Answers queries from a table keyed by the WQL text, on whichever thread asks.
class FakeWmiService : public WmiService {
public:
    static constexpr const wchar_t* kConnect = L"<connect>";
    struct Answer {
        std::vector<std::wstring> names;  // instance "Name"s
        // property name -> one value per instance; absent properties read as Absent
        std::map<std::wstring, std::vector<WmiValue>> values;
    };

    ~FakeWmiService() override;
    std::unique_ptr<WmiSession> Connect(const std::wstring& wmiNamespace) override;

    std::map<std::wstring, Answer> answers;  // queries without an answer get no enumerator
    bool connects = true;
    std::chrono::milliseconds delay{0};  // before every answer, the connection's too
    std::wstring stallsAt;  // kConnect or a query's text: no answer there until Release()
    std::wstring throwsAt;  // a query's text: the session throws there
    std::vector<std::wstring> connectedNamespaces;
    std::vector<std::wstring> askedQueries;
    std::atomic<int> callsInService{0};  // connections being made and sessions alive

    void Release();
    void WaitBefore(const std::wstring& step);  // as told, before step answers

private:
    std::mutex mutex_;
    std::condition_variable released_;
    bool open_ = false;
};

WmiValue TextValue(const std::wstring& text);
WmiValue IntValue(int32_t value);
WmiValue BoolValue(bool value);
WmiValue ByteValue(uint8_t value);
WmiValue AbsentValue();

class FakeGraphicsDriver : public GraphicsDriver {
public:
    // Read when strings are given, NoWindow otherwise, unless an outcome is set.
    GraphicsReading ReadDriverStrings() override {
        ++reads;
        if (outcome) return {*outcome, strings};
        return {strings ? GraphicsReading::Outcome::Read : GraphicsReading::Outcome::NoWindow, strings};
    }
    std::optional<GlDriverStrings> strings;
    std::optional<GraphicsReading::Outcome> outcome;
    int reads = 0;
};

class FakeRegistry : public Registry {
public:
    std::optional<RegistryValue> ReadLocalMachineValue(const std::wstring& keyPath,
                                                       const std::wstring& valueName) override {
        reads.emplace_back(keyPath, valueName);
        auto it = values.find(keyPath + L"|" + valueName);
        if (it == values.end()) return std::nullopt;
        return it->second;
    }
    // key "path|name"
    std::map<std::wstring, RegistryValue> values;
    std::vector<std::pair<std::wstring, std::wstring>> reads;
};

// Profile files as maps: file -> "section|key" -> value.
class FakeProfileFiles : public ProfileFiles {
public:
    std::wstring Read(const std::wstring& section, const std::wstring& key, const std::wstring& defaultText,
                      const std::wstring& file) override {
        auto f = files.find(file);
        if (f == files.end()) return defaultText;
        auto v = f->second.find(section + L"|" + key);
        return v == f->second.end() ? defaultText : v->second;
    }
    void Write(const std::wstring& section, const std::wstring& key, const std::wstring& value,
               const std::wstring& file) override {
        files[file][section + L"|" + key] = value;
        writes.push_back(file + L"|" + section + L"|" + key + L"=" + value);
    }
    std::map<std::wstring, std::map<std::wstring, std::wstring>> files;
    std::vector<std::wstring> writes;
};

class FakeResultWindow : public ResultWindow {
public:
    void Run(const ResultView& view, const std::function<SaveOutcome()>& save,
             const std::wstring& saveFailedText) override {
        shownViews.push_back(view);
        failedText = saveFailedText;
        if (pressClose) lastSave = save();
    }
    std::vector<ResultView> shownViews;
    bool pressClose = false;
    std::optional<SaveOutcome> lastSave;
    std::wstring failedText;
};
