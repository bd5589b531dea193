#pragma once
// A data folder holding the tables of the books, created empty with the program's layouts.

#include "db/database.h"
#include "shell/catalog.h"
#include "shell/table_files.h"
#include "support/scripted_services.h"

namespace vartesa::test {

class BooksFolder {
public:
    BooksFolder() {
        for (const QString& file : {tables::Roles, tables::Ledger, tables::Balances, tables::Debits})
            CreateTable(db(), folder() + '/' + file, CatalogTable(file));
    }
    db::Database& db() { return env.services().database(); }
    QString folder() const { return env.folders().data; }

    TestServices env;
};

} // namespace vartesa::test
