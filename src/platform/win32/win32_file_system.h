#pragma once

#include "platform/file_system.h"

class Win32FileSystem : public FileSystem {
public:
    std::optional<std::string> ReadWholeFile(const std::wstring& path) override;
    std::optional<BoundedRead> ReadFileUpTo(const std::wstring& path, size_t maxBytes) override;
    bool IsExistingFile(const std::wstring& path) override;
    void CreateFoldersFor(const std::wstring& filePath) override;
    WriteResult ReplaceFile(const std::wstring& path, const std::string& bytes) override;
    std::unique_ptr<FileWriter> StartFile(const std::wstring& path) override;
    bool ForEachFileIn(const std::wstring& folder, const std::function<void(const std::wstring& path)>& visit) override;
};
