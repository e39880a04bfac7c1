#include "MenuTexts.h"

QString MenuTexts::Text(int number) const {
    if (number < 0 || number >= Count)
        return {};
    return texts[size_t(number)];
}

void MenuTexts::Set(int number, const QString& text) {
    if (number < 0 || number >= Count)
        return;
    texts[size_t(number)] = text.left(MaxLength);
}
