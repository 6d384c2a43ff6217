#pragma once
// Files held in memory, keyed by their full path.

#include <map>
#include <new>
#include <set>
#include <string>

#include "platform/file_system.h"

class FakeFileSystem : public FileSystem {
    struct Writer : FileWriter {
        explicit Writer(std::string& file) : bytes(file) {}
        bool Write(std::string_view more) override {
            bytes.append(more);
            return true;
        }
        WriteResult Finish() override { return WriteResult::Written; }
        std::string& bytes;
    };

public:
    std::optional<std::string> ReadWholeFile(const std::wstring& path) override {
        auto it = files.find(path);
        if (it == files.end() || unreadable.count(path)) return std::nullopt;
        return it->second;
    }
    std::optional<BoundedRead> ReadFileUpTo(const std::wstring& path, size_t maxBytes) override {
        if (throwing.count(path)) throw std::bad_alloc();
        const std::optional<std::string> bytes = ReadWholeFile(path);
        if (!bytes) return std::nullopt;
        return bytes->size() > maxBytes ? BoundedRead{std::string(), true} : BoundedRead{*bytes, false};
    }
    bool IsExistingFile(const std::wstring& path) override { return files.count(path) != 0; }
    void CreateFoldersFor(const std::wstring& filePath) override { createdFoldersFor.push_back(filePath); }
    WriteResult ReplaceFile(const std::wstring& path, const std::string& bytes) override {
        if (unwritable.count(path)) return WriteResult::NotOpened;
        if (replaceResult == WriteResult::Written) files[path] = bytes;
        return replaceResult;
    }

    std::unique_ptr<FileWriter> StartFile(const std::wstring& path) override {
        if (replaceResult != WriteResult::Written) return nullptr;
        files[path].clear();
        return std::make_unique<Writer>(files[path]);
    }
    // The files whose path is the folder's, a backslash and a name without one.
    bool ForEachFileIn(const std::wstring& folder, const std::function<void(const std::wstring&)>& visit) override {
        const std::wstring prefix = folder.empty() || folder.back() == L'\\' ? folder : folder + L'\\';
        bool any = false;
        for (const auto& file : files) {
            if (file.first.compare(0, prefix.size(), prefix) != 0) continue;
            any = true;
            if (file.first.find(L'\\', prefix.size()) == std::wstring::npos) visit(file.first);
        }
        return any;
    }

    std::map<std::wstring, std::string> files;
    std::set<std::wstring> unreadable;  // present, but cannot be opened
    std::set<std::wstring> unwritable;  // ReplaceFile cannot open them
    std::set<std::wstring> throwing;    // reading them fails as an allocation that cannot be had
    std::vector<std::wstring> createdFoldersFor;
    WriteResult replaceResult = WriteResult::Written;
};
