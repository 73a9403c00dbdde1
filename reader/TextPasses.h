#pragma once
// The text passes of an open: line ends made CR LF in the raw chunks, then the shown chunks
// made afresh from the raw ones by the processing passes the options ask for.
#include "DocumentStore.h"
#include "ProgressWindow.h"
#include "TextOptions.h"

#include <string_view>

inline constexpr const char* CaptionText = "处理文本";
inline constexpr const char* CaptionHtml = "处理HTML";
inline constexpr const char* CaptionChap = "智能分段";

// Every lone CR and every lone LF of the raw chunks becomes CR LF.
void Init_Text(DocumentStore& store, ProgressWindow& progress);

// Shown chunks := raw chunks, then the conversion passes, HTML clean-up and smart paragraphs,
// in that order. Starting from the raw text each time is what lets a pass be switched off.
void Init_Page_Do(DocumentStore& store, const TextOptions& options, ProgressWindow& progress);
