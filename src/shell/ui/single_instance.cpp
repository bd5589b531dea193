#include "shell/ui/single_instance.h"

#include <QLocalSocket>
#include <QRegularExpression>
#include <QWidget>

namespace vartesa {

namespace {

// The request a later start sends, and the running copy's answer.
const QByteArray kComeForward = "VINO\n";
const QByteArray kAcknowledged = "OK\n";

// A running copy answers within the time it takes to process one event; a longer wait only
// delays the second start when the first copy is busy, and it ends anyway.
constexpr int kConnectMilliseconds = 1000;
constexpr int kAnswerMilliseconds = 3000;

} // namespace

SingleInstance::SingleInstance(QString serverName, QObject* parent)
    : QObject(parent), name_(std::move(serverName)) {
    // No socket options: with them Qt binds elsewhere and renames the socket over the name,
    // replacing a live copy's socket as readily as a stale one, and two copies would run.
    // Plain listening fails on a taken name, which start() then sorts out.
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::serverName(const QProcessEnvironment& env) {
    const QString forced = env.value(QStringLiteral("VARTESA_INSTANCE_NAME"));
    if (!forced.isEmpty())
        return forced;
    QString user = env.value(QStringLiteral("USER"));
    if (user.isEmpty())
        user = env.value(QStringLiteral("LOGNAME"));
    if (user.isEmpty())
        user = env.value(QStringLiteral("USERNAME"));
    // The name becomes a file name in the temporary folder: keep it to plain characters.
    user.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]")), QStringLiteral("_"));
    return user.isEmpty() ? QStringLiteral("Vartesa") : QStringLiteral("Vartesa-") + user;
}

SingleInstance::Role SingleInstance::start() {
    if (askRunningCopy())
        return Role::HandedOver;
    if (server_.listen(name_))
        return Role::Running;
    if (server_.serverError() != QAbstractSocket::AddressInUseError)
        return Role::Alone;
    // The name is taken. Either a copy started between our two attempts (it answers now),
    // or a crashed copy left its socket file behind (nobody answers): clear it and listen.
    if (askRunningCopy())
        return Role::HandedOver;
    QLocalServer::removeServer(name_);
    return server_.listen(name_) ? Role::Running : Role::Alone;
}

bool SingleInstance::askRunningCopy() {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(kConnectMilliseconds))
        return false;
    socket.write(kComeForward);
    if (!socket.waitForBytesWritten(kConnectMilliseconds))
        return false;
    // The answer tells us the window came forward; without it the request was still
    // delivered, and a second copy must not start beside a busy first one.
    while (!socket.canReadLine() && socket.waitForReadyRead(kAnswerMilliseconds)) {
    }
    socket.disconnectFromServer();
    return true;
}

void SingleInstance::acceptConnections() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { answer(socket); });
        if (socket->canReadLine())
            answer(socket);
    }
}

void SingleInstance::answer(QLocalSocket* socket) {
    if (!socket->canReadLine())
        return;
    const QByteArray request = socket->readLine();
    if (request == kComeForward) {
        emit comeForwardRequested();
        socket->write(kAcknowledged);
        socket->flush();
    }
    socket->disconnectFromServer();
}

void bringWindowForward(QWidget* window) {
    if (!window)
        return;
    if (window->isMinimized())
        window->setWindowState((window->windowState() & ~Qt::WindowMinimized) |
                               Qt::WindowActive);
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace vartesa
