#pragma once

#include <QCoreApplication>
#include <QString>

// The texts of the line fit and of the comparison in the window: menu
// captions live in the action table; these are the dialogs', the results
// window's and the refusals', translated when asked for.
namespace AnalysisTexts {

inline QString FitTitle() {
    return QCoreApplication::translate("AnalysisTexts", "Аппроксимация линий");
}
inline QString FitLineCount() {
    return QCoreApplication::translate("AnalysisTexts", "Число линий");
}
inline QString FitShape() {
    return QCoreApplication::translate("AnalysisTexts", "Форма линии");
}
inline QString FitFrequency() {
    return QCoreApplication::translate("AnalysisTexts", "Частота, МГц (0 - по ДФПГ)");
}

inline QString CompareTitle() {
    return QCoreApplication::translate("AnalysisTexts", "Сравнение со спектром");
}
inline QString CompareNormalization() {
    return QCoreApplication::translate("AnalysisTexts", "Нормировка");
}
inline QString CompareShift() {
    return QCoreApplication::translate("AnalysisTexts", "Искать сдвиг по полю");
}
inline QString CompareDifference() {
    return QCoreApplication::translate("AnalysisTexts", "Показать разность");
}
inline QString CompareSpins() {
    return QCoreApplication::translate("AnalysisTexts", "Спинов в эталоне (0 - не задано)");
}
inline QString CompareOpenTitle() {
    return QCoreApplication::translate("AnalysisTexts", "Открыть спектр для сравнения");
}
inline QString CompareFilter() {
    return QCoreApplication::translate(
        "AnalysisTexts",
        "Спектры (*.kav *.DSC *.DTA *.csv *.txt *.dat *.asc);;Файлы спектров (*.kav)");
}
inline QString CompareNoSpectrum() {
    return QCoreApplication::translate("AnalysisTexts",
                                       "Сравнение невозможно: нет спектра для сравнения");
}

inline QString ResultsTitle() {
    return QCoreApplication::translate("AnalysisTexts", "Результаты");
}
inline QString ResultsName() {
    return QCoreApplication::translate("AnalysisTexts", "Величина");
}
inline QString ResultsValue() {
    return QCoreApplication::translate("AnalysisTexts", "Значение");
}
inline QString ResultsError() {
    return QCoreApplication::translate("AnalysisTexts", "Погрешность");
}
inline QString ResultsCopy() {
    return QCoreApplication::translate("AnalysisTexts", "Копировать");
}
inline QString ResultsClose() {
    return QCoreApplication::translate("AnalysisTexts", "Закрыть");
}
inline QString ResultsFitHeader() {
    return QCoreApplication::translate("AnalysisTexts", "Аппроксимация: %1, линий: %2");
}
inline QString ResultsCompareHeader() {
    return QCoreApplication::translate("AnalysisTexts", "Сравнение с %1");
}

} // namespace AnalysisTexts
