#include "check_json/check_exit_code.h"

int CheckRunExitCode(const CheckResult& result) {
    if (!result.TablesUsable()) return kCheckTableUnusable;
    // Facts that could not be had are no pass.
    if (result.wmi != WmiCompleteness::Complete) return kCheckWmiUnreachable;
    return result.passed ? kCheckMeets : kCheckFallsShort;
}
