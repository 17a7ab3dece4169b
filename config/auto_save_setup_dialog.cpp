#include "config/auto_save_setup_dialog.h"

#include "config/auto_save_texts.h"
#include "config/spin_field_widget.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr QSize DesignSize(786, 346);

void SetBold(QWidget* w) {
    QFont f = w->font();
    f.setBold(true);
    w->setFont(f);
}

} // namespace

TAutoSaveSetupFrm::TAutoSaveSetupFrm(TKavCfg& cfg, QWidget* parent) : QDialog(parent), Cfg(cfg) {
    setObjectName(QStringLiteral("TAutoSaveSetupFrm"));
    setWindowTitle(tr("Настройка автоматическго сохранения спектров"));

    // The panels first: the focus goes along the controls in the order they
    // are made, and the dialog opens on its first control, not on OK.
    auto* panels = new QHBoxLayout;
    panels->addWidget(BuildLeftPanel());
    panels->addWidget(BuildRightPanel(), 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    Ok = buttons->button(QDialogButtonBox::Ok);
    Cancel = buttons->button(QDialogButtonBox::Cancel);
    Ok->setObjectName(QStringLiteral("OKBtn"));
    Cancel->setObjectName(QStringLiteral("CancelBtn"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TAutoSaveSetupFrm::OKBtnClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(panels, 1);
    layout->addWidget(buttons);

    FormShow();
    // A fixed dialog of its design size, larger only when the font needs it,
    // centred on the screen.
    setFixedSize(sizeHint().expandedTo(DesignSize));
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
}

QWidget* TAutoSaveSetupFrm::BuildLeftPanel() {
    auto* panel = new QGroupBox(this);
    panel->setObjectName(QStringLiteral("LeftPanel"));
    auto* column = new QVBoxLayout(panel);

    On = new QCheckBox(tr("Включить автоматическое сохранение принимаемых спектров"), panel);
    On->setObjectName(QStringLiteral("OnBox"));
    SetBold(On);
    column->addWidget(On);
    column->addSpacing(8);

    auto* stepRow = new QHBoxLayout;
    Step = new TSpinField(1, 256, panel);
    Step->setObjectName(QStringLiteral("SaveStep"));
    stepRow->addWidget(new QLabel(tr("Сохранять каждый"), panel));
    stepRow->addWidget(Step);
    stepRow->addWidget(new QLabel(tr("спектр"), panel));
    stepRow->addStretch(1);
    column->addLayout(stepRow);
    column->addSpacing(8);

    // The mask, a "+" and the number: the two parts of the name.
    auto* nameGrid = new QGridLayout;
    Mask = new QLineEdit(panel);
    Mask->setObjectName(QStringLiteral("NameMask"));
    auto* plus = new QLabel(QStringLiteral("+"), panel);
    QFont big = plus->font();
    big.setPointSizeF(big.pointSizeF() * 2);
    big.setBold(true);
    plus->setFont(big);
    plus->setAlignment(Qt::AlignCenter);
    Numb = new TSpinField(1, 99999999, panel);
    Numb->setObjectName(QStringLiteral("NumbMask"));
    nameGrid->addWidget(new QLabel(tr("Шаблон для имени файла сохраняемых спектров"), panel), 0, 0,
                        1, 2);
    nameGrid->addWidget(Mask, 1, 0);
    nameGrid->addWidget(plus, 1, 1);
    nameGrid->addWidget(new QLabel(tr("Стартовый номер"), panel), 2, 0, 1, 2);
    nameGrid->addWidget(Numb, 3, 0, Qt::AlignLeft);
    nameGrid->setColumnStretch(0, 1);
    column->addLayout(nameGrid);
    column->addSpacing(8);

    auto* exampleGroup = new QGroupBox(tr("Пример имени спектра"), panel);
    auto* exampleLayout = new QVBoxLayout(exampleGroup);
    Example = new QLabel(exampleGroup);
    Example->setObjectName(QStringLiteral("Exam"));
    Example->setTextInteractionFlags(Qt::TextSelectableByMouse);
    SetBold(Example);
    exampleLayout->addWidget(Example);
    column->addWidget(exampleGroup);
    column->addStretch(1);

    connect(Mask, &QLineEdit::textChanged, this, &TAutoSaveSetupFrm::ShowExample);
    connect(Numb, &QSpinBox::valueChanged, this, &TAutoSaveSetupFrm::ShowExample);
    return panel;
}

QWidget* TAutoSaveSetupFrm::BuildRightPanel() {
    auto* panel = new QGroupBox(this);
    panel->setObjectName(QStringLiteral("RightPanel"));
    auto* column = new QVBoxLayout(panel);
    auto* title = new QLabel(tr("Рабочий каталог для сохрания файлов"), panel);
    SetBold(title);
    Dir = new QLineEdit(panel);
    Dir->setObjectName(QStringLiteral("Directory"));
    Dir->setReadOnly(true);
    SetBold(Dir);

    // Folders only, from the root of the file system, with the desktop's
    // icons; the tree does not follow later changes on the disk.
    Model = new QFileSystemModel(this);
    Model->setOption(QFileSystemModel::DontWatchForChanges);
    Model->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    Model->setRootPath(QString());
    Tree = new QTreeView(panel);
    Tree->setObjectName(QStringLiteral("DirView"));
    Tree->setModel(Model);
    Tree->setHeaderHidden(true);
    for (int c = 1; c < Model->columnCount(); ++c)
        Tree->hideColumn(c);
    Tree->setRootIsDecorated(false);
    Tree->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(Tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TAutoSaveSetupFrm::DirViewChange);

    FreeSpace = new QLabel(panel);
    FreeSpace->setObjectName(QStringLiteral("Info"));
    column->addWidget(title);
    column->addWidget(Dir);
    column->addWidget(Tree, 1);
    column->addWidget(FreeSpace);
    return panel;
}

void TAutoSaveSetupFrm::FormShow() {
    // The tree opens down to the working directory without selecting it.
    Tree->expand(Model->index(QDir::rootPath()));
    const QModelIndex work = Model->index(Cfg.WorkDir);
    for (QModelIndex up = work.parent(); up.isValid(); up = up.parent())
        Tree->expand(up);
    if (work.isValid())
        Tree->scrollTo(work);
    Dir->setText(Cfg.WorkDir);
    // The folder's whole path shows when the dialog opens, whatever the
    // width of the panel's title in the language chosen; a very long path
    // stops at 60 average characters and scrolls in its field.
    const QFontMetrics metrics(Dir->font());
    const int margins = 8 + Dir->textMargins().left() + Dir->textMargins().right();
    Dir->setMinimumWidth(std::min(metrics.horizontalAdvance(Cfg.WorkDir) + margins,
                                  metrics.averageCharWidth() * 60));
    FreeSpace->setText(FreeSpaceText(Cfg.WorkDir));
    On->setChecked(Cfg.AutoSave);
    Mask->setText(Cfg.NameMask);
    // Values outside a field's range show at the nearer bound.
    Numb->setValue(Cfg.NumbMask);
    Step->setValue(Cfg.SaveStep);
    ShowExample();
}

void TAutoSaveSetupFrm::ShowExample() {
    Example->setText(AutoSaveExampleName(Mask->text(), Numb->value()));
}

// Only a directory of the file system is taken; anything else in the tree
// changes nothing.
void TAutoSaveSetupFrm::DirViewChange(const QModelIndex& index) {
    const QString path = Model->filePath(index);
    if (path.isEmpty() || !QFileInfo(path).isDir())
        return;
    Dir->setText(path);
    FreeSpace->setText(FreeSpaceText(path));
}

void TAutoSaveSetupFrm::OKBtnClick() {
    if (On->isChecked())
        Cfg.WorkDir = Dir->text();
    Cfg.AutoSave = On->isChecked();
    Cfg.NameMask = Mask->text();
    Cfg.NumbMask = Numb->Value();
    Cfg.SaveStep = Step->Value();
    accept();
}
