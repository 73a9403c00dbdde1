#include "ReadFailure.h"

#include "AtomicFile.h"
#include "UserMessage.h"

#include <cerrno>
#include <cstring>

namespace {

constexpr char FolderNotFile[] = "这是一个文件夹，不是文件。";

} // namespace

std::string ReadFailureReason(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
        return "没有读取这个文件的权限。";
    case ENOENT:
    case ENOTDIR:
        return CheckExistsReason;
    case EISDIR:
        return FolderNotFile;
    case ENODEV:
    case ENXIO:
        return NotRegularFileReason;
    case EIO:
        return "磁盘读写错误，请检查磁盘是否损坏。";
    default:
        return std::strerror(error);
    }
}

std::string WriteFailureReason(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
        return "没有写入的权限，或者文件是只读的。";
    case EROFS:
        return "磁盘是只读的。";
    case ENOENT:
    case ENOTDIR:
        return "文件夹不存在。";
    case ENOSPC:
    case EDQUOT:
        return "磁盘空间不足。";
    case EFBIG:
        return "文件太大。";
    case ENAMETOOLONG:
        return "文件名太长。";
    case EISDIR:
        return FolderNotFile;
    case NotARegularFile:
        return "这不是一个普通文件。";
    case EIO:
        return "磁盘读写错误。";
    default:
        return std::strerror(error);
    }
}

std::string WriteFailedText(std::string_view action, const std::string& path, int error) {
    return std::string(action) + " " + path + " 失败！\r\n请检查磁盘是否错误。\r\n" +
           WriteFailureReason(error);
}
