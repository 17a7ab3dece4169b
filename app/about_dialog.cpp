#include "app/about_dialog.h"

#include "app/kav_icon.h"
#include "kav_version.h"

#include <QDialogButtonBox>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

TKavAboutForm::TKavAboutForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TKavAboutForm"));
    setWindowTitle(tr("О программе"));
    auto* layout = new QVBoxLayout(this);
    auto* icon = new QLabel(this);
    icon->setPixmap(KavIcon().pixmap(64, 64));
    icon->setAlignment(Qt::AlignCenter);
    auto* title = new QLabel(TitleText(), this);
    QFont big = title->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);
    auto* version = new QLabel(VersionText(), this);
    version->setAlignment(Qt::AlignCenter);
    auto* purpose = new QLabel(PurposeText(), this);
    purpose->setWordWrap(true);
    purpose->setAlignment(Qt::AlignCenter);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(icon);
    layout->addWidget(title);
    layout->addWidget(version);
    layout->addWidget(purpose);
    layout->addWidget(buttons);
    setMinimumWidth(340);
}

QString TKavAboutForm::TitleText() {
    return tr("Kav7 — КАВ");
}

QString TKavAboutForm::VersionText() {
    return tr("Версия ") + QStringLiteral(KAV_VERSION_STRING);
}

QString TKavAboutForm::PurposeText() {
    return tr("Приём, отображение, обработка, хранение и печать спектров "
              "магнитного резонанса (ЭПР), управление спектрометром по "
              "последовательной линии.");
}
