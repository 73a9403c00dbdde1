#include "TextPasses.h"

#include "ChunkPass.h"
#include "Chapters.h"
#include "ConvertPasses.h"
#include "text/TextFilters.h"

void Init_Text(DocumentStore& store, ProgressWindow& progress) {
    // Most files already end their lines with CR LF: their chunks are only scanned, not copied.
    RunChunkPass(store.RawChunk, progress, CaptionText, [](std::string_view text) -> PassOutcome {
        if (!HasLoneLineBreak(text))
            return std::nullopt;
        return NormalizeLineBreaks(text);
    });
}

void Init_Page_Do(DocumentStore& store, const TextOptions& options, ProgressWindow& progress) {
    store.ShownChunk = store.RawChunk;
    store.ShownCodeChange = RunConvertPasses(store.ShownChunk, options, progress);
    if (options.ProcessHtml)
        RunChunkPass(store.ShownChunk, progress, CaptionHtml,
                     [](std::string_view text) { return IfChanged(StripHtml(text), text); });
    if (!options.SmartParagraphs)
        return;
    // Headings stay lines of their own, so the chapters are found in the joined text too.
    const chapters::ChapterWords& headings =
        chapters::ChapterWords::For(ShownTextCode(store.ShownChunk));
    RunChunkPass(store.ShownChunk, progress, CaptionChap, [&](std::string_view text) {
        return IfChanged(SmartParagraph(text, ListChap1(), ListChap2(), &headings), text);
    });
}
