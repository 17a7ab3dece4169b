#include "app_fixture.h"

#include "app/dialog_box_port.h"
#include "app/message_box_port.h"
#include "config/unit_setup_dialog.h"
#include "view/display_color.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QColorDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

// The dialogs and boxes as the program runs them: modal, with their own
// event loops, played by timers the way an operator would answer them.

namespace {

// Each step waits for a modal window of type T (and named `name`, when
// given) on which it can act; the steps run one after the other.
class TOperator {
public:
    template <class T> TOperator& Then(std::function<bool(T&)> act, const char* name = nullptr) {
        Steps.push_back([act, name](QWidget* modal) {
            auto* w = qobject_cast<T*>(modal);
            if (!w || (name && w->objectName() != QLatin1StringView(name)))
                return false;
            return act(*w);
        });
        return *this;
    }
    void Start() { Poll(); }
    bool Done() const { return Next == Steps.size(); }

private:
    // A step may open a modal box of its own: the next poll is due before
    // the step runs, and the step counts as taken while it runs.
    void Poll() {
        if (Done())
            return;
        QTimer::singleShot(10, &Context, [this] { Poll(); });
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        // A step that never finds its window fails the test instead of
        // leaving the modal loop running.
        if (++Polls > 1000) {
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
            return;
        }
        const std::size_t step = Next++;
        if (!Steps[step](modal))
            --Next;
    }

    QObject Context; // no poll outlives the operator
    std::vector<std::function<bool(QWidget*)>> Steps;
    std::size_t Next = 0;
    int Polls = 0;
};

void ClickButton(QMessageBox& box, QMessageBox::StandardButton which) {
    box.button(which)->click();
}

} // namespace

TEST(DialogBoxPort, ConfirmReturnsTheButtonTheUserPressed) {
    TDialogBoxPort port;
    const std::pair<QMessageBox::StandardButton, TDialogPort::TAnswer> cases[] = {
        {QMessageBox::Yes, TDialogPort::TAnswer::Yes},
        {QMessageBox::No, TDialogPort::TAnswer::No},
        {QMessageBox::Cancel, TDialogPort::TAnswer::Cancel},
    };
    for (const auto& [button, answer] : cases) {
        TOperator user;
        user.Then<QMessageBox>([button = button](QMessageBox& box) {
                EXPECT_EQ(box.text(), QStringLiteral("Изменить?"));
                EXPECT_EQ(box.standardButtons(),
                          QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
                ClickButton(box, button);
                return true;
            })
            .Start();
        EXPECT_EQ(port.Confirm(QStringLiteral("Изменить?")), answer);
        EXPECT_TRUE(user.Done());
    }
}

TEST(DialogBoxPort, TheColourChooserStartsAtTheColourAndMayBeCancelled) {
    TDialogBoxPort port;
    constexpr TColorValue Olive = 0x008080;
    TOperator user;
    user.Then<QColorDialog>([](QColorDialog& d) {
            EXPECT_EQ(d.currentColor(), ToQColor(Olive));
            d.setCurrentColor(QColor(255, 0, 0));
            d.accept();
            return true;
        })
        .Then<QColorDialog>([](QColorDialog& d) {
            d.reject();
            return true;
        })
        .Start();
    EXPECT_EQ(port.ChooseColor(Olive), std::optional<TColorValue>(255));
    EXPECT_EQ(port.ChooseColor(Olive), std::nullopt);
    EXPECT_TRUE(user.Done());
}

// From the menu to the file: the calibration unlocked with Yes, a value
// typed, OK.
TEST(ModalDialogs, AnOperatorCalibratesTheField) {
    TAppDir dir;
    TMessageBoxPort port;
    auto w = ShowWindow(port);
    port.SetParent(w.get());

    TOperator user;
    user.Then<QDialog>(
            [](QDialog& d) {
                d.findChild<QCheckBox*>("EnableBox")->click();
                return true;
            },
            "TUnitSetupForm")
        .Then<QMessageBox>([](QMessageBox& box) {
            EXPECT_EQ(box.text(), TUnitSetupForm::ConfirmText);
            ClickButton(box, QMessageBox::Yes);
            return true;
        })
        .Then<QDialog>(
            [](QDialog& d) {
                auto* max = d.findChild<QLineEdit*>("RazvMax3");
                if (max->isReadOnly())
                    return false; // the answer has not reached the dialog yet
                max->selectAll();
                QTest::keyClicks(max, QStringLiteral("3400"));
                QTest::mouseClick(d.findChild<QPushButton*>("OKBtn"), Qt::LeftButton);
                return true;
            },
            "TUnitSetupForm")
        .Start();
    MenuItem(*w, "Настройка", "Единицы измерения...")->trigger();
    ASSERT_TRUE(user.Done());
    EXPECT_EQ(w->Settings().RazvUnits[3].X2, 3400);
    EXPECT_EQ(dir.ReadBack().RazvUnits[3].X2, 3400);
}
