#pragma once
// The text fields of the main dialog keep only characters the data file can store. The
// file holds GBK text, and a character without a GBK form would be saved as '?' while the
// field still showed it: what the inspector sees must be what is saved.
#include <QString>
#include <QValidator>

namespace morvik {

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
