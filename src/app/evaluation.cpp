#include "app/evaluation.h"

// Placeholder until the evaluation lands.
int CompareGlVersions(const std::wstring&, const std::wstring&) { return 0; }
int CompareSpecRows(const OrvaneRec&, const OrvaneRec&) { return 0; }
int CompareVersion(const std::wstring&, const std::wstring&) { return 0; }
bool CheckRow(const OrvaneRec&, CWMI&) { return true; }
bool Evaluate(std::vector<OrvaneRec>&, OrvaneRec&, CWMI&, const std::wstring&, FileSystem&, bool&) { return false; }
