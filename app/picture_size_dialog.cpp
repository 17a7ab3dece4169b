#include "app/picture_size_dialog.h"

#include "view/plot_picture_painter.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>

namespace {

QSpinBox* SideBox(int value, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setRange(MinPictureSide, MaxPictureSide);
    box->setSingleStep(100);
    box->setValue(value);
    return box;
}

} // namespace

TPictureSizeDialog::TPictureSizeDialog(QSize size, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TPictureSizeDialog"));
    setWindowTitle(tr("Размер рисунка"));
    auto* form = new QFormLayout(this);
    WidthBox = SideBox(size.width(), this);
    HeightBox = SideBox(size.height(), this);
    form->addRow(tr("Ширина, точек:"), WidthBox);
    form->addRow(tr("Высота, точек:"), HeightBox);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

QSize TPictureSizeDialog::ChosenSize() const {
    return QSize(WidthBox->value(), HeightBox->value());
}

void TPictureSizeDialog::SetChosenSize(QSize size) {
    WidthBox->setValue(size.width());
    HeightBox->setValue(size.height());
}
