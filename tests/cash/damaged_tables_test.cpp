// A payment or a cancellation that touches a damaged table is refused with the table and the
// fault named, and stores nothing anywhere: no receipt, no balance, no counter.

#include "payment_test_util.h"
#include "shell/users_file.h"
#include "support/tool_run.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace vartesa;
using test::fileBytes;
using test::runTool;

namespace {

int u16(const QByteArray& b, int at) { return std::uint8_t(b[at]) | std::uint8_t(b[at + 1]) << 8; }
void put(QByteArray& b, int at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) b[at + i] = char((value >> (8 * i)) & 0xFF);
}

enum class Damage { CutInsideRecord, CutAtBoundary, CountLow, CountHigh, HeaderLength, RecordLength, ZeroWidth };

// The table's bytes damaged the way a crash of another program, a full disk or a copy cut
// short leaves them.
QByteArray damage(QByteArray b, Damage kind) {
    const int header = u16(b, 8), length = u16(b, 10);
    const std::uint32_t count = std::uint32_t(u16(b, 4)) | std::uint32_t(u16(b, 6)) << 16;
    const qsizetype end = header + qsizetype(count) * length;
    switch (kind) {
    case Damage::CutInsideRecord: return b.left(end - length / 2);
    case Damage::CutAtBoundary: return b.left(end - length);
    case Damage::CountLow: put(b, 4, count - 1, 4); break;
    case Damage::CountHigh: put(b, 4, count + 1, 4); break;
    case Damage::HeaderLength: put(b, 8, std::uint32_t(header + 1), 2); break;
    case Damage::RecordLength: put(b, 10, std::uint32_t(length + 1), 2); break;
    case Damage::ZeroWidth: b[32 + 16] = 0; break;
    }
    return b;
}

const Damage kDamages[] = {Damage::CutInsideRecord, Damage::CutAtBoundary, Damage::CountLow, Damage::CountHigh,
                           Damage::HeaderLength,    Damage::RecordLength,  Damage::ZeroWidth};

struct Folder : test::PayFolder {
    qint64 role = addRole("POPA ION");
    Folder() {
        balance(role, {QStringLiteral("Impozit pe cladiri"), 200, 200, 0, 0, 0, 0, 0});
        UsersFile::inFolder(env.folders().data).create({"ION", "", UserGrade::Cashier, "L-7"});
    }
    QString data() const { return env.folders().data; }
    int pay(QString* out) {
        return runTool({"pay", data(), QString::number(role), "--user", "ion", "--date", "01.10.2015", "--tax",
                        "Impozit pe cladiri=20"},
                       out);
    }
    // Every file of the data folder but the lock file, by name.
    std::map<QString, QByteArray> files() const {
        std::map<QString, QByteArray> all;
        for (const QString& name : QDir(data()).entryList(QDir::Files | QDir::Hidden))
            if (name != QLatin1String("Vartesa.lck")) all[name] = fileBytes(data() + '/' + name);
        return all;
    }
};

// Damages `table`, runs `operation` and expects the refusal with every file as it was; then
// puts the table back.
void expectRefused(Folder& f, const char* table, Damage kind, const std::function<int(QString*)>& operation) {
    const QString path = f.data() + '/' + table;
    const QByteArray good = fileBytes(path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(damage(good, kind));
    file.close();
    const std::map<QString, QByteArray> before = f.files();
    QString out;
    EXPECT_EQ(operation(&out), 1) << table << ' ' << int(kind);
    EXPECT_TRUE(out.startsWith(QStringLiteral("Tabela %1 este deteriorata: ").arg(table))) << out.toStdString();
    EXPECT_TRUE(f.files() == before) << table << ' ' << int(kind) << ": a file changed";
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(good);
}

TEST(DamagedTables, APaymentAndACancellationStoreNothing) {
    Folder f;
    QString out;
    ASSERT_EQ(f.pay(&out), 0) << out.toStdString();
    const QString idchit = out.section(QStringLiteral("IDCHIT,"), 1).trimmed();
    const auto cancel = [&](QString* text) { return runTool({"cancel", f.data(), idchit, "--user", "ion"}, text); };
    for (Damage kind : kDamages) {
        expectRefused(f, "Chitante.dbf", kind, [&](QString* text) { return f.pay(text); });
        expectRefused(f, "SoldCalc.dbf", kind, cancel);
    }
    // The undo snapshots are written before the receipt: their table is checked too before the
    // receipt's number is drawn.
    expectRefused(f, "UndelSold.dbf", Damage::CountLow, [&](QString* text) { return f.pay(text); });
    // Whole again, both run.
    EXPECT_EQ(cancel(&out), 0) << out.toStdString();
    EXPECT_EQ(f.pay(&out), 0) << out.toStdString();
}

} // namespace
