#include "platform/win32/win32_file_system.h"
// Placeholder.
std::optional<std::string> Win32FileSystem::ReadWholeFile(const std::wstring&) { return std::nullopt; }
bool Win32FileSystem::IsExistingFile(const std::wstring&) { return false; }
void Win32FileSystem::CreateFoldersFor(const std::wstring&) {}
WriteResult Win32FileSystem::ReplaceFile(const std::wstring&, const std::string&) { return WriteResult::NotOpened; }
