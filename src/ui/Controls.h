#pragma once

#include "Twips.h"

#include <QColor>
#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextEdit>

namespace tavrin::ui {

// Controls carry their design names as object names, so tests and tools find them by name.
inline QLabel *label(QWidget *parent, const QString &text, const char *objectName = nullptr)
{
    auto *l = new QLabel(text, parent);
    if (objectName)
        l->setObjectName(QLatin1String(objectName));
    return l;
}

inline QPushButton *button(QWidget *parent, const QString &text, const char *objectName)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(objectName));
    return b;
}

// Bold text, in colour when one is given. Set through the font and palette: a style sheet
// makes Qt build a style of its own for the widget, which costs milliseconds at start-up.
inline void emphasize(QWidget *widget, const QColor &color = QColor())
{
    QFont font = widget->font();
    font.setBold(true);
    widget->setFont(font);
    if (color.isValid()) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::WindowText, color);
        widget->setPalette(palette);
    }
}

inline const QColor kNoticeColor { 0x06, 0x45, 0xad };
inline const QColor kWarningColor { 0xbb, 0x00, 0x00 };

// The program's name as its logo: red spaced capitals on black.
inline void paintAsLogo(QWidget *logo)
{
    QFont font = logo->font();
    font.setBold(true);
    font.setPixelSize(20);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    logo->setFont(font);
    QPalette palette = logo->palette();
    for (const QPalette::ColorRole role : { QPalette::Window, QPalette::Button })
        palette.setColor(role, QColor(0x11, 0x11, 0x11));
    for (const QPalette::ColorRole role : { QPalette::WindowText, QPalette::ButtonText })
        palette.setColor(role, QColor(0xdd, 0x22, 0x22));
    logo->setPalette(palette);
    logo->setAutoFillBackground(true);
}

// A refresh shows what the state already holds. Only a change is written, so the caret and
// selection of a box being typed in stay put, and signals are blocked while it is, so that
// nothing takes the window's own write for the operator's. (The windows follow textEdited
// and activated, which a program's write never sends; the block keeps it so for any other
// signal connected later.)
inline void setTextIfChanged(QLineEdit *edit, const QString &text)
{
    if (edit->text() != text) {
        const QSignalBlocker block(edit);
        edit->setText(text);
    }
}

inline void selectIfChanged(QComboBox *box, int index)
{
    if (box->currentIndex() != index) {
        const QSignalBlocker block(box);
        box->setCurrentIndex(index);
    }
}

// Writes text into the box as one undoable edit of only what differs, where setPlainText()
// would clear the operator's undo history; the caret ends at the end of the text.
inline void replaceTextUndoably(QTextEdit *box, const QString &text)
{
    const QString old = box->toPlainText();
    qsizetype prefix = 0;
    while (prefix < old.size() && prefix < text.size() && old[prefix] == text[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < old.size() - prefix && suffix < text.size() - prefix
           && old[old.size() - 1 - suffix] == text[text.size() - 1 - suffix])
        ++suffix;
    QTextCursor cursor(box->document());
    cursor.setPosition(int(prefix));
    cursor.setPosition(int(old.size() - suffix), QTextCursor::KeepAnchor);
    // Its own block, so that it does not merge with the typing before it into one undo step.
    cursor.beginEditBlock();
    cursor.insertText(text.mid(prefix, text.size() - prefix - suffix));
    cursor.endEditBlock();
    const QSignalBlocker block(box);
    box->moveCursor(QTextCursor::End);
}

// Width in twips that a closed list needs to show its longest entry whole.
inline int contentTwips(QComboBox *list)
{
    list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return list->sizeHint().width() * kTwipsPerPixel;
}

} // namespace tavrin::ui
