#pragma once
// Graphics strings that name a renderer drawing in software, not the driver of
// a graphics chip.

#include <array>
#include <string>

#include "tables/orvane_rec.h"

// The software renderer that the vendor or renderer string names, in any
// letter case ("llvmpipe", "GDI Generic", ...); empty when it names none.
// Such a renderer usually means a remote session, a virtual machine or a
// missing driver.
std::wstring SoftwareRendererHint(const std::array<std::wstring, OrvaneRec::glCount>& glInfo);
