// vartesa-tool: the command line over the core library (SQL console, maintenance, ...).

#include "commands.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <vector>

namespace vartesa::tool {

const std::vector<Command>& commands() {
    static const std::vector<Command> table = {
        {"sql", "DATAFOLDER \"STATEMENT\" [VALUE...]",
         "ruleaza o instructiune SQL; ? primeste valorile date", runSql},
        {"dbf-info", "FILE", "arata antetul si campurile unei tabele dBase", runDbfInfo},
        {"next-id", "DATAFOLDER KEY [SECTION]", "trage un identificator din Vartesa.set (sub blocare)", runNextId},
        {"init", "DATAFOLDER", "creeaza tabelele lipsa si aduce tabelele vechi la forma curenta", runInit},
        {"start", "DATAFOLDER", "ruleaza pornirea fara ferestre: intretinerea zilnica si contoarele", runStart},
        {"xls-cat", "FILE [SHEET]", "arata o foaie a unui registru .xls ca CSV (formulele prin valoarea calculata; cele lasate cititorului sunt marcate \"(de recalculat)\")", runXlsCat},
        {"backup", "DATAFOLDER ARHIVA", "salveaza fisierele directorului de date intr-o arhiva .vsa", runBackup},
        {"restore", "ARHIVA DATAFOLDER", "verifica arhiva si inlocuieste cu ea fisierele directorului de date", runRestore},
        {"roles", "DATAFOLDER [--village SAT] [--name TEXT]",
         "listeaza rolurile ca CSV, in ordinea ecranului de roluri (satul; numele care incep cu TEXT)", runRoles},
        {"ledger", "DATAFOLDER IDGOS",
         "arata ca CSV liniile de datorii (Datorii.dbf) si debitele din timpul anului (Debit.dbf) ale unui rol", runLedger},
        {"page", "DATAFOLDER IDGOS N [--set CAMP=VALOARE...]",
         "arata campurile paginii N (1-11) a rolului ca CAMP,VALOARE; cu --set le modifica prin verificarile ferestrei",
         runPage},
        {"list-archive", "ARHIVA", "verifica o arhiva .vsa si arata numele si marimile fisierelor", runListArchive},
        {"lista-persoane", "DATAFOLDER fizice|juridice", "lista persoanelor fizice sau juridice, in ordinea numelui (.xls)",
         runPersonList},
        {"assess", "DATAFOLDER (--role IDGOS | --all)",
         "adauga la plata un rol sau toate localitatile (calculul impozitelor si taxelor anului)", runAssess},
        {"demo", "DATAFOLDER --roles N [--seed S]",
         "creeaza o comuna sintetica (aceeasi pentru aceeasi saminta) si o adauga la plata", runDemo},
        {"account", "DATAFOLDER IDGOS [--date zz.ll.aaaa]",
         "contul unui ROL la o data: impozitele, debitele si taxele cu majorari si bonificatii, apoi totalul datorat",
         runAccount},
        {"cash-register", "DATAFOLDER --date zz.ll.aaaa [--cashier NUME]",
         "registrul de casa al unei zile (CSV), apoi soldul precedent, totalurile si soldul de reportat", runCashRegister},
        {"summary",
         "DATAFOLDER register|payments|arrears|by-claim|by-account|by-cashier|accounts-by-cashier|accounts-total|"
         "compensations --from zz.ll.aaaa --to zz.ll.aaaa [--with-transfers] [--cashier NUME] --out FISIER.xls",
         "listele si centralizatoarele registrului de casa pe o perioada (registrul: ziua --from)", runSummary},
        {"pay",
         "DATAFOLDER IDGOS --user NUME [--date zz.ll.aaaa] [--tax \"GRUPA=SUMA\"]... [--debit IDDEB=SUMA]... "
         "[--fee IDDAT=SUMA]... [--payer TEXT] [--transfer NR] [--number NR] [--dry-run]",
         "opereaza o plata pe contul unui ROL: liniile documentului ca CSV, apoi IDCHIT (fara --dry-run)", runPay},
    };
    return table;
}

static void printHelp(QTextStream& out) {
    out << "Utilizare: vartesa-tool COMANDA [ARGUMENTE]\n\nComenzi:\n";
    for (const Command& c : commands())
        out << "  " << c.name << " " << c.usage << "\n      " << c.summary << "\n";
}

} // namespace vartesa::tool

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    using namespace vartesa::tool;
    QStringList args = app.arguments().mid(1);
    QTextStream out(stdout);
    if (args.isEmpty() || args[0] == "--help" || args[0] == "-h") {
        printHelp(out);
        return args.isEmpty() ? 2 : 0;
    }
    const QString name = args.takeFirst();
    for (const Command& c : commands())
        if (name == QLatin1String(c.name))
            return c.run(args);
    QTextStream(stderr) << "Comanda necunoscuta: " << name << "\n";
    printHelp(out);
    return 2;
}
