#include "recording/machine_recording.h"

#include <utility>

namespace {
constexpr std::pair<GraphicsReading::Outcome, const wchar_t*> kOutcomeNames[] = {
    {GraphicsReading::Outcome::Read, L"answered"},
    {GraphicsReading::Outcome::NoWindow, L"no-context"},
    {GraphicsReading::Outcome::DriverHung, L"hung"},
    {GraphicsReading::Outcome::DriverFailed, L"failed"},
};
}  // namespace

const wchar_t* GraphicsOutcomeName(GraphicsReading::Outcome outcome) {
    for (const auto& [known, name] : kOutcomeNames)
        if (known == outcome) return name;
    return L"no-context";
}

std::optional<GraphicsReading::Outcome> GraphicsOutcomeNamed(std::wstring_view name) {
    for (const auto& [outcome, known] : kOutcomeNames)
        if (name == known) return outcome;
    return std::nullopt;
}
