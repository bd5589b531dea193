#pragma once
// One declaration page of the role register, generated from the field table: a block per
// group of fields with its row and column captions, one control per field named as the
// field table says, the taxable values of buildings recomputed as they are typed, and the
// panel Modi<n> ("Memoreaza modificarile", "Anuleaza modificarile") shown once anything
// changed. Enter walks the fields in the table's order.

#include "roles/declaration_pages.h"
#include "roles/ui/role_register_window.h"

#include <QHash>

#include <functional>

class QPushButton;

namespace vartesa {

class AdminConstants;
class Services;

class DeclarationPageWidget : public RolePageWidget {
public:
    /// Page `page` (1..11) of the register.
    DeclarationPageWidget(Services& services, AdminConstants& constants, int page, QWidget* parent = nullptr);

    void loadRole(qint64 id) override;
    bool isModified() const override { return modified_; }
    /// Writes the page; a refusal is shown at its field (the typed values stay) or, for the
    /// locked year, after the page is read again.
    void save() override;
    /// "Anuleaza modificarile": the page as stored.
    void cancel();

    int page() const { return page_; }
    /// Called with the role after every load: page 5 restricts its vehicle details to it.
    void setOnLoad(std::function<void(qint64)> onLoad) { onLoad_ = std::move(onLoad); }
    /// The stored fields as the controls hold them now.
    PageValues values() const;
    /// The control of a table field; null when the page has none.
    QWidget* control(const QString& field) const;

private:
    void buildGroups(QWidget* content);
    QWidget* makeControl(const PageField& f, QWidget* parent);
    void fill(const PageValues& values);
    void showPanels(bool legal);
    void recomputeValues();
    void changed();
    void setModified(bool modified);
    BlankPageDefaults defaults() const;

    Services& s_;
    AdminConstants& constants_;
    int page_;
    qint64 id_ = 0;
    bool modified_ = false;
    bool filling_ = false;              // the code is filling the controls: no change
    QHash<const PageField*, QWidget*> controls_; // every field's control
    QList<QWidget*> natural_;           // controls shown for natural persons only
    QList<QWidget*> legal_;             // controls shown for legal persons only
    QWidget* modi_ = nullptr;           // the Modi<n> panel
    std::function<void(qint64)> onLoad_; // after every load
};

/// Puts pages 1..11 in the register window (navigation entries 2..12).
void InstallDeclarationPages(TGospodarii& window, Services& services, AdminConstants& constants);

} // namespace vartesa
