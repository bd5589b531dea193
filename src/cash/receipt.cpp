// The printed receipt: reading its lines and laying out its two copies.

#include "cash/receipt.h"

#include "db/database.h"
#include "db/query.h"
#include "admin/admin_constants.h"

#include <cstdlib>

namespace vartesa {

namespace {

using report::Align;
using report::Font;

const QString kDash = QStringLiteral(" - "); // fills the cells of an unused row and a missing code

constexpr double kWidth = 190;     // printable width of a copy, millimetres
constexpr double kCopyGap = 9;     // between the two copies, with the cutting line
constexpr double kLine = 4.2;      // one line of the header parts

ReceiptDocument headerOf(const db::Query& q) {
    ReceiptDocument r;
    r.series = q.text(QStringLiteral("SERIA")).trimmed();
    r.number = q.integer(QStringLiteral("NR"));
    r.date = q.date(QStringLiteral("DATAI"));
    r.roleNumber = q.text(QStringLiteral("ROL")).trimmed();
    r.taxpayer = q.text(QStringLiteral("NUMEP")).trimmed();
    r.code = q.text(QStringLiteral("CNP")).trimmed();
    r.address = q.text(QStringLiteral("ADRESA")).trimmed();
    r.legalPerson = q.text(QStringLiteral("TIPF")).trimmed().toUpper() != QLatin1String("F");
    r.payer = q.text(QStringLiteral("PLATNUME")).trimmed();
    r.cashier = q.text(QStringLiteral("INCANUME")).trimmed();
    r.badge = q.text(QStringLiteral("LEGITIMA")).trimmed();
    return r;
}

std::int64_t lineTotal(const PrintedLine& l) {
    return std::llabs(l.arrears) + std::llabs(l.current) + std::llabs(l.penalties) - std::llabs(l.bonus);
}

QStringList amountCells(std::int64_t current, std::int64_t arrears, std::int64_t penalties, std::int64_t bonus,
                        std::int64_t total) {
    return {QString::number(current), QString::number(arrears), QString::number(penalties), QString::number(bonus),
            QString::number(total)};
}

// The town hall, the number and the payer: everything above the table.
report::Band titlePart(const ReceiptDocument& r, const TownHall& t) {
    report::Band b;
    const Font small{8}, bold{8, true};
    b.text(0, 0, 110, kLine, QStringLiteral("Judetul ") + t.county, small);
    b.text(0, kLine, 110, kLine, t.name, bold);
    b.text(0, 2 * kLine, 110, kLine, QStringLiteral("Cod inregistrare fiscala (C.U.I.):") + t.fiscalCode, small);
    b.text(0, 3 * kLine, 110, kLine, t.locality.toUpper(), bold);
    b.text(120, 0, 70, 6, QStringLiteral("Seria ") + r.series + QStringLiteral("  nr. ") + QString::number(r.number),
           {10, true}, Align::Right);
    b.text(40, 9, 110, 7, QStringLiteral("CHITANTA"), {14, true}, Align::Center);
    b.text(40, 16, 110, 5, QStringLiteral("PENTRU CREANTE ALE BUGETELOR LOCALE"), {9, true}, Align::Center);

    const double y = 23;
    b.rect(0, y, kWidth, 4 * kLine + 1.5, 0.3);
    b.text(2, y, 120, kLine, QStringLiteral("ELEMENTE DE IDENTIFICARE A PLATITORULUI"), bold);
    b.text(2, y + kLine, 24, kLine, QStringLiteral("CONTRIBUABIL:"), small);
    b.text(26, y + kLine, 70, kLine, r.taxpayer, bold);
    b.text(98, y + kLine, 90, kLine, r.address, small);
    b.text(2, y + 2 * kLine, 24, kLine, QStringLiteral("PLATITOR:"), small);
    b.text(26, y + 2 * kLine, 70, kLine, r.payer, bold);
    b.text(98, y + 2 * kLine, 44, kLine, QStringLiteral("NR.DE ROL NOMINAL UNIC"), small);
    b.text(142, y + 2 * kLine, 10, kLine, r.legalPerson ? QStringLiteral("PJ") : QStringLiteral("PF"), bold);
    b.text(152, y + 2 * kLine, 36, kLine, r.roleNumber, bold);
    b.text(2, y + 3 * kLine, 40, kLine, QStringLiteral("Cod numeric personal"), small);
    b.text(42, y + 3 * kLine, 54, kLine, r.legalPerson ? kDash : r.code, bold);
    b.text(98, y + 3 * kLine, 44, kLine, QStringLiteral("Cod unic de inregistrare"), small);
    b.text(142, y + 3 * kLine, 46, kLine, r.legalPerson ? r.code : kDash, bold);
    b.height = y + 4 * kLine + 4;
    return b;
}

// The cashier, the date and, for the town halls that ask for it, the note on the seal.
report::Band closingPart(const ReceiptDocument& r, const TownHall& t) {
    report::Band b;
    const Font small{8}, bold{8, true};
    b.text(0, 2, 48, 8, QStringLiteral("ELEMENTE DE IDENTIFICARE\nA INCASATORULUI  ==>"), bold);
    b.text(50, 2, 40, kLine, QStringLiteral("LEGITIMATIA"), small);
    b.text(50, 2 + kLine, 40, kLine, QStringLiteral("NR.: ") + r.badge, bold);
    b.text(92, 2, 60, kLine, QStringLiteral("NUMELE SI PRENUMELE"), small);
    b.text(92, 2 + kLine, 60, kLine, r.cashier, bold);
    b.text(155, 2, 35, kLine, QStringLiteral("SEMNATURA,"), small);
    b.text(0, 12, 90, kLine, QStringLiteral("DATA INCASARII : ") + r.date.toString(QStringLiteral("dd.MM.yyyy")), bold);
    b.height = 12 + kLine + 1;
    if (t.locality.toUpper().contains(QLatin1String("VELTORANI"))) {
        b.text(0, b.height, kWidth, kLine, QStringLiteral("Chitantele sunt valabile numai daca au aplicat pe verso"),
               small, Align::Center);
        b.text(0, b.height + kLine, kWidth, kLine,
               QStringLiteral("sigiliul autoritatii administratiei publice locale."), small, Align::Center);
        b.height += 2 * kLine + 1;
    }
    return b;
}

} // namespace

TownHall TownHallFrom(const AdminConstants& c) {
    return {c.text(QStringLiteral("JudetulLab")).trimmed(), c.text(QStringLiteral("PrimariaLab")).trimmed(),
            c.text(QStringLiteral("CUILab")).trimmed(), c.text(QStringLiteral("LocalitateaLab")).trimmed()};
}

ReceiptDocument ReadReceipt(db::Database& db, const QString& table, qint64 idchit) {
    static const QString kColumns = QStringLiteral(
        "TIP, SERIA, NR, DATAI, SATUL, ROL, GRUPA, DENUM, CODCLAS, NUMEP, CNP, ADRESA, TIPF, PLATNUME, INCANUME, LEGITIMA");
    db::Query rows = db.query(
        QStringLiteral("SELECT %1, SUM(COALESCE(RESTANTA, 0)) AS ARREARS, "
                       "SUM(COALESCE(CURENT, 0) + COALESCE(DEPOZIT, 0)) AS CURRENTS, "
                       "SUM(COALESCE(MAJOREST, 0) + COALESCE(MAJOR, 0)) AS PENALTIES, "
                       "SUM(COALESCE(REDUCERE, 0)) AS BONUS FROM \"%2\" WHERE IDCHIT = ? AND TIP = ? "
                       "GROUP BY %1 ORDER BY GRUPA")
            .arg(kColumns, table),
        {idchit, QStringLiteral("C")});
    ReceiptDocument r;
    for (rows.first(); !rows.eof(); rows.next()) {
        if (r.lines.empty()) r = headerOf(rows);
        r.lines.push_back({rows.text(QStringLiteral("GRUPA")).trimmed(), rows.text(QStringLiteral("DENUM")).trimmed(),
                           rows.text(QStringLiteral("CODCLAS")).trimmed(), rows.integer(QStringLiteral("ARREARS")),
                           rows.integer(QStringLiteral("CURRENTS")), rows.integer(QStringLiteral("PENALTIES")),
                           rows.integer(QStringLiteral("BONUS"))});
    }
    return r;
}

report::Report ReceiptReport(const ReceiptDocument& r, const TownHall& townHall) {
    report::Report rep;
    rep.title = QStringLiteral("Chitanta %1 nr. %2").arg(r.series).arg(r.number);
    rep.copies = 2;
    rep.copyGap = kCopyGap;
    rep.titleBand = titlePart(r, townHall);
    rep.columns = {{QStringLiteral("DENUMIREA CREANTEI\nBUGETULUI LOCAL"), 56, Align::Left},
                   {QStringLiteral("CODUL\ndin clasificatia bugetara"), 32, Align::Center},
                   {QStringLiteral("Curente"), 20, Align::Right},
                   {QStringLiteral("Restante"), 20, Align::Right},
                   {QStringLiteral("Majorari"), 20, Align::Right},
                   {QStringLiteral("Bonificatie"), 20, Align::Right},
                   {QStringLiteral("TOTAL"), 22, Align::Right}};
    rep.groups = {{QStringLiteral("SUMELE INCASATE                      - lei -"), 2, 5}};
    std::int64_t current = 0, arrears = 0, penalties = 0, bonus = 0;
    for (const PrintedLine& l : r.lines) {
        current += std::llabs(l.current);
        arrears += std::llabs(l.arrears);
        penalties += std::llabs(l.penalties);
        bonus += std::llabs(l.bonus);
    }
    for (int n = 0; n < kReceiptRows; ++n) {
        if (n >= int(r.lines.size())) {
            rep.rows.push_back({QStringList(int(rep.columns.size()), kDash)});
            continue;
        }
        const PrintedLine& l = r.lines[size_t(n)];
        rep.rows.push_back({QStringList{l.group + kDash + l.name, l.code} +
                            amountCells(std::llabs(l.current), std::llabs(l.arrears), std::llabs(l.penalties),
                                        std::llabs(l.bonus), lineTotal(l))});
    }
    rep.totals = report::Row{QStringList{QStringLiteral("T O T A L "), QString()} +
                                 amountCells(current, arrears, penalties, bonus, current + arrears + penalties - bonus),
                             true};
    rep.closingBand = closingPart(r, townHall);
    return rep;
}

} // namespace vartesa
