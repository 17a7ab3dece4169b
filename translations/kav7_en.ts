<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
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
</TS>
