// One requirement line of any code units.

#include "fuzz_input.h"
#include "tables/table_loaders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring line = CodeUnitsOf(data, size);
    std::vector<OrvaneRec> rows;
    const int fields = ParseSpecRow(line, rows);
    Require(fields >= 1 && fields <= 9);
    Require(rows.size() == (fields == 9 ? 1u : 0u));
    if (!rows.empty()) {
        // The nine columns and the eight commas between them are all the line's start.
        std::wstring joined = rows[0].columns[0];
        for (size_t k = 1; k < 9; ++k) joined += L"," + rows[0].columns[k];
        Require(line.compare(0, joined.size(), joined) == 0);
    }
    return 0;
}
