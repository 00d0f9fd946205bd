#include "cli/CliCommandList.h"

#include "cli/CliCommands.h"

#include <iterator>

namespace korvan::cli {

namespace {

// clang-format off
const Command commands[] = {
    {"list", "", "список проектов: [{\"Kod\": 1, \"Name\": \"...\"}]", {}, listProjects, true},
    {"import", "ФАЙЛ",
     "создать проект из JSON-файла (ФАЙЛ \"-\" - стандартный ввод) с теми же проверками, что и в окнах; "
     "печатает {\"Kod\": n}",
     {}, importProject},
    {"export", "КОД", "проект со всеми периодами, вариантами и модулями в JSON", {}, exportProject, true},
    {"recalc", "КОД", "пересчет данных проекта", {}, recalcProject},
    {"project", "КОД",
     "параметры проекта с теми же проверками, что и в окне \"Параметры проекта\"; заданные изменяет и пересчитывает "
     "проект; печатает запись проекта, как ее печатает export",
     {{"--name", "ТЕКСТ", "наименование проекта"},
      {"--owner", "ТЕКСТ", "владелец"},
      {"--tarif-a", "X", "тариф на активную электроэнергию, грн/кВтч"},
      {"--tarif-q", "X", "тариф на реактивную электроэнергию, грн/кВАрч"},
      {"--month-day", "N", "рабочих дней в месяце"},
      {"--year-day", "N", "рабочих дней в году"}},
     editProjectCommand},
    {"delete", "КОД", "удаление проекта", {}, deleteProjectCommand},
    {"copy", "КОД", "копия проекта", {{"--name", "ИМЯ", "наименование копии (по умолчанию: имя проекта и \"_1\")"}},
     copyProjectCommand},
    {"catalogue-import", "ФАЙЛ", "добавить компании и установки в справочник конденсаторных установок из JSON-файла",
     {}, importCatalogue},
    {"catalogue-export", "", "справочник конденсаторных установок в JSON", {}, exportCatalogue, true},
    {"graph-from-file", "ФАЙЛ",
     "суточный график по файлу измерений счетчика или анализатора (CSV: разделитель \";\", \",\" или табуляция, "
     "UTF-8 или Windows-1251)",
     {{"--day", "ДД.ММ.ГГГГ", "график этих суток"},
      {"--workdays", nullptr, "средний график рабочих дней"},
      {"--max-day", nullptr, "сутки с наибольшим потреблением"},
      {"--period", "ЧАСЫ", "длина периода графика (по умолчанию 1)"},
      {"--stamp-start", nullptr, "отметка времени обозначает начало интервала, а не конец"},
      {"--energies", nullptr, "в файле энергии за интервал"},
      {"--powers", nullptr, "в файле мощности"}},
     graphFromFile},
    {"report", "КОД",
     "отчет по проекту в файл Microsoft Word и (или) PDF; печатает {\"Kod\": n, \"file\": \"...\", \"pdf\": \"...\"}",
     {{"--out", "ФАЙЛ.docx", "файл отчета Word"},
      {"--pdf", "ФАЙЛ.pdf", "файл отчета PDF (его делает LibreOffice)"},
      {"--variant", "НОМЕР", "отчет по одному варианту компенсации"},
      {"--settings", "ИМЯ", "параметры отчета (по умолчанию первые)"}},
     reportCommand, true},
    {"analyse", "КОД", "таблица анализа выбора конденсаторной установки для проекта",
     {{"--mode", "N", "режим подбора модулей 0-4 (по умолчанию 0)"},
      {"--cosf-min", "X", "наименьший cos(f)"},
      {"--cosf-max", "X", "наибольший cos(f)"},
      {"--cosf-tr", "X", "требуемый cos(f)"},
      {"--kp", "X", "коэффициент потерь (по умолчанию 0,12)"},
      {"--type", "КОД_КУ", "оценить одну установку справочника"},
      {"--company", "НАЗВАНИЕ", "оценить все установки компании"},
      {"--all-companies", nullptr, "оценить все установки справочника"},
      {"--clear", nullptr, "сначала удалить строки проекта из таблицы анализа"},
      {"--sort", "ИНДЕКС", "порядок строк: siCosf_sr, siDSWsk, siDSWskm, siDSWskg, siSrok (по умолчанию), npv (по ЧДД)"},
      {"--drop", "ФИЛЬТР",
       "удалить строки (можно несколько раз): invalid, not-full-power, daily-criteria, period-criteria, "
       "daily-value:ОП:V, period-value:ОП:V, resonance (с риском резонанса)"}},
     analyseProject},
    {"economics", "КОД",
     "экономические параметры проекта: печатает {\"Rate\", \"Life\", \"Maint\", \"Mont\"}, заданные изменяет",
     {{"--rate", "X", "ставка дисконтирования, % в год (0-100)"},
      {"--life", "N", "срок службы установки, лет (1-40)"},
      {"--maint", "X", "обслуживание в год, % цены (0-20)"},
      {"--mont", "X", "монтаж и наладка, % цены (0-100)"}},
     economicsCommand},
    {"supply", "КОД", "данные питания проекта для проверки резонанса с трансформатором",
     {{"--str", "X", "номинальная мощность трансформатора, кВА"},
      {"--uk", "Y", "напряжение короткого замыкания трансформатора, %"},
      {"--ssc-net", "Z", "мощность короткого замыкания сети, МВА (без нее - сеть бесконечной мощности)"},
      {"--harmonics", "5,7,11,13", "порядки гармоник нагрузки"},
      {"--clear", nullptr, "удалить данные питания проекта"}},
     supplyCommand},
    {"store-copy", "",
     "копия всех данных (проекты, справочники, типовые графики, подсказки, параметры отчетов) из одного "
     "хранилища в другое одной транзакцией; печатает {\"projects\": n, \"rows\": n}",
     {{"--from", "КАТАЛОГ|postgresql://...", "откуда"},
      {"--to", "КАТАЛОГ|postgresql://...", "куда (хранилище с данными - только с --merge)"},
      {"--merge", nullptr, "добавить к данным хранилища: справочники объединяются по наименованиям, проекты добавляются"}},
     storeCopyCommand},
};
// clang-format on

QString optionSynopsis(const CommandOption &o)
{
    return o.value ? QStringLiteral("%1 %2").arg(QLatin1String(o.name), QString::fromUtf8(o.value))
                   : QLatin1String(o.name);
}

} // namespace

const Command *commandsBegin() { return std::begin(commands); }
const Command *commandsEnd() { return std::end(commands); }

const CommandOption *Command::option(const QString &optionName) const
{
    for (const CommandOption &o : options)
        if (optionName == QLatin1String(o.name))
            return &o;
    return nullptr;
}

const Command *findCommand(const QString &name)
{
    for (const Command &c : commands)
        if (name == QLatin1String(c.name))
            return &c;
    return nullptr;
}

QString commandHelp(const Command &c)
{
    QString line = QStringLiteral("korvan-vkp-cli [--store КАТАЛОГ|postgresql://...] %1").arg(QLatin1String(c.name));
    if (*c.arguments)
        line += QLatin1Char(' ') + QString::fromUtf8(c.arguments);
    for (const CommandOption &o : c.options)
        line += QStringLiteral(" [%1]").arg(optionSynopsis(o));
    QString text = QStringLiteral("Использование: %1\n  %2\n").arg(line, QString::fromUtf8(c.summary));
    if (c.options.size() > 0) {
        text += QStringLiteral("Параметры:\n");
        for (const CommandOption &o : c.options)
            text += QStringLiteral("  %1\n      %2\n").arg(optionSynopsis(o), QString::fromUtf8(o.meaning));
    }
    return text;
}

QString programHelp()
{
    QString text = QStringLiteral(
        "Использование: korvan-vkp-cli [--store КАТАЛОГ|postgresql://...] КОМАНДА [ПАРАМЕТРЫ]\n"
        "       korvan-vkp-cli КОМАНДА --help\n"
        "Результат печатается в JSON; ошибки - по-русски в поток ошибок, код завершения 2.\n"
        "Числа можно писать с запятой или с точкой.\n"
        "Общие параметры:\n"
        "  --store КАТАЛОГ\n      каталог данных (по умолчанию каталог данных программы); то же, что --data КАТАЛОГ\n"
        "  --store postgresql://ПОЛЬЗОВАТЕЛЬ@СЕРВЕР[:ПОРТ]/БАЗА\n"
        "      общее хранилище на сервере PostgreSQL; пароль берется из ~/.pgpass или PGPASSWORD,\n"
        "      недостающее - из переменных PGHOST, PGPORT, PGUSER, PGDATABASE\n"
        "  --help\n      эта справка\n"
        "Команды:\n");
    for (const Command &c : commands) {
        QString line = QLatin1String(c.name);
        if (*c.arguments)
            line += QLatin1Char(' ') + QString::fromUtf8(c.arguments);
        text += QStringLiteral("  %1\n      %2\n").arg(line, QString::fromUtf8(c.summary));
        for (const CommandOption &o : c.options)
            text += QStringLiteral("      %1 - %2\n").arg(optionSynopsis(o), QString::fromUtf8(o.meaning));
    }
    return text;
}

} // namespace korvan::cli
