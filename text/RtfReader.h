#pragma once
// Reading the plain text of an RTF document, as a rich-text control shows it when all of it is
// selected: the body text as GB bytes, every paragraph ending in CR LF.
#include <functional>
#include <string>
#include <string_view>

// Turns BIG5 bytes into GB bytes (the caller passes Big5ToGb).
using Big5Converter = std::function<std::string(std::string_view)>;

// The text of `rtf`. Bytes written as \'hh (or raw) are taken in the code page of their font's
// character set, else in the document's \ansicpg, GB when none is named; BIG5 (950) text goes
// through `big5ToGb` (kept as BIG5 when it is empty), other code pages through iconv. \uN
// characters are encoded as GB18030 ('?' for an unpaired surrogate) and their fallback is
// skipped as \ucN says. \par, \line and \row end a line; \tab and \cell give a tab. Font,
// colour and style tables, document information, pictures, objects, headers, footers, footnotes
// and \* groups hold no body text and are skipped.
//
// Input that does not start with "{\rtf" is returned unchanged, as a rich-text control would
// show it as plain text. Damaged RTF (unbalanced braces, a cut-off file, a \bin longer than the
// file, very deep nesting) yields the text read up to the damage and beyond it where possible;
// groups nested more than 1000 deep are read as text of the group at that depth.
std::string RtfToText(std::string_view rtf, const Big5Converter& big5ToGb = {});

// Whether `bytes` starts as an RTF document does.
bool LooksLikeRtf(std::string_view bytes);
