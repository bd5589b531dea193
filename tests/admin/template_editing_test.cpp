// "Modele listare - Retusare": each entry hands its template of the data folder to the
// desktop, and a missing template is reported instead of silently ignored.

#include "admin/template_editing.h"
#include "support/shell_test_util.h"
#include "support/scripted_services.h"

#include <gtest/gtest.h>

using namespace vartesa;

TEST(TemplateEditing, EveryEntryNamesItsFile) {
    QStringList rows;
    for (const TemplateEntry& e : TemplateEntries())
        rows << e.action + "|" + e.group + "|" + e.caption + "|" + e.file;
    EXPECT_EQ(rows, QStringList({
                        "Mdl1||Model Instiintare de plata|Instiintare.rtf",
                        "MdlSomTit|Modele Executare silita|Somatie - Titlu executoriu|Titlu.rtf",
                        "MdlPopAngaj|Modele Executare silita|Poprire Angajator|PopAngaj2.rtf",
                        "MdlPopBanca|Modele Executare silita|Poprire Banca|PopBanca2.rtf",
                        "Mdl4||Model Certificat Fiscal|CFiscal3.rtf",
                        "Mdl5||Model Adresa de infiintare poprire|PopAngaj2.rtf",
                        "Mdl6||Model Aferent Adresa de infiintare poprire|PopBanca2.rtf",
                        "Mdl7||Model Confirmarea de primire a debitelor|ConfirmareD.rtf",
                        "ListPlatB||Model Lista plati - Registrul de casa|ListPlat.xls",
                        "RegcasaB||Model Registru de casa|RegCasa.xls",
                    }));
}

TEST(TemplateEditing, OpensTheDataFoldersFileWhateverItsCase) {
    test::TestServices env;
    shelltest::writeBytes(env.folders().data + "/INSTIINTARE.RTF", "{\\rtf1 }");
    EXPECT_TRUE(EditTemplate(env.services(), "Instiintare.rtf"));
    EXPECT_EQ(env.desktop().opened(), QStringList({env.folders().data + "/INSTIINTARE.RTF"}));
    EXPECT_TRUE(env.messages().shown().empty());

    EXPECT_FALSE(EditTemplate(env.services(), "RegCasa.xls"));
    ASSERT_EQ(env.messages().shown().size(), 1u);
    EXPECT_EQ(env.messages().shown().front().title, "Modele listare - Retusare");
    EXPECT_EQ(env.messages().shown().front().text,
              "Modelul " + env.folders().data + "/RegCasa.xls nu poate fi deschis!");
    EXPECT_EQ(env.desktop().opened().size(), 1);
}
