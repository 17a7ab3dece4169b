#include "print/print_setup_dialog.h"

#include "print/print_sample_painter.h"
#include "print/printout_painter.h"
#include "print/printout_texts.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

// The preview box (Sample): every paint first brings the printer state up to
// date, then draws the page.
class TPrintSampleBox : public QWidget {
public:
    TPrintSampleBox(TPrintSetupForm& form, QWidget* parent) : QWidget(parent), Form(form) {}

protected:
    void paintEvent(QPaintEvent*) override { Form.PaintSample(*this); }

private:
    TPrintSetupForm& Form;
};

namespace {

constexpr int SampleSide = 210;

TSpinField* MarginEdit(const char* name, QWidget* parent) {
    auto* edit = new TSpinField(1, TPrintSetupForm::MarginMax, parent);
    edit->setObjectName(QLatin1StringView(name));
    edit->setAlignment(Qt::AlignRight);
    return edit;
}

} // namespace

TPrintSetupForm::TPrintSetupForm(TKavCfg& cfg, QPrinter& printer, TPrinterSetup printerSetup,
                                 TWarning warning, QWidget* parent)
    : QDialog(parent), Cfg(cfg), Printer(printer), PrinterSetup(std::move(printerSetup)),
      Warning(std::move(warning)) {
    setObjectName(QStringLiteral("TPrintSetupForm"));
    setWindowTitle(tr("Печать спектра"));

    auto* left = new QVBoxLayout;
    left->addWidget(BuildPrinterGroup());
    left->addWidget(BuildMarginGroup());
    left->addWidget(BuildOrientGroup());
    left->addStretch(1);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addWidget(BuildSampleGroup(), 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    OkBtn = buttons->button(QDialogButtonBox::Ok);
    CancelBtn = buttons->button(QDialogButtonBox::Cancel);
    OkBtn->setObjectName(QStringLiteral("OkBtn"));
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TPrintSetupForm::OkBtnClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    FormShow();
    for (TSpinField* edit : {LeftEdit, RightEdit, TopEdit, BotEdit})
        connect(edit, &QSpinBox::valueChanged, this, &TPrintSetupForm::UpdateSample);
    connect(OrientItems, &QButtonGroup::idClicked, this, &TPrintSetupForm::OrientGroupClick);
    connect(PrnSetupPrn, &QPushButton::clicked, this, &TPrintSetupForm::PrnSetupPrnClick);
}

QGroupBox* TPrintSetupForm::BuildPrinterGroup() {
    auto* group = new QGroupBox(tr("Активный принтер "), this);
    PrnName = new QLineEdit(group);
    PrnName->setObjectName(QStringLiteral("PrnName"));
    PrnName->setReadOnly(true);
    PrnName->setMinimumWidth(150);
    PrnSetupPrn = new QPushButton(tr("Настроить..."), group);
    PrnSetupPrn->setObjectName(QStringLiteral("PrnSetupPrn"));
    auto* row = new QHBoxLayout(group);
    row->addWidget(PrnName, 1);
    row->addWidget(PrnSetupPrn);
    return group;
}

QGroupBox* TPrintSetupForm::BuildMarginGroup() {
    auto* group = new QGroupBox(tr("Поля"), this);
    LeftEdit = MarginEdit("LeftEdit", group);
    RightEdit = MarginEdit("RightEdit", group);
    TopEdit = MarginEdit("TopEdit", group);
    BotEdit = MarginEdit("BotEdit", group);
    auto* grid = new QGridLayout(group);
    const std::pair<const char*, TSpinField*> rows[] = {
        {QT_TRANSLATE_NOOP("TPrintSetupForm", "Слева"), LeftEdit},
        {QT_TRANSLATE_NOOP("TPrintSetupForm", "Справа"), RightEdit},
        {QT_TRANSLATE_NOOP("TPrintSetupForm", "Сверху"), TopEdit},
        {QT_TRANSLATE_NOOP("TPrintSetupForm", "Снизу"), BotEdit}};
    int r = 0;
    for (const auto& [caption, edit] : rows) {
        grid->addWidget(new QLabel(tr(caption), group), r, 0);
        grid->addWidget(edit, r, 1);
        grid->addWidget(new QLabel(tr("мм"), group), r, 2);
        ++r;
    }
    grid->setColumnStretch(3, 1);
    return group;
}

QGroupBox* TPrintSetupForm::BuildOrientGroup() {
    OrientGroup = new QGroupBox(tr("Ориентация бумаги"), this);
    OrientGroup->setObjectName(QStringLiteral("OrientGroup"));
    PortraitItem = new QRadioButton(tr("Книжная"), OrientGroup);
    LandscapeItem = new QRadioButton(tr("Альбомная"), OrientGroup);
    OrientItems = new QButtonGroup(this);
    OrientItems->addButton(PortraitItem, 0);
    OrientItems->addButton(LandscapeItem, 1);
    auto* column = new QVBoxLayout(OrientGroup);
    column->addWidget(PortraitItem);
    column->addWidget(LandscapeItem);
    return OrientGroup;
}

QGroupBox* TPrintSetupForm::BuildSampleGroup() {
    SampleGroup = new QGroupBox(tr("Пример"), this);
    Sample = new TPrintSampleBox(*this, SampleGroup);
    Sample->setObjectName(QStringLiteral("Sample"));
    // The preview fills the group, at least a square of SampleSide.
    Sample->setMinimumSize(SampleSide, SampleSide);
    Sample->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    auto* layout = new QVBoxLayout(SampleGroup);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(Sample);
    return SampleGroup;
}

QString TPrintSetupForm::PrinterName(const QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return QStringLiteral("PDF");
    return printer.printerName();
}

// The settings into the controls: the printer takes the stored orientation,
// the stored margins are raised to the printer's offsets, then shown.
void TPrintSetupForm::FormShow() {
    PrnName->setText(PrinterName(Printer));
    Printer.setPageOrientation(Cfg.Orientation != 0 ? QPageLayout::Landscape
                                                    : QPageLayout::Portrait);
    UpdateSample();
    LeftEdit->setValue(Cfg.PrnL);
    RightEdit->setValue(Cfg.PrnR);
    TopEdit->setValue(Cfg.PrnT);
    BotEdit->setValue(Cfg.PrnB);
    ShowPrinterOrientation();
}

void TPrintSetupForm::ShowPrinterOrientation() {
    const bool landscape = Printer.pageLayout().orientation() == QPageLayout::Landscape;
    (landscape ? LandscapeItem : PortraitItem)->setChecked(true);
}

void TPrintSetupForm::ReadPrinterState() {
    PrinterArea = PrintableAreaOf(Printer);
    // A printer that reports no page has no known strip: nothing is raised.
    PaperOffsets = PrinterArea.IsValid()
                       ? UnprintableOffsets(PrinterArea.HorzSize, PrinterArea.VertSize)
                       : TPaperOffsets{};
    LeftEdit->setMinimum(PaperOffsets.Dx);
    RightEdit->setMinimum(PaperOffsets.Dx);
    TopEdit->setMinimum(PaperOffsets.Dy);
    BotEdit->setMinimum(PaperOffsets.Dy);
    Cfg.PrnL = std::max(Cfg.PrnL, PaperOffsets.Dx);
    Cfg.PrnR = std::max(Cfg.PrnR, PaperOffsets.Dx);
    Cfg.PrnT = std::max(Cfg.PrnT, PaperOffsets.Dy);
    Cfg.PrnB = std::max(Cfg.PrnB, PaperOffsets.Dy);
}

void TPrintSetupForm::UpdateSample() {
    ReadPrinterState();
    Sample->update();
}

TSampleGeometry TPrintSetupForm::SampleGeometry() const {
    const TPageMargins margins{LeftEdit->value(), TopEdit->value(), RightEdit->value(),
                               BotEdit->value()};
    return ComputeSample(Sample->width(), Sample->height(), PrinterArea.HorzSize,
                         PrinterArea.VertSize, margins);
}

void TPrintSetupForm::PaintSample(QWidget& box) {
    ReadPrinterState();
    QPainter p(&box);
    PaintPrintSample(p, box.size(), SampleGeometry(), Cfg.PrinterColors,
                     SampleGroup->palette().color(QPalette::Window));
}

void TPrintSetupForm::PrnSetupPrnClick() {
    if (!PrinterSetup || !PrinterSetup(Printer))
        return;
    PrnName->setText(PrinterName(Printer));
    ShowPrinterOrientation();
    UpdateSample();
}

void TPrintSetupForm::OrientGroupClick(int item) {
    Printer.setPageOrientation(item == 1 ? QPageLayout::Landscape : QPageLayout::Portrait);
    UpdateSample();
}

void TPrintSetupForm::OkBtnClick() {
    ReadPrinterState();
    const TPageMargins margins{LeftEdit->Value(), TopEdit->Value(), RightEdit->Value(),
                               BotEdit->Value()};
    // Margins that leave no room for the plot are refused here, naming
    // them, before anything is stored or a file name asked for.
    if (PrinterArea.IsValid()) {
        const TPageGeometry page = TPageGeometry::Compute(PrinterArea, margins, 0, 1, 0);
        if (!page.HasPlot()) {
            QSpinBox* first = page.Right <= page.Left ? LeftEdit : TopEdit;
            first->setFocus();
            first->selectAll();
            if (Warning)
                Warning(NoRoomForPlotText(margins, PrinterArea));
            return;
        }
    }
    Cfg.Orientation = Printer.pageLayout().orientation() == QPageLayout::Landscape ? 1 : 0;
    Cfg.PrnL = margins.Left;
    Cfg.PrnR = margins.Right;
    Cfg.PrnT = margins.Top;
    Cfg.PrnB = margins.Bottom;
    accept();
}
