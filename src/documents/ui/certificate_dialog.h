#pragma once
// "Certificat Fiscal Persoana Fizica" (TCFiscDet): the numbers, the identity document, the
// property, the purpose and the stamp duty of a fiscal certificate, and the agricultural
// register whose parcels it may list.

#include "documents/certificate.h"

#include <QDialog>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vartesa {

class AdminConstants;
class Services;
class TGospodarieF;

class TCFiscDet : public QDialog {
public:
    TCFiscDet(Services& services, const AdminConstants& constants, QWidget* parent = nullptr);

    /// Fills the dialog for role `idgos` (its name and the village shown) and shows it
    /// modally: the request when "Am ales" accepted it. "CFDINRA" is stored either way.
    std::optional<CertificateRequest> ShowDialog(const QString& name, qint64 idgos, const QString& village);
    /// Everything ShowDialog does before the window shows.
    void prepare(const QString& name, qint64 idgos, const QString& village);
    /// The request as the fields hold it.
    CertificateRequest request() const;

    /// CheckBox1 ticked without Cap2B.dbf in the folder shown: the balloon, the box cleared.
    void CheckBox1Click();
    /// BitBtn1: the folder of the agricultural register.
    void BitBtn1Click();
    /// The folder BitBtn1 asks for; tests answer it.
    std::function<QString()> pickFolder;

    QLabel* NumePrenume;
    QLineEdit* CFNr;
    QDateEdit* CFData;
    QLineEdit* CereNr;
    QDateEdit* CereData;
    QComboBox* CITip;
    QLineEdit* CISeria;
    QLineEdit* CINr;
    QComboBox* TipSup;
    QLineEdit* SupPoz;
    QCheckBox* CheckBox1;
    QLabel* CaleRA;
    QPushButton* BitBtn1;
    QComboBox* Serveste;
    QLineEdit* TimbruVal;
    QLineEdit* TaxaChitNr;
    QDateEdit* TaxaChitData;
    QPushButton* MemoBut;
    QPushButton* CloseBut;

private:
    Services& s_;
    const AdminConstants& constants_;
    qint64 idgos_ = 0;
    QString shownNumber_; // CFNr as filled: a number left so is drawn on acceptance
};

/// TGospodarieF.CertificatFiscalP: CFiscal3.rtf first, then the dialog, then the certificate
/// of the open role written to the machine folder's TEMP and opened.
void CertificatFiscalP(Services& services, const AdminConstants& constants, TGospodarieF& account, TCFiscDet& dialog);

} // namespace vartesa
