#include "tables/table_loaders.h"

bool LoadTextResource(Platform& platform, int id, std::wstring& text, std::string* rawBytes) {
    std::optional<std::string> bytes = platform.resources.LoadText(id);
    if (!bytes || bytes->empty()) return false;
    if (rawBytes) *rawBytes = *bytes;
    // The built-in copies are code page 932 whatever the machine's code page is.
    text = platform.codec.Decode(*bytes, CodePage::Japanese).value_or(std::wstring());
    return true;
}
