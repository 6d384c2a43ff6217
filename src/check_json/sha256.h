#pragma once
// SHA-256, for fingerprints of the tables a check ran on.

#include <string>
#include <string_view>

// The digest of the bytes as 64 lower-case hexadecimal digits.
std::string Sha256Hex(std::string_view bytes);
