#pragma once
// Writing the sheets under an output root and checking a written set against
// the committed one.

#include <string>
#include <vector>

#include "sheets.h"

// Writes every sheet as root/key; returns the keys that could not be written.
std::vector<std::string> write_sheets(const std::vector<GeneratedSheet>& sheets, const std::string& root);

// Keys whose file under `written` differs byte for byte from the one under
// `committed`, or is missing from either.
std::vector<std::string> differing_files(const std::vector<GeneratedSheet>& sheets, const std::string& written,
                                         const std::string& committed);
