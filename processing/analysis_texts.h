#pragma once

#include <QString>

// The texts of the line fit and of the comparison in the window: menu
// captions live in the action table; these are the dialogs', the results
// window's and the refusals'.
namespace AnalysisTexts {

inline const QString FitTitle = QStringLiteral("Аппроксимация линий");
inline const QString FitLineCount = QStringLiteral("Число линий");
inline const QString FitShape = QStringLiteral("Форма линии");
inline const QString FitFrequency = QStringLiteral("Частота, МГц (0 - по ДФПГ)");

inline const QString CompareTitle = QStringLiteral("Сравнение со спектром");
inline const QString CompareNormalization = QStringLiteral("Нормировка");
inline const QString CompareShift = QStringLiteral("Искать сдвиг по полю");
inline const QString CompareDifference = QStringLiteral("Показать разность");
inline const QString CompareSpins = QStringLiteral("Спинов в эталоне (0 - не задано)");
inline const QString CompareOpenTitle = QStringLiteral("Открыть спектр для сравнения");
inline const QString CompareFilter =
    QStringLiteral("Спектры (*.kav *.DSC *.DTA *.csv *.txt *.dat *.asc);;Файлы спектров (*.kav)");
inline const QString CompareNoSpectrum =
    QStringLiteral("Сравнение невозможно: нет спектра для сравнения");

inline const QString ResultsTitle = QStringLiteral("Результаты");
inline const QString ResultsName = QStringLiteral("Величина");
inline const QString ResultsValue = QStringLiteral("Значение");
inline const QString ResultsError = QStringLiteral("Погрешность");
inline const QString ResultsCopy = QStringLiteral("Копировать");
inline const QString ResultsClose = QStringLiteral("Закрыть");
inline const QString ResultsFitHeader = QStringLiteral("Аппроксимация: %1, линий: %2");
inline const QString ResultsCompareHeader = QStringLiteral("Сравнение с %1");

} // namespace AnalysisTexts
