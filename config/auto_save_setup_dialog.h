#pragma once

#include "config/kav_cfg.h"
#include "config/spin_field_widget.h"

#include <QDialog>

class QCheckBox;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QTreeView;

// The automatic-save dialog (TAutoSaveSetupFrm): whether received spectra are
// saved, every how many, the name mask and the next number with the name
// they give, and the directory chosen in a folder tree with the space left
// on its disk. OK writes the fields into the settings record; the directory
// only when saving is switched on.
class TAutoSaveSetupFrm : public QDialog {
    Q_OBJECT
public:
    explicit TAutoSaveSetupFrm(TKavCfg& cfg, QWidget* parent = nullptr);

    // The settings into the controls (done on creation).
    void FormShow();

    QCheckBox* OnBox() const { return On; }
    QSpinBox* SaveStep() const { return Step; }
    QLineEdit* NameMask() const { return Mask; }
    QSpinBox* NumbMask() const { return Numb; }
    QLabel* Exam() const { return Example; }
    QLineEdit* Directory() const { return Dir; }
    QTreeView* DirView() const { return Tree; }
    QFileSystemModel* DirModel() const { return Model; }
    QLabel* Info() const { return FreeSpace; }
    QPushButton* OKBtn() const { return Ok; }
    QPushButton* CancelBtn() const { return Cancel; }

private:
    QWidget* BuildLeftPanel();
    QWidget* BuildRightPanel();
    void ShowExample();
    void DirViewChange(const QModelIndex& index);
    void OKBtnClick();

    TKavCfg& Cfg;
    QCheckBox* On = nullptr;
    TSpinField* Step = nullptr;
    QLineEdit* Mask = nullptr;
    TSpinField* Numb = nullptr;
    QLabel* Example = nullptr;
    QLineEdit* Dir = nullptr;
    QTreeView* Tree = nullptr;
    QFileSystemModel* Model = nullptr;
    QLabel* FreeSpace = nullptr;
    QPushButton* Ok = nullptr;
    QPushButton* Cancel = nullptr;
};
