#pragma once
// What the core tells the user: a text and the kind of box that shows it. The core hands these
// back as results; the window shows them through the message helpers, so nothing below the
// window ever waits on a message box.
#include <optional>
#include <string>

struct UserMessage {
    enum Kind { Info, Warning };
    Kind Type = Warning;
    std::string Text;

    bool operator==(const UserMessage&) const = default;
};

inline UserMessage InfoMessage(std::string text) {
    return {UserMessage::Info, std::move(text)};
}
inline UserMessage WarningMessage(std::string text) {
    return {UserMessage::Warning, std::move(text)};
}

// The messages the opening of files shares, each written once.
// "打开文件 <path> 失败！" CR LF <reason>
inline std::string OpenFailedText(const std::string& path, const std::string& reason) {
    return "打开文件 " + path + " 失败！\r\n" + reason;
}
inline constexpr char CheckExistsReason[] = "请检查文件是否存在。";
inline constexpr char CheckZipPasswordReason[] = "请检查ZIP文件是否有密码。";
// The second line of a read error, before the system's reason.
inline constexpr char ReadErrorReason[] = "读取时出错：";
// "文件 <path> 太大，无法打开。"
inline std::string TooLargeText(const std::string& path) {
    return "文件 " + path + " 太大，无法打开。";
}
