#pragma once
// Files held in memory, keyed by their full path.

#include <map>
#include <set>
#include <string>

#include "platform/file_system.h"

class FakeFileSystem : public FileSystem {
public:
    std::optional<std::string> ReadWholeFile(const std::wstring& path) override {
        auto it = files.find(path);
        if (it == files.end() || unreadable.count(path)) return std::nullopt;
        return it->second;
    }
    bool IsExistingFile(const std::wstring& path) override { return files.count(path) != 0; }
    void CreateFoldersFor(const std::wstring& filePath) override { createdFoldersFor.push_back(filePath); }
    WriteResult ReplaceFile(const std::wstring& path, const std::string& bytes) override {
        if (replaceResult == WriteResult::Written) files[path] = bytes;
        return replaceResult;
    }

    std::map<std::wstring, std::string> files;
    std::set<std::wstring> unreadable;  // present, but cannot be opened
    std::vector<std::wstring> createdFoldersFor;
    WriteResult replaceResult = WriteResult::Written;
};
