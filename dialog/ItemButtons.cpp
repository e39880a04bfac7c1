#include "ItemButtons.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

ItemButtons ItemButtons::Make(QDialog* dialog) {
    ItemButtons made;
    made.Insert = new QPushButton(QStringLiteral("&Insert"), dialog);
    made.Delete = new QPushButton(QStringLiteral("&Delete"), dialog);
    auto* ok = new QPushButton(QStringLiteral("OK"), dialog);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), dialog);
    for (QPushButton* button : {made.Insert, made.Delete, cancel})
        button->setAutoDefault(false);
    ok->setDefault(true);
    made.Row = new QHBoxLayout;
    made.Row->addWidget(made.Insert);
    made.Row->addWidget(made.Delete);
    made.Row->addStretch(1);
    made.Row->addWidget(ok);
    made.Row->addWidget(cancel);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return made;
}
