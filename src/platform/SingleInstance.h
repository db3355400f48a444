// One running copy per user: the first start listens under a name made from the program's
// single-instance name; a later start connects, sends the wake-up number and ends.
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace platform {

inline constexpr quint32 kWakeUpMessage = 0x1400;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // key: the single-instance name ("墨舟札记2.0"); the listening name adds the user's name.
    explicit SingleInstance(const QString& key, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when another copy answered and has been sent the wake-up number.
    bool wakeRunningCopy(int timeoutMs = 1000) const;
    // Starts listening; a name left behind by a copy that was killed is removed and taken over.
    bool listen();
    const QString& serverName() const { return serverName_; }

signals:
    void wakeUpReceived();

private:
    void readWakeUp();
    QString serverName_;
    QLocalServer* server_ = nullptr;
};

} // namespace platform
