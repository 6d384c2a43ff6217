// The requirement table loader, given any bytes as the file or as the built-in copy.

#include "fuzz_input.h"
#include "tables/table_loaders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const bool asFile = data[0] & 1;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

    FuzzPlatform fuzz;
    const std::wstring exeDir = L"C:\\Tools\\";
    if (asFile)
        fuzz.fake.files.files[exeDir + L"OrvaneSPC.csv"] = bytes;
    else
        fuzz.fake.resources.texts[kSpecTableResourceId] = bytes;

    std::vector<OrvaneRec> rows;
    const bool loaded = LoadSpecTable(fuzz.platform, exeDir, rows);
    const size_t messages = fuzz.fake.messages.shown.size();
    if (asFile) {
        // From the file: a bad line is the one message, and only then does the load fail.
        Require(messages <= 1);
        Require(loaded == (messages == 0));
    } else if (bytes.empty()) {
        Require(!loaded && messages == 1);
    } else {
        Require(loaded);
    }
    return 0;
}
