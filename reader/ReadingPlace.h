#pragma once
// The place of the shown pair in the text, kept while the document is read again in another
// encoding. That changes how many bytes the characters take but not their order, so the place
// is kept as a share of the document's bytes: exact where the lengths stay (GB and BIG5), close
// where they change (a UTF text read as GB).
#include "DocumentStore.h"

// The share (0 to 1) of the shown text before the first line of the shown pair.
double ShownShare(DocumentStore& store);

// The page that holds the byte at `share` of the shown text.
int PageAtShare(DocumentStore& store, double share);
