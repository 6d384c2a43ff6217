#pragma once
// Records of the query table; the same records hold the answers (the result tree).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CWMIBase {
public:
    virtual ~CWMIBase() = default;

    std::wstring label;  // heading format of a query, or line format of a property
};

class CWMIProp : public CWMIBase {
public:
    std::wstring name;         // WMI property name
    std::wstring value;        // value text found by the query runner; empty in the table
    double scale = 0.0;        // 0.0: shown as text; otherwise value * scale with a numeric label
    int32_t checkIndex = -1;   // requirement column it is compared with; only 1..8 take part
    int32_t failed = 0;        // set to 1 by the evaluation, never reset
};

class CWMIClass : public CWMIBase {
public:
    ~CWMIClass() override;

    std::wstring query;                            // WQL text
    std::vector<std::unique_ptr<CWMIProp>> props;  // owned, table order
};

class CWMI {
public:
    virtual ~CWMI();

    std::wstring wmiNamespace;
    std::vector<std::unique_ptr<CWMIClass>> queries;  // owned, table order
};
