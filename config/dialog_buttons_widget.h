#pragma once

#include <QBoxLayout>
#include <QDialog>
#include <QPushButton>

// The buttons of an option dialog at the bottom right, Cancel at the left
// of OK; OK is the default button, Cancel rejects. The caller connects OK.
struct TDialogButtons {
    QPushButton* Ok = nullptr;
    QPushButton* Cancel = nullptr;
};

inline TDialogButtons AddCancelOkRow(QDialog* dialog, QBoxLayout* layout) {
    TDialogButtons b;
    b.Cancel = new QPushButton(QStringLiteral("Cancel"), dialog);
    b.Cancel->setObjectName(QStringLiteral("CancelBtn"));
    b.Ok = new QPushButton(QStringLiteral("OK"), dialog);
    b.Ok->setObjectName(QStringLiteral("OKBtn"));
    b.Ok->setDefault(true);
    QObject::connect(b.Cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(b.Cancel);
    row->addWidget(b.Ok);
    layout->addLayout(row);
    return b;
}
