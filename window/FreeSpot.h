#pragma once
// A place on the book for a small mark (the clock, the automatic-reading mark) that covers
// neither the text nor anything else already there.
#include "BookGeometry.h"

#include <QRect>
#include <optional>
#include <vector>

// Tries the middle of the margin above the pages, then below them, then the outer corners of
// those margins; nothing when every place would overlap the pages or one of `taken`.
std::optional<QRect> FreeSpot(const QSize& size, const BookGeometry& book,
                              const std::vector<QRect>& taken);
