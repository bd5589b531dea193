// Qt's own dialogs and menus speak Romanian once the program installs its translation.

#include "shell/ui/qt_texts.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QGroupBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QTabWidget>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTranslator>

#include <gtest/gtest.h>

#include <memory>

namespace {

// The translation stays installed only for the test that asks for it.
struct Installed {
    QTranslator* texts = vartesa::RomanianQtTexts();
    Installed() {
        if (texts) QApplication::installTranslator(texts);
    }
    ~Installed() {
        if (texts) QApplication::removeTranslator(texts);
    }
};

QStringList captions(const QList<QAction*>& actions) {
    QStringList out;
    for (const QAction* a : actions)
        if (!a->isSeparator()) out << a->text().section('\t', 0, 0);
    return out;
}

} // namespace

TEST(QtTexts, FileDialogButtonsAndEditMenuAreRomanian) {
    Installed romanian;
    ASSERT_NE(romanian.texts, nullptr) << "built without lrelease (qt6-l10n-tools)";

    QFileDialog files(nullptr, QStringLiteral("Indicati calea salvarilor automate"));
    files.setOption(QFileDialog::DontUseNativeDialog);
    files.setAcceptMode(QFileDialog::AcceptSave);
    EXPECT_EQ(files.findChild<QLabel*>(QStringLiteral("lookInLabel"))->text(), "Cauta in:");
    EXPECT_EQ(files.labelText(QFileDialog::Accept), "&Salveaza");
    EXPECT_EQ(files.labelText(QFileDialog::Reject), "Anuleaza");

    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), "Anuleaza");

    QLineEdit field(QStringLiteral("Primăria"));
    std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    EXPECT_EQ(captions(menu->actions()),
              QStringList({"&Anuleaza", "&Reface", "&Taie", "&Copiaza", "&Lipeste", "Sterge", "Selecteaza tot"}));
}

TEST(QtTexts, ThePrintDialogAndTheCalendarAreRomanian) {
    Installed romanian;
    ASSERT_NE(romanian.texts, nullptr) << "built without lrelease (qt6-l10n-tools)";
    QPrinter printer;
    QPrintDialog dialog(&printer);
    QStringList shown;
    for (const QLabel* l : dialog.findChildren<QLabel*>()) shown << l->text();
    for (const QAbstractButton* b : dialog.findChildren<QAbstractButton*>()) shown << b->text();
    for (const QGroupBox* g : dialog.findChildren<QGroupBox*>()) shown << g->title();
    for (const QTabWidget* t : dialog.findChildren<QTabWidget*>())
        for (int i = 0; i < t->count(); ++i) shown << t->tabText(i);
    for (const char* text : {"Imprimanta", "&Nume:", "&Optiuni >>", "Copii", "Paginile de la", "Asamblate"})
        EXPECT_TRUE(shown.contains(QString::fromLatin1(text))) << text << " not in " << shown.join(" | ").toStdString();

    vartesa::UseRomanianCalendars(QCoreApplication::instance());
    QCalendarWidget calendar;
    calendar.ensurePolished();
    EXPECT_EQ(calendar.locale().monthName(3), QString::fromUtf8("martie"));
}
