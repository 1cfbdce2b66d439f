#include "controls/GbkInput.h"

#include "core/GbkText.h"
#include <QKeyEvent>

namespace morvik {

bool hasGbkForm(const QString& text) {
    return utf8ToGbkExactly(text.toStdString()).has_value();
}

bool isLineSeparator(QChar c) {
    return c == u'\n' || c == u'\v' || c == u'\f' || c == QChar(0x0085) ||
           c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

bool keyInsertsText(const QKeyEvent& key) {
    const QString text = key.text();
    if (text.isEmpty())
        return false;
    const QChar c = text.at(0);
    if (c.category() == QChar::Other_Format)
        return true;
    const Qt::KeyboardModifiers mods = key.modifiers();
    if (mods == Qt::ControlModifier || mods == (Qt::ShiftModifier | Qt::ControlModifier))
        return false;
    return c.isPrint() || c.category() == QChar::Other_PrivateUse || c.isHighSurrogate() ||
           isLineSeparator(c);
}

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
