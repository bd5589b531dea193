#pragma once
// A data folder for the fiscal certificate: the collection tables of the account tests,
// CFiscal3.rtf and ConfirmareD.rtf written out as start-up writes them, budget codes, and an
// agricultural register folder beside it.

#include "cash/cash_test_util.h"

#include "admin/admin_constants.h"
#include "documents/certificate.h"
#include "shell/file_helpers.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

namespace vartesa::test {

class CertificateFolder : public CashFolder {
public:
    CertificateFolder() {
        WriteResourceToFile(QStringLiteral("CFISCAL"), QStringLiteral("MODEL"), path("CFiscal3.rtf"));
        WriteResourceToFile(QStringLiteral("CONFIRMARED"), QStringLiteral("MODEL"), path("ConfirmareD.rtf"));
    }
    QString outputBase() const { return env.folders().machine + QStringLiteral("/TEMP/Cert"); }
    void code(const QString& group, const QString& person, const QString& company) {
        if (!db().tableExists(path("CodCL.dbf")))
            db().exec(QStringLiteral("CREATE TABLE \"%1\" (IDCOD DECIMAL(10,0), GRUPA CHAR(60), CODCLF CHAR(24), "
                                     "CODCLJ CHAR(24), TIP CHAR(1))")
                          .arg(path("CodCL.dbf")));
        db().exec(QStringLiteral("INSERT INTO \"%1\" (IDCOD, GRUPA, CODCLF, CODCLJ, TIP) VALUES (?, ?, ?, ?, 'T')")
                      .arg(path("CodCL.dbf")),
                  {++codes_, group, person, company});
    }
    void setPage(const QString& table, qint64 role, const QString& assignments, const QVariantList& values = {}) {
        QVariantList params = values;
        params << role;
        db().exec(QStringLiteral("UPDATE \"%1\" SET %2 WHERE IDGOS = ?").arg(path(table), assignments), params);
    }
    CertificateIssue issue(CertificateRequest r, const AdminConstants& constants = {}) {
        if (!r.date.isValid()) r.date = QDate(2015, 10, 10);
        return IssueCertificate(env.services(), constants, {false, true, true, {}}, r, outputBase(), false);
    }

    /// A register folder "RA" with Identificare, Volume and Cap2B.dbf.
    QString registerFolder() {
        const QString ra = env.root() + QStringLiteral("/RA");
        if (QDir(ra).exists()) return ra;
        QDir().mkpath(ra);
        db().exec(QStringLiteral("CREATE TABLE \"%1/Identificare.dbf\" (IDID DECIMAL(10,0), IDVOL DECIMAL(10,0), "
                                 "ROL CHAR(9), ANULAT CHAR(2))").arg(ra));
        db().exec(QStringLiteral("CREATE TABLE \"%1/Volume.dbf\" (IDVOL DECIMAL(10,0), LOCALIT CHAR(40))").arg(ra));
        db().exec(QStringLiteral("CREATE TABLE \"%1/Cap2B.dbf\" (IDID DECIMAL(10,0), ANUL DECIMAL(4,0), RAND "
                                 "DECIMAL(4,0), TARLA CHAR(10), NRTARLA CHAR(10), NRPARC CHAR(10), SUPIN DECIMAL(10,4), "
                                 "SUPEX DECIMAL(10,4))").arg(ra));
        return ra;
    }
    void household(qint64 idid, qint64 volume, const QString& village, const QString& rol, const QString& cancelled = "NU") {
        const QString ra = registerFolder();
        db().exec(QStringLiteral("INSERT INTO \"%1/Volume.dbf\" (IDVOL, LOCALIT) VALUES (?, ?)").arg(ra), {volume, village});
        db().exec(QStringLiteral("INSERT INTO \"%1/Identificare.dbf\" (IDID, IDVOL, ROL, ANULAT) VALUES (?, ?, ?, ?)").arg(ra),
                  {idid, volume, rol, cancelled});
    }
    void parcel(qint64 idid, int row, const QString& tarla, double inside, double outside, int year = 2015) {
        db().exec(QStringLiteral("INSERT INTO \"%1/Cap2B.dbf\" (IDID, ANUL, RAND, TARLA, NRTARLA, NRPARC, SUPIN, SUPEX) "
                                 "VALUES (?, ?, ?, ?, '12', '3', ?, ?)")
                      .arg(registerFolder()),
                  {idid, year, row, tarla, inside, outside});
    }

private:
    qint64 codes_ = 100;
};

inline bool haveUnrtf() { return !QStandardPaths::findExecutable(QStringLiteral("unrtf")).isEmpty(); }

/// The document as plain text, through unrtf.
inline QString documentText(const QString& path) {
    QProcess reader;
    reader.start(QStandardPaths::findExecutable(QStringLiteral("unrtf")), {QStringLiteral("--text"), path});
    reader.waitForFinished(30000);
    return QString::fromLocal8Bit(reader.readAllStandardOutput());
}

} // namespace vartesa::test
