// vartesa-tool list: the lists that start with the choice of roles ("Listare"), written to
// a file instead of being handed to the desktop. Each KIND is one list; they all take the
// dialog's options with its checks.

#include "commands.h"
#include "shell/console_services.h"

#include "db/error.h"
#include "documents/matriculation_registers.h"
#include "documents/arrears_lists.h"
#include "documents/collection_lists.h"
#include "cash/collection_list.h"
#include "documents/role_selection.h"
#include "shell/file_helpers.h"

#include <QDir>
#include <QHash>
#include <QRegularExpression>
#include <QTextStream>

#include <functional>

namespace vartesa::tool {
namespace {

const char* const kUsage = "Utilizare: vartesa-tool list DATAFOLDER FEL [--village SAT] [--from-rol N] [--to-rol M] "
                           "[--person fizica|juridica] [--include-empty] --out FISIER.xls\n"
                           "  arrears|overpayments [--exclude-empty] [--address-order], arrears-by-address\n"
                           "  to-collect [--with-credits] --date zz.ll.aaaa, to-collect-summary, collection-rate "
                           "[--today zz.ll.aaaa]\n";

// The options some lists take beyond the choice of roles.
struct ListExtras {
    bool exclude = false; // --exclude-empty: "Excludem ROL-urile fara ..."
    bool withCredits = false; // --with-credits: "Include si plusurile"
    QDate date;               // --date: the day of the list to collect
    QDate today = QDate::currentDate(); // --today: what today means
};
ListExtras& listExtras() {
    static ListExtras extras;
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
        ArrearsListOptions options{kind, listExtras().exclude, false};
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
    c.withCredits = listExtras().withCredits;
    c.date = listExtras().date;
    return c;
}

std::optional<int> toCollect(Services& s, const RoleSelection& selection, const QString& out) {
    const CollectionChoice choice = collectionChoice(selection);
    if (!choice.date.isValid()) {
        QTextStream(stderr) << "Lipseste --date zz.ll.aaaa: data listei de incasat.\n";
        return std::nullopt;
    }
    const QString wrong = CheckCollectionListChoice(choice.village, choice.date, listExtras().today);
    if (!wrong.isEmpty()) {
        QTextStream(stderr) << wrong << '\n';
        return std::nullopt;
    }
    const std::optional<DetailedList> list = WriteDetailedCollectionList(s, choice, out);
    if (!list) return std::nullopt;
    return int(list->rowTotals.size());
}

std::optional<int> toCollectSummary(Services& s, const RoleSelection& selection, const QString& out) {
    BuiltCollectionList built = BuildCollectionSummary(s, collectionChoice(selection), listExtras().today);
    built.book.save(out);
    return built.rows;
}

std::optional<int> collectionRate(Services& s, const RoleSelection&, const QString& out) {
    std::optional<BuiltCollectionList> built = BuildCollectionRate(s, listExtras().today);
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
bool parseSelection(const QStringList& args, QStringList& plain, RoleSelection& selection, QString& out) {
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool valued = a == QLatin1String("--village") || a == QLatin1String("--from-rol") ||
                            a == QLatin1String("--to-rol") || a == QLatin1String("--person") ||
                            a == QLatin1String("--out");
        if (a == QLatin1String("--include-empty")) {
            selection.siZero = true;
        } else if (a == QLatin1String("--exclude-empty")) {
            listExtras().exclude = true;
        } else if (a == QLatin1String("--address-order")) {
            selection.addressOrder = true;
        } else if (a == QLatin1String("--with-credits")) {
            listExtras().withCredits = true;
        } else if (a == QLatin1String("--date") || a == QLatin1String("--today")) {
            if (i + 1 >= args.size()) return false;
            const QDate d = QDate::fromString(args[++i], QStringLiteral("dd.MM.yyyy"));
            if (!d.isValid()) return false;
            (a == QLatin1String("--date") ? listExtras().date : listExtras().today) = d;
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
    return plain.size() == 2 && !out.isEmpty();
}

} // namespace

int runList(const QStringList& args) {
    QStringList plain;
    RoleSelection selection;
    QString out;
    if (!parseSelection(args, plain, selection, out) || !listKinds().contains(plain[1])) {
        QTextStream(stderr) << kUsage;
        return 2;
    }
    if (const std::optional<QString> wrong = CheckRoleRange(selection.fromRole, selection.toRole)) {
        QTextStream(stderr) << *wrong << '\n';
        return 1;
    }
    try {
        auto services = ConsoleServices(plain[0]);
        const QString file = QDir::cleanPath(QDir().absoluteFilePath(out));
        CheckOutputFile(services->folders.data, file);
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
