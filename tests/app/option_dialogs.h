#pragma once

// Every option dialog of the menus, made as the window makes it, with the
// tab to show and the name of its picture in the documentation.

#include "config/auto_save_setup_dialog.h"
#include "config/real_time_setup_dialog.h"
#include "config/unit_setup_dialog.h"
#include "processing/compare_setup_dialog.h"
#include "processing/fit_setup_dialog.h"
#include "processing/gliss_setup_dialog.h"
#include "processing/low_pass_setup_dialog.h"
#include "processing/min_max_setup_dialog.h"
#include "view/color_setup_dialog.h"

#include <QDialog>
#include <QDir>
#include <QFileSystemModel>
#include <QTemporaryDir>
#include <QTreeView>
#include <functional>
#include <memory>

struct TDialogCase {
    const char* Picture;
    int Page; // the tab shown; -1 for a dialog without tabs
    std::function<std::unique_ptr<QDialog>(TKavCfg&, TMessagePort&)> Make;
};

inline std::unique_ptr<QDialog> UnitSetup(TKavCfg& cfg, TMessagePort& port) {
    return std::make_unique<TUnitSetupForm>(cfg, port, QChar(','), nullptr);
}
// The folder tree shows a small tree of its own in the pictures, not the
// test machine's.
inline std::unique_ptr<QDialog> AutoSave(TKavCfg& cfg, TMessagePort&) {
    static QTemporaryDir root;
    const QDir base(root.path());
    for (const char* sub : {"spectra/2024", "spectra/2025", "spectra/dpph", "calibration"})
        base.mkpath(QString::fromLatin1(sub));
    cfg.WorkDir = base.filePath(QStringLiteral("spectra"));
    cfg.AutoSave = true;
    auto d = std::make_unique<TAutoSaveSetupFrm>(cfg);
    d->DirView()->setRootIndex(d->DirModel()->index(base.path()));
    return d;
}
inline std::unique_ptr<QDialog> RealTime(TKavCfg& cfg, TMessagePort&) {
    auto d = std::make_unique<TRealTimeSetupForm>(cfg);
    d->ShowHelp(1); // the longest help text
    return d;
}
template <class T> std::unique_ptr<QDialog> Plain(TKavCfg& cfg, TMessagePort&) {
    return std::make_unique<T>(cfg);
}
inline std::unique_ptr<QDialog> Colours(TKavCfg& cfg, TMessagePort& port) {
    return std::make_unique<TColorSetupForm>(cfg, port);
}

inline std::unique_ptr<QDialog> FitSetup(TKavCfg& cfg, TMessagePort&) {
    return std::make_unique<TFitSetupForm>(cfg.Fit);
}
inline std::unique_ptr<QDialog> CompareSetup(TKavCfg&, TMessagePort&) {
    static TCompareSettings settings;
    settings.ReferenceSpins = 1.2345e17; // the longest spin count shown
    return std::make_unique<TCompareSetupForm>(settings, QChar(','));
}

inline const TDialogCase OptionDialogs[] = {
    {"unit-setup-razv", 0, UnitSetup},
    {"unit-setup-amp", 1, UnitSetup},
    {"unit-setup-corr", 2, UnitSetup},
    {"unit-setup-adc", 3, UnitSetup},
    {"auto-save-setup", -1, AutoSave},
    {"real-time-setup", -1, RealTime},
    {"low-pass-setup", -1, Plain<TLowPassSetupForm>},
    {"gliss-setup", -1, Plain<TGlissSetupForm>},
    {"min-max-setup", -1, Plain<TMinMaxSetupForm>},
    {"color-setup-display", 0, Colours},
    {"color-setup-printer", 1, Colours},
    {"fit-setup", -1, FitSetup},
    {"compare-setup", -1, CompareSetup},
};
