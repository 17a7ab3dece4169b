#include "config/unit_setup_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const char* const GroupPrefixes[UnitGroupCount] = {"Razv", "Amp", "Corr", "ADC"};

// The explanatory text above each page's rows.
const char* const PageTexts[UnitGroupCount] = {
    QT_TRANSLATE_NOOP("TUnitSetupForm",
                      "Суммарное магнитное поле представляет собой сумму полей электроманита\n"
                      "и постоянного магнита"),
    QT_TRANSLATE_NOOP("TUnitSetupForm", "Амплитуда спектра на выходе усилителя"),
    QT_TRANSLATE_NOOP("TUnitSetupForm", "Коррекция нуля на входе усилителя"),
    QT_TRANSLATE_NOOP("TUnitSetupForm",
                      "Измеряемый сигнал должен быть подан на \"ВХОД  АЦП\" блока БР"),
};

const char* const MarkedProperty = "refused";

QString Prefix(TUnitGroup group) {
    return QString::fromLatin1(GroupPrefixes[static_cast<int>(group)]);
}

// Room for the longest text the show step writes ("-1,2346E-0005").
int EditWidth(const QWidget* w) {
    return QFontMetrics(w->font()).horizontalAdvance(QStringLiteral("-8,8888E-0008")) + 14;
}

} // namespace

const TTrText TUnitSetupForm::ConfirmText{
    "TUnitSetupForm",
    QT_TRANSLATE_NOOP("TUnitSetupForm",
                      "Вы уверены в том, что хотите изменить калибровочные параметры?")};
const QString TUnitSetupForm::BetweenText = QStringLiteral(",.........,");

TUnitSetupForm::TUnitSetupForm(TKavCfg& cfg, TMessagePort& port, QChar decimalSep,
                               TSettingsWriter writeSettings, QWidget* parent)
    : QDialog(parent), Cfg(cfg), Port(port), Sep(decimalSep),
      WriteSettings(std::move(writeSettings)) {
    setObjectName(QStringLiteral("TUnitSetupForm"));
    setWindowTitle(tr("Выбор измеряемых параметров"));

    Pages = new QTabWidget(this);
    Pages->setObjectName(QStringLiteral("PageControl"));
    for (TUnitGroup group : {TUnitGroup::Razv, TUnitGroup::Amp, TUnitGroup::Corr, TUnitGroup::ADC})
        Pages->addTab(BuildPage(group), UnitGroupTitle(group));

    Enable = new QCheckBox(tr("Разрешить изменения"), this);
    Enable->setObjectName(QStringLiteral("EnableBox"));
    connect(Enable, &QCheckBox::clicked, this, &TUnitSetupForm::EnableBoxClick);
    Ok = new QPushButton(QStringLiteral("OK"), this);
    Ok->setObjectName(QStringLiteral("OKBtn"));
    Ok->setDefault(true);
    connect(Ok, &QPushButton::clicked, this, &TUnitSetupForm::OKBtnClick);
    Cancel = new QPushButton(QStringLiteral("Cancel"), this);
    Cancel->setObjectName(QStringLiteral("CancelBtn"));
    connect(Cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Enable);
    bottom->addStretch(1);
    bottom->addWidget(Ok);
    bottom->addWidget(Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Pages);
    layout->addLayout(bottom);

    FormShow();
    // A fixed-size dialog, centred on the screen.
    setFixedSize(sizeHint());
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
}

QWidget* TUnitSetupForm::BuildPage(TUnitGroup group) {
    const int g = static_cast<int>(group);
    const QString prefix = Prefix(group);
    auto* page = new QWidget(this);
    page->setObjectName(prefix + QStringLiteral("Page"));
    auto* column = new QVBoxLayout(page);
    auto* text = new QLabel(tr(PageTexts[g]), page);
    column->addWidget(text);
    column->addSpacing(6);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    auto* heading = new QLabel(tr("Интервал изменения"), page);
    heading->setAlignment(Qt::AlignCenter);
    grid->addWidget(heading, 0, 1, 1, 3);
    auto* minTitle = new QLabel(QStringLiteral("Min"), page);
    auto* maxTitle = new QLabel(QStringLiteral("Max"), page);
    minTitle->setAlignment(Qt::AlignCenter);
    maxTitle->setAlignment(Qt::AlignCenter);
    grid->addWidget(minTitle, 1, 1);
    grid->addWidget(maxTitle, 1, 3);

    RadioGroups[g] = new QButtonGroup(page);
    RadioGroups[g]->setObjectName(prefix + QStringLiteral("Group"));
    for (int unit = 0; unit < UnitCount(group); ++unit) {
        const int row = CalibrationRowOf(group, unit);
        const QString n = QString::number(unit);
        auto* radio = new QRadioButton(UnitTitle(row), page);
        radio->setObjectName(prefix + QStringLiteral("Item") + n);
        RadioGroups[g]->addButton(radio, unit);
        auto* min = new QLineEdit(page);
        auto* max = new QLineEdit(page);
        min->setObjectName(prefix + QStringLiteral("Min") + n);
        max->setObjectName(prefix + QStringLiteral("Max") + n);
        for (QLineEdit* edit : {min, max}) {
            edit->setReadOnly(true);
            edit->setFixedWidth(EditWidth(edit));
            edit->installEventFilter(this);
            connect(edit, &QLineEdit::textEdited, this, [this, edit] { Mark(edit, false); });
        }
        MinEdits[row] = min;
        MaxEdits[row] = max;
        const int line = 2 + unit;
        grid->addWidget(radio, line, 0);
        grid->addWidget(min, line, 1);
        grid->addWidget(new QLabel(BetweenText, page), line, 2);
        grid->addWidget(max, line, 3);
        if (unit > 0) {
            NameLabels[row] = new QLabel(page);
            NameLabels[row]->setObjectName(prefix + QStringLiteral("Lbl") + n);
            // Room for a name of five characters.
            NameLabels[row]->setMinimumWidth(
                QFontMetrics(font()).horizontalAdvance(QStringLiteral("ММММ")));
            grid->addWidget(NameLabels[row], line, 4);
        }
    }
    grid->setColumnStretch(5, 1);
    column->addLayout(grid);
    column->addStretch(1);
    return page;
}

void TUnitSetupForm::FormShow() {
    Pages->setCurrentIndex(0);
    Shown = CalibrationInputFrom(Cfg, Sep);
    const TCalibrationInput& shown = Shown;
    for (int row = 0; row < CalibrationRowCount; ++row) {
        MinEdits[row]->setText(shown.MinTexts[row]);
        MaxEdits[row]->setText(shown.MaxTexts[row]);
        if (NameLabels[row])
            NameLabels[row]->setText(CalibrationUnit(Cfg, row).Name);
    }
    for (int g = 0; g < UnitGroupCount; ++g) {
        // A stored index outside the group checks no item.
        QButtonGroup* radios = RadioGroups[g];
        if (QAbstractButton* item = radios->button(shown.Selected[g])) {
            item->setChecked(true);
        } else if (QAbstractButton* checked = radios->checkedButton()) {
            radios->setExclusive(false);
            checked->setChecked(false);
            radios->setExclusive(true);
        }
    }
}

bool TUnitSetupForm::IsMarked(const QLineEdit* edit) {
    return edit->property(MarkedProperty).toBool();
}

void TUnitSetupForm::Mark(QLineEdit* edit, bool marked) {
    if (IsMarked(edit) == marked)
        return;
    edit->setProperty(MarkedProperty, marked);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base,
                     marked ? QColor(255, 205, 205) : QWidget::palette().color(QPalette::Base));
    edit->setPalette(palette);
}

void TUnitSetupForm::SetEditsReadOnly(bool readOnly) {
    for (int row = 0; row < CalibrationRowCount; ++row) {
        MinEdits[row]->setReadOnly(readOnly);
        MaxEdits[row]->setReadOnly(readOnly);
    }
}

// The box has already changed by the click. Ticking it asks first; any
// answer but Yes unticks it and keeps the changes locked.
void TUnitSetupForm::EnableBoxClick(bool checked) {
    Locked = !checked;
    if (checked && Port.Confirm(ConfirmText) != TMessagePort::TAnswer::Yes) {
        Locked = true;
        Enable->setChecked(false);
    }
    SetEditsReadOnly(Locked);
}

bool TUnitSetupForm::TypedCharacterAllowed(const QString& text) const {
    for (const QChar c : text) {
        if (!(c.isDigit() && c.unicode() < 128) && c != Sep && c != u'-')
            return false;
    }
    return true;
}

// Typing into a Min or Max edit: only digits, the decimal separator and "-"
// are taken; every other typed character, Backspace included, is dropped.
// Keys that type nothing (arrows, Delete, shortcuts) work as usual.
bool TUnitSetupForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && qobject_cast<QLineEdit*>(watched)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Backspace)
            return true;
        const bool shortcut = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
        const QString text = key->text();
        const bool typed = !shortcut && !text.isEmpty() && text.front().isPrint();
        if (typed && !TypedCharacterAllowed(text))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TUnitSetupForm::OKBtnClick() {
    TCalibrationInput input;
    for (int row = 0; row < CalibrationRowCount; ++row) {
        Mark(MinEdits[row], false);
        Mark(MaxEdits[row], false);
        input.MinTexts[row] = MinEdits[row]->text();
        input.MaxTexts[row] = MaxEdits[row]->text();
    }
    for (int g = 0; g < UnitGroupCount; ++g)
        input.Selected[g] = RadioGroups[g]->checkedId();

    if (const auto refusal = ApplyCalibration(Cfg, input, Sep)) {
        QLineEdit* first = refusal->MinField ? MinEdits[refusal->Row] : MaxEdits[refusal->Row];
        if (refusal->MinField)
            Mark(MinEdits[refusal->Row], true);
        if (refusal->MaxField)
            Mark(MaxEdits[refusal->Row], true);
        Pages->setCurrentIndex(static_cast<int>(CalibrationRow(refusal->Row).Group));
        first->setFocus();
        QString text = CalibrationRefusalText(*refusal);
        if (first->isReadOnly())
            text += tr("\nЧтобы исправить значение, отметьте \"Разрешить изменения\".");
        Port.Warning(text);
        return;
    }
    Accepted = input;
    if (!Locked) {
        QString reason;
        if (WriteSettings && !WriteSettings(&reason))
            Port.Error(reason);
    }
    accept();
}
