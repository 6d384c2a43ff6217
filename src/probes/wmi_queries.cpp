#include "probes/wmi_queries.h"

// Placeholder until the WMI queries land.
bool HoldsCheckedProperty(const CWMIClass&) { return false; }
std::wstring VariantToText(const WmiValue&) { return L" "; }
void RunQueries(WmiService&, const CWMI&, QuerySelection, CWMI&, std::vector<size_t>&) {}
