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

}  // namespace

std::optional<std::string> Win32FileSystem::ReadWholeFile(const std::wstring& path) {
    // Others may hold the file open, for reading, writing or even deleting (a
    // spreadsheet, an editor): still read it.
    UniqueFile file(::CreateFileW(ExtendedLengthPath(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;

    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return std::nullopt;
    if (static_cast<unsigned long long>(size.QuadPart) > std::string().max_size()) return std::nullopt;

    std::string bytes;
    bytes.reserve(static_cast<size_t>(size.QuadPart));
    // Read to the end rather than trusting the size: the file may change meanwhile.
    char chunk[64 * 1024];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr)) return std::nullopt;
        if (got == 0) return bytes;
        bytes.append(chunk, got);
    }
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
    UniqueFile file(::CreateFileW(ExtendedLengthPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return WriteResult::NotOpened;

    size_t written = 0;
    while (written < bytes.size()) {
        const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - written, 1u << 20));
        DWORD done = 0;
        if (!::WriteFile(file.get(), bytes.data() + written, want, &done, nullptr) || done == 0)
            return WriteResult::WriteFailed;
        written += done;
    }
    // A close that fails may have lost what the cache still held.
    if (!::CloseHandle(file.release())) return WriteResult::WriteFailed;
    return WriteResult::Written;
}
