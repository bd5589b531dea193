#include "shell/ui/upper_case.h"

#include <QLineEdit>
#include <QValidator>

namespace vartesa {

namespace {

// A validator may change the text it checks: this one only raises the letters.
class UpperCaseValidator final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        input = input.toUpper();
        return Acceptable;
    }
};

} // namespace

void makeUpperCase(QLineEdit* edit, int maxLength) {
    edit->setMaxLength(maxLength);
    edit->setValidator(new UpperCaseValidator(edit));
}

} // namespace vartesa
