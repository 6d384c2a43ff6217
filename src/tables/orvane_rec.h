#pragma once
// One requirement row, and the run's own record of what it found.

#include <array>
#include <cstddef>
#include <string>

class OrvaneRec {
public:
    enum GlIndex { glVendor, glRenderer, glVersion, glShadingVersion, glCount };
    enum Column {
        minGlVersion,
        minOsVersion,
        osArchitecture,
        exeName,
        exeArgs,
        glVerdict,
        statusText,
        linkText,
        linkUrl,
        columnCount
    };

    OrvaneRec();

    std::array<std::wstring, glCount> glInfo;
    std::array<std::wstring, columnCount> columns;
    // 1-based line of the table the row came from; in the run's own record,
    // the selected row's line, 0 while none is selected.
    size_t line = 0;
};

// Status of a run that selected no row.
extern const wchar_t* const kDefaultStatusText;
