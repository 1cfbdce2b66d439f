#pragma once
// Text fields whose contents are stored as GBK keep only characters with a GBK form: one
// without would be saved as '?' while the field still showed it, and what the inspector
// sees must be what is saved.
#include <QString>
#include <QValidator>

class QKeyEvent;

namespace morvik {

// Whether every character of `text` has a GBK form (a NUL has none that can be stored).
bool hasGbkForm(const QString& text);

// A line or paragraph separator other than CR.
bool isLineSeparator(QChar c);

// Whether a text edit would insert the key's text, by the same rule as Qt's own text
// controls: printable, format and private-use characters, a surrogate pair, a separator,
// but nothing typed with Ctrl (except a format character) and no other control character.
bool keyInsertsText(const QKeyEvent& key);

// `text` without the characters that have no GBK form.
QString withoutNonGbkCharacters(const QString& text);

// For line edits: typed or pasted characters without a GBK form are dropped, the rest is
// taken, and the caret stays after what was inserted.
class GbkTextValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override;
};

} // namespace morvik
