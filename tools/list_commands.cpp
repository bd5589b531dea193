// vartesa-tool list: the lists that start with the choice of roles ("Listare"), written to
// a file instead of being handed to the desktop. Each KIND is one list; they all take the
// dialog's options with its checks.

#include "commands.h"
#include "shell/console_services.h"

#include "db/error.h"
#include "cash/collection_list.h"
#include "documents/arrears_lists.h"
#include "documents/collection_lists.h"
#include "documents/matriculation_registers.h"
#include "documents/other_lists.h"
#include "documents/role_register.h"
#include "report/ui/report_output.h"
#include "documents/role_selection.h"
#include "shell/file_helpers.h"

#include <QDate>
#include <QDir>
#include <QHash>
#include <QRegularExpression>
#include <QTextStream>

#include <functional>

namespace vartesa::tool {
namespace {

const char* const kUsage = "Utilizare: vartesa-tool list DATAFOLDER FEL [--village SAT] [--from-rol N] [--to-rol M] "
                           "[--person fizica|juridica] [--include-empty] [--today zz.ll.aaaa] --out FISIER.xls\n"
                           "  role-register ... --out FISIER.xls | --pdf FISIER.pdf\n"
                           "  fines --claim GRUPA [--with-balance] [--person P]; land-movements --from D --to D\n"
                           "  arrears|overpayments [--exclude-empty] [--address-order], arrears-by-address\n"
                           "  to-collect [--with-credits] --date zz.ll.aaaa, to-collect-summary, collection-rate\n";

// The options of the lists that take more than the choice of roles.
struct ListExtras {
    QString pdf;          // --pdf: the role register's pages
    QDate today;          // --today: the day the lists print
    QString claim;        // --claim: the claim of the list of fines
    bool withBalance = false; // --with-balance
    QDate from, to;       // --from, --to: the period of the land movements
    QString out;          // --out
};

// One list that takes more options: the text it prints on standard output, nothing when it
// was refused (the message already on standard error).
using ExtraWriter = std::function<std::optional<QString>(Services&, const RoleSelection&, const ListExtras&)>;

// A list of other_lists.h saved as --out: "ROWS,<n>".
ExtraWriter otherList(OtherList kind) {
    return [kind](Services& s, const RoleSelection& selection, const ListExtras& x) -> std::optional<QString> {
        std::optional<BuiltList> built =
            BuildOtherList(s, kind, {selection, x.claim, x.withBalance, x.from, x.to, x.today});
        if (!built) return std::nullopt;
        built->book.save(x.out);
        return QStringLiteral("ROWS,%1\n").arg(built->rows);
    };
}

const QHash<QString, ExtraWriter>& extraKinds() {
    static const QHash<QString, ExtraWriter> kinds = {
        {QStringLiteral("role-register"),
         [](Services& s, const RoleSelection& selection, const ListExtras& x) -> std::optional<QString> {
             const std::optional<std::vector<RolePage>> pages = RoleRegisterPages(s, selection, x.today);
             if (!pages) return std::nullopt;
             if (!x.pdf.isEmpty()) {
                 report::WritePdf(RoleRegisterLayout(*pages), x.pdf);
                 return QStringLiteral("ROWS,%1\n").arg(pages->size());
             }
             const RoleRegisterBook built = WriteRoleRegister(*pages);
             built.book.save(x.out);
             return QStringLiteral("ROWS,%1\nSHEETS,%2\n").arg(built.roles).arg(built.sheets);
         }},
        {QStringLiteral("psi-paza"), otherList(OtherList::FireGuard)},
        {QStringLiteral("fines"), otherList(OtherList::Fines)},
        {QStringLiteral("vehicles"), otherList(OtherList::Vehicles)},
        {QStringLiteral("exemptions"), otherList(OtherList::Exemptions)},
        {QStringLiteral("taxable-buildings"), otherList(OtherList::TaxableBuildings)},
        {QStringLiteral("land-movements"), otherList(OtherList::LandMovements)},
        {QStringLiteral("over-12t"), otherList(OtherList::Over12t)},
        {QStringLiteral("analytic"), otherList(OtherList::Analytic)},
    };
    return kinds;
}

// The options of the lists of arrears and of the lists to collect.
struct CollectionExtras {
    bool exclude = false; // --exclude-empty: "Excludem ROL-urile fara ..."
    bool withCredits = false; // --with-credits: "Include si plusurile"
    QDate date;               // --date: the day of the list to collect
    QDate today = QDate::currentDate(); // --today: what today means
};
CollectionExtras& collectionExtras() {
    static CollectionExtras extras;
    return extras;
}

// One list: builds it for the selection and saves it as `out`; the number of data rows, nothing
// when it was refused (the message already on standard error).
using ListWriter = std::function<std::optional<int>(Services&, const RoleSelection&, const QString& out)>;

ListWriter registerWriter(RegisterKind kind) {
    return [kind](Services& s, const RoleSelection& selection, const QString& out) -> std::optional<int> {
        std::optional<BuiltRegister> built = BuildMatriculationRegister(s, kind, selection);
        if (!built) return std::nullopt;
        built->book.save(out);
        return built->rows;
    };
}

ListWriter arrearsWriter(ArrearsKind kind, bool byAddress) {
    return [kind, byAddress](Services& s, const RoleSelection& chosen, const QString& out) -> std::optional<int> {
        RoleSelection selection = chosen;
        ArrearsListOptions options{kind, collectionExtras().exclude, false};
        if (byAddress) {
            options = AddressListOptions();
            selection.addressOrder = true;
        }
        std::optional<BuiltArrearsList> built = BuildArrearsList(s, selection, options);
        if (!built) return std::nullopt;
        built->book.save(out);
        return built->rows;
    };
}

// The choice of "Lista de incasat" the options give: every village unless one is named.
CollectionChoice collectionChoice(const RoleSelection& selection) {
    CollectionChoice c;
    c.village = selection.village.isEmpty() ? kAnyVillage : selection.village;
    c.person = selection.person;
    c.withZero = selection.siZero;
    c.withCredits = collectionExtras().withCredits;
    c.date = collectionExtras().date;
    return c;
}

std::optional<int> toCollect(Services& s, const RoleSelection& selection, const QString& out) {
    const CollectionChoice choice = collectionChoice(selection);
    if (!choice.date.isValid()) {
        QTextStream(stderr) << "Lipseste --date zz.ll.aaaa: data listei de incasat.\n";
        return std::nullopt;
    }
    const QString wrong = CheckCollectionListChoice(choice.village, choice.date, collectionExtras().today);
    if (!wrong.isEmpty()) {
        QTextStream(stderr) << wrong << '\n';
        return std::nullopt;
    }
    const std::optional<DetailedList> list = WriteDetailedCollectionList(s, choice, out);
    if (!list) return std::nullopt;
    return int(list->rowTotals.size());
}

std::optional<int> toCollectSummary(Services& s, const RoleSelection& selection, const QString& out) {
    BuiltCollectionList built = BuildCollectionSummary(s, collectionChoice(selection), collectionExtras().today);
    built.book.save(out);
    return built.rows;
}

std::optional<int> collectionRate(Services& s, const RoleSelection&, const QString& out) {
    std::optional<BuiltCollectionList> built = BuildCollectionRate(s, collectionExtras().today);
    if (!built) return std::nullopt;
    built->book.save(out);
    return built->rows;
}

const QHash<QString, ListWriter>& listKinds() {
    static const QHash<QString, ListWriter> kinds = {
        {QStringLiteral("land-register"), registerWriter(RegisterKind::Land)},
        {QStringLiteral("building-register"), registerWriter(RegisterKind::Buildings)},
        {QStringLiteral("vehicle-register"), registerWriter(RegisterKind::Vehicles)},
        {QStringLiteral("cumulated-register"), registerWriter(RegisterKind::Cumulated)},
        {QStringLiteral("arrears"), arrearsWriter(ArrearsKind::Arrears, false)},
        {QStringLiteral("overpayments"), arrearsWriter(ArrearsKind::Overpayments, false)},
        {QStringLiteral("arrears-by-address"), arrearsWriter(ArrearsKind::Arrears, true)},
        {QStringLiteral("to-collect"), toCollect},
        {QStringLiteral("to-collect-summary"), toCollectSummary},
        {QStringLiteral("collection-rate"), collectionRate},
    };
    return kinds;
}

// The role number fields of the dialog: whole, at most 6 digits.
bool roleNumber(const QString& text, qint64& number) {
    static const QRegularExpression whole(QStringLiteral("^[0-9]{1,6}$"));
    if (!whole.match(text).hasMatch()) return false;
    number = text.toLongLong();
    return true;
}

// The selection the options give; false on bad usage.
bool parseSelection(const QStringList& args, QStringList& plain, RoleSelection& selection, QString& out,
                    ListExtras& extras) {
    auto day = [](const QString& text, QDate& date) {
        date = QDate::fromString(text, QStringLiteral("dd.MM.yyyy"));
        return date.isValid();
    };
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool valued = a == QLatin1String("--village") || a == QLatin1String("--from-rol") ||
                            a == QLatin1String("--to-rol") || a == QLatin1String("--person") ||
                            a == QLatin1String("--out");
        if (a == QLatin1String("--include-empty")) {
            selection.siZero = true;
        } else if (a == QLatin1String("--with-balance")) {
            extras.withBalance = true;
        } else if (a == QLatin1String("--exclude-empty")) {
            collectionExtras().exclude = true;
        } else if (a == QLatin1String("--address-order")) {
            selection.addressOrder = true;
        } else if (a == QLatin1String("--with-credits")) {
            collectionExtras().withCredits = true;
        } else if (a == QLatin1String("--date")) {
            if (i + 1 >= args.size() || !day(args[++i], collectionExtras().date)) return false;
        } else if (a == QLatin1String("--pdf") || a == QLatin1String("--today") || a == QLatin1String("--claim") ||
                   a == QLatin1String("--from") || a == QLatin1String("--to")) {
            if (i + 1 >= args.size()) return false;
            const QString value = args[++i];
            if (a == QLatin1String("--pdf")) extras.pdf = value;
            else if (a == QLatin1String("--claim")) extras.claim = value;
            else if (!day(value, a == QLatin1String("--today") ? extras.today
                                 : a == QLatin1String("--from") ? extras.from : extras.to)) return false;
            if (a == QLatin1String("--today")) collectionExtras().today = extras.today;
        } else if (valued) {
            if (i + 1 >= args.size()) return false;
            const QString value = args[++i];
            if (a == QLatin1String("--village")) selection.village = value;
            else if (a == QLatin1String("--out")) out = value;
            else if (a == QLatin1String("--from-rol")) { if (!roleNumber(value, selection.fromRole)) return false; }
            else if (a == QLatin1String("--to-rol")) { if (!roleNumber(value, selection.toRole)) return false; }
            else if (value == QLatin1String("fizica")) selection.person = PersonChoice::Natural;
            else if (value == QLatin1String("juridica")) selection.person = PersonChoice::Legal;
            else return false;
        } else if (a.startsWith(QLatin1String("--"))) {
            return false;
        } else {
            plain << a;
        }
    }
    return plain.size() == 2 && (!out.isEmpty() || !extras.pdf.isEmpty());
}

} // namespace

int runList(const QStringList& args) {
    QStringList plain;
    RoleSelection selection;
    QString out;
    ListExtras extras;
    if (!parseSelection(args, plain, selection, out, extras) ||
        !(listKinds().contains(plain[1]) || extraKinds().contains(plain[1])) ||
        (out.isEmpty() && plain[1] != QLatin1String("role-register"))) {
        QTextStream(stderr) << kUsage;
        return 2;
    }
    if (const std::optional<QString> wrong = CheckRoleRange(selection.fromRole, selection.toRole)) {
        QTextStream(stderr) << *wrong << '\n';
        return 1;
    }
    try {
        auto services = ConsoleServices(plain[0]);
        const QString file = QDir::cleanPath(QDir().absoluteFilePath(out.isEmpty() ? extras.pdf : out));
        CheckOutputFile(services->folders.data, file);
        if (extraKinds().contains(plain[1])) {
            extras.out = out.isEmpty() ? QString() : file;
            extras.pdf = out.isEmpty() ? file : QString();
            if (!extras.today.isValid()) extras.today = services->clock().today();
            const std::optional<QString> text = extraKinds().value(plain[1])(*services, selection, extras);
            if (!text) return 1;
            QTextStream(stdout) << *text;
            return 0;
        }
        const std::optional<int> rows = listKinds().value(plain[1])(*services, selection, file);
        if (!rows) return 1;
        QTextStream(stdout) << "ROWS," << *rows << '\n';
    } catch (const Error& e) {
        QTextStream(stderr) << e.text() << '\n';
        return 1;
    }
    return 0;
}

} // namespace vartesa::tool
