// The rich-text filler: placeholders filled without regard to case, repeated lines, empty
// values, escaping, a series of notices in one file that a rich-text reader accepts, and the
// marker mode of the summons and garnishment papers.

#include "fillers/rtf_replace.h"
#include "support/scripted_services.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace vartesa;

namespace {

const QByteArray kHeader = "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0 Arial;}}\r\n";

class RtfReplaceTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return env_.folders().program + '/' + name; }

    void writeTemplate(const QByteArray& body) {
        QFile f(path("Model.rtf"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(kHeader + body);
        rtf_.RTFSursa = f.fileName();
    }
    void start() {
        ASSERT_TRUE(rtf_.FindFreeDest(path("Doc")));
        ASSERT_TRUE(rtf_.WriteHeader());
    }
    QByteArray result() const {
        QFile f(rtf_.RTFDest);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }
    // The document's lines after the template header.
    QList<QByteArray> bodyLines() const {
        QByteArray text = result();
        EXPECT_TRUE(text.startsWith(kHeader));
        text = text.mid(kHeader.size());
        text.replace("\r\n", "\n");
        QList<QByteArray> lines = text.split('\n');
        if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
        return lines;
    }

    test::TestServices env_;
    TRTFReplace rtf_{env_.desktop()};
};

TEST_F(RtfReplaceTest, PlaceholdersMatchKeysInAnyCase) {
    writeTemplate("\\pard Catre [NUMEP], rol [rol]\\par\r\nDomnului [NumeP]\\par\r\n}\r\n");
    start();
    rtf_.AddValue("[NumeP]", "POPESCU ION");
    rtf_.AddValue("[ROL]", "123");
    rtf_.AppendBody(1);
    rtf_.CloseDocument();
    EXPECT_EQ(bodyLines(), QList<QByteArray>({"\\pard Catre POPESCU ION, rol 123\\par", "Domnului POPESCU ION\\par", "}"}));
}

TEST_F(RtfReplaceTest, AnEmptyValueIsTenDotsInABodyAndNothingFromAMarker) {
    writeTemplate("\\pard Adresa: [ADRESA]\\par\r\n}\r\n");
    start();
    rtf_.AddValue("[ADRESA]", "");
    rtf_.AppendBody(1);
    rtf_.CloseDocument();
    EXPECT_EQ(bodyLines(), QList<QByteArray>({"\\pard Adresa: ..........\\par", "}"}));

    writeTemplate("\\pard [ADRESA] inainte\\par\r\nJUDETUL [JUDET]\\par\r\nAdresa: [ADRESA].\\par\r\n}\r\n");
    start();
    rtf_.AddValue("[JUDET]", "ARGES");
    rtf_.AddValue("[ADRESA]", "");
    rtf_.ReplaceFromMarker("JUDE");
    rtf_.CloseDocument();
    EXPECT_EQ(bodyLines(), QList<QByteArray>({"\\pard [ADRESA] inainte\\par", "JUDETUL ARGES\\par", "Adresa: .\\par",
                                              "}", "}"}))
        << "lines before the marker stay as they are; the summons ends with the template's brace and one more";
}

TEST_F(RtfReplaceTest, AKeyAddedSeveralTimesInARowRepeatsItsLine) {
    writeTemplate("\\pard TAXE SI AMENZI :\\par\r\n[Taxe]\\par\r\nTotal: [Total] lei\\par\r\n}\r\n");
    start();
    rtf_.AddValue("[Total]", "60");
    for (const char* tax : {"Taxa pasune : \\tab 10 lei.", "Amenda : \\tab 20 lei.", "Taxa firma : \\tab 30 lei."})
        rtf_.AddValue("[Taxe]", tax);
    rtf_.AppendBody(1);
    rtf_.CloseDocument();
    EXPECT_EQ(bodyLines(), QList<QByteArray>({"\\pard TAXE SI AMENZI :\\par", "Taxa pasune : \\tab 10 lei.\\par",
                                              "Amenda : \\tab 20 lei.\\par", "Taxa firma : \\tab 30 lei.\\par",
                                              "Total: 60 lei\\par", "}"}));
}

TEST_F(RtfReplaceTest, AKeyAddedAgainAfterOthersKeepsItsFirstValue) {
    writeTemplate("\\pard JUDETUL [Judet]\\par\r\nPrimaria [PRIMARIA]\\par\r\njudetul [JUDET]\\par\r\n}\r\n");
    start();
    rtf_.AddValue("[Judet]", "ARGES");
    rtf_.AddValue("[PRIMARIA]", "CORBU");
    rtf_.AddValue("[Judet]", "OLT");
    rtf_.AppendBody(1);
    rtf_.CloseDocument();
    EXPECT_EQ(bodyLines(),
              QList<QByteArray>({"\\pard JUDETUL ARGES\\par", "Primaria CORBU\\par", "judetul ARGES\\par", "}"}));
}

TEST_F(RtfReplaceTest, ValuesAreEscapedForRichText) {
    EXPECT_EQ(TRTFReplace::EscapeValue("SC {ALFA} SRL"), "SC (ALFA) SRL");
    EXPECT_EQ(TRTFReplace::EscapeValue(QString::fromUtf8("ŞCOALA ŢARA")), "\\'aaCOALA \\'deARA");
    EXPECT_EQ(TRTFReplace::EscapeValue(QString::fromUtf8("Ș Ț")), "\\'aa \\'de") << "comma-below letters too";
    EXPECT_EQ(TRTFReplace::EscapeValue(QString::fromUtf8("Bucureşti ăâî")), "Bucure\xbati \xe3\xe2\xee")
        << "other letters go as Windows-1250 bytes";
    EXPECT_EQ(TRTFReplace::EscapeValue("C:\\Date\\x"), "C:\\\\Date\\\\x") << "a backslash is printed, not a command";
    EXPECT_EQ(TRTFReplace::EscapeValue("a\\tab b\\table"), "a\\tab b\\\\table") << "the notices' tab marks pass";
    EXPECT_EQ(TRTFReplace::EscapeValue(QString::fromUtf8("Ж→ﬁ")), "\\u1046?\\u8594?\\u-1279?")
        << "characters the code page lacks are Unicode escapes, not question marks";

    writeTemplate("\\pard Contribuabil: [NUMEP]\\par\r\n}\r\n");
    start();
    rtf_.AddValue("[NUMEP]", QString::fromUtf8("SC {ŞTEFAN} SRL"));
    rtf_.AppendBody(1);
    rtf_.CloseDocument();
    EXPECT_EQ(bodyLines(), QList<QByteArray>({"\\pard Contribuabil: SC (\\'aaTEFAN) SRL\\par", "}"}));
}

TEST_F(RtfReplaceTest, AnInsertedValueIsNeverSearchedByLaterKeys) {
    writeTemplate("\\pard [ADRESA] .C1. [Sat]\\par\r\n}\r\n");
    start();
    rtf_.AddValue("[ADRESA]", "Bl.C1. [Sat]");
    rtf_.AddValue(".C1.", "500");
    rtf_.AddValue("[Sat]", "Aluni");
    rtf_.AppendBody(1);
    rtf_.CloseDocument();
    EXPECT_EQ(bodyLines(), QList<QByteArray>({"\\pard Bl.C1. [Sat] 500 Aluni\\par", "}"}));
}

TEST_F(RtfReplaceTest, ARepeatedPlaceholderDoesNotLeakIntoTheNextDocument) {
    // The closing line is written once, so the first notice leaves its run of "[Taxe]" unfinished.
    writeTemplate("\\pard [Taxe]\\par\r\n[Taxe]\\par }\r\n");
    start();
    for (const char* v : {"y", "a", "b"}) rtf_.AddValue(v == QByteArray("y") ? "[Y]" : "[Taxe]", v);
    rtf_.AppendBody(1);
    rtf_.AppendPageBreak();
    rtf_.AddValue("[Taxe]", "Z");
    rtf_.AddValue("[Y]", "y");
    rtf_.AddValue("[Taxe]", "W");
    rtf_.AppendBody(1);
    rtf_.CloseDocument();
    EXPECT_EQ(bodyLines(), QList<QByteArray>({"\\pard a\\par", "\\pard b\\par", "a\\par ", "\\par \\page",
                                              "\\pard Z\\par", "Z\\par ", "}"}))
        << "the second notice starts its own list: \"[Taxe]\" is Z, not the W a stale run would pick";
}

TEST_F(RtfReplaceTest, TenNoticesMakeOneReadableFile) {
    writeTemplate("\\pard\\plain\\f0 INSTIINTARE DE PLATA nr. [Nr]\\par\r\n"
                  "{\\b Contribuabil:} [NumeP]\\par\r\n[Detalii1]\\par\r\n"
                  "Total de plata: [Total] lei\\par\r\n}\r\n");
    start();
    for (int n = 1; n <= 10; ++n) {
        if (n > 1) rtf_.AppendPageBreak();
        rtf_.AddValue("[Nr]", QString::number(n));
        rtf_.AddValue("[NumeP]", QStringLiteral("CONTRIBUABIL %1").arg(n));
        rtf_.AddValue("[Detalii1]", QString::fromUtf8("Cladire : 60 mp;"));
        rtf_.AddValue("[Detalii1]", QString::fromUtf8("Teren : 1000 mp;"));
        rtf_.AddValue("[Total]", QString::number(100 * n));
        rtf_.AppendBody(1);
    }
    rtf_.CloseDocument();

    const QList<QByteArray> lines = bodyLines();
    EXPECT_EQ(lines.count("\\par \\page"), 9);
    EXPECT_EQ(lines.count("}"), 1);
    EXPECT_EQ(lines.last(), "}");
    EXPECT_EQ(lines.count("Cladire : 60 mp;\\par"), 10);
    EXPECT_EQ(lines.count("Teren : 1000 mp;\\par"), 10);
    const QByteArray text = result();
    EXPECT_EQ(text.count('{'), text.count('}')) << "the braces of the file balance";

    const QString unrtf = QStandardPaths::findExecutable("unrtf");
    if (unrtf.isEmpty()) GTEST_SKIP() << "unrtf is not installed";
    QProcess reader;
    reader.start(unrtf, {"--text", rtf_.RTFDest});
    ASSERT_TRUE(reader.waitForFinished(30000));
    EXPECT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
    const QString shown = QString::fromLocal8Bit(reader.readAllStandardOutput());
    for (int n = 1; n <= 10; ++n) {
        EXPECT_TRUE(shown.contains(QStringLiteral("CONTRIBUABIL %1\n").arg(n))) << n;
        EXPECT_TRUE(shown.contains(QStringLiteral("Total de plata: %1 lei").arg(100 * n))) << n;
    }
}

TEST_F(RtfReplaceTest, FreeNamesAndTheDesktop) {
    writeTemplate("\\pard [X]\\par\r\n}\r\n");
    QFile taken(path("Doc0.rtf"));
    ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
    taken.write("in lucru");
    taken.close();
    QFile lock(path(".~lock.Doc0.rtf#"));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.close();
    QFile old(path("Doc1.rtf"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.close();

    ASSERT_TRUE(rtf_.FindFreeDest(path("Doc")));
    EXPECT_EQ(rtf_.RTFDest, path("Doc1.rtf")) << "the document held open is skipped, a closed one is reused";
    EXPECT_FALSE(QFile::exists(path("Doc1.rtf")));
    ASSERT_TRUE(QFile::exists(path("Doc0.rtf")));

    rtf_.RTFSursa = path("Lipsa.rtf");
    EXPECT_FALSE(rtf_.WriteHeader()) << "a missing template gives no document";
    rtf_.RTFSursa = path("Model.rtf");
    ASSERT_TRUE(rtf_.WriteHeader());
    rtf_.AddValue("[X]", "x");
    rtf_.AppendBody(1);
    rtf_.CloseDocument();
    rtf_.OpenDest();
    EXPECT_EQ(env_.desktop().opened(), QStringList({path("Doc1.rtf")}));
    EXPECT_EQ(result(), kHeader + "\\pard x\\par\r\n}\r\n");
}

} // namespace
