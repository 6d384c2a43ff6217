// Query-table lines of any code units, the two cursors carried from line to line.

#include "fuzz_input.h"
#include "tables/table_loaders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring text = CodeUnitsOf(data, size);
    CWMI table;
    CWMIClass* currentQuery = nullptr;
    CWMIProp* currentProp = nullptr;
    for (const std::wstring& line : CutResourceLines(text)) {
        ParseQueryRow(line, table, currentQuery, currentProp);
        // The cursors point at the newest query and at its newest property.
        Require(currentQuery == nullptr || currentQuery == table.queries.back().get());
        Require(currentProp == nullptr ||
                (currentQuery != nullptr && currentProp == currentQuery->props.back().get()));
        if (currentProp) Require(currentProp->checkIndex == -1 || currentProp->checkIndex >= 1);
    }
    return 0;
}
