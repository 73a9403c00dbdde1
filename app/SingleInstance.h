#pragma once
// One reader per user and store: a second start hands the names from its command line to the
// reader already running, which opens them as it opens dropped files, and ends at once. The two
// meet on a local socket named after the store, in the user's runtime folder, so readers with
// stores of their own (tests, other users) never meet. The socket is a plain Unix-domain socket
// watched by the event loop, so the start loads no network library.
#include <QObject>
#include <QString>

#include <optional>
#include <string>
#include <vector>

class QSocketNotifier;

// The message a later start sends: a mark, then the names, in the layout QDataStream gives a
// quint32 and a QList<QByteArray> (big-endian counts and lengths).
std::string HandOverMessage(const std::vector<std::string>& names);

// The names of a whole message; nothing while `bytes` holds only its beginning. `bad` is set
// when the bytes are no hand-over message at all.
std::optional<std::vector<std::string>> ReadHandOverMessage(const std::string& bytes, bool& bad);

class SingleInstance : public QObject {
    Q_OBJECT

public:
    // `storePath` names the store the reader works on.
    explicit SingleInstance(const std::string& storePath, QObject* parent = nullptr);
    ~SingleInstance() override;

    // The socket's full path.
    const QString& Name() const { return SocketName; }

    // Gives `names` (in the order the recent list takes them) to the running reader and waits
    // for its answer. False when no reader could be reached or it did not answer in time: this
    // process then runs alone.
    bool HandOver(const std::vector<std::string>& names);

    // Starts answering later starts. A socket left behind by a reader that ended without
    // removing it is replaced; false when the socket could not be made.
    bool Listen();

signals:
    // A later start handed these names over; empty when it was started without any.
    void Received(const std::vector<std::string>& names);

private:
    void Serve();
    void Answer(int caller, std::vector<std::string> names);

    QString SocketName;
    int Server = -1;
    QSocketNotifier* Accepting = nullptr;
};
