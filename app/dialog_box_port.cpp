#include "app/dialog_box_port.h"

#include "view/display_color_painter.h"

#include <QApplication>
#include <QColorDialog>
#include <QMessageBox>

namespace {

QWidget* Owner() {
    return QApplication::activeModalWidget();
}

QString BoxTitle() {
    return QApplication::applicationDisplayName();
}

} // namespace

TDialogPort::TAnswer TDialogBoxPort::Confirm(const QString& text) {
    const auto answer = QMessageBox::question(
        Owner(), BoxTitle(), text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Yes)
        return TAnswer::Yes;
    return answer == QMessageBox::No ? TAnswer::No : TAnswer::Cancel;
}

void TDialogBoxPort::Warning(const QString& text) {
    QMessageBox::warning(Owner(), BoxTitle(), text);
}

void TDialogBoxPort::Error(const QString& text) {
    QMessageBox::critical(Owner(), BoxTitle(), text);
}

std::optional<TColorValue> TDialogBoxPort::ChooseColor(TColorValue initial) {
    const QColor chosen = QColorDialog::getColor(ToQColor(initial), Owner());
    if (!chosen.isValid())
        return std::nullopt;
    return FromQColor(chosen);
}
