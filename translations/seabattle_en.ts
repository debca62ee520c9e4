<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ru">
<context>
    <name>Announcement</name>
    <message>
        <source>Ход игры</source>
        <translation>Game news</translation>
    </message>
</context>
<context>
    <name>AudioOutput</name>
    <message>
        <source>Морской бой</source>
        <translation>Sea Battle</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Использование: %1 [ПАРАМЕТР]
Морской бой для одного игрока против компьютера: без параметров открывается окно игры.

  -h, --help     показать эту справку и выйти
      --version  показать версию и выйти

Результаты игр хранятся в ~/.local/share/seabattle/Base.mdb.
</source>
        <translation>Usage: %1 [OPTION]
Sea battle for one player against the computer: without options the game&apos;s window opens.

  -h, --help     show this help and exit
      --version  show the version and exit

The results of games are kept in ~/.local/share/seabattle/Base.mdb.
</translation>
    </message>
    <message>
        <source>seabattle (Морской бой) %1
© 2026 Разработчики игры «Морской бой»
Лицензия GPLv3+: GNU GPL версии 3 или более поздней &lt;https://gnu.org/licenses/gpl.html&gt;.
Это свободная программа: вы можете изменять и распространять ее.
Никаких гарантий в пределах, допускаемых законом.
</source>
        <translation>seabattle (Sea Battle) %1
© 2026 The Sea Battle developers
License GPLv3+: GNU GPL version 3 or later &lt;https://gnu.org/licenses/gpl.html&gt;.
This is free software: you are free to change and redistribute it.
There is NO WARRANTY, to the extent permitted by law.
</translation>
    </message>
</context>
<context>
    <name>Effects</name>
    <message>
        <source>Уже попадали</source>
        <translation>You have already fired there</translation>
    </message>
    <message>
        <source>Вы выиграли</source>
        <translation>You won</translation>
    </message>
    <message>
        <source>Вы проиграли</source>
        <translation>You lost</translation>
    </message>
</context>
<context>
    <name>FieldView</name>
    <message>
        <source>Рамка вашего поля</source>
        <translation>Frame of your field</translation>
    </message>
    <message>
        <source>Рамка поля противника</source>
        <translation>Frame of the enemy field</translation>
    </message>
    <message>
        <source>Часть корабля</source>
        <translation>Ship piece</translation>
    </message>
    <message>
        <source>АБВГДЕЖЗИК</source>
        <translation>ABCDEFGHIJ</translation>
    </message>
</context>
<context>
    <name>FocusMark</name>
    <message>
        <source>Рамка фокуса</source>
        <translation>Focus frame</translation>
    </message>
</context>
<context>
    <name>HitMarkers</name>
    <message>
        <source>Попадание</source>
        <translation>Hit</translation>
    </message>
</context>
<context>
    <name>InWindowBox</name>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>MissingFonts</name>
    <message>
        <source>Морской бой: нет шрифтов</source>
        <translation>Sea Battle: no fonts</translation>
    </message>
    <message>
        <source>В системе нет шрифта с русскими буквами, поэтому надписи игры не видны. Установите шрифт, например пакет fonts-dejavu-core.</source>
        <translation>No installed font can draw the game&apos;s letters, so its texts cannot be seen. Install a font, such as the package fonts-dejavu-core.</translation>
    </message>
</context>
<context>
    <name>PlacementControls</name>
    <message>
        <source>Для горизонтальной расстановки удерживайте клавишу Ctrl</source>
        <translation>Hold down Ctrl to place a ship horizontally</translation>
    </message>
    <message>
        <source>Расставить автоматически</source>
        <translation>Deploy the fleet at random</translation>
    </message>
    <message>
        <source>Расставить корабли самому</source>
        <translation>Deploy the ships by hand</translation>
    </message>
    <message>
        <source>Принять расстановку</source>
        <translation>Accept this deployment</translation>
    </message>
    <message>
        <source>Поменять расстановку</source>
        <translation>Deploy again at random</translation>
    </message>
</context>
<context>
    <name>PlayerFolders</name>
    <message>
        <source>переменная HOME не задана</source>
        <translation>the variable HOME is not set</translation>
    </message>
    <message>
        <source>имя домашней папки (HOME) не в кодировке UTF-8</source>
        <translation>the name of the home folder (HOME) is not in UTF-8</translation>
    </message>
    <message>
        <source>HOME (%1) не является полным путем</source>
        <translation>HOME (%1) is not a full path</translation>
    </message>
    <message>
        <source>HOME (%1) не является домашней папкой</source>
        <translation>HOME (%1) is not a home folder</translation>
    </message>
    <message>
        <source>Домашняя папка недоступна: %1. Результаты игр сохраняются, только если папка игры открыта для записи.</source>
        <translation>The home folder cannot be used: %1. Results of games are kept only if the game&apos;s folder can be written to.</translation>
    </message>
</context>
<context>
    <name>Prompter</name>
    <message>
        <source>ОК</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Да</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Нет</source>
        <translation>No</translation>
    </message>
</context>
<context>
    <name>ResultsWords</name>
    <message>
        <source>символическая ссылка</source>
        <translation>a symbolic link</translation>
    </message>
    <message>
        <source>папка</source>
        <translation>a folder</translation>
    </message>
    <message>
        <source>именованный канал</source>
        <translation>a named pipe</translation>
    </message>
    <message>
        <source>сокет</source>
        <translation>a socket</translation>
    </message>
    <message>
        <source>файл устройства</source>
        <translation>a device file</translation>
    </message>
    <message>
        <source>файл результатов не открыт</source>
        <translation>the results file is not open</translation>
    </message>
    <message>
        <source>файл %1 занят</source>
        <translation>the file %1 is busy</translation>
    </message>
    <message>
        <source>файл %1 еще не готов</source>
        <translation>the file %1 is not ready yet</translation>
    </message>
    <message>
        <source>файл %1 не подходит для результатов</source>
        <translation>the file %1 cannot hold results</translation>
    </message>
    <message>
        <source>файл %1 не подходит для результатов, а в папку %2 нельзя записать</source>
        <translation>the file %1 cannot hold results, and the folder %2 cannot be written to</translation>
    </message>
    <message>
        <source>ни в папку игры %1, ни в папку %2 нельзя записать</source>
        <translation>neither the game&apos;s folder %1 nor the folder %2 can be written to</translation>
    </message>
    <message>
        <source>на месте файла %1 находится %2</source>
        <translation>in the place of the file %1 there is %2</translation>
    </message>
    <message>
        <source>файл %1 не читается</source>
        <translation>the file %1 cannot be read</translation>
    </message>
    <message>
        <source>файл %1 защищен от записи</source>
        <translation>the file %1 is write-protected</translation>
    </message>
    <message>
        <source>на диске не осталось места для файла %1</source>
        <translation>the disk has no room left for the file %1</translation>
    </message>
    <message>
        <source>файл %1 поврежден</source>
        <translation>the file %1 is damaged</translation>
    </message>
    <message>
        <source>ошибка записи в файл %1</source>
        <translation>writing to the file %1 failed</translation>
    </message>
    <message>
        <source>файл %1 не принимает запись</source>
        <translation>the file %1 refuses to be written to</translation>
    </message>
    <message>
        <source>на его месте находится </source>
        <translation>in its place there is </translation>
    </message>
    <message>
        <source>его занимает другая копия игры</source>
        <translation>another copy of the game holds it</translation>
    </message>
    <message>
        <source>он закрыт для записи</source>
        <translation>it is closed for writing</translation>
    </message>
    <message>
        <source>в его папку нельзя записать</source>
        <translation>its folder cannot be written to</translation>
    </message>
    <message>
        <source>на диске не осталось места</source>
        <translation>the disk has no room left</translation>
    </message>
    <message>
        <source>его папку нельзя создать</source>
        <translation>its folder cannot be made</translation>
    </message>
    <message>
        <source>у игры нет папки для своих данных</source>
        <translation>the game has no folder for its data</translation>
    </message>
    <message>
        <source>ошибка записи на диск</source>
        <translation>writing to the disk failed</translation>
    </message>
    <message>
        <source>в папке данных игры</source>
        <translation>in the game&apos;s data folder</translation>
    </message>
    <message>
        <source>
Результаты игр сохраняются в файле %1.</source>
        <translation>
The results of games are kept in the file %1.</translation>
    </message>
    <message>
        <source>Папка игры %1 закрыта для записи.</source>
        <translation>The game&apos;s folder %1 is closed for writing.</translation>
    </message>
    <message>
        <source>На месте файла результатов %1 находится %2.</source>
        <translation>In the place of the results file %1 there is %2.</translation>
    </message>
    <message>
        <source>Файл %1 не является файлом результатов этой игры.</source>
        <translation>The file %1 is not a results file of this game.</translation>
    </message>
    <message>
        <source>Файл результатов %1 поврежден.</source>
        <translation>The results file %1 is damaged.</translation>
    </message>
    <message>
        <source>Файл %1 не является файлом результатов этой игры или поврежден.</source>
        <translation>The file %1 is not a results file of this game, or it is damaged.</translation>
    </message>
    <message>
        <source> Игра оставляет его без изменений.</source>
        <translation> The game leaves it as it is.</translation>
    </message>
    <message>
        <source>Результат игры не сохранен: %1.</source>
        <translation>The result of the game was not kept: %1.</translation>
    </message>
    <message>
        <source>
Записать его в файл %1 тоже нельзя: %2.
Пока игра открыта, она будет пытаться сохранить результат; после выхода из игры он будет потерян.</source>
        <translation>
It cannot be written to the file %1 either: %2.
While the game is open it will keep trying to save the result; once you quit the game, the result is lost.</translation>
    </message>
    <message>
        <source>
Он записан в файл %1, и игра попробует перенести его в файл результатов еще раз.</source>
        <translation>
It was written to the file %1, and the game will try again to move it to the results file.</translation>
    </message>
    <message>
        <source>
Он записан в файл %1; игра перенесет его в файл результатов при следующем запуске, если запись в него будет возможна.</source>
        <translation>
It was written to the file %1; the game will move it to the results file the next time it starts, if that file can be written to then.</translation>
    </message>
    <message>
        <source>Результат игры пока не сохранен: %1.
Он записан в файл %2, и игра перенесет его в файл результатов, когда тот освободится.</source>
        <translation>The result of the game is not kept yet: %1.
It was written to the file %2, and the game will move it to the results file once that file is free.</translation>
    </message>
    <message>
        <source>Результаты игр, ожидающие в файле %1, нельзя перенести в файл результатов: %2.
Они останутся там, и игра попробует перенести их при следующем запуске.</source>
        <translation>The results of games waiting in the file %1 cannot be moved to the results file: %2.
They stay there, and the game will try to move them the next time it starts.</translation>
    </message>
    <message>
        <source>не обычный файл</source>
        <translation>something other than a regular file</translation>
    </message>
</context>
<context>
    <name>ScorePanel</name>
    <message>
        <source>Разделитель</source>
        <translation>Divider</translation>
    </message>
    <message>
        <source>1-палубных</source>
        <translation>Submarines</translation>
    </message>
    <message>
        <source>2-палубных</source>
        <translation>Destroyers</translation>
    </message>
    <message>
        <source>3-палубных</source>
        <translation>Cruisers</translation>
    </message>
    <message>
        <source>4-палубных</source>
        <translation>Battleships</translation>
    </message>
    <message>
        <source>Счет</source>
        <translation>Score</translation>
    </message>
    <message>
        <source>Компьютер попаданий:</source>
        <translation>Computer hits:</translation>
    </message>
    <message>
        <source>Промахов</source>
        <translation>Misses</translation>
    </message>
    <message>
        <source>Игрок попаданий:</source>
        <translation>Player hits:</translation>
    </message>
    <message>
        <source>Осталось:</source>
        <translation>Afloat:</translation>
    </message>
</context>
<context>
    <name>SpokenWords</name>
    <message>
        <source>%1, ваш ход</source>
        <translation>%1, your turn</translation>
    </message>
    <message>
        <source>Компьютер %1</source>
        <translation>Computer %1</translation>
    </message>
    <message>
        <source>Ваши выстрелы %1</source>
        <translation>Your shots %1</translation>
    </message>
    <message>
        <source>Ваш ход. R повтор, S счёт</source>
        <translation>Your turn. R repeat, S score</translation>
    </message>
    <message>
        <source>%1. Попадания, ваши %2, компьютера %3. У противника %4. У вас %5</source>
        <translation>%1. Hits, yours %2, the computer&apos;s %3. The enemy has %4. You have %5</translation>
    </message>
    <message>
        <source>Счёт. Ваши попадания %1, промахи %2. Попадания компьютера %3, промахи %4</source>
        <translation>Score. Your hits %1, misses %2. The computer&apos;s hits %3, misses %4</translation>
    </message>
    <message>
        <source>горизонтально</source>
        <translation>horizontal</translation>
    </message>
    <message>
        <source>вертикально</source>
        <translation>vertical</translation>
    </message>
    <message>
        <source>до %1</source>
        <translation>to %1</translation>
    </message>
    <message>
        <source>Поставлен %1 %2</source>
        <translation>%1 placed at %2</translation>
    </message>
    <message>
        <source>Флот расставлен. Выберите уровень</source>
        <translation>Fleet deployed. Choose a level</translation>
    </message>
    <message>
        <source>Расставлено заново</source>
        <translation>Deployed again</translation>
    </message>
    <message>
        <source>Расстановка. Автоматически или вручную</source>
        <translation>Deployment. At random or by hand</translation>
    </message>
    <message>
        <source>Расстановка вручную, ставится %1. Ctrl горизонтально</source>
        <translation>Deploying by hand, placing the %1. Ctrl for horizontal</translation>
    </message>
    <message>
        <source>Расстановка готова. Поменять или согласиться</source>
        <translation>Deployment ready. Deploy again or accept</translation>
    </message>
    <message>
        <source>Выберите уровень</source>
        <translation>Choose a level</translation>
    </message>
    <message>
        <source>А</source>
        <translation>eh</translation>
    </message>
    <message>
        <source>бэ</source>
        <translation>B</translation>
    </message>
    <message>
        <source>вэ</source>
        <translation>C</translation>
    </message>
    <message>
        <source>Г</source>
        <translation>D</translation>
    </message>
    <message>
        <source>Д</source>
        <translation>E</translation>
    </message>
    <message>
        <source>Е</source>
        <translation>F</translation>
    </message>
    <message>
        <source>Ж</source>
        <translation>G</translation>
    </message>
    <message>
        <source>З</source>
        <translation>H</translation>
    </message>
    <message>
        <source>И</source>
        <translation>I</translation>
    </message>
    <message>
        <source>К</source>
        <translation>J</translation>
    </message>
    <message>
        <source>однопалубный</source>
        <translation>submarine</translation>
    </message>
    <message>
        <source>однопалубных</source>
        <translation>submarines</translation>
    </message>
    <message>
        <source>двухпалубный</source>
        <translation>destroyer</translation>
    </message>
    <message>
        <source>двухпалубных</source>
        <translation>destroyers</translation>
    </message>
    <message>
        <source>трёхпалубный</source>
        <translation>cruiser</translation>
    </message>
    <message>
        <source>трёхпалубных</source>
        <translation>cruisers</translation>
    </message>
    <message>
        <source>четырёхпалубный</source>
        <translation>battleship</translation>
    </message>
    <message>
        <source>четырёхпалубных</source>
        <translation>battleships</translation>
    </message>
    <message>
        <source>Не используется. Tab, стрелки, Enter, R повтор, S счёт</source>
        <translation>Not used. Tab, arrows, Enter, R repeat, S score</translation>
    </message>
    <message>
        <source>Ход компьютера</source>
        <translation>Computer&apos;s turn</translation>
    </message>
    <message>
        <source>Игра окончена</source>
        <translation>Game over</translation>
    </message>
    <message>
        <source>Только для чтения</source>
        <translation>Read only</translation>
    </message>
    <message>
        <source>Уже стреляли</source>
        <translation>Already fired at</translation>
    </message>
    <message>
        <source>Нельзя, не помещается</source>
        <translation>Cannot, it does not fit</translation>
    </message>
    <message>
        <source>Нельзя, рядом корабль</source>
        <translation>Cannot, too close to a ship</translation>
    </message>
    <message>
        <source>Нельзя, поле противника</source>
        <translation>Cannot, enemy field</translation>
    </message>
    <message>
        <source>Лёгкий</source>
        <translation>Easy</translation>
    </message>
    <message>
        <source>Счёт</source>
        <translation>Score</translation>
    </message>
    <message>
        <source>Объёмный вид</source>
        <translation>3D view</translation>
    </message>
    <message>
        <source>не обстреляна</source>
        <translation>not fired at</translation>
    </message>
    <message>
        <source>вода</source>
        <translation>water</translation>
    </message>
    <message>
        <source>корабль</source>
        <translation>ship</translation>
    </message>
    <message>
        <source>пусто, рядом убитый</source>
        <translation>empty, next to a sunk ship</translation>
    </message>
    <message>
        <source>мимо</source>
        <translation>miss</translation>
    </message>
    <message>
        <source>убит</source>
        <translation>sunk</translation>
    </message>
    <message>
        <source>ранен</source>
        <translation>hit</translation>
    </message>
    <message>
        <source>ваше поле</source>
        <translation>your field</translation>
    </message>
    <message>
        <source>поле противника</source>
        <translation>enemy field</translation>
    </message>
    <message>
        <source>%1 мимо</source>
        <translation>%1 miss</translation>
    </message>
    <message>
        <source>%1 ранил</source>
        <translation>%1 hit</translation>
    </message>
    <message>
        <source>%1 ранен</source>
        <translation>%1 your ship hit</translation>
    </message>
    <message>
        <source>%1 убил %2</source>
        <translation>%1 hit, %2 sunk</translation>
    </message>
    <message>
        <source>%1 убит %2</source>
        <translation>%1 your %2 sunk</translation>
    </message>
    <message>
        <source>Ваш ход</source>
        <translation>Your turn</translation>
    </message>
    <message>
        <source>кораблей нет</source>
        <translation>no ships</translation>
    </message>
</context>
<context>
    <name>StoredWords</name>
    <message>
        <source>Легкий</source>
        <translation>Easy</translation>
    </message>
    <message>
        <source>Средний</source>
        <translation>Medium</translation>
    </message>
    <message>
        <source>Сложный</source>
        <translation>Hard</translation>
    </message>
    <message>
        <source>Игрок</source>
        <translation>Player</translation>
    </message>
    <message>
        <source>Компьютер</source>
        <translation>Computer</translation>
    </message>
    <message>
        <source>Победитель</source>
        <translation>Winner</translation>
    </message>
    <message>
        <source>Попаданий юзера</source>
        <translation>Player&apos;s hits</translation>
    </message>
    <message>
        <source>Попаданий компьютера</source>
        <translation>Computer&apos;s hits</translation>
    </message>
    <message>
        <source>Уровень сложности</source>
        <translation>Level</translation>
    </message>
</context>
<context>
    <name>SwitchPanel</name>
    <message>
        <source>Разметка сетки</source>
        <translation>Grid labels</translation>
    </message>
    <message>
        <source>Музыка</source>
        <translation>Music</translation>
    </message>
    <message>
        <source>Объемный вид</source>
        <translation>3D view</translation>
    </message>
    <message>
        <source>Счет</source>
        <translation>Score</translation>
    </message>
    <message>
        <source>Статистика</source>
        <translation>Statistics</translation>
    </message>
    <message>
        <source>Новая Игра</source>
        <translation>New Game</translation>
    </message>
    <message>
        <source>Ход компьютера</source>
        <translation>Computer&apos;s turn</translation>
    </message>
    <message>
        <source>Ваш ход</source>
        <translation>Your turn</translation>
    </message>
</context>
<context>
    <name>frmMain</name>
    <message>
        <source>Морской бой</source>
        <translation>Sea Battle</translation>
    </message>
    <message>
        <source>Морской бой
Версия %1

Игра для одного игрока против компьютера.
© 2026 Разработчики игры «Морской бой»</source>
        <translation>Sea Battle
Version %1

A game for one player against the computer.
© 2026 The Sea Battle developers</translation>
    </message>
    <message>
        <source>Выход</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>   Вы действительно хотите Выйти ?</source>
        <translation>   Do you really want to quit?</translation>
    </message>
    <message>
        <source>Новая Игра</source>
        <translation>New Game</translation>
    </message>
    <message>
        <source>Начать заново ?</source>
        <translation>Start over?</translation>
    </message>
</context>
<context>
    <name>frmStat</name>
    <message>
        <source>Статистика</source>
        <translation>Statistics</translation>
    </message>
</context>
</TS>
