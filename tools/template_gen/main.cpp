// vartesa-template-gen SOURCE OUTPUT: compiles a template source of src/templates
// into the .xls file the program fills. Run by the build.

#include "workbook/template_source.h"

#include "db/error.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QTextStream err(stderr);
    if (args.size() != 2) {
        err << "Utilizare: vartesa-template-gen SURSA IESIRE.xls\n";
        return 2;
    }
    QFile source(args[0]);
    if (!source.open(QIODevice::ReadOnly)) {
        err << "Nu se poate citi " << args[0] << "\n";
        return 1;
    }
    try {
        vartesa::workbook::compileTemplate(QString::fromUtf8(source.readAll()), QFileInfo(args[0]).fileName())
            .save(args[1]);
    } catch (const vartesa::Error& e) {
        err << e.text() << "\n";
        return 1;
    }
    return 0;
}
