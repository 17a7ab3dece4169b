#include "app/message_box_port.h"

#include "view/display_color_painter.h"

#include <QApplication>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>

namespace {

QString BoxTitle() {
    return QApplication::applicationDisplayName();
}

// A box over the dialog that is open, if one is, else over the window.
QWidget* Owner(QWidget* window) {
    QWidget* modal = QApplication::activeModalWidget();
    return modal ? modal : window;
}

QString RunFileDialog(QWidget* parent, const TFileDialogRequest& request, bool save) {
    QFileDialog dialog(parent, request.Title, request.Directory, request.Filter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // The open dialog takes a name that does not exist: opening it is defined.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.DefaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.ConfirmOverwrite);
    if (!request.FileName.isEmpty())
        dialog.selectFile(request.FileName);
    // With several formats, a bare name takes the extension of the one chosen.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& f) {
        static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
        const QRegularExpressionMatch m = pattern.match(f);
        if (m.hasMatch())
            dialog.setDefaultSuffix(m.captured(1));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

} // namespace

void TMessageBoxPort::Warning(const QString& text) {
    QMessageBox::warning(Owner(Parent), BoxTitle(), text);
}

void TMessageBoxPort::Information(const QString& text) {
    QMessageBox::information(Owner(Parent), BoxTitle(), text);
}

void TMessageBoxPort::Error(const QString& text) {
    QMessageBox::critical(Owner(Parent), BoxTitle(), text);
}

TMessagePort::TAnswer TMessageBoxPort::Confirm(const QString& text) {
    const auto answer = QMessageBox::question(
        Owner(Parent), BoxTitle(), text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Yes)
        return TAnswer::Yes;
    return answer == QMessageBox::No ? TAnswer::No : TAnswer::Cancel;
}

std::optional<TColorValue> TMessageBoxPort::ChooseColor(TColorValue initial) {
    const QColor chosen = QColorDialog::getColor(ToQColor(initial), Owner(Parent));
    if (!chosen.isValid())
        return std::nullopt;
    return FromQColor(chosen);
}

QString TMessageBoxPort::OpenFileName(const TFileDialogRequest& request) {
    return RunFileDialog(Parent, request, false);
}

QString TMessageBoxPort::SaveFileName(const TFileDialogRequest& request) {
    return RunFileDialog(Parent, request, true);
}

void TMessageBoxPort::RunDialog(QDialog& dialog) {
    dialog.exec();
}

bool TMessageBoxPort::PrinterSetup(QPrinter& printer) {
    QPrintDialog dialog(&printer, Parent);
    dialog.setWindowTitle(QCoreApplication::translate("MessageBoxPort", "Настройка принтера"));
    // Which printer and its page; no page range or copies, as the printout
    // is one page.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    // It sets the printer up; printing is the setup dialog's OK.
    for (QDialogButtonBox* buttons : dialog.findChildren<QDialogButtonBox*>()) {
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
    }
    return dialog.exec() == QDialog::Accepted;
}

TSettingsSaveAnswer TMessageBoxPort::SettingsNotSaved(const QString& text) {
    QMessageBox box(QMessageBox::Critical, BoxTitle(), SettingsNotSavedText + text,
                    QMessageBox::NoButton, Parent);
    box.setInformativeText(QCoreApplication::translate(
        "MessageBoxPort", "Повторить попытку или закрыть программу без сохранения настроек?"));
    QPushButton* retry = box.addButton(QCoreApplication::translate("MessageBoxPort", "Повторить"),
                                       QMessageBox::AcceptRole);
    QPushButton* discard =
        box.addButton(QCoreApplication::translate("MessageBoxPort", "Закрыть без сохранения"),
                      QMessageBox::DestructiveRole);
    QPushButton* stay = box.addButton(QCoreApplication::translate("MessageBoxPort", "Отмена"),
                                      QMessageBox::RejectRole);
    box.setDefaultButton(retry);
    box.setEscapeButton(stay);
    box.exec();
    if (box.clickedButton() == retry)
        return TSettingsSaveAnswer::Retry;
    if (box.clickedButton() == discard)
        return TSettingsSaveAnswer::CloseWithoutSaving;
    return TSettingsSaveAnswer::StayOpen;
}

void TMessageBoxPort::NonModalWarning(const QString& text) {
    if (!Notice) {
        Notice = new QMessageBox(QMessageBox::Warning, BoxTitle(), text, QMessageBox::Ok, Parent);
        Notice->setAttribute(Qt::WA_DeleteOnClose);
        Notice->setWindowModality(Qt::NonModal);
    }
    Notice->setText(text);
    Notice->show();
    Notice->raise();
}
