#include "config/real_time_setup_dialog.h"

#include "config/dialog_buttons_widget.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

constexpr QSize DesignSize(423, 490);

QCheckBox* BoldBox(const QString& text, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    QFont f = box->font();
    f.setBold(true);
    box->setFont(f);
    return box;
}

// A group with its switch on top and a spin edit beside its label.
QGroupBox* SwitchGroup(const QString& title, QCheckBox* box, const QString& label, QSpinBox* spin,
                       QWidget* parent) {
    auto* group = new QGroupBox(title, parent);
    auto* column = new QVBoxLayout(group);
    box->setParent(group);
    spin->setParent(group);
    column->addWidget(box);
    auto* row = new QHBoxLayout;
    auto* text = new QLabel(label, group);
    text->setWordWrap(true);
    row->addWidget(text, 1);
    row->addWidget(spin, 0, Qt::AlignVCenter);
    column->addLayout(row);
    return group;
}

} // namespace

const std::array<TTrText, 3> TRealTimeSetupForm::HelpTexts = {{
    {"TRealTimeSetupForm",
     QT_TRANSLATE_NOOP("TRealTimeSetupForm",
                       "Фильтрация низких частот будет производиться сразу при приеме спектров.")},
    {"TRealTimeSetupForm",
     QT_TRANSLATE_NOOP(
         "TRealTimeSetupForm",
         "При включенном накоплении спектров, текущий (отображаемый) спектр будет "
         "представлять собой не реальный принятый сигнал, а среднее от суммы принятых "
         "спектров. Количество спектров, по которым производится усреднение, задается "
         "параметром \"Количество спектров для усреднения\".")},
    {"TRealTimeSetupForm",
     QT_TRANSLATE_NOOP(
         "TRealTimeSetupForm",
         "При установленном флажке вместе с отфильтрованным и/или накопленным спектром "
         "будет отображаться исходный спектр.")},
}};

TRealTimeSetupForm::TRealTimeSetupForm(TKavCfg& cfg, QWidget* parent) : QDialog(parent), Cfg(cfg) {
    setObjectName(QStringLiteral("TRealTimeSetupForm"));
    setWindowTitle(tr("Обработка  при приеме спектров"));

    Lpf = BoldBox(tr("Выполнять фильтрацию низких частот при приеме"), this);
    Lpf->setObjectName(QStringLiteral("EnLPF"));
    LpfConst = new TSpinField(2, 2000, this);
    LpfConst->setObjectName(QStringLiteral("LPFConst"));
    FilterBox = SwitchGroup(tr("Фильтр низких частот"), Lpf,
                            tr("Постоянная времни фильтра в отсчетах развертки"), LpfConst, this);
    FilterBox->setObjectName(QStringLiteral("FilterGroup"));

    Sum = BoldBox(tr("Производить накопление спектров"), this);
    Sum->setObjectName(QStringLiteral("EnSum"));
    SumCount = new TSpinField(2, 2000, this);
    SumCount->setObjectName(QStringLiteral("SumConst"));
    SumBox = SwitchGroup(tr("Накопление спектров (усреднение по нескольким спектрам)"), Sum,
                         tr("Количество спектров для  усреднения"), SumCount, this);
    SumBox->setObjectName(QStringLiteral("SumGroup"));

    ShowFirstFrame = new QFrame(this);
    ShowFirstFrame->setObjectName(QStringLiteral("ShowFirstPanel"));
    ShowFirstFrame->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    ShowFirst = new QCheckBox(tr("Показывать исходный спектра"), ShowFirstFrame);
    ShowFirst->setObjectName(QStringLiteral("ShowFirstBox"));
    auto* frameLayout = new QVBoxLayout(ShowFirstFrame);
    frameLayout->addWidget(ShowFirst);

    // The help texts share one place; before the mouse comes over a part
    // the place is empty.
    auto* helpGroup = new QGroupBox(tr("Справка"), this);
    helpGroup->setObjectName(QStringLiteral("HelpGroup"));
    HelpStack = new QStackedWidget(helpGroup);
    HelpStack->addWidget(new QWidget(HelpStack));
    for (std::size_t k = 0; k < HelpTexts.size(); ++k) {
        auto* help = new QLabel(HelpTexts[k], HelpStack);
        help->setObjectName(QStringLiteral("Help%1").arg(k + 1));
        help->setWordWrap(true);
        help->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        help->setTextInteractionFlags(Qt::TextSelectableByMouse);
        HelpLabels[k] = help;
        HelpStack->addWidget(help);
    }
    auto* helpLayout = new QVBoxLayout(helpGroup);
    helpLayout->addWidget(HelpStack);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(FilterBox);
    layout->addWidget(SumBox);
    layout->addWidget(ShowFirstFrame);
    layout->addWidget(helpGroup, 1);
    const TDialogButtons buttons = AddCancelOkRow(this, layout);
    Ok = buttons.Ok;
    Cancel = buttons.Cancel;

    for (QWidget* part : {static_cast<QWidget*>(FilterBox), static_cast<QWidget*>(SumBox),
                          static_cast<QWidget*>(ShowFirstFrame)})
        part->installEventFilter(this);
    connect(Lpf, &QCheckBox::clicked, this, &TRealTimeSetupForm::SwitchClick);
    connect(Sum, &QCheckBox::clicked, this, &TRealTimeSetupForm::SwitchClick);
    connect(Ok, &QPushButton::clicked, this, &TRealTimeSetupForm::OKBtnClick);

    FormShow();
    // A fixed dialog of its design size, larger only when the font needs it;
    // centred on the main window by its parent.
    setFixedSize(sizeHint().expandedTo(DesignSize));
}

void TRealTimeSetupForm::FormShow() {
    Lpf->setChecked(Cfg.EnableRTLPF);
    // Values outside a field's range show at the nearer bound.
    LpfConst->setValue(Cfg.RTLPFConst);
    Sum->setChecked(Cfg.EnableRTSum);
    SumCount->setValue(Cfg.RTNumb);
    ShowFirst->setChecked(Cfg.ShowFirst);
    ShowFirst->setEnabled(Cfg.EnableRTSum || Cfg.EnableRTLPF);
    HelpStack->setCurrentIndex(0);
}

void TRealTimeSetupForm::ShowHelp(int index) {
    if (index >= 0 && index < static_cast<int>(HelpLabels.size()))
        HelpStack->setCurrentWidget(HelpLabels[index]);
}

// The raw trace is drawn only beside a filtered or accumulated one.
void TRealTimeSetupForm::SwitchClick() {
    const bool any = Lpf->isChecked() || Sum->isChecked();
    if (!any)
        ShowFirst->setChecked(false);
    ShowFirst->setEnabled(any);
}

bool TRealTimeSetupForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) {
        if (watched == FilterBox)
            ShowHelp(0);
        else if (watched == SumBox)
            ShowHelp(1);
        else if (watched == ShowFirstFrame)
            ShowHelp(2);
    }
    return QDialog::eventFilter(watched, event);
}

void TRealTimeSetupForm::OKBtnClick() {
    Cfg.EnableRTLPF = Lpf->isChecked();
    Cfg.RTLPFConst = LpfConst->Value();
    Cfg.EnableRTSum = Sum->isChecked();
    Cfg.RTNumb = SumCount->Value();
    Cfg.ShowFirst = ShowFirst->isChecked();
    accept();
}
