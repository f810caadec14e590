#pragma once
// The rebuild of a ladder program from a received image (slots 0..659): presets first (counter texts show
// them), then for rungs 1..slot 0 the rung node, its inputs node with its elements, its outputs node with
// its elements. Every key is padded or cut to 35 characters and every text to 30, element texts included;
// element texts are the decoded texts; a key already taken becomes the trimmed key followed by a counter
// kept for the whole rebuild, not cut to the key field (saved, the file cuts it).

#include "ladder/ladderimage.h"
#include "ladder/ladderprogram.h"

#include <optional>

namespace ladder {

// The rebuilt program, or nothing when slot 0 holds more than 30 rungs (or a negative count). A list
// ends at the first slot below 1 or after its 10 slots. Received presets are brought into their ranges
// (0 ticks give a 1 s timer, 120 on counter 1 gives 99).
std::optional<LadderProgram> rebuildLadderProgram(const LadderImage& image);

} // namespace ladder
