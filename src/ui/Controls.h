#pragma once

#include "Twips.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

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

// Width in twips that a closed list needs to show its longest entry whole.
inline int contentTwips(QComboBox *list)
{
    list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return list->sizeHint().width() * kTwipsPerPixel;
}

} // namespace tavrin::ui
