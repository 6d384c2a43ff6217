#pragma once
// Reading files of the source tree (the committed built-in tables) from a test.

#include <fstream>
#include <iterator>
#include <string>

// The file's bytes; empty when it cannot be read. Under Wine the Linux source
// path is reached through the Z: drive.
inline std::string ReadSourceFile(const std::string& relativePath) {
    std::string path = std::string(ORVANE_SOURCE_DIR) + "/" + relativePath;
#ifdef _WIN32
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
#endif
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
