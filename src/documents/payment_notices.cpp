#include "documents/payment_notices.h"
#include "shell/text_helpers.h"

#include "books/balances.h"
#include "books/ledger.h"
#include "books/roles.h"
#include "db/error.h"
#include "documents/amounts_due.h"
#include "fillers/rtf_replace.h"
#include "roles/village_list.h"
#include "shell/services.h"

#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace vartesa {

namespace {

constexpr int kTemplateBlocks = 4;                       // tax blocks of the notice template
const QString kUnusedBlock = QStringLiteral("  -");      // every key of a block with no tax
const QString kNoDetail = QStringLiteral("- - -");       // a tax with no object of quantity above 0
const QString kNoLines = QStringLiteral(" - ");          // no other tax, no debit
const QString kTemplateFile = QStringLiteral("Instiintare.rtf");


QByteArray number(std::int64_t v) { return QByteArray::number(qint64(v)); }

// A quantity as its shortest decimal: 120.5, 1, 0.25.
QString quantityText(const Currency& q) {
    QString s = q.toString(4);
    while (s.endsWith('0')) s.chop(1);
    if (s.endsWith('.')) s.chop(1);
    return s;
}

QString blockKey(const char* word, int p) { return QStringLiteral("[%1%2]").arg(QLatin1String(word)).arg(p); }

std::optional<RoleNumberRange> rangeOf(const NoticeChoice& c) {
    const qint64 from = WholePart(c.fromRole), to = WholePart(c.toRole);
    if (from + to <= 1) return std::nullopt;
    return RoleNumberRange{from, to, c.fromRole.trimmed()};
}

void nothingToPrint(Services& s) {
    s.messages().showError(QStringLiteral("Listare Formular"), QStringLiteral("Nu exista nici un ROL in conditiile alese!"));
}

// The roles of the choice, and the village their notices name.
std::vector<Role> chosenRoles(Services& s, const NoticeChoice& c, QString& village) {
    db::Database& db = s.database();
    village = c.village;
    if (c.roleId == 0) return ReadVillageRoles(db, s.folders.data, c.village, rangeOf(c));
    std::optional<Role> role = ReadRole(db, s.folders.data, c.roleId);
    if (!role) return {};
    village = role->village;
    return {*role};
}

class NoticeWriter {
public:
    NoticeWriter(Services& s, const NoticeSettings& settings, const QString& village, const QString& templatePath,
                 const QString& outputBase, const QDate& registered)
        : s_(s), settings_(settings), village_(village), outputBase_(outputBase), registered_(registered),
          rtf_(s.desktop()) {
        rtf_.RTFSursa = templatePath;
    }

    const QString& file() const { return file_; }

    // The document is made with the first notice, so a run with nothing to print leaves
    // every file as it was.
    void write(const Role& role, const AccountGrids& due, qint64 number) {
        if (file_.isEmpty()) start();
        else rtf_.AppendPageBreak();
        addHeader(role, due, number);
        addTaxBlocks(role, due);
        addClaims(due);
        addDebits(due);
        rtf_.AppendBody(1);
    }

    void finish() { rtf_.CloseDocument(); }

private:
    void start() {
        if (!rtf_.FindFreeDest(outputBase_))
            throw Error(QStringLiteral("Instiintarile nu pot fi scrise: toate numele de fisier sunt ocupate!"), outputBase_);
        file_ = rtf_.RTFDest;
        if (!rtf_.WriteHeader())
            throw Error(QStringLiteral("Documentul %1 nu poate fi scris!").arg(file_), file_);
    }

    void addHeader(const Role& role, const AccountGrids& due, qint64 number) {
        const bool natural = role.personType.trimmed().compare(kPersonNatural, Qt::CaseInsensitive) == 0;
        rtf_.AddValue(QStringLiteral("[Judet]"), settings_.townHall.county);
        rtf_.AddValue(QStringLiteral("[PRIMARIA]"), settings_.townHall.name);
        rtf_.AddValue(QStringLiteral("[Nr]"), QString::number(number));
        rtf_.AddValue(QStringLiteral("[Data]"), DateText(registered_));
        rtf_.AddValue(QStringLiteral("[CUI]"), settings_.townHall.fiscalCode);
        rtf_.AddValue(QStringLiteral("[NumeP]"), role.name);
        rtf_.AddValue(QStringLiteral("[CNP]"), role.code);
        rtf_.AddValue(QStringLiteral("[TIPCNP]"), natural ? QStringLiteral("C.N.P.") : QStringLiteral("C.F."));
        rtf_.AddValue(QStringLiteral("[ROL]"), role.number);
        rtf_.AddValue(QStringLiteral("[Localitate]"), village_);
        rtf_.AddValue(QStringLiteral("[Total]"), QString::number(due.total));
    }

    // Block p of each tax row in the order of its balance rows; the blocks left over show a
    // dash in every place.
    void addTaxBlocks(const Role& role, const AccountGrids& due) {
        const std::vector<LedgerLine> lines = ReadLedgerLines(s_.database(), s_.folders.data, role.id);
        int p = 0;
        for (const TaxRow& t : due.taxes) {
            ++p;
            rtf_.AddValue(blockKey("GRUPA", p), t.group);
            const std::int64_t open = t.netArrears + t.current;
            if (open < 0) { // a credit larger than what is due
                rtf_.AddValue(blockKey("SOLD", p), QString::number(-open));
                rtf_.AddValue(blockKey("CURENT", p), QStringLiteral("0"));
                rtf_.AddValue(blockKey("REST", p), QStringLiteral("0"));
            } else {
                rtf_.AddValue(blockKey("SOLD", p), QStringLiteral("0"));
                rtf_.AddValue(blockKey("REST", p), QString::number(t.netArrears));
                rtf_.AddValue(blockKey("CURENT", p), QString::number(t.current));
            }
            rtf_.AddValue(blockKey("PENAL", p), QString::number(t.penalties));
            rtf_.AddValue(blockKey("TOTAL", p), QString::number(t.due));
            addDetails(p, t.group, lines);
        }
        for (++p; p <= kTemplateBlocks; ++p)
            for (const char* word : {"GRUPA", "SOLD", "REST", "CURENT", "PENAL", "TOTAL", "Detalii"})
                rtf_.AddValue(blockKey(word, p), kUnusedBlock);
    }

    // One detail line per object of the tax with a quantity: "Teren   : 120.5mp;".
    void addDetails(int p, const QString& group, const std::vector<LedgerLine>& lines) {
        const QString key = blockKey("Detalii", p);
        bool any = false;
        for (const LedgerLine& l : lines) {
            if (l.village.trimmed() != village_ || l.group.trimmed() != group || l.quantity <= Currency()) continue;
            rtf_.AddValue(key, l.name.trimmed() + QStringLiteral("   : ") + quantityText(l.quantity) + l.unit.trimmed() + ';');
            any = true;
        }
        if (!any) rtf_.AddValue(key, kNoDetail);
    }

    // What a clerk typed is escaped whole; the tab marks between the columns are the
    // document's own.
    void addClaims(const AccountGrids& due) {
        bool any = false;
        for (const ClaimRow& c : due.claims) {
            if (c.due == 0) continue;
            rtf_.AddEscapedValue(QStringLiteral("[Taxe]"),
                                 TRTFReplace::EscapeText(c.name + ' ' + c.document + QStringLiteral(" din ") +
                                                         DateText(c.from)) +
                                     "  : \\tab " + number(c.due) + " lei.");
            any = true;
        }
        if (!any) rtf_.AddValue(QStringLiteral("[Taxe]"), kNoLines);
    }

    void addDebits(const AccountGrids& due) {
        bool any = false;
        for (const DebitRow& d : due.debits) {
            if (d.due == 0) continue;
            rtf_.AddEscapedValue(QStringLiteral("[DEBITE]"),
                                 TRTFReplace::EscapeText(d.name + ' ' + d.document + QStringLiteral(" / ") +
                                                         DateText(d.from)) +
                                     "  : \\tab restanta : " + number(d.open) + "\\tab majorari : " +
                                     number(d.penalty) + "\\tab total :" + number(d.due) + " lei.");
            any = true;
        }
        if (!any) rtf_.AddValue(QStringLiteral("[Debite]"), kNoLines);
    }

private:
    Services& s_;
    const NoticeSettings& settings_;
    QString village_;    // [Localitate], and the village of the detail lines
    QString outputBase_; // the document's path without its number
    QDate registered_;   // DataInreg
    TRTFReplace rtf_;
    QString file_; // the document, once started
};

} // namespace

qint64 WholePart(const QString& typed) {
    bool ok = false;
    const double v = typed.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v) || std::fabs(v) > 1e15) return 0;
    return qint64(std::trunc(v));
}

std::optional<NoticeRefusal> CheckNoticeChoice(const QString& village, const QString& fromRole,
                                               const QString& toRole) {
    if (village.trimmed().isEmpty())
        return NoticeRefusal{QStringLiteral("Nu aveti nici o localitate selectata!"), NoticeField::Village};
    const qint64 from = WholePart(fromRole), to = WholePart(toRole);
    if (to < from) return NoticeRefusal{QStringLiteral("Interval incorect!"), NoticeField::FromRole};
    if (to == 0) return NoticeRefusal{QStringLiteral("Nu ati ales intervalul!"), NoticeField::ToRole};
    return std::nullopt;
}

QStringList NoticeVillages(db::Database& db, const QString& dataFolder) {
    const QString list = dataFolder + QStringLiteral("/Sate.lst");
    if (QFileInfo::exists(list)) return ReadVillageList(list);
    return ReadBalanceVillages(db, dataFolder);
}

NoticeRun GeneratePaymentNotices(Services& s, const NoticeSettings& settings, const NoticeChoice& choice,
                                 const QString& outputBase, const std::function<void(const NoticeWritten&)>& written) {
    NoticeRun run;
    const QString templatePath = s.folders.data + '/' + kTemplateFile;
    if (!QFileInfo(templatePath).isFile()) {
        s.messages().showError(kNoticesTitle, QStringLiteral("Va lipseste fisierul ") + templatePath +
                                                  QStringLiteral(" !\rReporniti programul pentru a reface modelul original."));
        return run;
    }
    QString village;
    const std::vector<Role> roles = chosenRoles(s, choice, village);
    if (roles.empty()) {
        nothingToPrint(s);
        return run;
    }
    run.rolesChosen = true;
    NoticeWriter writer(s, settings, village, templatePath, outputBase, choice.registered);
    try {
        ProgressShown shown(s.progress(), QStringLiteral("Generare Instiintari..."));
        s.progress().SetMaximum(int(roles.size()));
        qint64 next = choice.firstNumber;
        for (const Role& role : roles) {
            s.progress().Step();
            const AccountRole owner = AmountsRole(role, settings.rules, settings.year);
            const AccountGrids due = ComputeAmountsDue(s.database(), s.folders.data, owner, choice.date, owner.noPenalty, true);
            if (due.total <= 0) continue; // nothing owed, or a credit: no notice, no number
            writer.write(role, due, next);
            ++run.count;
            run.total += due.total;
            if (written) written({next, role, SumDue(due.taxes), SumDue(due.claims), SumDue(due.debits), due.total});
            ++next;
        }
        if (run.count > 0) writer.finish();
    } catch (...) {
        if (!writer.file().isEmpty()) QFile::remove(writer.file());
        throw;
    }
    if (run.count == 0) {
        nothingToPrint(s);
        return run;
    }
    run.file = writer.file();
    return run;
}

} // namespace vartesa
