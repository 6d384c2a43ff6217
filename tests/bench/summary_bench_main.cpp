// orvane-check --summary natively, over the portable core: the fleet
// summary's own cost, without Wine. Files are the host's; the built-in tables
// come from res/.
//
//   orvane_summary_bench FOLDER [CSV [HTML]]
//   orvane_summary_bench --ARGUMENT...   (orvane-check's own arguments)

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

#include "check_tool/check_tool.h"
#include "encoding/utf8_encoding.h"
#include "fakes/fake_platform.h"

namespace {

namespace fs = std::filesystem;

// The core names paths with backslashes.
fs::path HostPath(const std::wstring& path) {
    std::string bytes = EncodeUtf8(path);
    for (char& c : bytes)
        if (c == '\\') c = '/';
    return fs::path(bytes);
}

std::wstring CorePath(const std::string& utf8) { return DecodeUtf8(utf8).value_or(std::wstring()); }

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class HostFileSystem : public FileSystem {
    struct Writer : FileWriter {
        explicit Writer(const fs::path& path) : out(path, std::ios::binary | std::ios::trunc) {}
        bool Write(std::string_view bytes) override { return static_cast<bool>(out.write(bytes.data(), bytes.size())); }
        WriteResult Finish() override {
            out.close();
            return out ? WriteResult::Written : WriteResult::WriteFailed;
        }
        std::ofstream out;
    };

public:
    std::optional<std::string> ReadWholeFile(const std::wstring& path) override {
        const fs::path host = HostPath(path);
        std::error_code error;
        if (!fs::is_regular_file(host, error)) return std::nullopt;
        return ReadBytes(host);
    }
    std::optional<BoundedRead> ReadFileUpTo(const std::wstring& path, size_t maxBytes) override {
        std::error_code error;
        const uintmax_t size = fs::file_size(HostPath(path), error);
        if (error) return std::nullopt;
        return size > maxBytes ? BoundedRead{std::string(), true} : BoundedRead{ReadBytes(HostPath(path)), false};
    }
    bool IsExistingFile(const std::wstring& path) override {
        std::error_code error;
        return fs::is_regular_file(HostPath(path), error);
    }
    void CreateFoldersFor(const std::wstring&) override {}
    WriteResult ReplaceFile(const std::wstring& path, const std::string& bytes) override {
        Writer writer(HostPath(path));
        writer.Write(bytes);
        return writer.Finish();
    }
    std::unique_ptr<FileWriter> StartFile(const std::wstring& path) override {
        auto writer = std::make_unique<Writer>(HostPath(path));
        if (!writer->out) return nullptr;
        return writer;
    }
    bool ForEachFileIn(const std::wstring& folder, const std::function<void(const std::wstring&)>& visit) override {
        std::error_code error;
        fs::directory_iterator it(HostPath(folder), error);
        if (error) return false;
        for (const fs::directory_entry& entry : it)
            if (entry.is_regular_file()) visit(folder + L"\\" + CorePath(entry.path().filename().string()));
        return true;
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: orvane_summary_bench FOLDER [CSV [HTML]] | --ARGUMENT...\n";
        return 64;
    }
    FakePlatform fake;
    HostFileSystem files;
    fake.resources.texts[129] = ReadBytes(fs::path(ORVANE_SOURCE_DIR) / "res" / "OrvaneWMI.csv");
    fake.resources.texts[130] = ReadBytes(fs::path(ORVANE_SOURCE_DIR) / "res" / "OrvaneSPC.csv");
    fake.system.executablePath = L"\\nowhere\\orvane-check.exe";
    Platform platform{files, fake.codec, fake.resources, fake.messages, fake.system, fake.launcher, fake.wmi,
                      fake.graphics, fake.registry, fake.profiles, fake.resultWindow, fake.threads};

    std::vector<std::wstring> args;
    if (std::string(argv[1]).rfind("--", 0) == 0) {
        for (int i = 1; i < argc; ++i) args.push_back(CorePath(argv[i]));
    } else {
        args = {L"--summary", CorePath(argv[1])};
        if (argc > 2) args.insert(args.end(), {L"--csv", CorePath(argv[2])});
        if (argc > 3) args.insert(args.end(), {L"--html", CorePath(argv[3])});
    }
    CheckToolOutput output;
    const int exitCode = RunCheckTool(platform, args, {L"bench", L"2026-01-01T00:00:00Z"}, output);
    std::cout << output.standardOutput;
    std::cerr << output.standardError;
    return exitCode;
}
