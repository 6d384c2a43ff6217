#pragma once
// Files and folders.

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

enum class WriteResult {
    Written,     // the file now holds exactly the bytes given
    NotOpened,   // nothing was written
    WriteFailed  // opened, but writing or closing failed; part of the file may remain
};

// What a read of at most so many bytes gave.
struct BoundedRead {
    std::string bytes;     // the whole file, unless it was too long
    bool tooLong = false;  // it holds more than the bytes asked for; then nothing of it is kept
};

// A file written front to back, a piece at a time.
class FileWriter {
public:
    virtual ~FileWriter() = default;

    // False once a write has failed; later writes then do nothing.
    virtual bool Write(std::string_view bytes) = 0;

    // Closes the file: Written only when every write and the close succeeded.
    virtual WriteResult Finish() = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The whole content of an existing file, opened for reading while other
    // programs may keep it open for reading or writing. nullopt when it cannot
    // be opened or read.
    virtual std::optional<std::string> ReadWholeFile(const std::wstring& path) = 0;

    // As ReadWholeFile, for a file that may be of any size: its size is
    // looked at first, and no more than maxBytes + 1 bytes are ever read.
    // nullopt when it cannot be opened or read.
    virtual std::optional<BoundedRead> ReadFileUpTo(const std::wstring& path, size_t maxBytes) = 0;

    // True for an existing file; false for a folder or nothing.
    virtual bool IsExistingFile(const std::wstring& path) = 0;

    // Creates every missing folder on the path up to its last backslash.
    virtual void CreateFoldersFor(const std::wstring& filePath) = 0;

    // Creates or empties the file and writes the bytes.
    virtual WriteResult ReplaceFile(const std::wstring& path, const std::string& bytes) = 0;

    // Creates or empties the file to be written a piece at a time; null when
    // it cannot be opened.
    virtual std::unique_ptr<FileWriter> StartFile(const std::wstring& path) = 0;

    // Hands the full path of each file (not folder) directly in the folder to
    // visit, one at a time, in the order the system lists them. False when the
    // folder cannot be listed.
    virtual bool ForEachFileIn(const std::wstring& folder,
                               const std::function<void(const std::wstring& path)>& visit) = 0;
};
