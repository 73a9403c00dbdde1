#pragma once
// Choosing among the heading rules by their evidence, as a careful reader would: a rule's
// candidates count only when they stand a minimum distance apart (a heading repeated a few lines
// below itself counts once) and are not lines of a table of contents, and a rule whose numbers run
// in order (1, 2, 3 ..., or starting again at 1 in a new volume) beats one whose numbers jump
// about. The best chapter rule gives the chapters, the best volume rule (卷, 部) the level above;
// with no chapter rule that fits, the document falls back to sections of a fixed size.
#include "ChapterFinder.h"

#include <vector>

namespace chapters {

// Candidates of one rule closer than this to the one kept before them repeat it.
inline constexpr std::uint32_t MinSpacing = 400;

std::vector<Chapter> ChooseChapters(const std::vector<Candidate>& candidates,
                                    const std::vector<Chapter>& sections);

} // namespace chapters
