#pragma once
// "PatrimVen": the yearly report of the taxpayers' vehicles to the national tax agency, in
// its "Patrimoniu" XML format. One Auto element per vehicle counted on the roles' vehicle
// pages (a count of 3 gives three identical elements), the roles ordered by village and role
// number. The document is built whole in memory, one attribute per line, and written in one
// piece: UTF-8 without byte order mark, CRLF after every line. Nothing is written to the
// tables; only the declarant is remembered, in the "VAR" section of the counters file.
//
// The schema the file keeps to is PatrimVen.xsd beside this header.

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace vartesa {

class CountersFile;
struct TownHall;
namespace db {
class Database;
}

/// The title of the export's messages.
inline const QString kPatrimVenTitle = QStringLiteral("XML ANAF");

/// Who signs the report: NumeD, PrenumeD, FunctieD of the dialog (100 characters each).
struct Declarant {
    QString name;
    QString firstName;
    QString position;
};
constexpr int kDeclarantFieldLength = 100;

/// The field a refusal points at.
enum class DeclarantField { Name, FirstName, Position };

struct DeclarantRefusal {
    QString text;
    DeclarantField field;
};

/// "Nu ati trecut CUI-ul la Administrare!" when the town hall has no fiscal code.
std::optional<QString> CheckTownHallCode(const TownHall& townHall);

/// "Creaza XML": collapses the spaces of the three fields, then requires each in order
/// ("Lipseste Numele declarantului!", ... "Prenumele", ... "Functia").
std::optional<DeclarantRefusal> TidyDeclarant(Declarant& declarant);

/// The declarant of the last export ("VAR": NUMED, PRENUMED, FUNCTIED), and storing it back.
Declarant RememberedDeclarant(const CountersFile& counters);
void RememberDeclarant(CountersFile& counters, const Declarant& declarant);

/// One attribute line: name="value", the value escaped for an attribute: & < > " as entities,
/// tab, line feed and carriage return as character references (a parser would fold them into
/// spaces), the other characters XML 1.0 forbids left out.
QString XmlAttribute(const QString& name, const QString& value);

/// The document: its lines without line ends, and the Auto elements it holds.
struct PatrimVenDocument {
    QStringList lines;
    int vehicles = 0; // totalPlata_A

    /// The file's bytes: UTF-8, every line ended by CRLF.
    QByteArray bytes() const;
};

/// Builds the report of the data folder at `today`, with the town hall of its stored
/// settings and the working year's acquisition date (31 December of the year before).
/// `step` is called once per role read, with the number of roles (the progress). Throws
/// vartesa::Error.
PatrimVenDocument BuildPatrimVen(db::Database& db, const QString& dataFolder, const Declarant& declarant,
                                 const QDate& today, const std::function<void(int roles)>& step = {});

} // namespace vartesa
