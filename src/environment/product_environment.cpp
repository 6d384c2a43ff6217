#include "environment/product_environment.h"

// Placeholder until the product environment lands.
bool ReadProductEnvironment(Platform&, const std::wstring&, std::wstring&) { return true; }
bool WriteSettings(ProfileFiles&, const std::wstring&, const OrvaneRec&) { return false; }
