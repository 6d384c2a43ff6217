// The requirement table loader, given any bytes as the file or as the built-in copy.

#include "fuzz_input.h"
#include "tables/table_loaders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    FuzzPlatform fuzz;
    const TableInput input = PlaceTable(fuzz, data, size, L"OrvaneSPC.csv", kSpecTableResourceId);

    std::vector<OrvaneRec> rows;
    const bool loaded = LoadSpecTable(fuzz.platform, input.exeDir, rows);
    const size_t messages = fuzz.fake.messages.shown.size();
    if (input.asFile) {
        // From the file: a bad line is the one message, and only then does the load fail.
        Require(messages <= 1);
        Require(loaded == (messages == 0));
    } else if (input.bytes.empty()) {
        Require(!loaded && messages == 1);
    } else {
        Require(loaded);
    }
    return 0;
}
