#pragma once
// Why a file could not be read or written, in words a reader understands: Chinese for the
// common causes, the system's own text only for the rare rest.
#include <string>
#include <string_view>

// A pipe, a device or a socket: it exists, but it is no file whose end can be read.
inline constexpr char NotRegularFileReason[] = "这不是普通文件（可能是管道或设备），无法打开。";

// The reason for the system error `error` (an errno value), as the second line of a failure
// message: no permission, no such file, a folder, a pipe or device (ENODEV), a disk error; otherwise strerror's text.
std::string ReadFailureReason(int error);

// The same for a write (an errno value or NotARegularFile): no permission or a read-only file,
// a missing folder, a full disk, a read-only disk, a folder or other non-regular file.
std::string WriteFailureReason(int error);

// "<action> <path> 失败！" CR LF "请检查磁盘是否错误。" CR LF <the reason for `error`>
std::string WriteFailedText(std::string_view action, const std::string& path, int error);
