#pragma once
// The switches of the text passes: which conversion runs and which filters clean the text. The
// window fills them from its settings; the command-line tool from its options.
struct TextOptions {
    bool ConvertBig5 = false;
    bool ConvertGb = false;
    bool AutoConvert = true;
    bool ProcessHtml = false;
    bool SmartParagraphs = false;

    bool operator==(const TextOptions&) const = default;
};
