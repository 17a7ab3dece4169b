#pragma once

#include "processing/fit_texts.h"

#include <QWidget>
#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;

// The results of the line fit and the comparison as a table beside the main
// window: a quantity, its value and its error on each row. It stays open
// while the operator works on; "Копировать" puts the rows on the clipboard
// as tab-separated lines, ready for a spreadsheet.
class TAnalysisResultsWindow : public QWidget {
    Q_OBJECT
public:
    explicit TAnalysisResultsWindow(QWidget* parent = nullptr);

    // The header lines and the rows shown; no rows: the window hides.
    void ShowResults(const QStringList& header, const std::vector<TResultRow>& rows);
    // What "Копировать" puts on the clipboard.
    QString ClipboardText() const;

    QTableWidget* Table() const { return Grid; }
    QPushButton* CopyBtn() const { return Copy; }

signals:
    // The language changed while the window exists: its own texts are
    // translated already, the rows are the owner's to rebuild.
    void LanguageChanged();

protected:
    void changeEvent(QEvent* event) override;

private:
    void Retranslate();

    QStringList Header;
    std::vector<TResultRow> Rows;
    QLabel* Caption = nullptr;
    QTableWidget* Grid = nullptr;
    QPushButton* Copy = nullptr;
    QPushButton* Close = nullptr;
};
