#pragma once
// Fields whose text the system keeps in capitals (user names, passwords, card numbers):
// every letter typed or pasted turns into its capital at once. And fields that refuse a
// text longer than their column, whole, with a balloon, instead of cutting it.

#include <QString>

class QLineEdit;
class QWidget;

namespace vartesa {

class Messages;

/// Makes `edit` turn letters to capitals as they are typed; caps it at `maxLength`. With
/// `messages` a typed or pasted text that would pass `maxLength` is refused whole and a
/// balloon says so next to `anchor` (the edit itself when null) instead.
void makeUpperCase(QLineEdit* edit, int maxLength, Messages* messages = nullptr, QWidget* anchor = nullptr);

/// An edit that would make the text of `edit` longer than `maxLength` (a key, a paste, a
/// drop) is refused whole, and a balloon next to `anchor` (the edit when null) says so:
/// a name pasted into a narrower column is never stored cut.
void refuseTooLongText(QLineEdit* edit, int maxLength, Messages& messages, QWidget* anchor = nullptr);

/// `edit` takes a number of at most `wholeDigits` digits before the separator and
/// `decimals` after it (0: a whole number), the comma or the point as separator. A key, a
/// paste or a drop that would make anything else (a letter, a second separator, one decimal
/// too many) is refused whole and a balloon next to `anchor` (the edit when null) says why;
/// without `messages` it is refused silently.
void acceptTypedNumber(QLineEdit* edit, int wholeDigits, int decimals, Messages* messages,
                       QWidget* anchor = nullptr);

/// The balloon's text for a text of `length` characters where `maxLength` fit.
QString TooLongTextHint(int length, int maxLength);

} // namespace vartesa
