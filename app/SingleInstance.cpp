#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

namespace {

constexpr int ConnectWaitMs = 1000;
// The running reader answers from its event loop, which a long open or a message box may hold
// for a while; after this long it counts as out of reach.
constexpr int AnswerWaitMs = 5000;
constexpr quint32 HandOverMark = 0x6d6a7231; // "mjr1"
constexpr char Answer = 'k';

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

QByteArray Message(const std::vector<std::string>& names) {
    QList<QByteArray> list;
    for (const std::string& name : names)
        list.append(QByteArray::fromStdString(name));
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << HandOverMark << list;
    return bytes;
}

} // namespace

SingleInstance::SingleInstance(const std::string& storePath, QObject* parent)
    : QObject(parent), SocketName(SocketNameFor(storePath)) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::HandOver(const std::vector<std::string>& names) {
    QLocalSocket socket;
    socket.connectToServer(SocketName);
    if (!socket.waitForConnected(ConnectWaitMs))
        return false;
    socket.write(Message(names));
    if (!socket.waitForBytesWritten(AnswerWaitMs))
        return false;
    char answer = 0;
    while (socket.bytesAvailable() == 0)
        if (!socket.waitForReadyRead(AnswerWaitMs))
            return false;
    return socket.getChar(&answer) && answer == Answer;
}

bool SingleInstance::Listen() {
    Server = std::make_unique<QLocalServer>();
    Server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!Server->listen(SocketName)) {
        // A socket nobody answers on is what a reader that was killed leaves behind; one that
        // answers belongs to a reader that started at the same moment, and stays.
        QLocalSocket probe;
        probe.connectToServer(SocketName);
        if (probe.waitForConnected(ConnectWaitMs))
            return false;
        QLocalServer::removeServer(SocketName);
        if (!Server->listen(SocketName))
            return false;
    }
    connect(Server.get(), &QLocalServer::newConnection, this, &SingleInstance::Serve);
    return true;
}

// Reads each caller's message as it arrives, answers, and hands the names on.
void SingleInstance::Serve() {
    while (QLocalSocket* caller = Server->nextPendingConnection()) {
        connect(caller, &QLocalSocket::disconnected, caller, &QObject::deleteLater);
        connect(caller, &QLocalSocket::readyRead, this, [this, caller] {
            QDataStream in(caller);
            in.startTransaction();
            quint32 mark = 0;
            QList<QByteArray> list;
            in >> mark >> list;
            if (!in.commitTransaction())
                return; // the rest has not arrived yet
            if (mark != HandOverMark) {
                caller->abort();
                return;
            }
            caller->putChar(Answer);
            caller->flush();
            std::vector<std::string> names;
            for (const QByteArray& name : list)
                names.push_back(name.toStdString());
            // Opened from the event loop, not inside this socket's handler.
            QTimer::singleShot(0, this, [this, names] { emit Received(names); });
        });
    }
}
