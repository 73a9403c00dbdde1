#include "PagePair.h"

namespace {

void AppendLines(DocumentStore& store, int from, int to, bool doubleSpacing, std::string& out) {
    for (int d = from; d <= to; ++d) {
        out += store.LineText(store.FirstLine + d);
        out += "\r\n";
        if (doubleSpacing)
            out += "\r\n";
    }
}

} // namespace

PagePairText CutPagePair(DocumentStore& store, bool doubleSpacing) {
    PagePairText pair;
    store.FirstLine = (store.CurrentPage - 1) * store.LinesPerPage;
    AppendLines(store, 1, store.LinesPerPage, doubleSpacing, pair.Left);
    AppendLines(store, store.LinesPerPage + 1, 2 * store.LinesPerPage, doubleSpacing, pair.Right);
    return pair;
}
