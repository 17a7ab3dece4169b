<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
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
