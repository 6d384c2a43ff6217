#pragma once
// The management service (WMI), reduced to the facts the check needs.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// One property value as WMI delivered it.
struct WmiValue {
    enum class Type { I4, Bstr, Bool, UI1, Other, Absent };

    // Other: empty, null or not converted; Absent: the instance has no
    // property of that name (or it could not be read).
    Type type = Type::Other;
    int32_t i4 = 0;
    std::wstring text;        // Bstr
    bool boolean = false;     // Bool: true only for VARIANT_TRUE
    uint8_t ui1 = 0;
};

struct WmiInstance {
    WmiValue name;                // the instance's "Name"
    std::vector<WmiValue> values; // one per requested property, in request order
};

class WmiSession {
public:
    virtual ~WmiSession() = default;

    // Every instance the query returns, in the enumerator's order. nullopt
    // when no enumerator came back; an enumeration that stops part-way keeps
    // what it had.
    virtual std::optional<std::vector<WmiInstance>> Query(const std::wstring& wql,
                                                          const std::vector<std::wstring>& properties) = 0;
};

class WmiService {
public:
    virtual ~WmiService() = default;

    // A connection to the namespace, or null when none could be made. The
    // connection's lifetime bounds the COM apartment the queries run in.
    virtual std::unique_ptr<WmiSession> Connect(const std::wstring& wmiNamespace) = 0;
};
