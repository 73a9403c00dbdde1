#pragma once
// Saving the document as it is shown: the processed text of every chunk, one after the other,
// in the code the conversions produced, with CR LF line ends and no header.
#include "DocumentStore.h"
#include "ProgressWindow.h"
#include "UserMessage.h"

#include <optional>
#include <string>

inline constexpr char SaveProgressCaption[] = "保存文件";

// "保存文件 <path> 失败！" CR LF "请检查磁盘是否错误。" CR LF <why: errno `error`>
std::string SaveFailedText(const std::string& path, int error);

// Writes the shown chunks to `path`, reporting chunk i as position i of a progress range 0 to
// the chunk count, as AtomicFile.h writes files. Nothing on success, else the warning to show.
std::optional<UserMessage> SaveDocumentText(const DocumentStore& store, const std::string& path,
                                            ProgressWindow& progress);
