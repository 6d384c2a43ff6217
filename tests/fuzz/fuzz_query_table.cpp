// The query table loader, given any bytes as the file or as the built-in copy.

#include "fuzz_input.h"
#include "tables/table_loaders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    FuzzPlatform fuzz;
    const TableInput input = PlaceTable(fuzz, data, size, L"OrvaneWMI.csv", kQueryTableResourceId);

    CWMI table;
    const bool loaded = LoadQueryTable(fuzz.platform, input.exeDir, table);
    // No line of a query table is an error: only a missing source is.
    const bool sourceMissing = !input.asFile && input.bytes.empty();
    Require(loaded == !sourceMissing);
    Require(fuzz.fake.messages.shown.size() == (sourceMissing ? 1u : 0u));
    for (const auto& query : table.queries)
        for (const auto& prop : query->props) Require(prop->checkIndex == -1 || prop->checkIndex >= 1);
    return 0;
}
