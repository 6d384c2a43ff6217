#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/unique_resource.h"
#include "platform/win32/win32_long_path.h"

// <windows.h> maps ReplaceFile to ReplaceFileW; ours is the seam's member.
#undef ReplaceFile

namespace {

// Where the folders that may need creating begin: after "C:\" or "\\server\share\".
size_t FirstCreatableFolder(const std::wstring& path) {
    if (path.size() >= 2 && path[1] == L':') return path.size() >= 3 && path[2] == L'\\' ? 3 : 2;
    if (path.compare(0, 2, L"\\\\") == 0) {
        const size_t serverEnd = path.find(L'\\', 2);
        if (serverEnd == std::wstring::npos) return path.size();
        const size_t shareEnd = path.find(L'\\', serverEnd + 1);
        return shareEnd == std::wstring::npos ? path.size() : shareEnd + 1;
    }
    if (!path.empty() && path[0] == L'\\') return 1;
    return 0;
}

// Writes all of the bytes, in pieces the call takes.
bool WriteAll(HANDLE file, std::string_view bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
        const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - written, 1u << 20));
        DWORD done = 0;
        if (!::WriteFile(file, bytes.data() + written, want, &done, nullptr) || done == 0) return false;
        written += done;
    }
    return true;
}

UniqueFile CreateForWriting(const std::wstring& path) {
    return UniqueFile(::CreateFileW(ExtendedLengthPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// A close that fails may have lost what the cache still held.
WriteResult Close(UniqueFile& file) { return ::CloseHandle(file.release()) ? WriteResult::Written : WriteResult::WriteFailed; }

class Win32FileWriter : public FileWriter {
public:
    explicit Win32FileWriter(UniqueFile file) : file_(std::move(file)) {}

    bool Write(std::string_view bytes) override {
        if (!ok_) return false;
        // Many small pieces (a line each) go out in few calls.
        buffer_.append(bytes);
        if (buffer_.size() >= kFlushAt) Flush();
        return ok_;
    }

    WriteResult Finish() override {
        if (!file_) return WriteResult::WriteFailed;
        Flush();
        const WriteResult closed = Close(file_);
        return ok_ ? closed : WriteResult::WriteFailed;
    }

private:
    static constexpr size_t kFlushAt = 64 * 1024;

    void Flush() {
        if (ok_ && !WriteAll(file_.get(), buffer_)) ok_ = false;
        buffer_.clear();
    }

    UniqueFile file_;
    std::string buffer_;
    bool ok_ = true;
};

}  // namespace

std::optional<std::string> Win32FileSystem::ReadWholeFile(const std::wstring& path) {
    std::optional<BoundedRead> read = ReadFileUpTo(path, std::string().max_size() - 1);
    if (!read || read->tooLong) return std::nullopt;
    return std::move(read->bytes);
}

std::optional<BoundedRead> Win32FileSystem::ReadFileUpTo(const std::wstring& path, size_t maxBytes) {
    // Others may hold the file open, for reading, writing or even deleting (a
    // spreadsheet, an editor): still read it.
    UniqueFile file(::CreateFileW(ExtendedLengthPath(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;

    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return std::nullopt;
    BoundedRead read;
    // Too long by its size: not a byte of it is read, nor room made for it.
    if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
        read.tooLong = true;
        return read;
    }
    read.bytes.reserve(static_cast<size_t>(size.QuadPart));
    // Read to the end rather than trusting the size: the file may change
    // meanwhile. One byte past the limit tells that it grew too long.
    const size_t readLimit = maxBytes + 1;
    char chunk[64 * 1024];
    while (read.bytes.size() < readLimit) {
        const DWORD want = static_cast<DWORD>(std::min<size_t>(sizeof chunk, readLimit - read.bytes.size()));
        DWORD got = 0;
        if (!::ReadFile(file.get(), chunk, want, &got, nullptr)) return std::nullopt;
        if (got == 0) return read;
        read.bytes.append(chunk, got);
    }
    read.bytes.clear();
    read.tooLong = true;
    return read;
}

bool Win32FileSystem::IsExistingFile(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(ExtendedLengthPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void Win32FileSystem::CreateFoldersFor(const std::wstring& filePath) {
    const size_t last = filePath.rfind(L'\\');
    if (last == std::wstring::npos) return;
    // Each folder in turn from the root; ones that exist already fail harmlessly.
    for (size_t at = FirstCreatableFolder(filePath); at <= last; ++at) {
        at = filePath.find(L'\\', at);
        if (at == std::wstring::npos || at > last) break;
        const std::wstring folder = filePath.substr(0, at);
        if (!folder.empty() && folder.back() != L'\\')
            ::CreateDirectoryW(ExtendedLengthPath(folder).c_str(), nullptr);
    }
}

WriteResult Win32FileSystem::ReplaceFile(const std::wstring& path, const std::string& bytes) {
    UniqueFile file = CreateForWriting(path);
    if (!file) return WriteResult::NotOpened;
    if (!WriteAll(file.get(), bytes)) return WriteResult::WriteFailed;
    return Close(file);
}

std::unique_ptr<FileWriter> Win32FileSystem::StartFile(const std::wstring& path) {
    UniqueFile file = CreateForWriting(path);
    if (!file) return nullptr;
    return std::make_unique<Win32FileWriter>(std::move(file));
}

bool Win32FileSystem::ForEachFileIn(const std::wstring& folder,
                                    const std::function<void(const std::wstring& path)>& visit) {
    const std::wstring prefix = folder.empty() || folder.back() == L'\\' || folder.back() == L'/' ? folder : folder + L'\\';
    WIN32_FIND_DATAW found{};
    UniqueFind find(::FindFirstFileExW(ExtendedLengthPath(prefix + L"*").c_str(), FindExInfoBasic, &found,
                                       FindExSearchNameMatch, nullptr, 0));
    // Nothing matched: an empty root folder, which is no failure.
    if (!find) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        visit(prefix + found.cFileName);
    } while (::FindNextFileW(find.get(), &found));
    return true;
}
