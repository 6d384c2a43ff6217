#include "app/product_launch.h"

const wchar_t* const kLaunchFailedMessage = L"起動できません。\n%s";

// Placeholder until the launch lands.
bool LaunchProduct(ProcessLauncher&, const std::wstring&, const OrvaneRec&, std::wstring&) { return false; }
