#pragma once
// The one exception type of the core: what failed, and where.

#include <QString>
#include <stdexcept>

namespace vartesa {

class Error : public std::runtime_error {
public:
    /// `what` is the Romanian text shown to the clerk; `where` names the operation or file.
    explicit Error(const QString& what, const QString& where = {})
        : std::runtime_error(what.toStdString()), text_(what), where_(where) {}

    const QString& text() const { return text_; }
    const QString& where() const { return where_; }

private:
    QString text_;  // message for the clerk
    QString where_; // operation, table or file that failed
};

} // namespace vartesa
