// The templates the program carries: every placeholder its document fills is in it, on one
// line, repeated ones alone on theirs, the summons and garnishment markers before the first
// placeholder; filled, each reads as rich text. The two editable workbooks fill and total.
// Start-up writes a missing rich-text template and leaves an edited one alone.

#include "db/database.h"
#include "db/query.h"
#include "fillers/rtf_replace.h"
#include "fillers/xls_model_export.h"
#include "shell/counters.h"
#include "shell/file_helpers.h"
#include "shell/registry.h"
#include "shell/startup.h"
#include "admin/template_editing.h"
#include "datafolder/upgrades.h"
#include "support/scripted_services.h"
#include "workbook/workbook.h"

#include <QDate>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vartesa;

namespace {

QStringList numbered(const QStringList& stems, int last) {
    QStringList keys;
    for (int k = 1; k <= last; ++k)
        for (const QString& stem : stems) keys << stem.arg(k);
    return keys;
}

struct RichTemplate {
    const char* name;       // resource name
    QStringList keys;       // every placeholder its document fills
    QStringList repeated;   // placeholders filled line by line
    QString marker;         // marker mode: where replacing starts; body mode: empty
};

std::vector<RichTemplate> richTemplates() {
    const QStringList garnishment =
        QStringList{"[JUDET]", "[COMUNA]", "[CUI]", "[PRIMAR]", "[INTOCMIT]", "[DATA]", "[NUMEP]", "[CNP]", "[ROL]",
                    "[SAT]", "[ADRESA]", "[NRT]", "[NUMETERT]", "[SEDIUTERT]", "[TD]", "[TA]", "[TT]"} +
        numbered({"[NA%1]", "[DS%1]", "[D%1]", "[A%1]", "[T%1]"}, 20) +
        numbered({"[GR%1]", "[TNRD%1]", "[CSD%1]", "[CONTV%1]"}, 15);
    return {
        {"INSTIINTARE",
         QStringList{"[Judet]", "[PRIMARIA]", "[Nr]", "[Data]", "[CUI]", "[NumeP]", "[CNP]", "[TIPCNP]", "[ROL]",
                     "[Localitate]", "[Total]", "[Taxe]", "[Debite]"} +
             numbered({"[GRUPA%1]", "[Detalii%1]", "[Sold%1]", "[Rest%1]", "[Curent%1]", "[Penal%1]", "[Total%1]"}, 4),
         QStringList{"[Taxe]", "[Debite]"} + numbered({"[Detalii%1]"}, 4), {}},
        {"TITLU",
         QStringList{"[JUDET]", "[COMUNA]", "[CUI]", "[PRIMAR]", "[INTOCMIT]", "[NR]", "[DATA]", "[NUMEP]", "[CNP]",
                     "[ROL]", "[SAT]", "[ADRESA]", "[TR]", "[TD]", "[TA]", "[TT]"} +
             numbered({"[NA%1]", "[DS%1]", "[R%1]", "[D%1]", "[A%1]", "[T%1]"}, 20) +
             numbered({"[NO%1]", "[RM%1]", "[DC%1]", "[AC%1]", "[TO%1]"}, 12),
         {}, "JUDE"},
        {"POPANGAJ", garnishment, {}, "Jude"},
        {"POPBANCA", garnishment, {}, "Jude"},
        {"CFISCAL",
         QStringList{"[JUDET]", "[PRIMARIA]", "[PRIMAR]", "[CUI]", "[CNP]", "[DL]", "[NUMEP]", "[ADRESA]", "[ROL]",
                     "[CERTNR]", "[CERTDATA]", "[CERENR]", "[CEREDATA]", "[CITIP]", "[CISERIA]", "[CINR]", "[SUP]",
                     "[SUPPOZ]", "[SERVESTE]", "[TAXA]", "[CHITNR]", "[CHITDATA]", "[CAP2B]"} +
             numbered({".DEN%1.", ".C%1.", ".R%1.", ".M%1.", ".T%1."}, 10),
         {"[CAP2B]"}, {}},
        {"CONFIRMARED",
         {"[JUDET]", "[LOCALITATEA]", "[CF]", "[NRCONF]", "[DATACONF]", "[BORDNR]", "[BORDATA]", "[CODCL]",
          "[NUMEDEST]", "[ADRDEST]", "[ROL]", "[NUMEP]", "[ADRESA]", "[LOCDEST]", "[SUMA]", "[SUMATEXT]", "[ADRNR]",
          "[ADRDATA]", "[NATCL]", "[SATUL]"},
         {}, {}},
    };
}

QStringList fileLines(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return QString::fromLatin1(f.readAll()).split(QStringLiteral("\r\n"));
}

QString unrtfText(const QString& path) {
    QProcess reader;
    reader.start(QStandardPaths::findExecutable("unrtf"), {"--text", path});
    EXPECT_TRUE(reader.waitForFinished(30000));
    EXPECT_EQ(reader.exitCode(), 0) << path.toStdString() << reader.readAllStandardError().toStdString();
    return QString::fromLocal8Bit(reader.readAllStandardOutput());
}

TEST(EmbeddedTemplates, EachRichTextTemplateHoldsThePlaceholdersOfItsDocument) {
    test::TestServices env;
    const QRegularExpression bracketed(QStringLiteral("\\[[A-Za-z0-9]+\\]"));
    for (const RichTemplate& t : richTemplates()) {
        SCOPED_TRACE(t.name);
        const QString file = env.folders().program + '/' + t.name + ".rtf";
        WriteResourceToFile(QString::fromLatin1(t.name).toLower(), "MODEL", file);
        const QStringList lines = fileLines(file);
        ASSERT_GT(lines.size(), 10);
        EXPECT_TRUE(lines.first().startsWith("{\\rtf1\\ansi\\ansicpg1250"));

        for (const QString& key : t.keys) {
            const bool found = std::any_of(lines.begin(), lines.end(),
                                           [&](const QString& l) { return l.contains(key, Qt::CaseInsensitive); });
            EXPECT_TRUE(found) << key.toStdString() << " is missing or broken across lines";
        }
        for (const QString& line : lines)
            for (const QRegularExpressionMatch& m : bracketed.globalMatch(line))
                EXPECT_TRUE(t.keys.contains(m.captured(), Qt::CaseInsensitive))
                    << m.captured().toStdString() << " is filled by nobody";
        for (const QString& key : t.repeated) {
            const auto at = std::find_if(lines.begin(), lines.end(),
                                         [&](const QString& l) { return l.contains(key, Qt::CaseInsensitive); });
            ASSERT_NE(at, lines.end());
            EXPECT_EQ(at->compare(key + "\\par", Qt::CaseInsensitive), 0) << at->toStdString();
        }
        if (!t.marker.isEmpty()) {
            const auto mark = std::find_if(lines.begin(), lines.end(), [&](const QString& l) { return l.contains(t.marker); });
            const auto first = std::find_if(lines.begin(), lines.end(), [&](const QString& l) {
                return l.contains(bracketed) || l.contains(QRegularExpression("\\.[A-Z]+[0-9]+\\."));
            });
            EXPECT_TRUE(mark != lines.end() && mark <= first) << "the marker opens the filled part";
        }
    }
}

TEST(EmbeddedTemplates, EachRichTextTemplateFillsIntoAReadableDocument) {
    if (QStandardPaths::findExecutable("unrtf").isEmpty()) GTEST_SKIP() << "unrtf is not installed";
    test::TestServices env;
    TRTFReplace rtf(env.desktop());
    for (const RichTemplate& t : richTemplates()) {
        SCOPED_TRACE(t.name);
        rtf.RTFSursa = env.folders().data + '/' + t.name + ".rtf";
        WriteResourceToFile(t.name, "MODEL", rtf.RTFSursa);
        ASSERT_TRUE(rtf.FindFreeDest(env.folders().program + "/Doc"));
        ASSERT_TRUE(rtf.WriteHeader());
        for (const QString& key : t.keys) {
            const int copies = t.repeated.contains(key) ? 2 : 1;
            for (int c = 0; c < copies; ++c) rtf.AddValue(key, QStringLiteral("v%1-%2").arg(key.mid(1, key.size() - 2)).arg(c));
        }
        if (t.marker.isEmpty()) rtf.AppendBody(1);
        else rtf.ReplaceFromMarker(t.marker);
        rtf.CloseDocument();

        const QString text = unrtfText(rtf.RTFDest);
        EXPECT_FALSE(text.contains(QRegularExpression("\\[[A-Za-z0-9]+\\]"))) << "a placeholder was left";
        EXPECT_TRUE(text.contains("vNUMEP-0") || text.contains("vNumeP-0")) << text.left(400).toStdString();
        for (const QString& key : t.repeated) {
            const QString stem = key.mid(1, key.size() - 2);
            EXPECT_TRUE(text.contains("v" + stem + "-0") && text.contains("v" + stem + "-1")) << stem.toStdString();
        }
    }
}

TEST(EmbeddedTemplates, TheEditableWorkbooksFillAndTotal) {
    test::TestServices env;
    db::Database db;
    const QString table = env.folders().program + "/RegCasaLucru.dbf";
    db.exec(QStringLiteral("CREATE TABLE \"%1\" (DATAI DATE, DOCJUS CHAR(50), INCANUME CHAR(30), INCASAT DECIMAL(6,0), "
                           "PLATIT DECIMAL(6,0))").arg(table));
    const QVariantList rows[] = {{QDate(2015, 3, 2), "Chitante 1-40", "POPA ANA", 1200, 0},
                                 {QDate(2015, 3, 2), "Dispozitie plata 7", "POPA ANA", 0, 300}};
    for (const QVariantList& r : rows)
        db.exec(QStringLiteral("INSERT INTO \"%1\" VALUES (?, ?, ?, ?, ?)").arg(table), r);

    TExportXLSModel xls(env.services());
    const QString regCasa = env.folders().data + "/RegCasa.xls";
    WriteResourceToFile("REGCASA", "XLS", regCasa);
    ASSERT_TRUE(xls.OpenTemplate(regCasa));
    xls.SetTextCell("#PRIMARIA", "Primaria CORBU");
    xls.SetTextCell("#CASIER", "POPA ANA");
    xls.SetTextCell("#CONTABIL", "ENE ION");
    xls.SetTextCell("#DATA", "la data de 02.03.2015");
    xls.SetAmountCell("#SOLDINI", 500);
    db::Query q = db.query(QStringLiteral("SELECT * FROM \"%1\"").arg(table));
    xls.FillRows(q);
    xls.SaveAndOpen();
    const workbook::Workbook reg = workbook::Workbook::open(xls.lastResult());
    const workbook::Sheet& s = reg.sheet(0);
    EXPECT_EQ(s.text(0, 0), "Primaria CORBU");
    EXPECT_EQ(s.text(7, 1), "Chitante 1-40");
    EXPECT_EQ(s.text(8, 2), "POPA ANA");
    EXPECT_EQ(s.text(11, 0), "SOLD FINAL :");
    EXPECT_EQ(s.formulaReferences(9, 3).front(), (workbook::CellRange{6, 8, 3, 3})) << "total over both rows";

    if (!QStandardPaths::findExecutable("ssconvert").isEmpty()) {
        QProcess converter;
        converter.start(QStandardPaths::findExecutable("ssconvert"),
                        {"--recalc", xls.lastResult(), env.folders().program + "/reg.csv"});
        ASSERT_TRUE(converter.waitForFinished(60000));
        QFile csv(env.folders().program + "/reg.csv");
        ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(csv.readAll()).split('\n');
        ASSERT_GE(lines.size(), 12);
        EXPECT_TRUE(lines[9].startsWith("\"TOTAL RULAJ :\",,,1200,300")) << lines[9].toStdString();
        EXPECT_TRUE(lines[11].startsWith("\"SOLD FINAL :\",,,1400")) << lines[11].toStdString();
    }

    const QString listPlat = env.folders().data + "/ListPlat.xls";
    WriteResourceToFile("ListPlat", "xls", listPlat);
    ASSERT_TRUE(xls.OpenTemplate(listPlat));
    xls.SetTextCell("#PERIOADA", "01.03.2015 - 31.03.2015");
    db::Query paid = db.query(QStringLiteral("SELECT * FROM \"%1\" WHERE PLATIT > 0").arg(table));
    xls.FillRows(paid);
    xls.SaveAndOpen();
    EXPECT_EQ(workbook::Workbook::open(xls.lastResult()).sheet(0).text(7, 2), "Dispozitie plata 7");

}

TEST(EmbeddedTemplates, StartUpKeepsAnEditedTemplateAndRestoresADeletedOne) {
    test::TestServices env;
    QTemporaryDir registryDir;
    ReleaseRegistry registry(registryDir.path());
    db::Database db;
    auto startUp = [&] {
        StartupSequence sequence(
            StartupContext{env.services().folders, db, registry, env.messages(), env.clock(), nullptr, {}});
        sequence.chooseDataFolder();
        sequence.WriteStartupTemplates();
    };
    startUp();
    EXPECT_TRUE(env.messages().shown().empty()) << "the program carries every template";
    const QString notice = env.folders().data + "/Instiintare.rtf";
    for (const char* file : {"PopAngaj2.rtf", "PopBanca2.rtf", "CFiscal3.rtf", "Instiintare.rtf", "ConfirmareD.rtf"})
        EXPECT_TRUE(QFile::exists(env.folders().data + '/' + file)) << file;

    QFile edited(notice);
    ASSERT_TRUE(edited.open(QIODevice::Append));
    edited.write("{\\pard Semnatura noului primar\\par}\r\n");
    edited.close();
    const QStringList before = fileLines(notice);
    startUp();
    EXPECT_EQ(fileLines(notice), before) << "the clerk's edit survives";

    ASSERT_TRUE(QFile::remove(notice));
    startUp();
    const QStringList restored = fileLines(notice);
    EXPECT_FALSE(restored.isEmpty());
    EXPECT_FALSE(restored.join('\n').contains("Semnatura noului primar"));
    EXPECT_TRUE(restored.join('\n').contains("INSTIINTARE DE PLATA"));
}

TEST(EmbeddedTemplates, EveryEditingEntryOpensATemplateTheProgramWrote) {
    test::TestServices env;
    QTemporaryDir registryDir;
    ReleaseRegistry registry(registryDir.path());
    db::Database db;
    CountersFile counters = env.services().counters();
    UpgradeContext upgrade{db, env.folders().data, env.folders().program, counters, env.messages(), env.desktop(), {}};
    const UpgradeReport report = RunFirstUpgradeSet(upgrade);
    EXPECT_TRUE(report.missingTemplates.isEmpty()) << report.missingTemplates.join(", ").toStdString();
    StartupSequence sequence(
        StartupContext{env.services().folders, db, registry, env.messages(), env.clock(), nullptr, {}});
    sequence.chooseDataFolder();
    sequence.WriteStartupTemplates();

    QStringList expected;
    for (const TemplateEntry& entry : TemplateEntries()) {
        EXPECT_TRUE(EditTemplate(env.services(), entry.file)) << entry.action.toStdString();
        expected << env.folders().data + '/' + entry.file;
    }
    EXPECT_EQ(env.desktop().opened(), expected);
    EXPECT_TRUE(env.messages().shown().empty());
    // The workbooks written are the program's own, ready for the cash register.
    const workbook::Workbook regCasa = workbook::Workbook::open(env.folders().data + "/RegCasa.xls");
    EXPECT_EQ(regCasa.sheet(0).text(2, 0), "REGISTRU DE CASA");
    const workbook::Workbook listPlat = workbook::Workbook::open(env.folders().data + "/ListPlat.xls");
    EXPECT_EQ(listPlat.sheet(0).text(2, 0), "LISTA PLATILOR");
}

} // namespace

TEST(EmbeddedTemplates, TheCashSummaryWorkbooksReadInAnotherSpreadsheetProgram) {
    if (QStandardPaths::findExecutable("ssconvert").isEmpty()) GTEST_SKIP() << "ssconvert lipseste";
    test::TestServices env;
    const std::pair<const char*, const char*> templates[] = {
        {"BORDRCINC", "CENTRALIZATOR DE INCASARI SI PLATI"},
        {"CHITRAM", "Borderou incasari ramasite"},
        {"CCI", "CENTRALIZATOR CONTURI PE INCASATOR"},
        {"MODCONTOT", "CENTRALIZATOR TOTAL CONTURI"},
    };
    for (const auto& [name, heading] : templates) {
        const QString xls = env.folders().program + "/" + name + ".xls", csv = env.folders().program + "/" + name + ".csv";
        WriteResourceToFile(name, "MODEL", xls);
        QProcess converter;
        converter.start(QStandardPaths::findExecutable("ssconvert"), {xls, csv});
        ASSERT_TRUE(converter.waitForFinished(60000)) << name;
        EXPECT_EQ(converter.exitCode(), 0) << name;
        QFile text(csv);
        ASSERT_TRUE(text.open(QIODevice::ReadOnly)) << name;
        const QString content = QString::fromUtf8(text.readAll());
        EXPECT_TRUE(content.contains(heading)) << name;
        EXPECT_TRUE(content.contains("#DBF", Qt::CaseInsensitive)) << name << ": the template row is there to fill";
    }
}

TEST(EmbeddedTemplates, TheCumulatedStatementsWorkbookReadsInAnotherSpreadsheetProgram) {
    if (QStandardPaths::findExecutable("ssconvert").isEmpty()) GTEST_SKIP() << "ssconvert lipseste";
    test::TestServices env;
    const QString xls = env.folders().program + "/BDBS.xls", csv = env.folders().program + "/BDBS.csv";
    WriteResourceToFile("BDBS", "XLS", xls);
    QProcess converter;
    converter.start(QStandardPaths::findExecutable("ssconvert"), {xls, csv});
    ASSERT_TRUE(converter.waitForFinished(60000));
    QFile text(csv);
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    const QStringList rows = QString::fromUtf8(text.readAll()).split('\n');
    ASSERT_GE(rows.size(), 9);
    EXPECT_EQ(rows[2].section(',', 1, 1), "\"BORDEROU CUMULAT DE DEBITE / SCADERI\"");
    EXPECT_EQ(rows[7].trimmed(), "#ROL,#NUMEP,#ADRESA,#NR,#DINDATA,#BD,#BS,#TOTAL,#DBF");
}
