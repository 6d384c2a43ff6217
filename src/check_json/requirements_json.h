#pragma once
// orvane-check's JSON members for what the tried rows ask and what to do.

#include "check/check_result.h"
#include "check_json/json_writer.h"

// "requirements": per row tried, in the order tried, its values and each
// check of them, with what the machine fell short of.
void WriteRequirementsJson(JsonWriter& json, const CheckResult& result, wchar_t decimalSeparator);

// "advice": [{code, text}], the lines the report ends with.
void WriteAdviceJson(JsonWriter& json, const CheckResult& result, wchar_t decimalSeparator);
