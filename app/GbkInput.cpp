#include "app/GbkInput.h"

#include "core/GbkText.h"

namespace morvik {

namespace {

bool hasGbkForm(const QString& character) {
    return utf8ToGbkExactly(character.toStdString()).has_value();
}

} // namespace

QString withoutNonGbkCharacters(const QString& text) {
    if (hasGbkForm(text))
        return text; // nearly always: one conversion instead of one per character
    QString kept;
    for (int i = 0; i < text.size();) {
        const int length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, length);
        if (hasGbkForm(character))
            kept += character;
        i += length;
    }
    return kept;
}

QValidator::State GbkTextValidator::validate(QString& input, int& position) const {
    const QString kept = withoutNonGbkCharacters(input);
    if (kept.size() != input.size()) {
        position -= static_cast<int>(input.left(position).size() -
                                     withoutNonGbkCharacters(input.left(position)).size());
        input = kept;
    }
    return Acceptable;
}

} // namespace morvik
