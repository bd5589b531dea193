#pragma once
// A data folder for the payment notices: the collection tables of the account tests, the
// notice template written out as start-up writes it, and the notices run on it.

#include "cash/cash_test_util.h"

#include "documents/payment_notices.h"
#include "shell/file_helpers.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace vartesa::test {

class NoticeFolder : public CashFolder {
public:
    NoticeFolder() {
        WriteResourceToFile(QStringLiteral("INSTIINTARE"), QStringLiteral("MODEL"), templatePath());
    }
    QString templatePath() const { return env.folders().data + QStringLiteral("/Instiintare.rtf"); }
    QString outputBase() const { return env.folders().program + QStringLiteral("/Instiintare"); }
    /// The notice documents in the program folder.
    QStringList documents() const { return QDir(env.folders().program).entryList({QStringLiteral("Instiintare*")}); }

    /// A role of village CORBU numbered `number` that owes `owed` lei of building tax.
    qint64 owing(const QString& number, qint64 owed, const QString& name = {}) {
        const qint64 id = add(QStringLiteral("CORBU"), number, name.isEmpty() ? QStringLiteral("ROL ") + number : name);
        if (owed != 0) balance(id, {QStringLiteral("Impozit pe cladiri"), owed, owed});
        return id;
    }

    NoticeSettings settings(bool penaltyOption = false) const {
        return {{QStringLiteral("BISTRITA-NASAUD"), QStringLiteral("PRIMARIA VARTESA"), QStringLiteral("4347550"), {}},
                {penaltyOption, true, true, {}},
                2015};
    }
    static NoticeChoice village(const QString& from = QStringLiteral("0"), const QString& to = QStringLiteral("1")) {
        NoticeChoice c;
        c.village = QStringLiteral("CORBU");
        c.fromRole = from;
        c.toRole = to;
        c.date = QDate(2015, 10, 10);
        c.firstNumber = 1;
        c.registered = QDate(2015, 10, 12);
        return c;
    }
    /// Runs the notices; the notices written come in `written`.
    NoticeRun run(const NoticeChoice& choice, std::vector<NoticeWritten>* written = nullptr, bool penaltyOption = false) {
        return GeneratePaymentNotices(env.services(), settings(penaltyOption), choice, outputBase(),
                                      [written](const NoticeWritten& n) {
                                          if (written) written->push_back(n);
                                      });
    }
};

/// The text of a rich-text document as unrtf reads it; empty when unrtf is missing.
inline QString unrtfText(const QString& path) {
    const QString unrtf = QStandardPaths::findExecutable(QStringLiteral("unrtf"));
    if (unrtf.isEmpty()) return {};
    QProcess reader;
    reader.start(unrtf, {QStringLiteral("--text"), path});
    EXPECT_TRUE(reader.waitForFinished(30000));
    EXPECT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
    return QString::fromLocal8Bit(reader.readAllStandardOutput());
}

} // namespace vartesa::test
