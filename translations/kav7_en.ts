<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>AcquisitionEngine</name>
    <message>
        <source> бод</source>
        <translation> baud</translation>
    </message>
    <message>
        <source>ФИЛЬТР [</source>
        <translation>FILTER [</translation>
    </message>
    <message>
        <source>НАКОПЛ [</source>
        <translation>ACCUM [</translation>
    </message>
    <message>
        <source> из </source>
        <translation> of </translation>
    </message>
    <message>
        <source>Передача параметров не удалась</source>
        <translation>Sending the parameters failed</translation>
    </message>
    <message>
        <source>Невозможно инициализировать порт </source>
        <translation>Cannot initialise port </translation>
    </message>
    <message>
        <source>Рабочий ход</source>
        <translation>Forward sweep</translation>
    </message>
    <message>
        <source>Обратный ход</source>
        <translation>Return sweep</translation>
    </message>
    <message>
        <source>АВТО</source>
        <translation>AUTO</translation>
    </message>
    <message>
        <source>&lt;Закрыт&gt;</source>
        <translation>&lt;Closed&gt;</translation>
    </message>
    <message>
        <source>Автосохранение не выполнено: </source>
        <translation>Automatic save failed: </translation>
    </message>
    <message>
        <source>номер файла достиг предела %1, задайте &quot;Стартовый номер&quot; в окне &quot;Автосохранение...&quot;</source>
        <translation>the file number has reached its limit %1; set &quot;Start number&quot; in the &quot;Automatic save...&quot; window</translation>
    </message>
</context>
<context>
    <name>AnalysisTexts</name>
    <message>
        <source>Аппроксимация линий</source>
        <translation>Line fit</translation>
    </message>
    <message>
        <source>Число линий</source>
        <translation>Number of lines</translation>
    </message>
    <message>
        <source>Форма линии</source>
        <translation>Line shape</translation>
    </message>
    <message>
        <source>Частота, МГц (0 - по ДФПГ)</source>
        <translation>Frequency, MHz (0 - from DPPH)</translation>
    </message>
    <message>
        <source>Сравнение со спектром</source>
        <translation>Comparison with a spectrum</translation>
    </message>
    <message>
        <source>Нормировка</source>
        <translation>Normalisation</translation>
    </message>
    <message>
        <source>Искать сдвиг по полю</source>
        <translation>Find the field shift</translation>
    </message>
    <message>
        <source>Показать разность</source>
        <translation>Show the difference</translation>
    </message>
    <message>
        <source>Спинов в эталоне (0 - не задано)</source>
        <translation>Spins in the reference (0 - not given)</translation>
    </message>
    <message>
        <source>Открыть спектр для сравнения</source>
        <translation>Open a spectrum to compare with</translation>
    </message>
    <message>
        <source>Спектры (*.kav *.DSC *.DTA *.csv *.txt *.dat *.asc);;Файлы спектров (*.kav)</source>
        <translation>Spectra (*.kav *.DSC *.DTA *.csv *.txt *.dat *.asc);;Spectrum files (*.kav)</translation>
    </message>
    <message>
        <source>Сравнение невозможно: нет спектра для сравнения</source>
        <translation>Comparison impossible: no spectrum to compare</translation>
    </message>
    <message>
        <source>Результаты</source>
        <translation>Results</translation>
    </message>
    <message>
        <source>Величина</source>
        <translation>Quantity</translation>
    </message>
    <message>
        <source>Значение</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Погрешность</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Копировать</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Аппроксимация: %1, линий: %2</source>
        <translation>Fit: %1, lines: %2</translation>
    </message>
    <message>
        <source>Сравнение с %1</source>
        <translation>Compared with %1</translation>
    </message>
</context>
<context>
    <name>AnalysisWiring</name>
    <message>
        <source>Файл &quot;%1&quot; не найден</source>
        <translation>File &quot;%1&quot; not found</translation>
    </message>
</context>
<context>
    <name>AutoSaveTexts</name>
    <message>
        <source>Каталог не задан</source>
        <translation>No folder given</translation>
    </message>
    <message>
        <source>Каталог не найден</source>
        <translation>Folder not found</translation>
    </message>
    <message>
        <source>Свободное место на диске неизвестно</source>
        <translation>Free disk space unknown</translation>
    </message>
    <message>
        <source>На диске %1 осталось %2 Мбайт</source>
        <translation>%2 MB left on disk %1</translation>
    </message>
</context>
<context>
    <name>Bes3tFile</name>
    <message>
        <source>Файл &quot;%1&quot;: %2</source>
        <translation>File &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>Не удалось записать файл &quot;%1&quot;: %2</source>
        <translation>Could not write file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>в нём %1 байт, а %2 %3 формата %4 занимают ровно %5 байт</source>
        <translation>it holds %1 bytes, but %2 %3 of format %4 take exactly %5 bytes</translation>
    </message>
    <message>
        <source>значение %1 не число</source>
        <translation>value %1 is not a number</translation>
    </message>
    <message>
        <source>не удалён</source>
        <translation>not removed</translation>
    </message>
    <message>
        <source>его не сохранить для возврата</source>
        <translation>it cannot be kept for restoring</translation>
    </message>
    <message>
        <source>; файл оси &quot;%1&quot; уже записан заново и не возвращён: %2</source>
        <translation>; axis file &quot;%1&quot; was already rewritten and not restored: %2</translation>
    </message>
    <message>
        <source>; файл данных &quot;%1&quot; уже записан заново и не возвращён: %2</source>
        <translation>; data file &quot;%1&quot; was already rewritten and not restored: %2</translation>
    </message>
    <message>
        <source>(нет)</source>
        <translation>(none)</translation>
    </message>
    <message>
        <source>это не описание набора данных BES3T (нет ключа XPTS)</source>
        <translation>this is not a BES3T dataset description (no XPTS key)</translation>
    </message>
    <message>
        <source>комплексные или многокомпонентные данные (IKKF %1) не поддерживаются, нужны IKKF REAL</source>
        <translation>complex or multi-component data (IKKF %1) are not supported, IKKF REAL is needed</translation>
    </message>
    <message>
        <source>многомерный набор данных (%1 %2) не поддерживается, нужен одномерный спектр</source>
        <translation>a multi-dimensional dataset (%1 %2) is not supported, a one-dimensional spectrum is needed</translation>
    </message>
    <message>
        <source>ось XTYP %1 не поддерживается, нужна XTYP IDX или IGD</source>
        <translation>axis XTYP %1 is not supported, XTYP IDX or IGD is needed</translation>
    </message>
    <message>
        <source>неизвестный формат значений IRFMT %1 (известны D, F, I, S, C)</source>
        <translation>unknown value format IRFMT %1 (known: D, F, I, S, C)</translation>
    </message>
    <message>
        <source>неизвестный формат оси XFMT %1 (известны D, F, I, S, C)</source>
        <translation>unknown axis format XFMT %1 (known: D, F, I, S, C)</translation>
    </message>
    <message>
        <source>неизвестный порядок байт BSEQ %1 (известны BIG и LIT)</source>
        <translation>unknown byte order BSEQ %1 (known: BIG and LIT)</translation>
    </message>
    <message>
        <source>XPTS %1 не число точек от 1 до %2</source>
        <translation>XPTS %1 is not a point count from 1 to %2</translation>
    </message>
    <message>
        <source>XMIN %1 не число</source>
        <translation>XMIN %1 is not a number</translation>
    </message>
    <message>
        <source>XWID %1 не число</source>
        <translation>XWID %1 is not a number</translation>
    </message>
    <message>
        <source>не тот файл, что описан рядом (его SHA-256 не совпадает с записанной в описании): запись набора была прервана или файлы перепутаны</source>
        <translation>not the file described beside it (its SHA-256 differs from the one in the description): writing the dataset was interrupted or the files are mixed up</translation>
    </message>
    <message>
        <source>значений (XPTS) IRFMT</source>
        <translation>values (XPTS) IRFMT</translation>
    </message>
    <message>
        <source>ось XMIN %1, XWID %2 выходит за пределы чисел</source>
        <translation>axis XMIN %1, XWID %2 goes beyond the range of numbers</translation>
    </message>
    <message>
        <source>значений оси (XPTS) XFMT</source>
        <translation>axis values (XPTS) XFMT</translation>
    </message>
    <message>
        <source>такого описания набора данных BES3T не бывает</source>
        <translation>no BES3T dataset description is that large</translation>
    </message>
    <message>
        <source>в нём больше значений, чем XPTS %1 в описании &quot;%2&quot;</source>
        <translation>it holds more values than XPTS %1 in description &quot;%2&quot;</translation>
    </message>
</context>
<context>
    <name>ComPort</name>
    <message>
        <source>Порт </source>
        <translation>Port </translation>
    </message>
    <message>
        <source> недоступен: связь потеряна</source>
        <translation> unavailable: link lost</translation>
    </message>
    <message>
        <source>драйвер порта не принял скорость, чётность или стоповые биты</source>
        <translation>the port driver refused the baud rate, parity or stop bits</translation>
    </message>
</context>
<context>
    <name>CommandExport</name>
    <message>
        <source>Не удалось записать файл &quot;%1&quot;: %2</source>
        <translation>Could not write file &quot;%1&quot;: %2</translation>
    </message>
</context>
<context>
    <name>CommandImport</name>
    <message>
        <source>столько строк кодов в спектре не бывает</source>
        <translation>no spectrum has that many lines of codes</translation>
    </message>
</context>
<context>
    <name>ControlsState</name>
    <message>
        <source>РУЧН.УПР.</source>
        <translation>MANUAL</translation>
    </message>
    <message>
        <source>РУЧН. УПР.</source>
        <translation>MANUAL</translation>
    </message>
    <message>
        <source>ПЭВМ</source>
        <translation>PC</translation>
    </message>
</context>
<context>
    <name>ExchangeInput</name>
    <message>
        <source>Файл &quot;%1&quot;: нет такого файла</source>
        <translation>File &quot;%1&quot;: no such file</translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot;: не обычный файл (%2)</source>
        <translation>File &quot;%1&quot;: not a regular file (%2)</translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot;: больше %2 байт: %3</source>
        <translation>File &quot;%1&quot;: larger than %2 bytes: %3</translation>
    </message>
    <message>
        <source>Не удалось прочитать файл &quot;%1&quot;: %2</source>
        <translation>Could not read file &quot;%1&quot;: %2</translation>
    </message>
</context>
<context>
    <name>ExchangeWiring</name>
    <message>
        <source>Экспорт спектра</source>
        <translation>Export spectrum</translation>
    </message>
    <message>
        <source>BES3T (*.DSC);;Текст CSV (*.csv);;Рисунок PNG (*.png);;Рисунок SVG (*.svg)</source>
        <translation>BES3T (*.DSC);;CSV text (*.csv);;PNG picture (*.png);;SVG picture (*.svg)</translation>
    </message>
    <message>
        <source>Импорт спектра</source>
        <translation>Import spectrum</translation>
    </message>
    <message>
        <source>BES3T (*.DSC);;Текст CSV (*.csv);;Текст (*.txt)</source>
        <translation>BES3T (*.DSC);;CSV text (*.csv);;Text (*.txt)</translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot;: по расширению не понять формат; экспорт пишет .DSC (BES3T), .csv, .png и .svg</source>
        <translation>File &quot;%1&quot;: the extension tells no format; export writes .DSC (BES3T), .csv, .png and .svg</translation>
    </message>
</context>
<context>
    <name>FileActions</name>
    <message>
        <source>Файлы спектров (*.kav)</source>
        <translation>Spectrum files (*.kav)</translation>
    </message>
    <message>
        <source>Открыть фаил спектра</source>
        <translation>Open spectrum file</translation>
    </message>
    <message>
        <source>Сохранить фаил спектра</source>
        <translation>Save spectrum file</translation>
    </message>
</context>
<context>
    <name>FitTexts</name>
    <message>
        <source>Линия %1: </source>
        <translation>Line %1: </translation>
    </message>
    <message>
        <source>Лоренц</source>
        <translation>Lorentzian</translation>
    </message>
    <message>
        <source>Гаусс</source>
        <translation>Gaussian</translation>
    </message>
    <message>
        <source>Псевдо-Фойгт</source>
        <translation>Pseudo-Voigt</translation>
    </message>
    <message>
        <source>Аппроксимация невозможна: число линий должно быть от %1 до %2</source>
        <translation>Fit impossible: the number of lines must be from %1 to %2</translation>
    </message>
    <message>
        <source>Аппроксимация невозможна: точек в диапазоне (%1) не больше, чем параметров (%2)</source>
        <translation>Fit impossible: the range has no more points (%1) than parameters (%2)</translation>
    </message>
    <message>
        <source>Аппроксимация невозможна: спектр в диапазоне не меняется</source>
        <translation>Fit impossible: the spectrum is flat in the range</translation>
    </message>
    <message>
        <source>Аппроксимация невозможна: не найдено ни одной пары экстремумов</source>
        <translation>Fit impossible: no pair of extrema found</translation>
    </message>
    <message>
        <source>Аппроксимация невозможна: найдено пар экстремумов %1, а линий задано %2</source>
        <translation>Fit impossible: %1 pairs of extrema found, but %2 lines asked for</translation>
    </message>
    <message>
        <source>Аппроксимация не сошлась (итераций: %1)</source>
        <translation>Fit did not converge (iterations: %1)</translation>
    </message>
    <message>
        <source>Аппроксимация не сошлась: параметры линий не определяются точками диапазона</source>
        <translation>Fit did not converge: the points of the range do not determine the line parameters</translation>
    </message>
    <message>
        <source>СКО остатка</source>
        <translation>Residual RMS</translation>
    </message>
    <message>
        <source>итераций</source>
        <translation>iterations</translation>
    </message>
    <message>
        <source>МГц</source>
        <translation>MHz</translation>
    </message>
    <message>
        <source>без нормировки</source>
        <translation>not normalised</translation>
    </message>
    <message>
        <source>по размаху</source>
        <translation>by peak-to-peak</translation>
    </message>
    <message>
        <source>по двойному интегралу</source>
        <translation>by double integral</translation>
    </message>
    <message>
        <source>по усилению</source>
        <translation>by gain</translation>
    </message>
    <message>
        <source>Сравнение невозможно: в диапазоне нет точек спектра</source>
        <translation>Comparison impossible: no spectrum points in the range</translation>
    </message>
    <message>
        <source>Сравнение невозможно: в спектре сравнения нет точек</source>
        <translation>Comparison impossible: the reference spectrum has no points</translation>
    </message>
    <message>
        <source>Спектр сравнения не перекрывается с текущим по полю</source>
        <translation>The reference spectrum does not overlap the current one in field</translation>
    </message>
    <message>
        <source>Нормировка невозможна: двойной интеграл спектра сравнения равен нулю</source>
        <translation>Normalisation impossible: the double integral of the reference spectrum is zero</translation>
    </message>
    <message>
        <source>Нормировка невозможна: размах спектра сравнения равен нулю</source>
        <translation>Normalisation impossible: the peak-to-peak of the reference spectrum is zero</translation>
    </message>
    <message>
        <source>Нормировка</source>
        <translation>Normalisation</translation>
    </message>
    <message>
        <source>Масштаб</source>
        <translation>Scale</translation>
    </message>
    <message>
        <source>Сдвиг</source>
        <translation>Shift</translation>
    </message>
    <message>
        <source>СКО разности</source>
        <translation>Difference RMS</translation>
    </message>
    <message>
        <source>Усиление</source>
        <translation>Gain</translation>
    </message>
    <message>
        <source>Накоплений</source>
        <translation>Accumulated</translation>
    </message>
    <message>
        <source>Отношение двойных интегралов</source>
        <translation>Double integral ratio</translation>
    </message>
    <message>
        <source>Спинов в образце</source>
        <translation>Spins in sample</translation>
    </message>
</context>
<context>
    <name>LineSettings</name>
    <message>
        <source>Скорость порта с номером %1 не существует, установлено 9600 бод</source>
        <translation>Port speed number %1 does not exist, 9600 baud set</translation>
    </message>
    <message>
        <source>Чётность с номером %1 не существует, установлено без чётности</source>
        <translation>Parity number %1 does not exist, no parity set</translation>
    </message>
    <message>
        <source>Полтора стоповых бита недоступны, установлено 2 стоповых бита</source>
        <translation>One and a half stop bits unavailable, 2 stop bits set</translation>
    </message>
    <message>
        <source>Стоповые биты с номером %1 не существуют, установлен 1 стоповый бит</source>
        <translation>Stop bits number %1 do not exist, 1 stop bit set</translation>
    </message>
    <message>
        <source>Управление потоком по CTS включает и управление линией RTS</source>
        <translation>CTS flow control also turns on RTS line control</translation>
    </message>
    <message>
        <source>Квитирование по RTS включает и управление потоком по CTS</source>
        <translation>RTS handshaking also turns on CTS flow control</translation>
    </message>
    <message>
        <source>Переключение линии RTS при передаче недоступно, RTS включён</source>
        <translation>Toggling RTS while sending unavailable, RTS on</translation>
    </message>
    <message>
        <source>Режим RTS с номером %1 не существует, RTS выключен</source>
        <translation>RTS mode number %1 does not exist, RTS off</translation>
    </message>
    <message>
        <source>Квитирование по DTR недоступно, DTR включён</source>
        <translation>DTR handshaking unavailable, DTR on</translation>
    </message>
    <message>
        <source>Режим DTR с номером %1 не существует, DTR выключен</source>
        <translation>DTR mode number %1 does not exist, DTR off</translation>
    </message>
    <message>
        <source>Управление потоком по DSR недоступно, отключено</source>
        <translation>DSR flow control unavailable, turned off</translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <source>КАВ</source>
        <translation>KAV</translation>
    </message>
</context>
<context>
    <name>MainActions</name>
    <message>
        <source>Показать &amp;весь спектр</source>
        <translation>Show &amp;whole spectrum</translation>
    </message>
    <message>
        <source>Показать весь спектр</source>
        <translation>Show the whole spectrum</translation>
    </message>
    <message>
        <source>&amp;Открыть...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>Открыть спектр из файла</source>
        <translation>Open a spectrum from a file</translation>
    </message>
    <message>
        <source>&amp;Сохранить...</source>
        <translation>&amp;Save...</translation>
    </message>
    <message>
        <source>Сохранить спектр</source>
        <translation>Save the spectrum</translation>
    </message>
    <message>
        <source>&amp;Закрыть</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>Убрать текущий спектр</source>
        <translation>Remove the current spectrum</translation>
    </message>
    <message>
        <source>&amp;Расширить диапазон перестройки</source>
        <translation>&amp;Widen the sweep range</translation>
    </message>
    <message>
        <source>Расширить диапазон пересройки до максимума</source>
        <translation>Widen the sweep range to the maximum</translation>
    </message>
    <message>
        <source>&amp;Увеличить масштаб ординаты</source>
        <translation>&amp;Enlarge the ordinate scale</translation>
    </message>
    <message>
        <source>Уме&amp;ньшить масштаб ординаты</source>
        <translation>Re&amp;duce the ordinate scale</translation>
    </message>
    <message>
        <source>Визир &amp;1</source>
        <translation>Cursor &amp;1</translation>
    </message>
    <message>
        <source>Визир &amp;2</source>
        <translation>Cursor &amp;2</translation>
    </message>
    <message>
        <source>&amp;Анализ</source>
        <translation>&amp;Analysis</translation>
    </message>
    <message>
        <source>Анализ принятых спектров</source>
        <translation>Analysis of received spectra</translation>
    </message>
    <message>
        <source>&amp;Прием</source>
        <translation>&amp;Receive</translation>
    </message>
    <message>
        <source>Прием спектров от спектрометра</source>
        <translation>Receive spectra from the spectrometer</translation>
    </message>
    <message>
        <source>&amp;Окно сообщений</source>
        <translation>&amp;Message window</translation>
    </message>
    <message>
        <source>&amp;Выбор порта...</source>
        <translation>&amp;Port...</translation>
    </message>
    <message>
        <source>&amp;СТОП</source>
        <translation>&amp;STOP</translation>
    </message>
    <message>
        <source>Остановить развертку</source>
        <translation>Stop the sweep</translation>
    </message>
    <message>
        <source>&amp;ПУСК</source>
        <translation>S&amp;TART</translation>
    </message>
    <message>
        <source>Продолжить развертку</source>
        <translation>Continue the sweep</translation>
    </message>
    <message>
        <source>&amp;Перерисовать</source>
        <translation>Re&amp;paint</translation>
    </message>
    <message>
        <source>&amp;Выход</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>&amp;Определить  мышью</source>
        <translation>Set by &amp;mouse</translation>
    </message>
    <message>
        <source>Определить границы мышью</source>
        <translation>Set the bounds with the mouse</translation>
    </message>
    <message>
        <source>&amp;Единицы измерения...</source>
        <translation>&amp;Units...</translation>
    </message>
    <message>
        <source>ВХОД  &amp;АЦП</source>
        <translation>&amp;ADC INPUT</translation>
    </message>
    <message>
        <source>Текущие измерения по входу АЦП</source>
        <translation>Current readings of the ADC input</translation>
    </message>
    <message>
        <source>Панель &amp;инструментов</source>
        <translation>&amp;Tool bar</translation>
    </message>
    <message>
        <source>Показать/скрыть панель инструментов</source>
        <translation>Show/hide the tool bar</translation>
    </message>
    <message>
        <source>&amp;Автосохранение...</source>
        <translation>&amp;Automatic save...</translation>
    </message>
    <message>
        <source>&amp;ФНЧ...</source>
        <translation>&amp;Low-pass filter...</translation>
    </message>
    <message>
        <source>ФНЧ</source>
        <translation>LPF</translation>
    </message>
    <message>
        <source>Фильтрация текущего спектра</source>
        <translation>Filter the current spectrum</translation>
    </message>
    <message>
        <source>&amp;Прием спектров...</source>
        <translation>&amp;Receiving...</translation>
    </message>
    <message>
        <source>Печать</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Печать спектра с текущими установками принтера</source>
        <translation>Print the spectrum with the current printer settings</translation>
    </message>
    <message>
        <source>Печа&amp;ть спектра...</source>
        <translation>&amp;Print spectrum...</translation>
    </message>
    <message>
        <source>&amp;Цвета...</source>
        <translation>&amp;Colours...</translation>
    </message>
    <message>
        <source>Печать &amp;главного окна</source>
        <translation>Print the &amp;main window</translation>
    </message>
    <message>
        <source>ФНЧ(р)</source>
        <translation>LPF(rt)</translation>
    </message>
    <message>
        <source>ФНЧ реального времени</source>
        <translation>Real-time low-pass filter</translation>
    </message>
    <message>
        <source>Сумма</source>
        <translation>Sum</translation>
    </message>
    <message>
        <source>Накопление спектров</source>
        <translation>Accumulation of spectra</translation>
    </message>
    <message>
        <source>&amp;О программе...</source>
        <translation>A&amp;bout...</translation>
    </message>
    <message>
        <source>&amp;Интеграл</source>
        <translation>&amp;Integral</translation>
    </message>
    <message>
        <source>Подсчет интеграла</source>
        <translation>Compute the integral</translation>
    </message>
    <message>
        <source>&amp;Сглаживание...</source>
        <translation>&amp;Smoothing...</translation>
    </message>
    <message>
        <source>Сглаживание</source>
        <translation>Smooth</translation>
    </message>
    <message>
        <source>Сглаживание спектра</source>
        <translation>Spectrum smoothing</translation>
    </message>
    <message>
        <source>&amp;Отмена</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>Вернуться к предыдущему</source>
        <translation>Back to the previous spectrum</translation>
    </message>
    <message>
        <source>&amp;Выравнивание</source>
        <translation>&amp;Baseline</translation>
    </message>
    <message>
        <source>Выравнивание спектра</source>
        <translation>Level the baseline of the spectrum</translation>
    </message>
    <message>
        <source>MinMax</source>
        <translation>MinMax</translation>
    </message>
    <message>
        <source>Поиск экстремумов</source>
        <translation>Extremum search</translation>
    </message>
    <message>
        <source>Ус&amp;тановить визиры</source>
        <translation>Place &amp;cursors</translation>
    </message>
    <message>
        <source>&amp;Поиск экстремумов...</source>
        <translation>&amp;Extremum search...</translation>
    </message>
    <message>
        <source>О&amp;тношение пиков</source>
        <translation>Peak &amp;ratio</translation>
    </message>
    <message>
        <source>Нахождение отношения двух пиков</source>
        <translation>Find the ratio of two peaks</translation>
    </message>
    <message>
        <source>&amp;Расcчитать частоту по ДФПГ</source>
        <translation>&amp;Frequency from DPPH</translation>
    </message>
    <message>
        <source>Используется Визир 1</source>
        <translation>Uses cursor 1</translation>
    </message>
    <message>
        <source>Отображать &amp;g-фактор</source>
        <translation>Show &amp;g-factor</translation>
    </message>
    <message>
        <source>&amp;Экспорт...</source>
        <translation>E&amp;xport...</translation>
    </message>
    <message>
        <source>Записать спектр или рисунок графика для других программ</source>
        <translation>Write the spectrum or a picture of the plot for other programs</translation>
    </message>
    <message>
        <source>&amp;Импорт...</source>
        <translation>&amp;Import...</translation>
    </message>
    <message>
        <source>Открыть спектр другой программы</source>
        <translation>Open a spectrum of another program</translation>
    </message>
    <message>
        <source>&amp;Спектр</source>
        <translation>&amp;Spectrum</translation>
    </message>
    <message>
        <source>&amp;Вид</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>&amp;Развертка</source>
        <translation>S&amp;weep</translation>
    </message>
    <message>
        <source>&amp;Функции</source>
        <translation>&amp;Functions</translation>
    </message>
    <message>
        <source>&amp;Настройка</source>
        <translation>Se&amp;ttings</translation>
    </message>
    <message>
        <source>Последние &amp;файлы</source>
        <translation>Recent &amp;files</translation>
    </message>
    <message>
        <source>&amp;Язык</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>Выравн.</source>
        <translation>Baseline</translation>
    </message>
    <message>
        <source>Аппроксимация линий между визирами</source>
        <translation>Fit lines between the cursors</translation>
    </message>
    <message>
        <source>Наложить спектр сравнения на текущий</source>
        <translation>Overlay a reference spectrum on the current one</translation>
    </message>
    <message>
        <source>Убрать спектр сравнения</source>
        <translation>Remove the reference spectrum</translation>
    </message>
    <message>
        <source>&amp;Аппроксимация линий...</source>
        <translation>Line fi&amp;t...</translation>
    </message>
    <message>
        <source>С&amp;равнить с...</source>
        <translation>Compare &amp;with...</translation>
    </message>
    <message>
        <source>&amp;Убрать сравнение</source>
        <translation>Remo&amp;ve comparison</translation>
    </message>
    <message>
        <source>Ре&amp;зультаты анализа...</source>
        <translation>&amp;Analysis results...</translation>
    </message>
    <message>
        <source>Снова показать окно результатов аппроксимации и сравнения</source>
        <translation>Show the fit and comparison results window again</translation>
    </message>
</context>
<context>
    <name>MessageBoxPort</name>
    <message>
        <source>Настройка принтера</source>
        <translation>Printer setup</translation>
    </message>
    <message>
        <source>Повторить попытку или закрыть программу без сохранения настроек?</source>
        <translation>Try again, or close the program without saving the settings?</translation>
    </message>
    <message>
        <source>Повторить</source>
        <translation>Retry</translation>
    </message>
    <message>
        <source>Закрыть без сохранения</source>
        <translation>Close without saving</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>MessagePort</name>
    <message>
        <source>Настройки не сохранены в файл Kav.ini.
</source>
        <translation>The settings were not saved to Kav.ini.
</translation>
    </message>
    <message>
        <source>Ошибка чтения файла настроек %1
Программа работает с настройками по умолчанию.</source>
        <translation>Error reading settings file %1
The program runs with the default settings.</translation>
    </message>
</context>
<context>
    <name>ParameterBlock</name>
    <message>
        <source>НАКОПЛ: %1</source>
        <translation>ACCUM: %1</translation>
    </message>
    <message>
        <source>ФИЛЬТР [%1]</source>
        <translation>FILTER [%1]</translation>
    </message>
</context>
<context>
    <name>PdfFileCheck</name>
    <message>
        <source>файл PDF записан не полностью</source>
        <translation>the PDF file was not written completely</translation>
    </message>
</context>
<context>
    <name>PlotPainter</name>
    <message>
        <source>АМ=</source>
        <translation>AM=</translation>
    </message>
</context>
<context>
    <name>PlotPicturePainter</name>
    <message>
        <source>Не удалось записать файл &quot;%1&quot;: %2</source>
        <translation>Could not write file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>размер рисунка %1 × %2 вне %3..%4 точек</source>
        <translation>picture size %1 × %2 outside %3..%4 pixels</translation>
    </message>
    <message>
        <source>рисунок PNG не построен</source>
        <translation>PNG picture not built</translation>
    </message>
</context>
<context>
    <name>PortAccess</name>
    <message>
        <source> — пользователь уже в группе %1, войдите в систему заново</source>
        <translation> — the user is already in group %1, log in again</translation>
    </message>
    <message>
        <source> — добавьте пользователя в группу %1</source>
        <translation> — add the user to group %1</translation>
    </message>
</context>
<context>
    <name>PrintActions</name>
    <message>
        <source>Не удалось напечатать спектр на принтере &quot;%1&quot;: %2</source>
        <translation>Could not print the spectrum on printer &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>Файлы PDF (*.pdf)</source>
        <translation>PDF files (*.pdf)</translation>
    </message>
    <message>
        <source>Печать спектра в файл PDF</source>
        <translation>Print the spectrum to a PDF file</translation>
    </message>
    <message>
        <source>Печать главного окна в файл PDF</source>
        <translation>Print the main window to a PDF file</translation>
    </message>
    <message>
        <source>Не удалось напечатать главное окно на принтере &quot;%1&quot;: %2</source>
        <translation>Could not print the main window on printer &quot;%1&quot;: %2</translation>
    </message>
</context>
<context>
    <name>PrintoutJobPainter</name>
    <message>
        <source>Не удалось записать файл &quot;%1&quot;: %2</source>
        <translation>Could not write file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>принтер не принял задание</source>
        <translation>the printer refused the job</translation>
    </message>
</context>
<context>
    <name>PrintoutPainter</name>
    <message>
        <source>принтер не сообщает размеры страницы</source>
        <translation>the printer does not report its page size</translation>
    </message>
    <message>
        <source>поля страницы не оставляют места для спектра</source>
        <translation>the page margins leave no room for the spectrum</translation>
    </message>
</context>
<context>
    <name>PrintoutTexts</name>
    <message>
        <source>Спектр КАВ</source>
        <translation>KAV spectrum</translation>
    </message>
    <message>
        <source> Файл: &quot;</source>
        <translation> File: &quot;</translation>
    </message>
    <message>
        <source> Усиление: </source>
        <translation> Gain: </translation>
    </message>
    <message>
        <source>.  Развёртка: </source>
        <translation>.  Sweep: </translation>
    </message>
    <message>
        <source>&lt;НЕТ&gt;</source>
        <translation>&lt;NONE&gt;</translation>
    </message>
    <message>
        <source>АМ=</source>
        <translation>AM=</translation>
    </message>
    <message>
        <source>Спектр</source>
        <translation>Spectrum</translation>
    </message>
    <message>
        <source>слева %1 мм и справа %2 мм на бумаге шириной %3 мм</source>
        <translation>left %1 mm and right %2 mm on paper %3 mm wide</translation>
    </message>
    <message>
        <source>сверху %1 мм и снизу %2 мм на бумаге высотой %3 мм</source>
        <translation>top %1 mm and bottom %2 mm on paper %3 mm high</translation>
    </message>
    <message>
        <source>Поля не оставляют места для спектра: </source>
        <translation>The margins leave no room for the spectrum: </translation>
    </message>
    <message>
        <source>Окно КАВ.pdf</source>
        <translation>KAV window.pdf</translation>
    </message>
</context>
<context>
    <name>QtSerialDevice</name>
    <message>
        <source>Линии RTS и DTR порта недоступны</source>
        <translation>The port&apos;s RTS and DTR lines are unavailable</translation>
    </message>
    <message>
        <source>Линия DSR порта недоступна, приём без учёта DSR</source>
        <translation>The port&apos;s DSR line is unavailable, receiving without DSR</translation>
    </message>
</context>
<context>
    <name>Receiver</name>
    <message>
        <source>Ошибка приёма кадра </source>
        <translation>Frame receive error </translation>
    </message>
    <message>
        <source>Ошибка контрольной суммы (</source>
        <translation>Checksum error (</translation>
    </message>
    <message>
        <source>Отсутствует сигнал CTS</source>
        <translation>No CTS signal</translation>
    </message>
</context>
<context>
    <name>Resonance</name>
    <message>
        <source>МГц</source>
        <translation>MHz</translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>в нём больше %1 байт</source>
        <translation>it holds more than %1 bytes</translation>
    </message>
    <message>
        <source>Ошибка записи файла настроек %1: %2</source>
        <translation>Error writing settings file %1: %2</translation>
    </message>
</context>
<context>
    <name>SpectrumAxis</name>
    <message>
        <source>Выбрана несуществующая единица амплитуды %1</source>
        <translation>Amplitude unit %1 chosen does not exist</translation>
    </message>
    <message>
        <source>Несуществующая строка усиления %1</source>
        <translation>Gain row %1 does not exist</translation>
    </message>
    <message>
        <source>Калибровка поля RazvUnit3 (%1 .. %2) не задаёт оси поля</source>
        <translation>Field calibration RazvUnit3 (%1 .. %2) gives no field axis</translation>
    </message>
    <message>
        <source>Калибровка амплитуды AmpUnit%1 не задаёт оси амплитуды</source>
        <translation>Amplitude calibration AmpUnit%1 gives no amplitude axis</translation>
    </message>
</context>
<context>
    <name>SpectrumExport</name>
    <message>
        <source>Между границами просмотра (%1 .. %2) нет ни одной точки</source>
        <translation>No point between the view bounds (%1 .. %2)</translation>
    </message>
    <message>
        <source>Единица поля &quot;%1&quot; записана как есть: другие программы могут её не знать (известны G и mT)</source>
        <translation>Field unit &quot;%1&quot; written as it is: other programs may not know it (known: G and mT)</translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot;: спектр записывается только в BES3T или CSV</source>
        <translation>File &quot;%1&quot;: a spectrum is written only as BES3T or CSV</translation>
    </message>
    <message>
        <source>Точки не равноотстоящие: поле каждой точки записано в файл оси %1 (XTYP IGD)</source>
        <translation>Points not evenly spaced: the field of each point is written to axis file %1 (XTYP IGD)</translation>
    </message>
    <message>
        <source>Не удалось записать файл &quot;%1&quot;: %2</source>
        <translation>Could not write file &quot;%1&quot;: %2</translation>
    </message>
</context>
<context>
    <name>SpectrumFile</name>
    <message>
        <source>Не удалось записать файл &quot;%1&quot;: %2</source>
        <translation>Could not write file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>Не удалось прочитать файл &quot;%1&quot;: %2</source>
        <translation>Could not read file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot; не открыт: в нём больше %2 записей</source>
        <translation>File &quot;%1&quot; not opened: it holds more than %2 records</translation>
    </message>
    <message>
        <source>это каталог</source>
        <translation>it is a folder</translation>
    </message>
</context>
<context>
    <name>SpectrumImport</name>
    <message>
        <source>Файл &quot;%1&quot;: неизвестный формат (читаются .DSC, .DTA, .csv, .txt, .dat, .asc)</source>
        <translation>File &quot;%1&quot;: unknown format (.DSC, .DTA, .csv, .txt, .dat, .asc are read)</translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot; не импортирован: границы калибровки поля RazvUnit3 %2 .. %3 %4 не записать в файл спектра (он хранит их десятыми долями от 0 до 6553.5 или, в мТл, целыми гауссами до 65535)</source>
        <translation>File &quot;%1&quot; not imported: the field calibration bounds RazvUnit3 %2 .. %3 %4 cannot be written to a spectrum file (it keeps them in tenths from 0 to 6553.5 or, in mT, as whole gauss up to 65535)</translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot;: ось в единицах &quot;%2&quot; — не магнитное поле (известны G, mT, T); взять её как поле можно только явно (kavtool import --any-axis)</source>
        <translation>File &quot;%1&quot;: an axis in units &quot;%2&quot; is not a magnetic field (known: G, mT, T); it is taken as the field only when asked (kavtool import --any-axis)</translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot;: ось в единицах &quot;%2&quot; взята как поле в единицах &quot;%3&quot; калибровки RazvUnit3</source>
        <translation>File &quot;%1&quot;: the axis in units &quot;%2&quot; taken as the field in units &quot;%3&quot; of calibration RazvUnit3</translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot;: единица поля &quot;%2&quot; не сводится к единице &quot;%3&quot; калибровки RazvUnit3; значения поля взяты как есть</source>
        <translation>File &quot;%1&quot;: field unit &quot;%2&quot; does not convert to unit &quot;%3&quot; of calibration RazvUnit3; the field values are taken as they are</translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot;: ни одна из %2 точек не попала в коды поля 0..65519 калибровки RazvUnit3 (%3 .. %4 %5)</source>
        <translation>File &quot;%1&quot;: none of %2 points falls on field codes 0..65519 of calibration RazvUnit3 (%3 .. %4 %5)</translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot;: амплитуды как есть заняли бы %2 из 4096 кодов; они умножены на %3, чтобы спектр сохранил форму; множитель записан в спектр, и экспорт вернёт исходные числа</source>
        <translation>File &quot;%1&quot;: the amplitudes as they are would take %2 of 4096 codes; they are multiplied by %3 to keep the shape of the spectrum; the factor is stored in the spectrum and export gives back the original numbers</translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot;: %2 точек вне кодов поля 0..65519 пропущены</source>
        <translation>File &quot;%1&quot;: %2 points outside field codes 0..65519 skipped</translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot;: %2 амплитуд вне 12-битного диапазона 0..4095 ограничены его краями</source>
        <translation>File &quot;%1&quot;: %2 amplitudes outside the 12-bit range 0..4095 clipped to its ends</translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot;: %2 точек легли на код поля, уже занятый другой точкой; оставлена последняя</source>
        <translation>File &quot;%1&quot;: %2 points fell on a field code another point already held; the last one kept</translation>
    </message>
</context>
<context>
    <name>SpectrumSession</name>
    <message>
        <source>КАВ</source>
        <translation>KAV</translation>
    </message>
</context>
<context>
    <name>SpeedTable</name>
    <message>
        <source>30 сек</source>
        <translation>30 s</translation>
    </message>
    <message>
        <source>-4 мин</source>
        <translation>-4 min</translation>
    </message>
    <message>
        <source> СТОП</source>
        <translation> STOP</translation>
    </message>
    <message>
        <source>128 мин</source>
        <translation>128 min</translation>
    </message>
    <message>
        <source>64 мин</source>
        <translation>64 min</translation>
    </message>
    <message>
        <source>32 мин</source>
        <translation>32 min</translation>
    </message>
    <message>
        <source>16 мин</source>
        <translation>16 min</translation>
    </message>
    <message>
        <source> 8 мин</source>
        <translation> 8 min</translation>
    </message>
    <message>
        <source> 4 мин</source>
        <translation> 4 min</translation>
    </message>
    <message>
        <source> 2 мин</source>
        <translation> 2 min</translation>
    </message>
    <message>
        <source> 1 мин</source>
        <translation> 1 min</translation>
    </message>
</context>
<context>
    <name>TADCForm</name>
    <message>
        <source>ВХОД  АЦП</source>
        <translation>ADC INPUT</translation>
    </message>
    <message>
        <source>Результат</source>
        <translation>Reading</translation>
    </message>
</context>
<context>
    <name>TAutoSaveSetupFrm</name>
    <message>
        <source>Настройка автоматическго сохранения спектров</source>
        <translation>Automatic saving of spectra</translation>
    </message>
    <message>
        <source>Включить автоматическое сохранение принимаемых спектров</source>
        <translation>Save received spectra automatically</translation>
    </message>
    <message>
        <source>Сохранять каждый</source>
        <translation>Save every</translation>
    </message>
    <message>
        <source>спектр</source>
        <translation>spectrum</translation>
    </message>
    <message>
        <source>Шаблон для имени файла сохраняемых спектров</source>
        <translation>File name pattern of saved spectra</translation>
    </message>
    <message>
        <source>Стартовый номер</source>
        <translation>Start number</translation>
    </message>
    <message>
        <source>Пример имени спектра</source>
        <translation>Example of a spectrum name</translation>
    </message>
    <message>
        <source>Рабочий каталог для сохрания файлов</source>
        <translation>Working folder for saved files</translation>
    </message>
</context>
<context>
    <name>TColorSetupForm</name>
    <message>
        <source>Монитор</source>
        <translation>Screen</translation>
    </message>
    <message>
        <source>Принтер</source>
        <translation>Printer</translation>
    </message>
    <message>
        <source>Файл BMP</source>
        <translation>BMP file</translation>
    </message>
    <message>
        <source>Фон.............................................</source>
        <translation>Background.................................</translation>
    </message>
    <message>
        <source>Окантовка..................................</source>
        <translation>Border.........................................</translation>
    </message>
    <message>
        <source>Основной график......................</source>
        <translation>Main trace................................</translation>
    </message>
    <message>
        <source>Дополнительный график.........</source>
        <translation>Second trace.............................</translation>
    </message>
    <message>
        <source>Текст..........................................</source>
        <translation>Text............................................</translation>
    </message>
    <message>
        <source>Второй канал АЦП....................</source>
        <translation>Second ADC channel...............</translation>
    </message>
    <message>
        <source>Визир1.......................................</source>
        <translation>Cursor 1....................................</translation>
    </message>
    <message>
        <source>Визир2.......................................</source>
        <translation>Cursor 2....................................</translation>
    </message>
    <message>
        <source>Настройка цветов</source>
        <translation>Colours</translation>
    </message>
    <message>
        <source>Аппроксимация...........................</source>
        <translation>Fitted lines...............................</translation>
    </message>
    <message>
        <source>Остаток аппроксимации............</source>
        <translation>Fit residual...................................</translation>
    </message>
    <message>
        <source>Спектр сравнения.....................</source>
        <translation>Reference spectrum.....................</translation>
    </message>
    <message>
        <source>Разность со спектром сравнения</source>
        <translation>Difference from the reference</translation>
    </message>
</context>
<context>
    <name>TGlissSetupForm</name>
    <message>
        <source>Сглаживание спектра</source>
        <translation>Spectrum smoothing</translation>
    </message>
    <message>
        <source>Постоянная сглаживания в отсчетах развертки</source>
        <translation>Smoothing constant in sweep steps</translation>
    </message>
    <message>
        <source>Автоматически сглаживать спектр после каждой развертки</source>
        <translation>Smooth the spectrum automatically after each sweep</translation>
    </message>
</context>
<context>
    <name>TInstrumentGroupsWidget</name>
    <message>
        <source>Напряжение корр.</source>
        <translation>Correction</translation>
    </message>
    <message>
        <source>Управление напряжением коррекции</source>
        <translation>Correction voltage control</translation>
    </message>
    <message>
        <source>Напряжение коррекции</source>
        <translation>Correction voltage</translation>
    </message>
    <message>
        <source>Точная коррекция уровня</source>
        <translation>Fine level correction</translation>
    </message>
    <message>
        <source>Грубая коррекция уровня</source>
        <translation>Coarse level correction</translation>
    </message>
    <message>
        <source>Усиление</source>
        <translation>Gain</translation>
    </message>
    <message>
        <source>Скорость развертки</source>
        <translation>Sweep speed</translation>
    </message>
    <message>
        <source>Границы развёртки</source>
        <translation>Sweep bounds</translation>
    </message>
    <message>
        <source>Нижняя</source>
        <translation>Lower</translation>
    </message>
    <message>
        <source>Верхняя</source>
        <translation>Upper</translation>
    </message>
</context>
<context>
    <name>TKavAboutForm</name>
    <message>
        <source>О программе</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Kav7 — КАВ</source>
        <translation>Kav7 — KAV</translation>
    </message>
    <message>
        <source>Версия </source>
        <translation>Version </translation>
    </message>
    <message>
        <source>Приём, отображение, обработка, хранение и печать спектров магнитного резонанса (ЭПР), управление спектрометром по последовательной линии.</source>
        <translation>Receiving, showing, processing, storing and printing magnetic resonance (EPR) spectra; control of the spectrometer over a serial line.</translation>
    </message>
</context>
<context>
    <name>TKavMainForm</name>
    <message>
        <source>Kavis. Спектрометр ЭПР</source>
        <translation>Kavis. EPR spectrometer</translation>
    </message>
    <message>
        <source>Изменение масштаба по ординате</source>
        <translation>Change the ordinate scale</translation>
    </message>
</context>
<context>
    <name>TKavMessageForm</name>
    <message>
        <source>Сообщения КАВ</source>
        <translation>KAV messages</translation>
    </message>
    <message>
        <source>Убрать все сообщения</source>
        <translation>Clear all messages</translation>
    </message>
</context>
<context>
    <name>TKavStatusBar</name>
    <message>
        <source>АВТО</source>
        <translation>AUTO</translation>
    </message>
    <message>
        <source>ФИЛЬТР</source>
        <translation>FILTER</translation>
    </message>
    <message>
        <source>НАКОПЛ</source>
        <translation>ACCUM</translation>
    </message>
</context>
<context>
    <name>TLowPassSetupForm</name>
    <message>
        <source>Фильтр низкой чстоты</source>
        <translation>Low-pass filter</translation>
    </message>
    <message>
        <source>Постоянная времени фильтра в отсчетах развертки</source>
        <translation>Filter time constant in sweep steps</translation>
    </message>
</context>
<context>
    <name>TMessageWindow</name>
    <message>
        <source>&lt;Нет сообщений&gt;</source>
        <translation>&lt;No messages&gt;</translation>
    </message>
</context>
<context>
    <name>TMinMaxSetupForm</name>
    <message>
        <source>Поиск экстремумов</source>
        <translation>Extremum search</translation>
    </message>
    <message>
        <source>Параметры поиска экстремумов</source>
        <translation>Extremum search parameters</translation>
    </message>
    <message>
        <source>Минимальная амплитуда экстремума</source>
        <translation>Smallest extremum amplitude</translation>
    </message>
    <message>
        <source>отсч. АЦП</source>
        <translation>ADC counts</translation>
    </message>
    <message>
        <source>Минимальное расстояние между экстремумами</source>
        <translation>Smallest distance between extrema</translation>
    </message>
    <message>
        <source>отсч. ЦАП</source>
        <translation>DAC counts</translation>
    </message>
    <message>
        <source>Автоматически искать экстремумы после каждой развертки</source>
        <translation>Search for extrema automatically after each sweep</translation>
    </message>
</context>
<context>
    <name>TPictureSizeDialog</name>
    <message>
        <source>Размер рисунка</source>
        <translation>Picture size</translation>
    </message>
    <message>
        <source>Ширина, точек:</source>
        <translation>Width, pixels:</translation>
    </message>
    <message>
        <source>Высота, точек:</source>
        <translation>Height, pixels:</translation>
    </message>
</context>
<context>
    <name>TPrintSetupForm</name>
    <message>
        <source>Печать спектра</source>
        <translation>Print spectrum</translation>
    </message>
    <message>
        <source>Активный принтер </source>
        <translation>Current printer </translation>
    </message>
    <message>
        <source>Настроить...</source>
        <translation>Set up...</translation>
    </message>
    <message>
        <source>Поля</source>
        <translation>Margins</translation>
    </message>
    <message>
        <source>Слева</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>Справа</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>Сверху</source>
        <translation>Top</translation>
    </message>
    <message>
        <source>Снизу</source>
        <translation>Bottom</translation>
    </message>
    <message>
        <source>мм</source>
        <translation>mm</translation>
    </message>
    <message>
        <source>Ориентация бумаги</source>
        <translation>Paper orientation</translation>
    </message>
    <message>
        <source>Книжная</source>
        <translation>Portrait</translation>
    </message>
    <message>
        <source>Альбомная</source>
        <translation>Landscape</translation>
    </message>
    <message>
        <source>Пример</source>
        <translation>Preview</translation>
    </message>
</context>
<context>
    <name>TProcessingActions</name>
    <message>
        <source>Границы выравнивания спектра необходимо задать с помощью двух визиров!</source>
        <translation>Set the bounds of baseline levelling with the two cursors!</translation>
    </message>
    <message>
        <source>Границы интегрирования спектра необходимо задать с помощью двух визиров!</source>
        <translation>Set the bounds of integration with the two cursors!</translation>
    </message>
    <message>
        <source>Для поиска экстремумов нужно задать границы спомощью двух визиров!</source>
        <translation>Set the bounds of the extremum search with the two cursors!</translation>
    </message>
    <message>
        <source>Для поиска отношения нужно задать границы с помощью двух визиров!</source>
        <translation>Set the bounds of the peak ratio with the two cursors!</translation>
    </message>
    <message>
        <source>Первый визир должен находится в середине пика ДФПГ!</source>
        <translation>The first cursor must be in the middle of the DPPH peak!</translation>
    </message>
    <message>
        <source>Расчетное значение частоты резонатора </source>
        <translation>Computed resonator frequency </translation>
    </message>
    <message>
        <source>Частота резонатора не известна! Необходимо произвести подсчет.</source>
        <translation>The resonator frequency is not known! Compute it first.</translation>
    </message>
</context>
<context>
    <name>TRealTimeSetupForm</name>
    <message>
        <source>Фильтрация низких частот будет производиться сразу при приеме спектров.</source>
        <translation>Low-pass filtering is applied while the spectra are received.</translation>
    </message>
    <message>
        <source>При включенном накоплении спектров, текущий (отображаемый) спектр будет представлять собой не реальный принятый сигнал, а среднее от суммы принятых спектров. Количество спектров, по которым производится усреднение, задается параметром &quot;Количество спектров для усреднения&quot;.</source>
        <translation>With accumulation on, the current (shown) spectrum is not the signal as received but the average of the received spectra. How many spectra are averaged is set by &quot;Number of spectra to average&quot;.</translation>
    </message>
    <message>
        <source>При установленном флажке вместе с отфильтрованным и/или накопленным спектром будет отображаться исходный спектр.</source>
        <translation>When checked, the raw spectrum is shown beside the filtered and/or accumulated one.</translation>
    </message>
    <message>
        <source>Обработка  при приеме спектров</source>
        <translation>Processing while receiving</translation>
    </message>
    <message>
        <source>Выполнять фильтрацию низких частот при приеме</source>
        <translation>Low-pass filter while receiving</translation>
    </message>
    <message>
        <source>Фильтр низких частот</source>
        <translation>Low-pass filter</translation>
    </message>
    <message>
        <source>Постоянная времни фильтра в отсчетах развертки</source>
        <translation>Filter time constant in sweep steps</translation>
    </message>
    <message>
        <source>Производить накопление спектров</source>
        <translation>Accumulate spectra</translation>
    </message>
    <message>
        <source>Накопление спектров (усреднение по нескольким спектрам)</source>
        <translation>Accumulation (average of several spectra)</translation>
    </message>
    <message>
        <source>Количество спектров для  усреднения</source>
        <translation>Number of spectra to average</translation>
    </message>
    <message>
        <source>Показывать исходный спектра</source>
        <translation>Show the raw spectrum</translation>
    </message>
    <message>
        <source>Справка</source>
        <translation>Help</translation>
    </message>
</context>
<context>
    <name>TSetupCommForm</name>
    <message>
        <source>Настройка COM-порта</source>
        <translation>COM port</translation>
    </message>
    <message>
        <source>Принять</source>
        <translation>Accept</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Порт:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>Скорость:</source>
        <translation>Speed:</translation>
    </message>
    <message>
        <source>бит/с</source>
        <translation>bit/s</translation>
    </message>
</context>
<context>
    <name>TUnitSetupForm</name>
    <message>
        <source>Суммарное магнитное поле представляет собой сумму полей электроманита
и постоянного магнита</source>
        <translation>The total magnetic field is the sum of the fields of the electromagnet
and the permanent magnet</translation>
    </message>
    <message>
        <source>Амплитуда спектра на выходе усилителя</source>
        <translation>Spectrum amplitude at the amplifier output</translation>
    </message>
    <message>
        <source>Коррекция нуля на входе усилителя</source>
        <translation>Zero correction at the amplifier input</translation>
    </message>
    <message>
        <source>Измеряемый сигнал должен быть подан на &quot;ВХОД  АЦП&quot; блока БР</source>
        <translation>The signal to measure goes to the &quot;ADC INPUT&quot; of the BR unit</translation>
    </message>
    <message>
        <source>Вы уверены в том, что хотите изменить калибровочные параметры?</source>
        <translation>Are you sure you want to change the calibration?</translation>
    </message>
    <message>
        <source>Выбор измеряемых параметров</source>
        <translation>Measurement units</translation>
    </message>
    <message>
        <source>Разрешить изменения</source>
        <translation>Allow changes</translation>
    </message>
    <message>
        <source>Интервал изменения</source>
        <translation>Range</translation>
    </message>
    <message>
        <source>
Чтобы исправить значение, отметьте &quot;Разрешить изменения&quot;.</source>
        <translation>
To correct the value, check &quot;Allow changes&quot;.</translation>
    </message>
</context>
<context>
    <name>TViewBoundsWidget</name>
    <message>
        <source>Нижняя граница отображения</source>
        <translation>Lower view bound</translation>
    </message>
    <message>
        <source>Верхняя граница отображения</source>
        <translation>Upper view bound</translation>
    </message>
</context>
<context>
    <name>TVisirPanelWidget</name>
    <message>
        <source>Визир%1</source>
        <translation>Cursor%1</translation>
    </message>
</context>
<context>
    <name>TVisirWidgetView</name>
    <message>
        <source>Задать масштаб по оси абсцисс</source>
        <translation>Set the scale of the field axis</translation>
    </message>
</context>
<context>
    <name>Telemetry</name>
    <message>
        <source>Tm77. Поле:</source>
        <translation>Tm77. Field:</translation>
    </message>
    <message>
        <source>Несовпадение КС принятой блоком</source>
        <translation>Checksum mismatch in a block the unit received</translation>
    </message>
    <message>
        <source>Отсутствие приема байта в теченние 10 мсек</source>
        <translation>No byte received for 10 ms</translation>
    </message>
    <message>
        <source>Отсутствие прерывания по UART в течение 5 сек</source>
        <translation>No UART interrupt for 5 s</translation>
    </message>
    <message>
        <source>Несоответствие принятого байта ожидаемому</source>
        <translation>Received byte differs from the expected one</translation>
    </message>
</context>
<context>
    <name>TextSpectrum</name>
    <message>
        <source>Файл &quot;%1&quot;, строка %2: не строка чисел: &quot;%3&quot;</source>
        <translation>File &quot;%1&quot;, line %2: not a line of numbers: &quot;%3&quot;</translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot;, строка %2: %3 чисел, а в первой строке данных (%4) их %5</source>
        <translation>File &quot;%1&quot;, line %2: %3 numbers, but the first data line (%4) has %5</translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot;: больше %2 точек: такого спектра не бывает</source>
        <translation>File &quot;%1&quot;: more than %2 points: no spectrum is that long</translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot;: в нём нет ни одной точки</source>
        <translation>File &quot;%1&quot;: it holds no point</translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot;: %2 столбцов чисел, и не понять, какие из них поле и амплитуда (нужен заголовок с field и intensity или номер точки в первом столбце)</source>
        <translation>File &quot;%1&quot;: %2 columns of numbers, and no telling which are field and amplitude (a header with field and intensity, or the point number in the first column, is needed)</translation>
    </message>
    <message>
        <source>такого текстового спектра не бывает</source>
        <translation>no text spectrum is that large</translation>
    </message>
</context>
<context>
    <name>UnitCalibration</name>
    <message>
        <source>Развёртка</source>
        <translation>Sweep</translation>
    </message>
    <message>
        <source>Спектр</source>
        <translation>Spectrum</translation>
    </message>
    <message>
        <source>Коррекция</source>
        <translation>Correction</translation>
    </message>
    <message>
        <source>Вход АЦП</source>
        <translation>ADC input</translation>
    </message>
    <message>
        <source>Ток электромагнита, отсчет ЦАП</source>
        <translation>Magnet current, DAC count</translation>
    </message>
    <message>
        <source>Ток электромагнита,  А</source>
        <translation>Magnet current,  A</translation>
    </message>
    <message>
        <source>Поле электромагнита,  Э</source>
        <translation>Magnet field,  G</translation>
    </message>
    <message>
        <source>Суммарное магнитное поле,  Э</source>
        <translation>Total magnetic field,  G</translation>
    </message>
    <message>
        <source>Напряжение, отсчет АЦП</source>
        <translation>Voltage, ADC count</translation>
    </message>
    <message>
        <source>Напряжение, В</source>
        <translation>Voltage, V</translation>
    </message>
    <message>
        <source>Напряжение, отсчет ЦАП</source>
        <translation>Voltage, DAC count</translation>
    </message>
    <message>
        <source>Напряжение, мВ</source>
        <translation>Voltage, mV</translation>
    </message>
    <message>
        <source>Напряжение,  В</source>
        <translation>Voltage,  V</translation>
    </message>
    <message>
        <source>Амплитуда тока (100 кГц),  А</source>
        <translation>Current amplitude (100 kHz),  A</translation>
    </message>
    <message>
        <source>Амплитуда поля (100 кГц),  Э</source>
        <translation>Field amplitude (100 kHz),  G</translation>
    </message>
    <message>
        <source>Напряженность поля, Э</source>
        <translation>Field strength, G</translation>
    </message>
    <message>
        <source>Страница &quot;%1&quot;, единица &quot;%2&quot;: </source>
        <translation>Page &quot;%1&quot;, unit &quot;%2&quot;: </translation>
    </message>
    <message>
        <source>в поле %1 не число (&quot;%2&quot;).</source>
        <translation>field %1 is not a number (&quot;%2&quot;).</translation>
    </message>
    <message>
        <source>значения Min и Max равны. По ним пересчитываются единицы этой страницы, они должны различаться.</source>
        <translation>Min and Max are equal. The units of this page are computed from them; they must differ.</translation>
    </message>
    <message>
        <source>по значениям Min и Max нельзя построить шкалу: числа слишком велики.</source>
        <translation>Min and Max give no scale: the numbers are too large.</translation>
    </message>
</context>
<context>
    <name>ValueFormat</name>
    <message>
        <source> отсч^3</source>
        <translation> cnt^3</translation>
    </message>
    <message>
        <source>*отсч^2</source>
        <translation>*cnt^2</translation>
    </message>
    <message>
        <source> отсч*</source>
        <translation> cnt*</translation>
    </message>
</context>
<context>
    <name>VisirController</name>
    <message>
        <source>&lt;НЕТ&gt;</source>
        <translation>&lt;NONE&gt;</translation>
    </message>
    <message>
        <source>ПОЛЕ: </source>
        <translation>FIELD: </translation>
    </message>
    <message>
        <source>АМПЛ: </source>
        <translation>AMPL: </translation>
    </message>
</context>
<context>
    <name>WindowImagePainter</name>
    <message>
        <source>принтер не принял задание</source>
        <translation>the printer refused the job</translation>
    </message>
    <message>
        <source>Главное окно КАВ</source>
        <translation>KAV main window</translation>
    </message>
</context>
</TS>
