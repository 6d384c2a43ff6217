#include "check_json/check_exit_code.h"

#include <exception>

int CheckRunExitCode(const CheckResult& result) {
    if (!result.TablesUsable()) return kCheckTableUnusable;
    // Facts that could not be had are no pass.
    if (result.wmi != WmiCompleteness::Complete) return kCheckWmiUnreachable;
    return result.passed ? kCheckMeets : kCheckFallsShort;
}

std::optional<std::string> InternalErrorOf(const std::function<void()>& work) {
    const std::string line = "orvane-check: internal error: ";
    try {
        work();
        return std::nullopt;
    } catch (const std::exception& error) {
        return line + error.what() + "\r\n";
    } catch (...) {
        return line + "unknown\r\n";
    }
}
