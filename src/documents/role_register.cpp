#include "documents/role_register.h"

#include "documents/matriculation_registers.h"

#include "books/roles.h"
#include "db/database.h"
#include "db/error.h"
#include "db/query.h"
#include "shell/file_helpers.h"
#include "shell/services.h"
#include "shell/startup.h"
#include "shell/table_files.h"

namespace vartesa {

namespace {

using R = RoleColumns;

const QString kRegisterTitle = QStringLiteral("Listare ROL-uri");

// Up to this many roles a listing reads each role's rows on its own.
constexpr size_t kRolesReadOneByOne = 200;

// Rows a page takes in the export: the five header rows, the two heading rows and the
// non-blank lines.
int pageRows(const RolePage& page) {
    int rows = 7;
    for (const RolePageLine& l : page.lines)
        if (!l.isBlank()) ++rows;
    return rows;
}

// The looks of the register sheet: Arial 8, 10 and 10 bold, and its column widths.
void shapeSheets(workbook::Workbook& book) {
    static const int widths[] = {12, 12, 13, 11, 12, 13, 10, 10, 10, 10};
    workbook::Font font;
    font.height = 160;
    book.addFont(font); // Fmic
    font.height = 200;
    book.addFont(font); // Fmijlociu
    font.weight = 700;
    book.addFont(font); // FMare
    for (int i = 0; i < book.sheetCount(); ++i) {
        for (int c = 0; c < 10; ++c) book.sheet(i).setColumnWidth(c, c, widths[c] * 256);
        // The list margins, without page header or footer.
        book.sheet(i).setPage(0.6, 0.4, 0.3, 0.4);
    }
}

} // namespace

std::vector<RolePageRole> RoleRegisterRoles(Services& s, const RoleSelection& selection) {
    const SelectionConditions c = RoleSelectionConditions(selection, {R::village, R::number, R::personType});
    const QString n = NumericRole(R::number);
    db::Query q = s.database().query(
        QStringLiteral("SELECT %1, %2, %3 FROM \"%4/%5\"%6 ORDER BY TRIM(%2), %7 IS NULL, %7, TRIM(%3), %1")
            .arg(R::id, R::village, R::number, s.folders.data, tables::Roles,
                 c.sql.isEmpty() ? QString() : QStringLiteral(" WHERE ") + c.sql, n),
        c.values);
    std::vector<RolePageRole> roles;
    for (q.first(); !q.eof(); q.next())
        roles.push_back({q.integer(R::id), q.text(R::number).trimmed(), q.text(R::village).trimmed()});
    return roles;
}

std::optional<std::vector<RolePage>> RoleRegisterPages(Services& s, const RoleSelection& selection,
                                                       const QDate& today) {
    const std::vector<RolePageRole> roles = RoleRegisterRoles(s, selection);
    if (roles.empty()) {
        s.messages().showError(QStringLiteral("Selectare ROL-uri"), kNoRoleInRange);
        return std::nullopt;
    }
    ProgressShown shown(s.progress(), QStringLiteral("Listare ROL-uri..."));
    s.progress().SetMaximum(int(roles.size()));
    const int year = WorkingYear().toInt();
    std::vector<RolePage> pages;
    pages.reserve(roles.size());
    // Many roles read each table once; a few read their own rows, so a short listing costs
    // the same in a town as in a commune.
    if (roles.size() > kRolesReadOneByOne) {
        const std::unordered_map<qint64, RolePageSource> sources = ReadRolePageSources(s.database(), s.folders.data);
        const RolePageSource none;
        for (const RolePageRole& role : roles) {
            const auto it = sources.find(role.idgos);
            pages.push_back(BuildRolePage(it == sources.end() ? none : it->second, role, year, today));
            s.progress().Step();
        }
        return pages;
    }
    for (const RolePageRole& role : roles) {
        pages.push_back(BuildRolePage(s.database(), s.folders.data, role, year, today));
        s.progress().Step();
    }
    return pages;
}

RoleRegisterBook WriteRoleRegister(const std::vector<RolePage>& pages, int sheetRows) {
    // Where each page starts: (sheet, row); a page goes on the next sheet when it would pass
    // the last row of this one.
    std::vector<std::pair<int, int>> starts;
    int sheet = 0, row = 0;
    for (const RolePage& page : pages) {
        const int rows = pageRows(page);
        if (row > 0 && row + rows > sheetRows) {
            ++sheet;
            row = 0;
        }
        if (rows > sheetRows)
            throw Error(QStringLiteral("Pagina ROL-ului ") + page.role.number + QStringLiteral(" nu incape pe o foaie."),
                        kRegisterTitle);
        starts.emplace_back(sheet, row);
        row += rows + 3; // two rows after the page, one more between roles
    }
    QStringList names;
    for (int i = 0; i <= sheet; ++i) names << QStringLiteral("Foaie%1").arg(i + 1);
    RoleRegisterBook out{workbook::Workbook(names), int(pages.size()), sheet + 1};
    shapeSheets(out.book);
    for (size_t i = 0; i < pages.size(); ++i)
        WriteRolePage(out.book.sheet(starts[i].first), starts[i].second, pages[i]);
    return out;
}

report::Layout RoleRegisterLayout(const std::vector<RolePage>& pages) {
    report::Layout all;
    all.title = QStringLiteral("Registrul de ROL");
    for (const RolePage& page : pages) {
        report::Layout one = report::LayOut(RolePageReport(page));
        all.paper = one.paper;
        for (report::Page& p : one.pages) all.pages.push_back(std::move(p));
    }
    return all;
}

bool ConfirmRoleRegisterPrint(Services& s, int roles) {
    return s.messages().askYesNo(kRegisterTitle, QStringLiteral("Am pregatit pentru listare ") + QString::number(roles) +
                                                     QStringLiteral(" ROL-uri.\rDoriti sa le trimit la imprimanta ?"));
}

QString ProduceRoleRegisterExport(Services& s, const RoleSelection& selection) {
    const std::optional<std::vector<RolePage>> pages = RoleRegisterPages(s, selection, s.clock().today());
    if (!pages) return {};
    const QString file = FreeTempFileName(s.folders.program, QStringLiteral("ROL"), QStringLiteral(".xls"));
    if (file.isEmpty())
        throw Error(QStringLiteral("Nu mai exista nume libere pentru liste in ") + s.folders.program, kRegisterTitle);
    WriteRoleRegister(*pages).book.save(file);
    s.desktop().openFile(file);
    return file;
}

} // namespace vartesa
