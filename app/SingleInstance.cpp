#include "SingleInstance.h"

#include "base/Fd.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr int ConnectWaitMs = 1000;
// The running reader answers from its event loop, which a long open or a message box may hold
// for a while; after this long it counts as out of reach.
constexpr int AnswerWaitMs = 5000;
constexpr std::uint32_t HandOverMark = 0x6d6a7231; // "mjr1"
constexpr std::uint32_t NullBytes = 0xFFFFFFFF;    // how QDataStream marks a null QByteArray
constexpr char AnswerByte = 'k';
// Command lines are far shorter; a caller sending more is cut off rather than buffered.
constexpr std::size_t LargestMessage = 16 << 20;

// $XDG_RUNTIME_DIR is the user's own folder for sockets; without it, the store's folder.
QString SocketFolder(const std::string& storePath) {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime;
    return QFileInfo(QString::fromStdString(storePath)).absolutePath();
}

// The store's path may be long and a socket's may not, so the store is named by a digest.
QString SocketNameFor(const std::string& storePath) {
    const QByteArray digest =
        QCryptographicHash::hash(QByteArray::fromStdString(storePath), QCryptographicHash::Sha1);
    return SocketFolder(storePath) + QStringLiteral("/mojuan-") +
           QString::fromLatin1(digest.toHex().left(16));
}

void PutCount(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>(value >> shift));
}

// The big-endian count at `pos`, moving past it; false when the bytes end first.
bool TakeCount(const std::string& in, std::size_t& pos, std::uint32_t& value) {
    if (in.size() - pos < 4)
        return false;
    value = 0;
    for (int k = 0; k < 4; ++k)
        value = (value << 8) | static_cast<unsigned char>(in[pos++]);
    return true;
}

// False when the path does not fit a socket address.
bool AddressOf(const QString& name, sockaddr_un& address) {
    const QByteArray path = name.toLocal8Bit();
    address = {};
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || path.size() >= static_cast<qsizetype>(sizeof address.sun_path))
        return false;
    std::memcpy(address.sun_path, path.constData(), path.size());
    return true;
}

void SetTimeout(int fd, int option, int ms) {
    const timeval wait{ms / 1000, (ms % 1000) * 1000};
    setsockopt(fd, SOL_SOCKET, option, &wait, sizeof wait);
}

// A socket connected to the reader listening at `name`; -1 when nobody answers there (no
// socket, or one left behind by a reader that ended).
Fd ConnectTo(const QString& name) {
    sockaddr_un address;
    if (!AddressOf(name, address))
        return Fd(-1);
    Fd fd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (fd.Get() < 0)
        return Fd(-1);
    // A blocking connect to a local socket waits only while the reader's queue is full.
    SetTimeout(fd.Get(), SO_SNDTIMEO, ConnectWaitMs);
    if (connect(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return Fd(-1);
    SetTimeout(fd.Get(), SO_SNDTIMEO, AnswerWaitMs);
    SetTimeout(fd.Get(), SO_RCVTIMEO, AnswerWaitMs);
    return fd;
}

bool SendAll(int fd, const std::string& bytes) {
    for (std::size_t sent = 0; sent < bytes.size();) {
        const ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

// A listening socket at `name` that only this user may reach; -1 when it cannot be made.
int ListenAt(const QString& name, int& error) {
    sockaddr_un address;
    error = ENAMETOOLONG;
    if (!AddressOf(name, address))
        return -1;
    Fd fd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    // The socket file takes the socket's mode when it is bound.
    if (fd.Get() < 0 || fchmod(fd.Get(), S_IRUSR | S_IWUSR) != 0 ||
        bind(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        listen(fd.Get(), SOMAXCONN) != 0) {
        error = errno;
        return -1;
    }
    return fd.Release();
}

} // namespace

std::string HandOverMessage(const std::vector<std::string>& names) {
    std::string message;
    PutCount(message, HandOverMark);
    PutCount(message, static_cast<std::uint32_t>(names.size()));
    for (const std::string& name : names) {
        PutCount(message, static_cast<std::uint32_t>(name.size()));
        message += name;
    }
    return message;
}

std::optional<std::vector<std::string>> ReadHandOverMessage(const std::string& bytes, bool& bad) {
    bad = false;
    std::size_t pos = 0;
    std::uint32_t mark = 0, count = 0;
    if (!TakeCount(bytes, pos, mark))
        return std::nullopt;
    if (mark != HandOverMark) {
        bad = true;
        return std::nullopt;
    }
    if (!TakeCount(bytes, pos, count))
        return std::nullopt;
    std::vector<std::string> names;
    for (std::uint32_t k = 0; k < count; ++k) {
        std::uint32_t length = 0;
        if (!TakeCount(bytes, pos, length))
            return std::nullopt;
        if (length == NullBytes)
            length = 0;
        if (bytes.size() - pos < length)
            return std::nullopt;
        names.push_back(bytes.substr(pos, length));
        pos += length;
    }
    return names;
}

SingleInstance::SingleInstance(const std::string& storePath, QObject* parent)
    : QObject(parent), SocketName(SocketNameFor(storePath)) {}

// The socket file goes with the reader, as later starts would otherwise try it first.
SingleInstance::~SingleInstance() {
    if (Server < 0)
        return;
    ::close(Server);
    ::unlink(SocketName.toLocal8Bit().constData());
}

bool SingleInstance::HandOver(const std::vector<std::string>& names) {
    const Fd socket = ConnectTo(SocketName);
    if (socket.Get() < 0 || !SendAll(socket.Get(), HandOverMessage(names)))
        return false;
    char answer = 0;
    ssize_t n;
    do
        n = recv(socket.Get(), &answer, 1, 0);
    while (n < 0 && errno == EINTR);
    return n == 1 && answer == AnswerByte;
}

bool SingleInstance::Listen() {
    int error = 0;
    Server = ListenAt(SocketName, error);
    if (Server < 0 && error == EADDRINUSE) {
        // A socket nobody answers on is what a reader that was killed leaves behind; one that
        // answers belongs to a reader that started at the same moment, and stays.
        if (ConnectTo(SocketName).Get() >= 0)
            return false;
        ::unlink(SocketName.toLocal8Bit().constData());
        Server = ListenAt(SocketName, error);
    }
    if (Server < 0)
        return false;
    Accepting = new QSocketNotifier(Server, QSocketNotifier::Read, this);
    connect(Accepting, &QSocketNotifier::activated, this, &SingleInstance::Serve);
    return true;
}

// Takes each waiting caller and reads its message as it arrives.
void SingleInstance::Serve() {
    int caller;
    while ((caller = accept4(Server, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK)) >= 0) {
        auto* reading = new QSocketNotifier(caller, QSocketNotifier::Read, this);
        auto received = std::make_shared<std::string>();
        connect(reading, &QSocketNotifier::activated, this, [this, caller, reading, received] {
            char block[4096];
            ssize_t n;
            while ((n = recv(caller, block, sizeof block, 0)) > 0 &&
                   received->size() <= LargestMessage)
                received->append(block, static_cast<std::size_t>(n));
            const bool open = n < 0 && (errno == EAGAIN || errno == EINTR);
            bool bad = false;
            std::optional<std::vector<std::string>> names = ReadHandOverMessage(*received, bad);
            if (!names && !bad && open && received->size() <= LargestMessage)
                return; // the rest has not arrived yet
            reading->setEnabled(false);
            reading->deleteLater();
            if (names)
                Answer(caller, std::move(*names));
            ::close(caller);
        });
    }
}

void SingleInstance::Answer(int caller, std::vector<std::string> names) {
    send(caller, &AnswerByte, 1, MSG_NOSIGNAL | MSG_DONTWAIT);
    // Opened from the event loop, not inside this socket's handler.
    QTimer::singleShot(0, this, [this, names = std::move(names)] { emit Received(names); });
}
