#pragma once
// The reading place kept while the document is read again in another encoding. That changes
// how many bytes the characters take but not their order, so the place is kept as a share of
// the document's bytes: exact where the lengths stay (GB and BIG5), close where they change (a
// UTF text read as GB).
#include "DocumentStore.h"
#include "base/TextPosition.h"

// The share (0 to 1) of the shown text before `place`.
double ShareBefore(const DocumentStore& store, const TextPosition& place);

// The position of the byte at `share` of the shown text.
TextPosition PositionAtShare(const DocumentStore& store, double share);
