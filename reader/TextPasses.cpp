#include "TextPasses.h"

#include "ChunkPass.h"
#include "ConvertPasses.h"
#include "text/TextFilters.h"

void Init_Text(DocumentStore& store, ProgressWindow& progress) {
    RunChunkPass(store.RawChunk, progress, CaptionText,
                 [](std::string_view text) { return IfChanged(NormalizeLineBreaks(text), text); });
}

void Init_Page_Do(DocumentStore& store, const TextOptions& options, ProgressWindow& progress) {
    store.ShownChunk = store.RawChunk;
    store.ShownCodeChange = RunConvertPasses(store.ShownChunk, options, progress);
    if (options.ProcessHtml)
        RunChunkPass(store.ShownChunk, progress, CaptionHtml,
                     [](std::string_view text) { return IfChanged(StripHtml(text), text); });
    if (options.SmartParagraphs)
        RunChunkPass(store.ShownChunk, progress, CaptionChap, [](std::string_view text) {
            return IfChanged(SmartParagraph(text, ListChap1(), ListChap2()), text);
        });
}

void UseHelpText(DocumentStore& store, std::string_view helpText, TextOptions& options) {
    store.SetHelpText(helpText);
    options.ConvertBig5 = options.ConvertGb = false;
    options.ProcessHtml = options.SmartParagraphs = false;
}

ToggleWork WorkAfterToggle(TextToggle toggle) {
    switch (toggle) {
    case TextToggle::UnderLine:
        return {false, false};
    case TextToggle::HangD:
        return {false, true};
    default:
        return {true, true};
    }
}
