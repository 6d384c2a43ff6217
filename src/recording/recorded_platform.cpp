#include "recording/recorded_platform.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <mutex>
#include <utility>

#include "encoding/utf8_encoding.h"

namespace {

wchar_t AsciiLower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

// WQL keywords, class and property names, and file names on Windows, are all
// the same in any letter case.
bool SameIgnoringCase(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return AsciiLower(x) == AsciiLower(y); });
}

WmiValue Absent() {
    WmiValue value;
    value.type = WmiValue::Type::Absent;
    return value;
}

const WmiValue* FindProperty(const RecordedInstance& instance, const std::wstring& name) {
    for (const RecordedProperty& property : instance.properties)
        if (SameIgnoringCase(property.name, name)) return &property.value;
    return nullptr;
}

// The names of the PC's facts, as unrecorded lists them.
const wchar_t* const kProductFolder = L"productFolder";
const wchar_t* const kRemoteSession = L"remoteSession";
const wchar_t* const kDecimalSeparator = L"decimalSeparator";
const wchar_t* const kTableCodePage = L"tableCodePage";
const wchar_t* const kFactsOfThePc[] = {kProductFolder, kRemoteSession, kDecimalSeparator, kTableCodePage};

}  // namespace

bool IsFactOfThePc(const std::wstring& unrecorded) {
    return std::find(std::begin(kFactsOfThePc), std::end(kFactsOfThePc), unrecorded) != std::end(kFactsOfThePc);
}

struct RecordedMachine::Shared {
    MachineRecording recording;
    mutable std::mutex mutex;
    std::vector<std::wstring> unrecorded;

    void Note(std::wstring fact) {
        const std::lock_guard<std::mutex> lock(mutex);
        if (std::find(unrecorded.begin(), unrecorded.end(), fact) == unrecorded.end())
            unrecorded.push_back(std::move(fact));
    }
};

class RecordedMachine::RecordedWmi : public WmiService {
    class Session : public WmiSession {
    public:
        Session(std::shared_ptr<Shared> shared, bool sameNamespace)
            : shared_(std::move(shared)), sameNamespace_(sameNamespace) {}

        std::optional<std::vector<WmiInstance>> Query(const std::wstring& wql,
                                                      const std::vector<std::wstring>& properties) override {
            std::vector<const RecordedAnswer*> candidates;
            if (sameNamespace_)
                for (const RecordedAnswer& answer : shared_->recording.answers)
                    if (SameIgnoringCase(answer.wql, wql)) candidates.push_back(&answer);
            if (candidates.empty()) {
                for (const std::wstring& property : properties)
                    if (!property.empty()) shared_->Note(wql + L": " + property);
                return std::nullopt;
            }
            // A table that asks the same WQL twice was answered twice: the
            // n-th asking gets the n-th answer.
            const size_t asked = asked_[wql]++;
            const RecordedAnswer& answer = *candidates[std::min(asked, candidates.size() - 1)];
            if (!answer.instances) return std::nullopt;  // recorded as unanswered

            std::vector<WmiInstance> instances(answer.instances->size());
            for (size_t i = 0; i < instances.size(); ++i) {
                instances[i].name = (*answer.instances)[i].name;
                for (const std::wstring& property : properties)
                    instances[i].values.push_back(Value(candidates, answer, i, property, wql));
            }
            return instances;
        }

    private:
        // The property of instance i, from the chosen answer or else another
        // answer to the same WQL with as many instances.
        WmiValue Value(const std::vector<const RecordedAnswer*>& candidates, const RecordedAnswer& chosen, size_t i,
                       const std::wstring& property, const std::wstring& wql) {
            if (const WmiValue* value = FindProperty((*chosen.instances)[i], property)) return *value;
            for (const RecordedAnswer* other : candidates) {
                if (!other->instances || other->instances->size() != chosen.instances->size()) continue;
                if (const WmiValue* value = FindProperty((*other->instances)[i], property)) return *value;
            }
            if (!property.empty()) shared_->Note(wql + L": " + property);
            return Absent();
        }

        std::shared_ptr<Shared> shared_;
        bool sameNamespace_;
        std::map<std::wstring, size_t> asked_;
    };

public:
    explicit RecordedWmi(std::shared_ptr<Shared> shared) : shared_(std::move(shared)) {}

    std::unique_ptr<WmiSession> Connect(const std::wstring& wmiNamespace) override {
        const MachineRecording& r = shared_->recording;
        if (r.wmiReached == false) return nullptr;
        const bool same = !r.wmiNamespace || SameIgnoringCase(*r.wmiNamespace, wmiNamespace);
        return std::make_unique<Session>(shared_, same);
    }

private:
    std::shared_ptr<Shared> shared_;
};

class RecordedMachine::RecordedGraphics : public GraphicsDriver {
public:
    explicit RecordedGraphics(const Shared& shared) : shared_(shared) {}

    GraphicsReading ReadDriverStrings() override {
        const MachineRecording& r = shared_.recording;
        GraphicsReading reading;
        if (r.graphics) {
            reading.strings.emplace();
            for (size_t k = 0; k < reading.strings->size(); ++k)
                if ((*r.graphics)[k]) (*reading.strings)[k] = EncodeUtf8(*(*r.graphics)[k]);
        }
        // Older recordings do not say: any string at all was an answer.
        const bool anyString = r.graphics && std::any_of(r.graphics->begin(), r.graphics->end(),
                                                         [](const auto& s) { return s.has_value(); });
        reading.outcome = r.graphicsOutcome.value_or(anyString ? GraphicsReading::Outcome::Read
                                                               : GraphicsReading::Outcome::NoWindow);
        return reading;
    }

private:
    const Shared& shared_;
};

class RecordedMachine::RecordedCodec : public TextCodec {
public:
    RecordedCodec(Shared& shared, TextCodec& codec) : shared_(shared), codec_(codec) {}

    std::optional<std::wstring> Decode(std::string_view bytes, CodePage codePage) override {
        if (codePage == CodePage::SystemAnsi) return DecodeUtf8(bytes);
        if (codePage != CodePage::ProcessLocale) return codec_.Decode(bytes, codePage);
        // A table file, read as the recorded machine read it.
        if (!shared_.recording.tableCodePage) shared_.Note(kTableCodePage);
        return DecodeWindowsCodePage(bytes, WindowsCodePage(codePage));
    }

    unsigned WindowsCodePage(CodePage codePage) override {
        const std::optional<unsigned>& recorded = shared_.recording.tableCodePage;
        return codePage == CodePage::ProcessLocale && recorded ? *recorded : codec_.WindowsCodePage(codePage);
    }

    std::optional<std::wstring> DecodeWindowsCodePage(std::string_view bytes, unsigned windowsCodePage) override {
        return codec_.DecodeWindowsCodePage(bytes, windowsCodePage);
    }

private:
    Shared& shared_;
    TextCodec& codec_;
};

class RecordedMachine::RecordedSystem : public SystemInfo {
public:
    RecordedSystem(Shared& shared, SystemInfo& system) : shared_(shared), system_(system) {}

    std::wstring ExecutablePath() override { return system_.ExecutablePath(); }
    std::optional<std::wstring> TempFolder() override { return system_.TempFolder(); }
    std::optional<std::wstring> DesktopFolder() override { return system_.DesktopFolder(); }
    std::optional<std::wstring> ComputerName() override { return system_.ComputerName(); }

    wchar_t DecimalSeparator() override {
        if (shared_.recording.decimalSeparator) return *shared_.recording.decimalSeparator;
        shared_.Note(kDecimalSeparator);
        return system_.DecimalSeparator();
    }
    bool RemoteSession() override {
        if (shared_.recording.remoteSession) return *shared_.recording.remoteSession;
        shared_.Note(kRemoteSession);
        return system_.RemoteSession();
    }

private:
    Shared& shared_;
    SystemInfo& system_;
};

class RecordedMachine::ProductFiles : public FileSystem {
public:
    ProductFiles(Shared& shared, FileSystem& files, std::wstring exeDir)
        : shared_(shared), files_(files), exeDir_(std::move(exeDir)) {}

    std::optional<std::string> ReadWholeFile(const std::wstring& path) override { return files_.ReadWholeFile(path); }
    std::optional<BoundedRead> ReadFileUpTo(const std::wstring& path, size_t maxBytes) override {
        return files_.ReadFileUpTo(path, maxBytes);
    }

    // Only the product's programs are looked for in a check.
    bool IsExistingFile(const std::wstring& path) override {
        const bool inFolder = path.size() > exeDir_.size() && SameIgnoringCase(path.substr(0, exeDir_.size()), exeDir_);
        const std::wstring name = inFolder ? path.substr(exeDir_.size()) : path;
        for (const RecordedProgram& program : shared_.recording.programs)
            if (SameIgnoringCase(program.name, name)) return program.present;
        shared_.Note(L"program " + name);
        return false;
    }

    void CreateFoldersFor(const std::wstring& filePath) override { files_.CreateFoldersFor(filePath); }
    WriteResult ReplaceFile(const std::wstring& path, const std::string& bytes) override {
        return files_.ReplaceFile(path, bytes);
    }
    std::unique_ptr<FileWriter> StartFile(const std::wstring& path) override { return files_.StartFile(path); }
    bool ForEachFileIn(const std::wstring& folder, const std::function<void(const std::wstring&)>& visit) override {
        return files_.ForEachFileIn(folder, visit);
    }

private:
    Shared& shared_;
    FileSystem& files_;
    std::wstring exeDir_;
};

RecordedMachine::RecordedMachine(MachineRecording recording, FileSystem& files, TextCodec& codec, SystemInfo& system,
                                 std::wstring exeDir)
    : shared_(std::make_shared<Shared>()) {
    shared_->recording = std::move(recording);
    if (shared_->recording.productFolder)
        productFolder_ = *shared_->recording.productFolder;
    else {
        productFolder_ = std::move(exeDir);
        shared_->Note(kProductFolder);
    }
    wmi_ = std::make_unique<RecordedWmi>(shared_);
    graphics_ = std::make_unique<RecordedGraphics>(*shared_);
    codec_ = std::make_unique<RecordedCodec>(*shared_, codec);
    files_ = std::make_unique<ProductFiles>(*shared_, files, productFolder_);
    system_ = std::make_unique<RecordedSystem>(*shared_, system);
}

RecordedMachine::~RecordedMachine() = default;

const MachineRecording& RecordedMachine::Recording() const { return shared_->recording; }
WmiService& RecordedMachine::Wmi() { return *wmi_; }
GraphicsDriver& RecordedMachine::Graphics() { return *graphics_; }
TextCodec& RecordedMachine::Codec() { return *codec_; }
FileSystem& RecordedMachine::Files() { return *files_; }
SystemInfo& RecordedMachine::System() { return *system_; }
const std::wstring& RecordedMachine::ProductFolder() const { return productFolder_; }

std::vector<std::wstring> RecordedMachine::Unrecorded() const {
    const std::lock_guard<std::mutex> lock(shared_->mutex);
    return shared_->unrecorded;
}
