#pragma once
// What the editing commands share: their arguments read into one shape, the --set
// assignments, the messages of the core's checks answered on the command line, and the
// refusal that ends a command with its message and exit code 1.

#include "shell/services.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <memory>
#include <utility>
#include <vector>

namespace vartesa::tool {

/// A command's arguments: the plain ones in order, the options that take a value, the
/// flags and the --set CAMP=VALOARE assignments (field names in capitals), in order.
struct ToolArguments {
    QStringList plain;
    QMap<QString, QString> options;                 // "--village" -> "CORBU" (the last one given)
    QStringList flags;                              // "--yes"
    std::vector<std::pair<QString, QString>> sets;  // ("NUMEP", "POPA ION")
    QString fault;                                  // why the arguments cannot be read; empty when they can
    bool ok() const { return fault.isEmpty(); }
    bool has(const char* flag) const { return flags.contains(QLatin1String(flag)); }
};

/// Reads `args`: an option of `valued` takes the next argument as its value, one of `flags`
/// stands alone, --set takes CAMP=VALOARE; any other "--" word is a fault.
ToolArguments ReadToolArguments(const QStringList& args, const QStringList& valued, const QStringList& flags);

/// A refusal of the command: its Romanian message goes to standard error, the exit code is 1
/// and nothing has been written.
struct ToolRefusal {
    QString message;
};

/// A whole number typed for field `field`; refused with "Valoare incorecta pentru CAMP: X"
/// when it is not one (or is negative, for the amounts a dialog takes without sign).
qint64 WholeNumberOf(const QString& field, const QString& text, bool allowNegative = false);
/// A date typed as zz.ll.aaaa; refused otherwise.
QDate DateOf(const QString& field, const QString& text);
/// "DA" or "NU" (in any case); refused otherwise.
bool YesNoOf(const QString& field, const QString& text);
/// The refusal of a field the command does not know.
ToolRefusal UnknownField(const QString& field);

/// The messages of the core's checks on the command line: every text goes to standard
/// error; a question is answered DA only when the clerk gave --yes (NU otherwise).
class ToolMessages final : public Messages {
public:
    explicit ToolMessages(bool yes) : yes_(yes) {}
    MessageResult ShowErrors(const QString& title, const QString& text, MessageKind kind,
                             MessageButtons buttons) override;
    void ShowProblemHint(const QString& text, QObject* anchor) override;

private:
    bool yes_; // --yes: the clerk answers DA beforehand
};

/// Services over `dataFolder` (its parent is the program folder) whose questions are
/// answered by ToolMessages(yes); progress is silent.
std::unique_ptr<Services> ToolServices(const QString& dataFolder, bool yes);

/// Refuses the changes of a locked year as the main window does.
void RefuseLockedYear(const Services& services);

/// "Utilizare: vartesa-tool " + `text` on stderr; returns 2, the exit code of a wrong call.
int PrintUsage(const char* text);

/// Reads the arguments and runs `command`: a fault in them, or fewer than `leastPlain` plain
/// arguments, prints `usage` (exit 2); a refusal or an error prints its message (exit 1).
int RunRefusing(const QStringList& args, const char* usage, const QStringList& valued, const QStringList& flags,
                int leastPlain, int (*command)(const ToolArguments&));

} // namespace vartesa::tool
