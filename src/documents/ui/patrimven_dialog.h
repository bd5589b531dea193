#pragma once
// "XML ANAF - PatrimVen": the declarant of the vehicle report, then where to save it.

#include "documents/patrimven.h"

#include <QDialog>

#include <functional>

class QLineEdit;
class QPushButton;

namespace vartesa {

class Services;

class TANAFF : public QDialog {
public:
    explicit TANAFF(Services& services, QWidget* parent = nullptr);

    /// XMLPatrimVenANAF1Click: the town hall's fiscal code, the declarant, the document built
    /// with its progress, then the save dialog. Returns the file written, "" when none.
    QString XMLPatrimVenANAF1Click();
    /// "Creaza XML": the declarant's checks; accepts the dialog when they pass.
    void CreazaClick();
    /// The declarant as typed (after "Creaza XML": with its spaces collapsed).
    Declarant declarant() const;

    /// Save1: "Unde salvam XML-ul ?"; the chosen file, "" when cancelled. Tests answer it.
    std::function<QString()> chooseFile;

    QLineEdit* NumeD;
    QLineEdit* PrenumeD;
    QLineEdit* FunctieD;
    QPushButton* Creaza;
    QPushButton* Renunt;

private:
    Services& s_;
};

/// The name chosen in the save dialog with ".xml" added when it has no such ending.
QString WithXmlSuffix(const QString& chosen);

} // namespace vartesa
