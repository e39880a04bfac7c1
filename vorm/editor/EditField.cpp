#include "EditField.h"

#include <QKeyEvent>

EditField::EditField(QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName(QStringLiteral("EditField"));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setWordWrapMode(QTextOption::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(false);
}

void EditField::keyPressEvent(QKeyEvent* event) {
    // Shift+Enter would put a line separator inside the line, which a data file cannot hold:
    // every Enter starts a new line.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & Qt::ShiftModifier)) {
        QKeyEvent plain(event->type(), event->key(), event->modifiers() & ~Qt::ShiftModifier,
                        event->text(), event->isAutoRepeat(), ushort(event->count()));
        QPlainTextEdit::keyPressEvent(&plain);
        event->setAccepted(plain.isAccepted());
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void EditField::keyReleaseEvent(QKeyEvent* event) {
    QPlainTextEdit::keyReleaseEvent(event);
    emit KeyReleased(event->key());
}
