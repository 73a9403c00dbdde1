#pragma once
// The text of the shown page pair, cut from the display lines of the document.
#include "DocumentStore.h"

#include <string>

struct PagePairText {
    std::string Left; // byte text, each line followed by CR LF (two with double spacing)
    std::string Right;
};

// The lines of pages CurrentPage and CurrentPage + 1; sets FirstLine. Lines past the end of the
// document are empty, so the last pages are filled with empty lines.
PagePairText CutPagePair(DocumentStore& store, bool doubleSpacing);
