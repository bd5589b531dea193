// vartesa-tool: the command line over the core library (SQL console, maintenance, ...).

#include "commands.h"

#include "shell/counters.h"
#include "shell/startup.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace vartesa::tool {

const std::vector<Command>& commands() {
    static const std::vector<Command> table = {
        {"sql", "DATAFOLDER \"STATEMENT\" [VALUE...]",
         "ruleaza o instructiune SQL; ? primeste valorile date; un SELECT arata randurile ca CSV sub numele coloanelor, "
         "celelalte numarul de randuri schimbate", runSql},
        {"dbf-info", "FILE", "arata antetul si campurile unei tabele dBase, numarul de inregistrari si verdictul (intreaga/deteriorata)", runDbfInfo},
        {"next-id", "DATAFOLDER KEY [SECTION]", "trage un identificator din Vartesa.set (sub blocare) si il arata", runNextId},
        {"init", "DATAFOLDER", "creeaza tabelele lipsa si aduce tabelele vechi la forma curenta; arata cate o linie pentru fiecare schimbare", runInit},
        {"start", "DATAFOLDER", "ruleaza pornirea fara ferestre: intretinerea zilnica si contoarele; arata \"Pornire terminata: <director>\"", runStart},
        {"xls-cat", "FILE [SHEET]", "arata o foaie a unui registru .xls ca CSV (formulele prin valoarea calculata; cele lasate cititorului sunt marcate \"(de recalculat)\")", runXlsCat},
        {"backup", "DATAFOLDER ARHIVA", "salveaza fisierele directorului de date intr-o arhiva .vsa; arata cate fisiere a salvat", runBackup},
        {"restore", "ARHIVA DATAFOLDER", "verifica arhiva si inlocuieste cu ea fisierele directorului de date; arata cate fisiere a restaurat", runRestore},
        {"roles", "DATAFOLDER [--village SAT] [--name TEXT]",
         "listeaza rolurile ca CSV, in ordinea ecranului de roluri (satul; numele care incep cu TEXT)", runRoles},
        {"ledger", "DATAFOLDER IDGOS",
         "arata ca CSV liniile de datorii (Datorii.dbf) si debitele din timpul anului (Debit.dbf) ale unui rol", runLedger},
        {"page", "DATAFOLDER IDGOS N [--set CAMP=VALOARE...]",
         "arata campurile paginii N (1-11) a rolului ca CAMP,VALOARE; cu --set le modifica prin verificarile ferestrei",
         runPage},
        {"verify", "DATAFOLDER",
         "reface tabelele lasate pe jumatate scrise de o oprire brusca si listeaza tabelele deteriorate", runVerify},
        {"repair", "DATAFOLDER TABELA [--dry-run]",
         "repara numarul de inregistrari al unei tabele deteriorate: copia <nume>.bak intai, coada taiata in "
         "<nume>.rest; arata ce a gasit si ce a facut",
         runRepair},
        {"list-archive", "ARHIVA", "verifica o arhiva .vsa si arata numele si marimile fisierelor (separate prin tab)", runListArchive},
        {"lista-persoane", "DATAFOLDER fizice|juridice", "lista persoanelor fizice sau juridice, in ordinea numelui (.xls)",
         runPersonList},
        {"assess", "DATAFOLDER (--role IDGOS | --all)",
         "adauga la plata un rol sau toate localitatile (calculul impozitelor si taxelor anului); arata rolurile "
         "refuzate si \"assessed N, refused M\"", runAssess},
        {"demo", "DATAFOLDER --roles N [--seed S] [--year AAAA]",
         "creeaza o comuna sintetica (aceeasi pentru aceeasi saminta) si o adauga la plata", runDemo},
        {"account", "DATAFOLDER IDGOS [--date zz.ll.aaaa]",
         "contul unui ROL la o data: impozitele, debitele si taxele cu majorari si bonificatii, apoi totalul datorat",
         runAccount},
        {"receipt", "DATAFOLDER IDCHIT --pdf FISIER",
         "scrie chitanta (doua exemplare pe o pagina) intr-un fisier PDF, fara ferestre; arata \"Scris: <fisier>\"", runReceipt},
        {"role-page", "DATAFOLDER IDGOS --pdf FISIER",
         "scrie pagina de ROL a unui rol (sold, debite, incasari pe fiecare impozit) intr-un fisier PDF", runRolePage},
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
        {"cancel", "DATAFOLDER IDCHIT --user NUME",
         "anuleaza un document de plata cu regulile ferestrei (casierul doar pe ale sale, doar ultimul document al "
         "rolului, anul blocat) si arata ce a refacut",
         runCancel},
        {"notices",
         "DATAFOLDER (--village SAT [--from-rol N --to-rol M] | --role IDGOS) [--date zz.ll.aaaa] [--number N] "
         "[--reg-date zz.ll.aaaa] --out DIRECTOR",
         "instiintarile de plata ale unei localitati (sau ale unui rol) intr-un document .rtf; ce cere fiecare, ca CSV",
         runNotices},
        {"list",
         "DATAFOLDER land-register|building-register|vehicle-register|cumulated-register [--village SAT] "
         "[--from-rol N] [--to-rol M] [--person fizica|juridica] [--include-empty] --out FISIER.xls"
         " | role-register ... (--out FISIER.xls | --pdf FISIER.pdf) | psi-paza ... | fines --claim GRUPA "
         "[--with-balance] | vehicles | exemptions | taxable-buildings | land-movements --from D --to D | over-12t "
         "| analytic | arrears|overpayments [--exclude-empty] [--address-order] | arrears-by-address | to-collect "
         "[--with-credits] --date zz.ll.aaaa | to-collect-summary | collection-rate [--today zz.ll.aaaa]",
         "listele care incep cu alegerea ROL-urilor (registrele matricole) si celelalte liste ale meniului de "
         "documente (ramasite, plusuri, de incasat, gradul de colectare), scrise in fisier; ROWS,<randuri> "
         "(registrul de ROL: si SHEETS,<foi>)",
         runList},
        {"summons",
         "DATAFOLDER issue IDGOS --user NUME [--date zz.ll.aaaa] [--dry-run] --out DIRECTOR | list | confirm IDSOM "
         "--date zz.ll.aaaa [--way POSTA|INTERNET] | cancel IDSOM --reason TEXT | print IDSOM --user NUME --out DIRECTOR "
         "| report --from zz.ll.aaaa --to zz.ll.aaaa [--person FIZICA|JURIDICA] --out FISIER.xls",
         "somatii si titluri executorii: emite (liniile ca CSV), lista, confirmare, anulare, listare, situatia pe o "
         "perioada",
         runSummons},
        {"xml-export",
         "DATAFOLDER --out FISIER [--name NUME] [--first-name PRENUME] [--position FUNCTIA] [--date zz.ll.aaaa]",
         "raportarea mijloacelor de transport catre ANAF (XML PatrimVen); declarantul lipsa este cel memorat; "
         "TOTAL,<vehicule>",
         runXmlExport},
        {"garnishment",
         "DATAFOLDER IDGOS --to bank|employer --title NR [--third-party NUME] [--seat TEXT] --user NUME "
         "[--date zz.ll.aaaa] --out DIRECTOR",
         "poprire catre banca sau angajator: titlul executoriu, instiintarea si adresa catre tert intr-un document "
         ".rtf; liniile titlului si sumele pe conturi, ca CSV",
         runGarnishment},
        {"debit-statements",
         "DATAFOLDER choices | list --type BD|BS --number N [--from zz.ll.aaaa] [--to zz.ll.aaaa] --out FISIER.xls | "
         "summary [--from zz.ll.aaaa] [--to zz.ll.aaaa] --out FISIER.xls | cumulated [--from zz.ll.aaaa] "
         "[--to zz.ll.aaaa] --out FISIER.xls",
         "borderourile de debite (BD) si scaderi (BS): alegerea, lista unui borderou, centralizatorul, borderourile "
         "cumulate; randurile foii ca CSV",
         runDebitStatements},
        {"certificate",
         "DATAFOLDER IDGOS --out DIRECTOR [--date zz.ll.aaaa] [--number TEXT] [--request NR] [--request-date zz.ll.aaaa] "
         "[--id-type C.I.|B.I.] [--id-series S] [--id-number N] [--property K] [--place TEXT] [--purpose TEXT] "
         "[--stamp LEI] [--stamp-receipt NR] [--stamp-date zz.ll.aaaa] [--register DIRECTOR]",
         "certificatul fiscal al unui rol: proprietatile, liniile [CAP2B], sumele contului la data lui, documentul",
         runCertificate},
        {"confirmation",
         "DATAFOLDER codes | add IDGOS --amount N --list NR --address NR --to NUME [--to-locality T] [--to-address T] "
         "[--claim GRUPA [--pj]] [--date zz.ll.aaaa] [--list-date zz.ll.aaaa] [--address-date zz.ll.aaaa] | list [--rol ROL] "
         "[--name TEXT] | delete IDCONF [--rol ROL] [--name TEXT] | print IDCONF --out DIRECTOR | set-number N",
         "confirmarile de primire a debitelor: coduri, adaugare, lista, stergerea ultimei, listare, numarul urmator",
         runConfirmation},
        {"role",
         "DATAFOLDER add --village SAT --name NUMEP [--rol ROL] [--type FIZICA|JURIDICA] [--set CAMP=VALOARE]... "
         "[--yes] | edit IDGOS --set CAMP=VALOARE... [--yes] | delete IDGOS [--yes]",
         "adauga, modifica sau sterge un rol cu verificarile ferestrei (CAMP: SATUL ROL NUMEP CNP ADRESA TIP SCCLAD "
         "SCCC SCAUTO SCTI SCTE OBS NOTAX; --yes raspunde DA la intrebari); add: IDGOS,<id>; edit: randul rolului "
         "ca CSV; delete: TABELA,RANDURI ce se sterg (fara --yes nu sterge nimic)",
         runRole},
        {"ledger-line",
         "DATAFOLDER IDGOS add --set CAMP=VALOARE... | edit IDDAT --set CAMP=VALOARE... | delete IDDAT",
         "liniile de taxe si amenzi adaugate de mana (CAMP: DINDATA GRUPA DOCJUS NR SUMA REST REDUC), cu "
         "verificarile ferestrei; arata linia dupa schimbare sub capul de tabel al comenzii ledger (dupa stergere "
         "doar capul)",
         runLedgerLine},
        {"debit",
         "DATAFOLDER IDGOS add --set CAMP=VALOARE... | delete IDDEB",
         "debitele si scaderile din timpul anului, cu numarul borderoului in NR (CAMP: DINDATA GRUPA CATEG DOCJUS NR "
         "SUMA si obiectul: ANEXA SUPRAFATA AN MATERIAL ZONA RANG VALOARE DATAEVAL AMORTIZATA CATEGORIA CAPACITATE "
         "BUCATI); arata debitul sub capul de tabel [DEBIT] al comenzii ledger (dupa stergere doar capul)",
         runDebit},
        {"users",
         "DATAFOLDER list | add NUME --grade RANG [--card L] [--series S] [--number N] [--password-stdin] | set NUME "
         "[--grade RANG] [--card L] [--series S] [--number N] [--password-stdin] [--clear-password] | delete NUME",
         "utilizatorii, ca in pagina administratorului (RANG: OPERATOR DE ROL sau CASIER; parola, prima linie de la "
         "intrarea standard, se pastreaza criptata; ultimul administrator nu se sterge); NUME,GRAD,LEGIT,SERIA,NR "
         "pentru lista sau utilizatorul schimbat",
         runUsers},
        {"codes", "DATAFOLDER list | set IDCOD --set CAMP=VALOARE...",
         "creantele si conturile lor bugetare (CODCL.dbf; CAMP: CODCLF CODCLJ), cu verificarile ferestrei de coduri; "
         "IDCOD,GRUPA,CODCLF,CODCLJ,TIP pentru lista sau creanta schimbata",
         runCodes},
        {"demo-register", "DATAFOLDER OUT.rg2 [--new N] [--seed S]",
         "scrie o salvare sintetica a Registrului Agricol: o gospodarie pentru fiecare rol (acelasi sat si ROL), N "
         "gospodarii noi, terenuri si cladiri de toate felurile, cateva anulate si una fara ROL",
         runDemoRegister},
        {"import-register", "DATAFOLDER SOURCE [--no-land] [--no-buildings] [--dry-run]",
         "preia gospodariile, terenurile si cladirile din Registrul Agricol (salvare .rg2 sau directorul registrului) "
         "intr-o singura tranzactie; CSV IDID,SATUL,ROL,IDGOS,STARE,PAG1,PAG4,PAG2,NOTA, apoi totalurile",
         runImportRegister},
        {"new-year",
         "OLDFOLDER NEWFOLDER [--old-year AAAA] [--no-owner-changes] [--no-local-arrears] [--no-other-arrears]",
         "initializarea anului nou: preia setarile, rolurile si paginile anului vechi, aplica vanzarile si cumpararile "
         "si scrie soldurile la 31 decembrie ca ramasite (Pag8.dbf); soldurile, datoriile preluate si erorile ca CSV",
         runNewYear},
    };
    return table;
}

static void printHelp(QTextStream& out) {
    out << "Utilizare: vartesa-tool COMANDA [ARGUMENTE]   (vartesa-tool COMANDA --help: ajutorul comenzii)\n\nComenzi:\n";
    for (const Command& c : commands())
        out << "  " << c.name << " " << c.usage << "\n      " << c.summary << "\n";
}

} // namespace vartesa::tool

namespace {

// The printing commands lay text out with real fonts: they need the graphical application,
// on the offscreen platform, so they run without a display.
bool paintsDocuments(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "list") == 0) // the role register's printed pages
        for (int i = 2; i < argc; ++i)
            if (std::strcmp(argv[i], "--pdf") == 0) return true;
    return argc > 1 && (std::strcmp(argv[1], "receipt") == 0 || std::strcmp(argv[1], "role-page") == 0);
}

std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv) {
    if (!paintsDocuments(argc, argv)) return std::make_unique<QCoreApplication>(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace

int main(int argc, char** argv) {
    const std::unique_ptr<QCoreApplication> application = makeApplication(argc, argv);
    QCoreApplication& app = *application;
    using namespace vartesa::tool;
    QStringList args = app.arguments().mid(1);
    QTextStream out(stdout);
    if (args.isEmpty() || args[0] == "--help" || args[0] == "-h") {
        printHelp(out);
        return args.isEmpty() ? 2 : 0;
    }
    const QString name = args.takeFirst();
    for (const Command& c : commands())
        if (name == QLatin1String(c.name) && args.contains(QStringLiteral("--help"))) {
            // One command's help: its arguments and what it prints.
            out << "Utilizare: vartesa-tool " << c.name << " " << c.usage << "\n" << c.summary << "\n";
            return 0;
        }
    for (const Command& c : commands())
        if (name == QLatin1String(c.name)) {
            // A command on a data folder works in that folder's year (a demonstration
            // commune made today works in today's).
            if (!args.isEmpty() && QFileInfo::exists(args[0] + QStringLiteral("/Vartesa.set")))
                vartesa::UseWorkingYear(vartesa::DataFolderYear(vartesa::CountersFile(args[0] + QStringLiteral("/Vartesa.set"))));
            return c.run(args);
        }
    QTextStream(stderr) << "Comanda necunoscuta: " << name << "\n";
    printHelp(out);
    return 2;
}
