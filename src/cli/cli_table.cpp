#include "cli_table.h"

QList<TCliCommand> AllCliCommands() {
    QList<TCliCommand> all;
    for (const auto& rows : {PortsCommands(), Ro4dCommands(), Ri1rCommands(), Zi2z3Commands(),
                             ReportCommands(), ArchiveCommands()})
        all += rows;
    return all;
}

QString CliHelpText() {
    QString text =
        QStringLiteral("Использование: relcon4-cli [параметры] КОМАНДА [аргументы]\n"
                       "Команды обслуживания блоков RO-4D, RI1-R и стенда ZI2-Z3 без окон.\n\n"
                       "Команды:\n");
    for (const TCliCommand& command : AllCliCommands()) {
        QString head = QStringLiteral("  ") + command.device;
        if (!command.device.isEmpty())
            head += QLatin1Char(' ');
        head += command.action;
        if (!command.synopsis.isEmpty())
            head += QLatin1Char(' ') + command.synopsis;
        text += head + QLatin1Char('\n') + QStringLiteral("      ") + command.summary +
                QLatin1Char('\n');
    }
    text += QStringLiteral(
        "\nПараметры:\n"
        "  --port COM<n>     порт, к которому подключён блок (как в программе: COM1…COM96)\n"
        "  -o, --output ФАЙЛ файл, в который записать считанное\n"
        "  --json            вывести результат в формате JSON\n"
        "  --timeout МС      время ожидания ответа, мс (не больше 30000)\n"
        "  --pause МС        пауза перед запросом, мс (не больше 30000)\n"
        "  --attempts N      число попыток запроса (1…65535)\n"
        "  --set T11=N,…     zi2z3 settings: новые задержки T11…T23 (0…255)\n"
        "  --watch СЕКУНДЫ   zi2z3 bench: сколько секунд показывать посылки стенда\n"
        "  --log             строки лога обмена (с временем) в стандартный поток ошибок\n"
        "  --object ОБЪЕКТ   объект (здание, участок) записей архива; archive list: только его\n"
        "  --file ФАЙЛ       report: протокол из файла (.qvf, QV1M.ini)\n"
        "  --archive ID      report: протокол из записи архива\n"
        "  --technician ИМЯ  report: техник, составивший протокол\n"
        "  --no-archive      не записывать команду в архив\n"
        "  --no-verify       write: не проверять запись чтением\n"
        "  --unit, --since   archive list: только записи блока (ro4d, ri1r, zi2z3), с даты\n"
        "  --to, --from      archive push, list: общий архив postgresql://сервер/база\n"
        "  -h, --help        эта справка\n\n"
        "Параметры обмена берутся из rs_m.ini программы, если он есть; --timeout, --pause\n"
        "и --attempts их заменяют (файл не меняется).\n\n"
        "Коды завершения:\n"
        "  0  выполнено; diff: устройство совпадает с файлом\n"
        "  1  diff: устройство и файл различаются\n"
        "  2  ошибка в командной строке; write: значение в файле вне допустимого\n"
        "  3  порт не открылся (сообщение называет причину)\n"
        "  4  нет ответа, ответ неверной длины или не принят; проверка чтением не прошла;\n"
        "     bench --watch: посылок не было или линия пропала\n"
        "  5  устройство отказало; записанное не сохранилось (проверка чтением)\n"
        "  6  файл не прочитан или не записан (report: и PDF)\n");
    return text;
}
