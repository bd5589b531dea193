#pragma once
// Reading the program's SQL text before SQLite sees it: tables named by their file path
// become the engine's table names, the casts whose meaning differs are replaced by
// registered functions, and the statements that change a table's file layout (CREATE,
// DROP and ALTER TABLE) are taken apart for the engine to carry out itself.

#include "dbf_format.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace vartesa::db {

enum class StatementKind { Select, Insert, Update, Delete, Create, Drop, Alter, Other };

struct ParsedStatement {
    StatementKind kind = StatementKind::Other;
    QString sql;                  // the text to prepare, tables renamed, casts replaced
    QStringList tables;           // every table file named, resolved, without repeats
    QString target;               // CREATE/DROP/ALTER: the table changed
    std::vector<Field> addFields; // CREATE: all fields; ALTER: the fields added
    QStringList dropFields;       // ALTER: the fields dropped
    bool namesRecordNumber = false; // INSERT: the column list names rowid (the record number)
};

/// `resolve` turns a path as written ("Datorii.dbf", "/data/GOSPODAR.DBF") into the
/// file's full path on disk. Throws vartesa::Error on a DDL statement it cannot read.
ParsedStatement parseStatement(const QString& sql, const std::function<QString(const QString&)>& resolve);

/// The text of a quoted identifier: "ab""c" -> ab"c.
QString quoteIdentifier(const QString& name);

} // namespace vartesa::db
