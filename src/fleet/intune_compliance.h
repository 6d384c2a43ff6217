#pragma once
// Intune's custom compliance for Kestrand VORN: the settings a discovery
// script hands Intune (one compressed JSON object), and the rule and the
// users' texts for each. Settings and rules come from one list, so that a
// PC's line names exactly the settings the rules of the same tables judge.

#include <string>
#include <vector>

#include "check/check_result.h"

enum class IntuneDataType { Boolean, Int64, String, Version };

// The rules file's name of the type: "Boolean", "Int64", ...
const wchar_t* IntuneDataTypeName(IntuneDataType type);

struct IntuneSetting {
    enum class Kind { Verdict, ExitCode, MeetsRow, OsVersion, GlVersion, Requirement, Cause };
    Kind kind = Kind::Verdict;
    std::wstring name;  // "OrvaneVerdict", ...
    IntuneDataType type = IntuneDataType::String;
    // Boolean: "true" or "false"; Int64: its digits; else the text.
    std::wstring value;
    OrvaneRec::Column column = OrvaneRec::minOsVersion;  // Requirement: which
    std::wstring code;                                   // Cause: its advice code
};

// The settings of this check, in order. Their names and types follow from
// the tables alone: whatever the machine, the same tables give the same.
std::vector<IntuneSetting> IntuneSettingsOf(const CheckResult& result, int exitCode);

struct IntuneRemediation {
    std::wstring title;
    std::wstring description;  // "{ActualValue}": Intune puts in the PC's value
};

struct IntuneRule {
    std::wstring settingName;
    IntuneDataType type = IntuneDataType::String;
    const wchar_t* op = L"IsEquals";  // IsEquals, NotEquals, GreaterThan, GreaterEquals, LessThan, LessEquals
    std::wstring operand;             // as IntuneSetting::value
    IntuneRemediation ja;             // ja_JP
    IntuneRemediation en;             // en_US
};

// The rule of each setting: what is compliant, and what users are told when
// it is not, about the requirement rows of result's tables.
std::vector<IntuneRule> IntuneRulesOf(const CheckResult& result);
