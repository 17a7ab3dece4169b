#pragma once

#include "config/message_port.h"

// A message port that answers nothing and shows nothing: the benchmarked
// window never waits for a box.
class TQuietPort final : public TMessagePort {
public:
    void Warning(const QString&) override {}
    void Information(const QString&) override {}
    void Error(const QString&) override {}
    TAnswer Confirm(const QString&) override { return TAnswer::Cancel; }
    std::optional<TColorValue> ChooseColor(TColorValue) override { return std::nullopt; }
    QString OpenFileName(const TFileDialogRequest&) override { return {}; }
    QString SaveFileName(const TFileDialogRequest&) override { return {}; }
    void RunDialog(QDialog&) override {}
    bool PrinterSetup(QPrinter&) override { return false; }
};
