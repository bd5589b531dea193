#include "shell/ui/upper_case.h"

#include "shell/services.h"
#include "shell/text_helpers.h"

#include <QLineEdit>
#include <QPointer>
#include <QValidator>

namespace vartesa {

namespace {

// A validator may change the text it checks: this one raises the letters when asked, and
// refuses a text longer than the field, so that QLineEdit undoes the whole edit.
class FieldTextValidator final : public QValidator {
public:
    FieldTextValidator(QLineEdit* edit, bool upperCase, int maxLength, Messages* messages, QWidget* anchor)
        : QValidator(edit), upperCase_(upperCase), maxLength_(maxLength), messages_(messages),
          anchor_(anchor ? anchor : edit) {}

    State validate(QString& input, int&) const override {
        if (upperCase_) input = input.toUpper();
        if (maxLength_ <= 0 || input.size() <= maxLength_) return Acceptable;
        if (messages_) messages_->ShowProblemHint(TooLongTextHint(int(input.size()), maxLength_), anchor_.data());
        return Invalid;
    }

private:
    bool upperCase_;
    int maxLength_;           // 0: no limit of its own (QLineEdit's maxLength cuts)
    Messages* messages_;      // the balloon
    QPointer<QWidget> anchor_; // where the balloon points
};

// A number field: what NumberFieldHint allows passes, anything else is undone whole.
class TypedNumberValidator final : public QValidator {
public:
    TypedNumberValidator(QLineEdit* edit, int wholeDigits, int decimals, Messages* messages, QWidget* anchor)
        : QValidator(edit), wholeDigits_(wholeDigits), decimals_(decimals), messages_(messages),
          anchor_(anchor ? anchor : edit) {}

    State validate(QString& input, int&) const override {
        const QString hint = NumberFieldHint(input, wholeDigits_, decimals_);
        if (hint.isEmpty()) return Acceptable;
        if (messages_) messages_->ShowProblemHint(hint, anchor_.data());
        return Invalid;
    }

private:
    int wholeDigits_;
    int decimals_;
    Messages* messages_;
    QPointer<QWidget> anchor_;
};

} // namespace

void acceptTypedNumber(QLineEdit* edit, int wholeDigits, int decimals, Messages* messages, QWidget* anchor) {
    edit->setValidator(new TypedNumberValidator(edit, wholeDigits, decimals, messages, anchor));
}

QString TooLongTextHint(int length, int maxLength) {
    return QStringLiteral("Textul are %1 caractere, aici incap cel mult %2!").arg(length).arg(maxLength);
}

void makeUpperCase(QLineEdit* edit, int maxLength, Messages* messages, QWidget* anchor) {
    if (!messages) {
        edit->setMaxLength(maxLength);
        edit->setValidator(new FieldTextValidator(edit, true, 0, nullptr, nullptr));
        return;
    }
    edit->setValidator(new FieldTextValidator(edit, true, maxLength, messages, anchor));
}

void refuseTooLongText(QLineEdit* edit, int maxLength, Messages& messages, QWidget* anchor) {
    edit->setValidator(new FieldTextValidator(edit, false, maxLength, &messages, anchor));
}

} // namespace vartesa
