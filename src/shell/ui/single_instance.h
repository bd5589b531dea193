#pragma once
// One running copy per user and machine. The first copy listens on a local socket; a later
// start connects, asks it to come forward and ends at once. A socket file left behind by a
// crashed copy answers nobody: it is removed and the new start becomes the running copy.

#include <QLocalServer>
#include <QObject>
#include <QProcessEnvironment>
#include <QString>

class QLocalSocket;
class QWidget;

namespace vartesa {

class SingleInstance final : public QObject {
    Q_OBJECT
public:
    /// How a start ended up.
    enum class Role {
        Running,   // this is the running copy and now listens for later starts
        HandedOver, // another copy is running and was asked to come forward: end now
        Alone,     // the socket cannot be set up; run anyway rather than refuse to work
    };

    explicit SingleInstance(QString serverName, QObject* parent = nullptr);
    ~SingleInstance() override;

    /// Socket name: VARTESA_INSTANCE_NAME when set (tests run side by side), otherwise
    /// "Vartesa-" followed by the user's name, so each user of a machine has one copy.
    static QString serverName(const QProcessEnvironment& environment);

    /// Hands over to a running copy or becomes the running copy. Call once, early.
    Role start();

    const QString& name() const { return name_; }

signals:
    /// A later start asked this copy to bring its window forward.
    void comeForwardRequested();

private:
    bool askRunningCopy();
    void acceptConnections();
    void answer(QLocalSocket* socket);

    QString name_;        // local socket name shared by every copy of the user
    QLocalServer server_; // listens once this is the running copy
};

/// Brings `window` to the front: restored when minimised, shown when hidden, raised and
/// given the focus.
void bringWindowForward(QWidget* window);

} // namespace vartesa
