#pragma once
// Files and folders.

#include <optional>
#include <string>

enum class WriteResult {
    Written,     // the file now holds exactly the bytes given
    NotOpened,   // nothing was written
    WriteFailed  // opened, but writing or closing failed; part of the file may remain
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The whole content of an existing file, opened for reading while other
    // programs may keep it open for reading or writing. nullopt when it cannot
    // be opened or read.
    virtual std::optional<std::string> ReadWholeFile(const std::wstring& path) = 0;

    // True for an existing file; false for a folder or nothing.
    virtual bool IsExistingFile(const std::wstring& path) = 0;

    // Creates every missing folder on the path up to its last backslash.
    virtual void CreateFoldersFor(const std::wstring& filePath) = 0;

    // Creates or empties the file and writes the bytes.
    virtual WriteResult ReplaceFile(const std::wstring& path, const std::string& bytes) = 0;
};
