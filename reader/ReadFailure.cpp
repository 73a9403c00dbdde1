#include "ReadFailure.h"

#include "UserMessage.h"

#include <cerrno>
#include <cstring>

std::string ReadFailureReason(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
        return "没有读取这个文件的权限。";
    case ENOENT:
    case ENOTDIR:
        return CheckExistsReason;
    case EISDIR:
        return "这是一个文件夹，不是文件。";
    case ENODEV:
    case ENXIO:
        return NotRegularFileReason;
    case EIO:
        return "磁盘读写错误，请检查磁盘是否损坏。";
    default:
        return std::strerror(error);
    }
}
