#pragma once
// Where our programs load DLLs from.

// We may run elevated from a download folder: never load a DLL from there.
void LoadDllsOnlyFromSystem32();
