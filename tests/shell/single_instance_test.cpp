// One running copy per user: real `vartesa` processes started side by side. Each test
// gets its own socket name (VARTESA_INSTANCE_NAME) and folders, so parallel runs of the
// suite never meet.

#include "shell/ui/single_instance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QProcess>
#include <QTemporaryDir>
#include <QUuid>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <memory>

using namespace vartesa;

namespace {

// Generous bounds that only stop a broken build from hanging the suite; nothing is
// measured against them.
constexpr int kStartMs = 30000;
constexpr int kExitMs = 30000;

// A private world for the copies of one test: socket name, home, state and temp folders.
class Machine {
public:
    Machine() : name_("VartesaTest-" + QUuid::createUuid().toString(QUuid::Id128).left(12)) {
        for (const char* sub : {"home", "state", "runtime"})
            QDir().mkpath(dir_.path() + "/" + sub);
        QFile::setPermissions(dir_.path() + "/runtime",
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                  QFileDevice::ExeOwner);
    }

    // Copies are stopped with SIGKILL and leave their socket files in the temp folder.
    ~Machine() { QLocalServer::removeServer(name_); }

    QString name() const { return name_; }
    QString path(const QString& sub) const { return dir_.path() + "/" + sub; }

    QProcessEnvironment environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("VARTESA_INSTANCE_NAME", name_);
        env.insert("HOME", path("home"));
        env.insert("XDG_STATE_HOME", path("state"));
        env.insert("XDG_CONFIG_HOME", path("config")); // the release values stay in the test
        env.insert("XDG_RUNTIME_DIR", path("runtime"));
        env.remove("VARTESA_HOME");
        return env;
    }

    /// Starts a copy with its own program folder `program` (under this machine).
    std::unique_ptr<QProcess> start(const QString& program, QStringList extra = {}) const {
        auto p = std::make_unique<QProcess>();
        p->setProcessEnvironment(environment());
        p->start(VARTESA_APP_PATH,
                 QStringList{"--trace", "--program-folder", path(program)} + extra);
        return p;
    }

    /// Where Qt puts the socket file of our name.
    QString socketFile() const { return QDir::tempPath() + "/" + name_; }

private:
    QTemporaryDir dir_;
    QString name_;
};

// Reads the copy's output until a line containing `marker` arrives; the output seen so far
// is kept in `out` for the failure message.
bool waitForLine(QProcess& p, const QString& marker, QString& out) {
    QElapsedTimer t;
    t.start();
    while (!out.contains(marker)) {
        if (p.state() == QProcess::NotRunning || t.elapsed() > kStartMs)
            return false;
        p.waitForReadyRead(200);
        out += QString::fromUtf8(p.readAllStandardOutput());
    }
    return true;
}

void stop(QProcess& p) {
    if (p.state() != QProcess::NotRunning) {
        p.kill();
        p.waitForFinished(kExitMs);
    }
}

// Leaves a socket file nobody listens on, as a copy killed by a power cut does.
bool makeStaleSocket(const QString& file) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const QByteArray bytes = QFile::encodeName(file);
    if (bytes.size() >= static_cast<qsizetype>(sizeof(addr.sun_path))) {
        ::close(fd);
        return false;
    }
    std::memcpy(addr.sun_path, bytes.constData(), bytes.size());
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0;
    ::close(fd); // closed without unlink: the file stays and refuses connections
    return bound && QFileInfo::exists(file);
}

} // namespace

TEST(InstanceName, ComesFromTheUserUnlessOverridden) {
    QProcessEnvironment env;
    env.insert("USER", "casier1");
    EXPECT_EQ(SingleInstance::serverName(env), "Vartesa-casier1");

    QProcessEnvironment other;
    other.insert("USER", "casier2");
    EXPECT_NE(SingleInstance::serverName(other), SingleInstance::serverName(env));

    QProcessEnvironment logname;
    logname.insert("LOGNAME", "ion popescu/x");
    EXPECT_EQ(SingleInstance::serverName(logname), "Vartesa-ion_popescu_x");

    env.insert("VARTESA_INSTANCE_NAME", "proba-7");
    EXPECT_EQ(SingleInstance::serverName(env), "proba-7");
}

TEST(SingleInstanceProcesses, SecondStartBringsTheFirstForwardAndEnds) {
    Machine machine;
    auto first = machine.start("first", {"--start-minimised"});
    QString firstOut;
    ASSERT_TRUE(waitForLine(*first, "Vartesa: pornita", firstOut))
        << firstOut.toStdString() << first->readAllStandardError().toStdString();

    auto second = machine.start("second");
    ASSERT_TRUE(second->waitForFinished(kExitMs)) << "the second copy kept running";
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0) << second->readAllStandardError().toStdString();
    EXPECT_TRUE(QString::fromUtf8(second->readAllStandardOutput()).contains("ruleaza deja"));
    // It ended before doing any work of its own.
    EXPECT_FALSE(QFileInfo::exists(machine.path("second")));

    // The first copy got the request and its minimised window came back.
    EXPECT_TRUE(waitForLine(*first, "Vartesa: adusa in fata", firstOut)) << firstOut.toStdString();
    EXPECT_TRUE(firstOut.contains("adusa in fata, fereastra normala")) << firstOut.toStdString();
    EXPECT_EQ(first->state(), QProcess::Running);
    EXPECT_TRUE(QFileInfo(machine.path("first/Data")).isDir());

    // A third start is handed over just the same: the first copy keeps listening.
    auto third = machine.start("third");
    ASSERT_TRUE(third->waitForFinished(kExitMs));
    EXPECT_EQ(third->exitCode(), 0);
    EXPECT_EQ(first->state(), QProcess::Running);
    stop(*first);
}

TEST(SingleInstanceProcesses, AfterStartUpTheMainWindowIsBroughtForward) {
    Machine machine;
    // The templates beside the data are there, so start-up has nothing to ask about.
    QDir().mkpath(machine.path("first/Data"));
    for (const char* name : {"PopAngaj2.rtf", "PopBanca2.rtf", "CFiscal3.rtf", "Instiintare.rtf", "ConfirmareD.rtf"}) {
        QFile file(machine.path("first/Data/") + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("{\\rtf1 }");
    }
    auto first = machine.start("first", {"--start-minimised"});
    QString firstOut;
    ASSERT_TRUE(waitForLine(*first, "Vartesa: pornire terminata", firstOut))
        << firstOut.toStdString() << first->readAllStandardError().toStdString();
    auto second = machine.start("second");
    ASSERT_TRUE(second->waitForFinished(kExitMs)) << "the second copy kept running";
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_TRUE(waitForLine(*first, "Vartesa: adusa in fata", firstOut)) << firstOut.toStdString();
    EXPECT_TRUE(firstOut.contains("adusa in fata, fereastra normala (principala: Vartesa ver.1.26)"))
        << firstOut.toStdString();
    stop(*first);
}

TEST(SingleInstanceProcesses, CopiesUnderOtherNamesRunSideBySide) {
    Machine one;
    Machine two;
    auto a = one.start("a");
    auto b = two.start("b");
    QString outA, outB;
    EXPECT_TRUE(waitForLine(*a, "Vartesa: pornita", outA)) << outA.toStdString();
    EXPECT_TRUE(waitForLine(*b, "Vartesa: pornita", outB)) << outB.toStdString();
    EXPECT_EQ(a->state(), QProcess::Running);
    EXPECT_EQ(b->state(), QProcess::Running);
    stop(*a);
    stop(*b);
}

TEST(SingleInstanceProcesses, SocketLeftByACrashedCopyDoesNotBlockTheNextStart) {
    Machine machine;
    auto crashed = machine.start("crashed");
    QString out;
    ASSERT_TRUE(waitForLine(*crashed, "Vartesa: pornita", out)) << out.toStdString();
    stop(*crashed); // SIGKILL: no chance to remove its socket file
    ASSERT_TRUE(QFileInfo::exists(machine.socketFile()));

    auto next = machine.start("next");
    QString nextOut;
    ASSERT_TRUE(waitForLine(*next, "Vartesa: pornita", nextOut))
        << nextOut.toStdString() << next->readAllStandardError().toStdString();

    // It really took over the name: a later start is handed to it.
    auto later = machine.start("later");
    ASSERT_TRUE(later->waitForFinished(kExitMs));
    EXPECT_EQ(later->exitCode(), 0);
    EXPECT_TRUE(waitForLine(*next, "Vartesa: adusa in fata", nextOut)) << nextOut.toStdString();
    stop(*next);
}

TEST(SingleInstanceProcesses, StaleSocketFileWithoutAnyCopyIsCleared) {
    Machine machine;
    ASSERT_TRUE(makeStaleSocket(machine.socketFile()));
    auto p = machine.start("p");
    QString out;
    ASSERT_TRUE(waitForLine(*p, "Vartesa: pornita", out))
        << out.toStdString() << p->readAllStandardError().toStdString();
    // Running is not enough: it must listen under the name, or every start would run.
    auto later = machine.start("later");
    ASSERT_TRUE(later->waitForFinished(kExitMs)) << "the later copy kept running";
    EXPECT_EQ(later->exitCode(), 0);
    EXPECT_TRUE(waitForLine(*p, "Vartesa: adusa in fata", out)) << out.toStdString();
    stop(*p);
}

TEST(StartupProcess, PreparesTheFoldersItIsGivenAndEndsCleanly) {
    Machine machine;
    auto p = machine.start("prog", {"--quit-after", "0"});
    ASSERT_TRUE(p->waitForFinished(kExitMs));
    EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
    EXPECT_TRUE(QString::fromUtf8(p->readAllStandardOutput())
                    .contains("date in " + machine.path("prog") + "/Data"));
    EXPECT_TRUE(QFileInfo(machine.path("prog/Data")).isDir());
    EXPECT_TRUE(QFileInfo(machine.path("state/Vartesa")).isDir());
    // A clean end removes the socket file, so the next start finds no stale one.
    EXPECT_FALSE(QFileInfo::exists(machine.socketFile()));

    // Without the argument, VARTESA_HOME names the program folder.
    QProcess q;
    QProcessEnvironment env = machine.environment();
    env.insert("VARTESA_HOME", machine.path("acasa"));
    q.setProcessEnvironment(env);
    q.start(VARTESA_APP_PATH, {"--quit-after", "0"});
    ASSERT_TRUE(q.waitForFinished(kExitMs));
    EXPECT_EQ(q.exitCode(), 0) << q.readAllStandardError().toStdString();
    EXPECT_TRUE(QFileInfo(machine.path("acasa/Data")).isDir());
}

TEST(StartupProcess, RefusesAnUnknownOption) {
    Machine machine;
    auto p = machine.start("prog", {"--nu-exista"});
    ASSERT_TRUE(p->waitForFinished(kExitMs));
    EXPECT_NE(p->exitCode(), 0);
    EXPECT_FALSE(QFileInfo::exists(machine.path("prog")));
}
