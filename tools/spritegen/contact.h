#pragma once
// A contact sheet of generated frames, each shown where the game draws it
// over its body (both facings) with the body's outline traced on top.

#include <string>
#include <vector>

#include "png_writer.h"
#include "sheets.h"

// Only sheets whose key contains `filter` (all when empty), and of those
// only frames first..last; a short range is drawn bigger.
PixelImage contact_sheet(const std::vector<GeneratedSheet>& sheets, const std::string& filter, int first = 0,
                         int last = 1 << 20);

// Every sheet as it is, scaled up on a plain backdrop, to judge the art as
// one set.
PixelImage preview_sheet(const std::vector<GeneratedSheet>& sheets, const std::string& filter, int zoom);
