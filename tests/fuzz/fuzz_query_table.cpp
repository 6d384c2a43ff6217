// The query table loader, given any bytes as the file or as the built-in copy.

#include "fuzz_input.h"
#include "tables/table_loaders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const bool asFile = data[0] & 1;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

    FuzzPlatform fuzz;
    const std::wstring exeDir = L"C:\\Tools\\";
    if (asFile)
        fuzz.fake.files.files[exeDir + L"OrvaneWMI.csv"] = bytes;
    else
        fuzz.fake.resources.texts[kQueryTableResourceId] = bytes;

    CWMI table;
    const bool loaded = LoadQueryTable(fuzz.platform, exeDir, table);
    // No line of a query table is an error: only a missing source is.
    const bool sourceMissing = !asFile && bytes.empty();
    Require(loaded == !sourceMissing);
    Require(fuzz.fake.messages.shown.size() == (sourceMissing ? 1u : 0u));
    for (const auto& query : table.queries)
        for (const auto& prop : query->props) Require(prop->checkIndex == -1 || prop->checkIndex >= 1);
    return 0;
}
