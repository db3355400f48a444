// One running copy per user. A lock file decides which copy runs: the first start holds it for
// its whole run (a lock left by a copy that was killed counts as free). The running copy also
// listens on a socket named from the program's single-instance name; a later start finds the
// lock taken, connects, sends the wake-up number and ends. Lock and socket live in
// $XDG_RUNTIME_DIR when it is set to a folder, in the temporary folder otherwise.
#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>
#include <vector>

class QSocketNotifier;

namespace platform {

inline constexpr quint32 kWakeUpMessage = 0x1400;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // key: the single-instance name ("墨舟札记2.0"); the names used add the user's name.
    explicit SingleInstance(const QString& key, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when another copy runs: it holds the lock. That copy is sent the wake-up number,
    // waiting up to timeoutMs for it to listen; a copy that cannot be reached still counts as
    // running, so that two copies never run at once. False when this copy now holds the lock.
    bool wakeRunningCopy(int timeoutMs = 3000);
    // Takes the lock when not yet held, then listens; a name left behind by a copy that was
    // killed is removed and taken over. False when the lock is held elsewhere or the name
    // cannot be listened on (a later start then still finds the lock and ends, unwoken).
    bool listen();
    // The socket's full path; the lock file is this path with ".lock" added.
    const QString& serverName() const { return serverName_; }

signals:
    void wakeUpReceived();

private:
    struct Caller;
    bool sendWakeUp(int timeoutMs) const;
    void acceptCallers();
    void restListener();
    void readFrom(Caller* caller);
    void dropCaller(Caller* caller);

    QString serverName_;
    QLockFile lock_;
    int listenFd_ = -1;
    std::unique_ptr<QSocketNotifier> listener_;
    std::vector<std::unique_ptr<Caller>> callers_;
};

} // namespace platform
