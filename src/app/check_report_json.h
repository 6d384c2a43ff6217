#pragma once
// orvane-check's JSON document: what one check found, for scripts.

#include <array>
#include <optional>
#include <string>

#include "app/orvane_app.h"

inline constexpr int kCheckJsonSchemaVersion = 1;

// What the run adds to the application's own state.
struct CheckOutcome {
    std::wstring toolVersion;
    std::optional<std::wstring> machineName;
    std::wstring utcTime;  // ISO 8601, e.g. "2026-01-31T08:15:00Z"
    bool specLoaded = false;
    bool queryLoaded = false;
    bool wmiReached = true;
    int exitCode = 0;
    std::wstring status;  // the status line the result dialog would show
};

// The software renderer that the vendor or renderer string names, in any
// letter case ("llvmpipe", "GDI Generic", ...); empty when it names none.
// Such a renderer usually means a remote session, a virtual machine or a
// missing driver.
std::wstring SoftwareRendererHint(const std::array<std::wstring, OrvaneRec::glCount>& glInfo);

// The whole document, as UTF-8 ending with a line end. `app` has run its
// steps up to Evaluate.
std::string CheckReportJson(const OrvaneApp& app, const CheckOutcome& outcome, wchar_t decimalSeparator);
