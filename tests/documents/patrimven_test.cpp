// The vehicle report to the tax agency: one element per vehicle in category order, the
// owner's attributes, escaping, the exact bytes, the schema, the window and the command
// line's refusals.

#include "roles/role_test_util.h"

#include "admin/admin_catalog.h"
#include "documents/patrimven.h"
#include "documents/ui/patrimven_dialog.h"
#include "shell/counters.h"
#include "shell/file_helpers.h"
#include "shell/settings_table.h"
#include "support/gui_application.h"
#include "support/tool_run.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

using namespace vartesa;
using vartesa::test::runTool;

namespace {

const QString kSchema = QStringLiteral(VARTESA_TEST_DATA "/../../src/documents/PatrimVen.xsd");

// One element of the document with its attributes, as a parser reads it back.
struct Element {
    QString name;
    QXmlStreamAttributes attributes;
    QString value(const char* attribute) const { return attributes.value(QLatin1String(attribute)).toString(); }
    bool has(const char* attribute) const { return attributes.hasAttribute(QLatin1String(attribute)); }
};

std::vector<Element> parse(const QByteArray& bytes) {
    std::vector<Element> elements;
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement)
            elements.push_back({xml.name().toString(), xml.attributes()});
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return elements;
}

std::vector<Element> named(const std::vector<Element>& all, const QString& name) {
    std::vector<Element> found;
    for (const Element& e : all)
        if (e.name == name) found.push_back(e);
    return found;
}

// xmllint's verdict on `bytes` under the schema; its complaints in `complaint`.
bool validates(const QByteArray& bytes, QString* complaint = nullptr) {
    QProcess lint;
    lint.start(QStringLiteral("xmllint"), {"--noout", "--schema", kSchema, "-"});
    lint.write(bytes);
    lint.closeWriteChannel();
    EXPECT_TRUE(lint.waitForFinished(60000)) << "xmllint (libxml2-utils) is needed";
    if (complaint) *complaint = QString::fromUtf8(lint.readAllStandardError());
    return lint.exitStatus() == QProcess::NormalExit && lint.exitCode() == 0;
}

class PatrimVenFolder : public ::testing::Test, public test::RoleFolder {
protected:
    void SetUp() override { townHall(QStringLiteral("4347550")); }
    void townHall(const QString& code) {
        std::vector<Setting> settings = DefaultAdminSettings();
        for (Setting& s : settings) {
            if (s.name == QLatin1String("CUILab")) s.value = code;
            if (s.name == QLatin1String("JudetulLab")) s.value = QString::fromUtf8("Bistriţa-Năsăud");
            if (s.name == QLatin1String("LocalitateaLab")) s.value = QString::fromUtf8("Vârteşa");
        }
        SettingsTable(db(), env.folders().data).save(settings);
    }
    // A role with its owner's fields and vehicle counts ("AUTO3" = 2 ...).
    qint64 role(const QString& village, const QString& number, const QString& name, const QString& code,
                const QString& type, const QString& address, const std::vector<std::pair<QString, int>>& counts,
                bool exempt = false) {
        const qint64 id = add(village, number, name, code);
        db().exec(QStringLiteral("UPDATE \"%1\" SET NUMEP = ?, TIP = ?, ADRESA = ?, SCAUTO = ? WHERE IDGOS = ?")
                      .arg(path("Gospodar.dbf")),
                  {name, type, address, exempt ? "DA" : "NU", id});
        for (const auto& [field, count] : counts)
            db().exec(QStringLiteral("UPDATE \"%1\" SET %2 = ? WHERE IDGOS = ?").arg(path("Pag5.dbf"), field), {count, id});
        return id;
    }
    qint64 person(const QString& name, const QString& code, const std::vector<std::pair<QString, int>>& counts) {
        return role("CORBU", QString::number(++numbers_), name, code, "FIZICA", "Str. Morii 3", counts);
    }
    PatrimVenDocument build() {
        return BuildPatrimVen(db(), env.folders().data, {"POPESCU", "ION", "PRIMAR"}, QDate(2026, 3, 5));
    }
    int numbers_ = 0;
};

TEST_F(PatrimVenFolder, OneElementPerVehicleInCategoryOrderWithLargeCarsBetweenNineAndEleven) {
    person("POPA ION", "1234", {{"AUTO11", 1}, {"AUTO3", 2}, {"P30001", 3500}, {"P30003", 0}});
    const PatrimVenDocument d = build();
    std::vector<std::pair<QString, QString>> vehicles;
    const std::vector<Element> all = parse(d.bytes());
    for (const Element& e : named(all, "Date_auto"))
        vehicles.emplace_back(e.value("Tip_mijloc_auto"), e.value("Capacitate_cilindrica"));
    const std::vector<std::pair<QString, QString>> expected{{"2", "1800"}, {"2", "1800"}, {"5", "3200"}, {"1", "1200"}};
    EXPECT_EQ(vehicles, expected);
    EXPECT_EQ(d.vehicles, 4);
    EXPECT_EQ(named(all, "Patrimoniu").at(0).value("totalPlata_A"), "4");
    for (const Element& e : named(all, "Proprietar")) EXPECT_EQ(e.value("Data_dobandire"), "31.12.2014");
    EXPECT_TRUE(validates(d.bytes()));
}

TEST_F(PatrimVenFolder, OwnerAttributesFollowTheCodeThePersonTypeAndTheAddress) {
    const struct {
        QString name, code, type, address;
        QStringList present, absent;
        QString nume, prenume;
    } cases[] = {
        {"POPA ION VASILE", "1234", "FIZICA", "Str. Morii 3", {"Cnp_cui", "nume", "prenume", "Nr_postal"},
         {"denumire_firma"}, "POPA", "ION VASILE"},
        {"IONESCU", "1234", "FIZICA", "", {"Cnp_cui", "nume", "prenume"}, {"Nr_postal", "denumire_firma"}, "IONESCU", ""},
        {"POPA ION", "", "FIZICA", "Str. Morii 3", {"Nr_postal"}, {"Cnp_cui", "nume", "prenume", "denumire_firma"}, "", ""},
        {"SC ALFA SRL", "RO99", "JURIDICA", "", {"Cnp_cui", "denumire_firma"}, {"nume", "prenume", "Nr_postal"}, "", ""},
    };
    for (const auto& c : cases) {
        db().exec(QStringLiteral("DELETE FROM \"%1\"").arg(path("Gospodar.dbf")));
        role("CORBU", "1", c.name, c.code, c.type, c.address, {{"AUTO1", 1}});
        const std::vector<Element> all = parse(build().bytes());
        const Element owner = named(all, "Proprietar").at(0);
        const Element registry = named(all, "Registru").at(0);
        for (const QString& a : c.present) EXPECT_TRUE(owner.has(a.toLatin1())) << c.name.toStdString() << " " << a.toStdString();
        for (const QString& a : c.absent) EXPECT_FALSE(owner.has(a.toLatin1())) << c.name.toStdString() << " " << a.toStdString();
        EXPECT_EQ(registry.has("Nr_postal_prop"), !c.address.isEmpty()) << c.name.toStdString();
        EXPECT_EQ(owner.value("nume"), c.nume);
        EXPECT_EQ(owner.value("prenume"), c.prenume);
    }
}

TEST_F(PatrimVenFolder, NoVehicleGivesTheRootAloneCountingNone) {
    person("POPA ION", "1234", {});
    const QByteArray expected = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                                "<Patrimoniu xmlns=\"mfp:anaf:patrimoniu:v1\"\r\n"
                                "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\r\n"
                                "Cui_primarie=\"4347550\"\r\nData_raportarii=\"5.3.2026\"\r\nnume_declar=\"POPESCU\"\r\n"
                                "prenume_declar=\"ION\"\r\nfunctie_declar=\"PRIMAR\"\r\ntotalPlata_A=\"0\">\r\n"
                                "</Patrimoniu>\r\n";
    EXPECT_EQ(build().bytes(), expected);
    EXPECT_TRUE(validates(expected));
}

TEST_F(PatrimVenFolder, TwoRolesGiveTheRecordedFileByteForByte) {
    role("CORBU", "12", QString::fromUtf8("ŞERBAN & FIUL"), "1800101060011", "FIZICA", QString::fromUtf8("Str. Şcolii 5"),
         {{"AUTO1", 1}}, true);
    role("ARINI", "7", "SC \"ALFA\" SRL", "RO99", "JURIDICA", "", {{"P30002", 3100}});
    QFile golden(QStringLiteral(VARTESA_TEST_DATA "/documents/patrimven_two_roles.xml"));
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
    const QByteArray bytes = build().bytes();
    EXPECT_EQ(bytes, golden.readAll());
    EXPECT_TRUE(bytes.contains("nume=\"\xC5\x9E" "ERBAN\"")) << "Ş as its UTF-8 bytes";
    EXPECT_TRUE(bytes.contains("prenume=\"&amp; FIUL\""));
}

TEST(XmlAttribute, EscapesWhatAParserWouldMisreadAndLeavesOutWhatXmlForbids) {
    const struct {
        QString value, written;
    } cases[] = {
        {"A & B", "A &amp; B"},
        {"<\"x\">", "&lt;&quot;x&quot;&gt;"},
        {"O'NEIL", "O'NEIL"},
        {"a\tb\nc\rd", "a&#9;b&#10;c&#13;d"},
        {QStringLiteral("a") + QChar(0x01) + QChar(0xFFFE) + QStringLiteral("b"), "ab"},
        {QString::fromUtf8("ţară"), QString::fromUtf8("ţară")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(XmlAttribute("n", c.value), "n=\"" + c.written + "\"") << c.value.toStdString();
}

TEST_F(PatrimVenFolder, NamesReadBackEqualToTheTablesText) {
    const QString name = QString::fromUtf8("POPA <\"Ţ\"> & O'NEIL\tŞTEFAN");
    role("CORBU", "1", name, "", "JURIDICA", "", {{"AUTO2", 1}});
    db().exec(QStringLiteral("UPDATE \"%1\" SET CNP = 'X1'").arg(path("Gospodar.dbf")));
    const std::vector<Element> all = parse(build().bytes());
    EXPECT_EQ(named(all, "Proprietar").at(0).value("denumire_firma"), name);
}

// What the command line leaves behind: the refusals, the remembered declarant, the file.
class PatrimVenTool : public PatrimVenFolder {
protected:
    QString out = env.root() + "/PatrimVen.xml";
    QString run(const QStringList& options, int exit) {
        QString printed;
        EXPECT_EQ(runTool(QStringList{"xml-export", env.folders().data, "--out", out, "--date", "05.03.2026"} + options,
                          &printed),
                  exit)
            << printed.toStdString();
        return printed.trimmed();
    }
};

TEST_F(PatrimVenTool, RefusesWithoutCodeOrDeclarantAndWritesNothing) {
    person("POPA ION", "1234", {{"AUTO1", 2}});
    const struct {
        QStringList options;
        QString message;
    } cases[] = {
        {{"--first-name", "ION", "--position", "PRIMAR"}, "Lipseste Numele declarantului!"},
        {{"--name", "POPESCU", "--first-name", "  ", "--position", "PRIMAR"}, "Lipseste Prenumele declarantului!"},
        {{"--name", "POPESCU", "--first-name", "ION"}, "Lipseste Functia declarantului!"},
    };
    for (const auto& c : cases) EXPECT_EQ(run(c.options, 1), c.message);
    townHall("");
    EXPECT_EQ(run({"--name", "A", "--first-name", "B", "--position", "C"}, 1), "Nu ati trecut CUI-ul la Administrare!");
    EXPECT_FALSE(QFile::exists(out));
}

TEST_F(PatrimVenTool, RemembersTheDeclarantForTheNextExport) {
    person("POPA ION", "1234", {{"AUTO1", 2}});
    EXPECT_EQ(run({"--name", " POPESCU ", "--first-name", "ION  MIHAI", "--position", "PRIMAR"}, 0), "TOTAL,2");
    EXPECT_EQ(RememberedDeclarant(counters()).firstName, "ION MIHAI");
    EXPECT_EQ(run({"--position", "SECRETAR"}, 0), "TOTAL,2");
    const Element root = named(parse([&] {
                                   QFile f(out);
                                   EXPECT_TRUE(f.open(QIODevice::ReadOnly));
                                   return f.readAll();
                               }()),
                               "Patrimoniu")
                             .at(0);
    EXPECT_EQ(root.value("nume_declar") + "/" + root.value("prenume_declar") + "/" + root.value("functie_declar"),
              "POPESCU/ION MIHAI/SECRETAR");
}

TEST_F(PatrimVenTool, AFileThatCannotBeWrittenLeavesTheOlderOneWhole) {
    person("POPA ION", "1234", {{"AUTO1", 2}});
    QFile older(out);
    ASSERT_TRUE(older.open(QIODevice::WriteOnly) && older.write("older") == 5);
    older.close();
    const QString blocker = env.root() + "/a-file";
    QFile(blocker).open(QIODevice::WriteOnly);
    out = blocker + "/PatrimVen.xml";
    EXPECT_TRUE(run({"--name", "A", "--first-name", "B", "--position", "C"}, 1).startsWith("Fisierul "));
    EXPECT_FALSE(QFile::exists(out));
    // A write that stops after half the bytes.
    const QString kept = env.root() + "/PatrimVen.xml";
    const QByteArray bytes = build().bytes();
    const auto half = [](QIODevice& f, const QByteArray& b) {
        f.write(b.left(b.size() / 2));
        return false;
    };
    EXPECT_THROW(WriteWholeFile(kept, bytes, half), Error);
    QFile f(kept);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "older");
    EXPECT_EQ(QDir(env.root()).entryList({"PatrimVen*"}, QDir::Files), QStringList{"PatrimVen.xml"});
}

TEST_F(PatrimVenFolder, TheWindowChecksTheDeclarantWalksOnEnterAndSavesWhereChosen) {
    test::ensureGuiApplication();
    person("POPA ION", "1234", {{"AUTO4", 3}});
    TANAFF window(env.services());
    CountersFile c = counters();
    RememberDeclarant(c, {"POPESCU", "", ""});
    window.NumeD->setText("  POPESCU ");
    window.PrenumeD->setText(" ");
    window.CreazaClick();
    ASSERT_EQ(env.messages().hints().size(), 1u);
    EXPECT_EQ(env.messages().hints().at(0).text, "Lipseste Prenumele declarantului!");
    EXPECT_EQ(env.messages().hints().at(0).anchor, "PrenumeD");
    EXPECT_EQ(window.NumeD->text(), "POPESCU");
    const QString saved = env.root() + "/raport";
    window.chooseFile = [&] { return saved; };
    QTimer::singleShot(0, &window, [&] {
        EXPECT_EQ(window.NumeD->text(), "POPESCU") << "the window fills the field from the last export";
        window.PrenumeD->setText("ION");
        window.FunctieD->setText("PRIMAR");
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(window.PrenumeD, &enter); // moves on to FunctieD, creates nothing
        EXPECT_TRUE(window.isVisible());
        QApplication::sendEvent(window.FunctieD, &enter); // presses "Creaza XML"
    });
    EXPECT_EQ(window.XMLPatrimVenANAF1Click(), saved + ".xml");
    QFile file(saved + ".xml");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().count("<Auto>"), 3);
    EXPECT_TRUE(env.messages().shown().back().text.startsWith("Am scris 3 mijloace de transport"));
    EXPECT_EQ(RememberedDeclarant(counters()).position, "PRIMAR");
}

TEST_F(PatrimVenFolder, TheWindowWithoutTheTownHallsCodeSaysSoAndAsksNothing) {
    test::ensureGuiApplication();
    townHall("");
    TANAFF window(env.services());
    window.chooseFile = [] { return QStringLiteral("/nowhere.xml"); };
    EXPECT_EQ(window.XMLPatrimVenANAF1Click(), "");
    ASSERT_EQ(env.messages().titles(), QStringList{"XML ANAF"});
    EXPECT_EQ(env.messages().shown().at(0).text, "Nu ati trecut CUI-ul la Administrare!");
}

TEST(PatrimVenSchema, TheDemoCommuneValidatesAndMutatedCopiesDoNot) {
    QTemporaryDir dir;
    const QString data = dir.path() + "/Data";
    QString printed;
    ASSERT_EQ(runTool({"demo", data, "--roles", "400", "--year", "2015"}, &printed), 0) << printed.toStdString();
    const QString out = dir.path() + "/PatrimVen.xml";
    ASSERT_EQ(runTool({"xml-export", data, "--out", out, "--name", "POPESCU", "--first-name", "ION", "--position",
                       "PRIMAR"},
                      &printed),
              0)
        << printed.toStdString();
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GT(bytes.count("<Auto>"), 100);
    QString complaint;
    EXPECT_TRUE(validates(bytes, &complaint)) << complaint.toStdString();
    const qsizetype firstOwnerEnd = bytes.indexOf("</Auto>");
    const qsizetype firstOwner = bytes.lastIndexOf("<Proprietar", firstOwnerEnd);
    const struct {
        const char* what;
        QByteArray mutated;
    } mutations[] = {
        {"no Cota", QByteArray(bytes).replace("Cota=\"100\"\r\n", "")},
        {"type 6", QByteArray(bytes).replace("Tip_mijloc_auto=\"1\"", "Tip_mijloc_auto=\"6\"")},
        {"an Auto without Proprietar", QByteArray(bytes).remove(firstOwner, firstOwnerEnd - firstOwner)},
    };
    for (const auto& m : mutations) {
        ASSERT_NE(m.mutated, bytes) << m.what;
        EXPECT_FALSE(validates(m.mutated)) << m.what;
    }
}

} // namespace
